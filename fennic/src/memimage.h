// MemImage: an Image over a plain in-memory pixel store.
//
// It implements every pixel primitive for real and is the reference the
// display drivers' images are held against, the store of the headless
// renderer and the image of the tests. Stores are reference counted: a
// sub-image shares its source's store until its display preparation, and any
// write through an image whose store is shared copies the store first, so
// sharing is never visible.
//
// Pixel formats: 8, 16, 24 or 32 bits per pixel with contiguous channel
// masks. The display formats are 32-bit 0xAARRGGBB words (alpha) and the same
// without the alpha mask (opaque; alpha reads as 255).
//
// Blending (blit): a source pixel of alpha a (its alpha channel, else the
// surface alpha; colour-key pixels of a source without alpha are skipped)
// gives c = round((s·a + d·(255 − a)) / 255) for red, green and blue, and on
// a destination with alpha, alpha = a + round(d_alpha·(255 − a) / 255).
#pragma once

#include <cstdint>
#include <memory>

#include "image.h"
#include "imagefactory.h"

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

class MemImage : public Image {
public:
    // No pixel data (0 x 0), the alpha display format.
    MemImage();
    // Canvas = data = w x h (sizes below 1 count as 1), every pixel (0, 0, 0, 0).
    MemImage(int nWidth, int nHeight, bool bAlpha);
    // Over the caller's pixels, not copied.
    MemImage(void* pPixels, int nWidth, int nHeight, int nBitsPerPixel, int nPitch, uint32_t nRedMask,
             uint32_t nGreenMask, uint32_t nBlueMask, uint32_t nAlphaMask);
    // Loaded by name (Image::load).
    MemImage(const char* szName, bool bOptionA, bool bOptionB);
    ~MemImage() override;

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
    bool hasColorKey() const override { return m_bColorKey; }
    void setColorKey(const Color& key) override;
    Color getColorKey() const override { return m_cColorKey; }
    void addAlphaChannel() override;
    void removeAlphaChannel() override;
    void setSurfaceAlpha(int nAlpha) override;
    int getSurfaceAlpha() const override;
    void onGeometryChanged() override;
    void onPixelsChanged() override;
    void copyRect(const Image& src, int nSrcX, int nSrcY, int nW, int nH, int x, int y) override;
    void shareData(const Image& src) override;
    void setDataRect(int x, int y, int w, int h) override;
    void loadData(const char* szName, bool bOptionA, bool bOptionB) override;
    Color readPixel(int x, int y) const override;
    void writePixel(int x, int y, const Color& color) override;
    void lock() const override;
    void unlock() const override;
    void trim() override;
    void prepareForDisplay() override;
    void mirrorDataX() override;
    void mirrorDataY() override;

    // Inspection, for renderers and tests.
    const PixelStore& getStore() const { return *m_pStore; }
    bool sharesStoreWith(const MemImage& other) const { return m_pStore == other.m_pStore; }
    int getLockCount() const { return m_nLockCount; }
    int getGeometryNotifications() const { return m_nGeometryNotes; }
    int getPixelNotifications() const { return m_nPixelNotes; }
    // Grows with every change of the stored pixels.
    uint32_t getRevision() const { return m_nRevision; }

    // Decodes a picture file's bytes into the data: canvas = data = the
    // picture's size, data offset and store origin (0, 0). Only PNG is read.
    void loadPicture(const uint8_t* pBytes, size_t nSize, const char* szName);

private:
    enum class Transfer { Blend, Copy };
    void transfer(const Image& src, int nSrcX, int nSrcY, int nW, int nH, int nDstX, int nDstY, Transfer mode);
    void transferPixels(const Image& src, int nSrcX, int nSrcY, int nW, int nH, int nDstX, int nDstY,
                        Transfer mode);
    // A store of the data's size in the given format holding the data's pixels.
    Zep::SmartPtr<PixelStore> copyData(const PixelFormat& format, bool bKeyToAlpha) const;
    void replaceStore(const Zep::SmartPtr<PixelStore>& pStore);
    // Copies a shared store before a write.
    void ensureOwnStore();
    void checkAccess(const char* szWhat, int x, int y) const;
    void changed() { ++m_nRevision; }

    Zep::SmartPtr<PixelStore> m_pStore;
    Color m_cColorKey = Color(0, 0, 0, 0);
    bool m_bColorKey = false;
    int32_t m_nSurfaceAlpha = 255;
    mutable int32_t m_nLockCount = 0;
    int32_t m_nGeometryNotes = 0;
    int32_t m_nPixelNotes = 0;
    uint32_t m_nRevision = 0;
};

// The image factory of in-memory images.
class MemImageFactory : public ImageFactory {
public:
    Image* load(const char* szName) override;
    bool exists(const char* szName) override;
    Image* load(const char* szName, bool bOptionA) override;
    Image* createFromPixels(void* pPixels, int nWidth, int nHeight, int nBitsPerPixel, int nPitch,
                            unsigned nRedMask, unsigned nGreenMask, unsigned nBlueMask,
                            unsigned nAlphaMask) override;
    Image* createBlank(int nWidth, int nHeight, bool bAlpha) override;
    Image* createEmpty() override;
};
