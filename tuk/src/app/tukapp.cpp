// The game's application object: start-up, resources, the first screens,
// pausing, the exit confirmation and shutdown (tukapp.h).
#include "app/tukapp.h"

#include <cstdlib>

#include <zep2/error.h>

#include "screens/settingsnotice.h"
#include "image/image.h"
#include "screens/loadingscreen.h"
#include "driver/platform.h"
#include "level/playmode.h"
#include "application/registry.h"
#include "driver/startup.h"
#include "theme/theme.h"
#include "records/profileaccess.h"
#include "driver/videodriver.h"

#ifndef TUK_BUILD_TYPE
#define TUK_BUILD_TYPE ""
#endif

namespace {

constexpr const char* kZepSource = ".\\src\\tukapp";

constexpr const char* kArchives[] = {"lang_en.dat", "tuk_data.dat", "tuk_sound.dat"};
constexpr const char* kStringTables[] = {"nontranslated.txt", "messages.txt", "private.txt"};
constexpr const char* kPartnerFolder = "3rdparty";
constexpr const char* kThemeFile = "sand.theme";

// The splash logos in order; the optional ones only when their image exists.
constexpr struct {
    const char* szImage;
    bool bOptional;
} kLogos[] = {{"splash_1", false}, {"splash_2", true}, {"splash_3", false}, {"splash_4", true}};

}  // namespace

TUKApp::TUKApp() = default;

TUKApp::~TUKApp() { releaseProfileManager(); }

void TUKApp::init() {
    ZEP_TRACE("TUKApp::init");
    log("B: TUK %d.%d.%d %s [%s]\n", kVersionMajor, kVersionMinor, kVersionBuild, __DATE__, TUK_BUILD_TYPE);
    loadSettings();
    registerResources();
    // A press or release acts where it is made, also when it comes with the
    // motion that brought the pointer there (a fast hand, a touch tap).
    setPlatform(createDesktopPlatform(kDesktopImmediateMouse));
    startSystemsGuarded();
    setWindowTitle(getText("GameCaption"));
    setSoundVolume(std::atoi(getSetting("SoundVolume").c_str()));
    setMusicVolume(std::atoi(getSetting("MusicVolume").c_str()));
    loadTheme();
    pushLoadingScreen();
    pushMode(createSplashScreen().release());
}

void TUKApp::registerResources() {
    ZEP_TRACE("TUKApp::registerResources");
    for (const char* szArchive : kArchives) addResourceFile(szArchive);
    for (const char* szTable : kStringTables) loadStringTable(szTable);
    addResourceFolder(kPartnerFolder);
    listResourcesIfRequested(*this);
}

// A start that dies while the video mode is set comes up windowed next time.
void TUKApp::startSystemsGuarded() {
    unsigned nFlags = getVideoFlagsFromSettings();
    if (getSetting("FullScreenFailed") == "TRUE") nFlags &= ~VideoFlag::Fullscreen;
    setSetting("FullScreenFailed", "TRUE");
    trySaveSettingsFile();
    initCaches();
    initSystems(kScreenWidth, kScreenHeight, nFlags, getImage("icon"));
    setSetting("FullScreenFailed", "FALSE");
    trySaveSettingsFile();
}

void TUKApp::loadTheme() {
    ZEP_TRACE("TUKApp::loadTheme");
    Zep::SmartPtr<Theme> pTheme = new Theme();
    pTheme->load(kThemeFile);
    setTheme(pTheme);
    for (const char* szFont : {"Theme::Button", "Theme::DialogTitle"})
        pTheme->addFont(szFont, pTheme->getFont("Theme::Default"));
}

// The bottom screen: it preloads once the splash screen above it has ended,
// then pushes the main menu.
void TUKApp::pushLoadingScreen() { pushMode(new LoadingScreen()); }

std::unique_ptr<SplashScreen> TUKApp::createSplashScreen() {
    auto pSplash = std::make_unique<SplashScreen>();
    for (const auto& logo : kLogos)
        if (!logo.bOptional || imageExists(logo.szImage)) pSplash->addImageLogo(logo.szImage, kLogoSeconds, "");
    return pSplash;
}

void TUKApp::onModesQuit() { releaseProfileManager(); }

void TUKApp::onDeactivate() {
    GameApp::onDeactivate();
    auto* pLevel = dynamic_cast<PlayMode*>(getTopMode());
    if (pLevel && !pLevel->getLevelData().m_bBarClosed) pushMode(new GamePausedDlg("", true, true));
}

void TUKApp::onCloseRequest() { pushMode(new TUKExitConfirmMode(kExitQueries)); }

void TUKApp::setDefaultSettings() {
    GameApp::setDefaultSettings();
    setSetting("Difficulty", "1");
    setSetting("Fullscreen", "FALSE");
}

// Before a screen and the theme are up nothing can be shown; at the end
// nobody would see it.
void TUKApp::onSettingsNotSaved(const char*, int nSystemError) {
    if (m_bUnsavedTold || getModeCount() == 0 || getTheme().isNULL() || isQuitting()) return;
    m_bUnsavedTold = true;
    pushModeNextFrame(settingsnotice::makeUnsaved(*this, nSystemError));
}

void TUKExitConfirmMode::onConfirm() {
    if (GameApp* pApp = getApp()) pApp->quit(0);
}
