#include "grid/GridCtrl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <numeric>

namespace {

constexpr int kWheelNotch = 120;
constexpr int kTextMargin = 2;

} // namespace

CGridCtrl::CGridCtrl(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Button);
    viewport()->setAutoFillBackground(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

CGridCtrl::~CGridCtrl() = default;

// --- size -----------------------------------------------------------------------------------

void CGridCtrl::Reshape(int rows, int cols)
{
    rows = std::max(0, rows);
    cols = std::max(0, cols);
    const int oldRows = GetRowCount();
    const int oldCols = GetColumnCount();
    std::vector<Cell> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    for (int r = 0; r < std::min(rows, oldRows); ++r)
        for (int c = 0; c < std::min(cols, oldCols); ++c)
            cells[static_cast<std::size_t>(r * cols + c)] =
                std::move(m_cells[static_cast<std::size_t>(r * oldCols + c)]);
    m_rowHeights.resize(static_cast<std::size_t>(rows), DefaultRowHeight());
    m_colWidths.resize(static_cast<std::size_t>(cols), fontMetrics().averageCharWidth() * 10);
    m_cells = std::move(cells);
    m_nFixedRows = std::min(m_nFixedRows, rows);
    m_nFixedCols = std::min(m_nFixedCols, cols);
    if (!IsValid(m_focus.row, m_focus.col))
        m_focus = {};
    UpdateScrollBars();
    viewport()->update();
}

int CGridCtrl::DefaultRowHeight() const
{
    return fontMetrics().height() + 2 * kTextMargin + 1;
}

void CGridCtrl::SetRowCount(int rows)
{
    Reshape(rows, GetColumnCount());
}

void CGridCtrl::SetColumnCount(int cols)
{
    Reshape(GetRowCount(), cols);
}

void CGridCtrl::SetFixedRowCount(int rows)
{
    m_nFixedRows = std::clamp(rows, 0, GetRowCount());
    UpdateScrollBars();
    viewport()->update();
}

void CGridCtrl::SetFixedColumnCount(int cols)
{
    m_nFixedCols = std::clamp(cols, 0, GetColumnCount());
    UpdateScrollBars();
    viewport()->update();
}

bool CGridCtrl::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= GetRowCount() || height < 0)
        return false;
    m_rowHeights[static_cast<std::size_t>(row)] = height;
    UpdateScrollBars();
    viewport()->update();
    return true;
}

bool CGridCtrl::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= GetColumnCount() || width < 0)
        return false;
    m_colWidths[static_cast<std::size_t>(col)] = width;
    UpdateScrollBars();
    viewport()->update();
    return true;
}

int CGridCtrl::GetRowHeight(int row) const
{
    return (row >= 0 && row < GetRowCount()) ? m_rowHeights[static_cast<std::size_t>(row)] : 0;
}

int CGridCtrl::GetColumnWidth(int col) const
{
    return (col >= 0 && col < GetColumnCount()) ? m_colWidths[static_cast<std::size_t>(col)] : 0;
}

int CGridCtrl::HeaderRowsHeight() const
{
    return std::accumulate(m_rowHeights.begin(), m_rowHeights.begin() + m_nFixedRows, 0);
}

int CGridCtrl::TotalWidth() const
{
    return std::accumulate(m_colWidths.begin(), m_colWidths.end(), 0);
}

int CGridCtrl::FixedColumnsWidth() const
{
    return std::accumulate(m_colWidths.begin(), m_colWidths.begin() + m_nFixedCols, 0);
}

// --- cells ----------------------------------------------------------------------------------

bool CGridCtrl::IsValid(int row, int col) const
{
    return row >= 0 && row < GetRowCount() && col >= 0 && col < GetColumnCount();
}

CGridCtrl::Cell* CGridCtrl::CellAt(int row, int col)
{
    return IsValid(row, col) ? &m_cells[static_cast<std::size_t>(row * GetColumnCount() + col)] : nullptr;
}

const CGridCtrl::Cell* CGridCtrl::CellAt(int row, int col) const
{
    return IsValid(row, col) ? &m_cells[static_cast<std::size_t>(row * GetColumnCount() + col)] : nullptr;
}

