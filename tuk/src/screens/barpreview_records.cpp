// The preview's candidates of the variant purchases: each tied by a record to
// the variant choices and levels at which it belongs to the bar (barpreview.h).
//
// For the row of the candidate's tag, with e the effect value of the row's
// kind (or of its other kind): shown when e lies in the row's range; else
// hidden (made invisible, and a highlight unless the row says not) when e is
// the row's hidden value, or for the chairs whatever e is; else dropped (no
// record, not in the preview). Every record not dropped joins the records and
// its sprite the preview.
//   chairs (purchase 13), tag token 5, name token 6:
//     "silla_0".."silla_3"  variant 3..6, level 1, shown at e(2)..e(5) = 1
//     "mesa_0"  variants 3, 4, level 1, shown at e(2) = 1 or e(3) = 1
//     "mesa_1"  variants 5, 6, level 1, shown at e(4) = 1 or e(5) = 1
//   centre pieces (14), tag token 5, name token 6: variant 7 with e(10),
//     8 with e(11); "center_lvl_1_j", "mantel_0", "mantel_1" level 1,
//     "center_lvl_2_j", "mantel_2", "mantel_3" level 2: shown at e = level,
//     hidden at e = level - 1 ("mantel_2", "mantel_3" without highlight)
//   juice machines (15), variant 9 with e(6), 10 with e(7):
//     "juicer_j"    level 1, shown at 1, hidden at 0
//     "barman_j"    levels 2, 3, shown at 2 or 3, hidden at 1 (for an
//                   animated sprite shown at 2 only)
//     "barman_j_a"  level 3, shown at 3, hidden at 2
//   The keyword says where the tag stands and which rows apply: a glass spot
//   its last token, all six; "sprite_conditional" token 5, the juicer rows,
//   name token 6; "animsprite_conditional" the last token for the juicer
//   rows, token 6 for the barman rows, name token 5; a barman's sprite token
//   5, the barman rows. A tag of no row drops the sprite.
#include "screens/barpreview.h"

#include <array>
#include <climits>
#include <cstring>

#include <zep2/error.h>

namespace {

constexpr const char* kZepSource = ".\\src\\barpreview_records";

constexpr int kAnyOther = INT_MIN;  // hidden whenever not shown

}  // namespace

struct BarPreview::RecordRow {
    const char* szTag;
    std::array<int, 2> aVariants;  // 0: none
    std::array<int, 2> aLevels;    // 0: none
    int nKind;
    int nOtherKind;  // -1: none
    int nShownMin;
    int nShownMax;
    int nHiddenAt;
    bool bHighlight;
};

namespace {

using Row = BarPreview::RecordRow;

constexpr Row kChairRows[] = {
    {"silla_0", {3, 0}, {1, 0}, 2, -1, 1, 1, kAnyOther, true},
    {"silla_1", {4, 0}, {1, 0}, 3, -1, 1, 1, kAnyOther, true},
    {"silla_2", {5, 0}, {1, 0}, 4, -1, 1, 1, kAnyOther, true},
    {"silla_3", {6, 0}, {1, 0}, 5, -1, 1, 1, kAnyOther, true},
    {"mesa_0", {3, 4}, {1, 0}, 2, 3, 1, 1, kAnyOther, true},
    {"mesa_1", {5, 6}, {1, 0}, 4, 5, 1, 1, kAnyOther, true},
};

constexpr Row kCentreRows[] = {
    {"center_lvl_1_0", {7, 0}, {1, 0}, 10, -1, 1, 1, 0, true},
    {"center_lvl_2_0", {7, 0}, {2, 0}, 10, -1, 2, 2, 1, true},
    {"center_lvl_1_1", {8, 0}, {1, 0}, 11, -1, 1, 1, 0, true},
    {"center_lvl_2_1", {8, 0}, {2, 0}, 11, -1, 2, 2, 1, true},
    {"mantel_0", {7, 0}, {1, 0}, 10, -1, 1, 1, 0, true},
    {"mantel_1", {8, 0}, {1, 0}, 11, -1, 1, 1, 0, true},
    {"mantel_2", {7, 0}, {2, 0}, 10, -1, 2, 2, 1, false},
    {"mantel_3", {8, 0}, {2, 0}, 11, -1, 2, 2, 1, false},
};

constexpr Row kJuicerRows[] = {
    {"juicer_0", {9, 0}, {1, 0}, 6, -1, 1, 1, 0, true},
    {"juicer_1", {10, 0}, {1, 0}, 7, -1, 1, 1, 0, true},
};

constexpr Row kBarmanRows[] = {
    {"barman_0", {9, 0}, {2, 3}, 6, -1, 2, 3, 1, true},
    {"barman_1", {10, 0}, {2, 3}, 7, -1, 2, 3, 1, true},
};

constexpr Row kBarmanSpotRows[] = {
    {"barman_0_a", {9, 0}, {3, 0}, 6, -1, 3, 3, 2, true},
    {"barman_1_a", {10, 0}, {3, 0}, 7, -1, 3, 3, 2, true},
};

// An animated sprite of a barman's machine shows at level 2 only.
constexpr Row kAnimatedBarmanRows[] = {
    {"barman_0", {9, 0}, {2, 3}, 6, -1, 2, 2, 1, true},
    {"barman_1", {10, 0}, {2, 3}, 7, -1, 2, 2, 1, true},
};

template <size_t N>
const Row* findRow(const Row (&aRows)[N], const Zep::String& sTag) {
    for (const Row& row : aRows)
        if (sTag == row.szTag) return &row;
    return nullptr;
}

Zep::List<int> listOf(const std::array<int, 2>& aValues) {
    Zep::List<int> lValues;
    for (int n : aValues)
        if (n != 0) lValues.add(n);
    return lValues;
}

}  // namespace

