#pragma once
// The radio's side of the clone exchange, as a simulated radio answers it: bytes from the tool go
// in, the radio's answers come out. Faults can be injected to drive every failure path of the
// tool. Thread-safe: the line thread feeds it while a test inspects it.

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "radio/RadioImage.h"

struct SimFaults
{
    // Answer the wake-up only at this attempt of an exchange (1 = the first).
    int wakeUpAtAttempt = 1;
    // Junk bytes (never 06) waiting on the line at start and sent for every unanswered wake-up.
    int junkBytes = 0;
    // How many identification bytes the radio sends (8 is a good radio).
    int identLength = 8;
    // Per block address: how many requests get the fault (-1: every one).
    std::map<int, int> wrongAddress; // read replies for another address
    std::map<int, int> shortReply;   // read replies cut to 12 bytes
    std::map<int, int> nakWrite;     // written blocks answered with 15 (NAK)
    std::map<int, int> silentWrite;  // written blocks not answered
    std::map<int, int> dropWrite;    // written blocks acknowledged but not stored
    std::map<int, int> corruptWrite; // written blocks stored with their first byte changed
    // Drop the line once this many blocks (read or written) have been answered; -1: never.
    int hangUpAfterBlocks = -1;
    // Wake-ups left unanswered after each end byte: a radio that leaves programming mode after an
    // exchange until it is switched off and on.
    int silentAfterEnd = 0;
};

// Parses "ADDR" or "ADDR:TIMES" (ADDR decimal or 0x hexadecimal) into a fault map entry.
bool ParseFaultBlock(const std::string& text, std::map<int, int>& faults);

class CSimRadio final
{
public:
    explicit CSimRadio(const RadioImage& memory, SimFaults faults = {});

    // Bytes that wait on the line before the tool sends anything.
    std::vector<std::uint8_t> StartupBytes() const;
    // Feeds bytes from the tool; returns the radio's answer (possibly empty).
    std::vector<std::uint8_t> Receive(const std::uint8_t* bytes, std::size_t count);
    // The radio has dropped the line (after its last answer has been sent).
    bool HungUp() const;

    RadioImage Memory() const;
    // What the tool did, for tests.
    int WakeUpsSeen() const;
    int EndBytesSeen() const;
    std::vector<int> ReadAddresses() const;                      // every read request, in order
    std::vector<int> WrittenAddresses() const;                   // every data block received, in order
    std::vector<int> WrittenLengths() const;                     // the length byte of each of those blocks
    std::vector<std::vector<std::uint8_t>> AdjustFrames() const; // the 16 values of every 'g' frame

private:
    enum class State
    {
        Idle,
        Woken,
        Identified,
        Ready
    };

    // Handles one complete frame at the front of m_pending; false when more bytes are needed.
    bool HandleFront(std::vector<std::uint8_t>& answer);
    void AnswerRead(int address, std::vector<std::uint8_t>& answer);
    void AnswerWrite(int address, const std::uint8_t* data, std::vector<std::uint8_t>& answer);
    void BlockAnswered();
    static bool TakeFault(std::map<int, int>& faults, int address);

    mutable std::mutex m_mutex;
    RadioImage m_memory;
    SimFaults m_faults;
    State m_state = State::Idle;
    std::vector<std::uint8_t> m_pending;
    int m_attempt = 0; // wake-ups of the current exchange
    int m_silentWakeUps = 0;
    int m_blocksAnswered = 0;
    bool m_hungUp = false;
    int m_wakeUps = 0;
    int m_endBytes = 0;
    std::vector<int> m_reads;
    std::vector<int> m_writes;
    std::vector<int> m_writeLengths;
    std::vector<std::vector<std::uint8_t>> m_adjusts;
};
