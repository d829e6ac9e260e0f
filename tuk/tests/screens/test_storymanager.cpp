// The campaign map: the new-adventure rule, the level it starts, each
// level's result filled as the level fills it and taken when the map comes
// back, the steps it queues (the store first), and the record read back from
// the settings file.
#include <gtest/gtest.h>

#include <zep2/str.h>

#include "actors/barfixture.h"
#include "records/profileaccess.h"
#include "screens/democontent_util.h"
#include "screens/frontend_util.h"
#include "records/highscore_util.h"
#include "screens/longdialogmode.h"
#include "level/playmode.h"
#include "screens/previewtest_util.h"
#include "screens/slideshow.h"
#include "screens/storemode.h"
#include "screens/storymanager.h"
#include "sprite/trn_fadetoblack.h"

namespace {

constexpr const char* kSlides[] = {"historieta_1",  "historieta_1a", "historieta_2",  "historieta_3", "historieta_4a",
                                   "historieta_4b", "historieta_5a", "historieta_5b", "historieta_6a"};

class MapTest : public frontendtest::FrontEndTest {
protected:
    void SetUp() override {
        FrontEndTest::SetUp();
        // Each slide as wide as 30 plus its index, so a copy on screen tells its name.
        for (size_t i = 0; i < std::size(kSlides); ++i) picture(kSlides[i], 30 + static_cast<int>(i), 10);
        m_app.addImage("historieta_6b", imagetest::solid(30, 20, false, Color(200, 100, 50, 255)).get(), true);
        previewtest::addStoreContent(m_app, *m_pFiles, *m_pAudio);
        addLevels();
    }
    // Play, the fade and the level's loading box over.
    PlayMode* enterLevel() {
        pressOn(*m_pMap->getPlayButton());
        settle();
        m_app.updateModes(0.01f);
        m_app.deleteEndedModes();
        return top<PlayMode>();
    }
    // The smallest level each stage's scene can be: a walk area, a sink and
    // a seat, and one customer for it.
    void addLevels() {
        bartest::addBarContent(m_app);
        picture("seat", 20, 20);
        for (const char* szName : {"clock_base", "clock_markers"}) picture(szName, 8, 8);
        for (int i = 1; i <= 20; ++i) picture(("clock_" + std::to_string(i)).c_str(), 8, 8);
        for (int i = 0; i < 5; ++i)
            m_pFiles->add(("scene" + std::to_string(i) + ".scene").c_str(),
                          testkit::resource("walkarea 0 400 800 700 300\n"
                                              "actionspot trashbin 10 10 5 0 400 40 440 n sink\n"
                                              "actionspot charspot 100 300 90 80 420 120 460 n seat 0\n"));
        m_pFiles->add("customers.txt", testkit::resource("ana normal 1\n"));
    }
    // A player at that point of an adventure under way, with money, an
    // upgrade and scores of earlier levels.
    TUKPlayer* ann(int nProgress, const char* szName = "Ann") {
        TUKPlayer* p = player(szName);
        p->setMoney(500);
        p->setUpgradeLevel(0, 2);
        p->setUpgradeLevel(12, 3);
        p->setAdventureInProgress(true);
        p->setAdventureProgress(nProgress);
        p->setStageNumber(nProgress / 10);
        p->setDifficulty(1);
        p->setStoryValue(3);
        p->setWorkingScore(0, 700);
        p->setWorkingScore(1, 9);
        p->setExtraWorking(nProgress);
        p->commitScores(0);
        return p;
    }
    StoryManagerMode* openMap(TUKPlayer* p, int nKind, int nDifficulty = 1) {
        m_pMap = new StoryManagerMode(nDifficulty, p->getStoryValue(), p, nKind);
        m_app.pushMode(m_pMap);
        return m_pMap;
    }
    // Play, the level's result as the level writes it, the level ends.
    void playLevel(const DayResult& result) {
        PlayMode* pLevel = enterLevel();
        ASSERT_TRUE(pLevel);
        *pLevel->getDayResult() = result;
        endTop();
    }
    // The steps pushed over the map, each ended in turn: the store with its
    // scene, a cut-scene as its first picture and the number of pictures
    // after it.
    std::string steps() {
        std::string s;
        for (int i = 0; i < 10 && m_app.getTopMode() != m_pMap; ++i) {
            if (auto* pStore = top<StoreMode>()) {
                s += std::string("store ") + pStore->getSceneName().c_str() + " ";
            } else if (auto* pShow = top<SlideshowMode>()) {
                m_app.updateModes(0.25f);
                s += std::string(kSlides[pShow->getShownSprites().get(0)->getImage()->getWidth() - 30]) + "+" +
                     std::to_string(pShow->getSlidesLeft()) + " ";
            } else {
                s += top<LongDialogMode>() ? "congratulation " : "? ";
            }
            endTop();
        }
        return s;
    }

