// SDLImage transfers: blit and copy through SDL_UpperBlit, the compositing
// copyRect, and fill. The rules are in sdl_image.h.
#include <algorithm>
#include <cstdint>
#include <limits>

#include <zep2/error.h>

#include "sdl/sdl_image.h"

namespace {

constexpr const char* kZepSource = ".\\src\\sdl_image";

const SDLImage& sdlSource(const Image& src, const char* szWhat) {
    const SDLImage* p = dynamic_cast<const SDLImage*>(&src);
    if (!p)
        ZEP_THROW(Zep::BadParmException, Zep::String::format("%s : the source is not an SDL image", szWhat).c_str());
    return *p;
}

// A target position less an insertion coordinate, saturated.
int anchored(int nPos, int nIns) {
    return static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(nPos) - nIns,
                                                std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

SDL_Rect sdlRect(int x, int y, int w, int h) {
    SDL_Rect r;
    r.x = static_cast<Sint16>(x);
    r.y = static_cast<Sint16>(y);
    r.w = static_cast<Uint16>(w);
    r.h = static_cast<Uint16>(h);
    return r;
}

// Rows of 32-bit words can be read as such (caller memory need not be).
bool isWordAligned(const uint8_t* p, int nPitch) {
    return reinterpret_cast<uintptr_t>(p) % 4 == 0 && nPitch % 4 == 0;
}

// One pixel of the compositing rule on bytes: source colour and alpha over
// the destination's.
inline uint32_t compositeChannel(uint32_t d, uint32_t s, uint32_t da, uint32_t sa, uint32_t t) {
    return (d * da + s * sa) / t;
}

// A copy of the image's pixels standing in for it as a source, for transfers
// of an image onto itself (the destination may be reallocated under them).
Zep::SmartPtr<SDLImage> snapshotOf(SDLImage& image) {
    image.flushPending();
    SDL_Surface* pFrom = image.getSDLSurface();
    SDL_Surface* pCopy = SDL_ConvertSurface(pFrom, pFrom->format, pFrom->flags & (SDL_SRCALPHA | SDL_SRCCOLORKEY));
    if (!pCopy)
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("SDL_ConvertSurface failed : %s", SDL_GetError()).c_str());
    Zep::SmartPtr<SDLImage> pSnapshot = new SDLImage(pCopy);
    pSnapshot->copyGeometry(image);
    return pSnapshot;
}

}  // namespace

SdlBlendingOff::SdlBlendingOff(SDL_Surface* pSource)
    : m_pSource(pSource),
      m_nFlags(pSource->flags),
      m_nAlpha(pSource->format->alpha),
      m_nKey(pSource->format->colorkey) {
    SDL_SetAlpha(pSource, 0, 255);
    SDL_SetColorKey(pSource, 0, 0);
}

SdlBlendingOff::~SdlBlendingOff() {
    if (m_nFlags & SDL_SRCALPHA) SDL_SetAlpha(m_pSource, SDL_SRCALPHA, m_nAlpha);
    if (m_nFlags & SDL_SRCCOLORKEY) SDL_SetColorKey(m_pSource, SDL_SRCCOLORKEY, m_nKey);
}

void SDLImage::blit(const Image& src, const Rect& srcRect, int x, int y) {
    transfer(src, srcRect, x, y, Transfer::Blend);
}

void SDLImage::copy(const Image& src, const Rect& srcRect, int x, int y) {
    transfer(src, srcRect, x, y, Transfer::Copy);
}

void SDLImage::transfer(const Image& src, const Rect& srcRect, int x, int y, Transfer mode) {
    ZEP_TRACE("SDLImage::transfer");
    const SDLImage& from = sdlSource(src, "SDLImage::blit");
    if (&from == this) {
        const Zep::SmartPtr<SDLImage> pSnapshot = snapshotOf(*this);
        transfer(*pSnapshot, srcRect, x, y, mode);
        return;
    }
    int nDx = anchored(x, from.getInsPointX()), nDy = anchored(y, from.getInsPointY());
    int nSx = srcRect.getLeft(), nSy = srcRect.getTop(), nW = srcRect.getWidth(), nH = srcRect.getHeight();
    if (!clipBlitRect(from, &nSx, &nSy, &nW, &nH, &nDx, &nDy)) return;

    SDL_Surface* pSrc = from.getSDLSurface();
    SDL_Surface* pDst = getSDLSurface();
    SDL_Rect rSrc = sdlRect(nSx + from.m_nStoreX, nSy + from.m_nStoreY, nW, nH);
    SDL_Rect rDst = sdlRect(nDx + m_nStoreX, nDy + m_nStoreY, 0, 0);
    if (mode == Transfer::Copy) {
        const SdlBlendingOff off(pSrc);
        SDL_UpperBlit(pSrc, &rSrc, pDst, &rDst);
    } else {
        SDL_UpperBlit(pSrc, &rSrc, pDst, &rDst);
    }
    m_pSurface->markModified();
}

