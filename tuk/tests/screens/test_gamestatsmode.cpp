// The end-of-day statistics: rows, title, jingle and button per game kind;
// the count-up under stepped time, label by label; the total stars that only
// rise; the results written at the last step, or when the game ends before
// it; the tick on the fake audio driver.
#include <cctype>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "screens/democontent_util.h"
#include "screens/gamestatsmode.h"
#include "screens/screens_util.h"

namespace {

constexpr int kUnwritten = -1;

class DayStatistics : public screentest::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        m_pFiles->add("g.txt", testkit::resource("GSM_LevelScore Takings\nGSM_Total Total\nGSM_LevelGoal Goal\n"
                                                   "GSM_LevelStars Stars\nGSM_Customers Guests\nGSM_Time Time\n"
                                                   "GSM_TotalStars All stars\nStatTimePlayed %d:%02d\n"));
        m_app.loadStringTable("g.txt");
        for (const char* szTitle : {"youwin", "youlose", "timesup"}) picture(szTitle, 120, 40, true);
        picture("bubble_separator", 100, 4, true);
        for (const char* szSample : {"sfx_game_number", "ms_winlevel", "ms_loselevel"})
            m_pAudio->m_sampleLoader.m_setNames.insert(szSample);
        m_data.m_nResultMoney = m_data.m_nResultStars = kUnwritten;
    }
    GameStatsMode& push(int nKind) {
        m_data.m_nGameKind = nKind;
        m_pDialog = new GameStatsMode(&m_data, &m_progress);
        m_app.pushMode(m_pDialog);
        return *m_pDialog;
    }
    // Every value label's texts as they changed, "$0 $75 ..." by row, over
    // updates of dt until the count ends; the results checked unwritten
    // before the last step.
    std::map<std::string, std::string> countUp(float fDelta) {
        std::map<std::string, std::string> m;
        for (int i = 0; i < 5000 && m_pDialog->getStep() < GameStatsMode::kLastStep; ++i) {
            EXPECT_EQ(m_data.m_nResultMoney, kUnwritten);
            EXPECT_EQ(m_data.m_nResultStars, kUnwritten);
            note(m);
            m_app.updateModes(fDelta);
        }
        note(m);
        return m;
    }
    void note(std::map<std::string, std::string>& m) {
        const std::pair<const char*, Zep::SmartPtr<ChangingLabel>> kLabels[] = {
            {"money", m_pDialog->getScoreLabel()},   {"goal", m_pDialog->getGoalLabel()},
            {"stars", m_pDialog->getStarsLabel()},   {"customers", m_pDialog->getCustomersLabel()},
            {"total", m_pDialog->getTotalLabel()},   {"totalstars", m_pDialog->getTotalStarsLabel()}};
        for (const auto& [szRow, pLabel] : kLabels)
            if (pLabel.notNULL()) add(m[szRow], pLabel->getLabel()->getText().c_str());
        if (m_pDialog->getTimeLabel().notNULL()) add(m["time"], m_pDialog->getTimeLabel()->getText().c_str());
    }
    static void add(std::string& sSeen, const std::string& sText) {
        const size_t nLast = sSeen.rfind(' ');
        if (sSeen.substr(nLast == std::string::npos ? 0 : nLast + 1) == sText) return;
        sSeen += (sSeen.empty() ? "" : " ") + sText;
    }

    LevelData m_data;
    DayResult m_progress;
    GameStatsMode* m_pDialog = nullptr;
};

}  // namespace

