// Unusual bars: a parrot whose perch lies on a mug, straight above one or
// off the screen, a level without a sink, and a machine given too many
// buttons.
#include <string>

#include <gtest/gtest.h>

#include "actors/actorfixture.h"

namespace {

class HostileBar : public bartest::ActorTest {
protected:
    int countInLog(const std::string& sLine) {
        const std::string sLog = m_files.logText();
        int n = 0;
        for (size_t i = sLog.find(sLine); i != std::string::npos; i = sLog.find(sLine, i + 1)) ++n;
        return n;
    }
};

}  // namespace

TEST_F(HostileBar, ParrotPerchedOnAMugAboveOneOrOffTheScreenNeverFails) {
    const struct {
        int x, y;
        int nUpdates;
        const char* szAfter;  // "carried state x,y"
    } kRows[] = {
        {240, 500, 1, "1 0 240,500"},  // a leg of no length arrives at once
        {240, 300, 2, "1 0 240,500"},  // straight below: arrived on the first step
        {-20, -30, 2, "0 1 0,0"},      // held at 0 instead of failing
    };
    for (const auto& row : kRows) {
        seat(1).takeMug();
        seat(1).putMug(emptyMug());
        m_pMode->setParrot(new Parrot(m_pMode, row.x, row.y, 380));
        for (int i = 0; i < row.nUpdates; ++i) m_pMode->onUpdate(0.05f);
        const Parrot& p = *m_pMode->getParrot();
        int x = 0, y = 0;
        p.getSprite(Parrot::kLegs)->getPosition(&x, &y);
        EXPECT_EQ(std::to_string(p.getCarried()) + " " + std::to_string(p.getState()) + " " + std::to_string(x) + "," +
                      std::to_string(y),
                  row.szAfter)
            << row.x << "," << row.y;
    }
}

TEST_F(HostileBar, ParrotWithoutASinkKeepsItsMugsAndSaysSoOnce) {
    const std::string sLine = "B: ** Parrot : no sink in the level, the mugs stay with the parrot **\n";
    for (int nSeat : {1, 3}) seat(nSeat).putMug(emptyMug());
    m_pMode->setParrot(new Parrot(m_pMode, 700, 300, 380));
    Parrot& p = *m_pMode->getParrot();
    ASSERT_TRUE(runUntil([&] { return p.getCarried() == 2 && p.getState() == Parrot::kToPerch; }));
    EXPECT_EQ(countInLog(sLine), 1);
    seat(2).putMug(emptyMug());
    ASSERT_TRUE(runUntil([&] { return p.getCarried() == 3 && p.isAtHome(); }));
    EXPECT_EQ(countInLog(sLine), 1);
    // A sink that appears later gets them all at the next decision.
    spot("trashbin", 100, 450, Rect(380, 600, 420, 640), 0, "sink");
    seat(0).putMug(emptyMug());
    ASSERT_TRUE(runUntil([&] { return p.getCarried() == 1; }));
    EXPECT_EQ(m_pMode->findTrashBin()->getGlasses(), 3);
}

TEST_F(HostileBar, MachineRefusesAFourthButtonOfAKind) {
    DrinkMachine& m = machine(false, 1, -1);
    EXPECT_EQ(testutil::messageOf([&] { m.addLiquidButton(3, m_pMode, 0, 0, 0); }),
              "Assertion failed : m_hLiquidButtons.getCount() < 3");
    EXPECT_EQ(testutil::messageOf([&] { m.addBeverageButton(0, m_pMode, 0, 0, 0); }),
              "Assertion failed : m_hBeverageButtons.getCount() < BT_BEVERAGE_COUNT");
}
