// The slide show: its background, input and the cut-scene's states
// (slideshow.h). The album's pages are in slideshow_album.cpp.
#include "screens/slideshow.h"

#include <algorithm>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "base/keys.h"

namespace {

constexpr const char* kZepSource = ".\\src\\slideshow";

constexpr const char* kTileImage = "sand_frame_back";

}  // namespace

SlideshowMode::SlideshowMode(const SlideList& lSlides, bool bAlbum, const Zep::String& sMusic)
    : TUKMode(1), m_lSlides(lSlides), m_bAlbum(bAlbum), m_sMusic(sMusic) {}

SlideshowMode::~SlideshowMode() = default;

void SlideshowMode::onEnter() {
    ZEP_TRACE("SlideshowMode::onEnter");
    GameApp* pApp = getApp();
    pApp->playMusic(m_sMusic.c_str(), true);
    addBackground();
    if (!m_bAlbum) {
        m_fTimer = 0.0f;
        m_nState = kHold;
        pApp->showCursor(false);
        return;
    }
    buildAlbumControls();
    showPage(0);
    pApp->showCursor(true);
}

// The screen covered with the tile side by side from the top left corner.
void SlideshowMode::addBackground() {
    GameApp* pApp = getApp();
    const int nWidth = pApp->getScreenWidth(), nHeight = pApp->getScreenHeight();
    Zep::SmartPtr<Image> pBack = createImage(nWidth, nHeight, 0);
    const Zep::SmartPtr<Image> pTile = getImage(kTileImage);
    const int nStepX = pTile->getWidth(), nStepY = pTile->getHeight();
    if (nStepX > 0 && nStepY > 0) {
        for (int y = 0; y < nHeight; y += nStepY)
            for (int x = 0; x < nWidth; x += nStepX) pBack->blit(*pTile, x, y);
    }
    addSprite(new Sprite(pBack, 0, 0, -1));
}

// ---- Input ------------------------------------------------------------------------

bool SlideshowMode::onKeyDown(int nKey, int nModifiers) {
    if (nKey == Key::Escape || nKey == Key::Return) {
        endMode();
        return true;
    }
    if (nKey == Key::Space) {
        if (!m_bAlbum)
            skip();
        else if (m_pNextButton->isEnabled())
            onCallback(kNextId, nullptr);
    }
    return TUKMode::onKeyDown(nKey, nModifiers);
}

bool SlideshowMode::onMouseDown(int nButtonMask, int x, int y) {
    if (m_bAlbum) return TUKMode::onMouseDown(nButtonMask, x, y);
    if (nButtonMask == 1)
        skip();
    else
        endMode();
    return true;
}

// ---- Cut-scene --------------------------------------------------------------------

void SlideshowMode::onUpdate(float fDelta) {
    DisableImageCache noCache;
    if (m_bAlbum) return;
    switch (m_nState) {
        case kHold: hold(fDelta); break;
        case kFadingIn: fadeIn(fDelta); break;
        case kFadingOut: fadeOut(fDelta); break;
        case kCaptions: revealCaptions(fDelta); break;
        default: ZEP_THROW(Zep::FatalErrorException, Zep::String::format("Unknown state %d", m_nState).c_str());
    }
}

void SlideshowMode::hold(float fDelta) {
    m_fTimer -= fDelta;
    if (m_fTimer > 0.0f) return;
    if (m_lSlides.isEmpty()) {
        m_nState = kFadingOut;
        return;
    }
    const Zep::SmartPtr<SlideSpec> pSlide = m_lSlides.removeFirst();
    startSlide(*pSlide);
}

void SlideshowMode::startSlide(const SlideSpec& slide) {
    ZEP_TRACE("SlideshowMode::startSlide");
    m_nState = kFadingIn;
    if (slide.m_bNewPage) clearScreen();
    m_pWorkingPicture = getImage(slide.m_sImage.c_str())->clone(false);
    Zep::SmartPtr<Sprite> pPicture = new Sprite(m_pWorkingPicture, slide.m_nX, slide.m_nY, slide.m_nLayer);
    pPicture->setAlpha(0.0f);
    addSprite(pPicture);
    m_lShownSprites.add(pPicture);
    for (const Zep::SmartPtr<StoryText>& pCaption : slide.m_lCaptions) addCaption(pCaption);
}

void SlideshowMode::addCaption(const Zep::SmartPtr<StoryText>& pCaption) {
    Zep::SmartPtr<Label> pLabel = new Label(pCaption->m_sText.c_str(), pCaption->m_nX, pCaption->m_nY,
                                            pCaption->m_nLayer);
    pLabel->setFont(getFont(pCaption->m_sFont.c_str()));
    pLabel->setTextColor(pCaption->m_color);
    pLabel->setAlpha(0.0f);
    addSprite(pLabel.get());
    m_lPageLabels.add(pLabel);
    m_lPending.add(PendingCaption{pCaption, pCaption->m_fDelay, pLabel});
}

void SlideshowMode::clearScreen() {
    removeSprites(m_lShownSprites);
    for (const Zep::SmartPtr<Label>& pLabel : m_lPageLabels) removeSprite(pLabel.get());
    m_lShownSprites.clear();
    m_lPageLabels.clear();
    m_lPending.clear();
}

void SlideshowMode::fadeIn(float fDelta) {
    if (m_lShownSprites.isEmpty()) {
        m_nState = kCaptions;
        return;
    }
    Sprite& picture = *m_lShownSprites.getLast();
    const float fAlpha = std::min(picture.getAlpha() + fDelta, 1.0f);
    picture.setAlpha(fAlpha);
    if (fAlpha >= 1.0f) m_nState = kCaptions;
}

void SlideshowMode::revealCaptions(float fDelta) {
    for (m_lPending.rewind(); m_lPending.hasCurrent();) {
        PendingCaption& pending = m_lPending.current();
        if (pending.fDelay > 0.0f) {
            pending.fDelay -= fDelta;
            m_lPending.advance();
            continue;
        }
        const float fAlpha = pending.pLabel->getAlpha() + fDelta;
        if (fAlpha > 1.0f) {
            pending.pLabel->setAlpha(1.0f);
            m_lPending.removeCurrent();
            continue;
        }
        pending.pLabel->setAlpha(fAlpha);
        m_lPending.advance();
    }
    if (!m_lPending.isEmpty()) return;
    m_nState = kHold;
    m_fTimer = kHoldSeconds;
}

void SlideshowMode::fadeOut(float fDelta) {
    if (m_lShownSprites.isEmpty() && m_lPageLabels.isEmpty()) {
        endMode();
        return;
    }
    const float fFrom = m_lShownSprites.isEmpty() ? m_lPageLabels.getLast()->getAlpha()
                                                  : m_lShownSprites.getLast()->getAlpha();
    const float fAlpha = std::max(fFrom - fDelta, 0.0f);
    for (const Zep::SmartPtr<Sprite>& pSprite : m_lShownSprites) pSprite->setAlpha(fAlpha);
    for (const Zep::SmartPtr<Label>& pLabel : m_lPageLabels) pLabel->setAlpha(fAlpha);
    if (fAlpha <= 0.0f) endMode();
}

void SlideshowMode::skip() {
    if (m_nState == kFadingIn && !m_lShownSprites.isEmpty()) m_lShownSprites.getLast()->setAlpha(1.0f);
    for (const PendingCaption& pending : m_lPending) pending.pLabel->setAlpha(1.0f);
    m_lPending.clear();
    m_nState = kHold;
    m_fTimer = -1.0f;
}