bool CGridCtrl::SetCell(const GridItem& item)
{
    Cell* cell = CellAt(item.row, item.col);
    if (!cell)
        return false;
    if (item.mask & GIM_TEXT)
        cell->text = item.text;
    if (item.mask & GIM_IMAGE)
        cell->image = item.image;
    if (item.mask & GIM_PARAM)
        cell->param = item.param;
    if (item.mask & GIM_STATE)
        cell->state = item.state;
    if (item.mask & GIM_BKCOLOUR)
        cell->bkColour = item.bkColour;
    if (item.mask & GIM_FGCOLOUR)
        cell->fgColour = item.fgColour;
    if (item.mask & GIM_FORMAT)
        cell->format = item.format;
    if (item.mask & GIM_FONT)
        cell->font = item.font;
    viewport()->update(CellRect(item.row, item.col));
    return true;
}

bool CGridCtrl::GetCell(GridItem& item) const
{
    const Cell* cell = CellAt(item.row, item.col);
    if (!cell)
        return false;
    item.mask =
        GIM_TEXT | GIM_IMAGE | GIM_PARAM | GIM_STATE | GIM_BKCOLOUR | GIM_FGCOLOUR | GIM_FORMAT | GIM_FONT;
    item.text = cell->text;
    item.image = cell->image;
    item.param = cell->param;
    item.state = cell->state;
    item.bkColour = cell->bkColour;
    item.fgColour = cell->fgColour;
    item.format = cell->format;
    item.font = cell->font.value_or(font());
    return true;
}

bool CGridCtrl::SetItemText(int row, int col, const QString& text)
{
    GridItem item;
    item.row = row;
    item.col = col;
    item.mask = GIM_TEXT;
    item.text = text;
    return SetCell(item);
}

QString CGridCtrl::GetItemText(int row, int col) const
{
    const Cell* cell = CellAt(row, col);
    return cell ? cell->text : QString();
}

bool CGridCtrl::SetItemState(int row, int col, unsigned state)
{
    GridItem item;
    item.row = row;
    item.col = col;
    item.mask = GIM_STATE;
    item.state = state;
    return SetCell(item);
}

unsigned CGridCtrl::GetItemState(int row, int col) const
{
    const Cell* cell = CellAt(row, col);
    return cell ? cell->state : 0;
}

bool CGridCtrl::SetItemFormat(int row, int col, int format)
{
    GridItem item;
    item.row = row;
    item.col = col;
    item.mask = GIM_FORMAT;
    item.format = format;
    return SetCell(item);
}

bool CGridCtrl::SetItemFgColour(int row, int col, GridColour colour)
{
    GridItem item;
    item.row = row;
    item.col = col;
    item.mask = GIM_FGCOLOUR;
    item.fgColour = colour;
    return SetCell(item);
}

bool CGridCtrl::IsCellEditable(int row, int col) const
{
    return m_bEditable && IsValid(row, col) && row >= m_nFixedRows && col >= m_nFixedCols &&
           !(GetItemState(row, col) & GCS_READONLY);
}

// --- focus and editing ----------------------------------------------------------------------

GridNotify CGridCtrl::MakeNotify(int code, int row, int col) const
{
    GridNotify n;
    n.code = code;
    n.item.row = row;
    n.item.col = col;
    GetCell(n.item);
    const QRect r = CellRect(row, col);
    const QPoint topLeft = parentWidget() ? viewport()->mapTo(parentWidget(), r.topLeft())
                                          : viewport()->mapToGlobal(r.topLeft());
    n.rect = QRect(topLeft, r.size());
    return n;
}

void CGridCtrl::SetFocusCell(int row, int col)
{
    const GridCellId next = IsValid(row, col) ? GridCellId{row, col} : GridCellId{};
    if (next == m_focus)
        return;
    const GridCellId old = m_focus;
    if (Cell* cell = CellAt(old.row, old.col)) {
        m_rcEdit = CellRect(old.row, old.col);
        emit FocusLeaving(MakeNotify(kGridFocusLeaving, old.row, old.col));
        cell->state &= ~GCS_FOCUSED;
        viewport()->update(CellRect(old.row, old.col));
    }
    m_focus = next;
    if (Cell* cell = CellAt(next.row, next.col)) {
        cell->state |= GCS_FOCUSED;
        viewport()->update(CellRect(next.row, next.col));
        m_rcEdit = CellRect(next.row, next.col);
        emit FocusChanged(MakeNotify(kGridFocusChanged, next.row, next.col));
    }
}

