// The textured video driver on a real X server: what the window shows, read
// back with XGetImage, equals the device's back buffer, in 32- and 16-bit
// modes; full screen on a wide screen shows the letterbox bars; a frame that
// changed in one place shows that place and leaves the rest of the window
// as it was.
#include <gtest/gtest.h>

#include <cstdlib>

#include "sdl/sdltest_driver.h"
#include "testkit/testkit_xvfb.h"

using namespace sdltest;

namespace {

using Points = std::vector<std::pair<int, int>>;

class XvfbRender : public DriverTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_server.isRunning()) << "Xvfb did not start";
        DriverTest::SetUp();
    }
    // A grey gradient background, a tinted half-transparent sprite, an
    // additive one and a turned one.
    void drawScene() {
        add(picture(800, 600, false, [](int x, int y) { return Color(x % 256, y % 256, (x + y) % 256, 255); }), 0, 0, 0);
        SpritePtr pTinted = add(flat(64, 64, Color(255, 255, 255, 255)), 100, 100, 1);
        pTinted->setColor(Color(255, 128, 0, 255));
        pTinted->setAlpha(0.5f);
        add(flat(32, 32, Color(90, 90, 90, 255)), 300, 100, 2)->setBlendMode(1);
        SpritePtr pTurned = add(flat(40, 20, Color(0, 0, 255, 255)), 500, 300, 3);
        pTurned->setRotation(30.0f);
        m_pVideo->render();
    }
    std::vector<uint32_t> backBuffer(const Points& vPoints) {
        std::vector<uint32_t> v;
        for (auto [x, y] : vPoints) v.push_back(px(x, y));
        return v;
    }

    testkit::XvfbServer m_server{1280, 800, 24};
};

const Points kChosen = {{0, 0}, {799, 599}, {130, 130}, {310, 110}, {505, 305}, {400, 500}, {100, 163}};

// In 16 bits the screen keeps 5 or 6 bits per channel.
void expectNear(const std::vector<uint32_t>& vGot, const std::vector<uint32_t>& vWant, int nTolerance) {
    ASSERT_EQ(vGot.size(), vWant.size());
    for (size_t i = 0; i < vGot.size(); ++i)
        for (int nShift : {0, 8, 16}) {
            const int a = static_cast<int>((vGot[i] >> nShift) & 0xFF), b = static_cast<int>((vWant[i] >> nShift) & 0xFF);
            EXPECT_LE(std::abs(a - b), nTolerance) << "point " << i << " shift " << nShift;
        }
}

TEST_F(XvfbRender, WindowShowsTheBackBufferIn32Bits) {
    ASSERT_TRUE(m_pVideo->setVideoMode(800, 600, static_cast<int>(VideoFlag::Depth32)));
    EXPECT_EQ(m_pVideo->getDesktopDepth(), 32);
    drawScene();
    EXPECT_EQ(testkit::windowPixels(kChosen), backBuffer(kChosen));
}

// The window is painted over by hand; the next frame, with one sprite
// moved, shows its boxes and nothing else.
TEST_F(XvfbRender, AChangedFrameShowsOnlyItsBoxes) {
    ASSERT_TRUE(m_pVideo->setVideoMode(800, 600, static_cast<int>(VideoFlag::Depth32)));
    add(picture(800, 600, false, [](int x, int y) { return Color(x % 256, y % 256, 60, 255); }), 0, 0, 0);
    SpritePtr pMoving = add(flat(40, 40, Color(255, 128, 0, 255)), 100, 100, 1);
    pMoving->setAlpha(0.5f);
    m_pVideo->render();
    SDL_Surface* pScreen = SDL_GetVideoSurface();
    ASSERT_NE(pScreen, nullptr);
    SDL_FillRect(pScreen, nullptr, SDL_MapRGB(pScreen->format, 255, 0, 255));
    SDL_UpdateRect(pScreen, 0, 0, 0, 0);
    pMoving->setPosition(150, 100);
    m_pVideo->render();
    ASSERT_FALSE(m_pVideo->drawnBoxes().isWholeScreen());
    const Points vInside = {{100, 100}, {120, 120}, {170, 130}, {189, 139}};
    EXPECT_EQ(testkit::windowPixels(vInside), backBuffer(vInside));
    EXPECT_EQ(testkit::windowPixels({{50, 50}, {400, 300}, {799, 599}}),
              std::vector<uint32_t>({0xFF00FF, 0xFF00FF, 0xFF00FF}));
}

TEST_F(XvfbRender, WindowShowsTheBackBufferIn16Bits) {
    ASSERT_TRUE(m_pVideo->setVideoMode(800, 600, static_cast<int>(VideoFlag::Depth16)));
    EXPECT_EQ(m_pVideo->getDesktopDepth(), 16);
    drawScene();
    expectNear(testkit::windowPixels(kChosen), backBuffer(kChosen), 8);
}

// 800 x 600 on 1280 x 800: the frame is drawn at its logical size, 960 x 600
// with bars of 80 columns on both sides, and scaled to the screen once; the
// game's last column is not under the bar.
TEST_F(XvfbRender, FullScreenShowsBlackBarsBesideTheScaledGame) {
    ASSERT_TRUE(m_pVideo->setVideoMode(800, 600, static_cast<int>(VideoFlag::Fullscreen)));
    ASSERT_EQ(std::vector<int>({device().width(), device().height()}), std::vector<int>({960, 600}));
    add(flat(800, 600, Color(255, 255, 255, 255), false), 0, 0);
    m_pVideo->render();
    EXPECT_EQ(backBuffer({{0, 0}, {79, 300}, {80, 300}, {879, 300}, {880, 300}, {959, 599}}),
              std::vector<uint32_t>({0, 0, 0xFFFFFF, 0xFFFFFF, 0, 0}));
    EXPECT_EQ(testkit::windowPixels({{0, 10}, {105, 400}, {108, 400}, {640, 400}, {1171, 400}, {1174, 400}, {1279, 799}}),
              std::vector<uint32_t>({0, 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0, 0}));
}

}  // namespace
