// The driver interfaces, the silent audio driver and the OS helpers.
#include <filesystem>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include <zep2/error.h>
#include <zep2/memstream.h>

#include "driver/audiodriver.h"
#include "testkit/testkit_fixtures.h"
#include "base/keys.h"
#include "base/oshelpers.h"
#include "driver/platform.h"
#include "testkit/testkit_audio.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_video.h"
#include "driver/videodriver.h"

using testkit::FakeAudioDriver;
using testkit::FakePlatform;
using testkit::FakeVideoDriver;

TEST(KeyCodes, MatchTheValuesThePlatformDelivers) {
    EXPECT_EQ((std::vector<int>{13, 27, 285, 293, 271, 308}),
              (std::vector<int>{Key::Return, Key::Escape, Key::F4, Key::F12, Key::KPEnter, Key::LAlt}));
    EXPECT_EQ(Key::letter('Q'), 113);
    EXPECT_EQ((std::vector<unsigned>{0x100u, 0x200u, 0x300u, 0xC0u}),
              (std::vector<unsigned>{KeyMod::LAlt, KeyMod::RAlt, KeyMod::Alt, KeyMod::Ctrl}));
    // Mouse buttons travel as one-bit masks.
    const int kMasks[] = {0, 1, 2, 4, 8, 16, 0};
    for (int n = 0; n <= 6; ++n) EXPECT_EQ(kMasks[n], MouseButton::maskOf(n)) << n;
}

TEST(VideoDriverInterface, DepthConversionsAndScaleFactor) {
    // Depths to flags go through the settings' test; a 15-bit request comes back as 16.
    for (const auto& [nFlags, nBpp] : {std::pair{4, 16}, {8 | 1, 24}, {12, 32}, {1, 0}})
        EXPECT_EQ(nBpp, IVideoDriver::flagsToBpp(nFlags)) << nFlags;
    // The scale factor goes from the platform to its driver.
    FakePlatform platform;
    platform.setVideoDriver(std::make_unique<FakeVideoDriver>());
    platform.setScaleFactor(2.0f);
    EXPECT_FLOAT_EQ(platform.getVideoDriver()->getScaleFactor() + platform.getScaleFactor(), 4.0f);
}

using DummyAudio = testkit::ResourceTest;

TEST_F(DummyAudio, StartsPlaysNothingClampsVolumesAndAsksTheRegistryForTheNameAsItIs) {
    add("ms_theme", "");
    DummyAudioDriver audio;
    EXPECT_EQ(audio.getSampleLoader(), nullptr);
    EXPECT_TRUE(audio.init());
    ASSERT_TRUE(audio.getSampleLoader() && audio.getMusicLoader());
    EXPECT_TRUE(audio.getMusicLoader()->exists("ms_theme"));
    EXPECT_FALSE(audio.getMusicLoader()->exists("ms_other") || audio.getSampleLoader()->exists(nullptr));

    Zep::SmartPtr<Sample> pSample(audio.getSampleLoader()->load("sfx_click"));
    EXPECT_TRUE(pSample->getName() == "" && pSample->getVolume() == 1.0f);
    EXPECT_EQ(audio.playSample(pSample, false, -1), -1);
    EXPECT_FALSE(audio.isChannelPlaying(0) || audio.isMusicPlaying());

    // Settings above 255 arrive as more than 1.0; the driver clamps.
    const std::pair<float, float> kVolumes[] = {
        {300.0f / 255.0f, 1.0f}, {-0.5f, 0.0f}, {std::numeric_limits<float>::quiet_NaN(), 0.0f}, {0.5f, 0.5f}};
    for (const auto& [fSet, fKept] : kVolumes) {
        audio.setSoundVolume(fSet);
        audio.setMusicVolume(fSet);
        EXPECT_FLOAT_EQ(audio.getSoundVolume(), fKept) << fSet;
        EXPECT_FLOAT_EQ(audio.getMusicVolume(), fKept) << fSet;
    }

    audio.shutdown();
    EXPECT_EQ(audio.getSampleLoader(), nullptr);
}

