// The level's reading of the demo scene, its pictures and scripts already
// cached (a new level each time, built with every upgrade bought and with a
// new player's), beside splitting the same text into lines and tokens with
// the foundation's split alone. The difference is what building the level
// costs over reading its words.
#include <benchmark/benchmark.h>

#include <memory>

#include <zep2/resource.h>

#include "bench_tempdir.h"
#include "application/gameapp.h"
#include "image/imageonlyplatform.h"
#include "level/playmode.h"
#include "records/tukplayer.h"

namespace {

class BenchApp {
public:
    BenchApp() {
        GameApp::openLog(bench::tempFile("bench_tuk_scene.log").c_str());
        m_pApp = std::make_unique<GameApp>();
        m_pApp->setPlatform(std::make_unique<ImageOnlyPlatform>());
        m_pApp->initCaches();
        m_pApp->registerBuiltinResources();
        m_pApp->addResourceProvider(
            std::make_unique<Zep::FilesystemResourceProvider>(TUK_CONTENT_FOLDER "tuk_data/"), false);
        m_sText = m_pApp->getResource("scene0.scene")->asString();
    }
    ~BenchApp() {
        m_pApp.reset();
        GameApp::closeLog();
    }
    const Zep::String& text() const { return m_sText; }

private:
    std::unique_ptr<GameApp> m_pApp;
    Zep::String m_sText;
};

BenchApp& app() {
    static BenchApp s_app;
    return s_app;
}

void readScene(benchmark::State& state, const char* szLevels) {
    app();
    TUKPlayer player;
    for (int i = 0; i < TUKPlayer::kUpgradeKinds; ++i) player.setUpgradeLevel(i, szLevels[i] - '0');
    {
        PlayMode warm(&player, nullptr, "scene0", 0, 0, 1);
        warm.loadScene();
    }
    for (auto _ : state) {
        PlayMode level(&player, nullptr, "scene0", 0, 0, 1);
        level.loadScene();
        benchmark::DoNotOptimize(level.getLevelData().m_nOrdinarySpots);
    }
}

void BM_ReadDemoSceneAllBought(benchmark::State& state) { readScene(state, "2111111111124"); }
BENCHMARK(BM_ReadDemoSceneAllBought);

void BM_ReadDemoSceneNewPlayer(benchmark::State& state) { readScene(state, "0000000000000"); }
BENCHMARK(BM_ReadDemoSceneNewPlayer);

void BM_SplitDemoScene(benchmark::State& state) {
    const Zep::String& sText = app().text();
    for (auto _ : state) {
        int nTokens = 0;
        for (const Zep::String& sLine : sText.split("\n")) nTokens += sLine.split(" \t").getCount();
        benchmark::DoNotOptimize(nTokens);
    }
}
BENCHMARK(BM_SplitDemoScene);

}  // namespace
