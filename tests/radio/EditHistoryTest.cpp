// Undo and redo of the memory: steps, the saved marker, the step limit; the document's modified
// flag and views following them; whole channels inserted, emptied and moved byte for byte.

#include "tests/support/RadioTestEnv.h"

#include "radio/ChannelRows.h"
#include "radio/EditHistory.h"
#include "radio/VantorDoc.h"

#include <vector>

using namespace ImageMap;

namespace {

RadioImage ImageOf(std::uint8_t fill)
{
    RadioImage image;
    image.fill(fill);
    return image;
}

// One action on a history and what must hold after it: the memory it hands back (Undo/Redo), the
// steps on either side, whether it sits at the saved state.
struct HistoryCase
{
    enum Op
    {
        Record,
        RecordSame,
        Undo,
        Redo,
        Save
    } op;
    std::uint8_t fill; // Record: the memory's fill byte; Undo/Redo: the fill byte handed back
    bool canUndo;
    bool canRedo;
    bool atSaved;
    const char* undoName; // of UndoStep, when canUndo
};

} // namespace

TEST(EditHistoryTest, StepsAndSavedMarkerFollowEachAction)
{
    const std::vector<HistoryCase> cases = {
        {HistoryCase::RecordSame, 0, false, false, true, nullptr}, // no change: no step
        {HistoryCase::Record, 1, true, false, false, "S1"},
        {HistoryCase::Record, 2, true, false, false, "S2"},
        {HistoryCase::Undo, 1, true, true, false, "S1"},
        {HistoryCase::Undo, 0, false, true, true, nullptr},
        {HistoryCase::Redo, 1, true, true, false, "S1"},
        {HistoryCase::Save, 1, true, true, true, "S1"},
        {HistoryCase::Redo, 2, true, false, false, "S2"},
        {HistoryCase::Undo, 1, true, true, true, "S1"},
        {HistoryCase::Undo, 0, false, true, false, nullptr},
        {HistoryCase::Record, 5, true, false, false, "S5"}, // drops the redo steps and the saved state
        {HistoryCase::Undo, 0, false, true, false, nullptr},
        {HistoryCase::Redo, 5, true, false, false, "S5"},
    };
    CEditHistory history;
    history.Reset(ImageOf(0));
    RadioImage current = ImageOf(0);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const HistoryCase& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        switch (c.op) {
        case HistoryCase::Record:
            current = ImageOf(c.fill);
            EXPECT_TRUE(history.Record(current, {"S" + std::to_string(c.fill), c.fill}));
            break;
        case HistoryCase::RecordSame:
            EXPECT_FALSE(history.Record(current, {"same", 0}));
            break;
        case HistoryCase::Undo:
            current = history.Undo();
            EXPECT_EQ(current, ImageOf(c.fill));
            break;
        case HistoryCase::Redo:
            EXPECT_EQ(history.RedoStep().key, "S" + std::to_string(c.fill));
            current = history.Redo();
            EXPECT_EQ(current, ImageOf(c.fill));
            break;
        case HistoryCase::Save:
            history.MarkSaved(current);
            break;
        }
        EXPECT_EQ(history.CanUndo(), c.canUndo);
        EXPECT_EQ(history.CanRedo(), c.canRedo);
        EXPECT_EQ(history.IsAtSaved(), c.atSaved);
        if (c.canUndo) {
            EXPECT_EQ(history.UndoStep().key, c.undoName);
        }
    }
}

