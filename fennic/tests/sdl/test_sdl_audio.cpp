// The SDL audio driver against SDL_mixer with SDL's disk audio driver: what
// the mixer writes is read back and its sample values compared (the captured
// length follows no clock, so only values count).
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "testkit/testkit_fixtures.h"
#include "driver/audiodriver.h"
#include "sdl/sdl_audio.h"
#include "sdl/sdl_platform.h"
#include "sdl/sdltest_window.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_tempdir.h"

namespace {

constexpr int kFrequency = 44100;
constexpr int16_t kLevel = 10000;

void putLE(std::string& s, uint32_t nValue, int nBytes) {
    for (int i = 0; i < nBytes; ++i) s += static_cast<char>((nValue >> (8 * i)) & 0xFF);
}

// A 16-bit stereo PCM WAV file of constant samples.
std::string constantWav(int nFrames, int16_t nLevel) {
    const uint32_t nData = static_cast<uint32_t>(nFrames) * 4;
    std::string s = "RIFF";
    putLE(s, 36 + nData, 4);
    s += "WAVEfmt ";
    putLE(s, 16, 4);
    putLE(s, 1, 2);  // PCM
    putLE(s, 2, 2);
    putLE(s, kFrequency, 4);
    putLE(s, kFrequency * 4, 4);
    putLE(s, 4, 2);
    putLE(s, 16, 2);
    s += "data";
    putLE(s, nData, 4);
    for (int i = 0; i < nFrames * 2; ++i) putLE(s, static_cast<uint16_t>(nLevel), 2);
    return s;
}

class SDLAudioTest : public testkit::ResourceTest {
protected:
    void SetUp() override {
        ResourceTest::SetUp();
        add("tone.wav", constantWav(kFrequency, kLevel));
        add("short.wav", constantWav(kFrequency / 50, kLevel));
        m_driver.setFrequency(kFrequency);
        m_driver.setChunkSize(512);
    }
    void TearDown() override {
        m_driver.shutdown();
        SDL_Quit();
    }
    // Opens the mixer into a fresh capture file.
    void open() {
        testkit::writeFileBytes(capturePath(), "");
        ASSERT_TRUE(m_driver.init()) << SDL_GetError();
        m_app.useAudioDriver(&m_driver, true);
    }
    // Closes the mixer; the distinct sample values it wrote, left and right.
    std::vector<std::set<int16_t>> capture() {
        m_driver.shutdown();
        const std::string sBytes = testkit::readFileBytes(capturePath());
        std::vector<std::set<int16_t>> values(2);
        for (size_t i = 0; i + 1 < sBytes.size(); i += 2) {
            int16_t n = 0;
            std::memcpy(&n, sBytes.data() + i, 2);
            values[(i / 2) % 2].insert(n);
        }
        return values;
    }
    Zep::SmartPtr<Sample> sample(const char* szName) { return m_driver.getSampleLoader()->load(szName); }
    std::string capturePath() const { return m_dir.file("out.raw"); }

