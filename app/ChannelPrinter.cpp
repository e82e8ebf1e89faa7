#include "app/ChannelPrinter.h"

#include "grid/GridCtrl.h"
#include "i18n/LangText.h"
#include "i18n/QtTranslations.h"
#include "radio/FunctionFields.h"
#include "res/ControlIds.h"
#include "res/DialogBuilder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTime>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <array>
#include <optional>

namespace {

// One entry of the function settings block: the control of the function page that names a setting
// and the one that shows its value; a check box is both.
struct FunctionEntry
{
    int label = 0; // 0: no entry
    int value = 0;
    bool check = false;
};

constexpr std::size_t kFunctionColumns = 3;
using FunctionLine = std::array<FunctionEntry, kFunctionColumns>;

// The settings in the order of their table, three to a line, then the PTT ID code in the last
// column of the last line.
const std::vector<FunctionLine>& FunctionBlock()
{
    static const std::vector<FunctionLine> block = [] {
        std::vector<FunctionEntry> entries;
        for (const FunctionField& f : FunctionSettings::kFields)
            entries.push_back({f.label, f.control, f.IsCheck()});
        entries.resize(entries.size() - entries.size() % kFunctionColumns + kFunctionColumns - 1);
        entries.push_back({idc::function::PttIdCodeLabel, idc::function::PttIdCode, false});
        std::vector<FunctionLine> lines(entries.size() / kFunctionColumns);
        for (std::size_t i = 0; i < entries.size(); ++i)
            lines[i / kFunctionColumns][i % kFunctionColumns] = entries[i];
        return lines;
    }();
    return block;
}

// The printed text of a control as the user sees it.
QString ControlText(const QWidget* w)
{
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(w))
        return combo->currentText();
    if (const auto* edit = qobject_cast<const QLineEdit*>(w))
        return edit->text();
    return {};
}

QString EntryText(const QWidget& page, const FunctionEntry& e)
{
    const QWidget* label = GetDlgItem(&page, e.label);
    if (!label)
        return {};
    QString value;
    if (e.check) {
        const auto* box = qobject_cast<const QAbstractButton*>(label);
        value = QString::fromStdString(LoadLangString(box && box->isChecked() ? "IDS_YES" : "IDS_NO"));
    } else {
        value = ControlText(GetDlgItem(&page, e.value));
    }
    return ControlText(label) + QStringLiteral(" : ") + value;
}

// Face and size of every printed text, in units of the logical page (the grid's pixels).
QFont PrintFont()
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(11);
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setStretch(90);
    return font;
}

// Between the entries of a line of the function block.
constexpr int kEntryGap = 8;

// The page layout chosen in Print Setup; none until the user has chosen one.
std::optional<QPageLayout>& ChosenLayout()
{
    static std::optional<QPageLayout> layout;
    return layout;
}

} // namespace

CChannelPrinter::CChannelPrinter(const CGridCtrl& grid, const QWidget& functionPage)
    : m_grid(grid), m_functionPage(functionPage)
{
    for (int row = m_grid.GetFixedRowCount(); row < m_grid.GetRowCount(); ++row)
        if (!m_grid.GetItemText(row, 1).isEmpty())
            m_usedRows.push_back(row);
}

int CChannelPrinter::PageCountFor(int channelsInUse)
{
    if (channelsInUse <= kFirstPageRows)
        return 1;
    const int more = (channelsInUse - kFirstPageRows + kPageRows - 1) / kPageRows;
    return std::min(kMaxPages, 1 + more);
}

std::vector<int> CChannelPrinter::RowsOfPage(int page) const
{
    if (page < 1 || page > PageCount())
        return {};
    const int first = page == 1 ? 0 : kFirstPageRows + (page - 2) * kPageRows;
    const int count = page == 1 ? kFirstPageRows : kPageRows;
    const int size = static_cast<int>(m_usedRows.size());
    const int last = std::min(size, first + count);
    return {m_usedRows.begin() + std::min(first, size), m_usedRows.begin() + last};
}

std::vector<std::vector<QString>> CChannelPrinter::FunctionLines() const
{
    std::vector<std::vector<QString>> lines;
    for (const FunctionLine& line : FunctionBlock()) {
        std::vector<QString> texts;
        for (const FunctionEntry& e : line)
            texts.push_back(e.label ? EntryText(m_functionPage, e) : QString());
        lines.push_back(std::move(texts));
    }
    return lines;
}

QString CChannelPrinter::DateLine() const
{
    // The weekday in the language of the printout, whatever the locale of the process.
    const QDateTime time = QDateTime::fromSecsSinceEpoch(m_printTime);
    return time.toString(QStringLiteral("yyyy-MM-dd ")) + LanguageLocale().dayName(time.date().dayOfWeek()) +
           time.toString(QStringLiteral(" HH:mm"));
}

