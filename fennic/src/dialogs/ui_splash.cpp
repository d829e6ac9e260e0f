// SplashScreen; see ui_splash.h.
#include "dialogs/ui_splash.h"

#include <algorithm>

#include <zep2/error.h>

#include "media/flashsprite.h"
#include "application/gameapp.h"
#include "base/keys.h"
#include "media/videosprite.h"

namespace {

constexpr const char* kZepSource = ".\\src\\ui_splash";

// Alpha units per second for a fade of that many seconds.
float fadeSpeed(float fSeconds) { return 256.0f / std::max(fSeconds, SplashScreen::kMinFadeTime); }

int screenWidth(const GameMode& mode) { return mode.getApp() ? mode.getApp()->getScreenWidth() : 0; }
int screenHeight(const GameMode& mode) { return mode.getApp() ? mode.getApp()->getScreenHeight() : 0; }

}  // namespace

SplashScreen::SplashScreen() = default;

SplashScreen::~SplashScreen() = default;

// ---- The list -----------------------------------------------------------------

void SplashScreen::addImageLogo(const char* szImage, float fFadeIn, float fDuration, float fFadeOut,
                                const char* szMusic) {
    SSLogoInfo logo;
    logo.m_sName = szImage;
    logo.m_nType = SSLogoInfo::kImage;
    logo.m_fFadeInSpeed = fadeSpeed(fFadeIn);
    logo.m_fDuration = fDuration;
    logo.m_fFadeOutSpeed = fadeSpeed(fFadeOut);
    logo.m_sMusic = szMusic;
    m_lLogos.push_back(logo);
}

void SplashScreen::addImageLogo(const char* szImage, float fDuration, const char* szMusic) {
    addImageLogo(szImage, kDefaultFadeTime, fDuration, kDefaultFadeTime, szMusic);
}

void SplashScreen::addMediaLogo(const char* szResource) {
    const Zep::String sName(szResource);
    const Zep::String sEnding = sName.right(4);
    if (sEnding != ".ogv" && sEnding != ".flv") {
        const Zep::String sMessage = Zep::String::format("Unsupported file extension: %s\n", sEnding.c_str());
        ZEP_THROW(Zep::FatalErrorException, sMessage.c_str());
    }
    SSLogoInfo logo;
    logo.m_sName = sName;
    logo.m_nType = sEnding == ".ogv" ? SSLogoInfo::kVideo : SSLogoInfo::kFlash;
    m_lLogos.push_back(logo);
}

void SplashScreen::skipLogo() {
    if (m_pCurrentSprite.isNULL()) return;
    removeSprite(m_pCurrentSprite);
    m_pCurrentSprite = nullptr;
}

// ---- Life cycle ---------------------------------------------------------------

void SplashScreen::onEnter() {
    if (getApp()) getApp()->showCursor(false);
    // One opaque blank tile image, covering the screen column by column.
    Zep::SmartPtr<Image> pTile = createImage(kTileSize, kTileSize, 0);
    if (pTile.isNULL()) return;
    for (int x = 0; x < screenWidth(*this); x += pTile->getWidth()) {
        for (int y = 0; y < screenHeight(*this); y += pTile->getHeight()) {
            Zep::SmartPtr<Sprite> pSprite = new Sprite(pTile, x, y, 0);
            addSprite(pSprite);
            m_lBackground.add(pSprite);
        }
    }
}

void SplashScreen::onEnd() {
    if (getApp()) getApp()->setConfirmQuit(true);
}

void SplashScreen::onResume() {
    if (!getApp()) return;
    getApp()->stopAllAudio();
    getApp()->showCursor(false);
}

bool SplashScreen::onKeyUp(int nKey, int) {
    if (nKey == Key::Escape || nKey == Key::Return || nKey == Key::Space) skipLogo();
    return false;
}

bool SplashScreen::onMouseUp(int, int, int) {
    skipLogo();
    return true;
}

// ---- The frame ----------------------------------------------------------------

void SplashScreen::onUpdate(float fDelta) {
    if (m_pCurrentSprite.isNULL()) {
        // The used-up list ends the mode.
        if (m_lLogos.empty()) {
            endMode();
            return;
        }
        startNextLogo();
    }
    stepLogo(fDelta);
}

void SplashScreen::startNextLogo() {
    m_currentLogo = m_lLogos.front();
    m_lLogos.pop_front();
    switch (m_currentLogo.m_nType) {
        case SSLogoInfo::kImage: startImageLogo(); break;
        case SSLogoInfo::kFlash: startFlashLogo(); break;
        default: startVideoLogo(); break;
    }
}

