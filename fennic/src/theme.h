// The look of the user interface: fonts, button and frame styles, cursors.
//
// The application holds exactly one current theme. Only the object itself is
// here so far; its lookups and the theme-file reader come with the UI toolkit.
#pragma once

#include "zep2/refcount.h"
#include "zep2/str.h"

class Font;
class FontFactory;
class Image;

class Theme : public Zep::RefCountedObject {
public:
    // An empty theme.
    Theme();
    ~Theme() override;
    Theme(const Theme&) = delete;
    Theme& operator=(const Theme&) = delete;

    // Reads a theme file (a resource name) into this theme.
    void load(const char* szFileName);
    // The font of that name, else the theme's default font.
    Zep::SmartPtr<Font> getFont(const char* szName);
    // The cursor of that name; the empty name gives the default cursor.
    Zep::SmartPtr<Image> getCursor(const char* szName);
    bool hasButtonStyle(const char* szName);
    // The picture of a themed button with that caption (width -1: automatic).
    Zep::SmartPtr<Image> makeButtonImage(const char* szText, int nState, int nWidth, const char* szStyle);
    // Stores a font factory under a class name, for the fonts a theme names.
    static void registerFontFactory(const char* szClassName, const Zep::SmartPtr<FontFactory>& pFactory);
};
