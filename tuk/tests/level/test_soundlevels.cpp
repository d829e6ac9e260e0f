// The mix of a busy day through SDL_mixer and SDL's disk audio driver: the
// demo level with its music and a scripted player serving, and every 0.75 s
// of sound five of the level's effects started one after the other, so that
// they all sound at once over the music. The driver writes into a pipe that
// the test empties one chunk a frame, so the sound advances with the frames
// however the threads are scheduled. What the mixer wrote is read back: a
// sample at full scale is one the mix clipped.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <iterator>
#include <memory>
#include <string>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "driver/audiodriver.h"
#include "records/gamesound.h"
#include "level/levelplay_util.h"
#include "driver/platform.h"
#include "driver/startup.h"
#include "testkit/testkit_diskpipe.h"
#include "testkit/testkit_tempdir.h"

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
        m_pDesktop = createDesktopPlatform();
        m_pMixer = m_pDesktop->getAudioDriver();
        ASSERT_TRUE(m_pipe.open());
        ASSERT_TRUE(m_pMixer && m_pMixer->init()) << SDL_GetError();
        m_app.useAudioDriver(m_pMixer);
        m_app.setSoundVolume(255);
        m_app.setMusicVolume(255);
    }
    void TearDown() override {
        closeMixer();
        m_pDesktop.reset();
        SDL_Quit();
        DemoLevel::TearDown();
    }
    void play();
    // The mixer closed while the rest of its output is read.
    void closeMixer() {
        m_pipe.close([this] {
            if (m_pMixer) m_pMixer->shutdown();
        });
    }

    testkit::ScopedEnv m_audioEnv{"SDL_AUDIODRIVER", "disk"};
    testkit::ScopedEnv m_fileEnv{"SDL_DISKAUDIOFILE", m_dir.file("mix.raw").c_str()};
    // The pipe paces the driver; it needs no pause of its own.
    testkit::ScopedEnv m_delayEnv{"SDL_DISKAUDIODELAY", "0"};
    testkit::DiskAudioPipe m_pipe{m_dir.file("mix.raw")};
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
    // Each frame of the day takes one chunk of the mixer's output and starts
    // at most one effect, so the five of a burst start one chunk apart.
    const int nWanted = kBursts * static_cast<int>(std::size(kBurst));
    size_t nBurst = kBurstBytes;
    size_t nNext = 0;  // the next of the burst's effects
    int nStarted = 0, nMusicFrames = 0;
    while (m_pipe.bytes().size() < kCaptureSeconds * kBytesPerSecond || nStarted < nWanted) {
        playerMove();
        frames();
        nMusicFrames += m_pMixer->isMusicPlaying() ? 1 : 0;
        ASSERT_TRUE(m_pipe.take(kChunkBytes)) << "the sound device closed";
        if (m_pipe.bytes().size() >= nBurst + nNext * kChunkBytes) {
            playGameSound(kBurst[nNext]);
            ++nStarted;
            if (++nNext == std::size(kBurst)) nNext = 0, nBurst += kBurstBytes;
        }
    }
    closeMixer();
    const std::string& sBytes = m_pipe.bytes();
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
