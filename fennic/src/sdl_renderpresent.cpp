#include "sdl_renderpresent.h"

bool presentToScreen(const render::RenderDevice& device, SDL_Surface* pScreen) {
    if (!pScreen) return false;
    // SDL reads the buffer through the wrapper and never writes to it.
    auto* pPixels = const_cast<uint32_t*>(device.backBuffer());
    SDL_Surface* pWrap = SDL_CreateRGBSurfaceFrom(pPixels, device.width(), device.height(), 32, device.width() * 4,
                                                  0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0);
    if (!pWrap) return false;
    const bool bOk = SDL_BlitSurface(pWrap, nullptr, pScreen, nullptr) == 0;
    SDL_FreeSurface(pWrap);
    if (bOk) SDL_Flip(pScreen);
    return bOk;
}
