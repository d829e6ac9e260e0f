// The upgrade store (storemode.h).
#include "screens/storemode.h"

#include <zep2/error.h>

#include "application/app_caches.h"
#include "screens/buyupgrademode.h"
#include "application/gameapp.h"
#include "records/gamesound.h"
#include "screens/storeitems.h"
#include "sprite/trn_fadetoblack.h"

namespace {

constexpr const char* kZepSource = ".\\src\\storemode";

constexpr int kCentred = 0x24;
// The coin and the sum after it stand centred on the money's tag.
constexpr int kMoneyCentreX = 542;
constexpr int kMoneyY = 546;
constexpr int kCoinGap = 1;
constexpr int kMoneyLayer = 2;
constexpr int kDescriptionWrap = 426;  // the paper under it ends at x 456
constexpr int kParrotItem = 3;
constexpr int kParrotPurchase = 8;

// A private copy of a store picture, standing on its centre; null for null.
Zep::SmartPtr<Image> centred(const Zep::SmartPtr<Image>& pPicture) {
    if (pPicture.isNULL()) return pPicture;
    Zep::SmartPtr<Image> pCopy = pPicture->clone(false);
    pCopy->alignInsPoint(kCentred);
    return pCopy;
}

// Switches the parrot's sequence where it stands: the same frame, the same
// time left in it.
void swapSequence(AnimSprite& parrot, const char* szSequence) {
    const int nFrame = parrot.getFrame();
    const float fTimeLeft = parrot.getTimeLeft();
    parrot.play(szSequence, 0.0f, -1);
    parrot.setFrame(nFrame, fTimeLeft);
}

}  // namespace

StoreMode::StoreMode(TUKPlayer* pPlayer, Zep::String sSceneName)
    : TUKMode(1), m_pPlayer(pPlayer), m_sSceneName(sSceneName), m_pUpgradeManager(new UpgradeManager()) {
    ZEP_ASSERT(m_pPlayer);
}

StoreMode::~StoreMode() = default;

void StoreMode::onEnter() {
    ZEP_TRACE("StoreMode::onEnter");
    DisableImageCache noCache;
    addSprite(new Sprite(getImage("upgrade_store"), 0, 0, 0));
    addSprite(new Sprite(getImage("store_mask"), 789, 270, 500));
    Zep::SmartPtr<Button> pBack = new Button(getText("HF_Back"), kBackId);
    pBack->setStyle("PaperButton");
    addControl(pBack.get());
    pBack->setPosition(627, 531);
    pBack->setZOrder(1);
    m_pCoin = new Sprite(getImage("store_coin"), 0, 0, kMoneyLayer);
    addSprite(m_pCoin);
    m_pMoneyLabel = new Label("", 0, 0, kMoneyLayer);
    m_pMoneyLabel->setFont(getFont("Sand::LabelText"));
    m_pMoneyLabel->setTextAlign(kCentred);
    addSprite(m_pMoneyLabel.get());
    showMoney();
    Zep::SmartPtr<Animation> pSalesman = getApp()->getAnimation("salesman.anim");
    m_pSalesman = new AnimSprite(pSalesman, 472, 311, 4);
    addSprite(m_pSalesman.get());
    salesmanPlays("blink");
    Zep::SmartPtr<AnimSprite> pStanding = new AnimSprite(pSalesman, 472, 311, 4);
    pStanding->play("normal", 0.0f, -1);
    addSprite(pStanding.get());
    m_pTextLabel = new Label("", 20, 529, 2, kDescriptionWrap, false);
    m_pTextLabel->setFont(getFont("Theme::DefaultBlack"));
    setText(getText("UPG_Default"));
    addSprite(m_pTextLabel.get());
    m_pBalloon = new Sprite(getImage("store_globito_normal"), 600, 160, 1);
    m_pBalloon->setAlpha(0.0f);
    addSprite(m_pBalloon);
    m_pLeaveLabel = new Label(getText("UPG_Leave"), 602, 162, 2, 113, false);
    m_pLeaveLabel->setFont(getFont("Theme::DefaultBlack"));
    m_pLeaveLabel->setAlpha(0.0f);
    addSprite(m_pLeaveLabel.get());
    m_fMoodTimer = 0.0f;
    m_fLeaveTimer = -1.0f;
    m_bPurchased = false;
    onResume();
}

