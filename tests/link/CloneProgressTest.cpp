// Reading and writing the simulated radio through the progress dialog, on a pseudo-terminal
// mapped as COM1.
#include "app/QtMessageBox.h"
#include "app/ScriptedMessages.h"
#include "i18n/LangText.h"
#include "link/CloneProgressDlg.h"
#include "link/CloneSession.h"
#include "link/SerialPort.h"
#include "radio/VantorDoc.h"
#include "tests/support/FindControl.h"
#include "tests/support/LinkTestEnv.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace {

class CloneProgressTest : public CLinkTestEnv
{
protected:
    void SetUp() override
    {
        CLinkTestEnv::SetUp();
        UseShippedLanguage("english");
        m_doc.Image() = PatternImage(50);
        PrepareImageForTransfer(m_doc.Image());
        m_before = m_doc.Image();
    }
    void TearDown() override
    {
        m_port.Close();
        CLinkTestEnv::TearDown();
    }

    std::unique_ptr<CCloneProgressDlg> MakeDialog(CloneDirection direction)
    {
        return std::make_unique<CCloneProgressDlg>(
            m_doc, m_port, direction, [this] { ++m_applied; }, [this](int n) { m_shown.push_back(n); });
    }

    // The radio lives in the fixture, so its line stops (in TearDown) before it goes away.
    CSimRadio& Radio(const SimFaults& faults = {})
    {
        m_radios.push_back(std::make_unique<CSimRadio>(PatternImage(1), faults));
        return *m_radios.back();
    }

    static void Press(CCloneProgressDlg& dlg, const char* name)
    {
        QTest::mouseClick(FindControl<QPushButton>(&dlg, name), Qt::LeftButton);
    }
    static QString Prompt(const CCloneProgressDlg& dlg)
    {
        return FindControl<QLabel>(&dlg, "Prompt")->text();
    }
    static QString Lang(const char* key) { return QString::fromStdString(LoadLangString(key)); }

    // A radio that answers channels 17 to 24, VFO B and the calibration block for another address.
    CSimRadio& RadioSkippingBlocks()
    {
        SimFaults faults;
        for (int address : {0x110, 0x120, 0x130, 0x140, 0x150, 0x160, 0x170, 0x180, 0x820, 0xFF0})
            faults.wrongAddress[address] = -1;
        return Radio(faults);
    }

    // Runs the event loop until `done` holds; records every status line shown on the way.
    bool WaitFor(const CCloneProgressDlg& dlg, const std::function<bool()>& done, int ms = 15000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < ms) {
            QTest::qWait(5);
            if (m_prompts.isEmpty() || m_prompts.last() != Prompt(dlg)) {
                m_prompts << Prompt(dlg);
                m_bars << FindControl<QProgressBar>(&dlg, "Bar")->value();
            }
        }
        return done();
    }

    std::vector<std::unique_ptr<CSimRadio>> m_radios;
    CVantorDoc m_doc;
    CSerialPort m_port;
    CScriptedMessages m_messages;
    RadioImage m_before{};
    int m_applied = 0;
    std::vector<int> m_shown;
    QStringList m_prompts;
    QList<int> m_bars;
};

} // namespace

// Before OK: the title of the direction, an empty bar of 1024 steps, the verify box on a write only.
TEST_F(CloneProgressTest, ANewDialogWaitsForOkWithAnEmptyBar)
{
    for (const auto& [direction, title, verify] :
         {std::tuple{CloneDirection::Read, "IDS_READDATA", false},
          std::tuple{CloneDirection::Write, "IDS_WRITEDATA", true}}) {
        SCOPED_TRACE(title);
        auto dlg = MakeDialog(direction);
        EXPECT_EQ(dlg->windowTitle(), Lang(title));
        const auto* bar = FindControl<QProgressBar>(dlg.get(), "Bar");
        EXPECT_EQ(bar->minimum(), 0);
        EXPECT_EQ(bar->maximum(), 1024);
        EXPECT_EQ(bar->value(), 0);
        EXPECT_TRUE(FindControl<QWidget>(dlg.get(), "Ok")->isEnabled());
        EXPECT_EQ(FindControl<QCheckBox>(dlg.get(), "Verify")->isVisibleTo(dlg.get()), verify);
    }
}

