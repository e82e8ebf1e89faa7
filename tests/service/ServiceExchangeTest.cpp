// The test mode's exchanges against the simulated radio on a pseudo-terminal.
#include "service/ServiceExchange.h"
#include "link/SerialPort.h"
#include "tests/support/Eventually.h"
#include "tests/support/LinkTestEnv.h"

#include <algorithm>

namespace {

class ServiceExchangeTest : public CLinkTestEnv
{
protected:
    CServiceExchange Exchange() { return CServiceExchange(m_port, m_image, g_strSettingFile); }

    CSerialPort m_port;
    RadioImage m_image = PatternImage(1);
};

bool SameBytes(const RadioImage& a, const RadioImage& b, std::size_t from, std::size_t to)
{
    return std::equal(a.begin() + from, a.begin() + to, b.begin() + from);
}

} // namespace

TEST_F(ServiceExchangeTest, ReadAllReplacesTheWholeImageCalibrationIncluded)
{
    CSimRadio radio(PatternImage(9));
    AttachRadio(radio, 1);
    EXPECT_EQ(Exchange().ReadAll(), ServiceResult::Ok);
    EXPECT_EQ(m_image, radio.Memory());
    EXPECT_EQ(radio.ReadAddresses().size(), 256u);
    EXPECT_TRUE(Eventually([&radio] { return radio.EndBytesSeen() == 1; }));
    EXPECT_FALSE(m_port.IsOpen());
}

TEST_F(ServiceExchangeTest, ReadAllStoppedByAShortReplyKeepsTheBlocksAlreadyRead)
{
    SimFaults faults;
    faults.shortReply[0x100] = -1;
    CSimRadio radio(PatternImage(9), faults);
    AttachRadio(radio, 1);
    const RadioImage before = m_image;
    EXPECT_EQ(Exchange().ReadAll(), ServiceResult::PortConn);
    EXPECT_TRUE(SameBytes(m_image, radio.Memory(), 0, 0x100));
    EXPECT_TRUE(SameBytes(m_image, before, 0x100, 0x1000));
    EXPECT_EQ(radio.ReadAddresses().size(), 17u); // no retry
    EXPECT_EQ(radio.EndBytesSeen(), 0);
    EXPECT_FALSE(m_port.IsOpen());
}

TEST_F(ServiceExchangeTest, WriteAllSendsEveryBlockWithLengthByte08)
{
    RadioImage blank{};
    CSimRadio radio(blank);
    AttachRadio(radio, 1);
    EXPECT_EQ(Exchange().WriteAll(), ServiceResult::Ok);
    const std::vector<int> addresses = radio.WrittenAddresses();
    ASSERT_EQ(addresses.size(), 256u);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(addresses[static_cast<std::size_t>(b)], b * 16);
    const std::vector<int> lengths = radio.WrittenLengths();
    EXPECT_TRUE(std::all_of(lengths.begin(), lengths.end(), [](int l) { return l == 0x08; }));
    EXPECT_EQ(radio.Memory(), m_image); // the calibration block too
    EXPECT_TRUE(Eventually([&radio] { return radio.EndBytesSeen() == 1; }));
    EXPECT_FALSE(m_port.IsOpen());
}

TEST_F(ServiceExchangeTest, WriteAllStopsAtAMissingAcknowledgeAndKeepsThePortOpen)
{
    SimFaults faults;
    faults.nakWrite[0x500] = 1;
    CSimRadio radio(RadioImage{}, faults);
    AttachRadio(radio, 1);
    EXPECT_EQ(Exchange().WriteAll(), ServiceResult::WriteFailed);
    EXPECT_EQ(radio.WrittenAddresses().back(), 0x500);
    EXPECT_TRUE(SameBytes(radio.Memory(), m_image, 0, 0x500));
    EXPECT_EQ(radio.EndBytesSeen(), 0);
    EXPECT_TRUE(m_port.IsOpen());
}

