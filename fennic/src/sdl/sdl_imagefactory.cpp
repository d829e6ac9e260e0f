#include "sdl/sdl_imagefactory.h"

#include <cstdint>

#include <zep2/error.h>

#include "driver/audiodriver.h"  // resourceExistsWithSuffixes
#include "image/image.h"
#include "image/pixelstore.h"
#include "sdl/sdl_image.h"

namespace {

constexpr const char* kZepSource = ".\\src\\sdl_image";

}  // namespace

Image* SDLImageFactory::load(const char* szName) {
    return new SDLImage(szName, true, true);
}

bool SDLImageFactory::exists(const char* szName) {
    return resourceExistsWithSuffixes(szName, kImageSuffixes);
}

Image* SDLImageFactory::load(const char* szName, bool bConvert) {
    return new SDLImage(szName, bConvert, true);
}

Image* SDLImageFactory::createFromPixels(void* pPixels, int nWidth, int nHeight, int nBitsPerPixel, int nPitch,
                                         unsigned nRedMask, unsigned nGreenMask, unsigned nBlueMask,
                                         unsigned nAlphaMask) {
    // The same checks as the in-memory store's: SDL would take any of it.
    PixelStore::checkFormat(PixelFormat{nBitsPerPixel, nAlphaMask, nRedMask, nGreenMask, nBlueMask});
    if (nWidth < 0 || nHeight < 0 || (nWidth > 0 && nHeight > 0 && !pPixels) ||
        static_cast<int64_t>(nPitch) < static_cast<int64_t>(nWidth) * (nBitsPerPixel / 8))
        ZEP_THROW(Zep::BadParmException,
                  Zep::String::format("Bad pixel memory : %dx%d, pitch %d%s", nWidth, nHeight, nPitch,
                                      pPixels ? "" : ", no pixels")
                      .c_str());
    SDL_Surface* pSurface = SDL_CreateRGBSurfaceFrom(pPixels, nWidth, nHeight, nBitsPerPixel, nPitch, nRedMask,
                                                     nGreenMask, nBlueMask, nAlphaMask);
    if (!pSurface)
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("SDL_CreateRGBSurfaceFrom failed for %dx%d : %s", nWidth, nHeight,
                                      SDL_GetError())
                      .c_str());
    return new SDLImage(pSurface);
}

Image* SDLImageFactory::createBlank(int nWidth, int nHeight, bool bAlpha) {
    return new SDLImage(nWidth, nHeight, bAlpha, true);
}

Image* SDLImageFactory::createEmpty() {
    return new SDLImage();
}
