// The whole game as a player takes it: the built program on its packed
// archives under an X server of its own, with disk audio, driven only by
// pointer and key events through the XTest extension and watched only
// through the root window's pixels. Each screen is recognised by pixels of
// the archive picture it shows; a step that waits in vain names its screen
// and leaves its last screenshot beside the test log. The settings file the
// game leaves is read back with the game's own readers.
#include <cctype>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "highscorelists.h"
#include "memimage.h"
#include "process_util.h"
#include "records_util.h"
#include "testkit_app.h"
#include "testkit_platform.h"
#include "testkit_tempdir.h"
#include "testkit_xvfb.h"

namespace {

using processtest::Child;
using Shot = testkit::XScreen::Shot;
using Points = std::vector<std::pair<int, int>>;
using Condition = std::function<bool(const Shot&)>;

// A screen may take this long to come (a sanitizer build on two busy cores).
constexpr int kScreenMilliseconds = 90000;
constexpr int kPollMilliseconds = 100;
// The pointer rests this long on a control before its click.
constexpr int kHoverMilliseconds = 300;
constexpr unsigned long kReturn = 0xff0d;
constexpr unsigned long kEscape = 0xff1b;
// A click that leaves the screen as it was is sent again after this long.
constexpr int kClickMilliseconds = 3000;
constexpr int kClickTries = 5;
// Where the pointer rests between clicks.
constexpr int kRestX = 796, kRestY = 596;

// A picture of the archives drawn at (left, top), seen at the points where
// it is opaque.
struct Look {
    const char* szPicture;
    int nLeft, nTop;
    Points vPoints;
};

// Points of a grid over the rectangle, nStep apart.
Points grid(int x0, int y0, int x1, int y1, int nStep) {
    Points v;
    for (int y = y0; y < y1; y += nStep)
        for (int x = x0; x < x1; x += nStep) v.push_back({x, y});
    return v;
}

// The screen's colour is the picture's, scaled by fShade (a dialog over a
// screen darkens it), within a few steps.
bool near(uint32_t nScreen, const Color& c, float fShade) {
    auto close = [fShade](uint32_t a, uint8_t b) { return std::abs(static_cast<float>(a) - b * fShade) <= 4.0f; };
    return close((nScreen >> 16) & 0xFF, c.getRed()) && close((nScreen >> 8) & 0xFF, c.getGreen()) &&
           close(nScreen & 0xFF, c.getBlue());
}

uint32_t brightness(uint32_t n) { return ((n >> 16) & 0xFF) + ((n >> 8) & 0xFF) + (n & 0xFF); }

// A checksum of the pixels of the rectangle.
uint64_t sumOf(const Shot& shot, int x0, int y0, int x1, int y1) {
    uint64_t n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n = n * 1099511628211ull + shot.at(x, y);
    return n;
}
// The rows of the records page.
uint64_t pageSum(const Shot& shot) { return sumOf(shot, 280, 180, 560, 460); }

class XvfbWholeGame : public ::testing::Test {
protected:
    void SetUp() override {
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        m_pictures.setPlatform(std::move(pPlatform));
        m_pictures.initCaches();
        const std::string sFolder = std::filesystem::path(TUK_GAME_PROGRAM).parent_path().string() + "/";
        for (const char* szArchive : {"lang_en.dat", "tuk_data.dat", "tuk_sound.dat"})
            m_pictures.addResourceFile((sFolder + szArchive).c_str());
    }

    void start() {
        const Child::Env env{{"XDG_DATA_HOME", m_home.path()},  {"SDL_AUDIODRIVER", "disk"},
                             {"SDL_DISKAUDIOFILE", audioFile()}, {"SDL_DISKAUDIODELAY", "40"},
                             {"TUK_LIST_RESOURCES", ""}};
        m_pGame = std::make_unique<Child>(TUK_GAME_PROGRAM, std::vector<std::string>{}, env, m_home.file("err.txt"));
    }

    std::string audioFile() const { return m_home.file("audio.raw"); }
    std::string dataFile(const char* szName) const { return m_home.file(std::string("Halvorn/TukHarbor/") + szName); }

