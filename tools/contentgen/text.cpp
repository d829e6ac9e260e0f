// Text through SDL_ttf: one font object per face and size, kept open while
// the generator runs; a line is rendered blended and laid over the canvas in
// the wanted colour, its coverage taken from the rendered alpha.
#include "text.h"

#include <SDL/SDL_ttf.h>

#include <map>
#include <stdexcept>
#include <utility>

namespace cg {

namespace {

constexpr const char* kFontFolder = "/usr/share/fonts/truetype/dejavu/";

std::map<std::pair<bool, int>, TTF_Font*>& fontTable() {
    static std::map<std::pair<bool, int>, TTF_Font*> s_fonts;
    return s_fonts;
}

TTF_Font* font(const TextStyle& style) {
    if (!TTF_WasInit() && TTF_Init() != 0) throw std::runtime_error("contentgen: TTF_Init failed");
    TTF_Font*& pFont = fontTable()[{style.bBold, style.nSize}];
    if (!pFont) {
        const std::string sPath = std::string(kFontFolder) + (style.bBold ? "DejaVuSans-Bold.ttf" : "DejaVuSans.ttf");
        pFont = TTF_OpenFont(sPath.c_str(), style.nSize);
        if (!pFont) throw std::runtime_error("contentgen: cannot open " + sPath);
    }
    return pFont;
}

}  // namespace

int textWidth(const std::string& sText, const TextStyle& style) {
    int w = 0, h = 0;
    TTF_SizeUTF8(font(style), sText.c_str(), &w, &h);
    return w;
}

int textHeight(const TextStyle& style) { return TTF_FontHeight(font(style)); }

void drawText(Canvas& canvas, const std::string& sText, float x, float y, const TextStyle& style) {
    if (sText.empty()) return;
    SDL_Surface* pText = TTF_RenderUTF8_Blended(font(style), sText.c_str(), SDL_Color{255, 255, 255, 0});
    if (!pText) throw std::runtime_error("contentgen: cannot render '" + sText + "'");
    int nLeft = static_cast<int>(x);
    if (style.align == Align::Center) nLeft = static_cast<int>(x) - pText->w / 2;
    if (style.align == Align::Right) nLeft = static_cast<int>(x) - pText->w;
    SDL_LockSurface(pText);
    const SDL_PixelFormat* pFormat = pText->format;
    for (int py = 0; py < pText->h; ++py) {
        const auto* pRow = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(pText->pixels) +
                                                             py * pText->pitch);
        for (int px = 0; px < pText->w; ++px) {
            const uint32_t nAlpha = (pRow[px] & pFormat->Amask) >> pFormat->Ashift;
            if (nAlpha) canvas.blend(nLeft + px, static_cast<int>(y) + py, style.color, nAlpha / 255.0f);
        }
    }
    SDL_UnlockSurface(pText);
    SDL_FreeSurface(pText);
}

std::vector<std::string> wrapText(const std::string& sText, const TextStyle& style, int nWidth) {
    std::vector<std::string> vLines;
    std::string sLine, sWord;
    auto addWord = [&] {
        if (sWord.empty()) return;
        const std::string sLonger = sLine.empty() ? sWord : sLine + " " + sWord;
        if (!sLine.empty() && textWidth(sLonger, style) > nWidth) {
            vLines.push_back(sLine);
            sLine = sWord;
        } else {
            sLine = sLonger;
        }
        sWord.clear();
    };
    for (char ch : sText) {
        if (ch == ' ' || ch == '\n') addWord();
        if (ch == '\n') vLines.push_back(sLine), sLine.clear();
        if (ch != ' ' && ch != '\n') sWord += ch;
    }
    addWord();
    if (!sLine.empty()) vLines.push_back(sLine);
    return vLines;
}

float drawParagraph(Canvas& canvas, const std::string& sText, float x, float y, int nWidth, const TextStyle& style) {
    const int nStep = textHeight(style);
    for (const std::string& sLine : wrapText(sText, style, nWidth)) {
        drawText(canvas, sLine, x, y, style);
        y += nStep;
    }
    return y;
}

void closeFonts() {
    for (auto& [key, pFont] : fontTable())
        if (pFont) TTF_CloseFont(pFont);
    fontTable().clear();
    if (TTF_WasInit()) TTF_Quit();
}

}  // namespace cg
