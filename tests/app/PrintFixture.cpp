#include "tests/app/PrintFixture.h"

#include "app/ChannelPrinter.h"
#include "i18n/LangText.h"
#include "i18n/RelabelDialog.h"
#include "res/DialogBuilder.h"
#include "tests/support/FindControl.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>

namespace printtest {

namespace {

constexpr int kWidths[13] = {40, 75, 65, 75, 65, 55, 50, 55, 65, 65, 55, 70, 50};

QByteArray RunToolBytes(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return p.readAllStandardOutput();
}

QString RunTool(const QString& program, const QStringList& args)
{
    return QString::fromUtf8(RunToolBytes(program, args));
}

// Page and word boxes of one page, as pdftotext writes them.
QString PdfBoxes(const QString& path, int page)
{
    return RunTool("pdftotext",
                   {"-bbox", "-f", QString::number(page), "-l", QString::number(page), path, "-"});
}

QString Lang(const char* key)
{
    return QString::fromStdString(LoadLangString(key));
}

} // namespace

std::unique_ptr<CGridCtrl> MakeChannelGrid(const std::set<int>& used)
{
    auto grid = std::make_unique<CGridCtrl>();
    grid->SetRowCount(129);
    grid->SetColumnCount(13);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    for (int c = 0; c < 13; ++c)
        grid->SetColumnWidth(c, kWidths[c]);
    grid->SetRowHeight(0, 28);
    for (int r = 1; r < 129; ++r)
        grid->SetRowHeight(r, 21);
    const auto headers = LoadHeaderTexts("ChText", "IDS_ChText", 13);
    for (int c = 0; c < 13; ++c) {
        grid->SetItemText(0, c, QString::fromStdString(headers[static_cast<std::size_t>(c)]));
        grid->SetItemFormat(0, c, c >= 1 && c <= 4 ? kGridCentredWrapped : kGridCentred);
    }
    static const char* const kTones[] = {"67.0", "88.5", "D023N", "131.8", "D754I"};
    for (int n = 1; n <= 128; ++n) {
        grid->SetItemText(n, 0, QString::number(n));
        if (!used.count(n))
            continue;
        const bool odd = n % 2;
        grid->SetItemText(n, 1, RxText(n));
        grid->SetItemText(n, 2, n % 3 ? Lang("IDS_OFF") : QString::fromLatin1(kTones[n % 5]));
        grid->SetItemText(n, 3, RxText(n));
        grid->SetItemText(n, 4, n % 4 ? Lang("IDS_OFF") : QString::fromLatin1(kTones[(n + 2) % 5]));
        grid->SetItemText(n, 5, Lang(odd ? "IDS_HIGH" : "IDS_LOW"));
        grid->SetItemText(n, 6, Lang("IDS_OFF"));
        grid->SetItemText(n, 7, Lang(n % 5 ? "IDS_WIDE" : "IDS_NARROW"));
        grid->SetItemText(n, 8, Lang("IDS_ON"));
        grid->SetItemText(n, 9, Lang("IDS_OFF"));
        grid->SetItemText(n, 10, Lang("IDS_OFF"));
        grid->SetItemText(n, 11, Lang(odd ? "IDS_OFF" : "IDS_ON"));
        grid->SetItemText(n, 12, QStringLiteral("CH%1").arg(n, 3, 10, QLatin1Char('0')));
    }
    return grid;
}

std::set<int> FirstChannels(int count)
{
    std::set<int> s;
    for (int n = 1; n <= count; ++n)
        s.insert(n);
    return s;
}

std::unique_ptr<QWidget> MakeFunctionPage()
{
    auto page = std::make_unique<QWidget>();
    CDialogBuilder::Build(page.get(), g_dlgFunction,
                          [](int, QWidget* parent) -> QWidget* { return new QLineEdit(parent); });
    RelabelDialog(page.get(), g_dlgFunction.id);
    for (QObject* child : page->children()) {
        if (auto* combo = qobject_cast<QComboBox*>(child)) {
            for (int i = 0; i < 3; ++i)
                combo->addItem(QStringLiteral("Option %1").arg(i));
            combo->setCurrentIndex(1);
        }
    }
    // Dual watch on, end-of-transmission tone off.
    FindControl<QCheckBox>(page.get(), "DualWatch")->setChecked(true);
    FindControl<QCheckBox>(page.get(), "RogerBeep")->setChecked(false);
    FindControl<QLineEdit>(page.get(), "PttIdCode")->setText(QStringLiteral("12AB"));
    return page;
}

QString PrintToPdf(CChannelPrinter& printer, const QString& path, QPageSize::PageSizeId size,
                   QPageLayout::Orientation orientation)
{
    printer.SetPrintTime(1796630400); // 2026-12-07
    QPrinter pdf(QPrinter::HighResolution);
    CChannelPrinter::PreparePrinter(pdf);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setPageSize(QPageSize(size));
    pdf.setPageOrientation(orientation);
    pdf.setOutputFileName(path);
    EXPECT_TRUE(printer.Print(pdf));
    if (const QByteArray keep = qgetenv("ZQ708_KEEP_PRINTS"); !keep.isEmpty()) {
        const QString dir = QString::fromLocal8Bit(keep);
        QDir().mkpath(dir);
        const QString copy = dir + "/" + QFileInfo(path).fileName();
        QFile::remove(copy);
        QFile::copy(path, copy);
    }
    return path;
}

int PdfPages(const QString& path)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(RunTool("pdfinfo", {path}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString PdfPageText(const QString& path, int page)
{
    return RunTool("pdftotext",
                   {"-layout", "-f", QString::number(page), "-l", QString::number(page), path, "-"});
}

QString PdfText(const QString& path)
{
    return RunTool("pdftotext", {"-layout", path, "-"});
}

QSizeF PdfPageSize(const QString& path, int page)
{
    const QRegularExpression size(QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\""));
    const QRegularExpressionMatch m = size.match(PdfBoxes(path, page));
    return {m.captured(1).toDouble(), m.captured(2).toDouble()};
}

std::vector<QRectF> PdfWordBoxes(const QString& path, int page, const QRegularExpression& pattern)
{
    std::vector<QRectF> boxes;
    const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    for (auto it = word.globalMatch(PdfBoxes(path, page)); it.hasNext();) {
        const auto m = it.next();
        if (pattern.match(m.captured(5)).hasMatch())
            boxes.push_back(QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                   QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())));
    }
    return boxes;
}

std::vector<double> PdfWordTops(const QString& path, int page, const QRegularExpression& pattern)
{
    std::vector<double> tops;
    for (const QRectF& box : PdfWordBoxes(path, page, pattern))
        tops.push_back(box.top());
    return tops;
}

double PdfInkBottom(const QString& path, int page)
{
    const QString number = QString::number(page);
    const QImage image = QImage::fromData(
        RunToolBytes("pdftoppm", {"-r", "72", "-gray", "-f", number, "-l", number, path}), "PGM");
    for (int y = image.height() - 1; y >= 0; --y) {
        const uchar* line = image.constScanLine(y);
        if (std::any_of(line, line + image.width(), [](uchar grey) { return grey < 128; }))
            return y + 1;
    }
    return 0;
}

} // namespace printtest
