// The customer's order, service, payment, refund, complaint and closing
// time (character.h).
#include <cstdlib>

#include <zep2/error.h>
#include <zep2/str.h>

#include "actors/character.h"
#include "application/gameapp.h"
#include "records/gamesound.h"
#include "level/playmode.h"
#include "records/textformat.h"

namespace {

constexpr const char* kZepSource = ".\\src\\character_order";

constexpr float kPopupSeconds = 1.5f;
constexpr int kWhite = 255;
// Star threshold factors: the campaign and the other kinds, less for VIPs.
constexpr double kCampaignShare = 0.8, kOtherShare = 0.75, kVipShareCut = 0.2;
// By the level of the VIP seat's upgrade: 0, 1, any other.
constexpr double kVipSeatShares[] = {0.73, 0.86, 1.0};
constexpr int kRefillParts = 3;

void require(bool bHolds, const char* szMessage, int nLine) {
    if (!bHolds) throw Zep::AssertFailException(kZepSource, nLine, szMessage);
}

}  // namespace

// ---- The order -----------------------------------------------------------------------

void Character::chooseOrder() {
    m_pActionBalloon->clearItems();
    m_nOrderBeverage = std::rand() % Mug::BT_BEVERAGE_COUNT;
    m_pActionBalloon->setBeverage(m_nOrderBeverage);
    m_lOrderLiquids.clear();
    const int nFirst = pickLiquid();
    const int nSecond = m_pMode->getLevelData().m_bMixedOrders ? pickOtherLiquid(nFirst) : nFirst;
    for (int nLiquid : {nFirst, nSecond}) {
        m_lOrderLiquids.add(nLiquid);
        m_pActionBalloon->addItem(nLiquid);
    }
    m_pBalloonSprite->play("main", 0.0f, -1);
    m_pBalloonSprite->setVisible(false);
    m_pActionBalloon->buildPictures();
    m_pActionBalloon->setVisible(false);
    m_fOrderPatience = m_fPatience;
}

// From the level's list itself, which is not empty (the level checks it when
// it loads, the customer when it arrives).
int Character::pickLiquid() const {
    const Zep::List<int>& lLiquids = m_pMode->getLevelData().m_lLiquids;
    require(!lLiquids.isEmpty(), "Assertion failed : !lLiquids.isEmpty()", __LINE__);
    return lLiquids.get(std::rand() % lLiquids.getCount());
}

// Another liquid of the list; the same one when the list has no other.
int Character::pickOtherLiquid(int nFirst) const {
    Zep::List<int> lOthers;
    for (int nLiquid : m_pMode->getLevelData().m_lLiquids)
        if (nLiquid != nFirst) lOthers.add(nLiquid);
    return lOthers.isEmpty() ? nFirst : lOthers.get(std::rand() % lOthers.getCount());
}

bool Character::matchesOrder(int nBeverage, const Zep::List<int>& lLiquids) const {
    if (lLiquids.getCount() < 2 || m_nState == kExiting || m_nState == kFadingOut) return false;
    return nBeverage == m_nOrderBeverage && lLiquids.get(0) == m_lOrderLiquids.get(0) &&
           lLiquids.get(1) == m_lOrderLiquids.get(1);
}

void Character::refreshOrder() {
    if (m_nState == kStanding || m_nState == kCalling || m_nState == kWaiting) chooseOrder();
}

// ---- Service ---------------------------------------------------------------------------

void Character::serveMug(const Zep::SmartPtr<Mug>& pMug) {
    require(!hasMug(), "Assertion failed : !hasMug()", __LINE__);
    m_pMug = pMug;
    m_nServicePaid = 0;
    placeMug();
    m_pMug->stopDrinking();
    if (m_nState == kFadingOut || m_nState == kDrunk) return;
    m_lStateQueue.clear();
    if (!m_pMug->isFull()) return;
    const bool bMatched = matchesOrder(m_pMug->getBeverage(), m_pMug->getLiquids());
    m_pMug->setOrderMatched(bMatched);
    if (!bMatched) return;
    if (m_nState == kStanding || m_nState == kWaiting) setState(kServed);
    else if (m_nState == kCalling) m_lStateQueue.addFirst(kServed);
    m_nStars += countStars();
    m_pMug->refresh();
    pay();
    m_pActionBalloon->setVisible(false);
    m_fMeterAlphaTarget = 0.0f;
    const float fRefilled = m_fPatience + m_fMaxPatience / kRefillParts;
    m_fPatience = fRefilled > m_fMaxPatience || m_pMug->hasDecoration() ? m_fMaxPatience : fRefilled;
    showBonus();
    int x = 0, y = 0;
    popupPoint(x, y, true);
    m_pMode->showMoneyPopup(x, y);
}

