// The SDL platform under SDL's dummy video driver: events pushed into SDL's
// queue come out of the pump as the recorded calls on the application, its
// modes and its drivers. Also the mouse, keys, joysticks and locks.
#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include <SDL_mixer.h>

#include "sprite/gamemode.h"
#include "driver/mutex.h"
#include "sdl/sdl_audio.h"
#include "sdl/sdl_image.h"
#include "sdl/sdl_platform.h"
#include "driver/startup.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_audio.h"
#include "testkit/testkit_tempdir.h"
#include "testkit/testkit_video.h"

namespace {

using Log = std::vector<std::string>;

// Logs what the application routes to the top mode; consumes nothing.
class RecordingMode : public GameMode {
public:
    explicit RecordingMode(Log& log) : m_rLog(log) { setFlags(kActive); }
    bool onKeyDown(int k, int) override { return note("keyDown " + std::to_string(k)); }
    bool onKeyUp(int k, int) override { return note("keyUp " + std::to_string(k)); }
    bool onChar(int c) override { return note("char " + std::to_string(c)); }
    bool onMouseMove(int x, int y) override { return note("move " + at(x, y)); }
    bool onMouseDown(int b, int x, int y) override { return note("down " + std::to_string(b) + " " + at(x, y)); }
    bool onMouseUp(int b, int x, int y) override { return note("up " + std::to_string(b) + " " + at(x, y)); }
    bool onQuitRequest() override { return note("quit") || true; }

private:
    static std::string at(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
    bool note(const std::string& s) {
        m_rLog.push_back(s);
        return false;
    }
    Log& m_rLog;
};

class RecordingApp : public testkit::TestApp {
public:
    void onActivate() override { m_vLog.push_back("activate"); }
    void onDeactivate() override { m_vLog.push_back("deactivate"); }
    void onMouseFocusGained() override { m_vLog.push_back("focus gained"); }
    void onMouseFocusLost() override { m_vLog.push_back("focus lost"); }
    Log m_vLog;
};

class CountingAudio : public testkit::FakeAudioDriver {
public:
    void setPaused(bool bPaused) override { m_vPauses.push_back(bPaused); }
    std::vector<bool> m_vPauses;
};

// SDL's application state comes from the script: the dummy driver never
// changes it.
class ScriptedPlatform : public SDLPlatform {
public:
    uint8_t m_nAppState = SDL_APPACTIVE | SDL_APPINPUTFOCUS | SDL_APPMOUSEFOCUS;

protected:
    uint8_t readAppState() override { return m_nAppState; }
};

SDL_Event key(int nKey, int nMods, int nUnicode) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = static_cast<SDLKey>(nKey);
    e.key.keysym.mod = static_cast<SDLMod>(nMods);
    e.key.keysym.unicode = static_cast<Uint16>(nUnicode);
    return e;
}

SDL_Event button(Uint8 nType, int nButton) {
    SDL_Event e{};
    e.type = nType;
    e.button.button = static_cast<Uint8>(nButton);
    return e;
}

SDL_Event active(int nGain, int nState) {
    SDL_Event e{};
    e.type = SDL_ACTIVEEVENT;
    e.active.gain = static_cast<Uint8>(nGain);
    e.active.state = static_cast<Uint8>(nState);
    return e;
}

SDL_Event ofType(Uint8 nType) {
    SDL_Event e{};
    e.type = nType;
    return e;
}

class SDLPlatformTest : public testing::Test {
protected:
    void SetUp() override {
        auto pPlatform = std::make_unique<ScriptedPlatform>();
        m_pPlatform = pPlatform.get();
        m_app.setPlatform(std::move(pPlatform));
        m_pPlatform->init();
        auto pVideo = std::make_unique<testkit::FakeVideoDriver>();
        m_pVideo = pVideo.get();
        m_pPlatform->setVideoDriver(std::move(pVideo));
        m_app.useAudioDriver(&m_audio);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(640, 480, 32, SDL_SWSURFACE), nullptr) << SDL_GetError();
        m_app.stackMode(&m_mode);
        pump({});  // the mode change's own events
    }
    void TearDown() override {
        m_app.unstackMode(&m_mode);
        m_app.setPlatform(nullptr);
    }
    // Pushes the events, runs one pump; the application's calls in order.
    Log pump(std::vector<SDL_Event> vEvents) {
        for (SDL_Event& e : vEvents) SDL_PushEvent(&e);
        m_log.clear();
        m_app.m_vLog.clear();
        m_pPlatform->processEvents();
        Log vAll = m_log;
        vAll.insert(vAll.end(), m_app.m_vLog.begin(), m_app.m_vLog.end());
        return vAll;
    }

    testkit::ScopedEnv m_env{"SDL_VIDEODRIVER", "dummy"};
    Log m_log;
    RecordingApp m_app;
    RecordingMode m_mode{m_log};
    CountingAudio m_audio;
    ScriptedPlatform* m_pPlatform = nullptr;
    testkit::FakeVideoDriver* m_pVideo = nullptr;
};

