// The waitress driven through the real play mode: a click's three commands
// frame by frame, the carried items' layout from the arm frames, the action
// point, walking and her hand slots.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "actors/barfixture.h"
#include "actors/glassspot.h"

namespace {

using bartest::BarTest;

// Records what the waitress does to it.
class RecordingTarget : public IActionTarget {
public:
    RecordingTarget(std::string sName, std::vector<std::string>& lines) : m_sName(std::move(sName)), m_rLines(lines) {}
    void completeAction(int nHand) override { note("complete " + std::to_string(nHand)); }
    bool canDoAction(int) override { return m_bCan; }
    int getDistance(int, int) override { return 0; }
    int beginAction(int nHand) override {
        note("begin " + std::to_string(nHand));
        return m_nKind;
    }
    void setHighlight(bool) override {}
    void setBusy(bool bBusy) override { note(bBusy ? "busy" : "free"); }
    bool m_bCan = true;
    int m_nKind = 1;

private:
    void note(const std::string& s) { m_rLines.push_back(m_sName + " " + s); }
    std::string m_sName;
    std::vector<std::string>& m_rLines;
};

class WaitressTest : public BarTest {
public:
    Zep::SmartPtr<RecordingTarget> target(const char* szName) { return new RecordingTarget(szName, m_lines); }
    std::string position(const Zep::SmartPtr<Mug>& pMug) {
        int x = 0, y = 0, z = 0;
        pMug->getPosition(&x, &y, &z);
        return std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(z);
    }
    // The current command, the queue's length and her state.
    std::string queueState() {
        const IWaitressCommand* pCommand = m_pMode->getCurrentCommand().get();
        std::string s = dynamic_cast<const CmdWalk*>(pCommand)         ? "walk"
                        : dynamic_cast<const CmdSetHeading*>(pCommand) ? "turn"
                        : dynamic_cast<const CmdUseTarget*>(pCommand)  ? "use"
                                                                       : "-";
        return s + "+" + std::to_string(m_pMode->getQueuedCommandCount()) + " " + std::to_string(waitress().getState());
    }

    std::vector<std::string> m_lines;
};

}  // namespace

TEST_F(WaitressTest, ClickOnACoasterWalksTurnsAndTakesItsMugAtTheActionFrame) {
    Zep::SmartPtr<ActionSpot> pSpot = spot("glassspot", 300, 520, Rect(280, 600, 320, 620), 0, "posavaso_1");
    GlassSpot& coaster = dynamic_cast<GlassSpot&>(*pSpot);
    Zep::SmartPtr<Mug> pMug = fullMug();
    coaster.putMug(pMug, true);
    coaster.onClick(300, 520, 0);
    EXPECT_EQ(queueState(), "-+3 0");
    // Frame by frame: the state on each change, as "frame: state".
    std::vector<std::string> lChanges;
    std::string sLast;
    int nTakenAt = -1;
    std::vector<std::string> lPlaces;
    for (int nFrame = 1; nFrame <= 60; ++nFrame) {
        frames(1);
        if (queueState() != sLast) lChanges.push_back(std::to_string(nFrame) + ": " + (sLast = queueState()));
        if (nTakenAt < 0 && waitress().getHandContents(0) == pMug) nTakenAt = nFrame;
        if (nTakenAt > 0 && (lPlaces.empty() || lPlaces.back() != position(pMug))) lPlaces.push_back(position(pMug));
    }
    // Two walk steps of 13 frames west (4.768 pixels a frame) to x 300, the
    // turn the next frame, the use one frame later; take_n_left then shows
    // each of its four frames for 7 frames (the overshoot is not carried).
    const std::vector<std::string> lExpected = {"1: walk+2 2",  "14: walk+2 0", "15: walk+2 2", "21: walk+2 0",
                                                "22: turn+1 0", "23: use+0 3",  "50: use+0 0",  "51: -+0 0"};
    EXPECT_EQ(lChanges, lExpected);
    // Frame 2, "doaction", from the use's 14th frame.
    EXPECT_EQ(nTakenAt, 36);
    EXPECT_FALSE(coaster.hasMug());
    EXPECT_FALSE(coaster.isBusy());
    // At (300, 610), scale 0.96, her body picture's top-left at (240, 460);
    // the left arm at z 299: frame 2 holds it at position 66 (88, 138),
    // frame 3 at 67 (83, 139), the standing arm after it at 30 (23, 127).
    const std::vector<std::string> lPlacesExpected = {"326,598,292", "322,599,292", "264,588,292"};
    EXPECT_EQ(lPlaces, lPlacesExpected);
    EXPECT_STREQ(waitress().getArmSprite(0)->getSequenceName().c_str(), "stand_n_arm_full_left");
}

