// The crash handlers: the fatal signals and exceptions that nothing catches
// end the program through the one handler that the program registers. And
// the quit signals, which only leave a note for the frame loop, and the
// broken-pipe signal, which is ignored.
//
// The handlers are installed by signal name. The numbers of one system mean
// other signals on another (22 is SIGABRT on one, SIGTTOU here), and a crash
// path that a terminal stop would trigger, while aborts went unhandled, is
// worse than none.
#include <csignal>
#include <cstdlib>
#include <exception>

#include "base/oshelpers.h"

namespace {

// The signals that mean the program cannot go on.
constexpr int kFatalSignals[] = {SIGSEGV, SIGABRT, SIGFPE};

// The signals that ask the program to end.
constexpr int kQuitSignals[] = {SIGTERM, SIGINT, SIGHUP};

FatalSignalHandler s_pHandler = nullptr;

// Written by the handler, read and cleared by the frame loop.
volatile std::sig_atomic_t s_nQuitSignal = 0;

void onQuitSignal(int nSignal) { s_nQuitSignal = nSignal; }

// An exception that left main's reach: the same end as an abort.
void onTerminate() {
    if (s_pHandler) s_pHandler(SIGABRT);
    std::_Exit(1);
}

}  // namespace

void initSignals(FatalSignalHandler pHandler) {
    if (!pHandler) return;
    s_pHandler = pHandler;
    struct sigaction action {};
    action.sa_handler = pHandler;
    sigemptyset(&action.sa_mask);
    // One-shot: a second fault, inside the handler, gets the default action.
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    for (int nSignal : kFatalSignals) sigaction(nSignal, &action, nullptr);
    std::set_terminate(onTerminate);
}

void installQuitSignals() {
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls go on: the frame loop looks at the note.
    action.sa_flags = SA_RESTART;
    for (int nSignal : kQuitSignals) sigaction(nSignal, &action, nullptr);
    // A write to a pipe whose reader has gone (a log on standard error read
    // by `| head`, a launcher that closed its end) fails with EPIPE, which
    // the writers handle, instead of ending the program before it saves.
    std::signal(SIGPIPE, SIG_IGN);
}

void restoreSignalsForChild() { std::signal(SIGPIPE, SIG_DFL); }

int takeQuitSignal() {
    const int nSignal = s_nQuitSignal;
    if (nSignal) s_nQuitSignal = 0;
    return nSignal;
}
