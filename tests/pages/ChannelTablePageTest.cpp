// The channel table as a user meets it: clicking cells, typing into the editors, Enter and Esc,
// and the bytes that land in the image.
#include "pages/ChannelTablePage.h"

#include "grid/GridCtrl.h"
#include "i18n/LangText.h"
#include "i18n/Profile.h"
#include "pages/CellListCombo.h"
#include "pages/CodeEdit.h"
#include "pages/FrequencyEdit.h"
#include "pages/NameEdit.h"
#include "pages/ToneCombo.h"
#include "tests/pages/PageTestEnv.h"
#include "tests/support/FindControl.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class ChannelTablePageTest : public CRadioTest
{
protected:
    void SetUp() override
    {
        CRadioTest::SetUp();
        m_doc.ApplyModelEntry(0); // 136 to 174 MHz; channel 1 at 136.00000, the others empty
        CChannelEditor editor(m_doc);
        editor.StoreRx(2, "145.5");
        editor.StoreTx(2, "145.0");
        editor.StoreName(2, "RPT");
        editor.StoreRx(3, "146.52");
        editor.StoreTx(3, ""); // receive-only
        editor.StoreRx(4, "144.8");
        editor.StoreTone(4, ToneDir::Rx, 160); // D036I
        editor.StoreTone(4, ToneDir::Tx, 12);  // 97.4
        m_doc.SetModifiedFlag(false);
        Open();
    }

    void Open()
    {
        m_host = std::make_unique<QWidget>();
        m_page = new CChannelTablePage(m_doc, m_host.get());
        m_host->resize(m_page->size());
        m_doc.SetUpdateAllViewsHandler([this] { m_page->ReloadFromImage(); });
        m_host->show();
        QApplication::setActiveWindow(m_host.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_host.get()));
    }

    CGridCtrl& Grid() { return m_page->Grid(); }
    QString Cell(int row, int col) { return Grid().GetItemText(row, col); }
    bool ReadOnly(int row, int col) { return Grid().GetItemState(row, col) & GCS_READONLY; }

    void ClickCell(int row, int col)
    {
        Grid().EnsureVisible(row, col);
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, Grid().CellRect(row, col).center());
    }
    QWidget* Focus() { return QApplication::focusWidget(); }
    void Type(const QString& text) { QTest::keyClicks(Focus(), text); }
    void Press(int key) { QTest::keyClick(Focus(), Qt::Key(key)); }
    // Opens a frequency or name cell, replaces its text and commits with Enter.
    void Enter(int row, int col, const QString& text)
    {
        ClickCell(row, col);
        Type(text);
        Press(Qt::Key_Return);
    }

    template <class T> T* Item(const char* name) { return FindControl<T>(m_page, name); }

    Bytes Record(int ch) const
    {
        const auto* p = m_doc.Image().data() + RecordOffset(ch);
        return Bytes(p, p + 16);
    }

    CVantorDoc m_doc;
    std::unique_ptr<QWidget> m_host;
    CChannelTablePage* m_page = nullptr;
};

TEST_F(ChannelTablePageTest, RowsShowTheImage)
{
    EXPECT_EQ(Item<QLabel>("ModelLabel")->text(), QStringLiteral("Model")); // labelled from the language file
    EXPECT_EQ(Cell(0, 1), QStringLiteral("RX Freq (MHz)"));
    EXPECT_EQ(Cell(0, 12), QStringLiteral("Name"));
    EXPECT_EQ(Cell(2, 0), QStringLiteral("2"));
    EXPECT_EQ(Cell(2, 1), QStringLiteral("145.50000"));
    EXPECT_EQ(Cell(2, 3), QStringLiteral("145.00000"));
    EXPECT_EQ(Cell(2, 2), QStringLiteral("Off"));
    EXPECT_EQ(Cell(2, 5), QStringLiteral("High"));
    EXPECT_EQ(Cell(2, 7), QStringLiteral("Wide"));
    EXPECT_EQ(Cell(2, 12), QStringLiteral("RPT"));
    EXPECT_EQ(Cell(4, 2), QStringLiteral("D036I"));
    EXPECT_EQ(Cell(4, 4), QStringLiteral("97.4"));
    // Receive-only: no TX and a grey, read-only TX tone.
    EXPECT_EQ(Cell(3, 3), QString());
    EXPECT_EQ(Cell(3, 4), QString());
    EXPECT_TRUE(ReadOnly(3, 4));
    EXPECT_FALSE(ReadOnly(3, 3));
    EXPECT_EQ(Grid().GetRowCount(), 129);
    EXPECT_EQ(Grid().GetColumnCount(), 13);
}

