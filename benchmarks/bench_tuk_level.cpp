// One frame of a level of the demo scene with everything present, beside the
// framework's bare frame drawing the same sprites.
//
// The level: every upgrade that the demo scene can show at once (the tray of
// six, the four VIP chairs, the juice machine, the parrot, the prop
// dispenser, the centrepieces, the shows), its four ordinary and four VIP
// seats taken by customers who never lose patience, a full mug on every
// coaster, the waitress walking to and fro with six mugs on her tray, the
// parrot and the figures at their business, the clock stopped so that the
// bar never closes. The bare frame: a plain mode holding one sprite per
// sprite shown in the level (its picture of the moment, place, layer, scale
// and colour), stepped as bench_frame steps its modes. Both run on the test
// kit's platform with the textured driver (SDL's dummy video driver when
// there is no X server), frames back to back, over the build's demo
// archives. The level frame must stay within 1.2 times the bare frame and
// inside the 10 ms a frame has at 100 frames a second.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "audiodriver.h"
#include "bench_reporting.h"
#include "bench_tempdir.h"
#include "gameapp.h"
#include "gamemode.h"
#include "mug.h"
#include "playmode.h"
#include "sdl_d3d7video.h"
#include "sdl_imagefactory.h"
#include "sdl_ttf.h"
#include "sprite.h"
#include "testkit_platform.h"
#include "theme.h"
#include "tukplayer.h"
#include "waitress.h"

namespace {

// Per upgrade kind 0 to 12: the tray of six, the chairs, the first machine,
// the parrot, the dispenser, both centrepieces, all shows.
constexpr const char* kLevels = "2011111011224";
constexpr int kWalkEnds[2][2] = {{260, 640}, {560, 640}};

// The application over the demo archives on the textured driver.
class LevelApp : public GameApp {
public:
    LevelApp() {
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        auto pVideo = std::make_unique<D3D7VideoDriver>();
        m_pVideo = pVideo.get();
        pPlatform->setVideoDriver(std::move(pVideo));
        pPlatform->setImageFactory(std::make_unique<SDLImageFactory>());
        setPlatform(std::move(pPlatform));
        m_pVideo->init(Zep::SmartPtr<Image>());
        m_pVideo->setVideoMode(800, 600, static_cast<int>(VideoFlag::Depth32));
        m_pOwnAudioDriver = std::make_unique<DummyAudioDriver>();
        m_pAudioDriver = m_pOwnAudioDriver.get();
        m_pAudioDriver->init();
        initCaches();
        registerBuiltinResources();
        for (const char* szArchive : {"lang_en.dat", "tuk_data.dat", "tuk_sound.dat"})
            addResourceFile((std::string(TUK_CONTENT_ARCHIVES) + szArchive).c_str());
        Theme::registerFontFactory("TrueType", new SDLTTFFactory());
        Zep::SmartPtr<Theme> pTheme = new Theme();
        pTheme->load("sand.theme");
        setTheme(pTheme);
        loadStringTable("messages.txt");
    }
    ~LevelApp() override { Theme::unregisterFontFactory("TrueType"); }
    void freeEndedModes() { m_modeStack.deleteEnded(); }
    void step() { frame(m_nLast, m_nDue, false); }

private:
    D3D7VideoDriver* m_pVideo = nullptr;
    int m_nLast = 0;
    int m_nDue = 0;
};

// SDL and the log around the application.
struct Session {
    Session() {
        if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "dummy", 1);
        GameApp::openLog(bench::tempFile("bench_tuk_level.log").c_str());
        SDL_Init(SDL_INIT_NOPARACHUTE);
        m_pApp = std::make_unique<LevelApp>();
    }
    ~Session() {
        m_pApp.reset();
        SDL_Quit();
        GameApp::closeLog();
    }
    std::unique_ptr<LevelApp> m_pApp;
};

