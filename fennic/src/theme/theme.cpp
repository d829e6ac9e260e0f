// Theme: construction with the built-in defaults, the lookups of fonts,
// styles, cursors, separators, slider and radio images, and the font-factory
// registry. The file reader is theme_reader.cpp; generated pictures are in
// ui_buttonimages.cpp and ui_frames.cpp.
#include "theme/theme.h"

#include <zep2/error.h>

#include "text/bitmapfont.h"
#include "application/gameapp.h"
#include "image/image.h"
#include "driver/platform.h"
#include "text/systemfont_png.h"
#include "driver/audiodriver.h"

namespace {

constexpr const char* kZepSource = ".\\src\\theme";

// Sizes of the empty images that stand in for missing ones.
constexpr int kSeparatorSize = 10;
constexpr int kSliderBarWidth = 100;
constexpr int kSliderBarHeight = 25;
constexpr int kSliderThumbSize = 25;
constexpr int kRadioOffSize = 25;
constexpr int kRadioOnSize = 35;
// The built-in frame: 5-pixel grey edges around a 100 x 100 back.
constexpr int kDefaultEdge = 5;
constexpr int kDefaultSpan = 100;
const Color kDefaultFrameGrey(128, 128, 128, 255);

Zep::Hash<Zep::String, Zep::SmartPtr<FontFactory>>& fontFactories() {
    static Zep::Hash<Zep::String, Zep::SmartPtr<FontFactory>> hFactories(97);
    return hFactories;
}

Zep::String lowerKey(const char* szName) { return Zep::String(szName).toLower(); }

Zep::SmartPtr<Image> emptyImage(int w, int h) {
    GameApp* pApp = GameApp::getInstance();
    if (!pApp) ZEP_THROW(Zep::BadStateException, "Theme : no application to create an image");
    return pApp->createImage(w, h, false);
}

Zep::SmartPtr<Image> filledImage(int w, int h) {
    Zep::SmartPtr<Image> p = emptyImage(w, h);
    p->fill(kDefaultFrameGrey);
    return p;
}

}  // namespace

ButtonStyle::ButtonStyle() {
    cText.fill(Color(255, 255, 255, 255));
    for (const char* szEvent : {"clicked", "highlighted"}) {
        hSounds.set(Zep::String(szEvent), Zep::List<Zep::SmartPtr<Sample>>());
        hSoundSet.set(Zep::String(szEvent), false);
    }
}

Theme::Theme() {
    GameApp* pApp = GameApp::getInstance();
    if (pApp && pApp->getPlatform() && pApp->getPlatform()->getImageFactory()) addBuiltInDefaults();
}

Theme::~Theme() = default;

void Theme::addBuiltInDefaults() {
    ZEP_TRACE("Theme::addBuiltInDefaults");
    if (GameApp::getInstance()->imageExists(kSystemFontImageName)) {
        Zep::SmartPtr<SimpleFont> pFont = new SimpleFont();
        pFont->loadImage(GameApp::getInstance()->getImage(kSystemFontImageName));
        setFont(kDefaultFont, pFont.get());
    }

    FrameStyle* pStyle = addFrameStyle(kDefaultFrame);
    const Zep::SmartPtr<Image> pCorner = filledImage(kDefaultEdge, kDefaultEdge);
    const Zep::SmartPtr<Image> pWide = filledImage(kDefaultSpan, kDefaultEdge);
    const Zep::SmartPtr<Image> pTall = filledImage(kDefaultEdge, kDefaultSpan);
    setFramePart(pStyle, "back", emptyImage(kDefaultSpan, kDefaultSpan), false);
    for (const char* szPart : {"top", "bottom"}) setFramePart(pStyle, szPart, pWide, false);
    for (const char* szPart : {"right", "left"}) setFramePart(pStyle, szPart, pTall, false);
    for (const char* szPart : {"ul", "ur", "ll", "lr"}) setFramePart(pStyle, szPart, pCorner, false);
    computeFrameBorders();
}

void Theme::computeFrameBorders() {
    auto size = [](FrameStyle& s, int nPart, bool bHeight) {
        return s.part(nPart) ? s.part(nPart)->getDimension(bHeight) : 0;
    };
    for (const std::shared_ptr<FrameStyle>& p : m_hFrmStyle.getValues()) {
        if (p->bBorderGiven) continue;
        p->border = Rect(size(*p, ThemeParts::kLeft, false), size(*p, ThemeParts::kTop, true),
                         size(*p, ThemeParts::kRight, false), size(*p, ThemeParts::kBottom, true));
    }
}

