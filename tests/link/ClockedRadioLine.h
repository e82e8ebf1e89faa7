#pragma once
// A scripted radio on a simulated clock: a time-out costs nothing, and every call the exchange
// makes on the line is logged with its pause, time-out, port and baud rate. Each answer arrives
// a millisecond after the frame that asked for it, or `m_lateByMs` later for the blocks in
// m_lateOnce (their first answer only). A test can put stray bytes of its own on the line.

#include "link/CloneSession.h"
#include "link/SerialLine.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

class CClockedRadioLine final : public ISerialLine
{
public:
    enum class CallKind
    {
        Open,
        Close,
        Write,
        Read,
        Sleep
    };
    struct Call
    {
        CallKind kind = CallKind::Open;
        std::vector<std::uint8_t> bytes{}; // Write: what was sent
        int ms = 0;                        // Write: pause first; Read: time-out; Sleep: length
        int count = 0;                     // Read: bytes asked for
        int port = 0;                      // Open
        int baud = 0;                      // Open
        bool opened = false;               // Open: whether it succeeded
    };

    explicit CClockedRadioLine(const RadioImage& memory) : m_memory(memory) {}

    std::set<int> m_lateOnce; // blocks whose first answer comes late
    std::set<int> m_refused;  // written blocks never acknowledged
    std::set<int> m_written;  // blocks the radio stored
    int m_lateByMs = 0;
    // Ports that exist (empty: every one), and the one the radio listens on (nullopt: any).
    std::set<int> m_ports;
    std::optional<int> m_radioPort;
    // Called after every logged call, for a test to look at (or act on) the exchange's state then.
    std::function<void(const Call&)> m_onCall;

    const std::vector<Call>& Calls() const { return m_calls; }

    // Bytes that arrive `afterMs` from now, behind any bytes already due by then.
    void Inject(int afterMs, const std::vector<std::uint8_t>& bytes)
    {
        for (const std::uint8_t b : bytes)
            m_line.emplace(std::pair{m_nowMs + afterMs, m_sequence++}, b);
    }

    bool Open(int port, int baud) override
    {
        m_open = m_ports.empty() || m_ports.contains(port);
        m_port = port;
        Log({.kind = CallKind::Open, .port = port, .baud = baud, .opened = m_open});
        return m_open;
    }
    void Close() override
    {
        m_open = false;
        Log({.kind = CallKind::Close});
    }
    bool IsOpen() const override { return m_open; }
    void Sleep(int ms) override
    {
        m_nowMs += ms;
        Log({.kind = CallKind::Sleep, .ms = ms});
    }
    int WriteByte(std::uint8_t value, int pauseMs) override { return Write(&value, 1, pauseMs, false); }

    int Write(const std::uint8_t* bytes, int count, int pauseMs, bool) override
    {
        m_nowMs += pauseMs;
        Log({.kind = CallKind::Write, .bytes = {bytes, bytes + count}, .ms = pauseMs});
        if (!m_open || (m_radioPort && *m_radioPort != m_port))
            return count;
        if (count == kCloneWakeUpLen || (count == 1 && bytes[0] == kCloneAck))
            Answer({kCloneAck}, -1);
        else if (count == 1 && bytes[0] == kCloneIdentify)
            Answer(std::vector<std::uint8_t>(kCloneIdentLen, 0x41), -1);
        else if (count == 4 && bytes[0] == kCloneReadCmd) {
            const int address = bytes[1] << 8 | bytes[2];
            const CloneFrame reply = MakeDataBlock(address, m_memory.data() + address);
            Answer({reply.begin(), reply.end()}, address);
        } else if (count == kCloneFrameSize && bytes[0] == kCloneWriteCmd) {
            const int address = bytes[1] << 8 | bytes[2];
            if (!m_refused.contains(address)) {
                m_written.insert(address);
                Answer({kCloneAck}, address);
            }
        }
        return count;
    }

    int Read(std::uint8_t* buffer, int count, int timeoutMs) override
    {
        Log({.kind = CallKind::Read, .ms = timeoutMs, .count = count});
        const long long deadline = m_nowMs + timeoutMs;
        int got = 0;
        while (got < count && !m_line.empty() && m_line.begin()->first.first <= deadline) {
            m_nowMs = std::max(m_nowMs, m_line.begin()->first.first);
            buffer[got++] = m_line.begin()->second;
            m_line.erase(m_line.begin());
        }
        if (got < count)
            m_nowMs = deadline;
        return got;
    }
    int ReadByte(int timeoutMs) override
    {
        std::uint8_t b = 0;
        return Read(&b, 1, timeoutMs) == 1 ? b : -1;
    }

private:
    void Log(Call call)
    {
        m_calls.push_back(std::move(call));
        if (m_onCall)
            m_onCall(m_calls.back());
    }

    void Answer(const std::vector<std::uint8_t>& bytes, int address)
    {
        Inject(1 + (address >= 0 && m_lateOnce.erase(address) ? m_lateByMs : 0), bytes);
    }

    RadioImage m_memory;
    std::map<std::pair<long long, long long>, std::uint8_t> m_line; // (arrival, order) -> byte
    std::vector<Call> m_calls;
    long long m_nowMs = 0;
    long long m_sequence = 0;
    int m_port = 0;
    bool m_open = false;
};
