#include "effects/sc_fade.h"

#include <algorithm>
#include <cmath>

#include "base/rect.h"
#include "effects/sc_motion.h"
#include "sprite/sprite.h"

namespace {

constexpr float kTwoPiApprox = 6.28f;

uint8_t channel(float f) { return static_cast<uint8_t>(std::clamp(truncToInt(f), 0, 255)); }

}  // namespace

// ---- SCLinearFade ---------------------------------------------------------------------

SCLinearFade::SCLinearFade(float fFrom, float fTo, float fDuration, bool bAbsolute)
    : m_fFrom(fFrom), m_fTo(fTo), m_bAbsolute(bAbsolute) {
    setUpTimed(*this, fDuration);
}

void SCLinearFade::start(Zep::SmartPtr<Sprite> pSprite) {
    pSprite->setAlpha(m_bAbsolute ? m_fFrom : pSprite->getAlpha() * m_fFrom);
}

bool SCLinearFade::apply(Zep::SmartPtr<Sprite> pSprite) {
    const float a = m_fFrom + getTimer()->getProgress() * (m_fTo - m_fFrom);
    pSprite->setAlpha(m_bAbsolute ? a : pSprite->getAlpha() * a);
    return getTimer()->isDone();
}

// ---- SCSinusoidAlpha ------------------------------------------------------------------

SCSinusoidAlpha::SCSinusoidAlpha(float fFrequency, float fPhase)
    : m_fFrequency(fFrequency), m_fMin(0.0f), m_fMax(1.0f), m_fPhase(fPhase) {}

SCSinusoidAlpha::SCSinusoidAlpha(float fMin, float fMax, float fFrequency, float fPhase)
    : m_fFrequency(fFrequency), m_fMin(fMin), m_fMax(fMax), m_fPhase(fPhase) {}

bool SCSinusoidAlpha::apply(Zep::SmartPtr<Sprite> pSprite) {
    const float s = std::sin(getTimer()->getElapsed() * kTwoPiApprox * m_fFrequency + m_fPhase);
    pSprite->setAlpha((m_fMax - m_fMin) * (s + 1.0f) * 0.5f + m_fMin);
    return false;
}

// ---- SCBlink --------------------------------------------------------------------------

SCBlink::SCBlink(float fVisibleTime, float fHiddenTime, float fTotalTime)
    : m_fVisibleTime(fVisibleTime), m_fHiddenTime(fHiddenTime), m_fTotalTime(fTotalTime) {}

bool SCBlink::apply(Zep::SmartPtr<Sprite> pSprite) {
    const float fElapsed = getTimer()->getElapsed();
    if (m_fTotalTime > 0.0f && fElapsed > m_fTotalTime) {
        pSprite->setVisible(true);
        return true;
    }
    const int k = truncToInt(fElapsed / (m_fVisibleTime + m_fHiddenTime));
    const float fPhase = fElapsed - (m_fHiddenTime + m_fVisibleTime) * static_cast<float>(k);
    pSprite->setVisible(fPhase < m_fVisibleTime);
    return false;
}

// ---- SCPulseColor ---------------------------------------------------------------------

SCPulseColor::SCPulseColor(const Color& base, const Color& other, float fFrequency)
    : m_aBase{base.getRed(), base.getGreen(), base.getBlue()},
      m_aDiff{other.getRed() - base.getRed(), other.getGreen() - base.getGreen(), other.getBlue() - base.getBlue()},
      m_fFrequency(fFrequency) {}

bool SCPulseColor::apply(Zep::SmartPtr<Sprite> pSprite) {
    const float s = std::sin(getTimer()->getElapsed() * m_fFrequency);
    uint8_t a[3];
    for (int i = 0; i < 3; ++i) a[i] = channel(static_cast<float>(m_aDiff[i]) * s + static_cast<float>(m_aBase[i]));
    pSprite->setColor(Color(a[0], a[1], a[2], 255));
    return false;
}

// ---- SCLinearTint ---------------------------------------------------------------------

SCLinearTint::SCLinearTint(const Color& from, const Color& to, float fDuration)
    : m_from(from), m_to(to),
      m_aDiff{to.getRed() / 255.0f - from.getRed() / 255.0f, to.getGreen() / 255.0f - from.getGreen() / 255.0f,
              to.getBlue() / 255.0f - from.getBlue() / 255.0f} {
    setUpTimed(*this, fDuration);
}

void SCLinearTint::start(Zep::SmartPtr<Sprite> pSprite) { pSprite->setColor(m_from); }

bool SCLinearTint::apply(Zep::SmartPtr<Sprite> pSprite) {
    if (getTimer()->isDone()) {
        pSprite->setColor(m_to);
        return true;
    }
    const float p = getTimer()->getProgress();
    const uint8_t aFrom[3] = {m_from.getRed(), m_from.getGreen(), m_from.getBlue()};
    uint8_t a[3];
    for (int i = 0; i < 3; ++i) a[i] = channel((aFrom[i] / 255.0f + p * m_aDiff[i]) * 255.0f);
    pSprite->setColor(Color(a[0], a[1], a[2], 255));
    return false;
}

// ---- SCApplyPalette -------------------------------------------------------------------

SCApplyPalette::SCApplyPalette(const Zep::SmartPtr<Image>& pPalette, float fDuration) : m_pPalette(pPalette) {
    setUpTimed(*this, fDuration);
}

bool SCApplyPalette::apply(Zep::SmartPtr<Sprite> pSprite) {
    if (m_pPalette.notNULL()) {
        const int nColumn = truncToInt(getTimer()->getProgress() * static_cast<float>(m_pPalette->getWidth() - 1));
        pSprite->setColor(m_pPalette->getPixel(nColumn, 0));
    }
    return getTimer()->isDone();
}

// ---- SCReplaceImage -------------------------------------------------------------------

bool SCReplaceImage::apply(Zep::SmartPtr<Sprite> pSprite) {
    if (m_pImage.notNULL())
        pSprite->setImage(m_pImage);
    else
        pSprite->setImageByName(m_sImageName.c_str());
    return true;
}
