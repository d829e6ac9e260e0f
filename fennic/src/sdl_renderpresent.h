// Shows the render device's back buffer on SDL's screen surface: SDL
// converts the 32-bit pixels to the screen's depth (16, 24 or 32 bits).
#pragma once

#include <SDL.h>

#include "renderdevice.h"

// False when there is no screen or the copy failed.
bool presentToScreen(const render::RenderDevice& device, SDL_Surface* pScreen);
