// The printout: page count rule, which channels land on which page, the date line and the
// function settings block, checked in the PDF that a job produces.
#include "app/ChannelPrinter.h"
#include "app/AppPaths.h"
#include "res/DialogBuilder.h"
#include "tests/app/PrintFixture.h"
#include "tests/support/AppPathsGuard.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <clocale>
#include <gtest/gtest.h>
#include <numeric>

using namespace printtest;

namespace {

class PrintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        UseShippedLanguage("english");
        m_page = MakeFunctionPage();
    }

    // Prints the channels in `used` to a PDF and returns its path.
    QString PrintPdf(const std::set<int>& used, const QString& name,
                     QPageSize::PageSizeId size = QPageSize::A4,
                     QPageLayout::Orientation orientation = QPageLayout::Portrait)
    {
        m_grid = MakeChannelGrid(used);
        CChannelPrinter printer(*m_grid, *m_page);
        return PrintToPdf(printer, m_dir.filePath(name), size, orientation);
    }

    // Makes a shipped language current, with the function page relabelled in it.
    void UseLanguage(const std::string& language)
    {
        UseShippedLanguage(language);
        m_page = MakeFunctionPage();
    }

    CAppPathsGuard m_paths;
    QTemporaryDir m_dir;
    std::unique_ptr<QWidget> m_page;
    std::unique_ptr<CGridCtrl> m_grid;
};

} // namespace

TEST(PrintPages, TwentyOnTheFirstPageThenThirtyAtMostFivePages)
{
    const std::pair<int, int> cases[] = {{0, 1},  {1, 1},  {20, 1},  {21, 2},  {50, 2},
                                         {51, 3}, {80, 3}, {110, 4}, {111, 5}, {128, 5}};
    for (auto [used, pages] : cases)
        EXPECT_EQ(CChannelPrinter::PageCountFor(used), pages) << used << " channels in use";
}

TEST_F(PrintTest, JobHasOnePagePerCapacityStep)
{
    for (auto [used, pages] : {std::pair{0, 1}, {20, 1}, {21, 2}, {128, 5}}) {
        const QString pdf = PrintPdf(FirstChannels(used), QStringLiteral("used%1.pdf").arg(used));
        EXPECT_EQ(PdfPages(pdf), pages) << used << " channels in use";
    }
}

TEST_F(PrintTest, SecondPageStartsWithTheTwentyFirstChannelInUse)
{
    const QString pdf = PrintPdf(FirstChannels(21), "p21.pdf");
    EXPECT_TRUE(PdfPageText(pdf, 1).contains(RxText(20)));
    EXPECT_FALSE(PdfPageText(pdf, 1).contains(RxText(21)));
    const QString page2 = PdfPageText(pdf, 2);
    EXPECT_TRUE(page2.contains(RxText(21)));
    EXPECT_FALSE(page2.contains(RxText(20)));

    const QString full = PrintPdf(FirstChannels(128), "full.pdf");
    const QString page5 = PdfPageText(full, 5);
    EXPECT_TRUE(page5.contains(RxText(111)));
    EXPECT_TRUE(page5.contains(RxText(128)));
    EXPECT_FALSE(page5.contains(RxText(110)));
    EXPECT_EQ(PdfWordTops(full, 5, QRegularExpression("^\\d{3}\\.\\d{5}$")).size(), 2u * 18u); // RX and TX
}

