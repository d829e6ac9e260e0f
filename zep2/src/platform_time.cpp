#include "zep2/platform_time.h"

#include <cerrno>

namespace Zep {
namespace PlatformTime {

namespace {
ClockFunction g_pClock = nullptr;
}

int64_t now() {
    if (g_pClock) return g_pClock();
    return static_cast<int64_t>(std::time(nullptr));
}

void setClock(ClockFunction clock) { g_pClock = clock; }

bool toLocal(int64_t timestamp, std::tm& out) {
    static_assert(sizeof(time_t) >= 8, "a 64-bit time_t is required");
    // localtime_r need not look at TZ again; localtime would, so do it here.
    tzset();
    const time_t t = static_cast<time_t>(timestamp);
    errno = 0;
    return localtime_r(&t, &out) != nullptr;
}

bool fromLocal(std::tm& tm, int64_t& timestamp) {
    // mktime's -1 is also a real instant (one second before 1970 UTC); the
    // weekday it fills in on success tells the two apart.
    tm.tm_wday = -1;
    errno = 0;
    const time_t t = std::mktime(&tm);
    if (t == static_cast<time_t>(-1) && tm.tm_wday == -1) return false;
    timestamp = static_cast<int64_t>(t);
    return true;
}

}  // namespace PlatformTime
}  // namespace Zep
