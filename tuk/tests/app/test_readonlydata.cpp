// The built game run by a user who can't write its data folder: it reads the
// settings and profiles there, keeps its log on standard error, takes its
// single-instance lock in a private folder of the user's, says once that
// progress will not be saved (on standard error, and on screen over the
// menu), and changes nothing in the folder. The game runs as another user
// (otheruser_util.h).
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "records/records_util.h"
#include "app/otheruser_util.h"
#include "app/wholegame_util.h"

namespace {

using processtest::Child;
using processtest::countOf;
using processtest::OtherUser;
using processtest::waitFor;

constexpr int kStartMilliseconds = 30000;

// The data home with the game's folder in it, as the test leaves it.
std::string folderListing(const std::string& sFolder) {
    std::string s;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(sFolder))
        s += entry.path().string().substr(sFolder.size()) + " ";
    return s;
}

// The line that names the folder that can't be written.
std::string notice(const std::string& sFolder) {
    return "TUK: progress will not be saved: " + sFolder + " can't be written\n";
}

}  // namespace

// A data folder that holds the player's settings and profiles but can't be
// written: the menu greets her without asking for a name, a second copy is
// refused, and the file stays byte for byte as it was.
class XvfbReadOnlyData : public wholegame::GameRun {
protected:
    XvfbReadOnlyData() : GameRun("readonlydata") {}
    void TearDown() override {
        // The folders writable again, so the temporary folder can go.
        for (const std::string& s : {m_home.path(), m_home.file("Halvorn"), m_home.file("Halvorn/TukHarbor")})
            ::chmod(s.c_str(), 0755);
    }
    std::unique_ptr<Child> startAs(const OtherUser& user, const char* szErrorFile) {
        const Child::Env env{{"XDG_DATA_HOME", m_home.path()},
                             {"XDG_RUNTIME_DIR", m_home.file("run")},
                             {"SDL_AUDIODRIVER", "dummy"},
                             {"TUK_LIST_RESOURCES", ""}};
        return std::make_unique<Child>(user.program(), user.gameWords(), env, m_home.file(szErrorFile));
    }
};

TEST_F(XvfbReadOnlyData, TheGameReadsItLogsToStandardErrorAndLocksInTheRuntimeFolder) {
    const OtherUser user;
    testkit::TempDir scratch;
    if (const std::string sWhy = user.skipReason(scratch.file("probe.txt")); !sWhy.empty()) GTEST_SKIP() << sWhy;
    ASSERT_TRUE(m_server.isRunning());
    ASSERT_TRUE(m_screen.isOpen());
    // The settings of a player "ann", written with the game's own writer.
    using namespace recordtest;
    const std::string sSlots(13 * 4, '\0');
    const std::string sRecord = le32(2) + sSlots + le32(0) + std::string(1, '\1') + le32s({3, 0, 1, 0}) + sSlots +
                                sSlots + sSlots + le32s({0, 0});
    m_pictures.clearSettings();
    m_pictures.setSetting("CurrentPlayerName", "ann");
    m_pictures.setSetting("DoneWelcome", "YES");
    m_pictures.setSetting("Fullscreen", "FALSE");
    setSettingBytes(m_pictures, profilesStream({{"ann", sRecord}}));
    std::filesystem::create_directories(dataFile(""));
    m_pictures.writeSettingsFile(dataFile("tukconfig.dat").c_str());
    const std::string sSettings = testkit::readFileBytes(dataFile("tukconfig.dat"));
    std::filesystem::create_directories(m_home.file("run"));
    user.give(m_home.file("run"));
    for (const std::string& s : {m_home.file("Halvorn/TukHarbor"), m_home.file("Halvorn"), m_home.path()})
        user.readOnly(s);

    m_pGame = startAs(user, "err.txt");
    ASSERT_TRUE(waitFor("splash_1", showing(wholegame::kSplashFirst)));
    click(100, 100, showing(wholegame::kSplashFirst));
    ASSERT_TRUE(waitFor("splash_3", showing(wholegame::kSplashSecond)));
    click(100, 100, showing(wholegame::kSplashSecond));
    // The menu's first save fails: the player is told on screen, once, and
    // OK (Return) leaves her at the menu.
    ASSERT_TRUE(waitFor("the notice that progress can't be saved", settingsNotice()));
    press(wholegame::kReturn, settingsNotice());
    EXPECT_TRUE(waitFor("the menu, greeting her", showing(wholegame::kMenu)));

    // A second copy finds the lock in the runtime folder.
    auto pSecond = startAs(user, "second.txt");
    EXPECT_EQ(pSecond->wait(kStartMilliseconds), 1);
    EXPECT_EQ(testkit::readFileBytes(m_home.file("second.txt")), "TUK: already running\n");
    EXPECT_TRUE(testkit::fileExists(m_home.file("run/Halvorn.TukHarbor/instance-Halvorn__tuk.lock")));

    m_pGame->signal(SIGTERM);
    EXPECT_EQ(m_pGame->wait(kStartMilliseconds), 0) << testkit::readFileBytes(m_home.file("err.txt"));
    const std::string sError = testkit::readFileBytes(m_home.file("err.txt"));
    EXPECT_EQ(sError.rfind(notice(dataFile("")), 0), 0u) << sError;
    EXPECT_EQ(countOf(sError, "progress will not be saved"), 1) << sError;
    size_t nAt = 0;
    for (const char* szLine : {"M: == STARTUP ==\n", "G: ** Settings not saved : ", "G: Init done\n",
                               "G: ** Settings not saved : ", "M: == END ==\n"}) {
        const size_t nFound = sError.find(szLine, nAt);
        ASSERT_NE(nFound, std::string::npos) << szLine << " in order in\n" << sError;
        nAt = nFound + 1;
    }
    EXPECT_EQ(testkit::readFileBytes(dataFile("tukconfig.dat")), sSettings);
    EXPECT_EQ(folderListing(m_home.file("Halvorn")), "/TukHarbor /TukHarbor/tukconfig.dat ");
}