void CGridCtrl::RequestEdit(int row, int col)
{
    if (!IsCellEditable(row, col))
        return;
    EnsureVisible(row, col);
    const QRect r = CellRect(row, col);
    if (r.isEmpty())
        return;
    m_rcEdit = r;
    emit EditRequested(MakeNotify(kGridBeginEdit, row, col));
}

void CGridCtrl::SetEditing(bool editing)
{
    if (m_bEditing == editing)
        return;
    m_bEditing = editing;
    viewport()->update(m_rcEdit);
}

void CGridCtrl::MoveFocus(int row, int col)
{
    row = std::clamp(row, m_nFixedRows, GetRowCount() - 1);
    col = std::clamp(col, m_nFixedCols, GetColumnCount() - 1);
    if (!IsValid(row, col))
        return;
    SetFocusCell(row, col);
    EnsureVisible(row, col);
}

// --- row selection --------------------------------------------------------------------------

std::vector<int> CGridCtrl::GetSelectedRows() const
{
    std::vector<int> rows;
    for (std::size_t r = 0; r < m_selected.size(); ++r)
        if (m_selected[r])
            rows.push_back(static_cast<int>(r));
    return rows;
}

bool CGridCtrl::IsRowSelected(int row) const
{
    return row >= 0 && static_cast<std::size_t>(row) < m_selected.size() &&
           m_selected[static_cast<std::size_t>(row)];
}

void CGridCtrl::SetSelection(std::vector<bool> rows)
{
    rows.resize(static_cast<std::size_t>(GetRowCount()));
    if (rows == m_selected)
        return;
    m_selected = std::move(rows);
    viewport()->update();
    emit SelectionChanged();
}

void CGridCtrl::SelectRows(int first, int last)
{
    std::vector<bool> rows(static_cast<std::size_t>(GetRowCount()));
    const int from = std::max(std::min(first, last), m_nFixedRows);
    const int to = std::min(std::max(first, last), GetRowCount() - 1);
    for (int r = from; r <= to; ++r)
        rows[static_cast<std::size_t>(r)] = true;
    SetSelection(std::move(rows));
}

void CGridCtrl::SetSelectedRows(const std::vector<int>& rows)
{
    std::vector<bool> selected(static_cast<std::size_t>(GetRowCount()));
    for (int r : rows)
        if (r >= m_nFixedRows && r < GetRowCount())
            selected[static_cast<std::size_t>(r)] = true;
    SetSelection(std::move(selected));
}

void CGridCtrl::ClearSelection()
{
    m_anchorRow = -1;
    SetSelection({});
}

void CGridCtrl::ClickRowHeader(int row, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ShiftModifier) {
        SelectRows(IsValid(m_anchorRow, 0) ? m_anchorRow : row, row);
    } else if (modifiers & Qt::ControlModifier) {
        std::vector<bool> rows = m_selected;
        rows.resize(static_cast<std::size_t>(GetRowCount()));
        rows[static_cast<std::size_t>(row)] = !rows[static_cast<std::size_t>(row)];
        SetSelection(std::move(rows));
        m_anchorRow = row;
    } else {
        SelectRows(row, row);
        m_anchorRow = row;
    }
}

// --- redraw ---------------------------------------------------------------------------------

void CGridCtrl::SetRedraw(bool allow, bool resetScrollBars)
{
    viewport()->setUpdatesEnabled(allow);
    if (!allow)
        return;
    if (resetScrollBars)
        UpdateScrollBars();
    viewport()->update();
}

void CGridCtrl::RedrawRow(int row)
{
    if (row < 0 || row >= GetRowCount())
        return;
    const QRect r = CellRect(row, 0);
    if (r.isEmpty() && row >= m_nFixedRows && row < FirstScrollRow())
        return;
    viewport()->update(QRect(0, r.top(), viewport()->width(), r.height()));
}

