// Surface loading: the picture found under its name, checked (see
// pictureheader.h), decoded by SDL_image's decoder of its format, converted
// to the driver's format, with its colour-key and alpha companions.
#include <algorithm>
#include <cstring>

#include <SDL_image.h>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "image/pictureheader.h"
#include "sdl/sdl_surface.h"

namespace {

constexpr const char* kZepSource = ".\\src\\sdl_image";

const char* const kPictureSuffixes[] = {"", ".jpg", ".png", ".tga", nullptr};
const char* const kAlphaSuffixes[] = {".jpg", ".png", nullptr};

GameApp& application() {
    GameApp* pApp = GameApp::getInstance();
    if (!pApp) ZEP_THROW(Zep::BadStateException, "Surface : there is no application object");
    return *pApp;
}

// The colour-key companion's name: a real four-character suffix (".png")
// is replaced, any other name gets ".colorkey" appended.
Zep::String colorKeyName(const Zep::String& sPath) {
    const int nLength = sPath.length();
    if (nLength >= 4 && sPath.c_str()[nLength - 4] == '.')
        return sPath.left(nLength - 4) + ".colorkey";
    return sPath + ".colorkey";
}

[[noreturn]] void refuse(const Zep::String& sName, const char* szWhy) {
    ZEP_THROW(Zep::ResourceException,
              Zep::String::format("Surface::loadFromResource : Can't load %s [%s]", sName.c_str(), szWhy).c_str());
}

// The first colour index a palette picture uses beyond its palette, or -1:
// SDL reads such an index past the end of the colours when it converts or
// blits, so such a picture is refused rather than drawn from stray memory.
int indexBeyondPalette(const SDL_Surface& surface) {
    if (surface.format->BitsPerPixel != 8) return -1;
    const int nColors = surface.format->palette ? surface.format->palette->ncolors : 0;
    if (nColors >= 256) return -1;
    for (int y = 0; y < surface.h; ++y) {
        const uint8_t* pRow = static_cast<const uint8_t*>(surface.pixels) + static_cast<ptrdiff_t>(y) * surface.pitch;
        for (int x = 0; x < surface.w; ++x)
            if (pRow[x] >= nColors) return pRow[x];
    }
    return -1;
}

// Only the format the name and the first bytes agree on is decoded, through
// its own decoder, and only at a size within the limits.
SDL_Surface* decode(const Zep::Resource& resource, const Zep::String& sName) {
    const size_t nSize = static_cast<size_t>(std::max(resource.getSize(), 0));
    const PictureHeader header =
        readPictureHeader(sName.c_str(), static_cast<const uint8_t*>(resource.getData()), nSize);
    if (!header.isSound()) refuse(sName, header.m_sProblem.c_str());
    const SdlRWopsPtr pStream(SDL_RWFromConstMem(resource.getData(), static_cast<int>(nSize)));
    if (!pStream) refuse(sName, SDL_GetError());
    SdlSurfacePtr pSurface;
    switch (header.m_format) {
        case PictureFormat::Png: pSurface.reset(IMG_LoadPNG_RW(pStream.get())); break;
        case PictureFormat::Jpeg: pSurface.reset(IMG_LoadJPG_RW(pStream.get())); break;
        case PictureFormat::Tga: pSurface.reset(IMG_LoadTGA_RW(pStream.get())); break;
    }
    if (!pSurface) refuse(sName, SDL_GetError());
    if (pSurface->w != header.m_nWidth || pSurface->h != header.m_nHeight)
        refuse(sName, Zep::String::format("decoded %d x %d pixels, not the %d x %d of its header", pSurface->w,
                                          pSurface->h, header.m_nWidth, header.m_nHeight)
                          .c_str());
    const int nIndex = indexBeyondPalette(*pSurface);
    if (nIndex >= 0)
        refuse(sName, Zep::String::format("colour index %d beyond the %d colours of its palette", nIndex,
                                          pSurface->format->palette ? pSurface->format->palette->ncolors : 0)
                          .c_str());
    return pSurface.release();
}

}  // namespace

