// The level's play mode: its lists, command queue, path walk, money and
// popups (playmode.h).
#include "playmode.h"

#include <algorithm>
#include <cmath>

#include "leveltuning.h"

namespace {

constexpr int kNoWalkRange = 5;       // pixels on both axes
constexpr float kWaypointReach = 2.0f;  // pixels on both axes
constexpr int kFreePlayResultFactor = 10;

template <class T>
void dropFrom(Zep::List<T>& list, const T& value) {
    int nIndex = list.indexOf(value);
    if (nIndex >= 0) list.removeAt(nIndex);
}

// One axis of a step towards a waypoint: the waypoint's own coordinate once
// the step reaches or passes it; no move against the remaining distance.
float stepToward(float fFrom, float fStep, float fTo) {
    const float fRemaining = fTo - fFrom;
    if (fStep == 0.0f || (fStep > 0.0f) != (fRemaining > 0.0f)) return fFrom;
    return std::fabs(fStep) >= std::fabs(fRemaining) ? fTo : fFrom + fStep;
}

}  // namespace

PlayMode::PlayMode(TUKPlayer* pPlayer, DayResult* pResult, const char* szSceneName, int nLevel, int nGameKind,
                   int nDifficulty)
    : TUKMode(1),
      m_pPlayer(pPlayer),
      m_pDayResult(pResult),
      m_sSceneName(szSceneName),
      m_nLevel(nLevel),
      m_nDifficulty(nDifficulty) {
    m_levelData.m_nGameKind = nGameKind;
}

// The customers leave before the mode's own state goes.
PlayMode::~PlayMode() {
    for (const Zep::SmartPtr<Character>& pCustomer : m_lCharacters) pCustomer->detach();
}

void PlayMode::onUpdate(float fDelta) {
    // A customer may leave the level during its own update.
    const Zep::List<Zep::SmartPtr<Character>> lCustomers = m_lCharacters;
    for (const Zep::SmartPtr<Character>& pCustomer : lCustomers) pCustomer->update(fDelta);
    for (const Zep::SmartPtr<Mug>& pMug : m_levelData.m_lMugs) pMug->update(fDelta);
    processCommands();
    stepWaitressWalk(fDelta);
    if (m_levelData.m_pWaitress.notNULL()) m_levelData.m_pWaitress->update(fDelta);
    updateActors(fDelta);
}

// ---- Lists ---------------------------------------------------------------------

void PlayMode::removeCharacter(Zep::SmartPtr<Character> pCharacter) { dropFrom(m_lCharacters, pCharacter); }

void PlayMode::removeGlassSpot(Zep::SmartPtr<GlassSpot> pSpot) { dropFrom(m_lGlassSpots, pSpot); }

void PlayMode::removeActionTarget(Zep::SmartPtr<IActionTarget> pTarget) { dropFrom(m_lActionTargets, pTarget); }

void PlayMode::removeClickListener(IClickListener* pListener) { dropFrom(m_lClickListeners, pListener); }

void PlayMode::removeMug(const Zep::SmartPtr<Mug>& pMug) {
    dropFrom(m_levelData.m_lMugs, pMug);
    pMug->detach();
}

void PlayMode::onCustomerLeaving(Zep::SmartPtr<Character> pCharacter) {
    if (pCharacter->hasHadDrink()) ++m_levelData.m_nCustomersServed;
    const int nSpot = pCharacter->getSpot();
    const Zep::List<Zep::SmartPtr<CharacterSpot>>& lSeats = m_levelData.m_lCharacterSpots;
    if (nSpot >= 0 && nSpot < lSeats.getCount()) lSeats.get(nSpot)->releaseCharacter(pCharacter);
    removeCharacter(pCharacter);
    pCharacter->detach();
}

void PlayMode::closeBar() {
    m_levelData.m_bBarClosed = true;
    const Zep::List<Zep::SmartPtr<Character>> lCustomers = m_lCharacters;
    for (const Zep::SmartPtr<Character>& pCustomer : lCustomers) pCustomer->onBarClosed();
}

void PlayMode::setMixedOrders(bool bMixed) {
    const bool bSwitchedOn = bMixed && !m_levelData.m_bMixedOrders;
    m_levelData.m_bMixedOrders = bMixed;
    if (!bSwitchedOn) return;
    for (const Zep::SmartPtr<Character>& pCustomer : m_lCharacters) pCustomer->refreshOrder();
}

Zep::SmartPtr<TrashBin> PlayMode::findTrashBin() const {
    for (IClickListener* pListener : m_lClickListeners)
        if (TrashBin* pBin = dynamic_cast<TrashBin*>(pListener)) return Zep::SmartPtr<TrashBin>(pBin);
    return Zep::SmartPtr<TrashBin>();
}

// ---- Walk areas and the path walk ------------------------------------------------

void PlayMode::addWalkArea(const Rect& rect, int nDepth) {
    m_walkAreas.add(rect, nDepth);
    m_levelData.m_nWalkBandTop = m_walkAreas.getBandTop();
    m_levelData.m_nWalkBandBottom = m_walkAreas.getBandBottom();
}

void PlayMode::walkWaitressTo(int x, int y) {
    Waitress* pWaitress = m_levelData.m_pWaitress.get();
    if (!pWaitress) return;
    const int nFromX = pWaitress->getX(), nFromY = pWaitress->getY();
    if (std::abs(nFromX - x) <= kNoWalkRange && std::abs(nFromY - y) <= kNoWalkRange) return;
    if (!m_walkAreas.findPath(nFromX, nFromY, x, y, &m_lWaypoints)) return;
    showWalkMarker(x, y);
    m_bPathWalk = true;
}

