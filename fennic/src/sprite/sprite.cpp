// Sprite: construction, state, image, controllers, mode and tooltip.
// The transforms, hit tests and clipping are in sprite_geometry.cpp.
#include "sprite/sprite.h"

#include <cmath>

#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "base/rect.h"
#include "sprite/sc_base.h"
#include "sprite/tooltip.h"
#include "driver/videodriver.h"

// ---- Side records ------------------------------------------------------------

// The controllers and the state of a controller walk in progress: the node it
// visits next (a removal moves it on), the controller whose step runs, and
// that controller once removed during its own step, deleted when the step
// returns.
struct Sprite::ControllerState {
    Zep::List<SpriteController*> lControllers;  // owned
    Zep::ListNode<SpriteController*>* pWalkNext = nullptr;
    int32_t nWalkDepth = 0;
    SpriteController* pRunning = nullptr;
    Zep::List<SpriteController*> lRemovedInWalk;  // owned
};

// The outline with its frame stamp, and the user data (a table of 97 buckets
// made on the first setData).
struct Sprite::RareState {
    Zep::List<Point> lPoints;
    int32_t nPointsStamp = -1;
    std::unique_ptr<Zep::Hash<Zep::String, void*>> pData;
};

Sprite::ControllerState& Sprite::controllerState() {
    if (!m_pExtras->pControllers) m_pExtras->pControllers = std::make_unique<ControllerState>();
    return *m_pExtras->pControllers;
}

Sprite::RareState& Sprite::rareState() {
    if (!m_pExtras->pRare) m_pExtras->pRare = std::make_unique<RareState>();
    return *m_pExtras->pRare;
}

// ---- Construction ------------------------------------------------------------

Sprite::Extras::Extras() = default;

Sprite::Extras::~Extras() = default;

Sprite::Sprite() = default;

Sprite::Sprite(const Zep::SmartPtr<Image>& pImage, int x, int y, int nZOrder)
    : m_fX(static_cast<float>(x)), m_fY(static_cast<float>(y)) {
    m_pExtras->nZOrder = nZOrder;
    setImage(pImage);
}

Sprite::Sprite(const Zep::SmartPtr<Image>& pImage, const Point& position, int nZOrder)
    : m_fX(position.x), m_fY(position.y) {
    m_pExtras->nZOrder = nZOrder;
    setImage(pImage);
}

Sprite::Sprite(const char* szImageName, int x, int y, int nZOrder)
    : m_fX(static_cast<float>(x)), m_fY(static_cast<float>(y)) {
    m_pExtras->nZOrder = nZOrder;
    setImageByName(szImageName);
}

Sprite::Sprite(const char* szImageName, const Point& position, int nZOrder)
    : m_fX(position.x), m_fY(position.y) {
    m_pExtras->nZOrder = nZOrder;
    setImageByName(szImageName);
}

Sprite::Sprite(int x, int y, int nZOrder)
    : m_fX(static_cast<float>(x)), m_fY(static_cast<float>(y)) {
    m_pExtras->nZOrder = nZOrder;
}

Sprite::Sprite(const Point& position, int nZOrder) : m_fX(position.x), m_fY(position.y) {
    m_pExtras->nZOrder = nZOrder;
}

Sprite::~Sprite() {
    m_pExtras->pDriverData.reset();
    removeAllControllers();
    for (LayerHandle& handle : m_pExtras->aHandles) handle = LayerHandle();
}

// ---- Size, position, order, visibility ---------------------------------------

Point Sprite::getSize() const {
    int w = 0, h = 0;
    getSize(&w, &h);
    return Point(static_cast<float>(w), static_cast<float>(h));
}

void Sprite::getSize(int* pWidth, int* pHeight) const {
    const bool bShown = m_bVisible && m_pImage.notNULL();
    if (pWidth) *pWidth = bShown ? m_pImage->getWidth() : 0;
    if (pHeight) *pHeight = bShown ? m_pImage->getHeight() : 0;
}

int Sprite::getWidth() const { return m_bVisible && m_pImage.notNULL() ? m_pImage->getWidth() : 0; }

int Sprite::getHeight() const { return m_bVisible && m_pImage.notNULL() ? m_pImage->getHeight() : 0; }

void Sprite::getPosition(float* pX, float* pY) const {
    if (pX) *pX = m_fX;
    if (pY) *pY = m_fY;
}

void Sprite::getPosition(int* pX, int* pY) const {
    if (pX) *pX = truncToInt(m_fX);
    if (pY) *pY = truncToInt(m_fY);
}

void Sprite::setPosition(int x, int y) { setPosition(Point(static_cast<float>(x), static_cast<float>(y)), false); }

