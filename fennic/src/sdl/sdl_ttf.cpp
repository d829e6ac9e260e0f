// SDL_ttf fonts: the opened files, the fonts that share them and their factory.
#include "sdl/sdl_ttf.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <vector>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "image/image.h"
#include "sdl/sdl_ttfline.h"

namespace {

constexpr const char* kZepSource = ".\\src\\sdl_ttf";

int s_nTTFUseCount = 0;
int s_nFontCacheHits = 0;
int s_nFontCacheMisses = 0;

// The style bits of the words from 2 on.
int styleOf(const Zep::List<Zep::String>& lSpec) {
    int nStyle = 0;
    for (int i = 2; i < lSpec.getCount(); ++i) {
        const Zep::String sWord = lSpec.get(i).toLower();
        if (sWord == "bold") nStyle |= TTF_STYLE_BOLD;
        if (sWord == "italic") nStyle |= TTF_STYLE_ITALIC;
        if (sWord == "underline") nStyle |= TTF_STYLE_UNDERLINE;
    }
    return nStyle;
}

// What a font must measure when it is opened: every printable ASCII character.
constexpr const char* kProbeText =
    " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";

// Why the font is no use, or nothing: some damaged files open and then fail
// on their first glyph, or give a line no surface can hold.
Zep::String probeFailure(TTF_Font* pFont) {
    int w = 0, h = 0;
    if (TTF_SizeUTF8(pFont, kProbeText, &w, &h) != 0) return TTF_GetError();
    // The measured height includes the tallest glyph and the underline.
    const int nHeight = TTF_FontHeight(pFont) < 1 ? TTF_FontHeight(pFont) : h;
    if (nHeight < 1 || nHeight > kMaxTtfLineHeight) return Zep::String::format("line height %d", nHeight);
    return Zep::String();
}

}  // namespace

// ---- SDLTTFData -------------------------------------------------------------------

SDLTTFData::SDLTTFData() {
    if (!TTF_WasInit()) {
        ZEP_ASSERT(s_nTTFUseCount == 0);
        TTF_Init();
    }
    ++s_nTTFUseCount;
}

// The use-count checks cannot throw from here: a broken count is logged.
SDLTTFData::~SDLTTFData() {
    if (m_pFont) TTF_CloseFont(m_pFont);
    if (m_pRWOps) SDL_FreeRW(m_pRWOps);
    if (!TTF_WasInit() || s_nTTFUseCount <= 0) {
        GameApp::log("Assertion failed : TTF_WasInit() && s_nTTFUseCount > 0\n");
        return;
    }
    if (--s_nTTFUseCount == 0) TTF_Quit();
}

int SDLTTFData::getUseCount() { return s_nTTFUseCount; }

// ---- SDLTrueTypeFont --------------------------------------------------------------

Zep::SmartPtr<Font> SDLTrueTypeFont::clone() {
    Zep::SmartPtr<SDLTrueTypeFont> p = new SDLTrueTypeFont();
    p->copyFrom(*this);
    return p.get();
}

void SDLTrueTypeFont::copyFrom(const SDLTrueTypeFont& other) {
    copySettings(other);
    setSource(other.getSourceData(), other.getSpec());
    m_pData = other.m_pData;
    m_nPointSize = other.m_nPointSize;
    m_nStyle = other.m_nStyle;
}

void SDLTrueTypeFont::openFont(const char* szName, int nSize, int nStyle) {
    ZEP_TRACE("SDLTrueTypeFont::openFont");
    const Zep::SmartPtr<Zep::Resource> pHeld = GameApp::getInstance()->getResource(szName);
    const Zep::Resource* pResource = pHeld.get();
    ZEP_ASSERT(pResource);
    SDL_RWops* pRWOps = SDL_RWFromMem(pResource->getData(), pResource->getSize());
    ZEP_ASSERT(pRWOps);
    Zep::SmartPtr<SDLTTFData> pData = new SDLTTFData();
    pData->m_pResource = pHeld;
    pData->m_pRWOps = pRWOps;
    pData->m_pFont = TTF_OpenFontRW(pRWOps, 0, nSize);
    if (!pData->m_pFont) {
        ZEP_THROW(Zep::ResourceException,
                  Zep::String::format("SDLTrueTypeFont : Can't open %s [%s]", szName, TTF_GetError()).c_str());
    }
    if (nStyle != 0) TTF_SetFontStyle(pData->m_pFont, nStyle);
    const Zep::String sFailure = probeFailure(pData->m_pFont);
    if (!sFailure.isEmpty()) {
        const char* szFormat = "SDLTrueTypeFont : Can't measure text with %s [%s]";
        ZEP_THROW(Zep::ResourceException, Zep::String::format(szFormat, szName, sFailure.c_str()).c_str());
    }
    m_pData = pData;
    m_nPointSize = nSize;
    m_nStyle = nStyle;
}