// --- geometry and scrolling -----------------------------------------------------------------

int CGridCtrl::FirstScrollRow() const
{
    return m_nFixedRows + verticalScrollBar()->value();
}

int CGridCtrl::FirstScrollCol() const
{
    return m_nFixedCols + horizontalScrollBar()->value();
}

QRect CGridCtrl::CellRect(int row, int col) const
{
    if (!IsValid(row, col))
        return {};
    const auto offset = [](const std::vector<int>& sizes, int fixed, int first,
                           int index) -> std::optional<int> {
        if (index < fixed)
            return std::accumulate(sizes.begin(), sizes.begin() + index, 0);
        if (index < first)
            return std::nullopt; // scrolled out of view
        return std::accumulate(sizes.begin(), sizes.begin() + fixed, 0) +
               std::accumulate(sizes.begin() + first, sizes.begin() + index, 0);
    };
    const std::optional<int> x = offset(m_colWidths, m_nFixedCols, FirstScrollCol(), col);
    const std::optional<int> y = offset(m_rowHeights, m_nFixedRows, FirstScrollRow(), row);
    if (!x || !y)
        return {};
    return {*x, *y, GetColumnWidth(col), GetRowHeight(row)};
}

std::optional<GridCellId> CGridCtrl::HitTest(const QPoint& pos) const
{
    const auto find = [](const std::vector<int>& sizes, int fixed, int first, int p) -> int {
        int edge = 0;
        for (int i = 0; i < fixed; ++i) {
            edge += sizes[static_cast<std::size_t>(i)];
            if (p < edge)
                return i;
        }
        for (int i = first; i < static_cast<int>(sizes.size()); ++i) {
            edge += sizes[static_cast<std::size_t>(i)];
            if (p < edge)
                return i;
        }
        return -1;
    };
    if (pos.x() < 0 || pos.y() < 0)
        return std::nullopt;
    const int col = find(m_colWidths, m_nFixedCols, FirstScrollCol(), pos.x());
    const int row = find(m_rowHeights, m_nFixedRows, FirstScrollRow(), pos.y());
    if (row < 0 || col < 0)
        return std::nullopt;
    return GridCellId{row, col};
}

namespace {

// How many of the trailing sizes fit into `space`, and how many from `first` on.
int FitFromEnd(const std::vector<int>& sizes, int fixed, int space)
{
    int count = 0;
    for (int i = static_cast<int>(sizes.size()) - 1; i >= fixed; --i) {
        space -= sizes[static_cast<std::size_t>(i)];
        if (space < 0)
            break;
        ++count;
    }
    return count;
}

int FitFrom(const std::vector<int>& sizes, int first, int space)
{
    int count = 0;
    for (int i = first; i < static_cast<int>(sizes.size()); ++i) {
        space -= sizes[static_cast<std::size_t>(i)];
        if (space < 0)
            break;
        ++count;
    }
    return count;
}

} // namespace

int CGridCtrl::VisibleScrollRows() const
{
    return FitFrom(m_rowHeights, FirstScrollRow(), viewport()->height() - HeaderRowsHeight());
}

int CGridCtrl::VisibleScrollCols() const
{
    return FitFrom(m_colWidths, FirstScrollCol(), viewport()->width() - FixedColumnsWidth());
}

void CGridCtrl::UpdateScrollBars()
{
    // Scroll bars count whole rows and columns past the fixed ones.
    const int scrollRows = GetRowCount() - m_nFixedRows;
    const int scrollCols = GetColumnCount() - m_nFixedCols;
    const int fitRows = FitFromEnd(m_rowHeights, m_nFixedRows, viewport()->height() - HeaderRowsHeight());
    const int fitCols = FitFromEnd(m_colWidths, m_nFixedCols, viewport()->width() - FixedColumnsWidth());
    verticalScrollBar()->setRange(0, std::max(0, scrollRows - fitRows));
    verticalScrollBar()->setPageStep(std::max(1, fitRows));
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, std::max(0, scrollCols - fitCols));
    horizontalScrollBar()->setPageStep(std::max(1, fitCols));
    horizontalScrollBar()->setSingleStep(1);
}