TEST_F(ChannelTablePageTest, AReloadAfterALanguageChangeShowsTheNewTexts)
{
    UseShippedLanguage("chinese");
    m_page->ReloadFromImage();
    const QString off = QString::fromUtf8("\xe5\x85\xb3"); // the Chinese "off"
    EXPECT_EQ(Cell(2, 2), off);
    EXPECT_EQ(Item<CToneCombo>("TxTone")->itemText(0), off);
    EXPECT_EQ(Cell(2, 6), off);
    EXPECT_NE(Cell(0, 1), QStringLiteral("RX Freq (MHz)"));
    EXPECT_EQ(Item<QLabel>("RangeLabel")->text(),
              QString::fromUtf8("\xe9\xa2\x91\xe7\x8e\x87\xe8\x8c\x83\xe5\x9b\xb4"));
}

TEST_F(ChannelTablePageTest, AReloadAfterAFontChangeFitsTheColumnsToTheNewFont)
{
    const int toneWidth = Grid().GetColumnWidth(2);
    const int rowHeight = Grid().GetRowHeight(1);
    const QFont original = Grid().font();
    QFont large = original;
    large.setPointSizeF(large.pointSizeF() * 2);
    Grid().setFont(large);
    m_page->ReloadFromImage();
    EXPECT_GT(Grid().GetColumnWidth(2), toneWidth);
    EXPECT_GT(Grid().GetRowHeight(1), rowHeight);
    Grid().setFont(original);
    m_page->ReloadFromImage();
    EXPECT_EQ(Grid().GetColumnWidth(2), toneWidth); // measured again, not kept from the large font
}

// The designed sizes with a small font; with a large one every column fits its widest possible text
// and every row its font, 4 pixels spare on each side. Headers 1 to 4 wrap, and 9 in English.
TEST_F(ChannelTablePageTest, TheTableIsLaidOutForItsFontAndLanguage)
{
    struct Case
    {
        const char* language;
        int pixelSize;   // of the grid's font
        const char* off; // a translation's longer word for "off", else nullptr
    };
    const int designed[] = {40, 75, 65, 75, 65, 55, 50, 55, 65, 65, 55, 70, 50};
    for (const Case& c : {Case{"english", 5, nullptr}, Case{"chinese", 5, nullptr},
                          Case{"english", 30, nullptr}, Case{"english", 30, "Switched off"}}) {
        SCOPED_TRACE(testing::Message() << c.language << " " << c.pixelSize << " px");
        UseShippedLanguage(c.language);
        if (c.off) {
            std::string text = ReadFileBytes(g_strLangFile);
            const std::size_t at = text.find("\nIDS_OFF=") + 9;
            text.replace(at, text.find('\n', at) - at, c.off);
            g_strLangFile = m_dir.Write("long-off.lang", text);
        }
        WriteProfileString(g_strSettingFile, "setup", "language", c.language);
        QFont font = Grid().font();
        font.setPixelSize(c.pixelSize);
        Grid().setFont(font);
        m_page->ReloadFromImage();

        EXPECT_EQ(Grid().GetFixedRowCount(), 1);
        EXPECT_EQ(Grid().GetFixedColumnCount(), 1);
        const bool english = c.language == std::string("english");
        const auto wrapped = [english](int col) { return (col >= 1 && col <= 4) || (col == 9 && english); };
        for (int col = 0; col < 13; ++col) {
            GridItem header;
            header.col = col;
            ASSERT_TRUE(Grid().GetCell(header));
            EXPECT_EQ(header.format, wrapped(col) ? kGridCentredWrapped : kGridCentred) << "column " << col;
            GridItem last = header;
            last.row = 128;
            ASSERT_TRUE(Grid().GetCell(last));
            EXPECT_EQ(last.format, kGridCentred) << "column " << col;
        }

        const QFontMetrics fm(font);
        if (c.pixelSize < 10) {
            for (int col = 0; col < 13; ++col)
                EXPECT_EQ(Grid().GetColumnWidth(col), designed[col]) << "column " << col;
            EXPECT_EQ(Grid().GetRowHeight(0), 28);
            EXPECT_EQ(Grid().GetRowHeight(1), 21);
            EXPECT_EQ(Grid().GetRowHeight(128), 21);
            continue;
        }
        const auto fits = [&](int col, const QString& text) {
            EXPECT_GE(Grid().GetColumnWidth(col), fm.horizontalAdvance(text) + 8)
                << "column " << col << ": " << text.toStdString();
        };
        fits(0, QStringLiteral("128"));
        for (int col : {1, 3}) {
            EXPECT_EQ(Grid().GetColumnWidth(col), fm.horizontalAdvance(QStringLiteral("888.88888")) + 8);
            fits(col, QStringLiteral("173.99500"));
        }
        auto* tones = Item<CToneCombo>("TxTone");
        for (int i = 0; i < tones->count(); ++i) {
            fits(2, tones->itemText(i));
            fits(4, tones->itemText(i));
        }
        for (int col = 5; col <= 11; ++col) {
            const auto keys = col == 5   ? std::pair{"IDS_LOW", "IDS_HIGH"}
                              : col == 7 ? std::pair{"IDS_WIDE", "IDS_NARROW"}
                                         : std::pair{"IDS_OFF", "IDS_ON"};
            for (const char* key : {keys.first, keys.second})
                fits(col, QString::fromStdString(LoadLangString(key)));
        }
        fits(12, QStringLiteral("WWWWW"));
        // A wrapped heading needs room for each word, a single-line one ("Scan Add") for all of it.
        for (int col = 0; col < 13; ++col) {
            for (const QString& part : wrapped(col) ? Cell(0, col).split(u' ') : QStringList{Cell(0, col)})
                fits(col, part);
        }
        EXPECT_GE(Grid().GetRowHeight(0), fm.boundingRect(QRect(0, 0, Grid().GetColumnWidth(1) - 8, 1000),
                                                          kGridCentredWrapped, Cell(0, 1))
                                                  .height() +
                                              8);
        EXPECT_EQ(Grid().GetRowHeight(1), fm.height() + 8);
        EXPECT_EQ(Grid().GetRowHeight(128), fm.height() + 8);
    }
}