TEST_F(DayStatistics, EachGameKindCountsItsRowsInTurn) {
    using Rows = std::map<std::string, std::string>;
    const struct {
        int nKind, nMoney, nGoal;
        Rows rows;
        int nResultMoney, nResultStars;
    } kCases[] = {
        // Goal reached: the totals count from the totals shown, so they end sooner.
        {0, 300, 300,
         Rows{{"money", "$0 $75 $150 $225 $300"}, {"goal", "$300"}, {"stars", "0 1 2"},
              {"customers", "0/8 1/8 2/8 3/8"}, {"total", "$100 $200 $300 $400"}, {"totalstars", "1 2 3"}},
         300, 2},
        // Goal missed by one dollar: the total stays, no result money.
        {0, 299, 300,
         Rows{{"money", "$0 $74 $149 $224 $299"}, {"goal", "$300"}, {"stars", "0 1 2"},
              {"customers", "0/8 1/8 2/8 3/8"}, {"total", "$100"}, {"totalstars", "1 2 3"}},
         kUnwritten, 2},
        {1, 300, 0,
         Rows{{"money", "$0 $75 $150 $225 $300"}, {"time", "0:00 0:18 0:37 0:56 1:15"}, {"customers", "0 1 2 3"}},
         kUnwritten, kUnwritten},
        {2, 300, 0,
         Rows{{"money", "$0 $75 $150 $225 $300"}, {"time", "0:00 0:18 0:37 0:56 1:15"}, {"stars", "0 1 2"},
              {"customers", "0 1 2 3"}},
         kUnwritten, 2},
    };
    for (const auto& c : kCases) {
        m_data = LevelData();
        m_data.m_nResultMoney = m_data.m_nResultStars = kUnwritten;
        m_data.m_nDayMoney = c.nMoney;
        m_data.m_nMoneyGoal = c.nGoal;
        m_data.m_nDayStars = 2;
        m_data.m_nCustomersServed = 3;
        m_data.m_nDayCustomerCount = 8;
        m_data.m_fTimePlayed = 75.9f;
        m_data.m_nTotalMoneyBefore = 100;
        m_data.m_nTotalStarsBefore = 1;
        push(c.nKind);
        EXPECT_EQ(countUp(0.25f), c.rows) << c.nKind << " " << c.nMoney;
        EXPECT_TRUE(m_pDialog->getExitButton()->isEnabled());
        EXPECT_EQ(m_data.m_nResultMoney, c.nResultMoney);
        EXPECT_EQ(m_data.m_nResultStars, c.nResultStars);
        m_pDialog->endMode();
    }
}

// The row shows the player's real total: from the total before the day up
// to it plus the day's stars, never down, past 999 too (every star counts in
// the adventure's score); a sum past the largest int stops there.
TEST_F(DayStatistics, TotalStarsRiseFromThePlayersTotalAndNeverFall) {
    const struct {
        int nBefore, nStars;
        const char* szTotal;  // shown at the end
    } kRows[] = {{10, 5, "15"}, {995, 20, "1015"}, {1200, 3, "1203"}, {2000000000, 7, "2000000007"},
                 {INT32_MAX - 3, 7, "2147483647"}, {1200, 0, "1200"}};
    for (const auto& row : kRows) {
        m_data.m_nResultMoney = m_data.m_nResultStars = kUnwritten;
        m_data.m_nMoneyGoal = 0;  // reached with no money: "$0" to the end
        m_data.m_nTotalStarsBefore = row.nBefore;
        m_data.m_nDayStars = row.nStars;
        push(0);
        std::map<std::string, std::string> rows = countUp(0.001f);
        std::istringstream seen(rows["totalstars"]);
        long long nPrevious = row.nBefore, nShown = 0;
        for (bool bFirst = true; seen >> nShown; bFirst = false) {
            EXPECT_TRUE(bFirst ? nShown == row.nBefore : nShown > nPrevious) << rows["totalstars"];
            nPrevious = nShown;
        }
        EXPECT_EQ(rows["totalstars"].substr(rows["totalstars"].rfind(' ') + 1), row.szTotal);
        EXPECT_EQ(rows["money"], "$0");
        EXPECT_EQ(rows["customers"], "0/0");
        EXPECT_EQ(m_data.m_nResultStars, row.nStars);
        m_pDialog->endMode();
    }
}

