// The waitress: making, the frame's update, walking and her states (waitress.h).
#include "actors/waitress.h"

#include <zep2/error.h>

#include "actors/mug.h"
#include "level/playmode.h"
#include "base/rect.h"

namespace {

constexpr const char* kZepSource = ".\\src\\waitress";

constexpr const char* kHeadingLetters[4] = {"n", "e", "s", "w"};
constexpr float kSpeed[4] = {220.0f, 298.0f, 200.0f, 298.0f};
constexpr int kDirX[4] = {0, 1, 0, -1};
constexpr int kDirY[4] = {-1, 0, 1, 0};
constexpr int kHandX[4] = {0, 45, 0, -45};
constexpr int kHandY[4] = {-100, -104, -100, -104};
constexpr int kProbeDistance = 5;
constexpr float kSecondHeadingShare = 0.75f;
constexpr float kBandShrink = 0.208f;
// Walking by herself she keeps this much of her own step and takes the rest
// from the preferred line.
constexpr float kOwnStepShare = 0.9f;

}  // namespace

const char* Waitress::headingLetter(int nHeading) {
    ZEP_ASSERT(nHeading >= 0 && nHeading < 4);
    return kHeadingLetters[nHeading];
}

Waitress::Waitress(PlayMode* pMode, const char* szBaseName, int x, int y, int nCapacity)
    : m_pMode(pMode),
      m_sBaseName(szBaseName),
      m_fX(static_cast<float>(x)),
      m_fY(static_cast<float>(y)),
      m_nCapacity(nCapacity),
      m_bTray(nCapacity > 2) {
    loadSprites(Zep::String::format("%s.template", szBaseName).c_str());
    for (const Zep::SmartPtr<AnimSprite>& pThumb : m_apThumbs) pThumb->play("thumb_empty", 0.0f, -1);
    while (m_lSlots.getCount() < m_nCapacity) m_lSlots.add(Zep::SmartPtr<Mug>());
    setHeading(kSouth);
}

Waitress::~Waitress() = default;

void Waitress::buildSprites(const char* szTemplateFile, int nCapacity) {
    m_nCapacity = nCapacity;
    m_bTray = nCapacity > 2;
    const Zep::String sBody = m_pBody->getSequenceName();
    removeSprites();
    loadSprites(szTemplateFile);
    m_pBody->play(sBody.c_str(), 0.0f, -1);
    for (const Zep::SmartPtr<AnimSprite>& pThumb : m_apThumbs) pThumb->play("thumb_empty", 0.0f, -1);
    while (m_lSlots.getCount() < m_nCapacity) m_lSlots.add(Zep::SmartPtr<Mug>());
    showStandingArms();
    placeArms();
    layoutItems();
}

void Waitress::update(float fDelta) {
    m_pBody->update(fDelta);
    const bool bRightChanged = m_apArms[kRightHand]->update(fDelta);
    const bool bLeftChanged = m_apArms[kLeftHand]->update(fDelta);
    m_apThumbs[kLeftHand]->update(fDelta);
    m_apThumbs[kRightHand]->update(fDelta);
    if (m_nState == kWalking) {
        if (!m_pBody->isPlaying()) {
            setHeading(m_nHeading);
        } else if (!m_pMode->isWaitressWalking()) {
            float fDx = 0.0f, fDy = 0.0f;
            getMoveStep(fDelta, &fDx, &fDy);
            const float fX = m_fX + fDx, fY = m_fY + fDy;
            int nLineX = truncToInt(fX), nLineY = truncToInt(fY);
            m_pMode->applyPreferredLines(&nLineX, &nLineY, kNoHeading, m_nHeading);
            setPosition(kOwnStepShare * fX + (1.0f - kOwnStepShare) * static_cast<float>(nLineX),
                        kOwnStepShare * fY + (1.0f - kOwnStepShare) * static_cast<float>(nLineY));
        }
    } else if (m_nState == kActing) {
        if (m_pTarget.notNULL()) scanForActionPoint();
        if (!m_apArms[m_nActingArm]->isPlaying()) setState(kIdle);
    }
    if (bRightChanged || bLeftChanged) layoutItems();
}

void Waitress::getPosition(int* pX, int* pY) const {
    *pX = getX();
    *pY = getY();
}

