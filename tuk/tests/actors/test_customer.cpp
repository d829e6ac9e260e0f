// Customers driven frame by frame through the play mode, and their rules in
// direct updates: gating and queue, service, payment, stars, refunds,
// closing time, popups, the meter, bodies and leaving the level.
#include <algorithm>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "actors/customerfixture.h"

namespace {

using bartest::CustomerTest;

const char* const kGlasses[] = {"vaso", "stem_martini", "stem"};

// The order's mug with another glass, or its liquids swapped.
Zep::SmartPtr<Mug> otherMug(PlayMode* pMode, const Character& c, bool bSwapLiquids) {
    const int nGlass = bSwapLiquids ? c.getOrderBeverage() : (c.getOrderBeverage() + 1) % 3;
    Zep::SmartPtr<Mug> pMug = Mug::create(pMode, kGlasses[nGlass]);
    const Zep::List<int>& lOrder = c.getOrderLiquids();
    pMug->setLiquids(bSwapLiquids ? Zep::List<int>{lOrder.get(1), lOrder.get(0)} : lOrder);
    pMug->fill();
    return pMug;
}

int timePopups(const PlayMode& mode) {
    int n = 0;
    for (const PlayMode::Popup& popup : mode.getPopups()) n += popup.eKind == PlayMode::Popup::kTime;
    return n;
}

}  // namespace

TEST_F(CustomerTest, FullVisitPaysOnceAndEarnsItsStar) {
    Character& c = customer();
    const Zep::SmartPtr<Character> pHeld(&c);
    std::string sStates = "0";
    int nFrames = 0, nEnteringFrames = 0;
    auto frame = [&] {
        const int nBefore = c.getState();
        frames();
        ++nFrames;
        if (c.getState() == nBefore) return;
        if (nBefore == 0) nEnteringFrames = nFrames;
        sStates += " " + std::to_string(c.getState());
    };
    while (c.getState() != Character::kCalling && nFrames < 1000) frame();
    ASSERT_EQ(c.getState(), Character::kCalling);
    waitress().setHandContents(orderedMug(c));
    seat(0).onClick(0, 0, 0);
    while (c.getState() != Character::kGone && nFrames < 3000) frame();
    // Served while calling: the call ends first. Three entering frames of
    // 0.1 s each, whole 16-ms frames apiece.
    EXPECT_EQ(sStates, "0 1 2 4 5 4 5 7 8 9");
    EXPECT_EQ(nEnteringFrames, 21);
    const LevelData& data = m_pMode->getLevelData();
    EXPECT_EQ(data.m_nDayMoney * 100 + data.m_nDayStars * 10 + data.m_nCustomersServed, 10011);
    ASSERT_EQ(m_pMode->getPopups().getCount(), 2);
    const PlayMode::Popup money = m_pMode->getPopups().get(0), stars = m_pMode->getPopups().get(1);
    EXPECT_EQ(money.eKind, PlayMode::Popup::kMoney);
    EXPECT_EQ(money.x * 1000 + money.y, 200390);  // body part 0, 60 higher
    EXPECT_EQ(stars.eKind * 100 + stars.nSpot * 10 + stars.nValue, PlayMode::Popup::kStars * 100 + 1);
    std::string sSounds;
    for (const auto& sample : m_audio.m_vSamples) sSounds += sample.sName + " ";
    EXPECT_EQ(sSounds, "sfx_game_ask1 sfx_game_accept1 sfx_game_number sfx_game_star ");
    EXPECT_EQ(m_pMode->getCharacters().getCount(), 0);
    EXPECT_TRUE(seat(0).getCharacter().isNULL() && c.getMode() == nullptr);
    ASSERT_TRUE(seat(0).hasMug());
    EXPECT_TRUE(seat(0).getMug()->isEmpty());
}

