// The window base on a real X server (Xvfb): the window SDL opens, its title
// as X has it, the desktop size read before the first mode, full screen with
// letterbox bars, and a 16-bit screen.
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>

#include "sprite/gamemode.h"
#include "testkit/testkit_fixtures.h"
#include "sdl/sdl_image.h"
#include "sdl/sdl_platform.h"
#include "sdl/sdl_videobase.h"
#include "sdl/sdltest_window.h"
#include "testkit/testkit_xvfb.h"

namespace {

template <int W, int H>
class XvfbTest : public testkit::AppTest<> {
protected:
    void SetUp() override { ASSERT_TRUE(m_server.isRunning()) << "Xvfb did not start"; }
    void TearDown() override { SDL_Quit(); }
    bool logHas(const char* szLine) { return m_files.logText().find(szLine) != std::string::npos; }

    testkit::XvfbServer m_server{W, H, 24};
    sdltest::WindowOnly m_video;
};

using XvfbWideWindow = XvfbTest<1280, 800>;
using XvfbSquareWindow = XvfbTest<1024, 768>;
using XvfbLargeWindow = XvfbTest<1600, 1200>;

TEST_F(XvfbWideWindow, ARealWindowShowsItsCaptionAndALongOneShowsEmpty) {
    Zep::SmartPtr<Image> pIcon(new SDLImage(16, 16, true, false));
    pIcon->fill(Color(200, 100, 0, 255));
    m_video.init(pIcon);
    m_video.setCaption("Tuk Harbor");
    ASSERT_TRUE(m_video.setVideoMode(800, 600, 0));
    const SDL_Surface* pScreen = SDL_GetVideoSurface();
    ASSERT_NE(pScreen, nullptr);
    EXPECT_EQ(std::vector<int>({pScreen->w, pScreen->h}), std::vector<int>({800, 600}));
    EXPECT_EQ(testkit::windowTitle(), "Tuk Harbor");
    EXPECT_TRUE(testkit::windowHasIcon());
    m_video.setCaption("Tuk Harbor \xC3\xBC");
    EXPECT_EQ(testkit::windowTitle("_NET_WM_NAME"), "Tuk Harbor \xC3\xBC");
    const std::string sLong(1001, 'x');
    m_video.setCaption(sLong.c_str());
    EXPECT_EQ(testkit::windowTitle(), "");
    EXPECT_EQ(m_video.getCaption().c_str(), sLong);
    EXPECT_TRUE(logHas("D: Got 800x600 Wnd, 32 BPP\n")) << m_files.logText();
}

// SDL reports the mode's size as the current one after a mode: the desktop
// was read before and kept, so full screen still letterboxes.
TEST_F(XvfbWideWindow, FullScreenTakesTheDesktopModeWithBars) {
    ASSERT_TRUE(m_video.setVideoMode(800, 600, 0));
    ASSERT_TRUE(m_video.toggleFullscreen());
    EXPECT_TRUE(logHas("D: Got 1280x800 Full, 32 BPP\n")) << m_files.logText();
    EXPECT_EQ(m_video.getMargin(), 80);
    ASSERT_EQ(m_video.getBars().size(), 2u);
    EXPECT_EQ(m_video.getBars()[1], Rect(800, 0, 880, 600));
}

TEST_F(XvfbSquareWindow, ASixteenBitModeGivesASixteenBitScreen) {
    ASSERT_TRUE(m_video.setVideoMode(800, 600, 0x4));
    EXPECT_TRUE(logHas("D: Got 800x600 Wnd, 16 BPP\n")) << m_files.logText();
    EXPECT_EQ(m_video.getDesktopDepth(), 16);
    EXPECT_EQ(m_video.getFlags(), 0x4);
}

// A window reaching past (1280, 1024) is centred on the display, unless the
// command line says "--hidden".
TEST_F(XvfbLargeWindow, AWindowPastTheBoxIsCentredUnlessHidden) {
    m_app.setCommandLine({"tuk", "--hidden"});
    ASSERT_TRUE(m_video.setVideoMode(1400, 1100, 0));
    EXPECT_EQ(testkit::windowOrigin(), std::vector<int>({0, 0}));
    m_app.setCommandLine({"tuk"});
    ASSERT_TRUE(m_video.setVideoMode(1400, 1100, 0));
    EXPECT_EQ(testkit::windowOrigin(), std::vector<int>({100, 50}));
}

// X button events sent to SDL's window come out of the pump at the pointer's
// logical position; the horizontal wheel's buttons 6 and 7 are dropped.
class PressLog : public GameMode {
public:
    PressLog() { setFlags(kActive); }
    bool onMouseDown(int b, int x, int y) override {
        m_vPresses.push_back(std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
        return true;
    }
    std::vector<std::string> m_vPresses;
};

TEST_F(XvfbWideWindow, XButtonEventsReachThePumpAndWheelButtonsSixAndSevenAreDropped) {
    auto pPlatform = std::make_unique<SDLPlatform>();
    SDLPlatform& platform = *pPlatform;
    m_app.setPlatform(std::move(pPlatform));
    platform.init();
    platform.setScaleFactor(2.0f);
    ASSERT_NE(SDL_SetVideoMode(400, 300, 0, SDL_SWSURFACE), nullptr) << SDL_GetError();
    PressLog mode;
    m_app.stackMode(&mode);
    ASSERT_TRUE(testkit::sendButtonPresses(41, 61, {6, 7, 1}));
    for (int i = 0; i < 200 && mode.m_vPresses.empty(); ++i) {
        SDL_Delay(5);
        platform.processEvents();
    }
    EXPECT_EQ(mode.m_vPresses, std::vector<std::string>({"1 20,30"}));
    m_app.unstackMode(&mode);
    m_app.setPlatform(nullptr);
}

}  // namespace
