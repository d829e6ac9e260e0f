// Text drawing with the system font beside its own blits: 10,000 characters
// of wrapped text laid out and drawn into an 800 x 600 in-memory image
// (wrapping, trimming, measuring, tinted-table lookup, shadow and glyph per
// character), against the same glyph images blitted at positions recorded
// from one layout run. The difference is the layout's own overhead. Lines
// below the image are laid out and clipped alike in both.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench_tempdir.h"
#include "text/bitmapfont.h"
#include "application/gameapp.h"
#include "image/imageonlyplatform.h"
#include "image/memimage.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr size_t kCharacters = 10000;

std::string sampleText() {
    const std::string sSentence =
        "Customers wait at the bar for their drinks, and the waitress hurries from table to table. ";
    std::string s;
    while (s.size() < kCharacters) s += sSentence;
    s.resize(kCharacters);
    return s;
}

// Remembers where every glyph goes.
class RecordingImage : public MemImage {
public:
    RecordingImage(int w, int h) : MemImage(w, h, false) {}
    using MemImage::blit;
    void blit(const Image& src, const Rect& r, int x, int y) override {
        m_lBlits.push_back({&src, x, y});
        MemImage::blit(src, r, x, y);
    }
    struct Blit {
        const Image* pGlyph;
        int x, y;
    };
    std::vector<Blit> m_lBlits;
};

class BenchApp {
public:
    BenchApp() {
        GameApp::openLog(bench::tempFile("bench_fonts.log").c_str());
        m_pApp = std::make_unique<GameApp>();
        m_pApp->setPlatform(std::make_unique<ImageOnlyPlatform>());
        m_pApp->initCaches();
        m_pApp->registerBuiltinResources();
        m_pFont = createSystemFont();
    }
    ~BenchApp() {
        m_pFont = nullptr;
        m_pApp.reset();
        GameApp::closeLog();
    }
    Font& font() { return *m_pFont; }

private:
    std::unique_ptr<GameApp> m_pApp;
    Zep::SmartPtr<Font> m_pFont;
};

void BM_DrawWrappedText(benchmark::State& state) {
    BenchApp bench;
    const std::string sText = sampleText();
    Zep::SmartPtr<Image> pTarget = new MemImage(kWidth, kHeight, false);
    bench.font().drawText(pTarget, Rect(0, 0, kWidth, kHeight), sText.c_str());  // tints once
    for (auto _ : state) {
        Rect box(0, 0, kWidth, kHeight);
        bench.font().drawText(pTarget, box, sText.c_str());
        benchmark::DoNotOptimize(box);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kCharacters));
}
BENCHMARK(BM_DrawWrappedText)->Unit(benchmark::kMillisecond);

void BM_BlitRecordedGlyphs(benchmark::State& state) {
    BenchApp bench;
    const std::string sText = sampleText();
    Zep::SmartPtr<RecordingImage> pRecorder = new RecordingImage(kWidth, kHeight);
    bench.font().drawText(pRecorder.get(), Rect(0, 0, kWidth, kHeight), sText.c_str());
    const std::vector<RecordingImage::Blit> lBlits = pRecorder->m_lBlits;
    Zep::SmartPtr<Image> pTarget = new MemImage(kWidth, kHeight, false);
    for (auto _ : state) {
        for (const RecordingImage::Blit& b : lBlits) pTarget->blitFrom(*b.pGlyph, b.x, b.y);
        benchmark::ClobberMemory();
    }
    state.counters["blits"] = static_cast<double>(lBlits.size());
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kCharacters));
}
BENCHMARK(BM_BlitRecordedGlyphs)->Unit(benchmark::kMillisecond);

}  // namespace
