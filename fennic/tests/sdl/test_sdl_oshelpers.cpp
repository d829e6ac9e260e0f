// The operating-system helpers beside the platform: the current folder,
// absolute paths and the crash handlers' registration (run in child
// processes).
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>

#include "base/oshelpers.h"
#include "testkit/testkit_tempdir.h"
#include "testkit/testkit_wait.h"

namespace {

TEST(SDLOsHelpers, CurrentFolderEndsInSlashAndFullPathsFoldDotsAndSeparators) {
    const std::string sCwd = std::filesystem::current_path().string();
    EXPECT_EQ(getCurrentFolder().c_str(), sCwd + "/");
    const struct {
        const char* szIn;
        std::string sOut;
    } kCases[] = {
        {"a/b.txt", sCwd + "/a/b.txt"},          {"./a//b/../c", sCwd + "/a/c"},
        {"/x/./y/../z/", "/x/z"},                {"/../..", "/"},
        {"", sCwd},                               {"/tmp/missing/file", "/tmp/missing/file"},
    };
    for (const auto& c : kCases) EXPECT_EQ(getFullPath(c.szIn).c_str(), c.sOut) << c.szIn;
}

// The program's handler in a child process: it says which code it got, on
// standard error and with signal-safe calls only, and ends with code 1.
void reportCode(int nCode) {
    char szText[] = "handled 00\n";
    szText[8] = static_cast<char>('0' + nCode / 10 % 10);
    szText[9] = static_cast<char>('0' + nCode % 10);
    [[maybe_unused]] const ssize_t n = ::write(2, szText, sizeof(szText) - 1);
    ::_exit(1);
}

// A terminal stop signal (22 on other systems means an abort) must keep its
// default action; the fatal ones get the handler, one-shot. Without a handler
// nothing is installed.
TEST(SDLOsHelpers, HandlersAreInstalledBySignalName) {
    struct sigaction old[3] {};
    const int kSignals[] = {SIGSEGV, SIGABRT, SIGFPE};
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], nullptr, &old[i]);
    struct sigaction now {};
    initSignals(nullptr);
    sigaction(SIGSEGV, nullptr, &now);
    EXPECT_EQ(now.sa_handler, old[0].sa_handler);
    initSignals(reportCode);
    sigaction(SIGTTOU, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
    for (int i = 0; i < 3; ++i) {
        sigaction(kSignals[i], nullptr, &now);
        EXPECT_EQ(now.sa_handler, reportCode) << kSignals[i];
        EXPECT_TRUE(now.sa_flags & SA_RESETHAND) << kSignals[i];
        sigaction(kSignals[i], &old[i], nullptr);
    }
    std::set_terminate(nullptr);
}

TEST(SDLOsHelpersDeathTest, FatalSignalsAndUncaughtExceptionsReachTheHandlerWithTheirCode) {
    const struct {
        std::function<void()> fault;
        const char* szText;
    } kCases[] = {
        {[] { std::raise(SIGSEGV); }, "handled 11"},
        {[] { std::raise(SIGABRT); }, "handled 06"},
        {[] { std::raise(SIGFPE); }, "handled 08"},
        {[] { std::terminate(); }, "handled 06"},
    };
    for (const auto& c : kCases) {
        EXPECT_EXIT(
            {
                initSignals(reportCode);
                c.fault();
            },
            testing::ExitedWithCode(1), c.szText);
    }
}

// The URL opener, started while SIGPIPE is ignored, gets its default action
// back: a stand-in "xdg-open" on the PATH writes the signals it ignores.
constexpr int kOpenerMilliseconds = 30000;

TEST(SDLOsHelpersDeathTest, TheURLOpenerStartsWithSigpipeAtItsDefault) {
    testkit::TempDir dir;
    testkit::writeFileBytes(dir.file("xdg-open"),
                            "#!/bin/sh\ngrep SigIgn /proc/$$/status > \"$1.part\" && mv \"$1.part\" \"$1\"\n");
    ASSERT_EQ(::chmod(dir.file("xdg-open").c_str(), 0755), 0);
    const std::string sOut = dir.file("ignored.txt");
    const std::string sPath = dir.path() + ":" + std::getenv("PATH");
    EXPECT_EXIT(
        {
            testkit::ScopedEnv path("PATH", sPath.c_str());
            installQuitSignals();
            openURL(sOut.c_str());
            if (!testkit::waitUntil([&] { return testkit::fileExists(sOut); }, kOpenerMilliseconds)) {
                std::fputs("the stand-in opener never wrote its signals\n", stderr);
                ::_exit(1);
            }
            // "SigIgn:\t<hex mask>", bit n - 1 for signal n.
            const std::string sLine = testkit::readFileBytes(sOut);
            const unsigned long long nMask = std::stoull(sLine.substr(7), nullptr, 16);
            std::fputs((nMask >> (SIGPIPE - 1)) & 1 ? "opener ignores SIGPIPE\n" : "opener has SIGPIPE\n", stderr);
            ::_exit(0);
        },
        testing::ExitedWithCode(0), "opener has SIGPIPE");
}

}  // namespace