TEST_F(SDLPlatformTest, KeysQuitAndMotionBecomeTheApplicationsCalls) {
    m_pPlatform->setScaleFactor(2.0f);
    std::vector<SDL_Event> vMoves(19, ofType(SDL_MOUSEMOTION));
    SDL_WarpMouse(301, 201);  // queues one more motion; the final position
    const struct {
        std::vector<SDL_Event> vEvents;
        Log vExpected;
    } kCases[] = {
        {vMoves, {"move 150,100"}},
        {{key(SDLK_F4, KMOD_LALT, 0), key(SDLK_F4, KMOD_RALT, 0)}, {"quit", "quit"}},
        {{key(SDLK_F4, 0, 0)}, {"keyDown 285"}},
        {{key('a', 0, 'a'), key(SDLK_LSHIFT, KMOD_LSHIFT, 0)}, {"keyDown 97", "char 97", "keyDown 304"}},
        {{ofType(SDL_KEYUP), ofType(SDL_QUIT), ofType(SDL_USEREVENT)}, {"keyUp 0", "quit"}},
    };
    for (const auto& c : kCases) EXPECT_EQ(pump(c.vEvents), c.vExpected);
}

// Buttons 6 and 7 (the horizontal wheel) are past the mask table: dropped.
TEST_F(SDLPlatformTest, ButtonsOneToFiveGiveMasksAtTheLogicalPositionAndHigherOnesAreDropped) {
    m_pPlatform->setScaleFactor(2.0f);
    SDL_WarpMouse(21, 41);
    pump({});
    std::vector<SDL_Event> vPresses;
    for (int b = 1; b <= 7; ++b) vPresses.push_back(button(SDL_MOUSEBUTTONDOWN, b));
    vPresses.push_back(button(SDL_MOUSEBUTTONUP, 1));
    vPresses.push_back(button(SDL_MOUSEBUTTONUP, 7));
    EXPECT_EQ(pump(vPresses), (Log{"down 1 10,20", "down 2 10,20", "down 4 10,20", "down 8 10,20",
                                   "down 16 10,20", "up 1 10,20"}));
    const int kMasks[] = {0, 1, 2, 4, 8, 16, 0, 0, 0};
    for (int b = 0; b < 9; ++b) EXPECT_EQ(SDLPlatform::buttonMask(b), kMasks[b]) << b;
    EXPECT_EQ(SDLPlatform::buttonMask(-1), 0);
}

// Audio follows each change of activity once, before the application hears
// of it; every activation or resize event tells the video driver.
TEST_F(SDLPlatformTest, ActivationPausesAudioOncePerChangeAndEveryEventTellsTheDisplay) {
    const uint8_t kAll = SDL_APPACTIVE | SDL_APPINPUTFOCUS | SDL_APPMOUSEFOCUS;
    const struct {
        uint8_t nState;
        std::vector<SDL_Event> vEvents;
        Log vExpected;
        std::vector<bool> vPauses;
    } kCases[] = {
        {SDL_APPINPUTFOCUS, {active(0, SDL_APPACTIVE)}, {"deactivate"}, {true}},
        {SDL_APPINPUTFOCUS, {active(0, SDL_APPACTIVE)}, {}, {}},
        {SDL_APPACTIVE, {active(0, SDL_APPINPUTFOCUS)}, {}, {}},
        {kAll, {active(1, SDL_APPACTIVE | SDL_APPMOUSEFOCUS)}, {"activate", "focus gained"}, {false}},
        {kAll, {active(0, SDL_APPMOUSEFOCUS), ofType(SDL_VIDEORESIZE)}, {"focus lost"}, {}},
    };
    int nDisplayChanges = m_pVideo->m_nDisplayChangedCount;
    for (const auto& c : kCases) {
        m_pPlatform->m_nAppState = c.nState;
        m_audio.m_vPauses.clear();
        EXPECT_EQ(pump(c.vEvents), c.vExpected);
        EXPECT_EQ(m_audio.m_vPauses, c.vPauses);
        nDisplayChanges += static_cast<int>(c.vEvents.size());
        EXPECT_EQ(m_pVideo->m_nDisplayChangedCount, nDisplayChanges);
    }
}

TEST_F(SDLPlatformTest, MouseKeysAndJoysticksWithoutDevices) {
    m_pPlatform->setScaleFactor(2.0f);
    m_pPlatform->setMousePosition(10, 20);
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    EXPECT_EQ(std::vector<int>({x, y}), std::vector<int>({20, 40}));
    m_pPlatform->getMousePosition(x, y);
    EXPECT_EQ(std::vector<int>({x, y}), std::vector<int>({10, 20}));
    EXPECT_EQ(m_pVideo->getScaleFactor(), 2.0f);
    int nCount = 0;
    SDL_GetKeyState(&nCount);
    EXPECT_FALSE(m_pPlatform->isKeyDown(-1));
    EXPECT_FALSE(m_pPlatform->isKeyDown(nCount));
    EXPECT_FALSE(m_pPlatform->isKeyDown('a'));
    EXPECT_FALSE(m_pPlatform->isMouseButtonDown(1));
    EXPECT_EQ(m_pPlatform->getJoystickAxisCount(0), 0);
    EXPECT_EQ(m_pPlatform->getJoystickButtonCount(0), 0);
    EXPECT_EQ(m_pPlatform->getJoystickAxis(0, 0), 0.0f);
    EXPECT_FALSE(m_pPlatform->isJoystickButtonDown(0, 0));
    EXPECT_STREQ(m_pPlatform->getName(), "SDL Platform v1.0");
}