class MusicTrackTest : public testkit::AppTest<> {
protected:
    void SetUp() override {
        for (const char* szName : {"ms_a", "ms_b", "ms_c"}) audio.m_musicLoader.m_setNames.insert(szName);
        m_app.useAudioDriver(&audio);
    }
    void TearDown() override { m_app.useAudioDriver(nullptr, false); }
    // The track ends and a frame passes.
    void trackEnds() {
        audio.m_bMusicPlaying = false;
        audio.update(0.016f);
    }

    FakeAudioDriver audio;
};

TEST_F(MusicTrackTest, SameTrackIsNotRestartedWhilePlayingStopForgetsItAndPlaylists) {
    audio.playMusicTrack("ms_a", true);
    audio.playMusicTrack("ms_a", true);
    EXPECT_EQ(audio.m_vMusic, std::vector<std::string>{"ms_a"});
    EXPECT_STREQ(audio.getCurrentMusicName().c_str(), "ms_a");
    // Once it stopped, asking again starts it again.
    audio.m_bMusicPlaying = false;
    audio.playMusicTrack("ms_a", true);
    audio.stopMusicTrack();
    EXPECT_EQ(audio.m_vMusic.size(), 2u);
    EXPECT_STREQ(audio.getCurrentMusicName().c_str(), "");
    EXPECT_EQ(audio.m_vMusicStops, std::vector<float>{0.0f});  // without a fade
    EXPECT_THROW(audio.playMusicTrack("ms_missing", false), Zep::ResourceException);

    // In a playlist two tracks alternate strictly.
    audio.m_vMusic.clear();
    audio.playMusicList(Zep::List<Zep::String>{"ms_a", "ms_b"});
    for (int i = 0; i < 20; ++i) trackEnds();
    ASSERT_EQ(audio.m_vMusic.size(), 21u);
    for (size_t i = 1; i < audio.m_vMusic.size(); ++i) EXPECT_NE(audio.m_vMusic[i], audio.m_vMusic[i - 1]);

    // One repeats; a list of one name twice must not hang drawing another.
    audio.m_vMusic.clear();
    audio.playMusicList(Zep::List<Zep::String>{"ms_c"});
    trackEnds();
    EXPECT_EQ(audio.m_vMusic, (std::vector<std::string>{"ms_c", "ms_c"}));
    audio.playMusicList(Zep::List<Zep::String>{"ms_c", "ms_c"});
    trackEnds();
    EXPECT_EQ(audio.m_vMusic.back(), "ms_c");
}

TEST(OsHelpers, Encode6VectorsGroupsDecodingAndUrls) {
    const uint8_t man[] = {'M', 'a', 'n'}, high[] = {0xFB, 0xFF, 0xBF}, one[] = {0xFF};
    // URL-safe symbols; a part group is padded, nothing gives nothing.
    EXPECT_EQ(std::string(encodeBytes6(man, 3).c_str()) + " " + encodeBytes6(high, 3).c_str() + " " +
                  encodeBytes6(one, 1).c_str() + " " + encodeBytes6(man, 2).c_str() + encodeBytes6(man, 0).c_str() +
                  encodeBytes6(nullptr, 3).c_str(),
              "TWFu -_-_ _wAA TWEA");

    const uint8_t bytes[] = {0, 1, 2, 250, 251, 252, 7};
    Zep::String sText = encodeBytes6(bytes, 7);
    ASSERT_EQ(sText.length(), 12);
    // Two padding zeros come back after the seventh byte.
    EXPECT_EQ(testutil::bytesOf(*decodeBytes6(sText.c_str())), (testutil::Bytes{0, 1, 2, 250, 251, 252, 7, 0, 0}));
    EXPECT_EQ(decodeBytes6(sText.left(8).c_str())->length(), 6);

    // URLs: the query separator, and the hook that stands in for the browser.
    EXPECT_STREQ(addURLQuerySeparator("http://example.invalid/r").c_str(), "http://example.invalid/r?");
    EXPECT_STREQ(addURLQuerySeparator("http://example.invalid/r?a=1").c_str(), "http://example.invalid/r?a=1&");
    std::vector<std::string> vOpened;
    setOpenURLHook([&](const char* szURL) { vOpened.emplace_back(szURL); });
    openURL("http://example.invalid/?x=1&y=$(rm)");
    setOpenURLHook(nullptr);
    EXPECT_EQ(vOpened, std::vector<std::string>{"http://example.invalid/?x=1&y=$(rm)"});
}

