#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "test_util.h"
#include "zep2/date.h"
#include "zep2/platform_time.h"

using Zep::Date;
using testutil::messageOf;

namespace {

int64_t g_nClock = 0;
int64_t testClock() { return g_nClock; }

// Every test runs with a fixed clock and in UTC unless it picks another zone;
// the zone from before comes back afterwards.
class DateTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("TZ")) m_sOldZone = old;
        useZone("UTC0");
        Zep::PlatformTime::setClock(testClock);
    }
    void TearDown() override {
        Zep::PlatformTime::setClock(nullptr);
        if (m_sOldZone)
            setenv("TZ", m_sOldZone->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    static void useZone(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }

    std::optional<std::string> m_sOldZone;
};

std::string dmy(const Date& d) {
    return std::to_string(d.getDay()) + "." + std::to_string(d.getMonth()) + "." + std::to_string(d.getYear());
}

// The date after the change.
template <class F>
std::string after(Date d, F&& change) {
    change(d);
    return dmy(d);
}

std::string todayAt(int64_t clock) {
    g_nClock = clock;
    return dmy(Date());
}

}  // namespace

TEST_F(DateTest, FieldsCarryOnlyWhenNormalised) {
    // Stored fields are kept, and compared, as they stand.
    EXPECT_EQ(dmy(Date(31, 2, 2023)), "31.2.2023");
    EXPECT_TRUE(Date(31, 2, 2023) > Date(3, 3, 2022));
    EXPECT_FALSE(Date(31, 2, 2023) == Date(3, 3, 2023));
    const auto normalize = [](Date& d) { d.normalize(); };
    EXPECT_EQ(after(Date(31, 2, 2023), normalize), "3.3.2023");
    EXPECT_EQ(after(Date(10, 2, 2023), [](Date& d) { d.setDay(31); }), "3.3.2023");
    // February counts in the year it falls in.
    EXPECT_EQ(after(Date(0, 0, 2024), normalize), "30.11.2023");  // the persisted bytes E8 07 00 00
    EXPECT_EQ(after(Date(91, 12, 2023), normalize), "29.2.2024");
    EXPECT_EQ(after(Date(0, 3, 2024), normalize), "29.2.2024");
    EXPECT_EQ(after(Date(0, 3, 2023), normalize), "28.2.2023");
    EXPECT_EQ(after(Date(31, 14, 2023), [](Date& d) { d.normalizeMonth(); }), "31.2.2024");  // the day stays
    for (auto [nMonth, sExpected] : {std::pair{13, "15.1.2024"}, {0, "15.12.2022"}, {-11, "15.1.2022"}})
        EXPECT_EQ(after(Date(15, 6, 2023), [&](Date& d) { d.setMonth(nMonth); }), sExpected) << nMonth;
    for (auto [date, nDays, sExpected] : {std::tuple{Date(1, 1, 2024), -1, "31.12.2023"},
                                          {Date(1, 3, 2024), -1, "29.2.2024"},
                                          {Date(1, 1, 2023), 424, "29.2.2024"},
                                          {Date(1, 1, 2000), 146097, "1.1.2400"}})  // exactly 400 years
        EXPECT_EQ(after(date, [&](Date& d) { d.addDays(nDays); }), sExpected) << nDays;
}

TEST_F(DateTest, LeapYearsAndComparisons) {
    EXPECT_TRUE(Date(1, 1, 2000).isLeapYear());
    EXPECT_FALSE(Date(1, 1, 1900).isLeapYear() || Date(1, 1, 2023).isLeapYear());
    EXPECT_TRUE(Date::isLeapYear(-400));
    EXPECT_EQ(Date::getDaysInMonth(2, 2024), 29);
    EXPECT_EQ(Date::getDaysInMonth(2, 2100), 28);
    const Date newYear(1, 1, 2024), eve(31, 12, 2023), same(1, 1, 2024);
    EXPECT_TRUE(newYear > eve && eve < newYear && !(newYear < eve) && newYear != eve);
    EXPECT_TRUE(!(newYear < same) && !(newYear > same) && newYear == same && !(newYear != same));
}

TEST_F(DateTest, ExtremeCountsCarryWithoutOverflow) {
    Date far(17, 5, 2001);
    far.addDays(INT_MAX);
    EXPECT_GT(far.getYear(), 5000000);
    EXPECT_EQ(after(far, [](Date& d) { d.addDays(-INT_MAX); }), "17.5.2001");
    Date edge(INT_MAX, INT_MAX, 2000);
    edge.normalize();
    EXPECT_TRUE(edge.getDay() >= 1 && edge.getDay() <= 31) << edge.getDay();
    Date top(INT_MAX, 12, INT_MAX);  // the year saturates instead of wrapping
    top.normalize();
    EXPECT_EQ(top.getYear(), INT_MAX);
    Date bottom(INT_MIN, INT_MIN, INT_MIN);
    bottom.normalize();
    EXPECT_EQ(bottom.getYear(), INT_MIN);
    EXPECT_GE(bottom.getMonth(), 1);
}

