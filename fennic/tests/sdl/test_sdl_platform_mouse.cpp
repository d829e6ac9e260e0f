// The SDL platform's pointer under SDL's dummy video driver: motions and
// buttons pushed into SDL's queue reach two controls of a mode. By default a
// press acts on what the last delivered move hovered; with the immediate-mouse
// option every motion is delivered at once and every button event after a
// move to its own position, so the press and the release act on the control
// under their own coordinates, however the events of one pump are mixed.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sprite/control.h"
#include "sprite/gamemode.h"
#include "image/imagefactory.h"
#include "sdl/sdl_platform.h"
#include "driver/startup.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_tempdir.h"
#include "testkit/testkit_video.h"

namespace {

using Log = std::vector<std::string>;

// An opaque box that logs the presses and releases it is offered.
class PressTarget : public Control {
public:
    PressTarget(const char* szName, int x, Log& log) : Control(x, 0, 0, true), m_sName(szName), m_rLog(log) {
        setHitTestMode(kHitBox);
    }
    bool onMouseDown(int nMask) override { return note("down", nMask); }
    bool onMouseUp(int nMask) override { return note("up", nMask); }

private:
    bool note(const char* szWhat, int nMask) {
        m_rLog.push_back(m_sName + " " + szWhat + " " + std::to_string(nMask));
        return true;
    }
    std::string m_sName;
    Log& m_rLog;
};

// Logs the moves that reach the mode itself.
class MoveLogMode : public GameMode {
public:
    explicit MoveLogMode(Log& log) : m_rLog(log) { setFlags(kActive); }
    bool onMouseMove(int x, int y) override {
        m_rLog.push_back("move " + std::to_string(x) + "," + std::to_string(y));
        return false;
    }

private:
    Log& m_rLog;
};

SDL_Event motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = static_cast<Uint16>(x);
    e.motion.y = static_cast<Uint16>(y);
    return e;
}

SDL_Event button(Uint8 nType, int x, int y) {
    SDL_Event e{};
    e.type = nType;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = static_cast<Uint16>(x);
    e.button.y = static_cast<Uint16>(y);
    return e;
}

SDL_Event down(int x, int y) { return button(SDL_MOUSEBUTTONDOWN, x, y); }
SDL_Event up(int x, int y) { return button(SDL_MOUSEBUTTONUP, x, y); }

// Control A covers x 0..99, control B x 200..299, both y 0..99.
class SDLPlatformPointer : public testing::Test {
protected:
    void SetUp() override {
        auto pPlatform = std::make_unique<SDLPlatform>();
        m_pPlatform = pPlatform.get();
        m_app.setPlatform(std::move(pPlatform));
        m_pPlatform->init();
        m_pPlatform->setVideoDriver(std::make_unique<testkit::FakeVideoDriver>());
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(640, 480, 32, SDL_SWSURFACE), nullptr) << SDL_GetError();
        for (PressTarget* pTarget : {m_pA.get(), m_pB.get()}) {
            pTarget->setImage(m_pPlatform->getImageFactory()->createBlank(100, 100, false));
            m_mode.addControl(pTarget);
        }
        m_app.stackMode(&m_mode);
        pump({});  // the mode change's own events
    }
    void TearDown() override {
        m_app.unstackMode(&m_mode);
        m_app.setPlatform(nullptr);
    }
    // Pushes the events, runs one pump; what the controls and the mode heard.
    Log pump(std::vector<SDL_Event> vEvents) {
        for (SDL_Event& e : vEvents) SDL_PushEvent(&e);
        m_log.clear();
        m_pPlatform->processEvents();
        return m_log;
    }
    std::string hovered() {
        const Zep::SmartPtr<Sprite> p = m_mode.getHoverSprite();
        return p.get() == m_pA.get() ? "A" : p.get() == m_pB.get() ? "B" : "-";
    }

    testkit::ScopedEnv m_env{"SDL_VIDEODRIVER", "dummy"};
    Log m_log;
    testkit::TestApp m_app;
    MoveLogMode m_mode{m_log};
    Zep::SmartPtr<PressTarget> m_pA = new PressTarget("A", 0, m_log);
    Zep::SmartPtr<PressTarget> m_pB = new PressTarget("B", 200, m_log);
    SDLPlatform* m_pPlatform = nullptr;
};

