// Sprite: construction, state, image, controllers, mode and tooltip.
// The transforms, hit tests and clipping are in sprite_geometry.cpp.
#include "sprite.h"

#include <cmath>

#include "gameapp.h"
#include "gamemode.h"
#include "rect.h"
#include "sc_base.h"
#include "tooltip.h"
#include "videodriver.h"

// ---- Construction ------------------------------------------------------------

Sprite::Sprite() = default;

Sprite::Sprite(const Zep::SmartPtr<Image>& pImage, int x, int y, int nZOrder)
    : m_nZOrder(nZOrder), m_fX(static_cast<float>(x)), m_fY(static_cast<float>(y)) {
    setImage(pImage);
}

Sprite::Sprite(const Zep::SmartPtr<Image>& pImage, const Point& position, int nZOrder)
    : m_nZOrder(nZOrder), m_fX(position.x), m_fY(position.y) {
    setImage(pImage);
}

Sprite::Sprite(const char* szImageName, int x, int y, int nZOrder)
    : m_nZOrder(nZOrder), m_fX(static_cast<float>(x)), m_fY(static_cast<float>(y)) {
    setImageByName(szImageName);
}

Sprite::Sprite(const char* szImageName, const Point& position, int nZOrder)
    : m_nZOrder(nZOrder), m_fX(position.x), m_fY(position.y) {
    setImageByName(szImageName);
}

Sprite::Sprite(int x, int y, int nZOrder)
    : m_nZOrder(nZOrder), m_fX(static_cast<float>(x)), m_fY(static_cast<float>(y)) {}

Sprite::Sprite(const Point& position, int nZOrder) : m_nZOrder(nZOrder), m_fX(position.x), m_fY(position.y) {}

Sprite::~Sprite() {
    m_pDriverData.reset();
    removeAllControllers();
    for (LayerHandle& handle : m_aHandles) handle = LayerHandle();
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
    if (nZOrder == m_nZOrder) return;
    m_nZOrder = nZOrder;
    if (m_pMode) m_pMode->onSpriteLayerChanged(this);
}

void Sprite::setVisible(bool bVisible) {
    m_bVisible = bVisible;
    refreshTooltip();
    updateClippedImage();
}

void Sprite::setClipRect(const Rect& rect) {
    if (!m_pClipRect) m_pClipRect = std::make_unique<Rect>();
    *m_pClipRect = rect;
    updateClippedImage();
}

void Sprite::clearClipRect() {
    m_pClipRect.reset();
    updateClippedImage();
}

Rect Sprite::getClipRect() const { return m_pClipRect ? *m_pClipRect : Rect(0, 0, 0, 0); }

void Sprite::refresh() {
    if (m_pClipRect) updateClippedImage();
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

void Sprite::setScale(float fScaleX, float fScaleY) {
    m_fScaleX = fScaleX;
    m_fScaleY = fScaleY;
    if (m_pClipRect) updateClippedImage();
}

void Sprite::getScale(float* pScaleX, float* pScaleY) const {
    if (pScaleX) *pScaleX = m_fScaleX;
    if (pScaleY) *pScaleY = m_fScaleY;
}

void Sprite::setPoints(const Zep::List<Point>& lPoints) {
    m_lPoints = lPoints;
    GameApp* pApp = GameApp::getInstance();
    m_nPointsStamp = pApp ? pApp->getFrameCount() : -1;
}

void Sprite::setDriverData(std::unique_ptr<DrvSpriteData> pData) { m_pDriverData = std::move(pData); }

// ---- User data --------------------------------------------------------------------

void Sprite::setData(const char* szName, void* pValue) {
    if (!m_pData) m_pData = std::make_unique<Zep::Hash<Zep::String, void*>>();
    m_pData->set(Zep::String(szName), pValue);
}

bool Sprite::hasData(const char* szName) const { return m_pData && m_pData->contains(Zep::String(szName)); }

// A name never stored fails as the table itself does.
void* Sprite::getData(const char* szName) const {
    static const Zep::Hash<Zep::String, void*> s_hNone;
    return (m_pData ? *m_pData : s_hNone).get(Zep::String(szName));
}

// ---- Controllers -------------------------------------------------------------------

SpriteController* Sprite::addController(std::unique_ptr<SpriteController> pController) {
    SpriteController* pRaw = pController.release();
    Zep::ListNode<SpriteController*>* pNode = m_lControllers.add(pRaw);
    // A walk in progress visits controllers appended behind its last one.
    if (m_nWalkDepth > 0 && !m_pWalkNext) m_pWalkNext = pNode;
    if (m_pMode && !getHandle(SpriteList::kUpdate).isSet()) m_pMode->addAnimatedSprite(this);
    pRaw->start(this);
    return pRaw;
}

void Sprite::removeController(SpriteController* pController) {
    Zep::ListNode<SpriteController*>* pNode = m_lControllers.getHead();
    while (pNode && pNode->data != pController) pNode = pNode->next;
    if (!pNode) return;
    if (pNode == m_pWalkNext) m_pWalkNext = pNode->next;
    m_lControllers.removeNode(pNode);
    disposeController(pController);
}

void Sprite::removeAllControllers() {
    m_pWalkNext = nullptr;
    while (!m_lControllers.isEmpty()) disposeController(m_lControllers.removeFirst());
}

// The controller whose step is running may be the one removed: it is
// deleted as soon as its step returns.
void Sprite::disposeController(SpriteController* pController) {
    if (pController == m_pRunning)
        m_lRemovedInWalk.add(pController);
    else
        delete pController;
}

template <class Step>
void Sprite::walkControllers(Step step) {
    // A walk asked for by a controller of the walk itself does nothing.
    if (m_nWalkDepth > 0) return;
    Zep::SmartPtr<Sprite> pSelf(this);
    ++m_nWalkDepth;
    Zep::ListNode<SpriteController*>* pNode = m_lControllers.getHead();
    while (pNode) {
        SpriteController* pController = pNode->data;
        m_pWalkNext = pNode->next;
        m_pRunning = pController;
        const bool bDone = step(pController, pSelf);
        m_pRunning = nullptr;
        m_lRemovedInWalk.deleteAll();
        if (bDone) removeController(pController);
        pNode = m_pWalkNext;
    }
    m_pWalkNext = nullptr;
    --m_nWalkDepth;
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
    m_pMode = pMode;
    onModeSet();
}

void Sprite::detachFromMode() {
    if (m_pTooltip && m_pMode) m_pMode->removeTooltip(m_pTooltip);
    m_pTooltip = nullptr;
    setMode(nullptr);
}

void Sprite::refreshTooltip() {
    if (!m_pTooltip || !m_pMode) return;
    m_pMode->setTooltipEnabled(m_pTooltip, isVisible());
    m_pMode->setTooltipRect(m_pTooltip, getDrawRect());
}

void Sprite::setTooltip(const char* szText) {
    // Tooltips are records of a mode: without one there is nowhere to keep it.
    if (!m_pMode) return;
    if (!m_pTooltip) {
        m_pTooltip = m_pMode->addTooltip(getDrawRect(), szText);
        m_pTooltip->data->pOwner = this;
    } else
        m_pMode->setTooltipText(m_pTooltip, szText);
}

void Sprite::removeTooltip() {
    if (m_pTooltip && m_pMode) m_pMode->removeTooltip(m_pTooltip);
    m_pTooltip = nullptr;
}
