// The simulated radio's faults for checking writes, driven byte by byte in process.

#include <gtest/gtest.h>

#include "link/CloneSession.h"
#include "tests/support/LinkTestEnv.h"
#include "tools/sim/SimRadio.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Send(CSimRadio& radio, const Bytes& bytes)
{
    return radio.Receive(bytes.data(), bytes.size());
}

Bytes WakeUp(CSimRadio& radio)
{
    return Send(radio, Bytes(kCloneWakeUp, kCloneWakeUp + kCloneWakeUpLen));
}

// Wakes and identifies the radio; true when it is ready for blocks.
bool Start(CSimRadio& radio)
{
    return WakeUp(radio) == Bytes{kCloneAck} && Send(radio, {kCloneIdentify}).size() == kCloneIdentLen &&
           Send(radio, {kCloneAck}) == Bytes{kCloneAck};
}

Bytes WriteBlock(CSimRadio& radio, int address, std::uint8_t fill)
{
    const std::vector<std::uint8_t> data(kCloneBlockSize, fill);
    const CloneFrame frame = MakeDataBlock(address, data.data());
    return Send(radio, Bytes(frame.begin(), frame.end()));
}

TEST(SimFaultsTest, WrittenBlocksAreAcknowledgedAndStoredAsTheFaultsSay)
{
    struct Case
    {
        const char* name;
        SimFaults faults;
        std::uint8_t firstByteAfterFirstWrite; // the block at 0x100 is written with 0x12 twice
        std::uint8_t firstByteAfterSecondWrite;
    };
    SimFaults dropOnce;
    dropOnce.dropWrite[0x100] = 1;
    SimFaults dropAlways;
    dropAlways.dropWrite[0x100] = -1;
    SimFaults dropElsewhere;
    dropElsewhere.dropWrite[0x110] = -1;
    SimFaults corruptOnce;
    corruptOnce.corruptWrite[0x100] = 1;
    const std::uint8_t old = PatternImage(1)[0x100];
    const Case cases[] = {
        {"no fault", {}, 0x12, 0x12},
        {"dropped once", dropOnce, old, 0x12},
        {"dropped always", dropAlways, old, old},
        {"dropped at another address", dropElsewhere, 0x12, 0x12},
        {"corrupted once", corruptOnce, 0x13, 0x12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSimRadio radio(PatternImage(1), c.faults);
        ASSERT_TRUE(Start(radio));
        EXPECT_EQ(WriteBlock(radio, 0x100, 0x12), Bytes{kCloneAck});
        EXPECT_EQ(radio.Memory()[0x100], c.firstByteAfterFirstWrite);
        EXPECT_EQ(radio.Memory()[0x101], c.firstByteAfterFirstWrite == old ? PatternImage(1)[0x101] : 0x12);
        EXPECT_EQ(WriteBlock(radio, 0x100, 0x12), Bytes{kCloneAck});
        EXPECT_EQ(radio.Memory()[0x100], c.firstByteAfterSecondWrite);
    }
}

TEST(SimFaultsTest, AfterAnEndByteTheRadioIgnoresTheNextWakeUps)
{
    SimFaults faults;
    faults.silentAfterEnd = 2;
    CSimRadio radio(PatternImage(1), faults);
    ASSERT_TRUE(Start(radio)); // silent only after an end byte
    Send(radio, {kCloneEnd});
    EXPECT_TRUE(WakeUp(radio).empty());
    EXPECT_TRUE(WakeUp(radio).empty());
    ASSERT_TRUE(Start(radio)); // the third wake-up is answered
    EXPECT_EQ(radio.WakeUpsSeen(), 4);
    Send(radio, {kCloneEnd}); // and every end byte starts the silence again
    EXPECT_TRUE(WakeUp(radio).empty());
}

TEST(SimFaultsTest, FaultOptionsTakeAnAddressAndHowOften)
{
    std::map<int, int> faults;
    EXPECT_TRUE(ParseFaultBlock("0x100", faults));
    EXPECT_TRUE(ParseFaultBlock("32:2", faults));
    EXPECT_FALSE(ParseFaultBlock("0x100:0", faults));
    EXPECT_FALSE(ParseFaultBlock("", faults));
    EXPECT_EQ(faults, (std::map<int, int>{{0x100, -1}, {32, 2}}));
}

} // namespace
