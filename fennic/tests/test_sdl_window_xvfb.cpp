// The window base on a real X server (Xvfb): the window SDL opens, its title
// as X has it, the desktop size read before the first mode, full screen with
// letterbox bars, and a 16-bit screen.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xutil.h>

#include <string>

#include "imagetest_util.h"
#include "sdl_videobase.h"
#include "testkit_xvfb.h"

namespace {

// A device that is only SDL's window.
class WindowOnly : public SDLVideoDriverBase {
public:
    void init(const Zep::SmartPtr<Image>&) override {}
    void shutdown() override {}
    const char* getName() const override { return "WindowOnly"; }
    int getDesktopDepth() const override { return readScreenDepth(); }
    void render() override {}
    void flush() override {}
    void clear(const Color&) override {}
    void clearScreen(const Color&) override {}
    void onDisplayChanged() override {}
    void setOrigin(int, int) override {}
    void prepareImage(Image*) override {}

protected:
    void createDevice() override {}
    bool trySetMode(int w, int h, int bpp, bool bFull, int, uint32_t nSdlFlags) override {
        return SDL_SetVideoMode(w, h, bpp, SDL_SWSURFACE | nSdlFlags | (bFull ? SDL_FULLSCREEN : 0)) != nullptr;
    }
    Point getDesktopSize() override { return readDesktopSize(); }
};

// The window's title as X has it: WM_NAME (in the locale's encoding, read
// with XFetchName) or another text property such as _NET_WM_NAME (UTF-8);
// "?" when it has none.
std::string titleFromX(const char* szProperty = nullptr) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) != 1) return "?";
    Display* pDisplay = info.info.x11.display;
    const Window window = info.info.x11.wmwindow;
    std::string sTitle = "?";
    info.info.x11.lock_func();
    if (!szProperty) {
        char* szName = nullptr;
        if (XFetchName(pDisplay, window, &szName) && szName) sTitle = szName;
        if (szName) XFree(szName);
    } else {
        XTextProperty property{};
        if (XGetTextProperty(pDisplay, window, &property, XInternAtom(pDisplay, szProperty, False))) {
            sTitle.assign(reinterpret_cast<const char*>(property.value), property.nitems);
            XFree(property.value);
        }
    }
    info.info.x11.unlock_func();
    return sTitle;
}

template <int W, int H>
class XvfbTest : public imagetest::AppTest<> {
protected:
    void SetUp() override { ASSERT_TRUE(m_server.isRunning()) << "Xvfb did not start"; }
    void TearDown() override { SDL_Quit(); }
    bool logHas(const char* szLine) { return m_files.logText().find(szLine) != std::string::npos; }

    testkit::XvfbServer m_server{W, H, 24};
    WindowOnly m_video;
};

using XvfbWideWindow = XvfbTest<1280, 800>;
using XvfbSquareWindow = XvfbTest<1024, 768>;

TEST_F(XvfbWideWindow, ARealWindowShowsItsCaptionAndALongOneShowsEmpty) {
    m_video.setCaption("Tuk Harbor");
    ASSERT_TRUE(m_video.setVideoMode(800, 600, 0));
    const SDL_Surface* pScreen = SDL_GetVideoSurface();
    ASSERT_NE(pScreen, nullptr);
    EXPECT_EQ(std::vector<int>({pScreen->w, pScreen->h}), std::vector<int>({800, 600}));
    EXPECT_EQ(titleFromX(), "Tuk Harbor");
    m_video.setCaption("Tuk Harbor \xC3\xBC");
    EXPECT_EQ(titleFromX("_NET_WM_NAME"), "Tuk Harbor \xC3\xBC");
    const std::string sLong(1001, 'x');
    m_video.setCaption(sLong.c_str());
    EXPECT_EQ(titleFromX(), "");
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

}  // namespace
