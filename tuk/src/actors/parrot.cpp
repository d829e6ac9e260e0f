// The parrot (parrot.h).
#include "actors/parrot.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <zep2/str.h>

#include "application/gameapp.h"
#include "records/gamesound.h"
#include "level/playmode.h"

namespace {

const char* const kParts[] = {"_still", "_move", "_legs"};

}  // namespace

Parrot::Parrot(PlayMode* pMode, int x, int y, int nZOrder) : m_pMode(pMode), m_nHomeX(x), m_nHomeY(y) {
    const Zep::SmartPtr<Animation> pAnimation = GameApp::getInstance()->getAnimation("parrot.anim");
    for (int i = 0; i < 3; ++i) {
        Zep::SmartPtr<AnimSprite> pSprite = new AnimSprite(pAnimation, x, y, nZOrder + i);
        m_lSprites.add(pSprite);
        pMode->addSprite(pSprite);
    }
    playAll("stand");
    applyDepthScale();
}

// ---- Frame -------------------------------------------------------------------------------

void Parrot::update(float fDelta) {
    for (const Zep::SmartPtr<AnimSprite>& pSprite : m_lSprites) pSprite->update(fDelta);
    applyDepthScale();
    if (m_nState == kPerched) {
        decide();
        return;
    }
    if (isInterrupted()) {
        endLeg();
        decide();
        return;
    }
    fly(fDelta);
}

void Parrot::applyDepthScale() {
    const LevelData& data = m_pMode->getLevelData();
    const float fTop = static_cast<float>(data.m_nWalkBandTop), fBottom = static_cast<float>(data.m_nWalkBandBottom);
    float fX = 0.0f, fY = 0.0f;
    m_lSprites[kBody]->getPosition(&fX, &fY);
    const float fScale = fBottom > fTop ? 1.0f - (fBottom - fY) * kDepthFactor / (fBottom - fTop) : 1.0f;
    for (const Zep::SmartPtr<AnimSprite>& pSprite : m_lSprites) pSprite->setScale(fScale, fScale);
}

bool Parrot::isInterrupted() {
    if (m_nState == kToSink) return false;
    if (!m_lTargetSpots.isEmpty() && !m_lTargetSpots.getFirst()->hasMug()) {
        m_lTargetSpots.removeFirst();
        return true;
    }
    return m_nState == kToPerch && isMugWaiting();
}

void Parrot::fly(float fDelta) {
    m_fLegTime += fDelta;
    const int nTargetX = m_lPathX.getFirst(), nTargetY = m_lPathY.getFirst();
    const float fNewX = m_fStartX + m_fLegTime * (static_cast<float>(nTargetX) - m_fStartX) / m_fLegDuration;
    const int nNewX = static_cast<int>(fNewX);
    const bool bArrived = m_fStartX > static_cast<float>(nTargetX) ? nNewX <= nTargetX : nNewX >= nTargetX;
    if (!bArrived) {
        moveTo(fNewX, m_fStartY + m_fLegTime * (static_cast<float>(nTargetY) - m_fStartY) / m_fLegDuration);
        return;
    }
    moveTo(static_cast<float>(nTargetX), static_cast<float>(nTargetY));
    endLeg();
}

void Parrot::moveTo(float x, float y) {
    const float fX = std::max(x, 0.0f), fY = std::max(y, 0.0f);
    for (const Zep::SmartPtr<AnimSprite>& pSprite : m_lSprites) pSprite->setPosition(fX, fY);
}

void Parrot::playAll(const char* szHeading) {
    for (int i = 0; i < m_lSprites.getCount(); ++i) {
        const Zep::String sSequence = Zep::String(szHeading) + kParts[i];
        m_lSprites[i]->play(sSequence.c_str(), 0.0f, -1);
    }
}

// ---- Decisions -----------------------------------------------------------------------------

bool Parrot::isAtHome() const {
    int x = 0, y = 0;
    m_lSprites[kBody]->getPosition(&x, &y);
    return x == m_nHomeX && y == m_nHomeY;
}