// A game that ends while the count runs takes the results the count would
// have written: the day's money when the goal was reached, the day's stars.
TEST_F(DayStatistics, AGameEndingMidCountWritesTheResultsOfTheWholeCount) {
    const struct {
        int nKind, nMoney, nResultMoney, nResultStars;
    } kRows[] = {{0, 500, 500, 6}, {0, 399, kUnwritten, 6}, {1, 500, kUnwritten, kUnwritten}, {2, 500, kUnwritten, 6}};
    for (const auto& row : kRows) {
        m_data = LevelData();
        m_data.m_nResultMoney = m_data.m_nResultStars = kUnwritten;
        m_data.m_nDayMoney = row.nMoney;
        m_data.m_nMoneyGoal = 400;
        m_data.m_nDayStars = 6;
        push(row.nKind);
        for (int i = 0; i < 3; ++i) m_app.updateModes(0.25f);  // the money shown, not yet the stars
        ASSERT_LT(m_pDialog->getStep(), 2);
        m_pDialog->onAppQuit();
        EXPECT_EQ(m_data.m_nResultMoney, row.nResultMoney) << row.nKind << " $" << row.nMoney;
        EXPECT_EQ(m_data.m_nResultStars, row.nResultStars) << row.nKind << " $" << row.nMoney;
        m_pDialog->endMode();
    }
}

// Whatever the frame's time and the size of the totals, every row ends
// showing its target: a total whose frame share passes the day's money at
// once (a sixtieth of 160,000 is more than $1,200) still ends at the sum,
// exactly, and a sum past the largest int stops there.
TEST_F(DayStatistics, EveryRowEndsAtItsTargetAtAnyFrameTimeAndTotal) {
    const struct {
        int32_t nTotal, nTotalStars;
        const char *szTotal, *szTotalStars;
    } kTotals[] = {
        {0, 0, "$1200", "7"},
        {160000, 400, "$161200", "407"},
        {2000000000, 990, "$2000001200", "997"},
        {INT32_MAX - 50, 999, "$2147483647", "1006"},
    };
    for (float fDelta : {1.0f / 30, 1.0f / 60, 1.0f / 240})
        for (const auto& row : kTotals) {
            m_data = LevelData();
            m_data.m_nResultMoney = m_data.m_nResultStars = kUnwritten;
            m_data.m_nDayMoney = 1200;
            m_data.m_nMoneyGoal = 800;
            m_data.m_nDayStars = 7;
            m_data.m_nCustomersServed = 9;
            m_data.m_nDayCustomerCount = 10;
            m_data.m_nTotalMoneyBefore = row.nTotal;
            m_data.m_nTotalStarsBefore = row.nTotalStars;
            push(0);
            std::map<std::string, std::string> rows = countUp(fDelta);
            const std::string sCase = std::to_string(fDelta) + " s, " + row.szTotal;
            auto last = [&](const char* szRow) { return rows[szRow].substr(rows[szRow].rfind(' ') + 1); };
            EXPECT_EQ(last("money") + " " + last("stars") + " " + last("customers"), "$1200 7 9/10") << sCase;
            EXPECT_EQ(last("total"), row.szTotal) << sCase;
            EXPECT_EQ(last("totalstars"), row.szTotalStars) << sCase;
            EXPECT_EQ(m_data.m_nResultMoney * 100 + m_data.m_nResultStars, 120007) << sCase;
            m_pDialog->endMode();
        }
}

