// Surface: the SDL surface's life, its format copy, alpha and colour key,
// dropping and reloading pixels, locking and format conversion. Loading
// itself is in sdl_surface_load.cpp.
#include "sdl/sdl_surface.h"

#include <zep2/error.h>

#include "application/gameapp.h"

namespace {

constexpr const char* kZepSource = ".\\src\\sdl_image";

int frameCount() {
    const GameApp* pApp = GameApp::getInstance();
    return pApp ? pApp->getFrameCount() : 0;
}

}  // namespace

Surface::Surface(const char* szName, bool bConvert, bool bUseAlpha) {
    ZEP_TRACE("Surface::Surface");
    loadFromFiles(szName, bConvert, bUseAlpha);
    m_bModified = false;
    m_bConvert = bConvert;
    m_bUseAlpha = bUseAlpha;
    m_sResourcePrefix = szName;
}

Surface::Surface(SDL_Surface* pSurface) {
    if (!pSurface) throw Zep::AssertFailException(kZepSource, __LINE__, "Assertion failed : pSurf");
    attach(pSurface);
}

Surface::~Surface() {
    // A surface that is not ours is only let go.
    if (!m_bOwnSurface) (void)m_pSurface.release();
}

void Surface::attach(SDL_Surface* pSurface) {
    m_pSurface.reset(pSurface);
    m_nWidth = pSurface->w;
    m_nHeight = pSurface->h;
    m_bHasColorKey = (pSurface->flags & SDL_SRCCOLORKEY) != 0;
    takeFormatCopy();
}

void Surface::takeFormatCopy() {
    m_pFormat = std::make_unique<SdlFormatCopy>(*m_pSurface->format);
}

void Surface::getSize(int* pWidth, int* pHeight) const {
    if (pWidth) *pWidth = m_nWidth;
    if (pHeight) *pHeight = m_nHeight;
}

uint8_t Surface::getAlpha() const {
    return hasAlpha() ? 255 : getFormat()->alpha;
}

void Surface::setAlpha(uint8_t nAlpha) {
    m_pFormat->get()->alpha = nAlpha;
    if (!m_pSurface) return;
    SDL_SetAlpha(m_pSurface.get(), SDL_SRCALPHA, nAlpha);
    takeFormatCopy();
}

void Surface::setColorKey(const Color& color) {
    m_bHasColorKey = true;
    const Uint32 nKey = SDL_MapRGB(m_pFormat->get(), color.getRed(), color.getGreen(), color.getBlue());
    m_pFormat->get()->colorkey = nKey;
    if (!m_pSurface) return;
    SDL_SetColorKey(m_pSurface.get(), SDL_SRCCOLORKEY, nKey);
    takeFormatCopy();
}

Color Surface::getColorKey() const {
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(getFormat()->colorkey, const_cast<SDL_PixelFormat*>(getFormat()), &r, &g, &b);
    return Color(r, g, b, 255);
}

void Surface::setScale(float fScale) {
    m_fScale = fScale;
    markModified();
}

void Surface::markModified() {
    m_bModified = true;
    if (m_pDriverData) m_pDriverData->m_nChangeStamp = frameCount();
}

void Surface::releasePixels() {
    if (m_bModified || m_sResourcePrefix.isEmpty()) return;
    m_pSurface.reset();
}

SDL_Surface* Surface::ensureLoaded() {
    if (m_pSurface) return m_pSurface.get();
    ZEP_TRACE("Surface::ensureLoaded");
    // The format copy still knows what was set on the dropped pixels.
    const bool bKey = hasColorKey();
    const Color key = getColorKey();
    const uint8_t nAlpha = getAlpha();
    if (!(m_bOwnSurface && !m_sResourcePrefix.isEmpty()))
        throw Zep::AssertFailException(kZepSource, __LINE__,
                                       "Assertion failed : m_bOwnSurface && m_sResourcePrefix != \"\"");
    // The name is copied: loading must not read a string it may replace.
    const Zep::String sName = m_sResourcePrefix;
    loadFromFiles(sName.c_str(), m_bConvert, m_bUseAlpha);
    setAlpha(nAlpha);
    if (bKey) setColorKey(key);
    return m_pSurface.get();
}

