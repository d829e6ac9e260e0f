// The application object's construction and the log with its report.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include <zep2/error.h>
#include <zep2/memstream.h>
#include <zep2/zstream.h>

#include "application/gameapp.h"
#include "testkit/testkit_fixtures.h"
#include "base/oshelpers.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_video.h"

using testkit::ScopedChdir;
using testkit::AppFiles;
using testkit::TempDir;
using testkit::TestApp;

namespace {

using GameAppLife = testkit::AppTest<>;

// Catches the URLs that the report opens.
struct UrlCatcher {
    UrlCatcher() { setOpenURLHook([this](const char* szURL) { m_vURLs.emplace_back(szURL); }); }
    ~UrlCatcher() { setOpenURLHook(nullptr); }
    std::vector<std::string> m_vURLs;
};

// What a report URL carries: 6-bit text of zlib data holding one string record.
std::string decodeReport(const std::string& sURL, const std::string& sBase) {
    EXPECT_EQ(sURL.compare(0, sBase.size(), sBase), 0);
    Zep::SmartPtr<Zep::MemStream> pPacked = decodeBytes6(sURL.substr(sBase.size()).c_str());
    Zep::SmartPtr<Zep::MemStream> pView(new Zep::MemStream(pPacked->getBuffer(), pPacked->length()));
    Zep::SmartPtr<Zep::ZStream> pZip(new Zep::ZStream(pView.get()));
    EXPECT_EQ(pZip->readU8(), 0x12);  // the record: 0x12, the length, the bytes
    std::string sText(pZip->readVarUInt(), '\0');
    EXPECT_EQ(pZip->read(static_cast<int>(sText.size()), sText.data()), static_cast<int>(sText.size()));
    return sText;
}

struct CountedProvider : Zep::MemoryResourceProvider {
    explicit CountedProvider(int& nDeleted) : m_nDeleted(nDeleted) {}
    ~CountedProvider() override { ++m_nDeleted; }
    int& m_nDeleted;
};

}  // namespace

TEST(GameAppLifeCycle, ConstructionLogsBannerAndDestructionShutsDown) {
    TempDir dir;
    AppFiles files(dir);
    int nDeleted = 0;
    {
        TestApp app;
        EXPECT_TRUE(GameApp::getInstance() == &app && *GameApp::getInstanceAddress() == &app);
        const std::string sLog = files.logText();
        EXPECT_TRUE(std::regex_match(
            sLog, std::regex("G: Init Halvorn Fennic 1\\.4\\.0\nG: OS Win Unknown\nG: RAM [0-9]+/[0-9]+\n")))
            << sLog;
        EXPECT_TRUE(app.getPlatform() == nullptr && app.getAudioDriver() == nullptr);
        EXPECT_EQ(app.getSettingsLoadState(), GameApp::kSettingsNotLoaded);
        app.addResourceProvider(std::make_unique<CountedProvider>(nDeleted), false);
        app.addResourceProvider(std::make_unique<CountedProvider>(nDeleted), true);
    }
    EXPECT_EQ(GameApp::getInstance(), nullptr);
    EXPECT_EQ(nDeleted, 2);
    const std::string sLog = files.logText();
    EXPECT_TRUE(std::regex_search(sLog, std::regex("\nG: Shutdown\nG: RAM [0-9]+/[0-9]+\nG: \\.\\.\\.modes\n"
                                                   "G: \\.\\.\\.resources\nG: \\.\\.\\.platform\nG: Quit\n$")))
        << sLog;

    // Without an open log the banner goes to fennic.log.
    ScopedChdir cd(dir.path());
    GameApp::closeLog();
    { TestApp other; }
    EXPECT_STREQ(GameApp::getLogFileName().c_str(), "fennic.log");
    GameApp::closeLog();
    EXPECT_EQ(testkit::readFileBytes(dir.file("fennic.log")).rfind("G: Init Halvorn Fennic 1.4.0\n", 0), 0u);
}

