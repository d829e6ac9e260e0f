// The textured driver draws and shows only the boxes that changed: which
// boxes a frame draws for moves, order changes, hiding, edited pictures and
// transparent sprites, when the whole screen is drawn, and that every frame
// equals the same frame drawn whole on a device that has drawn every frame
// whole.
#include <gtest/gtest.h>

#include <string>

#include "sdl/sdltest_driver.h"
#include "testkit/testkit_boxes.h"
#include "testkit/testkit_tempdir.h"
#include "testkit/testkit_texturedvideo.h"

using namespace sdltest;

namespace {

const Color kGrey(120, 130, 140, 255), kRed(255, 0, 0, 255), kBlue(0, 0, 255, 255);

class ChangedDriver : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ASSERT_TRUE(m_pVideo->setVideoMode(800, 600, 0));
        m_pReference = std::make_unique<render::RenderDevice>(800, 600, false);
        // Past the mode's texture reset, as the loop's next frame would be.
        m_app.advanceFrameCount(2);
    }
    // A frame; its boxes as "x0,y0-x1,y1 ..." ("whole", or "" for none). The
    // frame must equal the reference's.
    std::string frame() {
        m_pVideo->render();
        EXPECT_EQ(testkit::compareWithWhole(*m_pVideo, *m_pReference), "");
        const DirtyRects& drawn = m_pVideo->drawnBoxes();
        return drawn.isWholeScreen() ? "whole" : testkit::boxesText(drawn);
    }
    SpritePtr background() {
        return add(picture(800, 600, false, [](int x, int y) { return Color(x % 256, y % 256, 90, 255); }), 0, 0, 0);
    }

    testkit::ScopedEnv m_env{"SDL_VIDEODRIVER", "dummy"};
    std::unique_ptr<render::RenderDevice> m_pReference;
};

TEST_F(ChangedDriver, AMovedSpriteRedrawsAndShowsItsOldAndNewBoxesOnly) {
    background();
    SpritePtr pSprite = add(flat(20, 20, kRed), 100, 100, 1);
    pSprite->setAlpha(0.5f);
    EXPECT_EQ(frame(), "whole");
    const int nPresents = m_pVideo->presentCount();
    EXPECT_EQ(frame(), "");
    EXPECT_EQ(m_pVideo->presentCount(), nPresents);  // nothing to show
    pSprite->setPosition(130, 100);
    // Pixels 99.5 .. 119.5 and 129.5 .. 149.5 with two pixels of margin,
    // five pixels apart: one box.
    EXPECT_EQ(frame(), "97,97-152,122");
    EXPECT_EQ(m_pVideo->presentCount(), nPresents + 1);
    pSprite->setPosition(500, 400);
    EXPECT_EQ(frame(), "127,97-152,122 497,397-522,422");
    EXPECT_EQ(px(510, 410), (m_pReference->pixel(510, 410) & 0xFFFFFFu));
}

TEST_F(ChangedDriver, OrderColourHidingAndAnEditedPictureRedrawTheirBoxes) {
    background();
    Zep::SmartPtr<SDLImage> pRed = flat(40, 40, kRed);
    SpritePtr pA = add(pRed, 200, 200, 1), pB = add(flat(40, 40, kBlue), 220, 220, 2);
    pA->setAlpha(0.6f);
    pB->setAlpha(0.6f);
    frame();
    EXPECT_EQ(frame(), "");
    m_mode.removeSprite(pA);
    pA->setZOrder(3);
    m_mode.addSprite(pA);
    EXPECT_EQ(frame(), "197,197-242,242");  // now after B: A's box
    pB->setColor(Color(0, 255, 0, 255));
    EXPECT_EQ(frame(), "217,217-262,262");
    pB->setVisible(false);
    EXPECT_EQ(frame(), "217,217-262,262");
    EXPECT_EQ(frame(), "");
    m_app.advanceFrameCount(2);
    {
        ImageLock lock(*pRed);
        pRed->writePixel(3, 3, kBlue);
    }
    pRed->onPixelsChanged();
    m_app.advanceFrameCount(2);
    EXPECT_EQ(frame(), "197,197-242,242");
}

// Nothing opaque under it: a whole redraw blends it once more every frame,
// so it is drawn every frame, and the two agree frame after frame.
TEST_F(ChangedDriver, ATranslucentSpriteOverNothingOpaqueIsDrawnEveryFrame) {
    add(flat(10, 10, kGrey, false), 0, 0, 0);
    SpritePtr pHaze = add(flat(30, 30, kRed), 300, 300, 1);
    pHaze->setAlpha(0.3f);
    EXPECT_EQ(frame(), "whole");
    for (int i = 0; i < 4; ++i) EXPECT_EQ(frame(), "297,297-332,332") << i;
}

TEST_F(ChangedDriver, AnAlphaZeroSpriteChangesNothingUntilItShows) {
    background();
    SpritePtr pHidden = add(flat(20, 20, kRed), 400, 300, 1);
    pHidden->setAlpha(0.0f);
    frame();
    pHidden->setPosition(420, 300);
    pHidden->setColor(Color(0, 0, 255, 255));
    EXPECT_EQ(frame(), "");
    pHidden->setAlpha(0.5f);
    EXPECT_EQ(frame(), "417,297-442,322");
}

