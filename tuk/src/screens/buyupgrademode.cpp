// The purchase dialog (buyupgrademode.h).
#include "screens/buyupgrademode.h"

#include <cmath>
#include <numbers>

#include <zep2/error.h>

#include "screens/purchaseoptions.h"
#include "screens/storeitems.h"
#include "records/textformat.h"
#include "dialogs/ui_stddialogs.h"

namespace {

constexpr const char* kZepSource = ".\\src\\buyupgrademode";

constexpr int kTopLeft = 9;
constexpr int kTopCentre = 12;
constexpr int kCentred = 0x24;
constexpr int kBottomLeft = 0x11;
constexpr int kCellSpacing = 10;
constexpr int kWrapWidth = 330;
constexpr int kTextLines = 10;
constexpr int kTextLayer = 7;
constexpr int kPriceLayer = 2;
constexpr int kMaskLayer = 500;
// The mask's lintel lies on the row just above the preview: the preview's
// place keeps that much room over it, inside the frame.
constexpr int kMaskRoom = 8;
constexpr int kPreviewWidth = 320;
constexpr int kPreviewHeight = 240;
constexpr int kTrayPurchase = 0;
constexpr int kLastKind = 12;
constexpr const char* kFont = "Theme::DefaultSmall";

// The pulse of what the purchase adds: 65 to 191, one cycle in about 2.86 s.
uint8_t pulse(float fTime) {
    return static_cast<uint8_t>(static_cast<int>(128.0 + 63.0 * std::sin(0.7 * std::numbers::pi * fTime)));
}

}  // namespace

BuyUpgradeMode::BuyUpgradeMode(TUKPlayer* pPlayer, Zep::SmartPtr<UpgradeManager> pUpgradeManager, int nPurchaseId,
                               Zep::String sSceneName, bool* pPurchased, int nPreferredKind)
    : m_pPlayer(pPlayer),
      m_pUpgradeManager(pUpgradeManager),
      m_nPurchaseId(nPurchaseId),
      m_nKind(nPurchaseId),
      m_nPreferredKind(nPreferredKind),
      m_sSceneName(sSceneName),
      m_pPurchased(pPurchased) {
    ZEP_ASSERT(m_pPlayer);
    m_anLevels = StoreItems::levelsOf(*m_pPlayer);
    if (nPurchaseId >= 0 && nPurchaseId <= kLastKind)
        m_anLevels[static_cast<size_t>(nPurchaseId)] = scenelines::addClamped(m_anLevels[nPurchaseId], 1);
}

BuyUpgradeMode::~BuyUpgradeMode() = default;

void BuyUpgradeMode::onEnter() {
    ZEP_TRACE("BuyUpgradeMode::onEnter");
    start();
    if (m_nPurchaseId != kTrayPurchase) loadPreview();
    m_pLeftTable = new Table(this);
    m_pUpperTable = new Table(this);
    m_pLowerTable = new Table(this);
    m_pPriceLabel = new Label("aaaaaaaaaa", 0, 0, kPriceLayer);
    m_pPriceLabel->setFont(getFont(kFont));
    addSprite(m_pPriceLabel.get());
    m_pTextLabel = new Label("", 0, 0, kTextLayer, kWrapWidth, false);
    m_pTextLabel->setFont(getFont(kFont));
    m_pTextLabel->setLineCount(kTextLines);
    m_pTextLabel->setTextAlign(4);
    addSprite(m_pTextLabel.get());
    buildLeftColumn();
    buildUpperRow();
    if (m_pPreview)
        for (const Zep::SmartPtr<Sprite>& pSprite : m_pPreview->getSprites()) {
            const Point at = pSprite->getPosition();
            pSprite->setPosition(at.x + kPreviewX, at.y + kPreviewY);
            addSprite(pSprite);
        }
    buildLowerRow();
    getTable()->add(m_pUpperTable.get(), kTopLeft);
    getTable()->newRow();
    getTable()->add(m_pLowerTable.get(), kTopLeft);
    if (m_pPreview) reservePreviewRoom();
    layout(1);
    updateTexts();
}

void BuyUpgradeMode::loadPreview() {
    ZEP_ASSERT(getApp());
    m_pPreview = std::make_unique<BarPreview>(*getApp(), m_nPurchaseId, m_anLevels);
    m_pPreview->read(m_sSceneName);
}

