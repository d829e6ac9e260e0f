// The sound loaders over arbitrary bytes, behind the sound check, through the
// real mixer on SDL's disk audio driver (writing to /dev/null): a sample is
// loaded and played, music is loaded, started and mixed for a few passes, so
// that a reader or a player that crashes or hangs on bytes the check let
// through is caught here (a hang as the fuzzer's time-out).
//
// Input: one flag byte (bit 0: music, else a sample; bit 1: the Ogg pages'
// checksums are put right first, so that changed Ogg bytes get past the page
// walk to the headers behind it), then the file.
//
// Seeds: FUZZ_SDL_SOUND_SEEDS=<folder> writes the generated seeds (small
// valid files of every format and use, and the inputs that once crashed or
// hung the mixer) into the folder and exits.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <SDL.h>
#include <SDL_mixer.h>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "application/gameapp.h"
#include "sdl/sdl_audio.h"
#include "testkit/testkit_sound.h"

namespace {

constexpr uint8_t kMusicFlag = 1;
constexpr uint8_t kFixChecksumsFlag = 2;
constexpr size_t kMaxInput = 1u << 20;
// Mixing passes of kPassFrames to wait for after a start: music plays for
// about 0.75 s, a few rows of a module at its slowest.
constexpr int kPassFrames = 4096;
constexpr int kSamplePasses = 2;
constexpr int kMusicPasses = 8;

std::atomic<int> g_nPasses{0};

void countPass(void*, Uint8*, int) { ++g_nPasses; }

// Returns once the mixer has run n more passes: a player that hangs in its
// pass never returns, which the fuzzer reports as a time-out.
void waitPasses(int n) {
    const int nTarget = g_nPasses + n;
    while (g_nPasses < nTarget) SDL_Delay(1);
}

class SoundApp : public GameApp {
public:
    void useAudio(IAudioDriver* pDriver) {
        m_pAudioDriver = pDriver;
        m_bAudioEnabled = true;
    }
};

struct Harness {
    Harness() {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1);
        GameApp::disableLog();
        GameApp::disableSettingsSaving();
        m_pApp = std::make_unique<SoundApp>();
        auto pProvider = std::make_unique<Zep::MemoryResourceProvider>();
        m_pFiles = pProvider.get();
        m_pApp->addResourceProvider(std::move(pProvider), false);
        m_driver.setFrequency(44100);
        m_driver.setChunkSize(kPassFrames);
        if (!m_driver.init()) std::abort();
        m_pApp->useAudio(&m_driver);
        Mix_SetPostMix(countPass, nullptr);
    }
    SDLAudioDriver m_driver;
    std::unique_ptr<SoundApp> m_pApp;
    Zep::MemoryResourceProvider* m_pFiles = nullptr;
};

void play(SDLAudioDriver& driver, bool bMusic) {
    if (bMusic) {
        Zep::SmartPtr<Music> pMusic = driver.getMusicLoader()->load("in");
        driver.playMusic(pMusic, false);
        waitPasses(kMusicPasses);
        driver.stopMusic(0.0f);
        return;
    }
    Zep::SmartPtr<Sample> pSample = driver.getSampleLoader()->load("in");
    const int nChannel = driver.playSample(pSample, false, -1);
    waitPasses(kSamplePasses);
    driver.stopChannel(nChannel, 0.0f);
}

// ---- Seeds ---------------------------------------------------------------------------

std::string withFlags(uint8_t nFlags, std::string sFile) { return std::string(1, static_cast<char>(nFlags)) + sFile; }

std::string changed(std::string s, size_t nAt, uint32_t nValue, int nBytes) {
    testkit::setLE(s, nAt, nValue, nBytes);
    return s;
}

std::string renamed(std::string s, size_t nAt, const char* szId) {
    std::memcpy(&s[nAt], szId, 4);
    return s;
}

