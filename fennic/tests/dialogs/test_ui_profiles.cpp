#include <gtest/gtest.h>

#include <zep2/error.h>

#include "base/keys.h"
#include "application/profiles.h"
#include "dialogs/ui_profiledialogs.h"
#include "ui/uitest_util.h"

namespace {

using E = testkit::FakeEvent;
using Manager = ProfileManagerImpl<ProfileData>;

constexpr const char* kStrings =
    "SPD_Select Select\nSPD_Delete Delete\nSPD_Cancel Cancel\nSPD_CreateNew New player\n"
    "SPD_BtnConfirmDelete Yes, delete\nSPD_BtnCancelDelete Keep\nCPD_OK OK\nCPD_Cancel Back\n"
    "SPD_ListFull Full, delete one.\nSPD_ListFullKept More wait.\n";

class Profiles : public uitest::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        m_sOldConfig = GameApp::getConfigPath().c_str();
        GameApp::setConfigPath(m_dir.file("profiles.dat").c_str());
        m_pTexts->add("profiles.txt", testkit::resource(kStrings));
        m_app.loadStringTable("profiles.txt");
        m_app.pushMode(new GameMode());
    }
    void TearDown() override {
        GameApp::setConfigPath(m_sOldConfig.c_str());
        UiTest::TearDown();
    }
    void makeProfiles(int nCount) {
        for (int i = 1; i <= nCount; ++i) m_manager.createProfile(("Player" + std::to_string(i)).c_str());
    }
    void setCurrent(const char* szKey) { m_app.setSetting("CurrentPlayerName", szKey); }
    std::string current() { return m_app.getSetting("CurrentPlayerName").c_str(); }
    SelectProfileDialog* openList() {
        auto* p = new SelectProfileDialog(&m_manager, 0);
        m_app.pushMode(p);
        return p;
    }
    void clickOn(const Sprite& s) {
        auto [x, y] = uitest::centreOf(s);
        click(x, y);
    }
    void clickRow(SelectProfileDialog* p, int nRow) { clickOn(*p->getRows()[nRow]); }
    // The button of that caption among the top mode's controls.
    Button& button(const char* szCaption) {
        for (const Zep::SmartPtr<Sprite>& pSprite : m_app.getTopMode()->getAllSprites())
            if (auto* p = dynamic_cast<Button*>(pSprite.get()); p && p->getCaption() == szCaption) return *p;
        throw std::runtime_error(std::string("no button ") + szCaption);
    }
    std::vector<std::string> captions(SelectProfileDialog* p) {
        std::vector<std::string> v;
        for (const auto& pRow : p->getRows()) {
            const std::string sCaption = pRow->getCaption().c_str();
            v.push_back(pRow->isVisible() ? (pRow->isChecked() ? "*" : "") + sCaption : "-");
        }
        return v;
    }
    void type(const char* szText) {
        for (const char* c = szText; *c; ++c) pump({E::character(*c)});
    }
    // The settings file read back into fresh settings and a fresh manager: the keys and the current key.
    std::string readBack() {
        m_app.clearSettings();
        m_app.readSettingsFile(m_dir.file("profiles.dat").c_str());
        Manager fresh;
        fresh.load();
        std::string s;
        for (const Zep::String& sName : fresh.getProfileNames()) s += std::string(sName.c_str()) + " ";
        return s + "/ " + current();
    }

    Manager m_manager;
    std::string m_sOldConfig;
};

TEST_F(Profiles, SevenProfilesInFiveRowsScrollByButtonsAndWheel) {
    makeProfiles(7);
    setCurrent("player1");
    SelectProfileDialog* p = openList();
    using V = std::vector<std::string>;
    EXPECT_EQ((V{"*Player1", "Player2", "Player3", "Player4", "Player5"}), captions(p));
    EXPECT_FALSE(p->getUpButton()->isEnabled());
    EXPECT_TRUE(p->getDownButton()->isEnabled());
    clickOn(*p->getDownButton());
    clickOn(*p->getDownButton());
    EXPECT_EQ((V{"Player3", "Player4", "Player5", "Player6", "Player7"}), captions(p));
    EXPECT_FALSE(p->getDownButton()->isEnabled());
    EXPECT_TRUE(p->getUpButton()->isEnabled());
    // The wheel: up twice back to the top, down once.
    for (int nMask : {8, 8, 16}) pump({E::mouseMove(5, 5), E::mouseDown(nMask, 5, 5)});
    EXPECT_EQ(1, p->getTop());
    EXPECT_EQ("Player2", captions(p)[0]);
}

