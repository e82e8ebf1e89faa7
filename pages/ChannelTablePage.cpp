#include "pages/ChannelTablePage.h"

#include "app/AppPaths.h"
#include "app/CsvCommands.h"
#include "app/MessageBox.h"
#include "grid/GridCtrl.h"
#include "i18n/LangText.h"
#include "i18n/Profile.h"
#include "i18n/RelabelDialog.h"
#include "pages/CellListCombo.h"
#include "pages/FrequencyEdit.h"
#include "pages/InPlaceEdit.h"
#include "pages/NameEdit.h"
#include "pages/ToneCombo.h"
#include "radio/ChannelCsv.h"
#include "radio/ChannelRows.h"
#include "radio/ModelInfo.h"
#include "res/DialogBuilder.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QSignalBlocker>
#include <algorithm>
#include <iterator>
#include <new>

namespace {

// Sizes the table is designed for, in pixels; a larger font widens and heightens them to fit.
constexpr int kColumnWidths[CChannelTablePage::kCols] = {40, 75, 65, 75, 65, 55, 50, 55, 65, 65, 55, 70, 50};
constexpr int kHeaderHeight = 28;
constexpr int kRowHeight = 21;
constexpr int kCellMargin = 8;

// The two-choice columns 5..11, one per channel choice in the table's order.
static_assert(CChannelTablePage::ColCompander - CChannelTablePage::ColPower + 1 ==
              std::ssize(kChannelChoices));

// Every column but the fixed number column has an editor: frequency, tone, choice or name.
static_assert(CChannelTablePage::ColName == CChannelTablePage::ColCompander + 1 &&
              CChannelTablePage::ColName == CChannelTablePage::kCols - 1);

const ChannelChoiceField& ChoiceAt(int col)
{
    return kChannelChoices[col - CChannelTablePage::ColPower];
}

bool IsChoiceColumn(int col)
{
    return col >= CChannelTablePage::ColPower && col <= CChannelTablePage::ColCompander;
}

QString LangText(const char* key)
{
    return QString::fromStdString(LoadLangString(key));
}

GridColour ToGridColour(const QColor& c)
{
    return c.rgb() & 0x00FFFFFFu;
}

// An action on `count` channels, named in the singular for one.
EditStep CountStep(const char* one, const char* many, int count)
{
    return {count == 1 ? one : many, count};
}

} // namespace

