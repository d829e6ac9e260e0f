// Motion, transform, alpha and colour controllers on the fake clock: each
// update gets its dt from the test.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "effects/effectstest_util.h"
#include "effects/sc_fade.h"
#include "effects/sc_motion.h"

namespace {

using effectstest::EffectsTest;
using effectstest::messageOf;
using effectstest::picture;

class MotionTest : public EffectsTest {};

std::string colorText(const Color& c) {
    return std::to_string(c.getRed()) + "," + std::to_string(c.getGreen()) + "," + std::to_string(c.getBlue()) + "," +
           std::to_string(c.getAlpha());
}

TEST_F(MotionTest, LinearPathsMoveByIncrementsThatAddUp) {
    Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 10.0f, 10.0f);
    pSprite->addController(std::make_unique<SCLinearPath>(Point(100.0f, 0.0f), 2.0f, SCLinearPath::kDuration));
    pSprite->updateControllers(1.0f);
    EXPECT_EQ(Point(60.0f, 10.0f), pSprite->getPosition());
    pSprite->addController(std::make_unique<SCLinearPath>(Point(100.0f, 0.0f), 2.0f, SCLinearPath::kDuration));
    for (int i = 0; i < 3; ++i) pSprite->updateControllers(1.0f);
    EXPECT_EQ(Point(210.0f, 10.0f), pSprite->getPosition());
    EXPECT_EQ(0, pSprite->getControllerCount());

    // The absolute form starts at from.
    pSprite->addController(
        std::make_unique<SCLinearPath>(Point(0.0f, 0.0f), Point(30.0f, 40.0f), 50.0f, SCLinearPath::kSpeed));
    EXPECT_EQ(Point(0.0f, 0.0f), pSprite->getPosition());
    EXPECT_FLOAT_EQ(1.0f, pSprite->getController(0)->getTimer()->getDuration());
    pSprite->updateControllers(0.5f);
    EXPECT_EQ(Point(15.0f, 20.0f), pSprite->getPosition());
}

TEST_F(MotionTest, LinearPathDurations) {
    EXPECT_FLOAT_EQ(100000.0f, SCLinearPath(Point(30.0f, 40.0f), 0.0f, SCLinearPath::kSpeed).getTimer()->getDuration());
    EXPECT_FLOAT_EQ(2.5f, SCLinearPath(Point(30.0f, 40.0f), 2.5f, SCLinearPath::kDuration).getTimer()->getDuration());
    EXPECT_EQ("Unsupported eType",
              messageOf<Zep::Exception>([] { SCLinearPath path(Point(1.0f, 1.0f), 1.0f, 2); }));
}

TEST_F(MotionTest, ParabolaRunsThroughItsEnds) {
    Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 0.0f, 0.0f);
    pSprite->addController(std::make_unique<SCVerticalParabola>(Point(0.0f, 100.0f), Point(60.0f, 100.0f), 40.0f, 1.0f));
    pSprite->updateControllers(0.5f);
    // a = -60 / 0.33333334, b = -a: y = 100 + a/2 - a/4.
    EXPECT_NEAR(30.0f, pSprite->getPosition().x, 1e-4);
    EXPECT_NEAR(55.0f, pSprite->getPosition().y, 1e-3);
    pSprite->updateControllers(0.5f);
    EXPECT_NEAR(60.0f, pSprite->getPosition().x, 1e-4);
    EXPECT_NEAR(100.0f, pSprite->getPosition().y, 1e-3);
    EXPECT_EQ(0, pSprite->getControllerCount());
}

TEST_F(MotionTest, ScaleReachesItsEndOnTheUpdateThatEndsIt) {
    Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 0.0f, 0.0f);
    auto* pScale = attach(*pSprite, std::make_unique<SCScale>(1.0f, 3.0f, 2.0f, 0.5f, 1.0f));
    EXPECT_FALSE(pScale->update(0.5f, pSprite));
    EXPECT_EQ(Point(2.0f, 1.25f), pSprite->getScalePoint());
    EXPECT_TRUE(pScale->update(0.75f, pSprite));
    EXPECT_EQ(Point(3.0f, 0.5f), pSprite->getScalePoint());
}

