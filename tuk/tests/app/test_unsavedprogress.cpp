// The built game whose settings file can no longer be written while it runs
// (the file replaced by a folder): the first save that fails, the options'
// OK, brings the message that progress can't be saved, once; the game plays
// on and ends in order.
#include <signal.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "app/wholegame_util.h"

namespace {

using namespace wholegame;

class XvfbUnsavedProgress : public GameRun {
protected:
    XvfbUnsavedProgress() : GameRun("unsavedprogress") {}

    // The options opened from the menu and closed with OK, which saves.
    bool optionsOk() {
        click(kOptionsX, kOptionsY, showing(kMenu));
        if (!waitFor("the options", settledDimmed(kMenu))) return false;
        click(kOptionsOkX, kOptionsOkY, settledDimmed(kMenu));
        return true;
    }
};

}  // namespace

TEST_F(XvfbUnsavedProgress, TheFirstSaveThatFailsIsToldOnScreenOnce) {
    ASSERT_TRUE(m_server.isRunning());
    ASSERT_TRUE(m_screen.isOpen());
    start();
    ASSERT_TRUE(reachMenuAs("ann"));
    EXPECT_FALSE(settingsNotice()(m_screen.grab()));
    const std::string sSettings = dataFile("tukconfig.dat");
    std::filesystem::remove(sSettings);
    std::filesystem::create_directory(sSettings);

    ASSERT_TRUE(optionsOk());
    ASSERT_TRUE(waitFor("the notice that progress can't be saved", settingsNotice()));
    press(kReturn, settingsNotice());
    ASSERT_TRUE(waitFor("the menu after the notice", showing(kMenu)));

    // The next failure is only logged.
    ASSERT_TRUE(optionsOk());
    ASSERT_TRUE(waitFor("the menu after the second options", showing(kMenu)));
    EXPECT_FALSE(cameWithin(settingsNotice(), kNoNoticeMilliseconds));

    m_pGame->signal(SIGTERM);
    ASSERT_EQ(m_pGame->wait(kScreenMilliseconds), 0);
    const std::string sLog = testkit::readFileBytes(dataFile("tuk.log"));
    EXPECT_GE(processtest::countOf(sLog, "G: ** Settings not saved : GameApp::writeSettingsFile : can't write " +
                                             sSettings + " [21] **\n"),
              3)
        << sLog;
    EXPECT_NE(sLog.find("M: == END ==\n"), std::string::npos);
}
