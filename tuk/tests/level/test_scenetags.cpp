// The tag rule of conditional scene lines, for the bar preview and the level,
// at every level of each tag's upgrade kind.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "level/scenetags.h"
#include "records/upgrademanager.h"

namespace {

using SceneTags::Reader;

// '1' where the line is made, one character per level of the kind, every
// other kind at level 0.
std::string madeByLevel(const char* szLine, int nKind, Reader eReader) {
    const Zep::List<Zep::String> lTokens = Zep::String(szLine).split(" ");
    std::string s;
    for (int nLevel = 0; nLevel < UpgradeManager::getLevelCount(nKind); ++nLevel) {
        SceneTags::Levels levels{};
        levels[static_cast<size_t>(nKind)] = nLevel;
        s += SceneTags::isMade(lTokens, levels, eReader) ? '1' : '0';
    }
    return s;
}

struct Row {
    const char* szLine;
    int nKind;
    const char* szMade;
};

// The preview's rules; the level agrees on every one of these lines.
const Row kSharedRows[] = {
    {"sprite_conditional img 1 2 3 parrot_stand", 8, "01"},
    {"sprite_conditional img 1 2 3 juicer_0", 6, "0100"},
    {"sprite_conditional img 1 2 3 juicer_1 name", 7, "0100"},
    {"sprite_conditional img 1 2 3 silla_0", 2, "01"},
    {"sprite_conditional img 1 2 3 silla_1", 3, "01"},
    {"sprite_conditional img 1 2 3 silla_2", 4, "01"},
    {"sprite_conditional img 1 2 3 silla_3", 5, "01"},
    {"sprite_conditional img 1 2 3 mesa_0", 2, "01"},
    {"sprite_conditional img 1 2 3 mesa_0", 3, "01"},
    {"sprite_conditional img 1 2 3 mesa_1", 4, "01"},
    {"sprite_conditional img 1 2 3 mesa_1", 5, "01"},
    {"sprite_conditional img 1 2 3 center_lvl_1_0", 10, "010"},
    {"sprite_conditional img 1 2 3 center_lvl_2_0", 10, "001"},
    {"sprite_conditional img 1 2 3 center_lvl_1_1", 11, "010"},
    {"sprite_conditional img 1 2 3 center_lvl_2_1", 11, "001"},
    {"sprite_conditional img 1 2 3 mantel_0", 10, "010"},
    {"sprite_conditional img 1 2 3 mantel_2", 10, "001"},
    {"sprite_conditional img 1 2 3 mantel_1", 11, "010"},
    {"sprite_conditional img 1 2 3 mantel_3", 11, "001"},
    {"sprite_conditional img 1 2 3 juicer_1_a", 7, "0000"},
    {"sprite_conditional img 1 2 3 barman_0", 6, "0000"},
    {"sprite_conditional img 1 2 3 prop_dispenser", 9, "00"},
    {"sprite_conditional img 1 2 3 show_1", 12, "00000"},
    {"sprite_conditional img 1 2 3 Silla_0", 2, "00"},
    {"sprite_conditional img 1 2 3", 8, "00"},
    {"animsprite_conditional a 1 2 3 name juicer_0", 6, "0100"},
    {"animsprite_conditional a 1 2 3 name juicer_1", 7, "0100"},
    {"animsprite_conditional a 1 2 3 name x juicer_0", 6, "0100"},
    {"animsprite_conditional a 1 2 3 name barman_0", 6, "0010"},
    {"animsprite_conditional a 1 2 3 name barman_1 x", 7, "0010"},
    {"animsprite_conditional a 1 2 3 name x barman_0", 6, "0000"},
    {"animsprite_conditional a 1 2 3 name prop_dispenser", 9, "01"},
    {"animsprite_conditional a 1 2 3 juicer_0", 6, "0000"},
    {"animsprite_conditional a 1 2 3 name silla_0", 2, "00"},
    {"BARMAN 1 2 3 1 barman_0", 6, "0011"},
    {"barman 1 2 3 1 barman_1", 7, "0011"},
    {"barman 1 2 3 1 barman_0_a", 6, "0000"},
    {"bongos 1 2 3 1 show_1", 12, "01111"},
    {"bongos 1 2 3 2 show_2", 12, "00111"},
    {"bongos 1 2 3 2 show_3", 12, "00000"},
    {"bailarina 1 2 3 4 5 1 show_3", 12, "00011"},
    {"bailarina 1 2 3 4 5 2 show_4", 12, "00001"},
    {"bailarina 1 2 3 4 5 1 show_1", 12, "00000"},
    {"parrot 1 2 3", 8, "01"},
    {"actionspot_conditional glassspot 1 2 3 0 0 9 9 n posavaso_1 juicer_0", 6, "0100"},
    {"actionspot_conditional glassspot 1 2 3 0 0 9 9 n posavaso_1 juicer_1", 7, "0100"},
    {"actionspot_conditional glassspot 1 2 3 0 0 9 9 n posavaso_1 barman_0", 6, "0011"},
    {"actionspot_conditional glassspot 1 2 3 0 0 9 9 n posavaso_1 barman_1", 7, "0011"},
    {"actionspot_conditional glassspot 1 2 3 0 0 9 9 n posavaso_1 barman_0_a", 6, "0001"},
    {"actionspot_conditional glassspot 1 2 3 0 0 9 9 n posavaso_1 barman_1_a", 7, "0001"},
    {"actionspot_conditional glassspot 1 2 3 0 0 9 9 n posavaso_1 juicer_0_a", 6, "0000"},
    {"actionspot_conditional glassspot 1 2 3 0 0 9 9 n posavaso_1 silla_0", 2, "00"},
    {"sprite img 1 2 3", 8, "11"},
};

}  // namespace

