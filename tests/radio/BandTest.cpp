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
    m_doc.ApplyModelEntry(1);
    EXPECT_EQ(Descriptors(), (std::array<std::uint8_t, 8>{0x60, 0x13, 0x40, 0x17, 0x00, 0x40, 0x00, 0x52}));
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
