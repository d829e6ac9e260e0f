// The application's service forwarders, checked through the calls that the
// fake platform and drivers record.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <zep2/error.h>

#include "image/memimage.h"
#include "testkit/testkit_fixtures.h"
#include "base/rect.h"
#include "testkit/testkit_audio.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_video.h"
#include "theme/theme.h"

namespace {

using testkit::messageOf;
using Calls = std::vector<std::string>;

class Services : public testkit::AppTest<> {
protected:
    void SetUp() override {
        auto pOwned = std::make_unique<testkit::FakePlatform>();
        platform = pOwned.get();
        platform->setVideoDriver(std::make_unique<testkit::FakeVideoDriver>());
        platform->setAudioDriver(std::make_unique<testkit::FakeAudioDriver>());
        platform->setImageFactory(std::make_unique<MemImageFactory>());
        m_app.setPlatform(std::move(pOwned));
        video = static_cast<testkit::FakeVideoDriver*>(platform->getVideoDriver());
        audio = static_cast<testkit::FakeAudioDriver*>(platform->getAudioDriver());
        for (const char* szName : {"ms_a", "ms_b"}) audio->m_musicLoader.m_setNames.insert(szName);
        m_app.useAudioDriver(audio);
    }

    testkit::FakePlatform* platform = nullptr;
    testkit::FakeVideoDriver* video = nullptr;
    testkit::FakeAudioDriver* audio = nullptr;
};

}  // namespace

TEST(ServicesWithoutPlatform, VideoQueriesAnswerOthersRefuse) {
    ASSERT_EQ(nullptr, GameApp::getInstance());
    GameApp::minimizeApp();  // without an application: nothing
    testkit::TempDir dir;
    testkit::AppFiles files(dir);
    testkit::TestApp app;
    EXPECT_EQ(nullptr, app.getVideoDriver());
    EXPECT_FALSE(app.isFullscreen());
    app.setFullscreen(true);
    EXPECT_EQ(0, app.m_nVideoModeChanges);
    EXPECT_STREQ("", app.getCurrentMusicName().c_str());
    EXPECT_TRUE(app.getTheme().isNULL());
    EXPECT_EQ("GameApp : no platform", messageOf<Zep::FatalErrorException>([&] { app.getTicks(); }));
    EXPECT_EQ("GameApp : no video driver", messageOf<Zep::FatalErrorException>([&] { app.iconify(); }));
    EXPECT_EQ("GameApp : no audio driver",
              messageOf<Zep::FatalErrorException>([&] { app.playSound(Zep::SmartPtr<Sample>()); }));
    EXPECT_EQ("GameApp : no audio driver", messageOf<Zep::FatalErrorException>([&] { app.setSoundVolume(9); }));
}

TEST_F(Services, PlatformForwarders) {
    platform->setTicks(0xFFFFFFF0u);
    m_app.setMousePosition(12, 34);
    int nX = -1, nY = -1;
    m_app.getMousePosition(&nX, nullptr);
    m_app.getMousePosition(nullptr, nullptr);
    EXPECT_EQ((std::vector<int>{-16, 12, -1}), (std::vector<int>{m_app.getTicks(), nX, nY}));
    m_app.getMousePosition(nullptr, &nY);
    EXPECT_EQ(Point(12, nY), m_app.getMousePoint());
    platform->m_setButtons = {2};
    platform->m_setKeys = {293};
    platform->m_nModifiers = 0x300;
    EXPECT_TRUE(!m_app.isMouseButtonDown(1) && m_app.isMouseButtonDown(2) && m_app.isKeyDown(293));
    EXPECT_EQ(0x300u, m_app.getKeyModifiers());
    EXPECT_EQ(0, m_app.getJoystickCount() + m_app.getJoystickAxisCount(0) + m_app.getJoystickButtonCount(0));
    EXPECT_STREQ("", m_app.getJoystickName(0).c_str());
    EXPECT_FALSE(m_app.getJoystickAxis(1, 0) != 0.0f || m_app.isJoystickButtonDown(1, 0));
}

TEST_F(Services, VideoForwardersAndTheModeChangeHook) {
    Zep::SmartPtr<Image> pCursor = m_app.createImage(0, 3, true);  // sizes below 1 count as 1
    EXPECT_EQ(Point(1, 3), pCursor->getDataSize());
    EXPECT_TRUE(pCursor->hasAlpha());
    m_app.setFullscreen(true);
    EXPECT_TRUE(m_app.isFullscreen());
    m_app.toggleFullscreen();
    m_app.iconify();
    m_app.setWindowTitle("Tuk");
    m_app.showCursor(false);
    m_app.setCursor(pCursor);
    EXPECT_EQ(video->m_vCalls, (Calls{"setFullscreen 1", "toggleFullscreen", "iconify", "setCaption Tuk",
                                      "setCursorVisible 0", "setCursorImage"}));
    EXPECT_EQ(3, m_app.m_nVideoModeChanges);
    EXPECT_EQ(pCursor.get(), video->m_pCursorImage);
    EXPECT_FALSE(m_app.isCursorVisible());
    int nW = 0, nH = 0;
    m_app.getScreenSize(&nW, &nH);
    EXPECT_EQ((std::vector<int>{800, 600, 800, 600}),
              (std::vector<int>{m_app.getScreenWidth(), m_app.getScreenHeight(), nW, nH}));

    uint32_t pixels[2] = {0xFF0000FFu, 0xFF00FF00u};
    Zep::SmartPtr<Image> pWrapped =
        m_app.createImageFromPixels(pixels, 2, 1, 32, 8, 0xFFu, 0xFF00u, 0xFF0000u, 0xFF000000u);
    EXPECT_EQ(Point(2, 1), pWrapped->getDataSize());
}

