// The clone exchange's time-outs, pauses, baud rate, port search and progress, pinned on a
// simulated clock. Every expected value is written out here, never taken from the code's constants.
#include "tests/link/ClockedRadioLine.h"
#include "tests/support/LinkTestEnv.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

using Kind = CClockedRadioLine::CallKind;

std::string FrameName(const std::vector<std::uint8_t>& bytes)
{
    if (bytes == std::vector<std::uint8_t>{'P', 'R', 'O', 'G', 'R', 'A', 'M'})
        return "wake-up";
    if (bytes.size() == 1)
        return bytes[0] == 0x02   ? "identify"
               : bytes[0] == 0x06 ? "acknowledge"
               : bytes[0] == 0x62 ? "end"
                                  : "?";
    if (bytes.size() == 4 && bytes[0] == 0x52)
        return "read request";
    if (bytes.size() == 20 && bytes[0] == 0x57)
        return "data block";
    return "?";
}

class ExchangeTimingTest : public CLinkTestEnv
{
protected:
    static CloneStatus Run(CClockedRadioLine& line, CloneStatusRecord& record, CloneDirection direction)
    {
        RadioImage buffer = PatternImage(9);
        CCloneSession session(line, record, buffer, g_strSettingFile);
        session.Run(direction);
        return record.m_status;
    }
};

} // namespace

TEST_F(ExchangeTimingTest, EveryFrameIsSentAfterOneMillisecondAndAwaitedForItsOwnTime)
{
    struct Wait
    {
        int count;
        int ms;
    };
    // What the tool waits for after each frame it sends, and how long.
    const std::map<std::string, Wait> expected = {
        {"wake-up", {1, 50}},        {"identify", {8, 500}},   {"acknowledge", {1, 50}},
        {"read request", {20, 200}}, {"data block", {1, 100}},
    };
    for (const CloneDirection direction : {CloneDirection::Read, CloneDirection::Write}) {
        CClockedRadioLine line(PatternImage(3));
        CloneStatusRecord record;
        ASSERT_EQ(Run(line, record, direction),
                  direction == CloneDirection::Read ? CloneStatus::ReadDone : CloneStatus::WriteDone);

        std::map<std::string, int> sent;
        std::map<std::string, int> awaited;
        std::string last;
        for (const auto& call : line.Calls()) {
            if (call.kind == Kind::Write) {
                last = FrameName(call.bytes);
                ++sent[last];
                EXPECT_EQ(call.ms, 1) << last;
            } else if (call.kind == Kind::Read && call.ms > 0) {
                ASSERT_TRUE(expected.contains(last)) << "a wait after " << last;
                EXPECT_EQ(call.count, expected.at(last).count) << last;
                EXPECT_EQ(call.ms, expected.at(last).ms) << last;
                ++awaited[last];
            }
        }
        // One wait for every frame but the end byte; a read acknowledges every block it gets.
        const std::map<std::string, int> frames =
            direction == CloneDirection::Read
                ? std::map<std::string, int>{{"wake-up", 1},
                                             {"identify", 1},
                                             {"acknowledge", 257},
                                             {"read request", 256}}
                : std::map<std::string, int>{
                      {"wake-up", 1}, {"identify", 1}, {"acknowledge", 1}, {"data block", 254}};
        EXPECT_EQ(sent.erase("end"), 1u);
        EXPECT_EQ(sent, awaited);
        EXPECT_EQ(sent, frames);
    }
}

TEST_F(ExchangeTimingTest, PortOpensAt9600AndTheFixedPausesComeWhereTheyBelong)
{
    struct Case
    {
        CloneDirection direction;
        std::vector<int> sleeps; // every pause, in order
    };
    for (const Case& c : {Case{CloneDirection::Read, {100}}, Case{CloneDirection::Write, {100, 1000}}}) {
        CClockedRadioLine line(PatternImage(3));
        CloneStatusRecord record;
        std::vector<int> sleeps;
        std::string lastSent;
        line.m_onCall = [&](const CClockedRadioLine::Call& call) {
            if (call.kind == Kind::Write)
                lastSent = FrameName(call.bytes);
            if (call.kind != Kind::Sleep)
                return;
            sleeps.push_back(call.ms);
            // The write's pause comes after its end byte and before it is reported done.
            if (call.ms == 1000) {
                EXPECT_EQ(lastSent, "end");
                EXPECT_EQ(record.m_status, CloneStatus::Writing);
            }
        };
        Run(line, record, c.direction);
        const auto& calls = line.Calls();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls[0].kind, Kind::Open);
        EXPECT_EQ(calls[0].port, 1);
        EXPECT_EQ(calls[0].baud, 9600);
        EXPECT_EQ(calls[1].kind, Kind::Sleep); // 100 ms after opening, before the first wake-up
        EXPECT_EQ(sleeps, c.sleeps);
    }
}

