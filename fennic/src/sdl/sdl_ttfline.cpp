// A line laid out as SDL_ttf lays it out, cut into pieces the library
// renders within their surfaces; see sdl_ttfline.h.
//
// The layout follows the library's: each glyph's pen position is the sum of
// the advances before it plus the kerning of each pair of glyphs the font
// has; a piece's surface reaches from the least of 0 and its first glyph's
// left bearing to the greatest of 0 and each glyph's pen position plus its
// advance or right edge. Positions are 64-bit here: a damaged font's metrics
// can sum beyond an int over a long line.
#include "sdl/sdl_ttfline.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include <zep2/error.h>

#include "image/image.h"
#include "sdl/sdl_image.h"
#include "text/ucs2text.h"

namespace {

constexpr const char* kZepSource = ".\\src\\sdl_ttfline";

// SDL makes no surface 16384 pixels wide or wider.
constexpr int64_t kMaxSurfaceWidth = 16383;
constexpr int64_t kMaxPieceWidth = 16000;

[[noreturn]] void measureFailed() {
    ZEP_THROW(Zep::FatalErrorException, Zep::String::format("TTF_SizeUTF8 failed : %s\n", TTF_GetError()).c_str());
}

// The library's size of a surface of the codes [p, p + n).
struct Size {
    int64_t w;
    int64_t h;
};

Size librarySize(TTF_Font* pFont, const Uint16* p, size_t n) {
    std::vector<Uint16> v(p, p + n);
    v.push_back(0);
    int w = 0, h = 0;
    if (TTF_SizeUNICODE(pFont, v.data(), &w, &h) != 0) measureFailed();
    return {w, h};
}

// A glyph on the line: its pen position, its left edge from the pen, how far
// right of the pen it takes the line's width (its advance or its right edge,
// the larger), and whether its box is too large to render.
struct Glyph {
    int64_t nPen;
    int nMinX;
    int nReach;
    bool bTooLarge;
};

// Glyphs [nFirst, nEnd) rendered together into one surface, whose left edge
// on the line is nLeft; a glyph too large to render is a piece left out.
struct Piece {
    size_t nFirst;
    size_t nEnd;
    int64_t nLeft;
    int64_t nWidth;
    bool bLeftOut;
};

std::vector<Glyph> layOut(TTF_Font* pFont, const std::vector<Uint16>& vCodes) {
    std::vector<Glyph> v;
    const bool bKerning = TTF_GetFontKerning(pFont) != 0;
    int64_t nPen = 0;
    int nPrevious = 0;
    for (size_t i = 0; i + 1 < vCodes.size(); ++i) {
        int nMinX = 0, nMaxX = 0, nMinY = 0, nMaxY = 0, nAdvance = 0;
        if (TTF_GlyphMetrics(pFont, vCodes[i], &nMinX, &nMaxX, &nMinY, &nMaxY, &nAdvance) != 0) measureFailed();
        const int nIndex = TTF_GlyphIsProvided(pFont, vCodes[i]);
        if (bKerning && nPrevious && nIndex) nPen += TTF_GetFontKerningSize(pFont, nPrevious, nIndex);
        const int64_t nArea = (int64_t(nMaxX) - nMinX) * (int64_t(nMaxY) - nMinY);
        v.push_back({nPen, nMinX, std::max(nAdvance, nMaxX), nArea > kMaxTtfPiecePixels});
        nPen += nAdvance;
        nPrevious = nIndex;
    }
    return v;
}

// A piece ends before a glyph reaching left of its surface (the library
// would write it before the pixels) or making it wider than nMaxWidth.
std::vector<Piece> cut(const std::vector<Glyph>& vGlyphs, int64_t nMaxWidth) {
    std::vector<Piece> vPieces;
    int64_t nOrigin = 0, nLeft = 0, nRight = 0;  // the piece's pen origin, its box from there
    for (size_t i = 0; i < vGlyphs.size(); ++i) {
        const Glyph& g = vGlyphs[i];
        const int64_t nAt = g.nPen - nOrigin;
        const int64_t nNewRight = std::max(nRight, nAt + g.nReach);
        const bool bJoins = !vPieces.empty() && !vPieces.back().bLeftOut && !g.bTooLarge;
        if (bJoins && nAt + g.nMinX >= nLeft && nNewRight - nLeft <= nMaxWidth) {
            nRight = nNewRight;
            vPieces.back().nEnd = i + 1;
            vPieces.back().nWidth = nRight - nLeft;
            continue;
        }
        nOrigin = g.nPen;
        nLeft = std::min(0, g.nMinX);
        nRight = std::max(0, g.nReach);
        vPieces.push_back({i, i + 1, nOrigin + nLeft, nRight - nLeft, g.bTooLarge});
    }
    return vPieces;
}

// What every piece of one line is drawn with, and the whole line's size.
struct LineDrawing {
    TTF_Font* pFont;
    Image& target;
    size_t nGlyphs;
    Size line;
    int y = 0;
    SDL_Color color{};
};

// Renders the codes [p, p + n), of that size, with the surface's left edge
// at x; nothing when that is empty, too large or off the target.
void render(const LineDrawing& d, int64_t x, const Uint16* p, size_t n, const Size& size) {
    if (size.w <= 0 || size.h <= 0 || size.w > kMaxSurfaceWidth || size.w * size.h > kMaxTtfPiecePixels) return;
    if (x >= d.target.getWidth() || x + size.w <= 0) return;
    std::vector<Uint16> v(p, p + n);
    v.push_back(0);
    SDL_Surface* pSurface = TTF_RenderUNICODE_Blended(d.pFont, v.data(), d.color);
    if (!pSurface) {
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("TTF_RenderUTF8_Blended failed : %s\n", TTF_GetError()).c_str());
    }
    const Zep::SmartPtr<Image> pPiece = new SDLImage(pSurface);
    d.target.blitFrom(*pPiece, static_cast<int>(x), d.y);
}

