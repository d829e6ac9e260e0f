#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "sprite/gamemode.h"
#include "sprite/sc_base.h"
#include "sprite/sprite.h"
#include "sprite/spritetest_util.h"
#include "testkit/testkit_sprites.h"

namespace {

using spritetest::picture;
using testkit::EventLog;
using testkit::ScriptedController;

std::string rectText(const Rect& r) { return r.toString().c_str(); }

class SpriteTest : public spritetest::AppWithScreen<> {};

TEST_F(SpriteTest, ScreenBoxesFollowAnchorScaleAndRotation) {
    const std::tuple<float, float, float, const char*> aCases[] = {  // scales, rotation, box
        {1.0f, 1.0f, 0.0f, "(80, 90 - 120, 110)"},  {2.0f, 2.0f, 0.0f, "(60, 80 - 140, 120)"},
        {1.0f, 1.0f, 360.0f, "(80, 90 - 120, 110)"}, {1.0f, 1.0f, 90.0f, "(90, 80 - 110, 120)"},
        {0.5f, 3.0f, 0.0f, "(90, 70 - 110, 130)"},
    };
    for (const auto& [fScaleX, fScaleY, fRotation, szBounds] : aCases) {
        Zep::SmartPtr<Sprite> pSprite = new Sprite(picture(40, 20, 20, 10), 100, 100, 0);
        pSprite->setScale(fScaleX, fScaleY);
        pSprite->setRotation(fRotation);
        EXPECT_EQ(szBounds, rectText(pSprite->getBoundingRect())) << fScaleX << " " << fRotation;
        EXPECT_EQ(szBounds, rectText(pSprite->getDrawRect()));
    }
}

TEST_F(SpriteTest, BoxTestExcludesTheRightEdge) {
    Zep::SmartPtr<Sprite> pSprite = new Sprite(picture(40, 20, 20, 10), 100, 100, 0);
    EXPECT_EQ((std::vector<bool>{true, false, true, false}),
              (std::vector<bool>{pSprite->hitTestBox(Point(119.9f, 100.0f)), pSprite->hitTestBox(Point(120.0f, 100.0f)),
                                 pSprite->hitTestBoxAt(80, 90), pSprite->hitTestBoxAt(79, 90)}));
}

// Rotated 90 degrees, scaled 2 and pixel-scaled 2: the local pixel (30, 5),
// 10 right and 5 up of the anchor, lands 5 right and 10 below the position.
TEST_F(SpriteTest, ScreenToLocalFindsThePixelOfATransformedSprite) {
    Zep::SmartPtr<Image> pImage = picture(40, 20, 20, 10);
    pImage->setPixelScale(2.0f);
    Zep::SmartPtr<Sprite> pSprite = new Sprite(pImage, 100, 100, 0);
    pSprite->setRotation(90.0f);
    pSprite->setScale(2.0f);

    const Point q = pSprite->screenToLocal(Point(104.5f, 110.5f));
    EXPECT_EQ(imagetest::pattern(30, 5), pImage->getPixel(static_cast<int>(q.x), static_cast<int>(q.y)));
    pSprite->setRotation(33.0f);
    pSprite->setScale(1.5f, 0.75f);
    const Point there = pSprite->localToScreen(Point(7.25f, 13.5f));
    const Point here = pSprite->screenToLocal(there);
    EXPECT_NEAR(7.25f, here.x, 1e-3);
    EXPECT_NEAR(13.5f, here.y, 1e-3);
}

TEST_F(SpriteTest, ANullImageHidesAndAnImageShows) {
    Zep::SmartPtr<Sprite> pNone = new Sprite(Zep::SmartPtr<Image>(), 10, 20, 0);
    EXPECT_FALSE(pNone->isVisible());
    Zep::SmartPtr<Sprite> pBare = new Sprite(10, 20, 0);
    EXPECT_TRUE(pBare->isVisible() && pBare->getWidth() == 0);
    EXPECT_EQ("(0, 0 - 0, 0)", rectText(pBare->getBoundingRect()));
    pNone->setImage(picture(4, 3, 0, 0));
    EXPECT_TRUE(pNone->isVisible());
    EXPECT_EQ(Point(4.0f, 3.0f), pNone->getSize());
    pNone->setVisible(false);
    EXPECT_EQ(Point(0.0f, 0.0f), pNone->getSize());
}

// The shared image's anchor moves, so the picture stays put on screen.
TEST_F(SpriteTest, KeepingTheImageAnchorMovesTheSharedInsertionPoint) {
    Zep::SmartPtr<Image> pImage = picture(40, 20, 20, 10);
    Zep::SmartPtr<Sprite> pSprite = new Sprite(pImage, 100, 100, 0);
    pSprite->setPosition(Point(90.0f, 95.0f), true);
    EXPECT_EQ(Point(10.0f, 5.0f), pImage->getInsPoint());
    EXPECT_EQ("(80, 90 - 120, 110)", rectText(pSprite->getBoundingRect()));
    pSprite->setPosition(50, 50);
    EXPECT_EQ(Point(10.0f, 5.0f), pImage->getInsPoint());
}

TEST_F(SpriteTest, ClippingCutsTheDrawnPictureAndClearingRestoresIt) {
    Zep::SmartPtr<Image> pImage = picture(40, 20, 20, 10);
    Zep::SmartPtr<Sprite> pSprite = new Sprite(pImage, 100, 100, 0);
    pSprite->setClipRect(Rect(100, 0, 800, 600));
    ASSERT_TRUE(pSprite->isClipped());
    EXPECT_EQ("(100, 90 - 120, 110)", rectText(pSprite->getDrawRect()));
    // The cut keeps the picture's pixels at their screen places.
    const Point q = pSprite->screenToLocal(Point(105.0f, 92.0f));
    EXPECT_EQ(imagetest::pattern(25, 2),
              pSprite->getDrawImage()->getPixel(static_cast<int>(q.x), static_cast<int>(q.y)));

    pSprite->setClipRect(Rect(0, 0, 50, 50));
    EXPECT_TRUE(pSprite->getDrawImage().isNULL());
    EXPECT_EQ("(0, 0 - 0, 0)", rectText(pSprite->getBoundingRect()));
    EXPECT_FALSE(pSprite->hitTest(Point(100.0f, 100.0f)));

    pSprite->clearClipRect();
    EXPECT_TRUE(pSprite->getDrawImage() == pImage && !pSprite->isClipped());
    EXPECT_TRUE(pSprite->hitTest(Point(100.0f, 100.0f)));
}

// Mend: the pixel test looks at the pixel that is drawn. The picture is
// opaque on its left half only; clipped to its right half, screen point
// (85, 95) is outside the drawn part, and (105, 95) is a drawn pixel.
TEST_F(SpriteTest, PixelTestOfAClippedSpriteTestsTheDrawnPixel) {
    Zep::SmartPtr<MemImage> pHalf = imagetest::makeImage(40, 20, true, [](int x, int) {
        return Color(9, 9, 9, static_cast<uint8_t>(x < 20 ? 0 : 255));
    });
    pHalf->setInsPoint(20, 10);
    Zep::SmartPtr<Sprite> pSprite = new Sprite(Zep::SmartPtr<Image>(pHalf.get()), 100, 100, 0);
    EXPECT_FALSE(pSprite->hitTestPixel(Point(85.0f, 95.0f), 0));
    EXPECT_TRUE(pSprite->hitTestPixel(Point(105.0f, 95.0f), 0));
    pSprite->setClipRect(Rect(102, 0, 800, 600));
    EXPECT_TRUE(pSprite->hitTestPixel(Point(105.0f, 95.0f), 0));
    EXPECT_FALSE(pSprite->hitTestPixel(Point(101.0f, 95.0f), 0));
    pSprite->setHitTestMode(Sprite::kHitBox);
    EXPECT_TRUE(pSprite->hitTest(Point(105.0f, 95.0f)));
}

// A controller that deletes itself and its neighbour in its update: the
// neighbour goes at once, the controller itself when its update returns, and
// the walk goes on with the one after the neighbour.
TEST_F(SpriteTest, ControllerWalkSurvivesDeletionsDuringUpdate) {
    EventLog log;
    Zep::SmartPtr<Sprite> pSprite = new Sprite(10, 10, 0);
    SpriteController* pNeighbour = nullptr;
    pSprite->addController(std::make_unique<ScriptedController>("a", log));
    SpriteController* pSelf = nullptr;
    pSelf = pSprite->addController(std::make_unique<ScriptedController>("b", log, [&](Sprite& s) {
        s.removeController(pNeighbour);
        s.removeController(pSelf);
        return true;
    }));
    pNeighbour = pSprite->addController(std::make_unique<ScriptedController>("c", log));
    pSprite->addController(std::make_unique<ScriptedController>("d", log, [](Sprite&) { return true; }));

    pSprite->updateControllers(0.1f);
    EXPECT_EQ((EventLog{"a update", "b update", "~c", "~b", "d update", "~d"}), log);
    ASSERT_EQ(1, pSprite->getControllerCount());
    log.clear();
    pSprite->finishControllers();  // the base finish runs update
    EXPECT_EQ((EventLog{"a update"}), log);
    EXPECT_THROW(pSprite->getController(1), Zep::FatalErrorException);
}

// The walk holds the sprite: a controller may drop the last other reference.
TEST_F(SpriteTest, ControllerMayReleaseTheSpriteDuringTheWalk) {
    EventLog log;
    Zep::SmartPtr<Sprite> pSprite = new Sprite(0, 0, 0);
    pSprite->addController(std::make_unique<ScriptedController>("x", log, [&](Sprite&) {
        pSprite = nullptr;
        return true;
    }));
    Sprite* pRaw = pSprite.get();
    pRaw->updateControllers(0.0f);
    EXPECT_EQ((EventLog{"x update", "~x"}), log);
}

TEST_F(SpriteTest, UserDataPointsAndDriverData) {
    Zep::SmartPtr<Sprite> pSprite = new Sprite();
    int nValue = 7;
    pSprite->setData("score", &nValue);
    EXPECT_TRUE(pSprite->hasData("score") && pSprite->getData("score") == &nValue);
    EXPECT_THROW(pSprite->getData("missing"), Zep::FatalErrorException);

    EXPECT_EQ(-1, pSprite->getPointsStamp());
    pSprite->setPoints(Zep::List<Point>{Point(1, 2), Point(3, 4)});
    EXPECT_TRUE(pSprite->getPointsStamp() == 0 && pSprite->getPoints().get(1) == Point(3, 4));

    struct Probe : DrvSpriteData {
        explicit Probe(bool* p) : pDeleted(p) {}
        ~Probe() override { *pDeleted = true; }
        bool* pDeleted;
    };
    bool bDeleted = false;
    pSprite->setDriverData(std::make_unique<Probe>(&bDeleted));
    pSprite = nullptr;
    EXPECT_TRUE(bDeleted);
}

// Mend: a sprite without a mode has nowhere to keep a tooltip; setTooltip
// leaves it without one instead of reaching a null mode.
TEST_F(SpriteTest, TooltipWithoutAModeIsIgnored) {
    Zep::SmartPtr<Sprite> pSprite = new Sprite(picture(10, 10, 0, 0), 5, 5, 0);
    pSprite->setTooltip("Hello");
    EXPECT_EQ(nullptr, pSprite->getTooltipHandle());
    pSprite->removeTooltip();
}

TEST(SpriteOverlap, BoxesOfScaledAndRotatedSprites) {
    Zep::SmartPtr<Image> pImage = new MemImage(20, 10, true);
    pImage->setInsPoint(10, 5);
    Zep::SmartPtr<Sprite> pA = new Sprite(pImage, 100, 100, 0);
    Zep::SmartPtr<Sprite> pB = new Sprite(pImage, 125, 100, 0);
    std::vector<bool> vSeen{pA->overlaps(*pB)};
    pB->setScale(2.0f);
    vSeen.push_back(pA->overlaps(*pB));
    pB->setScale(1.0f);
    pB->setPosition(105.0f, 112.0f);
    vSeen.push_back(pA->overlapsData(*pB));
    pB->setRotation(90.0f);
    vSeen.push_back(pA->overlapsData(*pB));
    EXPECT_EQ((std::vector<bool>{false, true, false, true}), vSeen);
}

}  // namespace
