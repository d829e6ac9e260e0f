// The load clock's CLOCK lines on the console and in the log.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "application/loadclock.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_tempdir.h"

TEST(LoadClock, MarkLinesOnTheConsoleAndInTheLog) {
    testkit::TempDir dir;
    testkit::AppFiles files(dir);
    testkit::TestApp app;
    clockReset();
    testing::internal::CaptureStdout();
    clockMark("load");
    setClockOutput(false, true);
    clockMark("quiet");
    setClockOutput(true, true);
    const std::string sOut = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(std::regex_match(sOut, std::regex("CLOCK : load :  *[0-9]+\\.[0-9]{2} \\[acc  *[0-9]+\\.[0-9]{2}\\]\n")))
        << sOut;
    EXPECT_NE(std::string::npos, files.logText().find("CLOCK : quiet : "));
}
