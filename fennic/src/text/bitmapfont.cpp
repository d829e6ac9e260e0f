// The bitmap fonts: measuring and drawing through a glyph table, and the two
// kinds that differ in where their glyphs come from and how they are painted.
#include "text/bitmapfont.h"

#include <algorithm>

#include "image/image.h"

// ---- BitmapFontBase ---------------------------------------------------------

void BitmapFontBase::copySettings(const BitmapFontBase& other) {
    Font::copySettings(other);
    setSpaceWidth(other.getSpaceWidth());
    setCharSpacing(other.getCharSpacing());
    m_nLineHeight = other.m_nLineHeight;
}

bool BitmapFontBase::hasGlyph(char c) { return getGlyphTable()[static_cast<unsigned char>(c)].notNULL(); }

int BitmapFontBase::getTextWidth(const char* szText) {
    const GlyphTable& glyphs = getGlyphTable();
    int nMax = 0, nCurrent = 0;
    for (const char* p = szText ? szText : ""; *p; ++p) {
        const Zep::SmartPtr<Image>& pGlyph = glyphs[static_cast<unsigned char>(*p)];
        if (pGlyph.notNULL()) {
            nCurrent += pGlyph->getWidth() + getCharSpacing();
        } else if (*p == '\r' || *p == '\n') {
            nMax = std::max(nMax, nCurrent);
            nCurrent = 0;
        } else {
            nCurrent += getSpaceWidth();
        }
    }
    return std::max(nMax, nCurrent);
}

int BitmapFontBase::drawGlyph(const Zep::SmartPtr<Image>& pTarget, unsigned char c, int x, int y,
                              const BitmapFontBase& font, const GlyphTable& glyphs) {
    const Zep::SmartPtr<Image>& pGlyph = glyphs[c];
    if (pGlyph.isNULL()) return font.getSpaceWidth();
    if (pTarget.notNULL()) pTarget->blitFrom(*pGlyph, x, y);
    return pGlyph->getWidth() + font.getCharSpacing();
}

void BitmapFontBase::drawString(const Zep::SmartPtr<Image>& pTarget, int x, int y, const char* szText,
                                const BitmapFontBase& font, const GlyphTable& glyphs) {
    for (const char* p = szText ? szText : ""; *p; ++p)
        x += drawGlyph(pTarget, static_cast<unsigned char>(*p), x, y, font, glyphs);
}

void BitmapFontBase::setMetrics(int nCharSpacing, int nSpaceWidth, int nLineHeight) {
    m_nCharSpacing = nCharSpacing;
    m_nSpaceWidth = nSpaceWidth;
    m_nLineHeight = nLineHeight;
}

const GlyphTable& BitmapFontBase::noGlyphs() {
    static const GlyphTable empty;
    return empty;
}

// ---- SimpleFont -------------------------------------------------------------

Zep::SmartPtr<Font> SimpleFont::clone() {
    Zep::SmartPtr<SimpleFont> pClone = new SimpleFont();
    pClone->setCore(m_pCore);
    pClone->copySettings(*this);
    return pClone.get();
}

void SimpleFont::drawText(const Zep::SmartPtr<Image>& pTarget, int x, int y, const char* szText) {
    if (m_pCore.notNULL()) m_pCore->drawText(pTarget, x, y, szText, *this);
}

void SimpleFont::loadImage(const Zep::SmartPtr<Image>& pStrip) {
    Zep::SmartPtr<SimpleFontCore> pCore = new SimpleFontCore();
    pCore->loadImage(pStrip);
    setCore(pCore);
}

const GlyphTable& SimpleFont::getGlyphTable() const {
    return m_pCore.notNULL() ? m_pCore->getGlyphTable() : noGlyphs();
}

void SimpleFont::setCore(const Zep::SmartPtr<SimpleFontCore>& pCore) {
    m_pCore = pCore;
    if (pCore.notNULL()) setMetrics(pCore->getCharSpacing(), pCore->getSpaceWidth(), pCore->getLineHeight());
}

// ---- BitmapFont -------------------------------------------------------------

Zep::SmartPtr<Font> BitmapFont::clone() {
    Zep::SmartPtr<BitmapFont> pClone = new BitmapFont();
    pClone->m_pGlyphs = m_pGlyphs;
    pClone->copySettings(*this);
    return pClone.get();
}

void BitmapFont::drawText(const Zep::SmartPtr<Image>& pTarget, int x, int y, const char* szText) {
    drawString(pTarget, x, y, szText, *this, getGlyphTable());
}

void BitmapFont::loadImage(const Zep::SmartPtr<Image>& pStrip) {
    int nCharSpacing = 0, nSpaceWidth = 0, nLineHeight = 0;
    m_pGlyphs = new ImagePtrArrayWrapper(scanGlyphStrip(pStrip, &nCharSpacing, &nSpaceWidth, &nLineHeight));
    setMetrics(nCharSpacing, nSpaceWidth, nLineHeight);
}

const GlyphTable& BitmapFont::getGlyphTable() const {
    return m_pGlyphs.notNULL() ? m_pGlyphs->getTable() : noGlyphs();
}
