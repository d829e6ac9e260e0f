// Frames of the live game over the build's demo archives: a level of the
// demo scene being played, and the main menu, each drawn only where it
// changed (the driver's way) and drawn whole, beside the framework's bare
// frame drawing exactly what the screen draws.
//
// The level: every upgrade that the demo scene can show at once (the tray of
// six, the chairs, the juice machine, the parrot, the prop dispenser, the
// centrepieces, every show with the bongo players) in relax mode; customers
// keep coming, order, are served and drink, a scripted player takes their
// orders, fetches the drinks and serves them, and between errands the
// waitress walks from one end of the widest walk area to the other. The
// clock runs as the loop runs it, 10 ms a frame at the level's 100 frames a
// second; the day never ends and patience never runs out. Timing starts
// after the level's and the customers' fade-ins. The menu: after its
// fade-in, at its 60 frames a second, the pointer resting on a new button
// every 30 frames.
//
// The bare frame: a plain mode holding, for each sprite the screen draws, a
// sprite of the same picture, place, layer, order, scale, rotation, colour,
// alpha and blend mode, drawn whole each frame. Its picture must equal the
// screen's (the run stops with an error otherwise).
//
// Everything runs on the test kit's platform with the textured driver on
// SDL's dummy video driver, frames back to back: the figures are the same on
// a desktop as on a machine without an X server (a real window would add the
// X server's share of each present).
// The scripted player's moves are not timed. Read side by side: the
// changed-only frame against the whole one (the goal is at most 0.4 of it
// for the level), the whole one against the bare frame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "actors/actionballoon.h"
#include "driver/audiodriver.h"
#include "bench_reporting.h"
#include "bench_tempdir.h"
#include "actors/character.h"
#include "actors/characterspot.h"
#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "actors/glassspot.h"
#include "base/keys.h"
#include "screens/menumode.h"
#include "actors/mug.h"
#include "level/playmode.h"
#include "records/profileaccess.h"
#include "sdl/sdl_d3d7video.h"
#include "sdl/sdl_imagefactory.h"
#include "sdl/sdl_ttf.h"
#include "sprite/sprite.h"
#include "testkit/testkit_platform.h"
#include "theme/theme.h"
#include "actors/trashbin.h"
#include "records/tukplayer.h"
#include "actors/waitress.h"