void SDLTrueTypeFont::drawText(const Zep::SmartPtr<Image>& pTarget, int x, int y, const char* szText) {
    if (!szText || !*szText || pTarget.isNULL()) return;
    std::vector<TtfInk> vInks;
    if (getDrawShadow()) vInks.push_back({x + getShadowOffset(), y + getShadowOffset(), getShadowColor()});
    vInks.push_back({x, y, getTextColor()});
    ttfDrawLine(m_pData->m_pFont, *pTarget, szText, vInks);
}

int SDLTrueTypeFont::getTextWidth(const char* szText) {
    const Zep::String sText(szText);
    int nWidest = 0;
    for (int nStart = 0; nStart <= sText.length();) {
        int nEnd = sText.find('\n', nStart);
        if (nEnd < 0) nEnd = sText.length();
        const Zep::String sLine(sText.c_str() + nStart, nEnd - nStart);
        nWidest = std::max(nWidest, ttfLineWidth(m_pData->m_pFont, sLine.c_str()));
        nStart = nEnd + 1;
    }
    return nWidest;
}

int SDLTrueTypeFont::getHeight() { return TTF_FontHeight(m_pData->m_pFont); }

// ---- SDLTTFFactory ----------------------------------------------------------------

Zep::SmartPtr<Font> SDLTTFFactory::createFont(const Zep::List<Zep::String>& lSpec) {
    ZEP_TRACE("SDLTTFFactory::createFont");
    const Zep::String sFileName = lSpec.get(0);
    Zep::String sKey = GameApp::getInstance()->findResource(sFileName.c_str(), nullptr);
    const Zep::String sSize = lSpec.get(1);
    for (int i = 1; i < lSpec.getCount(); ++i) sKey += "::" + lSpec.get(i);
    sKey = sKey.toLower();
    if (m_hCache.contains(sKey)) {
        ++s_nFontCacheHits;
        m_lRecent.removeAt(m_lRecent.indexOf(sKey));
        m_lRecent.add(sKey);
        return m_hCache.get(sKey)->clone();
    }
    ++s_nFontCacheMisses;
    Zep::SmartPtr<SDLTrueTypeFont> pFont = new SDLTrueTypeFont();
    pFont->openFont(sFileName.c_str(), sSize.toInt(), styleOf(lSpec));
    pFont->setSource(Zep::SmartPtr<Zep::RefCountedObject>(), lSpec);
    m_hCache.set(sKey, pFont.get());
    m_lRecent.add(sKey);
    while (m_lRecent.getCount() > kCacheSize) m_hCache.remove(m_lRecent.removeFirst());
    return pFont->clone();
}

bool SDLTTFFactory::setNumericParam(const Zep::List<Zep::String>& lSpec, int nIndex, int nValue) {
    if (nIndex != 0) return false;
    // The caller's own spec is edited: the interface hands it over by reference.
    const_cast<Zep::List<Zep::String>&>(lSpec)[1] = Zep::String::format("%d", nValue);
    return true;
}

int SDLTTFFactory::getNumericParam(const Zep::List<Zep::String>& lSpec, int nIndex) {
    return nIndex == 0 ? lSpec.get(1).toInt() : -1;
}

int SDLTTFFactory::getCacheHits() { return s_nFontCacheHits; }

int SDLTTFFactory::getCacheMisses() { return s_nFontCacheMisses; }

void SDLTTFFactory::resetCacheCounts() { s_nFontCacheHits = s_nFontCacheMisses = 0; }
