#pragma once
// The simulated radio answers on its own thread: what it saw last arrives a moment later.

#include <chrono>
#include <functional>
#include <thread>

inline bool Eventually(const std::function<bool()>& condition)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000);
    while (!condition() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return condition();
}