TEST_F(DayStatistics, TitleJingleAndButtonFollowTheGameKind) {
    const struct {
        int nKind, nMoney;
        const char *szTitle, *szJingle, *szButton;
        bool bEnabled;
    } kRows[] = {{0, 400, "youwin", "ms_winlevel", "ok", false},
                 {0, 399, "youlose", "ms_loselevel", "ok", false},
                 {1, 0, "timesup", "ms_loselevel", "exit", true},
                 {2, 900, "timesup", "ms_loselevel", "ok", true}};
    for (const auto& row : kRows) {
        m_data.m_nDayMoney = row.nMoney;
        m_data.m_nMoneyGoal = 400;
        m_pAudio->m_vSamples.clear();
        GameStatsMode& dialog = push(row.nKind);
        EXPECT_EQ(dialog.getTitle()->getImage().get(), m_app.getImage(row.szTitle).get());
        ASSERT_EQ(m_pAudio->m_vSamples.size(), 1u);
        EXPECT_EQ(m_pAudio->m_vSamples[0].sName, row.szJingle);
        EXPECT_EQ(m_pAudio->m_vSamples[0].nChannel, 1);
        EXPECT_EQ(dialog.getExitButton()->getCaption(), row.szButton);
        EXPECT_EQ(dialog.getExitButton()->isEnabled(), row.bEnabled);
        EXPECT_EQ(dialog.getStarsLabel().notNULL(), row.nKind != 1);
        m_pAudio->m_vStoppedChannels.clear();
        pressOn(*dialog.getExitButton());
        EXPECT_EQ(m_app.getTopMode() == &dialog, !row.bEnabled) << row.nKind;
        if (row.bEnabled) EXPECT_EQ(m_pAudio->m_vStoppedChannels.back().first, -1);
        else dialog.endMode();
    }
}

TEST_F(DayStatistics, TheTickPlaysOnChannelTwoAtOneFifthAndNeverOverItself) {
    m_data.m_nDayMoney = 300;
    m_data.m_fTimePlayed = 75.0f;
    m_data.m_nCustomersServed = 3;
    push(1);
    m_pAudio->m_vSamples.clear();
    // Each tick leaves channel 2 playing until something stops it.
    m_pAudio->m_nNextChannel = 2;
    std::string sTicks;
    for (int nFrame = 1; m_pDialog->getStep() < GameStatsMode::kLastStep; ++nFrame) {
        const size_t nBefore = m_pAudio->m_vSamples.size();
        m_app.updateModes(0.25f);
        if (m_pAudio->m_vSamples.size() > nBefore) sTicks += std::to_string(nFrame) + " ";
    }
    // Money ticks in frame 1, then the time once its step cut the tick (5),
    // and the customers' first whole guest (11); the rest fall while it plays.
    EXPECT_EQ(sTicks, "1 5 11 ");
    for (const auto& played : m_pAudio->m_vSamples) {
        EXPECT_EQ(played.sName, "sfx_game_number");
        EXPECT_FALSE(played.bLoop);
        EXPECT_EQ(played.nChannel, 2);
    }
    EXPECT_EQ(m_app.getSample("sfx_game_number")->getVolume(), 0.2f);
    int nCuts = 0;
    for (const auto& stop : m_pAudio->m_vStoppedChannels) nCuts += stop.first == 2;
    EXPECT_EQ(nCuts, 5);  // the first frame of each step after the first
}

TEST_F(DayStatistics, AnUnfitTimeFormatIsShownAsItStands) {
    m_pFiles->add("bad.txt", testkit::resource("StatTimePlayed %s for %d\n"));
    m_app.loadStringTable("bad.txt");
    m_data.m_fTimePlayed = 75.0f;
    push(1);
    EXPECT_EQ(m_pDialog->getTimeLabel()->getText(), "%s for %d");
    countUp(0.25f);
    EXPECT_EQ(m_pDialog->getTimeLabel()->getText(), "%s for %d");
}

