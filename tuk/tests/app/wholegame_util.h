// The whole game as a player takes it: the built program on its packed
// archives under an X server of its own, with disk audio, driven only by
// pointer and key events through the XTest extension and watched only
// through the root window's pixels. Each screen is recognised by pixels of
// the archive picture it shows; a step that waits in vain names its screen
// and leaves its last screenshot beside the test log.
#pragma once

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "image/memimage.h"
#include "app/process_util.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_tempdir.h"
#include "testkit/testkit_video.h"
#include "testkit/testkit_xvfb.h"

namespace wholegame {

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
// A click that leaves the screen as it was is sent again after this long.
constexpr int kClickMilliseconds = 3000;
constexpr int kClickTries = 5;
// Long enough for a notice to follow the frame that would bring it.
constexpr int kNoNoticeMilliseconds = 1500;
// Where the pointer rests between clicks.
constexpr int kRestX = 796, kRestY = 596;
// The main menu's Options sign, and the OK of the options dialog it opens.
constexpr int kOptionsX = 690, kOptionsY = 194;
constexpr int kOptionsOkX = 352, kOptionsOkY = 362;

// A picture of the archives drawn at (left, top), seen at the points where
// it is opaque.
struct Look {
    const char* szPicture;
    int nLeft, nTop;
    Points vPoints;
};

// Points of a grid over the rectangle, nStep apart.
inline Points grid(int x0, int y0, int x1, int y1, int nStep) {
    Points v;
    for (int y = y0; y < y1; y += nStep)
        for (int x = x0; x < x1; x += nStep) v.push_back({x, y});
    return v;
}

// The screen's colour is the picture's, scaled by fShade (a dialog over a
// screen darkens it), within a few steps.
inline bool near(uint32_t nScreen, const Color& c, float fShade) {
    auto close = [fShade](uint32_t a, uint8_t b) { return std::abs(static_cast<float>(a) - b * fShade) <= 4.0f; };
    return close((nScreen >> 16) & 0xFF, c.getRed()) && close((nScreen >> 8) & 0xFF, c.getGreen()) &&
           close(nScreen & 0xFF, c.getBlue());
}

inline uint32_t brightness(uint32_t n) { return ((n >> 16) & 0xFF) + ((n >> 8) & 0xFF) + (n & 0xFF); }

// A checksum of the pixels of the rectangle.
inline uint64_t sumOf(const Shot& shot, int x0, int y0, int x1, int y1) {
    uint64_t n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n = n * 1099511628211ull + shot.at(x, y);
    return n;
}

// Looks shared by the runs. Points avoid what the code places over a
// picture (labels, buttons, markers, tables) and the points the runs click,
// where the game draws its pointer.
inline const Look kSplashFirst{"splash_1", 200, 200, grid(210, 210, 590, 390, 20)};
inline const Look kSplashSecond{"splash_3", 200, 200, grid(210, 210, 590, 390, 20)};
// The menu's tiles, while the menu is still hidden behind the profile dialog.
inline const Look kMenuTiles{"sand_frame_back", 0, 0, {{5, 5}, {12, 30}, {30, 12}, {25, 5}, {20, 20}, {3, 38}}};
inline const Look kMenu{"menu_isologo", 10, 3, grid(14, 7, 366, 119, 8)};
inline const Look kStory1{"historieta_1", 0, 0, grid(20, 20, 780, 480, 40)};
inline const Look kStory1a{"historieta_1a", 0, 0, grid(20, 20, 780, 480, 40)};
// The bar of the first scene: the shelves on the back wall, clear of the
// customers, the waitress, the barman, the level's labels and dialogs.
inline const Look kBarRoom{"bar_room", 0, 0, grid(20, 60, 500, 170, 40)};
inline const Look kMap{"map_back", 0, 0, {{60, 40}, {200, 40}, {400, 40}, {600, 40}, {740, 40}, {60, 150},
                                          {200, 150}, {400, 150}, {600, 150}, {740, 150}, {740, 480}, {40, 300}}};

// The game under its own X server, in a temporary data home; the archives'
// pictures read beside it to recognise its screens.
class GameRun : public ::testing::Test {
protected:
    explicit GameRun(const char* szShotPrefix) : m_sShotPrefix(szShotPrefix) {}

