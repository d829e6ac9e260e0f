// Clip pictures: converting a 640 x 480 4:2:0 frame through the colour
// tables beside the same conversion with the float formula per pixel; and
// decoding plus converting each frame of the tests' clip (64 x 48) and of a
// 640 x 480 one, beside the clips' frame period (100 ms at 10 frames/s).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "../fennic/tests/testkit/testkit_clip.h"
#include "bench_tempdir.h"
#include "sdl/sdl_theora.h"
#include "media/yuvtables.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Frame420 {
    std::vector<uint8_t> y, u, v;
    Frame420() : y(kWidth * kHeight), u(kWidth * kHeight / 4), v(kWidth * kHeight / 4) {
        for (size_t i = 0; i < y.size(); ++i) y[i] = static_cast<uint8_t>(i * 7 + i / kWidth);
        for (size_t i = 0; i < u.size(); ++i) {
            u[i] = static_cast<uint8_t>(i * 3);
            v[i] = static_cast<uint8_t>(255 - i * 5);
        }
    }
    YuvPlanes planes() const { return {y.data(), kWidth, u.data(), v.data(), kWidth / 2}; }
};

inline uint32_t floatPixel(int nY, int nU, int nV) {
    const float u = static_cast<float>(nU - 128);
    const float v = static_cast<float>(nV - 128);
    const int r = std::clamp(static_cast<int>(nY + 1.37f * v), 0, 255);
    const int g = std::clamp(static_cast<int>(nY - 0.336f * u - 0.698f * v), 0, 255);
    const int b = std::clamp(static_cast<int>(nY + 1.732f * u), 0, 255);
    return 0xFF000000u | static_cast<uint32_t>(b) << 16 | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(r);
}

void BM_Convert420Tables(benchmark::State& state) {
    const Frame420 frame;
    std::vector<uint32_t> out(kWidth * (kHeight + 1));
    for (auto _ : state) {
        convertYuv420(frame.planes(), kWidth, kHeight, out.data());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_Convert420Tables);

// Baseline: the float formula for every pixel.
void BM_Convert420FloatFormula(benchmark::State& state) {
    const Frame420 frame;
    std::vector<uint32_t> out(kWidth * (kHeight + 1));
    for (auto _ : state) {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const int c = (y / 2) * (kWidth / 2) + x / 2;
                out[y * kWidth + x] = floatPixel(frame.y[y * kWidth + x], frame.u[c], frame.v[c]);
            }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_Convert420FloatFormula);

std::string clipOf(int nWidth, int nHeight) {
    const std::string sPath = bench::tempDir() + "/clip" + std::to_string(nWidth) + ".ogv";
    testkit::ClipSpec spec;
    spec.nWidth = nWidth;
    spec.nHeight = nHeight;
    for (int k = 0; k < 10; ++k)
        spec.lFrames.push_back({static_cast<uint8_t>(50 + 16 * k), static_cast<uint8_t>(100 + 4 * k),
                                static_cast<uint8_t>(180 - 6 * k)});
    spec.nRate = 44100;
    testkit::writeClip(sPath, spec);
    return sPath;
}

// Opening, then one update per frame period until the end; time per frame.
void BM_DecodeAndConvertPerFrame(benchmark::State& state) {
    const std::string sPath = clipOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    int64_t nFrames = 0;
    for (auto _ : state) {
        SDLTheoraVideo video;
        if (!video.open(sPath.c_str())) state.SkipWithError("open failed");
        video.play();
        while (!video.isFinished()) {
            video.update(0.1f);
            ++nFrames;
        }
    }
    state.counters["frame_period_ms"] = 100.0;
    state.counters["time_per_frame"] =
        benchmark::Counter(static_cast<double>(nFrames), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DecodeAndConvertPerFrame)->Args({64, 48})->Args({640, 480})->Unit(benchmark::kMillisecond);

}  // namespace
