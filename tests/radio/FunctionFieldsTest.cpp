// The function settings table against the radio's memory map: each setting's byte and bits, its
// highest value and what a larger stored value reads as, and that no value written through the
// document reaches a neighbouring bit or byte.

#include "radio/FunctionFields.h"

#include "radio/VantorDoc.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>

namespace {

struct MapRow
{
    const char* name;
    std::size_t offset;
    std::uint8_t mask;
    int highest;
    int outOfRange; // what a stored value above the highest reads as
};

// The radio's memory map, in its order.
const MapRow kMap[] = {
    {"SquelchLevel", 0xD00, 0xFF, 9, 0},    {"ScanType", 0xD01, 0x03, 2, 2},
    {"DualWatch", 0xD01, 0x04, 1, 0},       {"RogerBeep", 0xD01, 0x08, 1, 0},
    {"BeepOff", 0xD01, 0x10, 1, 0},         {"Backlight", 0xD01, 0x20, 1, 0},
    {"PowerSave", 0xD01, 0x40, 1, 0},       {"FreqMode", 0xD01, 0x80, 1, 0},
    {"PttId", 0xD02, 0x03, 3, 0},           {"FmRadio", 0xD02, 0x04, 1, 0},
    {"VoicePrompt", 0xD02, 0x08, 1, 0},     {"RadiogramWorkMode", 0xD02, 0x10, 1, 0},
    {"RadioWorkModeA", 0xD02, 0x20, 1, 0},  {"RadioWorkModeB", 0xD02, 0x40, 1, 0},
    {"LockMode", 0xD02, 0x80, 1, 0},        {"TxTimeout", 0xD03, 0xFF, 7, 0},
    {"TxDtr", 0xD04, 0x03, 3, 0},           {"AniTx", 0xD04, 0x08, 1, 0},
    {"ChannelShowedF1", 0xD04, 0x30, 2, 2}, {"ChannelShowedF2", 0xD04, 0xC0, 2, 2},
    {"SideTone", 0xD05, 0xFF, 1, 1},        {"VoxLevel", 0xD06, 0xFF, 9, 0},
};

// The block with a byte of the neighbouring regions on either side.
constexpr std::size_t kFirst = 0xCFF;
constexpr std::size_t kEnd = 0xD08;

int Shift(std::uint8_t mask)
{
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    return shift;
}

} // namespace

TEST(FunctionFieldsTest, EachSettingHasTheBitsOfTheMemoryMap)
{
    ASSERT_EQ(std::size(FunctionSettings::kFields), std::size(kMap));
    CVantorDoc doc;
    for (std::size_t i = 0; i < std::size(kMap); ++i) {
        const MapRow& row = kMap[i];
        const FunctionField& field = FunctionSettings::kFields[i];
        SCOPED_TRACE(row.name);
        ASSERT_STREQ(field.name, row.name);
        EXPECT_EQ(field.highest, row.highest);
        EXPECT_EQ(field.Mask(), row.mask);
        const int shift = Shift(row.mask);
        const int top = row.mask >> shift;

        for (const std::uint8_t background : {0x00, 0xFF}) {
            std::fill(doc.Image().begin() + kFirst, doc.Image().begin() + kEnd, background);
            // Every stored value reads as itself up to the highest, beyond it as the map says.
            for (int stored = 0; stored <= top; ++stored) {
                doc.Image()[row.offset] =
                    static_cast<std::uint8_t>((background & ~row.mask) | stored << shift);
                EXPECT_EQ(doc.GetSetting(field), stored <= row.highest ? stored : row.outOfRange) << stored;
            }
            // Whatever is written lands in the field's bits alone; a switch stores any non-zero value as 1.
            for (const int value : {0, 1, row.highest, top, 0x1FF}) {
                std::fill(doc.Image().begin() + kFirst, doc.Image().begin() + kEnd, background);
                doc.SetSetting(field, value);
                const int expected = row.highest == 1 ? value != 0 : value & top;
                for (std::size_t at = kFirst; at < kEnd; ++at) {
                    const int want =
                        at == row.offset ? (background & ~row.mask) | expected << shift : background;
                    EXPECT_EQ(doc.Image()[at], want) << "value " << value << " at " << std::hex << at;
                }
            }
        }
    }
}

TEST(FunctionFieldsTest, OnlyTheBeepBoxShowsTheInverseOfItsBit)
{
    for (const FunctionField& field : FunctionSettings::kFields) {
        const bool inverted = std::string_view(field.name) == "BeepOff";
        EXPECT_EQ(field.Shown(1), inverted ? 0 : 1) << field.name;
        EXPECT_EQ(field.Shown(0), inverted ? 1 : 0) << field.name;
    }
}
