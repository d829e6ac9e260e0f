#include "image/memimage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "application/gameapp.h"
#include "image/pngreader.h"

namespace {

constexpr const char* kZepSource = ".\\src\\memimage";

// One channel of SDL 1.2's blend: an alpha source onto an alpha
// destination rounds down, every other pairing adds 255 before the shift.
inline uint32_t mixDown(uint32_t s, uint32_t d, uint32_t a) {
    const int nDiff = static_cast<int>(s) - static_cast<int>(d);
    return static_cast<uint32_t>(static_cast<int>(d) + ((nDiff * static_cast<int>(a)) >> 8));
}
inline uint32_t mixUp(uint32_t s, uint32_t d, uint32_t a) {
    const int nDiff = static_cast<int>(s) - static_cast<int>(d);
    return static_cast<uint32_t>(static_cast<int>(d) + ((nDiff * static_cast<int>(a) + 255) >> 8));
}

// The colour channels of two 0xAARRGGBB words mixed at a, with the alpha byte given.
inline uint32_t mixWords(uint32_t nSrc, uint32_t nDst, uint32_t a, bool bDown, uint32_t nAlphaBits) {
    const auto mix = bDown ? mixDown : mixUp;
    return nAlphaBits | mix((nSrc >> 16) & 0xFF, (nDst >> 16) & 0xFF, a) << 16 |
           mix((nSrc >> 8) & 0xFF, (nDst >> 8) & 0xFF, a) << 8 | mix(nSrc & 0xFF, nDst & 0xFF, a);
}

// An alpha source pixel blitted onto a destination word: the destination's
// alpha stays.
inline uint32_t blendAlphaWord(uint32_t nSrc, uint32_t nDst, bool bDstAlpha) {
    const uint32_t a = nSrc >> 24;
    if (!bDstAlpha) return mixWords(nSrc, nDst, a, false, nDst & 0xFF000000u);
    if (a == 0) return nDst;
    if (a == 255) return (nSrc & 0x00FFFFFFu) | (nDst & 0xFF000000u);
    return mixWords(nSrc, nDst, a, true, nDst & 0xFF000000u);
}

// An opaque source pixel at surface alpha a (1 to 254): alpha 255.
inline uint32_t blendSurfaceWord(uint32_t nSrc, uint32_t nDst, uint32_t a) {
    return mixWords(nSrc, nDst, a, false, 0xFF000000u);
}

// The compositing rule of copyRect on one channel.
inline uint32_t compositeChannel(uint32_t d, uint32_t s, uint32_t da, uint32_t sa, uint32_t t) {
    return (d * da + s * sa) / t;
}

inline uint32_t compositeWord(uint32_t nSrc, uint32_t nDst) {
    const uint32_t sa = nSrc >> 24;
    if (sa == 0) return nDst;
    const uint32_t da = std::min(nDst >> 24, 255 - sa), t = da + sa;
    return t << 24 | compositeChannel((nDst >> 16) & 0xFF, (nSrc >> 16) & 0xFF, da, sa, t) << 16 |
           compositeChannel((nDst >> 8) & 0xFF, (nSrc >> 8) & 0xFF, da, sa, t) << 8 |
           compositeChannel(nDst & 0xFF, nSrc & 0xFF, da, sa, t);
}

// A target position less an insertion coordinate, saturated.
int anchored(int nPos, int nIns) {
    return static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(nPos) - nIns, INT32_MIN, INT32_MAX));
}

// Picture files by name: as the factory finds them, then the name as given.
const char* const kPictureSuffixes[] = {".jpg", ".png", "", nullptr};

}  // namespace

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
             Transfer::Composite);
}

void MemImage::transfer(const Image& src, int nSrcX, int nSrcY, int nW, int nH, int nDstX, int nDstY,
                        Transfer mode) {
    ZEP_TRACE("MemImage::transfer");
    if (&src == this) {
        // Growing the data would move the source under our feet: work from a
        // snapshot of the pixels as they are.
        flushPending();
        const Zep::SmartPtr<MemImage> pSnapshot = cloneData(m_pStore->getFormat());
        transfer(*pSnapshot, nSrcX, nSrcY, nW, nH, nDstX, nDstY, mode);
        return;
    }
    if (!clipBlitRect(src, &nSrcX, &nSrcY, &nW, &nH, &nDstX, &nDstY)) return;
    ensureOwnStore();
    transferPixels(src, nSrcX, nSrcY, nW, nH, nDstX, nDstY, mode);
    changed();
}

// What a transfer does with each source pixel, from the mode and both images.
// Pixels travel as 0xAARRGGBB words; an opaque source's words read alpha 255.
struct MemImage::TransferPlan {
    TransferPlan(const Image& src, const PixelStore& dst, Transfer mode)
        : eMode(mode),
          bDstAlpha(dst.hasAlpha()),
          bSrcAlpha(src.hasAlpha()),
          bKey(mode == Transfer::Blend && !bSrcAlpha && src.hasColorKey()),
          nKeyRgb(bKey ? packArgb(src.getColorKey()) & 0x00FFFFFFu : 0),
          nSurface(bSrcAlpha ? 255u : static_cast<uint32_t>(src.getSurfaceAlpha())),
          bPlain(mode == Transfer::Copy || (mode == Transfer::Blend && !bSrcAlpha && !bKey && nSurface == 255)) {}

