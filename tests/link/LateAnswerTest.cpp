// A radio that answers after the time-out: its late answer must never pass for the answer to the
// next frame.
#include <gtest/gtest.h>

#include "tests/link/ClockedRadioLine.h"

namespace {

RadioImage Pattern()
{
    RadioImage image{};
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return image;
}

CloneStatus RunSession(CClockedRadioLine& line, RadioImage& buffer, CloneDirection direction)
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
        CClockedRadioLine line(RadioImage{});
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
        CClockedRadioLine line(memory);
        for (int address = 0x020; address < 0x1000; address += 0x130)
            line.m_lateOnce.insert(address);
        line.m_lateByMs = lateBy;
        EXPECT_EQ(RunSession(line, buffer, CloneDirection::Read), CloneStatus::ReadDone) << lateBy;
        EXPECT_EQ(buffer, memory) << lateBy;
    }
}