TEST(EditHistoryTest, KeepsTheLastThousandStepsAndForgetsAnOlderSavedState)
{
    CEditHistory history;
    RadioImage image = ImageOf(0);
    history.Reset(image);
    const int extra = 5;
    for (int i = 1; i <= static_cast<int>(CEditHistory::kMaxSteps) + extra; ++i) {
        image[0] = static_cast<std::uint8_t>(i);
        image[1] = static_cast<std::uint8_t>(i >> 8);
        ASSERT_TRUE(history.Record(image, {"k", i}));
    }
    EXPECT_EQ(history.StepCount(), CEditHistory::kMaxSteps);
    RadioImage oldest;
    for (std::size_t i = 0; i < CEditHistory::kMaxSteps; ++i) {
        ASSERT_TRUE(history.CanUndo());
        oldest = history.Undo();
    }
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(oldest[0], extra);
    EXPECT_FALSE(history.IsAtSaved()); // the opened state is gone: never unmodified again

    // A state saved later stays findable while older steps go.
    for (std::size_t i = 0; i < CEditHistory::kMaxSteps - 2; ++i)
        history.Redo();
    history.MarkSaved(history.Redo()); // the state 1 step before the newest
    ASSERT_TRUE(history.IsAtSaved());
    for (int i = 1; i <= 3; ++i) {
        image[2] = static_cast<std::uint8_t>(i);
        ASSERT_TRUE(history.Record(image, {"k", i}));
    }
    EXPECT_EQ(history.StepCount(), CEditHistory::kMaxSteps);
    EXPECT_FALSE(history.IsAtSaved());
    for (int i = 0; i < 3; ++i)
        history.Undo();
    EXPECT_TRUE(history.IsAtSaved());
    history.Undo();
    EXPECT_FALSE(history.IsAtSaved());

    // Saved one step after the start, that state becomes the oldest one kept.
    history.Reset(ImageOf(0));
    for (int i = 1; i <= static_cast<int>(CEditHistory::kMaxSteps) + 1; ++i) {
        image[3] = static_cast<std::uint8_t>(i);
        image[4] = static_cast<std::uint8_t>(i >> 8);
        ASSERT_TRUE(history.Record(image, {"k", i}));
        if (i == 1)
            history.MarkSaved(image);
    }
    while (history.CanUndo())
        history.Undo();
    EXPECT_TRUE(history.IsAtSaved());

    // A new history has no steps and starts saved.
    history.Reset(ImageOf(7));
    EXPECT_EQ(history.StepCount(), 0u);
    EXPECT_TRUE(history.IsAtSaved());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_FALSE(history.Record(ImageOf(7), {"same", 0}));
}

namespace {

class CDocumentHistoryTest : public CRadioTest
{
protected:
    void SetUp() override
    {
        CRadioTest::SetUp();
        ASSERT_TRUE(m_doc.OnNewDocument(false));
        m_doc.SetUpdateAllViewsHandler([this] { ++m_updates; });
        m_doc.SetHistoryChangedHandler([this] { ++m_changes; });
    }

    CVantorDoc m_doc;
    int m_updates = 0;
    int m_changes = 0;
};

} // namespace

TEST_F(CDocumentHistoryTest, ModifiedFlagFollowsUndoAndRedoAndSaving)
{
    const RadioImage opened = m_doc.Image();
    m_doc.Image()[0x123] = 0x42;
    m_doc.RecordEdit({"IDS_EDIT_CELL", 3});
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_changes, 1);

    ASSERT_TRUE(m_doc.Undo());
    EXPECT_EQ(m_doc.Image(), opened);
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_updates, 1);
    EXPECT_FALSE(m_doc.Undo());

    ASSERT_TRUE(m_doc.Redo());
    EXPECT_EQ(m_doc.Image()[0x123], 0x42);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_FALSE(m_doc.Redo());
    EXPECT_EQ(m_changes, 3); // recorded, undone, redone

    // A read leaves the flag as it is, yet is one step; saving moves the saved marker.
    m_doc.SetModifiedFlag(false);
    m_doc.Image()[0x124] = 0x43;
    m_doc.RecordEdit({"IDS_EDIT_READ"}, false);
    EXPECT_FALSE(m_doc.IsModified());
    m_doc.SetSavePathPrompt([this](const std::string&) { return (m_dir.Path() / "saved.pgm").string(); });
    const int beforeSave = m_changes;
    ASSERT_TRUE(m_doc.DoFileSave());
    EXPECT_EQ(m_changes, beforeSave + 1); // the saved marker moved
    ASSERT_TRUE(m_doc.Undo());
    EXPECT_TRUE(m_doc.IsModified());
    ASSERT_TRUE(m_doc.Redo());
    EXPECT_FALSE(m_doc.IsModified());

    // Open and New start over.
    const int beforeOpen = m_changes;
    ASSERT_TRUE(m_doc.OnOpenDocument((m_dir.Path() / "saved.pgm").string()));
    EXPECT_FALSE(m_doc.History().CanUndo());
    EXPECT_FALSE(m_doc.History().CanRedo());
    EXPECT_EQ(m_changes, beforeOpen + 1);
}

TEST_F(CDocumentHistoryTest, UndoOfABandChangeBringsBackItsLimits)
{
    const BandLimits vhf = m_doc.GetBandLimits();
    m_doc.DeleteContents();
    m_doc.ApplyModelEntry(1);
    m_doc.RecordEdit({"IDS_EDIT_RANGE"});
    ASSERT_NE(m_doc.GetBandLimits().low, vhf.low);
    ASSERT_TRUE(m_doc.Undo());
    EXPECT_EQ(m_doc.GetBandLimits().low, vhf.low);
    EXPECT_EQ(m_doc.GetBandLimits().high, vhf.high);

    // A document just made starts its history at its own memory.
    CVantorDoc fresh;
    fresh.RecordEdit({"IDS_EDIT_CELL", 1});
    EXPECT_FALSE(fresh.History().CanUndo());
}

