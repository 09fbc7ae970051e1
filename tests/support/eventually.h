// Waiting in a test for what another thread does.
#pragma once

#include <chrono>
#include <thread>

// Polls cond until it holds or the limit passes; returns whether it held. The limit is generous:
// it only matters when the test fails, and a busy machine may take seconds to schedule a thread.
template <typename Cond>
bool Eventually(Cond cond, std::chrono::milliseconds limit = std::chrono::milliseconds(20000)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (cond()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return cond();
}
