// The player's clicks in the level, pending and dispatched, the hover
// highlight, and the waitress's use of a target (playmode.h).
#include "application/gameapp.h"
#include "records/gamesound.h"
#include "base/keys.h"
#include "level/playmode.h"

namespace {

// Her distance from the target at the hand's point.
int handDistance(const Waitress& waitress, IActionTarget& target, int nHand) {
    int x = 0, y = 0;
    waitress.getHandPosition(&x, &y, nHand);
    return target.getDistance(x, y);
}

}  // namespace

void PlayMode::useTarget(int nHand, Zep::SmartPtr<IActionTarget> pTarget) {
    Waitress* pWaitress = m_levelData.m_pWaitress.get();
    if (!pWaitress || pTarget.isNULL()) return;
    int aHands[2] = {Waitress::kTrayHand, -1};
    if (!pWaitress->hasTray()) {
        const bool bRightNearer = handDistance(*pWaitress, *pTarget, Waitress::kRightHand) <
                                  handDistance(*pWaitress, *pTarget, Waitress::kLeftHand);
        aHands[0] = bRightNearer ? Waitress::kRightHand : Waitress::kLeftHand;
        aHands[1] = bRightNearer ? Waitress::kLeftHand : Waitress::kRightHand;
    }
    for (int nCandidate : aHands) {
        if (nCandidate < 0 || !pTarget->canDoAction(nCandidate)) continue;
        if (pWaitress->startAction(pTarget, nCandidate) >= 0) return;
    }
    pWaitress->startAction(Zep::SmartPtr<IActionTarget>(), nHand);
    playGameSound("sfx_game_cantdo");
}

// ---- Clicks ---------------------------------------------------------------------------------

IClickListener* PlayMode::findClickListener(int x, int y) const {
    IClickListener* pBest = nullptr;
    int nBest = -1;
    for (IClickListener* pListener : m_lClickListeners) {
        const int nPriority = pListener->getClickPriority(x, y);
        if (nPriority > nBest) {
            nBest = nPriority;
            pBest = pListener;
        }
    }
    return pBest;
}

bool PlayMode::onMouseDown(int nButtonMask, int x, int y) {
    if (!(nButtonMask & MouseButton::Left)) return false;
    IClickListener* pListener = findClickListener(x, y);
    if (!pListener) return false;
    if (canTakeClick()) dispatchClick(pListener, x, y);
    else queueClick(pListener, x, y);
    return true;
}

void PlayMode::dispatchClick(IClickListener* pListener, int x, int y) {
    clearCommands();
    pListener->onClick(x, y, 0);
}

bool PlayMode::queueClick(IClickListener* pListener, int x, int y) {
    if (m_lPendingClicks.getCount() >= kMaxPendingClicks) return false;
    m_lPendingClicks.add(PendingClick{pListener, x, y});
    return true;
}

void PlayMode::dispatchPendingClick() {
    while (!m_lPendingClicks.isEmpty() && canTakeClick()) {
        const PendingClick click = m_lPendingClicks.removeFirst();
        if (!isListening(click.pListener)) continue;
        dispatchClick(click.pListener, click.x, click.y);
        return;
    }
}

bool PlayMode::isListening(const IClickListener* pListener) const {
    for (const IClickListener* p : m_lClickListeners)
        if (p == pListener) return true;
    return false;
}

void PlayMode::removeClickListener(IClickListener* pListener) {
    const int nIndex = m_lClickListeners.indexOf(pListener);
    if (nIndex >= 0) m_lClickListeners.removeAt(nIndex);
    Zep::List<PendingClick> lKept;
    for (const PendingClick& click : m_lPendingClicks)
        if (click.pListener != pListener) lKept.add(click);
    m_lPendingClicks = lKept;
}

// ---- Hover --------------------------------------------------------------------------------

void PlayMode::updateHover() {
    GameApp* pApp = getApp();
    if (!pApp || !pApp->getPlatform()) return;
    int x = 0, y = 0;
    pApp->getMousePosition(&x, &y);
    Zep::SmartPtr<IActionTarget> pTarget(dynamic_cast<IActionTarget*>(findClickListener(x, y)));
    if (pTarget == m_pHighlighted) return;
    if (m_pHighlighted.notNULL()) m_pHighlighted->setHighlight(false);
    m_pHighlighted = pTarget;
    if (m_pHighlighted.notNULL()) m_pHighlighted->setHighlight(true);
}
