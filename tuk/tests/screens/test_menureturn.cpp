// A day of free play over the demo content, from the main menu and back to
// it as a player goes: the menu, Free play, the map's Play, a few customers
// served, the options' Exit, the statistics, the map, its Menu button. The
// menu and the map pace at 60 frames a second again when they come back, and
// the caches hold no more than they did before the day: the level's
// pictures, animations and music are let go, and the waitress's animation is
// cached once. Three won days of the campaign and the score they add.
#include <set>
#include <string>

#include "screens/gameoptions.h"
#include "level/levelplay_util.h"
#include "screens/longdialogmode.h"
#include "screens/menumode.h"
#include "records/adventurescore.h"
#include "records/profileaccess.h"
#include "screens/storemode.h"
#include "screens/storymanager.h"
#include "ui/ui_button.h"
#include "dialogs/ui_gameoptions.h"

namespace {

using Names = std::set<std::string>;

struct CacheNames {
    Names animations, images, samples, music;
};

Names namesOf(const Zep::List<Zep::String>& l) {
    Names s;
    for (const Zep::String& sName : l) s.insert(sName.c_str());
    return s;
}

// "kind:name " for every name of now that was not cached before, but the
// pictures of the button that the player pressed on that screen (its lit and
// pressed looks, drawn as it was pressed, and kept by the button).
std::string added(const CacheNames& before, const CacheNames& now, const std::string& sPressed) {
    std::string s;
    const std::string sLooks = "::btn::::" + sPressed + "_";
    auto list = [&](const char* szKind, const Names& a, const Names& b) {
        for (const std::string& sName : b)
            if (!a.count(sName) && sName.find(sLooks) == std::string::npos) s += std::string(szKind) + ":" + sName + " ";
    };
    list("animation", before.animations, now.animations);
    list("image", before.images, now.images);
    list("sample", before.samples, now.samples);
    list("music", before.music, now.music);
    return s;
}

class MenuRoad : public leveltest::DemoLevel {
protected:
    void SetUp() override {
        DemoLevel::SetUp();
        getProfileManager()->createProfile("Ann");
        m_app.setSetting("CurrentPlayerName", "Ann");
        m_app.setConfirmQuit(true);
    }
    void TearDown() override {
        releaseProfileManager();
        DemoLevel::TearDown();
    }
    CacheNames cached() {
        return {namesOf(m_app.getAnimationNames()), namesOf(m_app.getImageNames()), namesOf(m_app.getSampleNames()),
                namesOf(m_app.getMusicNames())};
    }
    Button* button(int nId) {
        for (const Zep::SmartPtr<Sprite>& p : m_app.getTopMode()->getAllSprites())
            if (auto* pButton = dynamic_cast<Button*>(p.get()); pButton && pButton->getCallbackId() == nId)
                return pButton;
        return nullptr;
    }
    // The sleeps of three frames that do no work: the frame period.
    std::string period() {
        m_pPlatform->setWorkTimePerFrame(0);
        frames();
        m_pPlatform->m_vSleeps.clear();
        frames(3);
        std::string s;
        for (uint32_t n : m_pPlatform->m_vSleeps) s += std::to_string(n) + " ";
        return s;
    }
    // The level of the map's Play, built, with some customers served.
    PlayMode* playSomeOfTheDay() {
        Button* pPlay = button(StoryManagerMode::kPlayId);
        if (!pPlay) return nullptr;
        clickOn(*pPlay);
        m_pLevel = waitFor<PlayMode>();
        if (!m_pLevel) return nullptr;
        m_pPlatform->setWorkTimePerFrame(40);
        for (int i = 0; i < 3000 && m_pLevel->getLevelData().m_nCustomersServed < 3; ++i) {
            playerMove();
            frames();
        }
        return m_pLevel;
    }
    // Options, Exit, the statistics counted up and ended; the map again once
    // any congratulation is closed.
    StoryManagerMode* leaveTheDay() {
        clickOn(*m_pLevel->getHud()->getOptionsButton());
        if (!top<TUKGameOptions>() || !button(GameOptionsDialog::kExit)) return nullptr;
        clickOn(*button(GameOptionsDialog::kExit));
        for (int i = 0; i < 2000 && isLevelOnStack(); ++i) {
            if (GameStatsMode* pStats = top<GameStatsMode>(); pStats && pStats->getStep() == GameStatsMode::kLastStep)
                clickOn(*pStats->getExitButton());
            frames();
        }
        for (int i = 0; i < 400 && !top<StoryManagerMode>(); ++i) {
            if (top<LongDialogMode>() && button(0)) clickOn(*button(0));
            frames();
        }
        return top<StoryManagerMode>();
    }
};

}  // namespace

