// A hit in the image cache beside a bare lookup of the same key in the
// foundation's hash table: the application's path (folding the name, the
// alias step, the cache lookup) and the cache alone, against Zep::Hash::get
// with a ready-made key.
#include <benchmark/benchmark.h>

#include <memory>

#include <zep2/hash.h>

#include "bench_tempdir.h"
#include "application/gameapp.h"
#include "image/memimage.h"

namespace {

constexpr const char* kKey = "ui_button_ok";
constexpr const char* kMixedCaseKey = "UI_Button_OK";

// A lone application whose log goes into the scratch folder.
class BenchApp {
public:
    BenchApp() {
        GameApp::openLog(bench::tempFile("bench_caches.log").c_str());
        m_pApp = std::make_unique<GameApp>();
        m_pApp->addImage(kKey, Zep::SmartPtr<Image>(new MemImage(8, 8, true)), false);
    }
    ~BenchApp() {
        m_pApp.reset();
        GameApp::closeLog();
    }
    GameApp& app() { return *m_pApp; }

private:
    std::unique_ptr<GameApp> m_pApp;
};

void BM_GameAppGetImageHit(benchmark::State& state) {
    BenchApp bench;
    for (auto _ : state) {
        Zep::SmartPtr<Image> p = bench.app().getImage(kMixedCaseKey);
        benchmark::DoNotOptimize(p.get());
    }
}
BENCHMARK(BM_GameAppGetImageHit);

void BM_ResCacheGetHit(benchmark::State& state) {
    ResCache<Image> cache;
    cache.add(kKey, Zep::SmartPtr<Image>(new MemImage(8, 8, true)), false);
    for (auto _ : state) {
        Zep::SmartPtr<Image> p = cache.get(kKey);
        benchmark::DoNotOptimize(p.get());
    }
}
BENCHMARK(BM_ResCacheGetHit);

void BM_HashGetSameKey(benchmark::State& state) {
    Zep::Hash<Zep::String, Zep::SmartPtr<Image>> hTable(97);
    const Zep::String sKey(kKey);
    hTable.set(sKey, Zep::SmartPtr<Image>(new MemImage(8, 8, true)));
    for (auto _ : state) {
        Zep::SmartPtr<Image> p = hTable.get(sKey);
        benchmark::DoNotOptimize(p.get());
    }
}
BENCHMARK(BM_HashGetSameKey);

}  // namespace
