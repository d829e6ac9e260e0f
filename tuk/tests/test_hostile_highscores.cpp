// Damaged highscore settings: each row damages one part of a valid stored
// value (three lists of ten rows "P<list><row>") or cuts it.
#include <string>

#include <gtest/gtest.h>

#include "highscore_util.h"
#include "imagetest_util.h"

using namespace highscoretest;

namespace {

class HostileHighscores : public imagetest::AppTest<> {
protected:
    std::string newLog() {
        const std::string sAll = m_files.logText();
        const std::string sNew = sAll.substr(m_nLogSeen);
        m_nLogSeen = sAll.size();
        return sNew;
    }
    size_t m_nLogSeen = 0;
};

// Rows P<i>0 .. P<i>9 scoring 100 down to 91; nRows of them.
std::string storedList(int nList, int nRows) {
    std::string s = std::string("\x00\x14", 2) + static_cast<char>(nRows);
    for (int r = 0; r < nRows; ++r)
        s += std::string(1, '\0') + recordtest::str("P" + std::to_string(nList) + std::to_string(r)) +
             recordtest::le32(100 - r) + recordtest::str("");
    return s;
}

// Rows 1, 5 and 10 of each list.
std::string summary(const Zep::List<HighscoreList>& lLists) {
    std::string s;
    for (const HighscoreList& list : lLists) {
        if (list.getCount() != 10) return s + "| " + std::to_string(list.getCount()) + " rows";
        s += (s.empty() ? "" : " | ") + rowOf(list[0]) + ", " + rowOf(list[4]) + ", " + rowOf(list[9]);
    }
    return s;
}

constexpr const char* kStored0 = "P00 100, P04 96, P09 91";
constexpr const char* kStored1 = "P10 100, P14 96, P19 91";
constexpr const char* kStored2 = "P20 100, P24 96, P29 91";
constexpr const char* kDefault0 = "Odile 450000, Vesko 430000, Zigzagga 400000";
constexpr const char* kDefault1 = "Odile 18000, Spokella 10000, Rusk 1000";
constexpr const char* kDefault2 = "Odile 18000, Roddo 10000, Halvorn 1000";

std::string lists(const char* a, const char* b, const char* c) { return std::string(a) + " | " + b + " | " + c; }

std::string line(const char* szReason, const char* szRows) {
    return std::string("B: ** Highscores setting damaged : ") + szReason + "; rows read " + szRows +
           ", the rest taken from the default tables **\n";
}

}  // namespace

TEST_F(HostileHighscores, DamagedValuesLogOneLineAndGiveThreeFullListsWhileTheSettingStaysUntilAScoreGetsIn) {
    const std::string sValid = "\x05" + storedList(0, 10) + storedList(1, 10) + storedList(2, 10);
    const size_t nList1 = 1 + storedList(0, 10).size();
    std::string sVersion2 = sValid, sNameType = sValid;
    sVersion2[nList1 + 1] = 0x24;
    sNameType[nList1 + 4] = 0x13;
    const char* kBadFormat = "List::persistFrom : bad stream format";
    const struct {
        const char* szCase;
        std::string sBytes;
        std::string sLists;
        std::string sLog;
    } kRows[] = {
        {"valid", sValid, lists(kStored0, kStored1, kStored2), ""},
        {"header 06 taken as 05", "\x06" + sValid.substr(1), lists(kStored0, kStored1, kStored2), ""},
        {"legacy header 01 without its signature", "\x01" + sValid.substr(1), lists(kDefault0, kDefault1, kDefault2),
         line("Wrong ObjectStreamer signature", "none none none")},
        {"only the header", "\x05", lists(kDefault0, kDefault1, kDefault2), line(kBadFormat, "none none none")},
        {"two lists", sValid.substr(0, 1 + 2 * storedList(0, 10).size()), lists(kStored0, kStored1, kDefault2),
         line(kBadFormat, "10 10 none")},
        {"cut in the third row of list 1", sValid.substr(0, nList1 + 3 + 2 * 12 + 5),
         lists(kStored0, kDefault1, kDefault2), line("Stream::readString : bad stream format", "10 none none")},
        {"list 1 of version 2", sVersion2, lists(kStored0, kDefault1, kDefault2),
         line("List::persistFrom : unknown format version", "10 none none")},
        {"a name of type 13", sNameType, lists(kStored0, kDefault1, kDefault2),
         line("Stream::readString : bad stream format", "10 none none")},
        {"list 0 counts 11", std::string(sValid).replace(3, 1, "\x0B"), lists(kDefault0, kDefault1, kDefault2),
         line("Stream::readString : bad stream format", "none none none")},
        {"short lists", "\x05" + storedList(0, 4) + storedList(1, 10) + storedList(2, 0),
         lists("P00 100, Vesko 430000, Zigzagga 400000", kStored1, kDefault2), line("lists too short", "4 10 0")},
    };
    for (const auto& row : kRows) {
        m_app.clearSettings();
        storeBytes(m_app, row.sBytes);
        const std::string sStored = m_app.getSetting(HighscoreLists::kSettingKey).c_str();
        newLog();
        HighscoreLists loaded;
        loaded.load();
        EXPECT_EQ(summary(loaded.lists()), row.sLists) << row.szCase;
        EXPECT_EQ(newLog(), row.sLog) << row.szCase;
        EXPECT_EQ(m_app.getSetting(HighscoreLists::kSettingKey).c_str(), sStored) << row.szCase;
        // A score that gets nowhere changes nothing either; one that gets in
        // stores three full lists.
        EXPECT_FALSE(HighscoreLists().addScore(-1, "Low", 2)) << row.szCase;
        EXPECT_EQ(m_app.getSetting(HighscoreLists::kSettingKey).c_str(), sStored) << row.szCase;
        EXPECT_TRUE(HighscoreLists().addScore(1000000, "Top", 2)) << row.szCase;
        newLog();
        HighscoreLists after;
        after.load();
        EXPECT_EQ(after.lists().getCount(), 3) << row.szCase;
        const size_t nFirstTwo = row.sLists.rfind(" | ");
        EXPECT_EQ(summary(after.lists()).substr(0, nFirstTwo), row.sLists.substr(0, nFirstTwo)) << row.szCase;
        EXPECT_EQ(rowOf(after.lists()[2].getLast()), "Top 1000000") << row.szCase;
        EXPECT_EQ(newLog(), "") << row.szCase;
    }
}
