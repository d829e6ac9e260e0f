// The set-up of the front-end suites (loading screen, menu, options, map):
// the screen suites' application with the pictures, texts, tracks and theme
// styles of those screens, the game's real profile manager over the test's
// settings, and helpers to find controls, finish fades and read a player
// back from the settings file.
#pragma once

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "records/profileaccess.h"
#include "screens/screens_util.h"
#include "sprite/transition.h"
#include "records/tukplayer.h"
#include "ui/ui_button.h"

namespace frontendtest {

constexpr const char* kStrings =
    "MNM_Adventure Adventure\nMNM_Relax_Mode Relax\nMNM_Free_Play Free\nMNM_Won All done, again?\n"
    "LDN_Loading Loading\nSAD_Title Saved\nSAD_MainText Go on?\nSAD_Continue Continue\nSAD_StartNew New\n"
    "SAD_Cancel Cancel\nyes Yes\nno No\nGOD_Difficulty Difficulty\nGOD_Easy Easy\nGOD_Medium Medium\n"
    "GOD_Hard Hard\nGOD_Credits Credits\nGOD_BtnOK OK\nGOD_BtnContinue Continue\nGOD_BtnExit Exit\n"
    "AboutVerFmt Version %d.%d.%d\ntext_design_g Design\nMAP_Stage Stage %d\nMAP_Day Day %d\n"
    "MAP_Money Money %d\nMAP_Play Play\nMAP_Menu Menu\nMAP_Finished Done\n";

constexpr const char* kStyles =
    "framestyle sand_undecoratedframe\nframe back frm\n"
    "buttonstyle OptionsBtn\nbuttonimage normal btn\nbuttonstyle HowToBtn\nbuttonimage normal btn\n"
    "buttonstyle HighBtn\nbuttonimage normal btn\nbuttonstyle QuitBtn\nbuttonimage normal btn\n"
    "buttonstyle PaperButton\nbuttonimage normal btn\n";

class FrontEndTest : public screentest::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        m_pFiles->add("f.theme", testkit::resource(screentest::theme() + kStyles));
        Zep::SmartPtr<Theme> pTheme = new Theme();
        pTheme->load("f.theme");
        m_app.setTheme(pTheme);
        m_pFiles->add("f.txt", testkit::resource(kStrings));
        m_app.loadStringTable("f.txt");
        m_pFiles->add("clock.anim", testkit::resource("seq s\nload frm\nadd frm\n"));
        for (const char* szName : {"ms_menu", "ms_story", "ms_story_win"})
            m_pAudio->m_musicLoader.m_setNames.insert(szName);
        m_pAudio->m_sampleLoader.m_setNames.insert("ms_winlevel");
        for (const char* szName :
             {"menu_isologo",     "menu_sombralogo",    "menu_vetas",        "menu_fondo_0",      "menu_fondo_1",
              "menu_fondo_2",     "menu_fondo_3",       "menu_estatico_1",   "menu_estatico_2",   "menu_estatico_3",
              "menu_estatico_4",  "menu_estatico_5",    "menu_estatico_6",   "menu_estatico_7",   "menu_select",
              "menu_notme",       "menu_isologo_chico", "loading_back",      "progress_clam",     "progress_star",
              "map_back",         "map_marker",         "map_current",       "check_empty",       "check_full_noblit",
              "congrats",         "sand_frame_prop_1",  "sand_frame_prop_2", "sand_frame_prop_3", "sand_frame_prop_4",
              "sand_frame_prop_5"})
            picture(szName, 20, 10);
        picture("menu_welcome", 60, 16);
    }
    void TearDown() override { releaseProfileManager(); }

    TUKPlayer* player(const char* szName) {
        TUKPlayerManager* pManager = getProfileManager();
        if (!pManager->hasProfile(szName)) pManager->createProfile(szName);
        return static_cast<TUKPlayer*>(pManager->getProfile(szName));
    }
    // The first button of the top mode with that callback id.
    Button& button(int nId) {
        for (const Zep::SmartPtr<Sprite>& p : m_app.getTopMode()->getAllSprites())
            if (auto* pButton = dynamic_cast<Button*>(p.get()); pButton && pButton->getCallbackId() == nId)
                return *pButton;
        throw std::runtime_error("no button " + std::to_string(nId));
    }
    // Frames until no fade is on top.
    void settle() {
        for (int i = 0; i < 200 && dynamic_cast<ModeTransition*>(m_app.getTopMode()); ++i) m_app.updateModes(0.05f);
    }
    template <class T>
    T* top() {
        return dynamic_cast<T*>(m_app.getTopMode());
    }
    void endTop() {
        m_app.getTopMode()->endMode();
        settle();
    }
    // The record's fields that the front end changes.
    static std::string describe(const TUKPlayer& p) {
        auto n = [](int v) { return std::to_string(v); };
        return "money " + n(p.getMoney()) + " up " + n(p.getUpgradeLevel(0)) + n(p.getUpgradeLevel(12)) + " flag " +
               n(p.isAdventureInProgress()) + " stage " + n(p.getStageNumber()) + " diff " + n(p.getDifficulty()) +
               " story " + n(p.getStoryValue()) + " progress " + n(p.getAdventureProgress()) + " work " +
               n(p.getWorkingScore(0)) + "," + n(p.getWorkingScore(1)) + "," + n(p.getWorkingScore(2)) + "+" +
               n(p.getExtraWorking()) + " done " + n(p.getCommittedScore(0)) + "," + n(p.getCommittedScore(1)) + "+" +
               n(p.getExtraCommitted()) + " best " + n(p.getBestScore(0));
    }
    // The player as the settings file holds it, read into a fresh manager.
    std::string readBack(const char* szName) {
        m_app.clearSettings();
        m_app.readSettingsFile(m_files.configPath().c_str());
        TUKPlayerManager fresh;
        fresh.load();
        if (!fresh.hasProfile(szName)) return "(none)";
        return describe(*static_cast<TUKPlayer*>(fresh.getProfile(szName)));
    }
};

}  // namespace frontendtest
