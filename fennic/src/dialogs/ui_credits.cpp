// CreditsMode; see ui_credits.h.
#include "dialogs/ui_credits.h"

#include <zep2/error.h>

#include "application/gameapp.h"
#include "ui/ui_label.h"

namespace {

constexpr const char* kZepSource = ".\\src\\ui_credits";

// Centred horizontally and vertically.
constexpr int kCentred = 0x24;
// The default band leaves 50 pixels above and below it.
constexpr int kDefaultBandMargin = 50;
constexpr int kCreditsFrameRate = 60;

int screenWidth(const GameMode& mode) { return mode.getApp() ? mode.getApp()->getScreenWidth() : 0; }
int screenHeight(const GameMode& mode) { return mode.getApp() ? mode.getApp()->getScreenHeight() : 0; }

// The bottom edge of an item on screen.
int bottomOf(const Sprite& item) {
    int x = 0, y = 0;
    item.getPosition(&x, &y);
    return y + item.getHeight();
}

}  // namespace

CreditsMode::CreditsMode() : m_nBandBottom(screenHeight(*this) - kDefaultBandMargin) {}

CreditsMode::~CreditsMode() = default;

// ---- Set-up -------------------------------------------------------------------

void CreditsMode::setScrollBand(int nTop, int nBottom) {
    m_nBandTop = nTop;
    m_nBandBottom = nBottom;
}

void CreditsMode::setFadeStrips(int nCount, int nHeight) {
    m_nFadeStrips = nCount;
    m_nFadeStripHeight = nHeight;
}

void CreditsMode::setDarkStrength(int nStrength) {
    if (nStrength < 0) ZEP_THROW(Zep::AssertFailException, "Assertion failed : m_nDarkStrength >= 0");
    if (nStrength > 255) ZEP_THROW(Zep::AssertFailException, "Assertion failed : m_nDarkStrength <= 255");
    m_nDarkStrength = nStrength;
}

// ---- Items --------------------------------------------------------------------

int CreditsMode::countLines(const Zep::String& sText) { return sText.split("\n").getCount(); }

Zep::SmartPtr<Label> CreditsMode::addText(const char* szKeyOrText, bool bAppend) {
    // The string table's text, or the argument itself.
    GameApp* pApp = getApp();
    const Zep::String sText = pApp && pApp->hasText(szKeyOrText) ? Zep::String(pApp->getText(szKeyOrText))
                                                                 : Zep::String(szKeyOrText);
    const int nLines = countLines(sText);
    // A line holding only "-" is shown empty (it was counted above).
    const Zep::String sShown = sText.replaceAll("\n-\n", "\n\n");
    Zep::SmartPtr<Label> pLabel = new Label(sShown.c_str(), 0, 0, kItemZOrder, 0, true);
    pLabel->setTextAlign(kCentred);
    pLabel->setTextColor(Color(255, 255, 255, 255));
    pLabel->setShadowColor(Color(0, 0, 0, 255));
    pLabel->setLineCount(nLines);
    addSprite(pLabel);
    if (bAppend) appendItem(pLabel);
    return pLabel;
}

Zep::SmartPtr<Sprite> CreditsMode::addImage(const char* szImage, bool bAppend) {
    Zep::SmartPtr<Sprite> pSprite = new Sprite(getImage(szImage), 0, 0, kItemZOrder);
    addSprite(pSprite);
    if (bAppend) appendItem(pSprite);
    return pSprite;
}

// Transparent, so a gap never shows as a bar.
void CreditsMode::addGap(int nHeight) {
    Zep::SmartPtr<Sprite> pSprite = new Sprite(createImage(kGapWidth, nHeight, 1), 0, 0, kItemZOrder);
    addSprite(pSprite);
    appendItem(pSprite);
}

void CreditsMode::appendItem(Zep::SmartPtr<Sprite> pItem) {
    pItem->setVisible(false);
    m_lPending.add(pItem);
    pItem->setPosition(screenWidth(*this) + kParkingOffset, screenHeight(*this) + kParkingOffset);
}

// ---- Life cycle ---------------------------------------------------------------

Color CreditsMode::darkening() const {
    const auto c = static_cast<uint8_t>(255 - m_nDarkStrength);
    return Color(c, c, c, 255);
}

