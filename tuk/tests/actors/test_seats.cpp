// Seats and order balloons: the waitress's rules at a seat per carried state,
// what a seat does with mugs and customers, the balloon's pictures and its
// rule as an action target.
#include <string>

#include <gtest/gtest.h>

#include "actors/customerfixture.h"

namespace {

using bartest::CustomerTest;

class SeatTest : public CustomerTest {
protected:
    // Slots as letters: '-' free, 'F' full (not the order), 'M' full of the
    // order of the customer at seat 0, 'E' empty.
    void carry(const char* szSlots, const Character* pCustomer) {
        const int nSlots = static_cast<int>(std::string(szSlots).size());
        m_pMode->getLevelData().m_pWaitress = new Waitress(m_pMode, "char0_odile", 400, 620, nSlots);
        for (int i = 0; i < nSlots; ++i) waitress().setHandContents(mug(szSlots[i], pCustomer));
        for (int i = 0; i < nSlots; ++i)
            if (szSlots[i] == '-') waitress().takeHandContents(i);
    }
    Zep::SmartPtr<Mug> mug(char c, const Character* pCustomer) {
        if (c == 'M') return orderedMug(*pCustomer);
        if (c == 'E') return emptyMug();
        Zep::SmartPtr<Mug> pMug = fullMug("vaso", 0);
        if (pCustomer && pCustomer->matchesOrder(0, pMug->getLiquids())) pMug = fullMug("stem", 0);
        return pMug;
    }
    std::string carried() {
        std::string s;
        for (int i = 0; i < waitress().getCapacity(); ++i) {
            const Zep::SmartPtr<Mug> pMug = waitress().getHandContents(i);
            s += pMug.isNULL() ? '-' : pMug == m_pSeatMug ? 'S' : pMug->isEmpty() ? 'E' : 'F';
        }
        return s;
    }
    Zep::SmartPtr<Mug> m_pSeatMug;
};

}  // namespace

TEST_F(SeatTest, WaitressRulesPerSeatHandAndCarriedState) {
    const struct {
        const char* szSeat;  // "none", "mug" (standing), "waiting", "holding" (a wrong mug), "emptied", "drinking"
        const char* szCarried;
        int nHand;
        bool bCan;
        int nKind;
        const char* szAfter;  // carried, then the seat: '-' nothing, 'S' standing, the customer's state
    } kRows[] = {
        {"none", "--", 0, false, 0, ""},          {"none", "F-", 0, true, 0, "-- S"},
        {"none", "F-", 1, false, 0, ""},          {"none", "E-", 0, false, 0, ""},
        {"waiting", "-F", 1, true, 0, "-- 3"},    {"waiting", "FM--", 2, true, 0, "F--- 4"},
        {"waiting", "FF--", 2, true, 0, "-F-- 3"}, {"waiting", "EF--", 2, true, 0, "E--- 3"},
        {"waiting", "EE--", 2, false, 0, ""},     {"mug", "--", 0, true, 2, "S- -"},
        {"mug", "F-", 0, false, 2, ""},           {"mug", "F-", 1, true, 2, "FS -"},
        {"mug", "FF", 1, false, 2, ""},           {"mug", "FF--", 2, true, 2, "FFS- -"},
        {"mug", "FFFF", 2, false, 2, ""},         {"holding", "--", 0, true, 2, "S- 3"},
        {"holding", "-F", 1, false, 2, ""},       {"drinking", "--", 0, false, 2, ""},
        // Holding an empty glass while waiting: serving takes the glass first.
        {"emptied", "M-", 1, true, 2, "FS 3"},    {"emptied", "M-", 0, false, 2, ""},
    };
    for (const auto& row : kRows) {
        const std::string sSeat = row.szSeat, sCase = sSeat + " " + row.szCarried + " " + std::to_string(row.nHand);
        CharacterSpot& place = seat(sSeat == "none" || sSeat == "mug" ? 3 : 0);
        m_pSeatMug = nullptr;
        place.takeMug();
        Character* pCustomer = sSeat == "none" || sSeat == "mug" ? nullptr : &waiting();
        if (sSeat == "mug") place.putMug(m_pSeatMug = fullMug());
        if (sSeat == "holding") place.putMug(m_pSeatMug = mug('F', pCustomer));
        if (sSeat == "emptied") place.putMug(m_pSeatMug = emptyMug());
        if (sSeat == "drinking") {
            place.putMug(orderedMug(*pCustomer));
            until(*pCustomer, Character::kDrinking);
        }
        carry(row.szCarried, pCustomer);
        EXPECT_EQ(place.canDoAction(row.nHand), row.bCan) << sCase;
        EXPECT_EQ(place.beginAction(row.nHand), row.nKind) << sCase;
        if (!row.bCan) continue;
        place.completeAction(row.nHand);
        const std::string sHeld = pCustomer ? std::to_string(pCustomer->getState()) : place.hasMug() ? "S" : "-";
        EXPECT_EQ(carried() + " " + sHeld, row.szAfter) << sCase;
    }
}

