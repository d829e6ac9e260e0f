#include "ui/ui_label.h"

#include <algorithm>

#include "text/font.h"
#include "application/gameapp.h"
#include "theme/theme.h"
#include "ui/ui_balancedlines.h"
#include "ui/ui_wordbreak.h"

namespace {

Zep::SmartPtr<Theme> currentTheme() {
    GameApp* pApp = GameApp::getInstance();
    return pApp ? pApp->getTheme() : Zep::SmartPtr<Theme>();
}

Zep::SmartPtr<Font> themeFont(const char* szName) {
    Zep::SmartPtr<Theme> pTheme = currentTheme();
    return pTheme.notNULL() ? pTheme->getFont(szName) : Zep::SmartPtr<Font>();
}

}  // namespace

Label::Label(const char* szText) : Control(0, 0, 0, false), m_sText(szText) { init(); }

Label::Label(const char* szText, int x, int y, int nZOrder) : Control(x, y, nZOrder, false), m_sText(szText) {
    init();
}

Label::Label(const char* szText, const Point& position, int nZOrder)
    : Control(truncToInt(position.x), truncToInt(position.y), nZOrder, false), m_sText(szText) {
    init();
}

Label::Label(const char* szText, int x, int y, int nZOrder, int nWrapWidth, bool bEnabled)
    : Control(x, y, nZOrder, bEnabled), m_sText(szText), m_nWrapWidth(nWrapWidth) {
    init();
}

Label::Label(const char* szText, int x, int y, int nZOrder, Zep::SmartPtr<Image> pBackground, bool bEnabled)
    : Control(x, y, nZOrder, bEnabled), m_sText(szText), m_pBackground(pBackground) {
    init();
}

Label::~Label() = default;

void Label::init() {
    setHitTestMode(kHitRect);
    m_bOpaque = false;
    m_pFont = themeFont("Theme::Default");
    m_nLineCount = 1;
    m_nTextMargin = -1;
    setFocusable(false);
    rebuildImage();
}

void Label::setText(const char* szText) {
    if (m_sText == szText) return;
    m_sText = szText;
    rebuildImage();
}

void Label::setLineCount(int nLines) {
    m_nLineCount = nLines;
    rebuildImage();
}

int Label::getTextMargin() {
    if (m_nTextMargin >= 0) return m_nTextMargin;
    const int lh = m_pFont.notNULL() ? m_pFont->getHeight() : 0;
    if (m_pBackground.isNULL()) return lh / 6;
    const int bh = m_pBackground->getHeight();
    return bh < lh ? 0 : (bh - lh) / 2;
}

void Label::setTextMargin(int nMargin) {
    m_nTextMargin = nMargin;
    rebuildImage();
}

int Label::getTextWidth() {
    if (m_nWrapWidth != 0) return m_nWrapWidth;
    return m_pFont.notNULL() ? m_pFont->getTextWidth(m_sText.c_str()) : 0;
}

void Label::setWrapWidth(int nWidth, bool bRecount) {
    m_nWrapWidth = nWidth;
    if (bRecount) {
        const Zep::String sLines = m_bBreakLongWords || m_bBalanced ? wrappedText(nWidth) : m_sText;
        const int nLines = (nWidth == 0 || m_pFont.isNULL()) ? 1 : m_pFont->splitLines(sLines.c_str(), nWidth).getCount();
        m_nLineCount = std::max(nLines, 1);
    }
    rebuildImage();
}

// Measured on the text as it wraps before balancing.
void Label::setBalancedWrapWidth(int nWidth) {
    m_bBalanced = false;
    const bool bMeasured = m_pFont.notNULL() && nWidth > 0;
    const int nBalanced = bMeasured ? balancedlines::widthOf(*m_pFont, wrappedText(nWidth).c_str(), nWidth) : nWidth;
    m_bBalanced = true;
    setWrapWidth(nBalanced, true);
}