void CreditsMode::onEnter() {
    // The darkened background.
    Zep::SmartPtr<Image> pBackground = getImage(m_sBackground.c_str());
    Zep::SmartPtr<Sprite> pBackSprite = new Sprite(pBackground, 0, 0, kBackgroundZOrder);
    if (m_nDarkStrength > 0) pBackSprite->setColor(darkening());
    addSprite(pBackSprite);
    // Graded strips at the band's edges, opaque masks beyond it.
    if (pBackground.notNULL()) {
        addFadeStrips(pBackground);
        addMaskStrip(pBackground, 0, m_nBandTop, 255);
        addMaskStrip(pBackground, m_nBandBottom, screenHeight(*this), 255);
    }
    // The first item; an empty column has none and is finished at once.
    if (m_lPending.isEmpty()) {
        m_bFinished = true;
        m_bEndDue = m_bEndWhenDone;
    } else {
        enterNextItem();
    }
    if (GameApp* pApp = getApp()) {
        pApp->showCursor(false);
        pApp->setFrameRate(kCreditsFrameRate);
    }
}

// Strip i of n has alpha 255 - (255 / n)(i + 1), counted from each band edge.
void CreditsMode::addFadeStrips(const Zep::SmartPtr<Image>& pBackground) {
    const int n = m_nFadeStrips, h = m_nFadeStripHeight;
    for (int i = 0; i < n; ++i) {
        const int nAlpha = 255 - (255 / n) * (i + 1);
        addMaskStrip(pBackground, m_nBandBottom - h * (i + 1), m_nBandBottom - h * i, nAlpha);
        addMaskStrip(pBackground, m_nBandTop + h * i, m_nBandTop + h * (i + 1), nAlpha);
    }
}

// The background's piece from y1 to y2 in its place, always tinted.
Zep::SmartPtr<Sprite> CreditsMode::addMaskStrip(const Zep::SmartPtr<Image>& pBackground, int y1, int y2, int nAlpha) {
    Zep::SmartPtr<Sprite> pStrip =
        new Sprite(pBackground->createSubImage(0, y1, screenWidth(*this), y2 - y1, false), 0, y1, kMaskZOrder);
    pStrip->setAlpha(static_cast<float>(nAlpha) / 255.0f);
    pStrip->setColor(darkening());
    addSprite(pStrip);
    return pStrip;
}

void CreditsMode::onEnd() {
    if (getApp()) getApp()->showCursor(true);
}

bool CreditsMode::onKeyUp(int, int) {
    endMode();
    return true;
}

bool CreditsMode::onMouseUp(int, int, int) {
    endMode();
    return true;
}

// ---- Scrolling ----------------------------------------------------------------

// Shown, centred, just below the band.
void CreditsMode::enterNextItem() {
    Zep::SmartPtr<Sprite> pItem = m_lPending.removeFirst();
    m_lActive.add(pItem);
    pItem->setVisible(true);
    pItem->setPosition(screenWidth(*this) / 2 - pItem->getWidth() / 2, m_nBandBottom);
}

void CreditsMode::onUpdate(float fDelta) {
    if (m_bEndDue) {
        m_bEndDue = false;
        endMode();
        return;
    }
    if (m_bFinished) return;
    // Whole pixels only; the fraction waits for the next frame.
    m_fScrollRemainder += m_fSpeed * fDelta;
    const int n = static_cast<int>(m_fScrollRemainder);
    if (n == 0) return;
    m_fScrollRemainder -= static_cast<float>(n);
    scrollItems(n);
    if (m_lActive.isEmpty()) return finish();
    if (!m_lPending.isEmpty() && bottomOf(*m_lActive.getLast()) <= m_nBandBottom) enterNextItem();
}

void CreditsMode::scrollItems(int nPixels) {
    for (m_lActive.rewind(); m_lActive.hasCurrent();) {
        Sprite& item = *m_lActive.current();
        if (bottomOf(item) - nPixels <= m_nBandTop) {
            m_lActive.removeCurrent();  // stays in the mode, under the top mask; the cursor moves on
            continue;
        }
        int x = 0, y = 0;
        item.getPosition(&x, &y);
        item.setPosition(x, y - nPixels);
        m_lActive.advance();
    }
}

void CreditsMode::finish() {
    m_bFinished = true;
    if (m_bEndWhenDone) endMode();
}
