// The mode stack's push and pop with their notifications, and the deletion
// of the modes it owns.
#include "application/app_modestack.h"

#include <cstdint>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "driver/videodriver.h"

namespace {

constexpr const char* kZepSource = ".\\src\\app_modestack";

// The low 32 bits of an address, as the stack's messages show it.
unsigned low32(const void* p) { return static_cast<unsigned>(reinterpret_cast<uintptr_t>(p)); }

}  // namespace

void ModeStack::push(GameMode* pMode) {
    ZEP_ASSERT(pMode);
    if (pMode->getState() == GameMode::kStateEnded || contains(pMode))
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("GameApp::pushMode : mode 0x%08X is already on the stack or has ended",
                                      low32(pMode))
                      .c_str());
    if (GameMode* pOldTop = top(); pOldTop && !m_bSuppressed) pOldTop->notifyCovered(pMode);
    m_lModes.addFirst(pMode);
    m_bChanged = true;
    if (pMode->getState() == GameMode::kStateNew) pMode->onEnter();
    pMode->setState(GameMode::kStateOnStack);
    // onEnter may have pushed another mode over this one: that one is resumed.
    if (top() == pMode && !m_bSuppressed) pMode->notifyResumed();
    refreshDisplay();
}

void ModeStack::pop() {
    if (m_lModes.isEmpty()) return;
    GameMode* pMode = m_lModes.removeFirst();
    m_bChanged = true;
    if (pMode->getState() == GameMode::kStateEnded) m_lEnded.add(pMode);
    if (m_lModes.isEmpty()) return;
    if (!m_bSuppressed) top()->notifyResumed();
    refreshDisplay();
}

GameMode* ModeStack::at(int nIndex) const {
    return nIndex >= 0 && nIndex < m_lModes.getCount() ? m_lModes.get(nIndex) : nullptr;
}

bool ModeStack::contains(const GameMode* pMode) const {
    for (const GameMode* p : m_lModes)
        if (p == pMode) return true;
    return false;
}

int ModeStack::lowestDrawnIndex() const {
    int i = 0;
    for (const GameMode* pMode : m_lModes) {
        if (!(pMode->getFlags() & GameMode::kDrawBelow)) return i;
        ++i;
    }
    return i - 1;
}

// The list is taken over first: a mode whose destructor ends others puts
// them into a fresh list, which the next round deletes.
void ModeStack::deleteEnded() {
    while (!m_lEnded.isEmpty()) {
        Zep::List<GameMode*> lEnded = std::move(m_lEnded);
        m_lEnded.clear();
        for (GameMode* pMode : lEnded) delete pMode;
    }
}

void ModeStack::deleteAll() {
    Zep::List<GameMode*> lModes = std::move(m_lModes);
    m_lModes.clear();
    for (GameMode* pMode : lModes) delete pMode;
    deleteEnded();
}

// The sprites see the mouse again, and the driver what is drawn now.
void ModeStack::refreshDisplay() {
    m_app.refreshMousePosition();
    if (IVideoDriver* pVideo = m_app.getVideoDriver()) pVideo->onDisplayChanged();
}
