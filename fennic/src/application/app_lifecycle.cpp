// The start-up of the drivers (initSystems) and the built-in resources.
//
// The steps run in a fixed order and log fixed lines: "G: Init platform : ",
// "G: Init video : ", "G: Init audio : OK|FAIL|DISABLED", then, without a
// working audio driver, "G: Using dummy audio driver" and the silent driver
// in its place, and "G: Init done" last. Names that come from the drivers
// are logged as text, never as a format.
#include <cstdlib>
#include <ctime>

#include <zep2/error.h>

#include "driver/audiodriver.h"
#include "text/bitmapfont.h"
#include "application/gameapp.h"
#include "image/image.h"
#include "driver/platform.h"
#include "theme/theme.h"

namespace {

constexpr const char* kZepSource = ".\\src\\app_lifecycle";

constexpr const char* kVideoModeCaption = "Initialization error";
constexpr const char* kVideoModeText =
    "Can't set your video mode to the appropriate resolution.\r\n"
    "Please update your video drivers and/or video card.";

constexpr int kFrameRate = 60;
constexpr float kMaxFrameDelta = 0.05f;

}  // namespace

void GameApp::initSystems(int nWidth, int nHeight, unsigned nVideoFlags, const Zep::SmartPtr<Image>& pIcon) {
    ZEP_TRACE("GameApp::initSystems");
    if (nVideoFlags == VideoFlag::FromSettings) nVideoFlags = getVideoFlagsFromSettings();
    if (!m_pPlatform) ZEP_THROW(Zep::FatalErrorException, "No platform specified");
    log("G: Init platform : ");
    log("%s", m_pPlatform->getName());
    log("\n");
    m_pPlatform->init();
    initVideo(nWidth, nHeight, nVideoFlags, pIcon);
    initAudio(nVideoFlags);
    initCaches();
    registerBitmapFontFactory();
    registerSimpleFontFactory();
    registerBuiltinResources();
    setTheme(Zep::SmartPtr<Theme>(new Theme()));
    setMusicVolume(std::atoi(getSetting("MusicVolume").c_str()));
    setSoundVolume(std::atoi(getSetting("SoundVolume").c_str()));
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    setFrameRate(kFrameRate);
    setDeltaClamp(kMaxFrameDelta, kDeltaClamp);
    log("G: Init done\n");
}

// A mode that cannot be set ends the program after telling the user.
void GameApp::initVideo(int nWidth, int nHeight, unsigned nVideoFlags, const Zep::SmartPtr<Image>& pIcon) {
    IVideoDriver* pVideo = m_pPlatform->getVideoDriver();
    if (!pVideo) ZEP_THROW(Zep::FatalErrorException, "No video driver specified");
    log("G: Init video : ");
    log("%s", pVideo->getName());
    log("\n");
    pVideo->init(pIcon);
    if (pVideo->setVideoMode(nWidth, nHeight, static_cast<int>(nVideoFlags))) return;
    messageBox(kVideoModeCaption, kVideoModeText);
    fatalExit();
}

// Audio is wanted unless the flags say no or the platform has no driver.
void GameApp::initAudio(unsigned nVideoFlags) {
    IAudioDriver* pPlatformAudio = m_pPlatform->getAudioDriver();
    const bool bWanted = !(nVideoFlags & VideoFlag::NoAudio) && pPlatformAudio;
    m_bAudioEnabled = bWanted && pPlatformAudio->init();
    log("G: Init audio : %s\n", m_bAudioEnabled ? "OK" : bWanted ? "FAIL" : "DISABLED");
    if (m_bAudioEnabled) {
        m_pAudioDriver = pPlatformAudio;
        return;
    }
    m_pOwnAudioDriver = std::make_unique<DummyAudioDriver>();
    m_pAudioDriver = m_pOwnAudioDriver.get();
    m_pAudioDriver->init();
    log("G: Using dummy audio driver\n");
}