TEST_F(ChannelTablePageTest, AnEmptyRowShowsOnlyItsNumberAndOnlyRxCanBeEdited)
{
    EXPECT_EQ(Cell(10, 0), QStringLiteral("10"));
    for (int c = 1; c < 13; ++c) {
        EXPECT_EQ(Cell(10, c), QString());
        EXPECT_EQ(ReadOnly(10, c), c != 1) << "column " << c;
    }
    ClickCell(10, 5);
    EXPECT_FALSE(Item<CCellListCombo>("Choice")->isVisible());
    EXPECT_FALSE(Grid().IsEditing());
    ClickCell(10, 1);
    EXPECT_TRUE(Item<CFrequencyEdit>("FreqEdit")->isVisible());
    EXPECT_EQ(Focus(), Item<CFrequencyEdit>("FreqEdit"));
    EXPECT_TRUE(Grid().IsEditing());
    // The editor lies exactly over the cell.
    const QRect cell = Grid().CellRect(10, 1);
    EXPECT_EQ(Item<CFrequencyEdit>("FreqEdit")->geometry(),
              QRect(Grid().viewport()->mapTo(m_page, cell.topLeft()), cell.size()));
    // Enter with nothing typed leaves the channel empty and closes the editor all the same.
    Press(Qt::Key_Return);
    EXPECT_FALSE(Item<CFrequencyEdit>("FreqEdit")->isVisible());
    EXPECT_FALSE(Grid().IsEditing());
    EXPECT_TRUE(m_doc.IsRecordEmpty(10));
}

