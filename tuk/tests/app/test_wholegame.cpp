// The whole game as a player takes it: the built program on its packed
// archives under an X server of its own, with disk audio, driven only by
// pointer and key events through the XTest extension and watched only
// through the root window's pixels. Each screen is recognised by pixels of
// the archive picture it shows; a step that waits in vain names its screen
// and leaves its last screenshot beside the test log. The first day of the
// adventure is played to a win by a player who sees the bar the same way
// (wholegame_player.h), the store sells the tray, and the settings file the
// game leaves is read back with the game's own readers.
#include <algorithm>
#include <iostream>
#include <list>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "records/highscorelists.h"
#include "screens/storeitems.h"
#include "records/tukplayer.h"
#include "records/upgrademanager.h"
#include "app/wholegame_bar.h"
#include "app/wholegame_player.h"
#include "app/wholegame_util.h"

namespace {

using namespace wholegame;

constexpr unsigned long kEscape = 0xff1b;
// A day lasts 150 s of its clock at most, and the clock slows down with
// frames longer than 50 ms.
constexpr int kDayMilliseconds = 600000;
// A button's left cap, drawn as it is whatever its width.
constexpr int kCap = 12;

// The rows of the records page.
uint64_t pageSum(const Shot& shot) { return sumOf(shot, 280, 180, 560, 460); }

// The labels at the foot of the campaign map: stage, day and money.
uint64_t stageSum(const Shot& shot) { return sumOf(shot, 40, 552, 190, 592); }
uint64_t daySum(const Shot& shot) { return sumOf(shot, 200, 552, 330, 592); }
uint64_t moneySum(const Shot& shot) { return sumOf(shot, 340, 552, 550, 592); }

// What the player saw and did goes to the output when the run fails.
struct JournalOnFailure {
    const BarPlayer& player;
    ~JournalOnFailure() {
        if (::testing::Test::HasFailure()) std::cout << player.getJournal();
    }
};

class XvfbWholeGame : public GameRun {
protected:
    XvfbWholeGame() : GameRun("wholegame") {}

    // The title of a won day, centred over the statistics.
    bool showsWonTitle(const Shot& shot) {
        const Zep::SmartPtr<Image> pTitle = m_pictures.getImage("youwin");
        const int nLeft = 400 - pTitle->getWidth() / 2;
        return !find(shot, "youwin", nLeft - 4, 100, nLeft + 5, 300).empty();
    }
    // The centre of a button found by its left cap.
    std::pair<int, int> buttonCentre(const std::pair<int, int>& corner, const char* szPicture) {
        return {corner.first + kCap + 8, corner.second + m_pictures.getImage(szPicture)->getHeight() / 2};
    }
    // A store item's picture, centred on its place.
    Look storeItem(int nItem, int nLevel) {
        const Zep::SmartPtr<Image> pPicture = UpgradeManager().getItemImage(nItem, nLevel);
        m_sItemNames.push_back(pPicture->getName().c_str());
        const StoreItems::Item& item = StoreItems::get(nItem);
        const int nLeft = item.x - pPicture->getWidth() / 2, nTop = item.y - pPicture->getHeight() / 2;
        return Look{m_sItemNames.back().c_str(), nLeft, nTop,
                    grid(nLeft + 2, nTop + 2, nLeft + pPicture->getWidth() - 2, nTop + pPicture->getHeight() - 2, 6)};
    }

