// The mug: its making, fill sequences and assertions, the layers' z-orders,
// private straws, the pulsing shines, and leaving the level.
#include <cmath>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "actors/barfixture.h"

namespace {

using bartest::BarTest;

class MugTest : public BarTest {
protected:
    // The upper and lower layers' sequences.
    static std::string fill(const Mug& mug) {
        return std::string(mug.getUpperLayer()->getSequenceName().c_str()) + " " +
               mug.getLowerLayer()->getSequenceName().c_str();
    }
};

}  // namespace

TEST_F(MugTest, MadeByNameOnlyForTheThreeGlasses) {
    const struct {
        const char* szName;
        int nBeverage;  // -1: no mug
    } kRows[] = {{"vaso", 0}, {"stem_martini", 1}, {"stem", 2}, {"", -1}, {"Vaso", -1}, {"stem_", -1}};
    for (const auto& row : kRows) {
        Zep::SmartPtr<Mug> pMug = Mug::create(m_pMode, row.szName);
        EXPECT_EQ(pMug.notNULL() ? pMug->getBeverage() : -1, row.nBeverage) << row.szName;
    }
    Zep::SmartPtr<Mug> pMug = Mug::create(m_pMode, "stem");
    int x = 0, y = 0, z = 0;
    pMug->getPosition(&x, &y, &z);
    EXPECT_EQ(std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(z), "-100,-100,-1000");
    EXPECT_TRUE(m_pMode->containsSprite(pMug->getSprite().get()));
}

TEST_F(MugTest, FillSequencesFollowContentsAndTheCleanFlag) {
    Zep::SmartPtr<Mug> pMug = Mug::create(m_pMode, "stem");
    EXPECT_EQ(pMug->getCapacity(), 2);
    EXPECT_TRUE(pMug->isClean() && pMug->isEmpty());
    EXPECT_EQ(fill(*pMug), "stand_limpio_layer_up_2 stand_limpio_layer_down_2");
    EXPECT_STREQ(pMug->getSprite()->getSequenceName().c_str(), "drink_layer_1");
    EXPECT_STREQ(pMug->getFrontLayer()->getSequenceName().c_str(), "drink_layer_3");
    pMug->setLiquids(Zep::List<int>{3, 4});
    pMug->fill();
    EXPECT_EQ(fill(*pMug), "stand_lleno_layer_up_2 stand_lleno_layer_down_2");
    EXPECT_TRUE(pMug->isClean() && pMug->isFull());
    EXPECT_EQ(pMug->getUpperLayer()->getColor(), Color(139, 0, 255, 255));
    EXPECT_EQ(pMug->getLowerLayer()->getColor(), Color(255, 130, 16, 255));
    pMug->startDrinking();
    pMug->drink();
    EXPECT_EQ(fill(*pMug), "stand_medio_layer_up_2 stand_medio_layer_down_2");
    EXPECT_FALSE(pMug->isClean());
    pMug->drink();
    EXPECT_EQ(fill(*pMug), "stand_vacio_layer_up_2 stand_vacio_layer_down_2");
    // Liquids 2 and 5 share their colour.
    EXPECT_EQ(Mug::liquidColor(2), Mug::liquidColor(5));
    EXPECT_EQ(Mug::liquidColor(5), Color(255, 255, 0, 255));
}

TEST_F(MugTest, BrokenPreconditionsThrowTheirAssertions) {
    const struct {
        const char* szCase;
        std::function<void(Mug&)> call;
        const char* szMessage;
    } kRows[] = {
        {"third sip", [](Mug& m) { m.drink(), m.drink(), m.drink(); }, "Assertion failed : !isEmpty()"},
        {"sip, not drinking", [](Mug& m) { m.stopDrinking(), m.drink(); }, "Assertion failed : isDrinking()"},
        {"drinking empty", [](Mug& m) { m.setContents(0), m.startDrinking(); }, "Assertion failed : !isEmpty()"},
        {"below 0", [](Mug& m) { m.setContents(-1); }, "Assertion failed : nContents >= 0"},
        {"above capacity", [](Mug& m) { m.setContents(3); }, "Assertion failed : nContents <= m_nCapacity"},
    };
    for (const auto& row : kRows) {
        Zep::SmartPtr<Mug> pMug = fullMug();
        pMug->startDrinking();
        EXPECT_EQ(testutil::messageOf([&] { row.call(*pMug); }), row.szMessage) << row.szCase;
    }
}