TEST_F(GameAppLife, QuitRequestsFocusAndActivation) {
    // With confirmation the dialog is asked for once until it closes.
    m_app.setConfirmQuit(true);
    m_app.onQuitRequest();
    m_app.onQuitRequest();
    EXPECT_EQ(m_app.m_nCloseRequests, 1);
    m_app.setQuitDialogClosed();
    m_app.onQuitRequest();
    EXPECT_EQ(m_app.m_nCloseRequests, 2);
    EXPECT_FALSE(m_app.isQuitting());
    // Without, the application quits with exit code one.
    m_app.setConfirmQuit(false);
    m_app.onQuitRequest();
    EXPECT_TRUE(m_app.isQuitting() && m_app.getExitCode() == 1 && m_app.m_nCloseRequests == 2);

    // Focus and activation reach the video driver.
    auto pPlatform = std::make_unique<testkit::FakePlatform>();
    auto pVideo = std::make_unique<testkit::FakeVideoDriver>();
    testkit::FakeVideoDriver& video = *pVideo;
    pPlatform->setVideoDriver(std::move(pVideo));
    m_app.setPlatform(std::move(pPlatform));

    m_app.onMouseFocusLost();
    m_app.onMouseFocusGained();
    video.m_bFullscreen = true;
    m_app.onDeactivate();
    EXPECT_TRUE(m_app.getWasFullscreenFlag());
    video.m_bFullscreen = false;
    video.m_vCalls.clear();
    m_app.onActivate();
    EXPECT_TRUE(!m_app.getWasFullscreenFlag() && video.m_bFullscreen && m_app.m_nVideoModeChanges == 1);
    EXPECT_EQ(video.m_vCalls, (std::vector<std::string>{"setFullscreen 1", "onDisplayChanged", "refreshCursor 0"}));
}

TEST(Log, ExactTextUpTo4095CharactersOpeningClosingAndTheUserDataFolder) {
    TempDir dir;
    {
        AppFiles files(dir);
        GameApp::log("G: first part ");
        GameApp::log("and the end %d\n", 42);
        GameApp::log("%s", "100% literal %s\n");
        GameApp::log("%s", std::string(5000, 'x').c_str());
        EXPECT_EQ(files.logText(), "G: first part and the end 42\n100% literal %s\n" + std::string(4095, 'x'));
    }
    GameApp::closeLog();
    EXPECT_EQ(GameApp::getLog(), nullptr);
    EXPECT_STREQ(GameApp::getLogFileName().c_str(), "dummy.log");
    GameApp::log("G: lost\n");  // must not crash or create a file

    GameApp::openLog(dir.file("a.log").c_str());
    GameApp::log("A\n");
    GameApp::openLog(dir.file("b.log").c_str());
    GameApp::log("B\n");
    EXPECT_STREQ(GameApp::getLogFileName().c_str(), dir.file("b.log").c_str());
    GameApp::closeLog();
    EXPECT_EQ(testkit::readFileBytes(dir.file("a.log")) + testkit::readFileBytes(dir.file("b.log")), "A\nB\n");

    testkit::ScopedEnv env("XDG_DATA_HOME", (dir.path() + "data").c_str());
    GameApp::initLogFile("tuk", "Halvorn\\TukHarbor");
    EXPECT_STREQ(GameApp::getLogFileName().c_str(), (dir.path() + "data/Halvorn/TukHarbor/tuk.log").c_str());
    GameApp::closeLog();
}

// Without a data folder that can be written, or when the log file there
// can't be opened, the log goes to standard error (never to a name relative
// to wherever the program runs); the log report neither reads nor removes
// it. The settings path stays in the folder, to be read; with no folder
// named, it is "".
TEST(Log, WithoutAWritableDataFolderTheLogGoesToStandardError) {
    TempDir dir;
    testkit::writeFileBytes(dir.file("plainfile"), "x");
    std::filesystem::create_directories(dir.file("data/Halvorn/TukHarbor/tuk.log"));  // a folder in the way
    const std::string sOldConfig = GameApp::getConfigPath().c_str();
    const struct { const char* szDataHome; std::string sConfig; } kCases[] = {
        {"plainfile/share", dir.file("plainfile/share/Halvorn/TukHarbor/tukconfig.dat")},
        {"data", dir.file("data/Halvorn/TukHarbor/tukconfig.dat")}};
    for (const auto& c : kCases) {
        testkit::ScopedEnv env("XDG_DATA_HOME", (dir.path() + c.szDataHome).c_str());
        GameApp::initLogFile("tuk", "Halvorn\\TukHarbor");
        GameApp::initConfigPath("tuk", "Halvorn\\TukHarbor");
        EXPECT_TRUE(GameApp::isLogOnStandardError()) << c.szDataHome;
        EXPECT_STREQ(GameApp::getLogFileName().c_str(), "/dev/stderr");
        EXPECT_EQ(GameApp::getConfigPath().c_str(), c.sConfig);
        UrlCatcher urls;
        GameApp::setLogReport(true, "http://example.invalid/r");
        ::testing::internal::CaptureStderr();
        GameApp::log("G: to the %s\n", "terminal");
        EXPECT_TRUE(GameApp::reportLog());
        // The report leaves the log as it was: on standard error, where the
        // next line goes too.
        EXPECT_TRUE(GameApp::isLogOnStandardError());
        EXPECT_STREQ(GameApp::getLogFileName().c_str(), "/dev/stderr");
        GameApp::log("G: still %s\n", "here");
        const std::string sSeen = ::testing::internal::GetCapturedStderr();
        ASSERT_EQ(urls.m_vURLs.size(), 1u);
        EXPECT_EQ(sSeen, "G: to the terminal\nU: Collecting log\nU: Log reset\nU: URL size " +
                             std::to_string(urls.m_vURLs[0].size()) + "\nU: Log sent\nG: still here\n");
        EXPECT_EQ(decodeReport(urls.m_vURLs[0], "http://example.invalid/r?rpt="), "(unable to read log)");
        GameApp::closeLog();
        EXPECT_FALSE(GameApp::isLogOnStandardError());
    }
    {
        testkit::ScopedEnv xdg("XDG_DATA_HOME", nullptr);
        testkit::ScopedEnv home("HOME", nullptr);
        GameApp::initConfigPath("tuk", "Halvorn\\TukHarbor");
        EXPECT_STREQ(GameApp::getConfigPath().c_str(), "");
    }
    GameApp::setConfigPath(sOldConfig.c_str());
    GameApp::setLogReport(false, nullptr);
}

