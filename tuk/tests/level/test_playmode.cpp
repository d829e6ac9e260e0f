// The level's play mode: frame order, the command queue, walk areas and the
// waitress's walk within one area, money and popups.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "actors/barfixture.h"
#include "level/playmode.h"
#include "sprite/spritetest_util.h"
#include "actors/waitress.h"

namespace {

using Lines = std::vector<std::string>;

// Done at its nPolls-th poll (0: never polled before it is done).
class RecordingCommand : public IWaitressCommand {
public:
    RecordingCommand(std::string sName, int nPolls, Lines& lines)
        : m_sName(std::move(sName)), m_nPollsLeft(nPolls), m_rLines(lines) {}
    void execute(PlayMode&) override { m_rLines.push_back(m_sName + " run"); }
    bool isDone(PlayMode&) override {
        const bool bDone = --m_nPollsLeft <= 0;
        m_rLines.push_back(m_sName + (bDone ? " done" : " busy"));
        return bDone;
    }

private:
    std::string m_sName;
    int m_nPollsLeft;
    Lines& m_rLines;
};

class PlayModeTest : public spritetest::AppWithScreen<> {
protected:
    void SetUp() override {
        AppWithScreen::SetUp();
        m_app.initCaches();
        bartest::addBarContent(m_app);
    }
    // One walk area and the waitress at her start in it.
    Waitress& withWaitress() {
        m_mode.addWalkArea(Rect(250, 560, 450, 650), 300);
        m_mode.getLevelData().m_pWaitress = new Waitress(&m_mode, "char0_odile", 400, 620, 2);
        return *m_mode.getLevelData().m_pWaitress;
    }
    Zep::SmartPtr<IWaitressCommand> command(const char* szName, int nPolls) {
        return new RecordingCommand(szName, nPolls, m_lines);
    }
    // The lines of one frame.
    std::string frame() {
        m_lines.clear();
        m_mode.onUpdate(0.01f);
        std::string s;
        for (const std::string& sLine : m_lines) s += (s.empty() ? "" : ", ") + sLine;
        return s;
    }

    PlayMode m_mode{nullptr, nullptr, "scene0", 0, 0, 1};
    Lines m_lines;
};

}  // namespace

TEST_F(PlayModeTest, CommandsRunOneAtATimeTheNextInThePollThatDropsTheDoneOne) {
    m_mode.queueCommand(command("walk", 3));
    m_mode.queueCommand(command("turn", 1));
    m_mode.queueCommand(command("use", 2));
    const char* kFrames[] = {"walk run", "walk busy", "walk busy", "walk done, turn run", "turn done, use run",
                             "use busy", "use done", ""};
    for (const char* szFrame : kFrames) EXPECT_EQ(frame(), szFrame);
    EXPECT_TRUE(m_mode.getCurrentCommand().isNULL());

    m_mode.queueCommand(command("a", 5));
    m_mode.queueCommand(command("b", 1));
    EXPECT_EQ(frame(), "a run");
    m_mode.clearCommands();
    EXPECT_EQ(frame(), "");
    EXPECT_EQ(m_mode.getQueuedCommandCount(), 0);
}

TEST_F(PlayModeTest, FrameRunsMugsThenCommands) {
    Zep::SmartPtr<Mug> pMug = Mug::create(&m_mode, "vaso");
    m_mode.getLevelData().m_lMugs.add(pMug);
    m_mode.queueCommand(command("walk", 1));
    EXPECT_EQ(frame(), "walk run");
    EXPECT_EQ(frame(), "walk done");
    EXPECT_FLOAT_EQ(pMug->getShineTime(), 0.02f);
}

TEST_F(PlayModeTest, WalkAreasFirstInOrderWinsRightAndBottomEdgesExcluded) {
    m_mode.addWalkArea(Rect(0, 400, 800, 532), 200);
    m_mode.addWalkArea(Rect(0, 528, 800, 640), 400);
    const struct {
        int x, y, nDepth;
    } kRows[] = {{0, 400, 200}, {799, 531, 200}, {800, 500, -1}, {10, 530, 200}, {10, 532, 400},
                 {10, 639, 400}, {10, 640, -1},  {-1, 450, -1},  {10, 399, -1}};
    for (const auto& row : kRows)
        EXPECT_EQ(m_mode.getWalkAreaDepth(row.x, row.y), row.nDepth) << row.x << "," << row.y;
    EXPECT_EQ(m_mode.getLevelData().m_nWalkBandTop, 400);
    EXPECT_EQ(m_mode.getLevelData().m_nWalkBandBottom, 640);
}

