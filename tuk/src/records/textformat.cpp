// The checked formatter's parsing and its refusal log (textformat.h).
#include "records/textformat.h"

#include <cctype>
#include <cstring>
#include <set>
#include <string>

#include "application/gameapp.h"

namespace {

constexpr int kMaxDigits = 2;
constexpr size_t kMaxRemembered = 256;

// Skips up to kMaxDigits digits; false when there are more.
bool skipNumber(const char*& p) {
    int nDigits = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        if (++nDigits > kMaxDigits) return false;
        ++p;
    }
    return true;
}

// The kind of the conversion at p (just after its '%'): 'd', 'f', or 0 for
// one the formatter does not take. p is left after the conversion.
char readConversion(const char*& p) {
    while (*p && std::strchr("-+ 0#", *p)) ++p;
    if (!skipNumber(p)) return 0;
    if (*p == '.') {
        ++p;
        if (!skipNumber(p)) return 0;
    }
    const bool bLong = *p == 'l';
    if (bLong) ++p;
    const char c = *p;
    if (c == '\0') return 0;
    ++p;
    if (!bLong && (c == 'd' || c == 'i')) return 'd';
    if (std::strchr("fFeEgG", c)) return 'f';
    return 0;
}

}  // namespace

namespace textformat {

bool matches(const char* szFormat, const char* szKinds) {
    const char* pKind = szKinds;
    for (const char* p = szFormat; *p;) {
        if (*p++ != '%') continue;
        if (*p == '%') {
            ++p;
            continue;
        }
        if (*pKind == '\0' || readConversion(p) != *pKind) return false;
        ++pKind;
    }
    return *pKind == '\0';
}

void reportRefused(const char* szFormat, const char* szKinds) {
    static std::set<std::string> s_reported;
    if (s_reported.count(szFormat)) return;
    // The string tables hold a handful of formats; past this many texts a
    // refusal is logged every time rather than remembered.
    if (s_reported.size() < kMaxRemembered) s_reported.insert(szFormat);
    std::string sExpected;
    for (const char* p = szKinds; *p; ++p) {
        sExpected += sExpected.empty() ? "%" : " %";
        sExpected += *p;
    }
    if (sExpected.empty()) sExpected = "no values";
    GameApp::log("B: ** Text shown as it is, no format for %s : %s **\n", sExpected.c_str(), szFormat);
}

}  // namespace textformat
