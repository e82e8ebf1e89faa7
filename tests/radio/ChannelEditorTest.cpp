// The channel table's store rules, without a window: what lands in the record bytes and the name,
// and whether each store reports a change.
#include "radio/ChannelEditor.h"

#include "tests/support/RadioTestEnv.h"

#include <algorithm>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class ChannelEditorTest : public CRadioTest
{
protected:
    void SetUp() override
    {
        CRadioTest::SetUp();
        m_doc.ApplyModelEntry(0); // 136 to 174 MHz; channel 1 in use, 2..128 empty
    }

    Bytes Record(int ch) const
    {
        const auto* p = m_doc.Image().data() + RecordOffset(ch);
        return Bytes(p, p + 16);
    }
    Bytes Name(int ch) const
    {
        const NameBytes n = m_doc.GetName(ch);
        return Bytes(n.begin(), n.end());
    }
    Bytes OffsetBytes(int ch) const
    {
        const Bytes r = Record(ch);
        return Bytes(r.begin() + 4, r.begin() + 8);
    }

    CVantorDoc m_doc;
    CChannelEditor m_editor{m_doc};
};

TEST_F(ChannelEditorTest, AFreshChannelTransmitsOnItsReceiveFrequency)
{
    const Bytes before4 = Record(4), before6 = Record(6);
    EXPECT_TRUE(m_editor.StoreRx(5, "145.5"));
    EXPECT_EQ(m_editor.RxText(5), "145.50000");
    EXPECT_EQ(m_editor.TxText(5), "145.50000");
    EXPECT_EQ(OffsetBytes(5), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(m_doc.GetShiftDirection(5), 0);
    EXPECT_EQ(Record(4), before4);
    EXPECT_EQ(Record(6), before6);
}

TEST_F(ChannelEditorTest, ATypedTransmitFrequencySetsOffsetAndDirection)
{
    m_editor.StoreRx(5, "145.5");
    EXPECT_TRUE(m_editor.StoreTx(5, "145.0"));
    EXPECT_EQ(m_doc.GetShiftDirection(5), 1);
    EXPECT_EQ(OffsetBytes(5), (Bytes{0x00, 0x00, 0x05, 0x00})); // 000.50000
    EXPECT_EQ(m_editor.TxText(5), "145.00000");

    EXPECT_TRUE(m_editor.StoreTx(5, "146"));
    EXPECT_EQ(m_doc.GetShiftDirection(5), 2);
    EXPECT_EQ(m_editor.TxText(5), "146.00000");

    // Changing RX keeps the transmit frequency where it was.
    EXPECT_TRUE(m_editor.StoreRx(5, "144.8"));
    EXPECT_EQ(m_editor.TxText(5), "146.00000");
    EXPECT_EQ(m_doc.GetShiftDirection(5), 2);
    EXPECT_EQ(OffsetBytes(5), (Bytes{0x00, 0x00, 0x12, 0x00})); // 001.20000

    EXPECT_TRUE(m_editor.StoreTx(5, "144.80000"));
    EXPECT_EQ(m_doc.GetShiftDirection(5), 0);
    EXPECT_EQ(OffsetBytes(5), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(m_editor.TxText(5), "144.80000");
}

TEST_F(ChannelEditorTest, AnEmptyTransmitFrequencyMakesTheChannelReceiveOnly)
{
    m_editor.StoreRx(5, "145.5");
    m_editor.StoreTone(5, ToneDir::Tx, 160); // an inverted DCS code
    ASSERT_EQ(m_doc.ToneIndex(5, ToneDir::Tx), 160);
    EXPECT_TRUE(m_editor.StoreTx(5, ""));
    EXPECT_EQ(m_editor.TxText(5), "");
    EXPECT_TRUE(m_doc.HasNoTransmit(5));
    EXPECT_EQ(m_doc.GetShiftDirection(5), 1);
    EXPECT_EQ(m_doc.ToneIndex(5, ToneDir::Tx), 0);
    EXPECT_EQ(m_doc.GetTxInverted(5), 0);
    EXPECT_EQ(m_editor.RxText(5), "145.50000");

    // A receive-only channel stays receive-only when its RX changes.
    m_editor.StoreRx(5, "146.0");
    EXPECT_EQ(m_editor.TxText(5), "");
}

TEST_F(ChannelEditorTest, AnEmptyReceiveFrequencyDeletesTheChannelAndNothingElse)
{
    m_editor.StoreRx(5, "145.5");
    m_editor.StoreRx(6, "146.5");
    m_editor.StoreTone(5, ToneDir::Rx, 20);
    m_editor.StoreChoice(5, ChannelChoice::ScanAdd, 1);
    m_editor.StoreChoice(5, ChannelChoice::Power, 0);
    m_editor.StoreName(5, "ABC");
    m_doc.Image()[RecordOffset(5) + 13] = 0x5A; // not interpreted: carried through
    const Bytes rec4 = Record(4), rec6 = Record(6), name6 = Name(6);

    EXPECT_TRUE(m_editor.StoreRx(5, ""));
    EXPECT_TRUE(m_doc.IsRecordEmpty(5));
    EXPECT_EQ(Record(5), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x08, 0x00,
                                0x5A, 0xFF, 0xFF}));
    EXPECT_EQ(Name(5), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Record(4), rec4);
    EXPECT_EQ(Record(6), rec6);
    EXPECT_EQ(Name(6), name6);
    EXPECT_EQ(m_editor.TxText(5), "");

    // Deleting an empty channel again changes nothing.
    EXPECT_FALSE(m_editor.StoreRx(5, ""));
}

