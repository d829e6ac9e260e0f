// Text drawn with SDL_ttf and the DejaVu fonts of the system's font folder.
#pragma once

#include <string>

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
// Closes the fonts (at the end of the program).
void closeFonts();

}  // namespace cg
