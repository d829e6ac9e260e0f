// The drink machine run frame by frame through the play mode: the mug's
// slide, the hand-over with compaction and the automatic pick-up, the
// selection per difficulty, and a machine that has no free coaster or left
// the scene.
#include <string>

#include <gtest/gtest.h>

#include "actors/actorfixture.h"
#include "actors/machinebuttons.h"

namespace {

using bartest::ActorTest;

class MachineTest : public ActorTest {
protected:
    int mugX() {
        int x = 0, y = 0, z = 0;
        m_pMachine->getMug()->getPosition(&x, &y, &z);
        return x;
    }
    bool sliding() { return m_pMachine->getSprite()->getSequenceName() == "desplaza"; }
    bool slideEnded() { return sliding() && !m_pMachine->getSprite()->isPlaying(); }
    bool atRest() { return m_pMachine->getSprite()->getSequenceName() == "normal" && m_pMachine->getMug().isNULL(); }
    // A liquid pressed, frames until the machine is in the state.
    template <class Pred>
    void runDrink(int nLiquid, Pred pred) {
        button(true, nLiquid).onClick(0, 0, 0);
        ASSERT_TRUE(runUntil(pred));
    }
    // What the coasters hold: '-' nothing, 'N' the new mug, 'O' another one.
    std::string coasters(const Zep::SmartPtr<Mug>& pNew) {
        std::string s;
        for (const Zep::SmartPtr<GlassSpot>& pSpot : m_lCoasters)
            s += !pSpot->hasMug() ? '-' : pSpot->getMug() == pNew ? 'N' : 'O';
        return s;
    }
};

}  // namespace

TEST_F(MachineTest, MugSlidesOutAndEndsOnTheLastFreeCoaster) {
    const struct {
        bool bMirrored;
        int nStartX, nQuarterX, nEndX;
    } kRows[] = {{false, 382, 344, 306}, {true, 218, 256, 294}};
    for (const auto& row : kRows) {
        machine(row.bMirrored);
        runDrink(1, [&] { return sliding(); });
        const Zep::SmartPtr<Mug> pMug = m_pMachine->getMug();
        int x = 0, y = 0, z = 0;
        pMug->getPosition(&x, &y, &z);
        EXPECT_EQ(std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(z),
                  std::to_string(row.nStartX) + ",393,51");
        EXPECT_EQ(bartest::liquidsOf(*pMug), "1,1");
        EXPECT_TRUE(pMug->isFull() && m_pMode->getLevelData().m_lMugs.indexOf(pMug) >= 0);
        m_pMode->onUpdate(0.125f);
        m_pMode->onUpdate(0.125f);
        EXPECT_EQ(mugX(), row.nQuarterX) << row.bMirrored;
        m_pMode->onUpdate(0.125f);
        EXPECT_TRUE(m_pMachine->isRunning() && !m_lCoasters[1]->isAvailable());
        m_pMode->onUpdate(0.125f);
        EXPECT_EQ(mugX(), row.nEndX);
        EXPECT_TRUE(slideEnded() && m_pMachine->isRunning());
        m_pMode->onUpdate(0.01f);
        EXPECT_EQ(coasters(pMug), "-N");
        EXPECT_TRUE(atRest() && m_lCoasters[0]->isAvailable() && m_lCoasters[1]->isAvailable());
        EXPECT_EQ(m_pMachine->getLiquidButton(1)->getSequenceName(), "notpushed");
    }
    EXPECT_EQ(m_audio.m_vSamples.back().sName, "sfx_game_juicer");
}

TEST_F(MachineTest, HandOverMovesWaitingMugsTowardsTheEndFirst) {
    machine(false, 3);
    m_lCoasters[0]->putMug(fullMug(), true);
    runDrink(2, [&] { return m_pMachine->getMug().notNULL(); });
    const Zep::SmartPtr<Mug> pNew = m_pMachine->getMug();
    ASSERT_TRUE(runUntil([&] { return atRest(); }));
    EXPECT_EQ(coasters(pNew), "-NO");
}

TEST_F(MachineTest, IdleWaitressWithinTenPixelsTakesTheNewMugWithoutAClick) {
    const struct {
        int dx, dy;
        bool bWalking, bClicked;
    } kRows[] = {{0, 0, false, true}, {9, -9, false, true}, {10, 0, false, false},
                 {0, -10, false, false}, {0, 0, true, false}};
    for (const auto& row : kRows) {
        const std::string sCase = std::to_string(row.dx) + "," + std::to_string(row.dy) + " " +
                                  std::to_string(row.bWalking);
        waitress().setPosition(400.0f, 620.0f);
        m_coasterRect = Rect(390 + row.dx, 610 + row.dy, 410 + row.dx, 630 + row.dy);
        machine();
        runDrink(0, [&] { return slideEnded(); });
        const Zep::SmartPtr<Mug> pMug = m_pMachine->getMug();
        if (row.bWalking) waitress().setWalkDirection(Waitress::kWest, Waitress::kNoHeading);
        m_pMode->onUpdate(0.01f);
        ASSERT_TRUE(atRest()) << sCase;
        EXPECT_EQ(m_pMode->getQueuedCommandCount(), row.bClicked ? 3 : 0) << sCase;
        if (!row.bClicked) continue;
        EXPECT_TRUE(runUntil([&] { return waitress().getHandContents(0) == pMug; })) << sCase;
        waitress().takeHandContents(0);
    }
}