void BarPreview::addChairSprite(const Zep::SmartPtr<Sprite>& pSprite, const Line& line) {
    ZEP_TRACE("BarPreview::addChairSprite");
    const Row* pRow = findRow(kChairRows, line.lTokens[5]);
    if (pRow && addRecord(pSprite, *pRow) && line.lTokens.getCount() >= 7)
        m_hNamedSprites.set(line.lTokens[6], pSprite);
}

void BarPreview::addCenterSprite(const Zep::SmartPtr<Sprite>& pSprite, const Line& line) {
    ZEP_TRACE("BarPreview::addCenterSprite");
    const Row* pRow = findRow(kCentreRows, line.lTokens[5]);
    if (pRow && addRecord(pSprite, *pRow) && line.lTokens.getCount() >= 7)
        m_hNamedSprites.set(line.lTokens[6], pSprite);
}

void BarPreview::addJuicerSprite(const Zep::SmartPtr<Sprite>& pSprite, const Line& line, const char* szKeyword) {
    ZEP_TRACE("BarPreview::addJuicerSprite");
    const Zep::List<Zep::String>& lTokens = line.lTokens;
    const Zep::String sLast = lTokens.getLast();
    const Row* pRow = nullptr;
    int nName = -1;
    if (std::strcmp(szKeyword, "actionspot_conditional") == 0) {
        pRow = findRow(kJuicerRows, sLast);
        if (!pRow) pRow = findRow(kBarmanRows, sLast);
        if (!pRow) pRow = findRow(kBarmanSpotRows, sLast);
    } else if (std::strcmp(szKeyword, "sprite_conditional") == 0) {
        pRow = findRow(kJuicerRows, lTokens[5]);
        nName = 6;
    } else if (std::strcmp(szKeyword, "animsprite_conditional") == 0) {
        pRow = findRow(kJuicerRows, sLast);
        if (!pRow) pRow = findRow(kAnimatedBarmanRows, lTokens[6]);
        nName = 5;
    } else {
        pRow = findRow(kBarmanRows, lTokens[5]);
    }
    if (pRow && addRecord(pSprite, *pRow) && nName >= 0 && lTokens.getCount() > nName)
        m_hNamedSprites.set(lTokens[nName], pSprite);
}

bool BarPreview::addRecord(const Zep::SmartPtr<Sprite>& pSprite, const RecordRow& row) {
    const auto shownAt = [&row](int e) { return e >= row.nShownMin && e <= row.nShownMax; };
    const int e = effect(row.nKind);
    const bool bShown = shownAt(e) || (row.nOtherKind >= 0 && shownAt(effect(row.nOtherKind)));
    if (!bShown && row.nHiddenAt != kAnyOther && e != row.nHiddenAt) return false;
    UpgradeConditionalSprite record;
    record.m_lVariantIds = listOf(row.aVariants);
    record.m_pSprite = pSprite;
    record.m_bShown = bShown;
    record.m_lLevels = listOf(row.aLevels);
    if (!bShown) pSprite->setVisible(false);
    append(pSprite, !bShown && row.bHighlight);
    m_lRecords.add(record);
    return true;
}
