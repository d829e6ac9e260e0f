// The operating-system helpers beside the platform: the current folder,
// absolute paths and the crash handlers (run in child processes).
#include <gtest/gtest.h>

#include <csignal>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>

#include <zep2/error.h>

#include "oshelpers.h"
#include "testkit_app.h"
#include "testkit_tempdir.h"

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

// A terminal stop signal (22 on other systems means an abort) must keep its
// default action; the fatal ones get the handler.
TEST(SDLOsHelpers, HandlersAreInstalledBySignalName) {
    struct sigaction old[3] {};
    const int kSignals[] = {SIGSEGV, SIGABRT, SIGFPE};
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], nullptr, &old[i]);
    initSignals();
    struct sigaction now {};
    sigaction(SIGTTOU, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
    for (int i = 0; i < 3; ++i) {
        sigaction(kSignals[i], nullptr, &now);
        EXPECT_NE(now.sa_handler, SIG_DFL) << kSignals[i];
        EXPECT_TRUE(now.sa_flags & SA_RESETHAND) << kSignals[i];
        sigaction(kSignals[i], &old[i], nullptr);
    }
    std::set_terminate(nullptr);
}

TEST(SDLOsHelpersDeathTest, FatalSignalsLogTheirNumberAndExitWithCodeOne) {
    const struct {
        std::function<void()> fault;
        const char* szLine;
    } kCases[] = {
        {[] { std::raise(SIGSEGV); }, "M: ** SIG 11 [B]\n"},
        {[] { std::raise(SIGABRT); }, "M: ** SIG 6 [6]\n"},
        {[] { std::raise(SIGFPE); }, "M: ** SIG 8 [8]\n"},
        {[] { std::terminate(); }, "M: ** SIG 6 [6]\n"},
        {[] {
             constexpr const char* kZepSource = "test";
             ZEP_TRACE("Crash::site");
             Zep::ScopeTrace::setDetail("[level 3]");
             std::raise(SIGFPE);
         },
         "M: ** SIG 8 [8]\nM:   $Crash::site [level 3]\n"},
    };
    for (const auto& c : kCases) {
        testkit::TempDir dir;
        testkit::AppFiles files(dir);
        EXPECT_EXIT(
            {
                initSignals();
                c.fault();
            },
            testing::ExitedWithCode(1), "");
        EXPECT_NE(files.logText().find(c.szLine), std::string::npos) << c.szLine << files.logText();
    }
}

}  // namespace
