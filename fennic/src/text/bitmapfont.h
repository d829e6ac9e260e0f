// The bitmap fonts: text drawn with glyphs cut out of one picture, a glyph
// strip (glyphstrip.h).
//
// SimpleFont uses the glyphs as masks only: they are painted in the font's
// text colour, with a shadow. The tinted glyphs are made once per colour and
// kept in the font's core, which the font shares with its clones, so a colour
// tinted for one clone is ready for all. BitmapFont draws the glyph pictures
// in their own colours, without tint or shadow, for decorated lettering.
//
// A glyph is drawn with Image::blitFrom at the pen position: the glyph's
// insertion point (0, the row's reference top, the top of its "A") lands on
// the pen, so y is the top of the capitals and accents rise above it. The pen
// then moves by the glyph's width plus the char spacing; a character without
// glyph (the space among them) moves it by the space width and draws nothing.
//
// The fonts are made by two font factories, registered with the theme under
// "SimpleFont" and "BitmapFont"; the first word of a font description names
// the strip image, fetched through GameApp::getImage.
#pragma once

#include <memory>
#include <vector>

#include <zep2/hash.h>

#include "text/font.h"
#include "text/glyphstrip.h"

class BitmapFontBase : public Font {
public:
    using Font::copySettings;
    using Font::drawText;

    // Cuts the glyphs out of a strip and takes the strip's metrics.
    virtual void loadImage(const Zep::SmartPtr<Image>& pStrip) = 0;
    virtual int getCharSpacing() const { return m_nCharSpacing; }
    virtual void setCharSpacing(int nPixels) { m_nCharSpacing = nPixels; }
    virtual void setSpaceWidth(int nPixels) { m_nSpaceWidth = nPixels; }
    virtual int getSpaceWidth() const { return m_nSpaceWidth; }
    // The Font settings, then space width, char spacing and line height.
    virtual void copySettings(const BitmapFontBase& other);
    // Empty before loadImage.
    virtual const GlyphTable& getGlyphTable() const = 0;

    bool hasGlyph(char c) override;
    int getTextWidth(const char* szText) override;
    int getHeight() override { return m_nLineHeight; }

    // Draws one character at the pen (nothing without a target) and returns
    // how far the pen moves.
    static int drawGlyph(const Zep::SmartPtr<Image>& pTarget, unsigned char c, int x, int y,
                         const BitmapFontBase& font, const GlyphTable& glyphs);
    // Every byte of the text through drawGlyph.
    static void drawString(const Zep::SmartPtr<Image>& pTarget, int x, int y, const char* szText,
                           const BitmapFontBase& font, const GlyphTable& glyphs);

protected:
    void setMetrics(int nCharSpacing, int nSpaceWidth, int nLineHeight);
    int getLineHeight() const { return m_nLineHeight; }

    // An empty table, for fonts without glyphs yet.
    static const GlyphTable& noGlyphs();

private:
    int32_t m_nCharSpacing = 0;
    int32_t m_nLineHeight = 0;
    int32_t m_nSpaceWidth = 0;
};

// The glyph data of a SimpleFont, shared with its clones: the glyphs cut from
// the strip, the metrics the scanner found, and a table of glyphs tinted in
// each colour used so far (97 buckets), kept as long as the core.
class SimpleFontCore : public Zep::RefCountedObject {
public:
    SimpleFontCore();
    ~SimpleFontCore() override;

    virtual int getLineHeight() const { return m_nLineHeight; }
    virtual int getCharSpacing() const { return m_nCharSpacing; }
    virtual int getSpaceWidth() const { return m_nSpaceWidth; }
    // The text in the font's colour; with the font's shadow, each character's
    // shadow is drawn just before its glyph, so a shadow may fall over the
    // previous glyph.
    virtual void drawText(const Zep::SmartPtr<Image>& pTarget, int x, int y, const char* szText,
                          const BitmapFontBase& font);

    void loadImage(const Zep::SmartPtr<Image>& pStrip);
    const GlyphTable& getGlyphTable() const { return *m_pGlyphs; }
    // The glyphs in that colour, made on first use: per glyph a new image
    // without alpha (GameApp::createImage) filled with the colour, the glyph's
    // alpha as its alpha, the glyph's insertion point.
    const GlyphTable& getTintedGlyphs(const Color& color);
    int getTintedTableCount() const { return m_hTinted.getCount(); }

private:
    Zep::Hash<Color, const GlyphTable*> m_hTinted;
    std::vector<std::unique_ptr<GlyphTable>> m_lTintedTables;  // owns what the hash points to
    std::unique_ptr<GlyphTable> m_pGlyphs;
    int32_t m_nCharSpacing = 0;
    int32_t m_nLineHeight = 0;
    int32_t m_nSpaceWidth = 0;
};

// One glyph table shared by a BitmapFont and its clones; the glyphs go with
// the last reference.
class ImagePtrArrayWrapper : public Zep::RefCountedObject {
public:
    explicit ImagePtrArrayWrapper(std::unique_ptr<GlyphTable> pGlyphs) : m_pGlyphs(std::move(pGlyphs)) {}
    const GlyphTable& getTable() const { return *m_pGlyphs; }

private:
    std::unique_ptr<GlyphTable> m_pGlyphs;
};

class SimpleFont : public BitmapFontBase {
public:
    using BitmapFontBase::drawText;

    Zep::SmartPtr<Font> clone() override;
    void drawText(const Zep::SmartPtr<Image>& pTarget, int x, int y, const char* szText) override;
    void loadImage(const Zep::SmartPtr<Image>& pStrip) override;
    const GlyphTable& getGlyphTable() const override;

    // Shares the core and takes its metrics.
    void setCore(const Zep::SmartPtr<SimpleFontCore>& pCore);
    const Zep::SmartPtr<SimpleFontCore>& getCore() const { return m_pCore; }

private:
    Zep::SmartPtr<SimpleFontCore> m_pCore;
};

class BitmapFont : public BitmapFontBase {
public:
    using BitmapFontBase::drawText;

    Zep::SmartPtr<Font> clone() override;
    // The glyphs as they are: colour and shadow settings have no effect.
    void drawText(const Zep::SmartPtr<Image>& pTarget, int x, int y, const char* szText) override;
    void loadImage(const Zep::SmartPtr<Image>& pStrip) override;
    const GlyphTable& getGlyphTable() const override;

private:
    Zep::SmartPtr<ImagePtrArrayWrapper> m_pGlyphs;
};

// Makers of the two kinds from a description whose first word is the strip
// image's name. A missing image fails as GameApp::getImage fails.
class SimpleFontFactory : public FontFactory {
public:
    Zep::SmartPtr<Font> createFont(const Zep::List<Zep::String>& lSpec) override;
};

class BitmapFontFactory : public FontFactory {
public:
    Zep::SmartPtr<Font> createFont(const Zep::List<Zep::String>& lSpec) override;
};

// Register a new factory with the theme under "BitmapFont" and "SimpleFont".
// Start-up registers both, "BitmapFont" first.
void registerBitmapFontFactory();
void registerSimpleFontFactory();

// The system font: a SimpleFont of the built-in strip "Fennic::SystemFont"
// (GameApp::registerBuiltinResources must have run), as the theme makes its
// default font.
Zep::SmartPtr<Font> createSystemFont();
