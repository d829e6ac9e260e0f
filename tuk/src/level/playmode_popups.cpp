// The level's popups: money, stars and time, each rising off the bar
// (playmode.h).
#include <memory>

#include "application/gameapp.h"
#include "records/gamesound.h"
#include "level/playmode.h"
#include "effects/sc_fade.h"
#include "effects/sc_motion.h"
#include "effects/sc_playanim.h"
#include "effects/sc_sequence.h"
#include "ui/ui_label.h"

namespace {

constexpr int kMoneyRise = 40;
constexpr int kStarRise = 80;
constexpr int kTimeRise = 30;
constexpr float kPopupSeconds = 1.0f;
constexpr int kClockGap = 12;  // between a time popup and the clock (past the clock's plate)
constexpr const char* kPopupFont = "Sand::LabelText";
// A time popup's white letters stand out of whatever they rise over.
const Color kTimeShadow(60, 40, 20, 255);

}  // namespace

// Up by nRise pixels over the time, fading out on request; then out of the
// mode.
void PlayMode::risePopup(const Zep::SmartPtr<Sprite>& pSprite, int nRise, float fSeconds, bool bFade) {
    addSprite(pSprite);
    ControllerList lTogether;
    lTogether.push_back(std::make_unique<SCLinearPath>(Point(0.0f, static_cast<float>(-nRise)), fSeconds,
                                                       SCLinearPath::kDuration));
    if (bFade) lTogether.push_back(std::make_unique<SCLinearFade>(1.0f, 0.0f, fSeconds, true));
    auto pQueue = std::make_unique<SCQueue>();
    pQueue->add(std::make_unique<SCSet>(std::move(lTogether)));
    pQueue->add(std::make_unique<SCRemove>());
    pSprite->addController(std::move(pQueue));
}

void PlayMode::showMoneyPopup(int x, int y) {
    Popup popup;
    popup.eKind = Popup::kMoney;
    popup.x = x;
    popup.y = y;
    m_lPopups.add(popup);
    risePopup(new Sprite(getImage("popup_money"), x, y, kPopupZOrder), kMoneyRise, kPopupSeconds, true);
    playGameSound("sfx_game_number");
}

void PlayMode::showStarBonus(int nSpot, int nStars) {
    if (nStars == 0 || getGameKind() == 1) return;
    Popup popup;
    popup.eKind = Popup::kStars;
    popup.nSpot = nSpot;
    popup.nValue = nStars;
    m_lPopups.add(popup);
    int x = 0, y = 0;
    const Zep::List<Zep::SmartPtr<CharacterSpot>>& lSeats = m_levelData.m_lCharacterSpots;
    if (nSpot >= 0 && nSpot < lSeats.getCount()) {
        const CharacterSpot& seat = *lSeats.get(nSpot);
        if (seat.getSprite().notNULL()) seat.getSprite()->getPosition(&x, &y);
        else seat.getPosition(&x, &y);
    }
    Zep::SmartPtr<AnimSprite> pStar = new AnimSprite(getApp()->getAnimation("m_star.anim"), x, y, kPopupZOrder);
    pStar->addController(std::make_unique<SCPlayAnimation>(false, false));
    risePopup(pStar.get(), kStarRise, kPopupSeconds, false);
    playGameSound("sfx_game_star");
}

void PlayMode::showTimePopup(int x, int y, const char* szText, int nRed, int nGreen, int nBlue, float fSeconds) {
    Popup popup;
    popup.eKind = Popup::kTime;
    popup.x = x;
    popup.y = y;
    popup.sText = szText;
    popup.color = Color(static_cast<uint8_t>(nRed), static_cast<uint8_t>(nGreen), static_cast<uint8_t>(nBlue), 255);
    popup.fSeconds = fSeconds;
    m_lPopups.add(popup);
    Zep::SmartPtr<Label> pLabel = new Label(szText, x, y, kPopupZOrder);
    pLabel->setFont(getFont(kPopupFont));
    pLabel->setTextColor(popup.color);
    pLabel->setShadowColor(kTimeShadow);
    risePopup(pLabel.get(), kTimeRise, fSeconds, true);
}

// Left of the clock, on its line: rising, it leaves by the screen's top
// edge, over the wall, clear of the guests' balloons below.
void PlayMode::clockPopupPoint(const char* szText, int& x, int& y) const {
    if (!m_pHud) return;
    const Rect clock = m_pHud->getTimeLabel()->getBoundingRect();
    Label probe(szText);
    probe.setFont(getFont(kPopupFont));
    x = clock.getLeft() - kClockGap - probe.getWidth();
    y = clock.getTop();
}
