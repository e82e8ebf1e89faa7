// Verifying a write: the comparison of what was written with what the radio holds, and the
// verifying read against simulated radios that lose, change or refuse what they were sent.

#include "link/WriteCheck.h"
#include "link/CloneSession.h"
#include "link/SerialPort.h"
#include "radio/ChannelEditor.h"
#include "radio/VantorDoc.h"
#include "tests/support/LinkTestEnv.h"

namespace {

using Outcome = CWriteCheck::Outcome;

// A new document's memory with channel 5 added: what the tool writes.
RadioImage Written()
{
    CVantorDoc doc;
    doc.OnNewDocument(false);
    CChannelEditor(doc).StoreRx(5, "145.50000");
    PrepareImageForTransfer(doc.Image());
    std::fill(doc.Image().begin() + 0xFE0, doc.Image().end(), 0x5A); // blocks a write never sends
    return doc.Image();
}

bool HasLineStarting(const std::vector<std::string>& lines, const std::string& start)
{
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.rfind(start, 0) == 0; });
}

TEST(WriteCheckCompareTest, OnlyTheWrittenBlocksCount)
{
    struct Case
    {
        const char* name;
        std::size_t offset; // the byte the radio holds otherwise
        Outcome outcome;
        std::vector<int> blocks;
        const char* line; // the start of a line naming the difference
    };
    const Case cases[] = {
        {"channel 5", 0x050, Outcome::Differs, {0x050}, "channel 5 "},
        {"VFO B", 0x820, Outcome::Differs, {0x820}, "VFO B "},
        {"last written block", 0xFDF, Outcome::Differs, {0xFD0}, ""},
        {"first byte", 0x000, Outcome::Differs, {0x000}, ""},
        {"calibration, never written", 0xFE0, Outcome::Verified, {}, nullptr},
        {"last byte, never written", 0xFFF, Outcome::Verified, {}, nullptr},
    };
    CWriteCheck check; // one for all cases: each comparison starts afresh
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RadioImage written = Written();
        RadioImage read = written;
        read[c.offset] ^= 0x10;
        EXPECT_EQ(check.Compare(written, read), c.outcome);
        EXPECT_EQ(check.DifferingBlocks(), c.blocks);
        const std::vector<std::string> lines = check.Lines();
        EXPECT_EQ(lines.empty(), c.line == nullptr);
        if (c.line) {
            EXPECT_TRUE(HasLineStarting(lines, c.line)) << (lines.empty() ? "" : lines.front());
        }
    }
}

class WriteCheckTest : public CLinkTestEnv
{
protected:
    void TearDown() override
    {
        m_port.Close();
        CLinkTestEnv::TearDown();
    }

    // Writes Written() to a radio with these faults, then checks it as the program does.
    Outcome WriteAndCheck(const SimFaults& faults)
    {
        CVantorDoc blank;
        blank.OnNewDocument(false);
        PrepareImageForTransfer(blank.Image());
        m_port.Close(); // each case talks to a radio of its own
        m_radio = &NewRadio(blank.Image(), faults);
        AttachRadio(*m_radio, 1);
        RadioImage buffer = Written();
        m_record.Reset();
        CCloneSession(m_port, m_record, buffer, g_strSettingFile).Run(CloneDirection::Write);
        EXPECT_EQ(m_record.m_status, CloneStatus::WriteDone);
        return m_check.Run(m_port, m_record, buffer, g_strSettingFile);
    }

    CSerialPort m_port;
    CloneStatusRecord m_record;
    CWriteCheck m_check;
    CSimRadio* m_radio = nullptr;
};

TEST_F(WriteCheckTest, ARadioThatStoredEverythingIsVerified)
{
    EXPECT_EQ(WriteAndCheck({}), Outcome::Verified);
    EXPECT_EQ(m_record.m_status, CloneStatus::ReadDone);
    EXPECT_EQ(m_radio->ReadAddresses().size(), 256u); // one whole read exchange after the write
    EXPECT_EQ(m_radio->WakeUpsSeen(), 2);
}

TEST_F(WriteCheckTest, ARadioThatLostOrChangedABlockDiffersThere)
{
    SimFaults lost;
    lost.dropWrite[0x050] = 1;
    EXPECT_EQ(WriteAndCheck(lost), Outcome::Differs);
    EXPECT_EQ(m_check.DifferingBlocks(), std::vector<int>{0x050});
    EXPECT_TRUE(HasLineStarting(m_check.Lines(), "channel 5 deleted")) << m_check.Lines().front();
    EXPECT_EQ(m_check.ReadBack(), m_radio->Memory());
}

TEST_F(WriteCheckTest, ARadioStoringAnotherByteDiffersInThatChannel)
{
    SimFaults changed;
    changed.corruptWrite[0x050] = -1;
    EXPECT_EQ(WriteAndCheck(changed), Outcome::Differs);
    EXPECT_TRUE(HasLineStarting(m_check.Lines(), "channel 5 receive")) << m_check.Lines().front();
}

TEST_F(WriteCheckTest, NoCompleteReadIsNotAVerdict)
{
    // The verifying read keeps to the port just written: a search would wake the radio at last.
    Setting("setup", "searchcom", "1");
    SimFaults silent;
    silent.silentAfterEnd = kCloneWakeUpAttempts; // every wake-up of the verifying read
    EXPECT_EQ(WriteAndCheck(silent), Outcome::NotVerified);
    EXPECT_EQ(ReadProfileInt(g_strSettingFile, "setup", "com", 0), 1);
    Setting("setup", "searchcom", "0");

    SimFaults skipping; // a written block answered for another address: the buffer proves nothing
    skipping.wrongAddress[0x050] = -1;
    EXPECT_EQ(WriteAndCheck(skipping), Outcome::NotVerified);

    SimFaults calibrationSkipped; // a block that was not written does not matter
    calibrationSkipped.wrongAddress[0xFE0] = -1;
    EXPECT_EQ(WriteAndCheck(calibrationSkipped), Outcome::Verified);
}

} // namespace
