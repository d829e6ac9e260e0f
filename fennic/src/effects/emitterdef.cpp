// Emitter definitions: the ".emitter" text resources and their registry.
//
// A definition is one command per line (Zep::TokenFileReader rules: "#"
// comments, blank lines skipped, tokens split at blanks and tabs). The first
// token, lower-cased, picks the first matching command of the table below;
// the others are its arguments, numbers read as their leading decimal text
// (0 when there is none). The type commands take a z-order offset from a
// third token only when the line has exactly three tokens. Animations
// ("randomframe", "animation") come from the application's animation cache,
// images from its image cache. Commands run in file order, so the area-size
// check sees the area type of the lines above: "type rect" must come before
// a "rectsize" whose width exceeds its height.
//
// "minparticles" and "maxparticles" read their number in 64 bits; above
// ParticleEmitter::kMaxParticles it is clamped to that bound, with one log
// line naming the definition, the command and both values.
//
// Each name is read once for the life of the program. The file is parsed
// into a fresh emitter without owner, which is registered and then copied
// into the loading emitter; so whatever the loading emitter held before
// never leaks into the registered definition, and a failing file leaves the
// loading emitter unchanged and the name unregistered.
#include <algorithm>
#include <cstdlib>
#include <limits>

#include <zep2/error.h>
#include <zep2/hash.h>
#include <zep2/resource.h>
#include <zep2/tokenfilereader.h>

#include "application/gameapp.h"
#include "effects/particle_emitter.h"

