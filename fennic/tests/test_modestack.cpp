// The mode stack and the transitions, as the modes see them: recorded
// notification sequences, the refusals, and fades driven frame by frame.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <zep2/error.h>

#include "imagetest_util.h"
#include "spritetest_util.h"
#include "testkit_modes.h"
#include "testkit_pending.h"
#include "trn_fadetoblack.h"

namespace {

using imagetest::messageOf;
using testkit::ModeLog;
using testkit::RecordingMode;
using Lines = std::vector<std::string>;

std::string hex32(const void* p) {
    return Zep::String::format("0x%08X", static_cast<unsigned>(reinterpret_cast<uintptr_t>(p))).c_str();
}

// The log outlives the application, which deletes the modes left over.
struct ModeLogHolder {
    ModeLog m_log;
};

class ModeStackTest : protected ModeLogHolder, public spritetest::AppWithScreen {
protected:
    void SetUp() override {
        AppWithScreen::SetUp();
        m_app.setFrameRate(60);
        m_app.setDeltaClamp(0.05f, GameApp::kDeltaClamp);
        m_nDue = 16;
    }
    // A new mode, owned by the stack once pushed.
    RecordingMode* make(const char* szName) { return new RecordingMode(szName, m_log); }
    RecordingMode* push(const char* szName) {
        RecordingMode* pMode = make(szName);
        m_app.pushMode(pMode);
        return pMode;
    }
    // Modes pushed bottom first, then the log started afresh.
    std::vector<RecordingMode*> stack(std::initializer_list<const char*> names) {
        std::vector<RecordingMode*> v;
        for (const char* szName : names) v.push_back(push(szName));
        m_log.lines.clear();
        return v;
    }
    void frames(int nCount) {
        for (int i = 0; i < nCount; ++i) m_app.frame(m_nLast, m_nDue, false);
    }
    std::string names() {
        std::string s;
        for (int i = 0; i < m_app.getModeCount(); ++i) s += (s.empty() ? "" : " ") + m_log.nameOf(m_app.getModeAt(i));
        return s;
    }

