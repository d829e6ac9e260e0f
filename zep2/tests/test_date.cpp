#include <ctime>
#include <optional>

#include <zep2/date.h>
#include <zep2/platform_time.h>

#include "test_util.h"

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
        useZone(m_sOldZone ? m_sOldZone->c_str() : nullptr);
    }
    static void useZone(const char* zone) {  // null: no TZ at all
        zone ? setenv("TZ", zone, 1) : unsetenv("TZ");
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
    EXPECT_TRUE(Date(31, 2, 2023) > Date(3, 3, 2022) && Date(31, 12, 2023) < Date(1, 1, 2024) &&
                Date(31, 2, 2023) != Date(3, 3, 2023) && !(Date(1, 1, 2024) < Date(1, 1, 2024)));
    // February counts in the year it falls in; 0.0.2024 is the persisted E8 07 00 00.
    for (auto [date, sExpected] : {std::pair{Date(31, 2, 2023), "3.3.2023"}, {Date(0, 0, 2024), "30.11.2023"},
                                   {Date(91, 12, 2023), "29.2.2024"}, {Date(0, 3, 2024), "29.2.2024"},
                                   {Date(0, 3, 2023), "28.2.2023"}, {Date(29, 2, 2100), "1.3.2100"},
                                   {Date(29, 2, 2000), "29.2.2000"}})
        EXPECT_EQ(after(date, [](Date& d) { d.normalize(); }), sExpected);
    EXPECT_EQ(after(Date(10, 2, 2023), [](Date& d) { d.setDay(31); }), "3.3.2023");
    EXPECT_EQ(after(Date(31, 14, 2023), [](Date& d) { d.normalizeMonth(); }), "31.2.2024");  // the day stays
    for (auto [nMonth, sExpected] : {std::pair{13, "15.1.2024"}, {0, "15.12.2022"}, {-11, "15.1.2022"}})
        EXPECT_EQ(after(Date(15, 6, 2023), [nMonth = nMonth](Date& d) { d.setMonth(nMonth); }), sExpected) << nMonth;
    for (auto [date, nDays, sExpected] : {std::tuple{Date(1, 1, 2024), -1, "31.12.2023"},
                                          {Date(1, 3, 2024), -1, "29.2.2024"}, {Date(1, 1, 2023), 424, "29.2.2024"},
                                          {Date(1, 1, 2000), 146097, "1.1.2400"}})  // exactly 400 years
        EXPECT_EQ(after(date, [nDays = nDays](Date& d) { d.addDays(nDays); }), sExpected) << nDays;
}

TEST_F(DateTest, ExtremeCountsCarryWithoutOverflow) {
    Date far(17, 5, 2001);
    far.addDays(INT_MAX);
    EXPECT_GT(far.getYear(), 5000000);
    EXPECT_EQ(after(far, [](Date& d) { d.addDays(-INT_MAX); }), "17.5.2001");
    // The year saturates instead of wrapping.
    Date edge(INT_MAX, INT_MAX, 2000), top(INT_MAX, 12, INT_MAX), bottom(INT_MIN, INT_MIN, INT_MIN);
    for (Date* pDate : {&edge, &top, &bottom}) pDate->normalize();
    EXPECT_TRUE(edge.getDay() >= 1 && edge.getDay() <= 31) << edge.getDay();
    EXPECT_TRUE(top.getYear() == INT_MAX && bottom.getYear() == INT_MIN && bottom.getMonth() >= 1);
}

TEST_F(DateTest, TimestampsInUtcAndEasternTime) {
    // Beyond 32 bits only toTime converts; times before 1970 convert too.
    for (auto [date, nTime, nDayOfWeek] : {std::tuple{Date(1, 1, 2024), 1704067200LL, 1}, {Date(1, 1, 1970), 0LL, 4},
                                           {Date(15, 6, 2051), 2570400000LL, 4}, {Date(1, 1, 2100), 4102444800LL, 5}}) {
        EXPECT_TRUE(date.toTime() == nTime && date.toTimestamp() == (nTime <= INT32_MAX ? nTime : -1) &&
                    date.getDayOfWeek() == nDayOfWeek) << nTime;
    }
    const auto from = [](int32_t nTime) { return after(Date(1, 1, 1), [&](Date& d) { d.setFromTimestamp(nTime); }); };
    EXPECT_EQ(from(1704067200 + 86399) + " " + from(-86400) + " " + dmy(Date(static_cast<time_t>(2570443200))),
              "1.1.2024 31.12.1969 15.6.2051");
    useZone("EST5EDT");
    // Midnight is taken as standard time even in summer: 01:00 daylight time.
    EXPECT_TRUE(Date(1, 1, 2024).toTimestamp() == 1704067200 + 5 * 3600 &&
                Date(1, 7, 2024).toTimestamp() == 1719792000 + 5 * 3600);
    // Midnight UTC is still the old year here; 10.3.2024 is the day the clocks change.
    EXPECT_EQ(from(1704067200) + " " + from(1719792000 + 5 * 3600), "31.12.2023 1.7.2024");
    EXPECT_EQ(Date(1, 7, 2024).getDayOfWeek() * 10 + Date(10, 3, 2024).getDayOfWeek(), 10);
}

TEST_F(DateTest, TodayComesFromTheClockClampedBelow1990) {
    // Clocks before 1990 and clock errors are clamped; clocks after 2030 are
    // not frozen, also past 32-bit time.
    for (auto [nClock, sExpected] : {std::pair<int64_t, const char*>{1709640000, "5.3.2024"}, {631151999, "1.1.1990"},
                                     {-5, "1.1.1990"}, {-1, "1.1.2030"}, {1893456000 + 86400, "2.1.2030"},
                                     {2570443200, "15.6.2051"}})
        EXPECT_EQ(todayAt(nClock), sExpected) << nClock;
    g_nClock = 1704067200;
    EXPECT_EQ(after(Date(1, 1, 2000), [](Date& d) { d.setNow(); }), "1.1.2024");
    useZone("EST5EDT");
    EXPECT_EQ(todayAt(100) + " " + todayAt(-1), "31.12.1989 31.12.2029");
}

TEST_F(DateTest, ConversionFailuresThrowWithTheTimestamp) {
    EXPECT_EQ(messageOf<Zep::FatalErrorException>([] { Date d(static_cast<time_t>(INT64_MAX)); }),
              "localtime() failed for timestamp = 7FFFFFFFFFFFFFFF, errno = " + std::to_string(EOVERFLOW));
    EXPECT_EQ(messageOf<Zep::FatalErrorException>([] { Date(1, INT_MAX, INT_MAX).getDayOfWeek(); }),
              "localtime() failed for timestamp = FFFFFFFF, errno = " + std::to_string(EOVERFLOW));
    EXPECT_THROW(Date(1, INT_MIN, 2000).getDayOfWeek(), Zep::FatalErrorException);
    EXPECT_TRUE(Date(1, INT_MAX, INT_MAX).toTime() == -1 && Date(1, INT_MIN, INT_MIN).toTime() == -1);
    // Far years still convert with a 64-bit time_t, but not to 32 bits.
    EXPECT_TRUE(Date(1, 1, INT_MAX).toTimestamp() == -1 && Date(1, 1, INT_MAX).toTime() > 0);
}
