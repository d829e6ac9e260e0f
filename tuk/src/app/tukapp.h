// TUKApp: the game's application object. TUKExitConfirmMode: the exit
// confirmation that a window close brings up.
//
// init, in this order:
//   1. the banner "B: TUK 1.0.5 <build date> [<build type>]";
//   2. the settings; the resources (registerResources);
//   3. the desktop platform (startup.h) handed to the application;
//   4. the full-screen guard: with "FullScreenFailed" "TRUE" the game starts
//      windowed; the setting is saved "TRUE" before the video mode is set and
//      "FALSE" once it is, so a start that dies there comes up windowed;
//   5. the caches, then initSystems(800, 600, flags, the image "icon");
//   6. the caption (the text "GameCaption") and the volumes of the settings;
//   7. the theme "sand.theme", current, with "Theme::Button" and
//      "Theme::DialogTitle" as copies of "Theme::Default";
//   8. the first screen, and the splash screen above it.
//
// registerResources, in lookup order: the archives "lang_en.dat",
// "tuk_data.dat" and "tuk_sound.dat" (from the current folder, which the
// entry makes the program's; a missing one throws "Resource file <name> not
// found [<errno>]"), the string tables "nontranslated.txt", "messages.txt"
// and "private.txt", the optional folder "3rdparty", and the name listings in
// the log when TUK_LIST_RESOURCES is "TRUE".
//
// The splash screen shows "splash_1", "splash_2" when that image exists,
// "splash_3", and "splash_4" when it exists, 3 s each with 0.5 s fades and no
// music. The optional two come from the "3rdparty" folder.
//
// The first save that fails once a screen and the theme are up brings, at
// the next frame, the notice that progress can't be kept (settingsnotice.h);
// later failures only log, as before.
//
// A deactivation over a level whose bar is open pauses it with a
// GamePausedDlg that any key or click closes. At shutdown, once every mode
// has finished (a day the statistics were showing is taken by the map then),
// the game's profile manager (profileaccess.h) is released, which saves the
// profiles into the settings, and the settings are saved.
#pragma once

#include <memory>

#include "application/gameapp.h"
#include "dialogs/ui_splash.h"
#include "dialogs/ui_stddialogs.h"

class TUKApp : public GameApp {
public:
    static constexpr int kVersionMajor = 1;
    static constexpr int kVersionMinor = 0;
    static constexpr int kVersionBuild = 5;
    static constexpr int kScreenWidth = 800;
    static constexpr int kScreenHeight = 600;
    // The exit confirmation's number of questions, "ECD_QueryExit0" to "4".
    static constexpr int kExitQueries = 5;
    static constexpr float kLogoSeconds = 3.0f;

    TUKApp();
    ~TUKApp() override;

    void init() override;
    // Releases the profile manager: the profiles, as the modes left them, go
    // into the settings that the shutdown then saves.
    void onModesQuit() override;
    void onDeactivate() override;
    void onCloseRequest() override;
    // The framework's defaults, then "Difficulty" "1" and "Fullscreen" "FALSE".
    void setDefaultSettings() override;
    // Tells the first failure once a screen is up (settingsnotice.h).
    void onSettingsNotSaved(const char* szReason, int nSystemError) override;

    void registerResources();
    std::unique_ptr<SplashScreen> createSplashScreen();

private:
    void startSystemsGuarded();
    void loadTheme();
    void pushLoadingScreen();

    bool m_bUnsavedTold = false;
};

class TUKExitConfirmMode : public ExitConfirmMode {
public:
    explicit TUKExitConfirmMode(int nQueryCount) : ExitConfirmMode(nQueryCount) {}

    // Quits with exit code 0, follow-up mode or not.
    void onConfirm() override;
};
