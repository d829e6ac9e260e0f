// The program's entry: the start-up steps in their order, the game's run, and
// the report of a failure.
//
//   1. standard output and standard error unbuffered; the quit signals
//      (SIGTERM, SIGINT, SIGHUP) noted for the frame loop, which ends the
//      game in order on them, without the exit confirmation;
//   2. one instance per window class: a second start writes
//      "TUK: already running\n" to standard error and ends with exit code 1
//      before it touches the log;
//   3. the log (deleted first when larger than 32,768 bytes) and the settings
//      file in the user data folder; the program's folder made current;
//      "M: == STARTUP =="; the crash handler. A data folder that can't be
//      written is named on standard error; its settings are read all the same
//      and the log goes to standard error;
//   4. the application with the command-line words, "--pw" applied before
//      SDL starts, and the run.
// A Zep::Exception that ends the run is written to the log between two
// "M: *** EXCEPTION ***" lines with its message, source and scope trace, and
// its message to standard error as "TUK: <message>"; the platform is shut
// down and the process ends with exit code 1. A normal end deletes the
// application, logs "M: == END ==" and ends with exit code 0. Any other
// exception that nothing catches reaches the crash handler.
#include <cstdio>
#include <memory>

#include <zep2/error.h>
#include <zep2/list.h>
#include <zep2/str.h>

#include "application/gameapp.h"
#include "app/linuxstartup.h"
#include "base/oshelpers.h"
#include "app/tukapp.h"

namespace {

constexpr const char* kZepSource = ".\\src\\main";

constexpr const char* kExceptionRule = "M: ******************** EXCEPTION ********************\n";
// The caption of what the player is told on standard error.
constexpr const char* kCaption = "TUK";

Zep::List<Zep::String> commandLineWords(int argc, char** argv) {
    Zep::List<Zep::String> lWords;
    for (int i = 1; i < argc; ++i) lWords.add(Zep::String(argv[i]));
    return lWords;
}

void logException(const Zep::Exception& e) {
    GameApp::log("%s", kExceptionRule);
    GameApp::log("Error : %s [%s:%d]\n", e.getMessage(), e.getFile(), e.getLine());
    const Zep::TraceSnapshot& trace = e.getSnapshot();
    for (int i = 0; i < trace.getDepth(); ++i) {
        const char* szDetail = trace.getDetail(i);
        GameApp::log("M:   %s%s%s\n", trace.entryText(i), szDetail[0] ? " " : "", szDetail);
    }
    GameApp::log("%s", kExceptionRule);
}

// Steps 3 and 4; the exit code of the process.
int runGame(const Zep::List<Zep::String>& lWords) {
    // The crash handler writes where the log writes: the same file, or
    // standard error.
    const Zep::String sLog = GameApp::getLogFileName();
    linuxstartup::changeToProgramFolder();
    GameApp::log("M: == STARTUP ==\n");
    linuxstartup::installCrashHandler(GameApp::isLogOnStandardError() ? nullptr : sLog.c_str());
    std::unique_ptr<TUKApp> pApp;
    try {
        ZEP_TRACE("main");
        pApp = std::make_unique<TUKApp>();
        pApp->setCommandLine(lWords);
        linuxstartup::applyParentWindow(lWords);
        pApp->run();
    } catch (const Zep::Exception& e) {
        logException(e);
        // The player sees no log: a start that fails says why.
        GameApp::messageBox(kCaption, e.getMessage());
        GameApp::reportLog();
        // Shuts the platform down (full screen goes back to the desktop) and
        // ends with exit code 1.
        GameApp::fatalExit();
    }
    pApp.reset();
    GameApp::log("M: == END ==\n");
    GameApp::closeLog();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::setvbuf(stderr, nullptr, _IONBF, 0);
    installQuitSignals();
    const Zep::List<Zep::String> lWords = commandLineWords(argc, argv);
    const Zep::String sClass = linuxstartup::windowClassOf(lWords);
    const Zep::String sFolder = getUserDataFolder(linuxstartup::kDataFolder);
    const linuxstartup::InstanceLock lock(linuxstartup::lockFolder(sFolder), sClass.c_str());
    if (!lock.isTaken()) {
        std::fputs("TUK: already running\n", stderr);
        return 1;
    }
    if (sFolder.isEmpty()) {
        const Zep::String sNamed = getUserDataFolderName(linuxstartup::kDataFolder);
        std::fputs(linuxstartup::unsavedProgressNotice(sNamed).c_str(), stderr);
    } else {
        const Zep::String sLogName = Zep::String(linuxstartup::kFilePrefix) + ".log";
        linuxstartup::removeOversizedLog((sFolder + sLogName).c_str(), linuxstartup::kLogSizeLimit);
    }
    GameApp::initLogFile(linuxstartup::kFilePrefix, linuxstartup::kDataFolder);
    GameApp::initConfigPath(linuxstartup::kFilePrefix, linuxstartup::kDataFolder);
    return runGame(lWords);
}
