// The system clock and local-time conversions, behind one seam so that tests
// can set "now" and so that the rest of the library never touches time_t
// arithmetic or the C library's static tm buffer directly.
#pragma once

#include <cstdint>
#include <ctime>

namespace Zep {
namespace PlatformTime {

// Seconds since 1970-01-01 00:00 UTC, or -1 when the clock fails.
using ClockFunction = int64_t (*)();

// The current time: the installed test clock when there is one, else time().
int64_t now();

// Installs a clock that replaces the system clock for now(); nullptr puts the
// system clock back. Not synchronised: tests only.
void setClock(ClockFunction clock);

// Local broken-down time of a timestamp (re-reads TZ first, as localtime does).
// On failure returns false and leaves errno as the C library set it.
bool toLocal(int64_t timestamp, std::tm& out);

// mktime of a broken-down local time. Returns false when the time can't be
// represented; `tm` is normalised by the C library on success.
bool fromLocal(std::tm& tm, int64_t& timestamp);

}  // namespace PlatformTime
}  // namespace Zep