void PlayMode::showWalkMarker(int x, int y) {
    const int nZOrder = m_walkAreas.getDepth(x, y) - 1;
    if (m_pWalkMarker.isNULL()) {
        m_pWalkMarker = addSprite(new Sprite(getImage("walk_marker"), x, y, nZOrder));
    } else {
        m_pWalkMarker->setPosition(x, y);
        m_pWalkMarker->setZOrder(nZOrder);
    }
    m_pWalkMarker->setVisible(true);
}

void PlayMode::stepWaitressWalk(float fDelta) {
    Waitress* pWaitress = m_levelData.m_pWaitress.get();
    if (!m_bPathWalk || !pWaitress || m_lWaypoints.isEmpty()) return;
    const Point target = m_lWaypoints.getFirst();
    float fX = 0.0f, fY = 0.0f;
    pWaitress->getPositionF(&fX, &fY);
    const float fDx = target.x - fX, fDy = target.y - fY;
    int nHeading = fDy > 0.0f ? Waitress::kSouth : Waitress::kNorth;
    int nSecond = Waitress::kNoHeading;
    if (std::fabs(fDx) >= 1.0f) {
        nSecond = std::fabs(fDy) >= 1.0f ? nHeading : Waitress::kNoHeading;
        nHeading = fDx > 0.0f ? Waitress::kEast : Waitress::kWest;
    }
    pWaitress->setWalkDirection(nHeading, nSecond);
    float fStepX = 0.0f, fStepY = 0.0f;
    pWaitress->getMoveStep(fDelta, &fStepX, &fStepY);
    pWaitress->setPosition(stepToward(fX, fStepX, target.x), stepToward(fY, fStepY, target.y));

    pWaitress->getPositionF(&fX, &fY);
    if (std::fabs(target.x - fX) > kWaypointReach || std::fabs(target.y - fY) > kWaypointReach) return;
    m_lWaypoints.removeFirst();
    if (m_lWaypoints.isEmpty()) stopWaitressWalk();
    else pWaitress->setPosition(target.x, target.y);  // a door: in both its areas
}

void PlayMode::stopWaitressWalk() {
    m_bPathWalk = false;
    m_lWaypoints.clear();
    if (m_pWalkMarker.notNULL()) m_pWalkMarker->setVisible(false);
    if (m_levelData.m_pWaitress.notNULL()) m_levelData.m_pWaitress->stopWalking();
}

// ---- Tuning ---------------------------------------------------------------------

void PlayMode::setLevelDifficulty() {
    tuneLevel(m_levelData, getGameKind(), m_nLevel, m_nDifficulty);
    checkLiquids(m_levelData);
    if (!m_levelData.m_bHarderMode) return;
    for (const Zep::SmartPtr<DrinkMachine>& pMachine : m_levelData.m_lDrinkMachines) pMachine->setDifficultyFlag(true);
}

// ---- Command queue -----------------------------------------------------------

void PlayMode::processCommands() {
    if (m_pCurrentCommand.notNULL()) {
        if (!m_pCurrentCommand->isDone(*this)) return;
        m_pCurrentCommand = nullptr;
    }
    if (m_lCommands.isEmpty()) return;
    // Held here too: executing may clear the queue.
    Zep::SmartPtr<IWaitressCommand> pCommand = m_lCommands.removeFirst();
    m_pCurrentCommand = pCommand;
    pCommand->execute(*this);
}

void PlayMode::clearCommands() {
    m_lCommands.clear();
    m_pCurrentCommand = nullptr;
}

bool PlayMode::canTakeClick() const {
    const Waitress* pWaitress = m_levelData.m_pWaitress.get();
    return pWaitress && pWaitress->isIdle() && !m_bPathWalk && m_pCurrentCommand.isNULL() && m_lCommands.isEmpty();
}

// ---- Money and popups ------------------------------------------------------------

void PlayMode::addMoney(int, int nValue, int nAmount) {
    m_levelData.m_nDayMoney += nAmount;
    m_levelData.m_nDayStars += nValue;
    m_lCustomerResults.add(getGameKind() == 2 ? nValue * kFreePlayResultFactor : nValue);
}

void PlayMode::showMoneyPopup(int x, int y) {
    Popup popup;
    popup.eKind = Popup::kMoney;
    popup.x = x;
    popup.y = y;
    m_lPopups.add(popup);
}

void PlayMode::showStarBonus(int nSpot, int nStars) {
    if (nStars == 0 || getGameKind() == 1) return;
    Popup popup;
    popup.eKind = Popup::kStars;
    popup.nSpot = nSpot;
    popup.nValue = nStars;
    m_lPopups.add(popup);
}

void PlayMode::showTimePopup(int x, int y, const char* szText, int nRed, int nGreen, int nBlue, float fSeconds) {
    Popup popup;
    popup.eKind = Popup::kTime;
    popup.x = x;
    popup.y = y;
    popup.sText = szText;
    popup.color = Color(static_cast<uint8_t>(nRed), static_cast<uint8_t>(nGreen), static_cast<uint8_t>(nBlue), 255);
    popup.fSeconds = fSeconds;
    m_lPopups.add(popup);
}
