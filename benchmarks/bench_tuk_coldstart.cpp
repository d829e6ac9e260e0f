// The game's cold start: the application object made and initialised on the
// desktop platform (SDL's dummy video driver without an X server, dummy
// audio) over the packed archives beside this program, the splash logos
// skipped by a click in their first frame, frames run until the main menu
// has entered; then shut down. Beside it, a bare application that starts the
// same platform with initSystems and draws one frame of an empty mode.
//
// Each run starts from an empty data folder, so the menu opens under its
// forced profile dialog, as on a player's first start.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "bench_tempdir.h"
#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "screens/menumode.h"
#include "driver/platform.h"
#include "driver/startup.h"
#include "app/tukapp.h"
#include "dialogs/ui_splash.h"
#include "driver/videodriver.h"

namespace {

constexpr int kFrameLimit = 10000;

// Dummy drivers, the data folder in the scratch folder, the current folder
// the program's (where the build packs the archives).
void prepareProcess() {
    static const bool bDone = [] {
        if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("XDG_DATA_HOME", bench::tempDir().c_str(), 1);
        std::filesystem::current_path(std::filesystem::read_symlink("/proc/self/exe").parent_path());
        GameApp::initLogFile("tukbench", "ColdStart/");
        GameApp::initConfigPath("tukbench", "ColdStart/");
        return true;
    }();
    (void)bDone;
}

template <class T>
bool onStack(GameApp& app) {
    for (int i = 0; i < app.getModeCount(); ++i)
        if (dynamic_cast<T*>(app.getModeAt(i))) return true;
    return false;
}

void BM_ColdStartToMenu(benchmark::State& state) {
    prepareProcess();
    const std::string sConfig = GameApp::getConfigPath().c_str();
    int nFrames = 0;
    for (auto _ : state) {
        std::filesystem::remove(sConfig);
        auto pApp = std::make_unique<TUKApp>();
        pApp->init();
        int nLast = pApp->getTicks(), nDue = nLast;
        int nFrame = 0;
        // The menu counts once it has run a frame of its own.
        for (bool bMenuSeen = false; nFrame < kFrameLimit; ++nFrame) {
            if (onStack<SplashScreen>(*pApp)) {  // a click: each logo ends at its release
                pApp->onMouseDown(1, 400, 300);
                pApp->onMouseUp(1, 400, 300);
            }
            pApp->frame(nLast, nDue, false);
            if (bMenuSeen) break;
            bMenuSeen = onStack<MenuMode>(*pApp);
        }
        if (nFrame == kFrameLimit) state.SkipWithError("the menu never came");
        nFrames = nFrame;
        pApp->shutdown();
        pApp.reset();
    }
    state.counters["frames"] = nFrames;
}
BENCHMARK(BM_ColdStartToMenu)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_BareStartOneFrame(benchmark::State& state) {
    prepareProcess();
    for (auto _ : state) {
        auto pApp = std::make_unique<GameApp>();
        pApp->setPlatform(createDesktopPlatform());
        pApp->initSystems(800, 600, 0, Zep::SmartPtr<Image>());
        pApp->pushMode(new GameMode());
        int nLast = pApp->getTicks(), nDue = nLast;
        pApp->frame(nLast, nDue, false);
        pApp->shutdown();
        pApp.reset();
    }
}
BENCHMARK(BM_BareStartOneFrame)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