TEST_F(CustomerTest, ServiceIsJudgedByGlassAndLiquidsInOrderAndQueuedBehindACall) {
    m_pMode->getLevelData().m_bMixedOrders = true;
    const struct {
        const char* szMug;  // "match", "glass" (another glass), "swap" (liquids swapped), "half" (one sip drunk)
        int nState, nAfter, nQueue, nMoney;
        bool bMatched;  // the mug's flag afterwards ("half" was flagged before)
        const char* szMouth;
        int nNext;  // the state entered next
    } kRows[] = {
        {"match", 1, 4, 0, 100, true, "mouth_stand", 5}, {"match", 2, 2, 1, 100, true, "mouth_call", 4},
        {"match", 3, 4, 0, 100, true, "mouth_smile", 5}, {"glass", 3, 3, 0, 0, false, "mouth_stand", 2},
        {"swap", 3, 3, 0, 0, false, "mouth_stand", 2},   {"half", 3, 3, 0, 0, true, "mouth_stand", 2},
    };
    for (const auto& row : kRows) {
        const std::string sMug = row.szMug;
        m_pMode->getLevelData().m_nDayMoney = 0;
        Character& c = customer();
        ASSERT_TRUE(until(c, row.nState)) << sMug;
        const bool bOrdered = sMug == "match" || sMug == "half";
        Zep::SmartPtr<Mug> pMug = bOrdered ? orderedMug(c) : otherMug(m_pMode, c, sMug == "swap");
        if (sMug == "half") {
            pMug->setOrderMatched(true);
            pMug->startDrinking();
            pMug->drink();
        }
        seat(0).putMug(pMug);
        const std::string sCase = sMug + " in " + std::to_string(row.nState);
        EXPECT_EQ(c.getState(), row.nAfter) << sCase;
        EXPECT_EQ(c.getStateQueueLength(), row.nQueue) << sCase;
        EXPECT_EQ(m_pMode->getLevelData().m_nDayMoney, row.nMoney) << sCase;
        EXPECT_EQ(pMug->isOrderMatched(), row.bMatched) << sCase;
        EXPECT_EQ(c.getMug(), pMug) << sCase;
        EXPECT_EQ(c.getBalloon()->isVisible(), row.nMoney == 0 && row.nState != 1) << sCase;
        EXPECT_STREQ(c.getBodySprites()[5]->getSequenceName().c_str(), row.szMouth) << sCase;
        for (int i = 0; i < 400 && c.getState() == row.nAfter; ++i) c.update(0.05f);
        EXPECT_EQ(c.getState(), row.nNext) << sCase;
    }
}

TEST_F(CustomerTest, PaymentWaitsMoreThan5000MsAfterTheLastOne) {
    m_pMode->getLevelData().m_nDrinksPerCustomer = 2;
    const struct {
        uint32_t nFirst, nSecond;
        int nMoney;
    } kRows[] = {{10000, 15000, 100}, {10000, 15001, 200}, {5000, 5000, 0}, {5000, 5001, 100}, {5001, 10001, 100}};
    for (const auto& row : kRows) {
        m_pMode->getLevelData().m_nDayMoney = 0;
        const int nPopups = m_pMode->getPopups().getCount();
        Character& c = waiting();
        m_pPlatform->setTicks(row.nFirst);
        seat(0).putMug(orderedMug(c));
        ASSERT_TRUE(until(c, Character::kStanding));  // two sips, the next order
        EXPECT_TRUE(seat(0).takeMug()->isEmpty());
        ASSERT_TRUE(until(c, Character::kWaiting));
        m_pPlatform->setTicks(row.nSecond);
        seat(0).putMug(orderedMug(c));
        EXPECT_EQ(m_pMode->getLevelData().m_nDayMoney, row.nMoney) << row.nFirst << " " << row.nSecond;
        // Shown and counted whether paid or not.
        EXPECT_EQ(m_pMode->getPopups().getCount() - nPopups, 2) << row.nFirst << " " << row.nSecond;
        int nStars = 0, nBonus = 0;
        c.getStars(nStars, nBonus);
        EXPECT_EQ(nStars, 2);
    }
}

