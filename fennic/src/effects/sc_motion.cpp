#include "effects/sc_motion.h"

#include <algorithm>
#include <cmath>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "sprite/sprite.h"

namespace {

constexpr const char* kZepSource = ".\\src\\sc_motion";
constexpr float kTwoPiApprox = 6.28f;
constexpr float kPiApprox = 3.14159f;
constexpr float kThird = 0.33333334f;
constexpr float kNoSpeedDuration = 100000.0f;

}  // namespace

void setUpTimed(SpriteController& controller, float fDuration) {
    controller.getTimer()->setDuration(fDuration, true);
    controller.getTimer()->setFlags(Timer::kClamp);
}

// ---- SCLinearPath ---------------------------------------------------------------------

SCLinearPath::SCLinearPath(const Point& to, float fValue, int eType) : m_bAbsolute(false) {
    SCLinearPath::setPath(Point(0.0f, 0.0f), to, fValue, eType);
}

SCLinearPath::SCLinearPath(const Point& from, const Point& to, float fValue, int eType) : m_bAbsolute(true) {
    SCLinearPath::setPath(from, to, fValue, eType);
}

void SCLinearPath::setPath(const Point& from, const Point& to, float fValue, int eType) {
    m_from = from;
    m_to = to;
    float fDuration = fValue;
    if (eType == kSpeed)
        fDuration = fValue != 0.0f ? (to - from).length() / fValue : kNoSpeedDuration;
    else if (eType != kDuration)
        ZEP_THROW(Zep::Exception, "Unsupported eType");
    setUpTimed(*this, fDuration);
}

void SCLinearPath::start(Zep::SmartPtr<Sprite> pSprite) {
    if (m_bAbsolute) pSprite->setPosition(m_from);
    m_lastOffset = Point(0.0f, 0.0f);
}

bool SCLinearPath::apply(Zep::SmartPtr<Sprite> pSprite) {
    const Point offset = (m_to - m_from) * getTimer()->getProgress();
    pSprite->setPosition(pSprite->getPosition() + offset - m_lastOffset);
    m_lastOffset = offset;
    return getTimer()->isDone();
}

// ---- SCVerticalParabola ---------------------------------------------------------------

SCVerticalParabola::SCVerticalParabola(const Point& from, const Point& to, float fControl, float fDuration)
    : m_from(from), m_fDX(to.x - from.x), m_fA((fControl - from.y) / kThird), m_fB((to.y - from.y) - m_fA) {
    setUpTimed(*this, fDuration);
}

bool SCVerticalParabola::apply(Zep::SmartPtr<Sprite> pSprite) {
    const float p = getTimer()->getProgress();
    pSprite->setPosition(m_fDX * p + m_from.x, m_from.y + m_fA * p + m_fB * p * p);
    return getTimer()->isDone();
}

// ---- SCScale --------------------------------------------------------------------------

SCScale::SCScale(float fFrom, float fTo, float fDuration)
    : m_bSeparate(false), m_fFromX(fFrom), m_fFromY(fFrom), m_fDX(fTo - fFrom), m_fDY(fTo - fFrom), m_fToX(fTo),
      m_fToY(fTo) {
    setUpTimed(*this, fDuration);
}

SCScale::SCScale(float fFromX, float fToX, float fFromY, float fToY, float fDuration)
    : m_bSeparate(true), m_fFromX(fFromX), m_fFromY(fFromY), m_fDX(fToX - fFromX), m_fDY(fToY - fFromY),
      m_fToX(fToX), m_fToY(fToY) {
    setUpTimed(*this, fDuration);
}

bool SCScale::apply(Zep::SmartPtr<Sprite> pSprite) {
    if (getTimer()->isDone()) {
        pSprite->setScale(m_fToX, m_bSeparate ? m_fToY : m_fToX);
        return true;
    }
    const float p = getTimer()->getProgress();
    const float sx = p * m_fDX + m_fFromX;
    pSprite->setScale(sx, m_bSeparate ? p * m_fDY + m_fFromY : sx);
    return false;
}

// ---- SCSinusoidScale ------------------------------------------------------------------

SCSinusoidScale::SCSinusoidScale(float fMin, float fMax, float fFrequency, float fPhase)
    : m_fMin(fMin), m_fMax(fMax), m_fFrequency(fFrequency), m_fPhase(fPhase) {
    getTimer()->setElapsed(0.0f);
}

void SCSinusoidScale::start(Zep::SmartPtr<Sprite> pSprite) { apply(pSprite); }

bool SCSinusoidScale::apply(Zep::SmartPtr<Sprite> pSprite) {
    const float s = std::sin(getTimer()->getElapsed() * kTwoPiApprox * m_fFrequency + m_fPhase);
    pSprite->setScale((m_fMax - m_fMin) * (s + 1.0f) * 0.5f + m_fMin);
    return false;
}

// ---- SCGrowBounce ---------------------------------------------------------------------

