// Text drawn with SDL_ttf and the DejaVu fonts of the system's font folder.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace cg {

enum class Align { Left, Center, Right };

struct TextStyle {
    int nSize = 16;
    bool bBold = false;
    Rgba color = rgb(0x000000);
    Align align = Align::Left;
};

// Opens the fonts on first use; throws std::runtime_error when a font is missing.
// Draws one line whose top is y and whose x is its left edge, centre or right
// edge by the alignment.
void drawText(Canvas& canvas, const std::string& sText, float x, float y, const TextStyle& style);
// Width and height of the line in pixels.
int textWidth(const std::string& sText, const TextStyle& style);
int textHeight(const TextStyle& style);
// The words of the text in lines no wider than nWidth pixels (a longer word
// stands alone); "\n" ends a line.
std::vector<std::string> wrapText(const std::string& sText, const TextStyle& style, int nWidth);
// The wrapped lines one font height apart, the first with its top at y; x as
// in drawText. Answers the y below the last line.
float drawParagraph(Canvas& canvas, const std::string& sText, float x, float y, int nWidth, const TextStyle& style);
// Closes the fonts (at the end of the program).
void closeFonts();

}  // namespace cg
