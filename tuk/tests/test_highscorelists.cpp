// The highscore lists: their stored bytes, default tables, order and inserts.
#include <string>

#include <gtest/gtest.h>

#include "highscore_util.h"
#include "imagetest_util.h"

using namespace highscoretest;

namespace {

class HighscoreListsTest : public imagetest::AppTest<> {
protected:
    std::string setting() const { return m_app.getSetting(HighscoreLists::kSettingKey).c_str(); }
};

const Rows kDefault0 = {{"Odile", 450000}, {"Pella", 445000}, {"Tamsa", 440000}, {"Brumo", 435000},
                        {"Vesko", 430000}, {"Ombo", 425000},  {"Luzz", 420000},  {"Draskina", 415000},
                        {"Quimby", 410000}, {"Zigzagga", 400000}};
const Rows kDefault1 = {{"Odile", 18000}, {"Pella", 16000}, {"Tamsa", 14000}, {"Fenna", 12000}, {"Spokella", 10000},
                        {"Kelpin", 8000}, {"Trekka", 6000}, {"Ulmar", 4000},  {"Medda", 2000},  {"Rusk", 1000}};
const Rows kDefault2 = {{"Odile", 18000}, {"Pella", 16000}, {"Tamsa", 14000}, {"Tibbo", 12000},  {"Roddo", 10000},
                        {"Zorr", 8000},   {"Oriba", 6000},  {"Barnak", 4000}, {"Quillo", 2000}, {"Halvorn", 1000}};

}  // namespace

TEST_F(HighscoreListsTest, OneRowIsStoredAsTheEscapedStreamBytes) {
    const Zep::String sText = HighscoreLists::encode({listOf({{"Ab", 1000}})});
    // 05, then 00 14 01 escaped, then the row "01 01 12 02 41 62 E8 03 01 01 01 01 12 01 01".
    EXPECT_EQ(std::string(sText.c_str()), std::string("\x05\x01\x01\x14\x01\x02"
                                                      "\x01\x01\x12\x02\x41\x62\xE8\x03\x01\x01\x01\x01\x12\x01\x01"));
}

TEST_F(HighscoreListsTest, AnEmptySettingGivesTheDefaultTablesAndStoresThem) {
    HighscoreLists lists;
    lists.load();
    ASSERT_EQ(lists.lists().getCount(), 3);
    EXPECT_EQ(rowsOf(lists.lists()[0]), rowsOf(listOf(kDefault0)));
    EXPECT_EQ(rowsOf(lists.lists()[1]), rowsOf(listOf(kDefault1)));
    EXPECT_EQ(rowsOf(lists.lists()[2]), rowsOf(listOf(kDefault2)));
    EXPECT_EQ(lists.lists()[0].getLast().getScore(), 400000);
    EXPECT_EQ(storedBytes(m_app), "\x05" + listBytes(kDefault0) + listBytes(kDefault1) + listBytes(kDefault2));
}

TEST_F(HighscoreListsTest, StoredListsReadBackRowForRowWithTheirSecondTexts) {
    Zep::List<HighscoreList> lStored = {listOf({{"A\x01" "b", -5}, {"", 0}}), listOf(kDefault1), HighscoreList()};
    lStored[1][3] = HighscoreEntry("Kept", 7, "hidden\x01");
    for (int i = 0; i < 8; ++i) lStored[2].add(HighscoreEntry("x", 2147483647 - i));
    const Zep::String sText = HighscoreLists::encode(lStored);
    // 0x01 in a name is escaped as 01 02.
    EXPECT_NE(std::string(sText.c_str()).find("\x12\x03\x41\x01\x02\x62"), std::string::npos);
    m_app.setSetting(HighscoreLists::kSettingKey, sText.c_str());
    HighscoreLists back;
    back.load();
    ASSERT_EQ(back.lists().getCount(), 3);
    // Short lists were padded (lists 0 and 2), so the rows read come first.
    EXPECT_EQ(back.lists()[0][0].getName(), "A\x01" "b");
    EXPECT_EQ(back.lists()[0][0].getScore(), -5);
    EXPECT_EQ(back.lists()[1][3].getSecondText(), "hidden\x01");
    EXPECT_EQ(back.lists()[2][7].getScore(), 2147483640);
    const Zep::List<HighscoreList> lFull = {listOf(kDefault0), lStored[1], listOf(kDefault2)};
    m_app.setSetting(HighscoreLists::kSettingKey, HighscoreLists::encode(lFull).c_str());
    HighscoreLists again;
    again.load();
    EXPECT_EQ(HighscoreLists::encode(again.lists()), HighscoreLists::encode(lFull));
}