// A scroll button shows only while it can act; a list that fits its five
// rows has none.
TEST_F(Profiles, ScrollButtonsShowOnlyWhileTheyCanAct) {
    const struct {
        int nProfiles, nDown;  // profiles, then scrolls down
        bool bUp, bDown;       // shown (and enabled)
    } kCases[] = {{3, 0, false, false}, {5, 0, false, false}, {6, 0, false, true},
                  {7, 1, true, true},   {7, 2, true, false},  {7, 5, true, false}};
    for (const auto& c : kCases) {
        Manager manager;
        for (int i = 1; i <= c.nProfiles; ++i) manager.createProfile(("Player" + std::to_string(i)).c_str());
        setCurrent("player1");
        auto* p = new SelectProfileDialog(&manager, 0);
        m_app.pushMode(p);
        for (int i = 0; i < c.nDown; ++i) p->scrollTo(p->getTop() + 1);
        const std::string sCase = std::to_string(c.nProfiles) + " profiles, " + std::to_string(c.nDown) + " down";
        EXPECT_EQ(c.bUp, p->getUpButton()->isVisible()) << sCase;
        EXPECT_EQ(c.bUp, p->getUpButton()->isEnabled()) << sCase;
        EXPECT_EQ(c.bDown, p->getDownButton()->isVisible()) << sCase;
        EXPECT_EQ(c.bDown, p->getDownButton()->isEnabled()) << sCase;
        p->endMode();
    }
}

TEST_F(Profiles, UnusedRowsStayHiddenWithTheirFirstCaption) {
    makeProfiles(3);
    setCurrent("player2");
    SelectProfileDialog* p = openList();
    EXPECT_EQ((std::vector<std::string>{"Player1", "*Player2", "Player3", "-", "-"}), captions(p));
    EXPECT_EQ("Foo", std::string(p->getRows()[4]->getCaption().c_str()));
}

TEST_F(Profiles, TwoClicksUnder300MsSelectAndEnd) {
    makeProfiles(4);
    setCurrent("player1");
    SelectProfileDialog* p = openList();
    m_pPlatform->advance(1000);
    clickRow(p, 2);
    m_pPlatform->advance(300);
    clickRow(p, 2);  // 300 ms apart: only selected
    EXPECT_EQ(p, m_app.getTopMode());
    EXPECT_EQ("player3", std::string(p->getSelectedProfile().c_str()));
    EXPECT_EQ("player1", current());
    m_pPlatform->advance(299);
    clickRow(p, 2);
    EXPECT_NE(p, m_app.getTopMode());
    EXPECT_EQ("player1 player2 player3 player4 / player3", readBack());
}

TEST_F(Profiles, DeletingTheCurrentAndLastProfileThenCancelMakesTheNeighbourCurrent) {
    makeProfiles(3);
    setCurrent("player3");
    SelectProfileDialog* p = openList();
    clickOn(button("Delete"));
    auto* pConfirm = dynamic_cast<DeleteProfileDialog*>(m_app.getTopMode());
    ASSERT_NE(nullptr, pConfirm);
    EXPECT_TRUE(pConfirm->onKeyDown(Key::Escape, 0));  // Escape cancels
    EXPECT_EQ(p, m_app.getTopMode());
    clickOn(button("Delete"));
    clickOn(button("Yes, delete"));
    EXPECT_EQ(p, m_app.getTopMode());
    EXPECT_EQ((std::vector<std::string>{"Player1", "*Player2", "-", "-", "-"}), captions(p));
    EXPECT_EQ("player3", current());  // deleting leaves the setting alone
    clickOn(button("Cancel"));
    EXPECT_EQ("player1 player2 / player2", readBack());
}

TEST_F(Profiles, CancelKeepsAValidCurrentProfile) {
    makeProfiles(3);
    setCurrent("player1");
    SelectProfileDialog* p = openList();
    m_pPlatform->advance(1000);
    clickRow(p, 1);
    clickOn(button("Cancel"));
    EXPECT_EQ("player1 player2 player3 / player1", readBack());
}

