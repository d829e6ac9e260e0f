// The play mode's use of a target by the waitress (playmode.h).
#include "characterspot.h"
#include "gamesound.h"
#include "playmode.h"

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
    if (dynamic_cast<GlassSpot*>(pTarget.get()) || dynamic_cast<CharacterSpot*>(pTarget.get()))
        playGameSound("sfx_game_cantdo");
}