    // True when every opaque point of the look shows the picture's colour,
    // or, bDimmed, the colour darkened by one factor from 0.25 to 0.9; false
    // when fewer than three of its points are opaque.
    bool shows(const Shot& shot, const Look& look, bool bDimmed = false, float* pShade = nullptr) {
        const Zep::SmartPtr<Image> pPicture = m_pictures.getImage(look.szPicture);
        pPicture->lock();
        std::vector<std::pair<uint32_t, Color>> vSeen;
        uint32_t nScreenSum = 0, nPictureSum = 0;
        for (const auto& [x, y] : look.vPoints) {
            const int px = x - look.nLeft, py = y - look.nTop;
            if (px < 0 || py < 0 || px >= pPicture->getWidth() || py >= pPicture->getHeight()) continue;
            const Color c = pPicture->readPixel(px, py);
            if (c.getAlpha() != 255) continue;
            vSeen.push_back({shot.at(x, y), c});
            nScreenSum += brightness(shot.at(x, y));
            nPictureSum += c.getRed() + c.getGreen() + c.getBlue();
        }
        pPicture->unlock();
        const float fShade = bDimmed && nPictureSum ? static_cast<float>(nScreenSum) / nPictureSum : 1.0f;
        if (pShade) *pShade = fShade;
        if (vSeen.size() < 3 || (bDimmed && (fShade > 0.9f || fShade < 0.25f))) return false;
        for (const auto& [nScreen, c] : vSeen)
            if (!near(nScreen, c, fShade)) return false;
        return true;
    }

    int opaquePoints(const Look& look) {
        const Zep::SmartPtr<Image> pPicture = m_pictures.getImage(look.szPicture);
        pPicture->lock();
        int n = 0;
        for (const auto& [x, y] : look.vPoints) {
            const int px = x - look.nLeft, py = y - look.nTop;
            if (px >= 0 && py >= 0 && px < pPicture->getWidth() && py < pPicture->getHeight())
                n += pPicture->readPixel(px, py).getAlpha() == 255 ? 1 : 0;
        }
        pPicture->unlock();
        return n;
    }

    // Polls the screen until the condition holds; otherwise the step fails
    // naming the screen, and the last screenshot is kept beside the log.
    bool waitFor(const std::string& sScreen, const Condition& condition) {
        const auto tEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(kScreenMilliseconds);
        Shot shot;
        for (;;) {
            shot = m_screen.grab();
            if (condition(shot)) return true;
            if (std::chrono::steady_clock::now() > tEnd || m_pGame->wait(0) >= 0) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollMilliseconds));
        }
        const std::string sFile = keptShotFolder() + "wholegame_" + fileWord(sScreen) + ".ppm";
        shot.writePpm(sFile);
        ADD_FAILURE() << "waited in vain for the screen \"" << sScreen << "\"; last screenshot: " << sFile
                      << "\ngame log:\n" << testkit::readFileBytes(dataFile("tuk.log"));
        return false;
    }

    Condition showing(const Look& look) {
        return [this, &look](const Shot& shot) { return shows(shot, look); };
    }
    Condition dimmed(const Look& look) {
        return [this, &look](const Shot& shot) { return shows(shot, look, true); };
    }
    // The look under a dialog's dimmer, once the shade holds still (a fade
    // darkens the screen too, but not for long).
    Condition settledDimmed(const Look& look) {
        auto pLast = std::make_shared<float>(0.0f);
        return [this, &look, pLast](const Shot& shot) {
            float fShade = 0.0f;
            const bool bDimmed = shows(shot, look, true, &fShade);
            const bool bSettled = std::abs(fShade - *pLast) < 0.01f;
            *pLast = fShade;
            return bDimmed && bSettled;
        };
    }

    void type(const char* szText) {
        for (; *szText; ++szText) {
            const char sz[2] = {*szText, 0};
            m_screen.typeText(sz);
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollMilliseconds));
        }
    }

    static std::string fileWord(std::string s) {
        for (char& c : s) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return s;
    }
    // Where ctest keeps its log, else the working folder.
    static std::string keptShotFolder() {
        return std::filesystem::is_directory("Testing/Temporary") ? "Testing/Temporary/" : "./";
    }

    // A click at (x, y) once the pointer has rested there, sent again while
    // the screen stays as the condition describes it (a click may meet a
    // frame that does not take it). The pointer, which the game draws, then
    // rests in the corner, away from every look's points.
    void click(int x, int y, const Condition& before) {
        m_screen.moveTo(x, y);
        std::this_thread::sleep_for(std::chrono::milliseconds(kHoverMilliseconds));
        repeat([&] { m_screen.click(x, y); }, before);
        m_screen.moveTo(kRestX, kRestY);
    }

    // A key pressed, and again while the screen stays as before.
    void press(unsigned long nKeySym, const Condition& before) {
        repeat([&] { m_screen.pressKey(nKeySym); }, before);
    }

    // The act, done again after a while as long as the screen stays as the
    // condition describes it, at most kClickTries times.
    void repeat(const std::function<void()>& act, const Condition& before) {
        bool bTaken = false;
        for (int nTry = 0; nTry < kClickTries && !bTaken; ++nTry) {
            act();
            const auto tEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(kClickMilliseconds);
            while (!(bTaken = !before(m_screen.grab())) && std::chrono::steady_clock::now() < tEnd)
                std::this_thread::sleep_for(std::chrono::milliseconds(kPollMilliseconds));
        }
    }

    // The bytes of the disk audio capture from nFrom on hold a sound.
    bool soundAfter(size_t nFrom) const {
        const std::string s = testkit::readFileBytes(audioFile());
        for (size_t i = nFrom; i < s.size(); ++i)
            if (s[i] != 0) return true;
        return false;
    }

    testkit::TestApp m_pictures;
    testkit::TempDir m_home;
    // The server first: it sets DISPLAY for the screen and the game.
    testkit::XvfbServer m_server{800, 600, 24};
    testkit::XScreen m_screen;
    std::unique_ptr<Child> m_pGame;
};

