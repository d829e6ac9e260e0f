// Image: the shared, reference-counted picture.
//
// Three coordinate systems, all with x to the right and y downwards:
//   canvas  - the logical picture, 0 <= x < getWidth(), 0 <= y < getHeight();
//   data    - the stored pixels; canvas (x, y) is data (x - dataX, y - dataY);
//   anchor  - origin at the insertion point (getRect, getDataRect).
// The data need not fill the canvas: the rest is transparent margin that is
// not stored. The base class holds that geometry and the editing algorithms;
// the pixel store behind it (storage, locking, blits, formats) is supplied by
// a subclass through the pure virtual primitives.
#pragma once

#include <cstdint>

#include <zep2/refcount.h>
#include <zep2/str.h>

#include "base/color.h"
#include "base/rect.h"
#include "driver/videodriver.h"  // PixelFormat

class ImageFactory;

// The suffixes under which picture names are looked for, null-terminated.
inline constexpr const char* kImageSuffixes[] = {".jpg", ".png", ".subimage", nullptr};

class Image : public Zep::RefCountedObject {
public:
    // alignInsPoint flags
    enum {
        kAlignRight = 2,
        kAlignCenterX = 4,
        kAlignBottom = 16,
        kAlignCenterY = 32,
        kAlignToData = 64,
    };

    Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    ~Image() override;

    // Pixel primitives and hooks.
    virtual void setPixelScale(float fScale) = 0;
    virtual float getPixelScale() const = 0;
    // Blends the canvas rectangle srcRect of src so that its top-left corner
    // lands at (x - src insertion x, y - src insertion y).
    virtual void blit(const Image& src, const Rect& srcRect, int x, int y) = 0;
    virtual void blit(const Image& src, int x, int y);
    // As blit, but the pixels are taken unchanged (no blending, no colour key).
    virtual void copy(const Image& src, const Rect& srcRect, int x, int y) = 0;
    virtual void copy(const Image& src, int x, int y);
    virtual void fill(const Color& color) = 0;
    virtual PixelFormat getPixelFormat() const = 0;
    // A new image with these pixels in another format and the same geometry.
    virtual Zep::SmartPtr<Image> convert(const PixelFormat& format) = 0;
    virtual bool hasAlpha() const = 0;
    virtual bool hasColorKey() const = 0;
    virtual void setColorKey(const Color& key) = 0;
    virtual Color getColorKey() const = 0;
    virtual void addAlphaChannel() = 0;
    virtual void removeAlphaChannel() = 0;
    virtual void setSurfaceAlpha(int nAlpha) = 0;
    virtual int getSurfaceAlpha() const = 0;
    // Told after flips and alpha masks, and after whole-image pixel edits, so
    // that a display driver can refresh what it caches.
    virtual void onGeometryChanged() {}
    virtual void onPixelsChanged() {}
    virtual void copyRect(const Image& src, int nSrcX, int nSrcY, int nW, int nH, int x, int y) = 0;
    virtual void shareData(const Image& src) = 0;
    // The data becomes the canvas rectangle (x, y, w, h); pixels keep their
    // canvas positions, the canvas stays.
    virtual void setDataRect(int x, int y, int w, int h) = 0;
    virtual void loadData(const char* szName, bool bOptionA, bool bOptionB) = 0;
    // Data coordinates; the image must be locked.
    virtual Color readPixel(int x, int y) const = 0;
    virtual void writePixel(int x, int y, const Color& color) = 0;
    virtual void lock() const = 0;
    virtual void unlock() const = 0;
    virtual void trim() = 0;
    virtual void prepareForDisplay() = 0;
    virtual void mirrorDataX() = 0;
    virtual void mirrorDataY() = 0;

    // Canvas
    int getWidth() const { return m_nWidth; }
    int getHeight() const { return m_nHeight; }
    void getSize(int* pW, int* pH) const;
    Point getSize() const;
    int getDimension(bool bHeight) const { return bHeight ? m_nHeight : m_nWidth; }

    // Data
    int getDataWidth() const { return m_nDataWidth; }
    int getDataHeight() const { return m_nDataHeight; }
    void getDataSize(int* pW, int* pH) const;
    Point getDataSize() const;
    void getDataOffset(int* pX, int* pY) const;
    Point getDataOffset() const;

