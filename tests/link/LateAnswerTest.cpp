// A radio that answers after the time-out: its late answer must never pass for the answer to the
// next frame.
#include <gtest/gtest.h>

#include <deque>
#include <set>

#include "link/CloneSession.h"
#include "link/SerialLine.h"

namespace {

// A scripted radio on a line without real time: an answer marked late arrives only once the read
// that waited for it has timed out.
class CLateRadioLine final : public ISerialLine
{
public:
    explicit CLateRadioLine(const RadioImage& memory) : m_memory(memory) {}

    std::set<int> m_lateOnce; // blocks whose first answer comes late
    std::set<int> m_refused;  // written blocks never acknowledged
    std::set<int> m_written;  // blocks the radio stored

    bool Open(int, int) override { return m_open = true; }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    void Sleep(int) override {}
    int WriteByte(std::uint8_t value, int pauseMs) override { return Write(&value, 1, pauseMs, false); }

    int Write(const std::uint8_t* bytes, int count, int, bool) override
    {
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
        int got = 0;
        while (got < count && !m_waiting.empty()) {
            buffer[got++] = m_waiting.front();
            m_waiting.pop_front();
        }
        if (got < count && timeoutMs > 0) { // the wait ran out: now the late answer arrives
            m_waiting.insert(m_waiting.end(), m_late.begin(), m_late.end());
            m_late.clear();
        }
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
        auto& queue = address >= 0 && m_lateOnce.erase(address) ? m_late : m_waiting;
        queue.insert(queue.end(), bytes.begin(), bytes.end());
    }

    RadioImage m_memory;
    std::deque<std::uint8_t> m_waiting;
    std::deque<std::uint8_t> m_late;
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
    RadioImage buffer = Pattern();
    CLateRadioLine line(RadioImage{});
    line.m_lateOnce = {0x0F0};
    line.m_refused = {0x100};
    EXPECT_EQ(RunSession(line, buffer, CloneDirection::Write), CloneStatus::WriteFailed);
    EXPECT_TRUE(line.m_written.contains(0x0F0));
    EXPECT_FALSE(line.m_written.contains(0x100));
}

TEST(LateAnswerTest, ALateBlockReplyIsNotTakenForTheNextBlock)
{
    const RadioImage memory = Pattern();
    RadioImage buffer{};
    CLateRadioLine line(memory);
    for (int address = 0x020; address < 0x1000; address += 0x130)
        line.m_lateOnce.insert(address);
    EXPECT_EQ(RunSession(line, buffer, CloneDirection::Read), CloneStatus::ReadDone);
    EXPECT_EQ(buffer, memory);
}
