// TrueType fonts through SDL_ttf: the "TrueType" font class of themes.
//
// SDLTTFFactory makes fonts from a spec of words: the font file's resource
// name, the size in points, then any of "bold", "italic", "underline" (any
// case). It keeps the fifteen most recently used fonts as templates under
// "resolved file::size::words" in lower case, so specs differing only in
// case share one opened file, and every call returns a fresh clone.
// SDLTTFData is the opened file that clones share; living SDLTTFData objects
// are counted so SDL_ttf starts with the first font and stops with the last.
//
// A font file SDL_ttf cannot open is a Zep::ResourceException naming the
// resource and SDL's error ("SDLTrueTypeFont : Can't open %s [%s]"); so is
// one that opens but cannot measure a short probe text (the printable ASCII
// characters), as some damaged files do, or whose line does not measure 1
// to kMaxTtfLineHeight pixels high with it ("SDLTrueTypeFont : Can't measure
// text with %s [%s]", SDL's error or "line height %d"). Nothing is cached
// then: there is never a font without a usable file.
//
// Text is UTF-8. renderText draws the shadow (the shadow colour's RGB, the
// one offset on both axes) and then the text, each rendered blended and
// composited onto the target with Image::blitFrom. How a line reaches the
// library (in pieces when it is very wide) is in sdl_ttfline.h; a line that
// renders to nothing draws nothing.
#pragma once

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/resource.h>

#include "text/font.h"

struct _TTF_Font;
struct SDL_RWops;

class SDLTTFData : public Zep::RefCountedObject {
public:
    // Starts SDL_ttf for the first user.
    SDLTTFData();
    // Closes the font and its byte reader; stops SDL_ttf after the last user.
    // A broken use count cannot be thrown from here: it is written to the log.
    ~SDLTTFData() override;
    SDLTTFData(const SDLTTFData&) = delete;
    SDLTTFData& operator=(const SDLTTFData&) = delete;

    static int getUseCount();

    _TTF_Font* m_pFont = nullptr;
    SDL_RWops* m_pRWOps = nullptr;
    Zep::SmartPtr<Zep::Resource> m_pResource;
};

class SDLTrueTypeFont : public Font {
public:
    using Font::drawText;

    Zep::SmartPtr<Font> clone() override;
    // One line at (x, y): shadow, then text.
    void drawText(const Zep::SmartPtr<Image>& pTarget, int x, int y, const char* szText) override;
    bool hasGlyph(char) override { return true; }
    const char* getEllipsis() const override { return "\xE2\x80\xA6"; }
    // The widest of the lines split at "\n".
    int getTextWidth(const char* szText) override;
    int getHeight() override;

    void copyFrom(const SDLTrueTypeFont& other);
    int getPointSize() const { return m_nPointSize; }
    int getStyle() const { return m_nStyle; }
    // Opens the resource at the size; style bits 1 bold, 2 italic, 4 underline.
    void openFont(const char* szName, int nSize, int nStyle);

private:
    Zep::SmartPtr<SDLTTFData> m_pData;
    int m_nPointSize = 0;
    int m_nStyle = 0;
};

class SDLTTFFactory : public FontFactory {
public:
    static constexpr int kCacheSize = 15;

    Zep::SmartPtr<Font> createFont(const Zep::List<Zep::String>& lSpec) override;
    // Index 0 is the size word; other indices are not taken (false, -1).
    bool setNumericParam(const Zep::List<Zep::String>& lSpec, int nIndex, int nValue) override;
    int getNumericParam(const Zep::List<Zep::String>& lSpec, int nIndex) override;

    const Zep::List<Zep::String>& getRecentKeys() const { return m_lRecent; }

    // Process-wide counts of createFont answered from the cache and not.
    static int getCacheHits();
    static int getCacheMisses();
    static void resetCacheCounts();

private:
    Zep::Hash<Zep::String, Zep::SmartPtr<Font>> m_hCache{97};
    Zep::List<Zep::String> m_lRecent;
};
