// Opening the store's purchase dialog for the juice machines (purchase id
// 15) on the demo scene, over the build's demo archives: the bar preview
// read, its sprites built and scaled, the dialog's tables built and laid out
// with the theme's TrueType fonts, then the dialog ended and freed. Beside
// it, the preview's reading alone, and the level's own reading of the same
// scene with the same levels: the baseline of the dialog's ratio.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "driver/audiodriver.h"
#include "screens/barpreview.h"
#include "bench_reporting.h"
#include "bench_tempdir.h"
#include "screens/buyupgrademode.h"
#include "application/gameapp.h"
#include "image/memimage.h"
#include "level/playmode.h"
#include "sdl/sdl_ttf.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_video.h"
#include "theme/theme.h"
#include "records/tukplayer.h"

namespace {

// The application over the demo archives, with the ended modes freed on demand.
class StoreApp : public GameApp {
public:
    StoreApp() {
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        pPlatform->setVideoDriver(std::make_unique<testkit::FakeVideoDriver>());
        pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        setPlatform(std::move(pPlatform));
        // The silent driver: the theme's button sounds load, nothing plays.
        m_pOwnAudioDriver = std::make_unique<DummyAudioDriver>();
        m_pAudioDriver = m_pOwnAudioDriver.get();
        m_pAudioDriver->init();
        initCaches();
        registerBuiltinResources();
        for (const char* szArchive : {"lang_en.dat", "tuk_data.dat"})
            addResourceFile((std::string(TUK_CONTENT_ARCHIVES) + szArchive).c_str());
        Theme::registerFontFactory("TrueType", new SDLTTFFactory());
        Zep::SmartPtr<Theme> pTheme = new Theme();
        pTheme->load("sand.theme");
        setTheme(pTheme);
        loadStringTable("messages.txt");
    }
    ~StoreApp() override { Theme::unregisterFontFactory("TrueType"); }
    void freeEndedModes() { m_modeStack.deleteEnded(); }
};

// The log opens before the application and closes after it.
struct Log {
    Log() { GameApp::openLog(bench::tempFile("bench_tuk_store.log").c_str()); }
    ~Log() { GameApp::closeLog(); }
};

struct Session {
    Log m_log;
    std::unique_ptr<StoreApp> m_pApp = std::make_unique<StoreApp>();
    TUKPlayer m_player;
    bool m_bPurchased = false;
};

void BM_PurchaseDialogOpensOnDemoScene(benchmark::State& state) { bench::reporting(state, [&] {
    Session session;
    StoreApp& app = *session.m_pApp;
    session.m_player.setMoney(1000);
    Zep::SmartPtr<UpgradeManager> pCatalogue = new UpgradeManager();
    for (auto _ : state) {
        auto* pDialog = new BuyUpgradeMode(&session.m_player, pCatalogue, 15, "scene0", &session.m_bPurchased);
        app.pushMode(pDialog);
        benchmark::DoNotOptimize(pDialog->getPreview()->getSprites().getCount());
        pDialog->endMode();
        app.freeEndedModes();
    }
}); }
BENCHMARK(BM_PurchaseDialogOpensOnDemoScene)->Unit(benchmark::kMillisecond);

void BM_PreviewReadsDemoScene(benchmark::State& state) { bench::reporting(state, [&] {
    Session session;
    SceneTags::Levels levels{};
    for (auto _ : state) {
        BarPreview preview(*session.m_pApp, 15, levels);
        preview.read("scene0");
        benchmark::DoNotOptimize(preview.getSprites().getCount());
    }
}); }
BENCHMARK(BM_PreviewReadsDemoScene)->Unit(benchmark::kMillisecond);

// The level built from "scene0" with a new player's levels, as the dialog's
// preview reads it above: its pictures and scripts cached by the same app.
void BM_LevelReadsDemoScene(benchmark::State& state) { bench::reporting(state, [&] {
    Session session;
    for (auto _ : state) {
        PlayMode level(&session.m_player, nullptr, "scene0", 0, 0, 1);
        level.loadScene();
        benchmark::DoNotOptimize(level.getLevelData().m_nOrdinarySpots);
    }
}); }
BENCHMARK(BM_LevelReadsDemoScene)->Unit(benchmark::kMillisecond);

}  // namespace
