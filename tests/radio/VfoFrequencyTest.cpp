// The VFO records' frequency rules, without a window: step raster, commit of the two typed
// frequencies, transmit text; and the FM preset texts.
#include "radio/VfoFrequency.h"

#include "radio/FmPreset.h"
#include "radio/VantorDoc.h"
#include "tests/support/RadioTestEnv.h"

#include <algorithm>

using namespace ImageMap;

namespace {

class VfoFrequencyTest : public CRadioTest
{
protected:
    void SetUp() override
    {
        CRadioTest::SetUp();
        ASSERT_TRUE(m_doc.OnNewDocument(false)); // band entry 0: 136 to 174 MHz
    }

    void Commit(int r, const std::string& rx, const std::string& tx)
    {
        CommitVfoFrequencies(m_doc, r, rx, tx);
    }
    std::string Rx(int r = kVfoA) const { return m_doc.FrequencyText(r, FreqField::Rx); }
    std::string Offset(int r = kVfoA) const { return m_doc.FrequencyText(r, FreqField::Offset); }

    CVantorDoc m_doc;
};

TEST(VfoStepRule, FiveKilohertzStepsRoundToTheNearerPointAndHalfWayGoesDown)
{
    for (int step : {0, 2, 4, 5}) {
        EXPECT_EQ(SnapToVfoStep(14500625, step), 14500500) << step;
        EXPECT_EQ(SnapToVfoStep(14500250, step), 14500000) << step;
        EXPECT_EQ(SnapToVfoStep(14500260, step), 14500500) << step;
        EXPECT_EQ(SnapToVfoStep(14500000, step), 14500000) << step;
    }
}

TEST(VfoStepRule, StepsOneAndThreeKeepTheSixPointTwoFiveRaster)
{
    for (int step : {1, 3}) {
        EXPECT_EQ(SnapToVfoStep(14500625, step), 14500625) << step;
        EXPECT_EQ(SnapToVfoStep(14501250, step), 14501250) << step;
        // Off the raster: the upper 5 kHz point past half way, else the raster point below.
        EXPECT_EQ(SnapToVfoStep(14501300, step), 14501500) << step;
        EXPECT_EQ(SnapToVfoStep(14501000, step), 14500625) << step;
    }
}

TEST(VfoStepRule, TextsAreFormattedWithThreeDigitsAndAnEmptyTextIsZero)
{
    EXPECT_EQ(SnapTextToVfoStep("145.0025", 0), "145.00000");
    EXPECT_EQ(SnapTextToVfoStep("45.1", 0), "045.10000");
    EXPECT_EQ(SnapTextToVfoStep("", 0), "000.00000");
}

TEST_F(VfoFrequencyTest, EqualFrequenciesGiveDirectionZeroAndAZeroOffset)
{
    Commit(kVfoA, "145.5", "145.5");
    EXPECT_EQ(Rx(), "145.50000");
    EXPECT_EQ(m_doc.GetShiftDirection(kVfoA), 0);
    EXPECT_EQ(Offset(), "00.00000"); // stored as "000.00000"
    EXPECT_EQ(VfoTransmitText(m_doc, kVfoA), "145.50000");
}

TEST_F(VfoFrequencyTest, TransmitBelowOrAboveSetsDirectionAndOffset)
{
    Commit(kVfoA, "145.5", "145.0");
    EXPECT_EQ(m_doc.GetShiftDirection(kVfoA), 1);
    EXPECT_EQ(Offset(), "00.50000");
    EXPECT_EQ(VfoTransmitText(m_doc, kVfoA), "145.00000");

    Commit(kVfoA, "145.5", "146.1");
    EXPECT_EQ(m_doc.GetShiftDirection(kVfoA), 2);
    EXPECT_EQ(Offset(), "00.60000");
    EXPECT_EQ(VfoTransmitText(m_doc, kVfoA), "146.10000");
}

TEST_F(VfoFrequencyTest, TheRecordsStepDecidesTheRaster)
{
    m_doc.SetStepIndex(kVfoA, 0);
    Commit(kVfoA, "145.00625", "145.00625");
    EXPECT_EQ(Rx(), "145.00500");
    Commit(kVfoA, "145.0025", "145.0026");
    EXPECT_EQ(Rx(), "145.00000");
    EXPECT_EQ(VfoTransmitText(m_doc, kVfoA), "145.00500");

    m_doc.SetStepIndex(kVfoA, 3);
    Commit(kVfoA, "145.00625", "145.00625");
    EXPECT_EQ(Rx(), "145.00625");
    EXPECT_EQ(m_doc.GetShiftDirection(kVfoA), 0);
}

TEST_F(VfoFrequencyTest, OutOfBandEntriesBecomeTheNearerBandEdge)
{
    Commit(kVfoA, "180", "100");
    EXPECT_EQ(Rx(), "173.99500");
    EXPECT_EQ(VfoTransmitText(m_doc, kVfoA), "136.00000");
    // Text without leading digits reads as 0 and so becomes the lower edge.
    Commit(kVfoA, "abc", "");
    EXPECT_EQ(Rx(), "136.00000");
}

TEST_F(VfoFrequencyTest, EmptyEntries)
{
    // An empty transmit entry makes the record receive-only: offset = RX, direction 1.
    Commit(kVfoA, "145.5", "");
    EXPECT_EQ(m_doc.GetShiftDirection(kVfoA), 1);
    EXPECT_EQ(Offset(), "145.50000");
    EXPECT_EQ(VfoTransmitText(m_doc, kVfoA), "");

    // An empty receive entry is stored as 0 Hz.
    Commit(kVfoA, "", "");
    const auto* rec = m_doc.Image().data() + RecordOffset(kVfoA);
    EXPECT_TRUE(std::all_of(rec, rec + 4, [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(Rx(), "00.00000");
}

TEST_F(VfoFrequencyTest, TheSecondVfoLeavesTheFirstAlone)
{
    const RadioImage before = m_doc.Image();
    Commit(kVfoB, "150.125", "155");
    EXPECT_EQ(Rx(kVfoB), "150.12500");
    EXPECT_EQ(m_doc.GetShiftDirection(kVfoB), 2);
    // Nothing outside record 130 changed, record 0 included.
    for (std::size_t i = 0; i < before.size(); ++i) {
        const bool inF2 = i >= RecordOffset(kVfoB) && i < RecordOffset(kVfoB) + kRecordSize;
        ASSERT_TRUE(inF2 || before[i] == m_doc.Image()[i]) << std::hex << i;
    }
}

TEST(VfoShift, BothTextsEmptyGiveNoOffset)
{
    const TransmitShift shift = ShiftForTransmit("", "");
    EXPECT_EQ(shift.direction, 0);
    EXPECT_EQ(shift.offset, "");
}

TEST(FmPresetText, IndexesOnTheHundredKilohertzRaster)
{
    EXPECT_EQ(FmPreset::Text(0), "65M0");
    EXPECT_EQ(FmPreset::Text(225), "87M5");
    EXPECT_EQ(FmPreset::Text(429), "107M9");
    EXPECT_EQ(FmPreset::Text(430), "108M0");
    EXPECT_EQ(FmPreset::Text(431), "OFF");
    EXPECT_EQ(FmPreset::Text(432), "");
    EXPECT_EQ(FmPreset::Text(0xFFFF), "");
}

} // namespace