    // The pictures' application can also build a level with the game's
    // classes (wholegame_bar.h): it has a video driver that draws nothing.
    void SetUp() override {
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        pPlatform->setVideoDriver(std::make_unique<testkit::FakeVideoDriver>());
        pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        m_pictures.setPlatform(std::move(pPlatform));
        m_pictures.initCaches();
        m_pictures.registerBuiltinResources();
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

    // The top-left corners in the area (x0 <= left < x1, y0 <= top < y1)
    // where the picture shows at its opaque points of its first nColumns
    // columns (all when 0): a button's cap is drawn as it is whatever the
    // button's width, and a caption never reaches it. Left to right, then
    // top to bottom.
    Points find(const Shot& shot, const char* szPicture, int x0, int y0, int x1, int y1, int nColumns = 0) {
        const Zep::SmartPtr<Image> pPicture = m_pictures.getImage(szPicture);
        const int nWidth = nColumns > 0 ? std::min(nColumns, pPicture->getWidth()) : pPicture->getWidth();
        std::vector<std::pair<std::pair<int, int>, Color>> vPoints;
        for (int py = 0; py < pPicture->getHeight(); py += 2)
            for (int px = 0; px < nWidth; px += 2) {
                const Color c = pPicture->getPixel(px, py);
                if (c.getAlpha() == 255) vPoints.push_back({{px, py}, c});
            }
        Points vFound;
        for (int x = x0; x < x1 && !vPoints.empty(); ++x)
            for (int y = y0; y < y1; ++y) {
                const bool bShows = std::all_of(vPoints.begin(), vPoints.end(), [&](const auto& point) {
                    return near(shot.at(x + point.first.first, y + point.first.second), point.second, 1.0f);
                });
                if (bShows) vFound.push_back({x, y});
            }
        return vFound;
    }

    // Polls the screen until the condition holds, for up to nMilliseconds;
    // otherwise the step fails naming the screen, and the last screenshot is
    // kept beside the log.
    bool waitFor(const std::string& sScreen, const Condition& condition, int nMilliseconds = kScreenMilliseconds) {
        Shot shot;
        if (cameWithin(condition, nMilliseconds, &shot)) return true;
        const std::string sFile = keptShotFolder() + m_sShotPrefix + "_" + fileWord(sScreen) + ".ppm";
        shot.writePpm(sFile);
        ADD_FAILURE() << "waited in vain for the screen \"" << sScreen << "\"; last screenshot: " << sFile
                      << "\ngame log:\n" << testkit::readFileBytes(dataFile("tuk.log"));
        return false;
    }

    // Polls the screen until the condition holds (true), or the time is up
    // or the game has ended (false, the last screenshot left in *pLast).
    bool cameWithin(const Condition& condition, int nMilliseconds, Shot* pLast = nullptr) {
        Shot shot;
        bool bCame = false;
        processtest::waitUntil(
            [&] {
                shot = m_screen.grab();
                bCame = condition(shot);
                return bCame || m_pGame->wait(0) >= 0;
            },
            nMilliseconds, kPollMilliseconds);
        if (!bCame && pLast) *pLast = std::move(shot);
        return bCame;
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

    // A notice about the settings file (progress can't be saved, or the
    // settings could not be read): a dialog wider than the name box's, the
    // top-left corner of its frame left of x 160.
    Condition settingsNotice() {
        return [this](const Shot& shot) { return !find(shot, "frame_ul", 40, 150, 160, 300).empty(); };
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
            bTaken = cameWithin([&](const Shot& shot) { return !before(shot); }, kClickMilliseconds);
        }
    }

    // The bytes of the disk audio capture from nFrom on hold a sound.
    bool soundAfter(size_t nFrom) const {
        const std::string s = testkit::readFileBytes(audioFile());
        for (size_t i = nFrom; i < s.size(); ++i)
            if (s[i] != 0) return true;
        return false;
    }

    // From the start to the menu: the splash logos, each skipped by a click,
    // and the forced profile dialog answered with the name. False, with the
    // step's failure, when a screen does not come.
    bool reachMenuAs(const char* szName) {
        if (!waitFor("splash_1", showing(kSplashFirst))) return false;
        click(100, 100, showing(kSplashFirst));
        if (!waitFor("splash_3", showing(kSplashSecond))) return false;
        click(100, 100, showing(kSplashSecond));
        if (!waitFor("profile dialog", settledDimmed(kMenuTiles))) return false;
        type(szName);
        m_screen.pressKey(kReturn);
        return waitFor("menu", showing(kMenu));
    }

    testkit::TestApp m_pictures;
    testkit::TempDir m_home;
    // The server first: it sets DISPLAY for the screen and the game.
    testkit::XvfbServer m_server{800, 600, 24};
    testkit::XScreen m_screen;
    std::unique_ptr<Child> m_pGame;
    std::string m_sShotPrefix;
};

}  // namespace wholegame
