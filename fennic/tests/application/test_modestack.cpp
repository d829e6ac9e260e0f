// The mode stack and the transitions as the modes see them: recorded
// notification sequences, the refusals, and fades driven frame by frame.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <zep2/error.h>

#include "testkit/testkit_modes.h"
#include "sprite/trn_fadetoblack.h"

namespace {

using testkit::messageOf;
using testkit::RecordingMode;
using Lines = std::vector<std::string>;

std::string hex32(const void* p) {
    return Zep::String::format("0x%08X", static_cast<unsigned>(reinterpret_cast<uintptr_t>(p))).c_str();
}

class ModeStackTest : public testkit::ModeAppTest {
protected:
    // Ends everything and lets a frame delete it.
    void clearStack() {
        m_app.getModeAt(m_app.getModeCount() - 1)->endModesAbove();
        m_app.getTopMode()->endMode();
        frames();
        ASSERT_EQ(0, m_app.getModeCount());
        m_log.lines.clear();
    }
};

// Push, end, suspend and end-above over a mode A, with a nested push and
// suppression.
TEST_F(ModeStackTest, NotificationSequences) {
    const std::tuple<std::function<void()>, Lines, const char*> cases[] = {  // run, notifications, stack
        {[this] { push("B"); }, {"A onCovered B", "B onEnter", "B onResume"}, "B A"},
        {[this] { push("B")->endMode(); },
         {"A onCovered B", "B onEnter", "B onResume", "B onEnd", "A onResume", "B onEnded"}, "A"},
        {[this] {
             RecordingMode* pB = push("B");
             pB->suspendMode();
             m_app.pushMode(pB);
         },
         {"A onCovered B", "B onEnter", "B onResume", "B onSuspend", "A onResume", "A onCovered B", "B onResume"},
         "B A"},
        {[this] {
             RecordingMode* pB = make("B");
             pB->m_onEnter = [this](RecordingMode&) { push("C"); };
             m_app.pushMode(pB);
         },
         {"A onCovered B", "B onEnter", "B onCovered C", "C onEnter", "C onResume"}, "C B A"},
        {[this] {
             m_app.setSuppressModeNotifications(true);
             push("B")->endMode();
             m_app.setSuppressModeNotifications(false);
         },
         {"B onEnter", "B onEnd", "B onEnded"}, "A"},
        {[this] {
             stack({"B", "C"});
             m_app.getModeAt(2)->endModesAbove();
         },
         {"C onEnd", "B onResume", "C onEnded", "B onEnd", "A onResume", "B onEnded"}, "A"},
        // The exit transition is pushed and ended at once: no fade.
        {[this] {
             stack({"B"})[0]->setExitTransition(new TrnFadeToBlack());
             m_app.getModeAt(1)->endModesAbove();
         },
         {"B onCovered trn", "B onResume", "B onEnd", "A onResume", "B onEnded"}, "A"},
    };
    for (const auto& [run, expected, szStack] : cases) {
        SCOPED_TRACE(expected.back());
        stack({"A"});
        run();
        EXPECT_EQ(expected, m_log.lines);
        EXPECT_EQ(szStack, names());
        clearStack();
    }
}

// Every push, and every pop that leaves a mode, sets the changed flag,
// re-routes the mouse and tells the driver; the pop to empty does neither.
TEST_F(ModeStackTest, PopToEmptyRefreshesNothing) {
    RecordingMode* pA = stack({"A"})[0];
    RecordingMode* pB = make("B");  // its construction tells the driver too
    const int nRefreshes = m_pPlatform->m_nMouseReads;
    const int nChanges = m_pVideo->m_nDisplayChangedCount;
    m_app.setModeStackChanged(false);
    m_app.pushMode(pB);
    pB->endMode();
    EXPECT_TRUE(m_app.isModeStackChanged());
    m_app.setModeStackChanged(false);
    pA->endMode();
    EXPECT_TRUE(m_app.isModeStackChanged());
    EXPECT_EQ((std::vector<int>{2, 2}),
              (std::vector<int>{m_pPlatform->m_nMouseReads - nRefreshes, m_pVideo->m_nDisplayChangedCount - nChanges}));
    EXPECT_TRUE(!m_app.getTopMode() && !m_app.getModeAt(0) && m_app.getLowestDrawnModeIndex() == -1);
}

// Only the top may end or suspend itself; pushing a mode that is on the stack
// or has ended is refused before anything changes.
TEST_F(ModeStackTest, RefusalsNameTheAddresses) {
    auto v = stack({"A", "B"});
    const std::string sTop = ", topmost = " + hex32(v[1]) + "]";
    EXPECT_EQ("Only the topmost mode can call endMode() [this = " + hex32(v[0]) + sTop,
              messageOf<Zep::FatalErrorException>([&] { v[0]->endMode(); }));
    EXPECT_EQ("Only the topmost mode can call suspendMode() [this = " + hex32(v[0]) + sTop,
              messageOf<Zep::FatalErrorException>([&] { v[0]->suspendMode(); }));
    v[1]->endMode();
    m_log.lines.clear();
    for (RecordingMode* pMode : v)
        EXPECT_EQ("GameApp::pushMode : mode " + hex32(pMode) + " is already on the stack or has ended",
                  messageOf<Zep::FatalErrorException>([&] { m_app.pushMode(pMode); }));
    EXPECT_EQ(Lines{}, m_log.lines);
    EXPECT_EQ("A", names());
    frames();
    EXPECT_EQ(Lines{"~B"}, m_log.lines);
}

// Transitions frame by frame: 16 ms frames move the fade by 0.032, so the
// fade-out is black in its 32nd frame and the switch runs in that update.
TEST_F(ModeStackTest, TransitionSequences) {
    const Lines kEndA = {"A onCovered trn", "A onEnd", "A onEnded", "Z onCovered trn", "~A"};
    // What starts it, the notifications when black and after the fade-in, the stack.
    const std::tuple<std::function<void(RecordingMode&)>, Lines, Lines, const char*> cases[] = {
        {[this](RecordingMode&) { m_app.pushTransition(make("B"), new TrnFadeToBlack()); },
         {"A onCovered trn", "B onEnter", "B onCovered trn"}, {"B onResume"}, "B A Z"},
        {[this](RecordingMode&) {
             auto* pTrn = new TrnFadeToBlack();
             pTrn->setDeferResume(false);
             m_app.pushTransition(make("B"), pTrn);
         },
         {"A onCovered trn", "A onCovered B", "B onEnter", "B onResume"}, {}, "B A Z"},
        {[](RecordingMode& a) { a.startTransition(new TrnFadeToBlack()); }, kEndA, {"Z onResume"}, "Z"},
        {[this](RecordingMode& a) {
             a.setExitTransition(new TrnFadeToBlack());
             a.endMode();
             EXPECT_EQ("trn A Z", names());
         },
         kEndA, {"Z onResume"}, "Z"},
    };
    for (const auto& [launch, atBlack, afterFadeIn, szStack] : cases) {
        SCOPED_TRACE(szStack + std::to_string(atBlack.size()));
        launch(*stack({"Z", "A"})[1]);
        frames(31);
        auto* pFade = dynamic_cast<TrnFadeToBlack*>(m_app.getTopMode());
        ASSERT_TRUE(pFade && pFade->isFadeOut());
        EXPECT_FLOAT_EQ(0.992f, pFade->getAlpha());
        frames();
        EXPECT_EQ(atBlack, m_log.lines);
        pFade = dynamic_cast<TrnFadeToBlack*>(m_app.getTopMode());
        ASSERT_TRUE(pFade && !pFade->isFadeOut() && pFade->getAlpha() == 1.0f);
        m_log.lines.clear();
        frames(32);
        EXPECT_EQ(afterFadeIn, m_log.lines);
        EXPECT_EQ(szStack, names());
        EXPECT_FALSE(m_app.areModeNotificationsSuppressed());
        clearStack();
    }
}

// A mode wanted inside a handler comes at the start of the next frame, so the
// handler's mode may still end itself; while a transition is on top it waits
// until the transition has gone.
TEST_F(ModeStackTest, AModeForTheNextFrameWaitsForTheHandlerAndForTransitions) {
    RecordingMode* pA = stack({"Z", "A"})[1];
    pA->m_onUpdate = [this](RecordingMode& a) {
        a.m_onUpdate = nullptr;
        m_app.pushModeNextFrame(std::unique_ptr<GameMode>(make("N")));
        a.endMode();
    };
    frames();
    EXPECT_EQ("Z", names());
    EXPECT_EQ((Lines{"A onEnd", "Z onResume", "A onEnded", "~A"}), m_log.lines);
    m_log.lines.clear();
    frames();
    EXPECT_EQ("N Z", names());
    EXPECT_EQ((Lines{"Z onCovered N", "N onEnter", "N onResume"}), m_log.lines);

    m_app.pushTransition(make("B"), new TrnFadeToBlack());
    m_app.pushModeNextFrame(std::unique_ptr<GameMode>(make("M")));
    int nFrames = 0;
    for (; dynamic_cast<ModeTransition*>(m_app.getTopMode()) && nFrames < 200; ++nFrames) frames();
    EXPECT_GT(nFrames, 30);
    EXPECT_EQ("B N Z", names());  // the fade-in has just gone
    frames();
    EXPECT_EQ("M B N Z", names());
}

// The black sprite covers the screen; a slow frame advances the fade by at
// most 1/30 s; the mode below is drawn but not updated.
TEST_F(ModeStackTest, FadeSpriteClampedStepAndFrozenModesBelow) {
    RecordingMode* pA = stack({"A"})[0];
    pA->addSprite(new Sprite(spritetest::picture(4, 4, 0, 0), 0, 0, 0));
    m_app.pushTransition(make("B"), new TrnFadeToBlack());
    auto* pFade = dynamic_cast<TrnFadeToBlack*>(m_app.getTopMode());
    const Sprite& black = *pFade->getBlackSprite();
    EXPECT_EQ((std::vector<float>{80, 60, 10, 10, 0}),
              (std::vector<float>{static_cast<float>(black.getImage()->getWidth()),
                                  static_cast<float>(black.getImage()->getHeight()), black.getScaleX(),
                                  black.getScaleY(), black.getAlpha()}));
    EXPECT_EQ(7u, pFade->getFlags());
    m_pPlatform->advance(2000);
    frames();
    EXPECT_EQ(2.0f * 0.033333335f, pFade->getAlpha());
    EXPECT_EQ(2u, m_pVideo->m_vDrawn.size());
    EXPECT_TRUE(pA->m_vUpdates.empty());
}

// A fade is over only at its target: a frame without time neither switches a
// fade-out at once nor ends a fade-in at full black.
TEST_F(ModeStackTest, FadeFinishesOnlyAtItsTarget) {
    for (bool bFadeOut : {true, false}) {
        SCOPED_TRACE(bFadeOut);
        stack({"A"});
        auto* pFade = new TrnFadeToBlack();
        pFade->setup(bFadeOut, nullptr, false);
        m_app.pushMode(pFade);
        pFade->onUpdate(0.0f);
        EXPECT_EQ(bFadeOut ? 0.0f : 1.0f, pFade->getAlpha());
        EXPECT_EQ(pFade, m_app.getTopMode());
        EXPECT_TRUE(pFade->step(0.25f));
        EXPECT_FALSE(pFade->step(0.25f));
        clearStack();
    }
}

// A transition that ends before its switch deletes the mode it would have
// pushed; one that was to end its next mode leaves that to the stack.
TEST_F(ModeStackTest, TransitionEndedBeforeItsSwitchDeletesItsNextMode) {
    RecordingMode* pA = stack({"A"})[0];
    m_app.pushTransition(make("B"), new TrnFadeToBlack());
    frames(3);
    pA->endModesAbove();
    frames();
    EXPECT_EQ((Lines{"A onCovered trn", "A onResume", "~B"}), m_log.lines);

    stack({"C"})[0]->startTransition(new TrnFadeToBlack());
    pA->endModesAbove();
    frames();
    EXPECT_EQ((Lines{"C onCovered trn", "C onResume", "C onEnd", "A onResume", "C onEnded", "~C"}), m_log.lines);
}

}  // namespace
