// The customer: construction, body, balloon, the mug at the hand, leaving
// the level (character.h).
#include "actors/character.h"

#include <algorithm>
#include <cstdlib>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "records/gamerandom.h"
#include "level/playmode.h"
#include "records/upgrademanager.h"

namespace {

constexpr const char* kZepSource = ".\\src\\character";

constexpr float kMinPatience = 5.0f;
constexpr int kShowsUpgrade = 12;

struct SeatBalloon {
    const char* szSequence;
    int dx, dy;
};
// Ordinary seats 0 to 3, from (x, y - 100).
constexpr SeatBalloon kSeatBalloons[] = {
    {"standl_der", 8, 46}, {"standu_izq", 4, 40}, {"standu_der", 4, 40}, {"standl_izq", -8, 46}};
constexpr int kBalloonRise = 100;
constexpr int kBalloonZ = 10;
constexpr int kMeterDx = -31, kMeterDy = 25;
// VIPs: balloon and meter by the direction they face.
constexpr int kVipBalloonRightDx = 80, kVipBalloonLeftDx = -83, kVipBalloonDy = -120;
constexpr int kVipMeterRightDx = 112, kVipMeterLeftDx = -165, kVipMeterDy = -150;
constexpr int kVipBalloonRight = 4, kVipBalloonLeft = 5;
// The mug's z above the reference part: held, and while drinking.
constexpr int kMugAboveArm = 6, kMugAboveArmDrinking = 0, kVipMugAboveDrinking = 1;
constexpr int kMugRestZ = 3;
constexpr int kVipMugPart = 10, kVipMugZPart = 15;
constexpr int kPopupRise = 60;

void require(bool bHolds, const char* szMessage, int nLine) {
    if (!bHolds) throw Zep::AssertFailException(kZepSource, nLine, szMessage);
}

int intProp(const Zep::String& sValue) { return static_cast<int>(std::strtol(sValue.c_str(), nullptr, 10)); }

// The current frame's property; "" when the sprite plays no sequence.
int frameProp(const AnimSprite& sprite, const char* szName) {
    const Zep::SmartPtr<Animation> pAnimation = sprite.getAnimation();
    if (pAnimation.isNULL() || !pAnimation->hasSequence(sprite.getSequenceName().c_str())) return 0;
    return intProp(sprite.getFrameProp(szName));
}

int animationProp(const AnimSprite& sprite, const char* szName) {
    const Zep::SmartPtr<Animation> pAnimation = sprite.getAnimation();
    return pAnimation.isNULL() ? 0 : intProp(pAnimation->getProp(szName, false));
}

int insPointX(const Sprite& sprite) { return sprite.getImage().notNULL() ? sprite.getImage()->getInsPointX() : 0; }
int insPointY(const Sprite& sprite) { return sprite.getImage().notNULL() ? sprite.getImage()->getInsPointY() : 0; }

void removeFromItsMode(const Zep::SmartPtr<Sprite>& pSprite) {
    if (pSprite.notNULL() && pSprite->getMode()) pSprite->getMode()->removeSprite(pSprite);
}

}  // namespace

Character::Character(PlayMode* pMode, const char* szName, int nSpot, int x, int y, int nDepth, bool bVip,
                     int nDirection, int nVoice)
    : m_sName(szName),
      m_nSpot(nSpot),
      m_pMode(pMode),
      m_bIsVip(bVip),
      m_eKind(CharacterBody::kindOf(szName, bVip)),
      m_sAnimation(Zep::String::format("ch_%s.anim", szName)),
      m_nDepth(nDepth),
      m_nVoice(nVoice) {
    loadContent(nSpot, bVip, nDirection);
    const LevelData& data = pMode->getLevelData();
    m_fPatience = data.m_fBasePatience +
                  static_cast<float>(UpgradeManager::effectValue(kShowsUpgrade, data.m_nUpgradeLevel12));
    m_fPatience = std::max(m_fPatience, kMinPatience);
    m_fMaxPatience = m_fPatience;
    if (bVip) buildVip(x, y, nDirection);
    else buildOrdinary(x, y);
    m_pMode->addClickListener(m_pActionBalloon.get());
    m_pActionBalloon->setCustomer(this);
    initVisit();
    chooseOrder();
    setState(kEntering);
    m_pActionBalloon->setVisible(false);
    m_pActionBalloon->setAlpha(0.0f);
    setMeterAlpha(0.0f);
}

