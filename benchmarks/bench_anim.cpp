// Animation scripts and animated sprites beside plain baselines: reading a
// 2,000-line script with defines and batches against the foundation's token
// reader splitting the same text into tokens, and updating 1,000 animated
// sprites per frame against a loop advancing 1,000 frame counters.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <zep2/resource.h>
#include <zep2/tokenfilereader.h>

#include "anim/animscript_reader.h"
#include "anim/animsprite.h"
#include "bench_tempdir.h"
#include "application/gameapp.h"
#include "image/memimage.h"

namespace {

// 2,000 lines: defines up front, then blocks of a sequence with a batch add.
std::string scriptText() {
    std::string s = "# benchmark script\nfps 30\nmload f 01 04\n";
    for (int i = 0; i < 8; ++i) s += "define D" + std::to_string(i) + " f0" + std::to_string(i % 4 + 1) + "\n";
    int nLines = 11;
    for (int n = 0; nLines < 2000; ++n) {
        const std::string sSeq = "seq s" + std::to_string(n) + " fps 12 loop\n";
        const std::string sAdd = "madd f 01 04\nadd (D" + std::to_string(n % 8) + ") repeat 2\n";
        s += sSeq + sAdd + "prop speed (D3)\n# a comment\n";
        nLines += 5;
    }
    return s;
}

class BenchApp {
public:
    BenchApp() : m_sScript(scriptText()) {
        GameApp::openLog(bench::tempFile("bench_anim.log").c_str());
        m_pApp = std::make_unique<GameApp>();
        auto pProvider = std::make_unique<Zep::MemoryResourceProvider>();
        Zep::SmartPtr<Zep::Resource> pText = new Zep::Resource(static_cast<int>(m_sScript.size()), nullptr, true);
        std::copy(m_sScript.begin(), m_sScript.end(), static_cast<char*>(pText->getData()));
        pProvider->add("bench.anim", pText);
        m_pApp->addResourceProvider(std::move(pProvider), false);
        for (const char* szName : {"f01", "f02", "f03", "f04"})
            m_pApp->addImage(szName, Zep::SmartPtr<Image>(new MemImage(4, 4, true)), true);
    }
    ~BenchApp() {
        m_pApp.reset();
        GameApp::closeLog();
    }
    const std::string& script() const { return m_sScript; }

private:
    std::string m_sScript;
    std::unique_ptr<GameApp> m_pApp;
};

void BM_ReadAnimationScript(benchmark::State& state) {
    BenchApp bench;
    for (auto _ : state) {
        Zep::SmartPtr<AnimationLoader> pLoader = new AnimationLoader();
        Zep::SmartPtr<Animation> p = pLoader->runFile("bench.anim");
        benchmark::DoNotOptimize(p.get());
    }
}
BENCHMARK(BM_ReadAnimationScript)->Unit(benchmark::kMicrosecond);

void BM_TokenReaderSameText(benchmark::State& state) {
    BenchApp bench;
    for (auto _ : state) {
        Zep::TokenFileReader reader(bench.script().c_str());
        int nTokens = 0;
        while (!reader.isEOF()) {
            reader.nextLine();
            nTokens += reader.getTokens().getCount();
        }
        benchmark::DoNotOptimize(nTokens);
    }
}
BENCHMARK(BM_TokenReaderSameText)->Unit(benchmark::kMicrosecond);

constexpr int kSprites = 1000;
constexpr float kFrame = 1.0f / 60.0f;

void BM_UpdateAnimSprites(benchmark::State& state) {
    Zep::SmartPtr<Animation> pAnimation = new Animation(12.0f);
    pAnimation->createSequence("walk", true, 12.0f);
    for (int i = 0; i < 8; ++i) pAnimation->addFrame("walk", new MemImage(2, 2, true), 1 + i % 2);
    std::vector<Zep::SmartPtr<AnimSprite>> lSprites;
    for (int i = 0; i < kSprites; ++i) lSprites.emplace_back(new AnimSprite(pAnimation, i, 0, 0));
    for (auto _ : state) {
        int nChanged = 0;
        for (const Zep::SmartPtr<AnimSprite>& p : lSprites) nChanged += p->update(kFrame) ? 1 : 0;
        benchmark::DoNotOptimize(nChanged);
    }
}
BENCHMARK(BM_UpdateAnimSprites);

// The same timing with nothing but a time left, a frame and a repeat table.
void BM_PlainFrameCounters(benchmark::State& state) {
    struct Counter {
        float fTimeLeft;
        int nFrame;
    };
    const int aRepeat[8] = {1, 2, 1, 2, 1, 2, 1, 2};
    std::vector<Counter> lCounters(kSprites, Counter{1.0f / 12.0f, 0});
    for (auto _ : state) {
        int nChanged = 0;
        for (Counter& c : lCounters) {
            c.fTimeLeft -= kFrame;
            if (c.fTimeLeft > 0.0f) continue;
            c.nFrame = (c.nFrame + 1) % 8;
            c.fTimeLeft = static_cast<float>(aRepeat[c.nFrame]) / 12.0f;
            ++nChanged;
        }
        benchmark::DoNotOptimize(nChanged);
    }
}
BENCHMARK(BM_PlainFrameCounters);

}  // namespace
