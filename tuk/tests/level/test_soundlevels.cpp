// The mix of a busy day through SDL_mixer and SDL's disk audio driver: the
// demo level with its music and a scripted player serving, and every 0.75 s
// of sound five of the level's effects started one after the other, so that
// they all sound at once over the music. What the mixer wrote is read back:
// a sample at full scale is one the mix clipped.
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "audiodriver.h"
#include "records/gamesound.h"
#include "level/levelplay_util.h"
#include "platform.h"
#include "startup.h"
#include "testkit_tempdir.h"

namespace {

// Bytes of one second of the desktop format: 16-bit stereo, and of one of
// the mixer's chunks, the finest step at which a sound can start.
constexpr size_t kBytesPerSecond = static_cast<size_t>(kDesktopAudioFrequency) * 4;
constexpr size_t kChunkBytes = static_cast<size_t>(kDesktopAudioChunkSize) * 4;
constexpr size_t kCaptureSeconds = 6;
// Every 0.75 s of sound the five start one chunk apart, so that all of them
// and the music sound together, as in the busiest moments of a day.
constexpr size_t kBurstBytes = kBytesPerSecond * 3 / 4;
// The bursts that fall in the capture: at 0.75 s, 1.5 s, ... 5.25 s.
constexpr int kBursts = 7;
constexpr const char* const kBurst[] = {"sfx_game_juicer", "sfx_game_mistake1", "sfx_game_star", "sfx_game_ask1",
                                        "sfx_game_accept2"};

class SDLAudioBusyLevel : public leveltest::DemoLevel {
protected:
    void SetUp() override {
        DemoLevel::SetUp();
        m_app.addResourceProvider(
            std::make_unique<Zep::FilesystemResourceProvider>(TUK_CONTENT_FOLDER "tuk_sound/"), false);
        testkit::writeFileBytes(capturePath(), "");
        m_pDesktop = createDesktopPlatform();
        m_pMixer = m_pDesktop->getAudioDriver();
        ASSERT_TRUE(m_pMixer && m_pMixer->init()) << SDL_GetError();
        m_app.useAudioDriver(m_pMixer);
        m_app.setSoundVolume(255);
        m_app.setMusicVolume(255);
    }
    void TearDown() override {
        if (m_pMixer) m_pMixer->shutdown();
        m_pDesktop.reset();
        SDL_Quit();
        DemoLevel::TearDown();
    }
    void play();
    size_t captured() const { return testkit::readFileBytes(capturePath()).size(); }
    std::string capturePath() const { return m_dir.file("mix.raw"); }

    testkit::ScopedEnv m_audioEnv{"SDL_AUDIODRIVER", "disk"};
    testkit::ScopedEnv m_fileEnv{"SDL_DISKAUDIOFILE", m_dir.file("mix.raw").c_str()};
    testkit::ScopedEnv m_delayEnv{"SDL_DISKAUDIODELAY", "40"};
    std::unique_ptr<IPlatform> m_pDesktop;
    IAudioDriver* m_pMixer = nullptr;
};

}  // namespace

TEST_F(SDLAudioBusyLevel, FiveEffectsTogetherOverTheMusicClipFewerThanOneSampleInTenThousand) {
    try {
        play();
    } catch (const Zep::Exception& e) {
        FAIL() << e.className() << ": " << e.getMessage();
    }
}

void SDLAudioBusyLevel::play() {
    enter(2);
    // The day runs while the mixer writes; the frames follow the capture,
    // so a slow machine only plays the day more slowly. A frame starts at
    // most one effect: on a busy machine the bursts fall behind the sound,
    // and the capture goes on until every burst has started.
    const int nWanted = kBursts * static_cast<int>(std::size(kBurst));
    size_t nBurst = kBurstBytes;
    size_t nNext = 0;  // the next of the burst's effects
    int nStarted = 0, nMusicFrames = 0;
    for (int nFrame = 0; nFrame < 20000 && (captured() < kCaptureSeconds * kBytesPerSecond || nStarted < nWanted);
         ++nFrame) {
        playerMove();
        frames();
        nMusicFrames += m_pMixer->isMusicPlaying() ? 1 : 0;
        if (captured() >= nBurst + nNext * kChunkBytes) {
            playGameSound(kBurst[nNext]);
            ++nStarted;
            if (++nNext == std::size(kBurst)) nNext = 0, nBurst += kBurstBytes;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    m_pMixer->shutdown();
    const std::string sBytes = testkit::readFileBytes(capturePath());
    ASSERT_GE(sBytes.size(), kCaptureSeconds * kBytesPerSecond);
    EXPECT_GE(nStarted, nWanted);
    EXPECT_GT(nMusicFrames, 0);
    size_t nSamples = 0, nFull = 0, nSounding = 0;
    for (size_t i = 0; i + 1 < sBytes.size(); i += 2) {
        int16_t n = 0;
        std::memcpy(&n, sBytes.data() + i, 2);
        ++nSamples;
        nFull += n == 32767 || n == -32768 ? 1 : 0;
        nSounding += n != 0 ? 1 : 0;
    }
    EXPECT_GT(nSounding, nSamples / 2);
    EXPECT_LT(nFull * 10000, nSamples) << nFull << " of " << nSamples << " samples at full scale";
}
