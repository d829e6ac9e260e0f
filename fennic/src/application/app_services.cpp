// The application's thin services: each forwards once to the platform, the
// video driver or the audio driver and adds only what its comment says.
//
// Only the video queries named below answer without a platform; every other
// forwarder needs its driver and throws FatalErrorException ("GameApp : no
// platform", "GameApp : no video driver", "GameApp : no audio driver") when
// it is missing, instead of reaching through a null pointer.
#include <cstdio>
#include <cstdlib>

#include <zep2/error.h>

#include "driver/audiodriver.h"
#include "application/gameapp.h"
#include "image/image.h"
#include "image/imagefactory.h"
#include "base/oshelpers.h"
#include "driver/platform.h"
#include "base/rect.h"
#include "theme/theme.h"

namespace {

constexpr const char* kZepSource = ".\\src\\app_services";

[[noreturn]] void throwMissing(const char* szWhat) {
    ZEP_THROW(Zep::FatalErrorException, Zep::String::format("GameApp : no %s", szWhat).c_str());
}

IPlatform& platformOf(const GameApp& app) {
    if (!app.getPlatform()) throwMissing("platform");
    return *app.getPlatform();
}

IVideoDriver& videoOf(const GameApp& app) {
    IVideoDriver* pVideo = app.getVideoDriver();
    if (!pVideo) throwMissing("video driver");
    return *pVideo;
}

IAudioDriver& audioOf(const GameApp& app) {
    if (!app.getAudioDriver()) throwMissing("audio driver");
    return *app.getAudioDriver();
}

ImageFactory& imageFactoryOf(const GameApp& app) {
    ImageFactory* pFactory = platformOf(app).getImageFactory();
    if (!pFactory) throwMissing("image factory");
    return *pFactory;
}

}  // namespace

// ---- Platform -------------------------------------------------------------------------

int GameApp::getTicks() { return static_cast<int>(platformOf(*this).getTicks()); }

// The platform is asked even when neither output is wanted.
void GameApp::getMousePosition(int* pX, int* pY) {
    int nX = 0;
    int nY = 0;
    platformOf(*this).getMousePosition(nX, nY);
    if (pX) *pX = nX;
    if (pY) *pY = nY;
}

Point GameApp::getMousePoint() {
    int nX = 0;
    int nY = 0;
    getMousePosition(&nX, &nY);
    return Point(static_cast<float>(nX), static_cast<float>(nY));
}

void GameApp::setMousePosition(int nX, int nY) { platformOf(*this).setMousePosition(nX, nY); }

bool GameApp::isMouseButtonDown(int nButton) { return platformOf(*this).isMouseButtonDown(nButton); }

bool GameApp::isKeyDown(int nKey) { return platformOf(*this).isKeyDown(nKey); }

unsigned GameApp::getKeyModifiers() { return platformOf(*this).getKeyModifiers(); }

int GameApp::getJoystickCount() { return platformOf(*this).getJoystickCount(); }

Zep::String GameApp::getJoystickName(int nIndex) {
    return Zep::String(platformOf(*this).getJoystickName(nIndex));  // null gives ""
}

int GameApp::getJoystickAxisCount(int nJoystick) { return platformOf(*this).getJoystickAxisCount(nJoystick); }

int GameApp::getJoystickButtonCount(int nJoystick) { return platformOf(*this).getJoystickButtonCount(nJoystick); }

float GameApp::getJoystickAxis(int nAxis, int nJoystick) { return platformOf(*this).getJoystickAxis(nAxis, nJoystick); }

bool GameApp::isJoystickButtonDown(int nButton, int nJoystick) {
    return platformOf(*this).isJoystickButtonDown(nButton, nJoystick);
}

// ---- Video ------------------------------------------------------------------------------

// Null without a platform.
IVideoDriver* GameApp::getVideoDriver() const { return m_pPlatform ? m_pPlatform->getVideoDriver() : nullptr; }

// False without a video driver.
bool GameApp::isFullscreen() const {
    IVideoDriver* pVideo = getVideoDriver();
    return pVideo && pVideo->isFullscreen();
}

// Nothing without a platform.
void GameApp::setFullscreen(bool bOn) {
    if (!m_pPlatform) return;
    videoOf(*this).setFullscreen(bOn);
    onVideoModeChanged();
}

void GameApp::toggleFullscreen() {
    videoOf(*this).toggleFullscreen();
    onVideoModeChanged();
}

void GameApp::iconify() {
    videoOf(*this).iconify();
    onVideoModeChanged();
}

int GameApp::getScreenWidth() const { return videoOf(*this).getWidth(); }

int GameApp::getScreenHeight() const { return videoOf(*this).getHeight(); }

void GameApp::getScreenSize(int* pWidth, int* pHeight) const { videoOf(*this).getSize(pWidth, pHeight); }

