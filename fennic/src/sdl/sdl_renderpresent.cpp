#include "sdl/sdl_renderpresent.h"

#include <cstring>

#include "render/renderscale.h"

namespace {

// A screen whose pixels are laid out as the back buffer's (X8R8G8B8)
// takes the rows as they are.
bool takesBackBufferRows(const SDL_Surface* pScreen) {
    const SDL_PixelFormat* f = pScreen->format;
    return f->BitsPerPixel == 32 && f->Rmask == 0x00FF0000u && f->Gmask == 0x0000FF00u && f->Bmask == 0x000000FFu &&
           !(pScreen->flags & (SDL_SRCALPHA | SDL_SRCCOLORKEY));
}

bool copyBox(SDL_Surface* pWrap, SDL_Surface* pScreen, SDL_Rect rect) {
    if (!takesBackBufferRows(pScreen) || SDL_LockSurface(pScreen) != 0) {
        SDL_Rect target = rect;
        return SDL_BlitSurface(pWrap, &rect, pScreen, &target) == 0;
    }
    for (int y = rect.y; y < rect.y + rect.h; ++y)
        std::memcpy(static_cast<uint8_t*>(pScreen->pixels) + y * pScreen->pitch + rect.x * 4,
                    static_cast<const uint8_t*>(pWrap->pixels) + y * pWrap->pitch + rect.x * 4,
                    static_cast<size_t>(rect.w) * 4);
    SDL_UnlockSurface(pScreen);
    return true;
}

// Each box copied onto the screen and sent to the window at once.
bool presentBoxes(SDL_Surface* pWrap, SDL_Surface* pScreen, const std::vector<ScreenBox>& vBoxes) {
    std::vector<SDL_Rect> vRects;
    vRects.reserve(vBoxes.size());
    for (const ScreenBox& box : vBoxes) {
        if (box.isEmpty()) continue;
        const SDL_Rect rect{static_cast<Sint16>(box.x0), static_cast<Sint16>(box.y0), static_cast<Uint16>(box.x1 - box.x0),
                            static_cast<Uint16>(box.y1 - box.y0)};
        if (!copyBox(pWrap, pScreen, rect)) return false;
        vRects.push_back(rect);
    }
    if (!vRects.empty()) SDL_UpdateRects(pScreen, static_cast<int>(vRects.size()), vRects.data());
    return true;
}

}  // namespace

bool presentToScreen(const render::RenderDevice& device, SDL_Surface* pScreen, std::vector<uint32_t>& vScratch,
                     const std::vector<ScreenBox>* pBoxes) {
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
        pBoxes = nullptr;
    }
    SDL_Surface* pWrap = SDL_CreateRGBSurfaceFrom(pPixels, nWidth, nHeight, 32, nWidth * 4, 0x00FF0000u, 0x0000FF00u,
                                                  0x000000FFu, 0);
    if (!pWrap) return false;
    bool bOk = false;
    if (pBoxes) {
        bOk = presentBoxes(pWrap, pScreen, *pBoxes);
    } else {
        bOk = SDL_BlitSurface(pWrap, nullptr, pScreen, nullptr) == 0;
        if (bOk) SDL_Flip(pScreen);
    }
    SDL_FreeSurface(pWrap);
    return bOk;
}
