// Framework helpers: alignment offsets and the CLOCK timing lines.
#include "image/app_helpers.h"

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <zep2/str.h>

#include "application/gameapp.h"
#include "image/image.h"

namespace {

// atoi's reading (leading blanks, sign, digits), held within int.
long long numberOf(const char* szText) {
    const long long n = std::strtoll(szText, nullptr, 10);
    return n < INT_MIN ? INT_MIN : n > INT_MAX ? INT_MAX : n;
}

long long keywordBase(const std::string& sSpec, const Image& image, bool bHorizontal) {
    const int nExtent = bHorizontal ? image.getWidth() : image.getHeight();
    if (sSpec == "contents_center") {
        const Rect data = image.getDataRect();
        return bHorizontal ? (data.getRight() - data.getLeft()) / 2 + data.getLeft() + image.getInsPointX()
                           : (data.getBottom() - data.getTop()) / 2 + data.getTop() + image.getInsPointY();
    }
    if (sSpec == "center" || sSpec == "middle") return nExtent / 2;
    if (sSpec == "right" || sSpec == "bottom") return nExtent;
    if (sSpec == "left" || sSpec == "top") return 0;
    return numberOf(sSpec.c_str());
}

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

int parseAlignmentOffset(const char* szSpec, const Image* pImage, bool bHorizontal) {
    std::string sSpec = szSpec ? szSpec : "";
    // The first "+" splits the text, else the first "-": the signed rest is the offset.
    size_t nSign = sSpec.find('+');
    if (nSign == std::string::npos) nSign = sSpec.find('-');
    long long nOffset = 0;
    if (nSign != std::string::npos) {
        nOffset = numberOf(sSpec.c_str() + nSign);
        sSpec.resize(nSign);
    }
    const long long nResult = keywordBase(sSpec, *pImage, bHorizontal) + nOffset;
    return static_cast<int>(nResult < INT_MIN ? INT_MIN : nResult > INT_MAX ? INT_MAX : nResult);
}

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
