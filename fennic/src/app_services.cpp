// The application's thin services over the platform and the video driver:
// mouse position, screen size, new images, the theme and the cursor. Each
// forwards once; without a platform (or driver) the answers are empty.
#include "gameapp.h"
#include "image.h"
#include "imagefactory.h"
#include "platform.h"
#include "rect.h"
#include "theme.h"

void GameApp::getMousePosition(int* pX, int* pY) {
    int x = 0, y = 0;
    if (m_pPlatform) m_pPlatform->getMousePosition(x, y);
    if (pX) *pX = x;
    if (pY) *pY = y;
}

Point GameApp::getMousePoint() {
    int x = 0, y = 0;
    getMousePosition(&x, &y);
    return Point(static_cast<float>(x), static_cast<float>(y));
}

IVideoDriver* GameApp::getVideoDriver() const { return m_pPlatform ? m_pPlatform->getVideoDriver() : nullptr; }

int GameApp::getScreenWidth() const {
    IVideoDriver* pVideo = getVideoDriver();
    return pVideo ? pVideo->getWidth() : 0;
}

int GameApp::getScreenHeight() const {
    IVideoDriver* pVideo = getVideoDriver();
    return pVideo ? pVideo->getHeight() : 0;
}

void GameApp::getScreenSize(int* pWidth, int* pHeight) const {
    if (IVideoDriver* pVideo = getVideoDriver()) {
        pVideo->getSize(pWidth, pHeight);
        return;
    }
    if (pWidth) *pWidth = 0;
    if (pHeight) *pHeight = 0;
}

Zep::SmartPtr<Image> GameApp::createImage(int nWidth, int nHeight, bool bAlpha) {
    ImageFactory* pFactory = m_pPlatform ? m_pPlatform->getImageFactory() : nullptr;
    return pFactory ? Zep::SmartPtr<Image>(pFactory->createBlank(nWidth, nHeight, bAlpha)) : Zep::SmartPtr<Image>();
}

Zep::SmartPtr<Theme> GameApp::getTheme() const { return m_pTheme; }

// The new theme's default cursor (the empty name) becomes the cursor.
void GameApp::setTheme(const Zep::SmartPtr<Theme>& pTheme) {
    m_pTheme = pTheme;
    if (m_pTheme.notNULL()) setCursor(m_pTheme->getCursor(""));
}

void GameApp::setCursor(const Zep::SmartPtr<Image>& pCursor) {
    if (IVideoDriver* pVideo = getVideoDriver()) pVideo->setCursorImage(pCursor.get());
}