    std::string labels() const {
        return std::string(m_pMap->getStageLabel()->getText().c_str()) + " " +
               m_pMap->getDayLabel()->getText().c_str() + " " + m_pMap->getMoneyLabel()->getText().c_str();
    }
    // Frames of 50 ms until the map shows again, under the fade-in that
    // follows its return: the labels of the first frame drawn then.
    std::string firstFrameBack() {
        auto back = [this] {
            const auto* pFade = dynamic_cast<ModeTransition*>(m_app.getTopMode());
            return pFade && !pFade->isFadeOut() && m_app.getModeAt(1) == m_pMap;
        };
        for (int i = 0; i < 200 && !back(); ++i) m_app.updateModes(0.05f);
        return back() ? labels() : "(the map did not come back)";
    }

    StoryManagerMode* m_pMap = nullptr;
};

}  // namespace

TEST_F(MapTest, ANewAdventureChangesExactlyItsFieldsAndQueuesTheOpening) {
    const std::string kKept = "money 500 up 23 ";
    const struct {
        bool bInProgress;
        int nStory;
        int nKind;
        const char* szAfter;
        int nSteps;
    } kRows[] = {
        {false, 3, 0, "flag 1 stage 0 diff 2 story 3 progress 0 work 0,0,0+17 done 0,0+17 best 700", 1},
        {true, 3, 0, "flag 1 stage 1 diff 1 story 5 progress 17 work 700,9,0+17 done 700,9+17 best 700", 0},
        {false, 0, 0, "flag 0 stage 1 diff 1 story 5 progress 17 work 700,9,0+17 done 700,9+17 best 700", 0},
        {false, 3, 1, "flag 0 stage 1 diff 1 story 5 progress 17 work 700,9,0+17 done 700,9+17 best 700", 0},
    };
    int n = 0;
    for (const auto& row : kRows) {
        TUKPlayer* p = ann(17, Zep::String::format("p%d", n++).c_str());
        p->setAdventureInProgress(row.bInProgress);
        p->setStoryValue(5);
        StoryManagerMode map(2, row.nStory, p, row.nKind);
        EXPECT_EQ(describe(*p), kKept + row.szAfter);
        EXPECT_EQ(map.getQueuedSteps().getCount(), row.nSteps);
    }
    TUKPlayer* p = ann(17, "p4");
    p->setAdventureInProgress(false);
    openMap(p, 0);
    EXPECT_EQ(steps(), "historieta_1+1 ");
}

struct LevelRow {
    int nKind;
    int nProgress;
    DayResult result;
    const char* szAfter;
    const char* szSteps;
};