// Centred with the image's scale, fully transparent through the sprite.
void SplashScreen::startImageLogo() {
    m_fTimeLeft = m_currentLogo.m_fDuration;
    Zep::SmartPtr<Image> pImage = getImage(m_currentLogo.m_sName.c_str());
    const float fScale = pImage.notNULL() ? pImage->getPixelScale() : 1.0f;
    const float fWidth = pImage.notNULL() ? static_cast<float>(pImage->getWidth()) / fScale : 0.0f;
    const float fHeight = pImage.notNULL() ? static_cast<float>(pImage->getHeight()) / fScale : 0.0f;
    const int x = static_cast<int>(static_cast<float>(screenWidth(*this) / 2) - fWidth * 0.5f);
    const int y = static_cast<int>(static_cast<float>(screenHeight(*this) / 2) - fHeight * 0.5f);
    m_pCurrentSprite = new Sprite(pImage, x, y, 1);
    m_pCurrentSprite->setAlpha(0.0f);
    addSprite(m_pCurrentSprite);
    m_fAlpha = 0.0f;
    m_nState = kFadingIn;
    if (!m_currentLogo.m_sMusic.isEmpty() && getApp()) getApp()->playMusic(m_currentLogo.m_sMusic.c_str(), true);
}

void SplashScreen::startFlashLogo() {
    m_pFlashSprite = new FlashSprite(m_currentLogo.m_sName.c_str(), 0, 0, 1, false);
    addSprite(m_pFlashSprite);
    m_pCurrentSprite = m_pFlashSprite;
    m_pFlashSprite->setScale(1.0f);
    m_pFlashSprite->gotoFrame(0);
    m_pFlashSprite->play();
    m_nState = kPlayingFlash;
}

// Centred in integer arithmetic.
void SplashScreen::startVideoLogo() {
    const Zep::String sPath = getApp() ? getApp()->findResource(m_currentLogo.m_sName.c_str()) : m_currentLogo.m_sName;
    m_pVideoSprite = new VideoSprite(sPath.c_str());
    addSprite(m_pVideoSprite);
    m_pVideoSprite->setPosition((screenWidth(*this) - m_pVideoSprite->getWidth()) / 2,
                                (screenHeight(*this) - m_pVideoSprite->getHeight()) / 2);
    m_pVideoSprite->setZOrder(1);
    m_pCurrentSprite = m_pVideoSprite;
    m_nState = kPlayingVideo;
}

void SplashScreen::stepLogo(float fDelta) {
    switch (m_nState) {
        case kFadingIn:
            m_fAlpha += m_currentLogo.m_fFadeInSpeed * fDelta;
            if (m_fAlpha > 255.0f) m_fAlpha = 255.0f, m_nState = kHolding;
            m_pCurrentSprite->setAlpha(static_cast<float>(static_cast<int>(m_fAlpha)) / 255.0f);
            break;
        case kHolding:
            m_fTimeLeft -= fDelta;
            if (m_fTimeLeft < 0.0f) m_nState = kFadingOut;
            break;
        case kFadingOut:
            m_fAlpha -= m_currentLogo.m_fFadeOutSpeed * fDelta;
            if (m_fAlpha >= 0.0f) m_pCurrentSprite->setAlpha(static_cast<float>(static_cast<int>(m_fAlpha)) / 255.0f);
            else skipLogo();
            break;
        case kPlayingFlash: stepFlash(fDelta); break;
        default: stepVideo(fDelta); break;
    }
}

// Ends when the movie stops or has jumped back once.
void SplashScreen::stepFlash(float fDelta) {
    if (m_pFlashSprite.isNULL()) return;
    m_pFlashSprite->update(fDelta);
    if (m_pFlashSprite->isPlaying() && m_pFlashSprite->getLoopCount() <= 0) return;
    removeSprite(m_pFlashSprite);
    m_pFlashSprite = nullptr;
    m_pCurrentSprite = nullptr;
}

void SplashScreen::stepVideo(float fDelta) {
    if (m_pVideoSprite.isNULL()) return;
    m_pVideoSprite->update(fDelta);
    if (!m_pVideoSprite->isFinished()) return;
    removeSprite(m_pVideoSprite);
    m_pVideoSprite = nullptr;
    m_pCurrentSprite = nullptr;
}