    // Insertion point (canvas coordinates of the anchor)
    void getInsPoint(int* pX, int* pY) const;
    Point getInsPoint() const;
    int getInsPointX() const { return m_nInsX; }
    int getInsPointY() const { return m_nInsY; }
    void setInsPoint(int x, int y);
    void setInsPoint(const Point& p);
    void alignInsPoint(int nFlags);

    void getStoreOrigin(int* pX, int* pY) const;
    void getFlipFlags(bool* pH, bool* pV) const;
    bool isPreparePending() const { return m_bPreparePending; }
    void setVirtualCanvas(int nDataX, int nDataY, int nWidth, int nHeight);

    // Anchor coordinates.
    Rect getRect() const;
    Rect getDataRect() const;

    void copyPixelSettings(const Image& src);
    void copyGeometry(const Image& src);

    // Runs deferred work: display preparation, then the X mirror, then the Y mirror.
    void flushPending();

    void blitFrom(const Image& src, int x, int y);
    void blitFrom(const Image& src, const Rect& srcRect, int x, int y);

    // Clips a transfer from src into this image and grows this image's data
    // to cover it. In: source rectangle in source canvas coordinates and the
    // destination corner in canvas coordinates. Out: source position in
    // source data coordinates, destination position in data coordinates.
    // False when nothing is to be copied.
    bool clipBlitRect(const Image& src, int* pSrcX, int* pSrcY, int* pW, int* pH, int* pDstX,
                      int* pDstY);

    void hflip();
    void vflip();

    // Canvas coordinates. Outside the data getPixel gives (0, 0, 0, 255) and
    // setPixel does nothing.
    Color getPixel(int x, int y);
    void setPixel(int x, int y, const Color& color);

    // Data coordinates, image locked.
    bool isTransparentAt(int x, int y, int nThreshold) const;
    // Canvas coordinates.
    bool isTransparent(int x, int y, int nThreshold);
    bool isTransparent(const Point& p, int nThreshold);
    // Data coordinates.
    bool isRowEmpty(int y, int nThreshold);
    // Cuts the data to its rows and columns that are not fully transparent;
    // when nothing shows, no data is left and the canvas stays. Data with
    // nothing to cut is left alone (a store may keep its pixels as they are).
    void trimData();
    bool isColumnEmpty(int x, int nThreshold);
    // Data coordinates, image already locked; x0 <= x < x1.
    bool isRowSegmentTransparent(int y, int x0, int x1) const;
    bool isColumnSegmentTransparent(int x, int y0, int y1) const;

    void multiplyColor(const Color& color);
    void multiplyAlpha(int nFactor);
    void remapChannels(int nC0, int nC1, int nC2);
    void applyAlphaMask(const Image& mask, int nMode);
    Zep::SmartPtr<Image> createAlphaImage();

    void setSubImage(const Image& src, int x, int y, int w, int h);
    Zep::SmartPtr<Image> createSubImage(int x, int y, int w, int h, bool bPrepareNow);
    Zep::SmartPtr<Image> createSubImage(const Rect& rect, bool bPrepareNow);
    Zep::SmartPtr<Image> clone(bool bPrepareNow);

    Zep::String getName() const { return m_sName; }

    // Resolves a name through its ".subimage" and ".spec" definitions.
    void load(const char* szName, bool bOptionA, bool bOptionB);
    static void setAutoTrim(bool bOn);
    static bool getAutoTrim();

protected:
    // The factory that makes sub-images and alpha images.
    static ImageFactory& factory();

    int32_t m_nDataWidth = 0;
    int32_t m_nDataHeight = 0;
    int32_t m_nInsX = 0;
    int32_t m_nInsY = 0;
    int32_t m_nStoreX = 0;
    int32_t m_nStoreY = 0;
    int32_t m_nDataX = 0;
    int32_t m_nDataY = 0;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    bool m_bPreparePending = false;
    bool m_bMirrorXPending = false;
    bool m_bMirrorYPending = false;
    Zep::String m_sName;

private:
    void flushPreparation();
    void readSubImageDefinition(const Zep::String& sResource);
    void applyCanvasDefinition(const Zep::String& sResource);
};

// Holds an image locked for the life of the scope.
class ImageLock {
public:
    explicit ImageLock(const Image& image) : m_rImage(image) { m_rImage.lock(); }
    ~ImageLock() { m_rImage.unlock(); }
    ImageLock(const ImageLock&) = delete;
    ImageLock& operator=(const ImageLock&) = delete;

private:
    const Image& m_rImage;
};
