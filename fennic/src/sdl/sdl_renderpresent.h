// Shows the render device's back buffer on SDL's screen surface: SDL
// converts the 32-bit pixels to the screen's depth (16, 24 or 32 bits). A
// back buffer of another size than the screen (a letterboxed or scaled
// mode, drawn at its logical size) is first scaled to the screen's size in
// the scratch buffer (renderscale.h).
#pragma once

#include <SDL.h>

#include <vector>

#include "render/dirtyrects.h"
#include "render/renderdevice.h"

// With boxes (device pixels, apart from each other) only those are copied
// (row by row when the screen keeps the back buffer's layout) and updated
// on the window (SDL_UpdateRects); without, the whole frame (SDL_Flip). A
// scaled frame is always shown whole. False when there is no screen or a
// copy failed: the boxes copied before it are on the screen surface but not
// on the window, and the others on neither, so the caller shows the whole
// next frame.
bool presentToScreen(const render::RenderDevice& device, SDL_Surface* pScreen, std::vector<uint32_t>& vScratch,
                     const std::vector<ScreenBox>* pBoxes = nullptr);
