// MenuMode: the main menu. The loading screen pushes it once the caches are
// filled; it stays at the bottom of the stack for the rest of the run and
// every game starts from it and comes back to it.
//
// Screen (onEnter): frame rate 60, "clock.anim" queued for background
// loading (one step each frame); the menu artwork in three groups that fade
// in one after the other, each over one second: the backgrounds
// ("menu_fondo_0" to "_3"), the main panel (the static pictures, selection
// frame, greeting, the player's name, the not-me sign, the three game
// buttons and the four round buttons) and the logos ("menu_isologo", its
// drifting shadow, and "3p_main" with "halv_small_ban" when "3p_main"
// exists). The shadow travels 3 pixels a second round the rectangle
// x 10..15, y 3..8.
//
// Coming back (onResume, also right after onEnter): frame rate 60 again
// (a level paces faster); the cursor shown;
// "ms_menu" looping once quit confirmation is on (the track before it, unless
// "st_intro", is handed to the sample cache's release). When the settings
// file could not be read (its profiles are lost), the first coming back
// shows the notice that says so and where its copy was kept
// (settingsnotice.h), and nothing more happens until the menu comes back
// from it. The current player is the setting "CurrentPlayerName"; when it
// is empty or names no profile, the first profile becomes current
// silently, and with no profile at all the profile-creation dialog is
// pushed without its cancel button and nothing more happens until the menu
// comes back. Then the greeting is laid out
// ("Welcome," and the name at most 350 pixels wide together: a longer name
// in the smaller title font "Sand::TitleSmall", centred on the title font's
// line, and, when still too long, cut with the font's ellipsis; the profile
// keeps its name), the
// last game's scores committed by its game kind (TUKPlayer::commitScores;
// -1 none), the profiles saved, "DoneWelcome" set to "YES" and the settings
// file written.
//
// Commands (onCallback and onCommand): 1 quit (also Escape) asks the
// application's close request; 3 options, 4 highscores, 6 how-to pages;
// 7 (a release over the player's name) the profile selection, after which
// nothing is committed; 8 adventure, 9 relax mode, 10 free play, 11 continue
// the adventure, 15 a new adventure. A game start logs "nS<stage>\n" and,
// after preparing the game, "MM push path <n> SM nS<stage>\n", then pushes
// the campaign map (menumode_start.cpp). Other ids do nothing.
//
// When the menu ends, the profile manager is released (saved and deleted).
#pragma once

#include <cstdint>

#include <zep2/list.h>
#include <zep2/str.h>

#include "records/tukmode.h"
#include "screens/screenreturn.h"
#include "ui/ui_label.h"

class TUKPlayer;

class MenuMode : public TUKMode {
public:
    enum Command {
        kQuit = 1,
        kOptions = 3,
        kHighscores = 4,
        kHowto = 6,
        kSelectProfile = 7,
        kAdventure = 8,
        kRelaxMode = 9,
        kFreePlay = 10,
        kContinueAdventure = 11,
        kNewAdventure = 15
    };
    static constexpr float kShadowSpeed = 3.0f;  // pixels per second
    static constexpr const char* kNotice = "Tuk Harbor - a demo made from nothing by its own generator";

    MenuMode();
    ~MenuMode() override;

    void onCallback(int nId, void* pData) override;
    void onEnter() override;
    void onEnd() override;
    void onResume() override;
    void onUpdate(float fDelta) override;
    bool onKeyDown(int nKey, int nModifiers) override;
    bool onMouseUp(int nButtonMask, int x, int y) override;

    virtual void onCommand(int nId);
    // Sets the game kind; for the campaign the working scores start again
    // from the last committed ones.
    void prepareGame(int nGameKind);

    int getGameKind() const { return m_nGameKind; }
    TUKPlayer* getPlayer() const { return m_pPlayer; }
    const Zep::String& getPlayerName() const { return m_sPlayerName; }
    int getShadowState() const { return m_nShadowState; }
    Zep::SmartPtr<Sprite> getShadowLogo() const { return m_pShadowLogo; }
    Zep::SmartPtr<Sprite> getWelcome() const { return m_pWelcome; }
    Zep::SmartPtr<Label> getNameLabel() const { return m_pNameLabel; }
    Zep::SmartPtr<Sprite> getNotMe() const { return m_pNotMe; }
    const Zep::List<Zep::SmartPtr<Sprite>>& getBackgrounds() const { return m_lBackgrounds; }
    const Zep::List<Zep::SmartPtr<Sprite>>& getMainPanel() const { return m_lMainPanel; }
    const Zep::List<Zep::SmartPtr<Sprite>>& getLogos() const { return m_lLogos; }

private:
    using SpriteList = Zep::List<Zep::SmartPtr<Sprite>>;

    // ---- Screen (menumode.cpp) ----
    Zep::SmartPtr<Sprite> addPicture(const char* szImage, int x, int y, int nZOrder, SpriteList* pGroup);
    void addButton(const char* szCaption, const char* szStyle, int nId, int x, int y);
    void addPictures();
    void addPlayerName();
    void addButtons();
    void addLogos();
    void followHover();
    void driftShadow(float fDelta);
    void fadeIn(float fDelta);
    void startMenuMusic();
    bool tellUnreadableSettings();
    bool tellUnreadableProfiles();
    bool chooseCurrentPlayer();
    void showPlayerName(const Zep::String& sName);
    // From the welcome picture's edge to the name label's: one space of the
    // name's font, less the label's margin.
    int nameGap() const;
    void layOutGreeting();

    // ---- Game starts (menumode_start.cpp) ----
    void startAdventure();
    void startNewAdventure(int nPath);
    void continueAdventure();
    void startOtherGame(int nGameKind, int nPath);
    // The setting "Difficulty" from its leading digits; missing reads as 0.
    int difficultySetting() const;

    SpriteList m_lBackgrounds;
    SpriteList m_lMainPanel;
    SpriteList m_lLogos;
    Zep::SmartPtr<Sprite> m_pShadowLogo;
    int32_t m_nShadowState = 1;
    Zep::SmartPtr<Sprite> m_pWelcome;
    Zep::SmartPtr<Label> m_pNameLabel;
    int32_t m_nNameDrop = 0;  // how far a name in the smaller font stands lower
    Zep::SmartPtr<Sprite> m_pNotMe;
    Zep::SmartPtr<Sprite> m_pHover;
    Zep::String m_sPlayerName;
    TUKPlayer* m_pPlayer = nullptr;  // owned by the profile manager
    int32_t m_nGameKind = -1;
    // The pace when the menu comes back, and the caches as a game found
    // them: what the game left behind is let go once.
    ScreenReturn m_return{ScreenReturn::Mark::Once};
    bool m_bUnreadableTold = false;
};
