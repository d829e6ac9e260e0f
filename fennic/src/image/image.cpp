#include "image/image.h"

#include <algorithm>
#include <limits>

#include <zep2/error.h>

#include "image/imagefactory.h"

namespace {

constexpr const char* kZepSource = ".\\src\\image";

// A pair of values through pointers that may be null.
void writePair(int* pA, int* pB, int a, int b) {
    if (pA) *pA = a;
    if (pB) *pB = b;
}

Point pointOf(int a, int b) {
    return Point(static_cast<float>(a), static_cast<float>(b));
}

int clampToInt(int64_t n) {
    return static_cast<int>(std::clamp<int64_t>(n, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

// The checks of the clipping arithmetic name the quantities as the clipping
// steps call them.
#define IMAGE_CHECK(cond, text)                                                         \
    do {                                                                                \
        if (!(cond)) throw Zep::AssertFailException(kZepSource, __LINE__, "Assertion failed : " text); \
    } while (0)

uint8_t channelOf(const Color& c, int nChannel) {
    switch (nChannel) {
        case 0: return c.getRed();
        case 1: return c.getGreen();
        default: return c.getBlue();
    }
}

}  // namespace

Image::Image() = default;

Image::~Image() = default;

void Image::blit(const Image& src, int x, int y) {
    blit(src, Rect(0, 0, src.getWidth(), src.getHeight()), x, y);
}

void Image::copy(const Image& src, int x, int y) {
    copy(src, Rect(0, 0, src.getWidth(), src.getHeight()), x, y);
}

void Image::getSize(int* pW, int* pH) const { writePair(pW, pH, m_nWidth, m_nHeight); }

Point Image::getSize() const { return pointOf(m_nWidth, m_nHeight); }

void Image::getDataSize(int* pW, int* pH) const { writePair(pW, pH, m_nDataWidth, m_nDataHeight); }

Point Image::getDataSize() const { return pointOf(m_nDataWidth, m_nDataHeight); }

void Image::getDataOffset(int* pX, int* pY) const { writePair(pX, pY, m_nDataX, m_nDataY); }

Point Image::getDataOffset() const { return pointOf(m_nDataX, m_nDataY); }

void Image::getInsPoint(int* pX, int* pY) const { writePair(pX, pY, m_nInsX, m_nInsY); }

Point Image::getInsPoint() const { return pointOf(m_nInsX, m_nInsY); }

void Image::setInsPoint(int x, int y) {
    m_nInsX = x;
    m_nInsY = y;
}

void Image::setInsPoint(const Point& p) {
    setInsPoint(truncToInt(p.x), truncToInt(p.y));
}

void Image::alignInsPoint(int nFlags) {
    int64_t nLeft = 0, nTop = 0, nRight = m_nWidth, nBottom = m_nHeight;
    if (nFlags >= kAlignToData) {
        nLeft = m_nDataX;
        nTop = m_nDataY;
        nRight = nLeft + m_nDataWidth;
        nBottom = nTop + m_nDataHeight;
    }
    int64_t x = nLeft, y = nTop;
    if (nFlags & kAlignRight)
        x = nRight - 1;
    else if (nFlags & kAlignCenterX)
        x = nLeft + (nRight - nLeft) / 2;
    if (nFlags & kAlignBottom)
        y = nBottom - 1;
    else if (nFlags & kAlignCenterY)
        y = nTop + (nBottom - nTop) / 2;
    setInsPoint(clampToInt(x), clampToInt(y));
}

void Image::getStoreOrigin(int* pX, int* pY) const {
    if (pX) *pX = m_nStoreX;
    if (pY) *pY = m_nStoreY;
}

void Image::getFlipFlags(bool* pH, bool* pV) const {
    if (pH) *pH = m_bMirrorXPending;
    if (pV) *pV = m_bMirrorYPending;
}

void Image::setVirtualCanvas(int nDataX, int nDataY, int nWidth, int nHeight) {
    m_nDataX = nDataX;
    m_nDataY = nDataY;
    m_nWidth = nWidth;
    m_nHeight = nHeight;
}

Rect Image::getRect() const {
    return Rect(-m_nInsX, -m_nInsY, m_nWidth - m_nInsX, m_nHeight - m_nInsY);
}

Rect Image::getDataRect() const {
    const int nLeft = m_nDataX - m_nInsX;
    const int nTop = m_nDataY - m_nInsY;
    return Rect(nLeft, nTop, nLeft + m_nDataWidth, nTop + m_nDataHeight);
}

void Image::copyPixelSettings(const Image& src) {
    setSurfaceAlpha(src.getSurfaceAlpha());
    if (src.hasColorKey()) setColorKey(src.getColorKey());
}

void Image::copyGeometry(const Image& src) {
    copyPixelSettings(src);
    m_nInsX = src.m_nInsX;
    m_nInsY = src.m_nInsY;
    m_nDataX = src.m_nDataX;
    m_nDataY = src.m_nDataY;
    m_nWidth = src.m_nWidth;
    m_nHeight = src.m_nHeight;
}

void Image::flushPreparation() {
    if (m_bPreparePending) {
        prepareForDisplay();
        m_bPreparePending = false;
    }
}

void Image::flushPending() {
    flushPreparation();
    if (m_bMirrorXPending) {
        mirrorDataX();
        m_bMirrorXPending = false;
    }
    if (m_bMirrorYPending) {
        mirrorDataY();
        m_bMirrorYPending = false;
    }
}

void Image::blitFrom(const Image& src, int x, int y) {
    blitFrom(src, Rect(0, 0, src.getWidth(), src.getHeight()), x, y);
}

void Image::blitFrom(const Image& src, const Rect& srcRect, int x, int y) {
    if (hasAlpha() && src.hasAlpha())
        copyRect(src, srcRect.getLeft(), srcRect.getTop(), srcRect.getWidth(), srcRect.getHeight(), x, y);
    else
        blit(src, srcRect, x, y);
}

bool Image::clipBlitRect(const Image& src, int* pSrcX, int* pSrcY, int* pW, int* pH, int* pDstX,
                         int* pDstY) {
    ZEP_TRACE("Image::clipBlitRect");
    flushPending();
    // Deferred work on the source changes no pixel that anybody can see.
    const_cast<Image&>(src).flushPending();

    // An empty or inverted request copies nothing. The arithmetic runs in 64
    // bits so that far-away rectangles cannot overflow.
    if (*pW <= 0 || *pH <= 0) return false;
    int64_t nDstX = *pDstX, nDstY = *pDstY;

    // The source rectangle in source data coordinates.
    const int64_t nSrcL = static_cast<int64_t>(*pSrcX) - src.m_nDataX;
    const int64_t nSrcT = static_cast<int64_t>(*pSrcY) - src.m_nDataY;
    const int64_t nSrcR = nSrcL + *pW, nSrcB = nSrcT + *pH;
    const int64_t nDataR = src.m_nDataWidth, nDataB = src.m_nDataHeight;
    if (!(0 < nSrcR && nDataR > nSrcL && 0 < nSrcB && nDataB > nSrcT)) return false;

    const int64_t nPhysL = std::max<int64_t>(nSrcL, 0), nPhysT = std::max<int64_t>(nSrcT, 0);
    const int64_t nPhysR = std::min(nSrcR, nDataR), nPhysB = std::min(nSrcB, nDataB);
    IMAGE_CHECK(nPhysL >= nSrcL, "pSrcPhys.getLeft() >= pSrc.getLeft()");
    IMAGE_CHECK(nPhysT >= nSrcT, "pSrcPhys.getTop() >= pSrc.getTop()");
    nDstX += nPhysL - nSrcL;
    nDstY += nPhysT - nSrcT;
    int64_t nSrcX = nPhysL, nSrcY = nPhysT;
    int64_t nW = nPhysR - nPhysL, nH = nPhysB - nPhysT;
    IMAGE_CHECK(nPhysL + nW <= nDataR, "pSrcPhys.getLeft() + nW <= pSrcData.getRight()");
    IMAGE_CHECK(nPhysT + nH <= nDataB, "pSrcPhys.getTop() + nH <= pSrcData.getBottom()");

    // Clip to the destination canvas.
    if (!(0 < nDstX + nW && m_nWidth > nDstX && 0 < nDstY + nH && m_nHeight > nDstY)) return false;
    const int64_t nClipL = std::max<int64_t>(nDstX, 0), nClipT = std::max<int64_t>(nDstY, 0);
    const int64_t nClipR = std::min<int64_t>(nDstX + nW, m_nWidth);
    const int64_t nClipB = std::min<int64_t>(nDstY + nH, m_nHeight);
    nSrcX += nClipL - nDstX;
    nSrcY += nClipT - nDstY;
    nDstX = nClipL;
    nDstY = nClipT;
    nW = nClipR - nClipL;
    nH = nClipB - nClipT;
    IMAGE_CHECK(nDstX >= 0 && nDstY >= 0 && nDstX + nW <= m_nWidth && nDstY + nH <= m_nHeight,
                "pDst.intersect(pDstVirt) == pDst");

    // Grow the stored data to cover the written rectangle.
    const Rect dst(static_cast<int>(nDstX), static_cast<int>(nDstY), static_cast<int>(nDstX + nW),
                   static_cast<int>(nDstY + nH));
    Rect data(m_nDataX, m_nDataY, m_nDataX + m_nDataWidth, m_nDataY + m_nDataHeight);
    if (data.intersect(dst) != dst) {
        data = data.isEmpty() ? dst : data.unite(dst);
        setDataRect(data.getLeft(), data.getTop(), data.getWidth(), data.getHeight());
    }

    *pSrcX = static_cast<int>(nSrcX);
    *pSrcY = static_cast<int>(nSrcY);
    *pW = static_cast<int>(nW);
    *pH = static_cast<int>(nH);
    *pDstX = static_cast<int>(nDstX - m_nDataX);
    *pDstY = static_cast<int>(nDstY - m_nDataY);
    return true;
}

void Image::hflip() {
    m_bMirrorXPending = !m_bMirrorXPending;
    m_nInsX = m_nWidth - m_nInsX;
    m_nDataX = m_nWidth - m_nDataWidth - m_nDataX;
    onGeometryChanged();
}

void Image::vflip() {
    m_bMirrorYPending = !m_bMirrorYPending;
    m_nInsY = m_nHeight - m_nInsY;
    m_nDataY = m_nHeight - m_nDataHeight - m_nDataY;
    onGeometryChanged();
}

Color Image::getPixel(int x, int y) {
    const int64_t dx = static_cast<int64_t>(x) - m_nDataX, dy = static_cast<int64_t>(y) - m_nDataY;
    if (dx < 0 || dy < 0 || dx >= m_nDataWidth || dy >= m_nDataHeight) return Color(0, 0, 0, 255);
    // Pixels are read as they will be shown, so pending mirrors are applied.
    flushPending();
    ImageLock lock(*this);
    return readPixel(static_cast<int>(dx), static_cast<int>(dy));
}

void Image::setPixel(int x, int y, const Color& color) {
    const int64_t dx = static_cast<int64_t>(x) - m_nDataX, dy = static_cast<int64_t>(y) - m_nDataY;
    if (dx < 0 || dy < 0 || dx >= m_nDataWidth || dy >= m_nDataHeight) return;
    flushPending();
    ImageLock lock(*this);
    writePixel(static_cast<int>(dx), static_cast<int>(dy), color);
}

bool Image::isTransparentAt(int x, int y, int nThreshold) const {
    if (hasAlpha()) return readPixel(x, y).getAlpha() <= nThreshold;
    if (hasColorKey()) return readPixel(x, y) == getColorKey();
    return false;
}

bool Image::isTransparent(int x, int y, int nThreshold) {
    if (!hasAlpha() && !hasColorKey()) return false;
    const int64_t dx = static_cast<int64_t>(x) - m_nDataX, dy = static_cast<int64_t>(y) - m_nDataY;
    if (dx < 0 || dy < 0 || dx >= m_nDataWidth || dy >= m_nDataHeight) return true;
    flushPending();
    ImageLock lock(*this);
    return isTransparentAt(static_cast<int>(dx), static_cast<int>(dy), nThreshold);
}

bool Image::isTransparent(const Point& p, int nThreshold) {
    return isTransparent(truncToInt(p.x), truncToInt(p.y), nThreshold);
}

bool Image::isRowEmpty(int y, int nThreshold) {
    flushPending();
    ImageLock lock(*this);
    for (int x = 0; x < m_nDataWidth; ++x)
        if (!isTransparentAt(x, y, nThreshold)) return false;
    return true;
}

bool Image::isColumnEmpty(int x, int nThreshold) {
    flushPending();
    ImageLock lock(*this);
    for (int y = 0; y < m_nDataHeight; ++y)
        if (!isTransparentAt(x, y, nThreshold)) return false;
    return true;
}

void Image::trimData() {
    flushPending();
    if (m_nDataWidth == 0 && m_nDataHeight == 0) return;
    int nTop = 0;
    while (nTop < m_nDataHeight && isRowEmpty(nTop, 0)) ++nTop;
    if (nTop == m_nDataHeight) {
        setDataRect(m_nDataX, m_nDataY, 0, 0);
        return;
    }
    int nBottom = m_nDataHeight - 1;
    while (nBottom > nTop && isRowEmpty(nBottom, 0)) --nBottom;
    int nLeft = 0;
    while (nLeft < m_nDataWidth && isColumnEmpty(nLeft, 0)) ++nLeft;
    int nRight = m_nDataWidth - 1;
    while (nRight > nLeft && isColumnEmpty(nRight, 0)) --nRight;
    const int nW = nRight - nLeft + 1, nH = nBottom - nTop + 1;
    if (nLeft == 0 && nTop == 0 && nW == m_nDataWidth && nH == m_nDataHeight) return;
    setDataRect(m_nDataX + nLeft, m_nDataY + nTop, nW, nH);
}

bool Image::isRowSegmentTransparent(int y, int x0, int x1) const {
    const bool bKey = hasColorKey();
    const Color key = bKey ? getColorKey() : Color();
    for (int x = x0; x < x1; ++x) {
        const Color c = readPixel(x, y);
        if (bKey ? c != key : c.getAlpha() != 0) return false;
    }
    return true;
}

bool Image::isColumnSegmentTransparent(int x, int y0, int y1) const {
    const bool bKey = hasColorKey();
    const Color key = bKey ? getColorKey() : Color();
    for (int y = y0; y < y1; ++y) {
        const Color c = readPixel(x, y);
        if (bKey ? c != key : c.getAlpha() != 0) return false;
    }
    return true;
}

void Image::multiplyColor(const Color& color) {
    ZEP_TRACE("Image::multiplyColor");
    flushPreparation();
    {
        ImageLock lock(*this);
        for (int y = 0; y < m_nDataHeight; ++y) {
            for (int x = 0; x < m_nDataWidth; ++x) {
                const Color c = readPixel(x, y);
                writePixel(x, y,
                           Color(static_cast<uint8_t>(c.getRed() * color.getRed() >> 8),
                                 static_cast<uint8_t>(c.getGreen() * color.getGreen() >> 8),
                                 static_cast<uint8_t>(c.getBlue() * color.getBlue() >> 8), c.getAlpha()));
            }
        }
    }
    onPixelsChanged();
}

void Image::multiplyAlpha(int nFactor) {
    ZEP_TRACE("Image::multiplyAlpha");
    const int nLow = nFactor & 0xFF;
    if (nLow == 255) return;
    flushPreparation();
    {
        ImageLock lock(*this);
        for (int y = 0; y < m_nDataHeight; ++y) {
            for (int x = 0; x < m_nDataWidth; ++x) {
                Color c = readPixel(x, y);
                if (c.getAlpha() == 0) continue;
                c.setAlpha(static_cast<uint8_t>(c.getAlpha() * nLow >> 8));
                writePixel(x, y, c);
            }
        }
    }
    onPixelsChanged();
}

void Image::remapChannels(int nC0, int nC1, int nC2) {
    ZEP_TRACE("Image::remapChannels");
    for (int n : {nC0, nC1, nC2})
        if (n < 0 || n > 2)
            ZEP_THROW(Zep::BadParmException,
                      Zep::String::format("Image::remapChannels : bad channel %d (0 red, 1 green, 2 blue)", n)
                          .c_str());
    flushPreparation();
    {
        ImageLock lock(*this);
        for (int y = 0; y < m_nDataHeight; ++y) {
            for (int x = 0; x < m_nDataWidth; ++x) {
                const Color c = readPixel(x, y);
                writePixel(x, y, Color(channelOf(c, nC0), channelOf(c, nC1), channelOf(c, nC2), c.getAlpha()));
            }
        }
    }
    onPixelsChanged();
}

void Image::applyAlphaMask(const Image& mask, int nMode) {
    ZEP_TRACE("Image::applyAlphaMask");
    if (!hasAlpha()) addAlphaChannel();
    // Both are read position by position, so mirrors must be applied first.
    flushPending();
    const_cast<Image&>(mask).flushPending();
    {
        ImageLock lockThis(*this);
        ImageLock lockMask(mask);
        if (nMode == 0 || nMode == 1) {
            // Only canvas positions that both images store are visited: the
            // picture and the mask may be trimmed or offset differently.
            const int nLeft = std::max({0, m_nDataX, mask.m_nDataX});
            const int nTop = std::max({0, m_nDataY, mask.m_nDataY});
            const int64_t nRight = std::min<int64_t>({m_nWidth, static_cast<int64_t>(m_nDataX) + m_nDataWidth,
                                                      static_cast<int64_t>(mask.m_nDataX) + mask.m_nDataWidth});
            const int64_t nBottom = std::min<int64_t>({m_nHeight, static_cast<int64_t>(m_nDataY) + m_nDataHeight,
                                                       static_cast<int64_t>(mask.m_nDataY) + mask.m_nDataHeight});
            const bool bMaskAlpha = mask.hasAlpha();
            for (int64_t y = nTop; y < nBottom; ++y) {
                for (int64_t x = nLeft; x < nRight; ++x) {
                    const Color m = mask.readPixel(static_cast<int>(x - mask.m_nDataX),
                                                   static_cast<int>(y - mask.m_nDataY));
                    const int nMask = bMaskAlpha ? m.getAlpha() : m.getRed();
                    const int dx = static_cast<int>(x - m_nDataX), dy = static_cast<int>(y - m_nDataY);
                    Color c = readPixel(dx, dy);
                    c.setAlpha(static_cast<uint8_t>(nMode == 0 ? nMask : c.getAlpha() * nMask >> 8));
                    writePixel(dx, dy, c);
                }
            }
        }
    }
    // The pixels changed: a store that may drop and reload its pixels keeps
    // them from now on. The display driver refreshes its cached image too.
    onPixelsChanged();
    onGeometryChanged();
}

Zep::SmartPtr<Image> Image::createAlphaImage() {
    ZEP_TRACE("Image::createAlphaImage");
    flushPending();
    Zep::SmartPtr<Image> pAlpha = factory().createBlank(m_nDataWidth, m_nDataHeight, false);
    ImageLock lockThis(*this);
    ImageLock lockAlpha(*pAlpha);
    const int nW = std::min(m_nDataWidth, pAlpha->getDataWidth());
    const int nH = std::min(m_nDataHeight, pAlpha->getDataHeight());
    for (int y = 0; y < nH; ++y) {
        for (int x = 0; x < nW; ++x) {
            const uint8_t a = readPixel(x, y).getAlpha();
            pAlpha->writePixel(x, y, Color(a, a, a, 255));
        }
    }
    return pAlpha;
}

void Image::setSubImage(const Image& src, int x, int y, int w, int h) {
    ZEP_TRACE("Image::setSubImage");
    w = std::max(w, 0);
    h = std::max(h, 0);
    const Rect srcData(src.m_nDataX, src.m_nDataY, src.m_nDataX + src.m_nDataWidth,
                       src.m_nDataY + src.m_nDataHeight);
    const Rect r = Rect(x, y, clampToInt(static_cast<int64_t>(x) + w), clampToInt(static_cast<int64_t>(y) + h))
                       .intersect(srcData);
    // A pending mirror of the source applies to the whole of its data; a part
    // cut from it must see the mirrored pixels, so the mirror is done first.
    // A cut of the whole data can carry the flags over instead.
    if ((src.m_bMirrorXPending || src.m_bMirrorYPending) && r != srcData)
        const_cast<Image&>(src).flushPending();

    shareData(src);
    m_nStoreX = src.m_nStoreX + (r.getLeft() - src.m_nDataX);
    m_nStoreY = src.m_nStoreY + (r.getTop() - src.m_nDataY);
    if (r.isEmpty()) {
        m_nDataWidth = 0;
        m_nDataHeight = 0;
    } else {
        m_nDataWidth = r.getWidth();
        m_nDataHeight = r.getHeight();
    }
    m_nInsX = 0;
    m_nInsY = 0;
    m_bPreparePending = true;
    m_bMirrorXPending = src.m_bMirrorXPending;
    m_bMirrorYPending = src.m_bMirrorYPending;
    setVirtualCanvas(r.getLeft() - x, r.getTop() - y, w, h);
    copyPixelSettings(src);
}

Zep::SmartPtr<Image> Image::createSubImage(int x, int y, int w, int h, bool bPrepareNow) {
    ZEP_TRACE("Image::createSubImage");
    Zep::SmartPtr<Image> pSub = factory().createEmpty();
    pSub->setSubImage(*this, x, y, w, h);
    if (bPrepareNow) pSub->flushPreparation();
    return pSub;
}

Zep::SmartPtr<Image> Image::createSubImage(const Rect& rect, bool bPrepareNow) {
    return createSubImage(rect.getLeft(), rect.getTop(), rect.getWidth(), rect.getHeight(), bPrepareNow);
}

Zep::SmartPtr<Image> Image::clone(bool bPrepareNow) {
    Zep::SmartPtr<Image> pClone = createSubImage(0, 0, m_nWidth, m_nHeight, bPrepareNow);
    pClone->setInsPoint(m_nInsX, m_nInsY);
    pClone->m_sName = m_sName;
    return pClone;
}
