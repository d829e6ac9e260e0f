// The scene's action spots and their factory (actionspot.h).
#include "actors/actionspot.h"

#include <cmath>
#include <cstring>

#include <zep2/error.h>

#include "actors/characterspot.h"
#include "level/command.h"
#include "actors/drinkmachine.h"
#include "application/gameapp.h"
#include "actors/glassspot.h"
#include "actors/machinebuttons.h"
#include "level/playmode.h"
#include "actors/trashbin.h"

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

void ActionSpot::setWalkRect(const Rect& walkRect) {
    m_walkRect = walkRect;
    m_nX = (walkRect.getLeft() + walkRect.getRight()) / 2;
    m_nY = (walkRect.getTop() + walkRect.getBottom()) / 2;
}

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

void ActionSpot::reportUnwalkablePoint() {
    const WalkAreas& areas = m_pMode->getWalkAreas();
    if (m_bWalkPointReported || areas.find(m_nX, m_nY) >= 0) return;
    int x = m_nX, y = m_nY;
    if (!areas.nearestPoint(&x, &y)) return;
    m_bWalkPointReported = true;
    GameApp::log("B: ** %s : walk point (%d, %d) lies in no walk area; she walks to (%d, %d) **\n", m_sName.c_str(),
                 m_nX, m_nY, x, y);
}

void ActionSpot::onClick(int, int, int) {
    reportUnwalkablePoint();
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

namespace {

Zep::SmartPtr<DrinkMachine> findMachine(PlayMode* pMode, int nId) {
    for (const Zep::SmartPtr<DrinkMachine>& pMachine : pMode->getLevelData().m_lDrinkMachines)
        if (pMachine->getId() == nId) return pMachine;
    return Zep::SmartPtr<DrinkMachine>();
}

void enlist(PlayMode* pMode, const Zep::SmartPtr<ActionSpot>& pSpot) {
    pMode->addActionTarget(pSpot.get());
    pMode->addClickListener(pSpot.get());
}

// A button of the machine, its sprite made by the machine.
Zep::SmartPtr<ActionSpot> createButton(PlayMode* pMode, bool bLiquid, int x, int y, int nDepth,
                                       const Rect& walkRect, int nHeading, const SpotLink& link) {
    const Zep::SmartPtr<DrinkMachine> pMachine = findMachine(pMode, link.nMachine);
    if (pMachine.isNULL()) return Zep::SmartPtr<ActionSpot>();
    Zep::SmartPtr<ActionSpot> pButton;
    if (bLiquid) {
        pButton = new LiquidButton(pMode, walkRect, nHeading, pMachine.get(), link.nType);
        pButton->attachSprite(pMachine->addLiquidButton(link.nType, pMode, x, y, nDepth));
    } else {
        pButton = new BeverageButton(pMode, walkRect, nHeading, pMachine.get(), link.nType);
        pButton->attachSprite(pMachine->addBeverageButton(link.nType, pMode, x, y, nDepth));
    }
    pButton->setName(Zep::String::format("%s %d at (%d, %d)", bLiquid ? "liquid" : "beverage", link.nType, x, y));
    enlist(pMode, pButton);
    pMachine->addButtonTarget(pButton);
    return pButton;
}

}  // namespace

Zep::SmartPtr<ActionSpot> create(PlayMode* pMode, const char* szType, int x, int y, int nDepth, const Rect& walkRect,
                                 int nHeading, const char* szImage, const SpotLink& link) {
    const bool bLiquid = std::strcmp(szType, "liquid") == 0;
    if (bLiquid || std::strcmp(szType, "beverage") == 0)
        return createButton(pMode, bLiquid, x, y, nDepth, walkRect, nHeading, link);
    Zep::SmartPtr<ActionSpot> pSpot;
    Zep::SmartPtr<Image> pImage = link.pImage.notNULL() ? link.pImage : pMode->getImage(szImage);
    Zep::SmartPtr<GlassSpot> pCoaster;
    Zep::SmartPtr<CharacterSpot> pSeat;
    const bool bPlatform = std::strcmp(szType, "platformjuicer") == 0;
    if (bPlatform || std::strcmp(szType, "glassspot") == 0) {
        pSpot = pCoaster = new GlassSpot(pMode, walkRect, nHeading);
        pCoaster->setBarmanSpot(link.bBarman && !bPlatform);
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
    pSpot->setName(Zep::String::format("%s at (%d, %d)", szType, x, y));
    enlist(pMode, pSpot);
    if (pCoaster.notNULL()) pMode->addGlassSpot(pCoaster);
    if (pSeat.notNULL()) pMode->getLevelData().m_lCharacterSpots.add(pSeat);
    const Zep::SmartPtr<DrinkMachine> pMachine = findMachine(pMode, link.nMachine);
    if (bPlatform && pMachine.notNULL()) pMachine->addPlatformSpot(pCoaster);
    return pSpot;
}

}  // namespace ActionTarget
