// The window base's mode search, kept flags, letterbox and caption, driven by
// a device whose trySetMode records each attempt and answers from a script
// (SDL's dummy video driver underneath).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "image/imagetest_util.h"
#include "testkit/testkit_fixtures.h"
#include "sdl/sdl_image.h"
#include "sdl/sdl_platform.h"
#include "sdl/sdl_videobase.h"
#include "sdl/sdltest_window.h"
#include "testkit/testkit_tempdir.h"

namespace {

// "F" or "W", then width x height x depth.
std::string attempt(bool bFull, int w, int h, int bpp) {
    return std::string(bFull ? "F " : "W ") + std::to_string(w) + "x" + std::to_string(h) + "x" + std::to_string(bpp);
}

// The window-only test driver with a scripted desktop and mode list; it
// records every mode it is asked for and accepts only the listed ones.
class ScriptedVideo : public sdltest::WindowOnly {
public:
    const char* getName() const override { return "Scripted"; }
    int getDesktopDepth() const override { return m_nDepth; }

    Point m_desk;
    std::vector<Point> m_vListed;
    std::set<std::string> m_accept;
    std::vector<std::string> m_vAttempts;
    int m_nDepth = 32;

protected:
    bool trySetMode(int w, int h, int bpp, bool bFull, int, uint32_t) override {
        m_vAttempts.push_back(attempt(bFull, w, h, bpp));
        return m_accept.count(m_vAttempts.back()) > 0;
    }
    Point getDesktopSize() override { return m_desk; }
    std::vector<Point> listFullscreenModes() override { return m_vListed; }
};

// The four depths of one size and screen, in order.
std::vector<std::string> depths(bool bFull, int w, int h, std::vector<int> vBpp) {
    std::vector<std::string> v;
    for (int bpp : vBpp) v.push_back(attempt(bFull, w, h, bpp));
    return v;
}

std::vector<std::string> join(std::vector<std::vector<std::string>> vParts) {
    std::vector<std::string> v;
    for (auto& part : vParts) v.insert(v.end(), part.begin(), part.end());
    return v;
}

class SDLVideoBaseTest : public testkit::AppTest<> {
protected:
    void TearDown() override { SDL_Quit(); }
    testkit::ScopedEnv m_env{"SDL_VIDEODRIVER", "dummy"};
    ScriptedVideo m_video;
};

const std::vector<Point> kListed = {Point(1280, 800), Point(1024, 768), Point(800, 600), Point(640, 480)};
const std::vector<int> k32 = {32, 24, 16, 0};
const std::vector<int> k24 = {24, 32, 16, 0};

TEST_F(SDLVideoBaseTest, AttemptSequencesForDesktopsAndFailingDepths) {
    const struct {
        const char* szCase;
        Point desk;
        int nFlags;
        std::set<std::string> accept;
        std::vector<std::string> vAttempts;
        bool bResult;
    } kCases[] = {
        // Exactly 4:3 is not wide: only the asked size, then the window.
        {"4:3", Point(1024, 768), 0x1, {},
         join({depths(true, 800, 600, k32), depths(false, 800, 600, k32)}), false},
        // 16:10: the desktop's own aspect first, equal aspects lower first;
        // every 24-bit attempt fails, 32, 16 and 0 follow before the next size.
        {"16:10", Point(1280, 800), 0x1 | 0x8, {attempt(true, 800, 600, 16)},
         join({depths(true, 1280, 800, k24), depths(true, 800, 600, {24, 32, 16})}), true},
        // A window first; a desktop too small for it skips the window.
        {"small", Point(640, 480), 0x4, {}, depths(true, 800, 600, {16, 24, 32, 0}), false},
        {"unknown desktop", Point(0, 0), 0x0, {attempt(false, 800, 600, 32)}, {attempt(false, 800, 600, 32)}, true},
        {"odd depth", Point(1280, 800), 0x0 | 0xC, {attempt(false, 800, 600, 32)},
         {attempt(false, 800, 600, 32)}, true},
    };
    for (const auto& c : kCases) {
        m_video.m_desk = c.desk;
        m_video.m_vListed = kListed;
        m_video.m_accept = c.accept;
        m_video.m_vAttempts.clear();
        EXPECT_EQ(m_video.setVideoMode(800, 600, c.nFlags), c.bResult) << c.szCase;
        EXPECT_EQ(m_video.m_vAttempts, c.vAttempts) << c.szCase;
    }
}

// The fault mended: the right bar began one column inside the game.
TEST_F(SDLVideoBaseTest, WideFullScreenLetterboxesWithBarsOutsideTheGame) {
    m_video.m_desk = Point(1280, 800);
    m_video.m_vListed = kListed;
    m_video.m_accept = {attempt(true, 1280, 800, 32)};
    ASSERT_TRUE(m_video.setVideoMode(800, 600, 0x1));
    EXPECT_EQ(m_video.getScreenWidth(), 960);
    EXPECT_EQ(m_video.getMargin(), 80);
    ASSERT_EQ(m_video.getBars().size(), 2u);
    EXPECT_EQ(m_video.getBars()[0], Rect(-80, 0, 0, 600));
    EXPECT_EQ(m_video.getBars()[1], Rect(800, 0, 880, 600));
    const std::string sLines = "D: Set 800x600 Full, 0 BPP [log 800x600]\nD: Got 1280x800 Full, 32 BPP\n";
    EXPECT_NE(m_files.logText().find(sLines), std::string::npos) << m_files.logText();
    // A window of the asked size has no bars.
    m_video.m_accept = {attempt(false, 800, 600, 32)};
    ASSERT_TRUE(m_video.toggleFullscreen());
    EXPECT_EQ(m_video.getMargin(), 0);
    EXPECT_TRUE(m_video.getBars().empty());
}

// Full screen adds bit 0 to the kept flags (depth bits asked with it are
// lost); a window keeps the asked flags less bit 0; a failure keeps all.
TEST_F(SDLVideoBaseTest, KeptFlagsSizesAndScale) {
    m_video.m_desk = Point(1280, 1024);
    m_video.m_accept = {attempt(true, 800, 600, 24), attempt(false, 800, 600, 16), attempt(false, 800, 600, 32)};
    m_video.setScaleFactor(2.0f);
    ASSERT_TRUE(m_video.setVideoMode(400, 300, 0x1 | 0x8));
    EXPECT_EQ(m_video.getFlags(), 0x1);
    ASSERT_TRUE(m_video.toggleFullscreen());
    EXPECT_EQ(m_video.getFlags(), 0x0);
    EXPECT_EQ(m_video.m_vAttempts.back(), attempt(false, 800, 600, 32));
    ASSERT_TRUE(m_video.setBitDepth(16));
    EXPECT_EQ(m_video.getFlags(), 0x4);
    m_video.m_accept.clear();
    m_video.m_vAttempts.clear();
    m_video.setFullscreen(false);
    EXPECT_TRUE(m_video.m_vAttempts.empty());
    EXPECT_FALSE(m_video.setVideoMode(640, 480, 0x1));
    EXPECT_EQ(std::vector<int>({m_video.getWidth(), m_video.getHeight(), m_video.getFlags()}),
              std::vector<int>({400, 300, 0x4}));
    int w = 0;
    int h = 0;
    m_video.getSize(&w, &h);
    EXPECT_EQ(std::vector<int>({w, h}), std::vector<int>({400, 300}));
}

TEST_F(SDLVideoBaseTest, APalettedDisplayIsFatal) {
    m_video.m_desk = Point(1280, 1024);
    m_video.m_accept = {attempt(false, 800, 600, 32)};
    m_video.m_nDepth = 8;
    try {
        m_video.setVideoMode(800, 600, 0);
        FAIL();
    } catch (const Zep::FatalErrorException& e) {
        EXPECT_STREQ(e.getMessage(), "Couldn't get a direct color video mode [actual BPP = 8]");
    }
}

TEST_F(SDLVideoBaseTest, CaptionsPastAThousandUtf16UnitsShowEmpty) {
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    const std::string s999(999, 'a');
    const struct {
        std::string sText;
        int nUnits;
        std::string sShown;
    } kCases[] = {
        {"Tuk", 3, "Tuk"},
        {s999 + "\xC3\xBC", 1000, s999 + "\xC3\xBC"},   // two bytes, one unit
        {s999 + "\xF0\x9F\x8E\xB5", 1001, ""},           // four bytes, a pair
        {std::string(1001, 'b'), 1001, ""},
        {"\xFF\xC3", 2, "\xFF\xC3"},                    // malformed bytes count one each
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(SDLVideoDriverBase::countUtf16Units(c.sText.c_str()), c.nUnits);
        m_video.setCaption(c.sText.c_str());
        EXPECT_EQ(m_video.getCaption().c_str(), c.sText);
        char* szTitle = nullptr;
        char* szIcon = nullptr;
        SDL_WM_GetCaption(&szTitle, &szIcon);
        EXPECT_EQ(std::string(szTitle ? szTitle : "?"), c.sShown) << c.nUnits;
    }
}

// Icon and cursor pictures are SDL pictures; any other image is not taken.
TEST_F(SDLVideoBaseTest, IconAndCursorTakeOnlySDLPictures) {
    const Zep::SmartPtr<Image> pSdl(new SDLImage(4, 4, true, true));
    const Zep::SmartPtr<Image> pMem = imagetest::solid(4, 4, true, Color(1, 2, 3, 255));
    for (const Zep::SmartPtr<Image>& pImage : {pSdl, pMem}) {
        const bool bTaken = pImage == pSdl;
        m_video.init(pImage);
        m_video.setCursorImage(pImage.get());
        EXPECT_EQ(m_video.getIcon().get(), bTaken ? pSdl.get() : nullptr);
        EXPECT_EQ(m_video.getCursorImage().get(), bTaken ? pSdl.get() : nullptr);
    }
}

TEST_F(SDLVideoBaseTest, ThePlatformHandsAWindowDriverItselfAndItsScale) {
    SDLPlatform platform;
    platform.setScaleFactor(2.0f);
    auto pVideo = std::make_unique<ScriptedVideo>();
    ScriptedVideo& video = *pVideo;
    platform.setVideoDriver(std::move(pVideo));
    EXPECT_EQ(video.getPlatform(), &platform);
    EXPECT_EQ(video.getScaleFactor(), 2.0f);
}

}  // namespace
