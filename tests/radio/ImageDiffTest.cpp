// Comparing two radio images: hand-made changes in the pages' words, raw bytes where nothing reads
// them, and no byte that differs without a line.

#include "radio/ImageDiff.h"

#include "radio/ChannelEditor.h"
#include "radio/VantorDoc.h"
#include "tests/support/RadioTestEnv.h"

#include <functional>

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

TEST_F(ImageDiffTest, EachPartOfTheFileInItsOwnWords)
{
    const std::string kArrow = CImageDiff::kArrow;
    using Poke = std::function<void(CVantorDoc & a, CVantorDoc & b)>;
    // Sets image byte `at` to `from` in a and `to` in b.
    const auto bytes = [](std::size_t at, std::vector<std::uint8_t> from, std::vector<std::uint8_t> to) {
        return [=](CVantorDoc& a, CVantorDoc& b) {
            std::copy(from.begin(), from.end(), a.Image().begin() + static_cast<std::ptrdiff_t>(at));
            std::copy(to.begin(), to.end(), b.Image().begin() + static_cast<std::ptrdiff_t>(at));
        };
    };
    struct Case
    {
        const char* what;
        Poke poke;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"data file header",
         [this](CVantorDoc&, CVantorDoc& b) {
             std::string file = ReadFileBytes(ZQ708_SOURCE_DIR "/tests/data/full_radio.pgm");
             for (std::size_t i = 24; i < 48; ++i)
                 file[i] = i == 26 ? file[i] : '\xAA';
             FileError error;
             b.LoadFile(m_dir.Write("header.pgm", file), error);
         },
         {"data file header at 0x018: 20 76" + kArrow + "AA AA",
          "data file header at 0x01B: 2E 30 36 00 00 00 00 00 00 00 00 00 00 00 00 00" + kArrow +
              "AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA",
          "data file header at 0x02B: 00 00 00 00 00" + kArrow + "AA AA AA AA AA"}},
        {"VFOs",
         [](CVantorDoc&, CVantorDoc& b) {
             b.StoreFrequency(kVfoA, FreqField::Rx, "146.5");
             b.SetStepIndex(kVfoB, 5);
         },
         {"VFO A receive 145.50000" + kArrow + "146.50000", "VFO A transmit 146.10000" + kArrow + "147.10000",
          "VFO B step index 3" + kArrow + "5"}},
        {"VFO A spare bytes",
         bytes(RecordOffset(kVfoA) + 8, {0x80, 0, 0, 0, 0, 0x11, 0x22, 0x33, 0x44},
               {0x81, 0, 0, 0, 0, 0x55, 0x66, 0x77, 0x44}),
         {"VFO A bits not interpreted (byte +8 masked C7, bytes +13..+15) 80 11 22 33" + kArrow +
          "81 55 66 77"}},
        {"tones, transmit and step of a channel and a VFO",
         [](CVantorDoc&, CVantorDoc& b) {
             b.StoreToneIndex(12, ToneDir::Rx, 5);
             b.StoreToneIndex(12, ToneDir::Tx, 60);
             CChannelEditor(b).StoreTx(12, "150.0");
             b.SetStepIndex(12, 4);
             b.StoreToneIndex(kVfoB, ToneDir::Tx, 3);
         },
         {"channel 12 transmit 152.48750" + kArrow + "150.00000",
          "channel 12 RX tone D266I" + kArrow + "77.0", "channel 12 TX tone off" + kArrow + "D053N",
          "channel 12 step index 0" + kArrow + "4", "VFO B TX tone D271N" + kArrow + "71.9"}},
        {"FM presets and frequency",
         [&](CVantorDoc& a, CVantorDoc& b) {
             bytes(kFmPresets, {0x00, 0x00, 0x00, 0x23}, {0x00, 0x01, 0x01, 0x23})(a, b);
             bytes(kFmPresets + 30, {0x01, 0xAF, 0xFF}, {0x01, 0xAE, 0x00})(a, b);
             bytes(kFmFrequency, {0x00, 0xD2}, {0xFF, 0xFF})(a, b);
             // The copy in front of it differs from it, so that reading the copy would show.
             bytes(kFmFrequencyCopy, {0x00, 0xD3}, {0x00, 0xD3})(a, b);
         },
         {"FM preset 1 65M0" + kArrow + "65M1", "FM preset 2 68M5" + kArrow + "94M1",
          "FM preset 16 OFF" + kArrow + "108M0", "FM frequency in use 86M0" + kArrow + "invalid value 65535",
          "not interpreted at 0x9C0: FF" + kArrow + "00"}},
        {"the last channel",
         [](CVantorDoc& a, CVantorDoc& b) { b.SetName(kLastChannel, a.EncodeName("LAST")); },
         {"channel 128 (not in use) name bytes at 0xC7B: FF FF FF FF FF" + kArrow + "17 0C 1E 1F FF"}},
        {"settings",
         bytes(kSettings, {0x00, 0x69}, {0x03, 0x6C}),
         {"squelch level 0" + kArrow + "3", "scan resume carrier" + kArrow + "time",
          "dual watch off" + kArrow + "on"}},
        {"bit 2 of 0xD04 on",
         bytes(kSettings + 4, {0x0A}, {0x0E}),
         {"bit not interpreted at 0xD04 bit 2 off" + kArrow + "on"}},
        {"bit 2 of 0xD04 off",
         bytes(kSettings + 4, {0x0E}, {0x0A}),
         {"bit not interpreted at 0xD04 bit 2 on" + kArrow + "off"}},
        {"PTT ID code after its end",
         bytes(kPttIdCode + 5, {0xFF}, {0x00}),
         {"PTT ID code bytes at 0xD20: 01 02 0A 0D FF FF" + kArrow + "01 02 0A 0D FF 00"}},
        {"bookkeeping",
         [&](CVantorDoc& a, CVantorDoc& b) {
             bytes(kFirstFmPreset, {0x00, 0x01, 0x00, 0xD2, 0x00, 0xD2, 0x01},
                   {0x01, 0x01, 0x00, 0xD3, 0x00, 0xD2, 0x02})(a, b);
             bytes(kEmptyBitmap + 15, {0xFF}, {0x7F})(a, b);
             bytes(kModelTag + 5, {0x38}, {0x39})(a, b);
         },
         {"first valid FM preset (recomputed) bytes at 0xD07: 00" + kArrow + "01",
          "copy of the FM frequency (recomputed) bytes at 0xD09: 00 D2" + kArrow + "00 D3",
          "first channel in use, copy (recomputed) bytes at 0xD0D: 01" + kArrow + "02",
          "empty-channel bitmap (recomputed) bytes at 0xD30: 00 00 01 00 02 00 04 00 08 00 10 00 F0 FF FF "
          "FF" +
              kArrow + "00 00 01 00 02 00 04 00 08 00 10 00 F0 FF FF 7F",
          "model tag bytes at 0xD40: 48 5A 51 37 30 38" + kArrow + "48 5A 51 37 30 39"}},
        {"bands",
         [&](CVantorDoc& a, CVantorDoc& b) {
             bytes(kBandDescriptor1, {0x60}, {0x70})(a, b);
             bytes(kBandDescriptor2 + 3, {0x52}, {0x48})(a, b);
             b.LoadBandLimits();
         },
         {"band descriptor 1 bytes at 0xF00: 60 13 40 17" + kArrow + "70 13 40 17",
          "band descriptor 2 bytes at 0xF04: 00 40 00 52" + kArrow + "00 40 00 48",
          "band 136.00000 to 519.99500 MHz" + kArrow + "136.00000 to 173.99500 MHz"}},
        {"calibration",
         bytes(kCalibration + 11, {0xA6, 0x03, 0xFF, 0xFF, 0xFF}, {0xA6, 0x04, 0x00, 0x00, 0x00}),
         {"selected test item 3" + kArrow + "4", "not interpreted at 0xFFD: FF FF FF" + kArrow + "00 00 00"}},
        {"long run",
         bytes(0x850, std::vector<std::uint8_t>(20, 0xFF), std::vector<std::uint8_t>(20, 0x00)),
         {"not interpreted at 0x850: FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF" + kArrow +
              "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
          "not interpreted at 0x860: FF FF FF FF" + kArrow + "00 00 00 00"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CVantorDoc a;
        CVantorDoc b;
        FileError error;
        ASSERT_EQ(a.LoadFile(ZQ708_SOURCE_DIR "/tests/data/full_radio.pgm", error),
                  DataFile::LoadStatus::Loaded);
        ASSERT_EQ(b.LoadFile(ZQ708_SOURCE_DIR "/tests/data/full_radio.pgm", error),
                  DataFile::LoadStatus::Loaded);
        c.poke(a, b);
        EXPECT_EQ(CImageDiff::Compare(a, b), c.lines);
    }
}
