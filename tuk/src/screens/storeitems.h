// StoreItems: the nine items of the upgrade store, and which of them the
// player can buy with the upgrade levels L0 to L12.
//
//   item  purchase  level shown                         limit  a button only     place     layer
//   0     0         L0                                  3                        432, 437  1
//   1     13        lowest of L2 .. L5                  2                        141, 299  1
//   2     15        lower of L6, L7                     5      while that is 0   440, 262  1
//   3     8         L8                                  2                        743, 360  1
//   4     9         L9                                  2                        122, 424  41
//   5     14        lower of L10, L11, plus 1; 0 when   4      while centre      283, 403  41
//                   centre pieces are not available            pieces are
//                   and that is at most 1                      available
//   6     12        L12                                 5                        574, 210  1
//   7     15        L6                                  4      from 1 on         380, 243  41
//   8     15        L7                                  4      from 1 on         320, 232  1
// An item is a button (buyable) when its level shown is below its limit
// minus 1 and its condition holds. Centre pieces are available when a table
// has a chair and its centre piece is not at its last level: (L2 = 1 or
// L3 = 1) and L10 < 2, or (L4 = 1 or L5 = 1) and L11 < 2.
//
// Items 2, 7 and 8 share purchase id 15, and so one dialog, whose choices
// are both machines: the item clicked decides which of them that dialog
// opens on (preferredKind). Item 7 sells the first machine's (kind 6) next
// level, item 8 the second's (kind 7), item 2 the machine not yet bought
// (the first while neither is).
#pragma once

#include "level/scenetags.h"
#include "records/tukplayer.h"

namespace StoreItems {

constexpr int kCount = 9;

struct Item {
    int nPurchaseId;
    int nLimit;
    int x;
    int y;
    int nLayer;
};

const Item& get(int nItem);
SceneTags::Levels levelsOf(const TUKPlayer& player);
bool areCentrepiecesAvailable(const SceneTags::Levels& levels);
int levelShown(int nItem, const SceneTags::Levels& levels);
bool isBuyable(int nItem, const SceneTags::Levels& levels);
// The juice machine (kind 6 or 7) the item sells; -1 for the other items,
// whose dialog opens on its first choice.
int preferredKind(int nItem, const SceneTags::Levels& levels);
// The index of the item whose row this is (a button's callback data); -1
// for anything else, null included.
int indexOf(const void* pRow);

}  // namespace StoreItems