TEST_F(DateTest, TimestampsInUtcAndEasternTime) {
    EXPECT_EQ(Date(1, 1, 2024).toTimestamp(), 1704067200);
    EXPECT_EQ(Date(1, 7, 2024).toTimestamp(), 1719792000);
    EXPECT_EQ(Date(1, 1, 1970).toTimestamp(), 0);
    const auto from = [](int32_t nTime) { return after(Date(1, 1, 1), [&](Date& d) { d.setFromTimestamp(nTime); }); };
    EXPECT_EQ(from(1704067200 + 86399), "1.1.2024");
    EXPECT_EQ(from(-86400), "31.12.1969");  // Linux converts times before 1970 too
    EXPECT_EQ(dmy(Date(static_cast<time_t>(2570443200))), "15.6.2051");
    EXPECT_EQ(Date(1, 1, 2024).getDayOfWeek(), 1);
    EXPECT_EQ(Date(15, 6, 2051).getDayOfWeek(), 4);
    // Beyond 32-bit timestamps.
    EXPECT_EQ(Date(1, 1, 2100).toTimestamp(), -1);
    EXPECT_EQ(Date(1, 1, 2100).toTime(), 4102444800LL);
    EXPECT_EQ(Date(1, 1, 2100).getDayOfWeek(), 5);

    useZone("EST5EDT");
    EXPECT_EQ(Date(1, 1, 2024).toTimestamp(), 1704067200 + 5 * 3600);
    // Midnight is taken as standard time even in summer: 01:00 daylight time.
    EXPECT_EQ(Date(1, 7, 2024).toTimestamp(), 1719792000 + 5 * 3600);
    EXPECT_EQ(from(1704067200), "31.12.2023");  // midnight UTC is still the old year here
    EXPECT_EQ(from(1719792000 + 5 * 3600), "1.7.2024");
    EXPECT_EQ(Date(1, 7, 2024).getDayOfWeek(), 1);
    EXPECT_EQ(Date(10, 3, 2024).getDayOfWeek(), 0);  // the day the clocks change
}

TEST_F(DateTest, TodayComesFromTheClockClampedBelow1990) {
    // Clocks before 1990 and clock errors are clamped; clocks after 2030 are
    // not frozen, also past 32-bit time.
    for (auto [nClock, sExpected] : {std::pair<int64_t, const char*>{1709640000, "5.3.2024"},
                                     {631151999, "1.1.1990"},
                                     {-5, "1.1.1990"},
                                     {-1, "1.1.2030"},
                                     {1893456000 + 86400, "2.1.2030"},
                                     {2570443200, "15.6.2051"}})
        EXPECT_EQ(todayAt(nClock), sExpected) << nClock;
    g_nClock = 1704067200;
    EXPECT_EQ(after(Date(1, 1, 2000), [](Date& d) { d.setNow(); }), "1.1.2024");
    useZone("EST5EDT");
    EXPECT_EQ(todayAt(100), "31.12.1989");
    EXPECT_EQ(todayAt(-1), "31.12.2029");
}

TEST_F(DateTest, ConversionFailuresThrowWithTheTimestamp) {
    EXPECT_EQ(messageOf<Zep::FatalErrorException>([] { Date d(static_cast<time_t>(INT64_MAX)); }),
              "localtime() failed for timestamp = 7FFFFFFFFFFFFFFF, errno = " + std::to_string(EOVERFLOW));
    EXPECT_EQ(messageOf<Zep::FatalErrorException>([] { Date(1, INT_MAX, INT_MAX).getDayOfWeek(); }),
              "localtime() failed for timestamp = FFFFFFFF, errno = " + std::to_string(EOVERFLOW));
    EXPECT_THROW(Date(1, INT_MIN, 2000).getDayOfWeek(), Zep::FatalErrorException);
    EXPECT_EQ(Date(1, INT_MAX, INT_MAX).toTime(), -1);
    EXPECT_EQ(Date(1, INT_MIN, INT_MIN).toTime(), -1);
    // Far years still convert with a 64-bit time_t, but not to 32 bits.
    EXPECT_EQ(Date(1, 1, INT_MAX).toTimestamp(), -1);
    EXPECT_GT(Date(1, 1, INT_MAX).toTime(), 0);
}