TEST_F(CustomerTest, StarThresholdsByGameKindAndSeatKeepingTheVipSeatRule) {
    LevelData& data = m_pMode->getLevelData();
    data.m_fBasePatience = 100.0f;
    const struct {
        int nSpot, nSeatKind, nGameKind, nUpgrade10, nUpgrade11;
        bool bDecoration;
        float fShare;  // of the order's patience
    } kRows[] = {
        {0, 0, 0, 0, 0, false, 0.8f},   {0, 0, 1, 0, 0, false, 0.75f},  {0, 0, 2, 2, 2, false, 0.75f},
        {0, 0, 0, 0, 0, true, 0.8f},    {4, 1, 0, 0, 1, false, 0.438f}, {4, 1, 0, 1, 0, false, 0.516f},
        {4, 1, 0, 2, 0, false, 0.6f},   {4, 1, 1, 0, 0, false, 0.4015f}, {5, 2, 0, 0, 0, false, 0.6f},
        {5, 2, 1, 1, 1, false, 0.55f},  {4, 0, 0, 1, 0, false, 0.438f}, {4, 0, 0, 0, 1, false, 0.516f},
    };
    for (const auto& row : kRows) {
        data.m_nGameKind = row.nGameKind;
        data.m_nUpgradeLevel10 = row.nUpgrade10;
        data.m_nUpgradeLevel11 = row.nUpgrade11;
        for (float fAbove : {0.25f, -0.25f}) {
            Character& c = customer(row.nSpot == 0 ? "ana" : "vip", row.nSpot);
            c.setSeatKind(row.nSeatKind);
            c.update(0.5f);  // entered; the order takes 99.5 s of patience
            c.update(10.0f);  // called
            ASSERT_EQ(c.getState(), Character::kCalling);
            c.update(99.5f - (99.5f * row.fShare + fAbove));
            ASSERT_EQ(c.getState(), Character::kWaiting);
            Zep::SmartPtr<Mug> pMug = orderedMug(c);
            if (row.bDecoration) pMug->addDecoration();
            seat(row.nSpot).putMug(pMug);
            int nStars = 0, nBonus = 0;
            c.getStars(nStars, nBonus);
            EXPECT_EQ(nStars, (fAbove > 0 ? 1 : 0) + row.bDecoration) << row.nSpot << " " << row.fShare;
            // Refilled by a third, at most to the full 100 s, fully with a decoration.
            const float fRefilled = std::min(100.0f, 99.5f * row.fShare + fAbove + 100.0f / 3);
            EXPECT_NEAR(c.getPatience(), row.bDecoration ? 100.0f : fRefilled, 0.01f);
        }
    }
}

TEST_F(CustomerTest, TakingBackRefundsWhatThatServicePaid) {
    const struct {
        uint32_t nTicks;  // of the service
        bool bMatch;
        int nPaid, nResults, nStateAfter;
    } kRows[] = {{10000, true, 100, 2, 7}, {3000, true, 0, 0, 7}, {10000, false, 0, 0, 3}};
    for (const auto& row : kRows) {
        LevelData& data = m_pMode->getLevelData();
        data.m_nDayMoney = 0;
        const int nResults = m_pMode->getCustomerResults().getCount();
        Character& c = waiting();
        m_pPlatform->setTicks(row.nTicks);
        Zep::SmartPtr<Mug> pMug = row.bMatch ? orderedMug(c) : otherMug(m_pMode, c, false);
        seat(0).putMug(pMug);
        EXPECT_EQ(data.m_nDayMoney, row.nPaid) << row.nTicks;
        EXPECT_EQ(seat(0).takeMug(), pMug);
        EXPECT_EQ(data.m_nDayMoney, 0) << row.nTicks;
        EXPECT_EQ(m_pMode->getCustomerResults().getCount() - nResults, row.nResults) << row.nTicks;
        EXPECT_EQ(c.getState(), row.nStateAfter) << row.nTicks;
        EXPECT_EQ(c.isSatisfied(), !row.bMatch) << row.nTicks;
    }
}

TEST_F(CustomerTest, ClosingTimeSendsAwayWhoWantsNothingMore) {
    m_pMode->getLevelData().m_nGameKind = 1;
    m_pMode->getLevelData().m_nDrinksPerCustomer = 2;
    const struct {
        const char* szCase;
        int nState, nWanted;  // after closing
        bool bComplaint;
    } kRows[] = {
        {"at the menu", 7, 2, false},    {"empty mug between drinks", 7, 2, false},
        {"wrong mug at the menu", 1, 0, true}, {"waiting for the first", 3, 0, true},
        {"served", 4, 0, false},
    };
    for (const auto& row : kRows) {
        const std::string sCase = row.szCase;
        m_pMode->getLevelData().m_bBarClosed = false;
        Character& c = customer();
        if (sCase == "at the menu") until(c, Character::kStanding);
        if (sCase == "wrong mug at the menu") {
            until(c, Character::kStanding);
            seat(0).putMug(otherMug(m_pMode, c, false));
        }
        if (sCase != "at the menu" && sCase != "wrong mug at the menu") {
            until(c, Character::kWaiting);
            if (sCase != "waiting for the first") seat(0).putMug(orderedMug(c));
            if (sCase == "empty mug between drinks") until(c, Character::kStanding);
        }
        m_audio.m_vSamples.clear();
        const int nTimePopups = timePopups(*m_pMode);
        m_pMode->closeBar();
        EXPECT_EQ(c.getState(), row.nState) << sCase;
        if (row.nState != 7) {
            EXPECT_EQ(c.getDrinksWanted(), row.nWanted) << sCase;
        }
        ASSERT_TRUE(until(c, Character::kFadingOut)) << sCase;
        const bool bComplaint = !m_audio.m_vSamples.empty() && m_audio.m_vSamples.back().sName == "sfx_game_mistake1";
        EXPECT_EQ(bComplaint, row.bComplaint) << sCase;
        EXPECT_EQ(timePopups(*m_pMode), nTimePopups) << sCase;  // no penalty once closed
    }
}

