// The application's mode-stack operations, forwarding to its ModeStack, and
// the queries the frame loop and the video drivers use: index 0 is the top.
#include <utility>
#include <vector>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "sprite/transition.h"

namespace {
constexpr const char* kZepSource = ".\\src\\app_stack";
}  // namespace

GameMode* GameApp::getModeAt(int nIndex) { return m_modeStack.at(nIndex); }

GameMode* GameApp::getTopMode() { return m_modeStack.top(); }

int GameApp::getLowestDrawnModeIndex() { return m_modeStack.lowestDrawnIndex(); }

void GameApp::pushMode(GameMode* pMode) { m_modeStack.push(pMode); }

void GameApp::popMode() { m_modeStack.pop(); }

void GameApp::pushModeNextFrame(std::unique_ptr<GameMode> pMode) {
    ZEP_ASSERT(pMode);
    m_vNextFrameModes.push_back(std::move(pMode));
}

// A transition on top ends itself when its fade is over: nothing may stand
// above it meanwhile.
void GameApp::pushNextFrameModes() {
    if (m_vNextFrameModes.empty() || dynamic_cast<ModeTransition*>(getTopMode())) return;
    std::vector<std::unique_ptr<GameMode>> vModes;
    vModes.swap(m_vNextFrameModes);
    for (std::unique_ptr<GameMode>& pMode : vModes) pushMode(pMode.release());
}

void GameApp::pushTransition(GameMode* pNext, ModeTransition* pTransition) {
    ZEP_ASSERT(pTransition);
    pTransition->setup(true, pNext, false);
    pushMode(pTransition);
}

GameMode* GameApp::runModal(GameMode* pMode) {
    ZEP_ASSERT(pMode);
    pMode->setFlags(GameMode::kActive | GameMode::kVisible | GameMode::kDrawBelow);
    pushMode(pMode);
    int nLast = getTicks();
    int nDue = static_cast<int>(static_cast<uint32_t>(nLast) + static_cast<uint32_t>(m_nFramePeriod));
    // Only the mode leaving the top ends the nested loop: a quit requested
    // meanwhile takes effect in the outer loop.
    while (getTopMode() == pMode) frame(nLast, nDue, true);
    return getTopMode();
}
