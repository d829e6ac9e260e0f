// The dialog toolkit's cost: building and laying out a yes/no dialog, and one
// frame of a game-like screen with that dialog open beside the same frame
// without it.
//
// The screen: an 800 x 600 opaque background and 200 tinted 64 x 64 sprites
// with per-pixel alpha, drawn by the textured video driver on the test kit's
// fake platform (SDL's dummy video driver when there is no X server). The
// dialog adds its dimmer, frame, text label and two themed buttons; its
// buttons' pictures come from the theme's cache after the first dialog. A
// third run leaves the dimmer out: the scaled full-screen dimmer takes the
// driver's triangle path, which is most of what an open dialog costs. Every
// frame is drawn whole (the screen stands still: drawn only where it
// changed, it would draw nothing).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "bench_tempdir.h"
#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "sdl/sdl_d3d7video.h"
#include "sdl/sdl_imagefactory.h"
#include "sdl/sdl_ttf.h"
#include "sprite/sprite.h"
#include "testkit/testkit_platform.h"
#include "theme/theme.h"
#include "dialogs/ui_dialog.h"
#include "ui/uitest_frametheme.h"

#include <zep2/resource.h>

namespace {

constexpr int kSprites = 200;
constexpr const char* kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const std::string kTheme = uitest::framedTheme(
    "class TrueType DejaVuSans.ttf 16\ntextcolor 255 255 255\nshadowcolor 0 0 0\ndrawshadow true\n", "ui/btn");

// The application on the fake platform with the textured driver, the theme
// current and the game-like screen pushed.
class BenchUi {
public:
    BenchUi() {
        if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "dummy", 1);
        GameApp::openLog(bench::tempFile("bench_ui.log").c_str());
        SDL_Init(SDL_INIT_NOPARACHUTE);
        m_pApp = std::make_unique<GameApp>();
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        auto pVideo = std::make_unique<D3D7VideoDriver>();
        m_pVideo = pVideo.get();
        pPlatform->setVideoDriver(std::move(pVideo));
        pPlatform->setImageFactory(std::make_unique<SDLImageFactory>());
        m_pApp->setPlatform(std::move(pPlatform));
        m_pApp->setFrameRate(0);
        m_pVideo->init(Zep::SmartPtr<Image>());
        m_pVideo->setVideoMode(800, 600, static_cast<int>(VideoFlag::Depth32));
        // The still screen would draw nothing after its first frame.
        m_pVideo->setRedrawAll(true);
        loadTheme();
        m_pApp->pushMode(makeScreen());
    }
    ~BenchUi() {
        m_pApp.reset();
        Theme::unregisterFontFactory("TrueType");
        SDL_Quit();
        GameApp::closeLog();
    }
    GameApp& app() { return *m_pApp; }

private:
    void loadTheme() {
        m_pApp->registerBuiltinResources();
        Theme::registerFontFactory("TrueType", new SDLTTFFactory());
        const std::string sDir = bench::tempDir() + "/res/";
        std::filesystem::create_directories(sDir);
        std::filesystem::copy_file(kFont, sDir + "DejaVuSans.ttf", std::filesystem::copy_options::overwrite_existing);
        FILE* f = std::fopen((sDir + "dialog.theme").c_str(), "wb");
        std::fputs(kTheme.c_str(), f);
        std::fclose(f);
        m_pApp->addResourceProvider(std::make_unique<Zep::FilesystemResourceProvider>(sDir.c_str()), false);
        picture("ui/btn", 40, 24, Color(0, 0, 200, 255));
        picture("ui/edge", 4, 4, Color(200, 0, 0, 255));
        picture("ui/back", 4, 4, Color(0, 160, 0, 255));
        Zep::SmartPtr<Theme> pTheme = new Theme();
        pTheme->load("dialog.theme");
        m_pApp->setTheme(pTheme);
    }
    void picture(const char* szName, int w, int h, const Color& c) {
        Zep::SmartPtr<Image> p = m_pApp->createImage(w, h, false);
        p->fill(c);
        m_pApp->addImage(szName, p, true);
    }
    GameMode* makeScreen() {
        auto* pMode = new GameMode();
        Zep::SmartPtr<Image> pBack = m_pApp->createImage(800, 600, false);
        pBack->fill(Color(40, 80, 120, 255));
        pMode->addSprite(new Sprite(pBack, 0, 0, 0));
        Zep::SmartPtr<Image> pSprite = m_pApp->createImage(64, 64, true);
        pSprite->fill(Color(200, 120, 40, 160));
        for (int i = 0; i < kSprites; ++i) {
            Zep::SmartPtr<Sprite> p = pMode->addSprite(new Sprite(pSprite, (i * 97) % 736, (i * 61) % 536, 1));
            p->setColor(Color(255, 200, 150, 255));
        }
        return pMode;
    }

    std::unique_ptr<GameApp> m_pApp;
    D3D7VideoDriver* m_pVideo = nullptr;
};

void BM_BuildDlgYesNo(benchmark::State& state) {
    BenchUi bench;
    for (auto _ : state) {
        auto pDialog = std::make_unique<DlgYesNo>(nullptr, "Do you really want to leave the game?", 1, 2);
        benchmark::DoNotOptimize(pDialog->getTable()->getWidth());
    }
}
BENCHMARK(BM_BuildDlgYesNo);

// The same dialog without its dimmer: what the dialog's own sprites cost.
class UndimmedYesNo : public DlgYesNo {
public:
    UndimmedYesNo() : DlgYesNo(nullptr, "Do you really want to leave the game?", 1, 2) {}
    void start() override {}
};

enum class Open { kNone, kDialog, kUndimmed };

void runFrames(benchmark::State& state, Open eOpen) {
    BenchUi bench;
    if (eOpen == Open::kDialog) bench.app().pushMode(new DlgYesNo(nullptr, "Do you really want to leave the game?", 1, 2));
    if (eOpen == Open::kUndimmed) bench.app().pushMode(new UndimmedYesNo());
    int nLast = bench.app().getTicks();
    int nDue = nLast;
    for (auto _ : state) bench.app().frame(nLast, nDue, false);
}

void BM_FrameGameOnly(benchmark::State& state) { runFrames(state, Open::kNone); }
BENCHMARK(BM_FrameGameOnly);

void BM_FrameWithDialog(benchmark::State& state) { runFrames(state, Open::kDialog); }
BENCHMARK(BM_FrameWithDialog);

void BM_FrameWithUndimmedDialog(benchmark::State& state) { runFrames(state, Open::kUndimmed); }
BENCHMARK(BM_FrameWithUndimmedDialog);

}  // namespace
