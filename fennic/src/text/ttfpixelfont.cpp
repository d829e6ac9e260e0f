// The pixel font's glyphs and their conversion to rectangle outlines.
#include "text/ttfpixelfont.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

namespace {

using Rows = std::vector<std::string>;

// 7 rows above the baseline, then any below it.
const std::map<char, Rows>& glyphRows() {
    static const std::map<char, Rows> s_m = {
        {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
        {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
        {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
        {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
        {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
        {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
        {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
        {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
        {'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
        {'J', {"..###", "...#.", "...#.", "...#.", "#..#.", "#..#.", ".##.."}},
        {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
        {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
        {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
        {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
        {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
        {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
        {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
        {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
        {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
        {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
        {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
        {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
        {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
        {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
        {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
        {'1', {".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"}},
        {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
        {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
        {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
        {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
        {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
        {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
        {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
        {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
        {'.', {".", ".", ".", ".", ".", ".", "#"}},
        {',', {"..", "..", "..", "..", "..", ".#", ".#", "#."}},
        {':', {".", ".", "#", ".", ".", "#", "."}},
        {'!', {"#", "#", "#", "#", "#", ".", "#"}},
        {'?', {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}},
        {'-', {"....", "....", "....", "####", "....", "....", "...."}},
        {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
        {'\'', {"#", "#", ".", ".", ".", ".", "."}},
        {'(', {"..#", ".#.", "#..", "#..", "#..", ".#.", "..#"}},
        {')', {"#..", ".#.", "..#", "..#", "..#", ".#.", "#.."}},
        {'/', {"....#", "...#.", "...#.", "..#..", ".#...", ".#...", "#...."}},
    };
    return s_m;
}

const Rows kMissingRows = {"#####", "#...#", "#...#", "#...#", "#...#", "#...#", "#####"};
// A question mark cut out of a block.
const Rows kReplacementRows = {"#...#", ".###.", "####.", "###.#", "##.##", "#####", "##.##"};
// A bar two pixels wide, right above the capitals, from three to one pixel
// left of the pen: over the right half of the letter before.
const Rows kAcuteRows = {"##"};
constexpr int kAcuteLeftCells = 3;
constexpr int kSpaceCells = 4;
constexpr uint16_t kZeroWidthSpace = 0x200B;
constexpr uint16_t kCombiningAcute = 0x0301;
constexpr uint16_t kReplacement = 0xFFFD;

// A rectangle of cells, clockwise with y up.
std::vector<TtfPoint> rectangle(int x0, int y0, int x1, int y1) {
    auto p = [](int x, int y) { return TtfPoint{static_cast<int16_t>(x), static_cast<int16_t>(y)}; };
    return {p(x0, y0), p(x0, y1), p(x1, y1), p(x1, y0)};
}

}  // namespace

TtfGlyph pixelGlyph(const std::vector<std::string>& vRows, int nCell, int nAboveBaseline) {
    struct Open {
        int c0, c1, nTop, nBottom;  // columns [c0, c1), rows [nTop, nBottom)
    };
    std::vector<Open> vOpen;
    size_t nWidth = 0;
    for (int r = 0; r < static_cast<int>(vRows.size()); ++r) {
        const std::string& s = vRows[r];
        nWidth = std::max(nWidth, s.size());
        for (size_t c = 0; c < s.size();) {
            if (s[c] != '#') {
                ++c;
                continue;
            }
            const int c0 = static_cast<int>(c);
            while (c < s.size() && s[c] == '#') ++c;
            const int c1 = static_cast<int>(c);
            // The same run in the row above grows down; anything else starts anew.
            auto it = std::find_if(vOpen.begin(), vOpen.end(),
                                   [&](const Open& o) { return o.c0 == c0 && o.c1 == c1 && o.nBottom == r; });
            if (it != vOpen.end()) ++it->nBottom;
            else vOpen.push_back({c0, c1, r, r + 1});
        }
    }
    TtfGlyph g;
    g.nAdvance = static_cast<uint16_t>((nWidth + 1) * nCell);
    for (const Open& o : vOpen)
        g.vContours.push_back(rectangle(o.c0 * nCell, (nAboveBaseline - o.nBottom) * nCell, o.c1 * nCell,
                                        (nAboveBaseline - o.nTop) * nCell));
    return g;
}

TtfFontDesc pixelFont(const char* szFamily, const char* szChars, int nCell) {
    TtfFontDesc font;
    font.sFamily = szFamily;
    font.nUnitsPerEm = static_cast<uint16_t>(10 * nCell);
    font.nAscent = static_cast<int16_t>(8 * nCell);
    font.nDescent = static_cast<int16_t>(2 * nCell);
    font.vGlyphs.push_back(pixelGlyph(kMissingRows, nCell));
    auto wanted = [szChars](char c) {
        return !szChars || std::strchr(szChars, c) || std::strchr(szChars, std::tolower(c));
    };
    if (wanted(' ')) {
        TtfGlyph space;
        space.vCodes = {' '};
        space.nAdvance = static_cast<uint16_t>(kSpaceCells * nCell);
        font.vGlyphs.push_back(space);
    }
    TtfGlyph zeroWidth;
    zeroWidth.vCodes = {kZeroWidthSpace};
    font.vGlyphs.push_back(zeroWidth);
    TtfGlyph acute = pixelGlyph(kAcuteRows, nCell, 8);
    acute.vCodes = {kCombiningAcute};
    acute.nAdvance = 0;
    for (auto& vContour : acute.vContours)
        for (TtfPoint& p : vContour) p.x = static_cast<int16_t>(p.x - kAcuteLeftCells * nCell);
    font.vGlyphs.push_back(acute);
    TtfGlyph replacement = pixelGlyph(kReplacementRows, nCell);
    replacement.vCodes = {kReplacement};
    font.vGlyphs.push_back(replacement);
    for (const auto& [c, vRows] : glyphRows()) {
        if (!wanted(c)) continue;
        TtfGlyph g = pixelGlyph(vRows, nCell);
        g.vCodes = {static_cast<uint16_t>(c)};
        if (std::isupper(static_cast<unsigned char>(c))) g.vCodes.push_back(static_cast<uint16_t>(std::tolower(c)));
        font.vGlyphs.push_back(std::move(g));
    }
    return font;
}
