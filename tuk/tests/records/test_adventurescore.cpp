// The adventure's score over the campaign's fifty days as the level tuning
// sets them, against the Adventure records' default table.
#include <algorithm>
#include <climits>

#include <gtest/gtest.h>

#include "level/leveltuning.h"
#include "records/adventurescore.h"
#include "records/cappedsum.h"
#include "records/highscorelists.h"
#include "records/tukplayer.h"

namespace {

struct Campaign {
    int32_t nMoney = 0;
    int32_t nStars = 0;
};

// Two campaigns over the fifty days at difficulty d. The best the rules
// allow: every guest that the spawning brings within the day served every
// drink it wants at the least, each paying the price and earning both
// stars. Only the goals: each day's money exactly its goal, from drinks
// that all earned both stars.
void playFiftyDays(int d, Campaign& best, Campaign& goalsOnly) {
    constexpr int kStarsPerDrink = 2;
    for (int n = 0; n < 50; ++n) {
        LevelData day;
        tuneLevel(day, 0, n, d);
        const int nArrivals = 1 + static_cast<int>((day.m_fDayLength - day.m_fFirstSpawnDelay) / day.m_fSpawnInterval);
        const int nDrinks = std::min(day.m_nDayCustomerCount, nArrivals) * day.m_nDrinksPerCustomer;
        best.nMoney += nDrinks * day.m_nDrinkPrice;
        best.nStars += nDrinks * kStarsPerDrink;
        goalsOnly.nMoney += day.m_nMoneyGoal;
        goalsOnly.nStars += day.m_nMoneyGoal / day.m_nDrinkPrice * kStarsPerDrink;
    }
}

// The place the score takes in the default Adventure list: 1 to 10, or 0
// when it does not get in.
int placeInDefaults(int32_t nScore) {
    HighscoreList list = HighscoreLists::defaultList(0);
    if (!HighscoreLists::insertScore(list, nScore, "Ann")) return 0;
    HighscoreLists::sortList(list);
    for (int i = 0; i < list.getCount(); ++i)
        if (list[i].getName() == "Ann") return i + 1;
    return -1;
}

}  // namespace

TEST(AdventureScore, OverTheFiftyDaysTheBestTopsTheRecordsAndTheGoalsAloneStayOut) {
    const struct {
        int d;
        int32_t nBest, nGoalsOnlyMoney, nGoalsOnly;
    } kRows[] = {
        {0, 516800, 64000, 256000},
        {1, 516800, 75400, 301600},
        {2, 516800, 88300, 353200},
    };
    for (const auto& row : kRows) {
        Campaign best, goalsOnly;
        playFiftyDays(row.d, best, goalsOnly);
        EXPECT_EQ(best.nMoney, 129200) << row.d;  // 1292 drinks
        EXPECT_EQ(best.nStars, 2584) << row.d;
        EXPECT_EQ(goalsOnly.nMoney, row.nGoalsOnlyMoney) << row.d;
        const int32_t nBest = adventurescore::score(best.nMoney, best.nStars);
        const int32_t nGoalsOnly = adventurescore::score(goalsOnly.nMoney, goalsOnly.nStars);
        EXPECT_EQ(nBest, row.nBest) << row.d;
        EXPECT_EQ(nGoalsOnly, row.nGoalsOnly) << row.d;
        EXPECT_GT(nBest, 450000);
        EXPECT_EQ(placeInDefaults(nBest), 1) << row.d;
        EXPECT_LT(nGoalsOnly, 400000);
        EXPECT_EQ(placeInDefaults(nGoalsOnly), 0) << row.d;
        // The money alone, as the records took it before: never in.
        EXPECT_EQ(placeInDefaults(best.nMoney), 0) << row.d;
    }
}

TEST(AdventureScore, ThePlayersMoneyAndStarsCountAndTheScoreNeverWraps) {
    const struct {
        int32_t nMoney, nStars, nScore;
    } kRows[] = {{700, 9, 2550}, {INT_MAX / 3, 1, INT_MAX}, {INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, INT_MIN}};
    for (const auto& row : kRows) {
        TUKPlayer player;
        player.setWorkingScore(TUKPlayer::kMoneySlot, row.nMoney);
        player.setWorkingScore(TUKPlayer::kStarsSlot, row.nStars);
        player.setWorkingScore(2, 12345);  // no other slot counts
        EXPECT_EQ(adventurescore::score(player), row.nScore) << row.nMoney << " " << row.nStars;
    }
    EXPECT_EQ(cappedSum(INT_MIN, -1), INT_MIN);
}
