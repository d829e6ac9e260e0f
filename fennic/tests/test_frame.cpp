// The frame loop on the fake platform's manual clock: sleeps, elapsed times,
// the delta policies, the update walk, the frame counter and the deletion of
// ended modes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <zep2/error.h>

#include "imagetest_util.h"
#include "spritetest_util.h"
#include "testkit_audio.h"
#include "testkit_modes.h"

namespace {

using imagetest::messageOf;
using testkit::ModeLog;
using testkit::RecordingMode;
using Floats = std::vector<float>;
using Sleeps = std::vector<uint32_t>;

struct ModeLogHolder {
    ModeLog m_log;
};

class FrameTest : protected ModeLogHolder, public spritetest::AppWithScreen {
protected:
    void SetUp() override {
        AppWithScreen::SetUp();
        auto pAudio = std::make_unique<testkit::FakeAudioDriver>();
        m_pAudio = pAudio.get();
        m_pPlatform->setAudioDriver(std::move(pAudio));
        m_app.useAudioDriver(m_pAudio);
        m_app.setFrameRate(60);
        m_app.setDeltaClamp(0.05f, GameApp::kDeltaClamp);
    }
    RecordingMode* push(const char* szName, uint32_t nFlags = GameMode::kActive | GameMode::kVisible) {
        auto* pMode = new RecordingMode(szName, m_log);
        pMode->setFlags(nFlags);
        m_app.pushMode(pMode);
        return pMode;
    }
    // Starts the loop's clock at a tick count, as run does.
    void start(uint32_t nTicks) {
        m_pPlatform->setTicks(nTicks);
        m_nLast = m_app.getTicks();
        m_nDue = static_cast<int>(nTicks + 16);
    }
    void frame() { m_app.frame(m_nLast, m_nDue, false); }

    testkit::FakeAudioDriver* m_pAudio = nullptr;
    int m_nLast = 0;
    int m_nDue = 0;
};

// Sleeping only when early; the next frame is due one period after the end
// of the sleep; the audio hears every elapsed time. Period 0 never sleeps.
TEST_F(FrameTest, SleepRequestsFrameByFrame) {
    struct Case {
        uint32_t nStart;
        int nFps;
        std::vector<uint32_t> vWork;  // time each frame's event pump takes
        Sleeps sleeps;
        Floats elapsed;
    };
    const Case cases[] = {
        {1000, 60, {5, 20, 40, 0, 0}, {16, 11, 16}, {0.016f, 0.016f, 0.020f, 0.040f, 0.016f}},
        // Across the sign change of the ticks as int, and the 32-bit wrap.
        {0x7FFFFFF8u, 60, {3, 3}, {16, 13}, {0.016f, 0.016f}},
        {0xFFFFFFF8u, 60, {3, 3}, {16, 13}, {0.016f, 0.016f}},
        {1000, 0, {7, 7}, {}, {0.0f, 0.007f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nStart);
        m_pPlatform->m_vSleeps.clear();
        m_pAudio->m_vUpdates.clear();
        m_app.setFrameRate(c.nFps);
        start(c.nStart);
        m_nDue = static_cast<int>(c.nStart + (c.nFps ? 16 : 0));
        for (uint32_t nWork : c.vWork) {
            m_pPlatform->setWorkTimePerFrame(nWork);
            frame();
        }
        EXPECT_EQ(c.sleeps, m_pPlatform->m_vSleeps);
        EXPECT_EQ(c.elapsed, m_pAudio->m_vUpdates);
    }
}

// A 2 s stall: the audio gets it all; the modes get it (policy 0), nothing
// (policy 1) or the maximum (policy 2). Exactly the maximum always passes.
TEST_F(FrameTest, DeltaPoliciesAfterAStall) {
    struct Case {
        int nPolicy;
        uint32_t nStall;
        Floats updates;
    };
    const Case cases[] = {
        {GameApp::kDeltaNone, 2000, {2.0f}},  {GameApp::kDeltaSkip, 2000, {}},
        {GameApp::kDeltaClamp, 2000, {0.05f}}, {GameApp::kDeltaSkip, 50, {0.05f}},
        {GameApp::kDeltaClamp, 50, {0.05f}},  {7, 2000, {2.0f}},
    };
    RecordingMode* pMode = push("A");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nPolicy);
        m_app.setDeltaClamp(0.05f, c.nPolicy);
        start(1000);
        frame();
        pMode->m_vUpdates.clear();
        m_pAudio->m_vUpdates.clear();
        const int nRenders = m_pVideo->m_nRenderCount;
        m_pPlatform->advance(c.nStall);  // the frame starts late: no sleep
        m_pPlatform->m_vSleeps.clear();
        frame();
        EXPECT_EQ(c.updates, pMode->m_vUpdates);
        EXPECT_EQ(Floats{static_cast<float>(c.nStall / 1000.0)}, m_pAudio->m_vUpdates);
        EXPECT_EQ(Sleeps{}, m_pPlatform->m_vSleeps);
        EXPECT_EQ(nRenders + 1, m_pVideo->m_nRenderCount);
    }
}