TEST_F(WaitressTest, TraySlotsFollowTheTrayArmPerCapacityAndHeading) {
    // At (400, 530): scale 0.896, body top-left (340, 380), body z 300. The
    // standing tray arm's position is 42 (93, 154) on the right arm, 48 (23,
    // 154) on the left: tray centre (429.568, 534.624) at capacity 4 from the
    // right arm, (366.848, 534.624) at 6 from the left; z from the right arm
    // facing east (307), else the left arm (299, 307, 302, 307); the mug's
    // base layer stands 3 below its place's z.
    const struct {
        int nCapacity, nHeading;
        const char* szSlots;  // "x,y,z" per slot
    } kRows[] = {
        {4, 0, "436,534,292 429,527,292 422,534,292 429,541,292"},
        {4, 1, "432,539,311 439,534,309 432,530,307 425,534,309"},
        {4, 2, "417,540,303 429,544,305 441,540,303 429,534,301"},
        {4, 3, "426,530,307 419,534,309 426,539,311 434,534,309"},
        {6, 0, "366,518,292 383,525,292 383,538,292 366,541,292 349,538,292 349,525,292"},
        {6, 1, "384,536,310 374,551,312 359,551,312 348,536,310 359,527,308 374,527,308"},
        {6, 2, "366,550,307 349,543,305 349,531,303 366,527,303 383,531,303 383,543,305"},
        {6, 3, "348,536,310 359,527,308 374,527,308 384,536,310 374,551,312 359,551,312"},
    };
    for (const auto& row : kRows) {
        Waitress& she = makeWaitress(row.nCapacity);
        she.setPosition(400.0f, 620.0f);
        she.setPosition(400.0f, 530.0f);
        while (she.countCarriedItems() < row.nCapacity) she.setHandContents(fullMug());
        she.setHeading(row.nHeading);
        std::string sSlots;
        for (int i = 0; i < row.nCapacity; ++i) sSlots.append(i ? " " : "").append(position(she.getHandContents(i)));
        EXPECT_EQ(sSlots, row.szSlots) << row.nCapacity << " " << row.nHeading;
        EXPECT_FLOAT_EQ(she.getHandContents(0)->getSprite()->getScaleX(), 0.896f);
        while (she.countCarriedItems() > 0) she.takeHandContents(she.countCarriedItems() - 1);
    }
}

TEST_F(WaitressTest, ActionPointSkippedByALongFrameCompletesOnce) {
    Zep::SmartPtr<RecordingTarget> pTarget = target("t");
    ASSERT_EQ(waitress().startAction(pTarget.get(), 1), 1);
    EXPECT_STREQ(waitress().getArmSprite(1)->getSequenceName().c_str(), "fill_s_right");
    m_pMode->onUpdate(0.35f);  // frames 0 to 3 in one update
    EXPECT_EQ(waitress().getArmSprite(1)->getFrame(), 3);
    m_pMode->onUpdate(0.35f);
    const std::vector<std::string> lExpected = {"t begin 1", "t busy", "t complete 1", "t free"};
    EXPECT_EQ(m_lines, lExpected);
    EXPECT_TRUE(waitress().isIdle() && waitress().getTarget().isNULL());
}