TEST_F(MachineTest, ChoiceNeedsTwoLiquidsWhenHarderAndTheGlassStaysChosen) {
    const struct {
        bool bDifficult;
        int aLiquids[2];
        bool bRunsAfterFirst, bSecondRefused;
        const char* szLiquids;  // the mug's, "" for none
    } kRows[] = {{false, {1, -1}, true, false, "1,1"},
                 {true, {1, 2}, false, false, "1,2"},
                 {true, {2, 2}, false, true, ""}};
    for (const auto& row : kRows) {
        DrinkMachine& m = machine(false, 2, 2);
        m.setDifficultyFlag(row.bDifficult);
        press(button(true, row.aLiquids[0]));
        EXPECT_EQ(m.getMug().notNULL(), row.bRunsAfterFirst) << row.bDifficult;
        if (row.aLiquids[1] >= 0) {
            EXPECT_EQ(button(true, row.aLiquids[1]).canDoAction(0), !row.bSecondRefused);
            press(button(true, row.aLiquids[1]));
        }
        EXPECT_EQ(m.getMug().notNULL() ? bartest::liquidsOf(*m.getMug()) : "", row.szLiquids) << row.bDifficult;
        if (!*row.szLiquids) continue;
        EXPECT_EQ(m.getMug()->getBeverage(), 2);
        ASSERT_TRUE(runUntil([&] { return atRest(); }));
        EXPECT_EQ(m.getSelectedBeverage(), 2);
        EXPECT_EQ(m.getBeverageButton(2)->getSequenceName(), "pushed");
        EXPECT_TRUE(m.getSelectedLiquids().isEmpty());
    }
    // The glass chosen for the first drink makes the next one; the level's
    // flag is the new machine's.
    m_pMode->getLevelData().m_bHarderMode = true;
    EXPECT_TRUE(machine(false, 2, 1).getDifficultyFlag());
    m_pMachine->setDifficultyFlag(false);
    for (int nDrink = 0; nDrink < 2; ++nDrink) {
        runDrink(0, [&] { return m_pMachine->getMug().notNULL(); });
        EXPECT_EQ(m_pMachine->getMug()->getBeverage(), 1);
        ASSERT_TRUE(runUntil([&] { return atRest(); }));
    }
    EXPECT_EQ(coasters(nullptr), "OO");
}

TEST_F(MachineTest, NoGlassNoDrinkAndTheMugWaitsForAFreeCoaster) {
    DrinkMachine& m = machine(false, 2, -1);
    const int nMugs = m_pMode->getLevelData().m_lMugs.getCount();
    for (int nHand : {0, 1, 2}) EXPECT_FALSE(button(true, 0).canDoAction(nHand));
    press(button(true, 0));
    m.selectLiquid(0);
    EXPECT_FALSE(m.startDrink());
    EXPECT_TRUE(m.getMug().isNULL() && !m.isRunning() && m.getSelectedLiquids().isEmpty());
    EXPECT_EQ(m_pMode->getLevelData().m_lMugs.getCount(), nMugs);

    press(button(false, 0));
    runDrink(0, [&] { return slideEnded(); });
    const Zep::SmartPtr<Mug> pNew = m.getMug();
    m_lCoasters[0]->putMug(fullMug(), true);
    m_lCoasters[1]->putMug(fullMug(), true);
    for (int i = 0; i < 3; ++i) m_pMode->onUpdate(0.05f);
    EXPECT_TRUE(m.getMug() == pNew && slideEnded());
    m_lCoasters[0]->takeMug();
    m_pMode->onUpdate(0.05f);
    EXPECT_EQ(coasters(pNew), "NO");
    EXPECT_TRUE(atRest());
}

TEST_F(MachineTest, MachineRemovedFromTheSceneDropsItsMugsAndStops) {
    DrinkMachine& m = machine();
    const Zep::SmartPtr<Mug> pStanding = fullMug();
    m_lCoasters[0]->putMug(pStanding, true);
    runDrink(0, [&] { return sliding(); });
    const Zep::SmartPtr<Mug> pNew = m.getMug();
    const Zep::SmartPtr<IActionTarget> pButton(&button(false, 0));
    const int nTargets = m_pMode->getActionTargets().getCount(), nListeners = m_pMode->getClickListeners().getCount();
    m.removeFromScene(m_pMode);
    EXPECT_TRUE(m.getMug().isNULL() && m.isRemoved());
    for (const Zep::SmartPtr<Mug>& pMug : {pStanding, pNew}) {
        EXPECT_FALSE(m_pMode->getLevelData().m_lMugs.indexOf(pMug) >= 0);
        EXPECT_TRUE(pMug->getSprite()->getMode() == nullptr);
    }
    EXPECT_TRUE(m.getSprite()->getMode() == nullptr && m.getLiquidButton(0)->getMode() == nullptr);
    EXPECT_TRUE(m_lCoasters[1]->getSprite()->getMode() == nullptr && m_pMode->getGlassSpots().isEmpty());
    EXPECT_EQ(m_pMode->getActionTargets().getCount(), nTargets - 8);
    EXPECT_EQ(m_pMode->getClickListeners().getCount(), nListeners - 8);
    EXPECT_FALSE(pButton->canDoAction(0));
    for (int i = 0; i < 40; ++i) m_pMode->onUpdate(0.05f);
    EXPECT_TRUE(sliding() && m_lCoasters[1]->getMug().isNULL());
}