TEST_F(ExchangeTimingTest, SearchTriesCom1ToCom255AndStopsOnCancel)
{
    Setting("setup", "searchcom", "1");
    Setting("setup", "com", "7");
    struct Case
    {
        const char* name;
        std::set<int> ports; // empty: every port exists
        int radioPort;       // 0: no radio anywhere
        int cancelOnOpening; // 0: nobody cancels
        ExchangeStartResult result;
        int lastTried;
    };
    const Case cases[] = {
        {"radio on COM1", std::set<int>{1, 7}, 1, 0, ExchangeStartResult::Ok, 1},
        {"radio on COM255", std::set<int>{7, 255}, 255, 0, ExchangeStartResult::Ok, 255},
        {"no radio", {}, 0, 0, ExchangeStartResult::PortError, 255},
        {"cancel on COM5", {}, 0, 5, ExchangeStartResult::Cancelled, 5},
    };
    for (const Case& c : cases) {
        Setting("setup", "com", "7");
        CClockedRadioLine line(PatternImage(3));
        line.m_ports = c.ports;
        line.m_radioPort = c.radioPort;
        CloneStatusRecord record;
        line.m_onCall = [&](const CClockedRadioLine::Call& call) {
            if (call.kind == Kind::Open && call.port == c.cancelOnOpening)
                record.m_cancel = true;
        };
        EXPECT_EQ(StartExchange(line, g_strSettingFile, &record), c.result) << c.name;

        // The configured port, then COM1, COM2, ... in order; each opened at 9600 baud, an opened
        // one given 100 ms and ten wake-ups, one that failed to open skipped without a wake-up.
        std::vector<int> tried;
        const auto& calls = line.Calls();
        for (std::size_t i = 0; i < calls.size(); ++i) {
            if (calls[i].kind != Kind::Open)
                continue;
            tried.push_back(calls[i].port);
            EXPECT_EQ(calls[i].baud, 9600) << c.name;
            int wakeUps = 0;
            std::size_t j = i + 1;
            for (; j < calls.size() && calls[j].kind != Kind::Open; ++j)
                wakeUps += calls[j].kind == Kind::Write && FrameName(calls[j].bytes) == "wake-up";
            if (!calls[i].opened) {
                EXPECT_EQ(wakeUps, 0) << c.name << " COM" << calls[i].port;
                continue;
            }
            ASSERT_LT(i + 1, calls.size());
            EXPECT_EQ(calls[i + 1].kind, Kind::Sleep) << c.name << " COM" << calls[i].port;
            EXPECT_EQ(calls[i + 1].ms, 100) << c.name << " COM" << calls[i].port;
            if (j < calls.size() || c.result != ExchangeStartResult::Ok) {
                EXPECT_EQ(wakeUps, 10) << c.name << " COM" << calls[i].port;
            }
        }
        std::vector<int> order{7};
        for (int port = 1; port <= c.lastTried; ++port)
            order.push_back(port);
        EXPECT_EQ(tried, order) << c.name;

        // The last port opened is the progress, reported as searching; a found one is stored.
        EXPECT_EQ(record.m_status, CloneStatus::Searching) << c.name;
        EXPECT_EQ(record.m_progress, c.lastTried) << c.name;
        const bool found = c.result == ExchangeStartResult::Ok;
        EXPECT_EQ(record.m_foundPort, found ? c.lastTried : -1) << c.name;
        EXPECT_EQ(ReadProfileInt(g_strSettingFile, "setup", "com", 0), found ? c.lastTried : 7) << c.name;
    }
}

TEST_F(ExchangeTimingTest, ProgressAfterEachBlockIsThePercentOfTheBytesMoved)
{
    struct Case
    {
        CloneDirection direction;
        int blocks;
        std::map<int, int> progressAfter; // block -> percent (86, 214, 32, 159: a hair below the next)
    };
    const Case cases[] = {
        {CloneDirection::Read,
         256,
         {{0, 0}, {2, 1}, {86, 33}, {96, 37}, {97, 38}, {127, 50}, {214, 83}, {253, 99}, {255, 100}}},
        {CloneDirection::Write,
         254,
         {{0, 0}, {2, 1}, {32, 12}, {94, 37}, {96, 38}, {126, 50}, {159, 62}, {252, 99}, {253, 100}}},
    };
    for (const Case& c : cases) {
        CClockedRadioLine line(PatternImage(3));
        CloneStatusRecord record;
        const bool reading = c.direction == CloneDirection::Read;
        // What the record says when the next block is asked for or sent is the last block's result.
        std::vector<int> progress;
        line.m_onCall = [&](const CClockedRadioLine::Call& call) {
            const std::string frame = call.kind == Kind::Write ? FrameName(call.bytes) : "";
            if (frame != (reading ? "read request" : "data block") ||
                (call.bytes[1] == 0 && call.bytes[2] == 0))
                return;
            EXPECT_EQ(record.m_status, reading ? CloneStatus::Reading : CloneStatus::Writing);
            progress.push_back(record.m_progress);
        };
        Run(line, record, c.direction);
        progress.push_back(record.m_progress);
        ASSERT_EQ(progress.size(), static_cast<std::size_t>(c.blocks));
        for (const auto& [block, percent] : c.progressAfter)
            EXPECT_EQ(progress[block], percent) << (reading ? "read" : "write") << " block " << block;
        // No percent is left out on the way.
        for (std::size_t b = 1; b < progress.size(); ++b)
            EXPECT_LE(progress[b] - progress[b - 1], 1) << b;
    }
}
