// Label: the text control. Renders one text in one font into its own image,
// on one line as wide as the text or wrapped at a fixed width into a given
// number of lines, optionally onto a background image. A mask string, when
// set, is shown once per UTF-8 character in place of the text.
//
// Sizes: m is the text margin (automatic: a sixth of the line height without
// a background, the background's spare height halved with one, 0 for a
// background lower than a line), lh the font's line height. Without a
// background the image is (text width or wrap width) + 2m wide and the
// text's height (lh for an empty text), at most lines x lh + 2m, plus 2m
// tall; with a background it is the background's size. The line count is
// recounted only by setWrapWidth with its recount flag. Either side of the
// image stops at kMaxPictureSide, which every video driver can hold (an
// SDL surface can't be 16,384 pixels wide): the text past it is cut, so a
// line of thousands of characters, measured before it is wrapped, can't
// end the program.
//
// With long words broken (off unless asked for), a word wider than the wrap
// width gets line breaks of its own (ui_wordbreak.h) where it would otherwise
// run out of the image; the text itself (getText) stays as it was set.
// With balanced lines (setBalancedWrapWidth) each paragraph is wrapped at
// its own balanced width (ui_balancedlines.h) and the label is only as wide
// as the widest of them, so a short text makes a narrow label.
//
// The label's font is its own copy of the theme's "Theme::Default"; a font
// given through setFont is shared, so the colour and alignment setters first
// replace it by a copy and change only the copy. Labels are built disabled
// and not focusable, so they consume no mouse input.
#pragma once

#include <zep2/str.h>

#include "base/color.h"
#include "sprite/control.h"
#include "text/font.h"


class Label : public Control {
public:
    static constexpr int kMaxPictureSide = 4096;

    explicit Label(const char* szText);
    Label(const char* szText, int x, int y, int nZOrder);
    Label(const char* szText, const Point& position, int nZOrder);
    Label(const char* szText, int x, int y, int nZOrder, int nWrapWidth, bool bEnabled);
    Label(const char* szText, int x, int y, int nZOrder, Zep::SmartPtr<Image> pBackground, bool bEnabled);
    ~Label() override;

    void rebuildImage() override { renderText(); }

    // An equal text changes nothing (and does not recount the lines).
    virtual void setText(const char* szText);
    Zep::String getText() const { return m_sText; }
    void setLineCount(int nLines);
    int getLineCount() const { return m_nLineCount; }
    virtual int getTextMargin();
    // -1: automatic.
    virtual void setTextMargin(int nMargin);
    // The wrap width, or the text's width without one.
    virtual int getTextWidth();
    void setWrapWidth(int nWidth, bool bRecount);
    int getWrapWidth() const { return m_nWrapWidth; }
    // Balanced lines from now on, wrapped at the narrowest width that shows
    // them as nWidth does; the lines are recounted.
    void setBalancedWrapWidth(int nWidth);
    // Set before setWrapWidth, so that its recount sees the broken words.
    void setBreakLongWords(bool bBreak);
    bool getBreakLongWords() const { return m_bBreakLongWords; }

    void setFont(Zep::SmartPtr<Font> pFont);
    void setThemeFont(const char* szFontName);
    Zep::SmartPtr<Font> getFont() const { return m_pFont; }
    void setTextAlign(int nFlags);
    void setTextColor(const Color& color);
    void setShadowColor(const Color& color);

    void setBackground(Zep::SmartPtr<Image> pBackground);
    Zep::SmartPtr<Image> getBackground() const { return m_pBackground; }
    void setFrameBackground(int nWidth, int nHeight, const char* szFrameStyle, int nInsX, int nInsY);
    // Take effect at the next rendering.
    void setMask(const Zep::String& sMask) { m_sMask = sMask; }
    void setOpaque(bool bOpaque) { m_bOpaque = bOpaque; }
    Zep::String getDisplayText() const;
    // The lines as the label lays them out: the display text broken and
    // balanced as asked, wrapped by the font at the text width (each line
    // with its trailing spaces and "\n").
    Zep::List<Zep::String> getLines();

protected:
    void renderText();
    // The text as stored, without rendering (the edit box edits through it).
    const Zep::String& text() const { return m_sText; }

private:
    void init();
    // setFont with a copy of the font changed by the step.
    template <class Change>
    void changeFontCopy(Change change);
    Zep::SmartPtr<Image> targetImage(int w, int h);
    // The display text as it is wrapped at nWidth: with its long words broken
    // and its lines balanced when asked.
    Zep::String wrappedText(int nWidth) const;

    Zep::String m_sText;
    Zep::SmartPtr<Font> m_pFont;
    Zep::SmartPtr<Image> m_pBackground;
    int32_t m_nWrapWidth = 0;
    int32_t m_nLineCount = 1;
    int32_t m_nTextMargin = -1;
    bool m_bOpaque = false;
    bool m_bBreakLongWords = false;
    bool m_bBalanced = false;
    Zep::String m_sMask;
};
