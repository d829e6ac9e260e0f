// The customer's seat (characterspot.h).
#include "actors/characterspot.h"

#include <zep2/str.h>

#include "records/gamesound.h"
#include "level/playmode.h"

namespace {

// A mug with no customer's rest position stands one layer above the seat.
constexpr int kMugAboveSeat = 4;

bool isServable(const Zep::SmartPtr<Mug>& pMug) { return pMug.notNULL() && !pMug->isEmpty(); }

}  // namespace

// ---- Customers -----------------------------------------------------------------------

void CharacterSpot::setCharacter(const Zep::SmartPtr<Character>& pCharacter) {
    m_pCharacter = pCharacter;
    pCharacter->getMugRestPosition(m_nMugX, m_nMugY, m_nMugZ);
    m_bMugPositionSet = true;
    if (m_pMug.isNULL()) return;
    const Zep::SmartPtr<Mug> pMug = m_pMug;
    m_pMug = nullptr;
    pCharacter->serveMug(pMug);
    pMug->setHighlight(m_bHighlight);
}

void CharacterSpot::releaseCharacter(const Zep::SmartPtr<Character>& pCharacter) {
    if (pCharacter->hasMug()) standMug(pCharacter->takeMug());
    int nStars = 0, nBonus = 0;
    pCharacter->getStars(nStars, nBonus);
    getMode()->addMoney(pCharacter->getSpot(), nStars, 0);
    if (m_pCharacter == pCharacter) m_pCharacter = nullptr;
}

// ---- Mugs ------------------------------------------------------------------------------

void CharacterSpot::getMugPosition(int* pX, int* pY, int* pZ) const {
    if (m_bMugPositionSet || getSprite().isNULL()) {
        *pX = m_nMugX;
        *pY = m_nMugY;
        *pZ = m_nMugZ;
        return;
    }
    getSprite()->getPosition(pX, pY);
    *pZ = getSprite()->getZOrder() + kMugAboveSeat;
}

void CharacterSpot::standMug(const Zep::SmartPtr<Mug>& pMug) {
    m_pMug = pMug;
    int x = 0, y = 0, z = 0;
    getMugPosition(&x, &y, &z);
    pMug->setPosition(x, y, z);
    pMug->setScale(1.0f);
    pMug->refresh();
    pMug->setHighlight(m_bHighlight);
}

void CharacterSpot::putMug(const Zep::SmartPtr<Mug>& pMug) {
    if (m_pCharacter.isNULL()) {
        standMug(pMug);
        return;
    }
    playGameSound(Zep::String::format("sfx_game_accept%d", m_pCharacter->getVoice()).c_str());
    pMug->setScale(1.0f);
    m_pCharacter->serveMug(pMug);
    pMug->setHighlight(m_bHighlight);
}

Zep::SmartPtr<Mug> CharacterSpot::takeMug() {
    Zep::SmartPtr<Mug> pMug = m_pMug;
    m_pMug = nullptr;
    if (pMug.isNULL() && m_pCharacter.notNULL() && m_pCharacter->hasMug()) pMug = m_pCharacter->takeMug();
    if (pMug.notNULL()) pMug->setHighlight(false);
    return pMug;
}

bool CharacterSpot::isMugAtSeat() const { return hasMug() || (m_pCharacter.notNULL() && m_pCharacter->hasMug()); }

// ---- The waitress's actions --------------------------------------------------------------

int CharacterSpot::mugToServe(int nHand) const {
    const Waitress& waitress = *getMode()->getLevelData().m_pWaitress;
    if (!waitress.hasTray()) return isServable(waitress.getHandContents(nHand)) ? nHand : -1;
    int nFirst = -1;
    for (int i = 0; i < waitress.getSlotCount(); ++i) {
        const Zep::SmartPtr<Mug> pMug = waitress.getHandContents(i);
        if (!isServable(pMug)) continue;
        if (nFirst < 0) nFirst = i;
        if (pMug->isFull() && m_pCharacter.notNULL() &&
            m_pCharacter->matchesOrder(pMug->getBeverage(), pMug->getLiquids()))
            return i;
    }
    return nFirst;
}

bool CharacterSpot::canDoAction(int nHand) {
    const Waitress* pWaitress = getMode()->getLevelData().m_pWaitress.get();
    if (!pWaitress) return false;
    if (!isMugAtSeat()) return mugToServe(nHand) >= 0;
    const bool bFree = hasMug() || m_pCharacter->isMugFree();
    return bFree && pWaitress->canTakeWith(nHand);
}

int CharacterSpot::beginAction(int) { return isMugAtSeat() ? kTake : kServe; }

void CharacterSpot::completeAction(int nHand) {
    Waitress& waitress = *getMode()->getLevelData().m_pWaitress;
    if (isMugAtSeat()) {
        waitress.setHandContents(takeMug());
        return;
    }
    putMug(waitress.takeHandContents(mugToServe(nHand)));
}

void CharacterSpot::setHighlight(bool bOn) {
    m_bHighlight = bOn;
    if (m_pMug.notNULL()) m_pMug->setHighlight(bOn);
    else if (m_pCharacter.notNULL() && m_pCharacter->hasMug()) m_pCharacter->getMug()->setHighlight(bOn);
}