TEST_F(ChannelEditorTest, OutOfBandEntriesBecomeTheNearerBandEdge)
{
    m_editor.StoreRx(5, "200");
    EXPECT_EQ(m_editor.RxText(5), "173.99500");
    m_editor.StoreRx(5, "99.5");
    EXPECT_EQ(m_editor.RxText(5), "136.00000");
    m_editor.StoreTx(5, "999");
    EXPECT_EQ(m_editor.TxText(5), "173.99500");
    m_editor.StoreTx(5, "1");
    EXPECT_EQ(m_editor.TxText(5), "136.00000");
    EXPECT_EQ(m_doc.GetShiftDirection(5), 0);
    // Inside the band entries are snapped to the raster.
    m_editor.StoreRx(5, "145.513");
    EXPECT_EQ(m_editor.RxText(5), "145.51500");
}

TEST_F(ChannelEditorTest, TransmitTextFollowsTheStoredOffsetAndDirection)
{
    // Records as a radio may hold them: RX 145.50000, the offset bytes and the direction bits.
    struct Case
    {
        Bytes offset;
        std::uint8_t direction;
        const char* tx;
    };
    const Case cases[] = {
        {{0x00, 0x00, 0x05, 0x00}, 0, "145.50000"}, {{0x00, 0x00, 0x05, 0x00}, 1, "145.00000"},
        {{0x00, 0x00, 0x05, 0x00}, 2, "146.00000"}, {{0x00, 0x00, 0x05, 0x00}, 3, "145.50000"},
        {{0x00, 0x00, 0x60, 0x14}, 1, "000.00000"}, // an offset above RX goes no lower than 0
        {{0x00, 0x00, 0x55, 0x14}, 2, ""},          // offset bytes equal to RX: no transmit side
    };
    for (const Case& c : cases) {
        const Bytes record = {
            0x00,        0x00,        0x55, 0x14, c.offset[0], c.offset[1],
            c.offset[2], c.offset[3], 0x00, 0x00, 0x00,        static_cast<std::uint8_t>(0x08 | c.direction)};
        std::copy(record.begin(), record.end(), m_doc.Image().begin() + RecordOffset(9));
        EXPECT_EQ(m_editor.TxText(9), c.tx) << "case " << &c - cases;
    }
}

TEST_F(ChannelEditorTest, TransmitEntryLeavesTheStoredReceiveBytesAlone)
{
    // A receive frequency off the raster (as a radio may hold it) survives a TX edit unchanged.
    m_editor.StoreRx(5, "145.5");
    m_doc.Image()[RecordOffset(5) + 0] = 0x30; // 145.50030
    const Bytes before = Record(5);
    m_editor.StoreTx(5, "146");
    const Bytes after = Record(5);
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 4, after.begin()));
    EXPECT_EQ(m_editor.TxText(5), "146.00000");
}