// The level entered and filled as above; the frames' pacing off.
class FullLevel {
public:
    explicit FullLevel(LevelApp& app) : m_rApp(app) {
        for (int i = 0; i < TUKPlayer::kUpgradeKinds; ++i) m_player.setUpgradeLevel(i, kLevels[i] - '0');
        m_pLevel = new PlayMode(&m_player, nullptr, "scene0", 0, 0, 1);
        app.pushMode(m_pLevel);
        app.setFrameRate(0);
        app.step();
        fill();
    }
    PlayMode& level() { return *m_pLevel; }
    // The waitress turns back at either end of her walk.
    void keepWalking() {
        if (m_pLevel->isWaitressWalking()) return;
        m_nEnd = 1 - m_nEnd;
        m_pLevel->walkWaitressTo(kWalkEnds[m_nEnd][0], kWalkEnds[m_nEnd][1]);
    }

private:
    void fill() {
        LevelData& data = m_pLevel->getLevelData();
        data.m_fBasePatience = 1.0e6f;
        data.m_bPaused = true;
        while (m_pLevel->getSpawnManager()->spawn().notNULL()) {
        }
        for (const Zep::SmartPtr<GlassSpot>& pSpot : m_pLevel->getGlassSpots())
            if (!pSpot->hasMug()) pSpot->putMug(fullMug(), true);
        for (int i = 0; i < data.m_pWaitress->getCapacity(); ++i) data.m_pWaitress->setHandContents(fullMug());
        for (int i = 0; i < 20; ++i) m_rApp.step();
    }
    Zep::SmartPtr<Mug> fullMug() {
        Zep::SmartPtr<Mug> pMug = Mug::create(m_pLevel, "vaso");
        pMug->setLiquids(Zep::List<int>{0, 1});
        pMug->fill();
        m_pLevel->getLevelData().m_lMugs.add(pMug);
        return pMug;
    }

    LevelApp& m_rApp;
    TUKPlayer m_player;
    PlayMode* m_pLevel;  // owned by the stack
    int m_nEnd = 0;
};

// A plain mode with a copy of every sprite the level shows now.
GameMode* bareCopyOf(const GameMode& level) {
    auto* pMode = new GameMode();
    for (const Zep::SmartPtr<Sprite>& pSprite : level.getAllSprites()) {
        if (!pSprite->isVisible() || pSprite->getImage().isNULL()) continue;
        float x = 0.0f, y = 0.0f;
        pSprite->getPosition(&x, &y);
        Zep::SmartPtr<Sprite> pCopy = new Sprite(pSprite->getImage(), Point(x, y), pSprite->getZOrder());
        pCopy->setScale(pSprite->getScaleX(), pSprite->getScaleY());
        pCopy->setColor(pSprite->getColor());
        pMode->addSprite(pCopy);
    }
    return pMode;
}

void BM_LevelFrameEverythingPresent(benchmark::State& state) { bench::reporting(state, [&] {
    Session session;
    FullLevel full(*session.m_pApp);
    state.counters["sprites"] = static_cast<double>(full.level().getAllSprites().getCount());
    state.counters["customers"] = static_cast<double>(full.level().getCharacters().getCount());
    for (auto _ : state) {
        full.keepWalking();
        session.m_pApp->step();
    }
}); }
BENCHMARK(BM_LevelFrameEverythingPresent)->Unit(benchmark::kMillisecond);

void BM_BareFrameSameSprites(benchmark::State& state) { bench::reporting(state, [&] {
    Session session;
    LevelApp& app = *session.m_pApp;
    GameMode* pBare = nullptr;
    {
        FullLevel full(app);
        pBare = bareCopyOf(full.level());
        full.level().endMode();
        app.freeEndedModes();
    }
    app.pushMode(pBare);
    state.counters["sprites"] = static_cast<double>(pBare->getAllSprites().getCount());
    for (auto _ : state) app.step();
}); }
BENCHMARK(BM_BareFrameSameSprites)->Unit(benchmark::kMillisecond);

}  // namespace
