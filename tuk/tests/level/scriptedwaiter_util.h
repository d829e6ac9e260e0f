// The scripted player of the demo level's tests, who plays by mouse presses
// alone, one move a frame while the waitress can take a click: serve a
// carried drink to the waiting customer who ordered it (or drop it into the
// sink), else fetch a full mug from the bar, else take the order of a
// calling customer. How a press reaches the game is the test's own.
#pragma once

#include <functional>
#include <utility>

#include "actors/actionballoon.h"
#include "actors/character.h"
#include "actors/characterspot.h"
#include "actors/glassspot.h"
#include "actors/mug.h"
#include "actors/trashbin.h"
#include "actors/waitress.h"
#include "level/playmode.h"

namespace leveltest {

class ScriptedWaiter {
public:
    // Delivers a press of the left button at (x, y).
    using Press = std::function<void(int, int)>;

    ScriptedWaiter(PlayMode& level, Press press) : m_rLevel(level), m_press(std::move(press)) {}

    void move() {
        if (!m_rLevel.canTakeClick() || m_rLevel.getPendingClickCount() > 0) return;
        Waitress& waitress = *m_rLevel.getLevelData().m_pWaitress;
        if (waitress.countCarriedItems() > 0) return serveCarried(waitress);
        for (const Zep::SmartPtr<GlassSpot>& pSpot : m_rLevel.getGlassSpots())
            if (pSpot->isBarmanSpot() && pSpot->hasMug() && pSpot->getMug()->isFull() &&
                pressOn(pSpot.get(), pSpot->getSprite()->getBoundingRect()))
                return;
        for (const Zep::SmartPtr<Character>& pCustomer : m_rLevel.getCharacters()) {
            const Zep::SmartPtr<ActionBalloon> pBalloon = pCustomer->getBalloon();
            if (pBalloon.isNULL() || !pBalloon->canDoAction(0)) continue;
            for (const Zep::SmartPtr<Sprite>& pPicture : pBalloon->getPictures())
                if (pPicture->isVisible() && pressOn(pBalloon.get(), pPicture->getBoundingRect())) {
                    ++m_nOrders;
                    return;
                }
        }
    }
    int ordersTaken() const { return m_nOrders; }
    PlayMode& level() const { return m_rLevel; }

    // A press where the level gives it to the listener: the point of the
    // rectangle nearest to its middle, as a player aims (a point at the rim
    // of a pulsing balloon may have left it by the next frame); false when
    // no point does.
    bool pressOn(IClickListener* pListener, const Rect& r) {
        const int nMidX = (r.getLeft() + r.getRight()) / 2, nMidY = (r.getTop() + r.getBottom()) / 2;
        int nBest = -1, nBestX = 0, nBestY = 0;
        for (int y = r.getTop(); y < r.getBottom(); y += 2)
            for (int x = r.getLeft(); x < r.getRight(); x += 2) {
                const int nDistance = (x - nMidX) * (x - nMidX) + (y - nMidY) * (y - nMidY);
                if ((nBest < 0 || nDistance < nBest) && m_rLevel.findClickListener(x, y) == pListener) {
                    nBest = nDistance;
                    nBestX = x;
                    nBestY = y;
                }
            }
        if (nBest < 0) return false;
        m_press(nBestX, nBestY);
        return true;
    }

private:
    void serveCarried(Waitress& waitress) {
        Zep::SmartPtr<Mug> pMug;
        for (int i = 0; pMug.isNULL() && i < 8; ++i) pMug = waitress.getHandContents(i);
        if (pMug.notNULL())
            for (const Zep::SmartPtr<Character>& pCustomer : m_rLevel.getCharacters()) {
                if (pCustomer->getState() != Character::kWaiting && pCustomer->getState() != Character::kCalling)
                    continue;
                if (!pCustomer->matchesOrder(pMug->getBeverage(), pMug->getLiquids())) continue;
                CharacterSpot& seat = *m_rLevel.getLevelData().m_lCharacterSpots.get(pCustomer->getSpot());
                if (pressOn(&seat, seat.getSprite()->getBoundingRect())) return;
            }
        Zep::SmartPtr<TrashBin> pSink = m_rLevel.findTrashBin();
        pressOn(pSink.get(), pSink->getSprite()->getBoundingRect());
    }

    PlayMode& m_rLevel;
    Press m_press;
    int m_nOrders = 0;
};

}  // namespace leveltest
