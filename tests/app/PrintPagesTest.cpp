// The printout of a full radio as the real pages show it, in English and in Chinese.
#include "app/ChannelPrinter.h"
#include "grid/GridCtrl.h"
#include "pages/ChannelTablePage.h"
#include "pages/FunctionPage.h"
#include "radio/VantorDoc.h"
#include "tests/app/PrintFixture.h"
#include "tests/support/RadioTestEnv.h"

#include <QTemporaryDir>

using namespace printtest;

namespace {

class PrintPagesTest : public CRadioTest
{
protected:
    void SetUp() override
    {
        CRadioTest::SetUp();
        ASSERT_TRUE(m_doc.OnOpenDocument(ZQ708_SOURCE_DIR "/tests/data/full_radio.pgm"));
        m_channels = std::make_unique<CChannelTablePage>(m_doc, nullptr);
        m_function = std::make_unique<CFunctionPage>(m_doc, nullptr);
    }

    QString Print(const char* language, const QString& name, QPageSize::PageSizeId size)
    {
        UseShippedLanguage(language);
        m_channels->ReloadFromImage();
        m_function->ReloadFromImage();
        CChannelPrinter printer(m_channels->Grid(), *m_function);
        return PrintToPdf(printer, m_dir.filePath(name), size);
    }

    int UsedChannels() const
    {
        int used = 0;
        for (int n = 1; n <= 128; ++n)
            used += m_doc.IsRecordEmpty(n) ? 0 : 1;
        return used;
    }

    QTemporaryDir m_dir;
    CVantorDoc m_doc;
    std::unique_ptr<CChannelTablePage> m_channels;
    std::unique_ptr<CFunctionPage> m_function;
};

} // namespace

TEST_F(PrintPagesTest, FullRadioInEnglishOnA4AndChineseOnLetter)
{
    const int pages = CChannelPrinter::PageCountFor(UsedChannels());
    int first = 1;
    while (m_doc.IsRecordEmpty(first))
        ++first;
    const QString firstRx = QString::fromStdString(m_doc.FrequencyText(first, FreqField::Rx));

    const QString english = Print("english", "full-radio-english-a4.pdf", QPageSize::A4);
    EXPECT_EQ(PdfPages(english), pages);
    const QString page1 = PdfPageText(english, 1);
    EXPECT_TRUE(page1.contains(firstRx));
    EXPECT_TRUE(page1.contains("Squelch level : "));

    const QString chinese = Print("chinese", "full-radio-chinese-letter.pdf", QPageSize::Letter);
    EXPECT_EQ(PdfPages(chinese), pages);
    EXPECT_TRUE(PdfPageText(chinese, 1).contains(firstRx));
    EXPECT_TRUE(PdfPageText(chinese, 1).contains(QStringLiteral("静噪等级 : ")));
}