TEST_F(PrintTest, SkippedChannelsLeaveNoGaps)
{
    std::set<int> odd;
    for (int n = 1; n <= 128; n += 2)
        odd.insert(n);
    const QString pdf = PrintPdf(odd, "odd.pdf");
    ASSERT_EQ(PdfPages(pdf), 3); // 64 in use: 20 + 30 + 14
    EXPECT_TRUE(PdfPageText(pdf, 1).contains(RxText(39)));
    EXPECT_TRUE(PdfPageText(pdf, 2).contains(RxText(41)));  // the 21st channel in use
    EXPECT_TRUE(PdfPageText(pdf, 2).contains(RxText(99)));  // the 50th
    EXPECT_TRUE(PdfPageText(pdf, 3).contains(RxText(101))); // the 51st

    // The names CH041, CH043, ... are one row pitch apart from top to bottom.
    const std::vector<double> tops = PdfWordTops(pdf, 2, QRegularExpression("^CH\\d{3}$"));
    ASSERT_EQ(tops.size(), 30u);
    const double pitch = tops[1] - tops[0];
    EXPECT_GT(pitch, 0);
    for (std::size_t i = 1; i < tops.size(); ++i)
        EXPECT_NEAR(tops[i] - tops[i - 1], pitch, 0.5) << "row " << i;
}

TEST_F(PrintTest, DateLineOnEveryPageFunctionBlockOnlyOnTheFirst)
{
    const QString pdf = PrintPdf(FirstChannels(60), "date.pdf");
    ASSERT_EQ(PdfPages(pdf), 3);
    const QRegularExpression date(QStringLiteral("\\d{4}-\\d{2}-\\d{2} [A-Z][a-z]+day \\d{2}:\\d{2}"));
    for (int page = 1; page <= 3; ++page)
        EXPECT_TRUE(date.match(PdfPageText(pdf, page)).hasMatch()) << "page " << page;

    const QString first = PdfPageText(pdf, 1).simplified();
    EXPECT_TRUE(first.contains("Squelch level : Option 1"));
    EXPECT_TRUE(first.contains("Dual watch : Yes"));
    EXPECT_TRUE(first.contains(" : No")); // the end-of-transmission tone is off
    EXPECT_TRUE(first.contains(": 12AB"));
    for (int page = 2; page <= 3; ++page)
        EXPECT_FALSE(PdfPageText(pdf, page).contains("Squelch level")) << "page " << page;
}

TEST_F(PrintTest, EveryChannelInUseOnceAndInOrderOnEveryPaper)
{
    const QRegularExpression number(QStringLiteral("CH(\\d{3})"));
    const QRegularExpression name(QStringLiteral("^CH\\d{3}$"));
    const QRegularExpression anyWord(QStringLiteral("."));
    const double margin = 15 / 25.4 * 72; // PreparePrinter's, in points
    double nameShape = 0;                 // width / height of a printed channel name, alike on every paper
    for (const std::string language : {"english", "chinese"}) {
        UseLanguage(language);
        for (const auto size : {QPageSize::A4, QPageSize::Letter}) {
            for (const auto orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
                for (const int used : {0, 20, 21, 95, 128}) {
                    const bool landscape = orientation == QPageLayout::Landscape;
                    const std::string where = language + " " + QPageSize(size).key().toStdString() +
                                              (landscape ? " landscape " : " portrait ") +
                                              std::to_string(used) + " channels";
                    const QString pdf =
                        PrintPdf(FirstChannels(used),
                                 QString::fromStdString(where).replace(' ', '-') + ".pdf", size, orientation);
                    const int pages = PdfPages(pdf);
                    EXPECT_EQ(pages, CChannelPrinter::PageCountFor(used)) << where;

                    std::vector<int> printed;
                    for (auto it = number.globalMatch(PdfText(pdf)); it.hasNext();)
                        printed.push_back(it.next().captured(1).toInt());
                    std::vector<int> expected(static_cast<std::size_t>(used));
                    std::iota(expected.begin(), expected.end(), 1);
                    EXPECT_EQ(printed, expected) << where;

                    const QSizeF paper = PdfPageSize(pdf, 1);
                    double left = paper.width();
                    double right = paper.width();
                    double lowest = 0;
                    for (int page = 1; page <= pages; ++page) {
                        for (const QRectF& box : PdfWordBoxes(pdf, page, anyWord)) {
                            left = std::min(left, box.left());
                            right = std::min(right, paper.width() - box.right());
                        }
                        lowest = std::max(lowest, PdfInkBottom(pdf, page));
                        // The paper's shape is kept when the page is scaled: no squeezed text.
                        if (const auto names = PdfWordBoxes(pdf, page, name); !names.empty()) {
                            const double shape = names.front().width() / names.front().height();
                            nameShape = nameShape == 0 ? shape : nameShape;
                            EXPECT_NEAR(shape, nameShape, 0.03 * nameShape) << where << " page " << page;
                        }
                    }
                    // The table stands in the middle of the paper (the date line starts at its left).
                    EXPECT_NEAR(left, right, 20) << where;
                    // Nothing is drawn below the printable area, and a page scaled to fit reaches its end.
                    EXPECT_LE(lowest, paper.height() - margin + 1.5) << where;
                    if (landscape && used >= 20) {
                        EXPECT_GE(lowest, paper.height() - margin - 1.5) << where;
                    }
                }
            }
        }
    }
}

