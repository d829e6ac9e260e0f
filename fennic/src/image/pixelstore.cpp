#include "image/pixelstore.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include <zep2/error.h>
#include <zep2/str.h>

namespace {

// The store's errors name the in-memory image's source, as they always have.
constexpr const char* kZepSource = ".\\src\\memimage";

// Largest store accepted, in bytes: far beyond any picture of the game.
constexpr int64_t kMaxStoreBytes = int64_t(1) << 30;

bool isDisplayFormat(const PixelFormat& f) {
    return f == MemPixelFormats::kAlpha || f == MemPixelFormats::kOpaque;
}

}  // namespace

PixelStore::Channel PixelStore::channelOf(uint32_t nMask) {
    Channel ch;
    ch.m_nMask = nMask;
    if (nMask) {
        ch.m_nShift = std::countr_zero(nMask);
        ch.m_nBits = std::popcount(nMask);
    }
    return ch;
}

void PixelStore::checkFormat(const PixelFormat& f) {
    bool bGood = f.nBitsPerPixel == 8 || f.nBitsPerPixel == 16 || f.nBitsPerPixel == 24 ||
                 f.nBitsPerPixel == 32;
    const uint32_t nRange = f.nBitsPerPixel >= 32 ? 0xFFFFFFFFu : (1u << f.nBitsPerPixel) - 1;
    const uint32_t lMasks[4] = {f.nAlphaMask, f.nRedMask, f.nGreenMask, f.nBlueMask};
    uint32_t nSeen = 0;
    for (uint32_t nMask : lMasks) {
        if (!nMask) continue;
        const uint32_t nShifted = nMask >> std::countr_zero(nMask);
        const bool bContiguous = (nShifted & (nShifted + 1)) == 0;
        if (!bContiguous || (nMask & ~nRange) || (nMask & nSeen)) bGood = false;
        nSeen |= nMask;
    }
    if (!bGood)
        ZEP_THROW(Zep::BadParmException,
                  Zep::String::format("Unsupported pixel format : %d bpp, masks A %08X R %08X G %08X B %08X",
                                      f.nBitsPerPixel, f.nAlphaMask, f.nRedMask, f.nGreenMask,
                                      f.nBlueMask)
                      .c_str());
}

void PixelStore::setUp(const PixelFormat& format) {
    checkFormat(format);
    m_format = format;
    m_nBytesPerPixel = format.nBitsPerPixel / 8;
    m_chRed = channelOf(format.nRedMask);
    m_chGreen = channelOf(format.nGreenMask);
    m_chBlue = channelOf(format.nBlueMask);
    m_chAlpha = channelOf(format.nAlphaMask);
}

PixelStore::PixelStore(int nWidth, int nHeight, const PixelFormat& format) {
    setUp(format);
    m_nWidth = std::max(nWidth, 0);
    m_nHeight = std::max(nHeight, 0);
    const int64_t nPitch = (static_cast<int64_t>(m_nWidth) * m_nBytesPerPixel + 3) & ~int64_t(3);
    if (nPitch * m_nHeight > kMaxStoreBytes)
        ZEP_THROW(Zep::BadParmException,
                  Zep::String::format("Pixel store of %dx%d is too large", m_nWidth, m_nHeight).c_str());
    m_nPitch = static_cast<int32_t>(nPitch);
    const size_t nWords = static_cast<size_t>(nPitch / 4) * static_cast<size_t>(m_nHeight);
    m_pOwned = std::make_unique<uint32_t[]>(nWords);
    m_pPixels = reinterpret_cast<uint8_t*>(m_pOwned.get());
    m_bNative = isDisplayFormat(format);
}

PixelStore::PixelStore(void* pPixels, int nWidth, int nHeight, int nPitch, const PixelFormat& format) {
    setUp(format);
    if (nWidth < 0 || nHeight < 0 || (nWidth > 0 && nHeight > 0 && !pPixels) ||
        static_cast<int64_t>(nPitch) < static_cast<int64_t>(nWidth) * m_nBytesPerPixel)
        ZEP_THROW(Zep::BadParmException,
                  Zep::String::format("Bad pixel memory : %dx%d, pitch %d%s", nWidth, nHeight, nPitch,
                                      pPixels ? "" : ", no pixels")
                      .c_str());
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_nPitch = nPitch;
    m_pPixels = static_cast<uint8_t*>(pPixels);
    m_bNative = isDisplayFormat(format) && nPitch % 4 == 0 && reinterpret_cast<uintptr_t>(pPixels) % 4 == 0;
}

uint32_t PixelStore::readRaw(int x, int y) const {
    const uint8_t* p = getRow(y) + static_cast<ptrdiff_t>(x) * m_nBytesPerPixel;
    switch (m_nBytesPerPixel) {
        case 4: {
            uint32_t v;
            std::memcpy(&v, p, 4);
            return v;
        }
        case 3: return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16;
        case 2: {
            uint16_t v;
            std::memcpy(&v, p, 2);
            return v;
        }
        default: return p[0];
    }
}

void PixelStore::writeRaw(int x, int y, uint32_t nValue) {
    uint8_t* p = getRow(y) + static_cast<ptrdiff_t>(x) * m_nBytesPerPixel;
    switch (m_nBytesPerPixel) {
        case 4: std::memcpy(p, &nValue, 4); break;
        case 3:
            p[0] = static_cast<uint8_t>(nValue);
            p[1] = static_cast<uint8_t>(nValue >> 8);
            p[2] = static_cast<uint8_t>(nValue >> 16);
            break;
        case 2: {
            const uint16_t v = static_cast<uint16_t>(nValue);
            std::memcpy(p, &v, 2);
            break;
        }
        default: p[0] = static_cast<uint8_t>(nValue); break;
    }
}

uint8_t PixelStore::expand(const Channel& ch, uint32_t nValue, uint8_t nMissing) {
    if (ch.m_nBits == 0) return nMissing;
    const uint32_t v = (nValue & ch.m_nMask) >> ch.m_nShift;
    if (ch.m_nBits >= 8) return static_cast<uint8_t>(v >> (ch.m_nBits - 8));
    const uint32_t nMax = (1u << ch.m_nBits) - 1;
    return static_cast<uint8_t>((v * 255 + nMax / 2) / nMax);
}

uint32_t PixelStore::reduce(const Channel& ch, uint8_t nValue) {
    if (ch.m_nBits == 0) return 0;
    uint32_t v;
    if (ch.m_nBits >= 8) {
        v = static_cast<uint32_t>(nValue) << (ch.m_nBits - 8);
    } else {
        const uint32_t nMax = (1u << ch.m_nBits) - 1;
        v = (nValue * nMax + 127) / 255;
    }
    return (v << ch.m_nShift) & ch.m_nMask;
}

Color PixelStore::decode(uint32_t v) const {
    if (m_bNative)
        return Color(static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v),
                     m_format.nAlphaMask ? static_cast<uint8_t>(v >> 24) : 255);
    return Color(expand(m_chRed, v, 0), expand(m_chGreen, v, 0), expand(m_chBlue, v, 0), expand(m_chAlpha, v, 255));
}

uint32_t PixelStore::encode(const Color& c) const {
    if (m_bNative) return packArgb(c) & (m_format.nAlphaMask | 0x00FFFFFFu);
    return reduce(m_chRed, c.getRed()) | reduce(m_chGreen, c.getGreen()) | reduce(m_chBlue, c.getBlue()) |
           reduce(m_chAlpha, c.getAlpha());
}
