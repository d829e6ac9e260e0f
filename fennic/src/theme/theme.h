// The look of the user interface: fonts, button and frame styles, cursors,
// separators, slider and radio images and button sounds.
//
// The application holds exactly one current theme; every label, button,
// table frame, dialog and tooltip asks it for what it draws. It is filled
// from a ".theme" file of commands (theme_reader.cpp) that adds to what the
// theme already holds. Names: button and frame styles, frame parts, states,
// sound events and font classes are lower-cased when stored and looked up;
// cursor names are stored lower-case from the file but looked up as asked;
// font names are exact. A font nobody defined falls back to
// "System::DefaultFont" and a cursor to the default cursor, each with a
// "[font] "/"[cursor] " note to GameApp::debugLog.
//
// Without an application that can make images the built-in defaults (the
// system font and the "System::DefaultFrame" style) are left out, and without
// the built-in system font image the default font is; getFont of an unknown
// name then fails with "Assertion failed : false".
//
// Generated pictures (buttons, frames, tiled backgrounds, frame tables) are
// built in ui_buttonimages.cpp and ui_frames.cpp and kept in the
// application's image cache under names made from their parameters.
#pragma once

#include <memory>

#include <zep2/hash.h>
#include <zep2/random.h>
#include <zep2/refcount.h>
#include <zep2/str.h>
#include <zep2/tokenfilereader.h>

#include "text/font.h"
#include "theme/theme_styles.h"

class GameMode;
class Image;
class Table;

class Theme : public Zep::RefCountedObject {
public:
    static constexpr const char* kDefaultFont = "System::DefaultFont";
    static constexpr const char* kDefaultFrame = "System::DefaultFrame";

    // Empty tables, frames cached, then the built-in defaults.
    Theme();
    ~Theme() override;
    Theme(const Theme&) = delete;
    Theme& operator=(const Theme&) = delete;

    // Reads the theme file (a resource) and applies its commands; see theme_reader.cpp.
    void load(const char* szFileName);
    const Zep::String& getName() const { return m_sName; }
    const Zep::String& getFileName() const { return m_sName; }

    // Fonts: a copy of prefix + name, else of name, else of "System::DefaultFont".
    Zep::SmartPtr<Font> getFont(const char* szName);
    void setFont(const char* szName, const Zep::SmartPtr<Font>& pFont);
    void addFont(const char* szName, const Zep::SmartPtr<Font>& pFont) { setFont(szName, pFont); }
    bool hasFont(const char* szName) const;
    void setFontPrefix(const char* szPrefix) { m_sFontPrefix = szPrefix ? szPrefix : ""; }

    // Styles; a null name is the unnamed style.
    ButtonStyle* getButtonStyle(const char* szName);
    bool hasButtonStyle(const char* szName) const;
    // The style of that name, created with its initial values when missing.
    ButtonStyle* addButtonStyle(const char* szName);
    FrameStyle* getFrameStyle(const char* szName);
    bool hasFrameStyle(const char* szName) const;
    // A new empty frame style under the name, replacing one of that name.
    FrameStyle* addFrameStyle(const char* szName);
    Rect getFrameBorder(const char* szName);
    bool hasBorderParts(const char* szName);
    Zep::SmartPtr<Image> getBackImage(const char* szName);
    void setFramePart(FrameStyle* pStyle, const char* szPart, const Zep::SmartPtr<Image>& pImage, bool bFixed);
    void setButtonColor(const char* szStyle, int nState, const Color& color);
    void setButtonTextOffset(const char* szStyle, int nState, int dx, int dy);
    void setButtonImage(const char* szStyle, int nState, const Zep::SmartPtr<Image>& pImage);

    // Cursors: the empty name is the default cursor.
    Zep::SmartPtr<Image> getCursor(const char* szName);
    void setCursor(const char* szName, const Zep::SmartPtr<Image>& pImage);
    void addCursor(const char* szName, const Zep::SmartPtr<Image>& pImage) { setCursor(szName, pImage); }
    Zep::SmartPtr<Image> getDefaultCursor() { return getCursor(""); }
    void setDefaultCursor(const Zep::SmartPtr<Image>& pImage) { setCursor("", pImage); }

