// A whole level of the demo scene, played with mouse presses only: the
// customers come, the waitress takes their orders, fetches the barman's
// drinks and serves them, the bar closes, the statistics count the day up and
// the level hands the day over and leaves.
#include <string>

#include "levelplay_util.h"

namespace {

using leveltest::DemoLevel;

TEST_F(DemoLevel, PlayedWithMousePressesFromTheFirstCustomerToTheStatisticsAndBack) {
    DayResult result;
    PlayMode& level = enter(0, &result);
    m_pPlatform->setWorkTimePerFrame(40);
    const LevelData& data = level.getLevelData();
    EXPECT_EQ(data.m_nMoneyGoal * 1000 + data.m_nDayCustomerCount, 400008);
    int nMoney = 0, nPaid = 0, nFrames = 0;
    for (; nFrames < 20000 && !top<GameStatsMode>(); ++nFrames) {
        playerMove();
        frames();
        if (data.m_nDayMoney == nMoney) continue;
        EXPECT_EQ(data.m_nDayMoney - nMoney, 100) << nFrames;  // one paid service
        nMoney = data.m_nDayMoney;
        ++nPaid;
    }
    GameStatsMode* pStats = top<GameStatsMode>();
    ASSERT_TRUE(pStats) << nFrames;
    EXPECT_EQ(nPaid * 100 + m_nOrdersTaken, 408);  // the seeded day: four of eight served in time
    EXPECT_EQ(nPaid, data.m_nCustomersServed);
    EXPECT_GE(m_nOrdersTaken, nPaid);
    EXPECT_TRUE(data.m_bBarClosed && level.getCharacters().isEmpty());
    EXPECT_EQ(level.getResumeState(), PlayMode::kDayOver);
    // Counted up under 50-ms frames; the results only at the last step.
    std::string sSteps;
    for (int i = 0; i < 400 && pStats->getStep() < GameStatsMode::kLastStep; ++i) {
        if (sSteps.empty() || sSteps.back() != '0' + pStats->getStep()) sSteps += std::to_string(pStats->getStep());
        EXPECT_EQ(data.m_nResultMoney, 0);
        frames();
    }
    EXPECT_EQ(pStats->getStep(), GameStatsMode::kLastStep) << sSteps;
    EXPECT_EQ(sSteps.substr(0, 1), "0");
    EXPECT_EQ(data.m_nResultMoney, nMoney >= 400 ? nMoney : 0);
    EXPECT_EQ(data.m_nResultStars, data.m_nDayStars);
    EXPECT_EQ(pStats->getScoreLabel()->getText(), ("$" + std::to_string(nMoney)).c_str());
    EXPECT_EQ(pStats->getCustomersLabel()->getText(), (std::to_string(nPaid) + "/8").c_str());
    const int nStars = data.m_nDayStars;
    // The button ends it; the level resumes, hands the day over and fades out.
    clickOn(*pStats->getExitButton());
    for (int i = 0; i < 200 && isLevelOnStack(); ++i) frames();
    EXPECT_FALSE(isLevelOnStack());
    EXPECT_TRUE(result.bDone);
    EXPECT_EQ(result.nDayMoney, nMoney);
    EXPECT_EQ(result.nDayStars * 1000 + result.nResultStars, nStars * 1001);
    EXPECT_EQ(result.bGoalReached, nMoney >= 400);
}

}  // namespace
