// The document's image: defaults of a new document, the bookkeeping before transfer, the field
// accessors with their clamping and bit rules, and the new-document step.

#include "tests/support/RadioTestEnv.h"

#include "i18n/LangText.h"
#include "radio/VantorDoc.h"

#include <algorithm>
#include <vector>

using namespace ImageMap;
using FunctionSettings::Field;

namespace {

class CDocumentTest : public CRadioTest
{
protected:
    void SetUp() override
    {
        CRadioTest::SetUp();
        ASSERT_TRUE(m_doc.OnNewDocument(false));
    }

    std::uint8_t& Byte(std::size_t offset) { return m_doc.Image()[offset]; }

    CVantorDoc m_doc;
};

} // namespace

TEST_F(CDocumentTest, NewDocumentHoldsTheDefaults)
{
    EXPECT_TRUE(m_messages.Asked().empty());
    EXPECT_EQ(m_doc.FrequencyText(kVfoA, FreqField::Rx), "136.00000");
    EXPECT_EQ(m_doc.FrequencyText(1, FreqField::Rx), "136.00000");
    EXPECT_EQ(m_doc.FrequencyText(kVfoB, FreqField::Rx), "136.00000");
    EXPECT_EQ(m_doc.FrequencyText(1, FreqField::Offset), "00.00000");
    for (int n = 2; n <= kLastChannel; ++n)
        ASSERT_TRUE(m_doc.IsRecordEmpty(n)) << n;
    // Every byte of the defaults is checked against tests/data/new_document.pgm by the data file tests.
    EXPECT_EQ(m_doc.GetSetting(Field("SquelchLevel")), 4);
    EXPECT_EQ(m_doc.GetSetting(Field("TxTimeout")), 1);
    EXPECT_EQ(m_doc.GetSetting(Field("BeepOff")), 1);
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_doc.GetPathName(), "");
    EXPECT_EQ(std::string(m_doc.Header().begin(), m_doc.Header().begin() + 30), DataFile::kSignature);
}

TEST(Document, StartsBlank)
{
    const CVantorDoc doc;
    EXPECT_TRUE(std::all_of(doc.Image().begin(), doc.Image().end(), [](auto b) { return b == 0xFF; }));
    EXPECT_EQ(std::string(doc.Header().begin(), doc.Header().begin() + 30), DataFile::kSignature);
}

TEST_F(CDocumentTest, PrepareAfterNewMarksChannelOneInUse)
{
    PrepareImageForTransfer(m_doc.Image());
    EXPECT_EQ(Byte(kFirstChannelInUse), 1);
    EXPECT_EQ(Byte(kFirstChannelInUse2), 1);
    EXPECT_EQ(Byte(kEmptyBitmap), 0xFE);
    for (std::size_t i = 1; i < kEmptyBitmapSize; ++i)
        EXPECT_EQ(Byte(kEmptyBitmap + i), 0xFF);
    EXPECT_EQ(Byte(kFirstFmPreset), 0);
    EXPECT_EQ(std::string(m_doc.Image().begin() + kModelTag, m_doc.Image().begin() + kModelTag + 6),
              "HZQ708");
}

TEST_F(CDocumentTest, PrepareFindsTheFirstChannelInUseAndValidPreset)
{
    m_doc.StoreFrequency(1, FreqField::Rx, "");
    PrepareImageForTransfer(m_doc.Image());
    EXPECT_EQ(Byte(kFirstChannelInUse), 0);
    EXPECT_EQ(Byte(kFirstChannelInUse2), 0);
    EXPECT_TRUE(std::all_of(m_doc.Image().begin() + kEmptyBitmap,
                            m_doc.Image().begin() + kEmptyBitmap + kEmptyBitmapSize,
                            [](auto b) { return b == 0xFF; }));

    m_doc.StoreFrequency(5, FreqField::Rx, "146");
    m_doc.StoreFrequency(128, FreqField::Rx, "147");
    m_doc.WriteWordBE(kFmPresets, 1, kFmPresetEmpty);
    m_doc.WriteWordBE(kFmPresets, 3, 200);
    m_doc.WriteWordBE(kFmFrequency, 1, 0x1234);
    PrepareImageForTransfer(m_doc.Image());
    EXPECT_EQ(Byte(kFirstChannelInUse), 5);
    EXPECT_EQ(Byte(kFirstChannelInUse2), 5);
    EXPECT_EQ(Byte(kEmptyBitmap), 0xEF);
    EXPECT_EQ(Byte(kEmptyBitmap + 15), 0x7F);
    EXPECT_EQ(Byte(kFirstFmPreset), 2);
    EXPECT_EQ(Byte(kFmFrequencyCopy), 0x12);
    EXPECT_EQ(Byte(kFmFrequencyCopy + 1), 0x34);

    // With no valid preset the index keeps its old value.
    for (int k = 1; k <= kFmPresetCount; ++k)
        m_doc.WriteWordBE(kFmPresets, k, kFmPresetEmpty);
    PrepareImageForTransfer(m_doc.Image());
    EXPECT_EQ(Byte(kFirstFmPreset), 2);
}

