// SDLImage geometry: trim, a new data rectangle, detaching a sub-image's
// pixels, and the mirrors.
#include <algorithm>
#include <cstring>
#include <vector>

#include <zep2/error.h>

#include "sdl/sdl_image.h"

namespace {

constexpr const char* kZepSource = ".\\src\\sdl_image";

[[noreturn]] void surfaceFailed(const PixelFormat& f) {
    ZEP_THROW(Zep::FatalErrorException,
              Zep::String::format("SDL_CreateRGBSurface failed for %d BPP [%08X %08X %08X %08X] : %s",
                                  f.nBitsPerPixel, f.nRedMask, f.nGreenMask, f.nBlueMask, f.nAlphaMask, SDL_GetError())
                  .c_str());
}

}  // namespace

SDL_Surface* SDLImage::copyPixelRect(const PixelFormat& format, int nDstX, int nDstY, int nW, int nH) const {
    SdlSurfacePtr pNew(createSurface(nW, nH, format));
    if (!pNew) surfaceFailed(format);
    if (m_pSurface.isNULL() || m_nDataWidth <= 0 || m_nDataHeight <= 0) return pNew.release();
    SDL_Surface* pOld = getSDLSurface();
    // A palette travels with its pixels.
    if (pOld->format->palette && pNew->format->palette)
        SDL_SetPalette(pNew.get(), SDL_LOGPAL, pOld->format->palette->colors, 0, pOld->format->palette->ncolors);
    SDL_Rect rSrc{static_cast<Sint16>(m_nStoreX), static_cast<Sint16>(m_nStoreY), static_cast<Uint16>(m_nDataWidth),
                  static_cast<Uint16>(m_nDataHeight)};
    SDL_Rect rDst{static_cast<Sint16>(nDstX), static_cast<Sint16>(nDstY), 0, 0};
    const SdlBlendingOff off(pOld);
    SDL_UpperBlit(pOld, &rSrc, pNew.get(), &rDst);
    return pNew.release();
}

void SDLImage::carrySettings(SDL_Surface* pNew) const {
    const SDL_PixelFormat& f = *m_pSurface->getFormat();
    SDL_SetAlpha(pNew, SDL_SRCALPHA, f.alpha);
    if (!m_pSurface->hasColorKey()) return;
    const Color key = m_pSurface->getColorKey();
    SDL_SetColorKey(pNew, SDL_SRCCOLORKEY, SDL_MapRGB(pNew->format, key.getRed(), key.getGreen(), key.getBlue()));
}

void SDLImage::trim() {
    ZEP_TRACE("SDLImage::trim");
    trimData();
}

void SDLImage::setDataRect(int x, int y, int w, int h) {
    ZEP_TRACE("SDLImage::setDataRect");
    if (w < 0 || h < 0)
        ZEP_THROW(Zep::BadParmException,
                  Zep::String::format("SDLImage::setDataRect : negative size %dx%d", w, h).c_str());
    flushPending();
    // Old pixels keep their canvas positions; the rest is zero.
    SDL_Surface* pNew = copyPixelRect(driverPixelFormat(hasAlpha()), m_nDataX - x, m_nDataY - y, w, h);
    if (m_pSurface.notNULL()) carrySettings(pNew);
    const int nCanvasW = m_nWidth, nCanvasH = m_nHeight;
    setSurface(new Surface(pNew));
    setVirtualCanvas(x, y, nCanvasW, nCanvasH);
}

void SDLImage::prepareForDisplay() {
    ZEP_TRACE("SDLImage::prepareForDisplay");
    if (m_pSurface.isNULL()) return;
    SDL_Surface* pNew = copyPixelRect(pixelFormatOf(*m_pSurface->getFormat()), 0, 0, m_nDataWidth, m_nDataHeight);
    carrySettings(pNew);
    const int nDataX = m_nDataX, nDataY = m_nDataY, nCanvasW = m_nWidth, nCanvasH = m_nHeight;
    setSurface(new Surface(pNew));
    setVirtualCanvas(nDataX, nDataY, nCanvasW, nCanvasH);
}

void SDLImage::mirrorDataX() {
    {
        const ImageLock lock(*this);
        const int nBpp = m_pSurface.notNULL() ? m_pSurface->getFormat()->BytesPerPixel : 0;
        uint8_t lTemp[4];
        for (int y = 0; y < m_nDataHeight; ++y) {
            uint8_t* pRow = m_pLockedPixels + static_cast<ptrdiff_t>(y) * m_nLockedPitch;
            for (int i = 0, j = m_nDataWidth - 1; i < j; ++i, --j) {
                std::memcpy(lTemp, pRow + i * nBpp, nBpp);
                std::memcpy(pRow + i * nBpp, pRow + j * nBpp, nBpp);
                std::memcpy(pRow + j * nBpp, lTemp, nBpp);
            }
        }
    }
    onPixelsChanged();
}

void SDLImage::mirrorDataY() {
    {
        const ImageLock lock(*this);
        const size_t nBytes =
            m_pSurface.notNULL() ? static_cast<size_t>(m_nDataWidth) * m_pSurface->getFormat()->BytesPerPixel : 0;
        std::vector<uint8_t> lTemp(nBytes);
        for (int i = 0, j = m_nDataHeight - 1; i < j; ++i, --j) {
            uint8_t* a = m_pLockedPixels + static_cast<ptrdiff_t>(i) * m_nLockedPitch;
            uint8_t* b = m_pLockedPixels + static_cast<ptrdiff_t>(j) * m_nLockedPitch;
            std::memcpy(lTemp.data(), a, nBytes);
            std::memcpy(a, b, nBytes);
            std::memcpy(b, lTemp.data(), nBytes);
        }
    }
    onPixelsChanged();
}
