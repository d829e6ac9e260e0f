// MemImage: an Image over a plain in-memory pixel store.
//
// It implements every pixel primitive for real and is the reference the
// display drivers' images are held against, the store of the headless
// renderer and the image of the tests. Stores are reference counted: a
// sub-image shares its source's store until its display preparation, and any
// write through an image whose store is shared copies the store first, so
// sharing is never visible.
//
// The pixel formats are those of PixelStore (pixelstore.h).
//
// Transfers follow SDL 1.2's rules, as the SDL pictures do (sdl_image.h),
// so that both stores agree pixel for pixel:
//   blit      a source with an alpha channel (a = its pixel's alpha) blends
//             colour and leaves the destination's alpha: onto an alpha
//             destination c = d + (s - d)·a / 256 rounded down (a = 0 leaves
//             the pixel, a = 255 gives s), onto an opaque one
//             c = d + ((s - d)·a + 255) / 256 rounded down. A source without
//             one is blended by its surface alpha a the second way and writes
//             alpha 255 (a = 0 writes nothing, a = 255 copies); its colour-key
//             pixels (red, green and blue equal to the key's) are skipped.
//   copy      colour and alpha as they are (alpha 255 from an opaque source).
//   copyRect  compositing: a source pixel of alpha 0 leaves the destination;
//             else da = min(d.a, 255 - s.a), t = da + s.a, each colour
//             (d·da + s·s.a) / t in integer division, alpha t.
#pragma once

#include <cstdint>

#include "image/image.h"
#include "image/imagefactory.h"
#include "image/pixelstore.h"

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
    enum class Transfer { Blend, Copy, Composite };
    void transfer(const Image& src, int nSrcX, int nSrcY, int nW, int nH, int nDstX, int nDstY, Transfer mode);
    struct TransferPlan;
    void transferPixels(const Image& src, int nSrcX, int nSrcY, int nW, int nH, int nDstX, int nDstY,
                        Transfer mode);
    void transferWords(const TransferPlan& plan, const MemImage& src, int nSx, int nSy, int nW, int nH, int nDx,
                       int nDy);
    void transferColors(const TransferPlan& plan, const Image& src, int nSrcX, int nSrcY, int nW, int nH, int nDx,
                        int nDy);
    // A store of the data's size in the given format holding the data's pixels.
    Zep::SmartPtr<PixelStore> copyData(const PixelFormat& format, bool bKeyToAlpha) const;
    // A new image over a copy of the data in the given format, with this
    // image's geometry.
    Zep::SmartPtr<MemImage> cloneData(const PixelFormat& format) const;
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
