// The TrueType writer: each table built into its own buffer from the font
// description, then the table directory (tags in ascending order), the
// tables on 4-byte boundaries, and the whole-file checksum in head.
#include "text/ttfwriter.h"

#include <algorithm>
#include <array>
#include <climits>
#include <set>
#include <utility>

#include <zep2/error.h>
#include <zep2/str.h>

namespace {

constexpr const char* kZepSource = ".\\src\\ttfwriter";

constexpr uint32_t kSfntVersion = 0x00010000;
constexpr uint32_t kChecksumMagic = 0xB1B0AFBA;
constexpr size_t kHeadAdjustmentOffset = 8;
constexpr uint16_t kFlagOnCurve = 0x01;
constexpr uint16_t kPlatformWindows = 3;
constexpr uint16_t kEncodingUnicodeBmp = 1;
constexpr uint16_t kLanguageEnglishUs = 0x0409;
constexpr uint16_t kLastCode = 0xFFFF;  // closes the cmap; no glyph takes it
constexpr size_t kMaxPostScriptName = 63;
constexpr uint16_t kPrepStackDepth = 1;
// Point and contour counts are 16-bit in the file.
constexpr size_t kMaxGlyphPoints = 0xFFFF;

[[noreturn]] void fail(const char* szReason) {
    ZEP_THROW(Zep::FatalErrorException, Zep::String::format("TrueType writer : %s", szReason).c_str());
}

// Big-endian output.
class Bytes {
public:
    void u8(unsigned n) { m_v.push_back(static_cast<uint8_t>(n)); }
    void u16(unsigned n) { u8(n >> 8), u8(n); }
    void s16(int n) { u16(static_cast<uint16_t>(n)); }
    void u32(uint32_t n) { u16(n >> 16), u16(n & 0xFFFF); }
    void zeros(size_t n) { m_v.insert(m_v.end(), n, 0); }
    void tag(const char* sz) { m_v.insert(m_v.end(), sz, sz + 4); }
    void append(const std::vector<uint8_t>& v) { m_v.insert(m_v.end(), v.begin(), v.end()); }
    void pad4() { zeros((4 - m_v.size() % 4) % 4); }
    size_t size() const { return m_v.size(); }
    std::vector<uint8_t>& data() { return m_v; }

private:
    std::vector<uint8_t> m_v;
};

// The sum of the big-endian words, the last one padded with zeros.
uint32_t checksum(const std::vector<uint8_t>& v) {
    uint32_t nSum = 0;
    for (size_t i = 0; i < v.size(); i += 4) {
        uint32_t nWord = 0;
        for (size_t k = 0; k < 4; ++k) nWord = nWord << 8 | (i + k < v.size() ? v[i + k] : 0);
        nSum += nWord;
    }
    return nSum;
}

struct Box {
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    bool bEmpty = true;
    void add(int x, int y) {
        xMin = bEmpty ? x : std::min(xMin, x), xMax = bEmpty ? x : std::max(xMax, x);
        yMin = bEmpty ? y : std::min(yMin, y), yMax = bEmpty ? y : std::max(yMax, y);
        bEmpty = false;
    }
    void add(const Box& b) {
        if (!b.bEmpty) add(b.xMin, b.yMin), add(b.xMax, b.yMax);
    }
};

Box boxOf(const TtfGlyph& g) {
    Box box;
    for (const auto& vContour : g.vContours)
        for (const TtfPoint& p : vContour) box.add(p.x, p.y);
    return box;
}

// What the tables share, worked out once.
struct Summary {
    Box box;
    int nMaxPoints = 0, nMaxContours = 0;
    int nMaxAdvance = 0, nAverageAdvance = 0;
    int nMinLsb = 0, nMinRsb = 0, nMaxExtent = 0;
    uint16_t nFirstCode = kLastCode, nLastCode = 0;
};

Summary summarise(const TtfFontDesc& font) {
    Summary s;
    int nSum = 0, nCount = 0;
    bool bFirst = true;
    for (const TtfGlyph& g : font.vGlyphs) {
        const Box b = boxOf(g);
        int nPoints = 0;
        for (const auto& vContour : g.vContours) nPoints += static_cast<int>(vContour.size());
        s.nMaxPoints = std::max(s.nMaxPoints, nPoints);
        s.nMaxContours = std::max(s.nMaxContours, static_cast<int>(g.vContours.size()));
        s.nMaxAdvance = std::max<int>(s.nMaxAdvance, g.nAdvance);
        if (g.nAdvance) nSum += g.nAdvance, ++nCount;
        for (uint16_t c : g.vCodes) s.nFirstCode = std::min(s.nFirstCode, c), s.nLastCode = std::max(s.nLastCode, c);
        if (b.bEmpty) continue;
        s.box.add(b);
        const int nLsb = b.xMin, nRsb = g.nAdvance - b.xMax, nExtent = b.xMax;
        s.nMinLsb = bFirst ? nLsb : std::min(s.nMinLsb, nLsb);
        s.nMinRsb = bFirst ? nRsb : std::min(s.nMinRsb, nRsb);
        s.nMaxExtent = bFirst ? nExtent : std::max(s.nMaxExtent, nExtent);
        bFirst = false;
    }
    s.nAverageAdvance = nCount ? nSum / nCount : 0;
    return s;
}

void check(const TtfFontDesc& font) {
    if (font.vGlyphs.empty()) fail("no glyphs");
    if (font.vGlyphs.size() > static_cast<size_t>(kMaxTtfGlyphs)) fail("too many glyphs");
    if (!font.vGlyphs[0].vCodes.empty()) fail("the missing-character glyph takes no codes");
    if (font.sFamily.size() > kMaxTtfNameLength || font.sStyle.size() > kMaxTtfNameLength) fail("name too long");
    std::set<uint16_t> setCodes;
    for (const TtfGlyph& g : font.vGlyphs) {
        for (uint16_t c : g.vCodes)
            if (c == kLastCode || !setCodes.insert(c).second) fail("a code given twice or U+FFFF");
        size_t nPoints = 0;
        for (const auto& vContour : g.vContours) {
            if (vContour.size() < 3) fail("a contour of fewer than three points");
            nPoints += vContour.size();
        }
        if (nPoints > kMaxGlyphPoints || g.vContours.size() > kMaxGlyphPoints) fail("a glyph of too many points");
    }
}

// ---- Glyph outlines -------------------------------------------------------------

// One delta of a coordinate, which the file holds in 16 bits.
int16_t delta(int nFrom, int nTo) {
    const int d = nTo - nFrom;
    if (d < SHRT_MIN || d > SHRT_MAX) fail("glyph points too far apart");
    return static_cast<int16_t>(d);
}

// A simple glyph: every point on the curve, each coordinate a 16-bit delta.
std::vector<uint8_t> outline(const TtfGlyph& g) {
    Bytes b;
    if (g.vContours.empty()) return b.data();
    const Box box = boxOf(g);
    b.s16(static_cast<int>(g.vContours.size()));
    b.s16(box.xMin), b.s16(box.yMin), b.s16(box.xMax), b.s16(box.yMax);
    int nEnd = -1;
    for (const auto& vContour : g.vContours) b.u16(static_cast<unsigned>(nEnd += static_cast<int>(vContour.size())));
    b.u16(0);  // no instructions
    for (int i = 0; i <= nEnd; ++i) b.u8(kFlagOnCurve);
    for (bool bX : {true, false}) {
        int nLast = 0;
        for (const auto& vContour : g.vContours)
            for (const TtfPoint& p : vContour) {
                const int n = bX ? p.x : p.y;
                b.s16(delta(nLast, n));
                nLast = n;
            }
    }
    b.pad4();
    return b.data();
}

// ---- The tables -----------------------------------------------------------------

struct Table {
    const char* szTag;
    std::vector<uint8_t> vData;
};

std::vector<uint8_t> headTable(const TtfFontDesc& font, const Summary& s) {
    Bytes b;
    b.u32(0x00010000), b.u32(0x00010000);  // version, font revision 1.0
    b.u32(0);                              // whole-file checksum adjustment, set last
    b.u32(0x5F0F3CF5);
    b.u16(0x000B);  // baseline at y 0, left side bearing at x 0, integer scaling
    b.u16(font.nUnitsPerEm);
    b.zeros(16);  // created, modified
    b.s16(s.box.xMin), b.s16(s.box.yMin), b.s16(s.box.xMax), b.s16(s.box.yMax);
    b.u16(0);      // style
    b.u16(8);      // smallest readable size in pixels
    b.s16(2);      // left to right, with neutrals
    b.s16(1);      // long loca offsets
    b.s16(0);
    return b.data();
}

std::vector<uint8_t> hheaTable(const TtfFontDesc& font, const Summary& s) {
    Bytes b;
    b.u32(0x00010000);
    b.s16(font.nAscent), b.s16(-font.nDescent), b.s16(0);
    b.u16(s.nMaxAdvance);
    b.s16(s.nMinLsb), b.s16(s.nMinRsb), b.s16(s.nMaxExtent);
    b.s16(1), b.s16(0), b.s16(0);  // upright caret
    b.zeros(8);
    b.s16(0);
    b.u16(static_cast<unsigned>(font.vGlyphs.size()));
    return b.data();
}

std::vector<uint8_t> maxpTable(const TtfFontDesc& font, const Summary& s) {
    Bytes b;
    b.u32(0x00010000);
    b.u16(static_cast<unsigned>(font.vGlyphs.size()));
    b.u16(s.nMaxPoints), b.u16(s.nMaxContours);
    b.u16(0), b.u16(0);  // no composite glyphs
    b.u16(2);            // zones
    b.zeros(8);          // no twilight points, storage, functions, instruction definitions
    b.u16(kPrepStackDepth);
    b.zeros(8);          // no glyph instructions, no components
    return b.data();
}

std::vector<uint8_t> os2Table(const TtfFontDesc& font, const Summary& s) {
    const int em = font.nUnitsPerEm;
    Bytes b;
    b.u16(4);
    b.s16(s.nAverageAdvance);
    b.u16(400), b.u16(5), b.u16(0);  // normal weight and width, installable
    b.s16(em * 65 / 100), b.s16(em * 60 / 100), b.s16(0), b.s16(em * 7 / 100);   // subscript
    b.s16(em * 65 / 100), b.s16(em * 60 / 100), b.s16(0), b.s16(em * 48 / 100);  // superscript
    b.s16(em / 20), b.s16(em * 26 / 100);                                         // strikeout
    b.s16(0);
    b.zeros(10);  // no classification
    b.u32(s.nFirstCode < 0x80 ? 1 : 0), b.u32(0), b.u32(0), b.u32(0);  // Basic Latin
    b.tag("    ");
    b.u16(0x0040);  // regular
    b.u16(s.nFirstCode <= s.nLastCode ? s.nFirstCode : 0), b.u16(s.nLastCode);
    b.s16(font.nAscent), b.s16(-font.nDescent), b.s16(0);
    b.u16(static_cast<unsigned>(std::max<int>(font.nAscent, s.box.yMax)));
    b.u16(static_cast<unsigned>(std::max<int>(font.nDescent, -s.box.yMin)));
    b.u32(1), b.u32(0);  // Latin 1
    b.s16(0), b.s16(s.box.yMax);  // x height not given, cap height
    b.u16(0), b.u16(' '), b.u16(1);
    return b.data();
}

std::vector<uint8_t> hmtxTable(const TtfFontDesc& font) {
    Bytes b;
    for (const TtfGlyph& g : font.vGlyphs) {
        const Box box = boxOf(g);
        b.u16(g.nAdvance), b.s16(box.bEmpty ? 0 : box.xMin);
    }
    return b.data();
}

// Runs of consecutive codes drawn by consecutive glyphs, as format 4 segments.
std::vector<uint8_t> cmapTable(const TtfFontDesc& font) {
    std::vector<std::pair<uint16_t, uint16_t>> vMap;  // code, glyph
    for (size_t i = 0; i < font.vGlyphs.size(); ++i)
        for (uint16_t c : font.vGlyphs[i].vCodes) vMap.emplace_back(c, static_cast<uint16_t>(i));
    std::sort(vMap.begin(), vMap.end());
    std::vector<std::array<uint16_t, 3>> vSegments;  // start, end, delta
    for (const auto& [c, g] : vMap) {
        const uint16_t d = static_cast<uint16_t>(g - c);
        if (!vSegments.empty() && vSegments.back()[1] + 1 == c && vSegments.back()[2] == d) vSegments.back()[1] = c;
        else vSegments.push_back({c, c, d});
    }
    vSegments.push_back({kLastCode, kLastCode, 1});
    const size_t n = vSegments.size();
    const size_t nLength = 16 + 8 * n;
    if (nLength > 0xFFFF) fail("too many code ranges");
    unsigned nPower = 1, nLog = 0;
    while (nPower * 2 <= n) nPower *= 2, ++nLog;
    Bytes b;
    b.u16(0), b.u16(1);
    b.u16(kPlatformWindows), b.u16(kEncodingUnicodeBmp), b.u32(12);
    b.u16(4), b.u16(static_cast<unsigned>(nLength)), b.u16(0);
    b.u16(static_cast<unsigned>(2 * n)), b.u16(2 * nPower), b.u16(nLog);
    b.u16(static_cast<unsigned>(2 * n - 2 * nPower));
    for (const auto& seg : vSegments) b.u16(seg[1]);
    b.u16(0);
    for (const auto& seg : vSegments) b.u16(seg[0]);
    for (const auto& seg : vSegments) b.u16(seg[2]);
    b.zeros(2 * n);  // no glyph index arrays
    return b.data();
}

std::vector<uint8_t> nameTable(const TtfFontDesc& font) {
    std::string sPostScript;
    for (char c : font.sFamily + "-" + font.sStyle)
        if (c > ' ' && c < 127 && std::string("[](){}<>/%").find(c) == std::string::npos) sPostScript += c;
    sPostScript.resize(std::min(sPostScript.size(), kMaxPostScriptName));
    const std::pair<uint16_t, std::string> vNames[] = {{1, font.sFamily},
                                                       {2, font.sStyle},
                                                       {3, font.sFamily + " " + font.sStyle},
                                                       {4, font.sFamily + " " + font.sStyle},
                                                       {6, sPostScript}};
    const size_t nCount = std::size(vNames);
    Bytes b, strings;
    b.u16(0), b.u16(static_cast<unsigned>(nCount)), b.u16(static_cast<unsigned>(6 + 12 * nCount));
    for (const auto& [nId, s] : vNames) {
        b.u16(kPlatformWindows), b.u16(kEncodingUnicodeBmp), b.u16(kLanguageEnglishUs), b.u16(nId);
        b.u16(static_cast<unsigned>(2 * s.size())), b.u16(static_cast<unsigned>(strings.size()));
        for (unsigned char c : s) strings.u16(c);  // Latin-1 as UTF-16
    }
    b.append(strings.data());
    return b.data();
}

// Dropout control on at every size. With no program at all, renderers hint
// the glyphs automatically, which shifts the edges of some of them.
std::vector<uint8_t> prepTable() {
    Bytes b;
    b.u8(0xB8), b.u16(0x01FF);  // PUSHW[0] 511
    b.u8(0x85);                 // SCANCTRL
    b.u8(0xB0), b.u8(4);        // PUSHB[0] 4
    b.u8(0x8D);                 // SCANTYPE
    return b.data();
}

std::vector<uint8_t> postTable(const TtfFontDesc& font) {
    Bytes b;
    b.u32(0x00030000);
    b.u32(0);  // upright
    b.s16(-font.nDescent / 2), b.s16(font.nUnitsPerEm / 20);
    b.u32(0);  // proportional
    b.zeros(16);
    return b.data();
}

// glyf and loca together: each glyph's offset into glyf, then the end.
std::pair<std::vector<uint8_t>, std::vector<uint8_t>> glyphTables(const TtfFontDesc& font) {
    Bytes glyf, loca;
    for (const TtfGlyph& g : font.vGlyphs) {
        loca.u32(static_cast<uint32_t>(glyf.size()));
        glyf.append(outline(g));
    }
    loca.u32(static_cast<uint32_t>(glyf.size()));
    return {glyf.data(), loca.data()};
}

// The directory and the tables, head's adjustment still 0; nHeadAt is where
// head starts.
std::vector<uint8_t> assemble(std::vector<Table>& vTables, size_t& nHeadAt) {
    std::sort(vTables.begin(), vTables.end(),
              [](const Table& a, const Table& b) { return std::string(a.szTag, 4) < std::string(b.szTag, 4); });
    const unsigned n = static_cast<unsigned>(vTables.size());
    unsigned nPower = 1, nLog = 0;
    while (nPower * 2 <= n) nPower *= 2, ++nLog;
    Bytes b;
    b.u32(kSfntVersion);
    b.u16(n), b.u16(16 * nPower), b.u16(nLog), b.u16(16 * n - 16 * nPower);
    uint32_t nOffset = 12 + 16 * n;
    for (const Table& t : vTables) {
        if (std::string(t.szTag, 4) == "head") nHeadAt = nOffset;
        b.tag(t.szTag), b.u32(checksum(t.vData)), b.u32(nOffset), b.u32(static_cast<uint32_t>(t.vData.size()));
        nOffset += static_cast<uint32_t>((t.vData.size() + 3) / 4 * 4);
    }
    for (const Table& t : vTables) b.append(t.vData), b.pad4();
    return std::move(b.data());
}

}  // namespace

std::vector<uint8_t> writeTrueType(const TtfFontDesc& font) {
    check(font);
    const Summary s = summarise(font);
    auto [vGlyf, vLoca] = glyphTables(font);
    std::vector<Table> vTables = {{"head", headTable(font, s)}, {"hhea", hheaTable(font, s)},
                                  {"maxp", maxpTable(font, s)}, {"OS/2", os2Table(font, s)},
                                  {"hmtx", hmtxTable(font)},    {"cmap", cmapTable(font)},
                                  {"loca", std::move(vLoca)},   {"glyf", std::move(vGlyf)},
                                  {"name", nameTable(font)},    {"post", postTable(font)},
                                  {"prep", prepTable()}};
    size_t nHeadAt = 0;
    std::vector<uint8_t> vFile = assemble(vTables, nHeadAt);
    // head's checksum adjustment makes the whole file sum to the magic number.
    const uint32_t nAdjust = kChecksumMagic - checksum(vFile);
    const size_t nAt = nHeadAt + kHeadAdjustmentOffset;
    for (int k = 0; k < 4; ++k) vFile[nAt + k] = static_cast<uint8_t>(nAdjust >> (24 - 8 * k));
    return vFile;
}