// Results filled as the level fills them; the record is read back from the
// settings file after each.
TEST_F(MapTest, EachLevelsResultIsTakenOnceByGameKindAndSaved) {
    const LevelRow kRows[] = {
        // won: money, scores and progress move, the scores committed with them
        {0,
         12,
         {true, 300, 4, 280, 3, true},
         "money 800 up 23 flag 1 stage 1 diff 1 story 3 progress 13 work 1000,13,0+13 done 1000,13+13",
         "store scene1 "},
        // lost, or not done: nothing changes
        {0,
         12,
         {true, 300, 4, 280, 3, false},
         "money 500 up 23 flag 1 stage 1 diff 1 story 3 progress 12 work 700,9,0+12 done 700,9+12",
         ""},
        {0,
         12,
         {false, 300, 4, 280, 3, true},
         "money 500 up 23 flag 1 stage 1 diff 1 story 3 progress 12 work 700,9,0+12 done 700,9+12",
         ""},  // quit
        // the stage changes: its cut-scene
        {0,
         19,
         {true, 10, 1, 10, 1, true},
         "money 510 up 23 flag 1 stage 2 diff 1 story 3 progress 20 work 710,10,0+20 done 710,10+20",
         "store scene2 historieta_3+0 "},
        {0,
         39,
         {true, 10, 1, 10, 1, true},
         "money 510 up 23 flag 1 stage 4 diff 1 story 3 progress 40 work 710,10,0+40 done 710,10+40",
         "store scene4 historieta_5a+1 "},
        // relax mode and free play record the day's money and offer it to their list
        {1,
         12,
         {true, 300, 4, 1500, 3, false},
         "money 500 up 23 flag 1 stage 1 diff 1 story 3 progress 12 work 1500,9,0+12 done 700,9+12",
         "congratulation "},
        {2,
         12,
         {true, 300, 4, 500, 3, true},
         "money 500 up 23 flag 1 stage 1 diff 1 story 3 progress 12 work 500,9,0+12 done 700,9+12",
         ""},
    };
    int n = 0;
    for (const LevelRow& row : kRows) {
        const std::string sName = Zep::String::format("p%d", n++).c_str();
        openMap(ann(row.nProgress, sName.c_str()), row.nKind);
        playLevel(row.result);
        EXPECT_EQ(steps(), row.szSteps) << sName;
        EXPECT_EQ(describe(*player(sName.c_str())).substr(0, std::string(row.szAfter).size()), row.szAfter) << sName;
        EXPECT_EQ(readBack(sName.c_str()).substr(0, std::string(row.szAfter).size()), row.szAfter) << sName;
        EXPECT_FALSE(m_pMap->getDayResult().bDone);
        endTop();
    }
}

// At progress 49 a won level finishes the adventure: its score, 3 points a
// dollar and 50 a star of the totals the record kept since its first day
// (700 and 9, as any earlier build kept them too) and this day's, goes to
// the campaign's list; the congratulation shows only when it got in, then
// the closing cut-scene on its composed last picture.
TEST_F(MapTest, TheFiftiethLevelOffersTheScoreAndCongratulatesOnlyWhenItGotIn) {
    highscoretest::Rows ten = {{"A", 20000}, {"B", 20000}, {"C", 20000}, {"D", 20000}, {"E", 20000},
                               {"F", 20000}, {"G", 20000}, {"H", 20000}, {"I", 20000}, {"J", 20000}};
    const struct {
        int nMoney;
        int32_t nScore;  // 3 x (700 + money) + 50 x (9 + 1)
        const char* szSteps;
    } kRows[] = {{5800, 20000, "store scene4 historieta_6a+1 "},
                 {5801, 20003, "store scene4 congratulation historieta_6a+1 "}};
    int n = 0;
    for (const auto& row : kRows) {
        highscoretest::storeBytes(m_app, std::string("\x05", 1) + highscoretest::listBytes(ten) +
                                             highscoretest::listBytes(ten) + highscoretest::listBytes(ten));
        const std::string sName = Zep::String::format("p%d", n++).c_str();
        TUKPlayer* p = ann(49, sName.c_str());
        openMap(p, 0);
        m_pAudio->m_vSamples.clear();
        playLevel({true, row.nMoney, 1, row.nMoney, 1, true});
        const bool bIn = row.nScore > 20000;
        EXPECT_EQ(steps(), row.szSteps) << row.nMoney;
        EXPECT_EQ(m_pAudio->m_vSamples.size(), bIn ? 1u : 0u);
        EXPECT_EQ(p->getAdventureProgress() * 10 + p->getStageNumber(), 505);
        const std::string sEntry = recordtest::str(sName.c_str()) + recordtest::le32(row.nScore);
        EXPECT_EQ(highscoretest::storedBytes(m_app).find(sEntry) != std::string::npos, bIn) << row.nMoney;
        // Finished: no Play, the finished line in place of the day.
        EXPECT_FALSE(m_pMap->getPlayButton()->isVisible());
        EXPECT_TRUE(m_pMap->getFinishedLabel()->isVisible() && !m_pMap->getDayLabel()->isVisible());
        endTop();
    }
    const Zep::SmartPtr<Image> pLast = m_app.getImage("historieta_6c");
    EXPECT_EQ(pLast->getSize(), Point(800, 600));
    EXPECT_EQ(imagetest::dataPixel(*pLast, 5, 5), Color(200, 100, 50, 255));
    EXPECT_EQ(imagetest::dataPixel(*pLast, 400, 300), Color(0, 0, 0, 255));
}

