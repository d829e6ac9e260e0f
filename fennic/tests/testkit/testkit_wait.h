// Waiting on a state: the condition is polled every nPollMilliseconds until
// it holds (true) or the deadline passes (false). A test waits for what it
// needs (a file, a window, a screen, an exit) rather than for a time, so a
// loaded machine slows it instead of failing it; the caller names the state
// in its failure.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace testkit {

inline bool waitUntil(const std::function<bool()>& condition, int nMilliseconds, int nPollMilliseconds = 20) {
    const auto tEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMilliseconds);
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > tEnd) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(nPollMilliseconds));
    }
}

}  // namespace testkit
