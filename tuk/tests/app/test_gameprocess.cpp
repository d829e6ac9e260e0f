// The game's program run for real, as a player's desktop starts it: one
// instance per window class, the start-up log, failures and crashes reported
// in the log with exit code 1, and the splash screen under an X server.
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <zep2/resourcefile.h>
#include <zep2/str.h>

#include "app/process_util.h"
#include "testkit/testkit_tempdir.h"
#include "testkit/testkit_xvfb.h"

namespace {

using processtest::Child;
using processtest::countOf;
using processtest::waitFor;
using processtest::waitUntil;

constexpr int kStartMilliseconds = 30000;
constexpr const char* kInitDone = "\"G: Init done\" in the log";
constexpr const char* kRule = "M: ******************** EXCEPTION ********************\n";

// A data home of its own; SDL without a screen and without sound unless an
// X server is set.
class GameProcess : public ::testing::Test {
protected:
    Child::Env env(bool bScreen = false) const {
        Child::Env v{{"XDG_DATA_HOME", m_home.path()}, {"SDL_AUDIODRIVER", "dummy"}, {"TUK_LIST_RESOURCES", ""}};
        if (!bScreen) v.push_back({"SDL_VIDEODRIVER", "dummy"});
        return v;
    }
    std::unique_ptr<Child> start(const std::vector<std::string>& vWords,
                                 const std::string& sProgram = TUK_GAME_PROGRAM, bool bScreen = false) {
        return std::make_unique<Child>(sProgram, vWords, env(bScreen), m_home.file("stderr.txt"));
    }
    std::string dataFile(const char* szName) const { return m_home.file(std::string("Halvorn/TukHarbor/") + szName); }
    std::string log() const { return testkit::readFileBytes(dataFile("tuk.log")); }
    bool logHas(const std::string& sPart, int nCount = 1) const { return countOf(log(), sPart) >= nCount; }