SCGrowBounce::SCGrowBounce(float fStart, float fPeak, float fEnd, float fDuration) : m_fPeak(fPeak), m_fEnd(fEnd) {
    setUpTimed(*this, fDuration);
    // No curve to follow: the first update shows the end scale.
    if (fPeak == 0.0f || !(fDuration > 0.0f)) {
        m_bJump = true;
        return;
    }
    m_fPhase0 = std::asin(std::clamp(fStart / fPeak, -1.0f, 1.0f));
    m_fSpeed = ((kPiApprox - std::asin(std::clamp(fEnd / fPeak, -1.0f, 1.0f))) - m_fPhase0) / fDuration;
}

void SCGrowBounce::start(Zep::SmartPtr<Sprite> pSprite) {
    if (!m_bJump) apply(pSprite);
}

bool SCGrowBounce::apply(Zep::SmartPtr<Sprite> pSprite) {
    if (m_bJump) {
        pSprite->setScale(m_fEnd);
        return true;
    }
    pSprite->setScale(m_fPeak * std::sin(m_fPhase0 + m_fSpeed * getTimer()->getElapsed()));
    return getTimer()->isDone();
}

// ---- SCRotate -------------------------------------------------------------------------

SCRotate::SCRotate(float fSpeed) : m_fSpeed(fSpeed) {}

SCRotate::SCRotate(float fFrom, float fTo, float fDuration) : m_fSpeed(0.0f), m_fFrom(fFrom), m_fTo(fTo) {
    setUpTimed(*this, fDuration);
}

void SCRotate::start(Zep::SmartPtr<Sprite> pSprite) {
    if (m_fSpeed == 0.0f) pSprite->setRotation(m_fFrom);
}

bool SCRotate::update(float fDelta, Zep::SmartPtr<Sprite> pSprite) {
    if (m_fSpeed != 0.0f) {
        pSprite->setRotation(pSprite->getRotation() + m_fSpeed * fDelta);
        return false;
    }
    getTimer()->advance(fDelta);
    pSprite->setRotation(interpolateAngle(m_fFrom, m_fTo, getTimer()->getProgress()));
    return getTimer()->isDone();
}

// ---- SCSinusoidRotate -----------------------------------------------------------------

SCSinusoidRotate::SCSinusoidRotate(float fBase, float fAmplitude, float fPeriod, float fDuration)
    : m_fBase(fBase), m_fAmplitude(fAmplitude), m_fPeriod(fPeriod) {
    getTimer()->setElapsed(0.0f);
    if (fDuration > 0.0f) setUpTimed(*this, fDuration);
}

void SCSinusoidRotate::start(Zep::SmartPtr<Sprite> pSprite) { apply(pSprite); }

bool SCSinusoidRotate::apply(Zep::SmartPtr<Sprite> pSprite) {
    pSprite->setRotation(m_fBase + m_fAmplitude * std::sin(getTimer()->getElapsed() * kTwoPiApprox / m_fPeriod));
    return getTimer()->isDone();
}

// ---- SCVerticalProgress ---------------------------------------------------------------

SCVerticalProgress::SCVerticalProgress(int nTarget, float fSpeed, const Zep::String& sImageName)
    : m_nTarget(nTarget), m_fSpeed(fSpeed) {
    GameApp* pApp = GameApp::getInstance();
    if (!pApp) ZEP_THROW(Zep::BadStateException, "SCVerticalProgress : there is no application object");
    m_pSource = pApp->getImage(sImageName.c_str());
}

bool SCVerticalProgress::update(float fDelta, Zep::SmartPtr<Sprite> pSprite) {
    const int nOld = truncToInt(m_fShown);
    m_fShown = std::min(m_fShown + m_fSpeed * fDelta, static_cast<float>(m_nTarget));
    const int nShown = truncToInt(m_fShown);
    if (nShown != nOld && m_pSource.notNULL()) {
        const int h = m_pSource->getHeight(), w = m_pSource->getWidth();
        Zep::SmartPtr<Image> pPart = m_pSource->createSubImage(Rect(0, h - nShown, w, h), true);
        pPart->setInsPoint(0, nShown - h);
        pSprite->setImage(pPart);
    }
    return m_fShown == static_cast<float>(m_nTarget);
}

// ---- The one-shot setters -------------------------------------------------------------

bool SCSetPosition::apply(Zep::SmartPtr<Sprite> pSprite) {
    pSprite->setPosition(m_position);
    return true;
}

bool SCSetScreenPosition::apply(Zep::SmartPtr<Sprite> pSprite) {
    if (Zep::SmartPtr<Image> pImage = pSprite->getImage(); pImage.notNULL()) pImage->alignInsPoint(m_nAlignment);
    pSprite->setPosition(m_position);
    return true;
}

bool SCSetInsPoint::apply(Zep::SmartPtr<Sprite> pSprite) {
    if (Zep::SmartPtr<Image> pImage = pSprite->getImage(); pImage.notNULL()) pImage->alignInsPoint(m_nAlignment);
    return true;
}

bool SCSetZOrder::apply(Zep::SmartPtr<Sprite> pSprite) {
    pSprite->setZOrder(m_nZOrder);
    return true;
}
