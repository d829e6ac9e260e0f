// SDLImage: construction, the surface, formats, alpha and colour key,
// locking and pixel access. Transfers are in sdl_image_transfer.cpp, the
// geometry (trim, data rectangle, detaching, mirrors) in sdl_image_geometry.cpp.
#include "sdl/sdl_image.h"

#include <algorithm>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "image/pixelstore.h"

namespace {

constexpr const char* kZepSource = ".\\src\\sdl_image";

}  // namespace

SDLImage::SDLImage() = default;

SDLImage::SDLImage(const char* szName, bool bConvert, bool bUseAlpha) {
    load(szName, bConvert, bUseAlpha);
}

SDLImage::SDLImage(SDL_Surface* pSurface) {
    if (!pSurface) throw Zep::AssertFailException(kZepSource, __LINE__, "Assertion failed : pSurf");
    setSurface(new Surface(pSurface));
}

SDLImage::SDLImage(int nWidth, int nHeight, bool bWithAlpha, bool bClear) {
    nWidth = std::max(nWidth, 1);
    nHeight = std::max(nHeight, 1);
    SDL_Surface* pSurface = createSurface(nWidth, nHeight, driverPixelFormat(bWithAlpha));
    if (!pSurface)
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("SDLImage::SDLImage failed for %dx%d [%s]", nWidth, nHeight, SDL_GetError())
                      .c_str());
    setSurface(new Surface(pSurface));
    if (bWithAlpha && bClear) fill(Color(0, 0, 0, 0));
}

// The driver data goes first, then the surface; Image's part follows.
SDLImage::~SDLImage() {
    m_pDriverData.reset();
    m_pSurface = nullptr;
}

void SDLImage::setSurface(const Zep::SmartPtr<Surface>& pSurface) {
    m_pSurface = pSurface;
    m_nStoreX = 0;
    m_nStoreY = 0;
    int nWidth = 0, nHeight = 0;
    if (pSurface.notNULL()) pSurface->getSize(&nWidth, &nHeight);
    m_nDataWidth = nWidth;
    m_nDataHeight = nHeight;
    setVirtualCanvas(0, 0, nWidth, nHeight);
}

Surface& SDLImage::surface(const char* szWhat) const {
    if (m_pSurface.isNULL())
        ZEP_THROW(Zep::BadStateException, Zep::String::format("%s : the image has no pixels", szWhat).c_str());
    return *m_pSurface;
}

SDL_Surface* SDLImage::getSDLSurface() const {
    return surface("SDLImage::getSDLSurface").ensureLoaded();
}

const SDL_PixelFormat* SDLImage::getSDLFormat() const {
    return surface("SDLImage::getSDLFormat").getFormat();
}

void SDLImage::setPixelScale(float fScale) {
    surface("SDLImage::setPixelScale").setScale(fScale);
}

float SDLImage::getPixelScale() const {
    return m_pSurface.notNULL() ? m_pSurface->getScale() : 1.0f;
}

PixelFormat SDLImage::getPixelFormat() const {
    return m_pSurface.notNULL() ? pixelFormatOf(*m_pSurface->getFormat()) : PixelFormat{};
}

Zep::SmartPtr<Image> SDLImage::convert(const PixelFormat& format) {
    ZEP_TRACE("SDLImage::convert");
    PixelStore::checkFormat(format);
    flushPending();
    SDL_Surface* pFrom = getSDLSurface();
    const SdlSurfacePtr pScratch(createSurface(1, 1, format));
    if (!pScratch)
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("SDL_CreateRGBSurface failed for %d BPP [%08X %08X %08X %08X] : %s",
                                      format.nBitsPerPixel, format.nRedMask, format.nGreenMask, format.nBlueMask,
                                      format.nAlphaMask, SDL_GetError())
                      .c_str());
    SDL_Surface* pConverted = SDL_ConvertSurface(pFrom, pScratch->format, 0);
    if (!pConverted)
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("SDL_ConvertSurface failed : %s", SDL_GetError()).c_str());
    Zep::SmartPtr<SDLImage> pImage = new SDLImage(pConverted);
    pImage->copyGeometry(*this);
    return Zep::SmartPtr<Image>(pImage);
}

bool SDLImage::hasAlpha() const {
    return m_pSurface.notNULL() && m_pSurface->hasAlpha();
}

bool SDLImage::hasColorKey() const {
    return m_pSurface.notNULL() && m_pSurface->hasColorKey();
}