    std::list<std::string> m_sItemNames;
};

// The records' sign; most of that picture is clear.
const Look kRecords{"high_back", 0, 0, grid(260, 20, 540, 110, 10)};
// The floor where the waitress stands when the day begins: the room shows
// there only while she is away.
const Look kWaitressStart{"bar_room", 0, 0, grid(390, 450, 412, 560, 10)};
// The end-of-day statistics of a game that is not the adventure (six pixels
// higher since the button stands clear of the last row).
const Look kTimesUp{"timesup", 240, 188, grid(244, 192, 556, 274, 8)};
// The store: its window and the wall around it.
const Look kStore{"upgrade_store", 0, 0, grid(20, 30, 460, 180, 40)};
// The picture of the tray the purchase dialog offers.
constexpr const char* kNextTray = "buyupgrade_bandeja1_normal";
const Points kHowtoPoints{{10, 10},   {790, 10},  {10, 300},  {790, 300}, {600, 570}, {135, 160},
                          {135, 300}, {135, 440}, {500, 130}, {500, 270}, {500, 410}, {100, 120}};
const Look kHowtoPages[] = {{"howto0", 0, 0, kHowtoPoints}, {"howto1", 0, 0, kHowtoPoints},
                            {"howto2", 0, 0, kHowtoPoints}, {"howto3", 0, 0, kHowtoPoints}};

}  // namespace