// No data folder, and none can be made: the same on the defaults, with the
// lock in a private folder of the user's in the temporary folder.
class ReadOnlyData : public ::testing::Test {
protected:
    void TearDown() override { ::chmod(m_home.file("data").c_str(), 0755); }
    std::unique_ptr<Child> startAs(const OtherUser& user, const char* szErrorFile) {
        const Child::Env env{{"XDG_DATA_HOME", m_home.file("data")}, {"XDG_RUNTIME_DIR", ""},
                             {"TMPDIR", m_home.file("tmp")},        {"SDL_VIDEODRIVER", "dummy"},
                             {"SDL_AUDIODRIVER", "dummy"},           {"TUK_LIST_RESOURCES", ""}};
        return std::make_unique<Child>(user.program(), user.gameWords(), env, m_home.file(szErrorFile));
    }
    std::string errors(const char* szFile) const { return testkit::readFileBytes(m_home.file(szFile)); }

    testkit::TempDir m_home;
};

TEST_F(ReadOnlyData, NoFolderAndNoneCanBeMadeRunsOnTheDefaultsWithTheLockInTheTemporaryFolder) {
    const OtherUser user;
    if (const std::string sWhy = user.skipReason(m_home.file("probe.txt")); !sWhy.empty()) GTEST_SKIP() << sWhy;
    std::filesystem::create_directories(m_home.file("data"));
    std::filesystem::create_directories(m_home.file("tmp"));
    OtherUser::chmod(m_home.file("tmp"), 01777);
    user.readOnly(m_home.file("data"));
    OtherUser::chmod(m_home.path(), 0755);

    auto pGame = startAs(user, "err.txt");
    ASSERT_TRUE(waitFor("\"G: Init done\" on standard error",
                        [this] { return countOf(errors("err.txt"), "G: Init done\n") == 1; }, kStartMilliseconds))
        << errors("err.txt");
    auto pSecond = startAs(user, "second.txt");
    EXPECT_EQ(pSecond->wait(kStartMilliseconds), 1);
    EXPECT_EQ(errors("second.txt"), "TUK: already running\n");
    const std::string sLock =
        m_home.file("tmp/Halvorn.TukHarbor-" + std::to_string(user.uid()) + "/instance-Halvorn__tuk.lock");
    EXPECT_TRUE(testkit::fileExists(sLock)) << sLock;
    struct stat info {};
    ASSERT_EQ(::stat(std::filesystem::path(sLock).parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(info.st_uid, user.uid());

    pGame->signal(SIGTERM);
    EXPECT_EQ(pGame->wait(kStartMilliseconds), 0);
    const std::string sError = errors("err.txt");
    EXPECT_EQ(sError.rfind(notice(m_home.file("data/Halvorn/TukHarbor/")), 0), 0u) << sError;
    EXPECT_EQ(countOf(sError, "progress will not be saved"), 1) << sError;
    for (const char* szLine : {"M: == STARTUP ==\n", "G: ** Settings not saved : ", "M: == END ==\n"})
        EXPECT_NE(sError.find(szLine), std::string::npos) << szLine << " in\n" << sError;
    EXPECT_TRUE(std::filesystem::is_empty(m_home.file("data")));
}