void Surface::lock() {
    SDL_LockSurface(ensureLoaded());
}

void Surface::unlock() {
    if (m_pSurface) SDL_UnlockSurface(m_pSurface.get());
}

void Surface::lockRect(const Rect& r, uint8_t** ppPixels, int* pPitch) {
    lock();
    SDL_Surface* p = m_pSurface.get();
    *pPitch = p->pitch;
    *ppPixels = static_cast<uint8_t*>(p->pixels) + static_cast<ptrdiff_t>(r.getTop()) * p->pitch +
                static_cast<ptrdiff_t>(r.getLeft()) * p->format->BytesPerPixel;
}

Color Surface::getPixel(int x, int y) {
    ZEP_TRACE("Surface::getPixel");
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        ZEP_THROW(Zep::BadParmException,
                  Zep::String::format("Surface::getPixel : (%d, %d) is outside %dx%d", x, y, m_nWidth, m_nHeight)
                      .c_str());
    lock();
    const SDL_Surface* p = m_pSurface.get();
    const int nBpp = p->format->BytesPerPixel;
    const uint8_t* pAt = static_cast<const uint8_t*>(p->pixels) + static_cast<ptrdiff_t>(y) * p->pitch + x * nBpp;
    Color c;
    try {
        c = colorOfPixel(readRawPixel(pAt, nBpp), p->format);
    } catch (...) {
        unlock();
        throw;
    }
    unlock();
    return c;
}

void Surface::setPixel(int x, int y, const Color& color) {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return;
    lock();
    SDL_Surface* p = m_pSurface.get();
    const int nBpp = p->format->BytesPerPixel;
    uint8_t* pAt = static_cast<uint8_t*>(p->pixels) + static_cast<ptrdiff_t>(y) * p->pitch + x * nBpp;
    writeRawPixel(pAt, nBpp, pixelOfColor(color, p->format));
    unlock();
}

SDL_Surface* Surface::convertToFormat(bool bWithAlpha) {
    ZEP_TRACE("Surface::convertToFormat");
    const PixelFormat f = driverPixelFormat(bWithAlpha);
    const SdlSurfacePtr pScratch(createSurface(0, 0, f));
    if (!pScratch)
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("SDL_CreateRGBSurface failed for %d BPP [%08X %08X %08X %08X] : %s",
                                      f.nBitsPerPixel, f.nRedMask, f.nGreenMask, f.nBlueMask, f.nAlphaMask,
                                      SDL_GetError())
                      .c_str());
    SDL_Surface* pConverted =
        SDL_ConvertSurface(ensureLoaded(), pScratch->format, bWithAlpha ? SDL_SRCALPHA : 0);
    if (!pConverted)
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("SDL_ConvertSurface failed : %s", SDL_GetError()).c_str());
    return pConverted;
}

void Surface::toAlphaFormat() {
    SDL_Surface* pSurf = convertToFormat(true);
    if (!pSurf) throw Zep::AssertFailException(kZepSource, __LINE__, "Assertion failed : pSurf");
    attach(pSurf);
}

void Surface::toOpaqueFormat() {
    SDL_Surface* pSurf = convertToFormat(false);
    if (!pSurf) throw Zep::AssertFailException(kZepSource, __LINE__, "Assertion failed : pSurf");
    attach(pSurf);
}

Zep::SmartPtr<Surface> Surface::displayFormat() {
    ZEP_TRACE("Surface::displayFormat");
    SDL_Surface* pSurf = convertToFormat(hasAlpha() || hasColorKey());
    if (!pSurf) ZEP_THROW(Zep::FatalErrorException, "Surface::displayFormat() failed");
    Zep::SmartPtr<Surface> pNew = new Surface(pSurf);
    if (hasColorKey()) pNew->setColorKey(getColorKey());
    pNew->setAlpha(getAlpha());
    pNew->setScale(getScale());
    return pNew;
}
