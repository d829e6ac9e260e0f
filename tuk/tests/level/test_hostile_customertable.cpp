// Damaged customer tables: each row changes one thing of a valid table with
// a comment, blank lines and both kinds, and asserts the customers read or
// the exact error with the line an editor shows.
#include <string>

#include <gtest/gtest.h>

#include <zep2/error.h>

#include "level/customertable.h"

namespace {

// Lines 1 to 7: a comment, two ordinary customers around a blank line, two
// blank lines, a VIP.
const std::string kValid = "# name kind voice\nana normal 1\n\nbea normal 2\n\n\nvip_1 vip 2\n";

std::string replaced(std::string sText, const std::string& sFrom, const std::string& sTo) {
    for (size_t n = sText.find(sFrom); !sFrom.empty() && n != std::string::npos; n = sText.find(sFrom, n + sTo.size()))
        sText.replace(n, sFrom.size(), sTo);
    return sText;
}

std::string outcome(const std::string& sText) {
    try {
        const CustomerTable table = CustomerTable::parse("customers.txt", sText.c_str());
        const int nCount = table.getEntries(false).getCount() + table.getEntries(true).getCount();
        if (nCount > 5) return std::to_string(nCount) + " customers";
        std::string s;
        for (bool bVip : {false, true})
            for (const CustomerEntry& entry : table.getEntries(bVip))
                s += std::string(entry.sName.c_str()) + (bVip ? " vip " : " ") + std::to_string(entry.nVoice) + ";";
        return s;
    } catch (const Zep::BadStreamFormatException& e) {
        return e.getMessage();
    }
}

}  // namespace

TEST(HostileCustomerTable, DamagedTablesGiveTheLineAnEditorShows) {
    const std::string sName32(32, 'n'), sName33(33, 'n');
    const std::string sMany = [] {
        std::string s;
        for (int i = 0; i < 1000; ++i) s.append("c").append(std::to_string(i)).append(" normal 1\n");
        return s;
    }();
    const struct {
        std::string sFrom, sTo;
        bool bCrlf;  // every line ended by CR LF
        std::string sOutcome;
    } kRows[] = {
        {"", "", false, "ana 1;bea 2;vip_1 vip 2;"},
        {"", "", true, "ana 1;bea 2;vip_1 vip 2;"},
        {" ", "\t", false, "ana 1;bea 2;vip_1 vip 2;"},
        {"ana normal 1", "ana normal 1 # the first", false, "ana 1;bea 2;vip_1 vip 2;"},
        {"vip_1 vip 2", "vip_1 vip", false, "Customer table customers.txt, line 7 : need 3 tokens: name, kind, voice"},
        {"vip_1 vip 2", "vip_1 vip 2 3", false,
         "Customer table customers.txt, line 7 : need 3 tokens: name, kind, voice"},
        {"vip_1 vip 2", "vip_1 vipp 2", false, "Customer table customers.txt, line 7 : unknown kind 'vipp'"},
        {"vip_1 vip 2", "vip_1 vipp 2", true, "Customer table customers.txt, line 7 : unknown kind 'vipp'"},
        {"bea normal", "bea Normal", false, "Customer table customers.txt, line 4 : unknown kind 'Normal'"},
        {"bea ", "be-a ", false, "Customer table customers.txt, line 4 : bad name 'be-a'"},
        {"bea ", sName32 + " ", false, "ana 1;" + sName32 + " 2;vip_1 vip 2;"},
        {"bea ", sName33 + " ", false, "Customer table customers.txt, line 4 : bad name '" + sName33 + "'"},
        {"normal 2", "normal 0", false, "Customer table customers.txt, line 4 : bad voice '0'"},
        {"normal 2", "normal -2", false, "Customer table customers.txt, line 4 : bad voice '-2'"},
        {"normal 2", "normal 2x", false, "Customer table customers.txt, line 4 : bad voice '2x'"},
        {"normal 2", "normal 999999999", false, "ana 1;bea 999999999;vip_1 vip 2;"},
        {"normal 2", "normal 1000000000", false, "Customer table customers.txt, line 4 : bad voice '1000000000'"},
        {"normal", "vip", false, "Customer table customers.txt : no \"normal\" customer"},
        {kValid, "", false, "Customer table customers.txt : no \"normal\" customer"},
        {kValid, "\n\n", true, "Customer table customers.txt : no \"normal\" customer"},
        {kValid, sMany, false, "1000 customers"},
        {kValid, sMany + "\nlast normal 1", false,
         "Customer table customers.txt, line 1002 : more than 1000 customers"},
    };
    for (const auto& row : kRows) {
        std::string sText = replaced(kValid, row.sFrom, row.sTo);
        if (row.bCrlf) sText = replaced(sText, "\n", "\r\n");
        EXPECT_EQ(outcome(sText), row.sOutcome) << row.sFrom << " -> " << row.sTo;
    }
}
