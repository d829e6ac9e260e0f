// The scene's upgrade tags and their presence rules (scenetags.h).
#include "level/scenetags.h"

#include <climits>
#include <span>

#include <zep2/error.h>

#include "records/upgrademanager.h"

namespace {

constexpr const char* kZepSource = ".\\src\\scenetags";

struct TagRow {
    const char* szTag;
    int nKind;
};

constexpr TagRow kTags[SceneTags::kTagCount] = {
    {"parrot_stand", 8},    {"juicer_0", 6},        {"juicer_1", 7},        {"silla_0", 2},    {"silla_1", 3},
    {"silla_2", 4},         {"silla_3", 5},         {"mesa_0", 2},          {"mesa_1", 4},     {"center_lvl_2_0", 10},
    {"center_lvl_1_0", 10}, {"center_lvl_2_1", 11}, {"center_lvl_1_1", 11}, {"barman_0", 6},   {"barman_1", 7},
    {"prop_dispenser", 9},  {"show_1", 12},         {"show_2", 12},         {"show_3", 12},    {"show_4", 12},
    {"mantel_0", 10},       {"mantel_1", 11},       {"juicer_0_a", 6},      {"juicer_1_a", 7}, {"barman_0_a", 6},
    {"barman_1_a", 7}};

// A tag is present when the value of its kind (or of its other kind) lies in
// nMin..nMax.
struct Rule {
    const char* szTag;
    int nKind;
    int nOtherKind;  // -1: none
    int nMin;
    int nMax;
};

constexpr Rule kSpriteRules[] = {
    {"silla_0", 2, -1, 1, 1},        {"silla_1", 3, -1, 1, 1},        {"silla_2", 4, -1, 1, 1},
    {"silla_3", 5, -1, 1, 1},        {"mesa_0", 2, 3, 1, 1},          {"mesa_1", 4, 5, 1, 1},
    {"juicer_0", 6, -1, 1, 1},       {"juicer_1", 7, -1, 1, 1},       {"center_lvl_1_0", 10, -1, 1, 1},
    {"mantel_0", 10, -1, 1, 1},      {"center_lvl_2_0", 10, -1, 2, 2}, {"mantel_2", 10, -1, 2, 2},
    {"center_lvl_1_1", 11, -1, 1, 1}, {"mantel_1", 11, -1, 1, 1},      {"center_lvl_2_1", 11, -1, 2, 2},
    {"mantel_3", 11, -1, 2, 2},      {"parrot_stand", 8, -1, 1, 1}};
constexpr Rule kAnimJuicerRules[] = {{"juicer_0", 6, -1, 1, 1}, {"juicer_1", 7, -1, 1, 1}};
constexpr Rule kAnimRules[] = {{"barman_0", 6, -1, 2, 2}, {"barman_1", 7, -1, 2, 2}, {"prop_dispenser", 9, -1, 1, 1}};
constexpr Rule kBarmanRules[] = {{"barman_0", 6, -1, 2, INT_MAX}, {"barman_1", 7, -1, 2, INT_MAX}};
constexpr Rule kBongoRules[] = {{"show_1", 12, -1, 1, INT_MAX}, {"show_2", 12, -1, 2, INT_MAX}};
constexpr Rule kDancerRules[] = {{"show_3", 12, -1, 3, INT_MAX}, {"show_4", 12, -1, 4, INT_MAX}};
constexpr Rule kGlassSpotRules[] = {{"juicer_0", 6, -1, 1, 1},   {"juicer_1", 7, -1, 1, 1},
                                    {"barman_0", 6, -1, 2, 3},   {"barman_1", 7, -1, 2, 3},
                                    {"barman_0_a", 6, -1, 3, 3}, {"barman_1_a", 7, -1, 3, 3}};
// The level's other action spots, beside the sprite rules.
constexpr Rule kSpotRules[] = {{"prop_dispenser", 9, -1, 1, 1},
                               {"show_1", 12, -1, 1, INT_MAX},
                               {"show_2", 12, -1, 2, INT_MAX},
                               {"show_3", 12, -1, 3, INT_MAX},
                               {"show_4", 12, -1, 4, INT_MAX}};

constexpr int kShowKind = 12;
constexpr int kParrotKind = 8;

// e(k), except for the shows, whose rules count their level.
int valueOf(int nKind, const SceneTags::Levels& levels) {
    const int nLevel = levels[static_cast<size_t>(nKind)];
    return nKind == kShowKind ? nLevel : UpgradeManager::effectValue(nKind, nLevel);
}

bool inRange(int nValue, const Rule& rule) { return nValue >= rule.nMin && nValue <= rule.nMax; }

const Rule* findRule(std::span<const Rule> rules, const Zep::String* pTag) {
    if (!pTag) return nullptr;
    for (const Rule& rule : rules)
        if (*pTag == rule.szTag) return &rule;
    return nullptr;
}

bool isPresent(std::span<const Rule> rules, const Zep::String* pTag, const SceneTags::Levels& levels) {
    const Rule* pRule = findRule(rules, pTag);
    if (!pRule) return false;
    return inRange(valueOf(pRule->nKind, levels), *pRule) ||
           (pRule->nOtherKind >= 0 && inRange(valueOf(pRule->nOtherKind, levels), *pRule));
}

// Null past the end of the line.
const Zep::String* token(const Zep::List<Zep::String>& lTokens, int nIndex) {
    return nIndex < lTokens.getCount() ? &lTokens[nIndex] : nullptr;
}

bool isActionSpotMade(const Zep::List<Zep::String>& lTokens, const SceneTags::Levels& levels,
                      SceneTags::Reader eReader) {
    if (lTokens.getCount() < 2) return false;
    const Zep::String sTag = lTokens.getLast();
    const bool bGlassSpot = lTokens[1] == "glassspot";
    if (bGlassSpot || eReader == SceneTags::Reader::kPreview)
        return bGlassSpot && isPresent(kGlassSpotRules, &sTag, levels);
    if (findRule(kGlassSpotRules, &sTag)) return isPresent(kGlassSpotRules, &sTag, levels);
    return isPresent(kSpriteRules, &sTag, levels) || isPresent(kSpotRules, &sTag, levels);
}

}  // namespace