TEST_F(XvfbWholeGame, APlayerTakesTheWholeRoadAndTheSettingsFileKeepsIt) {
    ASSERT_TRUE(m_server.isRunning());
    for (const Look* pLook : {&kSplashFirst, &kSplashSecond, &kMenuTiles, &kMenu, &kStory1, &kStory1a, &kMap,
                              &kBarRoom, &kWaitressStart, &kTimesUp, &kStore, &kRecords,
                              &kHowtoPages[0], &kHowtoPages[1], &kHowtoPages[2], &kHowtoPages[3]})
        ASSERT_GE(opaquePoints(*pLook), 3) << pLook->szPicture;
    const Look kTrayOffered = storeItem(0, 0), kTrayBought = storeItem(0, 1);
    ASSERT_GE(opaquePoints(kTrayOffered), 3);
    const BarMap bar = readBarMap();
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(m_screen.isOpen());
    start();

    // Splash logos, each skipped by a click; the forced profile dialog.
    ASSERT_TRUE(reachMenuAs("ann"));
    const size_t nAudioAtMenu = testkit::readFileBytes(audioFile()).size();

    // A new adventure: its cut-scene, then the map of its first day.
    click(100, 448, showing(kMenu));
    ASSERT_TRUE(waitFor("cut-scene historieta_1", showing(kStory1)));
    click(400, 540, showing(kStory1));
    ASSERT_TRUE(waitFor("cut-scene historieta_1a", showing(kStory1a)));
    click(400, 540, showing(kStory1a));
    ASSERT_TRUE(waitFor("map", showing(kMap)));
    const Shot firstMap = m_screen.grab();

    // The first day, played until it ends: orders, the barman's mugs, the
    // seats, the glasses to the sink.
    click(602, 562, showing(kMap));
    ASSERT_TRUE(waitFor("bar of the first day", showing(kBarRoom)));
    BarPlayer player(m_screen, bar, m_screen.grab());
    const JournalOnFailure journal{player};
    const bool bDayOver = waitFor(
        "end of the first day", [&](const Shot& shot) {
            if (!shows(shot, kBarRoom)) return true;
            player.play(shot);
            return false;
        },
        kDayMilliseconds);
    std::cout << "The first day: takings $" << player.getTakings() << " (goal $" << bar.nMoneyGoal << "), "
              << player.getServed() << " served, " << player.getDaySeconds() << " s of its clock\n";
    RecordProperty("takings", player.getTakings());
    ASSERT_TRUE(bDayOver);
    EXPECT_GE(player.getTakings(), bar.nMoneyGoal);

    // The statistics of a won day; their OK, once counted up.
    const Condition won = [&](const Shot& shot) { return showsWonTitle(shot); };
    ASSERT_TRUE(waitFor("statistics of a won day", won));
    Points vOk;
    ASSERT_TRUE(waitFor("statistics counted up", [&](const Shot& shot) {
        vOk = find(shot, "btn_normal", 200, 150, 600, 500, kCap);
        return vOk.size() == 1 && won(shot);
    }));
    const auto [nOkX, nOkY] = buttonCentre(vOk.front(), "btn_normal");
    click(nOkX, nOkY, won);

    // The map opens the store after a won day: the tray is bought.
    ASSERT_TRUE(waitFor("store", [&](const Shot& shot) { return shows(shot, kStore) && shows(shot, kTrayOffered); }));
    click(StoreItems::get(0).x, StoreItems::get(0).y, showing(kStore));
    // The purchase dialog over the dimmed store: the next tray's picture,
    // Buy and Cancel side by side below it.
    Points vTray, vButtons;
    const Condition storeUnder = settledDimmed(kStore);
    ASSERT_TRUE(waitFor("purchase dialog of the tray", [&](const Shot& shot) {
        vTray = find(shot, kNextTray, 150, 150, 650, 400);
        vButtons = find(shot, "btn_normal", 150, 200, 650, 450, kCap);
        return storeUnder(shot) && vTray.size() == 1 && vButtons.size() == 2;
    }));
    const Zep::SmartPtr<Image> pTray = m_pictures.getImage(kNextTray);
    const Look trayShown{kNextTray, vTray[0].first, vTray[0].second,
                         grid(vTray[0].first, vTray[0].second, vTray[0].first + pTray->getWidth(),
                              vTray[0].second + pTray->getHeight(), 4)};
    EXPECT_GE(opaquePoints(trayShown), 20);
    EXPECT_EQ(vButtons[0].second, vButtons[1].second);
    EXPECT_LT(vButtons[0].first + 100, vButtons[1].first);
    EXPECT_GT(vButtons[0].second, vTray[0].second);
    const auto [nBuyX, nBuyY] = buttonCentre(vButtons[0], "btn_normal");
    click(nBuyX, nBuyY, showing(trayShown));
    // "Bought!" over the dialog, which it dims: its OK, the one button that
    // shows, ends both.
    ASSERT_TRUE(waitFor("purchase confirmation", [&](const Shot& shot) {
        vOk = find(shot, "btn_normal", 50, 150, 750, 450, kCap);
        return vOk.size() == 1 && vOk != Points{vButtons[0]} && vOk != Points{vButtons[1]};
    }));
    const auto [nBoughtX, nBoughtY] = buttonCentre(vOk.front(), "btn_normal");
    const int nBoughtLeft = vOk.front().first, nBoughtTop = vOk.front().second;
    click(nBoughtX, nBoughtY, [&](const Shot& shot) {
        return !find(shot, "btn_normal", nBoughtLeft, nBoughtTop, nBoughtLeft + 1, nBoughtTop + 1, kCap).empty();
    });
    ASSERT_TRUE(waitFor("store with the tray bought",
                        [&](const Shot& shot) { return shows(shot, kStore) && shows(shot, kTrayBought); }));
    Points vBack;
    ASSERT_TRUE(waitFor("store's Back button", [&](const Shot& shot) {
        vBack = find(shot, "btn_paper_normal", 500, 450, 800, 600, kCap);
        return vBack.size() == 1;
    }));
    const auto [nBackX, nBackY] = buttonCentre(vBack.front(), "btn_paper_normal");
    click(nBackX, nBackY, showing(kStore));

    // The map of the second day: the day and the money changed, the stage
    // did not.
    ASSERT_TRUE(waitFor("map of the second day", [&](const Shot& shot) {
        return shows(shot, kMap) && daySum(shot) != daySum(firstMap) && moneySum(shot) != moneySum(firstMap) &&
               stageSum(shot) == stageSum(firstMap);
    }));
    click(712, 562, showing(kMap));
    ASSERT_TRUE(waitFor("menu after the map", showing(kMenu)));

    // A day of free play from the map: the bar comes, the waitress walks to
    // a coaster, Escape brings the level's options, whose way out ends the
    // day with its statistics; their OK leads back to the map, then the menu.
    click(270, 448, showing(kMenu));
    ASSERT_TRUE(waitFor("map for free play", showing(kMap)));
    click(602, 562, showing(kMap));
    ASSERT_TRUE(waitFor("bar", showing(kBarRoom)));
    const Condition waitressAtStart = [&](const Shot& shot) {
        return shows(shot, kBarRoom) && !shows(shot, kWaitressStart);
    };
    ASSERT_TRUE(waitFor("waitress at her start", waitressAtStart));
    // The second coaster; the counter below it as the day began.
    const BarCoaster& coaster = bar.vCoasters.at(1);
    const Shot freePlayBar = m_screen.grab();
    const auto counterHidden = [&](const Shot& shot) {
        return std::any_of(coaster.vFront.begin(), coaster.vFront.end(), [&](const std::pair<int, int>& point) {
            return distance(shot.at(point.first, point.second), freePlayBar.at(point.first, point.second)) > 60;
        });
    };
    click(coaster.nClickX, coaster.nClickY, waitressAtStart);
    ASSERT_TRUE(waitFor("waitress gone from her start", showing(kWaitressStart)));
    ASSERT_TRUE(waitFor("waitress at the coaster",
                        [&](const Shot& shot) { return shows(shot, kBarRoom) && counterHidden(shot); }));
    press(kEscape, showing(kBarRoom));
    ASSERT_TRUE(waitFor("options over the bar", settledDimmed(kBarRoom)));
    const Condition statistics = [&](const Shot& shot) {
        return shows(shot, kTimesUp) && shows(shot, kBarRoom, true);
    };
    click(479, 342, [&](const Shot& shot) { return shows(shot, kBarRoom, true) && !statistics(shot); });
    Points vTimesUpOk;
    ASSERT_TRUE(waitFor("statistics", [&](const Shot& shot) {
        vTimesUpOk = find(shot, "btn_normal", 200, 150, 600, 500, kCap);
        return statistics(shot) && vTimesUpOk.size() == 1;
    }));
    const auto [nTimesUpOkX, nTimesUpOkY] = buttonCentre(vTimesUpOk.front(), "btn_normal");
    click(nTimesUpOkX, nTimesUpOkY, showing(kTimesUp));
    ASSERT_TRUE(waitFor("map after the day", showing(kMap)));
    click(712, 562, showing(kMap));
    ASSERT_TRUE(waitFor("menu after the day", showing(kMenu)));

    // The records, each tab showing its own list.
    click(620, 44, showing(kMenu));
    ASSERT_TRUE(waitFor("records", showing(kRecords)));
    std::set<uint64_t> pages{pageSum(m_screen.grab())};
    for (int nTab = 1; nTab < 3; ++nTab) {
        const auto samePage = [&](const Shot& shot) { return shows(shot, kRecords) && pages.count(pageSum(shot)); };
        click(145, 186 + nTab * 49, samePage);
        ASSERT_TRUE(waitFor("records tab " + std::to_string(nTab),
                            [&](const Shot& shot) { return shows(shot, kRecords) && !samePage(shot); }));
        pages.insert(pageSum(m_screen.grab()));
    }
    click(645, 478, showing(kRecords));
    ASSERT_TRUE(waitFor("menu after the records", showing(kMenu)));

    // The how-to pages forward, then back to the menu.
    click(670, 348, showing(kMenu));
    for (const Look& page : kHowtoPages) {
        ASSERT_TRUE(waitFor(page.szPicture, showing(page)));
        click(&page == &kHowtoPages[3] ? 190 : 376, 568, showing(page));
    }
    ASSERT_TRUE(waitFor("menu after the how-to pages", showing(kMenu)));

    // Options: the difficulty set to hard, then OK.
    click(690, 194, showing(kMenu));
    ASSERT_TRUE(waitFor("options dialog", settledDimmed(kMenu)));
    // The box's upper left quarter, clear of the game's pointer at its centre.
    const auto hardBox = [](const Shot& shot) { return sumOf(shot, 467, 327, 476, 336); };
    const uint64_t nUnchecked = hardBox(m_screen.grab());
    click(476, 336, [&](const Shot& shot) { return hardBox(shot) == nUnchecked; });
    click(352, 362, dimmed(kMenu));
    ASSERT_TRUE(waitFor("menu after the options", showing(kMenu)));

    // Quit, confirmed with Return.
    click(730, 510, showing(kMenu));
    ASSERT_TRUE(waitFor("exit confirmation", settledDimmed(kMenu)));
    for (int nTry = 0; nTry < kClickTries && m_pGame->wait(0) < 0; ++nTry) {
        m_screen.pressKey(kReturn);  // Return answers yes
        m_pGame->wait(kClickMilliseconds);
    }
    EXPECT_EQ(m_pGame->wait(kScreenMilliseconds), 0) << testkit::readFileBytes(dataFile("tuk.log"));
    EXPECT_TRUE(soundAfter(nAudioAtMenu));

    // The settings file, read with the game's readers.
    m_pictures.readSettingsFile(dataFile("tukconfig.dat").c_str());
    EXPECT_STREQ(m_pictures.getSetting("CurrentPlayerName").c_str(), "ann");
    EXPECT_STREQ(m_pictures.getSetting("DoneWelcome").c_str(), "YES");
    EXPECT_STREQ(m_pictures.getSetting("Difficulty").c_str(), "2");
    EXPECT_STREQ(m_pictures.getSetting("FullScreenFailed").c_str(), "FALSE");
    HighscoreLists scores;
    scores.load();
    Zep::List<HighscoreList> lDefaults;
    for (int i = 0; i < HighscoreLists::kListCount; ++i) lDefaults.add(HighscoreLists::defaultList(i));
    EXPECT_EQ(scores.lists().getCount(), HighscoreLists::kListCount);
    EXPECT_STREQ(HighscoreLists::encode(scores.lists()).c_str(), HighscoreLists::encode(lDefaults).c_str());
    EXPECT_STREQ(m_pictures.getSetting(HighscoreLists::kSettingKey).c_str(),
                 HighscoreLists::encode(lDefaults).c_str());
    // The record: the adventure under way at medium difficulty with its first
    // day won, the tray bought with the day's takings. The menu committed the
    // adventure's slots (the takings, the day's stars) and its extra value;
    // free play began from them, wrote its own day's money (none) into the
    // working slot 0 and only raised the best values.
    TUKPlayerManager players;
    players.load();
    const auto* pAnn = dynamic_cast<const TUKPlayer*>(players.getProfile("ann"));
    ASSERT_NE(pAnn, nullptr);
    EXPECT_TRUE(pAnn->isAdventureInProgress());
    EXPECT_EQ(pAnn->getStoryValue() * 100 + pAnn->getStageNumber() * 10 + pAnn->getDifficulty(), 301);
    EXPECT_EQ(pAnn->getAdventureProgress(), 1);
    for (int i = 0; i < UpgradeManager::kKinds; ++i) EXPECT_EQ(pAnn->getUpgradeLevel(i), i == 0 ? 1 : 0) << i;
    EXPECT_EQ(pAnn->getMoney(), player.getTakings() - UpgradeManager::getUpgradePrice(0, 0));
    const int nStars = pAnn->getCommittedScore(1);
    EXPECT_GE(nStars, 0);
    EXPECT_LE(nStars, 16);
    for (int i = 0; i < TUKPlayer::kScoreSlots; ++i) {
        const int nAdventure = i == 0 ? player.getTakings() : i == 1 ? nStars : 0;
        EXPECT_EQ(pAnn->getCommittedScore(i), nAdventure) << i;
        EXPECT_EQ(pAnn->getBestScore(i), nAdventure) << i;
        EXPECT_EQ(pAnn->getWorkingScore(i), i == 0 ? 0 : nAdventure) << i;
    }
    EXPECT_EQ(pAnn->getExtraCommitted() * 10 + pAnn->getExtraWorking(), 11);
}