    int m_nLast = 0;
    int m_nDue = 0;
};

// The notification orders of pushing, ending, suspending and ending the modes
// above, with nested pushes and suppression.
TEST_F(ModeStackTest, NotificationSequences) {
    struct Case {
        const char* szName;
        std::function<void()> run;
        Lines expected;
        const char* szStack;
    };
    const Case cases[] = {
        {"push new", [this] { push("B"); }, {"A onCovered B", "B onEnter", "B onResume"}, "B A"},
        {"end", [this] { push("B")->endMode(); },
         {"A onCovered B", "B onEnter", "B onResume", "B onEnd", "A onResume", "B onEnded"}, "A"},
        {"suspend and push again",
         [this] {
             RecordingMode* pB = push("B");
             pB->suspendMode();
             EXPECT_EQ(GameMode::kStateSuspended, pB->getState());
             m_app.pushMode(pB);
         },
         {"A onCovered B", "B onEnter", "B onResume", "B onSuspend", "A onResume", "A onCovered B", "B onResume"},
         "B A"},
        {"push in onEnter",
         [this] {
             RecordingMode* pB = make("B");
             pB->m_onEnter = [this](RecordingMode&) { push("C"); };
             m_app.pushMode(pB);
         },
         {"A onCovered B", "B onEnter", "B onCovered C", "C onEnter", "C onResume"}, "C B A"},
        {"suppressed",
         [this] {
             m_app.setSuppressModeNotifications(true);
             push("B")->endMode();
             m_app.setSuppressModeNotifications(false);
         },
         {"B onEnter", "B onEnd", "B onEnded"}, "A"},
        {"end modes above",
         [this] {
             push("B");
             push("C");
             m_log.lines.clear();
             m_app.getModeAt(2)->endModesAbove();
         },
         {"C onEnd", "B onResume", "C onEnded", "B onEnd", "A onResume", "B onEnded"}, "A"},
        {"end modes above an exit transition",
         [this] {
             push("B")->setExitTransition(new TrnFadeToBlack());
             m_log.lines.clear();
             m_app.getModeAt(1)->endModesAbove();
         },
         {"B onCovered trn", "B onResume", "B onEnd", "A onResume", "B onEnded"}, "A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.szName);
        m_log.lines.clear();
        push("A");
        m_log.lines.erase(m_log.lines.begin(), m_log.lines.end());
        c.run();
        EXPECT_EQ(c.expected, m_log.lines);
        EXPECT_EQ(c.szStack, names());
        // Clean up: everything ends, and goes after the frame.
        m_app.getModeAt(m_app.getModeCount() - 1)->endModesAbove();
        m_app.getTopMode()->endMode();
        frames(1);
        ASSERT_EQ(0, m_app.getModeCount());
    }
}

// Every push, and every pop that leaves a mode, sets the changed flag,
// refreshes the mouse and tells the driver; the pop to empty does neither.
TEST_F(ModeStackTest, RefreshAndDisplayNotificationsAndTheChangedFlag) {
    auto pA = stack({"A"});
    RecordingMode* pB = make("B");  // its construction tells the driver too
    const int nRefreshes = testkit::g_nMouseRefreshes;
    const int nChanges = m_pVideo->m_nDisplayChangedCount;
    m_app.setModeStackChanged(false);
    m_app.pushMode(pB);
    pB->endMode();
    EXPECT_TRUE(m_app.isModeStackChanged());
    m_app.setModeStackChanged(false);
    pA[0]->endMode();
    EXPECT_TRUE(m_app.isModeStackChanged());
    EXPECT_EQ(2, testkit::g_nMouseRefreshes - nRefreshes);
    EXPECT_EQ(2, m_pVideo->m_nDisplayChangedCount - nChanges);
    EXPECT_EQ(nullptr, m_app.getTopMode());
    EXPECT_EQ(nullptr, m_app.getModeAt(0));
    EXPECT_EQ(-1, m_app.getLowestDrawnModeIndex());
    EXPECT_EQ((Lines{"A onCovered B", "B onEnter", "B onResume", "B onEnd", "A onResume", "B onEnded", "A onEnd",
                     "A onEnded"}),
              m_log.lines);
}

// Only the top may end or suspend itself; pushing a mode twice, or an ended
// one, is refused before anything changes.
TEST_F(ModeStackTest, RefusalsNameTheAddresses) {
    auto v = stack({"A", "B"});
    RecordingMode* pA = v[0];
    RecordingMode* pB = v[1];
    EXPECT_EQ("Only the topmost mode can call endMode() [this = " + hex32(pA) + ", topmost = " + hex32(pB) + "]",
              messageOf<Zep::FatalErrorException>([&] { pA->endMode(); }));
    EXPECT_EQ("Only the topmost mode can call suspendMode() [this = " + hex32(pA) + ", topmost = " + hex32(pB) + "]",
              messageOf<Zep::FatalErrorException>([&] { pA->suspendMode(); }));
    EXPECT_EQ("GameApp::pushMode : mode " + hex32(pA) + " is already on the stack or has ended",
              messageOf<Zep::FatalErrorException>([&] { m_app.pushMode(pA); }));
    pB->endMode();
    m_log.lines.clear();
    EXPECT_EQ("GameApp::pushMode : mode " + hex32(pB) + " is already on the stack or has ended",
              messageOf<Zep::FatalErrorException>([&] { m_app.pushMode(pB); }));
    EXPECT_EQ(Lines{}, m_log.lines);
    EXPECT_EQ("A", names());

    RecordingMode lone("lone", m_log);
    EXPECT_EQ("Only the topmost mode can call endMode() [this = " + hex32(&lone) + ", topmost = " + hex32(pA) + "]",
              messageOf<Zep::FatalErrorException>([&] { lone.endMode(); }));
    frames(1);
    EXPECT_EQ(Lines{"~B"}, m_log.lines);
}

// Transitions run frame by frame at 60 frames a second (16 ms, so 0.032 of
// alpha a frame: the fade-out is black in its 32nd frame).
TEST_F(ModeStackTest, TransitionSequences) {
    struct Case {
        const char* szName;
        std::function<void(RecordingMode& top)> start;
        Lines atBlack;
        Lines afterFadeIn;
        const char* szStack;
    };
    const Case cases[] = {
        {"push, deferred resume",
         [this](RecordingMode&) { m_app.pushTransition(make("B"), new TrnFadeToBlack()); },
         {"A onCovered trn", "B onEnter", "B onCovered trn"}, {"B onResume"}, "B A Z"},
        {"push, resume at the switch",
         [this](RecordingMode&) {
             auto* pTrn = new TrnFadeToBlack();
             pTrn->setDeferResume(false);
             m_app.pushTransition(make("B"), pTrn);
         },
         {"A onCovered trn", "A onCovered B", "B onEnter", "B onResume"}, {}, "B A Z"},
        {"start transition", [this](RecordingMode& a) { a.startTransition(new TrnFadeToBlack()); },
         {"A onCovered trn", "A onEnd", "A onEnded", "Z onCovered trn", "~A"}, {"Z onResume"}, "Z"},
        {"exit transition",
         [this](RecordingMode& a) {
             a.setExitTransition(new TrnFadeToBlack());
             a.endMode();
             EXPECT_EQ("trn A Z", names());
         },
         {"A onCovered trn", "A onEnd", "A onEnded", "Z onCovered trn", "~A"}, {"Z onResume"}, "Z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.szName);
        auto v = stack({"Z", "A"});
        c.start(*v[1]);
        frames(31);
        auto* pFade = dynamic_cast<TrnFadeToBlack*>(m_app.getTopMode());
        ASSERT_TRUE(pFade);
        EXPECT_FLOAT_EQ(0.992f, pFade->getAlpha());
        frames(1);
        EXPECT_EQ(c.atBlack, m_log.lines);
        pFade = dynamic_cast<TrnFadeToBlack*>(m_app.getTopMode());
        ASSERT_TRUE(pFade && !pFade->isFadeOut());
        EXPECT_EQ(1.0f, pFade->getAlpha());
        m_log.lines.clear();
        frames(32);
        EXPECT_EQ(c.afterFadeIn, m_log.lines);
        EXPECT_EQ(c.szStack, names());
        EXPECT_FALSE(m_app.areModeNotificationsSuppressed());
        m_app.getModeAt(m_app.getModeCount() - 1)->endModesAbove();
        m_app.getTopMode()->endMode();
        frames(1);
        m_log.lines.clear();
    }
}

// The black sprite covers the screen; a slow frame advances the fade by at
// most 1/30 s; while it runs the modes below are drawn but not updated.
TEST_F(ModeStackTest, FadeSpriteClampedStepAndFrozenModesBelow) {
    auto v = stack({"A"});
    v[0]->addSprite(new Sprite(spritetest::picture(4, 4, 0, 0), 0, 0, 0));
    m_app.pushTransition(make("B"), new TrnFadeToBlack());
    auto* pFade = dynamic_cast<TrnFadeToBlack*>(m_app.getTopMode());
    const Zep::SmartPtr<Sprite>& pBlack = pFade->getBlackSprite();
    EXPECT_EQ((std::vector<float>{80, 60, 10, 10, 0}),
              (std::vector<float>{static_cast<float>(pBlack->getImage()->getWidth()),
                                  static_cast<float>(pBlack->getImage()->getHeight()), pBlack->getScaleX(),
                                  pBlack->getScaleY(), pBlack->getAlpha()}));
    EXPECT_EQ(7u, pFade->getFlags());
    m_pPlatform->advance(2000);
    frames(1);
    EXPECT_EQ(2.0f * 0.033333335f, pFade->getAlpha());
    EXPECT_EQ(2u, m_pVideo->m_vDrawn.size());
    EXPECT_TRUE(v[0]->m_vUpdates.empty());
}

// A fade is over only at its target: a frame without time neither switches a
// fade-out at once nor ends a fade-in at full black.
TEST_F(ModeStackTest, FadeFinishesOnlyAtItsTarget) {
    for (bool bFadeOut : {true, false}) {
        SCOPED_TRACE(bFadeOut);
        auto v = stack({"A"});
        auto* pFade = new TrnFadeToBlack();
        pFade->setup(bFadeOut, nullptr, false);
        m_app.pushMode(pFade);
        pFade->onUpdate(0.0f);
        EXPECT_EQ(bFadeOut ? 0.0f : 1.0f, pFade->getAlpha());
        EXPECT_EQ(pFade, m_app.getTopMode());
        EXPECT_TRUE(pFade->step(0.25f));
        EXPECT_FALSE(pFade->step(0.25f));
        pFade->endMode();
        v[0]->endMode();
        frames(1);
    }
}

// A transition that ends before its switch deletes the mode it would have
// pushed; one that was to end its next mode leaves that to the stack.
TEST_F(ModeStackTest, TransitionEndedBeforeItsSwitchDeletesItsNextMode) {
    auto v = stack({"A"});
    m_app.pushTransition(make("B"), new TrnFadeToBlack());
    frames(3);
    v[0]->endModesAbove();
    frames(1);
    EXPECT_EQ((Lines{"A onCovered trn", "A onResume", "~B"}), m_log.lines);

    m_log.lines.clear();
    RecordingMode* pC = push("C");
    pC->startTransition(new TrnFadeToBlack());
    v[0]->endModesAbove();
    frames(1);
    EXPECT_EQ((Lines{"A onCovered C", "C onEnter", "C onResume", "C onCovered trn", "C onResume", "C onEnd",
                     "A onResume", "C onEnded", "~C"}),
              m_log.lines);
    EXPECT_EQ("A", names());
}

}  // namespace