TEST_F(CloneProgressTest, ReadCopiesTheRadioIntoTheDocumentAndRefreshes)
{
    CSimRadio& radio = Radio();
    AttachRadio(radio, 1);
    auto dlg = MakeDialog(CloneDirection::Read);
    EXPECT_EQ(dlg->windowTitle(), Lang("IDS_READDATA"));
    QSignalSpy finished(dlg.get(), &QDialog::finished);

    Press(*dlg, "Ok");
    EXPECT_FALSE(FindControl<QWidget>(dlg.get(), "Ok")->isEnabled());
    ASSERT_TRUE(WaitFor(*dlg, [&] { return !finished.isEmpty(); }));

    EXPECT_EQ(finished.first().first().toInt(), CCloneProgressDlg::kResultDone);
    EXPECT_EQ(m_doc.Image(), radio.Memory());
    QTest::qWait(100); // the ended dialog does nothing more
    EXPECT_EQ(m_applied, 1);
    EXPECT_FALSE(m_port.IsOpen());
    EXPECT_TRUE(m_messages.Asked().empty());
    // Every progress line is the read prompt with " n%" and the bar at n * 1024 / 100.
    for (int i = 0; i < m_prompts.size(); ++i) {
        const QString prefix = Lang("IDS_PROMPT_READ") + ' ';
        if (m_prompts[i].startsWith(prefix) && m_prompts[i].endsWith('%')) {
            const int percent = m_prompts[i].mid(prefix.size()).chopped(1).toInt();
            EXPECT_EQ(m_bars[i], percent * 1024 / 100) << m_prompts[i].toStdString();
        }
    }
}

TEST_F(CloneProgressTest, WriteSendsTheDocumentAndLeavesItAsItWas)
{
    Setting("setup", "verify", "0"); // without the verifying read a write ends without a message
    CSimRadio& radio = Radio();
    AttachRadio(radio, 1);
    auto dlg = MakeDialog(CloneDirection::Write);
    EXPECT_EQ(dlg->windowTitle(), Lang("IDS_WRITEDATA"));
    QSignalSpy finished(dlg.get(), &QDialog::finished);

    Press(*dlg, "Ok");
    ASSERT_TRUE(WaitFor(*dlg, [&] { return !finished.isEmpty(); }));

    EXPECT_EQ(finished.first().first().toInt(), CCloneProgressDlg::kResultDone);
    const RadioImage written = radio.Memory();
    EXPECT_TRUE(std::equal(written.begin(), written.begin() + 0xFE0, m_before.begin()));
    EXPECT_EQ(m_doc.Image(), m_before);
    EXPECT_EQ(m_applied, 0);
    EXPECT_TRUE(m_messages.Asked().empty());
}

TEST_F(CloneProgressTest, ReadFailureKeepsTheDocumentAndOkStartsAgainFromBlockZero)
{
    SimFaults faults;
    faults.shortReply[0xA0] = 3; // block 10 fails three times, then the radio recovers
    CSimRadio& radio = Radio(faults);
    AttachRadio(radio, 1);
    auto dlg = MakeDialog(CloneDirection::Read);
    QSignalSpy finished(dlg.get(), &QDialog::finished);
    QWidget* ok = FindControl<QWidget>(dlg.get(), "Ok");

    Press(*dlg, "Ok");
    ASSERT_TRUE(WaitFor(*dlg, [&] { return Prompt(*dlg) == Lang("IDS_PROMPT_READFAIL"); }));
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_TRUE(finished.isEmpty());
    EXPECT_FALSE(m_port.IsOpen());
    EXPECT_EQ(m_doc.Image(), m_before);
    EXPECT_EQ(m_applied, 0);
    const std::size_t firstRun = radio.ReadAddresses().size();

    EXPECT_GT(FindControl<QProgressBar>(dlg.get(), "Bar")->value(), 0);
    Press(*dlg, "Ok"); // the bar and the line start again at once
    EXPECT_EQ(FindControl<QProgressBar>(dlg.get(), "Bar")->value(), 0);
    EXPECT_EQ(Prompt(*dlg), Lang("IDS_PROMPT_READ"));
    ASSERT_TRUE(WaitFor(*dlg, [&] { return !finished.isEmpty(); }));
    EXPECT_EQ(finished.first().first().toInt(), CCloneProgressDlg::kResultDone);
    EXPECT_EQ(radio.ReadAddresses().at(firstRun), 0);
    EXPECT_EQ(m_doc.Image(), radio.Memory());
    EXPECT_EQ(m_applied, 1);
}