bool Parrot::isMugWaiting() const {
    for (const Zep::SmartPtr<CharacterSpot>& pSeat : m_pMode->getLevelData().m_lCharacterSpots) {
        const Zep::SmartPtr<Mug> pMug = pSeat->getMug();
        if (pMug.notNULL() && pMug->isEmpty() && !pMug->isDrinking()) return true;
    }
    return false;
}

bool Parrot::resolveSink() {
    if (m_pSink.notNULL()) return true;
    const Zep::SmartPtr<TrashBin> pSink = m_pMode->findTrashBin();
    if (pSink.isNULL() || pSink->getSprite().isNULL()) {
        if (!m_bNoSinkLogged) GameApp::log("B: ** Parrot : no sink in the level, the mugs stay with the parrot **\n");
        m_bNoSinkLogged = true;
        return false;
    }
    m_pSink = pSink;
    int x = 0, y = 0, w = 0, h = 0;
    m_pSink->getSprite()->getPosition(&x, &y);
    m_pSink->getSprite()->getSize(&w, &h);
    m_nSinkX = x + w / 2;
    m_nSinkY = y + h / 2;
    return true;
}

void Parrot::decide() {
    if (m_nCarried >= kMugsPerTrip && resolveSink()) {
        m_lPathX = Zep::List<int>{m_nSinkX};
        m_lPathY = Zep::List<int>{m_nSinkY};
        m_nState = kToSink;
    }
    if (m_lPathX.isEmpty()) {
        for (const Zep::SmartPtr<CharacterSpot>& pSeat : m_pMode->getLevelData().m_lCharacterSpots) {
            const Zep::SmartPtr<Mug> pMug = pSeat->getMug();
            if (pMug.isNULL() || !pMug->isEmpty() || pMug->isDrinking()) continue;
            int x = 0, y = 0, z = 0;
            pMug->getPosition(&x, &y, &z);
            m_lPathX.add(x);
            m_lPathY.add(y);
            m_lTargetSpots.add(pSeat);
            m_nState = kToMug;
            playGameSound("sfx_game_parrot");
            break;
        }
    }
    if (m_lPathX.isEmpty() && !isAtHome()) {
        m_lPathX.add(m_nHomeX);
        m_lPathY.add(m_nHomeY);
        m_nState = kToPerch;
    }
    if (!m_lPathX.isEmpty()) startLeg();
}

void Parrot::startLeg() {
    m_lSprites[kBody]->getPosition(&m_fStartX, &m_fStartY);
    const float fDx = m_fStartX - static_cast<float>(m_lPathX.getFirst());
    const float fDy = m_fStartY - static_cast<float>(m_lPathY.getFirst());
    const float fDistance = std::sqrt(fDx * fDx + fDy * fDy);
    if (fDistance == 0.0f) {
        endLeg();
        return;
    }
    m_fLegDuration = fDistance / kSpeed;
    m_fLegTime = 0.0f;
    const int nDx = static_cast<int>(fDx), nDy = static_cast<int>(fDy);
    if (std::abs(nDx) > std::abs(nDy)) playAll(nDx > 0 ? "west" : "east");
    else playAll(nDy > 0 ? "north" : "south");
    m_lSprites[kBody]->setZOrder(kFlightZ);
    m_lSprites[kWings]->setZOrder(kFlightZ + 1);
}

void Parrot::endLeg() {
    if (m_nState == kToSink && m_pSink.notNULL()) {
        m_pSink->addGlasses(m_nCarried);
        m_nCarried = 0;
        m_pSink->updatePile();
    }
    if (!m_lPathX.isEmpty()) {
        m_lPathX.removeFirst();
        m_lPathY.removeFirst();
    }
    if (!m_lTargetSpots.isEmpty()) {
        const Zep::SmartPtr<Mug> pMug = m_lTargetSpots.getFirst()->takeMug();
        if (pMug.notNULL()) {
            m_pMode->removeMug(pMug);
            ++m_nCarried;
        }
        m_lTargetSpots.removeFirst();
    }
    m_nState = kPerched;
    const int nLegsZ = m_lSprites[kLegs]->getZOrder();
    m_lSprites[kBody]->setZOrder(nLegsZ - 2);
    m_lSprites[kWings]->setZOrder(nLegsZ - 1);
    playAll("stand");
}
