#include "memimage.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "gameapp.h"
#include "pngreader.h"

namespace {

constexpr const char* kZepSource = ".\\src\\memimage";

// Largest store accepted, in bytes: far beyond any picture of the game.
constexpr int64_t kMaxStoreBytes = int64_t(1) << 30;

// Rounds v / 255 to the nearest integer; exact for 0 <= v <= 255 * 255.
inline uint32_t div255(uint32_t v) {
    v += 128;
    return (v + (v >> 8)) >> 8;
}

// One source pixel of alpha a over a destination word (display formats).
inline uint32_t blendWord(uint32_t nSrc, uint32_t a, uint32_t nDst, bool bDstAlpha) {
    if (a == 0) return nDst;
    if (a == 255) return nSrc | 0xFF000000u;
    const uint32_t inv = 255 - a;
    const uint32_t r = div255(((nSrc >> 16) & 0xFF) * a + ((nDst >> 16) & 0xFF) * inv);
    const uint32_t g = div255(((nSrc >> 8) & 0xFF) * a + ((nDst >> 8) & 0xFF) * inv);
    const uint32_t b = div255((nSrc & 0xFF) * a + (nDst & 0xFF) * inv);
    const uint32_t na = bDstAlpha ? a + div255((nDst >> 24) * inv) : 0xFF;
    return na << 24 | r << 16 | g << 8 | b;
}

Color blendColor(const Color& s, uint32_t a, const Color& d, bool bDstAlpha) {
    if (a == 0) return d;
    if (a == 255) return Color(s.getRed(), s.getGreen(), s.getBlue(), 255);
    const uint32_t inv = 255 - a;
    auto mix = [&](uint8_t sv, uint8_t dv) { return static_cast<uint8_t>(div255(sv * a + dv * inv)); };
    const uint32_t na = bDstAlpha ? a + div255(d.getAlpha() * inv) : 255;
    return Color(mix(s.getRed(), d.getRed()), mix(s.getGreen(), d.getGreen()), mix(s.getBlue(), d.getBlue()),
                 static_cast<uint8_t>(na));
}

inline uint32_t packColor(const Color& c) {
    return static_cast<uint32_t>(c.getAlpha()) << 24 | static_cast<uint32_t>(c.getRed()) << 16 |
           static_cast<uint32_t>(c.getGreen()) << 8 | c.getBlue();
}

// A target position less an insertion coordinate, saturated.
int anchored(int nPos, int nIns) {
    return static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(nPos) - nIns, INT32_MIN, INT32_MAX));
}

// Picture files by name: as the factory finds them, then the name as given.
const char* const kPictureSuffixes[] = {".jpg", ".png", "", nullptr};

bool isDisplayFormat(const PixelFormat& f) {
    return f == MemPixelFormats::kAlpha || f == MemPixelFormats::kOpaque;
}

}  // namespace

// PixelStore

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
    if (m_bNative) return packColor(c) & (m_format.nAlphaMask | 0x00FFFFFFu);
    return reduce(m_chRed, c.getRed()) | reduce(m_chGreen, c.getGreen()) | reduce(m_chBlue, c.getBlue()) |
           reduce(m_chAlpha, c.getAlpha());
}

// MemImage

MemImage::MemImage() : m_pStore(new PixelStore(0, 0, MemPixelFormats::kAlpha)) {}

MemImage::MemImage(int nWidth, int nHeight, bool bAlpha) {
    nWidth = std::max(nWidth, 1);
    nHeight = std::max(nHeight, 1);
    m_pStore = new PixelStore(nWidth, nHeight, bAlpha ? MemPixelFormats::kAlpha : MemPixelFormats::kOpaque);
    m_nDataWidth = m_nWidth = nWidth;
    m_nDataHeight = m_nHeight = nHeight;
}

