// UTF-8 decoding for the TrueType renderer; see ucs2text.h.
#include "text/ucs2text.h"

#include <cstring>

namespace {

constexpr uint16_t kReplacement = 0xFFFD;
constexpr uint32_t kOrderMark = 0xFEFF;
constexpr uint32_t kSwappedOrderMark = 0xFFFE;

// The character of the well-formed sequence at p, and its length in n; 0
// bytes when p does not start one.
uint32_t decodeOne(const unsigned char* p, int& n) {
    n = 0;
    if (p[0] < 0x80) return n = 1, p[0];
    // The lead byte, the length, the smallest character of that length.
    int nLength = 0;
    uint32_t c = 0, nMin = 0;
    if (p[0] >= 0xC2 && p[0] <= 0xDF) nLength = 2, c = p[0] & 0x1F, nMin = 0x80;
    else if (p[0] >= 0xE0 && p[0] <= 0xEF) nLength = 3, c = p[0] & 0x0F, nMin = 0x800;
    else if (p[0] >= 0xF0 && p[0] <= 0xF4) nLength = 4, c = p[0] & 0x07, nMin = 0x10000;
    else return 0;
    for (int i = 1; i < nLength; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;  // also stops at the terminating 0
        c = c << 6 | (p[i] & 0x3F);
    }
    if (c < nMin || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    n = nLength;
    return c;
}

}  // namespace

std::vector<uint16_t> toUcs2(const char* szUtf8) {
    std::vector<uint16_t> v;
    // At most one code per byte, and the closing 0.
    v.reserve((szUtf8 ? std::strlen(szUtf8) : 0) + 1);
    for (const auto* p = reinterpret_cast<const unsigned char*>(szUtf8); p && *p;) {
        int n = 0;
        const uint32_t c = decodeOne(p, n);
        p += n ? n : 1;
        if (n == 0 || c > 0xFFFF || c == kSwappedOrderMark) v.push_back(kReplacement);
        else if (c != kOrderMark) v.push_back(static_cast<uint16_t>(c));
    }
    v.push_back(0);
    return v;
}
