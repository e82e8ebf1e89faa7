// Frequency digits and snapping, the tone list, the name and PTT ID codes, big-endian words.

#include "radio/FrequencyCodec.h"
#include "radio/NameCode.h"
#include "radio/PttIdCode.h"
#include "radio/RadioImage.h"
#include "radio/ToneList.h"

#include <gtest/gtest.h>

#include <array>
#include <set>

namespace {

using Bytes4 = std::array<std::uint8_t, 4>;

Bytes4 Stored(const std::string& text, const BandLimits* limits)
{
    Bytes4 field{};
    StoreFrequencyText(field, text, limits);
    return field;
}

std::string Snapped(const std::string& text, const BandLimits& limits = {})
{
    return FrequencyFieldText(Stored(text, &limits));
}

} // namespace

TEST(FrequencyCodec, StoresLeastSignificantPairFirstAndReadsBack)
{
    const BandLimits limits;
    EXPECT_EQ(Stored("145.5", &limits), (Bytes4{0x00, 0x00, 0x55, 0x14}));
    EXPECT_EQ(Snapped("145.5"), "145.50000");
    EXPECT_EQ(Snapped("145"), "145.00000");
    // The first group loses its leading zero, the decimals keep theirs.
    EXPECT_EQ(Stored("000.00000", &limits), (Bytes4{0, 0, 0, 0}));
    EXPECT_EQ(Snapped("000.00000"), "00.00000");
    EXPECT_EQ(FrequencyFieldText(Bytes4{0x00, 0x00, 0x50, 0x04}), "45.00000");
}