    // The destination word after the source word s lands on d.
    uint32_t apply(uint32_t s, uint32_t d) const {
        if (eMode == Transfer::Composite) return compositeWord(s, d);
        if (bPlain) return bSrcAlpha ? s : s | 0xFF000000u;
        if (bSrcAlpha) return blendAlphaWord(s, d, bDstAlpha);
        if ((bKey && (s & 0x00FFFFFFu) == nKeyRgb) || nSurface == 0) return d;
        if (nSurface == 255) return s | 0xFF000000u;
        return blendSurfaceWord(s, d, nSurface);
    }

    const Transfer eMode;
    const bool bDstAlpha;
    const bool bSrcAlpha;
    const bool bKey;  // skip pixels of the colour key (its red, green and blue)
    const uint32_t nKeyRgb;
    const uint32_t nSurface;
    const bool bPlain;  // store the pixels as they are, no blending
};

void MemImage::transferPixels(const Image& src, int nSrcX, int nSrcY, int nW, int nH, int nDstX, int nDstY,
                              Transfer mode) {
    const TransferPlan plan(src, *m_pStore, mode);
    const MemImage* pMem = dynamic_cast<const MemImage*>(&src);
    const int nDx = nDstX + m_nStoreX, nDy = nDstY + m_nStoreY;
    if (pMem && pMem->m_pStore->isNative() && m_pStore->isNative())
        transferWords(plan, *pMem, nSrcX + pMem->m_nStoreX, nSrcY + pMem->m_nStoreY, nW, nH, nDx, nDy);
    else
        transferColors(plan, src, nSrcX, nSrcY, nW, nH, nDx, nDy);
}

// Both stores hold display-format words: word by word.
void MemImage::transferWords(const TransferPlan& plan, const MemImage& src, int nSx, int nSy, int nW, int nH,
                             int nDx, int nDy) {
    const PixelStore& from = *src.m_pStore;
    PixelStore& dst = *m_pStore;
    const bool bMemcpy = plan.bPlain && (plan.bSrcAlpha || !plan.bDstAlpha);
    // Words of an opaque store carry no alpha: they read as 255.
    const uint32_t nOpaque = plan.bSrcAlpha ? 0 : 0xFF000000u;
    const uint32_t nDstOpaque = plan.bDstAlpha ? 0 : 0xFF000000u;
    for (int j = 0; j < nH; ++j) {
        const uint32_t* s = from.getWordRow(nSy + j) + nSx;
        uint32_t* d = dst.getWordRow(nDy + j) + nDx;
        if (bMemcpy) {
            std::memcpy(d, s, static_cast<size_t>(nW) * 4);
            continue;
        }
        for (int i = 0; i < nW; ++i) d[i] = plan.apply(s[i] | nOpaque, d[i] | nDstOpaque);
    }
}

// Any other pair of formats goes through Color, one row at a time. The source
// position is in data coordinates, the destination in store coordinates.
void MemImage::transferColors(const TransferPlan& plan, const Image& src, int nSrcX, int nSrcY, int nW, int nH,
                              int nDx, int nDy) {
    PixelStore& dst = *m_pStore;
    const MemImage* pMem = dynamic_cast<const MemImage*>(&src);
    std::vector<uint32_t> lRow(static_cast<size_t>(nW));
    std::unique_ptr<ImageLock> pLock;
    if (!pMem) pLock = std::make_unique<ImageLock>(src);
    for (int j = 0; j < nH; ++j) {
        for (int i = 0; i < nW; ++i) {
            if (pMem)
                lRow[i] = packArgb(pMem->m_pStore->decode(
                    pMem->m_pStore->readRaw(nSrcX + pMem->m_nStoreX + i, nSrcY + pMem->m_nStoreY + j)));
            else
                lRow[i] = packArgb(src.readPixel(nSrcX + i, nSrcY + j));
        }
        for (int i = 0; i < nW; ++i) {
            const uint32_t d = plan.bPlain ? 0 : packArgb(dst.decode(dst.readRaw(nDx + i, nDy + j)));
            const uint32_t w = plan.apply(lRow[i], d);
            dst.writeRaw(nDx + i, nDy + j,
                         dst.encode(Color(static_cast<uint8_t>(w >> 16), static_cast<uint8_t>(w >> 8),
                                          static_cast<uint8_t>(w), static_cast<uint8_t>(w >> 24))));
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
    return Zep::SmartPtr<Image>(cloneData(format));
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
    trimData();
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

Zep::SmartPtr<MemImage> MemImage::cloneData(const PixelFormat& format) const {
    Zep::SmartPtr<MemImage> pImage = new MemImage();
    pImage->replaceStore(copyData(format, false));
    pImage->m_nDataWidth = m_nDataWidth;
    pImage->m_nDataHeight = m_nDataHeight;
    pImage->copyGeometry(*this);
    return pImage;
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