// The coin, then the sum, laid out from their measured widths and centred
// together; the coin on the sum's middle.
void StoreMode::showMoney() {
    m_pMoneyLabel->setText(Zep::String::format("%d", m_pPlayer->getMoney()).c_str());
    const int nCoinWidth = m_pCoin->getWidth();
    const int x = kMoneyCentreX - (nCoinWidth + kCoinGap + m_pMoneyLabel->getWidth()) / 2;
    m_pCoin->setPosition(x, kMoneyY + (m_pMoneyLabel->getHeight() - m_pCoin->getHeight()) / 2);
    m_pMoneyLabel->setPosition(x + nCoinWidth + kCoinGap, kMoneyY);
}

void StoreMode::setText(const char* szText) { m_pTextLabel->setText(szText); }

void StoreMode::salesmanPlays(const char* szSequence) { m_pSalesman->play(szSequence, 0.0f, -1); }

void StoreMode::onResume() {
    ZEP_TRACE("StoreMode::onResume");
    if (m_bPurchased) {
        playGameSound("sfx_store_clink");
        salesmanPlays("smile");
        setText(getText("UPG_Good"));
        m_fMoodTimer = kMoodSeconds;
        m_bPurchased = false;
    } else if (!m_bFresh) {
        setText(getText("UPG_Bad"));
    }
    if (m_bLaidOut) {
        clearItems();
        showMoney();
    }
    buildItems();
    m_bLaidOut = true;
}

// ---- Items ---------------------------------------------------------------------------

void StoreMode::buildItems() {
    ZEP_TRACE("StoreMode::buildItems");
    DisableImageCache noCache;
    const SceneTags::Levels levels = StoreItems::levelsOf(*m_pPlayer);
    for (int nItem = 0; nItem < StoreItems::kCount; ++nItem) {
        const int nLevel = StoreItems::levelShown(nItem, levels);
        if (nItem == kParrotItem) {
            m_pParrotItem = m_pUpgradeManager->createItemSprite(nItem, nLevel);
            if (m_pParrotItem.notNULL()) {
                const StoreItems::Item& item = StoreItems::get(nItem);
                m_pParrotItem->setPosition(item.x, item.y);
                addSprite(m_pParrotItem.get());
                continue;
            }
        }
        buildItem(nItem, nLevel, StoreItems::isBuyable(nItem, levels));
    }
}

void StoreMode::buildItem(int nItem, int nLevel, bool bBuyable) {
    const Zep::SmartPtr<Image> pPicture = centred(m_pUpgradeManager->getItemImage(nItem, nLevel));
    if (pPicture.isNULL()) return;
    const StoreItems::Item& item = StoreItems::get(nItem);
    Zep::SmartPtr<Sprite> pShown;
    if (bBuyable) {
        const Zep::SmartPtr<Image> pHighlight = centred(m_pUpgradeManager->getItemHighlightImage(nItem, nLevel));
        Zep::SmartPtr<CustomButton> pButton =
            new CustomButton(item.nPurchaseId, pPicture, pHighlight, pHighlight, pPicture);
        // The row comes back with the click: it tells the items of one purchase apart.
        pButton->setData(const_cast<StoreItems::Item*>(&item));
        addControl(pButton.get());
        m_lItemButtons.add(pButton);
        m_lItemTexts.add(getText(Zep::String::format("UPG_TEXT_%d", nItem).c_str()));
        pShown = pButton.get();
    } else {
        pShown = new Sprite(pPicture, 0, 0, 0);
        addSprite(pShown);
        m_lItemSprites.add(pShown);
    }
    pShown->setPosition(item.x, item.y);
    pShown->setZOrder(item.nLayer);
}

void StoreMode::clearItems() {
    for (const Zep::SmartPtr<CustomButton>& pButton : m_lItemButtons) removeSprite(pButton.get());
    m_lItemButtons.clear();
    removeSprite(m_pParrotItem.get());
    m_pParrotItem = nullptr;
    removeSprites(m_lItemSprites);
    m_lItemSprites.clear();
    m_lItemTexts.clear();
}

