// The juice machines' purchases played in the demo bar on the test kit, with
// presses of the mouse: the barman who stands where machine 0 stood works
// beside the house's barman, each on an order of his own, and both drinks
// stand on barmen's glass spots; with his second glass the spot tagged
// "barman_0_a" takes a drink too; and at machine 1 the waitress presses a
// glass and a fruit, takes the drink it makes and serves it.
#include <string>
#include <utility>

#include <zep2/resource.h>

#include "actors/barman.h"
#include "actors/drinkmachine.h"
#include "level/levelplay_util.h"
#include "level/scenelines.h"

namespace {

using leveltest::DemoLevel;

constexpr int kMaxFrames = 3000;

class MachinesPlay : public DemoLevel {
protected:
    // The level entered with the upgrade levels (digits, kind 0 first) and
    // built.
    PlayMode& enterWith(const char* szLevels) {
        for (int i = 0; i < TUKPlayer::kUpgradeKinds; ++i) m_player.setUpgradeLevel(i, szLevels[i] - '0');
        PlayMode& level = enter();
        EXPECT_TRUE(playUntil([&] { return m_app.getTopMode() == &level && level.canTakeClick(); }));
        return level;
    }
    // Frames until the condition holds (at most kMaxFrames); false when it
    // never did.
    template <class F>
    bool playUntil(F holds) {
        for (int i = 0; i < kMaxFrames; ++i) {
            if (holds()) return true;
            frames();
        }
        return holds();
    }
    // The first customer who calls for her order, and no other, once one does.
    Character* nextCaller(const Character* pOther = nullptr) {
        Character* pFound = nullptr;
        playUntil([&] {
            for (const Zep::SmartPtr<Character>& pCustomer : m_pLevel->getCharacters())
                if (pCustomer.get() != pOther && pCustomer->getState() == Character::kCalling &&
                    pCustomer->getBalloon()->canDoAction(0))
                    return (pFound = pCustomer.get()) != nullptr;
            return false;
        });
        return pFound;
    }
    // A press on her balloon, as the waitress can take it, and the frames
    // until the bar has her order.
    bool takeOrder(Character& customer) {
        if (!playUntil([&] { return m_pLevel->canTakeClick(); })) return false;
        const ActionBalloon& balloon = *customer.getBalloon();
        for (const Zep::SmartPtr<Sprite>& pPicture : balloon.getPictures())
            if (pPicture->isVisible() && pressOn(customer.getBalloon().get(), pPicture->getBoundingRect()))
                return playUntil([&] { return m_pLevel->getOrders().isOutstanding(&customer); });
        return false;
    }
    // A press in the middle of the sprite on whatever the level gives it to.
    void pressOnSprite(const Sprite& sprite) {
        const Rect r = sprite.getBoundingRect();
        IClickListener* pListener =
            m_pLevel->findClickListener((r.getLeft() + r.getRight()) / 2, (r.getTop() + r.getBottom()) / 2);
        ASSERT_TRUE(pListener);
        ASSERT_TRUE(playUntil([&] { return m_pLevel->canTakeClick(); }));
        ASSERT_TRUE(pressOn(pListener, r));
        frames();
    }
    // "x": a mug on the barman's glass spot, "-" none, in the scene's order.
    std::string barmenSpots() {
        std::string s;
        for (const Zep::SmartPtr<GlassSpot>& pSpot : m_pLevel->getGlassSpots())
            if (pSpot->isBarmanSpot()) s += pSpot->hasMug() ? "x" : "-";
        return s;
    }
    // The glass spot of the scene's line with the tag.
    Zep::SmartPtr<GlassSpot> taggedSpot(const char* szTag) {
        for (const scenelines::Line& line : scenelines::splitLines(m_app.getResource("scene0.scene")->asString()))
            if (line.lTokens[0] == "actionspot_conditional" && line.lTokens.getLast() == szTag)
                for (const Zep::SmartPtr<GlassSpot>& pSpot : m_pLevel->getGlassSpots())
                    if (pSpot->getSprite()->getX() == line.lTokens[2].toInt() &&
                        pSpot->getSprite()->getY() == line.lTokens[3].toInt())
                        return pSpot;
        return nullptr;
    }
    static bool holdsOrderOf(const Zep::SmartPtr<Mug>& pMug, const Character& customer) {
        return pMug.notNULL() && pMug->isFull() && customer.matchesOrder(pMug->getBeverage(), pMug->getLiquids());
    }
};

}  // namespace

