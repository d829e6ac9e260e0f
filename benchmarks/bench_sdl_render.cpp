// One full frame of the textured video driver beside plain code doing the
// same work by hand, both presented to SDL's screen surface.
//
// The frame: an 800 x 600 opaque background and 200 tinted 64 x 64 sprites
// with per-pixel alpha, blended over it, then the present. The plain
// baseline copies the background, blends the 200 sprites pixel by pixel
// (straight alpha, no tint) and converts the buffer to the screen. A third
// run draws the driver's frame full screen on a wide screen, where the whole
// frame is scaled (1280 x 800 shows 960 x 600 logical pixels). These three
// draw every frame whole; a fourth lets the driver draw only what changed
// while 10 of the 200 sprites move each frame. On an X server's window
// (DISPLAY), else on SDL's dummy video driver.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "bench_tempdir.h"
#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "sdl/sdl_d3d7video.h"
#include "sdl/sdl_image.h"
#include "sprite/sprite.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kSprites = 200;
constexpr int kSide = 64;

uint32_t backgroundPixel(int x, int y) { return 0xFF000000u | uint32_t(x & 0xFF) << 16 | uint32_t(y & 0xFF) << 8 | 0x40u; }
// Red, green, blue and alpha bytes of the sprite picture.
uint32_t spritePixel(int x, int y) {
    return uint32_t(200) | uint32_t(x * 4) << 8 | uint32_t(y * 4) << 16 | uint32_t(64 + (x + y) * 2) << 24;
}
int spriteX(int i) { return (i * 97) % (kWidth - kSide); }
int spriteY(int i) { return (i * 61) % (kHeight - kSide); }

Zep::SmartPtr<SDLImage> makePicture(int w, int h, bool bAlpha) {
    SDL_Surface* p = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFFu, 0xFF00u, 0xFF0000u, bAlpha ? 0xFF000000u : 0);
    for (int y = 0; y < h; ++y) {
        auto* pRow = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(p->pixels) + y * p->pitch);
        for (int x = 0; x < w; ++x) {
            const uint32_t b = backgroundPixel(x, y);
            // The background as red, green, blue bytes in memory.
            pRow[x] = bAlpha ? spritePixel(x, y) : ((b >> 16) & 0xFF) | (b & 0xFF00) | ((b & 0xFF) << 16);
        }
    }
    return Zep::SmartPtr<SDLImage>(new SDLImage(p));
}

// An application whose stack holds the benchmark's mode.
class BenchApp : public GameApp {
public:
    explicit BenchApp(GameMode* pMode) { m_modeStack.modes().addFirst(pMode); }
    ~BenchApp() override { m_modeStack.modes().clear(); }
    // The frame step moves the counter twice per frame; tiles made in a
    // frame count as current from the next one on.
    void nextFrame() { m_nFrameCount += 2; }
};

// The driver in a mode of 800 x 600 with the frame's sprites.
class DriverFrame {
public:
    explicit DriverFrame(int nFlags, bool bWhole = true) {
        if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "dummy", 1);
        GameApp::openLog(bench::tempFile("bench_sdl_render.log").c_str());
        SDL_Init(SDL_INIT_NOPARACHUTE);
        m_pApp = std::make_unique<BenchApp>(&m_mode);
        m_pVideo = std::make_unique<D3D7VideoDriver>();
        m_pVideo->init(Zep::SmartPtr<Image>());
        m_bReady = m_pVideo->setVideoMode(kWidth, kHeight, nFlags);
        m_pVideo->setRedrawAll(bWhole);
        m_mode.addSprite(new Sprite(Zep::SmartPtr<Image>(makePicture(kWidth, kHeight, false).get()), 0, 0, 0));
        Zep::SmartPtr<Image> pSprite(makePicture(kSide, kSide, true).get());
        for (int i = 0; i < kSprites; ++i) {
            Zep::SmartPtr<Sprite> p = m_mode.addSprite(new Sprite(pSprite, spriteX(i), spriteY(i), 1));
            p->setColor(Color(255, 200, 150, 255));
            m_vSprites.push_back(p);
        }
    }
    // Sprites i, i + 20, ... one pixel on, to and fro.
    void moveSome(int nFrame) {
        const float fStep = (nFrame / 20) % 2 ? -1.0f : 1.0f;
        for (size_t i = static_cast<size_t>(nFrame % 20); i < m_vSprites.size(); i += 20) {
            const Point p = m_vSprites[i]->getPosition();
            m_vSprites[i]->setPosition(Point(p.x + fStep, p.y));
        }
    }
    double shareDrawn() const {
        return static_cast<double>(m_pVideo->drawnBoxes().area()) / m_pVideo->drawnBoxes().screen().area();
    }
    ~DriverFrame() {
        m_mode.removeAllSprites();
        m_pVideo.reset();
        m_pApp.reset();
        SDL_Quit();
        GameApp::closeLog();
    }
    bool ready() const { return m_bReady; }
    void render() {
        m_pApp->nextFrame();
        m_pVideo->render();
    }

