// The built game with its standard error in a pipe whose reader goes away
// once the game has started (`tuk 2>&1 | head -1`, a launcher that closed its
// end). A log line written to standard error after that must not end the
// game: SIGTERM still ends it in order, with exit code 0, the settings saved
// where the data folder can be written, and "M: == END ==" where the log is a
// file. Dummy video and audio: nothing here is about the screen.
#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/otheruser_util.h"
#include "app/process_util.h"
#include "testkit/testkit_tempdir.h"

namespace {

using processtest::Child;
using processtest::OtherUser;
using processtest::ReadPipe;
using processtest::waitFor;

constexpr int kStartMilliseconds = 30000;

// Where the game keeps its log, and whether it may write its folder.
enum class Data {
    Writable,    // the log in tuk.log
    LogBlocked,  // a folder in the way of tuk.log: the log on standard error
    ReadOnly,    // nothing can be written: the log on standard error
};

class ClosedStandardError : public ::testing::Test {
protected:
    std::string dataFile(const char* szName) const {
        return m_home.file(std::string("data/Halvorn/TukHarbor/") + szName);
    }
    std::string logText() const { return testkit::readFileBytes(dataFile("tuk.log")); }

    void prepare(Data data, const OtherUser& user) {
        std::filesystem::create_directories(m_home.file("tmp"));
        OtherUser::chmod(m_home.file("tmp"), 01777);
        OtherUser::chmod(m_home.path(), 0755);
        if (data == Data::LogBlocked) std::filesystem::create_directories(dataFile("tuk.log"));
        if (data == Data::ReadOnly) {
            std::filesystem::create_directories(m_home.file("data"));
            user.readOnly(m_home.file("data"));
        }
    }

    std::unique_ptr<Child> start(const OtherUser& user, bool bOtherUser) {
        const Child::Env env{{"XDG_DATA_HOME", m_home.file("data")}, {"XDG_RUNTIME_DIR", ""},
                             {"TMPDIR", m_home.file("tmp")},         {"SDL_VIDEODRIVER", "dummy"},
                             {"SDL_AUDIODRIVER", "dummy"},           {"TUK_LIST_RESOURCES", ""}};
        if (!bOtherUser) return std::make_unique<Child>(TUK_GAME_PROGRAM, std::vector<std::string>{}, env,
                                                        m_pipe.writeEnd());
        return std::make_unique<Child>(user.program(), user.gameWords(), env, m_pipe.writeEnd());
    }

    // Started, the reader leaves once the game has said "Init done" (in its
    // log, wherever that is), then SIGTERM.
    void endsInOrderAfterTheReaderLeft(Data data) {
        const OtherUser user;
        if (data == Data::ReadOnly) {
            if (const std::string sWhy = user.skipReason(m_home.file("probe.txt")); !sWhy.empty())
                GTEST_SKIP() << sWhy;
        }
        prepare(data, user);
        auto pGame = start(user, data == Data::ReadOnly);
        const auto initDone = [&] {
            const std::string& sError = m_pipe.text();
            const std::string sLog = data == Data::Writable ? logText() : sError;
            return sLog.find("G: Init done\n") != std::string::npos;
        };
        ASSERT_TRUE(waitFor("\"G: Init done\" in the log", initDone, kStartMilliseconds)) << m_pipe.text() << logText();
        // What the start saved goes: the shutdown's save brings the file back.
        const bool bStartSaved = std::filesystem::remove(dataFile("tukconfig.dat"));
        m_pipe.leave();
        pGame->signal(SIGTERM);
        EXPECT_EQ(pGame->wait(kStartMilliseconds), 0) << "128 + 13 is SIGPIPE";
        if (data == Data::ReadOnly) {
            EXPECT_TRUE(std::filesystem::is_empty(m_home.file("data")));
            return;
        }
        EXPECT_TRUE(bStartSaved);
        EXPECT_TRUE(testkit::fileExists(dataFile("tukconfig.dat")));
        if (data != Data::Writable) return;
        const std::string sLog = logText();
        EXPECT_NE(sLog.find("G: Signal " + std::to_string(SIGTERM) + ", quitting\n"), std::string::npos) << sLog;
        EXPECT_EQ(sLog.substr(sLog.size() - 13), "M: == END ==\n") << sLog;
    }

    void TearDown() override { ::chmod(m_home.file("data").c_str(), 0755); }

    testkit::TempDir m_home;
    ReadPipe m_pipe;
};

}  // namespace

// The control: with the log in its file nothing is written to standard error
// after the reader left, so this case passes with SIGPIPE at its default too.
// It shows that the closed pipe alone changes nothing in the shutdown; the two
// cases below, whose log lines go into the closed pipe, guard against SIGPIPE.
TEST_F(ClosedStandardError, ControlTheLogInItsFileWritesNothingToThePipeAndEndsWithTheShutdown) {
    endsInOrderAfterTheReaderLeft(Data::Writable);
}
TEST_F(ClosedStandardError, TheLogOnStandardErrorBesideAWritableFolderSavesTheSettings) {
    endsInOrderAfterTheReaderLeft(Data::LogBlocked);
}
TEST_F(ClosedStandardError, TheLogOnStandardErrorWithNothingWritableEndsWithZero) {
    endsInOrderAfterTheReaderLeft(Data::ReadOnly);
}
