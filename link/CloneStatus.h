#pragma once
// The status record one clone exchange shares with the user interface thread. The worker writes
// status, progress and found port; the user interface polls them and writes only the cancel flag.
// Every field is atomic, so neither side needs a lock.

#include <atomic>

// Outcome and state codes of a clone exchange; the values are those the progress dialog acts on.
enum class CloneStatus : int
{
    Idle = 0,        // the dialog has started the worker
    PortError = 1,   // no answer to the wake-up, search exhausted, or no identification byte
    TypeError = 2,   // the identification reply was one to seven bytes long
    Reading = 4,     // a block was read
    ReadFailed = 5,  // a read block failed three times with a short reply
    ReadDone = 6,    // all 256 blocks read and the end byte sent
    WriteFailed = 7, // a written block was not acknowledged three times
    Writing = 8,     // a block was written
    WriteDone = 9,   // all 254 blocks written, end byte sent, 1000 ms waited
    Searching = 11,  // the port search opened another port (progress holds its number)
};

// 1 = read from the radio, 0 = write to the radio.
enum class CloneDirection : int
{
    Write = 0,
    Read = 1
};

struct CloneStatusRecord
{
    std::atomic<CloneStatus> m_status{CloneStatus::Idle};
    // Percent 0 to 100 during a transfer; during a port search the number of the port being tried.
    std::atomic<int> m_progress{0};
    // Set by the user interface; the worker stops at its next check.
    std::atomic<bool> m_cancel{false};
    // -1, or the port on which the search found the radio (then stored as "com"). It stays set
    // after the exchange, so the user interface learns it however late it looks.
    std::atomic<int> m_foundPort{-1};

    // What the dialog does before each start: status idle, no cancel, no found port.
    // The progress is left as it was.
    void Reset()
    {
        m_status = CloneStatus::Idle;
        m_cancel = false;
        m_foundPort = -1;
    }
};
