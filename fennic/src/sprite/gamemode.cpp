// GameMode: construction, flags, the layered sprite lists, controls, focus
// and hover, the per-frame update and the forwarding operations. Tooltips
// and the dimmer are in gamemode_tooltips.cpp.
#include "sprite/gamemode.h"

#include <exception>

#include <zep2/error.h>

#include "driver/audiodriver.h"
#include "text/font.h"
#include "application/gameapp.h"
#include "image/image.h"
#include "theme/theme.h"
#include "sprite/transition.h"
#include "driver/videodriver.h"

namespace {

constexpr uint32_t kDisplayBits = GameMode::kActive | GameMode::kVisible | GameMode::kDrawBelow;
constexpr const char* kTooltipStyle = "Tooltip";

}  // namespace

GameMode::GameMode() : m_pApp(GameApp::getInstance()) {
    setFlags(kActive | kVisible);
    Zep::SmartPtr<Theme> pTheme = m_pApp ? m_pApp->getTheme() : Zep::SmartPtr<Theme>();
    if (pTheme.notNULL() && pTheme->hasButtonStyle(kTooltipStyle)) m_sTooltipStyle = kTooltipStyle;
}

// The particles go first, while the layers they leave are whole; the exit
// transition, if any, goes with the members. A mode may be freed while an
// error unwinds its construction, so a sprite that fails to let go is only
// logged: every sprite has forgotten the mode all the same.
GameMode::~GameMode() {
    m_lParticles.clear();
    try {
        removeAllSprites();
    } catch (const Zep::Exception& e) {
        GameApp::log("G: ** Mode freed with an error : %s **\n", e.getMessage());
    } catch (...) {
        GameApp::log("G: ** Mode freed with an error **\n");
    }
}

void GameMode::onEnd() { removeAllSprites(); }

void GameMode::setFlags(uint32_t nFlags) {
    const uint32_t nChanged = m_nFlags ^ nFlags;
    m_nFlags = nFlags;
    if (!(nChanged & kDisplayBits) || !m_pApp) return;
    if (IVideoDriver* pVideo = m_pApp->getVideoDriver()) pVideo->onDisplayChanged();
}

// ---- Sprites and layers -----------------------------------------------------------

void GameMode::insertInto(SpriteList eList, const Zep::SmartPtr<Sprite>& pSprite) {
    insertIntoLayers(layers(eList), pSprite, pSprite->getHandle(eList));
}

void GameMode::removeFrom(SpriteList eList, const Zep::SmartPtr<Sprite>& pSprite) {
    removeFromLayers(layers(eList), pSprite->getHandle(eList));
}

Zep::SmartPtr<Sprite> GameMode::addSprite(Zep::SmartPtr<Sprite> pSprite) {
    if (pSprite.isNULL() || containsSprite(pSprite)) return pSprite;
    if (GameMode* pOther = pSprite->getMode(); pOther && pOther != this) pOther->removeSprite(pSprite);
    insertInto(SpriteList::kDisplay, pSprite);
    pSprite->setMode(this);
    if (pSprite->getControllerCount() > 0) addAnimatedSprite(pSprite);
    return pSprite;
}

void GameMode::removeSprite(Zep::SmartPtr<Sprite> pSprite) {
    if (!owns(pSprite)) return;
    removeFrom(SpriteList::kDisplay, pSprite);
    if (pSprite->getHandle(SpriteList::kControl).isSet()) removeControl(pSprite);
    if (pSprite->getHandle(SpriteList::kUpdate).isSet()) removeAnimatedSprite(pSprite);
    pSprite->detachFromMode();
}

void GameMode::removeSprites(const Zep::List<Zep::SmartPtr<Sprite>>& lSprites) {
    for (const Zep::SmartPtr<Sprite>& pSprite : lSprites) removeSprite(pSprite);
}

bool GameMode::containsSprite(const Zep::SmartPtr<Sprite>& pSprite) const {
    return owns(pSprite) && pSprite->getHandle(SpriteList::kDisplay).isSet();
}

void GameMode::onSpriteLayerChanged(Zep::SmartPtr<Sprite> pSprite) {
    if (!owns(pSprite)) return;
    resortSprite(layers(SpriteList::kDisplay), pSprite, pSprite->getHandle(SpriteList::kDisplay));
    resortSprite(layers(SpriteList::kControl), pSprite, pSprite->getHandle(SpriteList::kControl));
}

void GameMode::resortSprite(LayerList& lLayers, const Zep::SmartPtr<Sprite>& pSprite, LayerHandle& handle) {
    if (!handle.isSet()) return;
    removeFromLayers(lLayers, handle);
    insertIntoLayers(lLayers, pSprite, handle);
}

// The sprites are collected first, so no list changes while it is walked;
// each one then forgets its handles, its tooltip and this mode. One that
// fails in its notification does not keep the others holding this mode: the
// first failure is passed on once all of them are done.
void GameMode::removeAllSprites() {
    SpriteLayer lAll;
    for (const LayerList& lLayers : m_aLayers) appendLayerSprites(lLayers, lAll);
    for (int i = 0; i < kSpriteListCount; ++i) {
        for (const Zep::SmartPtr<Sprite>& pSprite : lAll) pSprite->getHandle(static_cast<SpriteList>(i)) = LayerHandle();
        m_aLayers[i].clear();
    }
    m_pHover = nullptr;
    m_pFocus = nullptr;
    dropTooltipRecords();
    std::exception_ptr pFirstError;
    for (const Zep::SmartPtr<Sprite>& pSprite : lAll) {
        if (pSprite->getMode() != this) continue;
        pSprite->setTooltipHandle(nullptr);
        try {
            pSprite->setMode(nullptr);
        } catch (...) {
            if (!pFirstError) pFirstError = std::current_exception();
        }
    }
    if (pFirstError) std::rethrow_exception(pFirstError);
}

