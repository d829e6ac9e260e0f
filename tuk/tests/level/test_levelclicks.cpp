// The level's clicks (the listener a press reaches, pending clicks, the
// hover highlight) and its day clock (mixed orders at half time, closing
// once, the statistics once), in the actors' test bar.
#include <string>

#include "actors/actorfixture.h"
#include "base/keys.h"

namespace {

class LevelClicks : public bartest::ActorTest {
protected:
    // A coaster at (x, 393) in layer z, standing on its point.
    IClickListener* coaster(int x, int z) {
        return ActionTarget::create(m_pMode, "platformjuicer", x, 393, z, Rect(380, 600, 420, 640), 0, "posavaso_1")
            .get();
    }
    // Keeps her busy: a walk to the far end of the area.
    void keepBusy() { m_pMode->walkWaitressTo(210, 410); }
};

// Two coasters over one another: the higher layer wins; on a tie the one
// registered first; a miss and any other button reach nothing.
TEST_F(LevelClicks, OverlappingListenersGiveTheClickToTheHigherLayerThenTheEarlier) {
    const struct {
        int zFirst, zSecond;
        int nWinner;  // 0 the first, 1 the second
    } kRows[] = {{60, 70, 1}, {70, 60, 0}, {65, 65, 0}};
    for (const auto& row : kRows) {
        IClickListener* apSpots[] = {coaster(300, row.zFirst), coaster(305, row.zSecond)};
        EXPECT_EQ(m_pMode->findClickListener(303, 380), apSpots[row.nWinner]) << row.zFirst << " " << row.zSecond;
        for (IClickListener* pSpot : apSpots) m_pMode->removeClickListener(pSpot);
    }
    coaster(300, 60);
    EXPECT_EQ(m_pMode->findClickListener(100, 100), nullptr);
    EXPECT_FALSE(m_pMode->onMouseDown(MouseButton::Left, 100, 100));
    keepBusy();
    EXPECT_FALSE(m_pMode->onMouseDown(MouseButton::Right, 300, 380));
    EXPECT_EQ(m_pMode->getPendingClickCount(), 0);
}

// While she walks, clicks wait, six at most; once she is free the oldest is
// dispatched, one a frame.
TEST_F(LevelClicks, SevenClicksWhileSheIsBusyKeepSixAndTheOldestGoesFirst) {
    coaster(300, 60);
    keepBusy();
    ASSERT_FALSE(m_pMode->canTakeClick());
    for (int i = 0; i < 7; ++i) EXPECT_TRUE(m_pMode->onMouseDown(MouseButton::Left, 300, 380));
    EXPECT_EQ(m_pMode->getPendingClickCount(), PlayMode::kMaxPendingClicks);
    int nFrames = 0;
    while (nFrames < 400 && m_pMode->getPendingClickCount() == 6) {
        EXPECT_FALSE(m_pMode->canTakeClick()) << nFrames++;
        m_pMode->onUpdate(0.05f);
    }
    EXPECT_EQ(m_pMode->getPendingClickCount(), 5);
    EXPECT_EQ(m_pMode->getQueuedCommandCount(), 3);  // the oldest's walk, turn and use
}

// A click waiting for a customer's balloon is dropped when the customer
// leaves before she is free; the others still wait.
TEST_F(LevelClicks, APendingClickOnABalloonThatLeftIsDropped) {
    Character& c = waiting("ana", 0);
    ActionBalloon& balloon = *c.getBalloon();
    keepBusy();
    ASSERT_TRUE(m_pMode->queueClick(&balloon, 0, 0));
    coaster(300, 60);
    ASSERT_TRUE(m_pMode->onMouseDown(MouseButton::Left, 300, 380));
    m_pMode->onCustomerLeaving(&c);
    EXPECT_EQ(m_pMode->getPendingClickCount(), 1);
    for (int i = 0; i < 400 && m_pMode->getPendingClickCount() > 0; ++i) m_pMode->onUpdate(0.05f);
    EXPECT_EQ(m_pMode->getPendingClickCount(), 0);
    EXPECT_TRUE(m_pMode->getOrders().getOrders().isEmpty());  // the balloon's order never placed
}

// The mouse over one coaster lights its mug; moving to the other moves the
// light.
TEST_F(LevelClicks, TheHoverHighlightMovesBetweenTwoCoasters) {
    machine(false, 2, -1);
    Zep::SmartPtr<Mug> apMugs[] = {fullMug(), fullMug()};
    for (int i = 0; i < 2; ++i) m_lCoasters.get(i)->putMug(apMugs[i], true);
    auto lit = [&] {
        std::string s;
        for (const Zep::SmartPtr<Mug>& pMug : apMugs)
            s += !pMug->getShines().isEmpty() && pMug->getShines().getFirst()->isVisible() ? "1" : "0";
        return s;
    };
    std::string sSeen;
    for (int nCoaster : {0, 1, -1}) {
        const Rect r =
            nCoaster < 0 ? Rect(100, 100, 101, 101) : m_lCoasters.get(nCoaster)->getSprite()->getBoundingRect();
        m_pPlatform->setMousePosition((r.getLeft() + r.getRight()) / 2, r.getTop() + 2);
        m_pMode->onUpdate(0.01f);
        sSeen += lit() + " ";
    }
    EXPECT_EQ(sSeen, "10 01 00 ");
}

// Every click she cannot carry out ends in the refusal sound, whatever was
// clicked (the sink, the dispenser, the machine's buttons and the balloons
// used to refuse in silence); a click she carries out makes none.
TEST_F(LevelClicks, EveryClickSheCannotCarryOutIsHeard) {
    m_pMode->addBarman(new Barman(60, 330, 40, 1, m_pMode));
    machine(false, 0, -1);  // no coaster: its buttons refuse
    Character& calling = waiting("ana", 0);
    calling.getBalloon()->completeAction(0);  // ordered already
    Character& drinking = waiting("ana", 1);
    seat(1).putMug(orderedMug(drinking));
    ASSERT_TRUE(until(drinking, Character::kDrinking));
    Zep::SmartPtr<GlassSpot> pFull = dynamic_cast<GlassSpot*>(coaster(300, 60));
    pFull->putMug(fullMug(), true);
    const struct {
        const char* szTarget;
        ActionSpot* pTarget;
        int nRefusals;
    } kRows[] = {
        {"balloon ordered", calling.getBalloon().get(), 1},
        {"seat drinking (her glass)", &seat(1), 1},
        {"empty seat", &seat(3), 1},
        {"empty coaster", dynamic_cast<ActionSpot*>(coaster(340, 60)), 1},
        {"sink", spot("trashbin", 150, 300, Rect(380, 600, 420, 640), 0, "sink").get(), 1},
        {"dispenser", dynamic_cast<ActionSpot*>(ActionTarget::create(m_pMode, "propdispenser", 200, 300, 58,
                                                                      Rect(380, 600, 420, 640), 0, "props")
                                                     .get()),
         1},
        {"liquid button", &button(true, 1), 1},
        {"full coaster", pFull.get(), 0},
    };
    for (const auto& row : kRows) {
        ASSERT_TRUE(row.pTarget) << row.szTarget;
        m_audio.m_vSamples.clear();
        row.pTarget->onClick(0, 0, 0);
        ASSERT_TRUE(runUntil([&] { return m_pMode->canTakeClick(); })) << row.szTarget;
        int nRefusals = 0;
        for (const auto& sample : m_audio.m_vSamples) nRefusals += sample.sName == "sfx_game_cantdo";
        EXPECT_EQ(nRefusals, row.nRefusals) << row.szTarget;
    }
}

// A spot whose walk point lies off the floor sends her to the floor's nearest
// point (she used to stay where she was and act from afar); the first click
// of each such spot says so in the log, once.
TEST_F(LevelClicks, AWalkPointOffTheFloorLeadsToItsNearestPointLoggedOncePerSpot) {
    Zep::SmartPtr<ActionSpot> pLeft =
        ActionTarget::create(m_pMode, "glassspot", 100, 330, 60, Rect(100, 300, 140, 340), 0, "posavaso_1");
    Zep::SmartPtr<ActionSpot> pRight =
        ActionTarget::create(m_pMode, "glassspot", 700, 330, 60, Rect(660, 300, 700, 340), 0, "posavaso_1");
    const size_t nLogBefore = m_files.logText().size();
    const struct {
        ActionSpot* pSpot;
        int nX, nY;
    } kClicks[] = {{pLeft.get(), 200, 400}, {pLeft.get(), 200, 400}, {pRight.get(), 599, 400}};
    for (const auto& click : kClicks) {
        click.pSpot->onClick(0, 0, 0);
        ASSERT_TRUE(runUntil([&] { return m_pMode->canTakeClick(); }));
        EXPECT_LE(std::abs(waitress().getX() - click.nX) + std::abs(waitress().getY() - click.nY), 2)
            << waitress().getX() << "," << waitress().getY();
    }
    EXPECT_EQ(m_files.logText().substr(nLogBefore),
              "B: ** glassspot at (100, 330) : walk point (120, 320) lies in no walk area; "
              "she walks to (200, 400) **\n"
              "B: ** glassspot at (700, 330) : walk point (680, 320) lies in no walk area; "
              "she walks to (599, 400) **\n");
}

class LevelDay : public bartest::ActorTest {
protected:
    void SetUp() override {
        ActorTest::SetUp();
        LevelData& data = m_pMode->getLevelData();
        data.m_lLiquids = Zep::List<int>{0, 1, 2};
        data.m_fDayLength = 20.0f;
        data.m_fMixedOrdersAt = 10.0f;
        data.m_nDayCustomerCount = 0;  // no one spawns
        m_pMode->startDay();
    }
    // "=" for a customer whose two liquids are one, "+" for two different.
    static std::string mix(const Character& c) {
        const Zep::List<int>& l = c.getOrderLiquids();
        return l.get(0) == l.get(1) ? "=" : "+";
    }
};

TEST_F(LevelDay, MixedOrdersSwitchOnAtHalfTimeAndEveryWaitingCustomerOrdersAgain) {
    Character* apCustomers[] = {&waiting("ana", 0), &waiting("ana", 1)};
    std::string sSeen;
    for (int i = 0; i < 4; ++i) {
        m_pMode->onUpdate(i == 0 ? 0.0f : 4.0f);  // 0, 4, 8, 12 s played
        sSeen += std::string(m_pMode->getLevelData().m_bMixedOrders ? "M" : "-");
        for (Character* pCustomer : apCustomers) sSeen += mix(*pCustomer);
        sSeen += " ";
    }
    EXPECT_EQ(sSeen, "-== -== -== M++ ");
}

// Closing time tells each customer once.
TEST_F(LevelDay, TheBarClosesOnceAtTheDayLength) {
    Character& c = waiting("ana", 0);
    m_pMode->onUpdate(19.9f);
    EXPECT_FALSE(m_pMode->getLevelData().m_bBarClosed);
    m_pMode->onUpdate(0.1f);
    EXPECT_TRUE(m_pMode->getLevelData().m_bBarClosed);
    const int nQueued = c.getStateQueueLength();
    m_pMode->onUpdate(0.05f);
    EXPECT_EQ(c.getStateQueueLength(), nQueued);
    EXPECT_FALSE(m_pMode->isStatisticsPushed());  // she is still there
}

}  // namespace