// The weekday is in the language of the printout, on a desktop of any locale.
TEST_F(PrintTest, WeekdayFollowsTheLanguageNotTheProcessLocale)
{
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const QRegularExpression english(QStringLiteral("\\d{4}-\\d{2}-\\d{2} [A-Z][a-z]+day \\d{2}:\\d{2}"));
    const QRegularExpression chinese(QStringLiteral("\\d{4}-\\d{2}-\\d{2} 星期\\S \\d{2}:\\d{2}"));
    for (const char* locale : {"C", "zh_CN.UTF-8"}) {
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr)
            << locale << " missing: run tools/scripts/install-deps.sh";
        for (const auto& [language, weekday] : {std::pair{"english", &english}, {"chinese", &chinese}}) {
            UseLanguage(language);
            const QString text = PdfPageText(PrintPdf(FirstChannels(1), "weekday.pdf"), 1);
            EXPECT_TRUE(weekday->match(text).hasMatch())
                << language << " under " << locale << ": " << text.left(80).toStdString();
        }
    }
    std::setlocale(LC_ALL, before.c_str());
}

TEST_F(PrintTest, CheckBoxValuesOfALanguageWithoutYesAndNo)
{
    m_grid = MakeChannelGrid({});
    CChannelPrinter printer(*m_grid, *m_page);
    // A language without the two keys prints "Not Found", as every missing text does.
    QTemporaryDir dir;
    const QString bare = dir.filePath("bare.lang");
    QFile f(bare);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[String]\nIDS_OTHER=x\n");
    f.close();
    g_strLangFile = bare.toStdString();
    EXPECT_TRUE(printer.FunctionLines()[0][2].endsWith(" : Not Found"));
}

TEST_F(PrintTest, PreviewShowsEveryPage)
{
    m_grid = MakeChannelGrid(FirstChannels(51));
    CChannelPrinter printer(*m_grid, *m_page);
    int shown = -1;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        if (auto* preview = dialog->findChild<QPrintPreviewWidget*>()) {
            preview->updatePreview();
            shown = preview->pageCount();
            EXPECT_EQ(preview->viewMode(), QPrintPreviewWidget::SinglePageView);
        }
        dialog->close();
    });
    printer.PrintPreview(nullptr);
    EXPECT_EQ(shown, 3);
}

TEST(PrintSetupTest, PaperChosenInPrintSetupIsUsedByLaterJobs)
{
    const auto answer = [](bool accept) {
        QTimer::singleShot(0, [accept] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            auto* sizes = dialog->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
            ASSERT_NE(sizes, nullptr);
            sizes->setCurrentIndex(sizes->findText(QPageSize(QPageSize::Letter).name()));
            QMetaObject::invokeMethod(dialog, accept ? "accept" : "reject");
        });
    };
    answer(false);
    EXPECT_FALSE(CChannelPrinter::PrintSetup(nullptr));
    QPrinter before;
    CChannelPrinter::PreparePrinter(before);
    EXPECT_NE(before.pageLayout().pageSize().id(), QPageSize::Letter);

    answer(true);
    EXPECT_TRUE(CChannelPrinter::PrintSetup(nullptr));
    QPrinter after;
    CChannelPrinter::PreparePrinter(after);
    EXPECT_EQ(after.pageLayout().pageSize().id(), QPageSize::Letter);
}

