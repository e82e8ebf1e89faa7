// Writing one memory to a series of simulated radios, one after another on COM1.

#include "link/FleetWriteDlg.h"
#include "app/ScriptedMessages.h"
#include "i18n/LangText.h"
#include "link/SerialPort.h"
#include "radio/VantorDoc.h"
#include "tests/support/FindControl.h"
#include "tests/support/LinkTestEnv.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

class FleetWriteDlgTest : public CLinkTestEnv
{
protected:
    void SetUp() override
    {
        CLinkTestEnv::SetUp();
        UseShippedLanguage("english");
        m_doc.Image() = PatternImage(50);
        PrepareImageForTransfer(m_doc.Image());
    }
    void TearDown() override
    {
        m_port.Close();
        CLinkTestEnv::TearDown();
    }

    // Connects the next radio: COM1 leads to it from now on.
    void Connect(const SimFaults& faults = {}) { AttachRadio(NewRadio(PatternImage(1), faults), 1); }

    // Presses a button and waits until the radio in hand has its line in the list.
    void PressAndWait(CFleetWriteDlg& dlg, const char* button)
    {
        const std::size_t before = dlg.Entries().size();
        QTest::mouseClick(FindControl<QPushButton>(&dlg, button), Qt::LeftButton);
        QElapsedTimer clock;
        clock.start();
        while (dlg.Entries().size() == before && clock.elapsed() < 20000)
            QTest::qWait(10);
        ASSERT_EQ(dlg.Entries().size(), before + 1);
    }

    static QString Prompt(const CFleetWriteDlg& dlg) { return FindControl<QLabel>(&dlg, "Prompt")->text(); }
    static QString Lang(const char* key, int n, int m = 0)
    {
        return QString::fromStdString(
            FormatLangText(LoadLangString(key), std::to_string(n), m != 0 ? std::to_string(m) : ""));
    }

    CVantorDoc m_doc;
    CSerialPort m_port;
    CScriptedMessages m_messages;
};

TEST_F(FleetWriteDlgTest, AFailedRadioIsListedRetriedAndTheSeriesGoesOn)
{
    CFleetWriteDlg dlg(m_doc, m_port);
    EXPECT_EQ(Prompt(dlg), Lang("IDS_FLEET_NEXT", 1));
    QPushButton* retry = FindControl<QPushButton>(&dlg, "Retry");
    EXPECT_FALSE(retry->isEnabled());

    Connect();
    PressAndWait(dlg, "Write");
    EXPECT_EQ(Prompt(dlg), Lang("IDS_FLEET_NEXT", 2));

    SimFaults refusing;
    refusing.nakWrite[0x300] = -1;
    Connect(refusing);
    PressAndWait(dlg, "Write");
    EXPECT_EQ(Prompt(dlg), Lang("IDS_FLEET_RETRY", 2, 3));
    EXPECT_TRUE(retry->isEnabled());
    EXPECT_FALSE(m_port.IsOpen());

    Connect(); // the same radio, now willing
    PressAndWait(dlg, "Retry");
    EXPECT_FALSE(retry->isEnabled());

    SimFaults losing;
    losing.dropWrite[0x050] = -1;
    Connect(losing);
    PressAndWait(dlg, "Write");
    EXPECT_EQ(Prompt(dlg), Lang("IDS_FLEET_NEXT", 4));

    const std::vector<std::pair<int, FleetResult>> expected = {{1, FleetResult::Verified},
                                                               {2, FleetResult::Failed},
                                                               {2, FleetResult::Verified},
                                                               {3, FleetResult::Differs}};
    const QListWidget* list = FindControl<QListWidget>(&dlg, "Radios");
    ASSERT_EQ(list->count(), 4);
    const std::string log = ReadFileBytes(CFleetLog::Path());
    EXPECT_EQ(log.rfind(CFleetLog::kHeader, 0), 0u) << log;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const FleetEntry& entry = dlg.Entries()[i];
        EXPECT_EQ(entry.number, expected[i].first);
        EXPECT_EQ(entry.result, expected[i].second);
        EXPECT_EQ(entry.port, "COM1");
        const std::string ident = HexBytes(entry.ident.data(), entry.ident.size());
        EXPECT_EQ(ident, "5A 51 37 30 38 01 00 00");
        const QString row = list->item(static_cast<int>(i))->text();
        EXPECT_TRUE(row.startsWith(Lang("IDS_FLEET_RADIO", entry.number))) << row.toStdString();
        EXPECT_TRUE(row.contains(QString::fromStdString(ident))) << row.toStdString();
        EXPECT_NE(log.find(CFleetLog::CsvLine(entry)), std::string::npos) << log;
    }
    EXPECT_TRUE(list->item(1)->text().endsWith(QString::fromStdString(LoadLangString("IDS_FLEET_FAILED"))));
    EXPECT_TRUE(list->item(3)->text().endsWith(QString::fromStdString(LoadLangString("IDS_FLEET_DIFFERS"))));
    EXPECT_TRUE(m_messages.Asked().empty());
}

TEST_F(FleetWriteDlgTest, ClosingDuringAWriteSaysTheRadioHoldsPartOfTheMemory)
{
    CSimRadio& radio = NewRadio(PatternImage(1));
    AttachRadio(radio, 1, true); // paced like a real cable: a slow write
    CFleetWriteDlg dlg(m_doc, m_port);
    QTest::mouseClick(FindControl<QPushButton>(&dlg, "Write"), Qt::LeftButton);
    QElapsedTimer clock;
    clock.start();
    while (!Prompt(dlg).endsWith(QStringLiteral(" 3%")) && clock.elapsed() < 20000)
        QTest::qWait(5);
    QTest::mouseClick(FindControl<QPushButton>(&dlg, "Close"), Qt::LeftButton);
    ASSERT_EQ(m_messages.Asked().size(), 1u);
    const std::string templ = LoadLangString("IDS_WARN_WRITESTOPPED");
    EXPECT_EQ(m_messages.Asked()[0].text.substr(0, templ.find("%1")), templ.substr(0, templ.find("%1")));
}

TEST_F(FleetWriteDlgTest, Screenshots)
{
    const QString dir = qEnvironmentVariable("ZQ708_SHOTS_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "set ZQ708_SHOTS_DIR to write the pictures";
    QDir().mkpath(dir);
    SimFaults refusing;
    refusing.nakWrite[0x300] = -1;
    for (const char* lang : {"english", "chinese"}) {
        UseShippedLanguage(lang);
        CFleetWriteDlg dlg(m_doc, m_port);
        dlg.show();
        Connect();
        PressAndWait(dlg, "Write");
        Connect(refusing);
        PressAndWait(dlg, "Write");
        Connect();
        PressAndWait(dlg, "Retry");
        Connect();
        PressAndWait(dlg, "Write");
        dlg.grab().save(dir + QStringLiteral("/fleet-%1.png").arg(QString::fromLatin1(lang)));
    }
}

TEST_F(FleetWriteDlgTest, TheLogLineSaysWhatHappened)
{
    FleetEntry entry;
    entry.number = 12;
    entry.time = 0;
    entry.port = "COM3";
    entry.ident = {0x5A, 0x51, 0x37, 0x30, 0x38, 0x01, 0x00, 0xFF};
    entry.result = FleetResult::NotVerified;
    EXPECT_EQ(CFleetLog::CsvLine(entry),
              "12," + CFleetLog::TimeText(0) + ",\"COM3\",5A 51 37 30 38 01 00 FF,not verified\n");
}

} // namespace