Character::~Character() = default;

// What can fail comes first, before any sprite enters the mode: the
// animations (cached for the builders) and the level's liquids.
void Character::loadContent(int nSpot, bool bVip, int nDirection) {
    GameApp& app = *GameApp::getInstance();
    app.getAnimation(m_sAnimation.c_str());
    app.getAnimation(bVip ? "medidor.anim" : "medidor_flat.anim");
    loadBalloon(bVip ? (nDirection == 1 ? "vip_der" : "vip_izq") : kSeatBalloons[std::clamp(nSpot, 0, 3)].szSequence);
    require(!m_pMode->getLevelData().m_lLiquids.isEmpty(), "Assertion failed : !lLiquids.isEmpty()", __LINE__);
}

Zep::SmartPtr<Animation> Character::loadBalloon(const char* szSequence) {
    Zep::List<Zep::String> lParams;
    lParams.add(szSequence);
    const Zep::String sKey = Zep::String("balloon") + szSequence;
    return GameApp::getInstance()->loadAnimation("balloon.template", sKey.c_str(), lParams);
}

void Character::buildOrdinary(int x, int y) {
    createMeter(x + kMeterDx, y + kMeterDy, m_nDepth, false);
    const SeatBalloon& seat = kSeatBalloons[std::clamp(m_nSpot, 0, 3)];
    buildBalloon(seat.szSequence, x + seat.dx, y - kBalloonRise + seat.dy, m_nSpot);
    m_nDirection = std::rand() % 10 == 0 ? -1 : 1;
    buildBody(x, y, m_nDepth + m_nSpot, static_cast<float>(m_nDirection), 1.0f);
}

void Character::buildVip(int x, int y, int nDirection) {
    m_nDirection = nDirection;
    const bool bRight = nDirection == 1;
    buildBalloon(bRight ? "vip_der" : "vip_izq", x + (bRight ? kVipBalloonRightDx : kVipBalloonLeftDx),
                 y + kVipBalloonDy, bRight ? kVipBalloonRight : kVipBalloonLeft);
    createMeter(x + (bRight ? kVipMeterRightDx : kVipMeterLeftDx), y + kVipMeterDy, m_nDepth, true);
    buildBody(x, y, m_nDepth, static_cast<float>(nDirection) * kVipScale, kVipScale);
}

void Character::buildBalloon(const char* szSequence, int x, int y, int nIndex) {
    m_pBalloonSprite = new AnimSprite(loadBalloon(szSequence), x, y, m_nDepth + kBalloonZ);
    m_pMode->addSprite(m_pBalloonSprite);
    m_pActionBalloon = new ActionBalloon(m_pMode, m_pBalloonSprite->getBoundingRect(), "n", nIndex);
    m_pActionBalloon->attachSprite(m_pBalloonSprite);
    m_pActionBalloon->setName(Zep::String::format("balloon of seat %d", m_nSpot));
    // The order is taken standing where the seat is served, on the floor,
    // not under the balloon up in the air.
    const Zep::List<Zep::SmartPtr<CharacterSpot>>& lSeats = m_pMode->getLevelData().m_lCharacterSpots;
    if (m_nSpot >= 0 && m_nSpot < lSeats.getCount()) m_pActionBalloon->setWalkRect(lSeats.get(m_nSpot)->getWalkRect());
}

void Character::buildBody(int x, int y, int nZBase, float fScaleX, float fScaleY) {
    const Zep::SmartPtr<Animation> pAnimation = GameApp::getInstance()->getAnimation(m_sAnimation.c_str());
    for (int i = 0; i < CharacterBody::partCount(m_eKind); ++i) {
        Zep::SmartPtr<AnimSprite> pPart =
            new AnimSprite(pAnimation, x, y, nZBase + CharacterBody::part(m_eKind, i).nZOffset);
        m_pMode->addSprite(pPart);
        if (fScaleX != 1.0f || fScaleY != 1.0f) pPart->setScale(fScaleX, fScaleY);
        pPart->setAlpha(0.0f);
        m_lMoveSprites.add(pPart);
    }
}

