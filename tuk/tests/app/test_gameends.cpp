// How the built game ends when it is asked to from outside, under an X server
// of its own: SIGTERM (a logout, a service manager's stop), SIGINT (Ctrl+C)
// and SIGHUP (a closed terminal) end it in order wherever the player is, with
// no question, exit code 0 and the settings saved; Alt+F4 still asks. And
// what the player confirms in the options is on disk before the game ends,
// however it ends.
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "records/records_util.h"
#include "app/wholegame_util.h"

namespace {

using namespace wholegame;

constexpr unsigned long kEscape = 0xff1b;
constexpr unsigned long kAltLeft = 0xffe9;
constexpr unsigned long kF4 = 0xffc1;
// The game ends within a second of the signal on an idle machine; a loaded
// one with the sanitizers gets more.
constexpr int kEndMilliseconds = 5000;

enum class Place { Menu, Level, LevelOptions };

class XvfbGameEnds : public GameRun {
protected:
    XvfbGameEnds() : GameRun("gameends") {}

    std::string log() const { return testkit::readFileBytes(dataFile("tuk.log")); }

    // The settings file's inode: a save replaces the file.
    ino_t settingsInode() const {
        struct stat info {};
        return ::stat(dataFile("tukconfig.dat").c_str(), &info) == 0 ? info.st_ino : 0;
    }

    // From the start to the place, as the player "ann".
    bool reach(Place place) {
        if (!reachMenuAs("ann")) return false;
        if (place == Place::Menu) return true;
        click(270, 448, showing(kMenu));
        if (!waitFor("map for free play", showing(kMap))) return false;
        click(602, 562, showing(kMap));
        if (!waitFor("bar", showing(kBarRoom))) return false;
        if (place == Place::Level) return true;
        press(kEscape, showing(kBarRoom));
        return waitFor("options over the bar", settledDimmed(kBarRoom));
    }

    // The signal, then: exit code 0 in time, the shutdown in the log in
    // order, the settings file written again with the player in it.
    void expectOrderlyEndOn(int nSignal) {
        const ino_t nBefore = settingsInode();
        ASSERT_NE(nBefore, 0u);
        const auto tSent = std::chrono::steady_clock::now();
        m_pGame->signal(nSignal);
        const int nExit = m_pGame->wait(kEndMilliseconds);
        const auto nMilliseconds =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - tSent).count();
        RecordProperty("end_milliseconds", static_cast<int>(nMilliseconds));
        const std::string sLog = log();
        EXPECT_EQ(nExit, 0) << sLog;
        size_t nAt = 0;
        for (const std::string& sLine :
             {"G: Signal " + std::to_string(nSignal) + ", quitting\n", std::string("G: Shutdown\n"),
              std::string("G: Quit\n"), std::string("M: == END ==\n")}) {
            const size_t nFound = sLog.find(sLine, nAt);
            ASSERT_NE(nFound, std::string::npos) << sLine << " in order in\n" << sLog;
            nAt = nFound;
        }
        EXPECT_EQ(sLog.find("EXCEPTION"), std::string::npos) << sLog;
        EXPECT_NE(settingsInode(), nBefore);  // saved at the shutdown
        m_pictures.readSettingsFile(dataFile("tukconfig.dat").c_str());
        EXPECT_STREQ(m_pictures.getSetting("CurrentPlayerName").c_str(), "ann");
        EXPECT_STREQ(m_pictures.getSetting("FullScreenFailed").c_str(), "FALSE");
        EXPECT_NE(recordtest::settingBytes(m_pictures).find(recordtest::str("ann")), std::string::npos);
    }

    void endsInOrder(Place place, int nSignal) {
        ASSERT_TRUE(m_server.isRunning());
        ASSERT_TRUE(m_screen.isOpen());
        start();
        ASSERT_TRUE(reach(place));
        expectOrderlyEndOn(nSignal);
    }
};

}  // namespace

TEST_F(XvfbGameEnds, SigtermAtTheMenu) { endsInOrder(Place::Menu, SIGTERM); }
TEST_F(XvfbGameEnds, SigintAtTheMenu) { endsInOrder(Place::Menu, SIGINT); }
TEST_F(XvfbGameEnds, SighupAtTheMenu) { endsInOrder(Place::Menu, SIGHUP); }
TEST_F(XvfbGameEnds, SigtermInALevel) { endsInOrder(Place::Level, SIGTERM); }
TEST_F(XvfbGameEnds, SigintInALevel) { endsInOrder(Place::Level, SIGINT); }
TEST_F(XvfbGameEnds, SighupInALevelWithItsOptionsOpen) { endsInOrder(Place::LevelOptions, SIGHUP); }

// Alt+F4 is the window's close request: it asks, and the game waits for the
// answer. A signal while the question is open ends the game all the same.
TEST_F(XvfbGameEnds, AltF4StillAsksAndASignalEndsTheOpenQuestion) {
    ASSERT_TRUE(m_server.isRunning());
    ASSERT_TRUE(m_screen.isOpen());
    start();
    ASSERT_TRUE(reach(Place::Menu));
    m_screen.pressKeyWith(kAltLeft, kF4);
    ASSERT_TRUE(waitFor("exit confirmation", settledDimmed(kMenu)));
    EXPECT_EQ(m_pGame->wait(1000), -1);  // still asking
    expectOrderlyEndOn(SIGTERM);
}

// A volume lowered in the options and confirmed with OK is in the settings
// file at once: a kill right after it loses nothing.
TEST_F(XvfbGameEnds, ConfirmedOptionsOutliveAKill) {
    ASSERT_TRUE(m_server.isRunning());
    ASSERT_TRUE(m_screen.isOpen());
    start();
    ASSERT_TRUE(reach(Place::Menu));
    click(690, 194, showing(kMenu));
    ASSERT_TRUE(waitFor("options dialog", settledDimmed(kMenu)));
    // A press at the left end of the sound slider's track moves its knob there.
    const auto knob = [](const Shot& shot) { return sumOf(shot, 550, 212, 570, 234); };
    const uint64_t nKnobAtFull = knob(m_screen.grab());
    click(361, 223, [&](const Shot& shot) { return knob(shot) == nKnobAtFull; });
    click(347, 367, dimmed(kMenu));
    ASSERT_TRUE(waitFor("menu after the options", showing(kMenu)));
    m_pGame->signal(SIGKILL);
    EXPECT_EQ(m_pGame->wait(kEndMilliseconds), 128 + SIGKILL);
    m_pictures.readSettingsFile(dataFile("tukconfig.dat").c_str());
    EXPECT_STREQ(m_pictures.getSetting("SoundVolume").c_str(), "1");  // one pixel into the track
    EXPECT_STREQ(m_pictures.getSetting("MusicVolume").c_str(), "255");
}