TEST_F(PlayModeTest, WalkInOneAreaStaysInsideEveryFrameAndEndsAtTheTarget) {
    Waitress& waitress = withWaitress();
    EXPECT_TRUE(m_mode.canTakeClick());
    m_mode.walkWaitressTo(300, 600);
    ASSERT_TRUE(m_mode.isWaitressWalking());
    EXPECT_FALSE(m_mode.canTakeClick());
    int nFrames = 0;
    for (; m_mode.isWaitressWalking() && nFrames < 200; ++nFrames) {
        m_mode.onUpdate(0.01f);
        if (nFrames == 0) {  // west, with north blended in
            EXPECT_TRUE(waitress.isWalking() && waitress.getHeading() == 3 && waitress.getSecondHeading() == 0);
        }
        EXPECT_EQ(m_mode.getWalkAreaDepth(waitress.getX(), waitress.getY()), 300) << "frame " << nFrames;
    }
    // 2.98 pixels west a frame; north 2.235 a frame, never past 600. Within
    // 2 pixels of the target after 33 frames.
    EXPECT_EQ(nFrames, 33);
    float fX = 0.0f, fY = 0.0f;
    waitress.getPositionF(&fX, &fY);
    EXPECT_NEAR(fX, 301.66f, 0.01f);
    EXPECT_EQ(fY, 600.0f);
    EXPECT_TRUE(waitress.isIdle() && !waitress.isWalking() && m_mode.canTakeClick());
}

// A target off the areas is taken to their nearest point (it used to start
// no walk at all, so a click there was lost); one with no path, or within
// five pixels of her, starts none.
TEST_F(PlayModeTest, TargetWithinFivePixelsOrWithoutAPathStartsNoWalkOneOffTheAreasGoesToTheNearestPoint) {
    Waitress& waitress = withWaitress();
    m_mode.addWalkArea(Rect(450, 560, 700, 650), 310);  // touches the first one only at its edge
    const struct {
        int x, y;
        bool bWalks;
        int nToX, nToY;  // where the walk marker stands
    } kRows[] = {{405, 615, false, 0, 0},   {395, 625, false, 0, 0},   {406, 620, true, 406, 620},
                 {400, 614, true, 400, 614}, {300, 700, true, 300, 649}, {200, 600, true, 250, 600},
                 {449, 649, true, 449, 649}, {500, 600, false, 0, 0},   {100, 900, true, 250, 649}};
    for (const auto& row : kRows) {
        m_mode.walkWaitressTo(row.x, row.y);
        EXPECT_EQ(m_mode.isWaitressWalking(), row.bWalks) << row.x << "," << row.y;
        if (row.bWalks) {
            EXPECT_EQ(m_mode.getWalkMarker()->getX() * 1000 + m_mode.getWalkMarker()->getY(),
                      row.nToX * 1000 + row.nToY)
                << row.x << "," << row.y;
        }
        m_mode.stopWaitressWalk();
        EXPECT_EQ(waitress.getX() * 1000 + waitress.getY(), 400620);
    }
}

TEST_F(PlayModeTest, MoneyStarsAndPopupsByGameKind) {
    const struct {
        int nKind;
        int nResult;
        int nPopups;
    } kRows[] = {{0, 3, 3}, {1, 3, 2}, {2, 30, 3}};
    for (const auto& row : kRows) {
        auto* pMode = new bartest::HandBuiltLevel(nullptr, nullptr, "scene1", 4, row.nKind, 0);
        m_app.pushMode(pMode);
        PlayMode& mode = *pMode;
        mode.addMoney(1, 3, 100);
        mode.addMoney(1, 0, 50);
        mode.showMoneyPopup(10, 20);
        mode.showStarBonus(1, 3);
        mode.showStarBonus(1, 0);
        mode.showTimePopup(5, 6, "+10 sec", 255, 255, 255, 1.5f);
        const LevelData& data = mode.getLevelData();
        EXPECT_EQ(data.m_nDayMoney * 100 + data.m_nDayStars, 15003) << row.nKind;
        EXPECT_EQ(mode.getCustomerResults().getFirst(), row.nResult);
        ASSERT_EQ(mode.getPopups().getCount(), row.nPopups) << row.nKind;
        const PlayMode::Popup& time = mode.getPopups().getLast();
        EXPECT_STREQ(time.sText.c_str(), "+10 sec");
        EXPECT_EQ(time.color, Color(255, 255, 255, 255));
        EXPECT_FLOAT_EQ(time.fSeconds, 1.5f);
        pMode->endMode();
        m_app.deleteEndedModes();
    }
}

// The day's money and stars stop at the largest value an int holds.
TEST_F(PlayModeTest, TheDaysMoneyAndStarsStopAtTheLargestValue) {
    LevelData& data = m_mode.getLevelData();
    data.m_nDayMoney = INT32_MAX - 50;
    data.m_nDayStars = INT32_MAX - 1;
    m_mode.addMoney(1, 2, 100);
    m_mode.addMoney(1, 2, 100);
    EXPECT_EQ(data.m_nDayMoney, INT32_MAX);
    EXPECT_EQ(data.m_nDayStars, INT32_MAX);
}