MemImage::MemImage(void* pPixels, int nWidth, int nHeight, int nBitsPerPixel, int nPitch, uint32_t nRedMask,
                   uint32_t nGreenMask, uint32_t nBlueMask, uint32_t nAlphaMask) {
    const PixelFormat format{nBitsPerPixel, nAlphaMask, nRedMask, nGreenMask, nBlueMask};
    m_pStore = new PixelStore(pPixels, nWidth, nHeight, nPitch, format);
    m_nDataWidth = m_nWidth = nWidth;
    m_nDataHeight = m_nHeight = nHeight;
}

MemImage::MemImage(const char* szName, bool bOptionA, bool bOptionB)
    : m_pStore(new PixelStore(0, 0, MemPixelFormats::kAlpha)) {
    load(szName, bOptionA, bOptionB);
}

MemImage::~MemImage() = default;

void MemImage::setPixelScale(float fScale) {
    m_pStore->setScale(fScale);
}

float MemImage::getPixelScale() const {
    return m_pStore->getScale();
}

void MemImage::blit(const Image& src, const Rect& srcRect, int x, int y) {
    transfer(src, srcRect.getLeft(), srcRect.getTop(), srcRect.getWidth(), srcRect.getHeight(),
             anchored(x, src.getInsPointX()), anchored(y, src.getInsPointY()), Transfer::Blend);
}

void MemImage::copy(const Image& src, const Rect& srcRect, int x, int y) {
    transfer(src, srcRect.getLeft(), srcRect.getTop(), srcRect.getWidth(), srcRect.getHeight(),
             anchored(x, src.getInsPointX()), anchored(y, src.getInsPointY()), Transfer::Copy);
}

void MemImage::copyRect(const Image& src, int nSrcX, int nSrcY, int nW, int nH, int x, int y) {
    transfer(src, nSrcX, nSrcY, nW, nH, anchored(x, src.getInsPointX()), anchored(y, src.getInsPointY()),
             Transfer::Copy);
}

void MemImage::transfer(const Image& src, int nSrcX, int nSrcY, int nW, int nH, int nDstX, int nDstY,
                        Transfer mode) {
    ZEP_TRACE("MemImage::transfer");
    if (&src == this) {
        // Growing the data would move the source under our feet: work from a
        // snapshot of the pixels as they are.
        flushPending();
        Zep::SmartPtr<MemImage> pSnapshot = new MemImage();
        pSnapshot->replaceStore(copyData(m_pStore->getFormat(), false));
        pSnapshot->m_nDataWidth = m_nDataWidth;
        pSnapshot->m_nDataHeight = m_nDataHeight;
        pSnapshot->copyGeometry(*this);
        transfer(*pSnapshot, nSrcX, nSrcY, nW, nH, nDstX, nDstY, mode);
        return;
    }
    if (!clipBlitRect(src, &nSrcX, &nSrcY, &nW, &nH, &nDstX, &nDstY)) return;
    ensureOwnStore();
    transferPixels(src, nSrcX, nSrcY, nW, nH, nDstX, nDstY, mode);
    changed();
}

