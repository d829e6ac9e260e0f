// The textured video driver with its software device on a test mode: SDL
// pictures made from colour functions, sprites added to the mode, and the
// back buffer read as 0xRRGGBB.
#pragma once

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <functional>
#include <memory>

#include "sprite/gamemode.h"
#include "image/imagetest_util.h"
#include "testkit/testkit_fixtures.h"
#include "sdl/sdl_d3d7video.h"
#include "sdl/sdl_image.h"
#include "testkit/testkit_platform.h"

namespace sdltest {

using ColorFn = std::function<Color(int, int)>;
using SpritePtr = Zep::SmartPtr<Sprite>;

// A w x h 32-bit RGBA SDL picture (or 24-bit RGB without alpha).
inline Zep::SmartPtr<SDLImage> picture(int w, int h, bool bAlpha, const ColorFn& fn) {
    SDL_Surface* p = bAlpha ? SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFFu, 0xFF00u, 0xFF0000u, 0xFF000000u)
                            : SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFFu, 0xFF00u, 0xFF0000u, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Color c = fn(x, y);
            const Uint32 v = SDL_MapRGBA(p->format, c.getRed(), c.getGreen(), c.getBlue(), c.getAlpha());
            std::memcpy(static_cast<uint8_t*>(p->pixels) + y * p->pitch + x * p->format->BytesPerPixel, &v,
                        p->format->BytesPerPixel);
        }
    return Zep::SmartPtr<SDLImage>(new SDLImage(p));
}

inline Zep::SmartPtr<SDLImage> flat(int w, int h, const Color& c, bool bAlpha = true) {
    return picture(w, h, bAlpha, [c](int, int) { return c; });
}

inline uint32_t rgb(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }

// The driver on a fake platform, one active mode stacked.
class DriverTest : public testkit::AppTest<> {
protected:
    void SetUp() override {
        SDL_Init(SDL_INIT_NOPARACHUTE);
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        std::unique_ptr<D3D7VideoDriver> pVideo = makeDriver();
        m_pVideo = pVideo.get();
        pPlatform->setVideoDriver(std::move(pVideo));
        m_app.setPlatform(std::move(pPlatform));
        m_pVideo->init(Zep::SmartPtr<Image>());
        m_app.stackMode(&m_mode);
    }
    void TearDown() override {
        m_app.unstackMode(&m_mode);
        m_mode.removeAllSprites();
        SDL_Quit();
    }
    // The driver under test; a suite may test one derived from it.
    virtual std::unique_ptr<D3D7VideoDriver> makeDriver() { return std::make_unique<D3D7VideoDriver>(); }
    SpritePtr add(const Zep::SmartPtr<SDLImage>& pImage, int x, int y, int nZ = 0) {
        return m_mode.addSprite(new Sprite(Zep::SmartPtr<Image>(pImage.get()), x, y, nZ));
    }
    render::RenderDevice& device() { return *m_pVideo->device(); }
    uint32_t px(int x, int y) { return device().pixel(x, y) & 0xFFFFFFu; }

    D3D7VideoDriver* m_pVideo = nullptr;
    GameMode m_mode;
};

}  // namespace sdltest
