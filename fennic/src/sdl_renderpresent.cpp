#include "sdl_renderpresent.h"

#include "renderscale.h"

bool presentToScreen(const render::RenderDevice& device, SDL_Surface* pScreen, std::vector<uint32_t>& vScratch) {
    if (!pScreen) return false;
    // SDL reads the buffer through the wrapper and never writes to it.
    auto* pPixels = const_cast<uint32_t*>(device.backBuffer());
    int nWidth = device.width();
    int nHeight = device.height();
    if (nWidth != pScreen->w || nHeight != pScreen->h) {
        vScratch.resize(static_cast<size_t>(pScreen->w) * static_cast<size_t>(pScreen->h));
        scaleFrame(pPixels, nWidth, nHeight, vScratch.data(), pScreen->w, pScreen->h);
        pPixels = vScratch.data();
        nWidth = pScreen->w;
        nHeight = pScreen->h;
    }
    SDL_Surface* pWrap = SDL_CreateRGBSurfaceFrom(pPixels, nWidth, nHeight, 32, nWidth * 4, 0x00FF0000u, 0x0000FF00u,
                                                  0x000000FFu, 0);
    if (!pWrap) return false;
    const bool bOk = SDL_BlitSurface(pWrap, nullptr, pScreen, nullptr) == 0;
    SDL_FreeSurface(pWrap);
    if (bOk) SDL_Flip(pScreen);
    return bOk;
}
