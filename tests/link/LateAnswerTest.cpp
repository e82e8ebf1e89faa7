// A radio that answers after the time-out: its late answer must never pass for the answer to the
// next frame.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "link/CloneSession.h"
#include "link/SerialLine.h"

namespace {

// A scripted radio on a simulated clock. Each answer arrives a millisecond after the frame that
// asked for it, or `m_lateByMs` later for the blocks in m_lateOnce (their first answer only).
class CLateRadioLine final : public ISerialLine
{
public:
    explicit CLateRadioLine(const RadioImage& memory) : m_memory(memory) {}

    std::set<int> m_lateOnce; // blocks whose first answer comes late
    std::set<int> m_refused;  // written blocks never acknowledged
    std::set<int> m_written;  // blocks the radio stored
    int m_lateByMs = 0;

    bool Open(int, int) override { return m_open = true; }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    void Sleep(int ms) override { m_nowMs += ms; }
    int WriteByte(std::uint8_t value, int pauseMs) override { return Write(&value, 1, pauseMs, false); }

    int Write(const std::uint8_t* bytes, int count, int pauseMs, bool) override
    {
        m_nowMs += pauseMs;
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
    void Answer(const std::vector<std::uint8_t>& bytes, int address)
    {
        const long long arrival = m_nowMs + 1 + (address >= 0 && m_lateOnce.erase(address) ? m_lateByMs : 0);
        for (const std::uint8_t b : bytes)
            m_line.emplace(std::pair{arrival, m_sequence++}, b);
    }

    RadioImage m_memory;
    std::map<std::pair<long long, long long>, std::uint8_t> m_line; // (arrival, order) -> byte
    long long m_nowMs = 0;
    long long m_sequence = 0;
    bool m_open = false;
};

RadioImage Pattern()
{
    RadioImage image{};
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return image;
}

CloneStatus RunSession(CLateRadioLine& line, RadioImage& buffer, CloneDirection direction)
{
    CloneStatusRecord record;
    CCloneSession session(line, record, buffer, "/nonexistent/setting.ini");
    session.SetSearchAllowed(false);
    session.Run(direction);
    return record.m_status;
}

} // namespace

TEST(LateAnswerTest, ALateAcknowledgementDoesNotLetARefusedBlockCountAsWritten)
{
    for (const int lateBy : {kCloneWriteAckMs + 1, kCloneWriteAckMs + kCloneQuietLineMs / 2}) {
        RadioImage buffer = Pattern();
        CLateRadioLine line(RadioImage{});
        line.m_lateOnce = {0x0F0};
        line.m_lateByMs = lateBy;
        line.m_refused = {0x100};
        EXPECT_EQ(RunSession(line, buffer, CloneDirection::Write), CloneStatus::WriteFailed) << lateBy;
        EXPECT_TRUE(line.m_written.contains(0x0F0));
        EXPECT_FALSE(line.m_written.contains(0x100));
    }
}

TEST(LateAnswerTest, ALateBlockReplyIsNotTakenForTheNextBlock)
{
    for (const int lateBy : {kCloneBlockReplyMs + 1, kCloneBlockReplyMs + kCloneQuietLineMs / 2}) {
        const RadioImage memory = Pattern();
        RadioImage buffer{};
        CLateRadioLine line(memory);
        for (int address = 0x020; address < 0x1000; address += 0x130)
            line.m_lateOnce.insert(address);
        line.m_lateByMs = lateBy;
        EXPECT_EQ(RunSession(line, buffer, CloneDirection::Read), CloneStatus::ReadDone) << lateBy;
        EXPECT_EQ(buffer, memory) << lateBy;
    }
}
