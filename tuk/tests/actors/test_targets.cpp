// The first action targets: coasters, the sink and the prop dispenser, their
// rules per hand and carried state, the play mode's choice of hand, and the
// spots' clicks.
#include <string>

#include <gtest/gtest.h>

#include "actors/barfixture.h"
#include "actors/characterspot.h"

namespace {

using bartest::BarTest;

const Rect kWalkRect(380, 600, 420, 640);

class TargetTest : public BarTest {
protected:
    // Carried slots as letters: '-' free, 'F' full, 'D' full and decorated,
    // 'E' empty; 'M' the coaster's own mug.
    void carry(const char* szSlots) {
        m_pMode->getLevelData().m_pWaitress = new Waitress(m_pMode, "char0_odile", 400, 620, slots(szSlots));
        for (int i = 0; szSlots[i]; ++i) {
            Zep::SmartPtr<Mug> pMug = szSlots[i] == 'E' ? emptyMug() : fullMug();
            if (szSlots[i] == 'D') pMug->addDecoration();
            waitress().setHandContents(pMug);
        }
        for (int i = 0; szSlots[i]; ++i)
            if (szSlots[i] == '-') waitress().takeHandContents(i);
        waitress().setHeading(Waitress::kSouth);  // standing arms for what she holds
    }
    // "coaster..." (with a mug for "coaster+"), "sink" or "props".
    Zep::SmartPtr<ActionSpot> makeTarget(const std::string& sTarget, int nHeading) {
        const bool bCoaster = sTarget.rfind("coaster", 0) == 0;
        const char* szType = bCoaster ? "glassspot" : sTarget == "sink" ? "trashbin" : "propdispenser";
        Zep::SmartPtr<ActionSpot> pSpot =
            spot(szType, 400, 560, kWalkRect, nHeading, bCoaster ? "posavaso_1" : sTarget.c_str());
        if (sTarget.find('+') != std::string::npos) dynamic_cast<GlassSpot&>(*pSpot).putMug(fullMug(), true);
        return pSpot;
    }
    static int slots(const char* szSlots) { return static_cast<int>(std::string(szSlots).size()); }
    std::string carried(const Zep::SmartPtr<Mug>& pOwn) {
        std::string s;
        for (int i = 0; i < waitress().getCapacity(); ++i) {
            const Zep::SmartPtr<Mug> pMug = waitress().getHandContents(i);
            s += pMug.isNULL()           ? '-'
                 : pMug == pOwn          ? 'M'
                 : pMug->isEmpty()       ? 'E'
                 : pMug->hasDecoration() ? 'D'
                                         : 'F';
        }
        return s;
    }
};

}  // namespace

TEST_F(TargetTest, RulesPerTargetHandAndCarriedState) {
    const struct {
        const char* szTarget;  // "coaster+" holds a mug, "coaster-x" is not available
        const char* szCarried;
        int nHand;
        bool bCan;
        int nKind;
        const char* szAfter;  // carried, then what the target holds or tallies
    } kRows[] = {
        {"coaster+", "--", 0, true, 2, "M- -"},   {"coaster+", "--", 1, false, 2, ""},
        {"coaster+", "F-", 1, true, 2, "FM -"},   {"coaster+", "FF", 0, false, 2, ""},
        {"coaster+x", "--", 0, false, 2, ""},     {"coaster+", "-F--", 2, true, 2, "MF-- -"},
        {"coaster+", "FFFF", 2, false, 2, ""},    {"coaster", "--", 0, false, 0, ""},
        {"coaster", "-F", 0, false, 0, ""},       {"coaster", "-F", 1, true, 0, "-- F"},
        {"coaster", "--E-", 2, true, 0, "---- E"}, {"coaster", "----", 2, false, 0, ""},
        {"sink", "FE", 0, true, 0, "F- 1"},       {"sink", "F-", 1, false, 0, ""},
        {"sink", "EFE---", 2, true, 0, "-F---- 2"}, {"props", "F-", 1, true, 1, "D- -"},
        {"props", "DE", 0, false, 1, ""},         {"props", "FDEF", 2, true, 1, "DDED -"},
    };
    for (const auto& row : kRows) {
        const std::string sTarget = row.szTarget;
        carry(row.szCarried);
        Zep::SmartPtr<ActionSpot> pSpot = makeTarget(sTarget, 0);
        GlassSpot* pCoaster = dynamic_cast<GlassSpot*>(pSpot.get());
        const Zep::SmartPtr<Mug> pOwn = pCoaster ? pCoaster->getMug() : Zep::SmartPtr<Mug>();
        if (sTarget.find('x') != std::string::npos) pCoaster->setAvailable(false);
        const int nMugs = m_pMode->getLevelData().m_lMugs.getCount();
        const std::string sCase = sTarget + " " + row.szCarried + " " + std::to_string(row.nHand);
        EXPECT_EQ(pSpot->canDoAction(row.nHand), row.bCan) << sCase;
        EXPECT_EQ(pSpot->beginAction(row.nHand), row.nKind) << sCase;
        if (!row.bCan) continue;
        pSpot->completeAction(row.nHand);
        std::string sHeld(1, '-');
        if (pCoaster && pCoaster->hasMug()) sHeld[0] = pCoaster->getMug()->isEmpty() ? 'E' : 'F';
        if (TrashBin* pSink = dynamic_cast<TrashBin*>(pSpot.get())) {
            sHeld = std::to_string(pSink->getGlasses());
            EXPECT_EQ(m_pMode->getLevelData().m_lMugs.getCount(), nMugs - pSink->getGlasses()) << sCase;
        }
        EXPECT_EQ(carried(pOwn) + " " + sHeld, row.szAfter) << sCase;
    }
}

