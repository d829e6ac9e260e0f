// The highscore lists: their stored bytes, default tables, order and inserts.
#include <gtest/gtest.h>

#include "records/highscore_util.h"
#include "testkit/testkit_fixtures.h"

using namespace highscoretest;

namespace {

class HighscoreListsTest : public testkit::AppTest<> {};

const Rows kDefault0 = {{"Odile", 450000}, {"Pella", 445000}, {"Tamsa", 440000}, {"Brumo", 435000},
                        {"Vesko", 430000}, {"Ombo", 425000},  {"Luzz", 420000},  {"Draskina", 415000},
                        {"Quimby", 410000}, {"Zigzagga", 400000}};
const Rows kDefault1 = {{"Odile", 18000}, {"Pella", 16000}, {"Tamsa", 14000}, {"Fenna", 12000}, {"Spokella", 10000},
                        {"Kelpin", 8000}, {"Trekka", 6000}, {"Ulmar", 4000},  {"Medda", 2000},  {"Rusk", 1000}};
const Rows kDefault2 = {{"Odile", 18000}, {"Pella", 16000}, {"Tamsa", 14000}, {"Tibbo", 12000},  {"Roddo", 10000},
                        {"Zorr", 8000},   {"Oriba", 6000},  {"Barnak", 4000}, {"Quillo", 2000}, {"Halvorn", 1000}};

}  // namespace

TEST_F(HighscoreListsTest, StoredBytesOfOneRowAndOfTheDefaultTablesWrittenOnFirstLoad) {
    // 05, then 00 14 01 escaped, then the row "01 01 12 02 41 62 E8 03 01 01 01 01 12 01 01".
    EXPECT_EQ(std::string(HighscoreLists::encode({listOf({{"Ab", 1000}})}).c_str()),
              "\x05\x01\x01\x14\x01\x02\x01\x01\x12\x02\x41\x62\xE8\x03\x01\x01\x01\x01\x12\x01\x01");
    HighscoreLists lists;
    lists.load();
    EXPECT_EQ(HighscoreLists::encode(lists.lists()),
              HighscoreLists::encode({listOf(kDefault0), listOf(kDefault1), listOf(kDefault2)}));
    EXPECT_EQ(rowOf(lists.lists()[0].getLast()), "Zigzagga 400000");
    EXPECT_EQ(
        storedBytes(m_app),
        std::string("\x05").append(listBytes(kDefault0)).append(listBytes(kDefault1)).append(listBytes(kDefault2)));
}

TEST_F(HighscoreListsTest, ListsReadBackRowForRowWithTheByte01AndTheirSecondTexts) {
    Zep::List<HighscoreList> lStored = {listOf(kDefault0), listOf(kDefault1), listOf(kDefault2)};
    lStored[0][2] = HighscoreEntry("A\x01" "b", -5, "hidden\x01");
    const Zep::String sText = HighscoreLists::encode(lStored);
    EXPECT_NE(std::string(sText.c_str()).find("\x12\x03\x41\x01\x02\x62"), std::string::npos);
    m_app.setSetting(HighscoreLists::kSettingKey, sText.c_str());
    HighscoreLists back;
    back.load();
    EXPECT_EQ(HighscoreLists::encode(back.lists()), sText);
    EXPECT_EQ(back.lists()[0][2].getSecondText(), "hidden\x01");
}

TEST_F(HighscoreListsTest, AScoreGetsInOnlyAboveTheLowestAndStandsLastUntilSorted) {
    const struct {
        int nScore;
        bool bIn;
        const char* szRows;  // the last row stored, then the first and last once sorted
    } kRows[] = {{1000, false, "Rusk 1000 | Odile 18000 .. Rusk 1000"},
                 {1001, true, "New 1001 | Odile 18000 .. New 1001"},
                 {20000, true, "New 20000 | New 20000 .. Medda 2000"},
                 {-1, false, "Rusk 1000 | Odile 18000 .. Rusk 1000"}};
    for (const auto& row : kRows) {
        HighscoreList list = listOf(kDefault1);
        EXPECT_EQ(HighscoreLists::insertScore(list, row.nScore, "New"), row.bIn) << row.nScore;
        const std::string sLast = rowOf(list.getLast());
        HighscoreLists::sortList(list);
        EXPECT_EQ(sLast + " | " + rowOf(list[0]) + " .. " + rowOf(list[9]), row.szRows) << row.nScore;
    }
}

TEST_F(HighscoreListsTest, EqualScoresSwapAtEverySortSoTheFirstOfATieForLowestGoes) {
    HighscoreList list = listOf({{"A", 9}, {"B", 5}, {"C", 5}, {"D", 7}});
    HighscoreLists::sortList(list);
    EXPECT_EQ(rowsOf(list), "A 9, D 7, C 5, B 5");
    HighscoreLists::sortList(list);
    EXPECT_EQ(rowsOf(list), "A 9, D 7, B 5, C 5");
    list = listOf({{"a", 9}, {"b", 9}, {"c", 8}, {"d", 8}, {"e", 7}, {"f", 6}, {"g", 5}, {"h", 4}, {"First", 1},
                   {"Second", 1}});
    EXPECT_TRUE(HighscoreLists::insertScore(list, 2, "New"));
    EXPECT_EQ(rowsOf(list), "b 9, a 9, d 8, c 8, e 7, f 6, g 5, h 4, Second 1, New 2");
}

TEST_F(HighscoreListsTest, AddScoreStoresOnlyAScoreThatGetsIn) {
    HighscoreLists().load();
    const std::string sDefaults = m_app.getSetting(HighscoreLists::kSettingKey).c_str();
    for (int nList : {-1, 3}) EXPECT_FALSE(HighscoreLists().addScore(999999, "Eve", nList));
    EXPECT_FALSE(HighscoreLists().addScore(400000, "Eve", 0));
    EXPECT_EQ(m_app.getSetting(HighscoreLists::kSettingKey).c_str(), sDefaults);
    EXPECT_TRUE(HighscoreLists().addScore(400001, "Eve", 0));
    HighscoreList list0 = listOf(kDefault0);
    list0.removeAt(9);
    list0.add(HighscoreEntry("Eve", 400001));
    EXPECT_EQ(m_app.getSetting(HighscoreLists::kSettingKey),
              HighscoreLists::encode({list0, listOf(kDefault1), listOf(kDefault2)}));
}
