// The channel record's choices of two against the radio's memory map: each one's bit, and that
// storing it touches no other bit of the record or of the records beside it.

#include "radio/ChannelChoices.h"

#include "radio/VantorDoc.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>

using namespace ImageMap;

TEST(ChannelChoicesTest, EachChoiceIsItsBitOfTheRecord)
{
    // Record byte and bit, by the memory map.
    const struct
    {
        ChannelChoice choice;
        std::size_t byte;
        int bit;
    } map[] = {
        {ChannelChoice::Power, 11, 3},    {ChannelChoice::Bcl, 11, 4},     {ChannelChoice::Bandwidth, 11, 5},
        {ChannelChoice::ScanAdd, 11, 6},  {ChannelChoice::Reverse, 11, 2}, {ChannelChoice::PttId, 11, 7},
        {ChannelChoice::Compander, 8, 3},
    };
    ASSERT_EQ(std::size(kChannelChoices), std::size(map));
    CVantorDoc doc;
    const auto first = doc.Image().begin() + static_cast<std::ptrdiff_t>(RecordOffset(6));
    const auto end = doc.Image().begin() + static_cast<std::ptrdiff_t>(RecordOffset(9));
    for (const auto& row : map) {
        const std::size_t at = RecordOffset(7) + row.byte;
        for (const std::uint8_t background : {0x00, 0xFF}) {
            for (const int value : {0, 1, 5}) {
                SCOPED_TRACE(testing::Message() << ChoiceField(row.choice).key << " background "
                                                << int{background} << " value " << value);
                std::fill(first, end, background);
                doc.SetChoice(7, row.choice, value);
                EXPECT_EQ(doc.GetChoice(7, row.choice), value != 0);
                for (auto it = first; it != end; ++it) {
                    const auto offset = static_cast<std::size_t>(it - doc.Image().begin());
                    const int bit = 1 << row.bit;
                    const int want = offset != at ? background
                                     : value != 0 ? background | bit
                                                  : background & ~bit;
                    EXPECT_EQ(*it, want) << std::hex << offset;
                }
            }
        }
    }
}
