#pragma once
// A serial line whose radio answers with fuzzer bytes, on a simulated clock so that a time-out
// costs nothing. Each read takes one byte n from the script and then delivers n modulo (count + 1)
// bytes of it (fewer when the script ends): a reply can come whole, short, or not at all. A
// delivery short of the count lets the read's whole time-out pass. Open takes one script byte and
// succeeds when it is odd. Everything written is kept for the checks.

#include "link/CloneStatus.h"
#include "link/SerialLine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

class CFuzzedLine final : public ISerialLine
{
public:
    // After `cancelAfterReads` reads (0: never) the line sets the record's cancel flag, as a user
    // pressing Cancel at that moment would.
    CFuzzedLine(const std::uint8_t* script, std::size_t size, CloneStatusRecord& record, int cancelAfterReads)
        : m_script(script), m_size(size), m_record(record), m_cancelAfterReads(cancelAfterReads)
    {
    }

    bool Open(int, int) override
    {
        m_clockMs += 1;
        m_open = m_pos < m_size && (m_script[m_pos++] & 1) != 0;
        return m_open;
    }
    int Write(const std::uint8_t* bytes, int count, int pauseMs, bool) override
    {
        if (!m_open || count <= 0)
            return 0;
        m_clockMs += pauseMs + count; // about a millisecond a byte at 9600 baud
        m_written.emplace_back(bytes, bytes + count);
        return count;
    }
    int WriteByte(std::uint8_t value, int pauseMs) override { return Write(&value, 1, pauseMs, false); }
    int Read(std::uint8_t* buffer, int count, int timeoutMs) override
    {
        if (++m_reads == m_cancelAfterReads)
            m_record.m_cancel = true;
        if (!m_open || count <= 0 || m_pos >= m_size) {
            m_clockMs += std::max(timeoutMs, 0);
            return 0;
        }
        const std::size_t wanted = m_script[m_pos++] % (static_cast<std::size_t>(count) + 1);
        const std::size_t got = std::min(wanted, m_size - m_pos);
        std::copy_n(m_script + m_pos, got, buffer);
        m_pos += got;
        m_clockMs +=
            got == static_cast<std::size_t>(count) ? static_cast<long long>(got) : std::max(timeoutMs, 0);
        return static_cast<int>(got);
    }
    int ReadByte(int timeoutMs) override
    {
        std::uint8_t b = 0;
        return Read(&b, 1, timeoutMs) == 1 ? b : -1;
    }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    void Sleep(int ms) override { m_clockMs += ms; }

    long long ClockMs() const { return m_clockMs; }
    const std::vector<std::vector<std::uint8_t>>& Written() const { return m_written; }

private:
    const std::uint8_t* m_script;
    std::size_t m_size;
    std::size_t m_pos = 0;
    CloneStatusRecord& m_record;
    int m_cancelAfterReads;
    int m_reads = 0;
    bool m_open = false;
    long long m_clockMs = 0;
    std::vector<std::vector<std::uint8_t>> m_written;
};