void SDLImage::setColorKey(const Color& key) {
    surface("SDLImage::setColorKey").setColorKey(key);
}

Color SDLImage::getColorKey() const {
    return m_pSurface.notNULL() ? m_pSurface->getColorKey() : Color(0, 0, 0, 0);
}

void SDLImage::addAlphaChannel() {
    flushPending();
    Surface& s = surface("SDLImage::addAlphaChannel");
    s.toAlphaFormat();
    s.markModified();
}

void SDLImage::removeAlphaChannel() {
    flushPending();
    Surface& s = surface("SDLImage::removeAlphaChannel");
    s.toOpaqueFormat();
    s.markModified();
}

void SDLImage::setSurfaceAlpha(int nAlpha) {
    surface("SDLImage::setSurfaceAlpha").setAlpha(static_cast<uint8_t>(std::clamp(nAlpha, 0, 255)));
}

int SDLImage::getSurfaceAlpha() const {
    return m_pSurface.notNULL() ? m_pSurface->getAlpha() : 255;
}

void SDLImage::onGeometryChanged() {
    if (!m_pDriverData) return;
    const GameApp* pApp = GameApp::getInstance();
    m_pDriverData->m_nChangeStamp = pApp ? pApp->getFrameCount() : 0;
}

void SDLImage::onPixelsChanged() {
    if (m_pSurface.notNULL()) m_pSurface->markModified();
}

void SDLImage::shareData(const Image& src) {
    const SDLImage* pSdl = dynamic_cast<const SDLImage*>(&src);
    if (!pSdl) ZEP_THROW(Zep::BadParmException, "SDLImage::shareData : the source is not an SDL image");
    m_pSurface = pSdl->m_pSurface;
}

void SDLImage::loadData(const char* szName, bool bConvert, bool bUseAlpha) {
    ZEP_TRACE("SDLImage::loadData");
    setSurface(new Surface(szName, bConvert, bUseAlpha));
}

// ---- Locking and pixels ------------------------------------------------------

void SDLImage::lockRect(uint8_t** ppPixels, int* pPitch) const {
    const Rect r(m_nStoreX, m_nStoreY, m_nStoreX + m_nDataWidth, m_nStoreY + m_nDataHeight);
    surface("SDLImage::lockRect").lockRect(r, ppPixels, pPitch);
}

// An image without a surface has no pixels to reach: its lock only counts.
void SDLImage::lock() const {
    if (m_pSurface.notNULL()) {
        int nPitch = 0;
        lockRect(&m_pLockedPixels, &nPitch);
        m_nLockedPitch = nPitch;
    }
    ++m_nLockCount;
}

void SDLImage::unlock() const {
    if (m_nLockCount <= 0) ZEP_THROW(Zep::BadStateException, "SDLImage::unlock : the image is not locked");
    if (m_pSurface.notNULL()) m_pSurface->unlock();
    if (--m_nLockCount == 0) {
        m_pLockedPixels = nullptr;
        m_nLockedPitch = 0;
    }
}

uint8_t* SDLImage::pixelAt(const char* szWhat, int x, int y) const {
    if (m_nLockCount <= 0 || !m_pLockedPixels)
        ZEP_THROW(Zep::BadStateException, Zep::String::format("%s : the image is not locked", szWhat).c_str());
    if (x < 0 || y < 0 || x >= m_nDataWidth || y >= m_nDataHeight)
        ZEP_THROW(Zep::BadParmException, Zep::String::format("%s : (%d, %d) is outside the data (%dx%d)", szWhat, x,
                                                             y, m_nDataWidth, m_nDataHeight)
                                             .c_str());
    return m_pLockedPixels + static_cast<ptrdiff_t>(y) * m_nLockedPitch +
           static_cast<ptrdiff_t>(x) * m_pSurface->getFormat()->BytesPerPixel;
}

Color SDLImage::readPixel(int x, int y) const {
    const uint8_t* p = pixelAt("SDLImage::readPixel", x, y);
    const SDL_PixelFormat* pFormat = m_pSurface->getFormat();
    return colorOfPixel(readRawPixel(p, pFormat->BytesPerPixel), pFormat);
}

void SDLImage::writePixel(int x, int y, const Color& color) {
    uint8_t* p = pixelAt("SDLImage::writePixel", x, y);
    const SDL_PixelFormat* pFormat = m_pSurface->getFormat();
    writeRawPixel(p, pFormat->BytesPerPixel, pixelOfColor(color, pFormat));
}