TEST_F(MenuRoad, AfterADayTheMapAndTheMenuPaceAtSixtyAndTheCachesHoldNoMoreThanBefore) {
    auto* pMenu = new MenuMode();
    m_app.pushMode(pMenu);
    start(10000);
    for (int i = 0; i < 2000 && m_app.isPreloadPending(); ++i) frames();
    frames(60);  // the artwork faded in
    const CacheNames atMenu = cached();
    EXPECT_EQ(period(), "16 16 16 ");

    clickOn(*button(MenuMode::kFreePlay));
    ASSERT_TRUE(waitFor<StoryManagerMode>());
    frames(5);
    const CacheNames atMap = cached();
    ASSERT_TRUE(playSomeOfTheDay());
    EXPECT_EQ(m_app.getFrameRate(), PlayMode::kFrameRate);
    // The waitress's animation once, under the key of her sprites; nothing
    // of hers is left for the background preload.
    std::string sWaitress;
    for (const std::string& sName : cached().animations)
        if (sName.rfind("char0_odile", 0) == 0) sWaitress += sName + " ";
    EXPECT_EQ(sWaitress, "char0_odile.templateB ");
    EXPECT_FALSE(m_app.isPreloadPending());
    EXPECT_GE(m_pLevel->getLevelData().m_nCustomersServed, 3);

    ASSERT_TRUE(leaveTheDay());
    EXPECT_EQ(period(), "16 16 16 ");
    frames(5);
    EXPECT_EQ(added(atMap, cached(), "play"), "");

    clickOn(*button(StoryManagerMode::kMenuId));
    ASSERT_EQ(waitFor<MenuMode>(), pMenu);
    EXPECT_EQ(period(), "16 16 16 ");
    for (int i = 0; i < 2000 && m_app.isPreloadPending(); ++i) frames();
    frames(5);
    EXPECT_EQ(added(atMenu, cached(), "free play"), "");
}

// Three days of the campaign from the map, each played to its end: a won day
// adds its money and stars as the statistics showed them, and the
// adventure's score grows by 3 points a dollar and 50 a star.
TEST_F(MenuRoad, EachWonDayOfTheCampaignAddsThreePointsADollarAndFiftyAStar) {
    auto* p = static_cast<TUKPlayer*>(getProfileManager()->getProfile("Ann"));
    p->setAdventureInProgress(true);  // under way: no opening cut-scene
    auto* pMap = new StoryManagerMode(1, 3, p, 0);
    m_app.pushMode(pMap);
    start(10000);
    int nScore = 0;
    for (int nDay = 1; nDay <= 3; ++nDay) {
        clickOn(*button(StoryManagerMode::kPlayId));
        m_pLevel = waitFor<PlayMode>();
        ASSERT_TRUE(m_pLevel) << nDay;
        m_pPlatform->setWorkTimePerFrame(40);
        for (int i = 0; i < 20000 && !top<GameStatsMode>(); ++i) {
            playerMove();
            frames();
        }
        GameStatsMode* pStats = top<GameStatsMode>();
        ASSERT_TRUE(pStats) << nDay;
        for (int i = 0; i < 400 && pStats->getStep() < GameStatsMode::kLastStep; ++i) frames();
        const int nMoney = pStats->getScoreLabel()->getIntValue(), nStars = pStats->getStarsLabel()->getIntValue();
        clickOn(*pStats->getExitButton());
        ASSERT_TRUE(waitFor<StoreMode>()) << nDay;  // the map opens it after a won day
        top<StoreMode>()->onCallback(StoreMode::kBackId, nullptr);
        ASSERT_EQ(waitFor<StoryManagerMode>(), pMap) << nDay;
        EXPECT_EQ(p->getAdventureProgress(), nDay);
        nScore += 3 * nMoney + 50 * nStars;
        EXPECT_EQ(adventurescore::score(*p), nScore) << nDay << ": $" << nMoney << ", " << nStars << " stars";
    }
    EXPECT_GT(nScore, 3 * p->getWorkingScore(TUKPlayer::kMoneySlot));  // the stars count too
}