namespace {

// Per upgrade kind 0 to 12: the tray of six, the chairs, the first machine,
// the parrot, the dispenser, both centrepieces, all shows.
constexpr const char* kLevels = "2011111011224";
constexpr int kRelaxMode = 1;
constexpr int kSettleFrames = 400;  // the fade-ins and the first customers
// The same frames for both ways of drawing, so that both see the same scenes.
constexpr int kTimedFrames = 2000;

// The application over the demo archives on the textured driver.
class LevelApp : public GameApp {
public:
    LevelApp() {
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        m_pPlatform = pPlatform.get();
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
        setDeltaClamp(0.05f, kDeltaClamp);
        m_nLast = m_nDue = static_cast<int>(m_pPlatform->getTicks());
    }
    ~LevelApp() override { Theme::unregisterFontFactory("TrueType"); }
    void freeEndedModes() { m_modeStack.deleteEnded(); }
    void step() { frame(m_nLast, m_nDue, false); }
    D3D7VideoDriver& video() { return *m_pVideo; }
    testkit::FakePlatform& platform() { return *m_pPlatform; }
    // The pointer at (x, y), as the event pump hands it over.
    void pointTo(int x, int y) {
        m_pPlatform->setMousePosition(x, y);
        onMouseMove(x, y, true);
    }
    void pressAt(int x, int y) {
        pointTo(x, y);
        onMouseDown(MouseButton::Left, x, y);
        onMouseUp(MouseButton::Left, x, y);
    }

private:
    testkit::FakePlatform* m_pPlatform = nullptr;
    D3D7VideoDriver* m_pVideo = nullptr;
    int m_nLast = 0;
    int m_nDue = 0;
};

// SDL, the log and a data folder of its own around the application.
struct Session {
    Session() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("XDG_DATA_HOME", bench::tempDir().c_str(), 1);
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

// The level being played, as the header tells.
class LiveLevel {
public:
    explicit LiveLevel(LevelApp& app) : m_rApp(app) {
        for (int i = 0; i < TUKPlayer::kUpgradeKinds; ++i) m_player.setUpgradeLevel(i, kLevels[i] - '0');
        m_pLevel = new PlayMode(&m_player, nullptr, "scene0", 0, kRelaxMode, 1);
        app.pushMode(m_pLevel);
        findWalkEnds();
        for (int i = 0; i < kSettleFrames; ++i) step();
    }
    PlayMode& level() { return *m_pLevel; }
    // The player's move (not timed), then the frame.
    void prepare() { play(); }
    void step() {
        play();
        m_rApp.step();
    }

private:
    // Serve a carried drink (or empty the tray into the sink), else fetch a
    // full mug, else take an order; with nothing to do, walk on.
    void play() {
        PlayMode& level = *m_pLevel;
        // Set again each frame: the level's tuning and services change them.
        LevelData& data = level.getLevelData();
        data.m_fBasePatience = 1.0e6f;
        data.m_fDayLength = 1.0e9f;
        data.m_nDayCustomerCount = 1000000;
        if (!level.canTakeClick() || level.getPendingClickCount() > 0) return;
        Waitress& waitress = *level.getLevelData().m_pWaitress;
        if (waitress.countCarriedItems() > 0) {
            if (!serve(waitress)) pressOn(level.findTrashBin().get(), level.findTrashBin()->getSprite()->getBoundingRect());
            return;
        }
        for (const Zep::SmartPtr<GlassSpot>& pSpot : level.getGlassSpots())
            if (pSpot->isBarmanSpot() && pSpot->hasMug() && pSpot->getMug()->isFull() &&
                pressOn(pSpot.get(), pSpot->getSprite()->getBoundingRect()))
                return;
        for (const Zep::SmartPtr<Character>& pCustomer : level.getCharacters()) {
            const Zep::SmartPtr<ActionBalloon> pBalloon = pCustomer->getBalloon();
            if (pBalloon.isNULL() || !pBalloon->canDoAction(0)) continue;
            for (const Zep::SmartPtr<Sprite>& pPicture : pBalloon->getPictures())
                if (pPicture->isVisible() && pressOn(pBalloon.get(), pPicture->getBoundingRect())) return;
        }
        if (level.isWaitressWalking()) return;
        m_nEnd = 1 - m_nEnd;
        level.walkWaitressTo(m_aEnds[m_nEnd].x, m_aEnds[m_nEnd].y);
        m_nWalks += level.isWaitressWalking() ? 1 : 0;
    }
    bool serve(Waitress& waitress) {
        Zep::SmartPtr<Mug> pMug;
        for (int i = 0; pMug.isNULL() && i < 8; ++i) pMug = waitress.getHandContents(i);
        if (pMug.isNULL()) return false;
        for (const Zep::SmartPtr<Character>& pCustomer : m_pLevel->getCharacters()) {
            if (pCustomer->getState() != Character::kWaiting && pCustomer->getState() != Character::kCalling) continue;
            if (!pCustomer->matchesOrder(pMug->getBeverage(), pMug->getLiquids())) continue;
            CharacterSpot& seat = *m_pLevel->getLevelData().m_lCharacterSpots.get(pCustomer->getSpot());
            if (pressOn(&seat, seat.getSprite()->getBoundingRect())) return true;
        }
        return false;
    }
    bool pressOn(IClickListener* pListener, const Rect& r) {
        for (int y = r.getTop(); y < r.getBottom(); y += 2)
            for (int x = r.getLeft(); x < r.getRight(); x += 2)
                if (m_pLevel->findClickListener(x, y) == pListener) {
                    m_rApp.pressAt(x, y);
                    return true;
                }
        return false;
    }
    // Near both ends of the widest walk area.
    void findWalkEnds() {
        const WalkAreas& areas = m_pLevel->getWalkAreas();
        Rect widest = areas.get(0).rect;
        for (int i = 1; i < areas.getCount(); ++i)
            if (areas.get(i).rect.getWidth() > widest.getWidth()) widest = areas.get(i).rect;
        const int y = (widest.getTop() + widest.getBottom()) / 2;
        m_aEnds[0] = {widest.getLeft() + 20, y};
        m_aEnds[1] = {widest.getRight() - 20, y};
    }

