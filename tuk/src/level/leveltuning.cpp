// The tuning numbers of a level (leveltuning.h).
#include "level/leveltuning.h"

#include <algorithm>

#include <zep2/error.h>

namespace {

constexpr const char* kZepSource = ".\\src\\leveltuning";

constexpr int kLastLevel = 49;
constexpr int kHardestDifficulty = 2;
constexpr int kDrinkPrice = 100;
constexpr float kCampaignDay = 150.0f;
constexpr float kClockDay = 90.0f;
constexpr int kClockCustomers = 1000;
constexpr int kLiquidTypes = 6;
constexpr int kMixedOrdersFrom = 10;
constexpr int kTwoDrinksFrom = 25;
constexpr int kHarderFrom = 30;
constexpr int kHarderFromAtHardest = 15;
constexpr float kTimeBonus = 5.0f;
constexpr float kTimePenalty = 10.0f;
constexpr float kFirstSpawn = 1.0f;

}  // namespace

void tuneLevel(LevelData& data, int nGameKind, int nLevel, int nDifficulty) {
    const int n = std::clamp(nLevel, 0, kLastLevel);
    const int d = std::clamp(nDifficulty, 0, kHardestDifficulty);
    const bool bCampaign = nGameKind == 0;
    data.m_nDrinkPrice = kDrinkPrice;
    data.m_fDayLength = bCampaign ? kCampaignDay : kClockDay;
    data.m_nDayCustomerCount = bCampaign ? 8 + n / 3 : kClockCustomers;
    data.m_nDrinksPerCustomer = n < kTwoDrinksFrom ? 1 : 2;
    data.m_nMoneyGoal = bCampaign ? 100 * (data.m_nDayCustomerCount * data.m_nDrinksPerCustomer * (5 + d) / 10) : 0;
    data.m_fBasePatience = static_cast<float>(std::max(12, 45 - n / 2 + 10 * (1 - d)));
    data.m_fCustomerPace = std::max(0.5f, 1.5f - 0.02f * static_cast<float>(n));
    data.m_lLiquids.clear();
    for (int i = 0; i < std::min(kLiquidTypes, 2 + n / 8); ++i) data.m_lLiquids.add(i);
    data.m_bMixedOrders = false;
    data.m_fMixedOrdersAt = n >= kMixedOrdersFrom ? data.m_fDayLength / 2.0f : -1.0f;
    data.m_bHarderMode = n >= kHarderFrom || (n >= kHarderFromAtHardest && d == kHardestDifficulty);
    data.m_fTimeBonus = bCampaign ? 0.0f : kTimeBonus;
    data.m_fTimePenalty = bCampaign ? 0.0f : kTimePenalty;
    data.m_fFirstSpawnDelay = kFirstSpawn;
    data.m_fSpawnInterval = std::max(2.0f, 6.0f - 0.08f * static_cast<float>(n));
}

void checkLiquids(const LevelData& data) {
    bool bUsable = !data.m_lLiquids.isEmpty();
    for (int nLiquid : data.m_lLiquids) bUsable = bUsable && nLiquid >= 0 && nLiquid < kLiquidTypes;
    if (!bUsable) ZEP_THROW(Zep::BadStateException, "No available liquids");
}