void Character::initVisit() {
    const int n = m_pMode->getLevelData().m_nDrinksPerCustomer;
    m_nDrinksWanted = n == 1 ? 1 : gameRandom().randInt(n, n + 1);
    m_nDrinksHad = 0;
    m_nStars = 0;
}

// ---- Queries -------------------------------------------------------------------------

Zep::SmartPtr<Sprite> Character::getSprite() const { return m_lMoveSprites.getFirst(); }

void Character::getStars(int& nStars, int& nBonus) const {
    nStars = m_bSatisfied ? m_nStars : 0;
    nBonus = 0;
}

bool Character::isArmBusy() const {
    if (!m_bIsVip) return m_lMoveSprites[1]->isPlaying();
    for (int nPart : {0, 5}) {
        const AnimSprite& arm = *m_lMoveSprites[nPart];
        if (arm.isPlaying() && arm.hasFrameProp("waitfinish") && arm.getFrameProp("waitfinish") == "true")
            return true;
    }
    return false;
}

// ---- The mug at the hand ---------------------------------------------------------------

void Character::placeMug() {
    const bool bDrinking = m_nState == kDrinking;
    int x = 0, y = 0, z = 0;
    if (!m_bIsVip) {
        const AnimSprite& arm = *m_lMoveSprites[1];
        x = arm.getX() + static_cast<int>(arm.getScaleX()) * frameProp(arm, "mugx");
        y = arm.getY() + frameProp(arm, "mugy") - insPointY(arm);
        z = arm.getZOrder() + (bDrinking ? kMugAboveArmDrinking : kMugAboveArm);
    } else {
        const AnimSprite& arm = *m_lMoveSprites[0];
        const int mx = frameProp(arm, "mugx") * (arm.getScaleX() < 0.0f ? -1 : 1);
        x = m_lMoveSprites[kVipMugPart]->getX() + mx - insPointX(arm);
        y = arm.getY() + frameProp(arm, "mugy");
        z = m_lMoveSprites[kVipMugZPart]->getZOrder() + (bDrinking ? kVipMugAboveDrinking : kMugAboveArm);
    }
    m_pMug->setPosition(x, y, z);
}

void Character::getMugRestPosition(int& x, int& y, int& z) const {
    const AnimSprite& arm = *m_lMoveSprites[m_bIsVip ? 0 : 1];
    const int mx = animationProp(arm, "mugx"), my = animationProp(arm, "mugy");
    if (!m_bIsVip) {
        x = arm.getX() + static_cast<int>(arm.getScaleX()) * mx;
        y = arm.getY() + my - insPointY(arm);
    } else {
        x = arm.getX() + (arm.getScaleX() < 0.0f ? -mx : mx);
        y = arm.getY() + my;
    }
    z = m_nDepth + kMugRestZ;
}

// An ordinary customer's body part 0 (60 pixels higher for a service), a
// VIP's balloon.
void Character::popupPoint(int& x, int& y, bool bServed) const {
    if (m_bIsVip) {
        m_pBalloonSprite->getPosition(&x, &y);
        return;
    }
    m_lMoveSprites[0]->getPosition(&x, &y);
    if (bServed) y -= kPopupRise;
}

// ---- Leaving the level -------------------------------------------------------------------

void Character::removeSprites() {
    m_pActionBalloon->removeSprites();
    for (const Zep::SmartPtr<AnimSprite>& pPart : m_lMoveSprites) removeFromItsMode(pPart);
    m_lMoveSprites.clear();
    removeFromItsMode(m_pBalloonSprite);
    removeMeter();
}

void Character::detach() {
    if (!m_pMode) return;
    removeSprites();
    m_pActionBalloon->setCustomer(nullptr);
    m_pMode->removeClickListener(m_pActionBalloon.get());
    if (GameApp* pApp = GameApp::getInstance()) pApp->releaseAnimation(m_sAnimation.c_str());
    m_pMode = nullptr;
}
