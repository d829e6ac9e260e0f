// One frame of 10,000 live particles: the mode's particle step and the draw
// walk over their sprites, beside a plain loop doing the same arithmetic on
// plain structs and handing each to the same drawing interface.
//
// The particles move with a velocity and an acceleration, scale, fade and
// turn over a lifetime that does not end during the run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "drawwalk.h"
#include "gameapp.h"
#include "gamemode.h"
#include "memimage.h"
#include "particle_emitter.h"
#include "sprite.h"

namespace {

constexpr int kParticles = 10000;
constexpr float kFrame = 1.0f / 60.0f;

// Takes the sprites the walk hands over; drawing itself is the driver's.
class CountingTarget : public IDrawTarget {
public:
    void clearScreen(const Color&) override {}
    void drawSprite(GameMode&, Sprite& sprite) override { m_fSum += sprite.getAlpha() + sprite.getRotation(); }
    float m_fSum = 0.0f;
};

class BenchApp : public GameApp {
public:
    explicit BenchApp(GameMode* pMode) { m_modeStack.modes().addFirst(pMode); }
    ~BenchApp() override { m_modeStack.modes().clear(); }
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
    GameApp::disableLog();
    GameMode mode;
    {
        Zep::SmartPtr<ParticleEmitter> pEmitter = new ParticleEmitter(&mode);
        setUpEmitter(*pEmitter, nCount);
        pEmitter->emit(-1);
        mode.addParticles(pEmitter->getParticles());
    }
    BenchApp app(&mode);
    CountingTarget target;
    for (auto _ : state) {
        mode.updateParticles(kFrame);
        drawModes(app, target);
        benchmark::DoNotOptimize(target.m_fSum);
    }
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

class PlainTarget {
public:
    virtual ~PlainTarget() = default;
    virtual void draw(const PlainParticle& p) { m_fSum += p.alpha + p.rotation; }
    float m_fSum = 0.0f;
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
        for (const PlainParticle& p : v)
            if (p.visible) pTarget->draw(p);
        benchmark::DoNotOptimize(target.m_fSum);
    }
    state.SetItemsProcessed(state.iterations() * nCount);
}
BENCHMARK(BM_PlainParticleLoop)->Arg(kParticles)->Arg(kParticles / 10)->Unit(benchmark::kMicrosecond);

}  // namespace