namespace {

constexpr const char* kZepSource = ".\\src\\emitterdef";

// The tokens of one line and the name of the definition they come from.
struct Line {
    const Zep::List<Zep::String>& lTokens;
    const char* szDefinition;
    Zep::String get(int i) const { return lTokens.get(i); }
    int getCount() const { return lTokens.getCount(); }
};

using Registry = Zep::Hash<Zep::String, Zep::SmartPtr<ParticleEmitter>>;

Registry& registry() {
    static Registry s_registry;
    return s_registry;
}

GameApp& application() {
    GameApp* pApp = GameApp::getInstance();
    if (!pApp) ZEP_THROW(Zep::BadStateException, "ParticleEmitter : there is no application object");
    return *pApp;
}

Zep::String text(const Line& t, int i) { return t.get(i); }
int integer(const Line& t, int i) { return t.get(i).toInt(); }
float number(const Line& t, int i) { return t.get(i).toFloat(); }
Zep::SmartPtr<Image> image(const Line& t, int i) { return application().getImage(text(t, i).c_str()); }
Zep::SmartPtr<Animation> animation(const Line& t, int i) { return application().getAnimation(text(t, i).c_str()); }
// A particle count, clamped to the emitter's bound with a log line.
int count(const Line& t, int i) {
    const int64_t n = std::strtoll(t.get(i).c_str(), nullptr, 10);
    if (n <= ParticleEmitter::kMaxParticles)
        return static_cast<int>(std::max<int64_t>(n, std::numeric_limits<int>::min()));
    GameApp::log("G: ** Emitter '%s' : %s %s clamped to %d **\n", t.szDefinition, t.get(0).toLower().c_str(),
                 t.get(i).c_str(), ParticleEmitter::kMaxParticles);
    return ParticleEmitter::kMaxParticles;
}
// The z-order offset of a type line.
int zOffset(const Line& t) { return t.getCount() == 3 ? integer(t, 2) : 0; }

void areaType(ParticleEmitter& e, const Line& t) {
    const Zep::String sWord = t.get(1).toLower();
    if (sWord == "radial")
        e.setAreaType(ParticleEmitter::kAreaRadial);
    else if (sWord == "rect")
        e.setAreaType(ParticleEmitter::kAreaRect);
    else
        ZEP_THROW(Zep::AssertFailException, "Assertion failed : false");
}

void speedType(ParticleEmitter& e, const Line& t) {
    const Zep::String sWord = t.get(1).toLower();
    if (sWord == "radial")
        e.setSpeedType(ParticleEmitter::kSpeedRadial);
    else if (sWord == "absolute")
        e.setSpeedType(ParticleEmitter::kSpeedAbsolute);
    else
        ZEP_THROW(Zep::FatalErrorException, ("Unknown SpeedType " + t.get(1)).c_str());
}

void blendMode(ParticleEmitter& e, const Line& t) {
    const Zep::String sWord = t.get(1).toLower();
    if (sWord == "normal")
        e.setBlendMode(ParticleEmitter::kBlendNormal);
    else if (sWord == "additive")
        e.setBlendMode(ParticleEmitter::kBlendAdditive);
    else
        ZEP_THROW(Zep::FatalErrorException, ("Unknown BlendingMode " + t.get(1)).c_str());
}

struct Command {
    const char* szName;
    void (*run)(ParticleEmitter&, const Line&);
};

// In the order in which they are tested.
const Command kCommands[] = {
    {"randomframe",
     [](ParticleEmitter& e, const Line& t) { e.addAnimationType(animation(t, 1), true, zOffset(t)); }},
    {"animation",
     [](ParticleEmitter& e, const Line& t) { e.addAnimationType(animation(t, 1), false, zOffset(t)); }},
    {"image", [](ParticleEmitter& e, const Line& t) { e.addImageType(image(t, 1), zOffset(t)); }},
    {"emitter", [](ParticleEmitter& e, const Line& t) { e.addEmitterType(text(t, 1).c_str(), zOffset(t)); }},
    {"palette", [](ParticleEmitter& e, const Line& t) { e.setPalette(image(t, 1)); }},
    {"randomtint", [](ParticleEmitter& e, const Line& t) { e.setRandomTint(image(t, 1)); }},
    {"type", areaType},
    {"emissionrate", [](ParticleEmitter& e, const Line& t) { e.setEmissionRate(number(t, 1)); }},
    {"lifetimerange", [](ParticleEmitter& e, const Line& t) { e.setLifetimeRange(number(t, 1), number(t, 2)); }},
    {"maxalpha", [](ParticleEmitter& e, const Line& t) { e.setMaxAlpha(number(t, 1)); }},
    {"fadefracrange", [](ParticleEmitter& e, const Line& t) { e.setFadeFractions(number(t, 1), number(t, 2)); }},
    {"startscalerange",
     [](ParticleEmitter& e, const Line& t) { e.setStartScaleRange(number(t, 1), number(t, 2)); }},
    {"endscalerange", [](ParticleEmitter& e, const Line& t) { e.setEndScaleRange(number(t, 1), number(t, 2)); }},
    {"maxparticles", [](ParticleEmitter& e, const Line& t) { e.setMaxParticles(count(t, 1)); }},
    {"minparticles", [](ParticleEmitter& e, const Line& t) { e.setMinParticles(count(t, 1)); }},
    {"radiusrange", [](ParticleEmitter& e, const Line& t) { e.setAreaSize(number(t, 1), number(t, 2)); }},
    {"rectsize", [](ParticleEmitter& e, const Line& t) { e.setAreaSize(number(t, 1), number(t, 2)); }},
    {"emitanglerange",
     [](ParticleEmitter& e, const Line& t) { e.setEmitAngleRange(integer(t, 1), integer(t, 2)); }},
    {"startanglerange",
     [](ParticleEmitter& e, const Line& t) { e.setStartAngleRange(number(t, 1), number(t, 2)); }},
    {"endanglerange", [](ParticleEmitter& e, const Line& t) { e.setEndAngleRange(number(t, 1), number(t, 2)); }},
    {"relativeposition", [](ParticleEmitter& e, const Line&) { e.setRelativePosition(true); }},
    {"delayrange", [](ParticleEmitter& e, const Line& t) { e.setDelayRange(number(t, 1), number(t, 2)); }},
    {"speedtype", speedType},
    {"blendingmode", blendMode},
    {"blendmode", blendMode},
    {"speedrange",
     [](ParticleEmitter& e, const Line& t) {
         e.setSpeedRange(number(t, 1), number(t, 2), number(t, 3), number(t, 4));
     }},
    {"accelerationrange",
     [](ParticleEmitter& e, const Line& t) {
         e.setAccelerationRange(number(t, 1), number(t, 2), number(t, 3), number(t, 4));
     }},
    {"effectscale", [](ParticleEmitter& e, const Line& t) { e.setEffectScale(number(t, 1)); }},
};

void runLine(ParticleEmitter& emitter, const Line& line) {
    const Zep::String sCommand = line.get(0).toLower();
    for (const Command& command : kCommands) {
        if (sCommand != command.szName) continue;
        command.run(emitter, line);
        return;
    }
    ZEP_THROW(Zep::FatalErrorException, ("Unknown command : " + sCommand).c_str());
}

}  // namespace

void readEmitterDefinition(ParticleEmitter& emitter, const char* szName, const char* szText) {
    Zep::TokenFileReader reader(szText);
    while (!reader.isEOF()) {
        reader.nextLine();
        runLine(emitter, Line{reader.getTokens(), szName ? szName : ""});
    }
}

void ParticleEmitter::load(const char* szName) {
    ZEP_TRACE("ParticleEmitter::load");
    const Zep::String sName(szName ? szName : "");
    Registry& definitions = registry();
    if (!definitions.contains(sName)) {
        const Zep::String sText = application().getResource(sName.c_str())->asString();
        Zep::SmartPtr<ParticleEmitter> pDefinition = new ParticleEmitter(nullptr);
        readEmitterDefinition(*pDefinition, sName.c_str(), sText.c_str());
        definitions.set(sName, pDefinition);
    }
    copyFrom(definitions.get(sName).get());
}

void ParticleEmitter::clearDefinitions() { registry().clear(); }

int ParticleEmitter::getDefinitionCount() { return registry().getCount(); }