void SDLImage::copyRect(const Image& src, int nSrcX, int nSrcY, int nW, int nH, int x, int y) {
    ZEP_TRACE("SDLImage::copyRect");
    const SDLImage& from = sdlSource(src, "SDLImage::copyRect");
    if (&from == this) {
        const Zep::SmartPtr<SDLImage> pSnapshot = snapshotOf(*this);
        copyRect(*pSnapshot, nSrcX, nSrcY, nW, nH, x, y);
        return;
    }
    int nDx = anchored(x, from.getInsPointX()), nDy = anchored(y, from.getInsPointY());
    if (!clipBlitRect(from, &nSrcX, &nSrcY, &nW, &nH, &nDx, &nDy)) return;
    composite(from, nSrcX, nSrcY, nW, nH, nDx, nDy);
    m_pSurface->markModified();
}

void SDLImage::composite(const SDLImage& src, int nSx, int nSy, int nW, int nH, int nDx, int nDy) {
    const ImageLock lockSrc(src);
    const ImageLock lockDst(*this);
    const SDL_PixelFormat& fs = *src.m_pSurface->getFormat();
    const SDL_PixelFormat& fd = *m_pSurface->getFormat();
    auto eightBitChannels = [](const SDL_PixelFormat& f) {
        return f.BytesPerPixel == 4 && f.Amask != 0 && f.Rloss == 0 && f.Gloss == 0 && f.Bloss == 0 && f.Aloss == 0;
    };
    const bool bWords = eightBitChannels(fs) && eightBitChannels(fd) &&
                        isWordAligned(src.m_pLockedPixels, src.m_nLockedPitch) &&
                        isWordAligned(m_pLockedPixels, m_nLockedPitch);
    if (bWords) {
        compositeWords(src, nSx, nSy, nW, nH, nDx, nDy);
        return;
    }
    for (int j = 0; j < nH; ++j) {
        for (int i = 0; i < nW; ++i) {
            const Color s = src.readPixel(nSx + i, nSy + j);
            const uint32_t sa = s.getAlpha();
            if (sa == 0) continue;
            const Color d = readPixel(nDx + i, nDy + j);
            const uint32_t da = std::min<uint32_t>(d.getAlpha(), 255 - sa), t = da + sa;
            writePixel(nDx + i, nDy + j,
                       Color(static_cast<uint8_t>(compositeChannel(d.getRed(), s.getRed(), da, sa, t)),
                             static_cast<uint8_t>(compositeChannel(d.getGreen(), s.getGreen(), da, sa, t)),
                             static_cast<uint8_t>(compositeChannel(d.getBlue(), s.getBlue(), da, sa, t)),
                             static_cast<uint8_t>(t)));
        }
    }
}

// Both 32-bit with 8-bit channels (in any order): the same rule on the
// words themselves, each channel taken from its own place in each layout.
void SDLImage::compositeWords(const SDLImage& src, int nSx, int nSy, int nW, int nH, int nDx, int nDy) {
    const SDL_PixelFormat& fs = *src.m_pSurface->getFormat();
    const SDL_PixelFormat& fd = *m_pSurface->getFormat();
    const int nSrcShift[3] = {fs.Rshift, fs.Gshift, fs.Bshift};
    const int nDstShift[3] = {fd.Rshift, fd.Gshift, fd.Bshift};
    for (int j = 0; j < nH; ++j) {
        const uint32_t* s = reinterpret_cast<const uint32_t*>(src.m_pLockedPixels +
                                                              static_cast<ptrdiff_t>(nSy + j) * src.m_nLockedPitch) +
                            nSx;
        uint32_t* d = reinterpret_cast<uint32_t*>(m_pLockedPixels + static_cast<ptrdiff_t>(nDy + j) * m_nLockedPitch) +
                      nDx;
        for (int i = 0; i < nW; ++i) {
            const uint32_t sp = s[i], sa = (sp >> fs.Ashift) & 0xFF;
            if (sa == 0) continue;
            const uint32_t dp = d[i], da = std::min((dp >> fd.Ashift) & 0xFF, 255 - sa), t = da + sa;
            uint32_t out = t << fd.Ashift;
            for (int c = 0; c < 3; ++c)
                out |= compositeChannel((dp >> nDstShift[c]) & 0xFF, (sp >> nSrcShift[c]) & 0xFF, da, sa, t) << nDstShift[c];
            d[i] = out;
        }
    }
}

void SDLImage::fill(const Color& color) {
    ZEP_TRACE("SDLImage::fill");
    // A sub-image still sharing its source's pixels gets its own first.
    flushPending();
    Surface& s = surface("SDLImage::fill");
    if (m_nDataWidth > 0 && m_nDataHeight > 0) {
        SDL_Surface* pSurface = s.ensureLoaded();
        SDL_Rect r = sdlRect(m_nStoreX, m_nStoreY, m_nDataWidth, m_nDataHeight);
        SDL_FillRect(pSurface, &r, pixelOfColor(color, pSurface->format));
    }
    s.markModified();
}
