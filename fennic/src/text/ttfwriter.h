// A small TrueType writer: a font of straight-edged outline glyphs becomes
// the bytes of a .ttf file that SDL_ttf (through FreeType) opens.
//
// The file holds the tables a TrueType font needs and nothing more: head,
// hhea, maxp, OS/2, hmtx, cmap (one Windows Unicode subtable, format 4, so
// codes up to U+FFFF), loca (long offsets), glyf (simple glyphs, every point
// on the curve, no hinting instructions), name (Windows English records),
// post (version 3, no glyph names) and prep (a pre-program that only
// switches dropout control on, so that renderers scale the outlines as they
// are rather than hinting them automatically). Table and whole-file
// checksums are set. The output depends only on the description: both dates are zero.
//
// Glyph 0 is the font's missing-character glyph (".notdef"); it takes no
// codes. Contours are closed polygons in font units, y up from the
// baseline; outer contours run clockwise, holes anticlockwise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TtfPoint {
    int16_t x = 0;
    int16_t y = 0;
};

struct TtfGlyph {
    std::vector<uint16_t> vCodes;  // the characters drawn with it
    uint16_t nAdvance = 0;
    std::vector<std::vector<TtfPoint>> vContours;
};

struct TtfFontDesc {
    std::string sFamily = "Pixel";
    std::string sStyle = "Regular";
    uint16_t nUnitsPerEm = 1000;
    int16_t nAscent = 800;
    int16_t nDescent = 200;  // below the baseline, positive
    std::vector<TtfGlyph> vGlyphs;  // [0] is the missing-character glyph
};

constexpr int kMaxTtfGlyphs = 4096;
constexpr size_t kMaxTtfNameLength = 200;

// The file's bytes. Throws Zep::FatalErrorException for a description no
// file can hold: no glyph, more than kMaxTtfGlyphs, a code given twice, to
// glyph 0 or U+FFFF, a contour of fewer than three points, a glyph of more than 65535
// points, points of a glyph more than 32767 units apart, or a name longer
// than kMaxTtfNameLength.
std::vector<uint8_t> writeTrueType(const TtfFontDesc& font);

