// The grid on its own: edit requests, the read-only rule, focus movement, the editing flag,
// wheel scrolling and printing.
#include "grid/GridCtrl.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

class GridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_owner.resize(400, 300);
        m_grid = new CGridCtrl(&m_owner);
        m_grid->setGeometry(10, 20, 300, 200);
        m_grid->SetRowCount(30);
        m_grid->SetColumnCount(5);
        m_grid->SetFixedRowCount(1);
        m_grid->SetFixedColumnCount(1);
        m_grid->EnableSelection(false);
        m_grid->EnableRowColResize(false, false);
        for (int c = 0; c < 5; ++c)
            m_grid->SetColumnWidth(c, 50);
        for (int r = 0; r < 30; ++r) {
            m_grid->SetRowHeight(r, 20);
            for (int c = 0; c < 5; ++c)
                m_grid->SetItemText(r, c, QStringLiteral("%1,%2").arg(r).arg(c));
        }
        m_owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_owner));
    }

    QPoint CentreOf(int row, int col) const { return m_grid->CellRect(row, col).center(); }
    void Click(int row, int col)
    {
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, CentreOf(row, col));
    }
    void Key(int key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(m_grid, Qt::Key(key), mods); }

    QWidget m_owner;
    CGridCtrl* m_grid = nullptr;
};

TEST_F(GridTest, ClickOnEditableCellAsksOwnerWithTextAndRectInParentCoordinates)
{
    QSignalSpy edits(m_grid, &CGridCtrl::EditRequested);
    QSignalSpy clicks(m_grid, &CGridCtrl::CellClicked);
    Click(3, 2);
    ASSERT_EQ(edits.count(), 1);
    const auto n = edits.at(0).at(0).value<GridNotify>();
    EXPECT_EQ(n.code, kGridBeginEdit);
    EXPECT_EQ(n.item.row, 3);
    EXPECT_EQ(n.item.col, 2);
    EXPECT_EQ(n.item.text, QStringLiteral("3,2"));
    const QRect cell = m_grid->CellRect(3, 2);
    EXPECT_EQ(n.rect, QRect(m_grid->viewport()->mapTo(&m_owner, cell.topLeft()), cell.size()));
    EXPECT_EQ(m_grid->GetEditRect(), cell);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ((GridCellId{3, 2}), m_grid->GetFocusCell());
    EXPECT_TRUE(m_grid->GetItemState(3, 2) & GCS_FOCUSED);
}

TEST_F(GridTest, ReadOnlyCellsFixedCellsAndEditingOffSendNoEditRequest)
{
    QSignalSpy edits(m_grid, &CGridCtrl::EditRequested);
    m_grid->SetItemState(4, 1, GCS_READONLY);
    Click(4, 1);
    EXPECT_EQ(m_grid->GetFocusCell(), (GridCellId{4, 1})); // it still takes the focus
    Key(Qt::Key_Return);

    // A press on the header row moves the focus into that column but opens nothing.
    Click(0, 3);
    EXPECT_EQ(m_grid->GetFocusCell(), (GridCellId{1, 3}));
    Click(5, 0);
    EXPECT_EQ(m_grid->GetFocusCell(), (GridCellId{5, 1}));

    m_grid->SetEditable(false);
    Click(2, 2);
    Key(Qt::Key_Enter);
    EXPECT_EQ(edits.count(), 0);

    m_grid->SetEditable(true);
    Key(Qt::Key_Enter);
    EXPECT_EQ(edits.count(), 1);
}

TEST_F(GridTest, KeyboardMovesTheFocusCellAndReportsBothSides)
{
    Click(1, 1);
    QSignalSpy leaving(m_grid, &CGridCtrl::FocusLeaving);
    QSignalSpy changed(m_grid, &CGridCtrl::FocusChanged);
    Key(Qt::Key_Right);
    EXPECT_EQ(m_grid->GetFocusCell(), (GridCellId{1, 2}));
    ASSERT_EQ(leaving.count(), 1);
    EXPECT_EQ(leaving.at(0).at(0).value<GridNotify>().item.col, 1);
    EXPECT_FALSE(m_grid->GetItemState(1, 1) & GCS_FOCUSED);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).value<GridNotify>().code, kGridFocusChanged);

    Key(Qt::Key_Left);
    Key(Qt::Key_Left); // stops at the first scrolling column
    EXPECT_EQ(m_grid->GetFocusCell(), (GridCellId{1, 1}));
    Key(Qt::Key_Up);
    EXPECT_EQ(m_grid->GetFocusCell(), (GridCellId{1, 1}));

    // Tab runs to the row's end and wraps to the next row; Shift+Tab wraps back.
    for (int i = 0; i < 4; ++i)
        Key(Qt::Key_Tab);
    EXPECT_EQ(m_grid->GetFocusCell(), (GridCellId{2, 1}));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(m_grid->GetFocusCell(), (GridCellId{1, 4}));
    EXPECT_TRUE(m_grid->hasFocus());
    m_grid->SetHandleTabKey(false); // Tab then belongs to the dialog
    Key(Qt::Key_Tab);
    EXPECT_EQ(m_grid->GetFocusCell(), (GridCellId{1, 4}));
    m_grid->SetHandleTabKey(true);

    Key(Qt::Key_End);
    EXPECT_EQ(m_grid->GetFocusCell(), (GridCellId{29, 4}));
    EXPECT_FALSE(m_grid->CellRect(29, 4).isEmpty()); // scrolled into view
    Key(Qt::Key_Home);
    EXPECT_EQ(m_grid->GetFocusCell(), (GridCellId{1, 4}));
    Key(Qt::Key_PageDown);
    EXPECT_GT(m_grid->GetFocusCell().row, 5);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(m_grid->GetFocusCell(), (GridCellId{1, 4}));
}

