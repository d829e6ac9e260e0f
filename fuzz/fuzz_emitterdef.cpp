// Emitter definitions (".emitter") from arbitrary text: read, registered,
// copied, and, when the counts are small, emitted and stepped.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "gameapp.h"
#include "gamemode.h"
#include "memimage.h"
#include "particle_emitter.h"

namespace {

// Bigger counts are only read, not run: carried emitters multiply them at
// every level of nesting.
constexpr int kMaxStepped = 8;
constexpr int kMaxCarrying = 2;

struct Harness {
    GameApp* pApp;
    Zep::MemoryResourceProvider* pDefs;
};

void define(Zep::MemoryResourceProvider* pDefs, const char* szName, const uint8_t* data, size_t size) {
    Zep::SmartPtr<Zep::Resource> p = new Zep::Resource(static_cast<int>(size) + 1, nullptr, true);
    if (size) std::memcpy(p->getData(), data, size);
    static_cast<char*>(p->getData())[size] = '\0';
    pDefs->add(szName, p);
}

Harness& harness() {
    static Harness s_harness = [] {
        GameApp::disableLog();
        GameApp::disableSettingsSaving();
        Harness h{new GameApp(), nullptr};
        auto pProvider = std::make_unique<Zep::MemoryResourceProvider>();
        h.pDefs = pProvider.get();
        h.pApp->addResourceProvider(std::move(pProvider), false);
        h.pApp->addImage("dot", new MemImage(2, 2, true), true);
        h.pApp->addImage("ramp", new MemImage(4, 1, false), true);
        // The animation that "animation" and "randomframe" lines can name.
        const char szSpin[] = "fps 10\nseq default\nload dot\nload ramp\nadd dot\nadd ramp\n";
        define(h.pDefs, "spin.anim", reinterpret_cast<const uint8_t*>(szSpin), sizeof szSpin - 1);
        return h;
    }();
    return s_harness;
}

void run(GameMode& mode) {
    Zep::SmartPtr<ParticleEmitter> pEmitter = new ParticleEmitter(&mode);
    pEmitter->load("fuzz.emitter");
    const ParticleEmitter::Params& p = pEmitter->getParams();
    bool bCarries = false;
    int nTypes = 0;
    for (const ParticleType& type : pEmitter->getTypes()) {
        bCarries |= type.nKind == ParticleType::kEmitter;
        ++nTypes;
    }
    // Each emission makes one particle of every type, so the types multiply
    // the counts too.
    const int nLimit = bCarries ? kMaxCarrying : kMaxStepped;
    const int64_t nPerEmission = std::max(nTypes, 1);
    if (int64_t{p.nMaxParticles} * nPerEmission > nLimit || int64_t{p.nMinParticles} * nPerEmission > nLimit / 2)
        return;
    pEmitter->emit(-1);
    for (int i = 0; i < 3; ++i) pEmitter->update(0.1f);
    mode.addParticles(pEmitter->getParticles());
    mode.updateParticles(0.5f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    harness();
    define(harness().pDefs, "fuzz.emitter", data, size);
    ParticleEmitter::clearDefinitions();
    {
        GameMode mode;
        try {
            run(mode);
        } catch (const Zep::Exception&) {
        }
    }
    ParticleEmitter::clearDefinitions();
    return 0;
}