namespace SceneTags {

const char* getTag(int nRow) {
    ZEP_ASSERT(nRow >= 0 && nRow < kTagCount);
    return kTags[nRow].szTag;
}

int findKind(const Zep::String& sTag) {
    for (const TagRow& row : kTags)
        if (sTag == row.szTag) return row.nKind;
    return -1;
}

bool isMade(const Zep::List<Zep::String>& lTokens, const Levels& levels, Reader eReader) {
    if (lTokens.isEmpty()) return true;
    const Zep::String sKeyword = lTokens.getFirst().toLower();
    if (sKeyword == "sprite_conditional") return isPresent(kSpriteRules, token(lTokens, 5), levels);
    if (sKeyword == "animsprite_conditional") {
        if (lTokens.getCount() < 7) return false;
        const Zep::String sLast = lTokens.getLast();
        return isPresent(kAnimJuicerRules, &sLast, levels) || isPresent(kAnimRules, token(lTokens, 6), levels);
    }
    if (sKeyword == "barman") {
        const Zep::String* pTag = token(lTokens, 5);
        return (eReader == Reader::kLevel && pTag && *pTag == "base") || isPresent(kBarmanRules, pTag, levels);
    }
    if (sKeyword == "bongos") return isPresent(kBongoRules, token(lTokens, 5), levels);
    if (sKeyword == "bailarina") return isPresent(kDancerRules, token(lTokens, 7), levels);
    if (sKeyword == "parrot") return levels[kParrotKind] == 1;
    if (sKeyword == "actionspot_conditional") return isActionSpotMade(lTokens, levels, eReader);
    return true;
}

// ---- The record of one reading -----------------------------------------------------------

bool ConditionalLines::ask(int32_t nLine, const Zep::List<Zep::String>& lTokens) {
    if (m_lAsked.isEmpty() || m_lAsked.getLast() != nLine) m_lAsked.add(nLine);
    const bool bMade = isMade(lTokens, m_levels, m_eReader);
    m_nPending = bMade ? nLine : 0;
    return bMade;
}

void ConditionalLines::lineRead(int32_t nLine) {
    if (m_nPending == nLine && nLine > 0) m_lMade.add(nLine);
    m_nPending = 0;
}

}  // namespace SceneTags
