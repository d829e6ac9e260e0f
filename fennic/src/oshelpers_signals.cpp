// The crash handlers: the fatal signals and exceptions that nothing catches
// end the program through one handler that leaves its mark in the log.
//
// The handlers are installed by signal name. The numbers of one system mean
// other signals on another (22 is SIGABRT on one, SIGTTOU here), and a crash
// path that a terminal stop would trigger, while aborts went unhandled, is
// worse than none.
#include <csignal>
#include <exception>

#include <zep2/error.h>

#include "gameapp.h"
#include "oshelpers.h"

namespace {

// The signals that mean the program cannot go on.
constexpr int kFatalSignals[] = {SIGSEGV, SIGABRT, SIGFPE};

void onFatalSignal(int nSignal) { signalHandler(nSignal); }

// An exception that left main's reach: the same end as an abort.
void onTerminate() { signalHandler(SIGABRT); }

void writeTrace() {
    const Zep::TraceSnapshot trace;
    for (int i = 0; i < trace.getDepth(); ++i) {
        const char* szDetail = trace.getDetail(i);
        GameApp::log("M:   %s%s%s\n", trace.entryText(i), szDetail[0] ? " " : "", szDetail);
    }
}

}  // namespace

void signalHandler(int nCode) {
    // Not async-signal-safe, by choice: the process is lost either way, and
    // the log line is what tells where it died.
    GameApp::log("M: ** SIG %d [%X]\n", nCode, static_cast<unsigned>(nCode));
    writeTrace();
    GameApp::fatalExit();
}

void initSignals() {
    struct sigaction action {};
    action.sa_handler = onFatalSignal;
    sigemptyset(&action.sa_mask);
    // One-shot: a second fault, inside the handler, gets the default action.
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    for (int nSignal : kFatalSignals) sigaction(nSignal, &action, nullptr);
    std::set_terminate(onTerminate);
}
