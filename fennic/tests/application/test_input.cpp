// Input routing over the mode stack: the walks, their bit-4 and live-stack
// rules, releases after a stack change, focus and hover, system keys and the
// quit request. Modes and sprites log every event they are offered into one
// list, which each case compares whole.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "sprite/gamemode.h"
#include "base/keys.h"
#include "sprite/spritetest_util.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_events.h"
#include "testkit/testkit_sprites.h"
#include "testkit/testkit_video.h"

namespace {

using testkit::EventLog;
using testkit::FakeEvent;
using SpritePtr = Zep::SmartPtr<Sprite>;

constexpr uint32_t kOn = GameMode::kActive;
constexpr uint32_t kBelow = GameMode::kInputBelow;

// Logs "<name> <event>"; answers true for the events named in m_consume and
// runs m_actions[event] first, standing for a handler that changes the stack.
class Recorder {
public:
    Recorder(std::string sName, EventLog& log) : m_sName(std::move(sName)), m_rLog(log) {}
    bool note(const std::string& sEvent) {
        m_rLog.push_back(m_sName + " " + sEvent);
        if (auto it = m_actions.find(sEvent); it != m_actions.end()) it->second();
        return m_consume.count(sEvent) > 0;
    }
    std::set<std::string> m_consume;
    std::map<std::string, std::function<void()>> m_actions;

private:
    std::string m_sName;
    EventLog& m_rLog;
};

class InputMode : public GameMode, public Recorder {
public:
    InputMode(std::string sName, EventLog& log, uint32_t nFlags) : Recorder(std::move(sName), log) { setFlags(nFlags); }
    bool onKeyDown(int k, int) override { return note("keyDown " + std::to_string(k)); }
    bool onKeyUp(int k, int) override { return note("keyUp " + std::to_string(k)); }
    bool onChar(int c) override { return note("char " + std::to_string(c)); }
    bool onMouseMove(int x, int y) override { return note("move " + std::to_string(x) + "," + std::to_string(y)); }
    bool onMouseDown(int b, int, int) override { return note("down " + std::to_string(b)); }
    bool onMouseUp(int b, int, int) override { return note("up " + std::to_string(b)); }
    bool onQuitRequest() override { return note("quit"); }
};

// A 20 x 20 control whose top-left corner is at (x, y), hit on its box.
class InputSprite : public Sprite, public Recorder {
public:
    InputSprite(std::string sName, EventLog& log, int x, int y, int nZ)
        : Sprite(spritetest::picture(20, 20, 0, 0), x, y, nZ), Recorder(std::move(sName), log) {
        setHitTestMode(kHitBox);
    }
    bool onMouseEnter() override { return note("enter"); }
    bool onMouseLeave() override { return note("leave"); }
    bool onMouseMove(int x, int y) override { return note("move " + std::to_string(x) + "," + std::to_string(y)); }
    bool onMouseDown(int b) override { return note("down " + std::to_string(b)); }
    bool onMouseUp(int b) override { return note("up " + std::to_string(b)); }
    bool onFocus() override { return note("focus"); }
    bool onBlur() override { return note("blur"); }
    bool onKeyDown(int k, int) override { return note("keyDown " + std::to_string(k)); }
    bool onKeyUp(int k, int) override { return note("keyUp " + std::to_string(k)); }
    bool onChar(int c) override { return note("char " + std::to_string(c)); }
};

class InputApp : public testkit::TestApp {
public:
    bool keyDownHook(int k, unsigned) override {
        m_pLog->push_back("hook keyDown " + std::to_string(k));
        return m_bHookAnswer;
    }
    void keyUpHook(int k, unsigned) override { m_pLog->push_back("hook keyUp " + std::to_string(k)); }
    EventLog* m_pLog = nullptr;
    bool m_bHookAnswer = false;
};

class InputTest : public spritetest::AppWithScreen<InputApp> {
protected:
    void SetUp() override {
        AppWithScreen::SetUp();
        m_pPlatform->setDispatcher(testkit::routeTo(m_app));
        m_pPlatform->setMousePosition(700, 550);  // away from every control
        m_app.m_pLog = &m_log;
    }
    void TearDown() override { clearStack(); }
    void clearStack() {
        while (m_app.getModeCount() > 0) m_app.unstackMode(m_app.getTopMode());
        m_modes.clear();
    }
    // Modes from the bottom up, the last one on top.
    void stack(const std::vector<std::pair<std::string, uint32_t>>& vModes) {
        for (const auto& [sName, nFlags] : vModes) push(sName, nFlags);
    }
    InputMode& push(const std::string& sName, uint32_t nFlags) {
        auto& pMode = m_modes[sName];
        pMode = std::make_unique<InputMode>(sName, m_log, nFlags);
        m_app.stackMode(pMode.get());
        return *pMode;
    }
    // What a real push does to the stack, as far as input is concerned.
    void pushDialog(const std::string& sName) {
        push(sName, kOn);
        m_app.setModeStackChanged(true);
    }
    InputSprite& control(const std::string& sMode, const std::string& sName, int x, int y, int nZ = 0) {
        SpritePtr p = new InputSprite(sName, m_log, x, y, nZ);
        m_modes[sMode]->addControl(p);
        return static_cast<InputSprite&>(*p);
    }
    void focus(const std::string& sMode, InputSprite& sprite) { mode(sMode).setFocusSprite(SpritePtr(&sprite)); }
    InputMode& mode(const std::string& sName) { return *m_modes.at(sName); }
    // Runs the events as one frame of the platform's pump; what was logged.
    EventLog pump(std::vector<FakeEvent> vEvents) {
        m_log.clear();
        m_pPlatform->queueFrame(std::move(vEvents));
        m_pPlatform->processEvents();
        return m_log;
    }

