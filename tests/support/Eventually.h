#pragma once
// Waits for what another thread or process does: the simulated radio answers on its own thread, so
// what it saw last arrives a moment later. Each result of `condition` is used once, so it may
// consume what it checks (reap a child process, say).

#include <chrono>
#include <functional>
#include <thread>

// Long enough for a loaded machine or a sanitizer build; a condition that holds ends the wait at once.
inline constexpr std::chrono::milliseconds kEventuallyTimeout{2000};

inline bool Eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds timeout = kEventuallyTimeout)
{
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
