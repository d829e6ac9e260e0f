// The animated sprite: sequence playing and frame timing.
#include "anim/animsprite.h"

#include <cmath>

AnimSprite::AnimSprite(const Zep::SmartPtr<Animation>& pAnimation, int x, int y, int nZOrder)
    : Sprite(x, y, nZOrder) {
    initAnimation(pAnimation);
}

AnimSprite::AnimSprite(const Zep::SmartPtr<Animation>& pAnimation, const Point& position, int nZOrder)
    : Sprite(position, nZOrder) {
    initAnimation(pAnimation);
}

AnimSprite::~AnimSprite() = default;

void AnimSprite::initAnimation(const Zep::SmartPtr<Animation>& pAnimation) {
    if (pAnimation.isNULL()) return;
    setAnimation(pAnimation);
    const Zep::String sDefault = pAnimation->getDefaultSequence();
    play(sDefault.c_str(), pAnimation->getSequenceFrameRate(sDefault.c_str()),
         pAnimation->isSequenceLooping(sDefault.c_str()) ? 1 : 0);
}

void AnimSprite::setAnimation(const Zep::SmartPtr<Animation>& pAnimation) {
    m_pAnimation = pAnimation;
    if (m_pAnimation.notNULL()) play("default", 0.0f, -1);
}

void AnimSprite::play(const char* szSequence, float fFps, int nLoop) {
    const int nCount = getFrameCount(szSequence);
    if (nCount == 0) {
        m_bPlaying = false;
        setImage(Zep::SmartPtr<Image>());
        return;
    }
    m_sSequence = szSequence;
    m_nFrame = 0;
    if (fFps == 0.0f) fFps = m_pAnimation->getSequenceFrameRate(szSequence);
    // A rate of zero or below is the sequence's whole duration, negated.
    m_fSecondsPerPeriod = fFps > 0.0f ? 1.0f / fFps : -fFps / static_cast<float>(nCount);
    if (nLoop == -1) nLoop = m_pAnimation->isSequenceLooping(szSequence) ? 1 : 0;
    m_bLooping = nLoop != 0;
    showFrame();
    start();
}

void AnimSprite::setFrame(int n, float fTimeLeft) {
    m_nFrame = n;
    showFrame();
    if (fTimeLeft >= 0.0f) m_fTimeLeft = fTimeLeft;  // false for NaN too
}

void AnimSprite::start() {
    m_bPlaying = false;
    if (m_fSecondsPerPeriod != 0.0f && !std::isnan(m_fSecondsPerPeriod)) {
        m_bPlaying = true;
        showFrame();
    }
}

void AnimSprite::showFrame() {
    if (m_pAnimation.isNULL() || !m_pAnimation->hasFrame(m_sSequence.c_str(), m_nFrame)) return;
    Zep::SmartPtr<Image> pImage = getCurrentImage();
    if (pImage != getImage()) setImage(pImage);
    m_fTimeLeft = getFrameDuration();
}

bool AnimSprite::update(float fDelta) {
    m_bFrameChanged = false;
    m_bFinished = false;
    if (!m_bPlaying || !isVisible()) return false;
    m_bSkippedFrames = false;
    m_nPrevFrame = m_nFrame;
    // The first update after a (re)start reports the first frame once.
    const bool bResult = m_nFrame == 0 && m_fTimeLeft == getFrameDuration();
    m_fTimeLeft -= fDelta;
    if (m_fTimeLeft > 0.0f) return bResult;
    if (!advanceFrames()) return true;
    m_bFrameChanged = true;
    showFrame();
    return true;
}

bool AnimSprite::advanceFrames() {
    const int nCount = getFrameCount(nullptr);
    int nSteps = 0;
    float fPassStart = m_fTimeLeft;
    do {
        ++m_nFrame;
        if (++nSteps > 1) m_bSkippedFrames = true;
        if (m_nFrame >= nCount) {
            if (!m_bLooping) {
                m_nFrame = nCount - 1;
                showFrame();
                m_bFinished = true;
                stop();
                return false;
            }
            m_nFrame = 0;
        }
        m_fTimeLeft += getFrameDuration();
        // A whole pass that gained no time would never end: stop here.
        if (nSteps % nCount == 0) {
            if (!(m_fTimeLeft > fPassStart)) break;
            fPassStart = m_fTimeLeft;
        }
    } while (m_fTimeLeft <= 0.0f);
    return true;
}

float AnimSprite::getFrameDuration() const {
    return static_cast<float>(m_pAnimation->getFrameRepeat(m_sSequence.c_str(), m_nFrame)) * m_fSecondsPerPeriod;
}

Zep::SmartPtr<Image> AnimSprite::getCurrentImage() const {
    return m_pAnimation->getFrameImage(m_sSequence.c_str(), m_nFrame);
}

int AnimSprite::getFrameCount(const char* szSequence) const {
    if (m_pAnimation.isNULL()) return 0;
    return m_pAnimation->getFrameCount(szSequence ? szSequence : m_sSequence.c_str());
}

Zep::String AnimSprite::getFrameProp(const char* szName) const {
    return m_pAnimation->getFrameProp(m_sSequence.c_str(), m_nFrame, szName);
}

bool AnimSprite::hasFrameProp(const char* szName) const {
    if (m_pAnimation.isNULL() || !m_pAnimation->hasSequence(m_sSequence.c_str())) return false;
    return m_pAnimation->hasFrameProp(m_sSequence.c_str(), m_nFrame, szName);
}

Zep::String AnimSprite::findFrameProp(const char* szName) const {
    if (m_pAnimation.isNULL() || !m_pAnimation->hasSequence(m_sSequence.c_str())) return Zep::String();
    for (int n = m_nFrame; n >= 0; --n) {
        Zep::SmartPtr<FrameData> pFrame = m_pAnimation->getFrame(m_sSequence.c_str(), n);
        if (pFrame->hasProp(szName, false)) return pFrame->getProp(szName, false);
    }
    return Zep::String();
}
