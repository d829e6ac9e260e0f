// SDLImage: the framework's Image over a shared SDL Surface.
//
// The image's pixel rectangle is (store origin x, y, data width, height) of
// its surface: the whole surface, except for a sub-image that shares its
// source's surface until its first pixel access (prepareForDisplay then gives
// it a surface of its own with the same format, alpha and key).
//
// Transfers follow SDL 1.2's rules, which the in-memory store copies so that
// both agree pixel for pixel:
//   blit      SDL_UpperBlit with the source's flags. A source with an alpha
//             channel blends colour and leaves the destination's alpha
//             (onto alpha: d + (s - d)·a / 256 rounded down, a = 255 gives s;
//             onto opaque: d + ((s - d)·a + 255) / 256 rounded down). A source
//             without one is blended by its surface alpha like the latter
//             (0: nothing, 255: a copy) and writes alpha 255; colour-key
//             pixels of such a source are skipped.
//   copy      the same blit with the source's alpha and key switched off:
//             colour and alpha values as they are.
//   copyRect  compositing, for blitFrom between two alpha images: a source
//             pixel of alpha 0 leaves the destination; otherwise with
//             da = min(d.a, 255 - s.a) and t = da + s.a, each colour is
//             (d·da + s·s.a) / t (integer division) and the alpha is t.
// A transfer whose clipped rectangle is empty changes and marks nothing.
//
// Pixels are read and written between lock and unlock (counted); writePixel
// does not mark the surface modified, callers run onPixelsChanged when done.
// trim and setDataRect keep the surface alpha and colour key, as detaching
// does, so that the pixels keep showing as they did.
#pragma once

#include <cstdint>
#include <memory>

#include "image/image.h"
#include "image/imagefactory.h"
#include "sdl/sdl_surface.h"

class SDLImage : public Image {
public:
    // No surface, to be filled through loadData or setSurface.
    SDLImage();
    // Image::load with the three arguments.
    SDLImage(const char* szName, bool bConvert, bool bUseAlpha);
    // Wraps the surface (owned, modified); null throws
    // Zep::AssertFailException "Assertion failed : pSurf".
    explicit SDLImage(SDL_Surface* pSurface);
    // Sizes below 1 count as 1; the driver's alpha or opaque format; with
    // alpha and bClear every pixel is (0, 0, 0, 0).
    SDLImage(int nWidth, int nHeight, bool bWithAlpha, bool bClear);
    ~SDLImage() override;

    void setSurface(const Zep::SmartPtr<Surface>& pSurface);
    const Zep::SmartPtr<Surface>& getSurface() const { return m_pSurface; }
    // The SDL surface, reloaded when its pixels were dropped.
    SDL_Surface* getSDLSurface() const;
    const SDL_PixelFormat* getSDLFormat() const;
    // Locks; the first byte of the pixel rectangle and the pitch.
    void lockRect(uint8_t** ppPixels, int* pPitch) const;

    DrvImageData* getDriverData() const { return m_pDriverData.get(); }
    void setDriverData(std::unique_ptr<DrvImageData> pData) { m_pDriverData = std::move(pData); }

    using Image::blit;
    using Image::copy;

    void setPixelScale(float fScale) override;
    float getPixelScale() const override;
    void blit(const Image& src, const Rect& srcRect, int x, int y) override;
    void copy(const Image& src, const Rect& srcRect, int x, int y) override;
    void fill(const Color& color) override;
    PixelFormat getPixelFormat() const override;
    Zep::SmartPtr<Image> convert(const PixelFormat& format) override;
    bool hasAlpha() const override;
    bool hasColorKey() const override;
    void setColorKey(const Color& key) override;
    Color getColorKey() const override;
    void addAlphaChannel() override;
    void removeAlphaChannel() override;
    void setSurfaceAlpha(int nAlpha) override;
    int getSurfaceAlpha() const override;
    void onGeometryChanged() override;
    void onPixelsChanged() override;
    void copyRect(const Image& src, int nSrcX, int nSrcY, int nW, int nH, int x, int y) override;
    void shareData(const Image& src) override;
    void setDataRect(int x, int y, int w, int h) override;
    void loadData(const char* szName, bool bConvert, bool bUseAlpha) override;
    Color readPixel(int x, int y) const override;
    void writePixel(int x, int y, const Color& color) override;
    void lock() const override;
    void unlock() const override;
    void trim() override;
    void prepareForDisplay() override;
    void mirrorDataX() override;
    void mirrorDataY() override;

private:
    enum class Transfer { Blend, Copy };
    void transfer(const Image& src, const Rect& srcRect, int x, int y, Transfer mode);
    void composite(const SDLImage& src, int nSx, int nSy, int nW, int nH, int nDx, int nDy);
    void compositeWords(const SDLImage& src, int nSx, int nSy, int nW, int nH, int nDx, int nDy);
    // The surface, or Zep::BadStateException "<szWhat> : the image has no pixels".
    Surface& surface(const char* szWhat) const;
    uint8_t* pixelAt(const char* szWhat, int x, int y) const;
    // A new surface of the data size holding the pixel rectangle, unblended.
    SDL_Surface* copyPixelRect(const PixelFormat& format, int nDstX, int nDstY, int nW, int nH) const;
    // This image's surface alpha and colour key onto a new surface.
    void carrySettings(SDL_Surface* pNew) const;

    Zep::SmartPtr<Surface> m_pSurface;
    mutable uint8_t* m_pLockedPixels = nullptr;
    mutable int32_t m_nLockedPitch = 0;
    mutable int32_t m_nLockCount = 0;
    std::unique_ptr<DrvImageData> m_pDriverData;
};

// Switches a source surface's alpha blending and colour key off for an
// unblended SDL blit, and back on (with their values) when it goes.
class SdlBlendingOff {
public:
    explicit SdlBlendingOff(SDL_Surface* pSource);
    ~SdlBlendingOff();
    SdlBlendingOff(const SdlBlendingOff&) = delete;
    SdlBlendingOff& operator=(const SdlBlendingOff&) = delete;

private:
    SDL_Surface* m_pSource;
    Uint32 m_nFlags;
    Uint8 m_nAlpha;
    Uint32 m_nKey;
};