private:
    GameMode m_mode;
    std::vector<Zep::SmartPtr<Sprite>> m_vSprites;
    std::unique_ptr<BenchApp> m_pApp;
    std::unique_ptr<D3D7VideoDriver> m_pVideo;
    bool m_bReady = false;
};

void BM_DriverFrame(benchmark::State& state) {
    DriverFrame frame(0);
    if (!frame.ready()) return state.SkipWithError("no video mode");
    for (auto _ : state) frame.render();
    state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_DriverFrame)->Unit(benchmark::kMillisecond);

// Straight alpha over the 32-bit buffer.
inline uint32_t blendPixel(uint32_t d, uint32_t s) {
    const uint32_t a = s >> 24;
    const uint32_t r = ((s & 0xFF) * a + ((d >> 16) & 0xFF) * (255 - a) + 127) / 255;
    const uint32_t g = (((s >> 8) & 0xFF) * a + ((d >> 8) & 0xFF) * (255 - a) + 127) / 255;
    const uint32_t b = (((s >> 16) & 0xFF) * a + (d & 0xFF) * (255 - a) + 127) / 255;
    return 0xFF000000u | r << 16 | g << 8 | b;
}

void BM_DriverFrameChangedOnly(benchmark::State& state) {
    DriverFrame frame(0, false);
    if (!frame.ready()) return state.SkipWithError("no video mode");
    int n = 0;
    double fDrawn = 0.0;
    for (auto _ : state) {
        frame.moveSome(n++);
        frame.render();
        fDrawn += frame.shareDrawn();
    }
    state.counters["share_drawn"] = fDrawn / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_DriverFrameChangedOnly)->Unit(benchmark::kMillisecond);

void BM_PlainFrame(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_Init(SDL_INIT_NOPARACHUTE);
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    SDL_Surface* pScreen = SDL_SetVideoMode(kWidth, kHeight, 0, SDL_SWSURFACE);
    if (!pScreen) return state.SkipWithError("no video mode");
    std::vector<uint32_t> vBackground(kWidth * kHeight), vBuffer(kWidth * kHeight), vSprite(kSide * kSide);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) vBackground[y * kWidth + x] = backgroundPixel(x, y);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) vSprite[y * kSide + x] = spritePixel(x, y);
    for (auto _ : state) {
        std::memcpy(vBuffer.data(), vBackground.data(), vBuffer.size() * 4);
        for (int i = 0; i < kSprites; ++i)
            for (int y = 0; y < kSide; ++y) {
                uint32_t* pDst = vBuffer.data() + (spriteY(i) + y) * kWidth + spriteX(i);
                const uint32_t* pSrc = vSprite.data() + y * kSide;
                for (int x = 0; x < kSide; ++x) pDst[x] = blendPixel(pDst[x], pSrc[x]);
            }
        SDL_Surface* pWrap = SDL_CreateRGBSurfaceFrom(vBuffer.data(), kWidth, kHeight, 32, kWidth * 4, 0xFF0000u,
                                                      0xFF00u, 0xFFu, 0);
        SDL_BlitSurface(pWrap, nullptr, pScreen, nullptr);
        SDL_FreeSurface(pWrap);
        SDL_Flip(pScreen);
    }
    benchmark::DoNotOptimize(vBuffer.data());
    state.SetItemsProcessed(state.iterations() * kSprites);
    SDL_Quit();
}
BENCHMARK(BM_PlainFrame)->Unit(benchmark::kMillisecond);

// Full screen on a wide screen: every sprite through the scaling path.
void BM_DriverFrameFullScreen(benchmark::State& state) {
    DriverFrame frame(static_cast<int>(VideoFlag::Fullscreen));
    if (!frame.ready()) return state.SkipWithError("no video mode");
    for (auto _ : state) frame.render();
    state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_DriverFrameFullScreen)->Unit(benchmark::kMillisecond);

}  // namespace