void Sprite::setPosition(float x, float y, bool bKeepImageAnchor) { setPosition(Point(x, y), bKeepImageAnchor); }

void Sprite::setPosition(int x, int y, bool bKeepImageAnchor) {
    setPosition(Point(static_cast<float>(x), static_cast<float>(y)), bKeepImageAnchor);
}

void Sprite::setPosition(const Point& p, bool bKeepImageAnchor) {
    // The picture stays put: its anchor moves to where p falls in it.
    if (bKeepImageAnchor && m_pImage.notNULL()) m_pImage->setInsPoint(screenToLocal(p));
    onMove(truncToInt(p.x), truncToInt(p.y));
    m_fX = p.x;
    m_fY = p.y;
    refresh();
}

int Sprite::getX() const { return truncToInt(m_fX); }

int Sprite::getY() const { return truncToInt(m_fY); }

void Sprite::setZOrder(int nZOrder) {
    if (nZOrder == m_pExtras->nZOrder) return;
    m_pExtras->nZOrder = nZOrder;
    if (m_pExtras->pMode) m_pExtras->pMode->onSpriteLayerChanged(this);
}

void Sprite::setVisible(bool bVisible) {
    m_bVisible = bVisible;
    refreshTooltip();
    updateClippedImage();
}

void Sprite::setClipRect(const Rect& rect) {
    if (!m_pExtras->pClipRect) m_pExtras->pClipRect = std::make_unique<Rect>();
    *m_pExtras->pClipRect = rect;
    m_bClipRect = true;
    updateClippedImage();
}

void Sprite::clearClipRect() {
    m_pExtras->pClipRect.reset();
    m_bClipRect = false;
    updateClippedImage();
}

Rect Sprite::getClipRect() const { return m_pExtras->pClipRect ? *m_pExtras->pClipRect : Rect(0, 0, 0, 0); }

void Sprite::refresh() {
    if (m_pExtras->pClipRect) updateClippedImage();
    refreshTooltip();
}

// ---- Image and drawing state -----------------------------------------------------

void Sprite::setImage(const Zep::SmartPtr<Image>& pImage) {
    m_pImage = pImage;
    setVisible(m_pImage.notNULL());
    updateClippedImage();
}

void Sprite::setImageByName(const char* szName) {
    GameApp* pApp = GameApp::getInstance();
    setImage(pApp ? pApp->getImage(szName) : Zep::SmartPtr<Image>());
}

void Sprite::getScale(float* pScaleX, float* pScaleY) const {
    if (pScaleX) *pScaleX = m_fScaleX;
    if (pScaleY) *pScaleY = m_fScaleY;
}

void Sprite::setPoints(const Zep::List<Point>& lPoints) {
    RareState& rare = rareState();
    rare.lPoints = lPoints;
    GameApp* pApp = GameApp::getInstance();
    rare.nPointsStamp = pApp ? pApp->getFrameCount() : -1;
}

Zep::List<Point>& Sprite::getPoints() { return rareState().lPoints; }

int Sprite::getPointCount() const { return m_pExtras->pRare ? m_pExtras->pRare->lPoints.getCount() : 0; }

int Sprite::getPointsStamp() const { return m_pExtras->pRare ? m_pExtras->pRare->nPointsStamp : -1; }

void Sprite::setDriverData(std::unique_ptr<DrvSpriteData> pData) { m_pExtras->pDriverData = std::move(pData); }

// ---- User data --------------------------------------------------------------------

void Sprite::setData(const char* szName, void* pValue) {
    std::unique_ptr<Zep::Hash<Zep::String, void*>>& pData = rareState().pData;
    if (!pData) pData = std::make_unique<Zep::Hash<Zep::String, void*>>();
    pData->set(Zep::String(szName), pValue);
}

bool Sprite::hasData(const char* szName) const {
    return m_pExtras->pRare && m_pExtras->pRare->pData && m_pExtras->pRare->pData->contains(Zep::String(szName));
}

// A name never stored fails as the table itself does.
void* Sprite::getData(const char* szName) const {
    static const Zep::Hash<Zep::String, void*> s_hNone;
    const bool bHasTable = m_pExtras->pRare && m_pExtras->pRare->pData;
    return (bHasTable ? *m_pExtras->pRare->pData : s_hNone).get(Zep::String(szName));
}

// ---- Controllers -------------------------------------------------------------------

int Sprite::getControllerCount() const { return m_pExtras->pControllers ? m_pExtras->pControllers->lControllers.getCount() : 0; }