// A won day adds to sums at the largest value an int holds without turning
// them negative: the money (on the map too), the totals and the days won
// stop there, and so does the score the last day offers.
TEST_F(MapTest, AWonDayStopsEverySumAtTheLargestValueItHolds) {
    const struct {
        int nProgress;
        int32_t nMoney, nMoneyTotal, nStarsTotal, nDaysWon;
        const char* szAfter;  // money, the two totals, the days won
    } kRows[] = {
        {12, 2147483600, 700, 9, 12, "2147483647 1200 12 13"},
        {12, INT32_MAX, INT32_MAX - 100, INT32_MAX - 1, INT32_MAX, "2147483647 2147483647 2147483647 2147483647"},
        {49, 2147483600, 2147483600, 2147483600, 49, "2147483647 2147483647 2147483603 50"},
    };
    int n = 0;
    for (const auto& row : kRows) {
        const std::string sName = Zep::String::format("p%d", n++).c_str();
        TUKPlayer* p = ann(row.nProgress, sName.c_str());
        p->setMoney(row.nMoney);
        p->setWorkingScore(TUKPlayer::kMoneySlot, row.nMoneyTotal);
        p->setWorkingScore(TUKPlayer::kStarsSlot, row.nStarsTotal);
        p->setExtraWorking(row.nDaysWon);
        openMap(p, 0);
        playLevel({true, 500, 3, 500, 3, true});
        steps();
        auto n32 = [](int32_t v) { return std::to_string(v); };
        EXPECT_EQ(n32(p->getMoney()) + " " + n32(p->getWorkingScore(0)) + " " + n32(p->getWorkingScore(1)) + " " +
                      n32(p->getExtraWorking()),
                  row.szAfter);
        EXPECT_EQ(m_pMap->getMoneyLabel()->getText(), "Money 2147483647");
        const std::string sEntry = recordtest::str(sName) + recordtest::le32(INT32_MAX);
        EXPECT_EQ(highscoretest::storedBytes(m_app).find(sEntry) != std::string::npos, row.nProgress == 49);
        endTop();
    }
}

// A level won on the last day of a stage, then a purchase in the store,
// each left behind its fade as the game leaves them: the map shows the
// record's stage, day and money from its first frame back, not only once
// the fade-in is over.
TEST_F(MapTest, TheFirstFrameBackFromTheLevelAndTheStoreShowsTheRecord) {
    TUKPlayer* p = ann(9);
    openMap(p, 0);
    PlayMode* pLevel = enterLevel();
    ASSERT_TRUE(pLevel);
    *pLevel->getDayResult() = {true, 300, 4, 280, 3, true};
    pLevel->startTransition(new TrnFadeToBlack());
    EXPECT_EQ(firstFrameBack(), "Stage 2 Day 1 Money 800");
    settle();
    auto* pStore = top<StoreMode>();
    ASSERT_TRUE(pStore);
    p->setMoney(720);  // as the purchase dialog pays
    pStore->onCallback(StoreMode::kBackId, nullptr);
    EXPECT_EQ(firstFrameBack(), "Stage 2 Day 1 Money 720");
    settle();
    EXPECT_EQ(labels(), "Stage 2 Day 1 Money 720");
}

TEST_F(MapTest, PlayStartsTheSceneOfTheStageAndTheLabelsGoThroughTheCheckedFormatter) {
    const struct {
        int nProgress;
        int nKind;
        const char* szLevel;
        const char* szLabels;
    } kRows[] = {
        {0, 0, "scene0 0 0 2", "Stage 1 Day 1 Money 500"},
        {37, 1, "scene3 37 1 2", "Stage 4 Day 8 Money 500"},
        {49, 2, "scene4 49 2 2", "Stage 5 Day 10 Money 500"},
        // After the campaign's end, relax mode and free play play its last day.
        {50, 1, "scene4 49 1 2", "Stage 5 Day 10 Money 500"},
        {50, 2, "scene4 49 2 2", "Stage 5 Day 10 Money 500"},
        {63, 2, "scene4 49 2 2", "Stage 5 Day 10 Money 500"},
    };
    for (const auto& row : kRows) {
        openMap(ann(row.nProgress), row.nKind, 2);
        EXPECT_EQ(std::string(m_pMap->getStageLabel()->getText().c_str()) + " " +
                      m_pMap->getDayLabel()->getText().c_str() + " " + m_pMap->getMoneyLabel()->getText().c_str(),
                  row.szLabels);
        PlayMode* pLevel = enterLevel();
        ASSERT_TRUE(pLevel);
        EXPECT_EQ(std::string(pLevel->getSceneName().c_str()) + " " + std::to_string(pLevel->getLevel()) + " " +
                      std::to_string(pLevel->getGameKind()) + " " + std::to_string(pLevel->getDifficulty()),
                  row.szLevel);
        EXPECT_EQ(pLevel->getDayResult(), &m_pMap->getDayResult());
        endTop();
        endTop();
    }
    m_pFiles->add("m.txt", testkit::resource("MAP_Money Money %s\n"));
    m_app.loadStringTable("m.txt");
    openMap(ann(3), 0);
    EXPECT_EQ(m_pMap->getMoneyLabel()->getText(), "Money %s");
}

