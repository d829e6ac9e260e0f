#include "dialogs/ui_dialog.h"

#include <algorithm>
#include <climits>

#include "application/gameapp.h"
#include "ui/ui_wordbreak.h"

namespace {

int heightOf(const Label& label) { return label.getImage().notNULL() ? label.getImage()->getHeight() : 0; }

}  // namespace

DialogMode::DialogMode(bool bPauseBelow) : m_pTable(new Table(this)) {
    addFlags(bPauseBelow ? kDrawBelow : (kDrawBelow | kUpdateBelow));
    m_pTable->setFramed(true);
    m_pTable->setSize(1, 1);
}

DialogMode::~DialogMode() = default;

void DialogMode::start() { addDimmer(0.5f); }

void DialogMode::end() { m_pTable->setVisible(false); }

void DialogMode::onBecameTop() {
    if (GameApp* pApp = getApp()) pApp->showCursor(true);
    layout(1);
}

void DialogMode::layout(int) {
    m_pTable->updateLayout();
    const int w = m_pTable->getWidth();
    const int h = m_pTable->getHeight();
    GameApp* pApp = getApp();
    const int nScreenW = pApp ? pApp->getScreenWidth() : 0;
    const int nScreenH = pApp ? pApp->getScreenHeight() : 0;
    // Centred; one taller than the screen keeps its bottom, and so its
    // buttons, on the screen.
    const int y = h > nScreenH ? nScreenH - h : (nScreenH - h) / 2;
    m_pTable->setPosition((nScreenW - w) / 2, y);
    m_pTable->setVisible(true);
    // Contents measured while hidden (0 x 0) get their real size now.
    m_pTable->updateLayout();
}

void DialogMode::addSprite(Zep::SmartPtr<Table> pTable, Zep::SmartPtr<Image> pImage, int nAlign) {
    Zep::SmartPtr<Sprite> pSprite = new Sprite(pImage, 0, 0, 0);
    GameMode::addSprite(pSprite);
    pTable->add(pSprite.get(), nAlign);
}

void DialogMode::addImage(Zep::SmartPtr<Table> pTable, const char* szImageName, int nAlign) {
    addSprite(pTable, getImage(szImageName), nAlign);
}

Zep::SmartPtr<Label> DialogMode::addText(Zep::SmartPtr<Table> pTable, const char* szText, int nAlign) {
    Zep::SmartPtr<Label> pLabel = new Label(szText);
    // A path or any other word wider than the dialog breaks instead of
    // running out of it.
    pLabel->setBreakLongWords(true);
    if (m_pTextFont.notNULL()) pLabel->setFont(m_pTextFont);
    if (pLabel->getBoundingRect().getWidth() > m_nTextWrapWidth) pLabel->setBalancedWrapWidth(m_nTextWrapWidth);
    GameMode::addSprite(pLabel.get());
    pTable->add(pLabel.get(), nAlign);
    return pLabel;
}

Zep::SmartPtr<Label> DialogMode::addTextOrImage(Zep::SmartPtr<Table> pTable, const char* szKey, int nAlign) {
    GameApp* pApp = getApp();
    if (pApp && pApp->imageExists(szKey)) {
        addImage(pTable, szKey, nAlign);
        return Zep::SmartPtr<Label>();
    }
    const char* szText = pApp && pApp->hasText(szKey) ? pApp->getText(szKey) : szKey;
    return addText(pTable, szText, nAlign);
}

int DialogMode::getRoomOnScreen() {
    GameApp* pApp = getApp();
    if (!pApp || pApp->getScreenHeight() <= 0) return INT_MAX;
    int w = 0, h = 0;
    m_pTable->getOuterSize(&w, &h, true);
    return pApp->getScreenHeight() - h;
}

// Shortened from the whole text each time, so that one ellipsis stands in
// it. A wider word takes no fewer lines, so the widest that fits is found by
// halving, to a tenth of a line; when even a word of one line's width does
// not fit, that is kept.
void DialogMode::fitTextHeight(Label& label, int nWrapWidth, int nMaxHeight) {
    const Zep::SmartPtr<Font> pFont = label.getFont();
    if (pFont.isNULL() || nWrapWidth <= 0 || heightOf(label) <= nMaxHeight) return;
    const Zep::String sWhole = label.getText();
    auto shortenTo = [&](int nWord) {
        label.setText(wordbreak::shortenWidestWord(*pFont, sWhole.c_str(), nWord).c_str());
        label.setBalancedWrapWidth(nWrapWidth);
        return heightOf(label) <= nMaxHeight;
    };
    // nFits fits (or is the narrowest tried), nTooWide does not.
    int nFits = nWrapWidth, nTooWide = wordbreak::widestWordWidth(*pFont, sWhole.c_str());
    while (nTooWide - nFits > std::max(1, nWrapWidth / 10)) {
        const int nMiddle = nFits + (nTooWide - nFits) / 2;
        (shortenTo(nMiddle) ? nFits : nTooWide) = nMiddle;
    }
    shortenTo(nFits);
}