    testkit::ScopedEnv m_audioEnv{"SDL_AUDIODRIVER", "disk"};
    testkit::ScopedEnv m_fileEnv{"SDL_DISKAUDIOFILE", m_dir.file("out.raw").c_str()};
    testkit::ScopedEnv m_delayEnv{"SDL_DISKAUDIODELAY", "5"};
    SDLAudioDriver m_driver;
};

TEST_F(SDLAudioTest, VolumeAndPanningScaleTheOutputAndAPausedDriverWritesSilence) {
    using Values = std::vector<std::set<int16_t>>;
    const struct {
        float fVolume;
        bool bPaused;
        int nRight;
        Values values;
    } kCases[] = {
        {1.0f, false, 255, {{kLevel}, {kLevel}}},
        {0.5f, false, 255, {{kLevel / 2}, {kLevel / 2}}},
        {1.0f, true, 255, {{}, {}}},
        {1.0f, false, 0, {{kLevel}, {}}},
    };
    for (const auto& c : kCases) {
        open();
        m_driver.setSoundVolume(c.fVolume);
        m_driver.setPaused(c.bPaused);
        m_driver.setPanning(2, 255, c.nRight);
        EXPECT_EQ(m_driver.playSample(sample("tone"), true, 2), 2);
        EXPECT_TRUE(m_driver.isChannelPlaying(2));
        SDL_Delay(100);
        // Silence before the start may or may not be captured.
        Values values = capture();
        EXPECT_FALSE(values[0].empty());
        for (auto& channel : values) channel.erase(0);
        EXPECT_EQ(values, c.values) << c.fVolume << " " << c.bPaused << " " << c.nRight;
    }
}

// The fault mended: a sample that got no channel was filed under -1.
TEST_F(SDLAudioTest, AFailedPlayRecordsNoChannel) {
    open();
    Zep::SmartPtr<Sample> pTone = sample("tone");
    for (int i = 0; i < SDLAudioDriver::kChannels; ++i) EXPECT_EQ(m_driver.playSample(pTone, true, -1), i);
    EXPECT_EQ(m_driver.playSample(pTone, true, -1), -1);
    EXPECT_EQ(m_driver.getChannelSampleName(-1), "");
    EXPECT_EQ(m_driver.getChannelSampleName(3), "tone");
    m_driver.stopChannel(3, 0.0f);
    EXPECT_EQ(m_driver.getChannelSampleName(3), "");
    m_driver.stopChannel(4, 0.25f);
    EXPECT_EQ(Mix_FadingChannel(4), MIX_FADING_OUT);
    // SDL_mixer marks a pause with the tick count: one at tick 0 reads as none.
    SDL_Delay(2);
    m_driver.setPaused(true);
    EXPECT_EQ(m_driver.playSample(pTone, false, 3), 3);
    EXPECT_EQ(Mix_Paused(3), 1);
    m_driver.setSoundMuted(true);
    EXPECT_EQ(m_driver.playSample(pTone, false, -1), -1);
}

// A finished one-shot sample stays filed until the sweep after 15 s.
TEST_F(SDLAudioTest, FinishedChannelsAreForgottenAtTheFifteenSecondSweep) {
    open();
    const int nChannel = m_driver.playSample(sample("short"), false, -1);
    ASSERT_GE(nChannel, 0);
    for (int i = 0; i < 200 && m_driver.isChannelPlaying(nChannel); ++i) SDL_Delay(10);
    ASSERT_FALSE(m_driver.isChannelPlaying(nChannel));
    m_driver.update(14.9f);
    EXPECT_EQ(m_driver.getChannelSampleName(nChannel), "short");
    m_driver.update(0.2f);
    EXPECT_EQ(m_driver.getChannelSampleName(nChannel), "");
}

// A looping track restarts in update until stopMusic; the track's own volume
// scales the music volume. Tracks free their reader with them (the sanitizer
// build checks that at exit).
TEST_F(SDLAudioTest, LoopingMusicRestartsUntilStoppedAndTrackVolumeScales) {
    open();
    Zep::SmartPtr<Music> pTrack = m_driver.getMusicLoader()->load("short");
    pTrack->setVolume(0.5f);
    m_driver.playMusic(pTrack, true);
    m_driver.setMusicVolume(0.5f);
    EXPECT_EQ(Mix_VolumeMusic(-1), 32);
    for (int i = 0; i < 200 && m_driver.isMusicPlaying(); ++i) SDL_Delay(10);
    ASSERT_FALSE(m_driver.isMusicPlaying());
    m_driver.update(0.0f);
    EXPECT_TRUE(m_driver.isMusicPlaying());
    m_driver.stopMusic(0.0f);
    m_driver.update(0.0f);
    EXPECT_FALSE(m_driver.isMusicPlaying());
}

TEST_F(SDLAudioTest, SettingsReachTheMixerInItsUnits) {
    open();
    m_driver.setSoundVolume(0.5f);
    EXPECT_EQ(Mix_Volume(3, -1), 64);
    m_driver.setSoundVolume(2.0f);
    EXPECT_EQ(Mix_Volume(3, -1), 128);
    Zep::SmartPtr<Sample> pTone = sample("tone");
    pTone->setVolume(0.25f);
    EXPECT_EQ(pTone->getVolume(), 0.25f);
    int nFrequency = 0;
    uint16_t nFormat = 0;
    int nChannels = 0;
    Mix_QuerySpec(&nFrequency, &nFormat, &nChannels);
    EXPECT_EQ(std::vector<int>({nFrequency, nFormat, nChannels}), std::vector<int>({kFrequency, AUDIO_S16LSB, 2}));
    EXPECT_EQ(Mix_AllocateChannels(-1), 16);
}

TEST_F(SDLAudioTest, ChunkSizeFollowsTheFrequencyUnlessSet) {
    const struct {
        int nFrequency;
        int nChunk;
        int nChosen;
    } kCases[] = {{22050, -1, 2048}, {44100, -1, 4096}, {44100, 0, 4096}, {11025, 2048, 2048}, {22050, 1, 1}};
    for (const auto& c : kCases) {
        SDLAudioDriver driver;
        driver.setFrequency(c.nFrequency);
        driver.setChunkSize(c.nChunk);
        EXPECT_EQ(driver.chooseChunkSize(), c.nChosen) << c.nFrequency << " " << c.nChunk;
    }
}

TEST_F(SDLAudioTest, MissingSoundsAndAudioOffGiveTheirAnswers) {
    open();
    const struct {
        std::function<void()> load;
        const char* szMessage;
    } kCases[] = {
        {[&] { sample("nothing"); }, "SDLSample::Sample : Resource nothing not found ["},
        {[&] { m_driver.getMusicLoader()->load("nothing"); }, "SDLMusic::Music : Resource nothing not found"},
    };
    for (const auto& c : kCases) {
        try {
            c.load();
            ADD_FAILURE() << c.szMessage;
        } catch (const Zep::ResourceException& e) {
            EXPECT_EQ(std::string(e.getMessage()).rfind(c.szMessage, 0), 0u) << e.getMessage();
        }
    }
    m_app.useAudioDriver(&m_driver, false);
    EXPECT_EQ(sample("nothing")->getVolume(), 0.0f);
    EXPECT_EQ(m_driver.playSample(sample("tone"), false, -1), -1);
    EXPECT_FALSE(m_driver.isChannelPlaying(0));
    m_app.useAudioDriver(&m_driver, true);
}

// No sound device: the driver says so in the log and answers false.
TEST(SDLAudioFallback, AnUnknownDriverFailsWithTheLogLine) {
    testkit::TempDir dir;
    testkit::AppFiles files(dir);
    testkit::ScopedEnv env("SDL_AUDIODRIVER", "nonesuch");
    SDLAudioDriver driver;
    EXPECT_FALSE(driver.init());
    SDL_Quit();
    EXPECT_EQ(files.logText(), "A: Audio init failed : No available audio device\n");
}

// The whole start-up on the SDL platform (dummy video): the driver's line,
// then the application goes on with the silent driver.
TEST(SDLAudioFallback, TheStartUpGoesOnWithTheSilentDriver) {
    testkit::TempDir dir;
    testkit::AppFiles files(dir);
    testkit::ScopedEnv video("SDL_VIDEODRIVER", "dummy");
    testkit::ScopedEnv audio("SDL_AUDIODRIVER", "nonesuch");
    testkit::TestApp app;
    auto pPlatform = std::make_unique<SDLPlatform>();
    pPlatform->setVideoDriver(std::make_unique<sdltest::WindowOnly>());
    pPlatform->setAudioDriver(std::make_unique<SDLAudioDriver>());
    app.setPlatform(std::move(pPlatform));
    app.initSystems(800, 600, 0, Zep::SmartPtr<Image>());
    const std::string sLines =
        "A: Audio init failed : No available audio device\nG: Init audio : FAIL\nG: Using dummy audio driver\n";
    EXPECT_NE(files.logText().find(sLines), std::string::npos) << files.logText();
    EXPECT_FALSE(app.isAudioEnabled());
    EXPECT_NE(dynamic_cast<DummyAudioDriver*>(app.getAudioDriver()), nullptr);
    app.setPlatform(nullptr);
}

}  // namespace
