// The load clock's CLOCK lines.
#include "application/loadclock.h"

#include <chrono>
#include <cstdint>
#include <cstdio>

#include <zep2/str.h>

#include "application/gameapp.h"

namespace {

// The process clock in milliseconds, counted from the first use.
int64_t clockNow() {
    static const auto s_start = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - s_start).count();
}

int64_t g_nClockStart = 0;
int64_t g_nClockLastMark = 0;
bool g_bClockConsole = true;
bool g_bClockLog = true;

}  // namespace

void clockReset() {
    g_nClockStart = clockNow();
    g_nClockLastMark = g_nClockStart;
}

void clockMark(const char* szLabel) {
    const int64_t nNow = clockNow();
    const float fDelta = static_cast<float>(nNow - g_nClockLastMark) / 1000.0f;
    const float fTotal = static_cast<float>(nNow - g_nClockStart) / 1000.0f;
    const Zep::String sLine = Zep::String::format("CLOCK : %s : %5.2lf [acc %5.2lf]\n", szLabel ? szLabel : "",
                                                  static_cast<double>(fDelta), static_cast<double>(fTotal));
    if (g_bClockConsole) std::fputs(sLine.c_str(), stdout);
    if (g_bClockLog) GameApp::log("%s", sLine.c_str());
    // Printing counts towards the next mark.
    g_nClockLastMark = clockNow();
}

void setClockOutput(bool bConsole, bool bLog) {
    g_bClockConsole = bConsole;
    g_bClockLog = bLog;
}
