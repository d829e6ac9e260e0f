// The checked formatter: string-table texts used as formats only when their
// conversions are exactly the expected ones.
#include <string>

#include <gtest/gtest.h>

#include "testkit/testkit_fixtures.h"
#include "records/textformat.h"

namespace {

enum Values { kInt, kDouble, kTwoInts, kThreeInts };

Zep::String formatted(const char* szFormat, Values eValues) {
    switch (eValues) {
        case kInt: return formatText(szFormat, 42);
        case kDouble: return formatText(szFormat, 1.5);
        case kTwoInts: return formatText(szFormat, 3, 7);
        case kThreeInts: return formatText(szFormat, 1, 0, 5);
    }
    return Zep::String();
}

int countOf(const std::string& sText, const std::string& sPart) {
    int n = 0;
    for (size_t i = sText.find(sPart); i != std::string::npos; i = sText.find(sPart, i + 1)) ++n;
    return n;
}

class TextFormatTest : public testkit::AppTest<> {};

}  // namespace

TEST_F(TextFormatTest, AcceptedFormatsAreFormattedOthersShownAsTheyAreAndLoggedOnce) {
    const struct {
        const char* szFormat;
        Values eValues;
        const char* szShown;
        const char* szExpected;  // the conversions named in the log line; null when accepted
    } kRows[] = {
        {"Price: %d", kInt, "Price: 42", nullptr},
        {"%-4i|%+03d", kTwoInts, "3   |+07", nullptr},
        {"+%.1f sec", kDouble, "+1.5 sec", nullptr},
        {"%lf %%", kDouble, "1.500000 %", nullptr},
        {"%#8.2E", kDouble, "1.50E+00", nullptr},
        {"%d:%02d", kTwoInts, "3:07", nullptr},
        {"Version %d.%d.%d", kThreeInts, "Version 1.0.5", nullptr},
        {"100%% sure: %d", kInt, "100% sure: 42", nullptr},
        {"Name %s", kInt, "Name %s", "%d"},
        {"%d and %d", kInt, "%d and %d", "%d"},
        {"%d:%02d", kThreeInts, "%d:%02d", "%d %d %d"},
        {"Cost %d %", kInt, "Cost %d %", "%d"},
        {"50%% off", kInt, "50%% off", "%d"},
        {"%f seconds", kInt, "%f seconds", "%d"},
        {"%d seconds", kDouble, "%d seconds", "%f"},
        {"%ld", kInt, "%ld", "%d"},
        {"%*d", kInt, "%*d", "%d"},
        {"%1$d", kInt, "%1$d", "%d"},
        {"%100d", kInt, "%100d", "%d"},
        {"%.100f", kDouble, "%.100f", "%f"},
        {"%n%d", kInt, "%n%d", "%d"},
    };
    for (const auto& row : kRows) {
        EXPECT_STREQ(formatted(row.szFormat, row.eValues).c_str(), row.szShown) << row.szFormat;
        EXPECT_STREQ(formatted(row.szFormat, row.eValues).c_str(), row.szShown) << row.szFormat;
        if (!row.szExpected) continue;
        const std::string sLine =
            std::string("B: ** Text shown as it is, no format for ") + row.szExpected + " : " + row.szFormat + " **\n";
        EXPECT_EQ(countOf(m_files.logText(), sLine), 1) << row.szFormat;
    }
    EXPECT_EQ(countOf(m_files.logText(), "B: ** Text shown"), 13);
}
