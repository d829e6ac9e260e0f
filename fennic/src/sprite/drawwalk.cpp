#include "sprite/drawwalk.h"

#include "base/color.h"
#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "sprite/sprite.h"

namespace {

void drawMode(GameMode& mode, IDrawTarget& target) {
    if (mode.getFlags() & GameMode::kClearScreen) target.clearScreen(Color(0, 0, 0, 255));
    for (const Zep::SmartPtr<SpriteLayer>& pLayer : mode.getLayers())
        for (const Zep::SmartPtr<Sprite>& pSprite : *pLayer)
            if (pSprite->isVisible() && pSprite->hasDrawImage()) target.drawSprite(mode, *pSprite);
}

}  // namespace

void drawModes(GameApp& app, IDrawTarget& target) {
    for (int i = app.getLowestDrawnModeIndex(); i >= 0; --i) {
        GameMode* pMode = app.getModeAt(i);
        if (pMode && pMode->isActive() && pMode->isVisible()) drawMode(*pMode, target);
    }
}
