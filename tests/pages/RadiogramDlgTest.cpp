// The FM presets dialog on its real widgets: the grid texts, the encodings written by the in-place
// list and the frequency list, and how Esc, OK and Cancel end it.
#include "pages/RadiogramDlg.h"

#include "grid/GridCtrl.h"
#include "pages/CellListCombo.h"
#include "tests/pages/PageTestEnv.h"
#include "tests/support/FindControl.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <memory>
#include <vector>

using namespace ImageMap;

namespace {

class RadiogramDlgTest : public CPageTest
{
protected:
    void Open()
    {
        m_dlg = std::make_unique<CRadiogramDlg>(m_doc, nullptr);
        ShowActive(*m_dlg);
    }

    CGridCtrl* Grid() const { return FindControl<CGridCtrl>(m_dlg.get(), "Grid"); }
    CCellListCombo* PresetList() const { return FindControl<CCellListCombo>(m_dlg.get(), "PresetList"); }
    QComboBox* FrequencyList() const { return FindControl<QComboBox>(m_dlg.get(), "Frequency"); }
    QString Cell(int k) const { return Grid()->GetItemText(k, 1); }
    int Preset(int k) const { return m_doc.ReadWordBE(kFmPresets, k); }

    // Clicks preset k's cell, which opens the in-place list over it.
    void OpenPreset(int k)
    {
        Grid()->EnsureVisible(k, 1);
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, Grid()->CellRect(k, 1).center());
        ASSERT_TRUE(PresetList()->IsOpen());
    }

    void ChoosePreset(int k, int index)
    {
        OpenPreset(k);
        PresetList()->setCurrentIndex(index);
    }

    std::unique_ptr<CRadiogramDlg> m_dlg;
};

TEST_F(RadiogramDlgTest, ANewImageShowsPresetOneAndFifteenUnusedPresets)
{
    Open();
    EXPECT_EQ(m_dlg->windowTitle(), "FM Radio Presets");
    EXPECT_EQ(Grid()->GetRowCount(), 17);
    EXPECT_EQ(Grid()->GetColumnCount(), 2);
    EXPECT_EQ(Grid()->GetItemText(0, 0), "No.");
    EXPECT_EQ(Grid()->GetItemText(0, 1), "Frequency");
    EXPECT_EQ(Grid()->GetItemText(16, 0), "16");
    EXPECT_EQ(Cell(1), "65M0");
    for (int k = 2; k <= 16; ++k)
        EXPECT_EQ(Cell(k), "OFF") << k;
    EXPECT_EQ(FrequencyList()->count(), 431); // no "OFF"
    EXPECT_EQ(FrequencyList()->currentText(), "65M0");
    EXPECT_FALSE(PresetList()->isVisible());
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(RadiogramDlgTest, ChoicesWriteBigEndianChannelIndexes)
{
    Open();
    ChoosePreset(3, 225);
    EXPECT_EQ(Byte(0x9A4), 0x00);
    EXPECT_EQ(Byte(0x9A5), 0xE1);
    EXPECT_EQ(Cell(3), "87M5");
    EXPECT_FALSE(PresetList()->isVisible());
    EXPECT_FALSE(Grid()->IsEditing());
    EXPECT_TRUE(m_doc.IsModified());

    ChoosePreset(1, 431);
    ChoosePreset(16, 431);
    EXPECT_EQ(Byte(0x9BE), 0x01);
    EXPECT_EQ(Byte(0x9BF), 0xAF);
    EXPECT_EQ(Cell(1), "OFF");

    FrequencyList()->setCurrentIndex(430);
    EXPECT_EQ(Byte(0xD0B), 0x01);
    EXPECT_EQ(Byte(0xD0C), 0xAE);
}

TEST_F(RadiogramDlgTest, ThePresetListDropsDownAndTakesAMouseChoice)
{
    Open();
    OpenPreset(3);
    CCellListCombo* list = PresetList();
    QAbstractItemView* view = list->view();
    QTest::mouseClick(list, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->isVisible(); }));
    EXPECT_TRUE(list->IsOpen());
    EXPECT_TRUE(Grid()->IsEditing());
    EXPECT_FALSE(m_doc.IsModified()); // nothing chosen yet

    const QModelIndex item = view->model()->index(225, 0);
    view->scrollTo(item);
    QTest::qWait(QApplication::doubleClickInterval() + 50); // the opening click is over
    QTest::mouseMove(view->viewport(), view->visualRect(item).center());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    EXPECT_FALSE(view->isVisible());
    EXPECT_EQ(Preset(3), 225);
    EXPECT_EQ(Cell(3), "87M5");
    EXPECT_FALSE(list->isVisible());
    EXPECT_FALSE(Grid()->IsEditing());
    EXPECT_TRUE(m_dlg->isVisible());
}

