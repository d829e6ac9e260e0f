// The main menu over the game's real profile manager and a settings file in
// a temporary folder: the forced first profile, the start paths and their
// log lines, the questions before an adventure, and the commits by game kind.
#include <gtest/gtest.h>

#include "screens/democontent_util.h"
#include "screens/frontend_util.h"
#include "base/keys.h"
#include "screens/menumode.h"
#include "screens/storymanager.h"
#include "dialogs/ui_dialog.h"
#include "dialogs/ui_profiledialogs.h"
#include "dialogs/ui_stddialogs.h"

namespace {

using E = testkit::FakeEvent;

class MenuTest : public frontendtest::FrontEndTest {
protected:
    MenuMode* openMenu() {
        m_pMenu = new MenuMode();
        m_app.pushMode(m_pMenu);
        return m_pMenu;
    }
    // The log written since the last call.
    std::string newLog() {
        const std::string s = m_files.logText();
        const std::string sNew = s.substr(std::min(m_nLogSeen, s.size()));
        m_nLogSeen = s.size();
        return sNew;
    }
    StoryManagerMode* map() {
        for (int i = 0; i < m_app.getModeCount(); ++i)
            if (auto* p = dynamic_cast<StoryManagerMode*>(m_app.getModeAt(i))) return p;
        return nullptr;
    }
    void backToMenu() {
        while (m_app.getTopMode() != m_pMenu) endTop();
    }
    // A player with an adventure in progress at that point, current.
    TUKPlayer* ann(int nProgress) {
        TUKPlayer* p = player("Ann");
        p->setAdventureInProgress(true);
        p->setAdventureProgress(nProgress);
        p->setStageNumber(nProgress / 10);
        m_app.setSetting("CurrentPlayerName", "ann");
        return p;
    }

    // The texts of the top mode's labels, one after the other.
    std::string shownText() {
        std::string sShown;
        for (const Zep::SmartPtr<Sprite>& pSprite : m_app.getTopMode()->getAllSprites())
            if (auto* pLabel = dynamic_cast<Label*>(pSprite.get())) sShown += pLabel->getText().c_str();
        return sShown;
    }

    MenuMode* m_pMenu = nullptr;
    size_t m_nLogSeen = 0;
};

}  // namespace

TEST_F(MenuTest, NoProfileForcesTheCreationWithoutCancelThenGreetsTheNewPlayerAndSaves) {
    m_app.setConfirmQuit(true);
    openMenu();
    auto* pCreate = top<CreateProfileDialog>();
    ASSERT_TRUE(pCreate);
    EXPECT_FALSE(pCreate->isCancelAllowed());
    events({E::keyDown(Key::Escape)});
    EXPECT_EQ(top<CreateProfileDialog>(), pCreate);
    EXPECT_EQ(m_pMenu->getPlayer(), nullptr);
    EXPECT_EQ(m_app.getSetting("DoneWelcome"), "");
    for (char c : std::string("Ann")) events({E::character(c)});
    events({E::keyDown(Key::Return)});
    ASSERT_EQ(m_app.getTopMode(), m_pMenu);
    EXPECT_EQ(m_pMenu->getPlayerName(), "ann");
    EXPECT_EQ(m_pMenu->getNameLabel()->getText(), "Ann");
    EXPECT_EQ(m_pAudio->m_vMusic, std::vector<std::string>{"ms_menu"});
    // The greeting centred on x 215: the welcome picture (60 wide), one space
    // of the name's font (less the label's margin), the name, the sign over it.
    Label& name = *m_pMenu->getNameLabel();
    const int nGap = name.getFont()->getTextWidth(" ") - name.getTextMargin();
    const int nName = name.getWidth(), x = 215 - (60 + nGap + nName) / 2;
    EXPECT_EQ(m_pMenu->getWelcome()->getPosition(), Point(x, 315));
    EXPECT_EQ(name.getPosition(), Point(x + 60 + nGap, 310));
    EXPECT_EQ(m_pMenu->getNotMe()->getPosition(), Point(x + 60 + nGap + nName / 2 - 10, 300));
    EXPECT_FALSE(m_pMenu->getNotMe()->isVisible());
    EXPECT_NE(readBack("ann"), "(none)");
    EXPECT_EQ(m_app.getSetting("CurrentPlayerName"), "ann");
    EXPECT_EQ(m_app.getSetting("DoneWelcome"), "YES");
}