    // Separators, sliders and radio buttons; missing images become empty ones.
    Zep::SmartPtr<Image> getLongSeparator();
    Zep::SmartPtr<Image> getShortSeparator();
    void getSliderImages(Zep::SmartPtr<Image>* pFirst, Zep::SmartPtr<Image>* pSecond, Zep::SmartPtr<Image>* pThumb);
    bool getSliderRange(int* pA, int* pB) const;
    void getSliderScale(float* pX, float* pY) const;
    int getSliderStyle() const { return m_nSliderStyle; }
    Zep::String getSliderFrontBackName() const { return m_sSliderFrontBack; }
    void getRadioButtonImages(Zep::SmartPtr<Image>* pFirst, Zep::SmartPtr<Image>* pSecond);
    const Zep::String& getTextPrefix() const { return m_sTextPrefix; }
    void setCacheFrames(bool bCache) { m_bCacheFrames = bCache; }

    // Generated pictures (ui_buttonimages.cpp, ui_frames.cpp). A button of a
    // resizable style given a width (nWidth not -1) keeps a text caption
    // between its caps, cut with the font's ellipsis when it is wider.
    Zep::SmartPtr<Image> makeButtonImage(const char* szCaption, int nState, int nWidth, const char* szStyle);
    void playButtonSound(const char* szStyle);
    void playButtonHighlightSound(const char* szStyle);
    Zep::SmartPtr<Image> makeFrameImage(int nWidth, int nHeight, const char* szStyle);
    void fitFrameSize(int& nWidth, int& nHeight, const char* szStyle);
    Zep::SmartPtr<Image> makeTiledImage(int nWidth, int nHeight, const char* szStyle);
    Zep::SmartPtr<Table> makeFrameTable(GameMode* pOwner, int nWidth, int nHeight, const char* szStyle);
    static Zep::SmartPtr<Image> clipImage(const Zep::SmartPtr<Image>& pImage, int nLength, bool bHorizontal,
                                          bool bFromStart);

    // The font-factory registry, by lower-cased class name.
    static void registerFontFactory(const Zep::String& sClassName, const Zep::SmartPtr<FontFactory>& pFactory);
    static void unregisterFontFactory(const Zep::String& sClassName);
    static Zep::SmartPtr<FontFactory> getFontFactory(const char* szClassName);
    // "Can't find factory for font class '%s'" for an unregistered class.
    static Zep::SmartPtr<Font> createFont(const Zep::String& sClassName, const Zep::List<Zep::String>& lArgs);

private:
    friend class ThemeReader;

    void addBuiltInDefaults();
    void computeFrameBorders();
    void playStyleSound(const char* szStyle, const char* szEvent);
    // A rendered text caption wider than nRoom (-1: any width) is cut to it
    // with the font's ellipsis.
    Zep::SmartPtr<Image> captionImage(ButtonStyle& style, const char* szCaption, const Zep::String& sKey,
                                      int nState, const Zep::String& sButtonName, int nRoom);
    void drawCornerDecorations(FrameStyle& style, const Zep::SmartPtr<Image>& pImage, int w, int h);
    const Decoration* pickDecoration(const FrameStyle& style, int nPart, int w, int h);

    Zep::Hash<Zep::String, std::shared_ptr<ButtonStyle>> m_hButtonStyles{97};
    Zep::Hash<Zep::String, std::shared_ptr<FrameStyle>> m_hFrmStyle{97};
    Zep::Hash<Zep::String, Zep::SmartPtr<Font>> m_hFonts{97};
    Zep::String m_sFontPrefix;
    Zep::SmartPtr<Image> m_pLongSeparator;
    Zep::SmartPtr<Image> m_pShortSeparator;
    Zep::String m_sName;
    Zep::String m_sTextPrefix;
    Zep::Hash<Zep::String, Zep::SmartPtr<Image>> m_hCursors{97};
    bool m_bCacheFrames = true;
    Zep::SmartPtr<Image> m_pSlider[3];
    int32_t m_nSliderRange[2] = {-1, -1};
    float m_fSliderScale[2] = {1.0f, 1.0f};
    int32_t m_nSliderStyle = 0;
    Zep::String m_sSliderFrontBack;
    Zep::SmartPtr<Image> m_pRadio[2];
    Zep::Random m_random;
};
