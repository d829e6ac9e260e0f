// The store's item table and its buyability rules (storeitems.h).
#include "screens/storeitems.h"

#include <algorithm>
#include <climits>

#include <zep2/error.h>

namespace {

constexpr const char* kZepSource = ".\\src\\storeitems";

constexpr StoreItems::Item kItems[StoreItems::kCount] = {
    {0, 3, 432, 437, 1},  {13, 2, 141, 299, 1}, {15, 5, 440, 262, 1}, {8, 2, 743, 360, 1},  {9, 2, 122, 424, 41},
    {14, 4, 283, 403, 41}, {12, 5, 574, 210, 1}, {15, 4, 380, 243, 41}, {15, 4, 320, 232, 1}};

int lowest(const SceneTags::Levels& levels, int nFirst, int nLast) {
    return *std::min_element(levels.begin() + nFirst, levels.begin() + nLast + 1);
}

int centrepieceLevel(const SceneTags::Levels& levels) {
    const int nLowest = lowest(levels, 10, 11);
    const int nLevel = nLowest == INT_MAX ? nLowest : nLowest + 1;
    return !StoreItems::areCentrepiecesAvailable(levels) && nLevel <= 1 ? 0 : nLevel;
}

}  // namespace

namespace StoreItems {

const Item& get(int nItem) {
    ZEP_ASSERT(nItem >= 0 && nItem < kCount);
    return kItems[nItem];
}

SceneTags::Levels levelsOf(const TUKPlayer& player) {
    SceneTags::Levels levels{};
    for (int i = 0; i < TUKPlayer::kUpgradeKinds; ++i) levels[static_cast<size_t>(i)] = player.getUpgradeLevel(i);
    return levels;
}

bool areCentrepiecesAvailable(const SceneTags::Levels& levels) {
    return ((levels[2] == 1 || levels[3] == 1) && levels[10] < 2) ||
           ((levels[4] == 1 || levels[5] == 1) && levels[11] < 2);
}

int levelShown(int nItem, const SceneTags::Levels& levels) {
    switch (nItem) {
        case 0: return levels[0];
        case 1: return lowest(levels, 2, 5);
        case 2: return lowest(levels, 6, 7);
        case 3: return levels[8];
        case 4: return levels[9];
        case 5: return centrepieceLevel(levels);
        case 6: return levels[12];
        case 7: return levels[6];
        default: return levels[7];
    }
}

bool isBuyable(int nItem, const SceneTags::Levels& levels) {
    const int nLevel = levelShown(nItem, levels);
    if (nLevel >= get(nItem).nLimit - 1) return false;
    if (nItem == 2) return nLevel == 0;
    if (nItem == 5) return areCentrepiecesAvailable(levels);
    if (nItem == 7 || nItem == 8) return nLevel >= 1;
    return true;
}

int preferredKind(int nItem, const SceneTags::Levels& levels) {
    switch (nItem) {
        case 2: return levels[6] == 0 ? 6 : 7;
        case 7: return 6;
        case 8: return 7;
        default: return -1;
    }
}

int indexOf(const void* pRow) {
    for (int i = 0; i < kCount; ++i)
        if (pRow == &kItems[i]) return i;
    return -1;
}

}  // namespace StoreItems
