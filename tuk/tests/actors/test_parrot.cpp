// The parrot flown frame by frame through the play mode: its two-mug cycle
// to the sink and home, and the flights it breaks off in the same frame.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "actors/actorfixture.h"

namespace {

using bartest::ActorTest;

class ParrotTest : public ActorTest {
protected:
    void SetUp() override {
        ActorTest::SetUp();
        m_pSink = dynamic_cast<TrashBin*>(spot("trashbin", 100, 450, Rect(380, 600, 420, 640), 0, "sink").get());
    }
    // Empty mugs standing at the seats named by their digits, a new parrot
    // on its perch at (700, 300), z 380.
    Parrot& parrot(const char* szSeats) {
        for (int i = 0; i < 6; ++i) seat(i).takeMug();
        for (const char* p = szSeats; *p; ++p) seat(*p - '0').putMug(emptyMug());
        m_pMode->setParrot(new Parrot(m_pMode, 700, 300, 380));
        return *m_pMode->getParrot();
    }
    Point body() { return m_pMode->getParrot()->getSprite(Parrot::kBody)->getPosition(); }

    Zep::SmartPtr<TrashBin> m_pSink;
};

}  // namespace

TEST_F(ParrotTest, TwoMugsFromTheFirstSeatsToTheSinkThenHome) {
    Parrot& p = parrot("31");
    const Zep::SmartPtr<Mug> pFirst = seat(1).getMug(), pSecond = seat(3).getMug();
    const int nMugs = m_pMode->getLevelData().m_lMugs.getCount();
    EXPECT_NEAR(p.getSprite(Parrot::kLegs)->getScaleX(), 1.0f - 360 * 0.2f / 260, 1e-5f);
    m_pMode->onUpdate(0.05f);
    EXPECT_EQ(p.getState(), Parrot::kToMug);
    EXPECT_EQ(p.getSprite(Parrot::kBody)->getSequenceName() + " " + p.getSprite(Parrot::kWings)->getSequenceName() +
                  " " + p.getSprite(Parrot::kLegs)->getSequenceName(),
              "west_still west_move west_legs");
    const int aZ[] = {p.getSprite(0)->getZOrder(), p.getSprite(1)->getZOrder(), p.getSprite(2)->getZOrder()};
    EXPECT_EQ(aZ[0] * 1000000 + aZ[1] * 1000 + aZ[2], 400401382);
    m_pMode->onUpdate(0.05f);
    EXPECT_NEAR(std::hypot(body().x - 700, body().y - 300), 15.0f, 1e-3f);  // 300 px/s

    std::string sSteps;
    int nState = p.getState(), nCarried = p.getCarried();
    bool bFirstTakenFirst = false;
    for (int i = 0; i < 2000; ++i) {
        m_pMode->onUpdate(0.05f);
        if (p.getState() == nState && p.getCarried() == nCarried) continue;
        nState = p.getState();
        nCarried = p.getCarried();
        sSteps.append(sSteps.empty() ? "" : " ")
            .append(std::to_string(nState))
            .append("/")
            .append(std::to_string(nCarried));
        if (nCarried == 1 && nState == Parrot::kPerched) bFirstTakenFirst = !seat(1).hasMug() && seat(3).hasMug();
        if (nState == Parrot::kPerched && p.isAtHome()) break;
    }
    EXPECT_EQ(sSteps, "0/1 1/1 0/2 3/2 0/0 2/0 0/0");
    EXPECT_TRUE(bFirstTakenFirst);
    EXPECT_EQ(m_pSink->getGlasses(), 2);
    EXPECT_EQ(m_pSink->getShownPile(), 1);
    EXPECT_EQ(m_pMode->getLevelData().m_lMugs.getCount(), nMugs - 2);
    EXPECT_TRUE(pFirst->getSprite()->getMode() == nullptr && pSecond->getSprite()->getMode() == nullptr);
    EXPECT_EQ(p.getSprite(Parrot::kBody)->getZOrder() * 1000 + p.getSprite(Parrot::kWings)->getZOrder(), 380381);
    EXPECT_EQ(p.getSprite(Parrot::kBody)->getSequenceName(), "stand_still");
    int nParrotSounds = 0;
    for (const auto& sample : m_audio.m_vSamples) nParrotSounds += sample.sName == "sfx_game_parrot";
    EXPECT_EQ(nParrotSounds, 2);
    // Perched with nothing waiting it stays.
    m_pMode->onUpdate(0.05f);
    EXPECT_EQ(p.getState(), Parrot::kPerched);
}

TEST_F(ParrotTest, FlightsBreakOffInTheSameFrameButNeverTheOneToTheSink) {
    const struct {
        const char* szSeats;
        int nCarried, nFlying;  // the flight to disturb
        const char* szChange;   // "clear N", "put N" or "swap N"
        int nAfter;
        bool bMoved;
    } kRows[] = {
        {"13", 0, Parrot::kToMug, "clear 1", Parrot::kToMug, false},
        {"1", 0, Parrot::kToMug, "clear 1", Parrot::kToPerch, false},
        {"1", 1, Parrot::kToPerch, "put 2", Parrot::kToMug, false},
        {"13", 2, Parrot::kToSink, "put 0", Parrot::kToSink, true},
        {"1", 0, Parrot::kToMug, "swap 1", Parrot::kToMug, true},
    };
    for (const auto& row : kRows) {
        const std::string sCase = std::string(row.szSeats) + " " + row.szChange;
        Parrot& p = parrot(row.szSeats);
        ASSERT_TRUE(runUntil([&] { return p.getCarried() == row.nCarried && p.getState() == row.nFlying; }));
        m_pMode->onUpdate(0.05f);  // under way
        const Point before = body();
        const std::string sChange = row.szChange;
        CharacterSpot& place = seat(sChange.back() - '0');
        Zep::SmartPtr<Mug> pNew;
        if (sChange[0] != 'p') place.takeMug();
        if (sChange[0] != 'c') place.putMug(pNew = emptyMug());
        m_pMode->onUpdate(0.05f);
        EXPECT_EQ(p.getState(), row.nAfter) << sCase;
        EXPECT_EQ(body().x != before.x || body().y != before.y, row.bMoved) << sCase;
        if (sChange[0] != 's') continue;
        // Arriving, it takes the mug the seat then holds.
        ASSERT_TRUE(runUntil([&] { return p.getCarried() == 1; }));
        EXPECT_EQ(m_pMode->getLevelData().m_lMugs.indexOf(pNew), -1);
    }
    // The new flight after a cleared seat goes to the next seat in order.
    Parrot& p = parrot("135");
    ASSERT_TRUE(runUntil([&] { return p.getState() == Parrot::kToMug; }));
    seat(1).takeMug();
    ASSERT_TRUE(runUntil([&] { return p.getCarried() == 1; }));
    EXPECT_TRUE(!seat(3).hasMug() && seat(5).hasMug());
}
