// Damaged highscore settings: each row damages one part of a valid stored
// value (three lists of ten rows "P<list><row>") or cuts it.
#include <gtest/gtest.h>

#include <zep2/str.h>

#include "records/highscore_util.h"
#include "testkit/testkit_fixtures.h"

using namespace highscoretest;

namespace {

class HostileHighscores : public testkit::AppTest<> {
protected:
    std::string newLog() {
        const std::string sAll = m_files.logText(), sNew = sAll.substr(m_nLogSeen);
        m_nLogSeen = sAll.size();
        return sNew;
    }
    std::string setting() const { return m_app.getSetting(HighscoreLists::kSettingKey).c_str(); }
    size_t m_nLogSeen = 0;
};

// nRows rows P<list>0, P<list>1, ... scoring 100, 99, ...
std::string storedList(int nList, int nRows) {
    std::string s = std::string("\x00\x14", 2) + static_cast<char>(nRows);
    for (int r = 0; r < nRows; ++r)
        s.append(1, '\0')
            .append(recordtest::str(Zep::String::format("P%d", nList * 10 + r).c_str()))
            .append(recordtest::le32(100 - r))
            .append(recordtest::str(""));
    return s;
}

// The first rows of lists 0 and 1; each list must have ten.
std::string firstRows(const Zep::List<HighscoreList>& lLists) {
    std::string s;
    for (const HighscoreList& list : lLists) s += list.getCount() == 10 ? "" : "short! ";
    return s + rowOf(lLists[0][0]) + ", " + rowOf(lLists[0][9]) + " | " + rowOf(lLists[1][0]);
}

std::string line(const char* szReason, const char* szRows) {
    return std::string("B: ** Highscores setting damaged : ") + szReason + "; rows read " + szRows +
           ", the rest taken from the default tables **\n";
}

}  // namespace

TEST_F(HostileHighscores, DamagedValuesLogOneLineAndGiveThreeFullListsWhileTheSettingStaysUntilAScoreGetsIn) {
    const std::string sValid =
        std::string("\x05").append(storedList(0, 10)).append(storedList(1, 10)).append(storedList(2, 10));
    // sValid with the byte at nAt changed to c.
    const auto changed = [&sValid](size_t nAt, char c) {
        std::string s = sValid;
        s[nAt] = c;
        return s;
    };
    const size_t nList1 = 1 + storedList(0, 10).size();
    const std::string sStored = "P0 100, P9 91 | P10 100", sDefaults = "Odile 450000, Zigzagga 400000 | Odile 18000";
    const std::string sFirstOnly = "P0 100, P9 91 | Odile 18000";
    const char* kBadList = "List::persistFrom : bad stream format";
    const char* kBadString = "Stream::readString : bad stream format";
    const struct {
        const char* szCase;
        std::string sBytes, sRows, sLog;
    } kRows[] = {
        {"valid", sValid, sStored, ""},
        {"header 06 taken as 05", changed(0, '\x06'), sStored, ""},
        {"list 0 in the older form", std::string(sValid).replace(2, 2, std::string("\x01tsL\x0A\0\0\0", 8)), sStored,
         ""},
        {"legacy header 01 without its signature", changed(0, '\x01'), sDefaults,
         line("Wrong ObjectStreamer signature", "none none none")},
        {"only the header", "\x05", sDefaults, line(kBadList, "none none none")},
        {"two lists", sValid.substr(0, nList1 + storedList(1, 10).size()), sStored, line(kBadList, "10 10 none")},
        {"cut in the third row of list 1", sValid.substr(0, nList1 + 3 + 2 * 12 + 5), sFirstOnly,
         line(kBadString, "10 none none")},
        {"list 1 of version 2", changed(nList1 + 1, '\x24'), sFirstOnly,
         line("List::persistFrom : unknown format version", "10 none none")},
        {"a name of type 13", changed(nList1 + 4, '\x13'), sFirstOnly, line(kBadString, "10 none none")},
        {"list 0 counts 11", changed(3, '\x0B'), sDefaults, line(kBadString, "none none none")},
        {"short lists", std::string("\x05").append(storedList(0, 4)).append(storedList(1, 10)).append(storedList(2, 0)),
         "P0 100, Zigzagga 400000 | P10 100", line("lists too short", "4 10 0")},
    };
    for (const auto& row : kRows) {
        m_app.clearSettings();
        storeBytes(m_app, row.sBytes);
        const std::string sBefore = setting();
        newLog();
        HighscoreLists loaded;
        loaded.load();
        EXPECT_EQ(firstRows(loaded.lists()), row.sRows) << row.szCase;
        EXPECT_EQ(newLog(), row.sLog) << row.szCase;
        EXPECT_FALSE(HighscoreLists().addScore(-1, "Low", 2)) << row.szCase;
        EXPECT_EQ(setting(), sBefore) << row.szCase;
        // A score that gets in stores three full lists, read without a complaint.
        EXPECT_TRUE(HighscoreLists().addScore(1000000, "Top", 2)) << row.szCase;
        newLog();
        HighscoreLists after;
        after.load();
        EXPECT_EQ(firstRows(after.lists()) + " " + rowOf(after.lists()[2][9]), row.sRows + " Top 1000000")
            << row.szCase;
        EXPECT_EQ(newLog(), "") << row.szCase;
    }
}