TEST_F(Profiles, DeletingTheOnlyProfileForcesACreateDialogWithoutCancel) {
    makeProfiles(1);
    setCurrent("player1");
    openList();
    clickOn(button("Delete"));
    clickOn(button("Yes, delete"));
    auto* pCreate = dynamic_cast<CreateProfileDialog*>(m_app.getTopMode());
    ASSERT_NE(nullptr, pCreate);
    EXPECT_FALSE(pCreate->isCancelAllowed());
    key(Key::Escape);
    EXPECT_EQ(pCreate, m_app.getTopMode());
    // Blanks only keep OK disabled; Return is consumed anyway.
    type("   ");
    EXPECT_FALSE(pCreate->getOkButton()->isEnabled());
    EXPECT_TRUE(pCreate->onKeyDown(Key::Return, 0));
    type(" Neo ");
    EXPECT_TRUE(pCreate->getOkButton()->isEnabled());
    key(Key::KPEnter);
    auto* pList = dynamic_cast<SelectProfileDialog*>(m_app.getTopMode());
    ASSERT_NE(nullptr, pList);
    EXPECT_EQ("neo", std::string(pList->getSelectedProfile().c_str()));
    EXPECT_EQ((std::vector<std::string>{"*Neo", "-", "-", "-", "-"}), captions(pList));
    clickOn(button("Select"));
    EXPECT_EQ("neo / neo", readBack());
}

TEST_F(Profiles, ANameThatExistsInOtherCapitalsKeepsOkDisabled) {
    makeProfiles(2);
    setCurrent("player1");
    openList();
    clickOn(button("New player"));
    auto* pCreate = dynamic_cast<CreateProfileDialog*>(m_app.getTopMode());
    ASSERT_NE(nullptr, pCreate);
    type("PLAYER2");
    EXPECT_FALSE(pCreate->getOkButton()->isEnabled());
    type("b");
    EXPECT_TRUE(pCreate->getOkButton()->isEnabled());
    key(Key::Escape);  // Cancel is allowed here
    EXPECT_NE(pCreate, m_app.getTopMode());
    EXPECT_EQ(2, m_manager.getProfileCount());
}

TEST_F(Profiles, CheckCurrentProfileAnswers0Then1Then2) {
    MainMenuProfileManager menu(&m_manager);
    EXPECT_EQ(0, menu.checkCurrentProfile());
    auto* pCreate = dynamic_cast<CreateProfileDialog*>(m_app.getTopMode());
    ASSERT_NE(nullptr, pCreate);
    EXPECT_FALSE(pCreate->isCancelAllowed());
    type("Ada");
    key(Key::Return);
    EXPECT_EQ(1, menu.checkCurrentProfile());
    EXPECT_EQ("ada", current());
    EXPECT_EQ(2, menu.checkCurrentProfile());
    // A setting that names no profile falls back to the first one.
    m_manager.createProfile("Bob");
    setCurrent("ghost");
    EXPECT_EQ(1, menu.checkCurrentProfile());
    EXPECT_EQ("ada bob / ada", readBack());
}

// A press beside the name box, where no control is, leaves the keys with it
// (its dialog has no other field) and its caret where it was; a press on the
// box, its empty part included, keeps them too.
TEST_F(Profiles, APressBesideTheNameBoxLeavesItTheKeysAndItsCaret) {
    MainMenuProfileManager menu(&m_manager);
    EXPECT_EQ(0, menu.checkCurrentProfile());
    auto* pCreate = dynamic_cast<CreateProfileDialog*>(m_app.getTopMode());
    ASSERT_NE(nullptr, pCreate);
    EditBox& box = *pCreate->getEditBox();
    const Rect r = box.getBoundingRect();
    const int nMidX = (r.getLeft() + r.getRight()) / 2, nMidY = (r.getTop() + r.getBottom()) / 2;
    const struct {
        int nX, nY;      // the press
        int nCaretKey;   // a caret key pressed before it, 0 for none
        const char* szTyped;
        const char* szExpected;
    } kCases[] = {
        {5, 5, 0, "Ad", "Ad"},
        {r.getLeft() - 3, nMidY, Key::Home, "M", "MAd"},
        {r.getRight() + 2, nMidY, Key::End, "am", "MAdam"},
        {nMidX, r.getBottom() + 2, Key::Left, "-", "MAda-m"},
        {r.getRight() - 2, r.getBottom() - 2, 0, "x", "MAda-xm"},
    };
    for (const auto& c : kCases) {
        if (c.nCaretKey) key(c.nCaretKey);
        click(c.nX, c.nY);
        EXPECT_TRUE(box.hasFocus()) << c.nX << "," << c.nY;
        type(c.szTyped);
        EXPECT_EQ(c.szExpected, std::string(box.getText().c_str())) << c.nX << "," << c.nY;
    }
    key(Key::Return);
    EXPECT_EQ(1, menu.checkCurrentProfile());
    EXPECT_EQ("mada-xm", current());
}