TEST_F(CloneProgressTest, WriteFailureShowsItInTheDialogAndOkWritesAgainWithItsCheck)
{
    SimFaults faults;
    faults.nakWrite[0x100] = kCloneAttempts; // the first try fails at block 16, the second goes through
    CSimRadio& radio = Radio(faults);
    AttachRadio(radio, 1);
    auto dlg = MakeDialog(CloneDirection::Write);
    QSignalSpy finished(dlg.get(), &QDialog::finished);

    Press(*dlg, "Ok");
    ASSERT_TRUE(WaitFor(*dlg, [&] { return Prompt(*dlg) == Lang("IDS_PROMPT_WRITEFAIL"); }));
    EXPECT_TRUE(FindControl<QWidget>(dlg.get(), "Ok")->isEnabled());
    EXPECT_TRUE(FindControl<QWidget>(dlg.get(), "Verify")->isEnabled()); // may be changed for the next try
    EXPECT_TRUE(finished.isEmpty());
    EXPECT_EQ(m_doc.Image(), m_before);

    // The second try knows nothing of the first one's end: its check shows as a phase of its own.
    m_prompts.clear();
    Press(*dlg, "Ok");
    ASSERT_TRUE(WaitFor(*dlg, [&] { return !finished.isEmpty(); }));
    EXPECT_TRUE(m_prompts.contains(Lang("IDS_PROMPT_VERIFY") + " 0%")) << m_prompts.join(u'|').toStdString();
    ASSERT_EQ(m_messages.Asked().size(), 1u);
    EXPECT_EQ(m_messages.Asked()[0].text, LoadLangString("IDS_PROMPT_VERIFIED"));
}

