// The layered sprite lists of a mode beside a std::multimap keyed by z-order
// (each sprite keeping its iterator, the map's own O(1) handle), and the
// shared draw walk beside a plain loop over a vector of the same sprites.
//
// 2,000 sprites over 50 z-orders in one mode. Adding and removing are timed
// one sprite per iteration, at 2,000 and 20,000 sprites: removal goes through
// the sprite's handles and must not grow with the count; adding walks the
// layers, whose number is the number of z-orders in use.
#include <benchmark/benchmark.h>

#include <map>
#include <vector>

#include "sprite/drawwalk.h"
#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "image/memimage.h"
#include "sprite/sprite.h"

namespace {

constexpr int kZOrders = 50;
constexpr int kSprites = 2000;

// Spread over the z-orders in no particular order.
int zOf(int i) { return (i * 7919) % kZOrders; }

std::vector<Zep::SmartPtr<Sprite>> makeSprites(int n) {
    Zep::SmartPtr<Image> pImage = new MemImage(8, 8, true);
    std::vector<Zep::SmartPtr<Sprite>> v;
    v.reserve(n);
    for (int i = 0; i < n; ++i) v.push_back(new Sprite(pImage, i % 800, i % 600, zOf(i)));
    return v;
}

// The multimap stand-in for a mode's display layers.
struct ZMap {
    std::multimap<int, Sprite*> map;
    std::vector<std::multimap<int, Sprite*>::iterator> handles;
};

// ---- Add --------------------------------------------------------------------------

void BM_ModeAdd(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto v = makeSprites(n);
    GameMode mode;
    int i = 0;
    for (auto _ : state) {
        if (i == n) {
            state.PauseTiming();
            mode.removeAllSprites();
            i = 0;
            state.ResumeTiming();
        }
        mode.addSprite(v[i++]);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ModeAdd)->Arg(kSprites)->Arg(10 * kSprites);

void BM_MultimapAdd(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto v = makeSprites(n);
    ZMap z;
    z.handles.resize(n);
    int i = 0;
    for (auto _ : state) {
        if (i == n) {
            state.PauseTiming();
            z.map.clear();
            i = 0;
            state.ResumeTiming();
        }
        z.handles[i] = z.map.emplace(v[i]->getZOrder(), v[i].get());
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MultimapAdd)->Arg(kSprites)->Arg(10 * kSprites);

// ---- Remove -----------------------------------------------------------------------

void BM_ModeRemove(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto v = makeSprites(n);
    GameMode mode;
    int i = n;
    for (auto _ : state) {
        if (i == n) {
            state.PauseTiming();
            for (const auto& p : v) mode.addSprite(p);
            i = 0;
            state.ResumeTiming();
        }
        mode.removeSprite(v[i++]);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ModeRemove)->Arg(kSprites)->Arg(10 * kSprites);

void BM_MultimapRemove(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto v = makeSprites(n);
    ZMap z;
    z.handles.resize(n);
    int i = n;
    for (auto _ : state) {
        if (i == n) {
            state.PauseTiming();
            for (int k = 0; k < n; ++k) z.handles[k] = z.map.emplace(v[k]->getZOrder(), v[k].get());
            i = 0;
            state.ResumeTiming();
        }
        z.map.erase(z.handles[i++]);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MultimapRemove)->Arg(kSprites)->Arg(10 * kSprites);

// ---- Change of z-order -------------------------------------------------------------

void BM_ModeSetZOrder(benchmark::State& state) {
    auto v = makeSprites(kSprites);
    GameMode mode;
    for (const auto& p : v) mode.addSprite(p);
    int i = 0;
    for (auto _ : state) {
        Sprite& s = *v[i];
        s.setZOrder((s.getZOrder() + 1) % kZOrders);
        i = (i + 1) % kSprites;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ModeSetZOrder);

void BM_MultimapSetZOrder(benchmark::State& state) {
    auto v = makeSprites(kSprites);
    ZMap z;
    for (const auto& p : v) z.handles.push_back(z.map.emplace(p->getZOrder(), p.get()));
    int i = 0;
    for (auto _ : state) {
        auto& it = z.handles[i];
        const int nNew = (it->first + 1) % kZOrders;
        Sprite* p = it->second;
        z.map.erase(it);
        it = z.map.emplace(nNew, p);
        i = (i + 1) % kSprites;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MultimapSetZOrder);

// ---- Draw walk ---------------------------------------------------------------------

// Takes the sprites the walk hands over; drawing itself is the driver's.
class CountingTarget : public IDrawTarget {
public:
    void clearScreen(const Color&) override {}
    void drawSprite(GameMode&, Sprite& sprite) override {
        m_fSum += sprite.getAlpha();
        ++m_nCount;
    }
    float m_fSum = 0.0f;
    int m_nCount = 0;
};

class BenchApp : public GameApp {
public:
    explicit BenchApp(GameMode* pMode) { m_modeStack.modes().addFirst(pMode); }
    ~BenchApp() override { m_modeStack.modes().clear(); }
};

void BM_DrawWalk(benchmark::State& state) {
    GameApp::disableLog();
    auto v = makeSprites(kSprites);
    GameMode mode;
    for (const auto& p : v) mode.addSprite(p);
    BenchApp app(&mode);
    CountingTarget target;
    for (auto _ : state) {
        drawModes(app, target);
        benchmark::DoNotOptimize(target.m_fSum);
    }
    state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_DrawWalk);

void BM_PlainSpriteLoop(benchmark::State& state) {
    auto v = makeSprites(kSprites);
    std::vector<Sprite*> vPlain;
    for (const auto& p : v) vPlain.push_back(p.get());
    GameMode mode;
    CountingTarget target;
    // Called through the interface, as the walk does.
    IDrawTarget* pTarget = &target;
    benchmark::DoNotOptimize(pTarget);
    for (auto _ : state) {
        for (Sprite* p : vPlain)
            if (p->isVisible() && p->getDrawImage().notNULL()) pTarget->drawSprite(mode, *p);
        benchmark::DoNotOptimize(target.m_fSum);
    }
    state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_PlainSpriteLoop);

}  // namespace
