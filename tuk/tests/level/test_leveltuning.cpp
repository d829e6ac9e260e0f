// Level tuning by game kind, level index and difficulty; the play mode's use
// of it.
#include <gtest/gtest.h>

#include "level/leveltuning.h"
#include "level/playmode.h"

TEST(LevelTuningTest, CampaignTableAtFourLevelsAndThreeDifficulties) {
    const struct {
        int n, d;
        int nCustomers, nDrinks, nGoal, nPatience, nLiquids;
        float fPace, fMixedAt, fSpawnInterval;
        bool bHarder;
    } kRows[] = {
        {0, 0, 8, 1, 400, 55, 2, 1.5f, -1.0f, 6.0f, false},     {0, 1, 8, 1, 400, 45, 2, 1.5f, -1.0f, 6.0f, false},
        {0, 2, 8, 1, 500, 35, 2, 1.5f, -1.0f, 6.0f, false},     {10, 0, 11, 1, 500, 50, 3, 1.3f, 75.0f, 5.2f, false},
        {10, 1, 11, 1, 600, 40, 3, 1.3f, 75.0f, 5.2f, false},   {10, 2, 11, 1, 700, 30, 3, 1.3f, 75.0f, 5.2f, false},
        {25, 0, 16, 2, 1600, 43, 5, 1.0f, 75.0f, 4.0f, false},  {25, 1, 16, 2, 1900, 33, 5, 1.0f, 75.0f, 4.0f, false},
        {25, 2, 16, 2, 2200, 23, 5, 1.0f, 75.0f, 4.0f, true},   {49, 0, 24, 2, 2400, 31, 6, 0.52f, 75.0f, 2.08f, true},
        {49, 1, 24, 2, 2800, 21, 6, 0.52f, 75.0f, 2.08f, true}, {49, 2, 24, 2, 3300, 12, 6, 0.52f, 75.0f, 2.08f, true},
    };
    for (const auto& row : kRows) {
        LevelData data;
        data.m_bMixedOrders = true;
        tuneLevel(data, 0, row.n, row.d);
        EXPECT_EQ(data.m_nDrinkPrice, 100);
        EXPECT_EQ(data.m_fDayLength, 150.0f);
        EXPECT_EQ(data.m_nDayCustomerCount, row.nCustomers) << row.n << "/" << row.d;
        EXPECT_EQ(data.m_nDrinksPerCustomer, row.nDrinks) << row.n << "/" << row.d;
        EXPECT_EQ(data.m_nMoneyGoal, row.nGoal) << row.n << "/" << row.d;
        EXPECT_EQ(data.m_fBasePatience, static_cast<float>(row.nPatience)) << row.n << "/" << row.d;
        EXPECT_FLOAT_EQ(data.m_fCustomerPace, row.fPace) << row.n;
        ASSERT_EQ(data.m_lLiquids.getCount(), row.nLiquids) << row.n;
        EXPECT_EQ(data.m_lLiquids.getLast(), row.nLiquids - 1);
        EXPECT_FALSE(data.m_bMixedOrders);
        EXPECT_EQ(data.m_fMixedOrdersAt, row.fMixedAt) << row.n;
        EXPECT_EQ(data.m_bHarderMode, row.bHarder) << row.n << "/" << row.d;
        EXPECT_EQ(data.m_fTimeBonus + data.m_fTimePenalty, 0.0f);
        EXPECT_EQ(data.m_fFirstSpawnDelay, 1.0f);
        EXPECT_FLOAT_EQ(data.m_fSpawnInterval, row.fSpawnInterval) << row.n;
    }
}

TEST(LevelTuningTest, ClockKindsAndLimitedInputs) {
    const struct {
        int nKind, n, d;
        float fDay;
        int nCustomers, nGoal, nPatience;
        float fBonus, fPenalty, fMixedAt;
    } kRows[] = {
        {1, 10, 1, 90.0f, 1000, 0, 40, 5.0f, 10.0f, 45.0f},   {2, 0, 0, 90.0f, 1000, 0, 55, 5.0f, 10.0f, -1.0f},
        {2, 80, 2, 90.0f, 1000, 0, 12, 5.0f, 10.0f, 45.0f},   {0, -4, 1, 150.0f, 8, 400, 45, 0.0f, 0.0f, -1.0f},
        {0, 0, 7, 150.0f, 8, 500, 35, 0.0f, 0.0f, -1.0f},     {0, 60, -3, 150.0f, 24, 2400, 31, 0.0f, 0.0f, 75.0f},
    };
    for (const auto& row : kRows) {
        LevelData data;
        tuneLevel(data, row.nKind, row.n, row.d);
        EXPECT_EQ(data.m_fDayLength, row.fDay) << row.nKind << ":" << row.n;
        EXPECT_EQ(data.m_nDayCustomerCount, row.nCustomers) << row.nKind << ":" << row.n;
        EXPECT_EQ(data.m_nMoneyGoal, row.nGoal) << row.nKind << ":" << row.n;
        EXPECT_EQ(data.m_fBasePatience, static_cast<float>(row.nPatience)) << row.nKind << ":" << row.n;
        EXPECT_EQ(data.m_fTimeBonus, row.fBonus);
        EXPECT_EQ(data.m_fTimePenalty, row.fPenalty);
        EXPECT_EQ(data.m_fMixedOrdersAt, row.fMixedAt) << row.nKind << ":" << row.n;
    }
}

TEST(LevelTuningTest, HarderLevelSetsEveryMachinesFlag) {
    const struct {
        int nLevel, nDifficulty;
        bool bHarder;
    } kRows[] = {{14, 2, false}, {15, 2, true}, {29, 1, false}, {30, 0, true}};
    for (const auto& row : kRows) {
        PlayMode mode(nullptr, nullptr, "scene0", row.nLevel, 0, row.nDifficulty);
        LevelData& data = mode.getLevelData();
        data.m_lDrinkMachines.add(new DrinkMachine);
        data.m_lDrinkMachines.add(new DrinkMachine);
        mode.setLevelDifficulty();
        EXPECT_EQ(data.m_bHarderMode, row.bHarder) << row.nLevel;
        for (const Zep::SmartPtr<DrinkMachine>& pMachine : data.m_lDrinkMachines)
            EXPECT_EQ(pMachine->getDifficultyFlag(), row.bHarder) << row.nLevel;
        EXPECT_EQ(data.m_nDayCustomerCount, 8 + row.nLevel / 3);
    }
}