TEST_F(CustomerTest, TimeBonusAndPenaltyPopupsByGameKindThroughTheCheckedFormatter) {
    const struct {
        int nGameKind;
        bool bClosed, bLeave;
        const char* szTable;
        const char* szText;  // "" for no popup
        float fDayLength;
    } kRows[] = {
        {1, false, false, "tukmsg.txt", "+10 s", 310.0f}, {2, false, false, "tukmsg.txt", "+10 s", 310.0f},
        {0, false, false, "tukmsg.txt", "", 300.0f},      {1, true, false, "tukmsg.txt", "", 300.0f},
        {1, false, true, "tukmsg.txt", "-5 s", 295.0f},   {0, false, true, "tukmsg.txt", "", 300.0f},
        {1, true, true, "tukmsg.txt", "", 300.0f},        {1, false, false, "badmsg.txt", "%s more", 310.0f},
    };
    for (const auto& row : kRows) {
        LevelData& data = m_pMode->getLevelData();
        data.m_nGameKind = row.nGameKind;
        data.m_bBarClosed = row.bClosed;
        data.m_fDayLength = 300.0f;
        m_app.loadStringTable(row.szTable);
        const int nPopups = timePopups(*m_pMode);
        Character& c = waiting();
        if (row.bLeave) until(c, Character::kFadingOut);
        else seat(0).putMug(orderedMug(c));
        const std::string sCase = std::to_string(row.nGameKind) + (row.bLeave ? " leaves" : " served");
        EXPECT_EQ(data.m_fDayLength, row.fDayLength) << sCase;
        ASSERT_EQ(timePopups(*m_pMode) - nPopups, *row.szText ? 1 : 0) << sCase;
        if (!*row.szText) continue;
        const PlayMode::Popup& popup = m_pMode->getPopups().getLast().eKind == PlayMode::Popup::kTime
                                           ? m_pMode->getPopups().getLast()
                                           : m_pMode->getPopups().get(m_pMode->getPopups().getCount() - 2);
        EXPECT_STREQ(popup.sText.c_str(), row.szText) << sCase;
        EXPECT_EQ(popup.x * 1000 + popup.y, row.bLeave ? 200450 : 200390) << sCase;
        EXPECT_EQ(popup.color, Color(255, 255, 255, 255));
        EXPECT_EQ(popup.fSeconds, 1.5f);
    }
}

TEST_F(CustomerTest, MeterShowsEighthsOfPatienceAndNoneInTheLastSecond) {
    m_pMode->getLevelData().m_fBasePatience = 16.0f;
    const struct {
        float fPatience;
        int n, nLook;
    } kRows[] = {{16, 8, 0},  {14, 8, 0},  {13.9f, 7, 0}, {12, 7, 0}, {11.9f, 6, 0}, {9.9f, 5, 1}, {8, 5, 1},
                 {6, 4, 1},   {4, 3, 1},   {3.9f, 2, 2},  {2, 2, 2},  {1.9f, 1, 2},  {1, 1, 2},   {0.9f, 0, 2}};
    for (const auto& row : kRows) {
        Character& c = customer();
        c.update(16.0f - row.fPatience);
        c.update(0.0f);
        ASSERT_NEAR(c.getPatience(), row.fPatience, 1e-4f);
        int nShown = 0;
        for (const Zep::SmartPtr<AnimSprite>& pSprite : c.getMeterSprites()) nShown += pSprite->isVisible();
        EXPECT_EQ(nShown, row.n + 1) << row.fPatience;
        EXPECT_EQ(c.getBalloonLook(), row.nLook) << row.fPatience;
    }
}