// ---- Fonts --------------------------------------------------------------------------

Zep::SmartPtr<Font> Theme::getFont(const char* szName) {
    const Zep::String sName(szName);
    const Zep::String sPrefixed = m_sFontPrefix + sName;
    if (m_hFonts.contains(sPrefixed)) return m_hFonts.get(sPrefixed)->clone();
    if (m_hFonts.contains(sName)) return m_hFonts.get(sName)->clone();
    if (sName == kDefaultFont) ZEP_ASSERT(false);
    GameApp::debugLog((Zep::String("[font] ") + sName).c_str());
    return getFont(kDefaultFont);
}

void Theme::setFont(const char* szName, const Zep::SmartPtr<Font>& pFont) { m_hFonts.set(Zep::String(szName), pFont); }

bool Theme::hasFont(const char* szName) const {
    const Zep::String sName(szName);
    return m_hFonts.contains(m_sFontPrefix + sName) || m_hFonts.contains(sName);
}

// ---- Styles -------------------------------------------------------------------------

ButtonStyle* Theme::getButtonStyle(const char* szName) { return m_hButtonStyles.get(lowerKey(szName)).get(); }

bool Theme::hasButtonStyle(const char* szName) const { return m_hButtonStyles.contains(lowerKey(szName)); }

ButtonStyle* Theme::addButtonStyle(const char* szName) {
    const Zep::String sKey = lowerKey(szName);
    if (!m_hButtonStyles.contains(sKey)) m_hButtonStyles.set(sKey, std::make_shared<ButtonStyle>());
    return m_hButtonStyles.get(sKey).get();
}

FrameStyle* Theme::getFrameStyle(const char* szName) {
    const Zep::String sKey = lowerKey(szName);
    ZEP_TRACE_AT(sKey.c_str(), kZepSource);
    if (!m_hFrmStyle.contains(sKey))
        ZEP_THROW(Zep::AssertFailException, "Assertion failed : m_hFrmStyle.hasKey(sKey)");
    return m_hFrmStyle.get(sKey).get();
}

bool Theme::hasFrameStyle(const char* szName) const { return m_hFrmStyle.contains(lowerKey(szName)); }

FrameStyle* Theme::addFrameStyle(const char* szName) {
    const Zep::String sKey = lowerKey(szName);
    m_hFrmStyle.set(sKey, std::make_shared<FrameStyle>());
    return m_hFrmStyle.get(sKey).get();
}

Rect Theme::getFrameBorder(const char* szName) { return getFrameStyle(szName)->border; }

bool Theme::hasBorderParts(const char* szName) { return getFrameStyle(szName)->bHasBorderParts; }

Zep::SmartPtr<Image> Theme::getBackImage(const char* szName) {
    return getFrameStyle(szName)->lFramePart[ThemeParts::kBack];
}

void Theme::setFramePart(FrameStyle* pStyle, const char* szPart, const Zep::SmartPtr<Image>& pImage, bool bFixed) {
    const Zep::String sWord = lowerKey(szPart);
    const int nPart = ThemeParts::partOf(sWord);
    pStyle->lFramePart[nPart] = pImage;
    pStyle->lVariants[nPart].add(pImage);
    if (pImage.notNULL() && pImage->hasAlpha()) pStyle->bHasAlpha = true;
    if (sWord != "back") pStyle->bHasBorderParts = true;
    if (bFixed) pStyle->bFrameFixed[nPart] = true;
}

namespace {
template <class Fn>
void forStates(int nState, Fn fn) {
    if (nState == ThemeParts::kAllStates) {
        for (int i = 0; i < ThemeParts::kStates; ++i) fn(i);
    } else {
        fn(nState);
    }
}
}  // namespace

void Theme::setButtonColor(const char* szStyle, int nState, const Color& color) {
    ButtonStyle* p = getButtonStyle(szStyle);
    forStates(nState, [&](int i) { p->cText[i] = color; });
}