// ---- Input ---------------------------------------------------------------------------

void StoreMode::onCallback(int nId, void* pData) {
    if (static_cast<unsigned>(nId) <= kLastItemId) {
        if (m_bLeaving || m_fLeaveTimer > kLeftAt) return;
        salesmanPlays("sad");
        m_fMoodTimer = kMoodSeconds;
        const int nKind = StoreItems::preferredKind(StoreItems::indexOf(pData), StoreItems::levelsOf(*m_pPlayer));
        getApp()->pushMode(
            new BuyUpgradeMode(m_pPlayer, m_pUpgradeManager, nId, m_sSceneName, &m_bPurchased, nKind));
        m_bFresh = false;
    } else if (nId == kBackId && !m_bLeaving) {
        if (m_fLeaveTimer >= kLeftAt) startExit();
        else m_fLeaveTimer = kLeaveSeconds;
    }
}

void StoreMode::startExit() {
    if (m_bLeaving) return;
    m_bLeaving = true;
    startTransition(new TrnFadeToBlack());
}

bool StoreMode::isOnParrot(int x, int y) const {
    if (m_pParrotItem.isNULL()) return false;
    const Rect r = m_pParrotItem->getBoundingRect();
    return x >= r.getLeft() && x < r.getRight() && y >= r.getTop() && y < r.getBottom();
}

bool StoreMode::hoverParrot(int x, int y) {
    if (m_pParrotItem.isNULL()) return false;
    const bool bInside = isOnParrot(x, y);
    const bool bHighlighted = m_pParrotItem->getSequenceName() == "highlight";
    if (bInside && !bHighlighted) {
        playGameSound("sfx_mouseover");
        swapSequence(*m_pParrotItem, "highlight");
        salesmanPlays("talk");
        if (m_pTextLabel->getText() != getText("UPG_Text_3")) setText(getText("UPG_Text_3"));
    } else if (!bInside && m_pParrotItem->getSequenceName() != "normal") {
        swapSequence(*m_pParrotItem, "normal");
    }
    return bInside;
}

bool StoreMode::onMouseMove(int x, int y) {
    bool bOverItem = hoverParrot(x, y);
    for (int i = 0; !bOverItem && i < m_lItemButtons.getCount(); ++i) {
        if (m_lItemButtons[i]->getState() != Button::kHighlight) continue;
        bOverItem = true;
        if (m_pTextLabel->getText() != m_lItemTexts[i]) {
            setText(m_lItemTexts[i].c_str());
            salesmanPlays("talk");
        }
    }
    const char* szDefault = getText("UPG_Default");
    if (!bOverItem && m_pTextLabel->getText() != szDefault && m_fMoodTimer == 0.0f) {
        setText(szDefault);
        salesmanPlays("blink");
    }
    return true;
}

bool StoreMode::onMouseUp(int, int x, int y) {
    if (isOnParrot(x, y)) onCallback(kParrotPurchase, nullptr);
    return true;
}

// ---- Frames --------------------------------------------------------------------------

void StoreMode::onUpdate(float fDelta) {
    if (m_pParrotItem.notNULL()) m_pParrotItem->update(fDelta);
    m_pSalesman->update(fDelta);
    if (m_fMoodTimer > 0.0f && fDelta < 0.5f) {
        m_fMoodTimer -= fDelta;
        if (m_fMoodTimer < 0.0f) {
            m_fMoodTimer = 0.0f;
            salesmanPlays("blink");
        }
    }
    if (m_bLeaving || m_fLeaveTimer <= kLeftAt) return;
    m_fLeaveTimer -= fDelta;
    if (m_fLeaveTimer <= kLeftAt) {
        startExit();
    } else if (m_fLeaveTimer > 0.0f) {
        const float fAlpha = (kLeaveSeconds - m_fLeaveTimer) * 2.0f;
        m_pBalloon->setAlpha(fAlpha);
        m_pLeaveLabel->setAlpha(fAlpha);
    }
}