TEST_F(WaitressTest, ABegunActionTakesEffectOnceWhateverEndsIt) {
    const struct {
        const char* szCase;
        std::function<void(Waitress&, WaitressTest&)> interrupt;
        const char* szLines;
        const char* szArm;  // the left arm afterwards
    } kRows[] = {
        // The other hand's new action: the first completes before it begins.
        {"new action", [](Waitress& she, WaitressTest& t) { she.startAction(t.target("b").get(), 1); },
         "a begin 0|a busy|a complete 0|a free|b begin 1|b busy", "fill_s_left 2"},
        // A state change (a turn makes her stand).
        {"turn", [](Waitress& she, WaitressTest&) { she.setHeading(Waitress::kWest); },
         "a begin 0|a busy|a complete 0|a free", "stand_w_arm_empty_left 0"},
        // A target that refuses by then is released without its effect.
        {"refused", [](Waitress& she, WaitressTest&) {
             dynamic_cast<RecordingTarget&>(*she.getTarget()).m_bCan = false;
             she.stopWalking();
         }, "a begin 0|a busy|a free", "stand_s_arm_empty_left 0"},
    };
    for (const auto& row : kRows) {
        m_lines.clear();
        Waitress& she = makeWaitress(2);
        she.setHeading(Waitress::kSouth);
        ASSERT_EQ(she.startAction(target("a").get(), 0), 1);
        m_pMode->onUpdate(0.05f);
        row.interrupt(she, *this);
        std::string sLines;
        for (const std::string& sLine : m_lines) sLines += (sLines.empty() ? "" : "|") + sLine;
        EXPECT_EQ(sLines, row.szLines) << row.szCase;
        // A new action leaves the first arm on its action frame (2).
        const AnimSprite& arm = *she.getArmSprite(0);
        EXPECT_EQ(std::string(arm.getSequenceName().c_str()) + " " + std::to_string(arm.getFrame()), row.szArm);
        m_pMode->onUpdate(1.0f);
        m_pMode->onUpdate(1.0f);
    }
}

TEST_F(WaitressTest, ActionWithoutActionPointTakesEffectWhenItsSequenceEnds) {
    waitress().setHeading(Waitress::kWest);
    Zep::SmartPtr<RecordingTarget> pTarget = target("t");
    pTarget->m_nKind = 2;
    ASSERT_EQ(waitress().startAction(pTarget.get(), 0), 2);
    EXPECT_STREQ(waitress().getArmSprite(0)->getSequenceName().c_str(), "take_w_left");  // no "doaction" frame
    for (int i = 0; i < 3; ++i) m_pMode->onUpdate(0.1f);
    EXPECT_EQ(m_lines.size(), 2u);
    m_pMode->onUpdate(0.1f);
    EXPECT_EQ(m_lines.back(), "t free");
    EXPECT_EQ(m_lines[2], "t complete 0");
}

TEST_F(WaitressTest, WithoutATrayOnlyHandsZeroAndOneAct) {
    Zep::SmartPtr<RecordingTarget> pTarget = target("t");
    for (int nHand : {2, 3, -1}) {
        EXPECT_EQ(waitress().startAction(pTarget.get(), nHand), -1);
        EXPECT_EQ(waitress().startAction(Zep::SmartPtr<IActionTarget>(), nHand), -1);
    }
    EXPECT_TRUE(m_lines.empty());
    EXPECT_EQ(waitress().getState(), Waitress::kIdle);
    EXPECT_STREQ(waitress().getArmSprite(0)->getSequenceName().c_str(), "stand_s_arm_empty_left");
    EXPECT_FALSE(waitress().getArmSprite(0)->isPlaying());
    // With a tray, every action plays on the left arm's tray sequences.
    Waitress& she = makeWaitress(6);
    EXPECT_STREQ(she.getBodySprite()->getAnimation()->getProp("variant", false).c_str(), "A");
    EXPECT_EQ(she.startAction(pTarget.get(), 2), 1);
    EXPECT_STREQ(she.getArmSprite(0)->getSequenceName().c_str(), "fill_s_tray");
    EXPECT_TRUE(she.isActingWith(0));
}