// The piece with its surface's left edge at x: whole when the library
// measures it as laid out, else one glyph at a time.
void drawPiece(const LineDrawing& d, const std::vector<Uint16>& vCodes, const std::vector<Glyph>& vGlyphs,
               const Piece& piece, int64_t x) {
    if (piece.bLeftOut || x >= d.target.getWidth() || x + piece.nWidth <= 0) return;
    const Uint16* p = vCodes.data() + piece.nFirst;
    const size_t n = piece.nEnd - piece.nFirst;
    const Size size = n == d.nGlyphs ? d.line : librarySize(d.pFont, p, n);
    if (n == 1 || size.w == piece.nWidth) return render(d, x, p, n, size);
    for (size_t i = piece.nFirst; i < piece.nEnd; ++i) {
        const int64_t nLeft = x - piece.nLeft + vGlyphs[i].nPen + std::min(0, vGlyphs[i].nMinX);
        render(d, nLeft, &vCodes[i], 1, librarySize(d.pFont, &vCodes[i], 1));
    }
}

}  // namespace

int ttfLineWidth(TTF_Font* pFont, const char* szText) {
    const std::vector<Uint16> vCodes = toUcs2(szText);
    return vCodes.size() > 1 ? static_cast<int>(librarySize(pFont, vCodes.data(), vCodes.size() - 1).w) : 0;
}

void ttfDrawLine(TTF_Font* pFont, Image& target, const char* szText, const std::vector<TtfInk>& vInks) {
    const std::vector<Uint16> vCodes = toUcs2(szText);
    const size_t nGlyphs = vCodes.size() - 1;
    if (nGlyphs == 0) return;
    LineDrawing d{pFont, target, nGlyphs, librarySize(pFont, vCodes.data(), nGlyphs)};
    const std::vector<Glyph> vGlyphs = layOut(pFont, vCodes);
    // Surfaces are as high as the line's: its tallest glyph, or its underline.
    // Pieces are no wider than the target, too: those off it are not rendered.
    const int64_t nMaxWidth = std::min({kMaxPieceWidth, kMaxTtfPiecePixels / std::max<int64_t>(1, d.line.h),
                                        std::max<int64_t>(1, target.getWidth())});
    const std::vector<Piece> vPieces = cut(vGlyphs, nMaxWidth);
    for (const TtfInk& ink : vInks) {
        d.y = ink.y;
        d.color = SDL_Color{ink.color.getRed(), ink.color.getGreen(), ink.color.getBlue(), 0};
        // x is where the first piece's surface starts.
        for (const Piece& piece : vPieces)
            drawPiece(d, vCodes, vGlyphs, piece, ink.x - vPieces.front().nLeft + piece.nLeft);
    }
}