CChannelTablePage::CChannelTablePage(CVantorDoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_editor(doc)
{
    CDialogBuilder::Build(this, g_dlgChannel, [](int id, QWidget* owner) -> QWidget* {
        switch (id) {
        case idc::channel::Grid:
            return new CGridCtrl(owner);
        case idc::channel::FreqEdit:
            return new CFrequencyEdit(owner);
        case idc::channel::RxTone:
        case idc::channel::TxTone:
            return new CToneCombo(owner);
        case idc::channel::Choice:
            return new CCellListCombo(owner);
        case idc::channel::NameEdit:
            return new CNameEdit(owner);
        default:
            return new QWidget(owner);
        }
    });
    m_grid = GetDlgItemAs<CGridCtrl>(this, idc::channel::Grid);
    m_range = GetDlgItemAs<QComboBox>(this, idc::channel::Range);
    m_freqEdit = GetDlgItemAs<CFrequencyEdit>(this, idc::channel::FreqEdit);
    m_rxTone = GetDlgItemAs<CToneCombo>(this, idc::channel::RxTone);
    m_txTone = GetDlgItemAs<CToneCombo>(this, idc::channel::TxTone);
    m_choice = GetDlgItemAs<CCellListCombo>(this, idc::channel::Choice);
    m_nameEdit = GetDlgItemAs<CNameEdit>(this, idc::channel::NameEdit);

    // The editors' lost-focus notifications come through the event filter.
    for (QWidget* editor :
         std::initializer_list<QWidget*>{m_freqEdit, m_rxTone, m_txTone, m_choice, m_nameEdit})
        editor->installEventFilter(this);

    connect(m_grid, &CGridCtrl::EditRequested, this, &CChannelTablePage::OnBeginEdit);
    connect(m_range, &QComboBox::activated, this, &CChannelTablePage::OnRangeSelected);
    // Picking a tone or a choice ends the edit at once and stores it.
    connect(m_rxTone, &QComboBox::currentIndexChanged, this, [this] { OnToneKillFocus(m_rxTone); });
    connect(m_txTone, &QComboBox::currentIndexChanged, this, [this] { OnToneKillFocus(m_txTone); });
    connect(m_choice, &QComboBox::currentIndexChanged, this, &CChannelTablePage::OnChoiceSelChange);
    connect(m_grid, &CGridCtrl::SelectionChanged, this, &CChannelTablePage::RowsChanged);
    connect(m_grid, &CGridCtrl::FocusChanged, this, &CChannelTablePage::RowsChanged);

    ReloadFromImage();
}

CChannelTablePage::~CChannelTablePage() = default;

// --- loading ----------------------------------------------------------------------------------

void CChannelTablePage::ReloadFromImage()
{
    RelabelDialog(this, g_dlgChannel.id);

    {
        const QSignalBlocker quiet(m_range);
        m_range->clear();
        for (const std::string& name : ModelInfo::EntryNames())
            m_range->addItem(QString::fromStdString(name));
        m_range->setCurrentIndex(m_doc.FindModelEntry());
    }

    // The tone cells take their texts from these lists, so they are filled first.
    m_rxTone->FillToneList();
    m_txTone->FillToneList();

    BuildGrid();
}

bool CChannelTablePage::BuildGrid()
{
    if (m_grid->GetRowCount() != kRows) {
        try {
            m_grid->SetRowCount(kRows);
            m_grid->SetColumnCount(kCols);
            m_grid->SetFixedRowCount(1);
            m_grid->SetFixedColumnCount(1);
            m_grid->EnableSelection(false);
            m_grid->EnableRowSelection(true);
            m_grid->EnableRowColResize(false, false); // a new grid has no selection and no focus cell
        } catch (const std::bad_alloc&) {
            ShowMessage(LoadLangString("IDS_ERROR"), "Out of memory.", MsgIcon::Stop);
            return false;
        }
    }
    m_grid->SetRedraw(false); // while the rows are filled

    // Headers: columns 1 to 4 wrap; so does column 9 in English, whose heading is long.
    const std::vector<std::string> headers = LoadHeaderTexts("ChText", "IDS_ChText", kCols);
    const bool english = ReadProfileString(g_strSettingFile, "setup", "language", "", 30).starts_with('e');
    for (int c = 0; c < kCols; ++c) {
        m_grid->SetItemText(0, c, QString::fromStdString(headers[static_cast<std::size_t>(c)]));
        const bool wrap = (c >= ColRx && c <= ColTxTone) || (c == ColReverse && english);
        m_grid->SetItemFormat(0, c, wrap ? kGridCentredWrapped : kGridCentred);
    }
    for (int n = 1; n < kRows; ++n) { // their cells keep the grid's own centred format
        m_grid->SetItemText(n, ColNumber, QString::number(n));
        RefreshRow(n);
    }
    FitColumnsAndRows();
    m_grid->SetRedraw(true, true);
    return true;
}

void CChannelTablePage::FitColumnsAndRows()
{
    // The designed sizes suit a small font; with a larger one (or longer texts of another language)
    // columns widen to their widest possible text and rows grow to the font.
    const QFontMetrics fm = m_grid->fontMetrics();
    const QPoint dpi(m_grid->logicalDpiX(), m_grid->logicalDpiY());
    if (m_grid->font() != m_measuredFont || dpi != m_measuredDpi) {
        m_textWidths.clear();
        m_measuredFont = m_grid->font();
        m_measuredDpi = dpi;
    }
    const auto textWidth = [&](const QString& s) {
        auto it = m_textWidths.constFind(s);
        if (it == m_textWidths.constEnd())
            it = m_textWidths.insert(s, fm.horizontalAdvance(s) + kCellMargin);
        return *it;
    };
    const auto widest = [&](const QStringList& texts) {
        int w = 0;
        for (const QString& s : texts)
            w = std::max(w, textWidth(s));
        return w;
    };
    QStringList tones;
    for (int i = 0; i < m_rxTone->count(); ++i)
        tones << m_rxTone->itemText(i);
    const int tonesWidth = widest(tones); // both tone columns

    int headerHeight = kHeaderHeight;
    for (int c = 0; c < kCols; ++c) {
        int samplesWidth = 0;
        if (c == ColNumber)
            samplesWidth = textWidth(QStringLiteral("128"));
        else if (c == ColRx || c == ColTx)
            samplesWidth = textWidth(QStringLiteral("888.88888"));
        else if (c == ColRxTone || c == ColTxTone)
            samplesWidth = tonesWidth;
        else if (IsChoiceColumn(c))
            samplesWidth = widest(ChoiceTexts(c));
        else
            samplesWidth = textWidth(QStringLiteral("WWWWW"));
        const QString header = m_grid->GetItemText(0, c);
        GridItem item; // in row 0, the header
        item.col = c;
        m_grid->GetCell(item);
        const bool wrap = item.format & Qt::TextWordWrap;
        // A wrapped header needs room for its longest word, a single-line one for all of it.
        const int headerWidth = wrap ? widest(header.split(u' ', Qt::SkipEmptyParts)) : textWidth(header);
        const int width = std::max({kColumnWidths[c], samplesWidth, headerWidth});
        m_grid->SetColumnWidth(c, width);
        const QRect need = fm.boundingRect(QRect(QPoint(), QSize(width - kCellMargin, QWIDGETSIZE_MAX)),
                                           item.format, header);
        headerHeight = std::max(headerHeight, need.height() + kCellMargin);
    }
    m_grid->SetRowHeight(0, headerHeight);
    const int rowHeight = std::max(kRowHeight, fm.height() + kCellMargin);
    for (int n = 1; n < kRows; ++n)
        m_grid->SetRowHeight(n, rowHeight);
}

QStringList CChannelTablePage::ChoiceTexts(int col) const
{
    const ChannelChoiceField& field = ChoiceAt(col);
    return {LangText(field.texts[0]), LangText(field.texts[1])};
}

void CChannelTablePage::RefreshRow(int n)
{
    const bool empty = m_doc.IsRecordEmpty(n);
    const bool noTransmit = m_doc.HasNoTransmit(n);
    const GridColour grey = ToGridColour(palette().color(QPalette::Disabled, QPalette::Text));
    for (int c = ColRx; c < kCols; ++c) {
        const bool disabled = empty ? c != ColRx : (c == ColTxTone && noTransmit);
        const unsigned state = m_grid->GetItemState(n, c) & ~GCS_READONLY;
        m_grid->SetItemState(n, c, state | (disabled ? unsigned{GCS_READONLY} : 0u));
        m_grid->SetItemFgColour(n, c, disabled ? grey : kGridDefaultColour);
    }
    if (empty) {
        for (int c = ColRx; c < kCols; ++c)
            m_grid->SetItemText(n, c, QString());
        return;
    }

    EndAllEdits();
    m_grid->SetItemText(n, ColRx, QString::fromStdString(m_editor.RxText(n)));
    m_grid->SetItemText(n, ColRxTone, m_rxTone->itemText(m_doc.ToneIndex(n, ToneDir::Rx)));
    m_grid->SetItemText(n, ColTx, QString::fromStdString(m_editor.TxText(n)));
    m_grid->SetItemText(n, ColTxTone,
                        noTransmit ? QString() : m_txTone->itemText(m_doc.ToneIndex(n, ToneDir::Tx)));
    for (int c = ColPower; c <= ColCompander; ++c)
        m_grid->SetItemText(n, c, ChoiceTexts(c).at(m_editor.GetChoice(n, ChoiceAt(c).choice)));
    m_grid->SetItemText(n, ColName, QString::fromStdString(CVantorDoc::DecodeName(m_doc.GetName(n))));
}

void CChannelTablePage::EndAllEdits()
{
    m_freqEdit->EndEdit();
    m_rxTone->EndEdit();
    m_txTone->EndEdit();
    m_choice->EndEdit();
    m_nameEdit->EndEdit();
    m_grid->SetEditing(false);
}

// --- editing ----------------------------------------------------------------------------------

void CChannelTablePage::OnBeginEdit(const GridNotify& notify)
{
    // The grid gives the cell in its parent's coordinates, which are this page's.
    const QRect rect = notify.rect;
    const QString text = notify.item.text;
    m_nEditRow = notify.item.row;
    m_nEditCol = notify.item.col;
    m_grid->SetEditing(true);
    switch (m_nEditCol) {
    case ColRx:
    case ColTx:
        m_freqEdit->BeginEdit(rect, text);
        break;
    case ColRxTone:
        m_rxTone->BeginEdit(rect, text);
        break;
    case ColTxTone:
        m_txTone->BeginEdit(rect, text);
        break;
    case ColName:
        m_nameEdit->BeginEdit(rect, text);
        break;
    default: { // a two-choice column: the grid asks for no other (the number column is fixed)
        const QSignalBlocker quiet(m_choice);
        m_choice->clear();
        m_choice->addItems(ChoiceTexts(m_nEditCol));
        m_choice->BeginEdit(rect, text);
    }
    }
}

bool CChannelTablePage::eventFilter(QObject* watched, QEvent* event)
{
    if (EndsInPlaceEdit(watched, event)) {
        if (watched == m_freqEdit)
            OnFrequencyKillFocus();
        else if (watched == m_rxTone || watched == m_txTone)
            OnToneKillFocus(static_cast<CToneCombo*>(watched));
        else if (watched == m_choice)
            OnChoiceKillFocus();
        else if (watched == m_nameEdit)
            OnNameKillFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void CChannelTablePage::FinishEdit(bool changed)
{
    if (changed)
        m_doc.RecordEdit({"IDS_EDIT_CELL", m_nEditRow});
    // Enter and Esc hand the focus to the page; the grid takes it on so the keys keep moving cells.
    if (hasFocus())
        m_grid->setFocus(Qt::OtherFocusReason);
}

void CChannelTablePage::OnFrequencyKillFocus()
{
    if (!m_freqEdit->IsOpen())
        return;
    m_grid->SetEditing(false);
    const std::string text = m_freqEdit->text().toStdString();
    const bool changed =
        m_nEditCol == ColRx ? m_editor.StoreRx(m_nEditRow, text) : m_editor.StoreTx(m_nEditRow, text);
    m_freqEdit->EndEdit();
    RefreshRow(m_nEditRow);
    FinishEdit(changed);
}

void CChannelTablePage::OnToneKillFocus(CToneCombo* editor)
{
    if (!editor->IsOpen())
        return;
    m_grid->SetEditing(false);
    const ToneDir dir = editor == m_rxTone ? ToneDir::Rx : ToneDir::Tx;
    const bool changed = m_editor.StoreTone(m_nEditRow, dir, std::max(0, editor->currentIndex()));
    editor->EndEdit();
    RefreshRow(m_nEditRow);
    FinishEdit(changed);
}

void CChannelTablePage::OnChoiceSelChange(int index)
{
    if (!m_choice->IsOpen() || !IsChoiceColumn(m_nEditCol))
        return;
    m_grid->SetEditing(false);
    const bool changed = m_editor.StoreChoice(m_nEditRow, ChoiceAt(m_nEditCol).choice, int{index == 1});
    m_choice->EndEdit();
    RefreshRow(m_nEditRow);
    FinishEdit(changed);
}

void CChannelTablePage::OnChoiceKillFocus()
{
    if (!m_choice->IsOpen())
        return;
    m_grid->SetEditing(false);
    m_choice->EndEdit();
    FinishEdit(false);
}

void CChannelTablePage::OnNameKillFocus()
{
    if (!m_nameEdit->IsOpen())
        return;
    m_grid->SetEditing(false);
    const bool changed = m_editor.StoreName(m_nEditRow, m_nameEdit->text().toStdString());
    m_nameEdit->EndEdit();
    RefreshRow(m_nEditRow);
    FinishEdit(changed);
}

// --- frequency range --------------------------------------------------------------------------

void CChannelTablePage::OnRangeSelected(int index)
{
    const int current = m_doc.FindModelEntry();
    if (index == current)
        return;
    if (ShowMessage(LoadLangString("IDS_CONFIRM"), LoadLangString("IDS_CONFIRM_FREQ"), MsgIcon::Exclamation,
                    MsgButtons::OkCancel) != MsgResult::Ok) {
        const QSignalBlocker quiet(m_range);
        m_range->setCurrentIndex(current);
        return;
    }
    m_doc.DeleteContents();
    m_doc.ApplyModelEntry(index);
    m_doc.RecordEdit({"IDS_EDIT_RANGE"});
    m_doc.UpdateAllViews();
}

// --- row commands -----------------------------------------------------------------------------

bool CChannelTablePage::IsEditing() const
{
    return m_grid->IsEditing();
}

int CChannelTablePage::FocusChannel() const
{
    const int focus = m_grid->GetFocusCell().row;
    if (focus >= 1)
        return focus;
    const std::vector<int> rows = m_grid->GetSelectedRows();
    return rows.empty() ? 0 : rows.front();
}

std::vector<int> CChannelTablePage::SelectedChannels() const
{
    std::vector<int> rows = m_grid->GetSelectedRows();
    if (rows.empty() && m_grid->GetFocusCell().row >= 1)
        rows.push_back(m_grid->GetFocusCell().row);
    return rows;
}

bool CChannelTablePage::CanMove(int delta) const
{
    const std::vector<int> rows = SelectedChannels();
    return !rows.empty() && rows.front() + delta >= 1 && rows.back() + delta < kRows;
}

void CChannelTablePage::FinishRowCommand(EditStep step, int first, int last)
{
    m_doc.RecordEdit(std::move(step));
    m_doc.UpdateAllViews();
    if (first > 0)
        m_grid->SelectRows(first, last);
}

void CChannelTablePage::OnEditCopy()
{
    const std::vector<int> rows = SelectedChannels();
    if (!rows.empty())
        QGuiApplication::clipboard()->setText(QString::fromStdString(CChannelCsv(m_doc).Copy(rows)));
}

void CChannelTablePage::OnEditCut()
{
    const std::vector<int> rows = SelectedChannels();
    if (rows.empty())
        return;
    OnEditCopy();
    EndAllEdits();
    CChannelRows(m_doc).Empty(rows);
    FinishRowCommand(CountStep("IDS_EDIT_CUT_ONE", "IDS_EDIT_CUT", static_cast<int>(rows.size())));
}

void CChannelTablePage::OnDeleteChannels()
{
    const std::vector<int> rows = SelectedChannels();
    if (rows.empty())
        return;
    EndAllEdits();
    CChannelRows(m_doc).Empty(rows);
    FinishRowCommand(CountStep("IDS_EDIT_DELETE_ONE", "IDS_EDIT_DELETE", static_cast<int>(rows.size())));
}

void CChannelTablePage::OnEditPaste()
{
    const int first = std::max(FocusChannel(), 1);
    EndAllEdits();
    const CsvImportReport report =
        CChannelCsv(m_doc).Paste(QGuiApplication::clipboard()->text().toStdString(), first);
    if (!report.headerFound) {
        ShowMessage(LoadLangString("IDS_ERROR"), LoadLangString("IDS_PASTE_NOHEADER"), MsgIcon::Stop);
        return;
    }
    const int rows = report.imported + static_cast<int>(report.rejected.size());
    if (report.imported > 0)
        FinishRowCommand(CountStep("IDS_EDIT_PASTE_ONE", "IDS_EDIT_PASTE", report.imported), first,
                         std::min<int>(first + rows - 1, kRows - 1));
    if (!report.rejected.empty() || !report.adjusted.empty() || report.leftOut > 0)
        ShowMessage(LoadLangString("IDS_PROMPT"), CCsvCommands::ReportText(report, true),
                    MsgIcon::Exclamation);
}

void CChannelTablePage::OnInsertChannel()
{
    const int at = FocusChannel();
    if (at < 1)
        return;
    EndAllEdits();
    if (!CChannelRows(m_doc).InsertEmpty(at)) {
        ShowMessage(LoadLangString("IDS_PROMPT"), LoadLangString("IDS_EDIT_INSERT_FULL"),
                    MsgIcon::Exclamation);
        return;
    }
    FinishRowCommand({"IDS_EDIT_INSERT", at}, at, at);
}

void CChannelTablePage::Move(int delta)
{
    const std::vector<int> rows = SelectedChannels();
    const bool selected = !m_grid->GetSelectedRows().empty();
    EndAllEdits();
    if (!CChannelRows(m_doc).Move(rows, delta))
        return;
    const int count = static_cast<int>(rows.size());
    FinishRowCommand(delta < 0 ? CountStep("IDS_EDIT_MOVEUP_ONE", "IDS_EDIT_MOVEUP", count)
                               : CountStep("IDS_EDIT_MOVEDOWN_ONE", "IDS_EDIT_MOVEDOWN", count));
    // The selection and the focus travel with the channels.
    std::vector<int> moved;
    for (int n : rows)
        moved.push_back(n + delta);
    if (selected)
        m_grid->SetSelectedRows(moved);
    const GridCellId focus = m_grid->GetFocusCell();
    if (std::find(rows.begin(), rows.end(), focus.row) != rows.end()) {
        m_grid->SetFocusCell(focus.row + delta, focus.col);
        m_grid->EnsureVisible(focus.row + delta, focus.col);
    }
}

void CChannelTablePage::OnMoveUp()
{
    Move(-1);
}

void CChannelTablePage::OnMoveDown()
{
    Move(+1);
}

void CChannelTablePage::OnSelectAll()
{
    m_grid->SelectRows(1, kRows - 1);
}

void CChannelTablePage::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_grid->geometry().contains(event->pos()))
        emit ContextMenuRequested(event->globalPos());
}
