// Zep::Date: a calendar date in the local time zone.
#pragma once

#include <cstdint>
#include <ctime>

namespace Zep {

class ObjectStreamer;

class Date {
public:
    // "Now" never reads earlier than kEarliestNow; a failed clock (-1) reads
    // as kClockErrorNow. Later clocks are taken as they are.
    static constexpr int32_t kEarliestNow = 631152000;   // 1990-01-01 00:00 UTC
    static constexpr int32_t kClockErrorNow = 1893456000;  // 2030-01-01 00:00 UTC

    Date();                               // today
    Date(int day, int month, int year);   // stored as given, not normalised
    explicit Date(time_t timestamp);      // local date of the timestamp
    Date(const Date&) = default;
    Date& operator=(const Date&) = default;
    virtual ~Date() = default;

    int getDay() const { return m_nDay; }
    int getMonth() const { return m_nMonth; }
    int getYear() const { return m_nYear; }

    // Store the field, then carry into month and year.
    void setDay(int day);
    void setMonth(int month);
    void addDays(int days);

    bool isLeapYear() const { return isLeapYear(m_nYear); }
    static bool isLeapYear(int64_t year);
    static int getDaysInMonth(int month, int64_t year);  // month 1..12

    void normalizeMonth();
    void normalize();

    void setNow();
    void setFromTimestamp(int32_t timestamp);
    void setFromTime(int64_t timestamp);  // the same for any 64-bit time
    // Local midnight at the start of the date (standard time), -1 when the
    // date can't be represented; toTimestamp also gives -1 outside 32 bits.
    int32_t toTimestamp() const;
    int64_t toTime() const;
    int getDayOfWeek() const;  // 0 = Sunday

    // On the stored fields, without normalising.
    bool operator<(const Date& other) const;
    bool operator>(const Date& other) const { return other < *this; }
    bool operator==(const Date& other) const;
    bool operator!=(const Date& other) const { return !(*this == other); }

    // Four bytes: int16 year, month byte, day byte. persistFrom normalises.
    void persistTo(ObjectStreamer& os) const;
    void persistFrom(ObjectStreamer& os);

private:
    int32_t m_nDay = 1;
    int32_t m_nMonth = 1;
    int32_t m_nYear = 1970;
};

}  // namespace Zep
