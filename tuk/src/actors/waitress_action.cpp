// The waitress's actions: starting one, its action point, and completing
// an interrupted one (waitress.h).
#include <zep2/error.h>
#include <zep2/str.h>

#include "actors/actionspot.h"
#include "level/playmode.h"
#include "actors/waitress.h"

namespace {

constexpr const char* kZepSource = ".\\src\\waitress_action";

constexpr const char* kActionWords[3] = {"serve", "fill", "take"};
constexpr const char* kActionPoint = "doaction";

}  // namespace

int Waitress::startAction(const Zep::SmartPtr<IActionTarget>& pTarget, int nHand) {
    // Without a tray only the two hands act.
    if (!m_bTray && nHand != kLeftHand && nHand != kRightHand) return -1;
    const int nSide = m_bTray ? kTrayHand : nHand;
    const int nArm = m_bTray ? kLeftHand : nHand;
    if (m_apArms[nArm]->isPlaying()) return -1;
    if (pTarget.isNULL()) {
        showRestingPose(nSide);
        return -1;
    }
    if (m_pTarget.notNULL()) completePendingAction();
    if (!pTarget->canDoAction(nHand)) return -1;
    m_pTarget = pTarget;
    m_nActingHand = nHand;
    m_nActingArm = nArm;
    const int nKind = pTarget->beginAction(nHand);
    ZEP_ASSERT(nKind >= 0 && nKind < 3);
    pTarget->setBusy(true);
    // Set directly: a state change would complete this very action.
    m_nPrevState = m_nState;
    m_nState = kActing;
    m_sActionSequence =
        Zep::String::format("%s_%s_%s", kActionWords[nKind], headingLetter(m_nHeading), sideWord(nSide));
    playArm(nArm, m_sActionSequence, "thumb_empty");
    return nKind;
}

void Waitress::showRestingPose(int nSide) {
    const char* szLetter = headingLetter(m_nHeading);
    if (m_bTray) {
        playArm(kLeftHand, Zep::String::format("walk_%s_arm_tray_left", szLetter), "thumb_empty");
        return;
    }
    const char* szFill = fillWord(nSide);
    const Zep::String sArm = Zep::String::format("walk_%s_arm_%s_%s_front", szLetter, szFill, sideWord(nSide));
    const Zep::String sThumb = Zep::String::format("walk_%s_thumb_%s_%s_front", szLetter, szFill, sideWord(nSide));
    playArm(nSide, sArm, isHandEmpty(nSide) ? "thumb_empty" : sThumb.c_str());
}

// Every frame the acting arm passed in this update, from the one shown
// before it: the first with the action point completes the action.
void Waitress::scanForActionPoint() {
    const AnimSprite& arm = *m_apArms[m_nActingArm];
    const Zep::SmartPtr<Animation> pAnimation = arm.getAnimation();
    if (arm.getSequenceName() != m_sActionSequence || !pAnimation->hasSequence(m_sActionSequence.c_str())) return;
    const int nCount = arm.getFrameCount(nullptr);
    if (nCount <= 0) return;
    const int nLast = arm.getFrame();
    // A looping sequence may have wrapped past its end.
    const int nSteps = (nLast - arm.getPrevFrame() + nCount) % nCount;
    for (int i = 0; i <= nSteps; ++i) {
        const int nFrame = (arm.getPrevFrame() + i) % nCount;
        if (pAnimation->hasFrameProp(m_sActionSequence.c_str(), nFrame, kActionPoint)) {
            finishAction();
            return;
        }
    }
}

// The arm jumps to its next action point, if any; the action takes effect.
void Waitress::completePendingAction() {
    AnimSprite& arm = *m_apArms[m_nActingArm];
    const Zep::SmartPtr<Animation> pAnimation = arm.getAnimation();
    if (arm.getSequenceName() == m_sActionSequence && pAnimation->hasSequence(m_sActionSequence.c_str())) {
        const int nCount = arm.getFrameCount(nullptr);
        for (int nFrame = arm.getFrame(); nFrame < nCount; ++nFrame) {
            if (!pAnimation->hasFrameProp(m_sActionSequence.c_str(), nFrame, kActionPoint)) continue;
            arm.setFrame(nFrame, -1.0f);
            break;
        }
    }
    finishAction();
    m_nState = kIdle;
}

void Waitress::finishAction() {
    const Zep::SmartPtr<IActionTarget> pTarget = m_pTarget;
    m_pTarget = nullptr;
    if (pTarget->canDoAction(m_nActingHand)) pTarget->completeAction(m_nActingHand);
    pTarget->setBusy(false);
}
