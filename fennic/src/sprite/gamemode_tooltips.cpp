// GameMode tooltips and the dimmer.
//
// A tooltip record holds a screen area, a hidden sprite with the picture at
// the top z-order and an enabled flag. Once the mouse has rested for the
// delay (0.25 s) over an enabled record's area, its sprite is shown at the
// mouse plus the offset (25, 25), moved back onto the screen by exactly its
// overflow; it follows the mouse while shown, hides when the mouse leaves the
// area, and moving straight into another record's area shows that one.
#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "image/image.h"
#include "theme/theme.h"
#include "driver/videodriver.h"

namespace {

bool contains(const Rect& r, int x, int y) {
    return r.getLeft() <= x && x < r.getRight() && r.getTop() <= y && y < r.getBottom();
}

// Pulls one coordinate back onto the screen; a size of 0 means no screen.
float clampToScreen(float fPos, int nExtent, int nScreen) {
    if (fPos < 0.0f) return 0.0f;
    if (nScreen > 0 && fPos + static_cast<float>(nExtent) > static_cast<float>(nScreen))
        return static_cast<float>(nScreen - nExtent);
    return fPos;
}

}  // namespace

TooltipHandle GameMode::addTooltip(const Rect& rect, const char* szText) {
    Zep::SmartPtr<Tooltip> pRecord = new Tooltip();
    pRecord->rect = rect;
    TooltipHandle pHandle = m_lTooltips.add(pRecord);
    Zep::SmartPtr<Sprite> pSprite = new Sprite();
    addSprite(pSprite);
    pRecord->pSprite = pSprite;
    pSprite->setVisible(false);
    pSprite->setZOrder(kTooltipZOrder);
    setTooltipText(pHandle, szText);
    return pHandle;
}

void GameMode::removeTooltip(TooltipHandle pTooltip) {
    Zep::SmartPtr<Tooltip> pRecord = pTooltip->data;
    if (pRecord->pOwner && pRecord->pOwner->getTooltipHandle() == pTooltip) pRecord->pOwner->setTooltipHandle(nullptr);
    removeSprite(pRecord->pSprite);
    m_lTooltips.removeNode(pTooltip);
    if (m_pCurrentTooltip == pTooltip) m_pCurrentTooltip = nullptr;
}

// The picture changes, the visibility stays: a hidden tooltip stays hidden.
void GameMode::setTooltipText(TooltipHandle pTooltip, const char* szText) {
    Zep::SmartPtr<Theme> pTheme = m_pApp ? m_pApp->getTheme() : Zep::SmartPtr<Theme>();
    Zep::SmartPtr<Image> pPicture;
    // A theme without the style (one never loaded has no unnamed style) gives no picture.
    if (pTheme.notNULL() && pTheme->hasButtonStyle(m_sTooltipStyle.c_str()))
        pPicture = pTheme->makeButtonImage(szText, 0, -1, m_sTooltipStyle.c_str());
    Sprite& sprite = *pTooltip->data->pSprite;
    const bool bVisible = sprite.isVisible();
    sprite.setImage(pPicture);
    sprite.setVisible(bVisible);
}

void GameMode::dropTooltipRecords() {
    m_pCurrentTooltip = nullptr;
    m_lTooltips.clear();
}

void GameMode::setTooltipDelay(float fSeconds) {
    m_fTooltipDelay = fSeconds;
    m_fTooltipCountdown = fSeconds;
}

Point GameMode::mousePosition() const {
    int x = 0, y = 0;
    if (m_pApp) m_pApp->getMousePosition(&x, &y);
    return Point(static_cast<float>(x), static_cast<float>(y));
}

TooltipHandle GameMode::findTooltipAt(int x, int y) const {
    for (TooltipHandle pNode = m_lTooltips.getHead(); pNode; pNode = pNode->next)
        if (pNode->data->bEnabled && contains(pNode->data->rect, x, y)) return pNode;
    return nullptr;
}

void GameMode::placeTooltip(Tooltip& tooltip, int x, int y) const {
    Sprite& sprite = *tooltip.pSprite;
    sprite.setVisible(true);
    Point p = Point(static_cast<float>(x), static_cast<float>(y)) + m_tooltipOffset;
    const Zep::SmartPtr<Image> pImage = sprite.getImage();
    const int w = pImage.notNULL() ? pImage->getWidth() : 0;
    const int h = pImage.notNULL() ? pImage->getHeight() : 0;
    IVideoDriver* pVideo = m_pApp ? m_pApp->getVideoDriver() : nullptr;
    p.x = clampToScreen(p.x, w, pVideo ? m_pApp->getScreenWidth() : 0);
    p.y = clampToScreen(p.y, h, pVideo ? m_pApp->getScreenHeight() : 0);
    sprite.setPosition(p);
}

void GameMode::showTooltip() {
    const Point mouse = mousePosition();
    const int x = static_cast<int>(mouse.x), y = static_cast<int>(mouse.y);
    hideTooltips();
    // A shown tooltip stays while the mouse is in its area, even if disabled.
    if (!m_pCurrentTooltip || !contains(m_pCurrentTooltip->data->rect, x, y)) m_pCurrentTooltip = findTooltipAt(x, y);
    if (m_pCurrentTooltip) placeTooltip(*m_pCurrentTooltip->data, x, y);
}

void GameMode::hideTooltips() {
    for (const Zep::SmartPtr<Tooltip>& pRecord : m_lTooltips) pRecord->pSprite->setVisible(false);
}

// A countdown below 0 waits for the next mouse move.
void GameMode::updateTooltip(float fDelta) {
    if (m_fTooltipCountdown < 0.0f) return;
    m_fTooltipCountdown -= fDelta;
    if (m_fTooltipCountdown < 0.0f && !m_pCurrentTooltip) showTooltip();
}

bool GameMode::handleMouseMove(int x, int y) {
    m_fTooltipCountdown = m_fTooltipDelay;
    if (m_pCurrentTooltip) showTooltip();
    return onMouseMove(x, y);
}

void GameMode::notifyResumed() {
    hideTooltips();
    onResume();
}

void GameMode::notifyCovered(GameMode* pNewTop) {
    hideTooltips();
    onCovered(pNewTop);
}

// A 10 x 10 black picture scaled to cover the screen (10/9 of it).
Zep::SmartPtr<Sprite> GameMode::addDimmer(float fAlpha) {
    Zep::SmartPtr<Sprite> pDimmer = new Sprite(createImage(10, 10, 0), 0, 0, kDimmerZOrder);
    addSprite(pDimmer);
    pDimmer->setAlpha(fAlpha);
    if (m_pApp && m_pApp->getVideoDriver())
        pDimmer->setScale(static_cast<float>(m_pApp->getScreenWidth() / 9.0),
                          static_cast<float>(m_pApp->getScreenHeight() / 9.0));
    return pDimmer;
}
