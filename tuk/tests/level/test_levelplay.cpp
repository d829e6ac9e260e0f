// A whole level of the demo scene, played with mouse presses only: the
// customers come, the waitress takes their orders, fetches the barman's
// drinks and serves them, the bar closes, the statistics count the day up and
// the level hands the day over and leaves.
#include <string>

#include <zep2/str.h>

#include "screens/gameoptions.h"
#include "base/keys.h"
#include "level/levelplay_util.h"
#include "level/loadingdialog.h"
#include "level/opaqueboxes_util.h"

namespace {

using leveltest::DemoLevel;

TEST_F(DemoLevel, PlayedWithMousePressesFromTheFirstCustomerToTheStatisticsAndBack) {
    DayResult result;
    PlayMode& level = enter(0, &result);
    m_pPlatform->setWorkTimePerFrame(40);
    const LevelData& data = level.getLevelData();
    EXPECT_EQ(data.m_nMoneyGoal * 1000 + data.m_nDayCustomerCount, 400008);
    int nMoney = 0, nPaid = 0, nFrames = 0;
    for (; nFrames < 20000 && !top<GameStatsMode>(); ++nFrames) {
        playerMove();
        frames();
        if (data.m_nDayMoney == nMoney) continue;
        EXPECT_EQ(data.m_nDayMoney - nMoney, 100) << nFrames;  // one paid service
        nMoney = data.m_nDayMoney;
        ++nPaid;
    }
    GameStatsMode* pStats = top<GameStatsMode>();
    ASSERT_TRUE(pStats) << nFrames;
    // The seeded day: all eight served, each ordering once. Guests seated
    // where the last guest left an empty glass hold it from the start; the
    // glass does not keep them from ordering. (Before, such guests called in
    // vain until they left; the day ended with four served and $400.)
    EXPECT_EQ(nPaid * 100 + ordersTaken(), 808);
    EXPECT_EQ(nPaid, data.m_nCustomersServed);
    EXPECT_GE(ordersTaken(), nPaid);
    EXPECT_TRUE(data.m_bBarClosed && level.getCharacters().isEmpty());
    EXPECT_EQ(level.getResumeState(), PlayMode::kDayOver);
    EXPECT_EQ(m_app.getModeCount(), 2);  // the level and the statistics
    // Counted up under 40-ms frames; the results only at the last step.
    std::string sSteps;
    for (int i = 0; i < 400 && pStats->getStep() < GameStatsMode::kLastStep; ++i) {
        if (sSteps.empty() || sSteps.back() != '0' + pStats->getStep()) sSteps += std::to_string(pStats->getStep());
        EXPECT_EQ(data.m_nResultMoney, 0);
        frames();
    }
    EXPECT_EQ(pStats->getStep(), GameStatsMode::kLastStep) << sSteps;
    EXPECT_EQ(sSteps, "012345");  // the time passes through in one frame in the campaign
    EXPECT_EQ(data.m_nResultMoney, nMoney >= 400 ? nMoney : 0);
    EXPECT_EQ(data.m_nResultStars, data.m_nDayStars);
    EXPECT_EQ(pStats->getScoreLabel()->getText(), Zep::String::format("$%d", nMoney).c_str());
    EXPECT_EQ(pStats->getCustomersLabel()->getText(), (std::to_string(nPaid) + "/8").c_str());
    const int nStars = data.m_nDayStars;
    // The button ends it; the level resumes, hands the day over and fades out.
    clickOn(*pStats->getExitButton());
    for (int i = 0; i < 200 && isLevelOnStack(); ++i) frames();
    EXPECT_FALSE(isLevelOnStack());
    EXPECT_TRUE(result.bDone);
    EXPECT_EQ(result.nDayMoney, nMoney);
    EXPECT_EQ(result.nDayStars * 1000 + result.nResultStars, nStars * 1001);
    EXPECT_EQ(result.bGoalReached, nMoney >= 400);
}

}  // namespace

