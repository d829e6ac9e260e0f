// The waitress's walking core (waitress.h).
#include "waitress.h"

#include "playmode.h"

namespace {

constexpr float kSpeed[4] = {220.0f, 298.0f, 200.0f, 298.0f};
constexpr int kDirX[4] = {0, 1, 0, -1};
constexpr int kDirY[4] = {-1, 0, 1, 0};
constexpr int kProbeDistance = 5;
constexpr float kSecondHeadingShare = 0.75f;

}  // namespace

Waitress::Waitress(PlayMode* pMode, const char* szBaseName, int x, int y, int nCapacity)
    : m_pMode(pMode),
      m_sBaseName(szBaseName),
      m_fX(static_cast<float>(x)),
      m_fY(static_cast<float>(y)),
      m_nCapacity(nCapacity),
      m_bTray(nCapacity > 2) {
    setHeading(kSouth);
}

void Waitress::update(float) {}

void Waitress::getPosition(int* pX, int* pY) const {
    *pX = getX();
    *pY = getY();
}

void Waitress::getPositionF(float* pX, float* pY) const {
    *pX = m_fX;
    *pY = m_fY;
}

void Waitress::getMoveStep(float fDelta, float* pDx, float* pDy) const {
    const float fSpeed = kSpeed[m_nHeading];
    *pDx = kDirX[m_nHeading] * fSpeed * fDelta;
    *pDy = kDirY[m_nHeading] * fSpeed * fDelta;
    if (m_nSecondHeading != kNoHeading) {
        *pDx += kSecondHeadingShare * kDirX[m_nSecondHeading] * fSpeed * fDelta;
        *pDy += kSecondHeadingShare * kDirY[m_nSecondHeading] * fSpeed * fDelta;
    }
}

void Waitress::setPosition(float x, float y) {
    // Fractions of a pixel never consult the walk areas.
    if (static_cast<int>(x) != getX() || static_cast<int>(y) != getY()) {
        if (m_pMode->getWalkAreaDepth(static_cast<int>(x), static_cast<int>(y)) < 0) return;
    }
    m_fX = x;
    m_fY = y;
}

void Waitress::setState(int nState) {
    if (nState == m_nState) return;
    m_nPrevState = m_nState;
    m_nState = nState;
}

void Waitress::setHeading(int nHeading) {
    m_nHeading = nHeading;
    setState(kIdle);
}

void Waitress::stopWalking() {
    setState(kIdle);
    setHeading(m_nHeading);
}

void Waitress::setWalkDirection(int nHeading, int nSecondHeading) {
    m_nSecondHeading = nSecondHeading;
    if (nHeading != m_nHeading) setHeading(nHeading);
    if (isWalking()) return;
    const int nProbeX = static_cast<int>(m_fX + kDirX[nHeading] * kProbeDistance);
    const int nProbeY = static_cast<int>(m_fY + kDirY[nHeading] * kProbeDistance);
    if (m_pMode->getWalkAreaDepth(nProbeX, nProbeY) < 0) return;
    setState(kWalking);
    m_bFoot = !m_bFoot;
}