void MemImage::transferPixels(const Image& src, int nSrcX, int nSrcY, int nW, int nH, int nDstX, int nDstY,
                              Transfer mode) {
    PixelStore& dst = *m_pStore;
    const bool bDstAlpha = dst.hasAlpha();
    const bool bSrcAlpha = src.hasAlpha();
    const bool bKey = mode == Transfer::Blend && !bSrcAlpha && src.hasColorKey();
    const Color key = bKey ? src.getColorKey() : Color();
    const uint32_t nSurface = bSrcAlpha ? 255u : static_cast<uint32_t>(src.getSurfaceAlpha());
    const bool bPlain = mode == Transfer::Copy || (!bSrcAlpha && !bKey && nSurface == 255);
    const int nDx = nDstX + m_nStoreX, nDy = nDstY + m_nStoreY;

    const MemImage* pMem = dynamic_cast<const MemImage*>(&src);
    if (pMem && pMem->m_pStore->isNative() && dst.isNative()) {
        const PixelStore& from = *pMem->m_pStore;
        const int nSx = nSrcX + pMem->m_nStoreX, nSy = nSrcY + pMem->m_nStoreY;
        const uint32_t nKeyWord = packColor(key);
        for (int j = 0; j < nH; ++j) {
            const uint32_t* s = from.getWordRow(nSy + j) + nSx;
            uint32_t* d = dst.getWordRow(nDy + j) + nDx;
            if (bPlain) {
                if (bSrcAlpha || !bDstAlpha) {
                    std::memcpy(d, s, static_cast<size_t>(nW) * 4);
                } else {
                    for (int i = 0; i < nW; ++i) d[i] = s[i] | 0xFF000000u;
                }
            } else if (bSrcAlpha) {
                for (int i = 0; i < nW; ++i) d[i] = blendWord(s[i], s[i] >> 24, d[i], bDstAlpha);
            } else {
                for (int i = 0; i < nW; ++i) {
                    const uint32_t w = s[i] | 0xFF000000u;
                    if (bKey && w == nKeyWord) continue;
                    d[i] = blendWord(w, nSurface, d[i], bDstAlpha);
                }
            }
        }
        return;
    }

    // Any other pair of formats goes through Color, one row at a time.
    std::vector<Color> lRow(static_cast<size_t>(nW));
    std::unique_ptr<ImageLock> pLock;
    if (!pMem) pLock = std::make_unique<ImageLock>(src);
    for (int j = 0; j < nH; ++j) {
        for (int i = 0; i < nW; ++i) {
            if (pMem)
                lRow[i] = pMem->m_pStore->decode(
                    pMem->m_pStore->readRaw(nSrcX + pMem->m_nStoreX + i, nSrcY + pMem->m_nStoreY + j));
            else
                lRow[i] = src.readPixel(nSrcX + i, nSrcY + j);
        }
        for (int i = 0; i < nW; ++i) {
            const Color& s = lRow[i];
            if (bPlain) {
                dst.writeRaw(nDx + i, nDy + j, dst.encode(s));
                continue;
            }
            if (bKey && s == key) continue;
            const uint32_t a = bSrcAlpha ? s.getAlpha() : nSurface;
            const Color d = dst.decode(dst.readRaw(nDx + i, nDy + j));
            dst.writeRaw(nDx + i, nDy + j, dst.encode(blendColor(s, a, d, bDstAlpha)));
        }
    }
}

void MemImage::fill(const Color& color) {
    ensureOwnStore();
    PixelStore& store = *m_pStore;
    const uint32_t nValue = store.encode(color);
    for (int y = 0; y < m_nDataHeight; ++y)
        for (int x = 0; x < m_nDataWidth; ++x) store.writeRaw(m_nStoreX + x, m_nStoreY + y, nValue);
    changed();
}

PixelFormat MemImage::getPixelFormat() const {
    return m_pStore->getFormat();
}

Zep::SmartPtr<Image> MemImage::convert(const PixelFormat& format) {
    ZEP_TRACE("MemImage::convert");
    PixelStore::checkFormat(format);
    flushPending();
    Zep::SmartPtr<MemImage> pImage = new MemImage();
    pImage->replaceStore(copyData(format, false));
    pImage->m_nDataWidth = m_nDataWidth;
    pImage->m_nDataHeight = m_nDataHeight;
    pImage->copyGeometry(*this);
    return Zep::SmartPtr<Image>(pImage);
}

bool MemImage::hasAlpha() const {
    return m_pStore->hasAlpha();
}

void MemImage::setColorKey(const Color& key) {
    m_cColorKey = key;
    m_bColorKey = true;
}

void MemImage::addAlphaChannel() {
    flushPending();
    if (hasAlpha()) return;
    // Colour-keyed pixels become transparent; the key is then redundant.
    replaceStore(copyData(MemPixelFormats::kAlpha, true));
    m_bColorKey = false;
    changed();
}