Zep::List<Zep::SmartPtr<Sprite>> GameMode::getAllSprites() const {
    Zep::List<Zep::SmartPtr<Sprite>> lAll;
    appendLayerSprites(m_aLayers[static_cast<int>(SpriteList::kDisplay)], lAll);
    return lAll;
}

Zep::List<Zep::SmartPtr<Sprite>> GameMode::getAllAnimatedSprites() const {
    Zep::List<Zep::SmartPtr<Sprite>> lAll;
    appendLayerSprites(m_aLayers[static_cast<int>(SpriteList::kUpdate)], lAll);
    return lAll;
}

// ---- Controls, focus and hover ------------------------------------------------------

Zep::SmartPtr<Sprite> GameMode::addControl(Zep::SmartPtr<Sprite> pSprite) {
    if (pSprite.isNULL()) return pSprite;
    if (!containsSprite(pSprite)) addSprite(pSprite);
    if (!pSprite->getHandle(SpriteList::kControl).isSet()) insertInto(SpriteList::kControl, pSprite);
    refreshMousePosition();
    return pSprite;
}

void GameMode::removeControl(Zep::SmartPtr<Sprite> pSprite) {
    if (!owns(pSprite)) return;
    removeFrom(SpriteList::kControl, pSprite);
    if (m_pHover == pSprite) {
        pSprite->onMouseLeave();
        m_pHover = nullptr;
    }
    if (m_pFocus == pSprite) {
        pSprite->onBlur();
        m_pFocus = nullptr;
    }
    refreshMousePosition();
}

Zep::SmartPtr<Sprite> GameMode::findControlAt(int x, int y) const {
    const Point p(static_cast<float>(x), static_cast<float>(y));
    const LayerList& lControls = m_aLayers[static_cast<int>(SpriteList::kControl)];
    for (LayerList::Node* pLayer = lControls.getTail(); pLayer; pLayer = pLayer->prev)
        for (const Zep::SmartPtr<Sprite>& pSprite : *pLayer->data)
            if (pSprite->hitTest(p)) return pSprite;
    return Zep::SmartPtr<Sprite>();
}

void GameMode::setFocusSprite(Zep::SmartPtr<Sprite> pSprite) {
    if (pSprite == m_pFocus) return;
    Zep::SmartPtr<Sprite> pOld = m_pFocus;
    m_pFocus = pSprite;
    if (pSprite.notNULL()) pSprite->onFocus();
    if (pOld.notNULL()) pOld->onBlur();
}

void GameMode::refreshMousePosition() const {
    if (m_pApp) m_pApp->refreshMousePosition();
}

// ---- Animated sprites and the frame --------------------------------------------------

void GameMode::addAnimatedSprite(Zep::SmartPtr<Sprite> pSprite) {
    if (!owns(pSprite) || pSprite->getHandle(SpriteList::kUpdate).isSet()) return;
    insertInto(SpriteList::kUpdate, pSprite);
}

void GameMode::removeAnimatedSprite(Zep::SmartPtr<Sprite> pSprite) {
    if (owns(pSprite)) removeFrom(SpriteList::kUpdate, pSprite);
}

// Controllers may add and remove sprites, this one included; the pass still
// visits exactly the sprites of the snapshot.
void GameMode::updateSprites(float fDelta) {
    SpriteLayer lSnapshot;
    appendLayerSprites(layers(SpriteList::kUpdate), lSnapshot);
    for (const Zep::SmartPtr<Sprite>& pSprite : lSnapshot) {
        pSprite->updateControllers(fDelta);
        if (pSprite->getControllerCount() == 0) removeAnimatedSprite(pSprite);
    }
}

void GameMode::addParticles(Zep::List<Zep::SmartPtr<Particle>> lParticles) {
    m_lParticles.takeAll(lParticles);
}

void GameMode::frameUpdate(float fDelta) {
    onUpdate(fDelta);
    updateSprites(fDelta);
    updateParticles(fDelta);
    updateTooltip(fDelta);
}

// ---- Forwarding ------------------------------------------------------------------------

const char* GameMode::getText(const char* szKey) const { return m_pApp ? m_pApp->getText(szKey) : szKey; }

Zep::SmartPtr<Image> GameMode::getImage(const char* szName) const {
    return m_pApp ? m_pApp->getImage(szName) : Zep::SmartPtr<Image>();
}

Zep::SmartPtr<Sample> GameMode::getSample(const char* szName) const {
    return m_pApp ? m_pApp->getSample(szName) : Zep::SmartPtr<Sample>();
}

// Non-zero flags ask for an alpha channel.
Zep::SmartPtr<Image> GameMode::createImage(int nWidth, int nHeight, int nFlags) const {
    return m_pApp ? m_pApp->createImage(nWidth, nHeight, nFlags != 0) : Zep::SmartPtr<Image>();
}

Zep::SmartPtr<Font> GameMode::getFont(const char* szName) const {
    Zep::SmartPtr<Theme> pTheme = m_pApp ? m_pApp->getTheme() : Zep::SmartPtr<Theme>();
    return pTheme.notNULL() ? pTheme->getFont(szName) : Zep::SmartPtr<Font>();
}