void Waitress::getPositionF(float* pX, float* pY) const {
    *pX = m_fX;
    *pY = m_fY;
}

void Waitress::getHandPosition(int* pX, int* pY, int nHand) const {
    const bool bHand = nHand == kLeftHand || nHand == kRightHand;
    *pX = getX() + (bHand ? kHandX[m_nHeading] : 0);
    *pY = getY() + (bHand ? kHandY[m_nHeading] : 0);
}

// ---- Movement -------------------------------------------------------------------

void Waitress::getMoveStep(float fDelta, float* pDx, float* pDy) const {
    const float fSpeed = kSpeed[m_nHeading];
    *pDx = kDirX[m_nHeading] * fSpeed * fDelta;
    *pDy = kDirY[m_nHeading] * fSpeed * fDelta;
    if (m_nSecondHeading != kNoHeading) {
        *pDx += kSecondHeadingShare * kDirX[m_nSecondHeading] * fSpeed * fDelta;
        *pDy += kSecondHeadingShare * kDirY[m_nSecondHeading] * fSpeed * fDelta;
    }
}

float Waitress::scaleForY(float y) const {
    const LevelData& data = m_pMode->getLevelData();
    if (data.m_nWalkBandBottom <= data.m_nWalkBandTop) return 1.0f;
    const float fBottom = static_cast<float>(data.m_nWalkBandBottom);
    return 1.0f - (fBottom - y) * kBandShrink / (fBottom - static_cast<float>(data.m_nWalkBandTop));
}

void Waitress::applyScale(float fScale) {
    m_pBody->setScale(fScale);
    for (int i = 0; i < 2; ++i) {
        m_apArms[i]->setScale(fScale);
        m_apThumbs[i]->setScale(fScale);
    }
}

void Waitress::updateDepthScale() { applyScale(scaleForY(m_fY)); }

void Waitress::setPosition(float x, float y) {
    // Fractions of a pixel never consult the walk areas.
    if (truncToInt(x) == getX() && truncToInt(y) == getY()) {
        m_fX = x;
        m_fY = y;
        return;
    }
    const int nDepth = m_pMode->getWalkAreaDepth(truncToInt(x), truncToInt(y));
    if (nDepth < 0) return;
    m_pBody->setPosition(x, y);
    for (int i = 0; i < 2; ++i) {
        m_apArms[i]->setPosition(x, y);
        m_apThumbs[i]->setPosition(x, y);
    }
    m_pBody->setZOrder(nDepth);
    m_fDepthScale = scaleForY(y);
    applyScale(m_fDepthScale);
    placeArms();
    layoutItems();
    m_fX = x;
    m_fY = y;
}

void Waitress::setHeading(int nHeading) {
    const char* szLetter = headingLetter(nHeading);
    m_nHeading = nHeading;
    setState(kIdle);
    m_pBody->play(Zep::String::format("stand_%s_main", szLetter).c_str(), 0.0f, -1);
    showStandingArms();
    placeArms();
    layoutItems();
}

void Waitress::stopWalking() {
    setState(kIdle);
    setHeading(m_nHeading);
}

void Waitress::setWalkDirection(int nHeading, int nSecondHeading) {
    m_nSecondHeading = nSecondHeading;
    if (nHeading != m_nHeading) setHeading(nHeading);
    if (isWalking()) return;
    const int nProbeX = truncToInt(m_fX + static_cast<float>(kDirX[nHeading] * kProbeDistance));
    const int nProbeY = truncToInt(m_fY + static_cast<float>(kDirY[nHeading] * kProbeDistance));
    if (m_pMode->getWalkAreaDepth(nProbeX, nProbeY) < 0) return;
    setState(kWalking);
    m_bFoot = !m_bFoot;
    const char* szFoot = m_bFoot ? "right" : "left";
    m_pBody->play(Zep::String::format("walk_%s_main_%s", headingLetter(m_nHeading), szFoot).c_str(), 0.0f, -1);
    showWalkingArms();
}

void Waitress::setState(int nState) {
    if (nState == m_nState) return;
    if (m_pTarget.notNULL()) completePendingAction();
    m_nPrevState = m_nState;
    m_nState = nState;
    if (nState != kIdle) return;
    showStandingArms();
    layoutItems();
}
