// The built game whose settings file was cut short: before the box for the
// first name, once, the message that the settings could not be read, naming
// the full path of the copy kept aside; the copy holds the old bytes, and the
// fresh file the new player. When the start that found the damage fails
// before its window opens, the message waits for the next start.
#include <signal.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include <zep2/error.h>

#include "app/wholegame_util.h"
#include "screens/democontent_files.h"
#include "testkit/testkit_audio.h"
#include "ui/ui_label.h"

namespace {

using namespace wholegame;

class XvfbDamagedSettings : public GameRun {
protected:
    XvfbDamagedSettings() : GameRun("damagedsettings") {}

    // The game's theme and content, so that a text is drawn as the game
    // draws it (the theme's sounds go to a fake audio driver).
    void SetUp() override {
        GameRun::SetUp();
        auto pAudio = std::make_unique<testkit::FakeAudioDriver>();
        m_pAudio = pAudio.get();
        static_cast<testkit::FakePlatform*>(m_pictures.getPlatform())->setAudioDriver(std::move(pAudio));
        m_pictures.useAudioDriver(m_pAudio);
        try {
            democontent::loadDemoContent(m_pictures, *m_pAudio, true);
        } catch (const Zep::Exception& e) {
            FAIL() << e.getMessage();
        }
    }
    void TearDown() override { unregisterTrueTypeFonts(); }

    // The line of text as a dialog's label draws it, seen where a wide
    // dialog's text stands.
    Condition showsLine(const std::string& sLine) {
        const Zep::SmartPtr<Label> pLine = new Label(sLine.c_str());
        m_pictures.addImage("the_line", pLine->getImage(), true);
        return [this](const Shot& shot) { return !find(shot, "the_line", 40, 150, 400, 400).empty(); };
    }

    // The settings of a player "bea", cut in the middle, as the settings
    // file; answers the bytes written.
    std::string damageSettings() {
        m_pictures.clearSettings();
        m_pictures.setSetting("CurrentPlayerName", "bea");
        m_pictures.setSetting("Fullscreen", "FALSE");
        std::filesystem::create_directories(dataFile(""));
        m_pictures.writeSettingsFile(dataFile("tukconfig.dat").c_str());
        const std::string sWhole = testkit::readFileBytes(dataFile("tukconfig.dat"));
        const std::string sCut = sWhole.substr(0, sWhole.size() / 2);
        testkit::writeFileBytes(dataFile("tukconfig.dat"), sCut);
        return sCut;
    }

    // Past the splash logos to the message that names the kept copy.
    bool reachNoticeNaming(const std::string& sCopy) {
        const Condition copyNamed = showsLine(sCopy), notice = settingsNotice();
        if (!waitFor("splash_1", showing(kSplashFirst))) return false;
        click(100, 100, showing(kSplashFirst));
        if (!waitFor("splash_3", showing(kSplashSecond))) return false;
        click(100, 100, showing(kSplashSecond));
        return waitFor("the message naming the copy", [&](const Shot& shot) { return notice(shot) && copyNamed(shot); });
    }

    testkit::FakeAudioDriver* m_pAudio = nullptr;
};

}  // namespace

TEST_F(XvfbDamagedSettings, TheMessageNamingTheKeptCopyComesOnceBeforeTheFirstName) {
    ASSERT_TRUE(m_server.isRunning());
    ASSERT_TRUE(m_screen.isOpen());
    const std::string sCut = damageSettings();
    const std::string sCopy = dataFile("tukconfig.dat.bad");
    const Condition notice = settingsNotice();

    start();
    ASSERT_TRUE(reachNoticeNaming(sCopy));
    press(kReturn, notice);
    ASSERT_TRUE(waitFor("the box for the first name", settledDimmed(kMenuTiles)));
    EXPECT_FALSE(notice(m_screen.grab()));
    type("ann");
    m_screen.pressKey(kReturn);
    ASSERT_TRUE(waitFor("the menu", showing(kMenu)));
    EXPECT_FALSE(cameWithin(notice, kNoNoticeMilliseconds));

    m_pGame->signal(SIGTERM);
    ASSERT_EQ(m_pGame->wait(kScreenMilliseconds), 0);
    EXPECT_TRUE(testkit::readFileBytes(sCopy) == sCut);
    const std::string sLog = testkit::readFileBytes(dataFile("tuk.log"));
    EXPECT_EQ(processtest::countOf(sLog, "G: ** Bad config, using defaults **\n"), 1) << sLog;
    m_pictures.clearSettings();
    m_pictures.readSettingsFile(dataFile("tukconfig.dat").c_str());
    EXPECT_EQ(m_pictures.getSettingsLoadState(), GameApp::kSettingsRead);
    EXPECT_STREQ(m_pictures.getSetting("CurrentPlayerName").c_str(), "ann");
}

// No display: the start moves the damaged file aside, writes fresh settings
// and fails as the window would open. The next start tells, and the fresh
// file then no longer holds the copy's path, so no later start tells again.
TEST_F(XvfbDamagedSettings, AStartThatFailsBeforeTheWindowLeavesTheMessageToTheNextStart) {
    ASSERT_TRUE(m_server.isRunning());
    ASSERT_TRUE(m_screen.isOpen());
    const std::string sCut = damageSettings();
    const std::string sCopy = dataFile("tukconfig.dat.bad");
    const Child::Env noDisplay{{"XDG_DATA_HOME", m_home.path()}, {"DISPLAY", ""}, {"SDL_VIDEODRIVER", "x11"}};
    ASSERT_EQ(Child(TUK_GAME_PROGRAM, {}, noDisplay, m_home.file("failed.txt")).wait(kScreenMilliseconds), 1);
    ASSERT_TRUE(testkit::readFileBytes(sCopy) == sCut);

    start();
    ASSERT_TRUE(reachNoticeNaming(sCopy));
    press(kReturn, settingsNotice());
    ASSERT_TRUE(waitFor("the box for the first name", settledDimmed(kMenuTiles)));
    m_pGame->signal(SIGTERM);
    ASSERT_EQ(m_pGame->wait(kScreenMilliseconds), 0);
    m_pictures.clearSettings();
    m_pictures.readSettingsFile(dataFile("tukconfig.dat").c_str());
    EXPECT_EQ(m_pictures.getSettingsLoadState(), GameApp::kSettingsRead);
    EXPECT_EQ(m_pictures.getSetting(GameApp::kUntoldCopyKey), "");
    EXPECT_TRUE(testkit::readFileBytes(sCopy) == sCut);
}