// The counter steps twice a frame, also with nothing on the stack, where no
// update and no drawing happen but the events are pumped; skipping the next
// update skips one frame's.
TEST_F(FrameTest, CounterEmptyStackAndSkipNextUpdate) {
    start(0);
    frame();
    EXPECT_EQ((std::vector<int>{2, 1, 0}),
              (std::vector<int>{m_app.getFrameCount(), m_pPlatform->m_nProcessCount, m_pVideo->m_nRenderCount}));
    RecordingMode* pMode = push("A");
    m_app.setSkipNextUpdate(true);
    frame();
    frame();
    m_app.setRenderEnabled(false);
    frame();
    EXPECT_EQ((Floats{0.016f, 0.016f}), pMode->m_vUpdates);
    EXPECT_EQ((std::vector<int>{8, 4, 2}),
              (std::vector<int>{m_app.getFrameCount(), m_pPlatform->m_nProcessCount, m_pVideo->m_nRenderCount}));
}

// The walk goes down while the modes let updates through, by the flags read
// before each update; an inactive mode still stops it.
TEST_F(FrameTest, UpdateWalk) {
    const uint32_t kShown = GameMode::kActive | GameMode::kVisible;
    RecordingMode* pBottom = push("bottom");
    RecordingMode* pMiddle = push("middle", GameMode::kVisible);  // inactive
    RecordingMode* pTop = push("top", kShown | GameMode::kUpdateBelow);
    pTop->m_onUpdate = [](RecordingMode& m) { m.clearFlags(GameMode::kUpdateBelow); };
    start(0);
    frame();
    frame();
    EXPECT_EQ((std::vector<size_t>{2, 0, 0}),
              (std::vector<size_t>{pTop->m_vUpdates.size(), pMiddle->m_vUpdates.size(), pBottom->m_vUpdates.size()}));
    pTop->m_onUpdate = nullptr;
    pTop->addFlags(GameMode::kUpdateBelow);
    pMiddle->setFlags(GameMode::kVisible | GameMode::kUpdateBelow);
    frame();
    EXPECT_EQ((std::vector<size_t>{3, 0, 1}),
              (std::vector<size_t>{pTop->m_vUpdates.size(), pMiddle->m_vUpdates.size(), pBottom->m_vUpdates.size()}));
}

// A mode that ends in its update is deleted at the end of that frame, after
// the drawing; kept when the caller asks (a nested loop).
TEST_F(FrameTest, EndedModesDeletedAfterDrawing) {
    push("A");
    RecordingMode* pB = push("B");
    pB->m_onUpdate = [](RecordingMode& m) { m.endMode(); };
    pB->m_onDelete = [this](RecordingMode&) { m_log.lines.push_back(std::to_string(m_pVideo->m_nRenderCount)); };
    start(0);
    m_log.lines.clear();
    m_app.frame(m_nLast, m_nDue, true);
    EXPECT_EQ((testkit::EventLog{"B onEnd", "A onResume", "B onEnded"}), m_log.lines);
    frame();
    EXPECT_EQ((testkit::EventLog{"B onEnd", "A onResume", "B onEnded", "~B", "2"}), m_log.lines);
}

// run: the game's start-up, frames until a quit, shutdown, a black screen.
TEST_F(FrameTest, RunUntilQuit) {
    RecordingMode* pMode = push("A");
    pMode->m_onUpdate = [this](RecordingMode& m) {
        if (m.m_vUpdates.size() == 3) m_app.quit(7);
    };
    m_pPlatform->setTicks(500);
    m_pVideo->m_vCalls.clear();
    m_log.lines.clear();
    EXPECT_EQ(7, m_app.run());
    EXPECT_EQ((Sleeps{16, 16, 16}), m_pPlatform->m_vSleeps);
    EXPECT_EQ((testkit::EventLog{"A onAppQuit"}), m_log.lines);
    EXPECT_EQ((std::vector<std::string>{"render", "render", "render", "clear (0, 0, 0, 255)", "flush"}),
              m_pVideo->m_vCalls);
}

TEST(FrameWithoutPlatform, RunAsserts) {
    testkit::TempDir dir;
    testkit::AppFiles files(dir);
    testkit::TestApp app;
    EXPECT_EQ("Assertion failed : getPlatform() != NULL",
              messageOf<Zep::AssertFailException>([&] { app.run(); }));
}

}  // namespace
