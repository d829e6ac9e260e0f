// The level's play mode: its lists, command queue, path walk and money
// (playmode.h).
#include "level/playmode.h"

#include <algorithm>
#include <cmath>

#include "level/leveltuning.h"
#include "records/cappedsum.h"

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

// ---- Lists ---------------------------------------------------------------------

void PlayMode::removeCharacter(Zep::SmartPtr<Character> pCharacter) { dropFrom(m_lCharacters, pCharacter); }

void PlayMode::removeGlassSpot(Zep::SmartPtr<GlassSpot> pSpot) { dropFrom(m_lGlassSpots, pSpot); }

void PlayMode::removeActionTarget(Zep::SmartPtr<IActionTarget> pTarget) { dropFrom(m_lActionTargets, pTarget); }

void PlayMode::removeMug(const Zep::SmartPtr<Mug>& pMug) {
    dropFrom(m_levelData.m_lMugs, pMug);
    pMug->detach();
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
    m_walkAreas.nearestPoint(&x, &y);  // a point off the floor: the nearest one on it
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
    m_levelData.m_nDayMoney = cappedSum(m_levelData.m_nDayMoney, nAmount);
    m_levelData.m_nDayStars = cappedSum(m_levelData.m_nDayStars, nValue);
    m_lCustomerResults.add(getGameKind() == 2 ? nValue * kFreePlayResultFactor : nValue);
}