TEST_F(MugTest, PlacedBelowItsZWithShinesUnderTheBase) {
    Zep::SmartPtr<Mug> pMug = fullMug();
    pMug->addDecoration();
    pMug->setHighlight(true);
    pMug->setHighlight(true);
    ASSERT_EQ(pMug->getShines().getCount(), 2);
    pMug->setPosition(200, 300, 100);
    pMug->setScale(0.5f);
    const struct {
        const char* szLayer;
        Sprite* pSprite;
        int z;
    } kRows[] = {{"base", pMug->getSprite().get(), 97},       {"lower", pMug->getLowerLayer().get(), 98},
                 {"upper", pMug->getUpperLayer().get(), 98},  {"straw", pMug->getStraw().get(), 98},
                 {"decoration", pMug->getDecoration().get(), 98}, {"front", pMug->getFrontLayer().get(), 99},
                 {"shine 0", pMug->getShines().get(0).get(), 96}, {"shine 1", pMug->getShines().get(1).get(), 96}};
    for (const auto& row : kRows) {
        EXPECT_EQ(row.pSprite->getZOrder(), row.z) << row.szLayer;
        EXPECT_EQ(row.pSprite->getX(), 200) << row.szLayer;
    }
    // Shine 34 high over a 30-high glass: (34 - 30 + 15) / 2 = 9 lower.
    EXPECT_EQ(pMug->getShines().get(0)->getY(), 309);
    EXPECT_FLOAT_EQ(pMug->getDecoration()->getScaleY(), 0.5f);
    // The decoration stands on the glass's bottom centre, on its own copy.
    const Zep::SmartPtr<Image> pDecoration = pMug->getDecoration()->getImage();
    EXPECT_EQ(pDecoration->getInsPoint(), Point(10, 30));
    EXPECT_EQ(m_app.getImage(pDecoration->getName().c_str())->getInsPoint(), Point(0, 0));
    pMug->setHighlight(false);
    EXPECT_EQ(pMug->getShines().getCount(), 0);
}

TEST_F(MugTest, ShinesPulseTogetherOrInTurn) {
    const struct {
        int nLower, nUpper;
        bool bEmpty;
        float fTime;
        float fAlpha0, fAlpha1;
        Color tint1;
    } kRows[] = {
        {1, 1, false, 0.25f, 1.0f, 0.0f, Color(0, 255, 0, 255)},    // one colour: shine 1 stays out
        {0, 4, false, 0.25f, 1.0f, 0.0f, Color(139, 0, 255, 255)},  // two: they take turns
        {0, 4, false, 0.75f, 0.0f, 1.0f, Color(139, 0, 255, 255)},
        {0, 4, true, 0.25f, 1.0f, 0.0f, Color(255, 255, 255, 255)},  // empty: untinted, one pulse
    };
    for (const auto& row : kRows) {
        Zep::SmartPtr<Mug> pMug = fullMug();
        pMug->setLiquids(Zep::List<int>{row.nLower, row.nUpper});
        if (row.bEmpty) pMug->setContents(0);
        pMug->setHighlight(true);
        pMug->update(row.fTime);
        const Zep::SmartPtr<AnimSprite> pShine0 = pMug->getShines().get(0), pShine1 = pMug->getShines().get(1);
        EXPECT_NEAR(pShine0->getAlpha(), row.fAlpha0, 1e-5f) << row.fTime;
        EXPECT_NEAR(pShine1->getAlpha(), row.fAlpha1, 1e-5f) << row.fTime;
        EXPECT_EQ(pShine1->getColor(), row.tint1);
    }
}

TEST_F(MugTest, StrawsOfEachMugKeepTheirOwnInsertionPoint) {
    Zep::SmartPtr<Mug> pA = Mug::create(m_pMode, "vaso"), pB = Mug::create(m_pMode, "stem_martini");
    EXPECT_EQ(pA->getStraw()->getImage()->getInsPoint(), Point(10, 30));
    EXPECT_EQ(pB->getStraw()->getImage()->getInsPoint(), Point(12, 40));
    EXPECT_EQ(m_app.getImage("vaso_x_pajita_der")->getInsPoint(), Point(0, 0));
    // Seats 0 to 2 are ordinary, 3 on VIP.
    m_pMode->getLevelData().m_nOrdinarySpots = 3;
    pA->placeStraw(1, 1);
    EXPECT_FALSE(pA->isStrawPlaced());
    pA->placeStraw(1, -1);
    pA->placeStraw(4, 1);
    EXPECT_STREQ(pA->getStraw()->getImage()->getName().c_str(), "vaso_x_pajita_izq");
    pB->placeStraw(3, 0);
    pB->placeStraw(3, -1);
    EXPECT_STREQ(pB->getStraw()->getImage()->getName().c_str(), "vaso_x_pajitavip");
    EXPECT_EQ(pB->getStraw()->getImage()->getInsPoint(), Point(27, 34));
    EXPECT_FLOAT_EQ(pB->getStraw()->getScaleX(), -1.0f);
    EXPECT_FLOAT_EQ(pB->getStraw()->getScaleY(), 1.0f);
    EXPECT_EQ(m_app.getImage("vaso_x_pajitavip")->getInsPoint(), Point(0, 0));
}

TEST_F(MugTest, LeavingTheLevelDetachesAndOutlivingTheModeIsSafe) {
    Zep::SmartPtr<Mug> pMug = fullMug();
    pMug->setHighlight(true);
    m_pMode->removeMug(pMug);
    EXPECT_EQ(m_pMode->getLevelData().m_lMugs.getCount(), 0);
    EXPECT_FALSE(m_pMode->containsSprite(pMug->getStraw()));
    EXPECT_FALSE(m_pMode->containsSprite(pMug->getShines().get(0).get()));
    // A mug still on a mode that is gone: dropping it reaches no mode.
    Zep::SmartPtr<Mug> pLast;
    {
        PlayMode mode(nullptr, nullptr, "scene0", 0, 0, 1);
        pLast = Mug::create(&mode, "vaso");
        pLast->setHighlight(true);
    }
    pLast = nullptr;
}
