// The level's HUD over the demo content, measured in the boxes of its real
// pictures and fonts: the Options button whole in the top row between the
// money and the clock, clear of every chair, guest, balloon and meter with
// every upgrade bought; and a time bonus rising beside the
// clock, clear of the money, of the coin that rises where the customer paid
// and of the balloons.
#include <string>

#include "actors/actionballoon.h"
#include "actors/characterspot.h"
#include "level/demoscene_util.h"
#include "level/levelplay_util.h"
#include "level/opaqueboxes_util.h"
#include "level/spawnmanager.h"
#include "records/upgrademanager.h"

namespace {

using demoscene::boxText;
using leveltest::DemoLevel;

const Rect kScreen(0, 0, 800, 600);

Rect moved(const Rect& box, int dx, int dy) {
    return Rect(box.getLeft() + dx, box.getTop() + dy, box.getRight() + dx, box.getBottom() + dy);
}

// The box moved up by nRise pixels, with the room it crossed.
Rect risen(const Rect& box, int nRise) { return box.unite(moved(box, 0, -nRise)); }

// A popup as the level lists it, and the sprite it put up.
struct Shown {
    PlayMode::Popup popup;
    Zep::SmartPtr<Sprite> pSprite;
};

class LevelHudLayout : public DemoLevel {
protected:
    // Every upgrade at its last level: both tables, all four chairs.
    void buyEverything() {
        for (int nKind = 0; nKind < UpgradeManager::kKinds; ++nKind)
            m_player.setUpgradeLevel(nKind, UpgradeManager::getLevelCount(nKind) - 1);
    }
    // What the player must see or reach in the bar with a guest at every
    // seat that the box covers: the chairs' pictures, any pixel any picture
    // of the guests and their meters paints, the balloons as they pulse.
    std::string coveredIn(PlayMode& level, const Rect& box) {
        SpawnManager seating(&level);
        while (seating.spawn().notNULL()) {
        }
        std::string s;
        const auto note = [&](const std::string& sWhat, const Rect& shown) {
            s += "\n  " + sWhat + " " + boxText(shown);
        };
        for (const Zep::SmartPtr<Sprite>& pSprite : level.getAllSprites())
            if (pSprite->getImage().notNULL() && pSprite->getImage()->getName().find("silla") == 0 &&
                m_boxes.of(*pSprite).intersects(box))
                note("chair", m_boxes.of(*pSprite));
        for (const Zep::SmartPtr<Character>& pGuest : level.getCharacters()) {
            const std::string sSeat = "seat " + std::to_string(pGuest->getSpot());
            if (const Rect area = demoscene::balloonArea(*pGuest->getBalloon()); area.intersects(box))
                note(sSeat + " balloon", area);
            for (const auto* pList : {&pGuest->getMeterSprites(), &pGuest->getBodySprites()})
                for (const Zep::SmartPtr<AnimSprite>& pPart : *pList)
                    if (demoscene::paintsInto(*pPart, box))
                        note(sSeat + " " + pPart->getAnimation()->getName().c_str(), m_boxes.of(*pPart));
        }
        return s;
    }
    // Played by the scripted waiter until a popup of the kind shows (at
    // most 20000 frames), with the sprite it put up.
    Shown playUntil(PlayMode& level, PlayMode::Popup::Kind eKind) {
        for (int i = 0; i < 20000; ++i) {
            for (const PlayMode::Popup& popup : level.getPopups())
                if (popup.eKind == eKind) return {popup, spriteOf(level, popup)};
            playerMove();
            frames();
        }
        return {};
    }
    // The time popup's label of its text, or the money popup's coin.
    static Zep::SmartPtr<Sprite> spriteOf(PlayMode& level, const PlayMode::Popup& popup) {
        const bool bTime = popup.eKind == PlayMode::Popup::kTime;
        for (const Zep::SmartPtr<Sprite>& pSprite : level.getAllSprites()) {
            const Label* pLabel = dynamic_cast<const Label*>(pSprite.get());
            const Zep::SmartPtr<Image> pImage = pSprite->getImage();
            if (bTime ? pLabel && pLabel->getText() == popup.sText
                      : !pLabel && pImage.notNULL() && pImage->getName() == "popup_money")
                return pSprite;
        }
        return nullptr;
    }
    // Where the popup's picture paints as it appears at its point.
    Rect startBox(const Shown& shown) {
        return moved(m_boxes.of(shown.pSprite->getImage()), shown.popup.x, shown.popup.y);
    }

    demoscene::OpaqueBoxes m_boxes;
};

}  // namespace

TEST_F(LevelHudLayout, TheOptionsButtonStandsWholeInTheTopRowBetweenThePlatesOverNothingOfTheBar) {
    buyEverything();
    PlayMode& level = enter();
    frames(3);
    const LevelHud& hud = *level.getHud();
    ASSERT_TRUE(hud.getMoneyPlate().notNULL() && hud.getTimePlate().notNULL());
    const Rect money = m_boxes.of(*hud.getMoneyPlate()), clock = m_boxes.of(*hud.getTimePlate());
    const Button& options = *hud.getOptionsButton();
    const Rect box = options.getBoundingRect();
    EXPECT_EQ(boxText(kScreen.intersect(box)), boxText(box));
    const int nLeft = (800 - options.getWidth()) / 2;
    EXPECT_EQ(boxText(box), boxText(Rect(nLeft, money.getTop(), nLeft + options.getWidth(),
                                         money.getTop() + options.getHeight())));
    EXPECT_EQ(money.getTop(), clock.getTop());
    EXPECT_FALSE(box.intersects(money) || box.intersects(clock)) << boxText(money) << boxText(clock);
    EXPECT_EQ(coveredIn(level, box), "") << "under Options " << boxText(box);
}

// It rises from just left of the clock, on the clock's line, and leaves by
// the top edge: over the wall, never below the clock where the standing
// guests' balloons are.
TEST_F(LevelHudLayout, ATimeBonusRisesBesideTheClockClearOfTheMoneyTheCoinOfThatServiceAndTheBalloons) {
    PlayMode& level = enter(1);
    const Shown bonus = playUntil(level, PlayMode::Popup::kTime);
    const Shown coin = playUntil(level, PlayMode::Popup::kMoney);
    ASSERT_TRUE(bonus.pSprite.notNULL() && coin.pSprite.notNULL());
    const Rect start = startBox(bonus), time = risen(start, 30), paid = risen(startBox(coin), 40);
    const LevelHud& hud = *level.getHud();
    const Label& label = *hud.getMoneyLabel();
    const Rect money = moved(m_boxes.of(label.getImage()), label.getX(), label.getY());
    const Rect clock = hud.getTimeLabel()->getBoundingRect();
    EXPECT_FALSE(time.intersects(paid)) << boxText(time) << " over the coin " << boxText(paid);
    EXPECT_FALSE(time.intersects(money)) << boxText(time) << " over the money " << boxText(money);
    EXPECT_TRUE(start.getTop() > clock.getTop() && start.getBottom() < clock.getBottom())
        << boxText(start) << " on the line of " << boxText(clock);
    EXPECT_GE(clock.getLeft() - time.getRight(), 8) << boxText(time) << " beside " << boxText(clock);
    EXPECT_LE(clock.getLeft() - time.getRight(), 20) << boxText(time) << " beside " << boxText(clock);
    for (const Zep::SmartPtr<Character>& pGuest : level.getCharacters()) {
        const Rect balloon = demoscene::balloonArea(*pGuest->getBalloon());
        EXPECT_FALSE(time.intersects(balloon)) << boxText(time) << " over the balloon " << boxText(balloon);
    }
}
