#include "sdl/sdl_pixels.h"

#include <cstring>

#include <zep2/error.h>
#include <zep2/str.h>

#include "application/gameapp.h"
#include "driver/platform.h"

namespace {

constexpr const char* kZepSource = ".\\src\\sdl_image";

constexpr PixelFormat kTexturedOpaque{24, 0, 0x000000FFu, 0x0000FF00u, 0x00FF0000u};
constexpr PixelFormat kTexturedAlpha{32, 0xFF000000u, 0x000000FFu, 0x0000FF00u, 0x00FF0000u};

}  // namespace

SdlFormatCopy::SdlFormatCopy(const SDL_PixelFormat& format) : m_format(format) {
    if (format.palette) {
        const int nCount = format.palette->colors ? format.palette->ncolors : 0;
        m_lColors.assign(format.palette->colors, format.palette->colors + nCount);
        m_palette.ncolors = nCount;
        m_palette.colors = m_lColors.data();
        m_format.palette = &m_palette;
    }
}

uint32_t readRawPixel(const uint8_t* p, int nBytesPerPixel) {
    switch (nBytesPerPixel) {
        case 1: return p[0];
        case 2: {
            uint16_t v;
            std::memcpy(&v, p, 2);
            return v;
        }
        case 3: return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16;
        case 4: {
            uint32_t v;
            std::memcpy(&v, p, 4);
            return v;
        }
        default:
            ZEP_THROW(Zep::BadStateException,
                      Zep::String::format("Surface::getPixel : Unknown surface bpp %d", nBytesPerPixel).c_str());
    }
}

void writeRawPixel(uint8_t* p, int nBytesPerPixel, uint32_t nValue) {
    switch (nBytesPerPixel) {
        case 1: p[0] = static_cast<uint8_t>(nValue); break;
        case 2: {
            const uint16_t v = static_cast<uint16_t>(nValue);
            std::memcpy(p, &v, 2);
            break;
        }
        case 3:
            p[0] = static_cast<uint8_t>(nValue);
            p[1] = static_cast<uint8_t>(nValue >> 8);
            p[2] = static_cast<uint8_t>(nValue >> 16);
            break;
        case 4: std::memcpy(p, &nValue, 4); break;
        default: break;
    }
}

PixelFormat driverPixelFormat(bool bAlpha) {
    GameApp* pApp = GameApp::getInstance();
    IPlatform* pPlatform = pApp ? pApp->getPlatform() : nullptr;
    IVideoDriver* pVideo = pPlatform ? pPlatform->getVideoDriver() : nullptr;
    if (!pVideo) return bAlpha ? kTexturedAlpha : kTexturedOpaque;
    return bAlpha ? pVideo->getAlphaFormat() : pVideo->getOpaqueFormat();
}

SDL_Surface* createSurface(int nWidth, int nHeight, const PixelFormat& format) {
    return SDL_CreateRGBSurface(0, nWidth, nHeight, format.nBitsPerPixel, format.nRedMask, format.nGreenMask,
                                format.nBlueMask, format.nAlphaMask);
}

PixelFormat pixelFormatOf(const SDL_PixelFormat& format) {
    return PixelFormat{format.BitsPerPixel, format.Amask, format.Rmask, format.Gmask, format.Bmask};
}