TEST(FrequencyCodec, EmptyTextStoresTheEmptyField)
{
    const BandLimits limits;
    EXPECT_EQ(Stored("", &limits), (Bytes4{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Stored("", nullptr), (Bytes4{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(FrequencyFieldText(Bytes4{0xFF, 0xFF, 0xFF, 0xFF}), "");
    EXPECT_EQ(FrequencyFieldText(Bytes4{0x00, 0x00, 0x00, 0x9A}), "");
    EXPECT_EQ(FrequencyFieldText(Bytes4{0x99, 0x99, 0x99, 0x99}), "999.99999");
}

TEST(FrequencyCodec, SnapsToTheFineOrCoarseRaster)
{
    EXPECT_EQ(Snapped("145.512"), "145.51250"); // 6.25 kHz point in the same kHz
    EXPECT_EQ(Snapped("145.513"), "145.51500"); // 5 kHz raster, remainder 300 rounds up
    EXPECT_EQ(Snapped("145.501"), "145.50000");
    EXPECT_EQ(Snapped("145.5025"), "145.50000"); // remainder exactly 250 rounds down
    EXPECT_EQ(Snapped("145.506"), "145.50625");
    EXPECT_EQ(Snapped("145.50375"), "145.50500");
    EXPECT_EQ(Snapped("145.123456"), "145.12500"); // read as 145.12345: further decimals are dropped
    EXPECT_EQ(Snapped("145.518"), "145.51875");    // the 6.25 kHz point 750 Hz up is in the same kHz
    EXPECT_EQ(Snapped("999.99999"), "999.99999");  // rounding up past the eight digits saturates
}

TEST(FrequencyCodec, PackingWritesOnlyItsFourBytes)
{
    std::array<std::uint8_t, 6> bytes{0xAA, 0, 0, 0, 0, 0xAA};
    PackFrequency(FrequencyField{bytes.data() + 1, 4}, 14550000);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 6>{0xAA, 0x00, 0x00, 0x55, 0x14, 0xAA}));
}

TEST(FrequencyCodec, OffsetsAreStoredAsTyped)
{
    EXPECT_EQ(Stored("005.00000", nullptr), (Bytes4{0x00, 0x00, 0x50, 0x00}));
    EXPECT_EQ(Stored("000.60001", nullptr), (Bytes4{0x01, 0x00, 0x06, 0x00}));
    EXPECT_EQ(Stored("145.123456", nullptr), (Bytes4{0x45, 0x23, 0x51, 0x14}));
}

TEST(FrequencyCodec, ParsesMegahertzAndFiveDecimals)
{
    EXPECT_EQ(ParseFrequency("145."), 14500000);
    EXPECT_EQ(ParseFrequency(".5"), 50000);
    EXPECT_EQ(ParseFrequency("145.99999999"), 14599999);
    // Garbage and absurd values stay within the eight digits a field can hold.
    EXPECT_EQ(ParseFrequency("abc"), 0);
    EXPECT_EQ(ParseFrequency("99999999999999999999.5"), 99999999);
    EXPECT_EQ(FormatFrequency(14550000), "145.50000");
    EXPECT_EQ(FormatFrequency(4500000), "045.00000");
    EXPECT_EQ(FormatFrequency(14599999), "145.99999");
}

TEST(FrequencyCodec, ReadsTypedTextTable)
{
    const struct
    {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"  145.5", 14550000}, // leading blanks are skipped
        {"\t 145.5", 14550000},
        {"145,5", 14500000}, // only a point starts the decimals
        {"145.5 MHz", 14550000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseFrequency(c.text), c.value) << c.text;
}

TEST(FrequencyCodec, GapRuleAppliesOnlyToTwoBandLimits)
{
    const BandLimits twoBand{13600000, 51999500, 17400000, 40000000};
    EXPECT_EQ(Snapped("300", twoBand), "136.00000");
    EXPECT_EQ(Snapped("174", twoBand), "174.00000"); // the gap edges are not inside it
    EXPECT_EQ(Snapped("400", twoBand), "400.00000");
    const BandLimits uhfWithOldGap{40000000, 51999500, 17400000, 40000000};
    EXPECT_EQ(Snapped("300", uhfWithOldGap), "300.00000");
    const BandLimits noGapYet{13600000, 51999500, 0, 0};
    EXPECT_EQ(Snapped("300", noGapYet), "300.00000");
}

TEST(FrequencyCodec, GapRuleNeedsABandOnEachSideOf200MHz)
{
    const struct
    {
        std::int32_t low, high;
        const char* snapped;
    } cases[] = {
        {19999999, 52000000, "200.00000"}, // the low band starts below 200 MHz: moved to its start, snapped
        {20000000, 52000000, "300.00000"},
        {13600000, 20000000, "136.00000"}, // the high band reaches 200 MHz
        {13600000, 19999999, "300.00000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Snapped("300", BandLimits{c.low, c.high, 17400000, 40000000}), c.snapped)
            << c.low << ' ' << c.high;
}

TEST(FrequencyCodec, CheckBandHasInclusiveLimits)
{
    const BandLimits limits{10000000, 17399500, 0, 0};
    EXPECT_EQ(CheckBand("100.00000", limits), 0);
    EXPECT_EQ(CheckBand("99.99999", limits), -1);
    EXPECT_EQ(CheckBand("173.995", limits), 0);
    EXPECT_EQ(CheckBand("173.99501", limits), 1);
    EXPECT_EQ(CheckBand("", limits), 0);
}

TEST(ToneList, IndexAndStoredCodeMapBothWays)
{
    using ToneList::CodeFromIndex;
    using ToneList::IndexFromCode;
    EXPECT_EQ(IndexFromCode({60, true}), 164);
    EXPECT_EQ(CodeFromIndex(164).byte, 60);
    EXPECT_TRUE(CodeFromIndex(164).inverted);
    EXPECT_EQ(CodeFromIndex(154).byte, 154);
    EXPECT_FALSE(CodeFromIndex(154).inverted);
    EXPECT_EQ(IndexFromCode({50, true}), 50); // CTCSS tones ignore the flag
    EXPECT_EQ(IndexFromCode({155, false}), 155);
    EXPECT_EQ(IndexFromCode({156, false}), 0);
    EXPECT_EQ(IndexFromCode({0xFF, true}), 0);
    for (int i = 0; i < ToneList::kCount; ++i)
        EXPECT_EQ(IndexFromCode(CodeFromIndex(i)), i) << i;
    EXPECT_EQ(CodeFromIndex(-1).byte, 0);
    EXPECT_EQ(CodeFromIndex(259).byte, 0);
}

TEST(ToneList, TextsFollowTheEmbeddedLists)
{
    EXPECT_EQ(ToneList::Text(1), "67.0");
    EXPECT_EQ(ToneList::Text(50), "254.1");
    EXPECT_EQ(ToneList::Text(51), "D023N");
    EXPECT_EQ(ToneList::Text(154), "D754N");
    EXPECT_EQ(ToneList::Text(155), "D023I");
    EXPECT_EQ(ToneList::Text(258), "D754I");
    const std::vector<std::string> texts = ToneList::Texts();
    ASSERT_EQ(texts.size(), 259u);
    EXPECT_EQ(std::set<std::string>(texts.begin() + 1, texts.end()).size(), 258u);
}

TEST(NameCode, EncodesUpToTheFirstCharacterWithoutCode)
{
    EXPECT_EQ(EncodeName("ab-1"), (NameBytes{0x0C, 0x0D, 0x0A, 0x01, 0xFF}));
    EXPECT_EQ(EncodeName("A.B"), (NameBytes{0x0C, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(EncodeName("RPT"), (NameBytes{0x1D, 0x1B, 0x1F, 0xFF, 0xFF}));
    EXPECT_EQ(EncodeName("Z_+* 9X"), (NameBytes{37, 38, 39, 40, 11}));
    EXPECT_EQ(EncodeName(""), (NameBytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(EncodeName("\xC3\xA9t"), (NameBytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF})); // UTF-8 "é"
}

TEST(NameCode, DecodesUpToTheFirstByteWithoutCharacter)
{
    EXPECT_EQ(DecodeName(NameBytes{0x0C, 0x29, 0x0D, 0x0D, 0x0D}), "A");
    EXPECT_EQ(DecodeName(NameBytes{37, 38, 39, 40, 11}), "Z_+* ");
    EXPECT_EQ(DecodeName(NameBytes{0xFF, 0x0C, 0x0C, 0x0C, 0x0C}), "");
    EXPECT_EQ(DecodeName(EncodeName("ch-10")), "CH-10");
}

TEST(PttIdCode, TextAndBytes)
{
    EXPECT_EQ(PttIdCodeFromText("12*4"), (PttIdCodeBytes{0x01, 0x02, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(PttIdCodeFromText("ab"), (PttIdCodeBytes{0x0A, 0x0B, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(PttIdCodeFromText("1234567"), (PttIdCodeBytes{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(PttIdCodeFromText("E1"), (PttIdCodeBytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(PttIdCodeText({0x0A, 0x0B, 0xFF, 0xFF, 0xFF, 0xFF}), "AB");
    EXPECT_EQ(PttIdCodeText({0xFF, 0x01, 0x02, 0x03, 0x04, 0x05}), "");
    EXPECT_EQ(PttIdCodeText({0x0D, 0x00, 0x0E, 0x01, 0x01, 0x01}), "D0");
}

TEST(RadioImage, BigEndianWords)
{
    RadioImage image{};
    WriteWordBE(image, ImageMap::kFmPresets, 3, 431);
    EXPECT_EQ(image[0x9A4], 0x01);
    EXPECT_EQ(image[0x9A5], 0xAF);
    EXPECT_EQ(ReadWordBE(image, ImageMap::kFmPresets, 3), 431);
    EXPECT_EQ(ReadWordBE(image, ImageMap::kFmPresets, 2), 0);
}
