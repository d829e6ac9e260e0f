// PurchaseOptions: the variant choices of the purchase dialog. Purchase ids
// 0 to 12 buy that upgrade kind; 13 (chairs), 14 (centre pieces) and 15
// (juice machines) let the player choose which, by variant id:
//   variant id    3  4  5  6  7   8   9  10
//   kind          2  3  4  5  10  11  6  7
// The choices offered, in order, with the player's levels L:
//   13: chair j = 0..3 (kind 2 + j, variant 3 + j) while it has a price (it
//       is not at its last level), "UPG_Radio_Chair<j>";
//   14: centre piece j = 0, 1 (kind 10 + j, variant 7 + j) while its table
//       stands (table 0: L2 = 1 or L3 = 1; table 1: L4 = 1 or L5 = 1) and
//       it is at level 0 or 1, "UPC_Radio_Center_<j>_<level>";
//   15: juice machine j = 0, 1 (kind 6 + j, variant 9 + j) at level 0, 1 or
//       2, "UPC_Radio_Juicer_<j>_0", "_2" or "_3" by that level.
// Other purchase ids have none.
#pragma once

#include <zep2/list.h>
#include <zep2/str.h>

#include "level/scenetags.h"

namespace PurchaseOptions {

constexpr int kFirstVariantId = 3;
constexpr int kLastVariantId = 10;
constexpr int kFirstGroupId = 13;

struct Option {
    int nVariantId;
    int nKind;
    Zep::String sKey;
};

// The kind a variant id selects; -1 for any other id.
int kindOfVariant(int nVariantId);
Zep::List<Option> offered(int nPurchaseId, const SceneTags::Levels& levels);

}  // namespace PurchaseOptions
