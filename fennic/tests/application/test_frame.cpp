// The frame loop on the fake platform's manual clock: sleeps, elapsed times,
// the delta policies, the update walk, the frame counter and the deletion of
// ended modes.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include <zep2/error.h>

#include "sprite/control.h"
#include "testkit/testkit_fixtures.h"
#include "base/oshelpers.h"
#include "testkit/testkit_audio.h"
#include "testkit/testkit_modes.h"
#include "testkit/testkit_signals.h"
#include "theme/theme.h"

namespace {

using testkit::RecordingMode;
using Floats = std::vector<float>;
using Ints = std::vector<int>;
using Lines = std::vector<std::string>;

class FrameTest : public testkit::ModeAppTest {
protected:
    void SetUp() override {
        ModeAppTest::SetUp();
        auto pAudio = std::make_unique<testkit::FakeAudioDriver>();
        m_pAudio = pAudio.get();
        m_pPlatform->setAudioDriver(std::move(pAudio));
        m_app.useAudioDriver(m_pAudio);
    }
    Ints counts() { return {m_app.getFrameCount(), m_pPlatform->m_nProcessCount, m_pVideo->m_nRenderCount}; }

    testkit::FakeAudioDriver* m_pAudio = nullptr;
};

// Sleeping only when early; the next frame is due one period after the end
// of the sleep; the audio hears every elapsed time. Period 0 never sleeps.
TEST_F(FrameTest, SleepRequestsFrameByFrame) {
    using Ticks = std::vector<uint32_t>;
    // Start, frame rate, time each frame's event pump takes, sleeps, elapsed times.
    const std::tuple<uint32_t, int, Ticks, Ticks, Floats> cases[] = {
        {1000, 60, {5, 20, 40, 0, 0}, {16, 11, 16}, {0.016f, 0.016f, 0.020f, 0.040f, 0.016f}},
        // Across the sign change of the ticks as int, and the 32-bit wrap.
        {0x7FFFFFF8u, 60, {3, 3}, {16, 13}, {0.016f, 0.016f}},
        {0xFFFFFFF8u, 60, {3, 3}, {16, 13}, {0.016f, 0.016f}},
        {1000, 0, {7, 7}, {}, {0.0f, 0.007f}},
    };
    for (const auto& [nStart, nFps, vWork, vSleeps, elapsed] : cases) {
        SCOPED_TRACE(nStart);
        m_pPlatform->m_vSleeps.clear();
        m_pAudio->m_vUpdates.clear();
        m_app.setFrameRate(nFps);
        start(nStart);
        for (uint32_t nWork : vWork) {
            m_pPlatform->setWorkTimePerFrame(nWork);
            frames();
        }
        EXPECT_EQ(vSleeps, m_pPlatform->m_vSleeps);
        EXPECT_EQ(elapsed, m_pAudio->m_vUpdates);
    }
}

// A late frame does not sleep. After a 2 s stall the audio gets it all; the
// modes get it (policy 0 and unknown ones), nothing (1) or the maximum (2).
// Exactly the maximum always passes.
TEST_F(FrameTest, DeltaPoliciesAfterAStall) {
    const std::tuple<int, uint32_t, Floats> cases[] = {
        {GameApp::kDeltaNone, 2000, {2.0f}}, {GameApp::kDeltaSkip, 2000, {}},     {GameApp::kDeltaClamp, 2000, {0.05f}},
        {GameApp::kDeltaSkip, 50, {0.05f}},  {GameApp::kDeltaClamp, 50, {0.05f}}, {7, 2000, {2.0f}}};
    RecordingMode* pMode = push("A");
    for (const auto& [nPolicy, nStall, updates] : cases) {
        SCOPED_TRACE(nPolicy);
        m_app.setDeltaClamp(0.05f, nPolicy);
        start(1000);
        frames();
        pMode->m_vUpdates.clear();
        m_pAudio->m_vUpdates.clear();
        m_pPlatform->m_vSleeps.clear();
        m_pPlatform->advance(nStall);
        frames();
        EXPECT_EQ(updates, pMode->m_vUpdates);
        EXPECT_EQ(Floats{static_cast<float>(nStall / 1000.0)}, m_pAudio->m_vUpdates);
        EXPECT_TRUE(m_pPlatform->m_vSleeps.empty());
    }
}

// The counter steps twice a frame; an empty stack is neither updated nor
// drawn but its events are pumped; skipping the next update skips one.
TEST_F(FrameTest, CounterEmptyStackSkipAndRenderSwitch) {
    start(0);
    frames();
    EXPECT_EQ((Ints{2, 1, 0}), counts());
    RecordingMode* pMode = push("A");
    m_app.setSkipNextUpdate(true);
    frames(2);
    m_app.setRenderEnabled(false);
    frames();
    EXPECT_EQ((Floats{0.016f, 0.016f}), pMode->m_vUpdates);
    EXPECT_EQ((Ints{8, 4, 2}), counts());
}

// The walk goes down while the modes let updates through, by the flags read
// before each update; an inactive mode still stops it.
TEST_F(FrameTest, UpdateWalk) {
    RecordingMode* pBottom = push("bottom");
    RecordingMode* pMiddle = push("middle", GameMode::kVisible);
    RecordingMode* pTop = push("top", GameMode::kActive | GameMode::kUpdateBelow);
    pTop->m_onUpdate = [](RecordingMode& m) { m.clearFlags(GameMode::kUpdateBelow); };
    auto sizes = [&] {
        return std::vector<size_t>{pTop->m_vUpdates.size(), pMiddle->m_vUpdates.size(), pBottom->m_vUpdates.size()};
    };
    frames(2);
    EXPECT_EQ((std::vector<size_t>{2, 0, 0}), sizes());
    pTop->m_onUpdate = nullptr;
    pTop->addFlags(GameMode::kUpdateBelow);
    pMiddle->addFlags(GameMode::kUpdateBelow);
    frames();
    EXPECT_EQ((std::vector<size_t>{3, 0, 1}), sizes());
}

// A mode that ends in its update is deleted at the end of that frame, after
// the drawing; kept when the caller asks (a nested loop).
TEST_F(FrameTest, EndedModesDeletedAfterDrawing) {
    push("A");
    RecordingMode* pB = push("B");
    pB->m_onUpdate = [](RecordingMode& m) { m.endMode(); };
    pB->m_onDelete = [this](RecordingMode&) { m_log.lines.push_back(std::to_string(m_pVideo->m_nRenderCount)); };
    m_log.lines.clear();
    m_app.frame(m_nLast, m_nDue, true);
    EXPECT_EQ((Lines{"B onEnd", "A onResume", "B onEnded"}), m_log.lines);
    frames();
    EXPECT_EQ((Lines{"B onEnd", "A onResume", "B onEnded", "~B", "2"}), m_log.lines);
}

// A nested loop runs while its mode is the top (a quit request does not end
// it), keeps the modes ended in it for the outer loop, and answers the mode on
// top afterwards.
TEST_F(FrameTest, RunModal) {
    RecordingMode* pBelow = stack({"A"})[0];
    RecordingMode* pModal = make("M");
    pModal->m_onUpdate = [this](RecordingMode& m) {
        if (m.m_vUpdates.size() == 1) m_app.quit(3);
        if (m.m_vUpdates.size() == 2) m.endMode();
    };
    EXPECT_EQ(pBelow, m_app.runModal(pModal));
    EXPECT_TRUE(m_app.isQuitting());
    EXPECT_EQ(7u, pModal->getFlags());
    EXPECT_EQ(4, m_app.getFrameCount());
    EXPECT_EQ((Lines{"A onCovered M", "M onEnter", "M onResume", "M onEnd", "A onResume", "M onEnded"}), m_log.lines);
    frames();
    EXPECT_EQ("~M", m_log.lines.back());
}

// reloadTheme: a new theme read from the file; then the controls of every mode
// on the stack, top mode first, each in draw order, rebuild their pictures.
TEST_F(FrameTest, ReloadThemeRefreshesTheControlsOfEveryMode) {
    struct LoggedControl : Control {
        LoggedControl(const char* szName, int nZ, Lines& rLog) : Control(0, 0, nZ), sName(szName), rLog(rLog) {}
        void refresh() override { rLog.push_back(sName); }
        std::string sName;
        Lines& rLog;
    };
    Lines lRefreshed;
    const std::vector<RecordingMode*> vModes = stack({"A", "B"});
    vModes[0]->addSprite(new LoggedControl("a", 0, lRefreshed));
    vModes[0]->addSprite(new Sprite(0, 0, 0));
    vModes[1]->addSprite(new LoggedControl("b1", 1, lRefreshed));
    vModes[1]->addSprite(new LoggedControl("b0", 0, lRefreshed));
    m_app.addResourceProvider(testkit::memoryProvider({{"ui.theme", "# nothing but the built-in defaults\n"}}), false);
    const Zep::SmartPtr<Theme> pOld = m_app.getTheme();
    m_app.reloadTheme("ui.theme");
    EXPECT_NE(pOld, m_app.getTheme());
    EXPECT_STREQ("ui.theme", m_app.getTheme()->getFileName().c_str());
    EXPECT_EQ((Lines{"b0", "b1", "a"}), lRefreshed);
}

// run: the game's start-up, frames until a quit, shutdown, a black screen;
// without a platform it refuses.
TEST_F(FrameTest, RunUntilQuit) {
    RecordingMode* pMode = stack({"A"})[0];
    pMode->m_onUpdate = [this](RecordingMode& m) {
        if (m.m_vUpdates.size() == 3) m_app.quit(7);
    };
    m_pPlatform->setTicks(500);
    m_pVideo->m_vCalls.clear();
    EXPECT_EQ(7, m_app.run());
    EXPECT_EQ((std::vector<uint32_t>{16, 16, 16}), m_pPlatform->m_vSleeps);
    EXPECT_EQ(Lines{"A onAppQuit"}, m_log.lines);
    EXPECT_EQ((Lines{"render", "render", "render", "clear (0, 0, 0, 255)", "flush"}), m_pVideo->m_vCalls);

    testkit::TestApp other;  // the singleton moves to it
    EXPECT_EQ("Assertion failed : getPlatform() != NULL",
              testkit::messageOf<Zep::AssertFailException>([&] { other.run(); }));
}

// A quit signal ends the loop after the frame in which it came, with exit
// code 0 and the normal shutdown, even where quitting asks first. The three
// signals are noted alike, and the note is taken once. The test's own
// handlers come back at its end.
TEST_F(FrameTest, AQuitSignalEndsTheRunInOrderWithZero) {
    const testkit::QuitSignals signals;
    const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
    std::vector<int> vTaken;
    for (int nSignal : kSignals) {
        std::raise(nSignal);
        vTaken.push_back(takeQuitSignal());
        vTaken.push_back(takeQuitSignal());
    }
    RecordingMode* pMode = stack({"A"})[0];
    m_app.setConfirmQuit(true);
    pMode->m_onUpdate = [](RecordingMode& m) {
        if (m.m_vUpdates.size() == 2) std::raise(SIGHUP);
    };
    m_pVideo->m_vCalls.clear();
    const size_t nLogBefore = m_files.logText().size();
    const int nExitCode = m_app.run();
    EXPECT_EQ((std::vector<int>{SIGTERM, 0, SIGINT, 0, SIGHUP, 0}), vTaken);
    EXPECT_EQ(0, nExitCode);
    EXPECT_EQ(2u, pMode->m_vUpdates.size());
    EXPECT_EQ((Lines{"A onAppQuit"}), m_log.lines);
    EXPECT_EQ((Lines{"render", "render", "clear (0, 0, 0, 255)", "flush"}), m_pVideo->m_vCalls);
    EXPECT_EQ(m_files.logText().substr(nLogBefore), "G: Signal " + std::to_string(SIGHUP) + ", quitting\n");
}

}  // namespace
