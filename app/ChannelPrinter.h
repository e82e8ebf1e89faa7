#pragma once
// Paints the printout of the current data: a date line on every page, the function settings on
// page 1 and the channels in use as rows of the channel table, drawn by the grid itself. It reads
// only what the pages show, so the printout matches the screen in the current language.

#include <QString>
#include <ctime>
#include <vector>

class CGridCtrl;
class QPainter;
class QPrinter;
class QWidget;

class CChannelPrinter final
{
public:
    // Channels in use per page: 20 on page 1 (which also holds the function settings), 30 after.
    static constexpr int kFirstPageRows = 20;
    static constexpr int kPageRows = 30;
    static constexpr int kMaxPages = 5;

    // `grid` is the channel table (row n = channel n); `functionPage` is the function settings
    // page, whose controls are found by their template ids.
    CChannelPrinter(const CGridCtrl& grid, const QWidget& functionPage);

    // 1 for up to 20 channels in use (none included), then one more page per 30, at most 5.
    static int PageCountFor(int channelsInUse);
    int PageCount() const { return PageCountFor(static_cast<int>(m_usedRows.size())); }
    // Grid rows printed on page `page` (1-based).
    std::vector<int> RowsOfPage(int page) const;
    // The function settings block: lines of 3 entries "label : value" (empty: no entry).
    std::vector<std::vector<QString>> FunctionLines() const;

    // The time printed in the date line; the moment printing begins unless set.
    void SetPrintTime(std::time_t t) { m_printTime = t; }

    // Lays out the logical page for the painter's device; call once before PrintPage.
    void Begin(QPainter& painter);
    // Paints page `page` (1-based) with the layout of Begin.
    void PrintPage(QPainter& painter, int page) const;
    // The whole job on a printer (or PDF), honouring a page range chosen in the print dialog.
    // False when the printer could not be started.
    bool Print(QPrinter& printer);

    // The three commands of the view. Each returns false when nothing was printed (cancelled
    // dialog, no printer).
    bool PrintWithDialog(QWidget* parent);
    bool PrintWithoutDialog(QWidget* parent);
    void PrintPreview(QWidget* parent);

    // Print Setup: paper, orientation and margins for every later job of this run.
    static bool PrintSetup(QWidget* parent);
    // What every job starts from: the paper chosen in Print Setup (margins of 15 mm until then),
    // all pages, the document name.
    static void PreparePrinter(QPrinter& printer);

private:
    QString DateLine() const;
    // Height of what page `page` holds, from the date line to its last row, in logical units.
    int ContentHeight(int page) const;

    const CGridCtrl& m_grid;
    const QWidget& m_functionPage;
    std::vector<int> m_usedRows;
    std::time_t m_printTime = 0;
    // Layout of the logical page, in the grid's pixel units.
    int m_margin = 0;
    int m_pageWidth = 0;
    int m_pageHeight = 0;
};