int CChannelPrinter::ContentHeight(int page) const
{
    int height = m_grid.GetRowHeight(0) + m_grid.HeaderRowsHeight();
    if (page == 1)
        height += static_cast<int>(FunctionBlock().size()) * m_grid.GetRowHeight(1);
    for (int row : RowsOfPage(page))
        height += m_grid.GetRowHeight(row);
    return height;
}

void CChannelPrinter::Begin(QPainter& painter)
{
    if (m_printTime == 0)
        m_printTime = std::time(nullptr);
    // Margins of four average characters of the print font, in logical units, so that the
    // layout does not depend on the printer's resolution.
    const QFontMetricsF fm(PrintFont());
    const int avg = static_cast<int>(
        fm.horizontalAdvance(QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ")) / 52);
    m_margin = 4 * std::max(1, avg);
    m_pageWidth = m_grid.TotalWidth() + 2 * m_margin;
    const QPaintDevice* device = painter.device();
    const int devW = std::max(1, device->width());
    const int devH = std::max(1, device->height());
    m_pageHeight = qRound(static_cast<double>(m_pageWidth) * devH / devW);
    // Paper wider than tall holds fewer rows at this scale: enlarge the logical page, keeping the
    // paper's shape, until the fullest page of the job fits, and centre the table across it.
    int needed = 0;
    for (int page = 1; page <= PageCount(); ++page)
        needed = std::max(needed, ContentHeight(page));
    if (needed > m_pageHeight) {
        m_pageHeight = needed;
        m_pageWidth = qRound(static_cast<double>(needed) * devW / devH);
        m_margin = (m_pageWidth - m_grid.TotalWidth()) / 2;
    }
}

void CChannelPrinter::PrintPage(QPainter& painter, int page) const
{
    painter.save();
    painter.setFont(PrintFont());
    painter.setPen(Qt::black);
    const QPaintDevice* device = painter.device();
    painter.setViewport(0, 0, device->width(), device->height());
    painter.setWindow(0, 0, m_pageWidth, m_pageHeight);
    painter.translate(m_margin, 0);

    const int tableWidth = m_grid.TotalWidth();
    const int headerHeight = m_grid.GetRowHeight(0);
    const QRect dateRect(0, 0, tableWidth, headerHeight);
    painter.drawText(dateRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, DateLine());
    int y = headerHeight;

    if (page == 1) {
        // Three columns over the table's width; an entry too long for its column is elided.
        const int lineHeight = m_grid.GetRowHeight(1);
        const int columnWidth = tableWidth / 3;
        const QFontMetrics fm(painter.font());
        for (const auto& line : FunctionLines()) {
            for (int c = 0; c < static_cast<int>(line.size()); ++c) {
                if (line[c].isEmpty())
                    continue;
                const QRect r(c * columnWidth, y, columnWidth - kEntryGap, lineHeight);
                painter.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                                 fm.elidedText(line[c], Qt::ElideRight, r.width()));
            }
            y += lineHeight;
        }
    }

    painter.translate(0, y);
    m_grid.PrintHeaderRows(painter);
    painter.translate(0, m_grid.HeaderRowsHeight());
    for (int row : RowsOfPage(page)) {
        m_grid.PrintRow(painter, row);
        painter.translate(0, m_grid.GetRowHeight(row));
    }
    painter.restore();
}

bool CChannelPrinter::Print(QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    Begin(painter);
    int first = 1;
    int last = PageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(first, printer.fromPage());
        last = std::min(last, printer.toPage() > 0 ? printer.toPage() : last);
    }
    for (int page = first; page <= last; ++page) {
        if (page != first)
            printer.newPage();
        PrintPage(painter, page);
    }
    return painter.end();
}

void CChannelPrinter::PreparePrinter(QPrinter& printer)
{
    if (ChosenLayout())
        printer.setPageLayout(*ChosenLayout());
    else
        printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    printer.setFromTo(0, 0);
    printer.setDocName(QStringLiteral("ZQ708"));
}

bool CChannelPrinter::PrintSetup(QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer);
    QPageSetupDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    ChosenLayout() = printer.pageLayout();
    return true;
}

bool CChannelPrinter::PrintWithDialog(QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, PageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return Print(printer);
}

bool CChannelPrinter::PrintWithoutDialog(QWidget* parent)
{
    // Without a printer there is nowhere to send the job silently: let the user choose a file.
    if (QPrinterInfo::defaultPrinter().isNull())
        return PrintWithDialog(parent);
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer);
    return Print(printer);
}

void CChannelPrinter::PrintPreview(QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer);
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [this](QPrinter* p) { Print(*p); });
    if (auto* preview = dialog.findChild<QPrintPreviewWidget*>())
        preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    dialog.exec();
}
