#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>

#include "zep2/date.h"
#include "zep2/error.h"
#include "zep2/platform_time.h"

using Zep::Date;

namespace {

int64_t g_nClock = 0;
int64_t testClock() { return g_nClock; }

// Sets TZ for one test and puts back whatever was there before.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        const char* old = std::getenv("TZ");
        m_bHadOld = old != nullptr;
        if (m_bHadOld) m_sOld = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone() {
        if (m_bHadOld)
            setenv("TZ", m_sOld.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool m_bHadOld = false;
    std::string m_sOld;
};

// Every test runs with a fixed clock and a known zone.
class DateTest : public ::testing::Test {
protected:
    void SetUp() override { Zep::PlatformTime::setClock(testClock); }
    void TearDown() override { Zep::PlatformTime::setClock(nullptr); }

    TimeZone m_zone{"UTC0"};
};

void expectDate(const Date& d, int day, int month, int year) {
    EXPECT_EQ(d.getDay(), day);
    EXPECT_EQ(d.getMonth(), month);
    EXPECT_EQ(d.getYear(), year);
}

Date todayAt(int64_t clock) {
    g_nClock = clock;
    return Date();
}

std::string localtimeMessage(const Zep::Exception& e) { return e.getMessage(); }

}  // namespace

TEST_F(DateTest, ThreeValueConstructorStoresUntilNormalised) {
    Date d(31, 2, 2023);
    expectDate(d, 31, 2, 2023);
    d.normalize();
    expectDate(d, 3, 3, 2023);
    Date feb(10, 2, 2023);
    feb.setDay(31);
    expectDate(feb, 3, 3, 2023);
}

TEST_F(DateTest, SetMonthCarriesIntoTheYear) {
    Date d(15, 6, 2023);
    d.setMonth(13);
    expectDate(d, 15, 1, 2024);
    Date e(15, 6, 2023);
    e.setMonth(0);
    expectDate(e, 15, 12, 2022);
    Date f(15, 6, 2023);
    f.setMonth(-11);
    expectDate(f, 15, 1, 2022);
    Date g(15, 6, 2023);
    g.setMonth(25);
    expectDate(g, 15, 1, 2025);
}

TEST_F(DateTest, AddDaysCarries) {
    Date a(1, 1, 2024);
    a.addDays(-1);
    expectDate(a, 31, 12, 2023);
    Date b(1, 1, 2023);
    b.addDays(366);
    expectDate(b, 2, 1, 2024);
    Date c(1, 1, 2023);
    c.addDays(424);
    expectDate(c, 29, 2, 2024);
    Date d(1, 3, 2024);
    d.addDays(-1);
    expectDate(d, 29, 2, 2024);
}

TEST_F(DateTest, CarryingCountsFebruaryOfTheYearItFallsIn) {
    Date zeros(0, 0, 2024);  // the persisted bytes E8 07 00 00
    zeros.normalize();
    expectDate(zeros, 30, 11, 2023);
    Date acrossYear(91, 12, 2023);
    acrossYear.normalize();
    expectDate(acrossYear, 29, 2, 2024);
    Date back(0, 3, 2024);
    back.normalize();
    expectDate(back, 29, 2, 2024);
    Date plain(0, 3, 2023);
    plain.normalize();
    expectDate(plain, 28, 2, 2023);
}

TEST_F(DateTest, LeapYears) {
    EXPECT_TRUE(Date(1, 1, 2000).isLeapYear());
    EXPECT_TRUE(Date(1, 1, 2024).isLeapYear());
    EXPECT_FALSE(Date(1, 1, 1900).isLeapYear());
    EXPECT_FALSE(Date(1, 1, 2023).isLeapYear());
    EXPECT_TRUE(Date::isLeapYear(-400));
    EXPECT_EQ(Date::getDaysInMonth(2, 2024), 29);
    EXPECT_EQ(Date::getDaysInMonth(2, 2100), 28);
}

TEST_F(DateTest, ExtremeCountsCarryWithoutOverflow) {
    Date cycle(1, 1, 2000);
    cycle.addDays(146097);  // exactly 400 years
    expectDate(cycle, 1, 1, 2400);

    Date far(17, 5, 2001);
    far.addDays(INT_MAX);
    EXPECT_GT(far.getYear(), 5000000);
    far.addDays(-INT_MAX);
    expectDate(far, 17, 5, 2001);

    Date edge(INT_MAX, INT_MAX, 2000);
    edge.normalize();
    EXPECT_GE(edge.getDay(), 1);
    EXPECT_LE(edge.getDay(), 31);

    Date top(INT_MAX, 12, INT_MAX);  // the year saturates instead of wrapping
    top.normalize();
    EXPECT_EQ(top.getYear(), INT_MAX);
    Date bottom(INT_MIN, INT_MIN, INT_MIN);
    bottom.normalize();
    EXPECT_EQ(bottom.getYear(), INT_MIN);
    EXPECT_GE(bottom.getMonth(), 1);
}

TEST_F(DateTest, Comparisons) {
    const Date newYear(1, 1, 2024), eve(31, 12, 2023);
    EXPECT_TRUE(newYear > eve);
    EXPECT_TRUE(eve < newYear);
    EXPECT_FALSE(newYear < eve);
    const Date same(1, 1, 2024);
    EXPECT_FALSE(newYear < same);
    EXPECT_FALSE(newYear > same);
    EXPECT_TRUE(newYear == same);
    EXPECT_FALSE(newYear != same);
    EXPECT_TRUE(newYear != eve);
    // Stored fields are compared as they stand.
    EXPECT_TRUE(Date(31, 2, 2023) > Date(3, 3, 2022));
    EXPECT_FALSE(Date(31, 2, 2023) == Date(3, 3, 2023));
}

TEST_F(DateTest, TimestampsInUtc) {
    EXPECT_EQ(Date(1, 1, 2024).toTimestamp(), 1704067200);
    EXPECT_EQ(Date(1, 7, 2024).toTimestamp(), 1719792000);
    EXPECT_EQ(Date(1, 1, 1970).toTimestamp(), 0);
    Date d(1, 1, 1);
    d.setFromTimestamp(1704067200 + 86399);
    expectDate(d, 1, 1, 2024);
    d.setFromTimestamp(-86400);  // Linux converts times before 1970 too
    expectDate(d, 31, 12, 1969);
    expectDate(Date(static_cast<time_t>(2570443200)), 15, 6, 2051);
    EXPECT_EQ(Date(1, 1, 2024).getDayOfWeek(), 1);
    EXPECT_EQ(Date(15, 6, 2051).getDayOfWeek(), 4);
}

TEST_F(DateTest, TimestampsInEasternTime) {
    TimeZone zone("EST5EDT");
    EXPECT_EQ(Date(1, 1, 2024).toTimestamp(), 1704067200 + 5 * 3600);
    // Midnight is taken as standard time even in summer: 01:00 daylight time.
    EXPECT_EQ(Date(1, 7, 2024).toTimestamp(), 1719792000 + 5 * 3600);
    Date d(1, 1, 1);
    d.setFromTimestamp(1704067200);  // midnight UTC is still the old year here
    expectDate(d, 31, 12, 2023);
    d.setFromTimestamp(1719792000 + 5 * 3600);
    expectDate(d, 1, 7, 2024);
    EXPECT_EQ(Date(1, 1, 2024).getDayOfWeek(), 1);
    EXPECT_EQ(Date(1, 7, 2024).getDayOfWeek(), 1);
    EXPECT_EQ(Date(10, 3, 2024).getDayOfWeek(), 0);  // the day the clocks change
}

TEST_F(DateTest, DatesBeyond32BitTimestamps) {
    const Date d(1, 1, 2100);
    EXPECT_EQ(d.toTimestamp(), -1);
    EXPECT_EQ(d.toTime(), 4102444800LL);
    EXPECT_EQ(d.getDayOfWeek(), 5);
}

TEST_F(DateTest, NowComesFromTheClock) {
    expectDate(todayAt(1709640000), 5, 3, 2024);  // 2024-03-05 12:00 UTC
    Date d(1, 1, 2000);
    g_nClock = 1704067200;
    d.setNow();
    expectDate(d, 1, 1, 2024);
}

TEST_F(DateTest, ClocksBefore1990AndClockErrorsAreClamped) {
    expectDate(todayAt(0), 1, 1, 1990);
    expectDate(todayAt(631151999), 1, 1, 1990);
    expectDate(todayAt(-5), 1, 1, 1990);
    expectDate(todayAt(-1), 1, 1, 2030);
    TimeZone zone("EST5EDT");
    expectDate(todayAt(100), 31, 12, 1989);
    expectDate(todayAt(-1), 31, 12, 2029);
}

TEST_F(DateTest, ClocksAfter2030AreNotFrozen) {
    expectDate(todayAt(1893456000), 1, 1, 2030);
    expectDate(todayAt(1893456000 + 86400), 2, 1, 2030);
    expectDate(todayAt(2570443200), 15, 6, 2051);  // past 32-bit time as well
    expectDate(todayAt(2500000000), 22, 3, 2049);
}

TEST_F(DateTest, ConversionFailuresThrowWithTheTimestamp) {
    try {
        Date d(static_cast<time_t>(INT64_MAX));
        FAIL() << "no exception";
    } catch (const Zep::FatalErrorException& e) {
        EXPECT_EQ(localtimeMessage(e),
                  "localtime() failed for timestamp = 7FFFFFFFFFFFFFFF, errno = " +
                      std::to_string(EOVERFLOW));
    }
    try {
        Date(1, INT_MAX, INT_MAX).getDayOfWeek();
        FAIL() << "no exception";
    } catch (const Zep::FatalErrorException& e) {
        EXPECT_EQ(localtimeMessage(e), "localtime() failed for timestamp = FFFFFFFF, errno = " +
                                           std::to_string(EOVERFLOW));
    }
    EXPECT_THROW(Date(1, INT_MIN, 2000).getDayOfWeek(), Zep::FatalErrorException);
    EXPECT_EQ(Date(1, INT_MAX, INT_MAX).toTime(), -1);
    EXPECT_EQ(Date(1, INT_MIN, INT_MIN).toTime(), -1);
    // Far years still convert with a 64-bit time_t, but not to 32 bits.
    EXPECT_EQ(Date(1, 1, INT_MAX).toTimestamp(), -1);
    EXPECT_GT(Date(1, 1, INT_MAX).toTime(), 0);
}
