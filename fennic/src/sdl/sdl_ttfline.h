// One line of UTF-8 text measured and drawn with SDL_ttf, within what the
// library can do safely.
//
// The text goes to the library as 16-bit codes (ucs2text.h), never as UTF-8:
// the library's own UTF-8 reading runs past the end of a cut sequence.
//
// The library renders a line into one surface as wide as the line measures,
// shifting the first glyph right when it reaches left of the pen, but not a
// later one: a glyph that reaches left of the line's start (a combining
// accent after a narrow letter, a damaged font's bearings or kerning) would
// be written before the surface's pixels. It also makes no surface 16384
// pixels wide or wider. So a line is laid out here first, glyph by glyph,
// from the library's own metrics and kerning, and cut into pieces that it
// renders within their surfaces: a piece ends before a glyph that would
// reach left of the piece's start, or that would make it wider than the
// target, than 16000 pixels or than kMaxTtfPiecePixels in all. A piece the
// library measures otherwise than the layout is drawn glyph by glyph (one
// glyph alone is always within its surface). A piece wholly off the target is not
// rendered; a glyph wider than any surface, or whose box holds more than
// kMaxTtfPiecePixels, is left out. A text that renders to nothing (no glyph
// with width, such as U+200B) draws nothing.
//
// The surfaces are as high as the line measures (its tallest glyph and the
// underline included); fonts whose printable ASCII does not measure 1 to
// kMaxTtfLineHeight pixels high are not opened (sdl_ttf.h).
#pragma once

#include <cstdint>
#include <vector>

#include "base/color.h"

class Image;
struct _TTF_Font;

// Far beyond any text of the game; bounds the memory one rendering takes
// (4 bytes a pixel).
constexpr int kMaxTtfLineHeight = 1024;
constexpr int64_t kMaxTtfPiecePixels = int64_t(1) << 22;

// One drawing of a line: the left edge of its measured box at x, its top at
// y, in the colour's RGB.
struct TtfInk {
    int x;
    int y;
    Color color;
};

// Throws Zep::FatalErrorException "TTF_SizeUTF8 failed : %s\n" (SDL's error)
// when the library cannot measure a glyph.
int ttfLineWidth(_TTF_Font* pFont, const char* szText);

// The line composited onto the target once for each ink, in order (a shadow,
// then the text), laid out once. Throws as ttfLineWidth, or
// Zep::FatalErrorException "TTF_RenderUTF8_Blended failed : %s\n" when the
// library cannot render a piece.
void ttfDrawLine(_TTF_Font* pFont, Image& target, const char* szText, const std::vector<TtfInk>& vInks);
