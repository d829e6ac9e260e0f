// Input routing: the platform's event pump calls these handlers, which offer
// each event to the modes on the stack from the top down.
//
// Every walk runs over a copy of the stack taken when the handler starts, so
// a handler may push and end modes without disturbing the walk. Within a mode
// the focus sprite (keys, characters) or the hover sprite (mouse) is asked
// first, then the mode itself; a true answer consumes the event. Only active
// modes are asked, and the walk goes on below a mode that did not consume the
// event only when the mode lets input through (bit 4) -- a test made for
// inactive modes too, so an inactive mode without bit 4 swallows everything.
//
// Two rules differ between the walks and are kept on purpose:
// - the mouse-button walks skip a mode of the copy that is no longer on the
//   live stack; the key and character walks still offer the event to it;
// - a release (key or mouse button) is dropped, hooks included, when the
//   stack changed since the last press: the press that opened a dialog must
//   not have its release land in the dialog.
// A sprite that is both the hover and the focus sprite of a mode gets a
// mouse release twice, as the two roles are notified one after the other.
#include <vector>

#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "base/keys.h"
#include "sprite/sprite.h"

namespace {

using SpritePtr = Zep::SmartPtr<Sprite>;
using ModeSnapshot = std::vector<GameMode*>;

// The stack as it stands, top first.
ModeSnapshot snapshotOf(GameApp& app) {
    ModeSnapshot vModes;
    const int nCount = app.getModeCount();
    vModes.reserve(static_cast<size_t>(nCount));
    for (int i = 0; i < nCount; ++i) vModes.push_back(app.getModeAt(i));
    return vModes;
}

bool isOnStack(GameApp& app, const GameMode* pMode) {
    const int nCount = app.getModeCount();
    for (int i = 0; i < nCount; ++i)
        if (app.getModeAt(i) == pMode) return true;
    return false;
}

bool passesInputBelow(const GameMode& mode) { return (mode.getFlags() & GameMode::kInputBelow) != 0; }

// The common walk (keys, characters, mouse moves): offer(mode) answers whether
// the mode (or one of its sprites) consumed the event; true when one did.
template <class Offer>
bool walkModes(GameApp& app, Offer offer) {
    for (GameMode* pMode : snapshotOf(app)) {
        if (pMode->isActive() && offer(*pMode)) return true;
        if (!passesInputBelow(*pMode)) return false;
    }
    return false;
}

// The mouse-button walk: modes that left the live stack are skipped, and only
// active modes whose button mask shares a bit with the event are offered it.
template <class Offer>
void walkButtons(GameApp& app, int nButtonMask, Offer offer) {
    for (GameMode* pMode : snapshotOf(app)) {
        if (!isOnStack(app, pMode)) continue;
        const bool bEligible = pMode->isActive() && (pMode->getMouseButtonMask() & nButtonMask) != 0;
        if ((bEligible && offer(*pMode)) || !passesInputBelow(*pMode)) return;
    }
}

// Leave on the old hover sprite, enter on the new one, then the new one is
// the hover sprite (null when no control is under the point).
void updateHover(GameMode& mode, const SpritePtr& pUnder) {
    const SpritePtr pOld = mode.getHoverSprite();
    if (pUnder == pOld) return;
    if (pOld.notNULL()) pOld->onMouseLeave();
    if (pUnder.notNULL()) pUnder->onMouseEnter();
    mode.setHoverSprite(pUnder);
}

// One mode's share of a mouse move; true when the mode consumed it.
bool moveInMode(GameMode& mode, int x, int y, bool bSendToModes) {
    if (const SpritePtr pFocus = mode.getFocusSprite(); pFocus.notNULL()) pFocus->onMouseMove(x, y);
    const SpritePtr pUnder = mode.findControlAt(x, y);
    updateHover(mode, pUnder);
    // A focus sprite that is also under the point gets the move twice.
    if (pUnder.notNULL()) pUnder->onMouseMove(x, y);
    return bSendToModes && mode.handleMouseMove(x, y);
}

bool pressInMode(GameMode& mode, int nButtonMask, int x, int y) {
    const SpritePtr pHover = mode.getHoverSprite();
    if (pHover.isNULL())
        mode.setFocusSprite(SpritePtr());
    else if (pHover->onMouseDown(nButtonMask))
        return true;
    return mode.onMouseDown(nButtonMask, x, y);
}

// Hover and focus sprite are both told, even when they are the same sprite.
bool releaseInMode(GameMode& mode, int nButtonMask, int x, int y) {
    const SpritePtr pHover = mode.getHoverSprite();
    const SpritePtr pFocus = mode.getFocusSprite();
    const bool bHover = pHover.notNULL() && pHover->onMouseUp(nButtonMask);
    const bool bFocus = pFocus.notNULL() && pFocus->onMouseUp(nButtonMask);
    if (bHover || bFocus) return true;
    return mode.onMouseUp(nButtonMask, x, y);
}

}  // namespace