// A verified write: the write, then the verifying read as a second phase, then what it found.
TEST_F(CloneProgressTest, VerifiedWriteReportsWhatTheRadioHolds)
{
    struct Case
    {
        const char* name;
        SimFaults faults;
        const char* captionKey;
        MsgIcon icon;
        std::string text; // what the message says, or starts with
    };
    SimFaults lost;
    lost.dropWrite[0x050] = -1;
    SimFaults leaves;
    leaves.silentAfterEnd = 1000;
    const std::string differs = LoadLangString("IDS_ERROR_VERIFY");
    const Case cases[] = {
        {"equal", {}, "IDS_PROMPT", MsgIcon::Information, LoadLangString("IDS_PROMPT_VERIFIED")},
        {"channel 5 lost", lost, "IDS_ERROR", MsgIcon::Stop,
         differs.substr(0, differs.find("%1")) + FormatLangText(LoadLangString("IDS_UNREAD_CHANNEL"), "5") +
             "\n\n"},
        {"radio leaves programming mode", leaves, "IDS_PROMPT", MsgIcon::Exclamation,
         LoadLangString("IDS_WARN_NOTVERIFIED")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_messages.Clear();
        m_prompts.clear();
        m_bars.clear();
        CSimRadio& radio = Radio(c.faults);
        AttachRadio(radio, 1);
        auto dlg = MakeDialog(CloneDirection::Write);
        QCheckBox* verify = FindControl<QCheckBox>(dlg.get(), "Verify");
        EXPECT_TRUE(verify->isVisibleTo(dlg.get()));
        EXPECT_TRUE(verify->isChecked()); // on without a setting
        QSignalSpy finished(dlg.get(), &QDialog::finished);

        Press(*dlg, "Ok");
        EXPECT_FALSE(verify->isEnabled());
        ASSERT_TRUE(WaitFor(*dlg, [&] { return !finished.isEmpty(); }));
        EXPECT_EQ(finished.first().first().toInt(), CCloneProgressDlg::kResultDone);
        EXPECT_FALSE(m_port.IsOpen());
        EXPECT_EQ(m_doc.Image(), m_before); // a write never changes the document
        ASSERT_EQ(m_messages.Asked().size(), 1u);
        EXPECT_EQ(m_messages.Asked()[0].caption, LoadLangString(c.captionKey));
        EXPECT_EQ(m_messages.Asked()[0].icon, c.icon);
        EXPECT_EQ(m_messages.Asked()[0].text.substr(0, c.text.size()), c.text) << m_messages.Asked()[0].text;
        // Both phases showed, the write first.
        const auto writing = std::find_if(m_prompts.begin(), m_prompts.end(), [](const QString& p) {
            return p.startsWith(Lang("IDS_PROMPT_WRITE") + ' ');
        });
        const auto verifying = std::find_if(m_prompts.begin(), m_prompts.end(), [](const QString& p) {
            return p.startsWith(Lang("IDS_PROMPT_VERIFY"));
        });
        EXPECT_LT(writing, verifying) << m_prompts.join(u'|').toStdString();
        ASSERT_NE(verifying, m_prompts.end()) << m_prompts.join(u'|').toStdString();
        // The verifying read starts again from an empty bar, then counts its own blocks.
        EXPECT_EQ(*verifying, Lang("IDS_PROMPT_VERIFY") + " 0%");
        EXPECT_EQ(m_bars[verifying - m_prompts.begin()], 0);
        if (c.icon != MsgIcon::Exclamation) {
            EXPECT_GT(*std::max_element(m_bars.begin() + (verifying - m_prompts.begin()), m_bars.end()), 0);
        }
        if (&c == &cases[0]) {
            EXPECT_EQ(radio.ReadAddresses().size(), 256u);
        }
    }
}

TEST_F(CloneProgressTest, TheVerifyCheckBoxIsRememberedAndOffMeansNoRead)
{
    {
        auto read = MakeDialog(CloneDirection::Read);
        EXPECT_FALSE(FindControl<QCheckBox>(read.get(), "Verify")->isVisibleTo(read.get()));
        auto dlg = MakeDialog(CloneDirection::Write);
        QCheckBox* verify = FindControl<QCheckBox>(dlg.get(), "Verify");
        ASSERT_TRUE(verify->isChecked());
        QTest::mouseClick(verify, Qt::LeftButton, {}, QPoint(4, verify->height() / 2));
        EXPECT_FALSE(verify->isChecked());
        EXPECT_EQ(ReadProfileInt(g_strSettingFile, "setup", "verify", 1), 0);
    }
    CSimRadio& radio = Radio();
    AttachRadio(radio, 1);
    auto dlg = MakeDialog(CloneDirection::Write);
    QCheckBox* verify = FindControl<QCheckBox>(dlg.get(), "Verify");
    EXPECT_FALSE(verify->isChecked());
    QSignalSpy finished(dlg.get(), &QDialog::finished);
    Press(*dlg, "Ok");
    ASSERT_TRUE(WaitFor(*dlg, [&] { return !finished.isEmpty(); }));
    EXPECT_TRUE(radio.ReadAddresses().empty());
    EXPECT_TRUE(m_messages.Asked().empty());

    auto next = MakeDialog(CloneDirection::Write);
    verify = FindControl<QCheckBox>(next.get(), "Verify");
    QTest::mouseClick(verify, Qt::LeftButton, {}, QPoint(4, verify->height() / 2));
    EXPECT_EQ(ReadProfileInt(g_strSettingFile, "setup", "verify", 0), 1);
}

TEST_F(CloneProgressTest, CancelDuringAReadStopsTheWorkerAndLeavesTheDocument)
{
    CSimRadio& radio = Radio();
    AttachRadio(radio, 1, true); // paced like a real cable: a slow read
    auto dlg = MakeDialog(CloneDirection::Read);
    QSignalSpy finished(dlg.get(), &QDialog::finished);

    Press(*dlg, "Ok");
    ASSERT_TRUE(WaitFor(*dlg, [&] { return Prompt(*dlg).endsWith('%'); }));
    QElapsedTimer clock;
    clock.start();
    Press(*dlg, "Cancel");
    EXPECT_LT(clock.elapsed(), 500); // the worker is gone when Cancel returns
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished.first().first().toInt(), QDialog::Rejected);
    EXPECT_EQ(m_doc.Image(), m_before);
    EXPECT_EQ(m_applied, 0);
    EXPECT_FALSE(m_port.IsOpen());
    EXPECT_EQ(radio.EndBytesSeen(), 0);
}