TEST_F(MenuTest, AStaleCurrentNameFallsToTheFirstProfileSilently) {
    player("Bea");
    player("Cid");
    m_app.setSetting("CurrentPlayerName", "gone");
    openMenu();
    EXPECT_EQ(m_app.getTopMode(), m_pMenu);
    EXPECT_EQ(m_pMenu->getPlayerName(), "bea");
}

// A settings file cut short, of random bytes or 50 MB long: the notice that
// names its kept copy comes first, then the forced first name; once the
// player has one, the menu comes back without the notice.
TEST_F(MenuTest, UnreadableSettingsAreToldOnceNamingTheCopyBeforeTheFirstName) {
    m_app.saveSettingsFile();
    const std::string sGood = testkit::readFileBytes(m_files.configPath());
    std::string sRandom(4096, '\0');
    unsigned nSeed = 56;
    for (char& c : sRandom) c = static_cast<char>((nSeed = nSeed * 1103515245u + 12345u) >> 16);
    const std::string kDamaged[] = {sGood.substr(0, sGood.size() / 2), sRandom, std::string(50 << 20, 'x')};
    const char* kCopies[] = {".bad", ".bad.1", ".bad.2"};
    for (size_t i = 0; i < std::size(kDamaged); ++i) {
        testkit::writeFileBytes(m_files.configPath(), kDamaged[i]);
        m_app.loadSettings();
        openMenu();
        ASSERT_TRUE(top<DlgMessage>()) << i;
        const std::string sCopy = m_files.configPath() + kCopies[i];
        EXPECT_EQ(shownText(), "BSD_NotRead\n" + sCopy + "\nBSD_Defaults") << i;
        events({E::keyDown(Key::Return)});
        ASSERT_TRUE(top<CreateProfileDialog>()) << i;
        for (char c : std::string("Ann")) events({E::character(c)});
        events({E::keyDown(Key::Return)});
        EXPECT_EQ(m_app.getTopMode(), m_pMenu) << i;
        m_app.pushMode(new TUKMode());
        endTop();
        EXPECT_EQ(m_app.getTopMode(), m_pMenu) << i;
        EXPECT_TRUE(testkit::readFileBytes(sCopy) == kDamaged[i]) << i;
        endTop();
    }
}

// A start that found the settings file damaged ends before the menu (no
// display, say); the file it wrote has profiles that can't be read. The next
// start tells both, the settings first, before the first name; the profiles
// then lie in their backup key in the file. A third start tells nothing.
TEST_F(MenuTest, DamagedSettingsAndProfilesAreToldOnceAtTheFirstStartThatReachesTheMenu) {
    m_pFiles->add("bpd.txt", testkit::resource("BPD_KeptAs kept as %s\n"));
    m_app.loadStringTable("bpd.txt");
    const std::string sConfig = m_files.configPath();
    testkit::writeFileBytes(sConfig, "not a settings file");
    m_app.loadSettings();
    // A count of 12345, or more swapped.
    const Zep::String sProfiles = Zep::String::escapeBinary("\x05\x39\x30\x00\x00junk", 9);
    m_app.setSetting(ProfileManager::kSettingKey, sProfiles.c_str());
    m_app.saveSettingsFile();

    const std::string kTold[] = {"BSD_NotRead\n" + sConfig + ".bad\nBSD_Defaults",
                                 "BPD_NotRead\n" + sConfig + "\nkept as PLAYER_MANAGER_PLAYER_PROFILE_DATA.bad"};
    m_app.loadSettings();
    openMenu();
    for (const std::string& sTold : kTold) {
        ASSERT_TRUE(top<DlgMessage>()) << sTold;
        EXPECT_EQ(shownText(), sTold);
        events({E::keyDown(Key::Return)});
    }
    ASSERT_TRUE(top<CreateProfileDialog>());
    for (char c : std::string("Ann")) events({E::character(c)});
    events({E::keyDown(Key::Return)});
    endTop();

    m_app.loadSettings();
    openMenu();
    EXPECT_EQ(m_app.getTopMode(), m_pMenu);
    EXPECT_EQ(m_pMenu->getPlayerName(), "ann");
    EXPECT_EQ(m_app.getSetting(ProfileManager::kBackupKey), sProfiles);
    EXPECT_EQ(m_app.getSetting(GameApp::kUntoldCopyKey), "");
}

