#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/keys.h"
#include "dialogs/ui_gameoptions.h"
#include "ui/uitest_util.h"

namespace {

using E = testkit::FakeEvent;

// Logs the ids and whether the dialog had already left the stack.
struct NotifyLog : ICallbackTarget {
    void onCallback(int nId, void*) override {
        vIds.push_back(nId);
        bEndedFirst = !pApp->isModeOnStack(pDialog);
    }
    std::vector<int> vIds;
    GameApp* pApp = nullptr;
    GameMode* pDialog = nullptr;
    bool bEndedFirst = false;
};

class Options : public uitest::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        m_pVideo = static_cast<testkit::FakeVideoDriver*>(m_app.getVideoDriver());
        m_app.pushMode(new GameMode());
        m_log.pApp = &m_app;
    }
    GameOptionsDialog* open(ICallbackTarget* pNotify, int nSections, int nContinueId = 0, int nExitId = 0) {
        auto* p = new GameOptionsDialog(pNotify, nContinueId, nExitId);
        p->setSections(nSections);
        m_log.pDialog = p;
        m_app.pushMode(p);
        return p;
    }
    void clickOn(const Sprite& s) {
        auto [x, y] = uitest::centreOf(s);
        click(x, y);
    }
    void addStrings(const char* szText) {
        m_pTexts->add("opt.txt", testkit::resource(szText));
        m_app.loadStringTable("opt.txt");
    }
    static std::string caption(Table& t, int nCell) {
        auto* p = dynamic_cast<Button*>(t.getContent(0, nCell, 0).get());
        return p ? p->getCaption().c_str() : "(not a button)";
    }

    testkit::FakeVideoDriver* m_pVideo = nullptr;
    NotifyLog m_log;
};

TEST_F(Options, ButtonsWithAndWithoutATarget) {
    GameOptionsDialog* p = open(nullptr, 13);
    Table& buttons = *p->getButtonsTable();
    ASSERT_EQ(1, buttons.getCellCount(0));
    EXPECT_EQ("GOD_BtnOK", caption(buttons, 0));
    clickOn(dynamic_cast<Sprite&>(*buttons.getContent(0, 0, 0)));
    EXPECT_FALSE(m_app.isModeOnStack(p));
    // Continue sends the continue id, Exit the exit id, each after the end.
    for (int nCell : {0, 1}) {
        m_app.deleteEndedModes();
        p = open(&m_log, 13, 2, 1);
        Table& row = *p->getButtonsTable();
        EXPECT_EQ(nCell == 0 ? "GOD_BtnContinue" : "GOD_BtnExit", caption(row, nCell));
        clickOn(dynamic_cast<Sprite&>(*row.getContent(0, nCell, 0)));
        EXPECT_TRUE(m_log.bEndedFirst);
    }
    EXPECT_EQ((std::vector<int>{2, 1}), m_log.vIds);
}

// The buttons that close the dialog store the volumes and the screen mode and
// save the settings file at once, so what the player confirmed outlives a
// kill; a file that can't be written is logged and the dialog closes all the
// same.
TEST_F(Options, ClosingButtonsSaveTheVolumesAndTheScreenModeAtOnce) {
    const std::string sConfig = GameApp::getConfigPath().c_str();
    const struct { bool bNotify; int nCell; int nSound; int nMusic; } kCases[] = {
        {false, 0, 40, 90}, {true, 0, 41, 91}, {true, 1, 42, 92}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.nSound);
        std::remove(sConfig.c_str());
        m_app.deleteEndedModes();
        GameOptionsDialog* p = open(c.bNotify ? &m_log : nullptr, 13, 2, 1);
        p->getSoundSlider()->setValue(c.nSound);
        p->getMusicSlider()->setValue(c.nMusic);
        EXPECT_FALSE(testkit::fileExists(sConfig));
        clickOn(dynamic_cast<Sprite&>(*p->getButtonsTable()->getContent(0, c.nCell, 0)));
        EXPECT_FALSE(m_app.isModeOnStack(p));
        m_app.clearSettings();
        m_app.readSettingsFile(sConfig.c_str());
        EXPECT_EQ(std::to_string(c.nSound), m_app.getSetting("SoundVolume").c_str());
        EXPECT_EQ(std::to_string(c.nMusic), m_app.getSetting("MusicVolume").c_str());
        EXPECT_STREQ("FALSE", m_app.getSetting("Fullscreen").c_str());
    }
    m_app.deleteEndedModes();
    GameApp::setConfigPath(m_dir.file("no/such/folder/tukconfig.dat").c_str());
    GameOptionsDialog* p = open(nullptr, 13);
    clickOn(dynamic_cast<Sprite&>(*p->getButtonsTable()->getContent(0, 0, 0)));
    EXPECT_FALSE(m_app.isModeOnStack(p));
    EXPECT_NE(std::string::npos, m_files.logText().find("G: ** Settings not saved : ")) << m_files.logText();
}

