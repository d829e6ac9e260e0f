#include "theme.h"

#include <cstring>

#include "color.h"
#include "font.h"
#include "gameapp.h"
#include "image.h"
#include "platform.h"

namespace {

Zep::Hash<Zep::String, Zep::SmartPtr<FontFactory>>& fontFactories() {
    static Zep::Hash<Zep::String, Zep::SmartPtr<FontFactory>> hFactories;
    return hFactories;
}

void reportMissing(const char* szKind, const char* szName) {
    GameApp::debugReport((Zep::String(szKind) + szName).c_str());
}

// A fill that tells states and styles apart.
Color buttonColor(int nState, const char* szStyle) {
    const uint8_t nShade = static_cast<uint8_t>(255 - 32 * (nState & 3));
    const uint8_t nTone = static_cast<uint8_t>(szStyle && *szStyle ? 0xE1 : 0xC0);
    return Color(nShade, nShade, nTone, 255);
}

}  // namespace

Theme::Theme() = default;

Theme::~Theme() = default;

void Theme::load(const char* szFileName) { m_sFileName = szFileName ? szFileName : ""; }

Zep::SmartPtr<Font> Theme::getFont(const char* szName) {
    const Zep::String sName(szName ? szName : "");
    if (m_hFonts.contains(sName)) return m_hFonts.get(sName);
    reportMissing("[font] ", sName.c_str());
    return m_pDefaultFont;
}

void Theme::addFont(const char* szName, const Zep::SmartPtr<Font>& pFont) { m_hFonts.set(Zep::String(szName), pFont); }

Zep::SmartPtr<Image> Theme::getCursor(const char* szName) {
    const Zep::String sName(szName ? szName : "");
    if (m_hCursors.contains(sName)) return m_hCursors.get(sName);
    reportMissing("[cursor] ", sName.c_str());
    return Zep::SmartPtr<Image>();
}

void Theme::addCursor(const char* szName, const Zep::SmartPtr<Image>& pCursor) {
    m_hCursors.set(Zep::String(szName), pCursor);
}

bool Theme::hasButtonStyle(const char* szName) const {
    return szName && m_hButtonStyles.contains(Zep::String(szName));
}

void Theme::addButtonStyle(const char* szName) { m_hButtonStyles.set(Zep::String(szName), true); }

Zep::SmartPtr<Image> Theme::makeButtonImage(const char* szText, int nState, int nWidth, const char* szStyle) {
    GameApp* pApp = GameApp::getInstance();
    if (!pApp || !pApp->getPlatform() || !pApp->getPlatform()->getImageFactory()) return Zep::SmartPtr<Image>();
    const int nLength = szText ? static_cast<int>(std::strlen(szText)) : 0;
    const int w = nWidth < 0 ? kButtonCharWidth * nLength : nWidth;
    Zep::SmartPtr<Image> pImage = pApp->createImage(w, kButtonHeight, true);
    pImage->fill(buttonColor(nState, szStyle));
    return pImage;
}

void Theme::registerFontFactory(const char* szClassName, const Zep::SmartPtr<FontFactory>& pFactory) {
    fontFactories().set(Zep::String(szClassName), pFactory);
}

Zep::SmartPtr<FontFactory> Theme::getFontFactory(const char* szClassName) {
    Zep::Hash<Zep::String, Zep::SmartPtr<FontFactory>>& hFactories = fontFactories();
    const Zep::String sName(szClassName ? szClassName : "");
    return hFactories.contains(sName) ? hFactories.get(sName) : Zep::SmartPtr<FontFactory>();
}