void Label::setBreakLongWords(bool bBreak) {
    if (m_bBreakLongWords == bBreak) return;
    m_bBreakLongWords = bBreak;
    if (m_nWrapWidth != 0) rebuildImage();
}

void Label::setFont(Zep::SmartPtr<Font> pFont) {
    m_pFont = pFont;
    rebuildImage();
}

void Label::setThemeFont(const char* szFontName) { setFont(themeFont(szFontName)); }

template <class Change>
void Label::changeFontCopy(Change change) {
    if (m_pFont.isNULL()) return;
    Zep::SmartPtr<Font> pCopy = m_pFont->clone();
    change(*pCopy);
    setFont(pCopy);
}

void Label::setTextAlign(int nFlags) {
    changeFontCopy([&](Font& f) { f.setTextAlign(nFlags); });
}

void Label::setTextColor(const Color& color) {
    changeFontCopy([&](Font& f) { f.setTextColor(color); });
}

void Label::setShadowColor(const Color& color) {
    changeFontCopy([&](Font& f) {
        f.setDrawShadow(true);
        f.setShadowColor(color);
    });
}

void Label::setBackground(Zep::SmartPtr<Image> pBackground) {
    m_pBackground = pBackground;
    rebuildImage();
}

void Label::setFrameBackground(int nWidth, int nHeight, const char* szFrameStyle, int nInsX, int nInsY) {
    Zep::SmartPtr<Theme> pTheme = currentTheme();
    if (pTheme.isNULL()) return;
    Zep::SmartPtr<Image> pFrame = pTheme->makeFrameImage(nWidth, nHeight, szFrameStyle);
    pFrame->setInsPoint(nInsX, nInsY);
    setBackground(pFrame);
}

Zep::String Label::getDisplayText() const {
    if (m_sMask.isEmpty()) return m_sText;
    Zep::String sShown;
    for (int i = m_sText.utf8Length(); i > 0; --i) sShown += m_sMask;
    return sShown;
}

Zep::String Label::wrappedText(int nWidth) const {
    Zep::String sShown = getDisplayText();
    if (nWidth <= 0 || m_pFont.isNULL()) return sShown;
    if (m_bBreakLongWords) sShown = wordbreak::breakLongWords(*m_pFont, sShown.c_str(), nWidth);
    return m_bBalanced ? balancedlines::balance(*m_pFont, sShown.c_str(), nWidth) : sShown;
}

Zep::List<Zep::String> Label::getLines() {
    if (m_pFont.isNULL()) return Zep::List<Zep::String>();
    return m_pFont->splitLines(wrappedText(m_nWrapWidth).c_str(), getTextWidth());
}

Zep::SmartPtr<Image> Label::targetImage(int w, int h) {
    if (m_pBackground.notNULL()) return m_pBackground->clone(false);
    GameApp* pApp = GameApp::getInstance();
    return pApp ? pApp->createImage(w, h, !m_bOpaque) : Zep::SmartPtr<Image>();
}

void Label::renderText() {
    if (m_pFont.isNULL()) return;
    // The virtual measures below see the display text.
    const Zep::String sKept = m_sText;
    m_sText = wrappedText(m_nWrapWidth);
    const int m = getTextMargin();
    const int w = getTextWidth();
    const int lh = m_pFont->getHeight();
    int h = m_nLineCount * lh + 2 * m;
    if (m_pBackground.notNULL()) h = std::min(h, m_pBackground->getHeight());
    const Rect box = m_pFont->getTextBox(Rect(0, 0, w, h), m_sText.c_str());
    const int b = box.getHeight() == 0 ? lh : box.getHeight();
    const Rect textRect(m, m, m + box.getWidth(), m + b);
    Zep::SmartPtr<Image> pImage =
        targetImage(std::min(w + 2 * m, kMaxPictureSide), std::min(b + 2 * m, kMaxPictureSide));
    if (pImage.notNULL()) m_pFont->drawText(pImage, textRect, m_sText.c_str());
    setImage(pImage);
    m_sText = sKept;
}