// Start, peak and end of the bounce, and the inputs that have no curve.
TEST_F(MotionTest, GrowBounceClampsItsRatiosAndJumpsWithoutACurve) {
    struct Case {
        float fStart, fPeak, fEnd, fDuration;
        float fAtStart;  // after start (NaN: not set, stays 1)
        float fAtEnd;
    };
    const Case aCases[] = {
        {0.5f, 2.0f, 1.0f, 1.0f, 0.5f, 1.0f},   // the plain bounce
        {4.0f, 2.0f, 1.0f, 1.0f, 2.0f, 1.0f},   // start above peak: ratio clamped to 1
        {0.5f, 0.0f, 1.5f, 1.0f, 1.0f, 1.5f},   // peak 0: the end at once
        {0.5f, 2.0f, 1.5f, 0.0f, 1.0f, 1.5f},   // no duration: the end at once
    };
    for (const Case& c : aCases) {
        Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 0.0f, 0.0f);
        auto* pBounce = attach(*pSprite, std::make_unique<SCGrowBounce>(c.fStart, c.fPeak, c.fEnd, c.fDuration));
        EXPECT_NEAR(c.fAtStart, pSprite->getScaleX(), 1e-4) << c.fStart << " " << c.fPeak;
        const bool bDone = pBounce->update(c.fDuration > 0.0f ? c.fDuration : 0.1f, pSprite);
        EXPECT_TRUE(bDone);
        EXPECT_NEAR(c.fAtEnd, pSprite->getScaleX(), 1e-4) << c.fStart << " " << c.fPeak;
        EXPECT_FALSE(std::isnan(pSprite->getScaleY()));
        pSprite->removeAllControllers();
    }
}

TEST_F(MotionTest, SinusoidsStartHalfWayAndNeverEnd) {
    Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 0.0f, 0.0f);
    auto* pScale = attach(*pSprite, std::make_unique<SCSinusoidScale>(1.0f, 3.0f, 1.0f, 0.0f));
    EXPECT_FLOAT_EQ(2.0f, pSprite->getScaleX());
    EXPECT_FALSE(pScale->update(0.25f, pSprite));
    EXPECT_NEAR(3.0f, pSprite->getScaleX(), 1e-5);  // sin(0.25 * 6.28) just below 1

    auto* pAlpha = attach(*pSprite, std::make_unique<SCSinusoidAlpha>(0.2f, 0.6f, 1.0f, 0.0f));
    EXPECT_FALSE(pAlpha->update(0.0f, pSprite));
    EXPECT_FLOAT_EQ(0.4f, pSprite->getAlpha());
    EXPECT_FALSE(pAlpha->update(1000.0f, pSprite));

    auto* pWobble = attach(*pSprite, std::make_unique<SCSinusoidRotate>(10.0f, 5.0f, 1.0f, 0.0f));
    EXPECT_FLOAT_EQ(10.0f, pSprite->getRotation());
    EXPECT_TRUE(pWobble->update(0.0f, pSprite));  // no duration: done at once
}

TEST_F(MotionTest, RotationTakesTheShorterWayOrTurnsForEver) {
    Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 0.0f, 0.0f);
    auto* pTurn = attach(*pSprite, std::make_unique<SCRotate>(350.0f, 10.0f, 1.0f));
    EXPECT_FLOAT_EQ(350.0f, pSprite->getRotation());
    EXPECT_FALSE(pTurn->update(0.5f, pSprite));
    EXPECT_FLOAT_EQ(360.0f, pSprite->getRotation());
    EXPECT_TRUE(pTurn->update(0.5f, pSprite));
    pSprite->removeAllControllers();

    pSprite->setRotation(30.0f);
    auto* pSpin = attach(*pSprite, std::make_unique<SCRotate>(90.0f));
    EXPECT_FLOAT_EQ(30.0f, pSprite->getRotation());
    EXPECT_FALSE(pSpin->update(2.0f, pSprite));
    EXPECT_FLOAT_EQ(210.0f, pSprite->getRotation());
}

TEST_F(MotionTest, VerticalProgressRevealsFromTheBottom) {
    m_app.addImage("bar", picture(8, 20, 0, 0), true);
    Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 0.0f, 0.0f);
    Zep::SmartPtr<Image> pBefore = pSprite->getImage();
    auto* pNone = attach(*pSprite, std::make_unique<SCVerticalProgress>(0, 10.0f, "bar"));
    EXPECT_TRUE(pNone->update(0.5f, pSprite));
    EXPECT_EQ(pBefore, pSprite->getImage());
    pSprite->removeAllControllers();

    auto* pGrow = attach(*pSprite, std::make_unique<SCVerticalProgress>(10, 20.0f, "bar"));
    EXPECT_FALSE(pGrow->update(0.25f, pSprite));
    EXPECT_EQ("8x5 ins 0,-15 data 0,0 8x5", imagetest::layout(*pSprite->getImage()));
    EXPECT_TRUE(pGrow->update(1.0f, pSprite));
    EXPECT_EQ(10, pSprite->getImage()->getHeight());
}