TEST_F(Options, SectionsChooseTheRows) {
    struct Case { int nSections; int nContentRows; int nControlRows; bool bSliders; int nDepthOptions; };
    const Case kCases[] = {{13, 4, 4, true, 0}, {5, 2, 4, true, 0}, {0, 2, 0, false, 0}, {2, 2, 2, false, 3}};
    for (const Case& c : kCases) {
        GameOptionsDialog* p = open(nullptr, c.nSections);
        EXPECT_EQ(c.nContentRows, p->getTable()->getRowCount()) << c.nSections;
        EXPECT_EQ(c.nControlRows, p->getControlsTable()->getRowCount()) << c.nSections;
        EXPECT_EQ(c.bSliders, p->getSoundSlider().notNULL()) << c.nSections;
        EXPECT_EQ(c.nDepthOptions, p->getDepthGroup().getCount()) << c.nSections;
        EXPECT_EQ("GameOptionsDialog", std::string(p->getTable()->getName().c_str()));
        p->endMode();
        m_app.deleteEndedModes();
    }
}

TEST_F(Options, DraggingTheSoundSliderSetsTheVolumeOnEveryChange) {
    m_app.setSoundVolume(0);
    GameOptionsDialog* p = open(nullptr, 4);
    HSlider& slider = *p->getSoundSlider();
    EXPECT_EQ(0, slider.getValue());
    const int x = slider.getX() + 2, y = slider.getY() + 2;
    pump({E::mouseMove(x, y), E::mouseDown(1, x, y)});
    m_pPlatform->m_setButtons.insert(1);
    // The knob is 4 wide and the track 8 .. 192: 100 pixels on gives 255 x 92 / 184.
    pump({E::mouseMove(x + 100, y)});
    EXPECT_EQ(127, m_app.getSoundVolume());
    pump({E::mouseMove(x + 500, y + 300)});
    EXPECT_EQ(255, m_app.getSoundVolume());
    m_pPlatform->m_setButtons.erase(1);
    pump({E::mouseUp(1, x + 500, y + 300)});
    EXPECT_TRUE(sounds().empty());  // no test sample
    // With a test sample each change plays it; the music slider sets the music volume.
    p->setTestSample(m_app.getSample("sfx_ui_click"));
    slider.setValue(9);
    EXPECT_EQ(std::vector<std::string>{"sfx_ui_click"}, sounds());
    p->getMusicSlider()->setValue(33);
    EXPECT_EQ(33, m_app.getMusicVolume());
}

TEST_F(Options, AFailedScreenSwitchChecksTheRealModeAgainInTheSameCall) {
    m_app.setFullscreen(true);
    GameOptionsDialog* p = open(nullptr, 1);
    const RadioGroup& group = p->getFullscreenGroup();
    EXPECT_TRUE(group.get(0)->isChecked());
    // The driver keeps full screen: full screen is checked again at once and nothing is shown.
    m_pVideo->m_bRefuseFullscreen = true;
    clickOn(*group.get(1)->getLabelButton());
    EXPECT_TRUE(m_app.isFullscreen());
    EXPECT_TRUE(group.get(0)->isChecked());
    EXPECT_FALSE(group.get(1)->isChecked());
    EXPECT_EQ(p, m_app.getTopMode());
    // With "GOD_CantToggle" the text is shown as a message whose OK id (-1) nobody handles.
    addStrings("GOD_CantToggle Cannot switch now\n");
    clickOn(*group.get(1)->getLabelButton());
    auto* pMessage = dynamic_cast<DlgMessage*>(m_app.getTopMode());
    ASSERT_NE(nullptr, pMessage);
    EXPECT_FALSE(pMessage->onKeyDown(Key::Return, 0));  // no OK id: Enter is not an answer
    clickOn(dynamic_cast<Sprite&>(*pMessage->getButtonTable()->getContent(0, 0, 0)));
    EXPECT_EQ(p, m_app.getTopMode());
    // A switch made elsewhere (the full-screen key) shows on the next frame.
    m_pVideo->m_bFullscreen = false;
    p->onUpdate(0.02f);
    EXPECT_FALSE(group.get(0)->isChecked());
    EXPECT_TRUE(group.get(1)->isChecked());
}

TEST_F(Options, BppIsWrittenOnlyWhenTheDepthTookEffect) {
    GameOptionsDialog* p = open(nullptr, 2);
    const RadioGroup& group = p->getDepthGroup();
    EXPECT_EQ((std::vector<bool>{false, false, true}),
              (std::vector<bool>{group.get(0)->isChecked(), group.get(1)->isChecked(), group.get(2)->isChecked()}));
    clickOn(*group.get(0)->getLabelButton());
    EXPECT_EQ("16", std::string(m_app.getSetting("BPP").c_str()));
    EXPECT_TRUE(group.get(0)->isChecked());
    m_pVideo->m_bRefuseDepth = true;
    clickOn(*group.get(1)->getLabelButton());
    EXPECT_EQ("16", std::string(m_app.getSetting("BPP").c_str()));
    EXPECT_FALSE(group.get(1)->isChecked());
    EXPECT_TRUE(group.get(0)->isChecked());
    EXPECT_EQ("setBitDepth 24", m_pVideo->m_vCalls.back());
}

}  // namespace