struct StartPath {
    bool bInProgress;
    int nFirstButton;   // on the menu
    int nAnswerButton;  // on the start-again question, 0 for none
    const char* szLog;
    bool bFade;
    int nKind;
    const char* szPlayer;
};

TEST_F(MenuTest, EachStartPathLogsItsLinesAndPushesTheMap) {
    m_app.setSetting("Difficulty", "2");
    TUKPlayer* p = ann(12);
    p->setStoryValue(7);
    p->setDifficulty(0);
    openMenu();
    newLog();
    const StartPath kRows[] = {
        {false, 8, 0, "nS1\nMM push path 2 SM nS1\n", false, 0, "flag 1 stage 0 diff 2 story 3 progress 0"},
        {true, 8, StartAgainDlg::kContinue, "nS1\nMM push path 1 SM nS1\n", true, 0,
         "flag 1 stage 1 diff 2 story 7 progress 12"},
        {true, 8, StartAgainDlg::kStartNew, "nS1\nMM push path 5 SM nS1\n", false, 0,
         "flag 1 stage 0 diff 2 story 3 progress 0"},
        {true, 9, 0, "nS1\nMM push path 3 SM nS1\n", true, 1, "flag 1 stage 1 diff 2 story 7 progress 12"},
        {true, 10, 0, "nS1\nMM push path 4 SM nS1\n", true, 2, "flag 1 stage 1 diff 2 story 7 progress 12"},
    };
    for (const StartPath& row : kRows) {
        ann(12)->setAdventureInProgress(row.bInProgress);
        p->setStoryValue(7);
        p->setDifficulty(0);
        pressOn(button(row.nFirstButton));
        if (row.nAnswerButton) pressOn(button(row.nAnswerButton));
        EXPECT_EQ(newLog(), row.szLog);
        EXPECT_EQ(dynamic_cast<ModeTransition*>(m_app.getTopMode()) != nullptr, row.bFade) << row.szLog;
        settle();
        ASSERT_TRUE(map()) << row.szLog;
        EXPECT_EQ(map()->getGameKind(), row.nKind);
        EXPECT_EQ(map()->getDifficulty(), 2);
        EXPECT_EQ(m_pMenu->getGameKind(), row.nKind);
        EXPECT_NE(describe(*p).find(row.szPlayer), std::string::npos) << describe(*p);
        backToMenu();
    }
}

TEST_F(MenuTest, WithAnAdventureUnderWayTheMenuAsksFirstAndCancellingDoesNothing) {
    const std::pair<int, const char*> kRows[] = {{49, "start again"}, {50, "finished"}};
    for (const auto& [nProgress, szQuestion] : kRows) {
        TUKPlayer* p = ann(nProgress);
        if (!m_pMenu) openMenu();
        newLog();
        const std::string sBefore = describe(*p);
        pressOn(button(MenuMode::kAdventure));
        if (nProgress < 50) {
            EXPECT_TRUE(top<StartAgainDlg>()) << szQuestion;
        } else {
            ASSERT_TRUE(top<DlgYesNo>()) << szQuestion;
            std::string sTexts;
            for (const auto& pSprite : m_app.getTopMode()->getAllSprites())
                if (auto* pLabel = dynamic_cast<Label*>(pSprite.get())) sTexts += pLabel->getText().c_str();
            EXPECT_NE(sTexts.find("All done, again?"), std::string::npos);
        }
        if (nProgress < 50)
            events({E::keyDown(Key::Escape)});  // cancel
        else
            pressOn(button(CommonDialog::kNo));
        EXPECT_EQ(m_app.getTopMode(), m_pMenu) << szQuestion;
        EXPECT_EQ(newLog(), "") << szQuestion;
        EXPECT_EQ(describe(*p), sBefore) << szQuestion;
    }
    EXPECT_EQ(m_app.m_nCloseRequests, 0);
    events({E::keyDown(Key::Escape)});  // the menu's own Escape: the close request
    EXPECT_EQ(m_app.m_nCloseRequests, 1);
}