TEST_F(CloneProgressTest, CancelDuringAWriteSaysTheRadioHoldsPartOfTheMemory)
{
    CSimRadio& radio = Radio();
    AttachRadio(radio, 1, true); // paced like a real cable: a slow write

    // Cancel before anything was sent says nothing.
    auto unused = MakeDialog(CloneDirection::Write);
    Press(*unused, "Cancel");
    EXPECT_TRUE(m_messages.Asked().empty());

    auto dlg = MakeDialog(CloneDirection::Write);
    Press(*dlg, "Ok");
    ASSERT_TRUE(WaitFor(*dlg, [&] { return Prompt(*dlg).endsWith(" 3%"); }));
    Press(*dlg, "Cancel");
    EXPECT_FALSE(m_port.IsOpen());
    ASSERT_EQ(m_messages.Asked().size(), 1u);
    const std::string said = m_messages.Asked()[0].text;
    const std::string templ = LoadLangString("IDS_WARN_WRITESTOPPED");
    EXPECT_EQ(said.substr(0, templ.find("%1")), templ.substr(0, templ.find("%1")));
    const int percent = std::stoi(said.substr(templ.find("%1")));
    EXPECT_GE(percent, 3);
    EXPECT_LT(percent, 10);
    EXPECT_NE(radio.Memory(), PatternImage(1)); // part of it was written
}

// Cancel, or the dialog going away (its owner closing), stops a search at once: the port being
// tried is closed under its wake-ups, and no further port is tried.
TEST_F(CloneProgressTest, CancelOrDestroyingTheDialogStopsASearchAtOnce)
{
    Setting("setup", "searchcom", "1");
    Setting("setup", "com", "2");
    SimFaults silent;
    silent.wakeUpAtAttempt = 1000;
    for (const bool destroy : {true, false}) {
        AttachRadio(Radio(silent), 3);
        CSimRadio& next = Radio(silent);
        AttachRadio(next, 4);
        auto dlg = MakeDialog(CloneDirection::Read);
        Press(*dlg, "Ok");
        ASSERT_TRUE(WaitFor(*dlg, [&] { return !m_shown.empty() && m_shown.back() == 3; }));
        QElapsedTimer clock;
        clock.start();
        if (destroy)
            dlg.reset();
        else
            Press(*dlg, "Cancel");
        // Ten unanswered wake-ups on COM3 alone would take 500 ms.
        EXPECT_LT(clock.elapsed(), 250) << destroy;
        EXPECT_FALSE(m_port.IsOpen()) << destroy;
        EXPECT_EQ(next.WakeUpsSeen(), 0) << destroy;
        EXPECT_EQ(m_doc.Image(), m_before) << destroy;
        m_shown.clear();
    }
}

TEST_F(CloneProgressTest, NoRadioOrWrongRadioEndsWithAMessage)
{
    Setting("ports", "COM1", (m_dir / "nothing").string());
    {
        auto dlg = MakeDialog(CloneDirection::Read);
        QSignalSpy finished(dlg.get(), &QDialog::finished);
        Press(*dlg, "Ok");
        ASSERT_TRUE(WaitFor(*dlg, [&] { return !finished.isEmpty(); }));
        EXPECT_EQ(finished.first().first().toInt(), CCloneProgressDlg::kResultDone);
        ASSERT_EQ(m_messages.Asked().size(), 1u);
        EXPECT_EQ(m_messages.Asked()[0].text, LoadLangString("IDS_ERROR_PORTCONN"));
        EXPECT_EQ(m_messages.Asked()[0].caption, LoadLangString("IDS_ERROR"));
        EXPECT_EQ(m_messages.Asked()[0].icon, MsgIcon::Stop);
    }
    SimFaults faults;
    faults.identLength = 7;
    CSimRadio& radio = Radio(faults);
    AttachRadio(radio, 1);
    auto dlg = MakeDialog(CloneDirection::Read);
    QSignalSpy finished(dlg.get(), &QDialog::finished);
    Press(*dlg, "Ok");
    ASSERT_TRUE(WaitFor(*dlg, [&] { return !finished.isEmpty(); }));
    ASSERT_EQ(m_messages.Asked().size(), 2u);
    EXPECT_EQ(m_messages.Asked()[1].text, LoadLangString("IDS_ERROR_TYPE"));
    EXPECT_EQ(m_doc.Image(), m_before);
}

TEST_F(CloneProgressTest, SearchShowsTheTriedPortAndFindsTheRadio)
{
    Setting("setup", "searchcom", "1");
    Setting("setup", "com", "2");
    // A radio that answers late keeps the search on COM3 long enough for a loaded machine's timer.
    SimFaults faults;
    faults.wakeUpAtAttempt = 8;
    CSimRadio& radio = Radio(faults);
    AttachRadio(radio, 3);
    auto dlg = MakeDialog(CloneDirection::Read);
    QSignalSpy finished(dlg.get(), &QDialog::finished);

    Press(*dlg, "Ok");
    ASSERT_TRUE(WaitFor(*dlg, [&] { return !finished.isEmpty(); }));
    EXPECT_EQ(finished.first().first().toInt(), CCloneProgressDlg::kResultDone);
    EXPECT_TRUE(m_prompts.contains(Lang("IDS_SEARCHCOMPORT") + "...")); // port 3: three dots
    ASSERT_FALSE(m_shown.empty());
    EXPECT_EQ(m_shown.back(), 3);
    EXPECT_EQ(ReadProfileInt(g_strSettingFile, "setup", "com", 0), 3);
    EXPECT_EQ(m_doc.Image(), radio.Memory());
}