TEST(PrepareImage, BookkeepingBytesFollowChannelsPresetsAndFmFrequency)
{
    struct Case
    {
        const char* what;
        std::vector<int> inUse;
        std::uint8_t staleBitmap;                 // what the bitmap held before
        std::vector<std::pair<int, int>> presets; // preset k and its word; the others are empty (431)
        int fmFrequency;
        int firstInUse;
        std::vector<std::pair<std::size_t, std::uint8_t>> bitmap; // bytes not 0xFF
        int firstPreset;
    };
    const Case cases[] = {
        {"byte edges, 430 is valid",
         {8, 9, 128},
         0x00,
         {{2, 430}},
         0xFF00,
         8,
         {{0, 0x7F}, {1, 0xFE}, {15, 0x7F}},
         1},
        {"only the last preset", {}, 0x00, {{16, 0}}, 0xFFFF, 0, {}, 15},
        {"stale clear bits of used channels",
         {1, 64, 65},
         0xFF,
         {{1, 432}, {3, 1}},
         0x01AF,
         1,
         {{0, 0xFE}, {7, 0x7F}, {8, 0xFE}},
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RadioImage image;
        BlankImage(image);
        for (int n : c.inUse)
            image[RecordOffset(n) + kRecRxFreq + 3] = 0x01;
        std::fill_n(image.begin() + kEmptyBitmap, kEmptyBitmapSize, c.staleBitmap);
        for (int k = 1; k <= kFmPresetCount; ++k)
            WriteWordBE(image, kFmPresets, k, kFmPresetEmpty);
        for (const auto& [k, word] : c.presets)
            WriteWordBE(image, kFmPresets, k, word);
        WriteWordBE(image, kFmFrequency, 1, c.fmFrequency);

        PrepareImageForTransfer(image);
        EXPECT_EQ(image[kFirstChannelInUse], c.firstInUse);
        EXPECT_EQ(image[kFirstChannelInUse2], c.firstInUse);
        std::array<std::uint8_t, kEmptyBitmapSize> bitmap;
        bitmap.fill(0xFF);
        for (const auto& [i, b] : c.bitmap)
            bitmap[i] = b;
        EXPECT_TRUE(std::equal(bitmap.begin(), bitmap.end(), image.begin() + kEmptyBitmap));
        EXPECT_EQ(image[kFirstFmPreset], c.firstPreset);
        EXPECT_EQ(image[kFmFrequencyCopy], c.fmFrequency >> 8);
        EXPECT_EQ(image[kFmFrequencyCopy + 1], c.fmFrequency & 0xFF);
        const auto tag = image.begin() + kModelTag;
        EXPECT_EQ(std::string(tag, tag + kModelTagSize), "HZQ708");
    }
}

TEST_F(CDocumentTest, RecordFieldsChangeOnlyTheirOwnBits)
{
    using enum ChannelChoice;
    const std::size_t mode = RecordOffset(7) + kRecMode;
    Byte(mode) = 0x03;
    EXPECT_EQ(m_doc.GetShiftDirection(7), 0);
    Byte(mode) = 0xFC;
    m_doc.SetShiftDirection(7, 2);
    EXPECT_EQ(Byte(mode), 0xFE);
    EXPECT_EQ(m_doc.GetShiftDirection(7), 2);
    m_doc.SetShiftDirection(7, 7); // masked: never spills into the inversion bit
    EXPECT_EQ(Byte(mode), 0xFF);

    Byte(mode) = 0x00;
    m_doc.SetChoice(7, Power, 5);
    m_doc.SetChoice(7, Bandwidth, 1);
    m_doc.SetChoice(7, PttId, 1);
    EXPECT_EQ(Byte(mode), 0xA8);
    EXPECT_EQ(m_doc.GetChoice(7, Power) + m_doc.GetChoice(7, Bandwidth) + m_doc.GetChoice(7, PttId), 3);
    EXPECT_EQ(m_doc.GetChoice(7, Bcl) + m_doc.GetChoice(7, ScanAdd) + m_doc.GetChoice(7, Reverse), 0);
    m_doc.SetChoice(7, Power, 0);
    EXPECT_EQ(Byte(mode), 0xA0);

    const std::size_t flags = RecordOffset(7) + kRecFlags;
    Byte(flags) = 0xC7;
    m_doc.SetChoice(7, Compander, 1);
    EXPECT_EQ(Byte(flags), 0xCF);

    for (std::uint8_t above : {0x06, 0x83}) { // the whole byte counts, not its low bits
        Byte(RecordOffset(7) + kRecStep) = above;
        EXPECT_EQ(m_doc.GetStepIndex(7), 0) << int{above};
    }
    m_doc.SetStepIndex(7, 5);
    EXPECT_EQ(m_doc.GetStepIndex(7), 5);
}

TEST_F(CDocumentTest, TonesUseTheFlagsOfTheirDirection)
{
    Byte(RecordOffset(3) + kRecRxTone) = 60;
    m_doc.SetRxInverted(3, 1);
    EXPECT_EQ(m_doc.ToneIndex(3, ToneDir::Rx), 164);
    m_doc.StoreToneIndex(3, ToneDir::Tx, 164);
    EXPECT_EQ(Byte(RecordOffset(3) + kRecTxTone), 60);
    EXPECT_EQ(Byte(RecordOffset(3) + kRecFlags), 0x30);
    m_doc.StoreToneIndex(3, ToneDir::Rx, 154);
    EXPECT_EQ(Byte(RecordOffset(3) + kRecRxTone), 154);
    EXPECT_EQ(Byte(RecordOffset(3) + kRecFlags), 0x20);
    EXPECT_EQ(m_doc.ToneIndex(3, ToneDir::Tx), 164);
}

TEST_F(CDocumentTest, TransmitSideAndOffsetState)
{
    EXPECT_FALSE(m_doc.HasNoTransmit(1));
    m_doc.StoreFrequency(1, FreqField::Offset, "136.00000");
    EXPECT_TRUE(m_doc.HasNoTransmit(1));
    EXPECT_TRUE(m_doc.HasNoTransmit(2)); // empty channel
    EXPECT_TRUE(m_doc.IsOffsetEmpty(2));
    EXPECT_FALSE(m_doc.IsOffsetEmpty(1));

    // Record bytes 0-3 (receive) and 4-7 (offset), little-endian BCD; byte 3 above 0x99 is empty.
    struct Case
    {
        const char* what;
        std::array<std::uint8_t, 8> bytes;
        bool noTransmit;
        bool offsetEmpty;
    };
    const Case cases[] = {
        {"offset equal to receive", {0x50, 0x25, 0x65, 0x14, 0x50, 0x25, 0x65, 0x14}, true, false},
        {"offset differs in its top byte only",
         {0x00, 0x25, 0x65, 0x14, 0x00, 0x25, 0x65, 0x04},
         false,
         false},
        {"offset blank in its top byte only", {0x00, 0x25, 0x65, 0x14, 0x00, 0x00, 0x00, 0xFF}, false, true},
        {"offset blank below its top byte", {0x00, 0x25, 0x65, 0x14, 0xFF, 0xFF, 0xFF, 0x00}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::copy(c.bytes.begin(), c.bytes.end(), m_doc.Image().begin() + RecordOffset(3));
        EXPECT_EQ(m_doc.HasNoTransmit(3), c.noTransmit);
        EXPECT_EQ(m_doc.IsOffsetEmpty(3), c.offsetEmpty);
    }
}

TEST_F(CDocumentTest, NamesLiveInTheirOwnRegion)
{
    m_doc.SetName(1, m_doc.EncodeName("abc"));
    m_doc.SetName(128, m_doc.EncodeName("LAST1"));
    EXPECT_EQ(Byte(0xA00), 0x0C);
    EXPECT_EQ(Byte(0xA03), 0xFF);
    EXPECT_EQ(Byte(0xC7B), 0x17); // "L"
    EXPECT_EQ(m_doc.DecodeName(m_doc.GetName(1)), "ABC");
    EXPECT_EQ(m_doc.DecodeName(m_doc.GetName(128)), "LAST1");
}

TEST_F(CDocumentTest, SettingsClampOutOfRangeBytes)
{
    std::fill_n(m_doc.Image().begin() + kSettings, kSettingsSize, std::uint8_t{0xFF});
    EXPECT_EQ(m_doc.GetSetting(Field("SquelchLevel")), 0);
    EXPECT_EQ(m_doc.GetSetting(Field("ScanType")), 2);
    EXPECT_EQ(m_doc.GetSetting(Field("TxTimeout")), 0);
    EXPECT_EQ(m_doc.GetSetting(Field("VoxLevel")), 0);
    EXPECT_EQ(m_doc.GetSetting(Field("PttId")), 3);
    EXPECT_EQ(m_doc.GetSetting(Field("TxDtr")), 3);
    EXPECT_EQ(m_doc.GetSetting(Field("ChannelShowedF1")), 2);
    EXPECT_EQ(m_doc.GetSetting(Field("ChannelShowedF2")), 2);
    EXPECT_EQ(m_doc.GetSetting(Field("AniTx")), 1);
    EXPECT_EQ(m_doc.GetSetting(Field("BeepOff")), 1);
    EXPECT_EQ(m_doc.GetSetting(Field("SideTone")), 1);
    Byte(kSettings + 5) = 0x80;
    EXPECT_EQ(m_doc.GetSetting(Field("SideTone")), 1);
    m_doc.SetSetting(Field("SideTone"), 0);
    m_doc.SetSetting(Field("SideTone"), 1);
    EXPECT_EQ(Byte(kSettings + 5), 0x01);
}

TEST_F(CDocumentTest, SettingsChangeOnlyTheirOwnBits)
{
    Byte(kSettings + 4) = 0x0F;
    m_doc.SetSetting(Field("ChannelShowedF1"), 2);
    EXPECT_EQ(Byte(kSettings + 4), 0x2F);
    m_doc.SetSetting(Field("ChannelShowedF2"), 2);
    EXPECT_EQ(Byte(kSettings + 4), 0xAF);
    m_doc.SetSetting(Field("TxDtr"), 0);
    EXPECT_EQ(Byte(kSettings + 4), 0xAC);

    Byte(kSettings + 1) = 0x00;
    m_doc.SetSetting(Field("BeepOff"), 0);
    EXPECT_EQ(Byte(kSettings + 1), 0x00);
    m_doc.SetSetting(Field("BeepOff"), 1);
    EXPECT_EQ(Byte(kSettings + 1), 0x10);
    m_doc.SetSetting(Field("ScanType"), 3);
    m_doc.SetSetting(Field("FreqMode"), 2);
    EXPECT_EQ(Byte(kSettings + 1), 0x93);
    EXPECT_EQ(m_doc.GetSetting(Field("ScanType")), 2);

    Byte(kSettings + 2) = 0xFC;
    m_doc.SetSetting(Field("PttId"), 1);
    m_doc.SetSetting(Field("LockMode"), 0);
    EXPECT_EQ(Byte(kSettings + 2), 0x7D);

    m_doc.SetPttIdCode(PttIdCodeFromText("a1"));
    EXPECT_EQ(Byte(kPttIdCode), 0x0A);
    EXPECT_EQ(PttIdCodeText(m_doc.GetPttIdCode()), "A1");
}

TEST_F(CDocumentTest, CancelOnTheClearQuestionLeavesTheDocumentAsItWas)
{
    m_doc.StoreFrequency(2, FreqField::Rx, "150");
    m_doc.SetSetting(Field("SquelchLevel"), 9);
    m_doc.SetPathName("/some/file.pgm");
    m_doc.SetModifiedFlag();
    int updates = 0;
    m_doc.SetUpdateAllViewsHandler([&] { ++updates; });
    const RadioImage before = m_doc.Image();

    m_messages.Queue(MsgResult::Cancel);
    EXPECT_FALSE(m_doc.OnNewDocument(true));
    ASSERT_EQ(m_messages.Asked().size(), 1u);
    EXPECT_EQ(m_messages.Asked()[0].text, LoadLangString("IDS_WARN_CLEAR"));
    EXPECT_EQ(m_messages.Asked()[0].caption, LoadLangString("IDS_PROMPT"));
    EXPECT_EQ(m_messages.Asked()[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(m_messages.Asked()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(m_doc.Image(), before);
    EXPECT_EQ(m_doc.GetPathName(), "/some/file.pgm");
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(updates, 0);

    m_messages.Queue(MsgResult::Ok);
    EXPECT_TRUE(m_doc.OnNewDocument(true));
    EXPECT_TRUE(m_doc.IsRecordEmpty(2));
    EXPECT_EQ(m_doc.GetSetting(Field("SquelchLevel")), 4);
    EXPECT_EQ(m_doc.GetPathName(), "");
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(updates, 1);
}