// Each case starts with the pointer resting on A.
TEST_F(SDLPlatformPointer, WithImmediateMouseEachPressAndReleaseActsUnderItsOwnPosition) {
    m_pPlatform->setFlags(SDLPlatform::kImmediateMouse);
    const struct {
        float fScale;
        std::vector<SDL_Event> vEvents;
        Log vExpected;
        std::string sHoverAfter;
    } kCases[] = {
        // The pointer comes to B and clicks there within one pump.
        {1.0f, {motion(250, 50), down(250, 50), up(250, 50)},
         {"move 250,50", "move 250,50", "B down 1", "move 250,50", "B up 1"}, "B"},
        // Every motion is delivered, in order, none collapsed.
        {1.0f, {motion(120, 10), motion(230, 20), motion(240, 30)},
         {"move 120,10", "move 230,20", "move 240,30"}, "B"},
        // A tap without a motion: the press brings its own move.
        {1.0f, {down(210, 90)}, {"move 210,90", "B down 1"}, "B"},
        // Pressed on A, released on B: each acts where it is made.
        {1.0f, {down(10, 10), motion(150, 10), up(260, 10)},
         {"move 10,10", "A down 1", "move 150,10", "move 260,10", "B up 1"}, "B"},
        // Window points halved at scale 2: (401, 99) is (200, 49), on B.
        {2.0f, {motion(401, 99), down(401, 99)}, {"move 200,49", "move 200,49", "B down 1"}, "B"},
        // A press beside both controls reaches neither; the mode hears the move.
        {1.0f, {motion(150, 50), down(150, 50)}, {"move 150,50", "move 150,50"}, "-"},
    };
    for (const auto& c : kCases) {
        m_pPlatform->setScaleFactor(1.0f);
        pump({motion(50, 50)});
        ASSERT_EQ(hovered(), "A");
        m_pPlatform->setScaleFactor(c.fScale);
        EXPECT_EQ(pump(c.vEvents), c.vExpected) << c.vExpected.back();
        EXPECT_EQ(hovered(), c.sHoverAfter) << c.vExpected.back();
        // The position is the last event's, also through a pump without one.
        pump({});
        int x = 0, y = 0;
        m_pPlatform->getMousePosition(x, y);
        const SDL_Event& last = c.vEvents.back();
        const int nWindowX = last.type == SDL_MOUSEMOTION ? last.motion.x : last.button.x;
        EXPECT_EQ(x, static_cast<int>(static_cast<float>(nWindowX) / c.fScale)) << c.vExpected.back();
    }
}

// Without the option (the default), the moves of one pump collapse into one
// sent after its buttons: a press that comes with the motion that brought the
// pointer to B still acts on A, where the last delivered move left it.
TEST_F(SDLPlatformPointer, ByDefaultAPressInThePumpOfItsMotionActsOnTheEarlierHover) {
    SDL_WarpMouse(50, 50);  // SDL's own pointer and its motion
    EXPECT_EQ(pump({}), Log{"move 50,50"});
    ASSERT_EQ(hovered(), "A");
    SDL_WarpMouse(250, 50);
    EXPECT_EQ(pump({down(250, 50)}), (Log{"A down 1", "move 250,50"}));
    EXPECT_EQ(hovered(), "B");
}

// The game's desktop platform takes the option; by default it is off.
TEST(SDLPlatformPointerOption, TheDesktopPlatformTakesTheImmediateMouseOption) {
    testkit::ScopedEnv video("SDL_VIDEODRIVER", "dummy");
    testkit::ScopedEnv audio("SDL_AUDIODRIVER", "dummy");
    for (int nOptions : {0, kDesktopImmediateMouse}) {
        testkit::TestApp app;
        app.setPlatform(createDesktopPlatform(nOptions));
        auto* pPlatform = dynamic_cast<SDLPlatform*>(app.getPlatform());
        ASSERT_NE(pPlatform, nullptr);
        EXPECT_EQ(pPlatform->getFlags(), nOptions);
    }
}

}  // namespace
