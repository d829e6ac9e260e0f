// The factories of the bitmap fonts and their registration with the theme.
#include <zep2/error.h>

#include "text/bitmapfont.h"
#include "application/gameapp.h"
#include "image/image.h"
#include "text/systemfont_png.h"
#include "theme/theme.h"

namespace {

constexpr const char* kZepSource = ".\\src\\fontfactories";

// The strip named by the first word of the description, through the image cache.
Zep::SmartPtr<Image> stripOf(const Zep::List<Zep::String>& lSpec) {
    GameApp* pApp = GameApp::getInstance();
    if (!pApp) ZEP_THROW(Zep::BadStateException, "FontFactory : no application to load the glyph strip");
    return pApp->getImage(lSpec.isEmpty() ? "" : lSpec.getFirst().c_str());
}

}  // namespace

Zep::SmartPtr<Font> SimpleFontFactory::createFont(const Zep::List<Zep::String>& lSpec) {
    Zep::SmartPtr<SimpleFont> pFont = new SimpleFont();
    pFont->loadImage(stripOf(lSpec));
    return pFont.get();
}

Zep::SmartPtr<Font> BitmapFontFactory::createFont(const Zep::List<Zep::String>& lSpec) {
    Zep::SmartPtr<BitmapFont> pFont = new BitmapFont();
    pFont->loadImage(stripOf(lSpec));
    return pFont.get();
}

void registerBitmapFontFactory() { Theme::registerFontFactory("BitmapFont", new BitmapFontFactory()); }

void registerSimpleFontFactory() { Theme::registerFontFactory("SimpleFont", new SimpleFontFactory()); }

Zep::SmartPtr<Font> createSystemFont() { return SimpleFontFactory().createFont(Zep::List<Zep::String>{kSystemFontImageName}); }