TEST_F(CDocumentHistoryTest, AnEditThatChangesNothingIsNoStepButMarksModifiedAsBefore)
{
    m_doc.RecordEdit({"IDS_EDIT_CELL", 1});
    EXPECT_FALSE(m_doc.History().CanUndo());
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_changes, 0);
}

namespace {

// Fills channel n's record, name and empty bit with bytes of its own, hidden bits included.
void Brand(RadioImage& image, int n)
{
    for (std::size_t i = 0; i < kRecordSize; ++i)
        image[RecordOffset(n) + i] = static_cast<std::uint8_t>(n + i);
    image[RecordOffset(n) + 3] = 0x01; // a BCD frequency: the channel is in use
    for (std::size_t i = 0; i < kNameSize; ++i)
        image[NameOffset(n) + i] = static_cast<std::uint8_t>(0x10 + n % 7 + i);
}

struct ChannelBytes
{
    std::vector<std::uint8_t> record, name;
    bool emptyBit;
    bool operator==(const ChannelBytes&) const = default;
};

ChannelBytes BytesOf(const RadioImage& image, int n)
{
    const auto at = [&image](std::size_t offset, std::size_t size) {
        return std::vector<std::uint8_t>(image.begin() + static_cast<std::ptrdiff_t>(offset),
                                         image.begin() + static_cast<std::ptrdiff_t>(offset + size));
    };
    return {at(RecordOffset(n), kRecordSize), at(NameOffset(n), kNameSize),
            ((image[kEmptyBitmap + static_cast<std::size_t>(n - 1) / 8] >> ((n - 1) % 8)) & 1) != 0};
}

} // namespace

TEST_F(CDocumentHistoryTest, ChannelsMoveWithEveryByte)
{
    RadioImage& image = m_doc.Image();
    for (int n : {1, 2, 3, 5, 127})
        Brand(image, n);
    image[kEmptyBitmap] = 0x04; // channel 3's bit set, to see it travel
    // Channel 128 is empty yet holds bytes of its own; its empty bit is set.
    image[RecordOffset(kLastChannel) + kRecFlags] = 0x77;
    image[NameOffset(kLastChannel)] = 0x01;
    image[kEmptyBitmap + kEmptyBitmapSize - 1] = 0x80;
    const RadioImage before = image;
    const auto was = [&before](int n) { return BytesOf(before, n); };
    CChannelRows rows(m_doc);

    // Channels 2 and 3 up: they land on 1 and 2, channel 1 below them on 3.
    ASSERT_TRUE(rows.Move({2, 3}, -1));
    EXPECT_EQ(BytesOf(image, 1), was(2));
    EXPECT_EQ(BytesOf(image, 2), was(3));
    EXPECT_EQ(BytesOf(image, 3), was(1));
    ASSERT_TRUE(rows.Move({1, 2}, +1));
    EXPECT_EQ(image, before);
    EXPECT_FALSE(rows.Move({1, 5}, -1));
    EXPECT_FALSE(rows.Move({128}, +1));
    EXPECT_EQ(image, before);
    ASSERT_TRUE(rows.Move({127}, +1));
    EXPECT_EQ(BytesOf(image, 128), was(127));
    ASSERT_TRUE(rows.Move({128}, -1));
    EXPECT_EQ(image, before);

    // Insert at 2: 2..127 go one down, 2 is a deleted channel, 1 stays.
    ASSERT_TRUE(rows.InsertEmpty(2));
    EXPECT_EQ(BytesOf(image, 1), was(1));
    for (int n = 2; n < kLastChannel; ++n)
        EXPECT_EQ(BytesOf(image, n + 1), was(n)) << n;
    EXPECT_TRUE(m_doc.IsRecordEmpty(2));
    // The old channel 128 came up to 2 (its empty bit with it) and was cleared as a deleted channel.
    EXPECT_EQ(m_doc.GetName(2), NameBytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_NE(image[RecordOffset(2) + kRecFlags], 0x77);
    EXPECT_TRUE(BytesOf(image, 2).emptyBit);
    // Channel 128 is now in use: another insert is refused and changes nothing.
    const RadioImage full = image;
    EXPECT_FALSE(rows.InsertEmpty(1));
    EXPECT_EQ(image, full);

    rows.Empty({4, 6});
    EXPECT_TRUE(m_doc.IsRecordEmpty(4));
    EXPECT_TRUE(m_doc.IsRecordEmpty(6));
    EXPECT_EQ(BytesOf(image, 5), BytesOf(full, 5));
}
