// Small tools under the SDL pictures: owning handles for SDL surfaces and
// read streams, a deep copy of a surface's pixel format, reading and writing
// one pixel of 1 to 4 bytes, and the driver's two pixel formats.
//
// A pixel of 3 bytes is little-endian (first byte lowest). Values are split
// into colours and built from them through SDL's own mapping, so palettes and
// any channel layout work; formats without alpha read alpha 255.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <SDL.h>

#include "base/color.h"
#include "driver/videodriver.h"

struct SdlSurfaceFree {
    void operator()(SDL_Surface* p) const { SDL_FreeSurface(p); }
};
struct SdlRWopsFree {
    void operator()(SDL_RWops* p) const { SDL_FreeRW(p); }
};
using SdlSurfacePtr = std::unique_ptr<SDL_Surface, SdlSurfaceFree>;
using SdlRWopsPtr = std::unique_ptr<SDL_RWops, SdlRWopsFree>;

// A private copy of an SDL pixel format with its palette (count and colours),
// so that format, per-surface alpha, colour key and palette can be asked while
// the surface's pixels are away. Not copyable: the format points into itself.
class SdlFormatCopy {
public:
    explicit SdlFormatCopy(const SDL_PixelFormat& format);
    SdlFormatCopy(const SdlFormatCopy&) = delete;
    SdlFormatCopy& operator=(const SdlFormatCopy&) = delete;

    SDL_PixelFormat* get() { return &m_format; }
    const SDL_PixelFormat* get() const { return &m_format; }

private:
    SDL_PixelFormat m_format;
    SDL_Palette m_palette{};
    std::vector<SDL_Color> m_lColors;
};

// The pixel value at p, of 1 to 4 bytes; another size throws
// Zep::BadStateException "Surface::getPixel : Unknown surface bpp %d".
uint32_t readRawPixel(const uint8_t* p, int nBytesPerPixel);
// Stores 1 to 4 bytes; another size writes nothing.
void writeRawPixel(uint8_t* p, int nBytesPerPixel, uint32_t nValue);

inline Color colorOfPixel(uint32_t nValue, const SDL_PixelFormat* pFormat) {
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRGBA(nValue, const_cast<SDL_PixelFormat*>(pFormat), &r, &g, &b, &a);
    return Color(r, g, b, a);
}

inline uint32_t pixelOfColor(const Color& c, const SDL_PixelFormat* pFormat) {
    return SDL_MapRGBA(const_cast<SDL_PixelFormat*>(pFormat), c.getRed(), c.getGreen(), c.getBlue(), c.getAlpha());
}

// The video driver's format for pictures with or without alpha, asked
// through the application's platform. Without an application, platform or
// video driver (tools, benchmarks) the textured renderer's formats stand in:
// 24 bits R, G, B in memory, and 32 bits R, G, B, A in memory.
PixelFormat driverPixelFormat(bool bAlpha);

// A new zeroed surface with no flags; null when SDL refuses.
SDL_Surface* createSurface(int nWidth, int nHeight, const PixelFormat& format);

// The format's bits per pixel and masks.
PixelFormat pixelFormatOf(const SDL_PixelFormat& format);