// Relax mode commits nothing, free play raises the best value only, the
// adventure commits its working values; after the profile selection nothing
// is committed.
TEST_F(MenuTest, ScoresAreCommittedByTheKindOfTheGameThatEnded) {
    TUKPlayer* p = ann(5);
    p->setWorkingScore(0, 100);
    p->commitScores(0);
    openMenu();
    const struct {
        int nButton;
        int nAnswer;
        int nScore;  // what the game leaves in working slot 0
        const char* szAfter;
    } kRows[] = {
        {MenuMode::kRelaxMode, 0, 300, "work 300,0,0+0 done 100,0+0 best 100"},
        {MenuMode::kFreePlay, 0, 300, "work 300,0,0+0 done 100,0+0 best 300"},
        {MenuMode::kAdventure, StartAgainDlg::kContinue, 250, "work 250,0,0+0 done 250,0+0 best 300"},
        {MenuMode::kAdventure, StartAgainDlg::kContinue, 90, "work 90,0,0+0 done 90,0+0 best 300"},
    };
    for (const auto& row : kRows) {
        pressOn(button(row.nButton));
        if (row.nAnswer) pressOn(button(row.nAnswer));
        settle();
        p->setWorkingScore(0, row.nScore);
        backToMenu();
        EXPECT_NE(describe(*p).find(row.szAfter), std::string::npos) << describe(*p);
    }
    // The name opens the profile selection; its not-me sign shows while the mouse rests there.
    const Rect r = m_pMenu->getNameLabel()->getBoundingRect();
    events({E::mouseMove(r.getLeft() + 2, r.getTop() + 2)});
    m_app.updateModes(0.01f);
    EXPECT_TRUE(m_pMenu->getNotMe()->isVisible());
    pressOn(*m_pMenu->getNameLabel());
    ASSERT_TRUE(top<SelectProfileDialog>());
    EXPECT_EQ(m_pMenu->getGameKind(), -1);
    p->setWorkingScore(0, 999);
    pressOn(button(SelectProfileDialog::kCancel));
    EXPECT_EQ(m_app.getTopMode(), m_pMenu);
    EXPECT_NE(readBack("ann").find("work 999,0,0+0 done 90,0+0 best 300"), std::string::npos) << readBack("ann");
}

namespace {

class DemoMenu : public democontent::DemoContentTest {
protected:
    // The greeting sign as the menu's nearest layer draws it: the run of
    // opaque pixels through (x, y) across and down.
    Rect signAround(int x, int y) {
        Zep::SmartPtr<Image> pLayer = m_app.getImage("menu_fondo_0");
        pLayer->lock();
        auto opaque = [&](int px, int py) {
            return px >= 0 && py >= 0 && px < pLayer->getWidth() && py < pLayer->getHeight() &&
                   pLayer->readPixel(px, py).getAlpha() == 255;
        };
        int nLeft = x, nRight = x, nTop = y, nBottom = y;
        while (opaque(nLeft - 1, y)) --nLeft;
        while (opaque(nRight, y)) ++nRight;
        while (opaque(x, nTop - 1)) --nTop;
        while (opaque(x, nBottom)) ++nBottom;
        pLayer->unlock();
        return Rect(nLeft, nTop, nRight, nBottom);
    }
    // The columns of the button's picture where its light caption shows,
    // inside the rim a chosen row has.
    static std::pair<int, int> captionColumns(const Button& button) {
        Zep::SmartPtr<Image> p = button.getImage();
        constexpr int kRim = 8;
        p->lock();
        int nFirst = p->getWidth(), nLast = -1;
        for (int y = kRim; y < p->getHeight() - 2 * kRim; ++y)
            for (int x = kRim; x < p->getWidth() - kRim; ++x) {
                const Color c = p->readPixel(x, y);
                if (c.getRed() > 240 && c.getGreen() > 235 && c.getBlue() > 210)
                    nFirst = std::min(nFirst, x), nLast = std::max(nLast, x);
            }
        p->unlock();
        return {nFirst, nLast};
    }
};

}  // namespace

