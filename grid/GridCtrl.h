#pragma once
// A table of text cells with fixed header rows and columns, painted by itself. It never edits a
// cell: a click or Enter on an editable cell asks the owner to edit (EditRequested), and the owner
// lays its own editor over the cell and writes the result back with SetCell/SetItemText.

#include "grid/GridItem.h"

#include <QAbstractScrollArea>
#include <optional>
#include <vector>

struct GridCellId
{
    int row = -1;
    int col = -1;
    bool operator==(const GridCellId&) const = default;
};

class CGridCtrl final : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit CGridCtrl(QWidget* parent = nullptr);
    ~CGridCtrl() override;

    // Table size. Growing may throw std::bad_alloc, which the owner reports.
    void SetRowCount(int rows);
    void SetColumnCount(int cols);
    void SetFixedRowCount(int rows);
    void SetFixedColumnCount(int cols);
    int GetRowCount() const { return static_cast<int>(m_rowHeights.size()); }
    int GetColumnCount() const { return static_cast<int>(m_colWidths.size()); }
    int GetFixedRowCount() const { return m_nFixedRows; }
    int GetFixedColumnCount() const { return m_nFixedCols; }

    // Refused (false) for an index out of range or a negative size.
    bool SetRowHeight(int row, int height);
    bool SetColumnWidth(int col, int width);
    int GetRowHeight(int row) const;
    int GetColumnWidth(int col) const;

    // Switches; all on at construction. Range selection and resizing by mouse are not offered, so
    // those switches only record what an owner asked for.
    void EnableRowColResize(bool rows, bool cols)
    {
        m_bRowResizeAsked = rows;
        m_bColResizeAsked = cols;
    }
    void EnableSelection(bool enable) { m_bSelectionAsked = enable; }

    // Whole rows selected on the row headers (off at construction): a click selects one row,
    // Shift+click and Shift with the arrow keys extend from the last clicked row, Ctrl+click adds
    // or removes one. A plain move of the focus clears the selection.
    void EnableRowSelection(bool enable) { m_bRowSelection = enable; }
    std::vector<int> GetSelectedRows() const; // ascending
    bool IsRowSelected(int row) const;
    void SelectRows(int first, int last); // the rows first..last (either order) alone
    void SetSelectedRows(const std::vector<int>& rows);
    void ClearSelection();
    void SetEditable(bool editable) { m_bEditable = editable; }
    bool IsEditable() const { return m_bEditable; }
    void SetHandleTabKey(bool handle) { m_bHandleTabKey = handle; }

    // Cells. Only the fields named by the mask are set; refused for a cell out of range.
    bool SetCell(const GridItem& item);
    bool GetCell(GridItem& item) const; // fills every field
    bool SetItemText(int row, int col, const QString& text);
    QString GetItemText(int row, int col) const; // empty out of range
    bool SetItemState(int row, int col, unsigned state);
    unsigned GetItemState(int row, int col) const;
    bool SetItemFormat(int row, int col, int format);
    bool SetItemFgColour(int row, int col, GridColour colour);
    bool IsValid(int row, int col) const;
    bool IsCellEditable(int row, int col) const;

    // The focus cell (row/col -1 when none).
    GridCellId GetFocusCell() const { return m_focus; }
    void SetFocusCell(int row, int col);
    void ClearFocusCell() { SetFocusCell(-1, -1); }

    // While set, painting leaves out the cell last announced for editing.
    void SetEditing(bool editing);
    bool IsEditing() const { return m_bEditing; }
    QRect GetEditRect() const { return m_rcEdit; }

    // Suspending stops painting; resuming repaints everything (and recomputes the scroll bars).
    void SetRedraw(bool allow, bool resetScrollBars = false);
    void RedrawRow(int row);

    // The cell at a viewport position, and a cell's rectangle in viewport coordinates (empty when
    // it is scrolled out of view).
    std::optional<GridCellId> HitTest(const QPoint& pos) const;
    QRect CellRect(int row, int col) const;
    void EnsureVisible(int row, int col);

    // Printing: cells laid out from (0,0) by accumulated widths and heights, at the painter's origin,
    // with the painter's font (unless a cell has its own).
    void PrintHeaderRows(QPainter& painter) const;
    void PrintRow(QPainter& painter, int row) const;
    int HeaderRowsHeight() const;
    int TotalWidth() const;

signals:
    // The user asked to edit a valid, editable cell (scrolled into view); code kGridBeginEdit.
    void EditRequested(const GridNotify& notify);
    void FocusLeaving(const GridNotify& notify); // kGridFocusLeaving
    void FocusChanged(const GridNotify& notify); // kGridFocusChanged
    // Left button released after a press on a valid cell.
    void CellClicked(int row, int col);
    void SelectionChanged();

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Cell
    {
        QString text;
        unsigned state = 0;
        int format = kGridCentred;
        int image = -1;
        GridColour bkColour = kGridDefaultColour;
        GridColour fgColour = kGridDefaultColour;
        std::intptr_t param = 0;
        std::optional<QFont> font;
    };

    Cell* CellAt(int row, int col);
    const Cell* CellAt(int row, int col) const;
    void Reshape(int rows, int cols); // keeps the cells both shapes share
    int DefaultRowHeight() const;
    int FixedColumnsWidth() const;
    void PrintCells(QPainter& p, int row, int y, bool fixed, int lineTop) const;
    void UpdateScrollBars();
    int FirstScrollRow() const;
    int FirstScrollCol() const;
    int VisibleScrollRows() const; // whole non-fixed rows that fit under the fixed rows
    int VisibleScrollCols() const;
    void RequestEdit(int row, int col);
    GridNotify MakeNotify(int code, int row, int col) const;
    void MoveFocus(int row, int col);
    void SetSelection(std::vector<bool> rows);
    void ClickRowHeader(int row, Qt::KeyboardModifiers modifiers);
    void MoveByKey(QKeyEvent* e); // the focus moves as the key says
    void DrawCell(QPainter& p, int row, int col, const QRect& r, bool fixed, bool onScreen) const;
    QColor ResolveColour(GridColour colour, const QColor& fallback) const;

    int m_nFixedRows = 0;
    int m_nFixedCols = 0;
    std::vector<int> m_rowHeights;
    std::vector<int> m_colWidths;
    std::vector<Cell> m_cells; // row-major
    GridCellId m_focus;
    GridCellId m_pressed;
    bool m_bPressInFixed = false;
    // Recorded only: the grid has no range selection and no resizing by mouse.
    bool m_bRowResizeAsked = true;
    bool m_bColResizeAsked = true;
    bool m_bSelectionAsked = true;
    bool m_bRowSelection = false;
    std::vector<bool> m_selected; // by row
    int m_anchorRow = -1;         // where Shift extends the selection from
    bool m_bEditable = true;
    bool m_bHandleTabKey = true;
    bool m_bEditing = false;
    QRect m_rcEdit;
    int m_nWheelRemainder = 0;
};
