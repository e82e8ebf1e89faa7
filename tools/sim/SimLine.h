#pragma once
// Puts a CSimRadio on the master side of a pseudo-terminal: the tool opens the slave path like a
// serial device. Optionally paces both directions at 9600 baud 8N1, as a real cable would.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "tools/sim/SimRadio.h"

class CSimLine final
{
public:
    CSimLine(CSimRadio& radio, bool paced);
    ~CSimLine();
    CSimLine(const CSimLine&) = delete;
    CSimLine& operator=(const CSimLine&) = delete;

    // Opens the pseudo-terminal and starts answering; false when no terminal could be had.
    bool Start();
    // Stops answering and closes the terminal.
    void Stop();
    // The path the tool opens.
    const std::string& DevicePath() const { return m_path; }
    // The radio hung up: the line is closed and the thread has ended.
    bool Finished() const { return m_finished; }

    std::uint64_t BytesReceived() const { return m_received; }
    std::uint64_t BytesSent() const { return m_sent; }

private:
    void Run();
    // Sends the radio's answer starting at `start`; `end` becomes when its last byte is through.
    // False when the line is gone or Stop was called.
    bool Send(const std::vector<std::uint8_t>& answer, std::chrono::steady_clock::time_point start,
              std::chrono::steady_clock::time_point& end);
    void CloseLine();

    CSimRadio& m_radio;
    bool m_paced;
    int m_master = -1;
    int m_slave = -1; // kept open so the line stays up between the tool's opens
    int m_stop[2] = {-1, -1};
    std::string m_path;
    std::thread m_thread;
    std::atomic<bool> m_finished{false};
    std::atomic<std::uint64_t> m_received{0};
    std::atomic<std::uint64_t> m_sent{0};
};