// The longest name the new-player box takes, typed there, and two others:
// on the menu "Welcome," and the name stand on the sign; in the player list
// each name keeps between its button's caps. The profiles keep their names.
TEST_F(DemoMenu, TheLongestNameTheNewPlayerBoxTakesFitsTheSignAndTheList) {
    auto* pMenu = new MenuMode();
    m_app.pushMode(pMenu);
    ASSERT_TRUE(dynamic_cast<CreateProfileDialog*>(m_app.getTopMode()));
    for (int i = 0; i < 20; ++i) events({E::character('W')});
    events({E::keyDown(Key::Return)});
    ASSERT_EQ(m_app.getTopMode(), pMenu);
    // The box takes as many as its field holds with the caret behind them.
    const std::string sLongest = pMenu->getPlayer()->getName().c_str();
    EXPECT_EQ(sLongest, std::string(11, 'W'));
    for (const char* szOther : {"Maximiliana-Wolf", "Ann"}) getProfileManager()->createProfile(szOther);

    for (const char* szName : {sLongest.c_str(), "Maximiliana-Wolf", "Ann"}) {
        m_app.setSetting("CurrentPlayerName", Zep::String(szName).toLower().c_str());
        auto* pList = new SelectProfileDialog(getProfileManager(), 0);
        m_app.pushMode(pList);
        for (const Zep::SmartPtr<Sprite>& pSprite : pList->getAllSprites()) {
            auto* pRow = dynamic_cast<ToggleButton*>(pSprite.get());
            if (!pRow || !pRow->isVisible() || pRow->getCallbackId() < SelectProfileDialog::kFirstRow) continue;
            const auto [nFirst, nLast] = captionColumns(*pRow);
            const std::string sRow = std::string(pRow->getCaption().c_str()) + ", columns " + std::to_string(nFirst) +
                                     " to " + std::to_string(nLast) + " of " + std::to_string(pRow->getWidth());
            EXPECT_GE(nFirst, 12) << sRow;
            EXPECT_LT(nLast, pRow->getWidth() - 12) << sRow;
        }
        pList->onCallback(SelectProfileDialog::kSelect, nullptr);
        m_app.updateModes(0.01f);
        ASSERT_EQ(m_app.getTopMode(), pMenu);

        const Zep::String sShown = pMenu->getNameLabel()->getText();
        EXPECT_EQ(std::string(pMenu->getPlayer()->getName().c_str()), szName);
        const Rect name = pMenu->getNameLabel()->getBoundingRect();
        const Rect welcome = democontent::opaqueBox(*pMenu->getWelcome());
        const Rect sign = signAround(215, (name.getTop() + name.getBottom()) / 2);
        const std::string sCase = std::string(szName) + " shown as " + sShown.c_str();
        EXPECT_TRUE(democontent::contains(sign, name))
            << sCase << ": " << democontent::describe(name) << " on the sign " << democontent::describe(sign);
        EXPECT_TRUE(democontent::contains(sign, welcome))
            << sCase << ": welcome " << democontent::describe(welcome) << " on the sign " << democontent::describe(sign);
        EXPECT_EQ(std::string(sShown.c_str()).substr(0, 3), std::string(szName).substr(0, 3)) << sCase;
        // One space between "Welcome," and the name, as the name's font sets it.
        const int nSpace = pMenu->getNameLabel()->getFont()->getTextWidth(" ");
        const int nGap = democontent::opaqueBox(*pMenu->getNameLabel()).getLeft() - welcome.getRight();
        EXPECT_NEAR(nGap, nSpace, 3) << sCase;
        if (std::string(szName) == "Ann") {
            EXPECT_EQ(sShown, "Ann");
        }
    }
}

// With the adventure finished, the menu's Adventure asks in the game's own
// words whether to start a new one, which is what its Yes does.
TEST_F(DemoMenu, TheFinishedAdventureAsksTheQuestionItsYesAnswers) {
    TUKPlayer* p = static_cast<TUKPlayer*>(getProfileManager()->createProfile("Ann"));
    p->setAdventureInProgress(true);
    p->setAdventureProgress(50);
    m_app.setSetting("CurrentPlayerName", "ann");
    auto* pMenu = new MenuMode();
    m_app.pushMode(pMenu);
    pMenu->onCommand(MenuMode::kAdventure);
    auto* pQuestion = dynamic_cast<DlgYesNo*>(m_app.getTopMode());
    ASSERT_TRUE(pQuestion);
    std::string sTexts;
    for (const Zep::SmartPtr<Sprite>& pSprite : pQuestion->getAllSprites())
        if (auto* pLabel = dynamic_cast<Label*>(pSprite.get()); pLabel && pLabel->isVisible())
            sTexts += std::string(pLabel->getText().c_str()) + "|";
    EXPECT_EQ(sTexts, "You have finished the adventure! Start a new one?|");
    pQuestion->onCallback(CommonDialog::kYes, nullptr);
    m_app.updateModes(0.01f);
    bool bMap = false;
    for (int i = 0; i < m_app.getModeCount(); ++i) bMap = bMap || dynamic_cast<StoryManagerMode*>(m_app.getModeAt(i));
    EXPECT_TRUE(bMap);
    EXPECT_EQ(p->getAdventureProgress(), 0);
    EXPECT_TRUE(p->isAdventureInProgress());
}
