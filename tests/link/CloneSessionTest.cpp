#include <chrono>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "link/CloneSession.h"
#include "link/SerialPort.h"
#include "tests/support/Eventually.h"
#include "tests/support/LinkTestEnv.h"

namespace {

using Clock = std::chrono::steady_clock;

class CloneSessionTest : public CLinkTestEnv
{
protected:
    CloneStatus Run(CloneDirection direction)
    {
        m_record.Reset();
        CCloneSession session(m_port, m_record, m_buffer, g_strSettingFile);
        session.Run(direction);
        m_skipped = session.SkippedBlocks();
        return m_record.m_status;
    }

    // A terminal nobody answers on.
    std::string SilentPort(int port)
    {
        char name[256] = {};
        int master = -1;
        int slave = -1;
        EXPECT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
        termios tio{};
        tcgetattr(master, &tio);
        cfmakeraw(&tio);
        tcsetattr(master, TCSANOW, &tio);
        m_silent.push_back(master);
        m_silent.push_back(slave);
        Setting("ports", "COM" + std::to_string(port), name);
        return name;
    }

    void TearDown() override
    {
        m_port.Close();
        for (const int fd : m_silent)
            close(fd);
        CLinkTestEnv::TearDown();
    }

    CSerialPort m_port;
    CloneStatusRecord m_record;
    RadioImage m_buffer = PatternImage(100);
    std::vector<int> m_skipped;
    std::vector<int> m_silent;
};

std::vector<int> Addresses(int blocks)
{
    std::vector<int> addresses;
    for (int b = 0; b < blocks; ++b)
        addresses.push_back(16 * b);
    return addresses;
}

TEST_F(CloneSessionTest, ReadFetchesTheWholeImageAndEndsProgrammingMode)
{
    CSimRadio& radio = NewRadio(PatternImage(1));
    AttachRadio(radio, 1);
    EXPECT_EQ(Run(CloneDirection::Read), CloneStatus::ReadDone);
    EXPECT_EQ(m_buffer, radio.Memory());
    EXPECT_EQ(m_record.m_progress, 100);
    EXPECT_EQ(radio.ReadAddresses(), Addresses(256)); // calibration blocks 0xFE0 and 0xFF0 included
    EXPECT_TRUE(Eventually([&radio] { return radio.EndBytesSeen() == 1; }));
    EXPECT_TRUE(m_port.IsOpen()); // the caller closes it
}

TEST_F(CloneSessionTest, WriteSendsEverythingButTheCalibrationArea)
{
    const RadioImage before = PatternImage(1);
    CSimRadio& radio = NewRadio(before);
    AttachRadio(radio, 1);
    const auto t0 = Clock::now();
    EXPECT_EQ(Run(CloneDirection::Write), CloneStatus::WriteDone);
    EXPECT_GE(Clock::now() - t0, std::chrono::milliseconds(1000)); // the pause after the end byte
    EXPECT_EQ(m_record.m_progress, 100);
    EXPECT_EQ(radio.WrittenAddresses(), Addresses(254));
    const RadioImage after = radio.Memory();
    EXPECT_TRUE(std::equal(after.begin(), after.begin() + 0xFE0, m_buffer.begin()));
    EXPECT_TRUE(std::equal(after.begin() + 0xFE0, after.end(), before.begin() + 0xFE0));
    EXPECT_EQ(radio.EndBytesSeen(), 1);
}

TEST_F(CloneSessionTest, CancelStopsAfterTheCurrentBlockWithoutTheEndByte)
{
    CSimRadio& radio = NewRadio(PatternImage(1));
    AttachRadio(radio, 1);
    // Cancelled before the start: exactly one block, whose progress is 0 (1600 div 4096).
    m_record.Reset();
    m_record.m_cancel = true;
    CCloneSession(m_port, m_record, m_buffer, g_strSettingFile).Run(CloneDirection::Read);
    EXPECT_EQ(m_record.m_status, CloneStatus::Reading);
    EXPECT_EQ(m_record.m_progress, 0);
    EXPECT_EQ(radio.ReadAddresses().size(), 1u);

    m_record.Reset();
    m_record.m_cancel = true;
    CCloneSession(m_port, m_record, m_buffer, g_strSettingFile).Run(CloneDirection::Write);
    EXPECT_EQ(m_record.m_status, CloneStatus::Writing);
    EXPECT_EQ(m_record.m_progress, 0); // 1600 div 4064
    EXPECT_EQ(radio.WrittenAddresses().size(), 1u);
    EXPECT_EQ(radio.EndBytesSeen(), 0);
}

TEST_F(CloneSessionTest, CancelAndCloseFromTheUserInterfaceEndTheWorkerQuickly)
{
    CSimRadio& radio = NewRadio(PatternImage(1));
    AttachRadio(radio, 1);
    m_record.Reset();
    std::thread worker(
        [this] { CCloneSession(m_port, m_record, m_buffer, g_strSettingFile).Run(CloneDirection::Read); });
    while (m_record.m_progress < 30 && m_record.m_status != CloneStatus::ReadDone)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const auto t0 = Clock::now();
    m_record.m_cancel = true;
    m_port.Close();
    worker.join();
    EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(1000));
    EXPECT_NE(m_record.m_status, CloneStatus::ReadDone);
    EXPECT_EQ(radio.EndBytesSeen(), 0);
    EXPECT_LT(radio.ReadAddresses().size(), 256u);
}

