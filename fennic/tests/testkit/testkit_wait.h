// Waiting on a state: the condition is polled every nPollMilliseconds until
// it holds (true) or the deadline passes (false). A test waits for what it
// needs (a file, a window, a screen, an exit) rather than for a time, so a
// loaded machine slows it instead of failing it. waitFor names the state, so
// that a test asserting on it says what never came and within how long.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace testkit {

inline bool waitUntil(const std::function<bool()>& condition, int nMilliseconds, int nPollMilliseconds = 20) {
    const auto tEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMilliseconds);
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > tEnd) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(nPollMilliseconds));
    }
}

inline ::testing::AssertionResult waitFor(const std::string& sState, const std::function<bool()>& condition,
                                          int nMilliseconds) {
    if (waitUntil(condition, nMilliseconds)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << sState << " did not come within " << nMilliseconds << " ms";
}

}  // namespace testkit