Zep::SmartPtr<Sprite> BuyUpgradeMode::blankSprite(int nWidth, int nHeight) {
    Zep::SmartPtr<Sprite> pSprite = new Sprite(createImage(nWidth, nHeight, 1), 0, 0, 0);
    addSprite(pSprite);
    return pSprite;
}

// The spacer is as wide as the description wrapped at its full width, so a
// balanced (narrower) description changes neither the column nor the place
// of its centre.
void BuyUpgradeMode::buildLeftColumn() {
    m_pLeftTable->add(m_pTextLabel.get(), kTopCentre);
    const int nTrayLevel = m_anLevels[0];
    const int nSpacerWidth = kWrapWidth + 2 * m_pTextLabel->getTextMargin();
    if (m_nPurchaseId != kTrayPurchase) m_pLeftTable->add(blankSprite(nSpacerWidth, 190).get(), kTopLeft);
    else if (nTrayLevel == 1) m_pLeftTable->add(blankSprite(nSpacerWidth, 90).get(), kTopLeft);
    m_pLeftTable->newRow();
    m_pLeftTable->add(buildVariantChoices().get(), kTopLeft);
}

void BuyUpgradeMode::buildUpperRow() {
    m_pUpperTable->add(m_pLeftTable.get(), kCentred);
    m_pUpperTable->newCell();
    if (m_nPurchaseId == kTrayPurchase) addTrayPicture();
    else addPreviewPlace();
}

// The dialog is centred on the screen, the preview placed at a fixed point:
// a dialog without variant choices would be too low for the preview and
// the lintel over it, so it is made at least as tall as the room from their
// top down to the same distance above the screen's bottom.
void BuyUpgradeMode::reservePreviewRoom() {
    const int nScreenHeight = getApp() ? getApp()->getScreenHeight() : 0;
    getTable()->setSize(1, nScreenHeight - 2 * (kPreviewY - kMaskRoom));
}

void BuyUpgradeMode::addPreviewPlace() {
    m_pUpperTable->add(blankSprite(kPreviewWidth, kPreviewHeight + kMaskRoom).get(), kTopLeft);
    m_pUpperTable->setSpacing(kCellSpacing);
    Zep::SmartPtr<Image> pMask = getImage("mask_buyupgrade")->clone(false);
    pMask->alignInsPoint(kBottomLeft);
    addSprite(new Sprite(pMask, kPreviewX, kPreviewY, kMaskLayer));
}

void BuyUpgradeMode::addTrayPicture() {
    m_pUpperTable->add(blankSprite(150, 90).get(), kCentred);
    const int nTray = m_pPlayer->getUpgradeLevel(0);
    if (nTray == 0 || nTray == 1) {
        Zep::SmartPtr<Image> pTray =
            getImage(Zep::String::format("buyupgrade_bandeja%d_normal", nTray + 1).c_str())->clone(false);
        pTray->setInsPoint(pTray->getWidth() / 3, 0);
        m_pUpperTable->add(addSprite(new Sprite(pTray, 0, 0, 0)).get(), kCentred);
    }
    m_pUpperTable->setSpacing(kCellSpacing);
}

void BuyUpgradeMode::buildLowerRow() {
    m_pLowerTable->add(m_pPriceLabel.get(), kCentred);
    m_pLowerTable->newCell();
    m_pBuyButton = new Button(getText("UPG_Buy"), kBuyId);
    addControl(m_pBuyButton.get());
    m_pLowerTable->add(m_pBuyButton.get(), kCentred);
    m_pLowerTable->newCell();
    Zep::SmartPtr<Button> pCancel = new Button(getText("UPG_Cancel"), kCloseId);
    addControl(pCancel.get());
    m_pLowerTable->add(pCancel.get(), kCentred);
}

