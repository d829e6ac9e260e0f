// The waitress's three commands (command.h).
#include "level/command.h"

#include "level/playmode.h"

namespace {

Waitress* waitressOf(PlayMode& mode) { return mode.getLevelData().m_pWaitress.get(); }

}  // namespace

void CmdWalk::execute(PlayMode& mode) { mode.walkWaitressTo(m_nX, m_nY); }

bool CmdWalk::isDone(PlayMode& mode) {
    const Waitress* pWaitress = waitressOf(mode);
    return !mode.isWaitressWalking() && (!pWaitress || !pWaitress->isWalking());
}

void CmdSetHeading::execute(PlayMode& mode) {
    if (Waitress* pWaitress = waitressOf(mode)) pWaitress->setHeading(m_nHeading);
}

CmdUseTarget::CmdUseTarget(int nHand, Zep::SmartPtr<IActionTarget> pTarget) : m_nHand(nHand), m_pTarget(pTarget) {}

CmdUseTarget::~CmdUseTarget() = default;

void CmdUseTarget::execute(PlayMode& mode) { mode.useTarget(m_nHand, m_pTarget); }

bool CmdUseTarget::isDone(PlayMode& mode) {
    const Waitress* pWaitress = waitressOf(mode);
    return !pWaitress || pWaitress->getState() != Waitress::kActing;
}
