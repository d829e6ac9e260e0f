// Long words in wrapped text: a path, an address or any other run without
// spaces that is wider than the line cannot wrap at a space, so it is given
// line breaks of its own and shows whole instead of running out of its box.
//
// A word wider than the width is cut into pieces, each the longest that fits:
// after its last "/" that fits, so a path breaks between its folders; where no
// "/" (other than the piece's first character) falls within the width, after
// the last whole UTF-8 character that fits (never inside one); a single
// character wider than the width stands alone. Spaces, line breaks and words
// that fit stay as they are, so the font's wrapping at spaces is unchanged.
//
// A word too long for the room it may take (a path that would make a dialog
// taller than the screen) is shortened in its middle instead: its beginning
// and its end are kept with the font's ellipsis between them, the beginning
// cut just after a "/" and the end just before one where a "/" falls in
// them (so "/home/ann/…/TukHarbor/tukconfig.dat" keeps whole folder names,
// with the ellipsis standing as a folder of its own), else between whole
// UTF-8 characters.
#pragma once

#include <zep2/str.h>

class Font;

namespace wordbreak {

// The text with "\n" after each piece of every word wider than nWidth
// pixels in the font. nWidth <= 0 gives the text unchanged.
Zep::String breakLongWords(Font& font, const char* szText, int nWidth);

// The width in the font of the text's widest word (0 for none).
int widestWordWidth(Font& font, const char* szText);
// The text with its widest word (the first of equal ones), when that is
// wider than nWidth pixels, shortened in its middle to at most nWidth: half
// the room beside the ellipsis to its beginning, the rest to its end.
Zep::String shortenWidestWord(Font& font, const char* szText, int nWidth);

}  // namespace wordbreak