TEST_F(CloneSessionTest, StaleBytesAreDiscardedBeforeEachWakeUp)
{
    SimFaults faults;
    faults.wakeUpAtAttempt = 3;
    faults.junkBytes = 5; // waiting at start and after each unanswered wake-up
    CSimRadio& radio = NewRadio(PatternImage(1), faults);
    AttachRadio(radio, 1);
    EXPECT_EQ(Run(CloneDirection::Read), CloneStatus::ReadDone);
    EXPECT_EQ(radio.WakeUpsSeen(), 3);
    EXPECT_EQ(m_buffer, radio.Memory());
}

TEST_F(CloneSessionTest, WithoutSearchASilentPortIsAPortErrorAfterTenWakeUps)
{
    SimFaults faults;
    faults.wakeUpAtAttempt = 1000;
    CSimRadio& radio = NewRadio(PatternImage(1), faults);
    AttachRadio(radio, 1);
    EXPECT_EQ(Run(CloneDirection::Read), CloneStatus::PortError);
    EXPECT_EQ(radio.WakeUpsSeen(), 10);
    EXPECT_EQ(m_buffer, PatternImage(100));
}

TEST_F(CloneSessionTest, SearchTriesComOneNextAndStoresTheAnsweringPort)
{
    Setting("setup", "searchcom", "1");
    Setting("setup", "com", "3");
    SilentPort(3);
    CSimRadio& first = NewRadio(PatternImage(1));
    CSimRadio& second = NewRadio(PatternImage(2));
    AttachRadio(first, 1);
    AttachRadio(second, 2);
    EXPECT_EQ(Run(CloneDirection::Read), CloneStatus::ReadDone);
    EXPECT_EQ(m_buffer, first.Memory());
    EXPECT_EQ(second.WakeUpsSeen(), 0);
    EXPECT_EQ(ReadProfileInt(g_strSettingFile, "setup", "com", 0), 1);
    EXPECT_EQ(m_record.m_foundPort, 1);
}

TEST_F(CloneSessionTest, SearchSkipsPortsThatDoNotOpenAndGivesUpAfterComTwoFiftyFive)
{
    Setting("setup", "searchcom", "1");
    SilentPort(1);
    SilentPort(200);
    const auto t0 = Clock::now();
    EXPECT_EQ(Run(CloneDirection::Read), CloneStatus::PortError);
    // Only COM1 (twice: as the configured port and in the search) and COM200 got wake-ups.
    EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(5000));
    EXPECT_EQ(m_record.m_progress, 200);
    EXPECT_EQ(m_record.m_foundPort, -1); // the port in use is still the configured one
    EXPECT_EQ(ReadProfileInt(g_strSettingFile, "setup", "com", 0), 1);
    EXPECT_FALSE(m_port.IsOpen());
}

