// The order balloon (actionballoon.h).
#include "actors/actionballoon.h"

#include <cstring>
#include <iterator>

#include "actors/character.h"
#include "application/gameapp.h"
#include "actors/mug.h"
#include "level/playmode.h"

namespace {

constexpr const char* kHeadingLetters = "nesw";
constexpr const char* kGlassIcons[] = {"bub_ico_vaso_1", "bub_ico_vaso_2", "bub_ico_vaso_3"};
constexpr const char* kLiquidIcons[] = {"bub_ico_fruta_straw",  "bub_ico_fruta_apple", "bub_ico_fruta_banana",
                                        "bub_ico_fruta_orange", "bub_ico_fruta_grape", "bub_ico_fruta_pear"};
constexpr const char* kPlusIcon = "bub_ico_plus";
constexpr int kIconGap = 2;

int headingOf(const char* szHeading) {
    const char* p = szHeading && *szHeading ? std::strchr(kHeadingLetters, szHeading[0]) : nullptr;
    return p ? static_cast<int>(p - kHeadingLetters) : 0;
}

void removeFromItsMode(const Zep::SmartPtr<Sprite>& pSprite) {
    if (pSprite->getMode()) pSprite->getMode()->removeSprite(pSprite);
}

}  // namespace

ActionBalloon::ActionBalloon(PlayMode* pMode, const Rect& bounds, const char* szHeading, int nIndex)
    : ActionSpot(pMode, bounds, headingOf(szHeading)), m_nIndex(nIndex) {}

// ---- The order -------------------------------------------------------------------

void ActionBalloon::clearItems() {
    m_nBeverage = 0;
    m_lItems.clear();
}

void ActionBalloon::setBeverage(int nBeverage) { m_nBeverage = nBeverage; }

void ActionBalloon::addItem(int nLiquid) { m_lItems.add(nLiquid); }

Zep::List<Zep::String> ActionBalloon::iconNames() const {
    Zep::List<Zep::String> lNames;
    if (m_nBeverage >= 0 && m_nBeverage < static_cast<int>(std::size(kGlassIcons)))
        lNames.add(kGlassIcons[m_nBeverage]);
    bool bFirst = true;
    for (int nLiquid : m_lItems) {
        if (nLiquid < 0 || nLiquid >= static_cast<int>(std::size(kLiquidIcons))) continue;
        if (!bFirst) lNames.add(kPlusIcon);
        lNames.add(kLiquidIcons[nLiquid]);
        bFirst = false;
    }
    return lNames;
}

// ---- Pictures --------------------------------------------------------------------

Zep::SmartPtr<Image> ActionBalloon::makePicture(const Zep::SmartPtr<Image>& pFrame) const {
    Zep::SmartPtr<Image> pPicture = pFrame->clone(false);
    Zep::List<Zep::SmartPtr<Image>> lIcons;
    int nWidth = 0;
    for (const Zep::String& sName : iconNames()) {
        if (!GameApp::getInstance()->imageExists(sName.c_str())) continue;
        const Zep::SmartPtr<Image> pIcon = getMode()->getImage(sName.c_str());
        if (pIcon.isNULL()) continue;
        nWidth += (lIcons.isEmpty() ? 0 : kIconGap) + pIcon->getWidth();
        lIcons.add(pIcon);
    }
    int x = (pPicture->getWidth() - nWidth) / 2;
    const int nMiddle = pPicture->getHeight() * 3 / 8;
    for (const Zep::SmartPtr<Image>& pIcon : lIcons) {
        pPicture->blit(*pIcon, x + pIcon->getInsPointX(), nMiddle - pIcon->getHeight() / 2 + pIcon->getInsPointY());
        x += pIcon->getWidth() + kIconGap;
    }
    return pPicture;
}

void ActionBalloon::buildPictures() {
    removeSprites();
    const Zep::SmartPtr<Sprite> pSprite = getAttachedSprite();
    AnimSprite* pBalloon = dynamic_cast<AnimSprite*>(pSprite.get());
    if (!pBalloon || pBalloon->getAnimation().isNULL()) return;
    const Zep::String sSequence = pBalloon->getSequenceName();
    const int nFrames = pBalloon->getFrameCount(nullptr);
    for (int n = 0; n < nFrames; ++n) {
        const Zep::SmartPtr<Image> pFrame = pBalloon->getAnimation()->getFrameImage(sSequence.c_str(), n);
        if (pFrame.isNULL()) continue;
        Zep::SmartPtr<Sprite> pPicture = new Sprite(makePicture(pFrame), pBalloon->getPosition(),
                                                   pBalloon->getZOrder());
        pPicture->setAlpha(m_fAlpha);
        pPicture->setScale(m_fScale);
        pPicture->setVisible(m_bShown);
        m_lPictures.add(getMode()->addSprite(pPicture));
    }
}

void ActionBalloon::removeSprites() {
    for (const Zep::SmartPtr<Sprite>& pPicture : m_lPictures) removeFromItsMode(pPicture);
    m_lPictures.clear();
}

void ActionBalloon::setAlpha(float fAlpha) {
    m_fAlpha = fAlpha;
    for (const Zep::SmartPtr<Sprite>& pPicture : m_lPictures) pPicture->setAlpha(fAlpha);
}

void ActionBalloon::setScale(float fScale) {
    m_fScale = fScale;
    for (const Zep::SmartPtr<Sprite>& pPicture : m_lPictures) pPicture->setScale(fScale);
}

void ActionBalloon::setVisible(bool bVisible) {
    m_bShown = bVisible;
    for (const Zep::SmartPtr<Sprite>& pPicture : m_lPictures) pPicture->setVisible(bVisible);
}

bool ActionBalloon::isVisible() const {
    for (const Zep::SmartPtr<Sprite>& pPicture : m_lPictures)
        if (pPicture->isVisible()) return true;
    return false;
}

void ActionBalloon::showPicture(int n) {
    for (int i = 0; i < m_lPictures.getCount(); ++i) m_lPictures[i]->setVisible(m_bShown && i == n);
}

// ---- Clicks and the action -------------------------------------------------------

int ActionBalloon::getClickPriority(int x, int y) {
    for (const Zep::SmartPtr<Sprite>& pPicture : m_lPictures)
        if (pPicture->isVisible() && pPicture->hitTestBoxAt(x, y)) return pPicture->getZOrder();
    return -1;
}

// A glass the customer holds stops the order only while it has drink in it:
// a wrong drink waits to be taken back, but the empty glass handed over with
// the seat (or left from the last drink) must not keep it calling in vain.
bool ActionBalloon::canDoAction(int) {
    if (!m_pCustomer || getMode()->getBarmen().isEmpty()) return false;
    const int nState = m_pCustomer->getState();
    const bool bHandsFree = !m_pCustomer->hasMug() || m_pCustomer->getMug()->isEmpty();
    return (nState == 2 || nState == 3) && isVisible() && bHandsFree &&
           !getMode()->getOrders().isOutstanding(m_pCustomer);
}

void ActionBalloon::completeAction(int) {
    if (!m_pCustomer) return;
    getMode()->getOrders().place(Zep::SmartPtr<Character>(m_pCustomer), m_pCustomer->getOrderBeverage(),
                                 m_pCustomer->getOrderLiquids());
}