TEST_F(PrintTest, PageRangeChosenInThePrintDialogIsHonoured)
{
    m_grid = MakeChannelGrid(FirstChannels(128));
    CChannelPrinter printer(*m_grid, *m_page);
    QPrinter pdf(QPrinter::HighResolution);
    CChannelPrinter::PreparePrinter(pdf);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    const QString path = m_dir.filePath("range.pdf");
    pdf.setOutputFileName(path);
    pdf.setPrintRange(QPrinter::PageRange);
    pdf.setFromTo(2, 3);
    ASSERT_TRUE(printer.Print(pdf));
    EXPECT_EQ(PdfPages(path), 2);
    EXPECT_TRUE(PdfPageText(path, 1).contains(RxText(21)));
    EXPECT_TRUE(PdfPageText(path, 2).contains(RxText(80)));
}

TEST_F(PrintTest, WithoutAPrinterPrintingWithoutTheDialogAsksWhereToPrint)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a default printer is installed";
    m_grid = MakeChannelGrid(FirstChannels(3));
    CChannelPrinter printer(*m_grid, *m_page);
    bool asked = false;
    QTimer::singleShot(0, [&asked] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            asked = true;
            dialog->reject();
        }
    });
    EXPECT_FALSE(printer.PrintWithoutDialog(nullptr)); // cancelled: nothing printed
    EXPECT_TRUE(asked);
}

// The function block's entries by line and column: label control, then value control (0: a check
// box, which prints Yes or No; only dual watch is on).
TEST_F(PrintTest, FunctionBlockPrintsEachSettingInItsPlace)
{
    const std::pair<int, int> layout[8][3] = {
        {{1025, 1026}, {1027, 1028}, {1029, 0}},    {{1030, 0}, {1031, 0}, {1032, 0}},
        {{1033, 0}, {1034, 1035}, {1036, 1037}},    {{1038, 0}, {1039, 0}, {1040, 1041}},
        {{1042, 1043}, {1044, 1045}, {1046, 1047}}, {{1048, 1049}, {1050, 1051}, {1052, 0}},
        {{1053, 1054}, {1055, 1056}, {1057, 0}},    {{1058, 1059}, {0, 0}, {1060, 1061}},
    };
    // Each list shows its own id, so that a value taken from the wrong list shows.
    for (const auto& line : layout)
        for (const auto& [label, value] : line)
            if (auto* list = qobject_cast<QComboBox*>(GetDlgItem(m_page.get(), value))) {
                list->clear();
                list->addItem(QString::number(value));
            }
    const auto text = [this](int id) { return GetDlgItem(m_page.get(), id)->property("text").toString(); };
    m_grid = MakeChannelGrid({});
    const auto lines = CChannelPrinter(*m_grid, *m_page).FunctionLines();
    ASSERT_EQ(lines.size(), 8u);
    for (std::size_t l = 0; l < 8; ++l) {
        ASSERT_EQ(lines[l].size(), 3u);
        for (std::size_t c = 0; c < 3; ++c) {
            const auto [label, value] = layout[l][c];
            const QString shown = value == 1061   ? text(value)
                                  : value         ? QString::number(value)
                                  : label == 1029 ? "Yes"
                                                  : "No";
            EXPECT_EQ(lines[l][c], label ? text(label) + " : " + shown : QString())
                << "line " << l + 1 << " column " << c + 1;
        }
    }
}
