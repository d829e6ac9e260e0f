// Loading every entry of a 50 MB archive (2,000 entries of 25 kB) beside plain
// zlib inflating the same compressed entries from memory; and opening an
// archive of 10,000 entries, which reads only its index. The archives go into
// a fresh folder of this run's own, removed at exit.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <zep2/file.h>
#include <zep2/memstream.h>
#include <zep2/resourcefile.h>

#include "bench_tempdir.h"

namespace {

constexpr int kEntries = 2000;
constexpr int kEntrySize = 25 * 1024;

// Text-like bytes that deflate to roughly a third, as content files do.
std::vector<uint8_t> makeEntry(int seed) {
    std::vector<uint8_t> bytes(kEntrySize);
    uint32_t x = 2463534242u + static_cast<uint32_t>(seed);
    for (int i = 0; i < kEntrySize; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes[i] = static_cast<uint8_t>('a' + (x % 7) * (i % 3 == 0 ? 3 : 1));
    }
    return bytes;
}

std::string writeArchive(const char* name, int count, int entrySize) {
    std::string path = bench::tempFile(name);
    Zep::SmartPtr<Zep::Stream> file(new Zep::File(path.c_str(), Zep::File::kModeWrite));
    Zep::SmartPtr<Zep::ResourceFileCompiler> compiler(new Zep::ResourceFileCompiler(file));
    compiler->writeHeader();
    for (int i = 0; i < count; ++i) {
        std::vector<uint8_t> bytes = makeEntry(i);
        Zep::SmartPtr<Zep::MemStream> src(new Zep::MemStream(bytes.data(), entrySize));
        compiler->add(src.get(), ("data/entry" + std::to_string(i) + ".bin").c_str());
    }
    compiler->finish();
    return path;
}

const std::string& bigArchive() {
    static const std::string path = writeArchive("bench_resourcefile_big.dat", kEntries, kEntrySize);
    return path;
}

void BM_ArchiveLoadAll(benchmark::State& state) {
    Zep::ResourceFile archive(bigArchive().c_str());
    Zep::List<Zep::String> names = archive.listNames();
    for (auto _ : state) {
        int64_t total = 0;
        for (const Zep::String& name : names) total += archive.load(name.c_str())->getSize();
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kEntries} * kEntrySize);
}
BENCHMARK(BM_ArchiveLoadAll)->Unit(benchmark::kMillisecond);

void BM_BaselineZlibFromMemory(benchmark::State& state) {
    std::vector<std::vector<uint8_t>> packed;
    for (int i = 0; i < kEntries; ++i) {
        std::vector<uint8_t> bytes = makeEntry(i);
        uLongf n = compressBound(kEntrySize);
        std::vector<uint8_t> out(n);
        compress2(out.data(), &n, bytes.data(), kEntrySize, 9);
        out.resize(n);
        packed.push_back(std::move(out));
    }
    std::vector<uint8_t> plain(kEntrySize);
    for (auto _ : state) {
        int64_t total = 0;
        for (const auto& p : packed) {
            uLongf n = kEntrySize;
            uncompress(plain.data(), &n, p.data(), static_cast<uLong>(p.size()));
            total += static_cast<int64_t>(n);
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kEntries} * kEntrySize);
}
BENCHMARK(BM_BaselineZlibFromMemory)->Unit(benchmark::kMillisecond);

const std::string& wideArchive() {
    static const std::string path = writeArchive("bench_resourcefile_wide.dat", 10000, 64);
    return path;
}

// Opening reads the index only: its time follows the number of entries, not
// the size of their data (compare the 50 MB archive's open).
void BM_ArchiveOpen10000(benchmark::State& state) {
    const std::string& path = wideArchive();
    for (auto _ : state) {
        Zep::ResourceFile archive(path.c_str());
        benchmark::DoNotOptimize(archive.getEntryCount());
    }
}
BENCHMARK(BM_ArchiveOpen10000)->Unit(benchmark::kMillisecond);

void BM_ArchiveOpen2000Of50MB(benchmark::State& state) {
    const std::string& path = bigArchive();
    for (auto _ : state) {
        Zep::ResourceFile archive(path.c_str());
        benchmark::DoNotOptimize(archive.getEntryCount());
    }
}
BENCHMARK(BM_ArchiveOpen2000Of50MB)->Unit(benchmark::kMillisecond);

// Baseline for the 50 MB open: reading the whole file, which an open must not do.
void BM_BaselineReadWhole50MB(benchmark::State& state) {
    const std::string& path = bigArchive();
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        FILE* f = std::fopen(path.c_str(), "rb");
        size_t total = 0, n = 0;
        while ((n = std::fread(buffer.data(), 1, buffer.size(), f)) > 0) total += n;
        std::fclose(f);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_BaselineReadWhole50MB)->Unit(benchmark::kMillisecond);

}  // namespace
