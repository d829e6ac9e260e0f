// Damaged front-end data: lines of the credits list, each changed from a
// valid one, and stored difficulty values.
#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "screens/creditslist.h"
#include "screens/gameoptions.h"
#include "testkit/testkit_fixtures.h"

namespace {

class HostileFrontEnd : public testkit::AppTest<> {};

std::string itemsOf(const std::string& sText) {
    std::string s;
    for (const creditslist::Item& item : creditslist::read(sText.c_str()))
        s += item.cKind + std::string(item.sText.c_str()) + "|";
    return s;
}

}  // namespace

TEST_F(HostileFrontEnd, CreditsLinesOutOfTheFormatAreLeftOutAndLogged) {
    const struct {
        std::string sText;
        std::string sItems;
        int nLogged;
    } kRows[] = {
        {"= KEY\n+ Name\n- Kept\n", "=KEY|+Name|-Kept|", 0},
        {"+Name\n", "", 1},   // no blank after the marker
        {"* Name\n", "", 1},  // unknown marker
        {"+ \n", "", 1},      // no text
        {"=\n", "", 1},
        {"   \n\t\n# note\n#\n", "", 0},         // blank and comment lines
        {"+  two\r\n+ x \r", "+ two|+x |", 0},   // the text as written
        {std::string("+ a\0b\n", 6), "+a|", 0},  // text ends at a NUL
        {std::string("+ ").append(5000, 'n').append("\nx").append(5000, 'y'),
         std::string("+").append(5000, 'n').append("|"), 1},
    };
    for (const auto& row : kRows) {
        const size_t nBefore = m_files.logText().size();
        EXPECT_EQ(itemsOf(row.sText), row.sItems) << row.sText.substr(0, 20);
        const std::string sLog = m_files.logText().substr(nBefore);
        int nLogged = 0;
        for (size_t n = sLog.find("left out"); n != std::string::npos; n = sLog.find("left out", n + 1)) ++nLogged;
        EXPECT_EQ(nLogged, row.nLogged) << row.sText.substr(0, 20);
        EXPECT_LT(sLog.size(), 200u);  // a long line is logged in part
    }
    std::string sMany;
    for (int i = 0; i < creditslist::kMaxItems + 5; ++i) sMany += "+ n" + std::to_string(i) + "\n";
    EXPECT_EQ(creditslist::read(sMany.c_str()).getCount(), creditslist::kMaxItems);
    EXPECT_NE(m_files.logText().find("Credits list cut after 200 items"), std::string::npos);
}

TEST_F(HostileFrontEnd, DifficultyReadsItsLeadingDigitsAndStaysInTheIntegers) {
    const std::pair<const char*, int> kRows[] = {
        {"", 0},
        {"x2", 0},
        {"2x", 2},
        {" 1", 1},
        {"+2", 2},
        {"-1", -1},
        {"007", 7},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
    };
    for (const auto& [szStored, nRead] : kRows) {
        m_app.setSetting(TUKGameOptions::kDifficultyKey, szStored);
        EXPECT_EQ(TUKGameOptions::getDifficultySetting(), nRead) << szStored;
    }
}