TEST_F(MotionTest, OneShotControllersAreRemovedAfterTheirFirstUpdate) {
    Zep::SmartPtr<Image> pOther = picture(6, 6, 0, 0);
    Zep::SmartPtr<Image> pFirst = picture(10, 10, 0, 0);
    Zep::SmartPtr<Sprite> pSprite = m_pMode->addSprite(new Sprite(pFirst, Point(0.0f, 0.0f), 0));
    pSprite->addController(std::make_unique<SCSetZOrder>(7));
    pSprite->addController(std::make_unique<SCSetPosition>(Point(5.0f, 6.0f)));
    pSprite->addController(std::make_unique<SCSetInsPoint>(Image::kAlignCenterX | Image::kAlignCenterY));
    pSprite->addController(std::make_unique<SCReplaceImage>(pOther));
    EXPECT_EQ(4, pSprite->getControllerCount());
    pSprite->updateControllers(0.0f);
    EXPECT_EQ(0, pSprite->getControllerCount());
    EXPECT_EQ(7, pSprite->getZOrder());
    EXPECT_EQ(Point(5.0f, 6.0f), pSprite->getPosition());
    EXPECT_EQ(pOther, pSprite->getImage());
    EXPECT_EQ(Point(5.0f, 5.0f), pFirst->getInsPoint());
}

TEST_F(MotionTest, BlinkPeriodsAndTotal) {
    struct Case {
        float fTotal, fElapsed;
        bool bVisible, bDone;
    };
    const Case aCases[] = {
        {0.0f, 0.0f, true, false},  {0.0f, 0.49f, true, false}, {0.0f, 0.5f, false, false},
        {0.0f, 0.99f, false, false}, {0.0f, 1.0f, true, false}, {0.0f, 1000.2f, true, false},
        {2.0f, 2.0f, true, false},  {2.0f, 1.7f, false, false}, {2.0f, 2.01f, true, true},
    };
    for (const Case& c : aCases) {
        Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 0.0f, 0.0f);
        auto* pBlink = attach(*pSprite, std::make_unique<SCBlink>(0.5f, 0.5f, c.fTotal));
        EXPECT_EQ(c.bDone, pBlink->update(c.fElapsed, pSprite)) << c.fTotal << " " << c.fElapsed;
        EXPECT_EQ(c.bVisible, pSprite->isVisible()) << c.fTotal << " " << c.fElapsed;
        pSprite->removeAllControllers();
    }
}

TEST_F(MotionTest, FadesTintsAndPalettes) {
    Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 0.0f, 0.0f);
    // Relative fades multiply the current alpha on every update: they compound.
    auto* pFade = attach(*pSprite, std::make_unique<SCLinearFade>(1.0f, 0.5f, 1.0f, false));
    pFade->update(0.5f, pSprite);
    EXPECT_FLOAT_EQ(0.75f, pSprite->getAlpha());
    EXPECT_TRUE(pFade->update(0.5f, pSprite));
    EXPECT_FLOAT_EQ(0.375f, pSprite->getAlpha());
    pSprite->removeAllControllers();

    auto* pTint = attach(*pSprite, std::make_unique<SCLinearTint>(Color(0, 100, 200, 10), Color(200, 100, 0, 20), 1.0f));
    EXPECT_EQ("0,100,200,10", colorText(pSprite->getColor()));
    pTint->update(0.5f, pSprite);
    EXPECT_EQ("100,100,100,255", colorText(pSprite->getColor()));
    EXPECT_TRUE(pTint->update(0.5f, pSprite));
    EXPECT_EQ("200,100,0,20", colorText(pSprite->getColor()));
    pSprite->removeAllControllers();

    Zep::SmartPtr<Image> pRamp =
        imagetest::makeImage(256, 1, false, [](int x, int) { return Color(static_cast<uint8_t>(x), 0, 0, 255); }).get();
    auto* pPalette = attach(*pSprite, std::make_unique<SCApplyPalette>(pRamp, 1.0f));
    pPalette->update(0.0f, pSprite);
    EXPECT_EQ(0, pSprite->getColor().getRed());
    EXPECT_TRUE(pPalette->update(1.0f, pSprite));
    EXPECT_EQ(255, pSprite->getColor().getRed());
}

// Channels that swing outside 0..255 stop at the edge instead of wrapping.
TEST_F(MotionTest, PulseColorClampsItsChannels) {
    Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 0.0f, 0.0f);
    auto* pPulse = attach(*pSprite, std::make_unique<SCPulseColor>(Color(250, 10, 128, 0), Color(200, 60, 128, 0), 1.0f));
    pPulse->update(0.0f, pSprite);
    EXPECT_EQ("250,10,128,255", colorText(pSprite->getColor()));
    pPulse->update(1.5707964f, pSprite);  // sin = 1: towards other
    EXPECT_EQ("200,60,128,255", colorText(pSprite->getColor()));
    EXPECT_FALSE(pPulse->update(3.1415927f, pSprite));  // sin = -1: past base
    EXPECT_EQ("255,0,128,255", colorText(pSprite->getColor()));
}

}  // namespace
