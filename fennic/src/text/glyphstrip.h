// The glyph strip of the bitmap fonts and its scanner.
//
// A strip is one picture with seven glyph rows, one below the other. Each row
// is framed by two marker pixels in column 0, one just above the row and one
// just below it; every other pixel of column 0 is transparent (alpha 0, or
// the colour key). Inside a row the glyphs stand side by side, separated by at
// least one fully transparent column. The characters of each row are those
// of kGlyphStripRows, left to right; each row begins with an "A", the row's
// reference glyph, whose first non-empty pixel row is the reference top of
// every glyph of the row.
//
// The scanner never reads outside the picture and always ends: a strip with
// fewer than seven framed rows gives the glyphs of the rows it has, a row
// that runs out of glyphs ends early, a strip without transparency gives no
// glyphs at all.
#pragma once

#include <array>
#include <memory>

#include <zep2/refcount.h>

class Image;

// A glyph per Latin-1 code; an empty entry means no glyph.
using GlyphTable = std::array<Zep::SmartPtr<Image>, 256>;

inline constexpr int kGlyphStripRowCount = 7;

// The characters of the rows, in Latin-1.
extern const char* const kGlyphStripRows[kGlyphStripRowCount];

// Cuts the glyphs out of a strip. Every glyph is the canvas rectangle of its
// columns over the full height of its row, its insertion point (0, the row's
// reference top). The first "A" is not stored: the stored "A" is the last
// row's. A later row's glyph replaces an earlier one of the same character.
// The metrics: char spacing 1; space width the mean gap between neighbouring
// glyphs in whole pixels, or 6 when there is no gap to measure; line height
// the height of the stored "A" + 5, or 5 without an "A".
std::unique_ptr<GlyphTable> scanGlyphStrip(const Zep::SmartPtr<Image>& pStrip, int* pCharSpacing,
                                           int* pSpaceWidth, int* pLineHeight);