TEST_F(WaitressTest, UseCommandWaitsWhileSheActsWithTheTray) {
    makeWaitress(4);
    EXPECT_STREQ(waitress().getBodySprite()->getAnimation()->getProp("variant", false).c_str(), "B");
    Zep::SmartPtr<RecordingTarget> pTarget = target("t");
    m_pMode->queueCommand(new CmdUseTarget(2, pTarget.get()));
    m_pMode->onUpdate(0.01f);
    ASSERT_EQ(waitress().getState(), Waitress::kActing);
    m_pMode->onUpdate(0.01f);
    EXPECT_TRUE(m_pMode->getCurrentCommand().notNULL());  // acting with arm 0 for hand 2
    for (int i = 0; i < 5; ++i) m_pMode->onUpdate(0.1f);
    EXPECT_TRUE(m_pMode->getCurrentCommand().isNULL());
    EXPECT_TRUE(m_pMode->canTakeClick());
}

TEST_F(WaitressTest, WalkingStepsDepthScaleAndPreferredLines) {
    Waitress& she = waitress();
    she.setWalkDirection(Waitress::kEast, Waitress::kSouth);
    float fDx = 0.0f, fDy = 0.0f;
    she.getMoveStep(0.5f, &fDx, &fDy);
    EXPECT_FLOAT_EQ(fDx, 149.0f);
    EXPECT_FLOAT_EQ(fDy, 111.75f);
    EXPECT_STREQ(she.getBodySprite()->getSequenceName().c_str(), "walk_e_main_right");
    EXPECT_STREQ(she.getArmSprite(1)->getSequenceName().c_str(), "walk_e_arm_empty_right_back");
    // Walking by herself she drifts a tenth of the way onto the line y = 600.
    m_pMode->addPreferredLine(false, 600, Rect(200, 400, 600, 660), 1 << Waitress::kEast);
    she.setWalkDirection(Waitress::kEast, Waitress::kNoHeading);
    m_pMode->onUpdate(0.016f);
    float fX = 0.0f, fY = 0.0f;
    she.getPositionF(&fX, &fY);
    EXPECT_NEAR(fX, 404.6912f, 0.001f);
    EXPECT_FLOAT_EQ(fY, 618.0f);
    // The step ends after its two frames; the next one leads with the other foot.
    m_pMode->onUpdate(0.1f);
    m_pMode->onUpdate(0.1f);
    EXPECT_FALSE(she.isWalking());
    EXPECT_TRUE(she.justStoppedWalking());
    she.setWalkDirection(Waitress::kEast, Waitress::kNoHeading);
    EXPECT_STREQ(she.getBodySprite()->getSequenceName().c_str(), "walk_e_main_left");
    // Depth scale over the band 400 to 660.
    const struct {
        float y, fScale;
    } kRows[] = {{400.0f, 0.792f}, {530.0f, 0.896f}, {659.0f, 0.9992f}};
    for (const auto& row : kRows) {
        she.setPosition(300.0f, row.y);
        EXPECT_FLOAT_EQ(she.getDepthScale(), row.fScale) << row.y;
        EXPECT_FLOAT_EQ(she.getBodySprite()->getScaleX(), row.fScale) << row.y;
        EXPECT_EQ(she.getBodySprite()->getZOrder(), 300);
    }
}

TEST_F(WaitressTest, HandSlotsFillInOrderAndAFullTrayThrows) {
    Waitress& she = waitress();
    Zep::SmartPtr<Mug> a = fullMug(), b = fullMug(), c = fullMug();
    she.setHandContents(a);
    she.setHandContents(b);
    EXPECT_EQ(she.getHandContents(1), b);
    EXPECT_EQ(testutil::messageOf([&] { she.setHandContents(c); }),
              "setHandContents() illegally called. Tray is full.");
    EXPECT_EQ(she.takeHandContents(0), a);
    she.setHandContents(c);
    EXPECT_EQ(she.getHandContents(0), c);
    EXPECT_TRUE(she.getHandContents(2).isNULL());
    // Standing with a full left hand: its thumb shows over the mug.
    she.setHeading(Waitress::kSouth);
    EXPECT_STREQ(she.getThumbSprite(0)->getSequenceName().c_str(), "stand_s_thumb_full_left");
}
