// Comparing two radio images: hand-made changes in the pages' words, raw bytes where nothing reads
// them, and no byte that differs without a line.

#include "radio/ImageDiff.h"

#include "radio/ChannelEditor.h"
#include "radio/VantorDoc.h"
#include "tests/support/RadioTestEnv.h"

using namespace ImageMap;
using FunctionSettings::Field;

namespace {

class ImageDiffTest : public CRadioTest
{
protected:
    void SetUp() override
    {
        CRadioTest::SetUp();
        FileError error;
        ASSERT_EQ(m_a.LoadFile(ZQ708_SOURCE_DIR "/tests/data/full_radio.pgm", error),
                  DataFile::LoadStatus::Loaded);
        ASSERT_EQ(m_b.LoadFile(ZQ708_SOURCE_DIR "/tests/data/full_radio.pgm", error),
                  DataFile::LoadStatus::Loaded);
    }

    std::vector<std::string> Diff() { return CImageDiff::Compare(m_a, m_b); }

    static std::string Arrow(const std::string& from, const std::string& to)
    {
        return from + CImageDiff::kArrow + to;
    }

    CVantorDoc m_a;
    CVantorDoc m_b;
};

} // namespace

TEST_F(ImageDiffTest, EqualFilesHaveNoLines)
{
    EXPECT_TRUE(Diff().empty());
}

TEST_F(ImageDiffTest, HandMadeChangesReadInThePagesWords)
{
    CChannelEditor editor(m_b);
    ASSERT_EQ(editor.RxText(12), "153.08750");
    editor.StoreRx(12, "153.1"); // the transmit frequency stays
    editor.StoreName(12, "ab");
    editor.StoreChoice(12, ChannelChoice::Power, 0);
    editor.StoreRx(17, "145.5"); // was empty
    editor.StoreRx(19, "");      // deleted
    m_b.SetSetting(Field("SquelchLevel"), 6);
    m_b.SetSetting(Field("ScanType"), 2);
    m_b.WriteWordBE(kFmPresets, 3, 225);
    m_b.SetPttIdCode(PttIdCodeFromText("123"));
    m_b.Image()[0x850] = 0x12;
    m_b.Image()[0x851] = 0x34;
    m_b.Image()[kFirstChannelInUse] = 5;
    m_b.SetCalibration(2, 0x80);

    const std::vector<std::string> expected = {
        "channel 12 receive " + Arrow("153.08750", "153.10000"),
        "channel 12 power " + Arrow("high", "low"),
        "channel 12 name " + Arrow("\"\"", "\"AB\""),
        "channel 17 added: RX 145.50000, TX 145.50000, tones off/off",
        "channel 19 deleted (was RX 159.16250, TX 159.16250, tones off/off, name \"SAR\")",
        "FM preset 3 " + Arrow(m_a.ReadWordBE(kFmPresets, 3) == 431 ? "OFF" : "?", "87M5"),
        "squelch level " + Arrow(std::to_string(m_a.GetSetting(Field("SquelchLevel"))), "6"),
        "scan resume " + Arrow(m_a.GetSetting(Field("ScanType")) == 0 ? "time" : "carrier", "search"),
        "PTT ID code " + Arrow("\"" + PttIdCodeText(m_a.GetPttIdCode()) + "\"", "\"123\""),
        "first channel in use (recomputed) bytes at 0xD08: " + Arrow("01", "05"),
        "calibration value 3 " + Arrow(std::to_string(m_a.GetCalibration(2)), "128"),
        "not interpreted at 0x850: " + Arrow("FF FF", "12 34"),
    };
    const std::vector<std::string> lines = Diff();
    // Only the lines whose old values the golden file fixes are compared whole.
    ASSERT_EQ(lines.size(), expected.size()) << ::testing::PrintToString(lines);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (expected[i].find('?') == std::string::npos) {
            EXPECT_EQ(lines[i], expected[i]);
        }
    }
}

TEST_F(ImageDiffTest, BitsThatReadTheSameStillShowAsBytes)
{
    // Shift direction 3 reads as 0; a tone byte above 155 reads as off.
    m_b.Image()[RecordOffset(11) + kRecMode] |= 0x03;
    m_a.Image()[RecordOffset(11) + kRecMode] &= 0xFC;
    m_b.Image()[RecordOffset(15) + kRecRxTone] = 0xC8;
    m_a.Image()[RecordOffset(15) + kRecRxTone] = 0x00;
    m_b.Image()[RecordOffset(16) + 14] = 0x5A;
    m_b.Image()[kSettings + 4] ^= 0x04;
    const std::vector<std::string> lines = Diff();
    ASSERT_EQ(lines.size(), 4u) << ::testing::PrintToString(lines);
    EXPECT_TRUE(lines[0].starts_with("channel 11 record bytes at 0x0B0: ")) << lines[0];
    EXPECT_TRUE(lines[1].starts_with("channel 15 record bytes at 0x0F0: ")) << lines[1];
    EXPECT_TRUE(lines[2].starts_with("channel 16 bits not interpreted")) << lines[2];
    EXPECT_TRUE(lines[3].starts_with("bit not interpreted at 0xD04 bit 2 ")) << lines[3];
}

TEST_F(ImageDiffTest, EveryByteThatDiffersGivesALine)
{
    for (std::size_t i = 0; i < kImageSize; ++i) {
        const std::uint8_t saved = m_b.Image()[i];
        m_b.Image()[i] = static_cast<std::uint8_t>(saved ^ 0x81);
        EXPECT_FALSE(Diff().empty()) << "offset " << i;
        m_b.Image()[i] = saved;
    }
}
