// A day of the campaign is kept however the game ends after it: at the map,
// in the store or over the statistics, by the quit question's Yes or by a
// quit signal. The record read back from the settings file the shutdown
// saved holds a won day once (its progress, money, stars, days won and the
// adventure's score); a lost day ended the same ways changes nothing.
#include <csignal>
#include <string>

#include "app/tukapp.h"
#include "level/levelplay_util.h"
#include "records/adventurescore.h"
#include "records/profileaccess.h"
#include "screens/storemode.h"
#include "screens/storymanager.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_signals.h"
#include "testkit/testkit_tempdir.h"

namespace {

enum class Place { Map, Store, Statistics };
enum class Ending { Question, Signal };

struct Case {
    bool bWon;
    Place place;
    Ending ending;
};

// The campaign totals of a record as the next adventure continues from them.
struct Totals {
    int nProgress, nMoney, nMoneyTotal, nStars, nDaysWon, nScore;
    bool operator==(const Totals&) const = default;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << (c.bWon ? "won" : "lost") << ", place " << static_cast<int>(c.place) << ", ending "
         << static_cast<int>(c.ending);
}

std::ostream& operator<<(std::ostream& out, const Totals& t) {
    return out << "progress " << t.nProgress << ", $" << t.nMoney << ", total $" << t.nMoneyTotal << ", "
               << t.nStars << " stars, " << t.nDaysWon << " won, score " << t.nScore;
}

Totals totalsOf(const TUKPlayer& p) {
    const int nMoney = p.getCommittedScore(TUKPlayer::kMoneySlot), nStars = p.getCommittedScore(TUKPlayer::kStarsSlot);
    return {p.getAdventureProgress(), p.getMoney(), nMoney, nStars, p.getExtraCommitted(),
            adventurescore::score(nMoney, nStars)};
}

constexpr int kDayStars = 3;
// The most frames any screen of the road takes to come.
constexpr int kFrames = 2000;
constexpr int kOverGoal = 250;

class DayKept : public leveltest::DemoLevel, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        DemoLevel::SetUp();
        m_pFiles = std::make_unique<testkit::AppFiles>(m_dir);
        m_app.m_onModesQuit = releaseProfileManager;  // as the game's shutdown does
    }
    void TearDown() override {
        releaseProfileManager();
        m_pFiles.reset();
        DemoLevel::TearDown();
    }

    // Ann four days into the adventure, at the map.
    TUKPlayer& startAtTheMap() {
        auto* p = static_cast<TUKPlayer*>(getProfileManager()->createProfile("Ann"));
        m_app.setSetting("CurrentPlayerName", "Ann");
        p->setAdventureInProgress(true);
        p->setAdventureProgress(4);
        p->setMoney(900);
        p->setWorkingScore(TUKPlayer::kMoneySlot, 2400);
        p->setWorkingScore(TUKPlayer::kStarsSlot, 30);
        p->setExtraWorking(4);
        p->commitScores(0);
        m_app.pushMode(new StoryManagerMode(1, 3, p, 0));
        start(10000);
        frames(2);
        return *p;
    }
    // Play; the day's clock cut short on the day's money and stars; the
    // statistics up. The day's money.
    int playDay(bool bWon) {
        const Zep::SmartPtr<Button> pPlay = top<StoryManagerMode>()->getPlayButton();
        clickOn(*pPlay);
        m_pLevel = waitFor<PlayMode>(kFrames);
        if (!m_pLevel) return -1;
        frames(2);
        LevelData& data = m_pLevel->getLevelData();
        data.m_nDayMoney = bWon ? data.m_nMoneyGoal + kOverGoal : data.m_nMoneyGoal - 100;
        data.m_nDayStars = kDayStars;
        data.m_fDayLength = data.m_fTimePlayed;
        return waitFor<GameStatsMode>(kFrames) ? data.m_nDayMoney : -1;
    }
    // From the statistics to the place: their count ended and closed, the
    // store that a won day opens, back from it to the map.
    bool reach(Place place) {
        if (place == Place::Statistics) return true;
        GameStatsMode* pStats = top<GameStatsMode>();
        for (int i = 0; i < 2000 && pStats->getStep() < GameStatsMode::kLastStep; ++i) frames();
        clickOn(*pStats->getExitButton());
        if (GetParam().bWon) {
            if (!waitFor<StoreMode>(kFrames)) return false;
            if (place == Place::Store) return true;
            top<StoreMode>()->onCallback(StoreMode::kBackId, nullptr);
        }
        return waitFor<StoryManagerMode>(kFrames) != nullptr;
    }
    // The game ends, and its shutdown saves the settings file.
    void end(Ending ending) {
        if (ending == Ending::Question) {
            auto* pAsk = new TUKExitConfirmMode(TUKApp::kExitQueries);
            m_app.pushMode(pAsk);
            frames();
            pAsk->onCallback(0, nullptr);  // Yes
        } else {
            testkit::QuitSignals signals;
            std::raise(SIGTERM);
            frames();
        }
        ASSERT_TRUE(m_app.isQuitting());
        m_app.shutdown();
    }
    // The next start: the settings file read, the profiles made from it.
    Totals readBack() {
        m_app.clearSettings();
        m_app.loadSettings();
        const ProfileData* p = getProfileManager()->getProfile("Ann");
        return p ? totalsOf(*static_cast<const TUKPlayer*>(p)) : Totals{};
    }

    testkit::TempDir m_dir;
    std::unique_ptr<testkit::AppFiles> m_pFiles;
};

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    const char* aszPlaces[] = {"AtTheMap", "InTheStore", "OverTheStatistics"};
    return std::string(info.param.bWon ? "Won" : "Lost") + aszPlaces[static_cast<int>(info.param.place)] +
           (info.param.ending == Ending::Question ? "ByTheQuestion" : "ByASignal");
}

}  // namespace

TEST_P(DayKept, TheNextStartHoldsAWonDayOnceAndNothingOfALostOne) {
    const Case c = GetParam();
    const Totals before = totalsOf(startAtTheMap());
    const int nDayMoney = playDay(c.bWon);
    ASSERT_GT(nDayMoney, 0);
    ASSERT_TRUE(reach(c.place));
    end(c.ending);
    Totals expected = before;
    if (c.bWon) {
        const int nTotal = before.nMoneyTotal + nDayMoney, nStars = before.nStars + kDayStars;
        expected = {before.nProgress + 1, before.nMoney + nDayMoney, nTotal, nStars, before.nDaysWon + 1,
                    adventurescore::score(nTotal, nStars)};
    }
    EXPECT_EQ(readBack(), expected) << "before: " << before;
}

INSTANTIATE_TEST_SUITE_P(, DayKept,
                         ::testing::Values(Case{true, Place::Map, Ending::Question},
                                           Case{true, Place::Map, Ending::Signal},
                                           Case{true, Place::Store, Ending::Question},
                                           Case{true, Place::Store, Ending::Signal},
                                           Case{true, Place::Statistics, Ending::Question},
                                           Case{true, Place::Statistics, Ending::Signal},
                                           Case{false, Place::Map, Ending::Question},
                                           Case{false, Place::Map, Ending::Signal},
                                           Case{false, Place::Statistics, Ending::Question},
                                           Case{false, Place::Statistics, Ending::Signal}),
                         caseName);