    struct End {
        int x, y;
    };
    LevelApp& m_rApp;
    TUKPlayer m_player;
    PlayMode* m_pLevel;  // owned by the stack
    End m_aEnds[2] = {};
    int m_nEnd = 0;

public:
    int m_nWalks = 0;
};

// The menu after its fade-in, the pointer moving from button to button.
class LiveMenu {
public:
    explicit LiveMenu(LevelApp& app) : m_rApp(app) {
        getProfileManager()->createProfile("ann");
        app.setSetting("CurrentPlayerName", "ann");
        app.pushMode(new MenuMode());
        for (int i = 0; i < kSettleFrames; ++i) app.step();
    }
    void prepare() {
        static constexpr int kPoints[][2] = {{100, 448}, {270, 448}, {180, 508}, {690, 194}, {400, 300}};
        if (++m_nFrame % 30 == 0) {
            const auto& p = kPoints[(m_nFrame / 30) % 5];
            m_rApp.pointTo(p[0], p[1]);
        }
    }
    void step() {
        prepare();
        m_rApp.step();
    }

private:
    LevelApp& m_rApp;
    int m_nFrame = 0;
};

// The sprites the screen draws now, in drawing order, as copies in a plain mode.
class BareCopy : public GameMode {
public:
    explicit BareCopy(GameApp& app) {
        for (int i = app.getLowestDrawnModeIndex(); i >= 0; --i) {
            GameMode* pMode = app.getModeAt(i);
            if (!pMode || !pMode->isActive() || !pMode->isVisible()) continue;
            for (const Zep::SmartPtr<SpriteLayer>& pLayer : pMode->getLayers())
                for (const Zep::SmartPtr<Sprite>& pSprite : *pLayer)
                    if (pSprite->isVisible() && pSprite->hasDrawImage()) copy(*pSprite);
        }
    }
    int count() const { return m_nCount; }

private:
    // One layer per sprite, in order: each lands after the ones before.
    void copy(const Sprite& sprite) {
        Zep::SmartPtr<Sprite> pCopy = new Sprite(sprite.getDrawImage(), sprite.getPosition(), m_nCount++);
        pCopy->setScale(sprite.getScaleX(), sprite.getScaleY());
        pCopy->setRotation(sprite.getRotation());
        pCopy->setColor(sprite.getColor());
        pCopy->setAlpha(sprite.getAlpha());
        pCopy->setBlendMode(sprite.getBlendMode());
        addSprite(pCopy);
    }
    int m_nCount = 0;
};

// The screen drawn whole now, on a fresh device.
std::vector<uint32_t> wholePicture(D3D7VideoDriver& video) {
    render::RenderDevice device(video.device()->width(), video.device()->height(), false);
    video.drawWholeFrameOn(device);
    return std::vector<uint32_t>(device.backBuffer(), device.backBuffer() + device.width() * device.height());
}

// The counters of a screen's frames: the share of the screen drawn, and the
// clock's step.
template <class Screen>
void runFrames(benchmark::State& state, LevelApp& app, Screen& screen) {
    const uint32_t nStart = app.platform().getTicks();
    double fDrawn = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        screen.prepare();
        state.ResumeTiming();
        app.step();
        const DirtyRects& drawn = app.video().drawnBoxes();
        fDrawn += static_cast<double>(drawn.area()) / static_cast<double>(drawn.screen().area());
    }
    const auto nFrames = static_cast<double>(state.iterations());
    state.counters["ms_per_frame_on_clock"] = (app.platform().getTicks() - nStart) / nFrames;
    state.counters["share_drawn"] = fDrawn / nFrames;
}

void levelFrames(benchmark::State& state, bool bWhole) { bench::reporting(state, [&] {
    Session session;
    LiveLevel live(*session.m_pApp);
    session.m_pApp->video().setRedrawAll(bWhole);
    runFrames(state, *session.m_pApp, live);
    state.counters["customers"] = static_cast<double>(live.level().getCharacters().getCount());
    state.counters["walks"] = live.m_nWalks;
}); }

void BM_LevelFrameChangedOnly(benchmark::State& state) { levelFrames(state, false); }
BENCHMARK(BM_LevelFrameChangedOnly)->Unit(benchmark::kMillisecond)->Iterations(kTimedFrames);

void BM_LevelFrameWhole(benchmark::State& state) { levelFrames(state, true); }
BENCHMARK(BM_LevelFrameWhole)->Unit(benchmark::kMillisecond)->Iterations(kTimedFrames);

void menuFrames(benchmark::State& state, bool bWhole) { bench::reporting(state, [&] {
    Session session;
    LiveMenu live(*session.m_pApp);
    session.m_pApp->video().setRedrawAll(bWhole);
    runFrames(state, *session.m_pApp, live);
    releaseProfileManager();
}); }

void BM_MenuFrameChangedOnly(benchmark::State& state) { menuFrames(state, false); }
BENCHMARK(BM_MenuFrameChangedOnly)->Unit(benchmark::kMillisecond);

void BM_MenuFrameWhole(benchmark::State& state) { menuFrames(state, true); }
BENCHMARK(BM_MenuFrameWhole)->Unit(benchmark::kMillisecond);

// The bare frame of what the screen shows after its settling frames; its
// picture checked against the screen's.
template <class Screen>
void bareFrames(benchmark::State& state) { bench::reporting(state, [&] {
    Session session;
    LevelApp& app = *session.m_pApp;
    auto pLive = std::make_unique<Screen>(app);
    const std::vector<uint32_t> vScreen = wholePicture(app.video());
    auto* pBare = new BareCopy(app);
    while (app.getModeCount() > 0) app.getTopMode()->endMode();
    app.freeEndedModes();
    pLive.reset();
    app.pushMode(pBare);
    app.video().setRedrawAll(true);
    app.step();
    const std::vector<uint32_t> vBare = wholePicture(app.video());
    size_t nDiffering = 0;
    for (size_t i = 0; i < vScreen.size(); ++i) nDiffering += vScreen[i] != vBare[i] ? 1 : 0;
    state.counters["sprites"] = pBare->count();
    state.counters["pixels_differing"] = static_cast<double>(nDiffering);
    if (nDiffering) return state.SkipWithError("the bare frame's picture differs from the screen's");
    for (auto _ : state) app.step();
    releaseProfileManager();
}); }

void BM_LevelBareFrame(benchmark::State& state) { bareFrames<LiveLevel>(state); }
BENCHMARK(BM_LevelBareFrame)->Unit(benchmark::kMillisecond);

void BM_MenuBareFrame(benchmark::State& state) { bareFrames<LiveMenu>(state); }
BENCHMARK(BM_MenuBareFrame)->Unit(benchmark::kMillisecond);

}  // namespace
