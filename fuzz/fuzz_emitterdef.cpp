// Emitter definitions (".emitter") from arbitrary text: read, registered,
// copied, emitted and stepped, whatever the counts say. The emitters' own
// bounds keep every input small: a count past them is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <zep2/error.h>

#include "fuzz_app.h"
#include "sprite/gamemode.h"
#include "image/memimage.h"
#include "effects/particle_emitter.h"

// Inputs make and free particles by the thousand: a smaller quarantine of
// freed blocks keeps the sanitizer's own memory well under the runs' limit.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=64"; }

namespace {

fuzz::App& harness() {
    static fuzz::App s_app = [] {
        fuzz::App app = fuzz::makeApp();
        app.pApp->addImage("dot", new MemImage(2, 2, true), true);
        app.pApp->addImage("ramp", new MemImage(4, 1, false), true);
        // The animation that "animation" and "randomframe" lines can name.
        const char szSpin[] = "fps 10\nseq default\nload dot\nload ramp\nadd dot\nadd ramp\n";
        fuzz::addFile(app, "spin.anim", szSpin, sizeof szSpin - 1, true);
        return app;
    }();
    return s_app;
}

void checkBounds(const ParticleEmitter& emitter) {
    if (emitter.getLiveCount() > ParticleEmitter::kMaxParticles ||
        ParticleEmitter::getCarriedCount() > ParticleEmitter::kMaxCarriedEmitters)
        std::abort();
}

// Four steps: an emission, an update, the mode's step of the particles handed
// over and an update of the emptied emitter, all inside one emission step, so
// that they share one step's allowance of particles: an animated particle
// costs a sanitized build tens of microseconds to make and to step, and a
// hostile definition reaches the allowance in every step it is given.
void run(GameMode& mode) {
    const EmissionStep input;
    Zep::SmartPtr<ParticleEmitter> pEmitter = new ParticleEmitter(&mode);
    pEmitter->load("fuzz.emitter");
    // Offsets from the file are added to this z-order.
    pEmitter->setZOrder(2147483000);
    pEmitter->setPosition(40, 30);
    pEmitter->emit(-1);
    checkBounds(*pEmitter);
    pEmitter->update(0.1f);
    checkBounds(*pEmitter);
    mode.addParticles(pEmitter->getParticles());
    mode.updateParticles(0.5f);
    pEmitter->update(0.25f);
    checkBounds(*pEmitter);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::addFile(harness(), "fuzz.emitter", data, size, true);
    ParticleEmitter::clearDefinitions();
    {
        GameMode mode;
        try {
            run(mode);
        } catch (const Zep::Exception&) {
        }
    }
    ParticleEmitter::clearDefinitions();
    // Everything the input made is gone with its mode.
    if (ParticleEmitter::getCarriedCount() != 0) std::abort();
    return 0;
}
