// mksysfont: draws the framework's built-in system font and writes it as the
// glyph strip "Fennic::SystemFont.png" (377 x 108, 8-bit grey with alpha), or
// as the C++ source that embeds those bytes in the framework.
//
//   mksysfont --png FILE     the picture
//   mksysfont --cpp FILE     the embedding source (fennic/src/text/systemfont_png.cpp)
//   mksysfont --check FILE   exit 0 when FILE is exactly what --cpp would write
//
// The glyphs are typed below, one string per pixel row ('#' set). Each glyph
// sits in a cell of 13 rows: rows 0-1 hold the accents of capitals, rows 2-10
// the capitals (9 pixels high, the baseline under row 10), rows 5-10 the
// lower case, rows 11-12 the descenders. Accented letters are composed from
// their base letter and an accent. Every column of a glyph must hold a pixel
// (the strip scanner splits glyphs at empty columns), which the tool checks.
//
// The strip: seven rows of glyphs, each framed by a marker pixel in column 0
// just above and just below it; glyphs start at column 2 and stand four empty
// columns apart, so the scanner measures a space width of 4.
//
// Exit status: 0 done, 1 check failed or a glyph does not fit, 2 bad usage or I/O.
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "text/glyphstrip.h"

namespace {

constexpr int kStripWidth = 377;
constexpr int kStripHeight = 108;
constexpr int kCellHeight = 13;
constexpr int kRowPitch = kCellHeight + 2;  // the cell and its two markers
constexpr int kFirstColumn = 2;
constexpr int kGap = 4;

using Rows = std::vector<std::string>;

struct Glyph {
    int nTop = 0;  // cell row of the first string
    Rows lRows;
    int width() const { return lRows.empty() ? 0 : static_cast<int>(lRows[0].size()); }
};

// The base glyphs, keyed by Latin-1 code.
std::map<unsigned char, Glyph> baseGlyphs() {
    std::map<unsigned char, Glyph> m;
    // Capitals, rows 2-10.
    m['A'] = {2, {".###.", "#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#", "#...#"}};
    m['B'] = {2, {"####.", "#...#", "#...#", "#...#", "####.", "#...#", "#...#", "#...#", "####."}};
    m['C'] = {2, {".###.", "#...#", "#....", "#....", "#....", "#....", "#....", "#...#", ".###."}};
    m['D'] = {2, {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}};
    m['E'] = {2, {"#####", "#....", "#....", "#....", "####.", "#....", "#....", "#....", "#####"}};
    m['F'] = {2, {"#####", "#....", "#....", "#....", "####.", "#....", "#....", "#....", "#...."}};
    m['G'] = {2, {".###.", "#...#", "#....", "#....", "#.###", "#...#", "#...#", "#...#", ".###."}};
    m['H'] = {2, {"#...#", "#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#", "#...#"}};
    m['I'] = {2, {"###", ".#.", ".#.", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}};
    m['J'] = {2, {"....#", "....#", "....#", "....#", "....#", "....#", "#...#", "#...#", ".###."}};
    m['K'] = {2, {"#...#", "#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#", "#...#"}};
    m['L'] = {2, {"#....", "#....", "#....", "#....", "#....", "#....", "#....", "#....", "#####"}};
    m['M'] = {2, {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#", "#...#", "#...#"}};
    m['N'] = {2, {"#...#", "##..#", "##..#", "#.#.#", "#.#.#", "#..##", "#..##", "#...#", "#...#"}};
    m['O'] = {2, {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}};
    m['P'] = {2, {"####.", "#...#", "#...#", "#...#", "####.", "#....", "#....", "#....", "#...."}};
    m['Q'] = {2, {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}};
    m['R'] = {2, {"####.", "#...#", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#", "#...#"}};
    m['S'] = {2, {".###.", "#...#", "#....", "#....", ".###.", "....#", "....#", "#...#", ".###."}};
    m['T'] = {2, {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}};
    m['U'] = {2, {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}};
    m['V'] = {2, {"#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", ".#.#.", "..#..", "..#.."}};
    m['W'] = {2, {"#...#", "#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", "##.##", "#...#"}};
    m['X'] = {2, {"#...#", "#...#", ".#.#.", ".#.#.", "..#..", ".#.#.", ".#.#.", "#...#", "#...#"}};
    m['Y'] = {2, {"#...#", "#...#", ".#.#.", ".#.#.", "..#..", "..#..", "..#..", "..#..", "..#.."}};
    m['Z'] = {2, {"#####", "....#", "...#.", "...#.", "..#..", ".#...", ".#...", "#....", "#####"}};
    // Lower case: x-height rows 5-10, ascenders from row 2, descenders to row 12.
    m['a'] = {5, {".###.", "....#", ".####", "#...#", "#...#", ".####"}};
    m['b'] = {2, {"#....", "#....", "#....", "####.", "#...#", "#...#", "#...#", "#...#", "####."}};
    m['c'] = {5, {".###.", "#...#", "#....", "#....", "#...#", ".###."}};
    m['d'] = {2, {"....#", "....#", "....#", ".####", "#...#", "#...#", "#...#", "#...#", ".####"}};
    m['e'] = {5, {".###.", "#...#", "#####", "#....", "#...#", ".###."}};
    m['f'] = {2, {"..##", ".#..", ".#..", "####", ".#..", ".#..", ".#..", ".#..", ".#.."}};
    m['g'] = {5, {".####", "#...#", "#...#", "#...#", ".####", "....#", "#...#", ".###."}};
    m['h'] = {2, {"#....", "#....", "#....", "####.", "#...#", "#...#", "#...#", "#...#", "#...#"}};
    m['i'] = {3, {".#.", "...", "##.", ".#.", ".#.", ".#.", ".#.", "###"}};
    m['j'] = {3, {"...#", "....", "..##", "...#", "...#", "...#", "...#", "...#", "#..#", ".##."}};
    m['k'] = {2, {"#...", "#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#", "#..#"}};
    m['l'] = {2, {"##.", ".#.", ".#.", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}};
    m['m'] = {5, {"####.", "#.#.#", "#.#.#", "#.#.#", "#.#.#", "#.#.#"}};
    m['n'] = {5, {"####.", "#...#", "#...#", "#...#", "#...#", "#...#"}};
    m['o'] = {5, {".###.", "#...#", "#...#", "#...#", "#...#", ".###."}};
    m['p'] = {5, {"####.", "#...#", "#...#", "#...#", "####.", "#....", "#....", "#...."}};
    m['q'] = {5, {".####", "#...#", "#...#", "#...#", ".####", "....#", "....#", "....#"}};
    m['r'] = {5, {"#.##.", "##..#", "#....", "#....", "#....", "#...."}};
    m['s'] = {5, {".####", "#....", ".###.", "....#", "....#", "####."}};
    m['t'] = {3, {".#..", ".#..", "####", ".#..", ".#..", ".#..", ".#..", "..##"}};
    m['u'] = {5, {"#...#", "#...#", "#...#", "#...#", "#...#", ".####"}};
    m['v'] = {5, {"#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."}};
    m['w'] = {5, {"#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}};
    m['x'] = {5, {"#...#", ".#.#.", "..#..", "..#..", ".#.#.", "#...#"}};
    m['y'] = {5, {"#...#", "#...#", "#...#", "#...#", ".####", "....#", "#...#", ".###."}};
    m['z'] = {5, {"#####", "...#.", "..#..", ".#...", "#....", "#####"}};
    // The dotless i, base of the accented i.
    m[0] = {5, {"##.", ".#.", ".#.", ".#.", ".#.", "###"}};
    // Digits, rows 2-10.
    m['0'] = {2, {".###.", "#...#", "#..##", "#.#.#", "#.#.#", "#.#.#", "##..#", "#...#", ".###."}};
    m['1'] = {2, {".#.", "##.", ".#.", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}};
    m['2'] = {2, {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#....", "#....", "#####"}};
    m['3'] = {2, {".###.", "#...#", "....#", "....#", "..##.", "....#", "....#", "#...#", ".###."}};
    m['4'] = {2, {"...#.", "..##.", ".#.#.", "#..#.", "#..#.", "#####", "...#.", "...#.", "...#."}};
    m['5'] = {2, {"#####", "#....", "#....", "####.", "....#", "....#", "....#", "#...#", ".###."}};
    m['6'] = {2, {".###.", "#....", "#....", "####.", "#...#", "#...#", "#...#", "#...#", ".###."}};
    m['7'] = {2, {"#####", "....#", "...#.", "...#.", "..#..", "..#..", ".#...", ".#...", ".#..."}};
    m['8'] = {2, {".###.", "#...#", "#...#", "#...#", ".###.", "#...#", "#...#", "#...#", ".###."}};
    m['9'] = {2, {".###.", "#...#", "#...#", "#...#", ".####", "....#", "....#", "....#", ".###."}};
    // Punctuation and signs.
    m[','] = {9, {".#", ".#", "#."}};
    m['.'] = {9, {"#", "#"}};
    m[';'] = {5, {".#", ".#", "..", "..", ".#", ".#", "#."}};
    m[':'] = {5, {"#", "#", ".", ".", "#", "#"}};
    m['='] = {5, {"#####", ".....", ".....", "#####"}};
    m['_'] = {11, {"#####"}};
    m['\''] = {2, {"#", "#", "#"}};
    m['"'] = {2, {".#.#", ".#.#", "#.#."}};
    m[0xA1] = {5, {"#", ".", "#", "#", "#", "#", "#", "#"}};
    m['!'] = {2, {"#", "#", "#", "#", "#", "#", "#", ".", "#"}};
    m[0xBF] = {4, {"..#..", ".....", "..#..", "..#..", "..#..", ".#...", "#....", "#...#", ".###."}};
    m['?'] = {2, {".###.", "#...#", "....#", "...#.", "..#..", "..#..", "..#..", ".....", "..#.."}};
    m['('] = {2, {"..#", ".#.", ".#.", "#..", "#..", "#..", "#..", "#..", ".#.", ".#.", "..#"}};
    m[')'] = {2, {"#..", ".#.", ".#.", "..#", "..#", "..#", "..#", "..#", ".#.", ".#.", "#.."}};
    m['{'] = {2, {"..##", ".#..", ".#..", ".#..", ".#..", "#...", ".#..", ".#..", ".#..", ".#..", "..##"}};
    m['}'] = {2, {"##..", "..#.", "..#.", "..#.", "..#.", "...#", "..#.", "..#.", "..#.", "..#.", "##.."}};
    m['['] = {2, {"###", "#..", "#..", "#..", "#..", "#..", "#..", "#..", "#..", "#..", "###"}};
    m[']'] = {2, {"###", "..#", "..#", "..#", "..#", "..#", "..#", "..#", "..#", "..#", "###"}};
    m['@'] = {2, {".###.", "#...#", "#.###", "#.#.#", "#.#.#", "#.###", "#....", "#...#", ".###."}};
    m['#'] = {3, {".#.#.", ".#.#.", "#####", ".#.#.", ".#.#.", "#####", ".#.#.", ".#.#."}};
    m['$'] = {2, {"..#..", ".####", "#.#..", "#.#..", ".###.", "..#.#", "..#.#", "####.", "..#.."}};
    m['%'] = {2, {"##..#", "##..#", "...#.", "...#.", "..#..", ".#...", ".#...", "#..##", "#..##"}};
    m['&'] = {2, {".##..", "#..#.", "#..#.", ".##..", ".#...", "#.#.#", "#..#.", "#..#.", ".##.#"}};
    m['\\'] = {2, {"#....", "#....", ".#...", ".#...", "..#..", "...#.", "...#.", "....#", "....#"}};
    m['~'] = {5, {".##.#", "#..#."}};
    m['|'] = {2, {"#", "#", "#", "#", "#", "#", "#", "#", "#", "#", "#"}};
    m['+'] = {4, {"..#..", "..#..", "#####", "..#..", "..#.."}};
    m['-'] = {6, {"####"}};
    m['*'] = {3, {"..#..", "#.#.#", ".###.", "#.#.#", "..#.."}};
    m['/'] = {2, {"....#", "....#", "...#.", "...#.", "..#..", ".#...", ".#...", "#....", "#...."}};
    m['<'] = {3, {"...#", "..#.", ".#..", "#...", ".#..", "..#.", "...#"}};
    m['>'] = {3, {"#...", ".#..", "..#.", "...#", "..#.", ".#..", "#..."}};
    m[0xAA] = {2, {".##.", "...#", ".###", "#..#", ".###", "....", "####"}};
    m[0xBA] = {2, {".##.", "#..#", "#..#", ".##.", "....", "####"}};
    return m;
}

// Accents, centred over their letter.
const Rows kAcute = {"..#", ".#."};
const Rows kGrave = {"#..", ".#."};
const Rows kCircumflex = {".#.", "#.#"};
const Rows kDiaeresis = {"#.#"};
const Rows kTilde = {".##.#", "#..#."};

struct Composed {
    unsigned char nCode;
    unsigned char nBase;
    const Rows* pAccent;
};

// Latin-1 letters made of a base letter and an accent.
const Composed kComposed[] = {
    {0xC1, 'A', &kAcute},     {0xC9, 'E', &kAcute},      {0xCD, 'I', &kAcute},      {0xD3, 'O', &kAcute},
    {0xDA, 'U', &kAcute},     {0xD1, 'N', &kTilde},      {0xC4, 'A', &kDiaeresis},  {0xD6, 'O', &kDiaeresis},
    {0xC0, 'A', &kGrave},     {0xC2, 'A', &kCircumflex}, {0xC8, 'E', &kGrave},      {0xCA, 'E', &kCircumflex},
    {0xCE, 'I', &kCircumflex}, {0xCF, 'I', &kDiaeresis}, {0xD4, 'O', &kCircumflex}, {0xD9, 'U', &kGrave},
    {0xDB, 'U', &kCircumflex}, {0xE1, 'a', &kAcute},     {0xE9, 'e', &kAcute},      {0xED, 0, &kAcute},
    {0xF3, 'o', &kAcute},     {0xFA, 'u', &kAcute},      {0xF1, 'n', &kTilde},      {0xE4, 'a', &kDiaeresis},
    {0xF6, 'o', &kDiaeresis}, {0xE0, 'a', &kGrave},      {0xE2, 'a', &kCircumflex}, {0xE8, 'e', &kGrave},
    {0xEA, 'e', &kCircumflex}, {0xEE, 0, &kCircumflex},  {0xEF, 0, &kDiaeresis},    {0xF4, 'o', &kCircumflex},
    {0xF9, 'u', &kGrave},     {0xFB, 'u', &kCircumflex},
};

// The letter with its accent: above the capitals in rows 0-1, above the lower
// case in rows 2-3, a one-row accent on the lower of the two rows for lower case.
Glyph compose(const Glyph& base, const Rows& accent) {
    const bool bCapital = base.nTop == 2;
    const int nAccentTop = bCapital ? 0 : (accent.size() == 1 ? 3 : 2);
    Glyph g;
    g.nTop = nAccentTop;
    const int w = base.width();
    const int nLeft = (w - static_cast<int>(accent[0].size())) / 2;
    for (int y = nAccentTop; y < base.nTop + static_cast<int>(base.lRows.size()); ++y) {
        std::string sRow(static_cast<size_t>(w), '.');
        const int ay = y - nAccentTop;
        if (ay < static_cast<int>(accent.size()))
            for (size_t x = 0; x < accent[ay].size(); ++x)
                if (accent[ay][x] == '#') sRow[nLeft + x] = '#';
        const int by = y - base.nTop;
        if (by >= 0)
            for (int x = 0; x < w; ++x)
                if (base.lRows[by][x] == '#') sRow[x] = '#';
        g.lRows.push_back(sRow);
    }
    return g;
}

std::map<unsigned char, Glyph> allGlyphs() {
    std::map<unsigned char, Glyph> m = baseGlyphs();
    for (const Composed& c : kComposed) m[c.nCode] = compose(m.at(c.nBase), *c.pAccent);
    m.erase(0);
    return m;
}


// Grey-alpha pixels, two bytes each, row by row.
struct Picture {
    std::vector<uint8_t> lPixels = std::vector<uint8_t>(static_cast<size_t>(kStripWidth) * kStripHeight * 2, 0);
    void set(int x, int y) {
        const size_t i = (static_cast<size_t>(y) * kStripWidth + x) * 2;
        lPixels[i] = 255;
        lPixels[i + 1] = 255;
    }
};

bool fail(const std::string& sWhy) {
    std::fprintf(stderr, "mksysfont: %s\n", sWhy.c_str());
    return false;
}

// A glyph is valid when its rows are equally wide, fit the cell and leave no column empty.
bool checkGlyph(unsigned char c, const Glyph& g) {
    const std::string sName = "glyph " + std::to_string(c);
    if (g.lRows.empty() || g.nTop < 0 || g.nTop + static_cast<int>(g.lRows.size()) > kCellHeight)
        return fail(sName + " does not fit its cell");
    for (const std::string& sRow : g.lRows)
        if (static_cast<int>(sRow.size()) != g.width()) return fail(sName + " has rows of different widths");
    for (int x = 0; x < g.width(); ++x) {
        bool bSet = false;
        for (const std::string& sRow : g.lRows) bSet = bSet || sRow[x] == '#';
        if (!bSet) return fail(sName + " has an empty column");
    }
    return true;
}

bool drawStrip(Picture& pic) {
    const std::map<unsigned char, Glyph> glyphs = allGlyphs();
    for (int r = 0; r < kGlyphStripRowCount; ++r) {
        const int nMarker = r * kRowPitch;
        pic.set(0, nMarker);
        pic.set(0, nMarker + kCellHeight + 1);
        int x = kFirstColumn;
        for (const char* p = kGlyphStripRows[r]; *p; ++p) {
            const unsigned char c = static_cast<unsigned char>(*p);
            const auto it = glyphs.find(c);
            if (it == glyphs.end()) return fail("no glyph for code " + std::to_string(c));
            const Glyph& g = it->second;
            if (!checkGlyph(c, g)) return false;
            if (x + g.width() >= kStripWidth) return fail("row " + std::to_string(r + 1) + " is too wide");
            for (size_t gy = 0; gy < g.lRows.size(); ++gy)
                for (int gx = 0; gx < g.width(); ++gx)
                    if (g.lRows[gy][gx] == '#') pic.set(x + gx, nMarker + 1 + g.nTop + static_cast<int>(gy));
            x += g.width() + kGap;
        }
    }
    return true;
}

void put32(std::string& s, uint32_t n) {
    for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((n >> shift) & 0xFF);
}

void chunk(std::string& png, const char* szType, const std::string& sData) {
    put32(png, static_cast<uint32_t>(sData.size()));
    const std::string sBody = std::string(szType, 4) + sData;
    png += sBody;
    put32(png, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(sBody.data()),
                                           static_cast<uInt>(sBody.size()))));
}

// A non-interlaced PNG, colour type 4 (grey and alpha), depth 8, filter 0 on every row.
bool encodePng(const Picture& pic, std::string& png) {
    std::string sRaw;
    for (int y = 0; y < kStripHeight; ++y) {
        sRaw += '\0';
        sRaw.append(reinterpret_cast<const char*>(&pic.lPixels[static_cast<size_t>(y) * kStripWidth * 2]),
                    static_cast<size_t>(kStripWidth) * 2);
    }
    uLongf nPacked = compressBound(sRaw.size());
    std::string sPacked(nPacked, '\0');
    if (compress2(reinterpret_cast<Bytef*>(sPacked.data()), &nPacked, reinterpret_cast<const Bytef*>(sRaw.data()),
                  sRaw.size(), 9) != Z_OK)
        return fail("zlib failed");
    sPacked.resize(nPacked);
    std::string sHeader;
    put32(sHeader, kStripWidth);
    put32(sHeader, kStripHeight);
    sHeader += std::string("\x08\x04\x00\x00\x00", 5);
    png = "\x89PNG\r\n\x1A\n";
    chunk(png, "IHDR", sHeader);
    chunk(png, "IDAT", sPacked);
    chunk(png, "IEND", "");
    return true;
}

std::string cppSource(const std::string& png) {
    std::ostringstream out;
    out << "// The built-in system font strip \"Fennic::SystemFont.png\" (" << kStripWidth << " x " << kStripHeight
        << ", 8-bit grey with alpha).\n// Generated by tools/mksysfont (--cpp); do not edit.\n"
        << "#include \"text/systemfont_png.h\"\n\nconst uint8_t kSystemFontPng[] = {";
    for (size_t i = 0; i < png.size(); ++i) {
        out << (i % 16 == 0 ? "\n   " : "") << " 0x";
        const char* szHex = "0123456789abcdef";
        const auto b = static_cast<uint8_t>(png[i]);
        out << szHex[b >> 4] << szHex[b & 15] << ',';
    }
    out << "\n};\n\nconst size_t kSystemFontPngSize = sizeof(kSystemFontPng);\n";
    return out.str();
}

int usage() {
    std::fprintf(stderr, "usage: mksysfont --png FILE | --cpp FILE | --check FILE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return usage();
    const std::string sMode = argv[1];
    if (sMode != "--png" && sMode != "--cpp" && sMode != "--check") return usage();
    Picture pic;
    std::string png;
    if (!drawStrip(pic) || !encodePng(pic, png)) return 1;
    const std::string sOut = sMode == "--png" ? png : cppSource(png);
    if (sMode == "--check") {
        std::ifstream in(argv[2], std::ios::binary);
        const std::string sHave((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (sHave == sOut) return 0;
        std::fprintf(stderr, "mksysfont: %s differs from the generated source\n", argv[2]);
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << sOut;
    return out.good() ? 0 : 2;
}