// OK after a failure starts afresh: the port the last search found is not shown as found again.
TEST_F(CloneProgressTest, ARestartForgetsThePortTheLastSearchFound)
{
    Setting("setup", "searchcom", "1");
    Setting("setup", "com", "2");
    SimFaults failing;
    failing.shortReply[0x610] = -1;
    AttachRadio(Radio(failing), 3);
    auto dlg = MakeDialog(CloneDirection::Read);
    QSignalSpy finished(dlg.get(), &QDialog::finished);
    Press(*dlg, "Ok");
    ASSERT_TRUE(WaitFor(*dlg, [&] { return Prompt(*dlg) == Lang("IDS_PROMPT_READFAIL"); }));
    ASSERT_EQ(m_shown.back(), 3);

    // The radio has moved to COM4, where it answers late; COM3 is gone.
    Setting("ports", "COM3", (m_dir / "nothing").string());
    SimFaults late;
    late.wakeUpAtAttempt = 8;
    AttachRadio(Radio(late), 4);
    m_shown.clear();
    Press(*dlg, "Ok");
    ASSERT_TRUE(WaitFor(*dlg, [&] { return !finished.isEmpty(); }));
    EXPECT_EQ(std::count(m_shown.begin(), m_shown.end(), 3), 0);
    ASSERT_FALSE(m_shown.empty());
    EXPECT_EQ(m_shown.back(), 4);
}

TEST_F(CloneProgressTest, ProgressLineAndBarShowThePercentOrTheSearchedPort)
{
    struct Case
    {
        const char* name;
        CloneDirection direction;
        const char* lang;
        SimFaults faults;
        int radioPort;      // 1: the configured port; any other: found by a search from COM1
        const char* prompt; // key of the line's text
        const char* suffix; // what follows it
        int bar;
        const char* endsWith; // key of the text the run ends on, nullptr when it ends by a message
    };
    SimFaults failRead; // block 97 fails: the line stays on the percent of 97 blocks of 256
    failRead.shortReply[0x610] = -1;
    SimFaults failWrite; // the last block fails: the line stays on 253 blocks of 254
    failWrite.silentWrite[0xFD0] = -1;
    SimFaults silent;
    silent.wakeUpAtAttempt = 1000;
    const Case cases[] = {
        {"read 37", CloneDirection::Read, "english", failRead, 1, "IDS_PROMPT_READ", " 37%", 378,
         "IDS_PROMPT_READFAIL"},
        {"read 37 zh", CloneDirection::Read, "chinese", failRead, 1, "IDS_PROMPT_READ", " 37%", 378,
         "IDS_PROMPT_READFAIL"},
        {"write 99", CloneDirection::Write, "english", failWrite, 1, "IDS_PROMPT_WRITE", " 99%", 1013,
         "IDS_PROMPT_WRITEFAIL"},
        {"COM19", CloneDirection::Read, "english", silent, 19, "IDS_SEARCHCOMPORT", "...", 0, nullptr},
        {"COM16", CloneDirection::Write, "chinese", silent, 16, "IDS_SEARCHCOMPORT", "", 0, nullptr},
    };
    for (const Case& c : cases) {
        UseShippedLanguage(c.lang);
        const bool search = c.radioPort != 1;
        Setting("setup", "searchcom", search ? "1" : "0");
        Setting("setup", "com", search ? "2" : "1");
        AttachRadio(Radio(c.faults), c.radioPort);
        if (search) // the radio of an earlier case no longer answers on COM1
            Setting("ports", "COM1", (m_dir / "nothing").string());
        m_prompts.clear();
        m_bars.clear();
        auto dlg = MakeDialog(c.direction);
        QSignalSpy finished(dlg.get(), &QDialog::finished);
        Press(*dlg, "Ok");
        ASSERT_TRUE(WaitFor(*dlg, [&] {
            return c.endsWith ? Prompt(*dlg) == Lang(c.endsWith) : !finished.isEmpty();
        })) << c.name;

        const QString expected = Lang(c.prompt) + QString::fromLatin1(c.suffix);
        const qsizetype at = c.endsWith ? m_prompts.size() - 2 : m_prompts.indexOf(expected);
        ASSERT_GE(at, 0) << c.name << ": " << m_prompts.join(" | ").toStdString();
        EXPECT_EQ(m_prompts[at], expected) << c.name;
        EXPECT_EQ(m_bars[at], c.bar) << c.name;
        if (search) {
            EXPECT_FALSE(m_prompts.contains(Lang(c.prompt) + QString(c.radioPort % 16 + 1, '.'))) << c.name;
            EXPECT_TRUE(std::find(m_shown.begin(), m_shown.end(), c.radioPort) != m_shown.end()) << c.name;
        }
        m_port.Close();
    }
}

