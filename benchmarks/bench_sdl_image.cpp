// SDL pictures beside plain code doing the same work: loading a 1024 x 1024
// PNG with a grey ".alpha.png" companion through Surface against decoding
// both with SDL_image, converting once and merging the alpha in a byte loop;
// decoding a 512 x 512 PNG through the loader's checks against SDL_image
// alone; and the compositing copyRect of 512 x 512 alpha over alpha against the
// same formula on raw 32-bit pixels.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <zep2/resource.h>

#include "../fennic/tests/image/imagetest_png.h"
#include "bench_tempdir.h"
#include "application/gameapp.h"
#include "sdl/sdl_image.h"
#include "sdl/sdl_surface.h"

namespace {

constexpr int kPicture = 1024;
constexpr int kChecked = 512;
constexpr int kComposite = 512;

uint8_t red(int x, int y) { return static_cast<uint8_t>(x * 3 + y); }
uint8_t green(int x, int y) { return static_cast<uint8_t>(x ^ y); }
uint8_t blue(int x, int y) { return static_cast<uint8_t>((x / 4) + (y / 8)); }
uint8_t grey(int x, int y) { return static_cast<uint8_t>((x + y * 2) / 8); }
uint8_t alphaOf(int x, int y) { return static_cast<uint8_t>((x * 5 + y * 3) & 0xFF); }

std::vector<uint8_t> picturePng(bool bGrey, int nSide = kPicture) {
    imagetest::PngSpec spec{nSide, nSide, bGrey ? 0 : 2, 8, {}, {}, {}};
    spec.nFilter = 1;
    for (int y = 0; y < nSide; ++y) {
        std::vector<uint8_t>& lRow = spec.lRows.emplace_back();
        for (int x = 0; x < nSide; ++x) {
            if (bGrey)
                lRow.push_back(grey(x, y));
            else
                lRow.insert(lRow.end(), {red(x, y), green(x, y), blue(x, y)});
        }
    }
    return imagetest::encodePng(spec);
}

Zep::SmartPtr<Zep::Resource> resourceOf(const std::vector<uint8_t>& lBytes) {
    Zep::SmartPtr<Zep::Resource> p = new Zep::Resource(static_cast<int>(lBytes.size()), nullptr, true);
    std::copy(lBytes.begin(), lBytes.end(), static_cast<uint8_t*>(p->getData()));
    return p;
}

// An application whose resources are the picture and its companion.
class PictureApp {
public:
    PictureApp() {
        GameApp::openLog(bench::tempFile("bench_sdl_image.log").c_str());
        m_pApp = std::make_unique<GameApp>();
        auto pProvider = std::make_unique<Zep::MemoryResourceProvider>();
        m_pPicture = resourceOf(picturePng(false));
        m_pMask = resourceOf(picturePng(true));
        m_pChecked = resourceOf(picturePng(false, kChecked));
        pProvider->add("big.png", m_pPicture);
        pProvider->add("big.alpha.png", m_pMask);
        pProvider->add("checked.png", m_pChecked);
        m_pApp->addResourceProvider(std::move(pProvider), false);
    }
    ~PictureApp() {
        m_pApp.reset();
        GameApp::closeLog();
    }
    Zep::SmartPtr<Zep::Resource> m_pPicture, m_pMask, m_pChecked;

private:
    std::unique_ptr<GameApp> m_pApp;
};

PictureApp& pictureApp() {
    static PictureApp app;
    return app;
}

void BM_SurfaceLoadWithAlphaCompanion(benchmark::State& state) {
    pictureApp();
    for (auto _ : state) {
        Zep::SmartPtr<Surface> p = new Surface("big", true, true);
        benchmark::DoNotOptimize(p.get());
    }
}
BENCHMARK(BM_SurfaceLoadWithAlphaCompanion)->Unit(benchmark::kMillisecond);

SDL_Surface* decode(const Zep::Resource& resource) {
    return IMG_Load_RW(SDL_RWFromConstMem(resource.getData(), resource.getSize()), 1);
}

// Decode both, convert the picture once, copy the grey into the alpha bytes.
void BM_PlainLoadAndMerge(benchmark::State& state) {
    PictureApp& app = pictureApp();
    for (auto _ : state) {
        SDL_Surface* pPicture = decode(*app.m_pPicture);
        SDL_Surface* pMask = decode(*app.m_pMask);
        SDL_Surface* pScratch = SDL_CreateRGBSurface(0, 0, 0, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000u);
        SDL_Surface* pRgba = SDL_ConvertSurface(pPicture, pScratch->format, SDL_SRCALPHA);
        for (int y = 0; y < kPicture; ++y) {
            uint8_t* d = static_cast<uint8_t*>(pRgba->pixels) + y * pRgba->pitch;
            const uint8_t* m = static_cast<const uint8_t*>(pMask->pixels) + y * pMask->pitch;
            for (int x = 0; x < kPicture; ++x) d[x * 4 + 3] = m[x];
        }
        benchmark::DoNotOptimize(pRgba->pixels);
        SDL_FreeSurface(pScratch);
        SDL_FreeSurface(pRgba);
        SDL_FreeSurface(pMask);
        SDL_FreeSurface(pPicture);
    }
}
BENCHMARK(BM_PlainLoadAndMerge)->Unit(benchmark::kMillisecond);

// The loader's whole path without conversion or companions: the lookup,
// the header check, SDL_image's PNG decoder and the surface around it.
void BM_CheckedPngLoad512(benchmark::State& state) {
    pictureApp();
    for (auto _ : state) {
        Zep::SmartPtr<Surface> p = new Surface("checked", false, false);
        benchmark::DoNotOptimize(p->getWidth());
    }
}
BENCHMARK(BM_CheckedPngLoad512)->Unit(benchmark::kMillisecond);

// The same bytes through SDL_image's own sniffing, unchecked.
void BM_RawPngLoad512(benchmark::State& state) {
    for (auto _ : state) {
        SDL_Surface* p = decode(*pictureApp().m_pChecked);
        benchmark::DoNotOptimize(p->w);
        SDL_FreeSurface(p);
    }
}
BENCHMARK(BM_RawPngLoad512)->Unit(benchmark::kMillisecond);

Zep::SmartPtr<SDLImage> compositeImage(int nSeed) {
    Zep::SmartPtr<SDLImage> p = new SDLImage(kComposite, kComposite, true, false);
    ImageLock lock(*p);
    for (int y = 0; y < kComposite; ++y)
        for (int x = 0; x < kComposite; ++x)
            p->writePixel(x, y, Color(red(x + nSeed, y), green(x, y + nSeed), blue(x, y), alphaOf(x + nSeed, y)));
    return p;
}

void BM_SdlImageComposite512(benchmark::State& state) {
    const Zep::SmartPtr<SDLImage> src = compositeImage(0);
    const Zep::SmartPtr<SDLImage> dst = compositeImage(7);
    for (auto _ : state) {
        dst->copyRect(*src, 0, 0, kComposite, kComposite, 0, 0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kComposite * kComposite);
}
BENCHMARK(BM_SdlImageComposite512);

// The same formula over raw R, G, B, A words.
void BM_PlainComposite512(benchmark::State& state) {
    std::vector<uint32_t> lSrc(kComposite * kComposite), lDst(kComposite * kComposite);
    for (int y = 0; y < kComposite; ++y)
        for (int x = 0; x < kComposite; ++x) {
            auto word = [&](int n) {
                return uint32_t(red(x + n, y)) | uint32_t(green(x, y + n)) << 8 | uint32_t(blue(x, y)) << 16 |
                       uint32_t(alphaOf(x + n, y)) << 24;
            };
            lSrc[y * kComposite + x] = word(0);
            lDst[y * kComposite + x] = word(7);
        }
    for (auto _ : state) {
        for (size_t i = 0; i < lSrc.size(); ++i) {
            const uint32_t s = lSrc[i], sa = s >> 24;
            if (sa == 0) continue;
            const uint32_t d = lDst[i], da = std::min(d >> 24, 255 - sa), t = da + sa;
            const uint32_t r = ((d & 0xFF) * da + (s & 0xFF) * sa) / t;
            const uint32_t g = (((d >> 8) & 0xFF) * da + ((s >> 8) & 0xFF) * sa) / t;
            const uint32_t b = (((d >> 16) & 0xFF) * da + ((s >> 16) & 0xFF) * sa) / t;
            lDst[i] = r | g << 8 | b << 16 | t << 24;
        }
        benchmark::DoNotOptimize(lDst.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kComposite * kComposite);
}
BENCHMARK(BM_PlainComposite512);

}  // namespace
