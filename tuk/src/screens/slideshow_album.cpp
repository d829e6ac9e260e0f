// The slide show's album: its buttons and pages (slideshow.h).
#include "screens/slideshow.h"

#include <algorithm>

#include <zep2/error.h>

namespace {

constexpr const char* kZepSource = ".\\src\\slideshow_album";

constexpr int kCentred = 0x24;
constexpr int kPushedOffset = 3;
constexpr int kDisabledAlpha = 128;
// Where the button row's lower right corner goes.
constexpr int kRowRight = 640;
constexpr int kRowBottom = 485;

// A copy of the background with the icon drawn at its centre, moved by nOffset on both axes.
Zep::SmartPtr<Image> composed(const Zep::SmartPtr<Image>& pBackground, const Image& icon, int nOffset) {
    Zep::SmartPtr<Image> pImage = pBackground->clone(true);
    pImage->blitFrom(icon, pImage->getWidth() / 2 + nOffset, pImage->getHeight() / 2 + nOffset);
    return pImage;
}

}  // namespace

Zep::SmartPtr<CustomButton> SlideshowMode::makeAlbumButton(const char* szName, int nId) {
    ZEP_TRACE("SlideshowMode::makeAlbumButton");
    // A private copy: the insertion point is not put on the cached icon.
    Zep::SmartPtr<Image> pIcon = getImage((Zep::String("album_") + szName).c_str())->clone(true);
    pIcon->setInsPoint(pIcon->getWidth() / 2 - 4, pIcon->getHeight() / 2);
    Zep::SmartPtr<Image> pFaded = pIcon->clone(true);
    pFaded->multiplyAlpha(kDisabledAlpha);
    const Zep::SmartPtr<Image> pActive = getImage("littlebutton_active");
    const Zep::SmartPtr<Image> pPushed = composed(getImage("littlebutton_pushed"), *pIcon, kPushedOffset);
    const Zep::SmartPtr<Image> pHighlight = composed(getImage("littlebutton_highlight"), *pIcon, 0);
    Zep::SmartPtr<CustomButton> pButton =
        new CustomButton(nId, composed(pActive, *pIcon, 0), pPushed, pHighlight, composed(pActive, *pFaded, 0));
    addControl(pButton.get());
    m_pButtonTable->newCell(1);
    m_pButtonTable->add(pButton.get(), kCentred);
    return pButton;
}

void SlideshowMode::buildAlbumControls() {
    m_pButtonTable = new Table(this);
    m_pPreviousButton = makeAlbumButton("prev", kPreviousId);
    makeAlbumButton("stop", kStopId);
    m_pNextButton = makeAlbumButton("next", kNextId);
    m_pButtonTable->updateLayout();
    m_pButtonTable->setPosition(kRowRight - m_pButtonTable->getWidth(), kRowBottom - m_pButtonTable->getHeight());
    m_pButtonTable->setZOrder(kButtonLayer);
    m_pButtonTable->updateLayout();
}

// The nearest slide from nFrom on, stepping by nStep, that starts a page; -1 for none.
int SlideshowMode::findPageStart(int nFrom, int nStep) const {
    for (int i = nFrom; i >= 0 && i < m_lSlides.getCount(); i += nStep)
        if (m_lSlides[i]->m_bNewPage) return i;
    return -1;
}

void SlideshowMode::showPage(int nStart) {
    ZEP_TRACE("SlideshowMode::showPage");
    removeSprites(m_lShownSprites);
    m_lShownSprites.clear();
    m_nPageStart = nStart;
    for (int i = nStart; i < m_lSlides.getCount() && (i == nStart || !m_lSlides[i]->m_bNewPage); ++i) {
        const SlideSpec& slide = *m_lSlides[i];
        Zep::SmartPtr<Image> pPicture = getImage(slide.m_sImage.c_str());
        pPicture->setSurfaceAlpha(255);
        Zep::SmartPtr<Sprite> pSprite = new Sprite(pPicture, slide.m_nX, slide.m_nY, slide.m_nLayer);
        addSprite(pSprite);
        m_lShownSprites.add(pSprite);
    }
    m_pPreviousButton->setEnabled(nStart > 0);
    m_pNextButton->setEnabled(findPageStart(nStart + 1, 1) >= 0);
}

void SlideshowMode::onCallback(int nId, void*) {
    if (nId == kStopId) {
        endMode();
        return;
    }
    if (!m_bAlbum) return;
    if (nId == kPreviousId && m_nPageStart > 0) {
        // The first page starts at slide 0 whether or not it is marked.
        showPage(std::max(findPageStart(m_nPageStart - 1, -1), 0));
    } else if (nId == kNextId) {
        const int nNext = findPageStart(m_nPageStart + 1, 1);
        if (nNext >= 0) showPage(nNext);
    }
}