TEST_F(MachinesPlay, MachineZerosBarmanWorksBesideTheHouseBarmanOnAnOrderOfHisOwn) {
    PlayMode& level = enterWith("0000002000000");
    ASSERT_EQ(level.getBarmen().getCount(), 2);
    EXPECT_TRUE(level.getLevelData().m_lDrinkMachines.isEmpty());
    EXPECT_EQ(barmenSpots(), "----");
    // Two customers call; the waitress takes their orders one after the other.
    Character* pFirst = nextCaller();
    Character* pSecond = nextCaller(pFirst);
    ASSERT_TRUE(pFirst && pSecond);
    ASSERT_TRUE(takeOrder(*pFirst) && takeOrder(*pSecond));
    // Both at work at once, each on an order of his own.
    const auto working = [&] {
        std::string s;
        for (const Zep::SmartPtr<Barman>& pBarman : level.getBarmen())
            s += pBarman->getSprite()->getSequenceName() == "work" && pBarman->getOrder().notNULL() ? "w" : "-";
        return s;
    };
    ASSERT_TRUE(playUntil([&] { return working() == "ww"; })) << working();
    EXPECT_NE(level.getBarmen()[0]->getOrder(), level.getBarmen()[1]->getOrder());
    ASSERT_TRUE(playUntil([&] { return barmenSpots() == "xx--"; })) << barmenSpots();
    EXPECT_TRUE(holdsOrderOf(level.getGlassSpots()[0]->getMug(), *pFirst));
    EXPECT_TRUE(holdsOrderOf(level.getGlassSpots()[1]->getMug(), *pSecond));
    EXPECT_EQ(working(), "--");
}

TEST_F(MachinesPlay, WithHisSecondGlassTheSpotTaggedBarmanZeroATakesADrink) {
    PlayMode& level = enterWith("0000003000000");
    const Zep::SmartPtr<GlassSpot> pSecondGlass = taggedSpot("barman_0_a");
    ASSERT_TRUE(pSecondGlass.notNULL());
    ASSERT_TRUE(pSecondGlass->isBarmanSpot());
    EXPECT_EQ(barmenSpots(), "-----");
    // Every other barman's glass spot holds a drink nobody ordered.
    for (const Zep::SmartPtr<GlassSpot>& pSpot : level.getGlassSpots())
        if (pSpot->isBarmanSpot() && pSpot != pSecondGlass) {
            const Zep::SmartPtr<Mug> pMug = Mug::create(&level, "vaso");
            pMug->setLiquids(Zep::List<int>{5, 5});
            pMug->fill();
            level.getLevelData().m_lMugs.add(pMug);
            pSpot->putMug(pMug, true);
        }
    Character* pCustomer = nextCaller();
    ASSERT_TRUE(pCustomer && takeOrder(*pCustomer));
    ASSERT_TRUE(playUntil([&] { return pSecondGlass->hasMug(); }));
    EXPECT_TRUE(holdsOrderOf(pSecondGlass->getMug(), *pCustomer));
    EXPECT_EQ(barmenSpots(), "xxxxx");
}

TEST_F(MachinesPlay, AtMachineOneTheWaitressMakesADrinkAndServesIt) {
    PlayMode& level = enterWith("0000000100000");
    const Zep::List<Zep::SmartPtr<DrinkMachine>>& lMachines = level.getLevelData().m_lDrinkMachines;
    ASSERT_EQ(lMachines.getCount(), 1);
    DrinkMachine& machine = *lMachines.getFirst();
    ASSERT_EQ(machine.getId(), 1);
    Character* pCustomer = nextCaller();
    ASSERT_TRUE(pCustomer);
    const int nBeverage = pCustomer->getOrderBeverage(), nLiquid = pCustomer->getOrderLiquids().getFirst();
    ASSERT_EQ(pCustomer->getOrderLiquids().getLast(), nLiquid);
    pressOnSprite(*machine.getBeverageButton(nBeverage));
    ASSERT_TRUE(playUntil([&] { return machine.getSelectedBeverage() == nBeverage; }));
    pressOnSprite(*machine.getLiquidButton(nLiquid));
    ASSERT_TRUE(playUntil([&] { return machine.getSprite()->getSequenceName() == "funcionando"; }));
    // The machine hands its drink to her where she stands.
    Waitress& waitress = *level.getLevelData().m_pWaitress;
    ASSERT_TRUE(playUntil([&] { return waitress.countCarriedItems() == 1; }));
    Zep::SmartPtr<Mug> pMug;
    for (int i = 0; pMug.isNULL() && i < waitress.getCapacity(); ++i) pMug = waitress.getHandContents(i);
    EXPECT_TRUE(holdsOrderOf(pMug, *pCustomer));
    const CharacterSpot& seat = *level.getLevelData().m_lCharacterSpots[pCustomer->getSpot()];
    pressOnSprite(*seat.getSprite());
    ASSERT_TRUE(playUntil([&] { return level.getLevelData().m_nDayMoney > 0; }));
    EXPECT_EQ(level.getLevelData().m_nDayMoney, 100);
    EXPECT_EQ(waitress.countCarriedItems(), 0);
}