TEST_F(RadiogramDlgTest, EnterAndEscInTheDroppedDownListActAsOnTheClosedList)
{
    struct Case
    {
        bool dropDown;
        Qt::Key move; // Qt::Key_unknown: none
        Qt::Key key;
        int preset;
        int stored;
        QDialog::DialogCode result;
    };
    // From OFF, Home highlights 65M0 and Up 108M0. Enter takes the highlighted entry and is OK; Esc
    // keeps OFF and is Cancel. Enter on an entry that is already chosen, and on the closed list, is
    // OK too.
    for (const Case& c : {Case{true, Qt::Key_Home, Qt::Key_Return, 5, 0, QDialog::Accepted},
                          Case{true, Qt::Key_Up, Qt::Key_Enter, 6, 430, QDialog::Accepted},
                          Case{true, Qt::Key_Up, Qt::Key_Escape, 7, 431, QDialog::Rejected},
                          Case{true, Qt::Key_unknown, Qt::Key_Return, 8, 431, QDialog::Accepted},
                          Case{false, Qt::Key_unknown, Qt::Key_Enter, 9, 431, QDialog::Accepted}}) {
        SCOPED_TRACE(testing::Message() << "preset " << c.preset);
        m_doc.SetModifiedFlag(false);
        Open();
        OpenPreset(c.preset);
        QWidget* target = PresetList();
        QAbstractItemView* view = PresetList()->view();
        if (c.dropDown) {
            QTest::mouseClick(PresetList(), Qt::LeftButton);
            ASSERT_TRUE(QTest::qWaitFor([view] { return view->isVisible(); }));
            target = view;
        }
        if (c.move != Qt::Key_unknown)
            QTest::keyClick(target, c.move);
        QTest::keyClick(target, c.key);
        QCoreApplication::processEvents();
        EXPECT_FALSE(view->isVisible());
        EXPECT_EQ(Preset(c.preset), c.stored);
        EXPECT_TRUE(m_doc.IsModified());
        EXPECT_FALSE(m_dlg->isVisible());
        EXPECT_EQ(m_dlg->result(), c.result);
    }
}