void Surface::loadFromFiles(const char* szName, bool bConvert, bool bUseAlpha) {
    ZEP_TRACE("Surface::loadFromFiles");
    GameApp& app = application();
    const char* szSafe = szName ? szName : "";
    const Zep::String sPath = app.findResource(szSafe, kPictureSuffixes);
    if (sPath.isEmpty())
        ZEP_THROW(Zep::BadParmException,
                  Zep::String::format("Surface::loadFromFiles : resource %s not found", szSafe).c_str());

    Zep::String sAlphaPath;
    if (bUseAlpha && !std::strstr(szSafe, ".alpha"))
        sAlphaPath = app.findResource((Zep::String(szSafe) + ".alpha").c_str(), kAlphaSuffixes);

    loadFromResource(*app.getResource(sPath.c_str()), sPath.c_str());
    // A colour-keyed picture keeps the format it was decoded in.
    if (bConvert && !hasColorKey()) attach(convertToFormat(hasAlpha() || !sAlphaPath.isEmpty()));

    if (!sAlphaPath.isEmpty()) {
        Zep::ScopeTrace::appendDetail(("; " + sAlphaPath).c_str());
        const Zep::SmartPtr<Surface> pMask = new Surface(sAlphaPath.c_str(), false, false);
        applyAlphaMask(*pMask);
    }
}

void Surface::loadFromResource(const Zep::Resource& resource, const char* szName) {
    ZEP_TRACE("Surface::loadFromResource");
    const Zep::String sName(szName ? szName : "");
    attach(decode(resource, sName));
    // Only the companion's existence counts, never its content.
    if (application().resourceExists(colorKeyName(sName).c_str()) && m_nHeight > 0 && m_nWidth > 0)
        setColorKey(getPixel(0, m_nHeight - 1));
}

void Surface::applyAlphaMask(Surface& mask) {
    ZEP_TRACE("Surface::applyAlphaMask");
    if (!hasAlpha()) toAlphaFormat();
    // Only where both have pixels: a smaller mask leaves the rest as it is.
    const int nWidth = std::min(m_nWidth, mask.m_nWidth);
    const int nHeight = std::min(m_nHeight, mask.m_nHeight);
    lock();
    mask.lock();
    try {
        applyMaskRows(mask, nWidth, nHeight);
    } catch (...) {
        mask.unlock();
        unlock();
        throw;
    }
    mask.unlock();
    unlock();
}

// The mask's alpha, else the first byte in memory of a 3- or 4-byte mask
// over a 4-byte picture (the fourth byte being alpha in the driver's format),
// else the mask's red. A grey picture decodes with a palette: its red is
// looked up there directly, with the same result.
void Surface::applyMaskRows(Surface& mask, int nWidth, int nHeight) {
    SDL_Surface* pDst = m_pSurface.get();
    SDL_Surface* pMask = mask.m_pSurface.get();
    const int nDstBpp = pDst->format->BytesPerPixel, nMaskBpp = pMask->format->BytesPerPixel;
    const bool bMaskAlpha = pMask->format->Amask != 0;
    const bool bBytes = !bMaskAlpha && nDstBpp == 4;
    const SDL_Palette* pPalette = pMask->format->palette;
    const bool bIndexed =
        bBytes && pDst->format->Ashift == 24 && nMaskBpp == 1 && pPalette && pPalette->ncolors == 256;
    for (int y = 0; y < nHeight; ++y) {
        uint8_t* d = static_cast<uint8_t*>(pDst->pixels) + static_cast<ptrdiff_t>(y) * pDst->pitch;
        const uint8_t* m = static_cast<const uint8_t*>(pMask->pixels) + static_cast<ptrdiff_t>(y) * pMask->pitch;
        if (bBytes && (nMaskBpp == 3 || nMaskBpp == 4)) {
            for (int x = 0; x < nWidth; ++x, d += 4, m += nMaskBpp) d[3] = m[0];
            continue;
        }
        if (bIndexed) {
            for (int x = 0; x < nWidth; ++x, d += 4) d[3] = pPalette->colors[m[x]].r;
            continue;
        }
        for (int x = 0; x < nWidth; ++x) {
            const Color cm = colorOfPixel(readRawPixel(m + x * nMaskBpp, nMaskBpp), pMask->format);
            uint8_t* pAt = d + x * nDstBpp;
            Color c = colorOfPixel(readRawPixel(pAt, nDstBpp), pDst->format);
            c.setAlpha(bMaskAlpha ? cm.getAlpha() : cm.getRed());
            writeRawPixel(pAt, nDstBpp, pixelOfColor(c, pDst->format));
        }
    }
}