Zep::SmartPtr<Table> BuyUpgradeMode::buildVariantChoices() {
    Zep::SmartPtr<Table> pTable = new Table(this);
    for (const PurchaseOptions::Option& option : PurchaseOptions::offered(m_nPurchaseId, m_anLevels)) {
        Zep::SmartPtr<RadioButton> pChoice = new RadioButton(this, getImage("check_empty"),
                                                             getImage("check_full_noblit"),
                                                             getText(option.sKey.c_str()), option.nVariantId);
        pChoice->setFont(getFont(kFont));
        pTable->add(pChoice.get(), kTopLeft);
        pTable->newRow();
        m_lVariantChoices.add(pChoice);
    }
    if (m_lVariantChoices.isEmpty()) return pTable;
    int nChosen = m_lVariantChoices.getFirst()->getId();
    for (const Zep::SmartPtr<RadioButton>& pChoice : m_lVariantChoices)
        if (PurchaseOptions::kindOfVariant(pChoice->getId()) == m_nPreferredKind) nChosen = pChoice->getId();
    onCallback(nChosen, nullptr);
    return pTable;
}

void BuyUpgradeMode::onCallback(int nId, void*) {
    if (nId == kCloseId) endMode();
    else if (nId == kBuyId) buy();
    else if (nId >= PurchaseOptions::kFirstVariantId && nId <= PurchaseOptions::kLastVariantId) chooseVariant(nId);
}

// Only the choices this dialog offers.
void BuyUpgradeMode::chooseVariant(int nVariantId) {
    if (!m_lVariantChoices.select(nVariantId)) return;
    m_nKind = PurchaseOptions::kindOfVariant(nVariantId);
    applyUpgradePreview(nVariantId);
    updateTexts();
}

void BuyUpgradeMode::applyUpgradePreview(int nVariantId) {
    if (!m_pPreview || m_nKind < 0 || m_nKind > kLastKind) return;
    const int nTarget = scenelines::addClamped(m_pPreview->effect(m_nKind), 1);
    for (const UpgradeConditionalSprite& record : m_pPreview->getRecords())
        for (int nId : record.m_lVariantIds)
            if (nId != nVariantId) record.m_pSprite->setVisible(record.m_bShown);
    for (const UpgradeConditionalSprite& record : m_pPreview->getRecords()) {
        if (record.m_lVariantIds.indexOf(nVariantId) < 0) continue;
        const bool bBelongs = record.m_lLevels.indexOf(nTarget) >= 0;
        if (!bBelongs) record.m_pSprite->setVisible(false);
        if (bBelongs) record.m_pSprite->setVisible(true);
    }
}

int BuyUpgradeMode::price() const {
    if (m_nKind < 0 || m_nKind > kLastKind) return -1;
    return UpgradeManager::getUpgradePrice(m_nKind, m_pPlayer->getUpgradeLevel(m_nKind));
}

void BuyUpgradeMode::updateTexts() {
    const int nPrice = price();
    Zep::String sText, sPrice;
    if (nPrice >= 0) {
        const int nLevel = m_pPlayer->getUpgradeLevel(m_nKind);
        sText = getText(Zep::String::format("UPG_Text_%d_%d", m_nKind, nLevel).c_str());
        sPrice = formatText(getText("UPG_Price"), nPrice);
    }
    m_pTextLabel->setText(sText.c_str());
    m_pTextLabel->setBalancedWrapWidth(kWrapWidth);
    m_pLeftTable->updateLayout();
    m_pUpperTable->updateLayout();
    m_pLowerTable->updateLayout();
    m_pPriceLabel->setText(sPrice.c_str());
    if (m_pBuyButton.notNULL()) m_pBuyButton->setEnabled(nPrice >= 0 && !m_bBought);
}

void BuyUpgradeMode::buy() {
    const int nPrice = price();
    if (nPrice < 0 || m_bBought) return;
    if (nPrice > m_pPlayer->getMoney()) {
        getApp()->pushMode(new DlgMessage(this, getText("UPG_Cant"), kCantOkId));
        return;
    }
    m_pPlayer->setMoney(m_pPlayer->getMoney() - nPrice);
    m_pPlayer->setUpgradeLevel(m_nKind, m_pPlayer->getUpgradeLevel(m_nKind) + 1);
    if (m_pPurchased) *m_pPurchased = true;
    m_bBought = true;
    m_pBuyButton->setEnabled(false);
    getApp()->pushMode(new DlgMessage(this, getText("UPG_Upgraded"), kCloseId));
}

void BuyUpgradeMode::onUpdate(float fDelta) {
    m_fTime += fDelta;
    const uint8_t v = pulse(m_fTime);
    if (!m_pPreview) return;
    for (const Zep::SmartPtr<Sprite>& pSprite : m_pPreview->getHighlights()) pSprite->setColor(Color(255, v, v, 255));
}
