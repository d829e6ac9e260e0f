// The application object's construction, destruction, reset and emergency
// exit, and the base bodies of its virtual hooks.
#include "application/gameapp.h"

#include <cstdlib>
#include <utility>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "driver/audiodriver.h"
#include "sprite/gamemode.h"
#include "base/oshelpers.h"
#include "effects/particle_emitter.h"
#include "driver/platform.h"
#include "theme/theme.h"

namespace {

constexpr const char* kZepSource = ".\\src\\gameapp";

// The operating system's version is not queried; the line keeps its form.
constexpr const char* kOSText = "Win Unknown";

void logMemory() {
    int nAvailable = 0;
    int nTotal = 0;
    getMemoryStatusMB(&nAvailable, &nTotal);
    GameApp::log("G: RAM %d/%d\n", nAvailable, nTotal);
}

IVideoDriver* videoOf(const GameApp& app) {
    IPlatform* pPlatform = app.getPlatform();
    return pPlatform ? pPlatform->getVideoDriver() : nullptr;
}

}  // namespace

GameApp* GameApp::s_pInstance = nullptr;
bool GameApp::s_bFatalExitStarted = false;

GameApp::GameApp() {
    ZEP_TRACE("GameApp::GameApp");
    s_pInstance = this;
    resetState();
    if (!getLog()) openLog("fennic.log");
    log("G: Init Halvorn Fennic %s\n", kVersion);
    log("G: OS %s\n", kOSText);
    logMemory();
}

GameApp::~GameApp() {
    log("\n");
    log("G: Shutdown\n");
    logMemory();

    log("G: ...modes\n");
    m_vNextFrameModes.clear();
    // The ended modes go too, while the drivers their sprites used still exist.
    m_modeStack.deleteAll();

    log("G: ...resources\n");
    // Cached pictures and sounds and the emitter definitions' images go while
    // the drivers that made them still exist.
    ParticleEmitter::clearDefinitions();
    m_caches.clear();
    m_registry.clear();

    log("G: ...platform\n");
    m_pPlatform.reset();  // deletes the platform's drivers
    m_pOwnAudioDriver.reset();
    m_pAudioDriver = nullptr;

    s_pInstance = nullptr;
    resetState();
    log("G: Quit\n");
}

void GameApp::resetState() {
    m_pTheme = nullptr;
    m_pPlatform.reset();
    m_pAudioDriver = nullptr;
    m_pOwnAudioDriver.reset();
    m_bQuit = false;
    m_nExitCode = 0;
    m_bAudioEnabled = false;
    m_animations.clearPreloadPending();
    m_nSoundVolume = 0;
    m_nMusicVolume = 0;
    m_bQuitDialogOpen = false;
    m_bConfirmQuit = false;
    m_bWasFullscreen = false;
    m_modeStack.setSuppressed(false);
    m_modeStack.setChanged(false);
    m_settings.resetLoadState();
    m_nFrameCount = 0;
    m_bRenderEnabled = true;
    m_bSkipNextUpdate = false;
    m_fMaxFrameDelta = 100.0f;
    m_nDeltaPolicy = kDeltaNone;
}

void GameApp::setPlatform(std::unique_ptr<IPlatform> pPlatform) { m_pPlatform = std::move(pPlatform); }

void GameApp::fatalExit() {
    if (!s_bFatalExitStarted) {
        s_bFatalExitStarted = true;
        if (s_pInstance && s_pInstance->m_pPlatform) s_pInstance->m_pPlatform->shutdown();
    }
    // A crash path: no static destructors. The log needs no flush, it closes
    // after every line.
    std::_Exit(1);
}

void GameApp::init() {}

void GameApp::shutdown() {
    ZEP_TRACE("GameApp::shutdown");
    for (GameMode* pMode : copyModeStack()) pMode->onAppQuit();
    onModesQuit();
    storeScreenAndVolumeSettings();
    // The exit goes on when the file can't be written; the old one stays.
    trySaveSettingsFile();
}

void GameApp::onModesQuit() {}

void GameApp::storeScreenAndVolumeSettings() {
    IVideoDriver* pVideo = videoOf(*this);
    setSetting("Fullscreen", pVideo && pVideo->isFullscreen() ? "TRUE" : "FALSE");
    if (m_bAudioEnabled) {
        setSetting("SoundVolume", Zep::String::format("%d", m_nSoundVolume).c_str());
        setSetting("MusicVolume", Zep::String::format("%d", m_nMusicVolume).c_str());
    }
}

void GameApp::onQuitRequest() {
    if (!m_bConfirmQuit) {
        quit(1);
        return;
    }
    if (m_bQuitDialogOpen) return;
    m_bQuitDialogOpen = true;
    onCloseRequest();
}

bool GameApp::keyDownHook(int, unsigned) { return false; }

void GameApp::keyUpHook(int, unsigned) {}

void GameApp::onVideoModeChanged() {}

void GameApp::onActivate() {
    IVideoDriver* pVideo = videoOf(*this);
    if (m_bWasFullscreen) {
        m_bWasFullscreen = false;
        if (pVideo) {
            pVideo->setFullscreen(true);
            onVideoModeChanged();
        }
    }
    setModeStackChanged(false);
    if (pVideo) {
        pVideo->onDisplayChanged();
        pVideo->refreshCursor(false);
    }
    for (GameMode* pMode : copyModeStack()) pMode->onAppActivate();
}

void GameApp::onDeactivate() {
    IVideoDriver* pVideo = videoOf(*this);
    if (pVideo && pVideo->isFullscreen()) m_bWasFullscreen = true;
    if (pVideo) pVideo->refreshCursor(true);
    for (GameMode* pMode : copyModeStack()) pMode->onAppDeactivate();
}

void GameApp::onMouseFocusGained() {
    if (IVideoDriver* pVideo = videoOf(*this)) pVideo->refreshCursor(false);
}

void GameApp::onMouseFocusLost() {
    if (IVideoDriver* pVideo = videoOf(*this)) pVideo->refreshCursor(true);
}

void GameApp::onCloseRequest() {}