TEST_F(CloneProgressTest, StatusBarEndsOnThePortInUseWhateverTheTiming)
{
    Setting("setup", "searchcom", "1");
    Setting("setup", "com", "2"); // no such port: the search goes on to COM3
    SimFaults silent;
    silent.wakeUpAtAttempt = 1000;
    AttachRadio(Radio(silent), 3);

    // A failed search, and a cancelled one, leave the configured port in use, not the last one tried.
    for (const bool cancel : {false, true}) {
        m_shown.clear();
        auto dlg = MakeDialog(CloneDirection::Read);
        QSignalSpy finished(dlg.get(), &QDialog::finished);
        Press(*dlg, "Ok");
        ASSERT_TRUE(WaitFor(*dlg, [&] { return !m_shown.empty() && m_shown.back() == 3; })) << cancel;
        if (cancel)
            Press(*dlg, "Cancel");
        ASSERT_TRUE(WaitFor(*dlg, [&] { return !finished.isEmpty(); })) << cancel;
        EXPECT_EQ(m_shown.back(), 2) << cancel;
    }

    // A fast radio found while the user interface thread was too busy to look: the found port.
    CSimRadio& radio = Radio();
    AttachRadio(radio, 4);
    m_shown.clear();
    auto dlg = MakeDialog(CloneDirection::Read);
    QSignalSpy finished(dlg.get(), &QDialog::finished);
    Press(*dlg, "Ok");
    QElapsedTimer clock;
    clock.start();
    while (radio.ReadAddresses().empty() && clock.elapsed() < 15000)
        QThread::msleep(5); // no event processed: no timer tick
    ASSERT_TRUE(WaitFor(*dlg, [&] { return !m_shown.empty() || !finished.isEmpty(); }));
    EXPECT_TRUE(finished.isEmpty()); // shown while the read goes on, not only at its end
    ASSERT_TRUE(WaitFor(*dlg, [&] { return !finished.isEmpty(); }));
    EXPECT_EQ(ReadProfileInt(g_strSettingFile, "setup", "com", 0), 4);
    ASSERT_FALSE(m_shown.empty());
    EXPECT_EQ(m_shown.back(), 4);
}

TEST_F(CloneProgressTest, ReadThatSkippedBlocksWarnsAfterClosingWhichPartsKeepTheirValues)
{
    AttachRadio(RadioSkippingBlocks(), 1);
    auto dlg = MakeDialog(CloneDirection::Read);
    dlg->show();
    QSignalSpy finished(dlg.get(), &QDialog::finished);
    bool askedWhileOpen = false;
    MessageHandler scripted;
    scripted = SetMessageHandler([&](const MessageRequest& r) {
        askedWhileOpen = askedWhileOpen || dlg->isVisible() || finished.isEmpty();
        return scripted(r);
    });

    Press(*dlg, "Ok");
    ASSERT_TRUE(WaitFor(*dlg, [&] { return !finished.isEmpty(); }));
    SetMessageHandler(scripted);

    // The read counts as done: the document takes the radio's bytes, keeps its own where the radio
    // failed, is refreshed and stays unmodified.
    EXPECT_EQ(finished.first().first().toInt(), CCloneProgressDlg::kResultDone);
    EXPECT_EQ(m_applied, 1);
    EXPECT_FALSE(m_doc.IsModified());
    RadioImage expected = m_radios.back()->Memory();
    for (auto [from, to] : {std::pair{0x110, 0x190}, std::pair{0x820, 0x830}, std::pair{0xFF0, 0x1000}})
        std::copy(m_before.begin() + from, m_before.begin() + to, expected.begin() + from);
    EXPECT_EQ(m_doc.Image(), expected);

    ASSERT_EQ(m_messages.Asked().size(), 1u);
    const MessageRequest& warning = m_messages.Asked()[0];
    EXPECT_FALSE(askedWhileOpen);
    EXPECT_EQ(warning.caption, LoadLangString("IDS_PROMPT"));
    EXPECT_EQ(warning.icon, MsgIcon::Exclamation);
    const std::string parts = "Channels 17\xE2\x80\x93"
                              "24\nVFO B\nCalibration values (test mode)";
    EXPECT_EQ(warning.text, FormatLangText(LoadLangString("IDS_WARN_READSKIPPED"), parts));
}

