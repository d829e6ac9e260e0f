// The scene's action spots and their factory (actionspot.h).
#include "actionspot.h"

#include <cmath>
#include <cstring>

#include <zep2/error.h>

#include "characterspot.h"
#include "command.h"
#include "glassspot.h"
#include "playmode.h"
#include "trashbin.h"

namespace {

constexpr const char* kZepSource = ".\\src\\actionspot";

void check(bool bHolds, const char* szText, int nLine) {
    if (!bHolds) throw Zep::AssertFailException(kZepSource, nLine, szText);
}

}  // namespace

ActionSpot::ActionSpot(PlayMode* pMode, const Rect& walkRect, int nHeading)
    : m_pMode(pMode),
      m_walkRect(walkRect),
      m_nX((walkRect.getLeft() + walkRect.getRight()) / 2),
      m_nY((walkRect.getTop() + walkRect.getBottom()) / 2),
      m_nHeading(nHeading) {}

void ActionSpot::attachSprite(const Zep::SmartPtr<Sprite>& pSprite) {
    check(m_pAttachedSprite.isNULL(), "Assertion failed : !m_pAttachedSprite", __LINE__);
    check(pSprite.notNULL(), "Assertion failed : pSprite", __LINE__);
    m_pAttachedSprite = pSprite;
}

void ActionSpot::removeSprite() {
    if (m_pAttachedSprite.notNULL() && m_pAttachedSprite->getMode())
        m_pAttachedSprite->getMode()->removeSprite(m_pAttachedSprite);
}

void ActionSpot::getPosition(int* pX, int* pY) const {
    *pX = m_nX;
    *pY = m_nY;
}

int ActionSpot::getClickPriority(int x, int y) {
    if (m_pAttachedSprite.isNULL() || !m_pAttachedSprite->hitTestBoxAt(x, y)) return -1;
    return m_pAttachedSprite->getZOrder();
}

void ActionSpot::onClick(int, int, int) {
    const Waitress* pWaitress = m_pMode->getLevelData().m_pWaitress.get();
    const int nHand = pWaitress && pWaitress->hasTray() ? 2 : 0;
    m_pMode->queueCommand(new CmdWalk(m_nX, m_nY));
    m_pMode->queueCommand(new CmdSetHeading(m_nHeading));
    m_pMode->queueCommand(new CmdUseTarget(nHand, Zep::SmartPtr<IActionTarget>(this)));
}

int ActionSpot::getDistance(int x, int y) {
    float fX = static_cast<float>(m_nX), fY = static_cast<float>(m_nY);
    if (m_pAttachedSprite.notNULL()) m_pAttachedSprite->getPosition(&fX, &fY);
    const double dDx = fX - x, dDy = fY - y;
    return static_cast<int>(std::sqrt(dDx * dDx + dDy * dDy));
}

namespace ActionTarget {

Zep::SmartPtr<ActionSpot> create(PlayMode* pMode, const char* szType, int x, int y, int nDepth, const Rect& walkRect,
                                 int nHeading, const char* szImage) {
    Zep::SmartPtr<ActionSpot> pSpot;
    Zep::SmartPtr<Image> pImage = pMode->getImage(szImage);
    Zep::SmartPtr<GlassSpot> pCoaster;
    Zep::SmartPtr<CharacterSpot> pSeat;
    if (std::strcmp(szType, "glassspot") == 0) {
        pSpot = pCoaster = new GlassSpot(pMode, walkRect, nHeading);
        pImage = GlassSpot::coasterImage(pImage);
    } else if (std::strcmp(szType, "trashbin") == 0) {
        pSpot = new TrashBin(pMode, walkRect, nHeading, szImage, x, y, nDepth);
    } else if (std::strcmp(szType, "propdispenser") == 0) {
        pSpot = new PropDispenser(pMode, walkRect, nHeading);
    } else if (std::strcmp(szType, "characterspot") == 0) {
        pSpot = pSeat = new CharacterSpot(pMode, walkRect, nHeading);
    } else {
        return pSpot;
    }
    pSpot->attachSprite(pMode->addSprite(new Sprite(pImage, x, y, nDepth)));
    pMode->addActionTarget(pSpot.get());
    pMode->addClickListener(pSpot.get());
    if (pCoaster.notNULL()) pMode->addGlassSpot(pCoaster);
    if (pSeat.notNULL()) pMode->getLevelData().m_lCharacterSpots.add(pSeat);
    return pSpot;
}

}  // namespace ActionTarget