// F12, or Return with either Alt key, switches between full screen and window.
bool GameApp::handleSystemKeys(int nKey, unsigned nModifiers) {
    const bool bAltReturn = nKey == Key::Return && (nModifiers & KeyMod::Alt) != 0;
    if (nKey != Key::F12 && !bAltReturn) return false;
    toggleFullscreen();
    return true;
}

// Unconsumed by every mode reached, the key goes to the hook, whose answer is
// the result.
bool GameApp::onKeyDown(int nKey, unsigned nModifiers) {
    if (handleSystemKeys(nKey, nModifiers)) return true;
    setModeStackChanged(false);
    const int nMods = static_cast<int>(nModifiers);
    const bool bConsumed = walkModes(*this, [&](GameMode& mode) {
        if (const SpritePtr pFocus = mode.getFocusSprite(); pFocus.notNULL() && pFocus->onKeyDown(nKey, nMods))
            return true;
        return mode.onKeyDown(nKey, nMods);
    });
    return bConsumed || keyDownHook(nKey, nModifiers);
}

void GameApp::onKeyUp(int nKey, unsigned nModifiers) {
    if (isModeStackChanged()) return;
    const int nMods = static_cast<int>(nModifiers);
    const bool bConsumed = walkModes(*this, [&](GameMode& mode) {
        if (const SpritePtr pFocus = mode.getFocusSprite(); pFocus.notNULL() && pFocus->onKeyUp(nKey, nMods))
            return true;
        return mode.onKeyUp(nKey, nMods);
    });
    if (!bConsumed) keyUpHook(nKey, nModifiers);
}

void GameApp::onChar(int nChar) {
    walkModes(*this, [&](GameMode& mode) {
        if (const SpritePtr pFocus = mode.getFocusSprite(); pFocus.notNULL() && pFocus->onChar(nChar)) return true;
        return mode.onChar(nChar);
    });
}

// Hover and focus sprites follow the point in every mode reached, also when
// the modes themselves are not told (a refresh).
void GameApp::onMouseMove(int nX, int nY, bool bSendToModes) {
    walkModes(*this, [&](GameMode& mode) { return moveInMode(mode, nX, nY, bSendToModes); });
}

void GameApp::onMouseDown(int nButtonMask, int nX, int nY) {
    setModeStackChanged(false);
    walkButtons(*this, nButtonMask, [&](GameMode& mode) { return pressInMode(mode, nButtonMask, nX, nY); });
}

// No hook at the end.
void GameApp::onMouseUp(int nButtonMask, int nX, int nY) {
    if (isModeStackChanged()) return;
    walkButtons(*this, nButtonMask, [&](GameMode& mode) { return releaseInMode(mode, nButtonMask, nX, nY); });
}

// Every active mode is asked, whatever its bit 4, until one takes the request.
void GameApp::routeQuitRequest() {
    for (GameMode* pMode : snapshotOf(*this))
        if (pMode->isActive() && pMode->onQuitRequest()) return;
    onQuitRequest();
}

// Without a platform there is no mouse to read, and nothing is routed.
void GameApp::refreshMousePosition() {
    if (!getPlatform()) return;
    int nX = 0;
    int nY = 0;
    getMousePosition(&nX, &nY);
    onMouseMove(nX, nY, false);
}