namespace {

class DemoMap : public democontent::DemoContentTest {};

}  // namespace

// The rail at sums up to nine digits, negative too, on the first and the
// last day, with the adventure over and in the other game kinds: every
// shown label ends a gap before the first shown button and clear of the
// other labels, and a five-digit sum keeps the title font.
TEST_F(DemoMap, TheLabelsStandClearOfTheButtonsAtAnySumUpToNineDigits) {
    const struct {
        int nMoney;
        int nProgress;
        int nKind;
        const char* szFont;  // nullptr: either
    } kRows[] = {
        {0, 0, 0, "Sand::TitleBold"},        {50000, 3, 0, "Sand::TitleBold"},
        {999999, 49, 0, nullptr},            {123456789, 12, 1, "Sand::TitleSmall"},
        {999999999, 49, 2, "Sand::TitleSmall"}, {-99999999, 49, 0, "Sand::TitleSmall"},
        {999999999, 50, 0, nullptr},         {50000, 50, 0, nullptr},
    };
    TUKPlayer* p = static_cast<TUKPlayer*>(getProfileManager()->createProfile("Ann"));
    p->setAdventureInProgress(true);
    for (const auto& row : kRows) {
        p->setMoney(row.nMoney);
        p->setAdventureProgress(row.nProgress);
        auto* pMap = new StoryManagerMode(1, 3, p, row.nKind);
        m_app.pushMode(pMap);
        std::vector<Zep::SmartPtr<Label>> vLabels;
        for (const Zep::SmartPtr<Label>& pLabel : {pMap->getStageLabel(), pMap->getDayLabel(),
                                                   pMap->getFinishedLabel(), pMap->getMoneyLabel()})
            if (pLabel->isVisible()) vLabels.push_back(pLabel);
        std::vector<Zep::SmartPtr<Button>> vButtons;
        for (const Zep::SmartPtr<Button>& pButton : {pMap->getPlayButton(), pMap->getMenuButton()})
            if (pButton->isVisible()) vButtons.push_back(pButton);
        const std::string sCase = std::string(pMap->getMoneyLabel()->getText().c_str()) + ", progress " +
                                  std::to_string(row.nProgress) + ", kind " + std::to_string(row.nKind);
        ASSERT_EQ(vLabels.size(), 3u) << sCase;
        for (size_t i = 0; i < vLabels.size(); ++i) {
            const Rect text = vLabels[i]->getBoundingRect();
            const std::string sLabel = sCase + ": " + vLabels[i]->getText().c_str() + " " + democontent::describe(text);
            EXPECT_LE(text.getRight() + 12, vButtons.front()->getBoundingRect().getLeft()) << sLabel;
            for (const Zep::SmartPtr<Button>& pButton : vButtons)
                EXPECT_FALSE(text.intersects(pButton->getBoundingRect()))
                    << sLabel << " under " << pButton->getCaption().c_str() << " "
                    << democontent::describe(pButton->getBoundingRect());
            for (size_t k = i + 1; k < vLabels.size(); ++k)
                EXPECT_FALSE(text.intersects(vLabels[k]->getBoundingRect()))
                    << sLabel << " over " << vLabels[k]->getText().c_str();
            if (!row.szFont) continue;
            const Zep::SmartPtr<Font> pFont = m_app.getTheme()->getFont(row.szFont);
            EXPECT_EQ(vLabels[i]->getFont()->getHeight(), pFont->getHeight()) << sLabel << " not in " << row.szFont;
            EXPECT_EQ(vLabels[i]->getTextWidth(), pFont->getTextWidth(vLabels[i]->getText().c_str()))
                << sLabel << " not in " << row.szFont;
        }
        pMap->endMode();
        m_app.updateModes(0.01f);
        m_app.deleteEndedModes();
    }
}