TEST_F(ChangedDriver, ABlendModeChangeAloneRedrawsTheSprite) {
    background();
    SpritePtr pSprite = add(flat(30, 30, kRed), 100, 100, 1);
    pSprite->setAlpha(0.5f);
    frame();
    EXPECT_EQ(frame(), "");
    pSprite->setBlendMode(1);
    EXPECT_EQ(frame(), "97,97-132,132");
    EXPECT_EQ(frame(), "");
}

// The device draws an outline as a fan in the sprite's colour, whatever its
// picture: a wholly clear one draws nothing until the outline is set.
TEST_F(ChangedDriver, AnOutlineOverAClearPictureIsDrawn) {
    background();
    SpritePtr pSprite = add(flat(16, 16, Color(0, 0, 0, 0)), 200, 200, 1);
    frame();
    EXPECT_EQ(frame(), "");
    pSprite->setColor(kBlue);
    EXPECT_EQ(frame(), "");
    pSprite->setPoints(Zep::List<Point>{Point(0, 0), Point(40, 0), Point(0, 40)});
    EXPECT_EQ(frame(), "whole");
    EXPECT_EQ(px(205, 205), rgb(0, 0, 255));
}

// A 16-bit screen that is locked makes SDL refuse the present's copy: the
// changed boxes stay off the screen until the next frame shows it whole.
TEST_F(ChangedDriver, AFailedPresentShowsTheWholeFrameNext) {
    ASSERT_TRUE(m_pVideo->setVideoMode(800, 600, static_cast<int>(VideoFlag::Depth16)));
    m_app.advanceFrameCount(2);
    background();
    SpritePtr pSprite = add(flat(20, 20, kRed), 100, 100, 1);
    EXPECT_EQ(frame(), "whole");
    SDL_Surface* pScreen = SDL_GetVideoSurface();
    ASSERT_EQ(pScreen->format->BitsPerPixel, 16);
    auto shown = [pScreen](int x, int y) {
        return static_cast<const Uint16*>(pScreen->pixels)[y * pScreen->pitch / 2 + x];
    };
    const Uint16 nRed = static_cast<Uint16>(SDL_MapRGB(pScreen->format, 255, 0, 0));
    EXPECT_EQ(shown(105, 105), nRed);
    const int nPresents = m_pVideo->presentCount();
    pSprite->setPosition(300, 300);
    SDL_LockSurface(pScreen);
    EXPECT_EQ(frame(), "297,297-322,322 97,97-122,122");
    SDL_UnlockSurface(pScreen);
    EXPECT_EQ(m_pVideo->presentCount(), nPresents);
    EXPECT_EQ(shown(305, 305), SDL_MapRGB(pScreen->format, 49, 49, 90));  // the background still
    EXPECT_EQ(frame(), "whole");
    EXPECT_EQ(m_pVideo->presentCount(), nPresents + 1);
    EXPECT_EQ(shown(305, 305), nRed);
    EXPECT_NE(shown(105, 105), nRed);
    EXPECT_EQ(frame(), "");
}

TEST_F(ChangedDriver, DisplayChangesModeChangesAndRedrawAllDrawWhole) {
    background();
    frame();
    EXPECT_EQ(frame(), "");
    m_pVideo->onDisplayChanged();
    EXPECT_EQ(frame(), "whole");
    EXPECT_EQ(frame(), "");
    m_pVideo->setRedrawAll(true);
    EXPECT_EQ(frame(), "whole");
    EXPECT_EQ(frame(), "whole");
    m_pVideo->setRedrawAll(false);
    EXPECT_EQ(frame(), "");
    // A new mode: a new device, black, drawn whole.
    ASSERT_TRUE(m_pVideo->setVideoMode(800, 600, 0));
    m_pReference = std::make_unique<render::RenderDevice>(800, 600, false);
    m_app.advanceFrameCount(2);
    EXPECT_EQ(frame(), "whole");
    EXPECT_EQ(frame(), "");
}

// A driver that sets its mode again while it draws a picture, as a device
// reset in the middle of a frame would.
class ResettingDriver : public D3D7VideoDriver {
public:
    void buildTiles(SDLImage* pImage) override {
        if (m_bResetNext) {
            m_bResetNext = false;
            setVideoMode(getWidth(), getHeight(), getFlags());
        }
        D3D7VideoDriver::buildTiles(pImage);
    }
    bool m_bResetNext = false;
};

class ChangedDriverReset : public ChangedDriver {
protected:
    std::unique_ptr<D3D7VideoDriver> makeDriver() override { return std::make_unique<ResettingDriver>(); }
};

// The device a whole frame is drawn on stays the caller's: a mode set during
// that frame makes the driver a new device of its own and leaves the lent
// one, which holds the whole frame, alone.
TEST_F(ChangedDriverReset, AModeSetWhileDrawingOnALentDeviceLeavesItToTheCaller) {
    add(flat(40, 40, kRed), 100, 100, 1);
    frame();
    auto& driver = static_cast<ResettingDriver&>(*m_pVideo);
    driver.m_bResetNext = true;
    m_pVideo->drawWholeFrameOn(*m_pReference);
    EXPECT_FALSE(driver.m_bResetNext);
    EXPECT_NE(m_pVideo->device(), m_pReference.get());
    EXPECT_EQ(m_pReference->pixel(120, 120) & 0xFFFFFFu, rgb(255, 0, 0));
    EXPECT_EQ(frame(), "whole");
    EXPECT_EQ(px(120, 120), rgb(255, 0, 0));
}

}  // namespace