TEST_F(GridTest, CtrlTabLeavesTheGridForTheNextOrPreviousControl)
{
    auto* next = new QLineEdit(&m_owner);
    auto* last = new QLineEdit(&m_owner);
    next->show();
    last->show();
    QApplication::setActiveWindow(&m_owner);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_owner));
    Click(1, 1);
    ASSERT_TRUE(m_grid->hasFocus());
    Key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), next);
    EXPECT_EQ(m_grid->GetFocusCell(), (GridCellId{1, 1}));
    m_grid->setFocus();
    Key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), last);
    m_grid->setFocus();
    Key(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier); // as some systems report it
    EXPECT_EQ(QApplication::focusWidget(), last);
    EXPECT_EQ(m_grid->GetFocusCell(), (GridCellId{1, 1}));
}

TEST_F(GridTest, EnterOnACellScrolledOutOfViewBringsItBackBeforeAsking)
{
    Click(1, 1);
    Key(Qt::Key_End);
    m_grid->verticalScrollBar()->setValue(0); // row 29 out of view again
    ASSERT_FALSE(m_grid->viewport()->rect().contains(m_grid->CellRect(29, 1)));
    QSignalSpy edits(m_grid, &CGridCtrl::EditRequested);
    Key(Qt::Key_Return);
    ASSERT_EQ(edits.count(), 1);
    EXPECT_TRUE(m_grid->viewport()->rect().contains(m_grid->CellRect(29, 1)));
}

TEST_F(GridTest, EditingFlagLeavesTheAnnouncedCellUnpainted)
{
    for (int c = 1; c < 5; ++c)
        m_grid->SetCell([&] {
            GridItem item;
            item.row = 2;
            item.col = c;
            item.mask = GIM_BKCOLOUR;
            item.bkColour = 0xFF0000;
            return item;
        }());
    Click(2, 2);
    // A point of the cell's background clear of its text and focus frame.
    const QPoint inCell = m_grid->CellRect(2, 2).topLeft() + QPoint(5, 4);
    const QPoint inNeighbour = m_grid->CellRect(2, 3).topLeft() + QPoint(5, 4);
    m_grid->SetEditing(true);
    QImage shot = m_grid->viewport()->grab().toImage();
    EXPECT_NE(shot.pixelColor(inCell), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(inNeighbour), QColor(Qt::red));
    m_grid->SetEditing(false);
    shot = m_grid->viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(inCell), QColor(Qt::red));
}

TEST_F(GridTest, WheelScrollsTheSystemLinesPerNotch)
{
    auto wheel = [&](int delta) {
        QWheelEvent e(QPointF(50, 50), m_grid->mapToGlobal(QPointF(50, 50)), {}, {0, delta}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_grid->viewport(), &e);
    };
    QScrollBar* bar = m_grid->verticalScrollBar();
    const int saved = QApplication::wheelScrollLines();
    QApplication::setWheelScrollLines(3);
    wheel(-120);
    EXPECT_EQ(bar->value(), 3);
    wheel(-60);
    EXPECT_EQ(bar->value(), 3); // half a notch waits for the other half
    wheel(-60);
    EXPECT_EQ(bar->value(), 6);
    wheel(120);
    EXPECT_EQ(bar->value(), 3);
    QApplication::setWheelScrollLines(saved);
}

TEST_F(GridTest, CellOperationsOutOfRangeAreRefusedAndChangeNothing)
{
    EXPECT_FALSE(m_grid->SetItemText(30, 0, QStringLiteral("x")));
    EXPECT_FALSE(m_grid->SetItemText(0, -1, QStringLiteral("x")));
    EXPECT_EQ(m_grid->GetItemText(30, 0), QString());
    EXPECT_FALSE(m_grid->SetRowHeight(30, 10));
    EXPECT_FALSE(m_grid->SetColumnWidth(1, -1));
    EXPECT_EQ(m_grid->GetColumnWidth(1), 50);

    // Shrinking keeps what both shapes share.
    m_grid->SetColumnCount(3);
    EXPECT_EQ(m_grid->GetItemText(7, 2), QStringLiteral("7,2"));
    m_grid->SetColumnCount(5);
    EXPECT_EQ(m_grid->GetItemText(7, 4), QString());
}

