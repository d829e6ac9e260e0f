// The clip decoder over arbitrary bytes. Every whole page has its checksum
// made right before the bytes become the clip file, so that mutations reach
// the stream headers, the decoders and the conversions instead of ending at
// the page layer. The application has sound on and SDL_mixer is open on SDL's
// dummy driver (22,050 Hz stereo) with its thread paused: the target calls the
// decoder's hook itself after every update, so the sound is decoded, queued,
// converted to the mixer's format and mixed, the same way on every run.
#include <unistd.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <ogg/ogg.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "image/imageonlyplatform.h"
#include "sdl/sdl_theora.h"

namespace {

constexpr size_t kMaxInput = 1u << 20;
constexpr int kUpdates = 30;
constexpr float kStep = 0.1f;
constexpr int kMixerRate = 22050;
// One step of the mixer's output, 16-bit stereo.
constexpr int kMixBytes = static_cast<int>(kMixerRate * kStep) * 4;

class SoundOnApp : public GameApp {
public:
    SoundOnApp() { m_bAudioEnabled = true; }
};

bool setUp() {
    GameApp::disableLog();
    GameApp::disableSettingsSaving();
    auto* pApp = new SoundOnApp();  // lives until exit
    pApp->setPlatform(std::make_unique<ImageOnlyPlatform>());
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_AUDIO) < 0 || Mix_OpenAudio(kMixerRate, AUDIO_S16LSB, 2, 512) < 0) std::abort();
    SDL_PauseAudio(1);
    return true;
}

// From every capture pattern on, each whole page gets its right checksum.
void setChecksums(std::vector<uint8_t>& lBytes) {
    constexpr size_t kFixedHeader = 27;
    size_t i = 0;
    while (i + kFixedHeader <= lBytes.size()) {
        if (std::memcmp(&lBytes[i], "OggS", 4) != 0) {
            ++i;
            continue;
        }
        const size_t nHeader = kFixedHeader + lBytes[i + 26];
        size_t nBody = 0;
        for (size_t k = kFixedHeader; k < nHeader && i + k < lBytes.size(); ++k) nBody += lBytes[i + k];
        if (i + nHeader + nBody > lBytes.size()) {
            ++i;
            continue;
        }
        ogg_page page{&lBytes[i], static_cast<long>(nHeader), &lBytes[i + nHeader], static_cast<long>(nBody)};
        ogg_page_checksum_set(&page);
        i += nHeader + nBody;
    }
}

void play(const char* szPath) {
    static std::vector<uint8_t> s_lMix(kMixBytes);
    SDLTheoraVideo video;
    if (!video.open(szPath)) return;
    video.setExclusiveAudio(true);
    video.play();
    for (int i = 0; i < kUpdates && !video.isFinished(); ++i) {
        video.update(kStep);
        SDL_LockAudio();
        video.mixAudio(s_lMix.data(), kMixBytes);
        SDL_UnlockAudio();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool s_bReady = setUp();
    (void)s_bReady;
    if (size > kMaxInput) return 0;
    std::vector<uint8_t> lBytes(data, data + size);
    setChecksums(lBytes);
    const std::string sPath = "/tmp/fuzz_sdl_theora_" + std::to_string(getpid()) + ".ogv";
    FILE* pFile = std::fopen(sPath.c_str(), "wb");
    if (!pFile) return 0;
    std::fwrite(lBytes.data(), 1, lBytes.size(), pFile);
    std::fclose(pFile);
    try {
        play(sPath.c_str());
    } catch (const Zep::Exception&) {
    }
    std::remove(sPath.c_str());
    return 0;
}