    testkit::TempDir m_home;
};

TEST_F(GameProcess, StartUpLogsTheBannerAndTheResourcesInOrderAndEndsWithZero) {
    auto pGame = start({});
    ASSERT_TRUE(waitFor(kInitDone, [this] { return logHas("G: Init done"); }, kStartMilliseconds)) << log();
    pGame->signal(SIGTERM);  // ends the game in order, without asking
    EXPECT_EQ(pGame->wait(kStartMilliseconds), 0);
    const std::string sLog = log();
    size_t nAt = 0;
    for (const char* szLine : {"M: == STARTUP ==\n", "B: TUK 1.0.5 ", "G: +lang_en.dat\n", "G: +tuk_data.dat\n",
                               "G: +tuk_sound.dat\n", "G: +3rdparty\n", "G: Init done\n", "M: == END ==\n"}) {
        const size_t nFound = sLog.find(szLine, nAt);
        ASSERT_NE(nFound, std::string::npos) << szLine << " in order in\n" << sLog;
        nAt = nFound;
    }
    EXPECT_TRUE(testkit::fileExists(dataFile("tukconfig.dat")));
}

TEST_F(GameProcess, SecondStartOfAWindowClassEndsAtOnceAndAnotherClassRuns) {
    auto pFirst = start({});
    ASSERT_TRUE(waitFor(kInitDone, [this] { return logHas("G: Init done"); }, kStartMilliseconds)) << log();
    auto pSecond = start({});
    EXPECT_EQ(pSecond->wait(kStartMilliseconds), 1);
    EXPECT_EQ(testkit::readFileBytes(m_home.file("stderr.txt")), "TUK: already running\n");
    EXPECT_EQ(countOf(log(), "== STARTUP =="), 1);
    auto pOther = start({"--wndclass", "Other:copy 2"});
    EXPECT_TRUE(waitFor("the second \"G: Init done\" in the log", [this] { return logHas("G: Init done", 2); },
                        kStartMilliseconds))
        << log();
    for (const char* szLock : {"instance-Halvorn__tuk.lock", "instance-Other_copy_2.lock"})
        EXPECT_TRUE(testkit::fileExists(dataFile(szLock))) << szLock;
    pFirst->signal(SIGTERM);
    pOther->signal(SIGTERM);
    EXPECT_EQ(pFirst->wait(kStartMilliseconds), 0);
    EXPECT_EQ(pOther->wait(kStartMilliseconds), 0);
}

// Without its archives beside it the program fails at start-up; "--pw"
// without its two words fails before SDL starts. Both are reported in the
// exception block and end with 1.
TEST_F(GameProcess, FailuresWriteTheExceptionBlockAndExitWithOne) {
    const std::string sAlone = m_home.file("alone/tuk");
    std::filesystem::create_directories(m_home.file("alone"));
    std::filesystem::copy_file(TUK_GAME_PROGRAM, sAlone);
    const struct {
        std::string sProgram;
        std::vector<std::string> vWords;
        std::string sError;
        std::string sTrace;
    } kCases[] = {
        {sAlone, {}, "Error : Resource file lang_en.dat not found [2] [.\\src\\registry:", "M:   $TUKApp::init\n"},
        {TUK_GAME_PROGRAM, {"--pw"}, "Error : List index out of range : 1 (have 1) [", "M:   $applyParentWindow\n"},
        {TUK_GAME_PROGRAM, {"--pw", "7"}, "Error : List index out of range : 2 (have 2) [", "M:   $main\n"},
    };
    for (const auto& c : kCases) {
        std::filesystem::remove(dataFile("tuk.log"));
        EXPECT_EQ(start(c.vWords, c.sProgram)->wait(kStartMilliseconds), 1) << c.sError;
        const std::string sLog = log();
        const size_t nBlock = sLog.find(kRule);
        ASSERT_NE(nBlock, std::string::npos) << sLog;
        const std::string sBlock = sLog.substr(nBlock);
        EXPECT_EQ(sBlock.find(std::string(kRule) + c.sError), 0u) << sBlock;
        EXPECT_NE(sBlock.find(c.sTrace), std::string::npos) << sBlock;
        EXPECT_EQ(countOf(sBlock, kRule), 2) << sBlock;
        EXPECT_EQ(countOf(sLog, "M: == END =="), 0) << sLog;
    }
}

// A start that fails tells the player why on standard error, with the
// message the log has: an archive missing, damaged (64 bytes changed inside
// the bold font's data) or cut short, and "--pw" without its words.
TEST_F(GameProcess, FailedStartsSayWhyOnStandardErrorAndExitWithOne) {
    const std::string sFolder = m_home.file("copy/");
    std::filesystem::create_directories(sFolder);
    std::filesystem::copy_file(TUK_GAME_PROGRAM, sFolder + "tuk");
    const std::string sBuilt = std::filesystem::path(TUK_GAME_PROGRAM).parent_path().string() + "/";
    const std::string sData = testkit::readFileBytes(sBuilt + "tuk_data.dat");
    std::string sDamaged = sData;
    {
        const Zep::ResourceFile archive((sBuilt + "tuk_data.dat").c_str());
        int nStart = 0, nEnd = static_cast<int>(sData.size());
        for (const Zep::ResourceFileEntry* pEntry : archive.getEntries())
            if (pEntry->getName() == "fonts/DejaVuSans-Bold.ttf") nStart = pEntry->getOffset();
        for (const Zep::ResourceFileEntry* pEntry : archive.getEntries())
            if (pEntry->getOffset() > nStart) nEnd = std::min(nEnd, pEntry->getOffset());
        ASSERT_GT(nEnd - nStart, 1000);
        for (int i = 0; i < 64; ++i) sDamaged[static_cast<size_t>((nStart + nEnd) / 2 + i)] ^= 0x5A;
    }
    // tuk_data.dat as built, with the font damaged, or without its last 100 bytes.
    const std::string sCut = sData.substr(0, sData.size() - 100);
    const struct {
        std::vector<std::string> vWords;
        const std::string& sArchive;
        bool bSound;         // tuk_sound.dat beside the program
        std::string sError;  // standard error, from its start
    } kCases[] = {
        {{}, sData, false, "TUK: Resource file tuk_sound.dat not found [2]\n"},
        {{}, sDamaged, true,
         "TUK: damaged archive: entry 'fonts/DejaVuSans-Bold.ttf' is damaged or cut short in 'tuk_data.dat'\n"},
        {{}, sCut, true, "TUK: ResourceFile::ResourceFile : index is corrupt ["},
        {{"--pw"}, sData, true, "TUK: List index out of range : 1 (have 1)\n"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.sError);
        std::filesystem::remove(dataFile("tuk.log"));
        for (const char* szName : {"lang_en.dat", "tuk_sound.dat"}) {
            std::filesystem::remove(sFolder + szName);
            if (std::string(szName) == "lang_en.dat" || c.bSound)
                std::filesystem::copy_file(sBuilt + szName, sFolder + szName);
        }
        testkit::writeFileBytes(sFolder + "tuk_data.dat", c.sArchive);
        EXPECT_EQ(start(c.vWords, sFolder + "tuk")->wait(kStartMilliseconds), 1);
        const std::string sStandardError = testkit::readFileBytes(m_home.file("stderr.txt"));
        EXPECT_EQ(sStandardError.substr(0, c.sError.size()), c.sError) << sStandardError;
        EXPECT_EQ(countOf(sStandardError, "TUK: "), 1) << sStandardError;
        // The same message in the log's exception block.
        const std::string sMessage = c.sError.substr(5, c.sError.find_last_not_of('\n') - 4);
        EXPECT_NE(log().find(std::string(kRule) + "Error : " + sMessage), std::string::npos) << log();
    }
}

// Crashes in a small program with the game's crash handler, and in the game
// itself: the signal line and the live trace reach the log and the exit code
// is 1, also when the platform's shutdown hangs.
TEST_F(GameProcess, CrashesLogTheSignalAndTheTraceAndExitWithOne) {
    const struct {
        std::string sProgram;
        std::vector<std::string> vWords;
        int nSignal;  // sent once the game runs; 0: the program faults by itself
        std::string sLines;
    } kCases[] = {
        {TUK_CRASH_CHILD, {"segv"}, 0, "M: ** SIG 11 [B]\nM:   $CrashChild::fault segv\n"},
        {TUK_CRASH_CHILD, {"abort"}, 0, "M: ** SIG 6 [6]\nM:   $CrashChild::fault abort\n"},
        {TUK_CRASH_CHILD, {"throw"}, 0, "M: ** SIG 6 [6]\nM:   $CrashChild::fault throw\n"},
        {TUK_CRASH_CHILD, {"hang"}, 0, "M: ** SIG 11 [B]\nM:   $CrashChild::fault hang\n"},
        {TUK_GAME_PROGRAM, {}, SIGSEGV, "M: ** SIG 11 [B]\nM:   $main\nM:   $GameApp::run\n"},
    };
    for (const auto& c : kCases) {
        std::filesystem::remove(dataFile("tuk.log"));
        auto pChild = start(c.vWords, c.sProgram);
        if (c.nSignal) {
            ASSERT_TRUE(waitFor(kInitDone, [this] { return logHas("G: Init done"); }, kStartMilliseconds)) << log();
            pChild->signal(c.nSignal);
        }
        // The hanging shutdown is cut by the handler's alarm after 2 s.
        EXPECT_EQ(pChild->wait(kStartMilliseconds), 1) << c.sLines;
        EXPECT_NE(log().find(c.sLines), std::string::npos) << c.sLines << "in\n" << log();
    }
}

// Named for the X server suites (their label and libX11's leak suppression).
class XvfbGameProcess : public GameProcess {
protected:
    // Waits until the pixel at (400, 385) meets the condition and keeps its
    // colour (left in nColour) over polls 200 ms apart: a dialog's dimmer
    // fades in.
    static bool settled(testkit::XScreen& screen, uint32_t& nColour, const std::function<bool(uint32_t)>& condition) {
        uint32_t nLast = 0x1000000;  // no colour
        return waitUntil(
            [&] {
                nColour = screen.pixels({{400, 385}})[0];
                const bool bSame = nColour == nLast;
                nLast = nColour;
                return bSame && condition(nColour);
            },
            kStartMilliseconds, 200);
    }
};

// Under an X server: the splash screen shows the game's two logos, each
// skipped by a click; then a close asks, and Return confirms with exit code 0.
TEST_F(XvfbGameProcess, SplashShowsTwoLogosThatClicksSkipAndACloseAsks) {
    testkit::XvfbServer server(800, 600, 24);
    ASSERT_TRUE(server.isRunning());
    testkit::XScreen screen;
    ASSERT_TRUE(screen.isOpen());
    auto pGame = start({}, TUK_GAME_PROGRAM, true);
    // A point of each logo's plain backdrop, below its text.
    auto showing = [&screen](uint32_t nColour) {
        return waitFor(Zep::String::format("the backdrop %06X at (400, 385)", nColour).c_str(),
                       [&] { return screen.pixels({{400, 385}}) == std::vector<uint32_t>{nColour}; },
                       kStartMilliseconds);
    };
    ASSERT_TRUE(showing(0x2A9D8F)) << std::hex << screen.pixels({{400, 385}})[0];
    screen.click(400, 300);
    ASSERT_TRUE(showing(0x6A4C93)) << std::hex << screen.pixels({{400, 385}})[0];
    screen.click(400, 300);
    // The splash screen's black backdrop stays only until the screen below
    // it draws (a frame or two in an optimised build): the test waits for
    // that screen (the loading screen, then the menu) to hold still.
    uint32_t nBelow = 0;
    ASSERT_TRUE(settled(screen, nBelow, [](uint32_t n) { return n != 0x6A4C93 && n != 0x000000; }))
        << std::hex << nBelow;
    // The window's close button, once the splash screen has ended, asks first.
    EXPECT_TRUE(screen.closeWindows());
    uint32_t nAsking = 0;
    ASSERT_TRUE(settled(screen, nAsking, [&](uint32_t n) { return n != nBelow || pGame->wait(0) >= 0; }))
        << std::hex << nAsking;
    EXPECT_EQ(pGame->wait(0), -1);  // the question's dimmer covers the screen; the game still runs
    screen.pressKey(0xff0d);  // Return
    EXPECT_EQ(pGame->wait(kStartMilliseconds), 0) << log();
}

}  // namespace
