// Balanced lines: a wrapped text whose every paragraph (the text up to and
// with each "\n") stands on as few lines as the width allows, but on lines
// as even as its words allow, so that a last line does not hold one word
// alone when moving words down to it takes no line more: each paragraph is
// wrapped at its own balanced width (Font::getBalancedWidth) and its lines
// are ended with "\n". One paragraph never widens another, so a long path
// on a line of its own leaves the sentences round it balanced.
#pragma once

#include <zep2/str.h>

class Font;

namespace balancedlines {

// The widest of the paragraphs' balanced widths at nWidth: the narrowest
// wrap width at which the balanced text shows as at nWidth.
int widthOf(Font& font, const char* szText, int nWidth);
// The text with "\n" after each line of every paragraph wrapped at its
// balanced width. nWidth <= 0 gives the text unchanged. At any width from
// widthOf up to nWidth the result is the same.
Zep::String balance(Font& font, const char* szText, int nWidth);

}  // namespace balancedlines