TEST_F(CloneSessionTest, OnlyASearchSettingStartingWithZeroTurnsTheSearchOff)
{
    for (const auto& [value, search] : {std::pair{"1", true},
                                        {"0", false},
                                        {"00", false},
                                        {"01", false},
                                        {"10", true},
                                        {"off", true},
                                        {"", true}}) {
        Setting("setup", "searchcom", value);
        EXPECT_EQ(PortSearchEnabled(g_strSettingFile), search) << '"' << value << '"';
    }
    EXPECT_TRUE(PortSearchEnabled((m_dir / "absent.ini").string()));
    Setting("setup", "com", "7");
    EXPECT_EQ(ConfiguredPort(g_strSettingFile), 7);
    EXPECT_EQ(ConfiguredPort((m_dir / "absent.ini").string()), 1);
}

TEST_F(CloneSessionTest, IdentificationMustBeEightBytes)
{
    SimFaults faults;
    faults.identLength = 7;
    CSimRadio& shortIdent = NewRadio(PatternImage(1), faults);
    AttachRadio(shortIdent, 1);
    EXPECT_EQ(Run(CloneDirection::Read), CloneStatus::TypeError);
    m_port.Close();

    faults.identLength = 0;
    CSimRadio& noIdent = NewRadio(PatternImage(1), faults);
    AttachRadio(noIdent, 1);
    EXPECT_EQ(Run(CloneDirection::Read), CloneStatus::PortError);
    EXPECT_TRUE(noIdent.ReadAddresses().empty());
}

TEST_F(CloneSessionTest, ABlockAnsweredForAnotherAddressIsRetriedThenSkipped)
{
    SimFaults faults;
    faults.wrongAddress[0x100] = -1; // always
    faults.wrongAddress[0x200] = 2;  // twice, then right
    CSimRadio& radio = NewRadio(PatternImage(1), faults);
    AttachRadio(radio, 1);
    EXPECT_EQ(Run(CloneDirection::Read), CloneStatus::ReadDone);
    const RadioImage memory = radio.Memory();
    const RadioImage original = PatternImage(100);
    EXPECT_TRUE(std::equal(m_buffer.begin() + 0x100, m_buffer.begin() + 0x110, original.begin() + 0x100));
    EXPECT_TRUE(std::equal(m_buffer.begin(), m_buffer.begin() + 0x100, memory.begin()));
    EXPECT_TRUE(std::equal(m_buffer.begin() + 0x110, m_buffer.end(), memory.begin() + 0x110));
    EXPECT_EQ(m_skipped, std::vector<int>{0x100});
    const std::vector<int> reads = radio.ReadAddresses();
    EXPECT_EQ(std::count(reads.begin(), reads.end(), 0x100), 3);
}

// A session run again reports what that run saw, not what an earlier one did.
TEST_F(CloneSessionTest, ASecondRunReportsOnlyTheBlocksItSkippedAndTheRadioItMet)
{
    SimFaults faults;
    faults.wrongAddress[0x100] = 3; // the three requests of the first read
    CSimRadio& radio = NewRadio(PatternImage(1), faults);
    AttachRadio(radio, 1);
    CCloneSession session(m_port, m_record, m_buffer, g_strSettingFile);
    session.Run(CloneDirection::Read);
    EXPECT_EQ(session.SkippedBlocks(), std::vector<int>{0x100});
    m_record.Reset();
    session.Run(CloneDirection::Read);
    EXPECT_EQ(m_record.m_status, CloneStatus::ReadDone);
    EXPECT_EQ(session.SkippedBlocks(), std::vector<int>{});
    EXPECT_EQ(m_buffer, radio.Memory());
    EXPECT_NE(session.Identification(), CloneIdent{});

    // No radio at all: no identification either.
    m_port.Close();
    Setting("setup", "searchcom", "0");
    Setting("ports", "COM1", (m_dir / "absent").string());
    session.Run(CloneDirection::Read);
    EXPECT_EQ(m_record.m_status, CloneStatus::PortError);
    EXPECT_EQ(session.Identification(), CloneIdent{});
}

TEST_F(CloneSessionTest, ThreeShortRepliesFailTheRead)
{
    SimFaults faults;
    faults.shortReply[0x200] = -1;
    CSimRadio& radio = NewRadio(PatternImage(1), faults);
    AttachRadio(radio, 1);
    EXPECT_EQ(Run(CloneDirection::Read), CloneStatus::ReadFailed);
    EXPECT_EQ(radio.ReadAddresses().back(), 0x200);
    EXPECT_EQ(radio.EndBytesSeen(), 0);
}

