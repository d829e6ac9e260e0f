// TUKGameOptions: the game's options dialog, the framework's options with the
// volumes and the full-screen choice only (sections 5).
//
// Made with no notify target (the main menu: an OK button) it adds, when
// entered, a row choosing the difficulty (radio options "GOD_Easy",
// "GOD_Medium", "GOD_Hard", ids 2000 to 2002, the one of the stored value
// checked, none for a value outside 0 to 2) and a "GOD_Credits" button
// (id 3000) beside OK. Made with a notify target (the level: continue id 2,
// exit id 1) it adds nothing; the target hears the id of the button that
// closed the dialog.
//
// A difficulty option writes "0", "1" or "2" to the setting "Difficulty" at
// once. The credits button pushes the credits over the dialog: background
// "back_credits" (composed once: "sand_frame_back" tiled every 44 pixels,
// then "loading_back" at (-6, -10)), band 30 to 570, 25 fade strips of 3
// pixels; the column "menu_isologo_chico", the version line (the text of
// "AboutVerFmt" with 1, 0 and 5 through the checked formatter), then the
// credits list "credits.txt" (creditslist.h).
#pragma once

#include "dialogs/ui_gameoptions.h"
#include "ui/ui_radio.h"

class TUKGameOptions : public GameOptionsDialog {
public:
    enum { kEasyId = 2000, kMediumId = 2001, kHardId = 2002, kCreditsId = 3000 };
    static constexpr const char* kDifficultyKey = "Difficulty";
    static constexpr const char* kCreditsBackground = "back_credits";
    static constexpr int kVersion[3] = {1, 0, 5};

    TUKGameOptions(ICallbackTarget* pNotify, int nContinueId, int nExitId);
    ~TUKGameOptions() override;

    void onEnter() override;
    void onCallback(int nId, void* pData) override;

    // The setting "Difficulty" read from its leading digits (an optional
    // sign first); missing or without digits it reads 0.
    static int getDifficultySetting();

    const RadioGroup& getDifficultyGroup() const { return m_lDifficulty; }

private:
    void addDifficultyChoice();
    void addCreditsButton();
    void openCredits();
    void composeCreditsBackground();

    RadioGroup m_lDifficulty;
    bool m_bFromLevel;  // made with a notify target
};
