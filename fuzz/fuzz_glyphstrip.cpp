// The glyph-strip scanner and the bitmap fonts over arbitrary pictures.
//
// The input is a picture, not a file: byte 0 and 1 give width (1-96) and
// height (1-128), byte 2 the transparency (0 alpha channel, 1 colour key,
// 2 none), bytes 3 and 4 margins of a larger canvas, right of the data and
// above and below it; the rest are the pixels' alpha (or, with a colour key,
// whether a pixel is the key), repeated as needed. A scan must end without reading outside the
// picture, and a font cut from it must measure and draw.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "bitmapfont.h"
#include "gameapp.h"
#include "imageonlyplatform.h"
#include "memimage.h"

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

Zep::SmartPtr<Image> pictureOf(const uint8_t* data, size_t size) {
    const int w = 1 + data[0] % 96, h = 1 + data[1] % 128, nMode = data[2] % 3;
    const int nMarginX = data[3] % 8, nMarginY = data[4] % 8;
    Zep::SmartPtr<MemImage> p = new MemImage(w, h, nMode == 0);
    const Color key(0, 0, 0, 255);
    if (nMode == 1) p->setColorKey(key);
    const uint8_t* pPixels = data + 5;
    const size_t nPixels = size - 5;
    {
        ImageLock lock(*p);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const uint8_t v = nPixels ? pPixels[(static_cast<size_t>(y) * w + x) % nPixels] : 0;
                p->writePixel(x, y, nMode == 1 && v < 128 ? key : Color(255, 255, 255, v));
            }
        }
    }
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