TEST_F(CustomerTest, BodiesByKindAndSeatWithBalloonAndMeterPlaces) {
    const struct {
        const char* szName;
        int nSpot, nParts, nPart1Z;
        float fScaleX;
        int nBalloonX, nBalloonY, nMeterX, nMeterY, nBalloonIndex;
    } kRows[] = {
        {"ana", 0, 6, 204, 1.0f, 208, 396, 169, 475, 0},       {"hombr", 1, 6, 205, 1.0f, 324, 390, 289, 475, 1},
        {"hombra", 2, 6, 206, 1.0f, 444, 390, 409, 475, 2},    {"hombre", 3, 11, 207, 1.0f, 552, 396, 529, 475, 3},
        {"hombrexl", 0, 11, 204, 1.0f, 208, 396, 169, 475, 0}, {"vip", 4, 17, 199, 0.88f, 380, 260, 412, 230, 4},
        {"vip", 5, 17, 199, -0.88f, 417, 260, 335, 230, 5},
    };
    for (const auto& row : kRows) {
        std::srand(1);  // not mirrored
        Character& c = customer(row.szName, row.nSpot);
        const std::string sCase = std::string(row.szName) + " " + std::to_string(row.nSpot);
        ASSERT_EQ(c.getBodySprites().getCount(), row.nParts) << sCase;
        EXPECT_EQ(c.getBodySprites()[1]->getZOrder(), row.nPart1Z) << sCase;
        EXPECT_FLOAT_EQ(c.getBodySprites()[0]->getScaleX(), row.fScaleX) << sCase;
        EXPECT_FLOAT_EQ(c.getBodySprites()[0]->getAlpha(), 0.0f) << sCase;
        int x = 0, y = 0;
        c.getBalloonSprite()->getPosition(&x, &y);
        EXPECT_EQ(x * 1000 + y, row.nBalloonX * 1000 + row.nBalloonY) << sCase;
        EXPECT_EQ(c.getBalloonSprite()->getZOrder(), 210) << sCase;
        c.getMeterSprites()[0]->getPosition(&x, &y);
        EXPECT_EQ(x * 1000 + y, row.nMeterX * 1000 + row.nMeterY) << sCase;
        EXPECT_EQ(c.getMeterSprites()[0]->getZOrder() * 1000 + c.getMeterSprites()[8]->getZOrder(), 209210) << sCase;
        EXPECT_EQ(c.getBalloon()->getIndex(), row.nBalloonIndex) << sCase;
    }
    EXPECT_TRUE(m_app.isAnimationCached("balloonstandl_der") && m_app.isAnimationCached("balloonvip_izq"));
    // A full second of updates fades the new customer in.
    Character& c = customer();
    for (int i = 0; i < 10; ++i) c.update(0.1f);
    EXPECT_FLOAT_EQ(c.getBodySprites()[3]->getAlpha(), 1.0f);
}

TEST_F(CustomerTest, OneOrdinaryCustomerInTenIsMirroredMugOffsetsWithIt) {
    // The first draws of rand after srand(seed): seeds 2, 12, 13 and 22 give
    // a multiple of 10.
    const struct {
        unsigned nSeed;
        bool bMirrored;
    } kRows[] = {{1, false}, {2, true}, {3, false}, {12, true}, {13, true}, {14, false}};
    for (const auto& row : kRows) {
        std::srand(row.nSeed);
        Character& c = customer();
        EXPECT_EQ(c.getDirection(), row.bMirrored ? -1 : 1) << row.nSeed;
        for (const Zep::SmartPtr<AnimSprite>& pPart : c.getBodySprites())
            EXPECT_FLOAT_EQ(pPart->getScaleX(), row.bMirrored ? -1.0f : 1.0f) << row.nSeed;
        // Animation "mugx" -12, "mugy" 30 from part 1 at (200, 450) on (20, 70).
        int x = 0, y = 0, z = 0;
        c.getMugRestPosition(x, y, z);
        EXPECT_EQ(x * 1000 + y, (row.bMirrored ? 212 : 188) * 1000 + 410) << row.nSeed;
        EXPECT_EQ(z, 203);
        // At the hand: the frame's "mugx" 7 and "mugy" 12, above the arm.
        c.serveMug(orderedMug(c));
        c.getMug()->getPosition(&x, &y, &z);
        EXPECT_EQ(x * 1000 + y, (row.bMirrored ? 193 : 207) * 1000 + 392) << row.nSeed;
        EXPECT_EQ(z, 204 + 6 - 3);  // the mug's base layer lies 3 below its z
    }
}

