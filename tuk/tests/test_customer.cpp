// Customers driven frame by frame through the play mode: a full visit, the
// state machine's gating and queue, leaving the level.
#include <string>

#include <gtest/gtest.h>

#include "customerfixture.h"

namespace {

using bartest::CustomerTest;

}  // namespace

TEST_F(CustomerTest, FullVisitPaysOnceAndEarnsItsStar) {
    Character& c = customer();
    Zep::SmartPtr<Character> pHeld(&c);
    std::string sStates = "0";
    int nLast = 0, nFrames = 0;
    int nEnteringFrames = 0;
    auto frame = [&] {
        frames();
        ++nFrames;
        if (c.getState() == nLast) return;
        if (nLast == 0) nEnteringFrames = nFrames;
        nLast = c.getState();
        sStates += " " + std::to_string(nLast);
    };
    while (c.getState() != Character::kCalling && nFrames < 1000) frame();
    ASSERT_EQ(c.getState(), Character::kCalling);
    waitress().setHandContents(orderedMug(c));
    seat(0).onClick(0, 0, 0);
    while (c.getState() != Character::kGone && nFrames < 3000) frame();
    EXPECT_EQ(sStates, "0 1 2 4 5 4 5 7 8 9");
    std::printf("frames %d entering %d\n", nFrames, nEnteringFrames);
    const LevelData& data = m_pMode->getLevelData();
    EXPECT_EQ(data.m_nDayMoney, 100);
    EXPECT_EQ(data.m_nDayStars, 1);
    EXPECT_EQ(data.m_nCustomersServed, 1);
    ASSERT_EQ(m_pMode->getPopups().getCount(), 2);
    EXPECT_EQ(m_pMode->getPopups().get(0).eKind, PlayMode::Popup::kMoney);
    EXPECT_EQ(m_pMode->getPopups().get(0).x * 1000 + m_pMode->getPopups().get(0).y, 200390);
    EXPECT_EQ(m_pMode->getPopups().get(1).eKind, PlayMode::Popup::kStars);
    EXPECT_EQ(m_pMode->getPopups().get(1).nValue, 1);
    std::string sSounds;
    for (const auto& sample : m_audio.m_vSamples) sSounds += sample.sName + " ";
    EXPECT_EQ(sSounds, "sfx_game_ask1 sfx_game_accept1 ");
    EXPECT_EQ(m_pMode->getCharacters().getCount(), 0);
    EXPECT_TRUE(seat(0).getCharacter().isNULL());
    ASSERT_TRUE(seat(0).hasMug());
    EXPECT_TRUE(seat(0).getMug()->isEmpty());
    EXPECT_EQ(c.getDrinksHad(), 1);
}
