// The look of the user interface: fonts, button styles, cursors.
//
// The application holds exactly one current theme. This is the theme as far
// as the modes and controls ask it: fonts by name with the default font for
// any other name, cursors by name, button styles by name and the picture of a
// themed button. Its content is given through the add operations; the
// theme-file reader comes with the user-interface toolkit, and until then
// load only remembers the file name. Names a theme lacks are reported through
// GameApp::debugReport ("[font] name", "[cursor] name").
#pragma once

#include "font.h"
#include "zep2/hash.h"
#include "zep2/refcount.h"
#include "zep2/str.h"

class Image;

class Theme : public Zep::RefCountedObject {
public:
    // Button pictures: text cells of 8 x 16 pixels.
    static constexpr int kButtonCharWidth = 8;
    static constexpr int kButtonHeight = 16;

    // An empty theme.
    Theme();
    ~Theme() override;
    Theme(const Theme&) = delete;
    Theme& operator=(const Theme&) = delete;

    // Reads a theme file (a resource name) into this theme: for now it keeps
    // the name only and the content as it is.
    void load(const char* szFileName);
    const Zep::String& getFileName() const { return m_sFileName; }

    // The font of that name, else the theme's default font (null when none).
    Zep::SmartPtr<Font> getFont(const char* szName);
    void addFont(const char* szName, const Zep::SmartPtr<Font>& pFont);
    void setDefaultFont(const Zep::SmartPtr<Font>& pFont) { m_pDefaultFont = pFont; }

    // The cursor of that name; the empty name gives the default cursor. A
    // missing name gives null.
    Zep::SmartPtr<Image> getCursor(const char* szName);
    void addCursor(const char* szName, const Zep::SmartPtr<Image>& pCursor);

    bool hasButtonStyle(const char* szName) const;
    void addButtonStyle(const char* szName);
    // The picture of a themed button with that caption, from the platform's
    // image factory: width 8 per character when nWidth is -1, else nWidth,
    // height 16, filled with a colour of the state and style; null without
    // an application or image factory.
    Zep::SmartPtr<Image> makeButtonImage(const char* szText, int nState, int nWidth, const char* szStyle);

    // Stores a font factory under a class name, for the fonts a theme names.
    static void registerFontFactory(const char* szClassName, const Zep::SmartPtr<FontFactory>& pFactory);
    // The factory of that class, or null.
    static Zep::SmartPtr<FontFactory> getFontFactory(const char* szClassName);

private:
    Zep::String m_sFileName;
    Zep::Hash<Zep::String, Zep::SmartPtr<Font>> m_hFonts;
    Zep::SmartPtr<Font> m_pDefaultFont;
    Zep::Hash<Zep::String, Zep::SmartPtr<Image>> m_hCursors;
    Zep::Hash<Zep::String, bool> m_hButtonStyles;
};