namespace {

class DemoStatistics : public democontent::DemoContentTest {
protected:
    // The dialog of that game kind over the demo content, counted to its end.
    GameStatsMode& countedDialog(int nKind, int nDayMoney) {
        m_data = LevelData();
        m_data.m_nGameKind = nKind;
        m_data.m_nDayMoney = nDayMoney;
        m_data.m_nMoneyGoal = 250;
        m_data.m_nDayStars = 5;
        m_data.m_nCustomersServed = 4;
        m_data.m_nDayCustomerCount = 6;
        m_data.m_fTimePlayed = 95.4f;
        m_data.m_nTotalMoneyBefore = 500;
        m_data.m_nTotalStarsBefore = 10;
        auto* pDialog = new GameStatsMode(&m_data, nullptr);
        m_app.pushMode(pDialog);
        for (int i = 0; i < 400 && pDialog->getStep() < GameStatsMode::kLastStep; ++i) m_app.updateModes(0.05f);
        return *pDialog;
    }

    LevelData m_data;
};

// A box one pixel larger on every side, so that boxes that touch meet.
Rect grown(const Rect& r) { return Rect(r.getLeft() - 1, r.getTop() - 1, r.getRight() + 1, r.getBottom() + 1); }

}  // namespace

// In every game kind each row's caption and value stand clear of the button
// and inside the frame; the values start at one x; the button's caption is
// a text of the string table that starts with a capital, as "OK" does.
TEST_F(DemoStatistics, TheRowsStandClearOfTheButtonTheirValuesInOneColumn) {
    const struct {
        int nKind;
        int nDayMoney;
        int nRows;  // captions and values
    } kCases[] = {{0, 320, 12}, {0, 120, 12}, {1, 320, 6}, {2, 320, 8}};
    for (const auto& c : kCases) {
        GameStatsMode& dialog = countedDialog(c.nKind, c.nDayMoney);
        const std::string sCase = "kind " + std::to_string(c.nKind) + ", $" + std::to_string(c.nDayMoney);
        const Rect button = dialog.getExitButton()->getBoundingRect();
        const Rect inside = democontent::frameInside(*dialog.getTable());
        int nLabels = 0;
        for (const Zep::SmartPtr<Sprite>& pSprite : dialog.getAllSprites()) {
            auto* pLabel = dynamic_cast<Label*>(pSprite.get());
            if (!pLabel || !pLabel->isVisible() || pLabel->getText().isEmpty()) continue;
            ++nLabels;
            const Rect box = pLabel->getBoundingRect();
            const std::string sLabel = sCase + ", \"" + pLabel->getText().c_str() + "\" " + democontent::describe(box);
            EXPECT_FALSE(grown(box).intersects(button)) << sLabel << " meets the button " << democontent::describe(button);
            EXPECT_TRUE(democontent::contains(inside, box)) << sLabel << " outside " << democontent::describe(inside);
        }
        EXPECT_EQ(nLabels, c.nRows) << sCase;

        std::vector<Zep::SmartPtr<Label>> vValues;
        for (const Zep::SmartPtr<ChangingLabel>& pValue :
             {dialog.getScoreLabel(), dialog.getGoalLabel(), dialog.getStarsLabel(), dialog.getCustomersLabel(),
              dialog.getTotalLabel(), dialog.getTotalStarsLabel()})
            if (pValue.notNULL()) vValues.push_back(pValue->getLabel());
        if (dialog.getTimeLabel().notNULL()) vValues.push_back(dialog.getTimeLabel());
        for (const Zep::SmartPtr<Label>& pValue : vValues)
            EXPECT_EQ(pValue->getBoundingRect().getLeft(), vValues[0]->getBoundingRect().getLeft())
                << sCase << ", \"" << pValue->getText().c_str() << "\"";

        const Zep::String sCaption = dialog.getExitButton()->getCaption().toLower();
        ASSERT_TRUE(m_app.hasText(sCaption.c_str())) << sCase << ": " << sCaption.c_str();
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(m_app.getText(sCaption.c_str())[0])))
            << sCase << ": " << m_app.getText(sCaption.c_str());
        dialog.onCallback(GameStatsMode::kButtonId, nullptr);
        m_app.updateModes(0.01f);
    }
}
