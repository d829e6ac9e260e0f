// The whole game as a player takes it: the built program on its packed
// archives under an X server of its own, with disk audio, driven only by
// pointer and key events through the XTest extension and watched only
// through the root window's pixels. Each screen is recognised by pixels of
// the archive picture it shows; a step that waits in vain names its screen
// and leaves its last screenshot beside the test log. The settings file the
// game leaves is read back with the game's own readers.
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "highscorelists.h"
#include "records_util.h"
#include "wholegame_util.h"

namespace {

using namespace wholegame;

constexpr unsigned long kEscape = 0xff1b;

// The rows of the records page.
uint64_t pageSum(const Shot& shot) { return sumOf(shot, 280, 180, 560, 460); }

class XvfbWholeGame : public GameRun {
protected:
    XvfbWholeGame() : GameRun("wholegame") {}
};

// The records' sign; most of that picture is clear.
const Look kRecords{"high_back", 0, 0, grid(260, 20, 540, 110, 10)};
// The floor where the waitress stands when the day begins, and the counter's
// front where she stands at the first coaster: the room shows there only
// while she is away, the counter only while she is not in front of it.
const Look kWaitressStart{"bar_room", 0, 0, grid(390, 450, 412, 560, 10)};
const Look kCounterFront{"bar_counter", 0, 215, grid(90, 315, 112, 365, 10)};
// The end-of-day statistics of a game that is not the adventure (six pixels
// higher since the button stands clear of the last row).
const Look kTimesUp{"timesup", 240, 188, grid(244, 192, 556, 274, 8)};
const Points kHowtoPoints{{10, 10},   {790, 10},  {10, 300},  {790, 300}, {600, 570}, {135, 160},
                          {135, 300}, {135, 440}, {500, 130}, {500, 270}, {500, 410}, {100, 120}};
const Look kHowtoPages[] = {{"howto0", 0, 0, kHowtoPoints}, {"howto1", 0, 0, kHowtoPoints},
                            {"howto2", 0, 0, kHowtoPoints}};

}  // namespace

TEST_F(XvfbWholeGame, APlayerTakesTheWholeRoadAndTheSettingsFileKeepsIt) {
    ASSERT_TRUE(m_server.isRunning());
    for (const Look* pLook : {&kSplashFirst, &kSplashSecond, &kMenuTiles, &kMenu, &kStory1, &kStory1a, &kMap,
                              &kBarRoom, &kWaitressStart, &kCounterFront, &kTimesUp,
                              &kRecords, &kHowtoPages[0], &kHowtoPages[1], &kHowtoPages[2]})
        ASSERT_GE(opaquePoints(*pLook), 3) << pLook->szPicture;
    ASSERT_TRUE(m_screen.isOpen());
    start();

    // Splash logos, each skipped by a click; the forced profile dialog.
    ASSERT_TRUE(reachMenuAs("ann"));
    const size_t nAudioAtMenu = testkit::readFileBytes(audioFile()).size();

    // A new adventure: its cut-scene, the map, back to the menu.
    click(100, 448, showing(kMenu));
    ASSERT_TRUE(waitFor("cut-scene historieta_1", showing(kStory1)));
    click(400, 540, showing(kStory1));
    ASSERT_TRUE(waitFor("cut-scene historieta_1a", showing(kStory1a)));
    click(400, 540, showing(kStory1a));
    ASSERT_TRUE(waitFor("map", showing(kMap)));
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
    click(100, 290, waitressAtStart);  // the second coaster
    ASSERT_TRUE(waitFor("waitress gone from her start", showing(kWaitressStart)));
    ASSERT_TRUE(waitFor("waitress at the coaster",
                        [&](const Shot& shot) { return shows(shot, kBarRoom) && !shows(shot, kCounterFront); }));
    press(kEscape, showing(kBarRoom));
    ASSERT_TRUE(waitFor("options over the bar", settledDimmed(kBarRoom)));
    const Condition statistics = [&](const Shot& shot) {
        return shows(shot, kTimesUp) && shows(shot, kBarRoom, true);
    };
    click(479, 342, [&](const Shot& shot) { return shows(shot, kBarRoom, true) && !statistics(shot); });
    ASSERT_TRUE(waitFor("statistics", statistics));
    click(400, 385, showing(kTimesUp));
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
        click(&page == &kHowtoPages[2] ? 190 : 376, 568, showing(page));
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
    Zep::List<HighscoreList> lDefaults;
    for (int i = 0; i < HighscoreLists::kListCount; ++i) lDefaults.add(HighscoreLists::defaultList(i));
    EXPECT_STREQ(m_pictures.getSetting(HighscoreLists::kSettingKey).c_str(),
                 HighscoreLists::encode(lDefaults).c_str());
    // The record: version 2, no upgrade, no money, the adventure begun with
    // story value 3 at medium difficulty, no level won yet.
    using namespace recordtest;
    const std::string sSlots(13 * 4, '\0');
    const std::string sRecord = le32(2) + sSlots + le32(0) + std::string(1, '\1') + le32s({3, 0, 1, 0}) + sSlots +
                                sSlots + sSlots + le32s({0, 0});
    EXPECT_EQ(settingBytes(m_pictures), profilesStream({{"ann", sRecord}}));
}
