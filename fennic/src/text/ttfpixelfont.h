// The pixel font: glyphs typed as rows of '#', each pixel a square of nCell
// font units, written as rectangles (runs of a row merged with the same runs
// of the rows below). Its capitals stand 7 pixels high on the baseline, one
// empty pixel column follows every glyph, and lower-case letters share the
// capitals' glyphs. With a cell of 100 units to the em of 1000, one pixel of
// the font is one screen pixel at 10 points. The missing-character glyph is
// a hollow 5 x 7 box; the font always has a zero-width space (U+200B), a
// combining acute accent (U+0301: no advance, a two-pixel bar above the
// capitals reaching back over the letter before) and the replacement
// character (U+FFFD: a question mark cut out of a block).
#pragma once

#include <string>
#include <vector>

#include "text/ttfwriter.h"

// The rows of '#' (set) and anything else (clear) as a glyph: the first row
// at the top, the first nAboveBaseline rows above the baseline, the others
// below it. Advance: one pixel more than the longest row.
TtfGlyph pixelGlyph(const std::vector<std::string>& vRows, int nCell, int nAboveBaseline = 7);

// The pixel font of the ASCII characters in szChars (a letter brings both
// cases; characters it has no glyph for are left out), or of all of them for
// null: space, digits, capitals, . , : ! ? - + ' ( ) /; and the three above.
TtfFontDesc pixelFont(const char* szFamily, const char* szChars = nullptr, int nCell = 100);
