// Loading a 30 s Ogg Vorbis sample (44.1 kHz stereo, tone and noise, about
// the bit rate of real sound) through the driver's sample loader, which
// checks the bytes before the mixer decodes them, against the mixer's own
// load of the same bytes; the two in turn in one loop, timed by the thread's
// CPU clock, for their ratio on a busy machine; and the check alone.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include <zep2/resource.h>

#include "../fennic/tests/testkit/testkit_sound.h"
#include "bench_tempdir.h"
#include "application/gameapp.h"
#include "sdl/sdl_audio.h"
#include "media/soundcheck.h"

namespace {

class SoundApp : public GameApp {
public:
    void useAudio(IAudioDriver* pDriver) {
        m_pAudioDriver = pDriver;
        m_bAudioEnabled = true;
    }
};

// The application, its mixer (SDL's disk driver into /dev/null) and the
// sample's bytes under the name "long".
class AudioBench {
public:
    AudioBench() {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
        GameApp::openLog(bench::tempFile("bench_sdl_audio.log").c_str());
        m_pApp = std::make_unique<SoundApp>();
        const std::string sOgg = testkit::makeOggVorbis({2, 44100, 30.0f, 0.1f});
        m_pBytes = new Zep::Resource(static_cast<int>(sOgg.size()), nullptr, true);
        std::copy(sOgg.begin(), sOgg.end(), static_cast<char*>(m_pBytes->getData()));
        auto pProvider = std::make_unique<Zep::MemoryResourceProvider>();
        pProvider->add("long.ogg", m_pBytes);
        m_pApp->addResourceProvider(std::move(pProvider), false);
        m_driver.setFrequency(44100);
        m_driver.setChunkSize(2048);
        if (!m_driver.init()) std::abort();
        m_pApp->useAudio(&m_driver);
    }
    ~AudioBench() {
        m_driver.shutdown();
        m_pApp.reset();
        SDL_Quit();
        GameApp::closeLog();
    }
    SDLAudioDriver m_driver;
    Zep::SmartPtr<Zep::Resource> m_pBytes;

private:
    std::unique_ptr<SoundApp> m_pApp;
};

AudioBench& audioBench() {
    static AudioBench bench;
    return bench;
}

void loadChecked(AudioBench& bench) {
    Zep::SmartPtr<Sample> p = bench.m_driver.getSampleLoader()->load("long");
    benchmark::DoNotOptimize(p.get());
}

void loadRaw(AudioBench& bench) {
    SDL_RWops* pReader = SDL_RWFromMem(bench.m_pBytes->getData(), bench.m_pBytes->getSize());
    Mix_Chunk* pChunk = Mix_LoadWAV_RW(pReader, 0);
    SDL_FreeRW(pReader);
    if (!pChunk) std::abort();
    Mix_FreeChunk(pChunk);
}

void BM_OggSampleLoadChecked(benchmark::State& state) {
    AudioBench& bench = audioBench();
    for (auto _ : state) loadChecked(bench);
    state.SetBytesProcessed(state.iterations() * bench.m_pBytes->getSize());
}
BENCHMARK(BM_OggSampleLoadChecked)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_OggSampleLoadRawMixer(benchmark::State& state) {
    AudioBench& bench = audioBench();
    for (auto _ : state) loadRaw(bench);
    state.SetBytesProcessed(state.iterations() * bench.m_pBytes->getSize());
}
BENCHMARK(BM_OggSampleLoadRawMixer)->Unit(benchmark::kMillisecond)->MinTime(3.0);

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// One checked and one raw load per step; the counters give each one's mean
// thread CPU time and checked / raw.
void BM_OggSampleLoadCheckedOverRaw(benchmark::State& state) {
    AudioBench& bench = audioBench();
    double dChecked = 0.0, dRaw = 0.0;
    for (auto _ : state) {
        const double d0 = threadSeconds();
        loadChecked(bench);
        const double d1 = threadSeconds();
        loadRaw(bench);
        const double d2 = threadSeconds();
        dChecked += d1 - d0;
        dRaw += d2 - d1;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["checked_ms"] = dChecked / n * 1e3;
    state.counters["raw_ms"] = dRaw / n * 1e3;
    state.counters["ratio"] = dChecked / dRaw;
}
BENCHMARK(BM_OggSampleLoadCheckedOverRaw)->Unit(benchmark::kMillisecond)->MinTime(6.0);

void BM_OggSoundCheckAlone(benchmark::State& state) {
    AudioBench& bench = audioBench();
    const size_t nSize = static_cast<size_t>(bench.m_pBytes->getSize());
    for (auto _ : state) {
        Zep::String sWhy = checkSound(bench.m_pBytes->getData(), nSize, SoundUse::Sample);
        if (!sWhy.isEmpty()) std::abort();
    }
    state.SetBytesProcessed(state.iterations() * bench.m_pBytes->getSize());
}
BENCHMARK(BM_OggSoundCheckAlone)->Unit(benchmark::kMicrosecond);

}  // namespace
