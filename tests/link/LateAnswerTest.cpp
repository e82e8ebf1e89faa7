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

TEST(LateAnswerTest, StrayBytesNeverPassForTheRadiosAnswer)
{
    using Kind = CClockedRadioLine::CallKind;
    // Called once before the exchange with no frame, then on the first sending of every frame with
    // the block it belongs to (-1: before the first block).
    using Arrange =
        std::function<void(CClockedRadioLine&, int block, const std::vector<std::uint8_t>& frame)>;
    struct Case
    {
        const char* name;
        CloneDirection direction;
        std::set<int> refused;
        Arrange arrange;
        CloneStatus status;
        std::map<int, int> repeated; // block -> times sent, for every block sent more than once
    };
    const Case cases[] = {
        {"00 06 waiting before the wake-up",
         CloneDirection::Read,
         {},
         [](CClockedRadioLine& line, int, const std::vector<std::uint8_t>& frame) {
             if (frame.empty())
                 line.Inject(0, {0x00, 0x06});
         },
         CloneStatus::ReadDone,
         {}},
        {"00 00 before the answer to the 06 after a block",
         CloneDirection::Read,
         {},
         [](CClockedRadioLine& line, int block, const std::vector<std::uint8_t>& frame) {
             if (block == 0x100 && frame == std::vector<std::uint8_t>{0x06})
                 line.Inject(1, {0x00, 0x00});
         },
         CloneStatus::ReadDone,
         {}},
        {"00 and a late reply while the line is awaited quiet",
         CloneDirection::Read,
         {},
         [](CClockedRadioLine& line, int block, const std::vector<std::uint8_t>& frame) {
             if (block == 0x100 && frame.size() == 4) {
                 line.m_lateOnce = {0x100};
                 line.m_lateByMs = 250;
                 line.Inject(210, {0x00});
             }
         },
         CloneStatus::ReadDone,
         {{0x100, 2}}},
        {"a doubled 06 before a refused block",
         CloneDirection::Write,
         {0x100},
         [](CClockedRadioLine& line, int block, const std::vector<std::uint8_t>& frame) {
             if (block == 0x0F0 && frame.size() == 20)
                 line.Inject(1, {0x06});
         },
         CloneStatus::WriteFailed,
         {{0x100, 3}}},
        {"00 and a late 06 while the line is awaited quiet",
         CloneDirection::Write,
         {0x100},
         [](CClockedRadioLine& line, int block, const std::vector<std::uint8_t>& frame) {
             if (block == 0x0F0 && frame.size() == 20) {
                 line.m_lateOnce = {0x0F0};
                 line.m_lateByMs = 160;
                 line.Inject(120, {0x00});
             }
         },
         CloneStatus::WriteFailed,
         {{0x0F0, 2}, {0x100, 3}}},
    };
    for (const Case& c : cases) {
        const RadioImage memory = Pattern();
        RadioImage buffer = c.direction == CloneDirection::Read ? RadioImage{} : memory;
        CClockedRadioLine line(memory);
        line.m_refused = c.refused;
        // The block of the last read request or data block; an acknowledge belongs to it.
        int block = -1;
        std::set<std::pair<int, std::vector<std::uint8_t>>> seen;
        line.m_onCall = [&](const CClockedRadioLine::Call& call) {
            if (call.kind != Kind::Write)
                return;
            if (call.bytes.size() >= 4 && (call.bytes[0] == 0x52 || call.bytes[0] == 0x57))
                block = call.bytes[1] << 8 | call.bytes[2];
            if (seen.insert({block, call.bytes}).second)
                c.arrange(line, block, call.bytes);
        };
        c.arrange(line, -1, {});
        CloneStatusRecord record;
        CCloneSession session(line, record, buffer, "/nonexistent/setting.ini");
        session.SetSearchAllowed(false);
        session.Run(c.direction);

        EXPECT_EQ(record.m_status, c.status) << c.name;
        CloneIdent ident{};
        ident.fill(0x41);
        EXPECT_EQ(session.Identification(), ident) << c.name;
        if (c.direction == CloneDirection::Read) {
            EXPECT_EQ(buffer, memory) << c.name;
        }
        // A stray byte costs no block a retry, and a late answer only its own block one.
        std::map<int, int> sent;
        for (const auto& call : line.Calls())
            if (call.kind == Kind::Write && call.bytes.size() >= 4)
                ++sent[call.bytes[1] << 8 | call.bytes[2]];
        std::erase_if(sent, [](const auto& entry) { return entry.second == 1; });
        EXPECT_EQ(sent, c.repeated) << c.name;
    }
}