// The platform's pictures are SDL pictures; shutdown drops the factory.
TEST_F(SDLPlatformTest, SecondDriversAreRefusedAndShutdownRepeats) {
    Zep::SmartPtr<Image> pBlank(m_pPlatform->getImageFactory()->createBlank(2, 1, true));
    EXPECT_NE(dynamic_cast<SDLImage*>(pBlank.get()), nullptr);
    try {
        m_pPlatform->setVideoDriver(std::make_unique<testkit::FakeVideoDriver>());
        FAIL();
    } catch (const Zep::AssertFailException& e) {
        EXPECT_STREQ(e.getMessage(), "Assertion failed : !m_pVideoDriver");
    }
    m_pPlatform->setAudioDriver(std::make_unique<testkit::FakeAudioDriver>());
    try {
        m_pPlatform->setAudioDriver(std::make_unique<testkit::FakeAudioDriver>());
        FAIL();
    } catch (const Zep::AssertFailException& e) {
        EXPECT_STREQ(e.getMessage(), "Assertion failed : !m_pAudioDriver");
    }
    m_pPlatform->shutdown();
    EXPECT_EQ(m_pPlatform->getVideoDriver(), nullptr);
    EXPECT_EQ(m_pPlatform->getImageFactory(), nullptr);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
    m_pPlatform->shutdown();
}

// SDL starts without its parachute: it installs no fatal-signal handlers of
// its own, which would take the place of the program's crash handlers
// wherever those are not set yet.
TEST(SDLPlatformStart, InstallsNoFatalSignalHandlers) {
    testkit::ScopedEnv env("SDL_VIDEODRIVER", "dummy");
    struct sigaction old {};
    sigaction(SIGSEGV, nullptr, &old);
    std::signal(SIGSEGV, SIG_DFL);
    {
        SDLPlatform platform;
        platform.init();
        SDL_InitSubSystem(SDL_INIT_VIDEO);
        struct sigaction now {};
        sigaction(SIGSEGV, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL);
        EXPECT_STREQ(SDL_getenv("SDL_VIDEO_ALLOW_SCREENSAVER"), "1");
    }
    sigaction(SIGSEGV, &old, nullptr);
}

// The desktop platform a game makes through the start-up header: the
// textured video driver, and the mixer opened at 44,100 Hz in chunks of 2,048.
TEST(SDLPlatformStart, DesktopPlatformHoldsTheTexturedDriverAndTheMixerAt44100Hz) {
    testkit::ScopedEnv video("SDL_VIDEODRIVER", "dummy");
    testkit::ScopedEnv audio("SDL_AUDIODRIVER", "dummy");
    testkit::TempDir dir;
    testkit::AppFiles files(dir);
    testkit::TestApp app;
    app.setPlatform(createDesktopPlatform());
    auto* pPlatform = dynamic_cast<SDLPlatform*>(app.getPlatform());
    ASSERT_NE(pPlatform, nullptr);
    EXPECT_STREQ(pPlatform->getVideoDriver()->getName(), "Direct3D 7 Video Driver v1.0");
    auto* pAudio = dynamic_cast<SDLAudioDriver*>(pPlatform->getAudioDriver());
    ASSERT_NE(pAudio, nullptr);
    EXPECT_EQ(pAudio->chooseChunkSize(), 2048);
    pPlatform->init();
    ASSERT_TRUE(pAudio->init()) << SDL_GetError();
    int nFrequency = 0;
    uint16_t nFormat = 0;
    int nChannels = 0;
    Mix_QuerySpec(&nFrequency, &nFormat, &nChannels);
    EXPECT_EQ(nFrequency, 44100);
    // The mixer closed (this application has sound off, so the driver's
    // shutdown leaves it) and SDL quit: SDL_mixer would count a mixer left
    // open and hand the next test that opens one this dead dummy device.
    Mix_CloseAudio();
    EXPECT_EQ(Mix_QuerySpec(&nFrequency, &nFormat, &nChannels), 0);
    pPlatform->shutdown();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
}

// A lock made before the platform takes its implementation at the first lock.
TEST(SDLMutex, LocksThroughThePlatformsImplementation) {
    testkit::ScopedEnv env("SDL_VIDEODRIVER", "dummy");
    Mutex early;
    EXPECT_EQ(early.lock(), -1);
    testkit::TestApp app;
    app.setPlatform(std::make_unique<SDLPlatform>());
    Mutex late;
    EXPECT_EQ(early.lock(), 0);
    EXPECT_EQ(early.unlock(), 0);
    EXPECT_EQ(late.lock(), 0);
    EXPECT_EQ(late.unlock(), 0);
}

}  // namespace
