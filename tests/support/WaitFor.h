#pragma once

#include <chrono>
#include <thread>

namespace tessaron::test {

// Polls condition every millisecond until it holds or milliseconds pass;
// returns condition(). For work of other threads or processes (a test on Qt's
// event loop waits with QTest::qWaitFor instead).
template <typename F>
bool WaitFor(F condition, int milliseconds = 3000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return condition();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace tessaron::test
