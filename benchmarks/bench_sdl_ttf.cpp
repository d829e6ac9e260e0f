// TrueType text and the table layout.
//
// A 40-character line in DejaVu Sans 16 with its shadow, drawn by the font
// into a 400 x 40 label image, beside what it cannot avoid: two
// TTF_RenderUTF8_Blended calls and two plain alpha composites of the rendered
// pixels into a bare buffer (the ratio of the two is the font's overhead).
// And Table::arrange of 400 cells beside 100 cells: the layout is linear.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <memory>
#include <vector>

#include <zep2/resource.h>

#include "bench_tempdir.h"
#include "application/gameapp.h"
#include "image/imageonlyplatform.h"
#include "sdl/sdl_image.h"
#include "sdl/sdl_ttf.h"
#include "sprite/sprite.h"
#include "ui/ui_table.h"

namespace {

constexpr const char* kFontFolder = "/usr/share/fonts/truetype/dejavu/";
constexpr const char* kLine = "Customers wait at the bar for a drink...";  // 40 characters
constexpr int kLabelW = 400;
constexpr int kLabelH = 40;

class BenchApp {
public:
    BenchApp() {
        GameApp::openLog(bench::tempFile("bench_sdl_ttf.log").c_str());
        m_pApp = std::make_unique<GameApp>();
        m_pApp->setPlatform(std::make_unique<ImageOnlyPlatform>());
        m_pApp->addResourceProvider(std::make_unique<Zep::FilesystemResourceProvider>(kFontFolder), false);
    }
    ~BenchApp() {
        m_pApp.reset();
        GameApp::closeLog();
    }

private:
    std::unique_ptr<GameApp> m_pApp;
};

// The compositing rule of alpha onto alpha: da = min(d.a, 255 - s.a), t = da + s.a.
void composite(const SDL_Surface* pSrc, std::vector<uint32_t>& vDst, int x0, int y0) {
    const SDL_PixelFormat& f = *pSrc->format;
    for (int y = 0; y < pSrc->h && y + y0 < kLabelH; ++y) {
        const auto* pRow = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(pSrc->pixels) + y * pSrc->pitch);
        uint32_t* pOut = &vDst[static_cast<size_t>((y + y0) * kLabelW + x0)];
        for (int x = 0; x < pSrc->w && x + x0 < kLabelW; ++x) {
            const uint32_t s = pRow[x], d = pOut[x];
            const uint32_t sa = (s & f.Amask) >> f.Ashift, da0 = d >> 24;
            const uint32_t da = std::min(da0, 255 - sa), t = da + sa;
            if (t == 0) continue;
            uint32_t c = t << 24;
            for (int nShift : {0, 8, 16}) {
                const uint32_t sc = (s >> nShift) & 0xFF, dc = (d >> nShift) & 0xFF;
                c |= ((dc * da + sc * sa) / t) << nShift;
            }
            pOut[x] = c;
        }
    }
}

void BM_ShadowedLineIntoLabel(benchmark::State& state) {
    BenchApp app;
    SDLTTFFactory factory;
    Zep::SmartPtr<Font> pFont = factory.createFont(Zep::List<Zep::String>{"DejaVuSans.ttf", "16"});
    pFont->setDrawShadow(true);
    pFont->setShadowOffset(1);
    Zep::SmartPtr<Image> pLabel = new SDLImage(kLabelW, kLabelH, true, true);
    for (auto _ : state) {
        pFont->drawText(pLabel, 2, 2, kLine);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ShadowedLineIntoLabel)->Unit(benchmark::kMicrosecond);

void BM_TwoRendersAndTwoComposites(benchmark::State& state) {
    BenchApp app;
    SDLTTFFactory factory;
    Zep::SmartPtr<Font> pFont = factory.createFont(Zep::List<Zep::String>{"DejaVuSans.ttf", "16"});
    TTF_Font* pTTF = TTF_OpenFont((std::string(kFontFolder) + "DejaVuSans.ttf").c_str(), 16);
    std::vector<uint32_t> vLabel(static_cast<size_t>(kLabelW * kLabelH), 0);
    for (auto _ : state) {
        for (const auto& [c, nOffset] : {std::pair{SDL_Color{0, 0, 0, 0}, 3}, std::pair{SDL_Color{255, 255, 255, 0}, 2}}) {
            SDL_Surface* p = TTF_RenderUTF8_Blended(pTTF, kLine, c);
            composite(p, vLabel, nOffset, nOffset);
            SDL_FreeSurface(p);
        }
        benchmark::ClobberMemory();
    }
    TTF_CloseFont(pTTF);
}
BENCHMARK(BM_TwoRendersAndTwoComposites)->Unit(benchmark::kMicrosecond);

// A table of n x n cells, each a 12 x 8 sprite, laid out anew.
void BM_TableArrange(benchmark::State& state) {
    BenchApp app;
    const int n = static_cast<int>(state.range(0));
    Zep::SmartPtr<Image> pPicture = new MemImage(12, 8, true);
    Zep::SmartPtr<Table> pTable = new Table(nullptr);
    for (int r = 0; r < n; ++r) {
        pTable->newRow();
        for (int c = 0; c < n; ++c) {
            pTable->newCell(1);
            pTable->add(Zep::SmartPtr<IVisualObject>(new Sprite(pPicture, 0, 0, 0)), 0x24);
        }
    }
    pTable->setSize(n * 20, n * 12);
    for (auto _ : state) {
        pTable->updateLayout();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * n * n);
}
BENCHMARK(BM_TableArrange)->Arg(10)->Arg(20)->Unit(benchmark::kMicrosecond);

}  // namespace
