// Surface: a reference-counted SDL 1.2 surface with the picture's history.
//
// Pictures are loaded from resources through SDL_image, with two optional
// companions: "<name>.colorkey" (its existence makes the bottom-left pixel's
// colour the colour key) and "<name>.alpha" + ".jpg"/".png" (its grey, or its
// own alpha, becomes the alpha channel). The surface remembers where it came
// from, so a surface whose pixels were never changed may drop them
// (releasePixels, after the video driver made its textures) and reload them
// on the next access; a private copy of the pixel format answers format,
// per-surface alpha, colour key and palette in the meantime.
//
// Any change (markModified) pins the pixels for good. Surfaces made around an
// existing SDL surface are modified from the start.
//
// Choices of this implementation where the loading rules leave room:
//   - an alpha companion smaller than the picture is applied only where both
//     have pixels; the rest keeps its alpha (255 after the conversion);
//   - the colour-key companion's name replaces a real four-character suffix
//     ("logo.png" -> "logo.colorkey") and is otherwise the whole name +
//     ".colorkey" (a picture found as "logo" asks for "logo.colorkey");
//   - only PNG, JPEG and TGA are decoded, each by its own decoder once the
//     name and the first bytes agree on it and the declared size is within
//     the limits (pictureheader.h); anything else fails to load.
#pragma once

#include <cstdint>
#include <memory>

#include <zep2/refcount.h>
#include <zep2/resource.h>
#include <zep2/str.h>

#include "base/color.h"
#include "base/rect.h"
#include "sdl/sdl_pixels.h"
#include "driver/videodriver.h"

class Surface : public Zep::RefCountedObject {
public:
    // Loads the picture (see the file comment); not modified afterwards.
    // bConvert converts it to the driver's format (unless it has a colour
    // key); bUseAlpha looks for the alpha companion.
    Surface(const char* szName, bool bConvert, bool bUseAlpha);
    // Takes an existing surface (owned, modified). Null throws
    // Zep::AssertFailException "Assertion failed : pSurf".
    explicit Surface(SDL_Surface* pSurface);
    ~Surface() override;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // One pixel of the whole surface, the surface locked around the access.
    virtual Color getPixel(int x, int y);
    virtual void setPixel(int x, int y, const Color& color);

    // Releases the current surface and takes this one, with its format,
    // size and colour-key flag.
    void attach(SDL_Surface* pSurface);

    void getSize(int* pWidth, int* pHeight) const;
    int getWidth() const { return m_nWidth; }
    int getHeight() const { return m_nHeight; }
    // The kept copy: valid while the pixels are dropped.
    const SDL_PixelFormat* getFormat() const { return m_pFormat->get(); }
    bool hasAlpha() const { return getFormat()->Amask != 0; }
    bool hasPalette() const { return getFormat()->palette != nullptr; }
    bool hasColorKey() const { return m_bHasColorKey; }

    // 255 for formats with an alpha channel, else the per-surface alpha.
    uint8_t getAlpha() const;
    void setAlpha(uint8_t nAlpha);
    void setColorKey(const Color& color);
    // The key's colour with alpha 255.
    Color getColorKey() const;

    void setScale(float fScale);
    float getScale() const { return m_fScale; }

    void markModified();
    bool isModified() const { return m_bModified; }
    const Zep::String& getResourcePrefix() const { return m_sResourcePrefix; }

    // Drops the pixels of an unmodified surface loaded from a resource.
    void releasePixels();
    bool hasPixels() const { return m_pSurface != nullptr; }
    // The SDL surface, reloading dropped pixels with their surface alpha
    // and colour key.
    SDL_Surface* ensureLoaded();

    // Counted by SDL.
    void lock();
    void unlock();
    // Locks; the first byte of rectangle r's top-left pixel and the pitch.
    void lockRect(const Rect& r, uint8_t** ppPixels, int* pPitch);

    // A new surface holding these pixels in the driver's alpha or opaque
    // format (the caller owns it).
    SDL_Surface* convertToFormat(bool bWithAlpha);
    void toAlphaFormat();
    void toOpaqueFormat();
    // A new surface in the driver's alpha format (with an alpha channel or a
    // colour key) or opaque format, with this one's key, alpha and scale.
    Zep::SmartPtr<Surface> displayFormat();

    // The loading pipeline.
    void loadFromFiles(const char* szName, bool bConvert, bool bUseAlpha);
    void loadFromResource(const Zep::Resource& resource, const char* szName);
    void applyAlphaMask(Surface& mask);

    DrvSurfaceData* getDriverData() const { return m_pDriverData.get(); }
    void setDriverData(std::unique_ptr<DrvSurfaceData> pData) { m_pDriverData = std::move(pData); }

private:
    void takeFormatCopy();
    void applyMaskRows(Surface& mask, int nWidth, int nHeight);

    bool m_bHasColorKey = false;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    float m_fScale = 1.0f;
    SdlSurfacePtr m_pSurface;
    std::unique_ptr<SdlFormatCopy> m_pFormat;
    bool m_bOwnSurface = true;
    bool m_bModified = true;
    Zep::String m_sResourcePrefix;
    bool m_bConvert = false;
    bool m_bUseAlpha = false;
    std::unique_ptr<DrvSurfaceData> m_pDriverData;
};
