// FlashSprite over an IFlashHost; see flashsprite.h.
#include "media/flashsprite.h"

#include <utility>

FlashSprite::FlashSprite(const char* szMovie, int x, int y, int nZOrder, bool bTransparent)
    : FlashSprite(createFlashHost(), szMovie, x, y, nZOrder, bTransparent) {}

FlashSprite::FlashSprite(std::unique_ptr<IFlashHost> pHost, const char* szMovie, int x, int y, int nZOrder,
                         bool bTransparent)
    : Sprite(x, y, nZOrder), m_pHost(std::move(pHost)) {
    if (m_pHost && !m_pHost->create(szMovie, bTransparent)) m_pHost.reset();
}

FlashSprite::~FlashSprite() = default;

bool FlashSprite::onModeSet() {
    update(0.0f);
    return false;
}

void FlashSprite::update(float) {
    if (!m_pHost) return;
    // A pending scale resizes the host window to the scaled movie.
    if (m_bScalePending) {
        int nWidth = 0;
        int nHeight = 0;
        m_pHost->getMovieSize(nWidth, nHeight);
        m_pHost->resize(static_cast<int>(nWidth * m_fScale), static_cast<int>(nHeight * m_fScale));
        m_bScalePending = false;
    }
    m_pHost->draw(this);
    // Going back to an earlier frame means the movie started over.
    const int nFrame = getCurrentFrame();
    if (m_nLastFrame > nFrame) ++m_nLoopCount;
    m_nLastFrame = nFrame;
}

void FlashSprite::play() {
    if (m_pHost) m_pHost->play();
}

void FlashSprite::stop() {
    if (m_pHost) m_pHost->stop();
}

void FlashSprite::rewind() {
    if (m_pHost) m_pHost->rewind();
}

void FlashSprite::gotoFrame(int nFrame) {
    if (m_pHost) m_pHost->gotoFrame(nFrame);
}

bool FlashSprite::isPlaying() { return m_pHost && m_pHost->isPlaying(); }

int FlashSprite::getCurrentFrame() { return m_pHost ? m_pHost->getCurrentFrame() : 0; }

int FlashSprite::getTotalFrames() { return m_pHost ? m_pHost->getTotalFrames() : 0; }

bool FlashSprite::gotoLabel(const char* szLabel) {
    if (!m_pHost) return false;
    m_pHost->gotoLabel(szLabel);
    return m_pHost->getCurrentLabel() == szLabel;
}

Zep::String FlashSprite::getCurrentLabel() { return m_pHost ? m_pHost->getCurrentLabel() : Zep::String(); }

void FlashSprite::setMovieScale(float fScale) {
    m_fScale = fScale;
    m_bScalePending = true;
}

Point FlashSprite::getMovieSize() {
    if (!m_pHost) return Point(0.0f, 0.0f);
    int nWidth = 0;
    int nHeight = 0;
    m_pHost->getMovieSize(nWidth, nHeight);
    return Point(static_cast<float>(nWidth), static_cast<float>(nHeight));
}

bool FlashSprite::isFlashAvailable() { return isFlashHostAvailable(); }