// Enter on the focus cell opens the list over it; releasing the key, now over the list, is no
// Enter for the list and leaves the dialog open.
TEST_F(RadiogramDlgTest, EnterInTheGridOpensTheListAndItsReleaseKeepsTheDialogOpen)
{
    Open();
    Grid()->SetFocusCell(4, 1);
    Grid()->setFocus();
    QTest::keyPress(Grid(), Qt::Key_Return);
    ASSERT_TRUE(PresetList()->IsOpen());
    QTest::keyRelease(PresetList(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_dlg->isVisible());
    PresetList()->setCurrentIndex(225);
    EXPECT_EQ(Preset(4), 225);
}

// A choice is stored even when no focus change follows it: here the dialog is not the active
// window while the list is open.
TEST_F(RadiogramDlgTest, AChoiceIsStoredWhileAnotherWindowIsActive)
{
    Open();
    QWidget other;
    ShowActive(other);
    ChoosePreset(3, 225);
    EXPECT_EQ(Preset(3), 225);
    EXPECT_EQ(Cell(3), "87M5");
    EXPECT_FALSE(PresetList()->isVisible());
    EXPECT_FALSE(Grid()->IsEditing());
    EXPECT_TRUE(m_doc.IsModified());
}

// The grid in pixels as the dialog lays it out, every cell centred, and the preset list, with its
// 432 entries, laid exactly over the cell it edits, in the first row and in the last (scrolled).
TEST_F(RadiogramDlgTest, TheGridHasItsSizesAndTheListCoversTheEditedCell)
{
    Open();
    CGridCtrl* grid = Grid();
    struct Size
    {
        const char* what;
        int got;
        int want;
    };
    for (const Size& s :
         {Size{"column 0", grid->GetColumnWidth(0), 40}, Size{"column 1", grid->GetColumnWidth(1), 100},
          Size{"row 0", grid->GetRowHeight(0), 28}, Size{"row 1", grid->GetRowHeight(1), 21},
          Size{"row 16", grid->GetRowHeight(16), 21}, Size{"fixed rows", grid->GetFixedRowCount(), 1},
          Size{"fixed columns", grid->GetFixedColumnCount(), 1}})
        EXPECT_EQ(s.got, s.want) << s.what;
    EXPECT_EQ(grid->GetFocusCell(), GridCellId{});
    for (int k = 0; k < 17; ++k) {
        for (int c = 0; c < 2; ++c) {
            GridItem item;
            item.row = k;
            item.col = c;
            item.format = 0;
            ASSERT_TRUE(grid->GetCell(item));
            EXPECT_EQ(item.format, kGridCentred) << k << ", " << c;
        }
    }
    for (const int k : {1, 16}) {
        OpenPreset(k);
        const QRect cell = grid->CellRect(k, 1);
        const QPoint at = grid->viewport()->mapTo(PresetList()->parentWidget(), cell.topLeft());
        EXPECT_EQ(PresetList()->geometry(), QRect(at, cell.size())) << k;
        EXPECT_EQ(PresetList()->count(), 432) << k;
    }
}

// Stored values at the top of each list and beyond it: beyond shows nothing and stays stored.
TEST_F(RadiogramDlgTest, StoredValuesShowTheirTextsOrNothingBeyondTheLists)
{
    struct Case
    {
        int value;
        const char* cell;
        int frequencyIndex;
    };
    for (const Case& c :
         {Case{430, "108M0", 430}, Case{431, "OFF", -1}, Case{432, "", -1}, Case{0xFFFF, "", -1}}) {
        SCOPED_TRACE(c.value);
        m_doc.WriteWordBE(kFmPresets, 2, c.value);
        m_doc.WriteWordBE(kFmFrequency, 1, c.value);
        Open();
        EXPECT_EQ(Cell(2), c.cell);
        EXPECT_EQ(FrequencyList()->currentIndex(), c.frequencyIndex);
        EXPECT_EQ(Preset(2), c.value);
        EXPECT_EQ(m_doc.ReadWordBE(kFmFrequency, 1), c.value);
    }
}

TEST_F(RadiogramDlgTest, EscInAnOpenListStoresTheOldValueAndCloses)
{
    m_doc.WriteWordBE(kFmPresets, 2, 250);
    Open();
    OpenPreset(2);
    EXPECT_EQ(PresetList()->currentText(), "90M0");
    QTest::keyClick(PresetList(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(Preset(2), 250);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_FALSE(m_dlg->isVisible());
    EXPECT_EQ(m_dlg->result(), QDialog::Rejected);
}

TEST_F(RadiogramDlgTest, CancelKeepsWhatWasChosen)
{
    Open();
    ChoosePreset(1, 225);
    FindControl<QPushButton>(m_dlg.get(), "Cancel")->click();
    EXPECT_FALSE(m_dlg->isVisible());
    EXPECT_EQ(Preset(1), 225);
}

TEST_F(RadiogramDlgTest, TheFirstValidPresetIsCountedAtTheNextTransfer)
{
    Open();
    for (int k = 1; k <= 3; ++k)
        ChoosePreset(k, 431);
    ChoosePreset(4, 250); // 90M0
    FindControl<QPushButton>(m_dlg.get(), "Ok")->click();
    EXPECT_EQ(m_dlg->result(), QDialog::Accepted);
    PrepareImageForTransfer(m_doc.Image());
    EXPECT_EQ(Byte(kFirstFmPreset), 3);
}

// Not a check: pictures of the dropped-down preset list for a person to look at, written when
// ZQ708_SHOTS_DIR is set.
TEST_F(RadiogramDlgTest, Screenshots)
{
    const QString dir = qEnvironmentVariable("ZQ708_SHOTS_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "set ZQ708_SHOTS_DIR to write the pictures";
    QDir().mkpath(dir);
    m_doc.WriteWordBE(kFmPresets, 2, 225);
    for (const char* lang : {"english", "chinese"}) {
        UseShippedLanguage(lang);
        Open();
        OpenPreset(3);
        QTest::mouseClick(PresetList(), Qt::LeftButton);
        QWidget* popup = PresetList()->view()->window();
        ASSERT_TRUE(QTest::qWaitFor([popup] { return popup->isVisible(); }));
        // The list is a window of its own: both are drawn where they are on the screen.
        const QRect dialogRect(m_dlg->mapToGlobal(QPoint(0, 0)), m_dlg->size());
        const QRect popupRect(popup->mapToGlobal(QPoint(0, 0)), popup->size());
        const QRect all = dialogRect.united(popupRect);
        QPixmap shot(all.size());
        shot.fill(Qt::darkGray);
        QPainter painter(&shot);
        painter.drawPixmap(dialogRect.topLeft() - all.topLeft(), m_dlg->grab());
        painter.drawPixmap(popupRect.topLeft() - all.topLeft(), popup->grab());
        painter.end();
        shot.save(dir + QStringLiteral("/fm-presets-%1.png").arg(QString::fromLatin1(lang)));
        PresetList()->hidePopup();
        m_dlg.reset();
    }
}

// Every preset cell and the frequency list against the radio's memory map: a choice changes only
// its big-endian word in the saved file (and, for the frequency in use, the copy a save makes).
TEST_F(RadiogramDlgTest, EachChoiceChangesOnlyItsWordInTheSavedFile)
{
    struct Row
    {
        int preset; // 0: the frequency list
        int index;
        std::vector<MapBits> bits;
        int frequencyBefore = 0; // the frequency in use before the choice
    };
    // From a new image: preset 1 at 65M0, the others OFF, the frequency in use 65M0.
    const Row rows[] = {
        {1, 0x101, {{0x9A0, 0xFF, 0x01}, {0x9A1, 0xFF, 0x01}}},
        {2, 0x102, {{0x9A2, 0xFF, 0x01}, {0x9A3, 0xFF, 0x02}}},
        {3, 0x103, {{0x9A4, 0xFF, 0x01}, {0x9A5, 0xFF, 0x03}}},
        {4, 0x104, {{0x9A6, 0xFF, 0x01}, {0x9A7, 0xFF, 0x04}}},
        {5, 0x105, {{0x9A8, 0xFF, 0x01}, {0x9A9, 0xFF, 0x05}}},
        {6, 0x106, {{0x9AA, 0xFF, 0x01}, {0x9AB, 0xFF, 0x06}}},
        {7, 0x107, {{0x9AC, 0xFF, 0x01}, {0x9AD, 0xFF, 0x07}}},
        {8, 0x108, {{0x9AE, 0xFF, 0x01}, {0x9AF, 0xFF, 0x08}}},
        {9, 0x109, {{0x9B0, 0xFF, 0x01}, {0x9B1, 0xFF, 0x09}}},
        {10, 0x10A, {{0x9B2, 0xFF, 0x01}, {0x9B3, 0xFF, 0x0A}}},
        {11, 0x10B, {{0x9B4, 0xFF, 0x01}, {0x9B5, 0xFF, 0x0B}}},
        {12, 0x10C, {{0x9B6, 0xFF, 0x01}, {0x9B7, 0xFF, 0x0C}}},
        {13, 0x10D, {{0x9B8, 0xFF, 0x01}, {0x9B9, 0xFF, 0x0D}}},
        {14, 0x10E, {{0x9BA, 0xFF, 0x01}, {0x9BB, 0xFF, 0x0E}}},
        {15, 0x10F, {{0x9BC, 0xFF, 0x01}, {0x9BD, 0xFF, 0x0F}}},
        {16, 0x110, {{0x9BE, 0xFF, 0x01}, {0x9BF, 0xFF, 0x10}}},
        {1, 431, {{0x9A0, 0xFF, 0x01}, {0x9A1, 0xFF, 0xAF}}}, // OFF; no preset left valid, 0xD07 keeps 0
        {0, 0x123, {{0xD0B, 0xFF, 0x01}, {0xD0C, 0xFF, 0x23}, {0xD09, 0xFF, 0x01}, {0xD0A, 0xFF, 0x23}}},
        // The first entry of each list, chosen from another value.
        {2, 0, {{0x9A2, 0xFF, 0x00}, {0x9A3, 0xFF, 0x00}}},
        {0, 0, {{0xD0B, 0xFF, 0x00}, {0xD0C, 0xFF, 0x00}, {0xD09, 0xFF, 0x00}, {0xD0A, 0xFF, 0x00}}, 0x123},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "preset " << row.preset << ", index " << row.index);
        ASSERT_TRUE(m_doc.OnNewDocument(false));
        m_doc.WriteWordBE(kFmFrequency, 1, row.frequencyBefore);
        Open();
        const std::string before = SavedFile();
        if (row.preset == 0)
            FrequencyList()->setCurrentIndex(row.index);
        else
            ChoosePreset(row.preset, row.index);
        EXPECT_TRUE(OnlyTheseBitsChanged(before, SavedFile(), row.bits));
    }
}

} // namespace