TEST_F(Services, MinimizeLeavesFullScreenFirst) {
    video->m_bFullscreen = true;
    GameApp::minimizeApp();
    EXPECT_EQ(video->m_vCalls, (Calls{"setFullscreen 0", "iconify"}));
    EXPECT_TRUE(m_app.getWasFullscreenFlag());
    video->m_vCalls.clear();
    GameApp::minimizeApp();
    EXPECT_EQ(video->m_vCalls, Calls{"iconify"});
}

TEST_F(Services, SoundsChannelsAndPanning) {
    audio->m_sampleLoader.m_setNames.insert("sfx_click");
    Zep::SmartPtr<Sample> pClick = m_app.getSample("sfx_click");
    audio->m_nNextChannel = 3;
    EXPECT_EQ(3, m_app.playSound(pClick, true, 5));
    audio->m_nNextChannel = -1;
    EXPECT_EQ(-1, m_app.playSound(pClick));  // no channel: panning untouched
    m_app.setSoundPanning(2, 0);
    m_app.setSoundPanning(2, 255);
    m_app.stopSound(4);
    m_app.stopAllSounds();
    ASSERT_EQ(audio->m_vSamples.size(), 2u);
    EXPECT_EQ((std::vector<int>{audio->m_vSamples[0].bLoop, audio->m_vSamples[0].nChannel,
                                audio->m_vSamples[1].bLoop, audio->m_vSamples[1].nChannel}),
              (std::vector<int>{1, 5, 0, -1}));
    EXPECT_EQ(audio->m_vPanning, (std::vector<std::vector<int>>{{3, 255, 255}, {2, 255, 0}, {2, 0, 255}}));
    EXPECT_EQ(audio->m_vStoppedChannels, (std::vector<std::pair<int, float>>{{4, 0.0f}, {-1, 0.0f}}));
}

TEST_F(Services, MusicThroughTheTrackNameAndTheCache) {
    m_app.playMusic("ms_a", true);
    m_app.playMusic("ms_a", true);  // already playing: nothing
    EXPECT_EQ(audio->m_vMusic, Calls{"ms_a"});
    EXPECT_EQ(audio->m_musicLoader.m_vLoaded, Calls{"ms_a"});
    m_app.haltMusic();
    EXPECT_STREQ("ms_a", m_app.getCurrentMusicName().c_str());  // the name stays
    m_app.playMusic("ms_a", false);
    EXPECT_EQ(audio->m_musicLoader.m_vLoaded, Calls{"ms_a"});  // cached
    m_app.stopMusic();
    EXPECT_STREQ("", m_app.getCurrentMusicName().c_str());
    m_app.playMusicObject(m_app.getMusic("ms_b"), false);
    m_app.stopAllAudio();
    EXPECT_EQ(audio->m_vMusic, (Calls{"ms_a", "ms_a", "ms_b"}));
    EXPECT_EQ(audio->m_vMusicStops, (std::vector<float>{0.0f, 0.0f, 0.0f}));
    EXPECT_EQ(audio->m_vStoppedChannels, (std::vector<std::pair<int, float>>{{-1, 0.0f}}));
}

// Volumes are kept raw; the driver gets value / 255 and clamps it itself.
TEST_F(Services, VolumesStoredRawAndClampedByTheDrivers) {
    m_app.setSoundVolume(300);
    m_app.setMusicVolume(-5);
    EXPECT_EQ(300, m_app.getSoundVolume());
    EXPECT_EQ(-5, m_app.getMusicVolume());
    EXPECT_EQ(audio->m_vSoundVolumeCalls, std::vector<float>{static_cast<float>(300 / 255.0)});
    EXPECT_EQ(audio->m_vMusicVolumeCalls, std::vector<float>{static_cast<float>(-5 / 255.0)});
    EXPECT_EQ(std::make_pair(1.0f, 0.0f), std::make_pair(audio->getSoundVolume(), audio->getMusicVolume()));
}

TEST_F(Services, EnvironmentMemoryAndMessageBox) {
    const std::string sLong(3000, 'x');
    ::setenv("FENNIC_TEST_LONG", sLong.c_str(), 1);
    ::unsetenv("FENNIC_TEST_UNSET");
    EXPECT_EQ(sLong, GameApp::getEnvironmentVariable("FENNIC_TEST_LONG").c_str());  // not cut at 1,024
    EXPECT_STREQ("", GameApp::getEnvironmentVariable("FENNIC_TEST_UNSET").c_str());
    ::unsetenv("FENNIC_TEST_LONG");
    EXPECT_GT(GameApp::getTotalMemoryMB(), 0);

    // Outside text is printed as it is, never used as a format.
    ::testing::internal::CaptureStderr();
    GameApp::messageBox("Initialization error", "100%s %n%d done");
    GameApp::messageBox(nullptr, nullptr);
    EXPECT_EQ("Initialization error: 100%s %n%d done\n: \n", ::testing::internal::GetCapturedStderr());
}