TEST(UserDataFolder, CreatedBelowXdgDataHomeElseHomeAndEmptyWhenUnwritable) {
    testkit::TempDir dir;
    {
        testkit::ScopedEnv env("XDG_DATA_HOME", (dir.path() + "share").c_str());
        Zep::String sFolder = getUserDataFolder("Halvorn\\TukHarbor");
        EXPECT_STREQ(sFolder.c_str(), (dir.path() + "share/Halvorn/TukHarbor/").c_str());
        EXPECT_TRUE(std::filesystem::is_directory(dir.path() + "share/Halvorn/TukHarbor"));
        // Asking again finds the folders in place.
        EXPECT_STREQ(getUserDataFolder("Halvorn/TukHarbor").c_str(), sFolder.c_str());
        EXPECT_STREQ(getUserDataFolder(nullptr).c_str(), (dir.path() + "share/").c_str());
    }
    {
        testkit::ScopedEnv xdg("XDG_DATA_HOME", "relative/path");
        testkit::ScopedEnv home("HOME", dir.path().c_str());
        EXPECT_STREQ(getUserDataFolder("A").c_str(), (dir.path() + ".local/share/A/").c_str());
    }
    testkit::writeFileBytes(dir.file("plainfile"), "x");
    // A folder cannot be made below a regular file, whoever runs the test.
    testkit::ScopedEnv env("XDG_DATA_HOME", (dir.path() + "plainfile/share").c_str());
    EXPECT_STREQ(getUserDataFolder("Halvorn\\TukHarbor").c_str(), "");
    // Its name all the same, for reading what may be there; nothing is made.
    EXPECT_STREQ(getUserDataFolderName("Halvorn\\TukHarbor").c_str(),
                 (dir.path() + "plainfile/share/Halvorn/TukHarbor/").c_str());
    {
        testkit::ScopedEnv xdg("XDG_DATA_HOME", "relative/path");
        testkit::ScopedEnv home("HOME", (dir.path() + "nohome").c_str());
        EXPECT_STREQ(getUserDataFolderName("A\\\\B/").c_str(), (dir.path() + "nohome/.local/share/A/B/").c_str());
        EXPECT_STREQ(getUserDataFolderName(nullptr).c_str(), (dir.path() + "nohome/.local/share/").c_str());
        EXPECT_FALSE(std::filesystem::exists(dir.path() + "nohome"));
        testkit::ScopedEnv noHome("HOME", nullptr);
        EXPECT_STREQ(getUserDataFolderName("A").c_str(), "");
        // No home at all: no folder, not one made in the current folder.
        EXPECT_STREQ(getUserDataFolder("NoSuchDataFolder").c_str(), "");
        EXPECT_FALSE(std::filesystem::exists("NoSuchDataFolder"));
    }
    int nAvailable = -1, nTotal = -1;  // known on this system
    EXPECT_TRUE(getMemoryStatusMB(&nAvailable, &nTotal));
    EXPECT_TRUE(nTotal > 0 && nAvailable >= 0 && nAvailable <= nTotal) << nAvailable << "/" << nTotal;
}
