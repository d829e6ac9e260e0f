// The barman making the drinks customers order through their balloons, run
// through the play mode, and the ambient figures' motion.
#include <string>

#include <gtest/gtest.h>

#include "actors/actorfixture.h"

namespace {

using bartest::ActorTest;

class BarmanTest : public ActorTest {
protected:
    void SetUp() override {
        ActorTest::SetUp();
        m_pBarman = new Barman(60, 330, 40, -1, m_pMode);
        m_pMode->addBarman(m_pBarman);
        ActionTarget::SpotLink link;
        link.bBarman = true;
        for (int i = 0; i < 3; ++i)
            ActionTarget::create(m_pMode, "glassspot", 50 + 50 * i, 330, 60, Rect(380, 600, 420, 640), 0,
                                 "posavaso_1", link);
    }
    GlassSpot& barSpot(int n) { return *m_pMode->getGlassSpots()[n]; }
    // What the barman's coasters hold: '-' nothing, 'x' a mug.
    std::string spots() {
        std::string s;
        for (int n = 0; n < 3; ++n) s += barSpot(n).hasMug() ? 'x' : '-';
        return s;
    }

    Zep::SmartPtr<Barman> m_pBarman;
};

}  // namespace

TEST_F(BarmanTest, BalloonClickedOrderMadeInThreeSecondsThenServedAndPaid) {
    Character& c = customer("ana", 0);
    ASSERT_TRUE(until(c, Character::kCalling));
    ActionBalloon& balloon = *c.getBalloon();
    balloon.onClick(0, 0, 0);
    std::string sArms;
    int nFrames = 0;
    while (m_pMode->getOrders().getOrders().isEmpty() && nFrames++ < 300) frames();
    for (int nArm : {0, 1}) sArms += std::string(waitress().getArmSprite(nArm)->getSequenceName().c_str()) + " ";
    ASSERT_EQ(m_pMode->getOrders().getOrders().getCount(), 1);
    EXPECT_EQ(waitress().getHeading(), Waitress::kNorth);
    EXPECT_NE(sArms.find("take_n_"), std::string::npos) << sArms;
    EXPECT_FALSE(balloon.canDoAction(0));  // outstanding
    EXPECT_EQ(m_pBarman->getSprite()->getSequenceName(), "work");
    int nWork = 0;
    while (!barSpot(0).hasMug() && nWork++ < 300) frames();
    EXPECT_EQ(nWork, 188);  // 3 s of 16-ms frames, counted from the next one
    const Zep::SmartPtr<Mug> pMug = barSpot(0).getMug();
    EXPECT_TRUE(pMug->isFull() && c.matchesOrder(pMug->getBeverage(), pMug->getLiquids()));
    EXPECT_GE(m_pMode->getLevelData().m_lMugs.indexOf(pMug), 0);
    EXPECT_EQ(m_pBarman->getSprite()->getSequenceName(), "idle");
    EXPECT_EQ(m_pBarman->getSprite()->getScaleX(), -1.0f);
    EXPECT_TRUE(m_pMode->getOrders().getOrders().isEmpty() && balloon.canDoAction(0));
    // The waitress takes it and serves it.
    barSpot(0).onClick(0, 0, 0);
    for (int i = 0; i < 300 && waitress().countCarriedItems() == 0; ++i) frames();
    seat(0).onClick(0, 0, 0);
    for (int i = 0; i < 300 && m_pMode->getLevelData().m_nDayMoney == 0; ++i) frames();
    EXPECT_EQ(m_pMode->getLevelData().m_nDayMoney, 100);
}

TEST_F(BarmanTest, OrdersAreMadeFirstInFirstOut) {
    Character* apCustomers[] = {&waiting("ana", 0), &waiting("ana", 1)};
    for (Character* pCustomer : apCustomers) pCustomer->getBalloon()->completeAction(0);
    // Updates of 0.5 s: the first takes order 0, the seventh places it.
    std::string sSeen;
    for (int i = 0; i < 14; ++i) {
        m_pMode->onUpdate(0.5f);
        sSeen += spots().substr(0, 2);
        for (Character* pCustomer : apCustomers) sSeen += m_pMode->getOrders().isOutstanding(pCustomer) ? "o" : "";
        sSeen += " ";
    }
    EXPECT_EQ(sSeen, "--oo --oo --oo --oo --oo --oo x-o x-o x-o x-o x-o x-o x-o xx ");
    for (int n = 0; n < 2; ++n) {
        const Mug& mug = *barSpot(n).getMug();
        EXPECT_TRUE(apCustomers[n]->matchesOrder(mug.getBeverage(), mug.getLiquids()));
    }
    EXPECT_TRUE(m_pMode->getOrders().getOrders().isEmpty());
}

