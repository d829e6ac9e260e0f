// One frame of 10,000 live particles (ten emitters of 1,000, the most one
// emitter holds): the mode's particle step and the draw walk on the test
// kit's fake video driver, beside a plain loop doing the same
// arithmetic on plain structs and handing each to a recording target, as the
// fake driver records the sprites it would draw.
//
// The particles move with a velocity and an acceleration, scale, fade and
// turn over a lifetime that does not end during the run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "bench_fakeapp.h"
#include "sprite/gamemode.h"
#include "image/memimage.h"
#include "effects/particle_emitter.h"
#include "sprite/sprite.h"

namespace {

constexpr int kParticles = 10000;
constexpr float kFrame = 1.0f / 60.0f;
constexpr int kClearCallsEvery = 4096;  // the fake driver's call record

// An application on the fake platform showing one mode of particles.
class BenchApp : public bench::FakeScreenApp {
public:
    BenchApp() : FakeScreenApp("bench_effects.log"), m_pMode(new GameMode()) { app().pushMode(m_pMode); }
    GameMode& mode() { return *m_pMode; }

private:
    GameMode* m_pMode;
};

void setUpEmitter(ParticleEmitter& e, int nCount) {
    e.addImageType(new MemImage(4, 4, true), 0);
    e.setMaxParticles(nCount);
    e.setPosition(400, 300);
    e.setAreaSize(0.0f, 100.0f);
    e.setLifetimeRange(1e6f, 1e6f);
    e.setStartScaleRange(0.5f, 1.0f);
    e.setEndScaleRange(1.0f, 2.0f);
    e.setFadeFractions(0.1f, 0.9f);
    e.setSpeedType(ParticleEmitter::kSpeedRadial);
    e.setSpeedRange(10.0f, 50.0f, 10.0f, 50.0f);
    e.setAccelerationRange(-5.0f, 5.0f, 10.0f, 20.0f);
    e.setEndAngleRange(0.0f, 360.0f);
}

void BM_ParticleFrame(benchmark::State& state) {
    const int nCount = static_cast<int>(state.range(0));
    BenchApp bench;
    // An emitter holds at most kMaxParticles: as many emitters as it takes.
    for (int nLeft = nCount; nLeft > 0; nLeft -= ParticleEmitter::kMaxParticles) {
        Zep::SmartPtr<ParticleEmitter> pEmitter = new ParticleEmitter(&bench.mode());
        setUpEmitter(*pEmitter, std::min(nLeft, ParticleEmitter::kMaxParticles));
        pEmitter->emit(-1);
        bench.mode().addParticles(pEmitter->getParticles());
    }
    state.counters["particles"] = static_cast<double>(bench.mode().getParticles().getCount());
    if (bench.mode().getParticles().getCount() != nCount) state.SkipWithError("the particles are not all there");
    int n = 0;
    for (auto _ : state) {
        bench.mode().updateParticles(kFrame);
        bench.video().render();
        if (++n % kClearCallsEvery == 0) bench.video().m_vCalls.clear();
    }
    benchmark::DoNotOptimize(bench.video().m_vDrawn.size());
    state.SetItemsProcessed(state.iterations() * nCount);
}
BENCHMARK(BM_ParticleFrame)->Arg(kParticles)->Arg(kParticles / 10)->Unit(benchmark::kMicrosecond);

// The same fields and the same per-step arithmetic, held by value.
struct PlainParticle {
    float x, y, vx, vy, ax, ay;
    float age, lifetime, startScale, endScale, startAngle, endAngle;
    float fadeInEnd, fadeOutStart, maxAlpha;
    float scale, alpha, rotation, drawX, drawY;
    bool visible, dead;
};

void stepPlain(PlainParticle& p, float dt) {
    if (p.dead) return;
    p.age += dt;
    if (p.age >= p.lifetime) {
        p.dead = true;
        p.age = p.lifetime;
    }
    p.vx = std::clamp(p.vx + p.ax * dt, -100000.0f, 100000.0f);
    p.vy = std::clamp(p.vy + p.ay * dt, -100000.0f, 100000.0f);
    p.x += p.vx * dt;
    p.y += p.vy * dt;
    p.drawX = p.x;
    p.drawY = p.y;
    const float t = p.lifetime > 0.0f ? p.age / p.lifetime : 1.0f;
    p.scale = (1.0f - t) * p.startScale + t * p.endScale;
    if (p.age < p.fadeInEnd)
        p.alpha = p.maxAlpha * p.age / p.fadeInEnd;
    else if (p.age > p.fadeOutStart)
        p.alpha = p.maxAlpha * (1.0f - (p.age - p.fadeOutStart) / (p.lifetime - p.fadeOutStart));
    else
        p.alpha = p.maxAlpha;
    p.rotation = p.startAngle + (p.endAngle - p.startAngle) * t;
}

// Records what it would draw, as the fake driver does.
class PlainTarget {
public:
    virtual ~PlainTarget() = default;
    virtual void draw(const PlainParticle& p) { m_vDrawn.emplace_back(this, &p); }
    std::vector<std::pair<const PlainTarget*, const PlainParticle*>> m_vDrawn;
};

void BM_PlainParticleLoop(benchmark::State& state) {
    const int nCount = static_cast<int>(state.range(0));
    std::vector<PlainParticle> v(nCount);
    for (int i = 0; i < nCount; ++i) {
        const float f = static_cast<float>(i % 100) / 100.0f;
        v[i] = PlainParticle{400.0f, 300.0f, 10 + 40 * f, 10 + 40 * f, -5 + 10 * f, 10 + 10 * f, 0, 1e6f, 0.5f,
                             1.5f,   0,      360 * f,   1e5f,         9e5f,        1, 1,    1, 0,    0,    0,
                             true,   false};
    }
    PlainTarget target;
    PlainTarget* pTarget = &target;
    benchmark::DoNotOptimize(pTarget);
    for (auto _ : state) {
        for (PlainParticle& p : v) stepPlain(p, kFrame);
        pTarget->m_vDrawn.clear();
        for (const PlainParticle& p : v)
            if (p.visible) pTarget->draw(p);
        benchmark::DoNotOptimize(target.m_vDrawn.data());
    }
    state.SetItemsProcessed(state.iterations() * nCount);
}
BENCHMARK(BM_PlainParticleLoop)->Arg(kParticles)->Arg(kParticles / 10)->Unit(benchmark::kMicrosecond);

}  // namespace
