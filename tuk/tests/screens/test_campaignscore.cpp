// A campaign of a few days over the demo content, played with mouse presses
// from the map: each won day adds its money and stars to the record's
// totals, and the adventure's score grows by 3 points a dollar and 50 a
// star, as the day's statistics showed them.
#include <cstdio>
#include <string>

#include "level/levelplay_util.h"
#include "records/adventurescore.h"
#include "records/profileaccess.h"
#include "screens/storemode.h"
#include "screens/storymanager.h"

namespace {

class PlayedCampaign : public leveltest::DemoLevel {
protected:
    void SetUp() override {
        DemoLevel::SetUp();
        m_pPlayer = static_cast<TUKPlayer*>(getProfileManager()->createProfile("Ann"));
        m_pPlayer->setAdventureInProgress(true);  // under way: no opening cut-scene
        m_pPlayer->setStoryValue(3);
    }
    void TearDown() override {
        releaseProfileManager();
        DemoLevel::TearDown();
    }
    // Frames until the top mode is a T (at most nFrames).
    template <class T>
    T* waitFor(int nFrames = 400) {
        for (int i = 0; i < nFrames && !top<T>(); ++i) frames();
        return top<T>();
    }
    // Play, the day served by the scripted player, the statistics counted
    // up: "$<money> <stars>" as they show them; then OK, and the store the
    // map opens after a won day left at once.
    std::string playDay(StoryManagerMode& map) {
        map.onCallback(StoryManagerMode::kPlayId, nullptr);
        m_pLevel = waitFor<PlayMode>();
        if (!m_pLevel) return "no level";
        m_pPlatform->setWorkTimePerFrame(40);
        for (int i = 0; i < 20000 && !top<GameStatsMode>(); ++i) {
            playerMove();
            frames();
        }
        GameStatsMode* pStats = top<GameStatsMode>();
        if (!pStats) return "no statistics";
        for (int i = 0; i < 400 && pStats->getStep() < GameStatsMode::kLastStep; ++i) frames();
        const std::string sShown = std::string(pStats->getScoreLabel()->getText().c_str()) + " " +
                                   pStats->getStarsLabel()->getText().c_str();
        clickOn(*pStats->getExitButton());
        if (StoreMode* pStore = waitFor<StoreMode>()) pStore->onCallback(StoreMode::kBackId, nullptr);
        return waitFor<StoryManagerMode>() == &map ? sShown : "no map";
    }

    TUKPlayer* m_pPlayer = nullptr;
};

}  // namespace

TEST_F(PlayedCampaign, EachWonDayAddsThreePointsADollarAndFiftyAStar) {
    auto* pMap = new StoryManagerMode(1, 3, m_pPlayer, 0);
    m_app.pushMode(pMap);
    start(10000);
    int nScore = 0;
    for (int nDay = 1; nDay <= 3; ++nDay) {
        const std::string sShown = playDay(*pMap);
        int nMoney = 0, nStars = 0;
        ASSERT_EQ(std::sscanf(sShown.c_str(), "$%d %d", &nMoney, &nStars), 2) << "day " << nDay << ": " << sShown;
        ASSERT_EQ(m_pPlayer->getAdventureProgress(), nDay) << sShown;  // each day's goal reached
        EXPECT_GT(nMoney, 0);
        nScore += 3 * nMoney + 50 * nStars;
        EXPECT_EQ(adventurescore::score(*m_pPlayer), nScore) << "day " << nDay << ": " << sShown;
    }
    // The day's money at $100 a drink: the score counts more than that.
    EXPECT_GT(nScore, 3 * m_pPlayer->getWorkingScore(TUKPlayer::kMoneySlot));
    EXPECT_EQ(m_pPlayer->getExtraWorking(), 3);
}
