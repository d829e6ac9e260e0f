// The shared glyph data of a SimpleFont and its tinting: every colour is
// tinted once per core, and drawing afterwards is one blit per glyph (two
// with the shadow).
#include <zep2/error.h>

#include "text/bitmapfont.h"
#include "application/gameapp.h"
#include "image/image.h"

namespace {

constexpr const char* kZepSource = ".\\src\\simplefontcore";

// The glyph's shape in one colour: its alpha over a plain fill.
Zep::SmartPtr<Image> tint(GameApp& app, Image& glyph, const Color& color) {
    Zep::SmartPtr<Image> pTinted = app.createImage(glyph.getWidth(), glyph.getHeight(), false);
    pTinted->fill(color);
    pTinted->applyAlphaMask(glyph, 0);
    pTinted->setInsPoint(glyph.getInsPointX(), glyph.getInsPointY());
    return pTinted;
}

}  // namespace

SimpleFontCore::SimpleFontCore() : m_pGlyphs(std::make_unique<GlyphTable>()) {}

SimpleFontCore::~SimpleFontCore() = default;

void SimpleFontCore::drawText(const Zep::SmartPtr<Image>& pTarget, int x, int y, const char* szText,
                              const BitmapFontBase& font) {
    const GlyphTable& text = getTintedGlyphs(font.getTextColor());
    if (!font.getDrawShadow()) {
        BitmapFontBase::drawString(pTarget, x, y, szText, font, text);
        return;
    }
    const GlyphTable& shadow = getTintedGlyphs(font.getShadowColor());
    const int o = font.getShadowOffset();
    for (const char* p = szText ? szText : ""; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        BitmapFontBase::drawGlyph(pTarget, c, x + o, y + o, font, shadow);
        x += BitmapFontBase::drawGlyph(pTarget, c, x, y, font, text);
    }
}

void SimpleFontCore::loadImage(const Zep::SmartPtr<Image>& pStrip) {
    m_pGlyphs = scanGlyphStrip(pStrip, &m_nCharSpacing, &m_nSpaceWidth, &m_nLineHeight);
}

const GlyphTable& SimpleFontCore::getTintedGlyphs(const Color& color) {
    if (const auto* pNode = m_hTinted.findNode(color)) return *pNode->value;
    GameApp* pApp = GameApp::getInstance();
    if (!pApp) ZEP_THROW(Zep::BadStateException, "SimpleFont : no application to make tinted glyphs");
    auto pTable = std::make_unique<GlyphTable>();
    for (size_t c = 0; c < pTable->size(); ++c)
        if ((*m_pGlyphs)[c].notNULL()) (*pTable)[c] = tint(*pApp, *(*m_pGlyphs)[c], color);
    m_hTinted.set(color, pTable.get());
    m_lTintedTables.push_back(std::move(pTable));
    return *m_lTintedTables.back();
}
