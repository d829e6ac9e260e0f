// The level's loading box and its clock (loadingdialog.h).
#include "level/loadingdialog.h"

#include <zep2/error.h>

#include "application/gameapp.h"
#include "ui/ui_label.h"

namespace {

constexpr const char* kZepSource = ".\\src\\loadingdialog";

constexpr float kDimmerAlpha = 0.5f;
constexpr int kCentred = 0x24;
constexpr int kHintZOrder = 1;
constexpr int kHintWrapWidth = 300;
constexpr int kHintLines = 3;

void showCursor(GameApp* pApp, bool bShow) {
    if (pApp) pApp->showCursor(bShow);
}

}  // namespace

LoadingDialog::LoadingDialog(const char* szText)
    : TUKMode(kFlags), m_sText(szText ? szText : getText("LDN_Loading")) {}

LoadingDialog::~LoadingDialog() = default;

void LoadingDialog::finish() {
    m_bDone = true;
    showCursor(getApp(), true);
}

void LoadingDialog::onEnter() {
    ZEP_TRACE("LoadingDialog::onEnter");
    addDimmer(kDimmerAlpha);
    showCursor(getApp(), false);
    m_pTable = new Table(this);
    m_pTable->setFramed(true);
    addClockLayer("clock_base", 1, -3);
    m_pClockHand = addClockLayer("clock_1", 0, 0);
    addClockLayer("clock_markers", 0, 0);
    addLabels();
    GameApp* pApp = getApp();
    const int nScreenW = pApp ? pApp->getScreenWidth() : 0, nScreenH = pApp ? pApp->getScreenHeight() : 0;
    m_pTable->measure();
    m_pTable->setPosition((nScreenW - m_pTable->getWidth()) / 2, (nScreenH - m_pTable->getHeight()) / 2);
    m_pTable->setZOrder(kZOrder);
    m_pTable->updateLayout();
    m_fClockTimer = 0.0f;
}

Zep::SmartPtr<Sprite> LoadingDialog::addClockLayer(const char* szImage, int nInsX, int nInsY) {
    Zep::SmartPtr<Image> pImage = getImage(szImage)->clone(false);
    pImage->setInsPoint(nInsX, nInsY);
    Zep::SmartPtr<Sprite> pSprite = addSprite(new Sprite(pImage, 0, 0, 0));
    m_pTable->add(pSprite.get(), kCentred);
    return pSprite;
}

void LoadingDialog::addLabels() {
    m_pTable->newCell();
    Zep::SmartPtr<Label> pText = new Label(m_sText.c_str(), 0, 0, 0);
    addSprite(pText.get());
    m_pTable->add(pText.get(), kCentred);
    if (m_sHint.isEmpty()) return;
    m_pTable->newRow();
    m_pTable->newCell();
    Zep::SmartPtr<Label> pHint = new Label(m_sHint.c_str(), 0, 0, kHintZOrder, kHintWrapWidth, false);
    pHint->setLineCount(kHintLines);
    addSprite(pHint.get());
    m_pTable->add(pHint.get(), kCentred);
}

void LoadingDialog::onUpdate(float fDelta) {
    // The level below becomes the top here; the cursor is still hidden below.
    if (m_bDone) endMode();
    showCursor(getApp(), false);
    m_fClockTimer -= fDelta;
    if (m_fClockTimer < 0.0f) stepClock();
}

void LoadingDialog::stepClock() {
    m_nClockFrame = (m_nClockFrame + 1) % kClockSteps;
    m_fClockTimer = kStepSeconds;
    const Zep::String sName =
        m_nClockFrame == 0 ? Zep::String("empty") : Zep::String::format("clock_%d", m_nClockFrame);
    Zep::SmartPtr<Image> pImage = getImage(sName.c_str())->clone(false);
    pImage->setInsPoint(0, 0);
    m_pClockHand->setImage(pImage);
}
