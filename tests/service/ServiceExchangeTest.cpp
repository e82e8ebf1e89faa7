// The test mode's exchanges against the simulated radio on a pseudo-terminal, and their frames and
// time-outs on a simulated clock.
#include "service/ServiceExchange.h"
#include "link/SerialPort.h"
#include "tests/link/ClockedRadioLine.h"
#include "tests/support/Eventually.h"
#include "tests/support/LinkTestEnv.h"

#include <algorithm>
#include <functional>

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

// One step of an exchange on the line, as text, so that a difference reads at a glance.
std::string Send(const std::vector<std::uint8_t>& bytes, int pauseMs = 1)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text = "send after " + std::to_string(pauseMs) + " ms:";
    for (const std::uint8_t b : bytes)
        text += {' ', kDigits[b / 16], kDigits[b % 16]};
    return text;
}

std::string Wait(int count, int ms)
{
    return "wait " + std::to_string(ms) + " ms for " + std::to_string(count);
}

std::vector<std::uint8_t> Header(std::uint8_t command, int address, std::uint8_t length)
{
    return {command, static_cast<std::uint8_t>(address / 256), static_cast<std::uint8_t>(address % 256),
            length};
}

std::string Frame(std::uint8_t command, int address, std::uint8_t length, const RadioImage& image)
{
    std::vector<std::uint8_t> bytes = Header(command, address, length);
    bytes.insert(bytes.end(), image.begin() + address, image.begin() + address + 16);
    return Send(bytes);
}

// Every step the exchange took on the line but the discarding of waiting bytes (reads that do not
// wait).
std::vector<std::string> Steps(const CClockedRadioLine& line)
{
    using Kind = CClockedRadioLine::CallKind;
    std::vector<std::string> steps;
    for (const CClockedRadioLine::Call& call : line.Calls()) {
        if (call.kind == Kind::Open)
            steps.push_back("open COM" + std::to_string(call.port) + " at " + std::to_string(call.baud));
        else if (call.kind == Kind::Sleep)
            steps.push_back("sleep " + std::to_string(call.ms));
        else if (call.kind == Kind::Write)
            steps.push_back(Send(call.bytes, call.ms));
        else if (call.kind == Kind::Read && call.ms > 0)
            steps.push_back(Wait(call.count, call.ms));
        else if (call.kind == Kind::Close)
            steps.push_back("close");
    }
    return steps;
}

// The first step where two runs differ ("" when they do not), to keep a failure short.
std::string FirstDifference(const std::vector<std::string>& got, const std::vector<std::string>& want)
{
    const auto [g, w] = std::mismatch(got.begin(), got.end(), want.begin(), want.end());
    if (g == got.end() && w == want.end())
        return "";
    return "step " + std::to_string(g - got.begin()) + ": " + (g == got.end() ? "nothing" : *g) +
           ", expected " + (w == want.end() ? "nothing" : *w);
}

} // namespace

TEST_F(ServiceExchangeTest, ReadAllReplacesTheWholeImageCalibrationIncluded)
{
    CSimRadio& radio = NewRadio(PatternImage(9));
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
    CSimRadio& radio = NewRadio(PatternImage(9), faults);
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
    CSimRadio& radio = NewRadio(blank);
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
    CSimRadio& radio = NewRadio(RadioImage{}, faults);
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
    CSimRadio& radio = NewRadio(memory);
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
    CSimRadio& wrongType = NewRadio(RadioImage{}, shortIdent);
    AttachRadio(wrongType, 1);
    EXPECT_EQ(Exchange().ReadAll(), ServiceResult::WrongType);
    EXPECT_FALSE(m_port.IsOpen());

    SimFaults noIdent;
    noIdent.identLength = 0;
    CSimRadio& silent = NewRadio(RadioImage{}, noIdent);
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

// Each exchange step by step on a simulated clock: the start as the clone exchange makes it, the
// frames of the test mode, the acknowledge after every block read, and the 50 ms the radio is
// given to answer a written block or an adjust frame.
TEST_F(ServiceExchangeTest, EachExchangeSendsItsFramesAndWaitsItsTimeOuts)
{
    const RadioImage memory = PatternImage(9);
    const std::vector<std::string> start = {
        "open COM1 at 9600", "sleep 100",  Send({'P', 'R', 'O', 'G', 'R', 'A', 'M'}),
        Wait(1, 50),         Send({0x02}), Wait(8, 500),
        Send({0x06}),        Wait(1, 50)};
    std::vector<std::string> readAll = start;
    std::vector<std::string> writeAll = start;
    std::vector<std::string> adjust = start;
    for (int a = 0; a < 0x1000; a += 16) {
        readAll.insert(readAll.end(),
                       {Send(Header(0x52, a, 0x10)), Wait(20, 200), Send({0x06}), Wait(1, 50)});
        writeAll.insert(writeAll.end(), {Frame(0x57, a, 0x08, PatternImage(1)), Wait(1, 50)});
    }
    adjust.insert(adjust.end(), {Send(Header(0x52, 0xFF0, 0x10)), Wait(20, 200), Send({0x06}), Wait(1, 50),
                                 Frame(0x67, 0xFF0, 0x10, memory), Wait(1, 50)});
    for (std::vector<std::string>* steps : {&readAll, &writeAll, &adjust})
        steps->insert(steps->end(), {Send({0x62}), "close"});

    struct Case
    {
        const char* name;
        std::function<void(CServiceExchange&)> run;
        const std::vector<std::string>& steps;
    };
    const Case cases[] = {
        {"read all", [](CServiceExchange& e) { EXPECT_EQ(e.ReadAll(), ServiceResult::Ok); }, readAll},
        {"write all", [](CServiceExchange& e) { EXPECT_EQ(e.WriteAll(), ServiceResult::Ok); }, writeAll},
        {"adjust mode",
         [](CServiceExchange& e) {
             EXPECT_EQ(e.EnterAdjustMode(), ServiceResult::Ok);
             e.SendAdjustFrame();
             e.LeaveAdjustMode();
         },
         adjust},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_image = PatternImage(1);
        CClockedRadioLine line(memory);
        CServiceExchange exchange(line, m_image, g_strSettingFile);
        c.run(exchange);
        EXPECT_EQ(FirstDifference(Steps(line), c.steps), "");
    }
}