TEST(Log, DisableLogKeepsTheCurrentLogAndBlocksLaterOpens) {
    TempDir dir;
    std::string sFirst = dir.file("first.log");
    std::string sSecond = dir.file("second.log");
    // The switch is permanent for the process: checked in a child.
    EXPECT_EXIT(
        {
            GameApp::openLog(sFirst.c_str());
            GameApp::disableLog();
            GameApp::openLog(sSecond.c_str());
            GameApp::log("still here\n");
            bool bOk = GameApp::getLogFileName() == sFirst.c_str();
            GameApp::closeLog();
            GameApp::openLog(sSecond.c_str());
            std::_Exit(bOk && GameApp::getLog() == nullptr ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(testkit::readFileBytes(sFirst), "still here\n");
    EXPECT_FALSE(testkit::fileExists(sSecond));
}

TEST(LogReport, SendsTheLastStartOnceAndResetsTheLog) {
    TempDir dir;
    AppFiles files(dir);
    std::string sLog;
    for (int i = 0; i < 14; ++i)
        sLog += (i == 3 || i == 10) ? "M: == STARTUP ==\n" : "X: line " + std::to_string(i) + "\n";
    // A line cut short by a crash joins the next line written.
    sLog += "half a line";
    testkit::writeFileBytes(files.logPath(), sLog);

    UrlCatcher urls;
    GameApp::setLogReport(true, "http://example.invalid/report");
    ASSERT_TRUE(GameApp::reportLog());
    ASSERT_EQ(urls.m_vURLs.size(), 1u);
    // The report's own first line is already in the file when it is read.
    EXPECT_EQ(decodeReport(urls.m_vURLs[0], "http://example.invalid/report?rpt="),
              "<10>\nM: == STARTUP ==\nX: line 11\nX: line 12\nX: line 13\nhalf a lineU: Collecting log\n");
    EXPECT_EQ(files.logText(),
              "U: Log reset\nU: URL size " + std::to_string(urls.m_vURLs[0].size()) + "\nU: Log sent\n");
    EXPECT_FALSE(GameApp::reportLog());
    EXPECT_EQ(urls.m_vURLs.size(), 1u);

    // A log without a start-up line is sent whole.
    testkit::writeFileBytes(files.logPath(), "a\nb\n");
    GameApp::setLogReport(true, "http://example.invalid/r?id=7");
    ASSERT_TRUE(GameApp::reportLog());
    EXPECT_EQ(decodeReport(urls.m_vURLs[1], "http://example.invalid/r?id=7&rpt="), "<0>\na\nb\nU: Collecting log\n");
}

TEST(LogReport, WithoutAnOpenLogNoFileIsReadOrDeleted) {
    TempDir dir;
    ScopedChdir cd(dir.path());
    testkit::writeFileBytes(dir.file("dummy.log"), "someone else's file\n");
    GameApp::closeLog();
    UrlCatcher urls;
    GameApp::setLogReport(true, "http://example.invalid/r");
    ASSERT_TRUE(GameApp::reportLog());
    EXPECT_EQ(decodeReport(urls.m_vURLs[0], "http://example.invalid/r?rpt="), "(unable to read log)");
    EXPECT_EQ(testkit::readFileBytes(dir.file("dummy.log")), "someone else's file\n");

    GameApp::setLogReport(false, nullptr);
    EXPECT_FALSE(GameApp::reportLog());
    EXPECT_EQ("Assertion failed : sURL",
              testkit::messageOf<Zep::AssertFailException>([] { GameApp::setLogReport(true, nullptr); }));
    GameApp::setLogReport(false, nullptr);
    EXPECT_EQ(urls.m_vURLs.size(), 1u);
}
