// The mode stack as the frame loop and the video drivers read it: index 0 is
// the top, and drawing starts at the lowest mode that the modes above it let
// show through.
#include "gameapp.h"
#include "gamemode.h"

GameMode* GameApp::getModeAt(int nIndex) { return m_lModeStack.get(nIndex); }

GameMode* GameApp::getTopMode() { return m_lModeStack.isEmpty() ? nullptr : m_lModeStack.getFirst(); }

// Going down from the top, the first mode that does not draw the ones below;
// the bottom mode when all do, -1 on an empty stack.
int GameApp::getLowestDrawnModeIndex() {
    const int nCount = m_lModeStack.getCount();
    int i = 0;
    for (GameMode* pMode : m_lModeStack) {
        if (!(pMode->getFlags() & GameMode::kDrawBelow)) return i;
        ++i;
    }
    return nCount - 1;
}