TEST_F(CloneSessionTest, ThreeUnacknowledgedBlocksFailTheWrite)
{
    SimFaults faults;
    faults.nakWrite[0x300] = -1;
    faults.silentWrite[0x100] = 2; // twice silent, then acknowledged
    CSimRadio& radio = NewRadio(PatternImage(1), faults);
    AttachRadio(radio, 1);
    EXPECT_EQ(Run(CloneDirection::Write), CloneStatus::WriteFailed);
    const std::vector<int> written = radio.WrittenAddresses();
    EXPECT_EQ(std::count(written.begin(), written.end(), 0x100), 3);
    EXPECT_EQ(std::count(written.begin(), written.end(), 0x300), 3);
    EXPECT_EQ(written.back(), 0x300);
    EXPECT_EQ(radio.EndBytesSeen(), 0);
}

TEST_F(CloneSessionTest, ARadioHangingUpMidwayFailsWithoutHanging)
{
    SimFaults faults;
    faults.hangUpAfterBlocks = 100;
    CSimRadio& reader = NewRadio(PatternImage(1), faults);
    AttachRadio(reader, 1);
    auto t0 = Clock::now();
    EXPECT_EQ(Run(CloneDirection::Read), CloneStatus::ReadFailed);
    EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(5000));
    m_port.Close();

    CSimRadio& writer = NewRadio(PatternImage(1), faults);
    AttachRadio(writer, 1);
    t0 = Clock::now();
    EXPECT_EQ(Run(CloneDirection::Write), CloneStatus::WriteFailed);
    EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(5000));
}

TEST_F(CloneSessionTest, TheFramesServeTheTestModeToo)
{
    CSimRadio& radio = NewRadio(PatternImage(1));
    AttachRadio(radio, 1);
    ASSERT_EQ(StartExchange(m_port, g_strSettingFile), ExchangeStartResult::Ok);
    // Full-image write of the test mode: length byte 08, calibration block included.
    const CloneFrame block = MakeDataBlock(0xFF0, m_buffer.data() + 0xFF0, 0x08);
    EXPECT_EQ(block[0], 0x57);
    EXPECT_EQ(block[1], 0x0F);
    EXPECT_EQ(block[2], 0xF0);
    EXPECT_EQ(block[3], 0x08);
    EXPECT_TRUE(SendDataBlock(m_port, block, kCloneAckReplyMs));
    SendReadRequest(m_port, 0xFF0);
    CloneFrame reply{};
    EXPECT_EQ(ReceiveBlock(m_port, reply, kCloneBlockReplyMs), kCloneFrameSize);
    EXPECT_TRUE(std::equal(reply.begin() + 4, reply.end(), m_buffer.begin() + 0xFF0));
    SendAcknowledge(m_port);
    SendEndByte(m_port);
    EXPECT_TRUE(Eventually([&radio] { return radio.EndBytesSeen() == 1; }));
}

} // namespace

namespace {

// A line that never stops delivering 06, as a cable or radio gone wild does: every discard and
// every wait for a quiet line must still come to an end.
class CBabblingLine final : public ISerialLine
{
public:
    bool Open(int, int) override { return m_open = true; }
    int Write(const std::uint8_t*, int count, int, bool) override { return count; }
    int WriteByte(std::uint8_t, int) override { return 1; }
    // Never more than eight bytes at once: a block reply is always short.
    int Read(std::uint8_t* buffer, int count, int) override
    {
        const int n = std::min(count, kCloneIdentLen);
        std::fill_n(buffer, n, kCloneAck);
        m_reads += n;
        return n;
    }
    int ReadByte(int) override
    {
        ++m_reads;
        return kCloneAck;
    }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    void Sleep(int) override {}

    long long m_reads = 0;

private:
    bool m_open = true;
};

TEST(BabblingLineTest, DiscardingAndWaitingForQuietEndOnALineThatNeverStops)
{
    CBabblingLine line;
    EXPECT_TRUE(SendWakeUp(line)); // the byte after "PROGRAM" comes from the babble
    EXPECT_LE(line.m_reads, 65536 + 1);

    CloneStatusRecord record;
    RadioImage buffer{};
    CCloneSession session(line, record, buffer, "/nonexistent/setting.ini");
    session.SetSearchAllowed(false);
    session.Run(CloneDirection::Read);
    EXPECT_EQ(record.m_status.load(), CloneStatus::ReadFailed);
}

} // namespace