namespace {

// The box is pushed over the level as it enters; the box hides the cursor in
// the update in which it ends and the level shows it again in its next one.
TEST_F(DemoLevel, EnteringPacesAtOneHundredAndTheLevelShowsTheCursorAgain) {
    PlayMode& level = enter();
    EXPECT_TRUE(top<LoadingDialog>() && m_pPlatform->m_vSleeps.empty());
    EXPECT_EQ(m_app.getFrameRate(), PlayMode::kFrameRate);
    EXPECT_TRUE(level.isVisible());
    std::string sSeen;
    for (int i = 0; i < 3; ++i) {
        frames();
        sSeen += std::string(top<LoadingDialog>() ? "box " : "level ") +
                 (m_pVideo->m_bCursorVisible ? "shown, " : "hidden, ");
    }
    EXPECT_EQ(sSeen, "level hidden, level shown, level shown, ");
    LevelHud& hud = *level.getHud();
    EXPECT_EQ(std::string(hud.getMoneyLabel()->getText().c_str()) + " " + hud.getTimeLabel()->getText().c_str() + " " +
                  hud.getOptionsButton()->getCaption().c_str() + " " +
                  std::to_string(hud.getOptionsButton()->getCallbackId()),
              "$0 / $400 2:29 Options 30");
}

// Escape and the options button open the options; leaving from them ends a
// campaign day at once, unfinished, and another kind's day with its
// statistics, once.
TEST_F(DemoLevel, EscapeAndTheOptionsButtonOpenTheOptionsAndQuittingFollowsTheGameKind) {
    for (int nKind : {0, 1}) {
        DayResult result;
        PlayMode& level = enter(nKind, &result);
        frames(3);
        m_pPlatform->queueFrame({testkit::FakeEvent::keyDown(Key::Escape)});
        frames();
        ASSERT_TRUE(top<TUKGameOptions>()) << nKind;
        m_app.getTopMode()->endMode();
        frames(2);
        clickOn(*level.getHud()->getOptionsButton());
        ASSERT_TRUE(top<TUKGameOptions>()) << nKind;
        m_app.getTopMode()->endMode();
        frames(2);
        level.onCallback(PlayMode::kQuitId, nullptr);
        level.onCallback(PlayMode::kQuitId, nullptr);
        if (nKind == 0) {
            for (int i = 0; i < 200 && isLevelOnStack(); ++i) frames();
            EXPECT_FALSE(isLevelOnStack());
            EXPECT_FALSE(result.bDone);
            continue;
        }
        EXPECT_EQ(level.getResumeState(), PlayMode::kDayOver);
        int nStats = 0;
        for (int i = 0; i < m_app.getModeCount(); ++i)
            nStats += dynamic_cast<GameStatsMode*>(m_app.getModeAt(i)) != nullptr;
        EXPECT_EQ(nStats, 1);
        EXPECT_TRUE(top<GameStatsMode>());
        for (int i = 0; i < 300 && isLevelOnStack(); ++i) {
            if (top<GameStatsMode>() && top<GameStatsMode>()->getStep() == GameStatsMode::kLastStep)
                clickOn(*top<GameStatsMode>()->getExitButton());
            frames();
        }
        EXPECT_TRUE(result.bDone && !isLevelOnStack());
    }
}

// The actors outlive the level that ends under them: each has left it
// first, and letting them go later reaches no mode.
TEST_F(DemoLevel, ActorsHeldPastTheLevelsEndHaveLeftItFirst) {
    PlayMode& level = enter();
    m_pPlatform->setWorkTimePerFrame(40);
    for (int i = 0; i < 2000 && level.getLevelData().m_lMugs.isEmpty(); ++i) {
        playerMove();
        frames();
    }
    ASSERT_FALSE(level.getCharacters().isEmpty() || level.getLevelData().m_lMugs.isEmpty());
    Zep::SmartPtr<Character> pCustomer = level.getCharacters().getFirst();
    Zep::SmartPtr<Mug> pMug = level.getLevelData().m_lMugs.getFirst();
    Zep::SmartPtr<Waitress> pWaitress = level.getLevelData().m_pWaitress;
    Zep::SmartPtr<AnimSprite> pBody = pWaitress->getBodySprite();
    level.endMode();
    m_app.deleteEndedModes();
    EXPECT_FALSE(isLevelOnStack());
    EXPECT_EQ(pCustomer->getMode(), nullptr);
    EXPECT_EQ(pBody->getMode(), nullptr);
    pCustomer = nullptr;
    pMug = nullptr;
    pWaitress = nullptr;
}

// With every chair bought, the level's labels, their plates and its options
// button stand clear of every chair's picture.
TEST_F(DemoLevel, TheLabelsAndTheOptionsButtonStandClearOfEveryChair) {
    for (int nKind = 2; nKind <= 5; ++nKind) m_player.setUpgradeLevel(nKind, 1);
    PlayMode& level = enter();
    frames(3);
    const LevelHud& hud = *level.getHud();
    const Sprite* const apHud[] = {hud.getMoneyPlate().get(), hud.getMoneyLabel().get(), hud.getTimePlate().get(),
                                   hud.getTimeLabel().get(), hud.getOptionsButton().get()};
    demoscene::OpaqueBoxes boxes;
    int nChairs = 0;
    for (const Zep::SmartPtr<Sprite>& pSprite : level.getAllSprites()) {
        if (pSprite->getImage().isNULL() || pSprite->getImage()->getName() != "silla") continue;
        ++nChairs;
        const Rect chair = boxes.of(*pSprite);
        for (const Sprite* pHud : apHud)
            EXPECT_FALSE(pHud->getBoundingRect().intersects(chair))
                << demoscene::boxText(pHud->getBoundingRect()) << " on the chair " << demoscene::boxText(chair);
    }
    EXPECT_EQ(nChairs, 4);
}

}  // namespace
