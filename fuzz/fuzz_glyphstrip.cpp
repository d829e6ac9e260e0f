// The glyph-strip scanner and the bitmap fonts over arbitrary pictures.
//
// The input is a picture, not a file: byte 0 and 1 give width (1-96) and
// height (1-64), byte 2 the transparency (0 alpha channel, 1 colour key,
// 2 none), bytes 3 and 4 margins of a larger canvas, right of the data and
// above and below it; the rest are the pixels' alpha (or, with a colour key,
// whether a pixel is the key), repeated as needed. A scan must end without reading outside the
// picture, and a font cut from it must measure and draw.
//
// A simple font tints every glyph of the strip in each colour it draws (pixel
// by pixel), so the cost of an input follows the picture's area: 64 rows
// still hold the seven framed glyph rows with glyphs up to seven pixels high.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "text/bitmapfont.h"
#include "application/gameapp.h"
#include "image/imageonlyplatform.h"
#include "image/memimage.h"

namespace {

GameApp& app() {
    static GameApp* s_pApp = [] {
        GameApp::disableLog();
        GameApp::disableSettingsSaving();
        auto* pApp = new GameApp();
        pApp->setPlatform(std::make_unique<ImageOnlyPlatform>());
        pApp->initCaches();
        return pApp;
    }();
    return *s_pApp;
}

// The pixels are made as 0xAARRGGBB words and copied in whole rows: white
// with the input's alpha, or without alpha channel the key (black) or white.
Zep::SmartPtr<Image> pictureOf(const uint8_t* data, size_t size) {
    const int w = 1 + data[0] % 96, h = 1 + data[1] % 64, nMode = data[2] % 3;
    const int nMarginX = data[3] % 8, nMarginY = data[4] % 8;
    const uint8_t* pPixels = data + 5;
    const size_t nPixels = size - 5;
    std::vector<uint32_t> vWords(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < vWords.size(); ++i) {
        const uint32_t v = nPixels ? pPixels[i % nPixels] : 0;
        vWords[i] = nMode == 0 ? v << 24 | 0x00FFFFFFu : nMode == 1 && v < 128 ? 0 : 0x00FFFFFFu;
    }
    const uint32_t nAlphaMask = nMode == 0 ? 0xFF000000u : 0;
    const MemImage words(vWords.data(), w, h, 32, w * 4, 0x00FF0000u, 0x0000FF00u, 0x000000FFu, nAlphaMask);
    Zep::SmartPtr<MemImage> p = new MemImage(w, h, nMode == 0);
    p->copy(words, 0, 0);
    if (nMode == 1) p->setColorKey(Color(0, 0, 0, 255));
    p->setVirtualCanvas(0, nMarginY, w + nMarginX, h + 2 * nMarginY);
    return p.get();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    app();
    // Nothing here may throw: a read outside a picture would.
    Zep::SmartPtr<Image> pStrip = pictureOf(data, size);
    Zep::SmartPtr<BitmapFont> pFont = new BitmapFont();
    pFont->loadImage(pStrip);
    Zep::SmartPtr<Image> pTarget = new MemImage(64, 32, true);
    const char* szText = "AB ab\n\xC1\xD1 09 {}";
    if (pFont->getTextWidth(szText) < 0) __builtin_trap();
    pFont->drawText(pTarget, Rect(0, 0, 64, 32), szText);
    Zep::SmartPtr<SimpleFont> pSimple = new SimpleFont();
    pSimple->loadImage(pStrip);
    pSimple->drawText(pTarget, 3, 4, szText);
    return 0;
}
