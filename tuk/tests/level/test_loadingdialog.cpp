// The level's loading box: its table, the clock's steps under stepped time,
// the frames it runs through with and without pacing, and how it ends.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "level/loadingdialog.h"
#include "screens/screens_util.h"
#include "testkit/testkit_video.h"

namespace {

// The level under the box: counts its updates.
class LevelStandIn : public GameMode {
public:
    void onUpdate(float fDelta) override { m_vUpdates.push_back(fDelta); }
    std::vector<float> m_vUpdates;
};

class LoadingBox : public screentest::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        m_pFiles->add("l.txt", testkit::resource("LDN_Loading Loading...\n"));
        m_app.loadStringTable("l.txt");
        // Clock picture n is 20 + n pixels wide; the base 60, the markers 50.
        picture("clock_base", 60, 64, true);
        picture("clock_markers", 50, 64, true);
        for (int n = 1; n <= 20; ++n) picture(("clock_" + std::to_string(n)).c_str(), 20 + n, 64, true);
        m_pLevel = new LevelStandIn();
        m_app.pushMode(m_pLevel);
    }
    LoadingDialog* push(const char* szHint) {
        m_pBox = new LoadingDialog();
        m_pBox->setText(szHint);
        m_app.pushMode(m_pBox);
        return m_pBox;
    }
    int handWidth() const { return m_pBox->getClockHand()->getImage()->getWidth(); }
    // Frames of the application's own loop on the fake clock.
    void frames(int nCount) {
        for (int i = 0; i < nCount; ++i) m_app.frame(m_nLast, m_nDue, false);
    }

    LevelStandIn* m_pLevel = nullptr;
    LoadingDialog* m_pBox = nullptr;
    int m_nLast = 0;
    int m_nDue = 0;  // the clock starts at 0
};

}  // namespace

TEST_F(LoadingBox, EnteringBuildsTheCentredBoxOverTheRunningLevel) {
    for (const char* szHint : {"Press Escape for the options.", ""}) {
        LoadingDialog& box = *push(szHint);
        Table& table = *box.getTable();
        EXPECT_EQ(box.getFlags(), 15u);
        EXPECT_EQ(box.getLoadingText(), "Loading...");
        EXPECT_FALSE(m_pVideo->m_bCursorVisible);
        EXPECT_EQ(table.getRowCount(), *szHint ? 2 : 1);
        ASSERT_EQ(table.getLayerCount(0, 0), 3);
        EXPECT_EQ(table.getContent(0, 0, 1).get(), box.getClockHand().get());
        // Private copies: the base on (1, -3), the cached picture untouched.
        const Sprite& base = dynamic_cast<Sprite&>(*table.getContent(0, 0, 0));
        EXPECT_EQ(base.getImage()->getInsPoint(), Point(1.0f, -3.0f));
        EXPECT_EQ(m_app.getImage("clock_base")->getInsPoint(), Point(0.0f, 0.0f));
        EXPECT_EQ(handWidth(), 21);
        int x = 0, y = 0;
        table.getPosition(&x, &y);
        EXPECT_EQ(x, (800 - table.getWidth()) / 2);
        EXPECT_EQ(y, (600 - table.getHeight()) / 2);
        EXPECT_EQ(table.getZOrder(), 10000);
        if (*szHint) {
            const Label& hint = dynamic_cast<Label&>(*table.getContent(1, 0, 0));
            EXPECT_EQ(hint.getText(), szHint);
            EXPECT_EQ(hint.getWrapWidth(), 300);
            EXPECT_EQ(hint.getLineCount(), 3);
        }
        box.endMode();
    }
}

TEST_F(LoadingBox, TheHandStepsEveryTenthOfASecondOnlyAsFramesCome) {
    push("");
    const struct {
        float fDelta;
        int nFrame;  // the step after the update
        int nWidth;  // the hand's picture: 20 + step, "empty" (2) at step 0
    } kRows[] = {
        {0.0f, 0, 21},   // not below 0 yet
        {0.03f, 1, 21},  // the first update with time steps at once (to the same picture)
        {0.03f, 1, 21}, {0.03f, 1, 21}, {0.03f, 1, 21},
        {0.03f, 2, 22},  // 0.1 - 4 x 0.03 is below 0
        {0.5f, 3, 23},   // a long frame is one step; the rest is not carried over
        {0.05f, 3, 23},  {0.06f, 4, 24},
    };
    for (const auto& row : kRows) {
        m_app.updateModes(row.fDelta);
        EXPECT_EQ(m_pBox->getClockFrame(), row.nFrame) << row.fDelta;
        EXPECT_EQ(handWidth(), row.nWidth) << row.nFrame;
    }
    for (int n = 5; n <= 20; ++n) m_app.updateModes(0.2f);
    EXPECT_EQ(handWidth(), 40);
    m_app.updateModes(0.2f);
    EXPECT_EQ(m_pBox->getClockFrame(), 0);
    EXPECT_EQ(handWidth(), 2);
    m_app.updateModes(0.2f);
    EXPECT_EQ(handWidth(), 21);
}

TEST_F(LoadingBox, UnpacedFramesNeverSleepAndTheLevelBelowKeepsRunning) {
    push("");
    m_app.setFrameRate(0);
    m_pPlatform->setWorkTimePerFrame(30);
    frames(6);
    // The clock moved only by the frames' own work: 30 ms a frame, no sleep.
    EXPECT_TRUE(m_pPlatform->m_vSleeps.empty());
    EXPECT_EQ(m_pPlatform->getTicks(), 180u);
    EXPECT_EQ(m_pLevel->m_vUpdates, std::vector<float>({0.0f, 0.03f, 0.03f, 0.03f, 0.03f, 0.03f}));
    EXPECT_EQ(m_pBox->getClockFrame(), 2);
    // Paced at 100 a second, each frame sleeps what its work left of 10 ms.
    m_app.setFrameRate(100);
    m_pPlatform->setWorkTimePerFrame(4);
    frames(1);
    m_pPlatform->m_vSleeps.clear();
    frames(24);
    EXPECT_EQ(m_pPlatform->m_vSleeps, std::vector<uint32_t>(24, 6));
    EXPECT_EQ(m_pLevel->m_vUpdates.back(), 0.01f);
    EXPECT_EQ(m_pBox->getClockFrame(), 4);
}

TEST_F(LoadingBox, FinishEndsTheBoxAtItsNextUpdateWhichStillStepsAndHidesTheCursor) {
    push("");
    m_pBox->finish();
    EXPECT_TRUE(m_pVideo->m_bCursorVisible);
    m_app.updateModes(0.01f);
    EXPECT_EQ(m_app.getTopMode(), m_pLevel);
    EXPECT_EQ(m_pBox->getClockFrame(), 1);
    EXPECT_FALSE(m_pVideo->m_bCursorVisible);
}