    EventLog m_log;
    std::map<std::string, std::unique_ptr<InputMode>> m_modes;
};

// Three modes with mixed active and input-below bits; one of them, or the
// focus sprite of the middle one, consumes the key.
TEST_F(InputTest, KeyWalkFollowsActiveAndInputBelowBits) {
    const std::tuple<uint32_t, uint32_t, std::string, EventLog> aCases[] = {  // middle, top, consumer, log
        {kOn | kBelow, kOn | kBelow, "",
         {"top keyDown 13", "f keyDown 13", "mid keyDown 13", "bot keyDown 13", "hook keyDown 13"}},
        {kOn | kBelow, kOn | kBelow, "mid", {"top keyDown 13", "f keyDown 13", "mid keyDown 13"}},
        {kOn | kBelow, kOn | kBelow, "f", {"top keyDown 13", "f keyDown 13"}},
        {kOn | kBelow, kBelow, "", {"f keyDown 13", "mid keyDown 13", "bot keyDown 13", "hook keyDown 13"}},
        {kOn | kBelow, 0, "", {"hook keyDown 13"}},  // an inactive top without bit 4 stops everything
        {kOn, kOn | kBelow, "", {"top keyDown 13", "f keyDown 13", "mid keyDown 13", "hook keyDown 13"}},
        {kBelow, kOn | kBelow, "", {"top keyDown 13", "bot keyDown 13", "hook keyDown 13"}},
    };
    for (const auto& [nMiddle, nTop, sConsumer, expected] : aCases) {
        SCOPED_TRACE(std::to_string(nMiddle) + " " + std::to_string(nTop) + " " + sConsumer);
        stack({{"bot", kOn}, {"mid", nMiddle}, {"top", nTop}});
        InputSprite& f = control("mid", "f", 500, 500);
        focus("mid", f);
        Recorder& consumer = sConsumer == "f" ? static_cast<Recorder&>(f) : mode("mid");
        if (!sConsumer.empty()) consumer.m_consume = {"keyDown 13"};
        m_log.clear();
        EXPECT_EQ(!sConsumer.empty(), m_app.onKeyDown(Key::Return, 0));
        EXPECT_EQ(expected, m_log);
        clearStack();
    }
}

// Release and character walks are the same walk; the release has its own
// hook, the character none. The key-down hook's answer is the handler's.
TEST_F(InputTest, ReleaseAndCharacterWalksAndTheHooks) {
    stack({{"bot", kOn}, {"top", kOn | kBelow}});
    focus("top", control("top", "f", 500, 500));
    m_app.m_bHookAnswer = true;
    EXPECT_TRUE(m_app.onKeyDown('a', 0));
    EXPECT_EQ((EventLog{"f keyDown 97", "top keyDown 97", "bot keyDown 97", "hook keyDown 97", "f keyUp 97",
                        "top keyUp 97", "bot keyUp 97", "hook keyUp 97", "f char 97", "top char 97", "bot char 97"}),
              pump({FakeEvent::keyDown('a'), FakeEvent::keyUp('a'), FakeEvent::character('a')}));
    mode("bot").m_consume = {"keyUp 97", "char 97"};
    EXPECT_EQ((EventLog{"f keyUp 97", "top keyUp 97", "bot keyUp 97", "f char 97", "top char 97", "bot char 97"}),
              pump({FakeEvent::keyUp('a'), FakeEvent::character('a')}));
}

// A handler of the top mode takes the middle mode off the stack and puts a
// new one on top. The key and character walks go on over the copy, middle
// mode included, and stop at its missing bit 4; the mouse walks skip it, its
// bit-4 test too, and reach the bottom. No walk reaches the new mode.
TEST_F(InputTest, HandlerThatChangesTheStackMidWalk) {
    const std::pair<FakeEvent, EventLog> aCases[] = {
        {FakeEvent::keyDown(' '), {"top keyDown 32", "mid keyDown 32", "hook keyDown 32"}},
        {FakeEvent::character(' '), {"top char 32", "mid char 32"}},
        {FakeEvent::mouseDown(1, 0, 0), {"top down 1", "bot down 1"}},
        {FakeEvent::mouseUp(4, 0, 0), {"top up 4", "bot up 4"}},
    };
    for (const auto& [event, expected] : aCases) {
        stack({{"bot", kOn}, {"mid", kOn}, {"top", kOn | kBelow}});
        for (const char* szEvent : {"keyDown 32", "char 32", "down 1", "up 4"})
            mode("top").m_actions[szEvent] = [this] {
                m_app.unstackMode(&mode("mid"));
                push("new", kOn);
            };
        EXPECT_EQ(expected, pump({event})) << expected.front();
        m_app.stackMode(&mode("mid"));  // handed back for the clean-up
        clearStack();
    }
}

// The press that opens a dialog loses its release, key or button, hooks
// included; the next press clears the state and its release is delivered.
TEST_F(InputTest, PressThatPushesADialogLosesItsRelease) {
    stack({{"game", kOn}});
    mode("game").m_actions["down 1"] = [this] { pushDialog("dialog"); };
    EXPECT_EQ((EventLog{"game down 1"}), pump({FakeEvent::mouseDown(1, 5, 5), FakeEvent::mouseUp(1, 5, 5)}));
    EXPECT_EQ((EventLog{"dialog down 1", "dialog up 1"}),
              pump({FakeEvent::mouseDown(1, 5, 5), FakeEvent::mouseUp(1, 5, 5)}));
    mode("dialog").m_actions["keyDown 27"] = [this] { pushDialog("confirm"); };
    EXPECT_EQ((EventLog{"dialog keyDown 27", "hook keyDown 27"}),
              pump({FakeEvent::keyDown(Key::Escape), FakeEvent::keyUp(Key::Escape)}));
    EXPECT_EQ((EventLog{"confirm keyDown 27", "hook keyDown 27", "confirm keyUp 27", "hook keyUp 27"}),
              pump({FakeEvent::keyDown(Key::Escape), FakeEvent::keyUp(Key::Escape)}));
    // Activation clears the state too.
    m_app.setModeStackChanged(true);
    EXPECT_EQ((EventLog{"confirm up 1"}), pump({FakeEvent::of(FakeEvent::kActivate), FakeEvent::mouseUp(1, 5, 5)}));
}

// A mode whose button mask lacks the button is passed over, but its bit 4
// still decides whether the modes below are asked.
TEST_F(InputTest, ButtonMasks) {
    const std::tuple<int, uint32_t, int, EventLog> aCases[] = {  // top mode's mask and flags, button, log
        {MouseButton::Right, kOn | kBelow, MouseButton::Left, {"bot down 1", "bot up 1"}},
        {MouseButton::Right, kOn, MouseButton::Left, {}},
        {MouseButton::Right | MouseButton::Left, kOn, MouseButton::Left, {"top down 1", "top up 1"}},
        {-1, kOn | kBelow, MouseButton::WheelDown, {"top down 16", "bot down 16", "top up 16", "bot up 16"}},
        {MouseButton::Left, kOn | kBelow, MouseButton::Middle, {"bot down 2", "bot up 2"}},
    };
    for (const auto& [nTopMask, nTopFlags, nButton, expected] : aCases) {
        stack({{"bot", kOn}, {"top", nTopFlags}});
        mode("top").setMouseButtonMask(nTopMask);
        EXPECT_EQ(expected, pump({FakeEvent::mouseDown(nButton, 0, 0), FakeEvent::mouseUp(nButton, 0, 0)}))
            << nTopMask << " " << nButton;
        clearStack();
    }
}

// Presses go to the hover sprite, or clear the focus when there is none;
// releases go to the hover and the focus sprite, twice to one that is both.
TEST_F(InputTest, PressAndReleaseReachHoverAndFocus) {
    stack({{"bot", kOn}, {"top", kOn | kBelow}});
    InputSprite& a = control("top", "a", 0, 0);
    control("top", "b", 100, 0).m_consume = {"down 1"};
    EXPECT_EQ((EventLog{"a enter", "a move 5,5", "top move 5,5", "bot move 5,5"}), pump({FakeEvent::mouseMove(5, 5)}));
    focus("top", a);
    EXPECT_EQ((EventLog{"a down 1", "top down 1", "bot down 1", "a up 1", "a up 1", "top up 1", "bot up 1"}),
              pump({FakeEvent::mouseDown(1, 5, 5), FakeEvent::mouseUp(1, 5, 5)}));
    EXPECT_EQ(
        (EventLog{"a move 300,300", "a leave", "top move 300,300", "bot move 300,300", "a blur", "top down 1",
                  "bot down 1", "top up 1", "bot up 1"}),
        pump({FakeEvent::mouseMove(300, 300), FakeEvent::mouseDown(1, 300, 300), FakeEvent::mouseUp(1, 300, 300)}));
    EXPECT_EQ((EventLog{"b enter", "b move 105,5", "top move 105,5", "bot move 105,5", "b down 1"}),
              pump({FakeEvent::mouseMove(105, 5), FakeEvent::mouseDown(1, 105, 5)}));
}

// Across overlapping controls: leave on the old one, enter on the new one,
// then the move on the new one, in every mode the walk reaches. A refresh
// updates hover states without telling the modes.
TEST_F(InputTest, HoverEnterLeaveAndMoveOrder) {
    stack({{"bot", kOn}, {"top", kOn | kBelow}});
    control("top", "a", 0, 0, 0);
    control("top", "b", 10, 10, 1);  // above a where they overlap
    control("bot", "c", 0, 0);
    const std::pair<FakeEvent, EventLog> aSteps[] = {
        {FakeEvent::mouseMove(5, 5),
         {"a enter", "a move 5,5", "top move 5,5", "c enter", "c move 5,5", "bot move 5,5"}},
        {FakeEvent::mouseMove(15, 15),
         {"a leave", "b enter", "b move 15,15", "top move 15,15", "c move 15,15", "bot move 15,15"}},
        {FakeEvent::mouseMove(25, 25), {"b move 25,25", "top move 25,25", "c leave", "bot move 25,25"}},
        {FakeEvent::mouseMove(5, 5),
         {"b leave", "a enter", "a move 5,5", "top move 5,5", "c enter", "c move 5,5", "bot move 5,5"}},
        {FakeEvent::mouseMove(50, 50), {"a leave", "top move 50,50", "c leave", "bot move 50,50"}},
    };
    for (const auto& [event, expected] : aSteps) EXPECT_EQ(expected, pump({event})) << expected.back();

    // A mode that takes the move keeps it from the modes below.
    mode("top").m_consume = {"move 15,15"};
    EXPECT_EQ((EventLog{"b enter", "b move 15,15", "top move 15,15"}), pump({FakeEvent::mouseMove(15, 15)}));
    // A control added or removed under the mouse: hover follows, modes untold.
    m_pPlatform->setMousePosition(45, 45);
    m_log.clear();
    SpritePtr pD(&control("top", "d", 40, 40));
    m_app.getTopMode()->removeControl(pD);
    EXPECT_EQ((EventLog{"b leave", "d enter", "d move 45,45", "d leave"}), m_log);
}

// F12 and Alt+Return switch the screen before any mode sees the key, leaving
// the stack-changed state alone; other keys, Return alone included, reach the
// modes.
TEST_F(InputTest, SystemKeys) {
    stack({{"top", kOn}});
    const std::tuple<int, unsigned, bool> aCases[] = {
        {Key::F12, 0, true},         {Key::F12, KeyMod::LShift, true}, {Key::Return, KeyMod::LAlt, true},
        {Key::Return, KeyMod::RAlt, true}, {Key::Return, 0, false},     {Key::Return, KeyMod::LCtrl, false},
        {Key::F4, KeyMod::LAlt, false}, {Key::F11, 0, false},          {Key::KPEnter, KeyMod::LAlt, false},
    };
    for (const auto& [nKey, nMods, bSystem] : aCases) {
        const bool bWasFull = m_pVideo->isFullscreen();
        m_app.setModeStackChanged(true);
        m_log.clear();
        const std::string k = std::to_string(nKey);
        EXPECT_EQ(bSystem, m_app.onKeyDown(nKey, nMods));
        const EventLog expected = bSystem ? EventLog{} : EventLog{"top keyDown " + k, "hook keyDown " + k};
        EXPECT_EQ(expected, m_log) << nMods;
        EXPECT_EQ(bSystem, bWasFull != m_pVideo->isFullscreen());
        EXPECT_EQ(bSystem, m_app.isModeStackChanged());
    }
    EXPECT_EQ(4, m_app.m_nVideoModeChanges);
}

// Active modes are asked from the top, whatever their bit 4, until one takes
// the request; else the application's own answer (quit with 1 here).
TEST_F(InputTest, QuitRequestWalk) {
    stack({{"bot", kOn}, {"mid", kBelow}, {"top", kOn}});
    mode("bot").m_consume = {"quit"};
    EXPECT_EQ((EventLog{"top quit", "bot quit"}), pump({FakeEvent::of(FakeEvent::kQuit)}));
    EXPECT_FALSE(m_app.isQuitting());
    mode("bot").m_consume.clear();
    pump({FakeEvent::of(FakeEvent::kQuit)});
    EXPECT_TRUE(m_app.isQuitting());
    EXPECT_EQ(1, m_app.getExitCode());
}

}  // namespace
