// Font and FontFactory: the text renderer and its makers.
//
// A Font holds the settings every font shares (text colour, shadow,
// alignment, extra line spacing, line trimming) and lays text out inside a
// box once for all fonts: word wrapping to a width, horizontal and vertical
// alignment, full justification, and the box the text finally covers. A
// concrete font supplies four primitives only: draw one line at a point, tell
// whether it has a glyph, measure a text, give its line height.
//
// Alignment flags: 1 left, 2 right, 4 centred, 7 (all three) justified; 8 top,
// 16 bottom, 32 centred vertically. Only the low three bits and 32 matter to
// the layout; without 32 the text starts at the top edge.
//
// Fonts are shared (a theme's font is held by many controls), so a user that
// wants other settings takes a clone and changes that; clones share the
// glyph data. Text is Latin-1: every byte is one character.
#pragma once

#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "base/color.h"
#include "base/rect.h"

class Image;

class Font : public Zep::RefCountedObject {
public:
    enum Align {
        kAlignLeft = 1,
        kAlignRight = 2,
        kAlignCenter = 4,
        kAlignJustify = 7,
        kAlignTop = 8,
        kAlignBottom = 16,
        kAlignCenterY = 32,
    };

    Font() = default;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    ~Font() override = default;

    // A new font of the same kind and settings, sharing the glyph data.
    virtual Zep::SmartPtr<Font> clone() = 0;

    // Lays the text out in a copy of box and draws it; box is not changed.
    virtual void drawText(const Zep::SmartPtr<Image>& pTarget, const Rect& box, const char* szText);
    // Lays the text out in box, draws it, and sets box to the area covered:
    // from the box's top-left to the right-most drawn pixel (shadow included)
    // and the position after the last line.
    virtual void drawText(const Zep::SmartPtr<Image>& pTarget, Rect& box, const char* szText);
    // One line with its top-left at (x, y), shadow included.
    virtual void drawText(const Zep::SmartPtr<Image>& pTarget, int x, int y, const char* szText) = 0;
    virtual bool hasGlyph(char c) = 0;
    // Pixels; a CR or LF starts a new line, the widest line counts.
    virtual int getTextWidth(const char* szText) = 0;
    virtual int getHeight() = 0;

    virtual void setTrimLines(bool bTrim) { m_bTrimLines = bTrim; }
    virtual bool getTrimLines() const { return m_bTrimLines; }
    virtual void setTextColor(const Color& color) { m_cText = color; }
    virtual Color getTextColor() const { return m_cText; }
    virtual void setDrawShadow(bool bShadow) { m_bDrawShadow = bShadow; }
    virtual bool getDrawShadow() const { return m_bDrawShadow; }
    virtual void setShadowColor(const Color& color) { m_cShadow = color; }
    virtual Color getShadowColor() const { return m_cShadow; }
    virtual void setShadowOffset(int nOffset) { m_nShadowOffset = nOffset; }
    virtual int getShadowOffset() const { return m_nShadowOffset; }
    virtual void setTextAlign(int nFlags) { m_nTextAlign = nFlags; }
    virtual int getTextAlign() const { return m_nTextAlign; }
    virtual int getExtraLineSpacing() const { return m_nExtraLineSpacing; }
    virtual void setExtraLineSpacing(int nPixels) { m_nExtraLineSpacing = nPixels; }

    // The seven settings, through the other's getters and these setters: trim
    // lines, text colour, shadow colour, draw shadow, shadow offset, alignment,
    // extra line spacing. Spec and source data stay.
    virtual void copySettings(const Font& other);
    // What the font was made from: the words of its description and data
    // that its clones keep alive (null for the bitmap fonts).
    virtual void setSource(const Zep::SmartPtr<Zep::RefCountedObject>& pData, const Zep::List<Zep::String>& lSpec);
    virtual Zep::List<Zep::String> getSpec() const { return m_lSpec; }
    virtual Zep::SmartPtr<Zep::RefCountedObject> getSourceData() const { return m_pSourceData; }
    // The words of the line spread over width: the gaps between words share
    // what the words leave, by integer division (the remainder is dropped).
    virtual void drawJustifiedLine(const Zep::SmartPtr<Image>& pTarget, int x, int y, int nWidth, const char* szText);

    // The lines of the text wrapped to width: every "\n", run of spaces and
    // run of other characters is a token; a token goes on the current line
    // when the line with it is at most width wide, else it begins the next
    // line (so a word wider than width stands alone). Lines keep their
    // trailing spaces and their "\n".
    Zep::List<Zep::String> splitLines(const char* szText, int nWidth);
    // The narrowest width at which the text still wraps into as few lines as
    // at width (never below its widest word, nor above width). A narrower
    // width only moves words down, so wrapped there the last line holds as
    // many words as any width of that line count gives it. It may still hold
    // one word alone, when moving another down to it would take a line more:
    // "aa bb cc" at 60 gives 50, wrapped "aa bb" and "cc".
    int getBalancedWidth(const char* szText, int nWidth);
    // The box the text takes wrapped to box's width: box's left, top and
    // right, and the bottom after its lines, but not beyond box's bottom.
    Rect getTextBox(const Rect& box, const char* szText);

    // The mark that ends a cut text: three full stops, or the one-character
    // ellipsis in fonts that draw it.
    virtual const char* getEllipsis() const { return "..."; }
    // One line as it fits nWidth: the text itself when it is at most that
    // wide, else its longest beginning (whole UTF-8 characters, without the
    // spaces it would end with) that fits with the ellipsis after it, or the
    // ellipsis alone.
    Zep::String fitText(const char* szText, int nWidth);

private:
    // Where a line of width w starts in the box, by the horizontal flags.
    static int lineStart(int nFlags, const Rect& box, int w);

    bool m_bTrimLines = true;
    Color m_cText = Color(255, 255, 255, 255);
    bool m_bDrawShadow = true;
    Color m_cShadow = Color(0, 0, 0, 255);
    int32_t m_nShadowOffset = 1;
    int32_t m_nTextAlign = kAlignLeft;
    int32_t m_nExtraLineSpacing = 0;
    Zep::List<Zep::String> m_lSpec;
    Zep::SmartPtr<Zep::RefCountedObject> m_pSourceData;
};

// Makes fonts of one class (the word after "class" in a theme's font
// description) from the remaining words of that description. A factory
// may take numeric or text parameters by index; by default it takes none.
class FontFactory : public Zep::RefCountedObject {
public:
    ~FontFactory() override = default;
    virtual Zep::SmartPtr<Font> createFont(const Zep::List<Zep::String>& lSpec) = 0;
    // False: the parameter was not taken.
    virtual bool setNumericParam(const Zep::List<Zep::String>& lSpec, int nIndex, int nValue);
    virtual bool setTextParam(const Zep::List<Zep::String>& lSpec, int nIndex, const char* szValue);
    // -1 and the empty text: no such parameter.
    virtual int getNumericParam(const Zep::List<Zep::String>& lSpec, int nIndex);
    virtual Zep::String getTextParam(const Zep::List<Zep::String>& lSpec, int nIndex);
};