// The screens' looks. Points avoid what the code places over a picture
// (labels, buttons, markers, tables) and the points the run clicks, where
// the game draws its pointer.
const Look kSplashFirst{"splash_1", 200, 200, grid(210, 210, 590, 390, 20)};
const Look kSplashSecond{"splash_3", 200, 200, grid(210, 210, 590, 390, 20)};
// The menu's tiles, while the menu is still hidden behind the profile dialog.
const Look kMenuTiles{"sand_frame_back", 0, 0, {{5, 5}, {12, 30}, {30, 12}, {25, 5}, {20, 20}, {3, 38}}};
const Look kMenu{"menu_isologo", 10, 3, grid(14, 7, 366, 119, 8)};
const Look kStory1{"historieta_1", 0, 0, grid(20, 20, 780, 480, 40)};
const Look kStory1a{"historieta_1a", 0, 0, grid(20, 20, 780, 480, 40)};
const Look kMap{"map_back", 0, 0, {{60, 40}, {200, 40}, {400, 40}, {600, 40}, {740, 40}, {60, 150}, {200, 150},
                                   {400, 150}, {600, 150}, {740, 150}, {740, 480}, {40, 300}}};
// The records' sign; most of that picture is clear.
const Look kRecords{"high_back", 0, 0, grid(260, 20, 540, 110, 10)};
// The bar of the first scene: the shelves on the back wall, clear of the
// customers, the waitress, the barman, the level's labels and dialogs.
const Look kBarRoom{"bar_room", 0, 0, grid(20, 60, 500, 170, 40)};
// The floor where the waitress stands when the day begins, and the counter's
// front where she stands at the first coaster: the room shows there only
// while she is away, the counter only while she is not in front of it.
const Look kWaitressStart{"bar_room", 0, 0, grid(390, 450, 412, 560, 10)};
const Look kCounterFront{"bar_counter", 0, 250, grid(90, 350, 112, 400, 10)};
// The end-of-day statistics of a game that is not the adventure.
const Look kTimesUp{"timesup", 240, 194, grid(244, 198, 556, 280, 8)};
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
    ASSERT_TRUE(waitFor("splash_1", showing(kSplashFirst)));
    click(100, 100, showing(kSplashFirst));
    ASSERT_TRUE(waitFor("splash_3", showing(kSplashSecond)));
    click(100, 100, showing(kSplashSecond));
    ASSERT_TRUE(waitFor("profile dialog", settledDimmed(kMenuTiles)));
    type("ann");
    m_screen.pressKey(kReturn);
    ASSERT_TRUE(waitFor("menu", showing(kMenu)));
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
    click(100, 328, waitressAtStart);
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