TEST_F(ServiceExchangeTest, AdjustModeKeepsTheRadioInProgrammingModeUntilLeft)
{
    RadioImage memory = PatternImage(9);
    memory[ImageMap::kCalibrationItem] = 2;
    CSimRadio radio(memory);
    AttachRadio(radio, 1);
    CServiceExchange exchange = Exchange();
    ASSERT_EQ(exchange.EnterAdjustMode(), ServiceResult::Ok);
    EXPECT_TRUE(SameBytes(m_image, memory, 0xFF0, 0x1000));
    EXPECT_TRUE(SameBytes(m_image, PatternImage(1), 0, 0xFF0));
    EXPECT_TRUE(m_port.IsOpen());

    m_image[ImageMap::kCalibration + 2] = 130;
    exchange.SendAdjustFrame();
    ASSERT_TRUE(Eventually([&radio] { return radio.AdjustFrames().size() == 1; }));
    const auto frames = radio.AdjustFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0][2], 130);
    EXPECT_EQ(frames[0][12], 2); // the selected item
    EXPECT_EQ(radio.EndBytesSeen(), 0);

    exchange.LeaveAdjustMode();
    EXPECT_TRUE(Eventually([&radio] { return radio.EndBytesSeen() == 1; }));
    EXPECT_FALSE(m_port.IsOpen());
}

TEST_F(ServiceExchangeTest, FailedStartsCloseThePort)
{
    SimFaults shortIdent;
    shortIdent.identLength = 5;
    CSimRadio wrongType(RadioImage{}, shortIdent);
    AttachRadio(wrongType, 1);
    EXPECT_EQ(Exchange().ReadAll(), ServiceResult::WrongType);
    EXPECT_FALSE(m_port.IsOpen());

    SimFaults noIdent;
    noIdent.identLength = 0;
    CSimRadio silent(RadioImage{}, noIdent);
    AttachRadio(silent, 1);
    EXPECT_EQ(Exchange().EnterAdjustMode(), ServiceResult::PortConn);
    EXPECT_FALSE(m_port.IsOpen());
}

// One exchange object used for several runs in a row, as a dialog could: each run counts its own
// blocks from zero, and every failure but an unacknowledged write closes the port.
TEST_F(ServiceExchangeTest, EachRunCountsItsOwnBlocksAndClosesThePortOnFailure)
{
    struct Case
    {
        ServiceResult (CServiceExchange::*job)();
        SimFaults faults;
        ServiceResult result;
        int blocks;
        bool open;
    };
    SimFaults shortAt0x100;
    shortAt0x100.shortReply[0x100] = -1;
    SimFaults shortCalibration;
    shortCalibration.shortReply[ImageMap::kCalibration] = -1;
    SimFaults wrongType;
    wrongType.identLength = 5;
    SimFaults nakAt0x500;
    nakAt0x500.nakWrite[0x500] = 1;
    const Case cases[] = {
        {&CServiceExchange::ReadAll, {}, ServiceResult::Ok, 256, false},
        {&CServiceExchange::ReadAll, shortAt0x100, ServiceResult::PortConn, 16, false},
        {&CServiceExchange::ReadAll, wrongType, ServiceResult::WrongType, 0, false},
        {&CServiceExchange::WriteAll, {}, ServiceResult::Ok, 256, false},
        {&CServiceExchange::WriteAll, wrongType, ServiceResult::WrongType, 0, false},
        {&CServiceExchange::EnterAdjustMode, shortCalibration, ServiceResult::PortConn, 0, false},
        {&CServiceExchange::WriteAll, nakAt0x500, ServiceResult::WriteFailed, 0x50, true},
    };
    CServiceExchange exchange = Exchange();
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << n++);
        AttachRadio(NewRadio(PatternImage(9), c.faults), 1);
        EXPECT_EQ((exchange.*c.job)(), c.result);
        EXPECT_EQ(exchange.BlocksDone(), c.blocks);
        EXPECT_EQ(m_port.IsOpen(), c.open);
        m_port.Close();
    }
}