void CGridCtrl::EnsureVisible(int row, int col)
{
    if (!IsValid(row, col))
        return;
    const auto bring = [](QScrollBar* bar, const std::vector<int>& sizes, int fixed, int index, int space) {
        if (index < fixed)
            return;
        const int pos = index - fixed;
        if (pos < bar->value()) {
            bar->setValue(pos);
            return;
        }
        // Scroll forward until the cell's far edge lies inside the visible space.
        int value = bar->value();
        while (value < pos && FitFrom(sizes, fixed + value, space) <= pos - value)
            ++value;
        bar->setValue(value);
    };
    bring(verticalScrollBar(), m_rowHeights, m_nFixedRows, row, viewport()->height() - HeaderRowsHeight());
    bring(horizontalScrollBar(), m_colWidths, m_nFixedCols, col, viewport()->width() - FixedColumnsWidth());
}

void CGridCtrl::scrollContentsBy(int, int)
{
    viewport()->update();
}

void CGridCtrl::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    UpdateScrollBars();
}

void CGridCtrl::changeEvent(QEvent* e)
{
    QAbstractScrollArea::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::PaletteChange) {
        UpdateScrollBars();
        viewport()->update();
    }
}

// --- painting -------------------------------------------------------------------------------

QColor CGridCtrl::ResolveColour(GridColour colour, const QColor& fallback) const
{
    if (colour == kGridDefaultColour)
        return fallback;
    return QColor::fromRgb(static_cast<QRgb>(colour | 0xFF000000u));
}

