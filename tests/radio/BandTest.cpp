// Band variants from setting.ini: matching entry, limits, writing an entry into the image.

#include "tests/support/RadioTestEnv.h"

#include "radio/ModelInfo.h"
#include "radio/VantorDoc.h"

#include <algorithm>

using namespace ImageMap;

namespace {

class CBandTest : public CRadioTest
{
protected:
    void SetDescriptors(std::array<std::uint8_t, 8> bytes)
    {
        std::copy(bytes.begin(), bytes.end(), m_doc.Image().begin() + kBandDescriptor1);
    }
    std::array<std::uint8_t, 8> Descriptors() const
    {
        std::array<std::uint8_t, 8> bytes;
        std::copy_n(m_doc.Image().begin() + kBandDescriptor1, 8, bytes.begin());
        return bytes;
    }

    CVantorDoc m_doc;
};

} // namespace

TEST_F(CBandTest, OneBandEntryMatchingSlotOne)
{
    SetDescriptors({0x60, 0x13, 0x40, 0x17, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(m_doc.FindModelEntry(), 0);
    m_doc.LoadBandLimits();
    EXPECT_EQ(m_doc.GetBandLimits().low, 13600000);
    EXPECT_EQ(m_doc.GetBandLimits().high, 17399500);
    EXPECT_EQ(m_doc.BandEdgeText(0), "136.00000");
    EXPECT_EQ(m_doc.BandEdgeText(1), "173.99500");
    EXPECT_EQ(m_doc.CheckBand("174"), 1);
}

TEST_F(CBandTest, ApplyingAnUpperBandEntryWritesSlotTwoOnly)
{
    WriteModels("data0=60134017\ndata1=00400052\n");
    SetDescriptors({0x60, 0x13, 0x40, 0x17, 0xFF, 0xFF, 0xFF, 0xFF});
    for (int n : {kFirstChannel, kLastChannel})
        m_doc.SetName(n, CVantorDoc::EncodeName("OLD"));
    m_doc.SetPttIdCode(PttIdCodeFromText("123"));
    m_doc.ApplyModelEntry(1);
    EXPECT_EQ(Descriptors(), (std::array<std::uint8_t, 8>{0x60, 0x13, 0x40, 0x17, 0x00, 0x40, 0x00, 0x52}));
    // Names and the PTT ID code are back to empty whatever the image held.
    for (int n : {kFirstChannel, kLastChannel})
        EXPECT_EQ(CVantorDoc::DecodeName(m_doc.GetName(n)), "") << n;
    EXPECT_EQ(PttIdCodeText(m_doc.GetPttIdCode()), "");
    EXPECT_EQ(m_doc.GetBandLimits().low, 40000000);
    EXPECT_EQ(m_doc.GetBandLimits().high, 51999500);
    // The defaults follow the new low limit.
    EXPECT_EQ(m_doc.FrequencyText(1, FreqField::Rx), "400.00000");
    EXPECT_EQ(m_doc.FrequencyText(kVfoB, FreqField::Rx), "400.00000");
    // The image now matches entries 0 and 1; the later one wins.
    EXPECT_EQ(m_doc.FindModelEntry(), 1);
}

TEST_F(CBandTest, TwoBandEntrySetsTheGap)
{
    m_doc.ApplyModelEntry(2);
    EXPECT_EQ(Descriptors(), (std::array<std::uint8_t, 8>{0x60, 0x13, 0x40, 0x17, 0x00, 0x40, 0x00, 0x52}));
    EXPECT_EQ(m_doc.FindModelEntry(), 2);
    const BandLimits& limits = m_doc.GetBandLimits();
    EXPECT_EQ(limits.low, 13600000);
    EXPECT_EQ(limits.high, 51999500);
    EXPECT_EQ(limits.gapStart, 17400000);
    EXPECT_EQ(limits.gapEnd, 40000000);
    m_doc.StoreFrequency(5, FreqField::Rx, "300.00000");
    EXPECT_EQ(m_doc.FrequencyText(5, FreqField::Rx), "136.00000");
    m_doc.StoreFrequency(5, FreqField::Offset, "300.00000"); // offsets are never moved
    EXPECT_EQ(m_doc.FrequencyText(5, FreqField::Offset), "300.00000");
}

TEST_F(CBandTest, WithoutEntriesTheWholeRangeIsAccepted)
{
    WriteModels("");
    SetDescriptors({0x60, 0x13, 0x40, 0x17, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(m_doc.FindModelEntry(), 0);
    m_doc.LoadBandLimits();
    EXPECT_EQ(m_doc.GetBandLimits().low, 10000000);
    EXPECT_EQ(m_doc.GetBandLimits().high, 52000000);
    m_doc.ApplyModelEntry(0);
    EXPECT_EQ(Descriptors()[0], 0x60); // nothing to write
    EXPECT_EQ(m_doc.FrequencyText(1, FreqField::Rx), "100.00000");
}

TEST_F(CBandTest, SettingsAreReadAfreshAndListsStopAtTheFirstGap)
{
    SetDescriptors({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x40, 0x00, 0x48});
    WriteModels("data0=60134017\ndata2=00400048\n");
    EXPECT_EQ(m_doc.FindModelEntry(), 0); // data2 is never reached
    WriteModels("data0=60134017\ndata1=00400048\n");
    EXPECT_EQ(m_doc.FindModelEntry(), 1);
    m_doc.LoadBandLimits();
    EXPECT_EQ(m_doc.GetBandLimits().high, 47999500);

    WriteModels("Freq0=VHF\nFreq1=\nFreq2=UHF\nFreq4=lost\n");
    EXPECT_EQ(ModelInfo::EntryNames(), (std::vector<std::string>{"VHF", "", "UHF"}));
}

TEST_F(CBandTest, DescriptorTextForms)
{
    // Lower-case hex digits count like upper-case ones.
    EXPECT_EQ(ParseModelEntry("6013401a")->bytes[3], 0x1A);
    EXPECT_EQ(ParseModelEntry("6013401A")->bytes[3], 0x1A);
    // Characters after the eighth that are not a non-zero number keep the one-band form.
    EXPECT_FALSE(ParseModelEntry("60134017")->twoBand);
    EXPECT_FALSE(ParseModelEntry("6013401700000000")->twoBand);
    EXPECT_TRUE(ParseModelEntry("6013401700400052")->twoBand);
    // Texts that are no descriptor are ignored instead of giving nonsense limits.
    EXPECT_FALSE(ParseModelEntry("136-174"));
    EXPECT_FALSE(ParseModelEntry("6013401"));
    EXPECT_FALSE(ParseModelEntry("60134017004"));
    EXPECT_FALSE(ParseModelEntry("60G34017"));
}

TEST_F(CBandTest, DescriptorTextTable)
{
    // The form is decided by characters 9 to 16 alone: after blanks and one sign, a decimal number
    // that is not zero means two bands (which then need 16 hex digits).
    enum class Form
    {
        None,
        OneBand,
        TwoBands
    };
    struct Case
    {
        const char* text;
        Form form;
    };
    const Case cases[] = {
        {"9f8F7a6A", Form::OneBand},
        {"6013401g", Form::None},
        {"6013401z", Form::None},
        {"601340171", Form::None},
        {"6013401710000000", Form::TwoBands},
        {"6013401700000001", Form::TwoBands},
        {"60134017000000001", Form::OneBand},
        {"60134017 1", Form::None},
        {"60134017 0", Form::OneBand},
        {"60134017+1", Form::None},
        {"60134017-1", Form::None},
        {"60134017x1", Form::OneBand},
        {"60134017 +0000001", Form::OneBand},
        {"60134017   00052", Form::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<ModelEntry> entry = ParseModelEntry(c.text);
        ASSERT_EQ(entry.has_value(), c.form != Form::None);
        if (entry) {
            EXPECT_EQ(entry->twoBand, c.form == Form::TwoBands);
        }
    }
    // Every hex digit at its place, upper- and lower-case.
    EXPECT_EQ(ParseModelEntry("9f8F7a6A")->bytes, (std::array<std::uint8_t, 8>{0x9F, 0x8F, 0x7A, 0x6A}));
}

TEST_F(CBandTest, EntriesTouchExactlyTheirSlots)
{
    // Slot 2 holds a band whose upper edge is 200 MHz or more; a two-band entry covers both slots.
    struct Case
    {
        const char* text;
        std::size_t at;
        std::size_t size;
    };
    const Case cases[] = {
        {"60139019", kBandDescriptor1, 4}, // 136-199 MHz
        {"60130020", kBandDescriptor2, 4}, // 136-200 MHz
        {"00400052", kBandDescriptor2, 4},
        {"6013401700400052", kBandDescriptor1, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ModelEntry entry = *ParseModelEntry(c.text);
        RadioImage image;
        image.fill(0xA5);
        entry.WriteTo(image);
        for (std::size_t i = kBandDescriptor1 - 4; i < kBandDescriptor1 + 12; ++i) {
            const bool inside = i >= c.at && i < c.at + c.size;
            EXPECT_EQ(image[i], inside ? entry.bytes[i - c.at] : 0xA5) << "offset " << i;
        }
        EXPECT_TRUE(entry.Matches(image));
        // Each byte of the slot counts for the match, the bytes around it do not.
        for (std::size_t i = c.at - 1; i <= c.at + c.size; ++i) {
            image[i] ^= 0x11;
            EXPECT_EQ(entry.Matches(image), i < c.at || i == c.at + c.size) << "offset " << i;
            image[i] ^= 0x11;
        }
    }
}

TEST_F(CBandTest, ListsEndAtTheirLastKey)
{
    // data0 to data15 and Freq0 to Freq9 are read, no more; a name is cut to 29 bytes.
    std::string models;
    for (int i = 0; i <= 16; ++i)
        models += "data" + std::to_string(i) + "=" + (i < 16 ? "60134017" : "00400052") + "\n";
    for (int i = 0; i <= 10; ++i)
        models += "Freq" + std::to_string(i) + "=" + std::string(40, static_cast<char>('a' + i)) + "\n";
    WriteModels(models);
    SetDescriptors({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x40, 0x00, 0x52});
    EXPECT_EQ(m_doc.FindModelEntry(), 0);
    const std::vector<std::string> names = ModelInfo::EntryNames();
    ASSERT_EQ(names.size(), 10u);
    EXPECT_EQ(names[9], std::string(29, 'j'));
}

TEST_F(CBandTest, GarbageEntriesDoNotBreakTheBands)
{
    WriteModels("data0=rubbish\ndata1=\x01\x02\xff\xfe binary\ndata2=00400052\n");
    SetDescriptors({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x40, 0x00, 0x52});
    EXPECT_EQ(m_doc.FindModelEntry(), 2);
    SetDescriptors({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(m_doc.FindModelEntry(), 0);
    m_doc.LoadBandLimits(); // entry 0 is unusable: the whole range
    EXPECT_EQ(m_doc.GetBandLimits().low, 10000000);
    EXPECT_EQ(m_doc.GetBandLimits().high, 52000000);
}

TEST_F(CBandTest, OnlyATwoBandEntryLeavesAGap)
{
    // After a two-band image, each later image whose limits come from elsewhere has no gap:
    // 300.00000 is stored as typed on the 100 to 520 MHz range, not moved to the lower edge.
    struct Case
    {
        const char* what;
        const char* models;
        std::array<std::uint8_t, 8> descriptors;
        std::int32_t low;
        std::int32_t high;
    };
    const Case cases[] = {
        {"one-band entry",
         "data0=60134017\ndata1=00100052\n",
         {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x10, 0x00, 0x52},
         10000000,
         51999500},
        {"no entry", "", {0x60, 0x13, 0x40, 0x17, 0x00, 0x40, 0x00, 0x52}, 10000000, 52000000},
        {"unreadable entry",
         "data0=rubbish\n",
         {0x60, 0x13, 0x40, 0x17, 0x00, 0x40, 0x00, 0x52},
         10000000,
         52000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteModels(kStandardModels);
        m_doc.ApplyModelEntry(2);
        ASSERT_EQ(m_doc.GetBandLimits().gapEnd, 40000000);

        WriteModels(c.models);
        SetDescriptors(c.descriptors);
        m_doc.LoadBandLimits();
        const BandLimits& limits = m_doc.GetBandLimits();
        EXPECT_EQ(limits.low, c.low);
        EXPECT_EQ(limits.high, c.high);
        EXPECT_EQ(limits.gapStart, 0);
        EXPECT_EQ(limits.gapEnd, 0);
        m_doc.StoreFrequency(5, FreqField::Rx, "300.00000");
        EXPECT_EQ(m_doc.FrequencyText(5, FreqField::Rx), "300.00000");
    }
}
