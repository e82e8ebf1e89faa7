#pragma once
// A channel grid and a function page as the pages show them, for printing without a document.

#include "grid/GridCtrl.h"

#include <QComboBox>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QWidget>
#include <memory>
#include <set>
#include <vector>

class CChannelPrinter;

namespace printtest {

// Receive frequency text of channel n: unique per channel, so a page's text tells which
// channels it holds.
inline QString RxText(int n)
{
    return QStringLiteral("%1.%2")
        .arg(400 + n, 3, 10, QLatin1Char('0'))
        .arg(12500 + 25 * n, 5, 10, QLatin1Char('0'));
}

// The channel grid: 129 rows and 13 columns sized like the channel table, headers from the
// current language file, the channels in `used` filled in.
std::unique_ptr<CGridCtrl> MakeChannelGrid(const std::set<int>& used);
// The first `count` channels in use.
std::set<int> FirstChannels(int count);

// The function page built from its template (labels relabelled from the current language file)
// with every list filled and a value chosen.
std::unique_ptr<QWidget> MakeFunctionPage();

// Prints the whole job to a PDF at `path` (date line fixed) and returns the path. With
// ZQ708_KEEP_PRINTS set, a copy goes into that directory to be looked at.
QString PrintToPdf(CChannelPrinter& printer, const QString& path, QPageSize::PageSizeId size = QPageSize::A4,
                   QPageLayout::Orientation orientation = QPageLayout::Portrait);

int PdfPages(const QString& path);
QString PdfPageText(const QString& path, int page);
// The text of every page, page after page.
QString PdfText(const QString& path);
// Size of a page, in points.
QSizeF PdfPageSize(const QString& path, int page);
// The box of every word on a page whose text matches `pattern`, in points from the top left.
std::vector<QRectF> PdfWordBoxes(const QString& path, int page, const QRegularExpression& pattern);
// The top of every word on a page whose text matches `pattern`, from top to bottom.
std::vector<double> PdfWordTops(const QString& path, int page, const QRegularExpression& pattern);
// The lowest point of a page that anything (text or line) was drawn on, in points from the top.
double PdfInkBottom(const QString& path, int page);

} // namespace printtest