void Theme::setButtonTextOffset(const char* szStyle, int nState, int dx, int dy) {
    ButtonStyle* p = getButtonStyle(szStyle);
    forStates(nState, [&](int i) {
        p->nTextOffsetX[i] = dx;
        p->nTextOffsetY[i] = dy;
    });
}

void Theme::setButtonImage(const char* szStyle, int nState, const Zep::SmartPtr<Image>& pImage) {
    ButtonStyle* p = getButtonStyle(szStyle);
    forStates(nState, [&](int i) { p->pImage[i] = pImage; });
}

// ---- Cursors, separators, sliders, radio buttons ------------------------------------

Zep::SmartPtr<Image> Theme::getCursor(const char* szName) {
    const Zep::String sName(szName);
    if (m_hCursors.contains(sName)) return m_hCursors.get(sName);
    if (sName.isEmpty()) return Zep::SmartPtr<Image>();
    GameApp::debugLog((Zep::String("[cursor] ") + sName).c_str());
    return getCursor("");
}

void Theme::setCursor(const char* szName, const Zep::SmartPtr<Image>& pImage) {
    m_hCursors.remove(Zep::String(szName));
    m_hCursors.set(Zep::String(szName), pImage);
}

Zep::SmartPtr<Image> Theme::getLongSeparator() {
    if (m_pLongSeparator.isNULL()) m_pLongSeparator = emptyImage(kSeparatorSize, kSeparatorSize);
    return m_pLongSeparator;
}

Zep::SmartPtr<Image> Theme::getShortSeparator() {
    if (m_pShortSeparator.isNULL()) m_pShortSeparator = getLongSeparator();
    return m_pShortSeparator;
}

void Theme::getSliderImages(Zep::SmartPtr<Image>* pFirst, Zep::SmartPtr<Image>* pSecond,
                            Zep::SmartPtr<Image>* pThumb) {
    if (m_pSlider[0].isNULL()) m_pSlider[0] = emptyImage(kSliderBarWidth, kSliderBarHeight);
    if (m_pSlider[1].isNULL()) m_pSlider[1] = emptyImage(kSliderBarWidth, kSliderBarHeight);
    if (m_pSlider[2].isNULL()) m_pSlider[2] = emptyImage(kSliderThumbSize, kSliderThumbSize);
    *pFirst = m_pSlider[0];
    *pSecond = m_pSlider[1];
    *pThumb = m_pSlider[2];
}

bool Theme::getSliderRange(int* pA, int* pB) const {
    *pA = m_nSliderRange[0];
    *pB = m_nSliderRange[1];
    return m_nSliderRange[0] != -1;
}

void Theme::getSliderScale(float* pX, float* pY) const {
    *pX = m_fSliderScale[0];
    *pY = m_fSliderScale[1];
}

void Theme::getRadioButtonImages(Zep::SmartPtr<Image>* pFirst, Zep::SmartPtr<Image>* pSecond) {
    if (m_pRadio[0].isNULL()) m_pRadio[0] = emptyImage(kRadioOffSize, kRadioOffSize);
    if (m_pRadio[1].isNULL()) m_pRadio[1] = emptyImage(kRadioOnSize, kRadioOnSize);
    *pFirst = m_pRadio[0];
    *pSecond = m_pRadio[1];
}

// ---- Font factories -----------------------------------------------------------------

void Theme::registerFontFactory(const Zep::String& sClassName, const Zep::SmartPtr<FontFactory>& pFactory) {
    fontFactories().set(sClassName.toLower(), pFactory);
}

void Theme::unregisterFontFactory(const Zep::String& sClassName) { fontFactories().remove(sClassName.toLower()); }

Zep::SmartPtr<FontFactory> Theme::getFontFactory(const char* szClassName) {
    const Zep::String sKey = lowerKey(szClassName);
    return fontFactories().contains(sKey) ? fontFactories().get(sKey) : Zep::SmartPtr<FontFactory>();
}

Zep::SmartPtr<Font> Theme::createFont(const Zep::String& sClassName, const Zep::List<Zep::String>& lArgs) {
    Zep::SmartPtr<FontFactory> pFactory = getFontFactory(sClassName.c_str());
    if (pFactory.isNULL()) {
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("Can't find factory for font class '%s'", sClassName.toLower().c_str()).c_str());
    }
    return pFactory->createFont(lArgs);
}