TEST_F(TargetTest, SinkPileShowsTheHighestThresholdReached) {
    TrashBin& sink = dynamic_cast<TrashBin&>(*spot("trashbin", 100, 450, kWalkRect, 0, "sink"));
    EXPECT_EQ(sink.getPileSprite(0)->getZOrder(), 61);
    EXPECT_EQ(m_pMode->findTrashBin().get(), &sink);
    const struct {
        int nAdd, nShown;
    } kRows[] = {{0, 0}, {1, 1}, {4, 1}, {1, 2}, {4, 2}, {1, 3}, {5, 4}, {30, 4}};
    for (const auto& row : kRows) {
        sink.addGlasses(row.nAdd);
        sink.updatePile();
        EXPECT_EQ(sink.getShownPile(), row.nShown) << sink.getGlasses();
        for (int i = 0; i < TrashBin::kPiles; ++i)
            EXPECT_EQ(sink.getPileSprite(i)->isVisible(), i + 1 == row.nShown) << sink.getGlasses();
    }
}

TEST_F(TargetTest, UseTargetPicksAHandOrRestsWithTheRefusalSound) {
    const struct {
        const char* szTarget;
        const char* szCarried;
        const char* szArm;  // the sequences of arms 0 and 1
        int nSounds;
    } kRows[] = {
        {"coaster+", "F-", "stand_s_arm_full_left take_s_right", 0},  // hand 0 is not the first free
        {"coaster", "--", "walk_s_arm_empty_left_front stand_s_arm_empty_right", 1},
        // Every refusal is heard, not only those of coasters and seats (the
        // sink and the dispenser used to refuse in silence).
        {"sink", "F-", "walk_s_arm_full_left_front stand_s_arm_empty_right", 1},
        {"props", "E-", "walk_s_arm_full_left_front stand_s_arm_empty_right", 1},
        {"sink", "E-", "serve_s_left stand_s_arm_empty_right", 0},
    };
    for (const auto& row : kRows) {
        m_audio.m_vSamples.clear();
        carry(row.szCarried);
        const std::string sTarget = row.szTarget;
        Zep::SmartPtr<ActionSpot> pSpot = makeTarget(sTarget, 2);
        m_pMode->useTarget(0, pSpot.get());
        const std::string sArms = std::string(waitress().getArmSprite(0)->getSequenceName().c_str()) + " " +
                                  waitress().getArmSprite(1)->getSequenceName().c_str();
        EXPECT_EQ(sArms, row.szArm) << sTarget;
        ASSERT_EQ(static_cast<int>(m_audio.m_vSamples.size()), row.nSounds) << sTarget;
        if (row.nSounds) {
            EXPECT_EQ(m_audio.m_vSamples[0].sName, "sfx_game_cantdo");
        }
        EXPECT_EQ(pSpot->isBusy(), waitress().getState() == Waitress::kActing) << sTarget;
    }
}

TEST_F(TargetTest, SpotsTakeClicksByTheirSpriteAndQueueWalkTurnUse) {
    Zep::SmartPtr<ActionSpot> pLow = spot("propdispenser", 100, 300, kWalkRect, 1, "props");
    Zep::SmartPtr<ActionSpot> pCoaster = spot("glassspot", 110, 300, kWalkRect, 1, "posavaso_1");
    pCoaster->getSprite()->setZOrder(65);
    // The dispenser's picture spans (100, 300) - (140, 340); the coaster's
    // stands on (15, 30): it spans (95, 270) - (125, 310).
    const struct {
        int x, y, nLow, nCoaster;
    } kRows[] = {{105, 305, 60, 65}, {130, 320, 60, -1}, {100, 280, -1, 65}, {90, 290, -1, -1}};
    for (const auto& row : kRows) {
        EXPECT_EQ(pLow->getClickPriority(row.x, row.y), row.nLow) << row.x << "," << row.y;
        EXPECT_EQ(pCoaster->getClickPriority(row.x, row.y), row.nCoaster) << row.x << "," << row.y;
    }
    EXPECT_EQ(m_pMode->getClickListeners().getCount(), 2);
    EXPECT_EQ(m_pMode->getGlassSpots().getCount(), 1);
    EXPECT_EQ(testutil::messageOf([&] { pLow->attachSprite(pCoaster->getSprite()); }),
              "Assertion failed : !m_pAttachedSprite");
    GlassSpot bare(m_pMode, kWalkRect, 0);
    EXPECT_EQ(testutil::messageOf([&] { bare.attachSprite(Zep::SmartPtr<Sprite>()); }), "Assertion failed : pSprite");
    // Distance from a hand point to the sprite, truncated: (3, 4) -> 5.
    EXPECT_EQ(pCoaster->getDistance(113, 304), 5);
    int x = 0, y = 0;
    pCoaster->getPosition(&x, &y);
    EXPECT_EQ(x * 1000 + y, 400620);
    pCoaster->onClick(110, 300, 0);
    EXPECT_EQ(m_pMode->getQueuedCommandCount(), 3);
    // She stands there: the walk is done at its first poll, the turn runs
    // then, the use one frame later.
    const char* kCurrent[] = {"walk", "turn", "use", "-"};
    for (const char* szCurrent : kCurrent) {
        m_pMode->onUpdate(0.016f);
        IWaitressCommand* pCommand = m_pMode->getCurrentCommand().get();
        EXPECT_STREQ(dynamic_cast<CmdWalk*>(pCommand)         ? "walk"
                     : dynamic_cast<CmdSetHeading*>(pCommand) ? "turn"
                     : dynamic_cast<CmdUseTarget*>(pCommand)  ? "use"
                                                              : "-",
                     szCurrent);
    }
    EXPECT_EQ(waitress().getHeading(), Waitress::kEast);
}