TEST_F(ChannelTablePageTest, TypingIntoAnEmptyChannelFillsItTransmittingOnItsReceiveFrequency)
{
    Enter(10, 1, QStringLiteral("145.5"));
    EXPECT_EQ(Cell(10, 1), QStringLiteral("145.50000"));
    EXPECT_EQ(Cell(10, 3), QStringLiteral("145.50000"));
    const Bytes r = Record(10);
    EXPECT_EQ(Bytes(r.begin(), r.begin() + 8), (Bytes{0x00, 0x00, 0x55, 0x14, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(m_doc.GetShiftDirection(10), 0);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_FALSE(ReadOnly(10, 4));
    EXPECT_FALSE(Grid().IsEditing());
    EXPECT_FALSE(Item<CFrequencyEdit>("FreqEdit")->isVisible());
    EXPECT_TRUE(m_host->isVisible()); // Enter closed nothing but the editor
    EXPECT_EQ(Focus(), &Grid());
}

TEST_F(ChannelTablePageTest, TypingIntoAnEmptyRowWithLeftoverOffsetBytesGivesAReceiveOnlyChannel)
{
    // Channel 10 is empty but holds a 000.60000 MHz plus shift and a TX tone another tool left.
    const Bytes leftover = {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x0C, 0x0A};
    std::copy(leftover.begin(), leftover.end(), m_doc.Image().begin() + RecordOffset(10));
    m_page->ReloadFromImage();
    EXPECT_EQ(Cell(10, 3), QString());

    Enter(10, 1, QStringLiteral("145.5"));
    EXPECT_EQ(Cell(10, 1), QStringLiteral("145.50000"));
    EXPECT_EQ(Cell(10, 3), QString());
    EXPECT_EQ(Cell(10, 4), QString());
    EXPECT_TRUE(ReadOnly(10, 4));
    EXPECT_TRUE(m_doc.HasNoTransmit(10));
    EXPECT_EQ(m_doc.ToneIndex(10, ToneDir::Tx), 0);
    EXPECT_TRUE(m_doc.IsModified());
    ClickCell(10, 4);
    EXPECT_FALSE(Item<CToneCombo>("TxTone")->isVisible());
}

TEST_F(ChannelTablePageTest, TypedTransmitFrequenciesSetDirectionAndOffset)
{
    Enter(2, 3, QStringLiteral("144.9"));
    EXPECT_EQ(m_doc.GetShiftDirection(2), 1);
    EXPECT_EQ(m_doc.FrequencyText(2, FreqField::Offset), "00.60000");
    Enter(2, 3, QStringLiteral("146.1"));
    EXPECT_EQ(m_doc.GetShiftDirection(2), 2);
    EXPECT_EQ(Cell(2, 3), QStringLiteral("146.10000"));
    Enter(2, 3, QStringLiteral("145.5"));
    EXPECT_EQ(m_doc.GetShiftDirection(2), 0);
    EXPECT_EQ(m_doc.FrequencyText(2, FreqField::Offset), "00.00000");
    // Out of the band: the nearer edge.
    Enter(2, 3, QStringLiteral("180"));
    EXPECT_EQ(Cell(2, 3), QStringLiteral("173.99500"));
    Enter(2, 1, QStringLiteral("120"));
    EXPECT_EQ(Cell(2, 1), QStringLiteral("136.00000"));
    EXPECT_EQ(Cell(2, 3), QStringLiteral("173.99500"));
}

TEST_F(ChannelTablePageTest, ClearingTxMakesTheChannelReceiveOnly)
{
    ClickCell(4, 3);
    Press(Qt::Key_Backspace);
    Press(Qt::Key_Return);
    EXPECT_EQ(Cell(4, 3), QString());
    EXPECT_EQ(Cell(4, 4), QString());
    EXPECT_TRUE(ReadOnly(4, 4));
    EXPECT_EQ(m_doc.ToneIndex(4, ToneDir::Tx), 0);
    EXPECT_EQ(m_doc.GetShiftDirection(4), 1);
    EXPECT_EQ(Cell(4, 1), QStringLiteral("144.80000"));
}

TEST_F(ChannelTablePageTest, ClearingRxEmptiesTheRowAndResetsItsBytesOnly)
{
    const Bytes before1 = Record(1), before3 = Record(3);
    ClickCell(2, 1);
    Press(Qt::Key_Delete);
    Press(Qt::Key_Return);
    for (int c = 1; c < 13; ++c)
        EXPECT_EQ(Cell(2, c), QString()) << "column " << c;
    EXPECT_TRUE(ReadOnly(2, 5));
    EXPECT_FALSE(Grid().IsEditing()); // the grid paints the cell again
    const Bytes r = Record(2);
    EXPECT_EQ(Bytes(r.begin(), r.begin() + 13),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x08, 0x00}));
    const NameBytes name = m_doc.GetName(2);
    EXPECT_EQ(Bytes(name.begin(), name.end()), Bytes(5, 0xFF));
    EXPECT_EQ(Record(1), before1);
    EXPECT_EQ(Record(3), before3);
}

TEST_F(ChannelTablePageTest, EscRestoresTheOldValueAndStoresItAgain)
{
    ClickCell(2, 1);
    Type(QStringLiteral("150"));
    EXPECT_EQ(Item<CFrequencyEdit>("FreqEdit")->text(), QStringLiteral("150"));
    Press(Qt::Key_Escape);
    EXPECT_EQ(Cell(2, 1), QStringLiteral("145.50000"));
    EXPECT_EQ(Cell(2, 3), QStringLiteral("145.00000"));
    EXPECT_FALSE(m_doc.IsModified()); // the same value went back: nothing changed
    EXPECT_FALSE(Item<CFrequencyEdit>("FreqEdit")->isVisible());
    EXPECT_TRUE(m_host->isVisible());

    // Esc on a two-choice list closes it without storing anything.
    ClickCell(2, 6);
    auto* choice = Item<CCellListCombo>("Choice");
    ASSERT_TRUE(choice->isVisible());
    EXPECT_EQ(choice->currentText(), QStringLiteral("Off"));
    Press(Qt::Key_Escape);
    EXPECT_FALSE(choice->isVisible());
    EXPECT_FALSE(Grid().IsEditing());
    EXPECT_EQ(m_doc.GetChoice(2, ChannelChoice::Bcl), 0);
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(ChannelTablePageTest, NamesAreStoredUpperCase)
{
    Enter(2, 12, QStringLiteral("ab"));
    EXPECT_EQ(Cell(2, 12), QStringLiteral("AB"));
    const NameBytes name = m_doc.GetName(2);
    EXPECT_EQ(Bytes(name.begin(), name.end()), (Bytes{0x0C, 0x0D, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(ChannelTablePageTest, AChoiceIsStoredAsSoonAsItIsPicked)
{
    ClickCell(2, 7);
    auto* choice = Item<CCellListCombo>("Choice");
    ASSERT_EQ(Focus(), choice);
    Press(Qt::Key_Down); // Wide -> Narrow
    EXPECT_FALSE(choice->isVisible());
    EXPECT_EQ(Cell(2, 7), QStringLiteral("Narrow"));
    EXPECT_EQ(m_doc.GetChoice(2, ChannelChoice::Bandwidth), 1);
    EXPECT_EQ(Record(2)[11] & 0x20, 0x20);
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(ChannelTablePageTest, ATonePickedWithTheKeyboardIsStored)
{
    ClickCell(2, 2);
    auto* tone = Item<CToneCombo>("RxTone");
    ASSERT_EQ(Focus(), tone);
    EXPECT_EQ(tone->count(), 259);
    EXPECT_FALSE(m_doc.IsModified());
    Press(Qt::Key_Down);
    EXPECT_FALSE(tone->isVisible());
    EXPECT_EQ(Cell(2, 2), QStringLiteral("67.0"));
    EXPECT_EQ(Record(2)[9], 1);
    EXPECT_EQ(m_doc.History().StepCount(), 1u); // one step to undo
    EXPECT_TRUE(m_doc.IsModified());

    // Picked from the open list with the mouse.
    ClickCell(3, 2);
    ASSERT_TRUE(tone->isVisible());
    ASSERT_EQ(Focus(), tone);
    tone->showPopup();
    QAbstractItemView* list = tone->view();
    ASSERT_TRUE(list->isVisible());
    const QModelIndex d023n = list->model()->index(51, 0);
    list->scrollTo(d023n, QAbstractItemView::PositionAtCenter);
    QTest::qWait(QApplication::doubleClickInterval() + 50); // the list ignores a release right after opening
    // The item can be wider than the list, by an amount that depends on the fonts of the locale:
    // click its visible part.
    const QPoint onItem = list->visualRect(d023n).intersected(list->viewport()->rect()).center();
    QTest::mouseMove(list->viewport(), onItem);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, onItem);
    EXPECT_FALSE(tone->isVisible());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(Cell(3, 2), QStringLiteral("D023N"));
    EXPECT_EQ(Record(3)[9], 51);

    // Esc on a tone list keeps (and stores) the current selection.
    ClickCell(4, 2);
    Press(Qt::Key_Escape);
    EXPECT_EQ(Cell(4, 2), QStringLiteral("D036I"));
    EXPECT_EQ(m_doc.ToneIndex(4, ToneDir::Rx), 160);

    // The first entry of the list: no tone.
    ClickCell(4, 4);
    Press(Qt::Key_Home);
    EXPECT_EQ(Cell(4, 4), Item<CToneCombo>("TxTone")->itemText(0));
    EXPECT_EQ(m_doc.ToneIndex(4, ToneDir::Tx), 0);
}

TEST_F(ChannelTablePageTest, TheKeyboardMovesThroughTheGridAndEnterOpensAnEditor)
{
    ClickCell(2, 12);
    Press(Qt::Key_Return); // commit the unchanged name
    ASSERT_EQ(Focus(), &Grid());
    Press(Qt::Key_Tab); // wraps to the next row's first column
    EXPECT_EQ(Grid().GetFocusCell(), (GridCellId{3, 1}));
    Press(Qt::Key_Return);
    EXPECT_EQ(Focus(), Item<CFrequencyEdit>("FreqEdit"));
    EXPECT_EQ(Item<CFrequencyEdit>("FreqEdit")->text(), QStringLiteral("146.52000"));
}

TEST_F(ChannelTablePageTest, ClickingAnotherCellCommitsTheOpenEditAndOpensThatCell)
{
    ClickCell(2, 1);
    Type(QStringLiteral("147"));
    ClickCell(3, 12);
    EXPECT_EQ(Cell(2, 1), QStringLiteral("147.00000"));
    EXPECT_FALSE(Item<CFrequencyEdit>("FreqEdit")->isVisible());
    EXPECT_EQ(Focus(), Item<CNameEdit>("NameEdit"));
    EXPECT_EQ(Grid().GetEditRect(), Grid().CellRect(3, 12));
    EXPECT_TRUE(Grid().IsEditing());
}

// A reload while an editor is open (a read from the radio by its shortcut, say) closes the editor:
// what it held must not land in the new memory when the focus moves on.
TEST_F(ChannelTablePageTest, AReloadClosesAnOpenEditorWithoutStoringIt)
{
    struct Case
    {
        int col;
        const char* editor;
        const char* typed;
        const char* shown; // the cell after the reload
    };
    const Case cases[] = {
        {1, "FreqEdit", "150", "147.50000"}, {2, "RxTone", nullptr, "100.0"}, {4, "TxTone", nullptr, "103.5"},
        {6, "Choice", nullptr, "On"},        {12, "NameEdit", "XY", "NEW"},
    };
    const RadioImage initial = m_doc.Image();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.editor);
        m_doc.Image() = initial;
        m_page->ReloadFromImage();
        ClickCell(2, c.col);
        QWidget* editor = Item<QWidget>(c.editor);
        ASSERT_EQ(Focus(), editor);
        if (c.typed)
            Type(QString::fromLatin1(c.typed));

        CChannelEditor read(m_doc);
        read.StoreRx(2, "147.5");
        read.StoreTone(2, ToneDir::Rx, 13);
        read.StoreTone(2, ToneDir::Tx, 14);
        read.StoreChoice(2, ChannelChoice::Bcl, 1);
        read.StoreName(2, "NEW");
        const RadioImage radio = m_doc.Image();
        m_page->ReloadFromImage();
        EXPECT_FALSE(editor->isVisible());
        EXPECT_FALSE(Grid().IsEditing());
        Grid().setFocus();
        EXPECT_EQ(m_doc.Image(), radio);
        EXPECT_EQ(Cell(2, c.col), QString::fromLatin1(c.shown));
    }
}

// Without a selected row or a focus row the row commands have nothing to act on.
TEST_F(ChannelTablePageTest, RowCommandsWithoutARowChangeNothing)
{
    ASSERT_EQ(Grid().GetFocusCell().row, -1);
    EXPECT_TRUE(m_page->SelectedChannels().empty());
    EXPECT_FALSE(m_page->CanMove(-1));
    EXPECT_FALSE(m_page->CanMove(+1));
    const RadioImage before = m_doc.Image();
    m_page->OnInsertChannel();
    m_page->OnDeleteChannels();
    m_page->OnEditCut();
    m_page->OnMoveUp();
    m_page->OnMoveDown();
    EXPECT_EQ(m_doc.Image(), before);
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_TRUE(m_messages.Asked().empty()); // no "channel 128 is in use" either
}

TEST_F(ChannelTablePageTest, ApplicationShortcutsWorkWhileAnEditorIsOpen)
{
    QAction read(m_host.get());
    read.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    m_host->addAction(&read);
    QSignalSpy triggered(&read, &QAction::triggered);
    ClickCell(2, 12);
    ASSERT_EQ(Focus(), Item<CNameEdit>("NameEdit"));
    QTest::keyClick(Focus(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(triggered.count(), 1);
}

TEST_F(ChannelTablePageTest, ChangingTheRangeAsksFirstAndCancelKeepsEverything)
{
    auto* range = Item<QComboBox>("Range");
    ASSERT_EQ(range->count(), 3);
    EXPECT_EQ(range->currentIndex(), 0);

    // The same range again: no question.
    emit range->activated(0);
    EXPECT_TRUE(m_messages.Asked().empty());

    const RadioImage before = m_doc.Image();
    m_messages.Queue(MsgResult::Cancel);
    range->setCurrentIndex(1);
    emit range->activated(1);
    ASSERT_EQ(m_messages.Asked().size(), 1u);
    EXPECT_EQ(m_messages.Asked()[0].caption, "Confirm");
    EXPECT_EQ(m_messages.Asked()[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(range->currentIndex(), 0);
    EXPECT_TRUE(m_doc.Image() == before);
    EXPECT_FALSE(m_doc.IsModified());

    m_messages.Queue(MsgResult::Ok);
    range->setCurrentIndex(1);
    emit range->activated(1);
    EXPECT_EQ(m_doc.FindModelEntry(), 1);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(Cell(1, 1), QStringLiteral("400.00000")); // the page was reloaded
    EXPECT_EQ(Cell(2, 1), QString());
    EXPECT_EQ(range->currentIndex(), 1);
}

TEST(CellEditors, FiltersAndLimits)
{
    QWidget owner;
    auto* freq = new CFrequencyEdit(&owner);
    auto* name = new CNameEdit(&owner);
    owner.show();
    freq->BeginEdit(QRect(0, 0, 80, 20), QString());
    QTest::keyClicks(freq, QStringLiteral("14x5.5.12345"));
    EXPECT_EQ(freq->text(), QStringLiteral("145.51234")); // no letter, no second point, 9 at most

    // With the whole text selected a typed point is still refused.
    freq->BeginEdit(QRect(0, 0, 80, 20), QStringLiteral("145.50000"));
    QTest::keyClicks(freq, QStringLiteral("."));
    EXPECT_EQ(freq->text(), QStringLiteral("145.50000"));

    name->BeginEdit(QRect(0, 0, 80, 20), QString());
    QTest::keyClicks(name, QStringLiteral("a-B/"));
    QKeyEvent accented(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("\u00e9"));
    QApplication::sendEvent(name, &accented);
    QTest::keyClicks(name, QStringLiteral(" 1Z"));
    EXPECT_EQ(name->text(), QStringLiteral("a-B 1"));

    auto* code = new CCodeEdit(&owner);
    QTest::keyClicks(code, QStringLiteral("12#*aDeF9"));
    EXPECT_EQ(code->text(), QStringLiteral("12#*aD9"));
}

TEST_F(ChannelTablePageTest, AQuickSecondClickOnTheSameCellOpensItsEditorAgain)
{
    auto* freq = Item<CFrequencyEdit>("FreqEdit");
    Grid().EnsureVisible(5, 1);
    const QPoint at = Grid().viewport()->mapTo(m_host.get(), Grid().CellRect(5, 1).center());
    QTest::mouseClick(m_host->windowHandle(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(freq->IsOpen());
    Type(QStringLiteral("145.5"));
    Press(Qt::Key_Return);
    EXPECT_FALSE(freq->IsOpen());

    // Clicked again at once, the system reads the click as the second half of a double click.
    QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
    QTest::mouseClick(m_host->windowHandle(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(freq->IsOpen());
    EXPECT_EQ(Focus(), freq);
    Type(QStringLiteral("146"));
    Press(Qt::Key_Return);
    EXPECT_EQ(Cell(5, 1), QStringLiteral("146.00000"));
}

// Every column against the radio's memory map: an edit of one cell of channel 2 (record at 0x020,
// name at 0xA05) changes only that column's bits in the saved file.
TEST_F(ChannelTablePageTest, EachColumnChangesOnlyItsFieldInTheSavedFile)
{
    struct Row
    {
        int col;
        const char* text;  // typed into a frequency or name cell, else nothing
        Qt::Key key;       // pressed in an open list
        const char* shown; // the cell's text afterwards
        std::vector<MapBits> bits;
    };
    // Channel 2: RX 145.50000, TX 145.00000 (offset 000.50000, direction 1), byte 11 0x09, name RPT.
    const Row rows[] = {
        // RX 146.0 with TX kept: offset 001.00000 below.
        {1,
         "146",
         {},
         "146.00000",
         {{0x022, 0xFF, 0x60},
          {0x023, 0xFF, 0x14},
          {0x026, 0xFF, 0x10},
          {0x027, 0xFF, 0x00},
          {0x02B, 0x03, 1}}},
        {2, nullptr, Qt::Key_End, "D754I", {{0x029, 0xFF, 154}, {0x028, 0x10, 0x10}}}, // code 154, inverted
        {3, "146", {}, "146.00000", {{0x02B, 0x03, 2}}}, // the same offset above
        {4, nullptr, Qt::Key_End, "D754I", {{0x02A, 0xFF, 154}, {0x028, 0x20, 0x20}}},
        {5, nullptr, Qt::Key_Up, "Low", {{0x02B, 0x08, 0x00}}},      // power high -> low
        {6, nullptr, Qt::Key_Down, "On", {{0x02B, 0x10, 0x10}}},     // BCL
        {7, nullptr, Qt::Key_Down, "Narrow", {{0x02B, 0x20, 0x20}}}, // narrow
        {8, nullptr, Qt::Key_Down, "On", {{0x02B, 0x40, 0x40}}},     // scan add
        {9, nullptr, Qt::Key_Down, "On", {{0x02B, 0x04, 0x04}}},     // reverse
        {10, nullptr, Qt::Key_Down, "On", {{0x02B, 0x80, 0x80}}},    // PTT ID
        {11, nullptr, Qt::Key_Down, "On", {{0x028, 0x08, 0x08}}},    // compander
        {12, "ab", {}, "AB", {{0xA05, 0xFF, 0x0C}, {0xA06, 0xFF, 0x0D}, {0xA07, 0xFF, 0xFF}}},
    };
    const RadioImage initial = m_doc.Image();
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "column " << row.col);
        m_doc.Image() = initial;
        m_page->ReloadFromImage();
        const std::string before = SaveAndRead(m_doc, m_dir.File("mapping.pgm"));
        if (row.text) {
            Enter(2, row.col, QString::fromLatin1(row.text));
        } else {
            ClickCell(2, row.col);
            Press(row.key);
        }
        EXPECT_TRUE(OnlyTheseBitsChanged(before, SaveAndRead(m_doc, m_dir.File("mapping.pgm")), row.bits));
        EXPECT_EQ(Cell(2, row.col), QString::fromLatin1(row.shown));
    }
}

// Not a check: pictures of the page for a person to look at, written when ZQ708_SHOTS_DIR is set.
TEST_F(ChannelTablePageTest, Screenshots)
{
    const QString dir = qEnvironmentVariable("ZQ708_SHOTS_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "set ZQ708_SHOTS_DIR to write the pictures";
    QDir().mkpath(dir);
    const auto shoot = [&](const QString& lang) {
        struct Open
        {
            int row, col;
            const char* name;
        };
        for (const Open& o : {Open{5, 1, "rx"}, Open{4, 2, "tone"}, Open{2, 6, "choice"}, Open{2, 12, "name"},
                              Open{0, 0, "plain"}}) {
            if (o.row > 0)
                ClickCell(o.row, o.col);
            m_page->grab().save(dir + QStringLiteral("/%1-%2.png").arg(lang, QString::fromLatin1(o.name)));
            QTest::keyClick(Focus(), Qt::Key_Escape);
        }
    };
    CChannelEditor editor(m_doc);
    editor.StoreRx(6, "151.8875");
    editor.StoreName(6, "MURS");
    editor.StoreRx(7, "162.55");
    editor.StoreTone(7, ToneDir::Rx, 258);
    editor.StoreChoice(7, ChannelChoice::Bandwidth, 1);
    m_page->ReloadFromImage();
    shoot(QStringLiteral("en"));
    UseShippedLanguage("chinese");
    m_page->ReloadFromImage();
    shoot(QStringLiteral("zh"));
}

} // namespace
