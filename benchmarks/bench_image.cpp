// Pixel transfers of the in-memory image store beside plain loops doing the
// same work: a full-screen opaque copy against memcpy, and a 64x64 alpha blit
// against a straightforward per-pixel blend.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "image/memimage.h"

namespace {

constexpr int kScreenW = 800;
constexpr int kScreenH = 600;
constexpr int kSprite = 64;

Zep::SmartPtr<MemImage> makeFilled(int w, int h, bool bAlpha) {
    Zep::SmartPtr<MemImage> p = new MemImage(w, h, bAlpha);
    ImageLock lock(*p);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->writePixel(x, y, Color(static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(x ^ y),
                                      static_cast<uint8_t>((x * 4 + y) & 0xFF)));
    return p;
}

void BM_MemImageCopyScreen(benchmark::State& state) {
    auto src = makeFilled(kScreenW, kScreenH, false);
    auto dst = makeFilled(kScreenW, kScreenH, false);
    for (auto _ : state) {
        dst->copy(*src, 0, 0);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kScreenW * kScreenH * 4);
}
BENCHMARK(BM_MemImageCopyScreen);

void BM_MemcpyScreen(benchmark::State& state) {
    std::vector<uint32_t> lSrc(kScreenW * kScreenH, 0x00336699u), lDst(kScreenW * kScreenH);
    for (auto _ : state) {
        for (int y = 0; y < kScreenH; ++y)
            std::memcpy(&lDst[y * kScreenW], &lSrc[y * kScreenW], kScreenW * 4);
        benchmark::DoNotOptimize(lDst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kScreenW * kScreenH * 4);
}
BENCHMARK(BM_MemcpyScreen);

void BM_MemImageAlphaBlit64(benchmark::State& state) {
    auto sprite = makeFilled(kSprite, kSprite, true);
    auto dst = makeFilled(256, 256, false);
    for (auto _ : state) {
        dst->blit(*sprite, 50, 50);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSprite * kSprite);
}
BENCHMARK(BM_MemImageAlphaBlit64);

// The same blend, written the obvious way over RGBA bytes.
void BM_PlainBlend64(benchmark::State& state) {
    std::vector<uint8_t> lSrc(kSprite * kSprite * 4), lDst(256 * 256 * 4);
    for (int y = 0; y < kSprite; ++y)
        for (int x = 0; x < kSprite; ++x) {
            uint8_t* p = &lSrc[(y * kSprite + x) * 4];
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(y);
            p[2] = static_cast<uint8_t>(x ^ y);
            p[3] = static_cast<uint8_t>((x * 4 + y) & 0xFF);
        }
    for (auto _ : state) {
        for (int y = 0; y < kSprite; ++y) {
            for (int x = 0; x < kSprite; ++x) {
                const uint8_t* s = &lSrc[(y * kSprite + x) * 4];
                uint8_t* d = &lDst[((y + 50) * 256 + x + 50) * 4];
                const int a = s[3];
                for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>((s[c] * a + d[c] * (255 - a) + 127) / 255);
                d[3] = 255;
            }
        }
        benchmark::DoNotOptimize(lDst.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSprite * kSprite);
}
BENCHMARK(BM_PlainBlend64);

}  // namespace