void CGridCtrl::DrawCell(QPainter& p, int row, int col, const QRect& r, bool fixed, bool onScreen) const
{
    const Cell* cell = CellAt(row, col);
    if (!cell || r.isEmpty())
        return;
    const QPalette& pal = palette();
    const QColor bk =
        fixed ? pal.color(QPalette::Button) : ResolveColour(cell->bkColour, pal.color(QPalette::Base));
    const QColor fg =
        fixed ? pal.color(QPalette::WindowText) : ResolveColour(cell->fgColour, pal.color(QPalette::Text));
    p.fillRect(r, bk);
    const bool selected = onScreen && row >= m_nFixedRows && IsRowSelected(row);
    if (selected) // a tint that keeps the greyed texts of the row readable
        p.fillRect(r, QColor(pal.color(QPalette::Highlight).red(), pal.color(QPalette::Highlight).green(),
                             pal.color(QPalette::Highlight).blue(), fixed ? 160 : 70));
    if (onScreen) {
        // Grid lines along the right and bottom edges; fixed cells get a raised edge.
        p.setPen(pal.color(QPalette::Dark));
        p.drawLine(r.topRight(), r.bottomRight());
        p.drawLine(r.bottomLeft(), r.bottomRight());
        if (fixed) {
            p.setPen(pal.color(QPalette::Light));
            p.drawLine(r.topLeft(), r.topRight() - QPoint(1, 0));
            p.drawLine(r.topLeft(), r.bottomLeft() - QPoint(0, 1));
        }
    }
    p.setPen(fg);
    p.setFont(cell->font.value_or(onScreen ? font() : p.font())); // printing: the caller's print font
    p.drawText(r.adjusted(kTextMargin, 1, -kTextMargin - 1, -2), cell->format, cell->text);
    if (onScreen && !fixed && (cell->state & GCS_FOCUSED)) {
        p.setPen(QPen(pal.color(QPalette::Highlight), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(1, 1, -1, -1));
    }
}

void CGridCtrl::paintEvent(QPaintEvent* e)
{
    QPainter p(viewport());
    QRegion clip(e->rect());
    if (m_bEditing)
        clip -= m_rcEdit;
    p.setClipRegion(clip);

    const int width = viewport()->width();
    const int height = viewport()->height();
    std::vector<int> rows;
    for (int r = 0; r < m_nFixedRows; ++r)
        rows.push_back(r);
    for (int r = FirstScrollRow(); r < GetRowCount(); ++r)
        rows.push_back(r);
    std::vector<int> cols;
    for (int c = 0; c < m_nFixedCols; ++c)
        cols.push_back(c);
    for (int c = FirstScrollCol(); c < GetColumnCount(); ++c)
        cols.push_back(c);

    int y = 0;
    for (int r : rows) {
        if (y >= height)
            break;
        const int h = GetRowHeight(r);
        int x = 0;
        for (int c : cols) {
            if (x >= width)
                break;
            const QRect cellRect(x, y, GetColumnWidth(c), h);
            if (cellRect.intersects(e->rect()))
                DrawCell(p, r, c, cellRect, r < m_nFixedRows || c < m_nFixedCols, true);
            x += GetColumnWidth(c);
        }
        y += h;
    }
}

// --- printing -------------------------------------------------------------------------------

void CGridCtrl::PrintCells(QPainter& p, int row, int y, bool fixed, int lineTop) const
{
    const int h = GetRowHeight(row);
    const QPen linePen(palette().color(QPalette::WindowText), 1);
    int x = 0;
    for (int c = 0; c < GetColumnCount(); ++c) {
        const int w = GetColumnWidth(c);
        DrawCell(p, row, c, QRect(x, y, w, h), fixed, false);
        const int left = c == 0 ? x : x - 1;
        const int right = x + w - 1;
        const int bottom = y + h - 1;
        p.setPen(linePen);
        p.drawLine(left, bottom, right, bottom);
        if (row == 0)
            p.drawLine(left, y, right, y);
        p.drawLine(right, lineTop, right, bottom);
        if (c == 0)
            p.drawLine(x, lineTop, x, bottom);
        x += w;
    }
}

void CGridCtrl::PrintHeaderRows(QPainter& painter) const
{
    int y = 0;
    for (int r = 0; r < m_nFixedRows; ++r) {
        PrintCells(painter, r, y, true, r == 0 ? y : y - 1);
        y += GetRowHeight(r);
    }
}

void CGridCtrl::PrintRow(QPainter& painter, int row) const
{
    if (row < 0 || row >= GetRowCount())
        return;
    PrintCells(painter, row, 0, false, row == 1 ? 0 : -1);
}

// --- input ----------------------------------------------------------------------------------

bool CGridCtrl::event(QEvent* e)
{
    // Tab and Shift+Tab move between cells. With Ctrl down, or with Tab handling off, Tab belongs
    // to the dialog: the focus leaves the grid for the next or previous control.
    if (e->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) {
            if (m_bHandleTabKey && !(ke->modifiers() & Qt::ControlModifier))
                keyPressEvent(ke);
            else
                focusNextPrevChild(ke->key() == Qt::Key_Tab && !(ke->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QAbstractScrollArea::event(e);
}

void CGridCtrl::mousePressEvent(QMouseEvent* e)
{
    m_pressed = {};
    const std::optional<GridCellId> hit = HitTest(e->position().toPoint());
    if (e->button() != Qt::LeftButton) {
        // A right click outside the selection makes its row the one the context menu acts on.
        if (e->button() == Qt::RightButton && m_bRowSelection && hit && hit->row >= m_nFixedRows &&
            !IsRowSelected(hit->row)) {
            ClearSelection();
            SetFocusCell(hit->row, std::max(hit->col, FirstScrollCol()));
        }
        QAbstractScrollArea::mousePressEvent(e);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (!hit)
        return;
    m_pressed = *hit;
    const bool inFixedRow = hit->row < m_nFixedRows;
    const bool inFixedCol = hit->col < m_nFixedCols;
    m_bPressInFixed = inFixedRow || inFixedCol;
    if (inFixedRow && inFixedCol)
        return;
    if (m_bRowSelection && inFixedCol)
        ClickRowHeader(hit->row, e->modifiers());
    else if (m_bRowSelection)
        ClearSelection();
    // A press on a header moves the focus to the nearest scrolling cell of that column or row.
    SetFocusCell(inFixedRow ? FirstScrollRow() : hit->row, inFixedCol ? FirstScrollCol() : hit->col);
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* e)
{
    // The second press of a double click arrives as this event alone: it is a press like any other,
    // so a quick click on the cell just edited opens its editor again.
    mousePressEvent(e);
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !IsValid(m_pressed.row, m_pressed.col)) {
        QAbstractScrollArea::mouseReleaseEvent(e);
        return;
    }
    const GridCellId pressed = m_pressed;
    m_pressed = {};
    if (!m_bPressInFixed)
        RequestEdit(m_focus.row, m_focus.col);
    emit CellClicked(pressed.row, pressed.col);
}

void CGridCtrl::keyPressEvent(QKeyEvent* e)
{
    const bool vertical = e->key() == Qt::Key_Up || e->key() == Qt::Key_Down || e->key() == Qt::Key_PageUp ||
                          e->key() == Qt::Key_PageDown || e->key() == Qt::Key_Home || e->key() == Qt::Key_End;
    const bool horizontal = e->key() == Qt::Key_Left || e->key() == Qt::Key_Right ||
                            e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab;
    if (!m_bRowSelection || !(vertical || horizontal)) {
        MoveByKey(e);
        return;
    }
    // Shift with a vertical move extends the selection from the anchor; a plain move clears it.
    const int before = m_focus.row;
    const bool extend = vertical && (e->modifiers() & Qt::ShiftModifier);
    MoveByKey(e);
    if (!extend) {
        ClearSelection();
        return;
    }
    if (!IsValid(m_anchorRow, 0))
        m_anchorRow = IsValid(before, 0) && before >= m_nFixedRows ? before : m_focus.row;
    SelectRows(m_anchorRow, m_focus.row);
}

void CGridCtrl::MoveByKey(QKeyEvent* e)
{
    const int firstRow = m_nFixedRows;
    const int firstCol = m_nFixedCols;
    const int lastRow = GetRowCount() - 1;
    const int lastCol = GetColumnCount() - 1;
    if (lastRow < firstRow || lastCol < firstCol) {
        QAbstractScrollArea::keyPressEvent(e);
        return;
    }
    const bool hasFocusCell = IsValid(m_focus.row, m_focus.col);
    const int row = hasFocusCell ? m_focus.row : firstRow;
    const int col = hasFocusCell ? m_focus.col : firstCol;
    const int page = std::max(1, VisibleScrollRows());
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        RequestEdit(m_focus.row, m_focus.col);
        return;
    case Qt::Key_Up:
        MoveFocus(hasFocusCell ? row - 1 : row, col);
        return;
    case Qt::Key_Down:
        MoveFocus(hasFocusCell ? row + 1 : row, col);
        return;
    case Qt::Key_Left:
        MoveFocus(row, hasFocusCell ? col - 1 : col);
        return;
    case Qt::Key_Right:
        MoveFocus(row, hasFocusCell ? col + 1 : col);
        return;
    case Qt::Key_Tab:
        if (!hasFocusCell)
            MoveFocus(row, col);
        else if (col < lastCol)
            MoveFocus(row, col + 1);
        else if (row < lastRow)
            MoveFocus(row + 1, firstCol);
        return;
    case Qt::Key_Backtab:
        if (!hasFocusCell)
            MoveFocus(row, col);
        else if (col > firstCol)
            MoveFocus(row, col - 1);
        else if (row > firstRow)
            MoveFocus(row - 1, lastCol);
        return;
    case Qt::Key_PageUp:
        MoveFocus(row - page, col);
        return;
    case Qt::Key_PageDown:
        MoveFocus(row + page, col);
        return;
    case Qt::Key_Home:
        MoveFocus(firstRow, col);
        return;
    case Qt::Key_End:
        MoveFocus(lastRow, col);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(e);
    }
}

void CGridCtrl::wheelEvent(QWheelEvent* e)
{
    const QPoint delta = e->angleDelta();
    const bool vertical = delta.y() != 0;
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    m_nWheelRemainder += vertical ? delta.y() : delta.x();
    const int notches = m_nWheelRemainder / kWheelNotch;
    m_nWheelRemainder %= kWheelNotch;
    if (notches != 0) {
        const int lines = QApplication::wheelScrollLines();
        const int step = lines <= 0 ? bar->pageStep() : lines; // a setting of -1 means a page
        bar->setValue(bar->value() - notches * step);
    }
    e->accept();
}