TEST_F(Profiles, WithNoProfileTheListOpensTheCreateDialogAtOnceWithOkAlone) {
    SelectProfileDialog* pList = openList();
    auto* pCreate = dynamic_cast<CreateProfileDialog*>(m_app.getTopMode());
    ASSERT_NE(nullptr, pCreate);
    EXPECT_FALSE(pCreate->isCancelAllowed());
    Table& t = *pCreate->getTable();
    EXPECT_EQ(1, t.getCellCount(t.getRowCount() - 1));  // OK spans both columns
    type("Zoe");
    key(Key::Return);
    EXPECT_EQ(pList, m_app.getTopMode());
    clickOn(button("Cancel"));  // an empty current key: the selection becomes current
    EXPECT_EQ("zoe / zoe", readBack());
}

// "New player" in a full list shows why nothing is made, and the settings
// file keeps every byte; stored profiles kept aside are named too, until a
// delete has brought them into the list.
TEST_F(Profiles, NewPlayerInAFullListShowsAMessageAndWritesNothing) {
    const struct {
        int nStored, nDeleted;
        const char* szMessage;
    } kCases[] = {
        {100, 0, "Full, delete one."}, {101, 0, "Full, delete one. More wait."}, {101, 1, "Full, delete one."}};
    for (const auto& c : kCases) {
        {
            Manager stored;
            for (int i = 1; i <= c.nStored; ++i) stored.createProfile(("Player" + std::to_string(i)).c_str());
        }  // saved into the setting
        m_manager.load();
        if (c.nDeleted) m_manager.deleteProfile("player1");
        setCurrent("player50");
        m_app.saveSettingsFile();
        const std::string sFile = testkit::readFileBytes(m_dir.file("profiles.dat"));
        SelectProfileDialog* pList = openList();
        clickOn(button("New player"));
        auto* pMessage = dynamic_cast<DlgMessage*>(m_app.getTopMode());
        ASSERT_NE(nullptr, pMessage) << c.szMessage;
        auto* pText = dynamic_cast<Label*>(pMessage->getBodyTable()->getContent(0, 0, 0).get());
        EXPECT_EQ(c.szMessage, std::string(pText->getText().c_str()));
        EXPECT_TRUE(pText->isVisible());
        clickOn(dynamic_cast<Sprite&>(*pMessage->getButtonTable()->getContent(0, 0, 0)));
        EXPECT_EQ(pList, m_app.getTopMode());
        EXPECT_EQ(100, m_manager.getProfileCount());
        EXPECT_EQ(sFile, testkit::readFileBytes(m_dir.file("profiles.dat"))) << c.szMessage;
        pList->endMode();
    }
}

TEST_F(Profiles, AListOpenedWithACurrentKeyThatNamesNoProfileFails) {
    makeProfiles(1);
    setCurrent("ghost");
    try {
        openList();
        FAIL() << "no assertion";
    } catch (const Zep::AssertFailException& e) {
        EXPECT_STREQ("Assertion failed : false", e.getMessage());
    }
}

}  // namespace

namespace {

// Images cached while a dialog builds itself leave the cache with the guard;
// older ones stay.
TEST_F(Profiles, TheCleanupGuardReleasesOnlyTheImagesAddedMeanwhile) {
    m_app.addImage("temp/old", imagetest::solid(3, 3, true, Color(1, 2, 3, 255)).get(), false);
    const int nBefore = m_app.getImageNames().getCount();
    {
        __CleanupTempImages guard;
        m_app.addImage("temp/new", imagetest::solid(3, 3, true, Color(1, 2, 3, 255)).get(), false);
        EXPECT_TRUE(m_app.imageExists("temp/new"));
    }
    EXPECT_FALSE(m_app.imageExists("temp/new"));
    EXPECT_TRUE(m_app.imageExists("temp/old"));
    EXPECT_EQ(nBefore, m_app.getImageNames().getCount());
}

}  // namespace
