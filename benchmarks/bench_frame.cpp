// One headless frame of the application beside the draw walk alone over the
// same sprites.
//
// Three modes of 200 sprites each, all updated and drawn (the upper two let
// updates and drawing through), on the fake platform and video driver of the
// test kit. The frame is the whole step: clock, mode updates, event pump,
// the draw walk on the fake driver, the counter and the ended-mode pass; the
// walk is the driver's render alone. Their ratio is the loop's own
// overhead.
#include <benchmark/benchmark.h>

#include "bench_fakeapp.h"
#include "sprite/gamemode.h"
#include "image/memimage.h"
#include "sprite/sprite.h"

namespace {

constexpr int kModes = 3;
constexpr int kSpritesPerMode = 200;
constexpr int kZOrders = 10;
constexpr int kClearCallsEvery = 4096;  // the fake driver's call record

// An application on the fake platform with its three full modes.
class BenchApp : public bench::FakeScreenApp {
public:
    BenchApp() : FakeScreenApp("bench_frame.log") {
        app().setFrameRate(0);  // frames back to back: nothing sleeps
        for (int i = 0; i < kModes; ++i) app().pushMode(makeMode(i > 0));
    }

private:
    static GameMode* makeMode(bool bLetThrough) {
        auto* pMode = new GameMode();
        if (bLetThrough) pMode->addFlags(GameMode::kDrawBelow | GameMode::kUpdateBelow);
        Zep::SmartPtr<Image> pImage = new MemImage(8, 8, true);
        for (int i = 0; i < kSpritesPerMode; ++i)
            pMode->addSprite(Zep::SmartPtr<Sprite>(new Sprite(pImage, i % 800, i % 600, (i * 7) % kZOrders)));
        return pMode;
    }
};

void BM_Frame(benchmark::State& state) {
    BenchApp bench;
    int nLast = bench.app().getTicks();
    int nDue = nLast;
    int n = 0;
    for (auto _ : state) {
        bench.app().frame(nLast, nDue, false);
        if (++n % kClearCallsEvery == 0) bench.video().m_vCalls.clear();
    }
    benchmark::DoNotOptimize(bench.video().m_vDrawn.size());
    state.SetItemsProcessed(state.iterations() * kModes * kSpritesPerMode);
}
BENCHMARK(BM_Frame);

void BM_DrawWalkAlone(benchmark::State& state) {
    BenchApp bench;
    int n = 0;
    for (auto _ : state) {
        bench.video().render();
        if (++n % kClearCallsEvery == 0) bench.video().m_vCalls.clear();
    }
    benchmark::DoNotOptimize(bench.video().m_vDrawn.size());
    state.SetItemsProcessed(state.iterations() * kModes * kSpritesPerMode);
}
BENCHMARK(BM_DrawWalkAlone);

}  // namespace