TEST(GridPrint, PrintedRowsAreLaidOutFromTheOriginWithTheirGridLines)
{
    CGridCtrl grid;
    grid.SetRowCount(3);
    grid.SetColumnCount(2);
    grid.SetFixedRowCount(1);
    grid.SetColumnWidth(0, 30);
    grid.SetColumnWidth(1, 40);
    grid.SetRowHeight(0, 20);
    grid.SetRowHeight(2, 15);
    grid.SetCell([] {
        GridItem item;
        item.row = 2;
        item.col = 1;
        item.mask = GIM_BKCOLOUR;
        item.bkColour = 0x00FF00;
        return item;
    }());
    EXPECT_EQ(grid.HeaderRowsHeight(), 20);
    EXPECT_EQ(grid.TotalWidth(), 70);

    QImage page(100, 60, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    p.translate(5, 30);
    grid.PrintRow(p, 2);
    p.end();
    const QColor line = grid.palette().color(QPalette::WindowText);
    EXPECT_EQ(page.pixelColor(5 + 30 + 10, 30 + 14), line); // bottom edge of the row
    EXPECT_EQ(page.pixelColor(5 + 69, 30 + 5), line);       // right edge of the last column
    EXPECT_EQ(page.pixelColor(5, 30 + 5), line);            // left edge of the first column
    EXPECT_EQ(page.pixelColor(5 + 50, 30 + 7), QColor(Qt::green));
    EXPECT_EQ(page.pixelColor(5 + 50, 30 + 16), QColor(Qt::white)); // nothing below the row
}

} // namespace

namespace {

// A gesture on the grid with row selection on, and the rows selected after it.
struct SelectionCase
{
    enum Kind
    {
        HeaderClick,
        CellClick,
        KeyPress
    } kind;
    int rowOrKey;
    Qt::KeyboardModifiers modifiers;
    std::vector<int> selected;
};

} // namespace

TEST_F(GridTest, RowHeadersSelectRowsWithShiftAndCtrlAndShiftArrowsExtend)
{
    m_grid->EnableRowSelection(true);
    QSignalSpy changes(m_grid, &CGridCtrl::SelectionChanged);
    const std::vector<SelectionCase> cases = {
        {SelectionCase::HeaderClick, 3, {}, {3}},
        {SelectionCase::HeaderClick, 6, Qt::ShiftModifier, {3, 4, 5, 6}},
        {SelectionCase::HeaderClick, 2, Qt::ShiftModifier, {2, 3}}, // from the same anchor, upwards
        {SelectionCase::HeaderClick, 5, Qt::ControlModifier, {2, 3, 5}},
        {SelectionCase::HeaderClick, 3, Qt::ControlModifier, {2, 5}},
        {SelectionCase::KeyPress, Qt::Key_Down, Qt::ShiftModifier, {3, 4}}, // anchor 3, focus 3 -> 4
        {SelectionCase::KeyPress, Qt::Key_Down, Qt::ShiftModifier, {3, 4, 5}},
        {SelectionCase::KeyPress, Qt::Key_Up, {}, {}},                    // a plain move clears
        {SelectionCase::KeyPress, Qt::Key_Up, Qt::ShiftModifier, {3, 4}}, // anchored where it starts
        {SelectionCase::HeaderClick, 8, {}, {8}},
        {SelectionCase::KeyPress, Qt::Key_Right, Qt::ShiftModifier, {}}, // sideways never selects
        {SelectionCase::HeaderClick, 9, {}, {9}},
        {SelectionCase::CellClick, 4, {}, {}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const SelectionCase& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        if (c.kind == SelectionCase::KeyPress)
            Key(c.rowOrKey, c.modifiers);
        else
            QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, c.modifiers,
                              CentreOf(c.rowOrKey, c.kind == SelectionCase::HeaderClick ? 0 : 2));
        EXPECT_EQ(m_grid->GetSelectedRows(), c.selected);
        if (c.kind == SelectionCase::HeaderClick) {
            EXPECT_EQ(m_grid->GetFocusCell().row, c.rowOrKey); // the focus follows the clicked row
        }
    }
    EXPECT_GE(changes.count(), 10);
}

TEST_F(GridTest, WithoutRowSelectionHeaderClicksSelectNothingAndSelectedRowsArePainted)
{
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, CentreOf(3, 0));
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_TRUE(m_grid->GetSelectedRows().empty());

    m_grid->EnableRowSelection(true);
    const QImage before = m_grid->viewport()->grab().toImage();
    m_grid->SelectRows(5, 4);
    EXPECT_EQ(m_grid->GetSelectedRows(), (std::vector<int>{4, 5}));
    const QImage after = m_grid->viewport()->grab().toImage();
    const QPoint inRow = m_grid->CellRect(4, 2).topLeft() + QPoint(3, 3);
    const QPoint outside = m_grid->CellRect(6, 2).topLeft() + QPoint(3, 3);
    EXPECT_NE(after.pixel(inRow), before.pixel(inRow));
    EXPECT_EQ(after.pixel(outside), before.pixel(outside));
    m_grid->SelectRows(0, 0); // the header row is never selected
    EXPECT_TRUE(m_grid->GetSelectedRows().empty());
}
