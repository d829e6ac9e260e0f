// Inflate through ZStream against plain zlib, and record writes into a MemStream.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include <zep2/file.h>
#include <zep2/memstream.h>
#include <zep2/zstream.h>

#include "bench_tempdir.h"

namespace {

constexpr size_t kPlainSize = 20u << 20;

const std::vector<uint8_t>& plainData() {
    static std::vector<uint8_t> data = [] {
        std::vector<uint8_t> b(kPlainSize);
        uint32_t x = 12345;
        for (size_t i = 0; i < b.size(); ++i) {
            x = x * 1103515245u + 12345u;
            b[i] = (i % 5 == 0) ? static_cast<uint8_t>(x >> 24) : static_cast<uint8_t>("tuk harbor "[(i / 3) % 11]);
        }
        return b;
    }();
    return data;
}

const std::vector<uint8_t>& packedData() {
    static std::vector<uint8_t> packed = [] {
        const auto& plain = plainData();
        uLongf n = compressBound(static_cast<uLong>(plain.size()));
        std::vector<uint8_t> p(n);
        compress2(p.data(), &n, plain.data(), static_cast<uLong>(plain.size()), 9);
        p.resize(n);
        return p;
    }();
    return packed;
}

const std::string& packedFile() {
    static std::string name = [] {
        std::string n = bench::tempFile("packed.z");
        FILE* f = std::fopen(n.c_str(), "wb");
        std::fwrite(packedData().data(), 1, packedData().size(), f);
        std::fclose(f);
        return n;
    }();
    return name;
}

void BM_PlainUncompress(benchmark::State& state) {
    const auto& packed = packedData();
    std::vector<uint8_t> out(kPlainSize);
    for (auto _ : state) {
        uLongf n = static_cast<uLongf>(out.size());
        uncompress(out.data(), &n, packed.data(), static_cast<uLong>(packed.size()));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kPlainSize));
}
BENCHMARK(BM_PlainUncompress)->Unit(benchmark::kMillisecond);

void BM_ZStreamInflateFile(benchmark::State& state) {
    const std::string& name = packedFile();
    std::vector<uint8_t> out(kPlainSize);
    for (auto _ : state) {
        Zep::File f(name.c_str(), 1);
        Zep::ZStream z(&f);
        size_t nGot = 0;
        for (;;) {
            int n = z.read(65536, out.data() + nGot);
            nGot += static_cast<size_t>(n);
            if (n < 65536) break;
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kPlainSize));
}
BENCHMARK(BM_ZStreamInflateFile)->Unit(benchmark::kMillisecond);

void BM_ZStreamInflateMemory(benchmark::State& state) {
    const auto& packed = packedData();
    std::vector<uint8_t> out(kPlainSize);
    for (auto _ : state) {
        Zep::MemStream in(packed.data(), static_cast<int>(packed.size()));
        Zep::ZStream z(&in);
        z.read(static_cast<int>(out.size()), out.data());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kPlainSize));
}
BENCHMARK(BM_ZStreamInflateMemory)->Unit(benchmark::kMillisecond);

void BM_MemStreamRecords(benchmark::State& state) {
    for (auto _ : state) {
        Zep::MemStream s;
        for (int i = 0; i < 10000; ++i) {
            s.writeVarInt(i * 37);
            s.writeString("highscore name");
        }
        benchmark::DoNotOptimize(s.getBuffer());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 10000);
}
BENCHMARK(BM_MemStreamRecords);

// Baseline: the same bytes appended to a std::vector.
void BM_VectorRecords(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<uint8_t> v;
        for (int i = 0; i < 10000; ++i) {
            uint32_t x = static_cast<uint32_t>(i * 37);
            do {
                uint8_t b = x & 0x7F;
                x >>= 7;
                if (x) b |= 0x80;
                v.push_back(b);
            } while (x);
            v.push_back(0x12);
            v.push_back(14);
            const char* t = "highscore name";
            v.insert(v.end(), t, t + 14);
        }
        benchmark::DoNotOptimize(v.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 10000);
}
BENCHMARK(BM_VectorRecords);

}  // namespace