std::vector<std::pair<const char*, std::string>> seeds() {
    using namespace testkit;
    const std::string sWav = makeWav({});
    const std::string sOgg = makeOggVorbis({1, 22050, 0.2f});
    const std::string sVoc = makeVoc({9, 22050, 16, 2, 64});
    std::string sLongVoc = makeVoc({1, 11025, 8, 1, 32});
    sLongVoc.pop_back();  // the end block: more blocks follow
    sLongVoc += vocBlock(5, std::string("kit\0", 4)) + vocBlock(6, std::string("\x02\x00", 2)) +
                vocBlock(2, std::string(16, '\x90')) + vocBlock(3, std::string("\x20\x00\xA6", 3)) + vocBlock(7, "") +
                '\0';
    // A rate of 1 Hz overran the mixer's conversion steps.
    const std::string sOddOgg = changed(sOgg, kOggIdPacketAt + 12, 1, 4);
    std::string sExtendedVoc = makeVoc({1, 11025, 8, 1, 32});
    sExtendedVoc.insert(kVocFirstBlockAt, vocBlock(8, std::string("\x00\xD0\x00\x00", 4)));
    return {
        {"wav-sample", withFlags(0, sWav)},
        {"wav-music", withFlags(kMusicFlag, makeWav({2, 44100, 8, 128}))},
        {"voc-sample", withFlags(0, sVoc)},
        {"voc-blocks-sample", withFlags(0, sLongVoc)},
        {"ogg-sample", withFlags(kFixChecksumsFlag, sOgg)},
        {"ogg-music", withFlags(kMusicFlag | kFixChecksumsFlag, makeOggVorbis({2, 44100, 0.2f}))},
        {"xm-music", withFlags(kMusicFlag, makeXm({}))},
        {"xm-music-wide", withFlags(kMusicFlag, makeXm({8, 32, 200}))},
        {"regress-wav-no-channels-sample", withFlags(0, changed(sWav, kWavChannelsAt, 0, 2))},
        {"regress-wav-no-channels-music", withFlags(kMusicFlag, changed(sWav, kWavChannelsAt, 0, 2))},
        {"regress-wav-no-rate-sample", withFlags(0, changed(sWav, kWavRateAt, 0, 4))},
        {"regress-wav-no-rate-music", withFlags(kMusicFlag, changed(sWav, kWavRateAt, 0, 4))},
        {"regress-wav-fmt-id-music", withFlags(kMusicFlag, renamed(sWav, kWavFmtAt, "fmu "))},
        {"regress-wav-data-id-music", withFlags(kMusicFlag, renamed(sWav, kWavDataAt, "datb"))},
        {"regress-voc-no-channels-sample", withFlags(0, changed(sVoc, kVocFirstBlockAt + 9, 0, 1))},
        {"regress-voc-extended-mono-sample", withFlags(0, sExtendedVoc)},
        {"regress-ogg-rate-one-sample", withFlags(kFixChecksumsFlag, sOddOgg)},
    };
}

void writeSeeds(const char* szFolder) {
    for (const auto& [szName, sBytes] : seeds())
        std::ofstream(std::string(szFolder) + "/" + szName, std::ios::binary) << sBytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* szFolder = std::getenv("FUZZ_SDL_SOUND_SEEDS")) {
        writeSeeds(szFolder);
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Harness harness;
    if (size < 1 || size > kMaxInput) return 0;
    const uint8_t nFlags = data[0];
    std::string sFile(reinterpret_cast<const char*>(data + 1), size - 1);
    if (nFlags & kFixChecksumsFlag) testkit::fixOggChecksums(sFile);
    Zep::SmartPtr<Zep::Resource> pFile = new Zep::Resource(static_cast<int>(sFile.size()), nullptr, true);
    if (!sFile.empty()) std::memcpy(pFile->getData(), sFile.data(), sFile.size());
    harness.m_pFiles->add("in.wav", pFile);
    try {
        play(harness.m_driver, nFlags & kMusicFlag);
    } catch (const Zep::Exception&) {
    }
    return 0;
}