void MemImage::removeAlphaChannel() {
    flushPending();
    if (!hasAlpha()) return;
    replaceStore(copyData(MemPixelFormats::kOpaque, false));
    changed();
}

void MemImage::setSurfaceAlpha(int nAlpha) {
    m_nSurfaceAlpha = std::clamp(nAlpha, 0, 255);
}

int MemImage::getSurfaceAlpha() const {
    return hasAlpha() ? 255 : m_nSurfaceAlpha;
}

void MemImage::onGeometryChanged() {
    ++m_nGeometryNotes;
}

void MemImage::onPixelsChanged() {
    ++m_nPixelNotes;
}

void MemImage::shareData(const Image& src) {
    const MemImage* pMem = dynamic_cast<const MemImage*>(&src);
    if (!pMem) ZEP_THROW(Zep::BadParmException, "MemImage::shareData : the source is not an in-memory image");
    m_pStore = pMem->m_pStore;
}

void MemImage::setDataRect(int x, int y, int w, int h) {
    ZEP_TRACE("MemImage::setDataRect");
    if (w < 0 || h < 0)
        ZEP_THROW(Zep::BadParmException,
                  Zep::String::format("MemImage::setDataRect : negative size %dx%d", w, h).c_str());
    flushPending();
    Zep::SmartPtr<PixelStore> pNew = new PixelStore(w, h, m_pStore->getFormat());
    pNew->setScale(m_pStore->getScale());
    // The old pixels keep their canvas positions.
    const int64_t nLeft = std::max<int64_t>(x, m_nDataX);
    const int64_t nTop = std::max<int64_t>(y, m_nDataY);
    const int64_t nRight = std::min<int64_t>(static_cast<int64_t>(x) + w, static_cast<int64_t>(m_nDataX) + m_nDataWidth);
    const int64_t nBottom =
        std::min<int64_t>(static_cast<int64_t>(y) + h, static_cast<int64_t>(m_nDataY) + m_nDataHeight);
    if (nLeft < nRight && nTop < nBottom) {
        const int nBpp = pNew->getBytesPerPixel();
        const size_t nBytes = static_cast<size_t>(nRight - nLeft) * nBpp;
        for (int64_t cy = nTop; cy < nBottom; ++cy) {
            const uint8_t* s = m_pStore->getRow(static_cast<int>(cy - m_nDataY + m_nStoreY)) +
                               (nLeft - m_nDataX + m_nStoreX) * nBpp;
            uint8_t* d = pNew->getRow(static_cast<int>(cy - y)) + (nLeft - x) * nBpp;
            std::memcpy(d, s, nBytes);
        }
    }
    m_pStore = pNew;
    m_nStoreX = 0;
    m_nStoreY = 0;
    m_nDataX = x;
    m_nDataY = y;
    m_nDataWidth = w;
    m_nDataHeight = h;
    changed();
}

void MemImage::checkAccess(const char* szWhat, int x, int y) const {
    if (m_nLockCount <= 0)
        ZEP_THROW(Zep::BadStateException, Zep::String::format("%s : the image is not locked", szWhat).c_str());
    if (x < 0 || y < 0 || x >= m_nDataWidth || y >= m_nDataHeight)
        ZEP_THROW(Zep::BadParmException, Zep::String::format("%s : (%d, %d) is outside the data (%dx%d)", szWhat, x,
                                                             y, m_nDataWidth, m_nDataHeight)
                                             .c_str());
    ZEP_ASSERT(m_nStoreX + x < m_pStore->getWidth() && m_nStoreY + y < m_pStore->getHeight());
}

Color MemImage::readPixel(int x, int y) const {
    checkAccess("MemImage::readPixel", x, y);
    return m_pStore->decode(m_pStore->readRaw(m_nStoreX + x, m_nStoreY + y));
}

void MemImage::writePixel(int x, int y, const Color& color) {
    checkAccess("MemImage::writePixel", x, y);
    ensureOwnStore();
    m_pStore->writeRaw(m_nStoreX + x, m_nStoreY + y, m_pStore->encode(color));
    changed();
}