TEST_F(SeatTest, SeatingHandsOverAStandingMugAndLeavingStandsItBackWithTheStars) {
    Zep::SmartPtr<Mug> pMug = fullMug();
    seat(1).putMug(pMug);
    EXPECT_TRUE(m_audio.m_vSamples.empty());  // no customer, no voice
    Character& c = customer("ana", 1);
    EXPECT_TRUE(!seat(1).hasMug() && c.getMug() == pMug);
    int x = 0, y = 0, z = 0;
    seat(1).getMugPosition(&x, &y, &z);
    EXPECT_EQ(x * 1000 + y, 308410);  // the customer's rest position
    seat(1).setHighlight(true);
    EXPECT_EQ(pMug->getShines().getFirst()->isVisible(), true);
    seat(1).releaseCharacter(&c);
    EXPECT_EQ(seat(1).getMug(), pMug);
    EXPECT_EQ(m_pMode->getCustomerResults().getLast(), 0);  // no stars earned
    Character& next = waiting("ana", 2);
    seat(2).putMug(orderedMug(next));
    ASSERT_EQ(m_audio.m_vSamples.size(), 3u);
    EXPECT_EQ(m_audio.m_vSamples[1].sName + " " + m_audio.m_vSamples[2].sName, "sfx_game_accept1 sfx_game_number");
}

TEST_F(SeatTest, BalloonPicturesCarryTheOrderAndTakeClicksOnlyWhileShown) {
    m_pMode->getLevelData().m_lLiquids = Zep::List<int>{3};
    Character& c = waiting();
    ActionBalloon& balloon = *c.getBalloon();
    ASSERT_EQ(balloon.getPictures().getCount(), 3);
    // Glass, liquid, plus, liquid: 102 pixels wide, centred on the upper
    // three quarters of the 110 x 70 picture, on a private copy.
    const Zep::SmartPtr<Image> pPicture = balloon.getPictures()[1]->getImage();
    EXPECT_NE(pPicture.get(), m_app.getImage("balloon_1").get());
    // The red icons take the green out of the white balloon.
    const struct {
        int x, y, nGreen;
    } kPixels[] = {{3, 14, 255}, {4, 14, 0}, {105, 37, 0}, {106, 37, 255}, {27, 20, 0}, {28, 20, 255}, {4, 13, 255}};
    for (const auto& pixel : kPixels)
        EXPECT_EQ(imagetest::dataPixel(*pPicture, pixel.x, pixel.y).getGreen(), pixel.nGreen)
            << pixel.x << "," << pixel.y;
    EXPECT_EQ(imagetest::dataPixel(*m_app.getImage("balloon_1"), 4, 14).getGreen(), 255);
    // Shown on entering the state, all of them; the next update's meter
    // keeps look 0 of three while patience is high.
    auto shown = [&] {
        int n = 0;
        for (const Zep::SmartPtr<Sprite>& pSprite : balloon.getPictures()) n += pSprite->isVisible();
        return n;
    };
    EXPECT_EQ(shown(), 3);
    c.update(0.0f);
    EXPECT_EQ(shown(), 1);
    EXPECT_TRUE(balloon.getPictures()[0]->isVisible());
    int x = 0, y = 0;
    balloon.getPictures()[0]->getPosition(&x, &y);
    EXPECT_EQ(balloon.getClickPriority(x + 5, y + 5), 210);
    EXPECT_EQ(balloon.getClickPriority(x - 5, y + 5), -1);

    // The action: state 2 or 3, shown, a barman in the level, and no drink
    // in the customer's hand: a wrong full mug stops the order, an empty
    // glass (the last guest's, handed over with the seat) does not.
    const struct {
        bool bBarman, bHidden;
        char cMug;  // '-' none, 'F' full and wrong, 'E' empty
        int nState;
        bool bCan;
    } kRows[] = {{false, false, '-', 3, false}, {true, false, '-', 3, true}, {true, false, '-', 2, true},
                 {true, false, '-', 1, false},  {true, true, '-', 3, false}, {true, false, 'F', 3, false},
                 {true, false, 'E', 3, true},   {true, false, 'E', 2, true}, {true, false, 'E', 1, false}};
    for (const auto& row : kRows) {
        if (row.bBarman && m_pMode->getBarmen().isEmpty()) m_pMode->addBarman(new Barman(60, 330, 40, 1, m_pMode));
        Character& customer = this->customer("ana", 1);
        ActionBalloon& target = *customer.getBalloon();
        until(customer, row.nState);
        if (row.bHidden) target.setVisible(false);
        if (row.cMug != '-') seat(1).putMug(mug(row.cMug, &customer));
        ASSERT_EQ(customer.hasMug(), row.cMug != '-');
        for (int nHand : {0, 1, 2}) {
            EXPECT_EQ(target.canDoAction(nHand), row.bCan) << row.nState << row.bBarman << row.bHidden << row.cMug;
            EXPECT_EQ(target.beginAction(nHand), 2);
        }
        if (row.bHidden) {
            EXPECT_EQ(target.getClickPriority(x + 5, y + 5), -1);
        }
    }
}
