// The operations a mode calls on itself to leave the mode stack: ending,
// suspending, ending the modes above it, and ending behind a transition.
#include <cstdint>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "sprite/transition.h"

namespace {

constexpr const char* kZepSource = ".\\src\\gamemode_stack";

unsigned low32(const void* p) { return static_cast<unsigned>(reinterpret_cast<uintptr_t>(p)); }

// Throws unless the mode is the top of its application's stack.
void requireTop(const GameMode& mode, const char* szOperation) {
    GameApp* pApp = mode.getApp();
    GameMode* pTop = pApp ? pApp->getTopMode() : nullptr;
    if (pTop == &mode) return;
    ZEP_THROW(Zep::FatalErrorException,
              Zep::String::format("Only the topmost mode can call %s() [this = 0x%08X, topmost = 0x%08X]",
                                  szOperation, low32(&mode), low32(pTop))
                  .c_str());
}

}  // namespace

void GameMode::endMode() {
    requireTop(*this, "endMode");
    if (m_pExitTransition) {
        startTransition(m_pExitTransition.release());  // the stack has it now
        return;
    }
    onEnd();
    setState(kStateEnded);
    getApp()->popMode();
    onEnded();
}

void GameMode::suspendMode() {
    requireTop(*this, "suspendMode");
    onSuspend();
    setState(kStateSuspended);
    getApp()->popMode();
}

// A mode above with an exit transition pushes it first; the loop ends that
// at once, then the mode. An empty stack ends the loop.
void GameMode::endModesAbove() {
    GameApp* pApp = getApp();
    if (!pApp) return;
    for (GameMode* pTop = pApp->getTopMode(); pTop && pTop != this; pTop = pApp->getTopMode()) pTop->endMode();
}

void GameMode::startTransition(ModeTransition* pTransition) {
    ZEP_ASSERT(pTransition);
    GameApp* pApp = getApp();
    ZEP_ASSERT(pApp);
    pTransition->setup(true, this, true);
    pApp->pushMode(pTransition);
}

void GameMode::setExitTransition(ModeTransition* pTransition) { m_pExitTransition.reset(pTransition); }