void MemImage::lock() const {
    ++m_nLockCount;
}

void MemImage::unlock() const {
    if (m_nLockCount <= 0) ZEP_THROW(Zep::BadStateException, "MemImage::unlock : the image is not locked");
    --m_nLockCount;
}

void MemImage::trim() {
    ZEP_TRACE("MemImage::trim");
    flushPending();
    int nTop = 0;
    while (nTop < m_nDataHeight && isRowEmpty(nTop, 0)) ++nTop;
    if (nTop == m_nDataHeight) {
        if (m_nDataWidth || m_nDataHeight) setDataRect(m_nDataX, m_nDataY, 0, 0);
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

void MemImage::prepareForDisplay() {
    const PixelFormat& target = hasAlpha() ? MemPixelFormats::kAlpha : MemPixelFormats::kOpaque;
    const PixelStore& store = *m_pStore;
    if (store.getRefCount() == 1 && store.ownsPixels() && store.getFormat() == target && m_nStoreX == 0 &&
        m_nStoreY == 0 && store.getWidth() == m_nDataWidth && store.getHeight() == m_nDataHeight)
        return;
    replaceStore(copyData(target, false));
}

void MemImage::mirrorDataX() {
    ensureOwnStore();
    PixelStore& store = *m_pStore;
    for (int y = 0; y < m_nDataHeight; ++y) {
        for (int i = 0, j = m_nDataWidth - 1; i < j; ++i, --j) {
            const uint32_t a = store.readRaw(m_nStoreX + i, m_nStoreY + y);
            store.writeRaw(m_nStoreX + i, m_nStoreY + y, store.readRaw(m_nStoreX + j, m_nStoreY + y));
            store.writeRaw(m_nStoreX + j, m_nStoreY + y, a);
        }
    }
    changed();
}

void MemImage::mirrorDataY() {
    ensureOwnStore();
    PixelStore& store = *m_pStore;
    const size_t nBytes = static_cast<size_t>(m_nDataWidth) * store.getBytesPerPixel();
    std::vector<uint8_t> lTemp(nBytes);
    const ptrdiff_t nOff = static_cast<ptrdiff_t>(m_nStoreX) * store.getBytesPerPixel();
    for (int i = 0, j = m_nDataHeight - 1; i < j; ++i, --j) {
        uint8_t* a = store.getRow(m_nStoreY + i) + nOff;
        uint8_t* b = store.getRow(m_nStoreY + j) + nOff;
        std::memcpy(lTemp.data(), a, nBytes);
        std::memcpy(a, b, nBytes);
        std::memcpy(b, lTemp.data(), nBytes);
    }
    changed();
}

Zep::SmartPtr<PixelStore> MemImage::copyData(const PixelFormat& format, bool bKeyToAlpha) const {
    Zep::SmartPtr<PixelStore> pNew = new PixelStore(m_nDataWidth, m_nDataHeight, format);
    pNew->setScale(m_pStore->getScale());
    const PixelStore& from = *m_pStore;
    PixelStore& to = *pNew;
    const bool bKey = bKeyToAlpha && m_bColorKey;
    if (from.getFormat() == format && !bKey) {
        const size_t nBytes = static_cast<size_t>(m_nDataWidth) * from.getBytesPerPixel();
        const ptrdiff_t nOff = static_cast<ptrdiff_t>(m_nStoreX) * from.getBytesPerPixel();
        for (int y = 0; y < m_nDataHeight; ++y)
            std::memcpy(to.getRow(y), from.getRow(m_nStoreY + y) + nOff, nBytes);
        return pNew;
    }
    for (int y = 0; y < m_nDataHeight; ++y) {
        for (int x = 0; x < m_nDataWidth; ++x) {
            Color c = from.decode(from.readRaw(m_nStoreX + x, m_nStoreY + y));
            if (bKey && c == m_cColorKey) c.setAlpha(0);
            to.writeRaw(x, y, to.encode(c));
        }
    }
    return pNew;
}

void MemImage::replaceStore(const Zep::SmartPtr<PixelStore>& pStore) {
    m_pStore = pStore;
    m_nStoreX = 0;
    m_nStoreY = 0;
}

void MemImage::ensureOwnStore() {
    if (m_pStore->getRefCount() > 1) replaceStore(copyData(m_pStore->getFormat(), false));
}

// MemImageFactory
//
// New images have reference count 0: the caller takes them into a SmartPtr.
// A constructor that throws frees its object, so nothing leaks on failure.

Image* MemImageFactory::load(const char* szName) {
    return new MemImage(szName, true, true);
}

bool MemImageFactory::exists(const char* szName) {
    return resourceExistsWithSuffixes(szName, kImageSuffixes);
}

Image* MemImageFactory::load(const char* szName, bool bOptionA) {
    return new MemImage(szName, bOptionA, true);
}

Image* MemImageFactory::createFromPixels(void* pPixels, int nWidth, int nHeight, int nBitsPerPixel, int nPitch,
                                         unsigned nRedMask, unsigned nGreenMask, unsigned nBlueMask,
                                         unsigned nAlphaMask) {
    return new MemImage(pPixels, nWidth, nHeight, nBitsPerPixel, nPitch, nRedMask, nGreenMask, nBlueMask,
                        nAlphaMask);
}

Image* MemImageFactory::createBlank(int nWidth, int nHeight, bool bAlpha) {
    return new MemImage(nWidth, nHeight, bAlpha);
}

Image* MemImageFactory::createEmpty() {
    return new MemImage();
}

void MemImage::loadPicture(const uint8_t* pBytes, size_t nSize, const char* szName) {
    ZEP_TRACE("MemImage::loadPicture");
    if (!isPng(pBytes, nSize))
        ZEP_THROW(Zep::BadStreamFormatException,
                  Zep::String::format("MemImage : '%s' is not a picture this store can read (PNG only)",
                                      szName ? szName : "")
                      .c_str());
    const DecodedPicture picture = decodePng(pBytes, nSize, szName);
    Zep::SmartPtr<PixelStore> pStore = new PixelStore(
        picture.m_nWidth, picture.m_nHeight, picture.m_bAlpha ? MemPixelFormats::kAlpha : MemPixelFormats::kOpaque);
    for (int y = 0; y < picture.m_nHeight; ++y)
        std::memcpy(pStore->getRow(y), &picture.m_lPixels[static_cast<size_t>(y) * picture.m_nWidth],
                    static_cast<size_t>(picture.m_nWidth) * 4);
    replaceStore(pStore);
    m_nDataWidth = m_nWidth = picture.m_nWidth;
    m_nDataHeight = m_nHeight = picture.m_nHeight;
    m_nDataX = 0;
    m_nDataY = 0;
    changed();
}

void MemImage::loadData(const char* szName, bool, bool) {
    ZEP_TRACE("MemImage::loadData");
    // The options choose companion files and conversions of the display
    // drivers' loaders; an in-memory store has no use for them.
    GameApp* pApp = GameApp::getInstance();
    if (!pApp) ZEP_THROW(Zep::BadStateException, "MemImage::loadData : there is no application object");
    Zep::ResourceProvider* pProvider = nullptr;
    const Zep::String sPath = pApp->findResourceProvider(szName, &pProvider, kPictureSuffixes);
    Zep::SmartPtr<Zep::Resource> pResource;
    if (!sPath.isEmpty() && pProvider) pResource = pProvider->load(sPath.c_str());
    if (pResource.isNULL())
        ZEP_THROW(Zep::ResourceException,
                  Zep::String::format("MemImage::loadData : picture '%s' not found", szName ? szName : "").c_str());
    const int nSize = pResource->getSize();
    loadPicture(static_cast<const uint8_t*>(pResource->getData()), nSize > 0 ? static_cast<size_t>(nSize) : 0,
                szName);
}