TEST(SceneTagsTest, PreviewAndLevelRulesAtEveryLevelOfTheTagsKind) {
    for (const Row& row : kSharedRows) {
        EXPECT_EQ(madeByLevel(row.szLine, row.nKind, Reader::kPreview), row.szMade) << row.szLine;
        EXPECT_EQ(madeByLevel(row.szLine, row.nKind, Reader::kLevel), row.szMade) << row.szLine;
    }
}

TEST(SceneTagsTest, LevelAlsoMakesTheBaseBarmanAndSpotsThePreviewSkips) {
    const Row kRows[] = {
        {"barman 1 2 3 1 base", 6, "1111"},
        {"actionspot_conditional platformjuicer 1 2 3 0 0 9 9 n posavaso_1 juicer_0", 6, "0100"},
        {"actionspot_conditional trashbin 1 2 3 0 0 9 9 n sink barman_0_a", 6, "0001"},
        {"actionspot_conditional charspot 1 2 3 0 0 9 9 n seat 1 1 silla_0", 2, "01"},
        {"actionspot_conditional charspot 1 2 3 0 0 9 9 n seat 1 -1 mesa_1", 5, "01"},
        {"actionspot_conditional charspot 1 2 3 0 0 9 9 n seat 2 center_lvl_2_1", 11, "001"},
        {"actionspot_conditional propdispenser 1 2 3 0 0 9 9 n props prop_dispenser", 9, "01"},
        {"actionspot_conditional charspot 1 2 3 0 0 9 9 n seat 0 show_2", 12, "00111"},
        {"actionspot_conditional charspot 1 2 3 0 0 9 9 n seat 0 juicer_1_a", 7, "0000"},
    };
    for (const Row& row : kRows) {
        EXPECT_EQ(madeByLevel(row.szLine, row.nKind, Reader::kLevel), row.szMade) << row.szLine;
        // The preview makes none of them.
        EXPECT_EQ(madeByLevel(row.szLine, row.nKind, Reader::kPreview), std::string(std::strlen(row.szMade), '0'))
            << row.szLine;
    }
}

TEST(SceneTagsTest, TagKindsScanTheTableCaseSensitively) {
    EXPECT_STREQ(SceneTags::getTag(0), "parrot_stand");
    EXPECT_STREQ(SceneTags::getTag(25), "barman_1_a");
    const struct {
        const char* szTag;
        int nKind;
    } kRows[] = {{"mesa_1", 4}, {"show_4", 12}, {"mantel_1", 11}, {"juicer_1_a", 7}, {"mantel_2", -1}, {"Mesa_1", -1},
                 {"base", -1}};
    for (const auto& row : kRows) EXPECT_EQ(SceneTags::findKind(row.szTag), row.nKind) << row.szTag;
}