int Character::countStars() const {
    const LevelData& data = m_pMode->getLevelData();
    double dShare = m_pMode->getGameKind() == 0 ? kCampaignShare : kOtherShare;
    if (m_bIsVip) {
        dShare -= kVipShareCut;
        int nLevel = -1;
        if (m_nSeatKind == 1) nLevel = data.m_nUpgradeLevel10;
        else if (m_nSeatKind == 0) nLevel = data.m_nUpgradeLevel11;
        dShare *= nLevel == 0 || nLevel == 1 ? kVipSeatShares[nLevel] : kVipSeatShares[2];
    }
    const int nDecoration = m_pMug->hasDecoration() ? 1 : 0;
    return nDecoration + (m_fPatience > m_fOrderPatience * dShare ? 1 : 0);
}

// Not within 5000 ms of the last payment.
void Character::pay() {
    const int nNow = GameApp::getInstance()->getTicks();
    if (nNow - m_nLastPayTime <= kPaymentGapMs) return;
    m_nServicePaid = m_pMode->getLevelData().m_nDrinkPrice;
    m_pMode->addMoney(m_nSpot, 0, m_nServicePaid);
    m_nLastPayTime = nNow;
}

// The time bonus, outside the campaign while the bar is open, by the clock
// it adds to (the money popup rises where the customer was served).
void Character::showBonus() {
    LevelData& data = m_pMode->getLevelData();
    if (m_pMode->getGameKind() == 0 || data.m_bBarClosed) return;
    int x = 0, y = 0;
    popupPoint(x, y, true);
    const Zep::String sText = formatText(m_pMode->getText("PLY_Bonus"), static_cast<double>(data.m_fTimeBonus));
    m_pMode->clockPopupPoint(sText.c_str(), x, y);
    m_pMode->showTimePopup(x, y, sText.c_str(), kWhite, kWhite, kWhite, kPopupSeconds);
    data.m_fDayLength += data.m_fTimeBonus;
}

// In state 4 what that service paid comes back and the customer leaves.
Zep::SmartPtr<Mug> Character::takeMug() {
    require(hasMug(), "Assertion failed : m_pMug", __LINE__);
    if (m_nState == kServed) {
        m_bSatisfied = false;
        if (m_nServicePaid != 0) m_pMode->addMoney(m_nSpot, 0, -m_nServicePaid);
        setState(kExiting);
    }
    const Zep::SmartPtr<Mug> pMug = m_pMug;
    m_pMug = nullptr;
    m_nServicePaid = 0;
    return pMug;
}

// ---- Leaving ---------------------------------------------------------------------------

void Character::complain() {
    if (m_nDrinksHad == 0 && m_bHasAsked) playGameSound(Zep::String::format("sfx_game_mistake%d", m_nVoice).c_str());
    LevelData& data = m_pMode->getLevelData();
    if (m_nDrinksHad == m_nDrinksWanted || m_pMode->getGameKind() == 0 || data.m_bBarClosed) return;
    int x = 0, y = 0;
    popupPoint(x, y, false);
    const Zep::String sText =
        formatText(m_pMode->getText("PLY_Penalty"), static_cast<double>(data.m_fTimePenalty));
    m_pMode->showTimePopup(x, y, sText.c_str(), kWhite, kWhite, kWhite, kPopupSeconds);
    data.m_fDayLength -= data.m_fTimePenalty;
}

void Character::onBarClosed() {
    const bool bAtMenu = m_nState == kStanding && (!hasMug() || m_pMug->isEmpty());
    const bool bServedWithout = (m_nState == kServed || m_nState == kDrinking) && !hasMug();
    if (bAtMenu || bServedWithout) setState(kExiting);
    else m_nDrinksWanted = m_nDrinksHad;
}