// Not a check: the warnings as the user sees them, written when ZQ708_SHOTS_DIR is set.
TEST_F(CloneProgressTest, SkippedBlocksScreenshots)
{
    const QString dir = qEnvironmentVariable("ZQ708_SHOTS_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "set ZQ708_SHOTS_DIR to write the pictures";
    QDir().mkpath(dir);
    MessageHandler scripted = SetMessageHandler({});
    InstallQtMessageBox();
    for (const char* lang : {"english", "chinese"}) {
        UseShippedLanguage(lang);
        AttachRadio(RadioSkippingBlocks(), 1);
        auto dlg = MakeDialog(CloneDirection::Read);
        dlg->show();
        QSignalSpy finished(dlg.get(), &QDialog::finished);
        QString shot = QStringLiteral("read-skipped");
        QTimer shooter;
        QObject::connect(&shooter, &QTimer::timeout, &shooter, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                box->grab().save(dir + QStringLiteral("/%1-%2.png").arg(shot, QString::fromLatin1(lang)));
                box->accept();
            }
        });
        shooter.start(50);
        Press(*dlg, "Ok");
        ASSERT_TRUE(WaitFor(*dlg, [&] { return !finished.isEmpty(); }));
        shot = QStringLiteral("write-stopped");
        CCloneProgressDlg::WarnOfStoppedWrite(37);
    }
    SetMessageHandler(scripted);
}

// The write dialog with its check box, its two phases and what a radio that lost channel 5 gets.
TEST_F(CloneProgressTest, VerifiedWriteScreenshots)
{
    const QString dir = qEnvironmentVariable("ZQ708_SHOTS_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "set ZQ708_SHOTS_DIR to write the pictures";
    QDir().mkpath(dir);
    MessageHandler scripted = SetMessageHandler({});
    InstallQtMessageBox();
    SimFaults lost;
    lost.dropWrite[0x050] = -1;
    for (const char* lang : {"english", "chinese"}) {
        UseShippedLanguage(lang);
        const QString name =
            dir + QStringLiteral("/write-%1-") + QString::fromLatin1(lang) + QStringLiteral(".png");
        m_lines.push_back(std::make_unique<CSimLine>(Radio(lost), true)); // paced: phases long enough to see
        ASSERT_TRUE(m_lines.back()->Start());
        Setting("ports", "COM1", m_lines.back()->DevicePath());
        auto dlg = MakeDialog(CloneDirection::Write);
        dlg->show();
        dlg->grab().save(name.arg(QStringLiteral("start")));
        QSignalSpy finished(dlg.get(), &QDialog::finished);
        QTimer shooter;
        QObject::connect(&shooter, &QTimer::timeout, &shooter, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                box->grab().save(name.arg(QStringLiteral("differs")));
                box->accept();
            }
        });
        shooter.start(50);
        Press(*dlg, "Ok");
        const auto halfway = [&](const char* key) {
            return Prompt(*dlg).startsWith(Lang(key)) &&
                   FindControl<QProgressBar>(dlg.get(), "Bar")->value() > 400;
        };
        ASSERT_TRUE(WaitFor(*dlg, [&] { return halfway("IDS_PROMPT_WRITE"); }));
        dlg->grab().save(name.arg(QStringLiteral("writing")));
        ASSERT_TRUE(WaitFor(*dlg, [&] { return halfway("IDS_PROMPT_VERIFY"); }));
        dlg->grab().save(name.arg(QStringLiteral("verifying")));
        ASSERT_TRUE(WaitFor(
            *dlg, [&] { return !finished.isEmpty(); }, 30000));
    }
    SetMessageHandler(scripted);
}
