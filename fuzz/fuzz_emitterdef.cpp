// Emitter definitions (".emitter") from arbitrary text: read, registered,
// copied, and, when the counts are small, emitted and stepped.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include <zep2/error.h>

#include "fuzz_app.h"
#include "gamemode.h"
#include "memimage.h"
#include "particle_emitter.h"

namespace {

// Bigger counts are only read, not run: carried emitters multiply them at
// every level of nesting.
constexpr int kMaxStepped = 8;
constexpr int kMaxCarrying = 2;

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
    return 0;
}
