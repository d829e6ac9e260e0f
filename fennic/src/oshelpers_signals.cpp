// The crash handlers: the fatal signals and exceptions that nothing catches
// end the program through the one handler that the program registers.
//
// The handlers are installed by signal name. The numbers of one system mean
// other signals on another (22 is SIGABRT on one, SIGTTOU here), and a crash
// path that a terminal stop would trigger, while aborts went unhandled, is
// worse than none.
#include <csignal>
#include <cstdlib>
#include <exception>

#include "oshelpers.h"

namespace {

// The signals that mean the program cannot go on.
constexpr int kFatalSignals[] = {SIGSEGV, SIGABRT, SIGFPE};

FatalSignalHandler s_pHandler = nullptr;

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