// Without controllers the index is out of range of an empty list.
SpriteController* Sprite::getController(int nIndex) const {
    static const Zep::List<SpriteController*> s_lNone;
    return (m_pExtras->pControllers ? m_pExtras->pControllers->lControllers : s_lNone).get(nIndex);
}

SpriteController* Sprite::addController(std::unique_ptr<SpriteController> pController) {
    ControllerState& state = controllerState();
    SpriteController* pRaw = pController.release();
    Zep::ListNode<SpriteController*>* pNode = state.lControllers.add(pRaw);
    // A walk in progress visits controllers appended behind its last one.
    if (state.nWalkDepth > 0 && !state.pWalkNext) state.pWalkNext = pNode;
    if (m_pExtras->pMode && !getHandle(SpriteList::kUpdate).isSet()) m_pExtras->pMode->addAnimatedSprite(this);
    pRaw->start(this);
    return pRaw;
}

void Sprite::removeController(SpriteController* pController) {
    if (!m_pExtras->pControllers) return;
    ControllerState& state = *m_pExtras->pControllers;
    Zep::ListNode<SpriteController*>* pNode = state.lControllers.getHead();
    while (pNode && pNode->data != pController) pNode = pNode->next;
    if (!pNode) return;
    if (pNode == state.pWalkNext) state.pWalkNext = pNode->next;
    state.lControllers.removeNode(pNode);
    disposeController(pController);
}

void Sprite::removeAllControllers() {
    if (!m_pExtras->pControllers) return;
    ControllerState& state = *m_pExtras->pControllers;
    state.pWalkNext = nullptr;
    while (!state.lControllers.isEmpty()) disposeController(state.lControllers.removeFirst());
}

// The controller whose step is running may be the one removed: it is
// deleted as soon as its step returns.
void Sprite::disposeController(SpriteController* pController) {
    if (pController == m_pExtras->pControllers->pRunning)
        m_pExtras->pControllers->lRemovedInWalk.add(pController);
    else
        delete pController;
}

template <class Step>
void Sprite::walkControllers(Step step) {
    // No controllers, nothing to walk; a walk asked for by a controller of
    // the walk itself does nothing.
    if (!m_pExtras->pControllers || m_pExtras->pControllers->nWalkDepth > 0) return;
    ControllerState& state = *m_pExtras->pControllers;
    Zep::SmartPtr<Sprite> pSelf(this);
    ++state.nWalkDepth;
    Zep::ListNode<SpriteController*>* pNode = state.lControllers.getHead();
    while (pNode) {
        SpriteController* pController = pNode->data;
        state.pWalkNext = pNode->next;
        state.pRunning = pController;
        const bool bDone = step(pController, pSelf);
        state.pRunning = nullptr;
        state.lRemovedInWalk.deleteAll();
        if (bDone) removeController(pController);
        pNode = state.pWalkNext;
    }
    state.pWalkNext = nullptr;
    --state.nWalkDepth;
}

void Sprite::updateControllers(float fDelta) {
    walkControllers([fDelta](SpriteController* pController, const Zep::SmartPtr<Sprite>& pSelf) {
        return pController->update(fDelta, pSelf);
    });
}

void Sprite::finishControllers() {
    walkControllers([](SpriteController* pController, const Zep::SmartPtr<Sprite>& pSelf) {
        return pController->finish(pSelf);
    });
}

// ---- Mode and tooltip -----------------------------------------------------------------

void Sprite::setMode(GameMode* pMode) {
    m_pExtras->pMode = pMode;
    onModeSet();
}

void Sprite::detachFromMode() {
    if (m_pTooltip && m_pExtras->pMode) m_pExtras->pMode->removeTooltip(m_pTooltip);
    m_pTooltip = nullptr;
    setMode(nullptr);
}

void Sprite::refreshTooltip() {
    if (!m_pTooltip || !m_pExtras->pMode) return;
    m_pExtras->pMode->setTooltipEnabled(m_pTooltip, isVisible());
    m_pExtras->pMode->setTooltipRect(m_pTooltip, getDrawRect());
}

void Sprite::setTooltip(const char* szText) {
    // Tooltips are records of a mode: without one there is nowhere to keep it.
    if (!m_pExtras->pMode) return;
    if (!m_pTooltip) {
        m_pTooltip = m_pExtras->pMode->addTooltip(getDrawRect(), szText);
        m_pTooltip->data->pOwner = this;
    } else
        m_pExtras->pMode->setTooltipText(m_pTooltip, szText);
}

void Sprite::removeTooltip() {
    if (m_pTooltip && m_pExtras->pMode) m_pExtras->pMode->removeTooltip(m_pTooltip);
    m_pTooltip = nullptr;
}
