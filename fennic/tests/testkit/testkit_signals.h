// The game's quit signals (SIGTERM, SIGINT, SIGHUP, and SIGPIPE ignored)
// installed for the life of the object; the handlers the test process had
// come back when it goes, so one test's raise can't end another.
#pragma once

#include <csignal>

#include "base/oshelpers.h"

namespace testkit {

class QuitSignals {
public:
    QuitSignals() {
        for (int i = 0; i < kCount; ++i) sigaction(kSignals[i], nullptr, &m_old[i]);
        installQuitSignals();
    }
    ~QuitSignals() {
        for (int i = 0; i < kCount; ++i) sigaction(kSignals[i], &m_old[i], nullptr);
    }
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

private:
    static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGPIPE};
    static constexpr int kCount = 4;
    struct sigaction m_old[kCount] {};
};

}  // namespace testkit
