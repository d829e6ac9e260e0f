// The ambient figures (figures.h).
#include "actors/figures.h"

#include <cmath>

#include "application/gameapp.h"

void AmbientFigure::update(float fDelta) {
    for (const Zep::SmartPtr<AnimSprite>& pSprite : m_lSprites) pSprite->update(fDelta);
}

// ---- The bongo player ------------------------------------------------------------------

MisterBongos::MisterBongos(GameMode* pMode, int x, int y, int nDepth, const Zep::String& sVariant) {
    Zep::List<Zep::String> lParams;
    lParams.add(sVariant);
    const Zep::String sKey = Zep::String("bongoman") + sVariant;
    Zep::SmartPtr<AnimSprite> pSprite = new AnimSprite(
        GameApp::getInstance()->loadAnimation("mrbongo.template", sKey.c_str(), lParams), x, y, nDepth);
    pSprite->play("play", 0.0f, -1);
    m_lSprites.add(pSprite);
    if (pMode) pMode->addSprite(pSprite);
}

// ---- The dancer ------------------------------------------------------------------------

DancingGirl::DancingGirl(const Zep::SmartPtr<Animation>& pAnimation, int x, int y, int nDepth, int nMinX, int nMaxX)
    : m_fX(static_cast<float>(x)), m_fY(static_cast<float>(y)), m_nMinX(nMinX), m_nMaxX(nMaxX) {
    Zep::SmartPtr<AnimSprite> pSprite = new AnimSprite(pAnimation, x, y, nDepth);
    pSprite->play("dance", 0.0f, -1);
    m_lSprites.add(pSprite);
}

Zep::SmartPtr<Animation> DancingGirl::loadAnimation(const Zep::String& sVariant) {
    Zep::List<Zep::String> lParams;
    lParams.add(sVariant);
    const Zep::String sKey = Zep::String("bailarina.anim") + sVariant;
    return GameApp::getInstance()->loadAnimation("bailarina.template", sKey.c_str(), lParams);
}

void DancingGirl::update(float fDelta) {
    AmbientFigure::update(fDelta);
    m_fX += static_cast<float>(m_nDirection) * kSpeed * fDelta;
    if (m_nDirection > 0 && m_fX >= static_cast<float>(m_nMaxX)) {
        m_fX = static_cast<float>(m_nMaxX);
        m_nDirection = -1;
    } else if (m_nDirection < 0 && m_fX <= static_cast<float>(m_nMinX)) {
        m_fX = static_cast<float>(m_nMinX);
        m_nDirection = 1;
    }
    getSprite()->setScale(static_cast<float>(m_nDirection), 1.0f);
    getSprite()->setPosition(m_fX, m_fY);
}

// ---- Path walkers ----------------------------------------------------------------------

PathSprite::PathSprite(const Zep::SmartPtr<Animation>& pAnimation, const Zep::List<Point>& lWaypoints, float fSpeed,
                       int nDepth)
    : m_lWaypoints(lWaypoints), m_fSpeed(fSpeed) {
    if (!m_lWaypoints.isEmpty()) m_position = m_lWaypoints.getFirst();
    m_lSprites.add(new AnimSprite(pAnimation, m_position, nDepth));
}

void PathSprite::update(float fDelta) {
    AmbientFigure::update(fDelta);
    const int nCount = m_lWaypoints.getCount();
    if (nCount < 2 || !(m_fSpeed > 0.0f)) return;
    float fStep = m_fSpeed * fDelta;
    // Each pass reaches a waypoint or ends the step; one round of the path
    // without length ends it too.
    for (int nPass = 0; fStep > 0.0f && nPass <= nCount; ++nPass) {
        const Point target = m_lWaypoints[m_nTarget];
        const float fDx = target.x - m_position.x, fDy = target.y - m_position.y;
        const float fDistance = std::sqrt(fDx * fDx + fDy * fDy);
        if (fDx != 0.0f) getSprite()->setScale(fDx < 0.0f ? -1.0f : 1.0f, 1.0f);
        if (fDistance > fStep) {
            m_position = Point(m_position.x + fDx * fStep / fDistance, m_position.y + fDy * fStep / fDistance);
            break;
        }
        m_position = target;
        fStep -= fDistance;
        m_nTarget = (m_nTarget + 1) % nCount;
    }
    getSprite()->setPosition(m_position);
}
