#include "zep2/date.h"

#include <cerrno>
#include <cstdint>
#include <limits>

#include "zep2/error.h"
#include "zep2/platform_time.h"
#include "zep2/str.h"

namespace {

constexpr const char* kZepSource = ".\\src\\date";

// The Gregorian calendar repeats exactly every 400 years.
constexpr int64_t kDaysPer400Years = 146097;

constexpr int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

[[noreturn]] void throwLocaltimeFailed(int64_t timestamp, int error) {
    Zep::String message;
    if (timestamp >= std::numeric_limits<int32_t>::min() &&
        timestamp <= std::numeric_limits<int32_t>::max()) {
        message = Zep::String::format("localtime() failed for timestamp = %08X, errno = %d",
                                      static_cast<uint32_t>(static_cast<int32_t>(timestamp)), error);
    } else {
        message = Zep::String::format("localtime() failed for timestamp = %08llX, errno = %d",
                                      static_cast<unsigned long long>(timestamp), error);
    }
    ZEP_THROW(Zep::FatalErrorException, message.c_str());
}

// Floor division, so that months below 1 borrow from the year exactly as
// adding 12 at a time would.
void carryMonth(int64_t& month, int64_t& year) {
    int64_t zeroBased = month - 1;
    int64_t years = zeroBased / 12;
    int64_t rest = zeroBased % 12;
    if (rest < 0) {
        rest += 12;
        --years;
    }
    month = rest + 1;
    year += years;
}

int daysIn(int64_t month, int64_t year) {
    return Zep::Date::getDaysInMonth(static_cast<int>(month), year);
}

int32_t clampToInt32(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

bool fitsInt(int64_t value) {
    return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

// Local midnight of the fields, standard time. False when mktime can't do it.
bool midnightOf(int day, int month, int year, int64_t& timestamp) {
    const int64_t yearsSince1900 = static_cast<int64_t>(year) - 1900;
    const int64_t zeroBasedMonth = static_cast<int64_t>(month) - 1;
    if (!fitsInt(yearsSince1900) || !fitsInt(zeroBasedMonth)) {
        errno = EOVERFLOW;
        return false;
    }
    std::tm tm{};
    tm.tm_mday = day;
    tm.tm_mon = static_cast<int>(zeroBasedMonth);
    tm.tm_year = static_cast<int>(yearsSince1900);
    tm.tm_isdst = 0;
    return Zep::PlatformTime::fromLocal(tm, timestamp);
}

}  // namespace

namespace Zep {

Date::Date() { setNow(); }

Date::Date(int day, int month, int year) : m_nDay(day), m_nMonth(month), m_nYear(year) {}

Date::Date(time_t timestamp) { setFromTime(static_cast<int64_t>(timestamp)); }

bool Date::isLeapYear(int64_t year) {
    return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
}

int Date::getDaysInMonth(int month, int64_t year) {
    if (month < 1 || month > 12) return 0;
    if (month == 2 && isLeapYear(year)) return 29;
    return kDaysInMonth[month - 1];
}

void Date::normalizeMonth() {
    int64_t month = m_nMonth;
    int64_t year = m_nYear;
    carryMonth(month, year);
    m_nMonth = static_cast<int32_t>(month);
    m_nYear = clampToInt32(year);
}

// Works in 64 bits and skips whole 400-year cycles, so any int day count
// carries in a few thousand steps and no field can overflow on the way.
// The result is the one the month-by-month carrying gives.
void Date::normalize() {
    int64_t day = m_nDay;
    int64_t month = m_nMonth;
    int64_t year = m_nYear;
    carryMonth(month, year);
    if (day < 1) {
        if (day <= -kDaysPer400Years) {
            const int64_t cycles = -day / kDaysPer400Years;
            day += cycles * kDaysPer400Years;
            year -= cycles * 400;
        }
        while (day < 1) {
            --month;
            carryMonth(month, year);
            day += daysIn(month, year);
        }
    }
    if (day > kDaysPer400Years) {
        const int64_t cycles = (day - 1) / kDaysPer400Years;
        day -= cycles * kDaysPer400Years;
        year += cycles * 400;
    }
    while (day > daysIn(month, year)) {
        day -= daysIn(month, year);
        ++month;
        carryMonth(month, year);
    }
    m_nDay = static_cast<int32_t>(day);
    m_nMonth = static_cast<int32_t>(month);
    m_nYear = clampToInt32(year);
}

void Date::setDay(int day) {
    m_nDay = day;
    normalize();
}

void Date::setMonth(int month) {
    m_nMonth = month;
    normalize();
}

void Date::addDays(int days) {
    // The sum may not fit an int; carry it in 64 bits first.
    int64_t day = static_cast<int64_t>(m_nDay) + days;
    if (fitsInt(day)) {
        m_nDay = static_cast<int32_t>(day);
        normalize();
        return;
    }
    const int64_t cycles = (day > 0 ? day - 1 : day) / kDaysPer400Years;
    m_nDay = static_cast<int32_t>(day - cycles * kDaysPer400Years);
    m_nYear = clampToInt32(static_cast<int64_t>(m_nYear) + cycles * 400);
    normalize();
}

void Date::setNow() {
    ZEP_TRACE("Date::setNow");
    int64_t now = PlatformTime::now();
    // A failed clock reads as the fixed fallback day; a clock before 1990 is
    // taken as wrong too. Later clocks are trusted: a 64-bit time_t holds them.
    if (now == -1)
        now = kClockErrorNow;
    else if (now < kEarliestNow)
        now = kEarliestNow;
    setFromTime(now);
}

void Date::setFromTimestamp(int32_t timestamp) {
    ZEP_TRACE("Date::setFromTimestamp");
    setFromTime(timestamp);
}

void Date::setFromTime(int64_t timestamp) {
    ZEP_TRACE("Date::setFromTime");
    std::tm tm{};
    if (!PlatformTime::toLocal(timestamp, tm)) throwLocaltimeFailed(timestamp, errno);
    const int64_t year = static_cast<int64_t>(tm.tm_year) + 1900;
    if (year > std::numeric_limits<int32_t>::max()) throwLocaltimeFailed(timestamp, EOVERFLOW);
    m_nDay = tm.tm_mday;
    m_nMonth = tm.tm_mon + 1;
    m_nYear = static_cast<int32_t>(year);
}

int64_t Date::toTime() const {
    int64_t timestamp = -1;
    if (!midnightOf(m_nDay, m_nMonth, m_nYear, timestamp)) return -1;
    return timestamp;
}

int32_t Date::toTimestamp() const {
    const int64_t timestamp = toTime();
    if (timestamp < std::numeric_limits<int32_t>::min() ||
        timestamp > std::numeric_limits<int32_t>::max())
        return -1;
    return static_cast<int32_t>(timestamp);
}

int Date::getDayOfWeek() const {
    ZEP_TRACE("Date::getDayOfWeek");
    int64_t timestamp = -1;
    if (!midnightOf(m_nDay, m_nMonth, m_nYear, timestamp)) throwLocaltimeFailed(-1, errno);
    std::tm tm{};
    if (!PlatformTime::toLocal(timestamp, tm)) throwLocaltimeFailed(timestamp, errno);
    return tm.tm_wday;
}

bool Date::operator<(const Date& other) const {
    if (m_nYear != other.m_nYear) return m_nYear < other.m_nYear;
    if (m_nMonth != other.m_nMonth) return m_nMonth < other.m_nMonth;
    return m_nDay < other.m_nDay;
}

bool Date::operator==(const Date& other) const {
    return m_nDay == other.m_nDay && m_nMonth == other.m_nMonth && m_nYear == other.m_nYear;
}

}  // namespace Zep