TEST_F(BarmanTest, WithEveryCoasterTakenHeWaitsUntilTheWaitressTakesOne) {
    for (int n = 0; n < 3; ++n) barSpot(n).putMug(fullMug("stem", 5), true);
    const Zep::SmartPtr<Mug> pTaken = barSpot(1).getMug();
    Character& c = waiting("ana", 0);
    c.getBalloon()->completeAction(0);
    const int nMugs = m_pMode->getLevelData().m_lMugs.getCount();
    for (int i = 0; i < 10; ++i) m_pMode->onUpdate(0.5f);
    EXPECT_EQ(m_pMode->getLevelData().m_lMugs.getCount(), nMugs);
    EXPECT_TRUE(m_pMode->getOrders().isOutstanding(&c));
    EXPECT_EQ(m_pBarman->getSprite()->getSequenceName(), "idle");
    barSpot(1).onClick(0, 0, 0);
    ASSERT_TRUE(runUntil([&] { return waitress().getHandContents(0) == pTaken; }, 0.016f));
    ASSERT_TRUE(barSpot(1).hasMug());
    EXPECT_TRUE(c.matchesOrder(barSpot(1).getMug()->getBeverage(), barSpot(1).getMug()->getLiquids()));
    EXPECT_FALSE(m_pMode->getOrders().isOutstanding(&c));
}

TEST_F(BarmanTest, AnOrderOutlivesItsCustomer) {
    Zep::SmartPtr<Character> pCustomer(&waiting("ana", 0));
    pCustomer->getBalloon()->completeAction(0);
    const int nBeverage = pCustomer->getOrderBeverage();
    const std::string sLiquids =
        std::to_string(pCustomer->getOrderLiquids()[0]) + "," + std::to_string(pCustomer->getOrderLiquids()[1]);
    m_pMode->onCustomerLeaving(pCustomer);
    EXPECT_TRUE(m_pMode->getCharacters().isEmpty() && m_pMode->getOrders().isOutstanding(pCustomer.get()));
    for (int i = 0; i < 7; ++i) m_pMode->onUpdate(0.5f);
    ASSERT_TRUE(barSpot(0).hasMug());
    EXPECT_EQ(barSpot(0).getMug()->getBeverage(), nBeverage);
    EXPECT_EQ(bartest::liquidsOf(*barSpot(0).getMug()), sLiquids);
}

TEST_F(BarmanTest, FiguresMoveAndTurn) {
    Zep::SmartPtr<DancingGirl> pDancer = new DancingGirl(m_app.getAnimation("dancer.anim"), 100, 400, 50, 90, 112);
    m_pMode->addSprite(pDancer->getSprite().get());
    m_pMode->addFigure(pDancer.get());
    Zep::SmartPtr<PathSprite> pWalker =
        new PathSprite(m_app.getAnimation("dancer.anim"), Zep::List<Point>{{100, 100}, {160, 100}, {160, 140}}, 40, 9);
    m_pMode->addFigure(pWalker.get());
    const struct {
        int nDancerX;
        bool bDancerLeft;
        const char* szWalker;  // x,y and 'm' when mirrored
    } kSeconds[] = {{106, false, "140,100"}, {112, true, "160,120"}, {106, true, "143,128m"},
                    {100, true, "110,106m"}, {94, true, "127,100"}, {90, false, "160,107"}, {96, false, "153,135m"}};
    for (const auto& row : kSeconds) {
        m_pMode->onUpdate(1.0f);
        EXPECT_EQ(pDancer->getX(), static_cast<float>(row.nDancerX));
        EXPECT_EQ(pDancer->getSprite()->getScaleX(), row.bDancerLeft ? -1.0f : 1.0f) << row.nDancerX;
        int x = 0, y = 0;
        pWalker->getSprite()->getPosition(&x, &y);
        const bool bMirrored = pWalker->getSprite()->getScaleX() < 0.0f;
        EXPECT_EQ(std::to_string(x) + "," + std::to_string(y) + (bMirrored ? "m" : ""), row.szWalker);
    }
    EXPECT_EQ(pDancer->getSprite()->getSequenceName(), "dance");
    MisterBongos bongos(m_pMode, 40, 420, 380, "1");
    EXPECT_TRUE(bongos.getSprite()->getMode() == m_pMode && m_app.isAnimationCached("bongoman1"));
    EXPECT_EQ(bongos.getSprite()->getSequenceName(), "play");
    EXPECT_EQ(bongos.getSprites().getCount(), 1);
}
