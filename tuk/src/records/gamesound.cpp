// The game's sound effects (gamesound.h).
#include "records/gamesound.h"

#include "application/gameapp.h"

void playGameSound(const char* szName) {
    GameApp* pApp = GameApp::getInstance();
    if (!pApp || !pApp->getAudioDriver()) return;
    pApp->playSound(pApp->getSample(szName), false, -1);
}