void GameApp::setWindowTitle(const char* szTitle) { videoOf(*this).setCaption(szTitle); }

void GameApp::setCursor(const Zep::SmartPtr<Image>& pCursor) { videoOf(*this).setCursorImage(pCursor.get()); }

void GameApp::showCursor(bool bShow) { videoOf(*this).setCursorVisible(bShow); }

bool GameApp::isCursorVisible() const { return videoOf(*this).isCursorVisible(); }

Zep::SmartPtr<Image> GameApp::createImage(int nWidth, int nHeight, bool bAlpha) {
    return Zep::SmartPtr<Image>(imageFactoryOf(*this).createBlank(nWidth, nHeight, bAlpha));
}

Zep::SmartPtr<Image> GameApp::createImageFromPixels(void* pPixels, int nWidth, int nHeight, int nBitsPerPixel,
                                                    int nPitch, unsigned nRedMask, unsigned nGreenMask,
                                                    unsigned nBlueMask, unsigned nAlphaMask) {
    return Zep::SmartPtr<Image>(imageFactoryOf(*this).createFromPixels(
        pPixels, nWidth, nHeight, nBitsPerPixel, nPitch, nRedMask, nGreenMask, nBlueMask, nAlphaMask));
}

// Leaves full screen first (remembered for the next activation), then iconifies.
void GameApp::minimizeApp() {
    GameApp* pApp = getInstance();
    if (!pApp) return;
    if (pApp->isFullscreen()) {
        pApp->setWasFullscreen();
        pApp->setFullscreen(false);
    }
    pApp->iconify();
}

// ---- Audio --------------------------------------------------------------------------------

// A channel obtained is panned back to the centre.
int GameApp::playSound(const Zep::SmartPtr<Sample>& pSample, bool bLoop, int nChannel) {
    IAudioDriver& audio = audioOf(*this);
    const int nPlaying = audio.playSample(pSample, bLoop, nChannel);
    if (nPlaying >= 0) audio.setPanning(nPlaying, 255, 255);
    return nPlaying;
}

// Pan 0 is fully left, 255 fully right.
void GameApp::setSoundPanning(int nChannel, int nPan) { audioOf(*this).setPanning(nChannel, 255 - nPan, nPan); }

void GameApp::stopSound(int nChannel) { audioOf(*this).stopChannel(nChannel, 0.0f); }

void GameApp::stopAllSounds() { stopSound(-1); }

void GameApp::playMusic(const char* szTrack, bool bLoop) { audioOf(*this).playMusicTrack(szTrack, bLoop); }

void GameApp::playMusicObject(const Zep::SmartPtr<Music>& pMusic, bool bLoop) {
    audioOf(*this).playMusic(pMusic, bLoop);
}

// Stops at once and forgets the track.
void GameApp::stopMusic() { audioOf(*this).stopMusicTrack(); }

// Stops at once; the track's name stays.
void GameApp::haltMusic() { audioOf(*this).stopMusic(0.0f); }

void GameApp::stopAllAudio() {
    stopAllSounds();
    stopMusic();
}

// Empty without an audio driver.
Zep::String GameApp::getCurrentMusicName() const {
    return m_pAudioDriver ? m_pAudioDriver->getCurrentMusicName() : Zep::String();
}

// The raw value is kept; the driver gets value / 255 and clamps it itself.
void GameApp::setSoundVolume(int nVolume) {
    m_nSoundVolume = nVolume;
    audioOf(*this).setSoundVolume(static_cast<float>(nVolume / 255.0));
}

void GameApp::setMusicVolume(int nVolume) {
    m_nMusicVolume = nVolume;
    audioOf(*this).setMusicVolume(static_cast<float>(nVolume / 255.0));
}

// ---- Other ----------------------------------------------------------------------------------

Zep::SmartPtr<Theme> GameApp::getTheme() const { return m_pTheme; }

// The new theme's default cursor (the empty name) becomes the cursor.
void GameApp::setTheme(const Zep::SmartPtr<Theme>& pTheme) {
    m_pTheme = pTheme;
    if (m_pTheme.notNULL()) setCursor(m_pTheme->getCursor(""));
}

// The whole value, however long; empty when unset.
Zep::String GameApp::getEnvironmentVariable(const char* szName) {
    const char* szValue = szName ? std::getenv(szName) : nullptr;
    return Zep::String(szValue);
}

int GameApp::getTotalMemoryMB() {
    int nTotal = 0;
    getMemoryStatusMB(nullptr, &nTotal);
    return nTotal;
}

// No window system dialog: "caption: text" on standard error, which never
// waits for anyone.
void GameApp::messageBox(const char* szCaption, const char* szText) {
    std::fprintf(stderr, "%s: %s\n", szCaption ? szCaption : "", szText ? szText : "");
}
