// VideoSprite; see videosprite.h.
#include "media/videosprite.h"

#include <zep2/error.h>

#include "application/gameapp.h"
#include "driver/platform.h"

namespace {

constexpr const char* kZepSource = ".\\src\\videosprite";

std::unique_ptr<IVideoSpriteImpl> openClip(const char* szPath) {
    GameApp* pApp = GameApp::getInstance();
    IPlatform* pPlatform = pApp ? pApp->getPlatform() : nullptr;
    std::unique_ptr<IVideoSpriteImpl> pImpl = pPlatform ? pPlatform->createVideoSpriteImpl() : nullptr;
    if (!pImpl || !pImpl->open(szPath))
        ZEP_THROW(Zep::FatalErrorException, Zep::String::format("Can't open '%s'", szPath).c_str());
    return pImpl;
}

}  // namespace

VideoSprite::VideoSprite(const char* szPath) : m_pImpl(openClip(szPath)) {
    m_pImpl->setExclusiveAudio(true);
    setVolume(1.0f);
    play();
}

VideoSprite::~VideoSprite() { m_pImpl.reset(); }

void VideoSprite::play() {
    m_pImpl->play();
    m_bPlaying = true;
    m_bFinished = false;
}

void VideoSprite::setVolume(float fVolume) {
    m_fVolume = fVolume;
    applyVolume();
}

void VideoSprite::applyVolume() {
    const GameApp* pApp = GameApp::getInstance();
    const int nSoundVolume = pApp ? pApp->getSoundVolume() : 255;
    m_pImpl->setVolume(static_cast<float>(nSoundVolume * m_fVolume / 255.0));
}

void VideoSprite::update(float fElapsed) {
    if (!m_bPlaying) return;
    applyVolume();
    Zep::SmartPtr<Image> pImage = m_pImpl->update(fElapsed);
    if (m_pImpl->isFinished()) {
        m_bPlaying = false;
        m_bFinished = true;
    } else if (pImage.get()) {
        setImage(pImage);
    }
}
