// A window driver for tests over real SDL: the window base with a device
// that is only SDL's window (software surface, no drawing). It answers the
// textured renderer's picture formats, so SDL pictures can be made under it.
#pragma once

#include <SDL.h>

#include "sdl/sdl_videobase.h"

namespace sdltest {

class WindowOnly : public SDLVideoDriverBase {
public:
    void init(const Zep::SmartPtr<Image>& pIcon) override {
        setIcon(pIcon);
        m_opaqueFormat = PixelFormat{24, 0, 0xFFu, 0xFF00u, 0xFF0000u};
        m_alphaFormat = PixelFormat{32, 0xFF000000u, 0xFFu, 0xFF00u, 0xFF0000u};
    }
    void shutdown() override {}
    const char* getName() const override { return "WindowOnly"; }
    int getDesktopDepth() const override { return readScreenDepth(); }
    void render() override {}
    void flush() override {}
    void clear(const Color&) override {}
    void clearScreen(const Color&) override {}
    void onDisplayChanged() override {}
    void setOrigin(int, int) override {}
    void prepareImage(Image*) override {}

protected:
    void createDevice() override {}
    bool trySetMode(int w, int h, int bpp, bool bFull, int, uint32_t nSdlFlags) override {
        return SDL_SetVideoMode(w, h, bpp, SDL_SWSURFACE | nSdlFlags | (bFull ? SDL_FULLSCREEN : 0)) != nullptr;
    }
    Point getDesktopSize() override { return readDesktopSize(); }
};

}  // namespace sdltest