TEST_F(CustomerTest, OrdersComeFromTheLevelsLiquidsMixedWhereTheListAllows) {
    const struct {
        Zep::List<int> lLiquids;
        bool bMixed, bDifferent;
    } kRows[] = {{{4}, false, false}, {{4}, true, false}, {{2, 2}, true, false},
                 {{1, 3}, true, true}, {{5, 0, 3}, false, false}};
    for (const auto& row : kRows) {
        LevelData& data = m_pMode->getLevelData();
        data.m_lLiquids = row.lLiquids;
        data.m_bMixedOrders = row.bMixed;
        for (int i = 0; i < 12; ++i) {
            const Character& c = customer();
            const int nFirst = c.getOrderLiquids().get(0), nSecond = c.getOrderLiquids().get(1);
            EXPECT_TRUE(row.lLiquids.indexOf(nFirst) >= 0 && row.lLiquids.indexOf(nSecond) >= 0);
            EXPECT_EQ(nFirst != nSecond, row.bDifferent) << row.lLiquids.getCount() << " " << row.bMixed;
            EXPECT_EQ(c.getBalloon()->getItems().getCount(), 2);
        }
    }
    // Switching mixed orders on orders anew at the menu, calling and waiting.
    m_pMode->getLevelData().m_lLiquids = Zep::List<int>{0, 1, 2, 3, 4, 5};
    m_pMode->getLevelData().m_bMixedOrders = false;
    Character& atMenu = customer("ana", 1);
    until(atMenu, Character::kStanding);
    Character& served = waiting("ana", 2);
    seat(2).putMug(orderedMug(served));
    Character& calling = waiting("ana", 3);
    m_pMode->setMixedOrders(true);
    for (const Character* pCustomer : {&atMenu, &calling})
        EXPECT_NE(pCustomer->getOrderLiquids().get(0), pCustomer->getOrderLiquids().get(1));
    EXPECT_EQ(served.getOrderLiquids().get(0), served.getOrderLiquids().get(1));
    EXPECT_FALSE(calling.getBalloon()->isVisible());
}

TEST_F(CustomerTest, EveryUpdateWritesItsDumpLineIntoTheScopeTrace) {
    m_audio.m_sampleLoader.m_setNames.erase("sfx_game_ask1");
    Character& c = customer();
    std::string sDetail, sExpected;
    for (int i = 0; i < 400 && sDetail.empty(); ++i) {
        sExpected = Zep::String::format(
                        "Character dump m_nState:%d, m_lMoveSprites.getLength():6, m_fCurrentTime:%lf, m_bIsVip:0, "
                        "m_bLeft:0 m_sName :ana\n",
                        c.getState(), static_cast<double>(c.getTimer()))
                        .c_str();
        try {
            c.update(0.05f);
        } catch (const Zep::Exception& e) {  // the call's sound is missing
            const Zep::TraceSnapshot& trace = e.getSnapshot();
            for (int n = 0; n < trace.getDepth(); ++n)
                if (std::string(trace.getMessage(n)) == "Character::update") sDetail = trace.getDetail(n);
        }
    }
    EXPECT_EQ(sDetail, sExpected);
    EXPECT_EQ(sDetail.rfind("Character dump m_nState:1,", 0), 0u);
}

TEST_F(CustomerTest, LeavingCustomersDetachWhileTheOthersStillUpdate) {
    Character& leaving = customer("ana", 0);
    Character& staying = waiting("ana", 1);
    const Zep::SmartPtr<Character> pLeaving(&leaving), pStaying(&staying);
    leaving.setState(Character::kFadingOut);  // already invisible: it goes once "exiting" has played
    const int nListeners = m_pMode->getClickListeners().getCount();
    float fPatience = staying.getPatience();
    for (int i = 0; i < 100 && leaving.getState() != Character::kGone; ++i) {
        fPatience = staying.getPatience();
        frames();
    }
    ASSERT_EQ(leaving.getState(), Character::kGone);
    // Updated in the very frame the other left the list.
    EXPECT_NEAR(staying.getPatience(), fPatience - 0.016f, 1e-4f);
    EXPECT_EQ(m_pMode->getCharacters().getCount(), 1);
    EXPECT_EQ(m_pMode->getClickListeners().getCount(), nListeners - 1);
    EXPECT_TRUE(leaving.getMode() == nullptr && leaving.getBodySprites().isEmpty() && leaving.hasLeft());
    leaving.update(0.016f);  // gone: nothing happens
    EXPECT_EQ(leaving.getState(), Character::kGone);
    // The level ends while a customer is still held: it detaches first, and
    // its last reference goes after the mode.
    m_pMode->endMode();
    frames();
    EXPECT_TRUE(staying.getMode() == nullptr);
}
