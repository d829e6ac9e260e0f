// PixelStore: a reference-counted rectangle of pixels in one format, owned or
// over caller memory, with raw reads and writes and the conversion of raw
// values to and from Color.
//
// Pixel formats: 8, 16, 24 or 32 bits per pixel with contiguous channel
// masks. The display formats are 32-bit 0xAARRGGBB words (alpha) and the same
// without the alpha mask (opaque; alpha reads as 255); stores in them take
// the fast word paths of MemImage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include <zep2/refcount.h>

#include "base/color.h"
#include "image/image.h"

namespace MemPixelFormats {
// 0xAARRGGBB words
inline constexpr PixelFormat kAlpha{32, 0xFF000000u, 0x00FF0000u, 0x0000FF00u, 0x000000FFu};
inline constexpr PixelFormat kOpaque{32, 0u, 0x00FF0000u, 0x0000FF00u, 0x000000FFu};
}  // namespace MemPixelFormats

// A rectangle of pixels in one format, owned or over caller memory.
class PixelStore : public Zep::RefCountedObject {
public:
    // Owned pixels, all bits zero. Negative sizes count as 0.
    PixelStore(int nWidth, int nHeight, const PixelFormat& format);
    // The caller's pixels, not copied; they must outlive the store.
    PixelStore(void* pPixels, int nWidth, int nHeight, int nPitch, const PixelFormat& format);

    int getWidth() const { return m_nWidth; }
    int getHeight() const { return m_nHeight; }
    int getPitch() const { return m_nPitch; }
    int getBytesPerPixel() const { return m_nBytesPerPixel; }
    const PixelFormat& getFormat() const { return m_format; }
    bool hasAlpha() const { return m_format.nAlphaMask != 0; }
    bool ownsPixels() const { return m_pOwned != nullptr || m_nHeight == 0; }
    // 32-bit words in a display format, word-aligned rows.
    bool isNative() const { return m_bNative; }

    float getScale() const { return m_fScale; }
    void setScale(float fScale) { m_fScale = fScale; }

    uint8_t* getRow(int y) { return m_pPixels + static_cast<ptrdiff_t>(y) * m_nPitch; }
    const uint8_t* getRow(int y) const { return m_pPixels + static_cast<ptrdiff_t>(y) * m_nPitch; }
    uint32_t* getWordRow(int y) { return reinterpret_cast<uint32_t*>(getRow(y)); }
    const uint32_t* getWordRow(int y) const { return reinterpret_cast<const uint32_t*>(getRow(y)); }

    // Unchecked: (x, y) must lie in the store.
    uint32_t readRaw(int x, int y) const;
    void writeRaw(int x, int y, uint32_t nValue);
    Color decode(uint32_t nValue) const;
    uint32_t encode(const Color& color) const;

    // Throws Zep::BadParmException for a layout the store cannot hold.
    static void checkFormat(const PixelFormat& format);

private:
    struct Channel {
        uint32_t m_nMask = 0;
        int m_nShift = 0;
        int m_nBits = 0;
    };
    void setUp(const PixelFormat& format);
    static Channel channelOf(uint32_t nMask);
    static uint8_t expand(const Channel& ch, uint32_t nValue, uint8_t nMissing);
    static uint32_t reduce(const Channel& ch, uint8_t nValue);

    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    int32_t m_nPitch = 0;
    int32_t m_nBytesPerPixel = 4;
    PixelFormat m_format;
    Channel m_chRed, m_chGreen, m_chBlue, m_chAlpha;
    bool m_bNative = false;
    float m_fScale = 1.0f;
    std::unique_ptr<uint32_t[]> m_pOwned;
    uint8_t* m_pPixels = nullptr;
};

// Color as a 0xAARRGGBB word.
inline uint32_t packArgb(const Color& c) {
    return static_cast<uint32_t>(c.getAlpha()) << 24 | static_cast<uint32_t>(c.getRed()) << 16 |
           static_cast<uint32_t>(c.getGreen()) << 8 | c.getBlue();
}