TEST_F(HighscoreListsTest, InsertsGetInOnlyAboveALowerRowAndStandLast) {
    const struct {
        int nScore;
        bool bIn;
        const char* szLast;    // the last stored row afterwards
        const char* szSorted;  // first and last row once sorted
    } kRows[] = {
        {1000, false, "Rusk 1000", "Odile 18000 .. Rusk 1000"},
        {1001, true, "New 1001", "Odile 18000 .. New 1001"},
        {20000, true, "New 20000", "New 20000 .. Medda 2000"},
        {-1, false, "Rusk 1000", "Odile 18000 .. Rusk 1000"},
    };
    for (const auto& row : kRows) {
        HighscoreList list = listOf(kDefault1);
        EXPECT_EQ(HighscoreLists::insertScore(list, row.nScore, "New"), row.bIn) << row.nScore;
        EXPECT_EQ(list.getCount(), 10);
        EXPECT_EQ(rowOf(list.getLast()), row.szLast) << row.nScore;
        HighscoreLists::sortList(list);
        EXPECT_EQ(rowOf(list[0]) + " .. " + rowOf(list[9]), row.szSorted) << row.nScore;
    }
}

TEST_F(HighscoreListsTest, EqualScoresSwapAtEverySortAndTheFirstOfATieForLowestGoes) {
    HighscoreList list = listOf({{"A", 9}, {"B", 5}, {"C", 5}, {"D", 7}});
    HighscoreLists::sortList(list);
    EXPECT_EQ(rowsOf(list), "A 9, D 7, C 5, B 5");
    HighscoreLists::sortList(list);
    EXPECT_EQ(rowsOf(list), "A 9, D 7, B 5, C 5");
    // Ten rows, the last two tied at 1: the sort before the removal turns them round.
    HighscoreList full = listOf({{"a", 9}, {"b", 9}, {"c", 8}, {"d", 8}, {"e", 7}, {"f", 6}, {"g", 5}, {"h", 4},
                                 {"First", 1}, {"Second", 1}});
    EXPECT_TRUE(HighscoreLists::insertScore(full, 2, "New"));
    EXPECT_EQ(rowsOf(full), "b 9, a 9, d 8, c 8, e 7, f 6, g 5, h 4, Second 1, New 2");
}

TEST_F(HighscoreListsTest, AddScoreSavesOnlyWhatGetsIn) {
    HighscoreLists first;
    first.load();
    const std::string sDefaults = setting();
    HighscoreLists equal;
    EXPECT_FALSE(equal.addScore(400000, "Eve", 0));
    EXPECT_EQ(setting(), sDefaults);
    EXPECT_TRUE(HighscoreLists().addScore(400001, "Eve", 0));
    const Rows kNew0 = {{"Odile", 450000}, {"Pella", 445000}, {"Tamsa", 440000}, {"Brumo", 435000},
                        {"Vesko", 430000}, {"Ombo", 425000},  {"Luzz", 420000},  {"Draskina", 415000},
                        {"Quimby", 410000}, {"Eve", 400001}};
    EXPECT_EQ(storedBytes(m_app), "\x05" + listBytes(kNew0) + listBytes(kDefault1) + listBytes(kDefault2));
    const std::string sAfter = setting();
    EXPECT_FALSE(HighscoreLists().addScore(999999, "Eve", 3));
    EXPECT_FALSE(HighscoreLists().addScore(999999, "Eve", -1));
    EXPECT_EQ(setting(), sAfter);
}