TEST_F(ChannelEditorTest, NamesAreStoredUpperCaseAndCutAtTheFirstCharacterWithoutCode)
{
    m_editor.StoreRx(5, "145.5");
    EXPECT_TRUE(m_editor.StoreName(5, "ab"));
    EXPECT_EQ(Name(5), (Bytes{0x0C, 0x0D, 0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(m_editor.StoreName(5, "AB"));
    EXPECT_TRUE(m_editor.StoreName(5, "A.B"));
    EXPECT_EQ(Name(5), (Bytes{0x0C, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(ChannelEditorTest, StoringWhatIsAlreadyThereReportsNoChange)
{
    m_editor.StoreRx(5, "145.5");
    m_editor.StoreTx(5, "145.0");
    EXPECT_FALSE(m_editor.StoreRx(5, m_editor.RxText(5)));
    EXPECT_FALSE(m_editor.StoreTx(5, m_editor.TxText(5)));
    EXPECT_FALSE(m_editor.StoreTone(5, ToneDir::Rx, m_doc.ToneIndex(5, ToneDir::Rx)));

    const ChannelChoice all[] = {ChannelChoice::Power,    ChannelChoice::Bcl,     ChannelChoice::Bandwidth,
                                 ChannelChoice::ScanAdd,  ChannelChoice::Reverse, ChannelChoice::PttId,
                                 ChannelChoice::Compander};
    const std::size_t bits[][2] = {{11, 3}, {11, 4}, {11, 5}, {11, 6}, {11, 2}, {11, 7}, {8, 3}};
    for (std::size_t i = 0; i < std::size(all); ++i) {
        const int old = m_editor.GetChoice(5, all[i]);
        EXPECT_FALSE(m_editor.StoreChoice(5, all[i], old));
        EXPECT_TRUE(m_editor.StoreChoice(5, all[i], !old));
        const std::uint8_t byte = Record(5)[bits[i][0]];
        EXPECT_EQ((byte >> bits[i][1]) & 1, old ? 0 : 1) << "choice " << i;
        EXPECT_EQ(m_editor.GetChoice(5, all[i]), old ? 0 : 1);
    }
}

TEST_F(ChannelEditorTest, AnEmptyChannelWithLeftoverOffsetBytesBecomesReceiveOnly)
{
    // Empty records as other tools or radios leave them: no RX, but offset bytes, a direction and
    // a TX tone. The empty row shows no TX, so the filled channel has none either.
    struct Case
    {
        const char* what;
        Bytes leftover; // bytes +0..+11 (the name and the rest stay as they are)
    };
    const Case cases[] = {
        {"plus shift", {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x0C, 0x0A}},
        {"minus shift", {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x06, 0x00, 0x20, 0x00, 0x3C, 0x09}},
        {"simplex", {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x50, 0x12, 0x01, 0x00, 0x00, 0x0C, 0x08}},
        {"half an RX left", {0x00, 0x50, 0x12, 0xFF, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x0C, 0x0A}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::copy(c.leftover.begin(), c.leftover.end(), m_doc.Image().begin() + RecordOffset(7));
        ASSERT_TRUE(m_doc.IsRecordEmpty(7));
        EXPECT_EQ(m_editor.TxText(7), "");

        EXPECT_TRUE(m_editor.StoreRx(7, "145.5"));
        EXPECT_EQ(m_editor.RxText(7), "145.50000");
        EXPECT_EQ(m_editor.TxText(7), "");
        EXPECT_TRUE(m_doc.HasNoTransmit(7));
        EXPECT_EQ(m_doc.GetShiftDirection(7), 1);
        EXPECT_EQ(m_doc.ToneIndex(7, ToneDir::Tx), 0);
        EXPECT_EQ(m_doc.GetTxInverted(7), 0);
        // Once a TX is typed it starts without a tone nobody chose.
        EXPECT_TRUE(m_editor.StoreTx(7, "146"));
        EXPECT_EQ(m_editor.TxText(7), "146.00000");
        EXPECT_EQ(m_doc.ToneIndex(7, ToneDir::Tx), 0);
    }
}

} // namespace
