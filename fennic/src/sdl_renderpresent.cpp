#include "sdl_renderpresent.h"

#include "renderscale.h"

namespace {

// Each box copied onto the screen and sent to the window at once.
bool presentBoxes(SDL_Surface* pWrap, SDL_Surface* pScreen, const std::vector<ScreenBox>& vBoxes) {
    std::vector<SDL_Rect> vRects;
    vRects.reserve(vBoxes.size());
    for (const ScreenBox& box : vBoxes) {
        if (box.isEmpty()) continue;
        SDL_Rect source{static_cast<Sint16>(box.x0), static_cast<Sint16>(box.y0), static_cast<Uint16>(box.x1 - box.x0),
                        static_cast<Uint16>(box.y1 - box.y0)};
        SDL_Rect target = source;
        if (SDL_BlitSurface(pWrap, &source, pScreen, &target) != 0) return false;
        vRects.push_back(source);
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
