// Backups in the desktop program: a read leaves one, a write stores one before anything is sent, a
// backup that cannot be stored asks (write) or tells (read), and File > Backups lists, opens and
// compares them.
#include "ShellTestEnv.h"
#include "app/BackupStore.h"
#include "app/BackupsDlg.h"
#include "app/MainFrame.h"
#include "app/VantorApp.h"
#include "i18n/LangText.h"
#include "i18n/Profile.h"
#include "radio/ImageDiff.h"
#include "res/CommandIds.h"
#include "tests/support/FindControl.h"
#include "tools/sim/SimLine.h"
#include "tools/sim/SimRadio.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

RadioImage RadioMemory()
{
    CVantorDoc doc;
    FileError error;
    doc.LoadFile(ZQ708_SOURCE_DIR "/tests/data/full_radio.pgm", error);
    return doc.Image();
}

// The memory with channel 1 cleared but its bookkeeping bytes as they were, as a radio may hold it.
RadioImage Unprepared(RadioImage image)
{
    std::fill_n(image.begin() + RecordOffset(1), ImageMap::kRecordSize, 0xFF);
    return image;
}

class BackupsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldDataHome = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
        ::setenv("XDG_DATA_HOME", env.Path("data").c_str(), 1);
        ASSERT_TRUE(m_line.Start());
        env.WriteFile("setting.ini", std::string(kSettings) + "[ports]\nCOM1=" + m_line.DevicePath() + "\n");
        ASSERT_TRUE(app.InitInstance(env.Dir(), {}));
        env.messages.Clear();
    }
    void TearDown() override
    {
        m_line.Stop();
        ::setenv("XDG_DATA_HOME", m_oldDataHome.c_str(), 1);
    }

    CMainFrame& Frame() { return *app.MainFrame(); }

    // Runs the command; a progress dialog it opens is started with OK and runs to its end. Returns
    // whether one opened, and the backups there were when it opened.
    bool RunTransfer(int command, std::vector<BackupEntry>* atStart = nullptr)
    {
        bool opened = false;
        QTimer timer; // gone with this call when no dialog ran an event loop
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = true;
                if (atStart)
                    *atStart = CBackupStore().List();
                QTest::mouseClick(FindControl<QPushButton>(modal, "Ok"), Qt::LeftButton);
            }
        });
        timer.start(0);
        Frame().Action(command)->trigger();
        return opened;
    }

    // The memory a backup holds.
    static RadioImage Held(const BackupEntry& entry)
    {
        CVantorDoc doc;
        FileError error;
        EXPECT_EQ(doc.LoadFile(entry.path, error), DataFile::LoadStatus::Loaded) << entry.path;
        return doc.Image();
    }

    CShellTestEnv env;
    CSimRadio m_radio{Unprepared(RadioMemory())};
    CSimLine m_line{m_radio, false};
    CVantorApp app;
    std::string m_oldDataHome;
};

TEST_F(BackupsTest, ReadLeavesABackupOfWhatWasRead)
{
    ASSERT_TRUE(RunTransfer(cmd::ReadFromRadio));
    ASSERT_EQ(app.Doc().Image(), m_radio.Memory());
    const std::vector<BackupEntry> backups = CBackupStore().List();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(backups[0].kind, "read");
    EXPECT_EQ(std::filesystem::path(backups[0].path).parent_path(), env.Path("data/zq708-cps/backups"));
    EXPECT_EQ(Held(backups[0]), m_radio.Memory()); // as it came, bookkeeping bytes and all
    EXPECT_TRUE(env.messages.Asked().empty());
}

TEST_F(BackupsTest, WriteStoresWhatItSendsBeforeSendingIt)
{
    app.Doc().Image() = Unprepared(RadioMemory());
    app.Doc().Image()[RecordOffset(5)] = 0x25; // differs from the radio's
    RadioImage sent = app.Doc().Image();
    PrepareImageForTransfer(sent);
    ASSERT_NE(sent, app.Doc().Image());
    std::vector<BackupEntry> atStart;
    ASSERT_TRUE(RunTransfer(cmd::WriteToRadio, &atStart));
    ASSERT_EQ(atStart.size(), 1u); // already there when the dialog opened
    EXPECT_EQ(atStart[0].kind, "written");
    EXPECT_EQ(Held(atStart[0]), sent);
    EXPECT_TRUE(std::equal(sent.begin(), sent.begin() + ImageMap::kUnsentTail, m_radio.Memory().begin()));
}

TEST_F(BackupsTest, BackupThatCannotBeStoredAsksBeforeAWriteAndTellsAfterARead)
{
    // A file where the backup folder should be: the same way out as a full disk or a folder the user
    // may not write.
    env.WriteFile("data", "not a folder");
    const RadioImage before = m_radio.Memory();
    app.Doc().Image()[RecordOffset(5)] = 0x25;

    env.messages.Queue(MsgResult::No);
    EXPECT_FALSE(RunTransfer(cmd::WriteToRadio)); // no progress dialog: nothing is sent
    EXPECT_EQ(m_radio.Memory(), before);
    EXPECT_EQ(m_line.BytesReceived(), 0u);
    ASSERT_EQ(env.messages.Asked().size(), 1u);
    const MessageRequest& asked = env.messages.Asked()[0];
    EXPECT_EQ(asked.buttons, MsgButtons::YesNo);
    EXPECT_NE(asked.text.find(env.Path("data")), std::string::npos) << asked.text;

    env.messages.Clear();
    env.messages.Queue(MsgResult::Yes);
    EXPECT_TRUE(RunTransfer(cmd::WriteToRadio));
    EXPECT_NE(m_radio.Memory(), before);

    env.messages.Clear();
    app.Doc().OnNewDocument(false);
    EXPECT_TRUE(RunTransfer(cmd::ReadFromRadio));
    EXPECT_EQ(app.Doc().Image(), m_radio.Memory()); // the read itself stands
    ASSERT_EQ(env.messages.Asked().size(), 1u);
    EXPECT_EQ(env.messages.Asked()[0].buttons, MsgButtons::Ok);
    const std::string told = env.messages.Asked()[0].text;
    const std::string templ = LoadLangString("IDS_BACKUP_READFAIL");
    EXPECT_EQ(told.rfind(templ.substr(0, templ.find("%1")) + env.Path("data"), 0), 0u) << told;
}

TEST_F(BackupsTest, SettingTurnsBackupsOff)
{
    WriteProfileString(g_strSettingFile, "setup", "backup", "0");
    WriteProfileString(g_strSettingFile, "setup", "verify", "0"); // no message after the write
    ASSERT_TRUE(RunTransfer(cmd::ReadFromRadio));
    ASSERT_TRUE(RunTransfer(cmd::WriteToRadio));
    EXPECT_TRUE(CBackupStore().List().empty());
    EXPECT_TRUE(env.messages.Asked().empty());
}

class BackupsDlgTest : public BackupsTest
{
protected:
    // Two backups: the radio's memory read yesterday, and one with channel 3 renamed written today.
    void StoreBackups()
    {
        std::string path, error;
        const std::time_t now = std::time(nullptr);
        ASSERT_TRUE(CBackupStore().Store(RadioMemory(), "read", now - 24 * 60 * 60, path, error)) << error;
        m_older = path;
        CVantorDoc doc;
        doc.Image() = RadioMemory();
        doc.SetName(3, CVantorDoc::EncodeName("NEW3"));
        ASSERT_TRUE(CBackupStore().Store(doc.Image(), "written", now, path, error)) << error;
        m_newer = path;
    }

    std::unique_ptr<CBackupsDlg> Dialog()
    {
        return std::make_unique<CBackupsDlg>(app.Doc(), [this](const QString& path) {
            m_opened.push_back(path.toStdString());
            return app.OpenDocumentFile(path);
        });
    }

    static void Click(QWidget* dlg, const char* name)
    {
        QTest::mouseClick(FindControl<QPushButton>(dlg, name), Qt::LeftButton);
    }

    std::string m_older, m_newer;
    std::vector<std::string> m_opened;
};

TEST_F(BackupsDlgTest, ListsTheBackupsNewestFirst)
{
    StoreBackups();
    const auto dlg = Dialog();
    const auto* list = FindControl<QTreeWidget>(dlg.get(), "List");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    const QTreeWidgetItem* newest = list->topLevelItem(0);
    EXPECT_EQ(newest->text(CBackupsDlg::kKind).toStdString(), LoadLangString("IDS_BACKUP_KIND_WRITTEN"));
    EXPECT_EQ(list->topLevelItem(1)->text(CBackupsDlg::kKind).toStdString(),
              LoadLangString("IDS_BACKUP_KIND_READ"));
    EXPECT_EQ(newest->text(CBackupsDlg::kChannels), QStringLiteral("95"));
    EXPECT_EQ(newest->text(CBackupsDlg::kNames), QStringLiteral("WX 1, WX 1, NEW3"));
    EXPECT_EQ(newest->text(CBackupsDlg::kBand), QStringLiteral("136-174 MHz")); // the test's only variant
    EXPECT_EQ(newest->text(CBackupsDlg::kDate).size(), 19);
    EXPECT_NE(FindControl<QWidget>(dlg.get(), "Folder")
                  ->property("text")
                  .toString()
                  .toStdString()
                  .find(CBackupStore().Folder()),
              std::string::npos);
}

TEST_F(BackupsDlgTest, ShowsTheDifferencesAgainstTheProgramsMemoryInWords)
{
    StoreBackups();
    app.Doc().Image() = RadioMemory();
    const auto dlg = Dialog();
    auto* list = FindControl<QTreeWidget>(dlg.get(), "List");
    const auto* text = FindControl<QPlainTextEdit>(dlg.get(), "Differences");

    list->setCurrentItem(list->topLevelItem(0));
    Click(dlg.get(), "Compare");
    CVantorDoc backup, current;
    FileError error;
    backup.LoadFile(m_newer, error);
    current.Image() = RadioMemory();
    current.LoadBandLimits();
    const std::vector<std::string> lines = CImageDiff::Compare(backup, current);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(text->toPlainText().toStdString(), lines.front());
    EXPECT_NE(lines.front().find("NEW3"), std::string::npos);

    list->setCurrentItem(list->topLevelItem(1));
    EXPECT_TRUE(text->toPlainText().isEmpty()); // a new selection clears the old differences
    Click(dlg.get(), "Compare");
    EXPECT_EQ(text->toPlainText().toStdString(), LoadLangString("IDS_BACKUP_SAME"));
}

TEST_F(BackupsDlgTest, OpensOneAsFileOpenWouldAndKeepsTheBackupAsItIs)
{
    StoreBackups();
    app.Doc().SetModifiedFlag();
    env.messages.Queue(MsgResult::Cancel);
    {
        const auto dlg = Dialog();
        auto* list = FindControl<QTreeWidget>(dlg.get(), "List");
        list->setCurrentItem(list->topLevelItem(1));
        Click(dlg.get(), "Open");
        ASSERT_EQ(env.messages.Asked().size(), 1u); // the question whether to save changes
        EXPECT_EQ(env.messages.Asked()[0].text, LoadLangString("IDS_WARN_MODIFIED"));
        EXPECT_NE(dlg->result(), QDialog::Accepted); // Cancel: the dialog stays
        EXPECT_NE(app.Doc().Image(), RadioMemory());

        env.messages.Queue(MsgResult::No);
        Click(dlg.get(), "Open");
        EXPECT_EQ(dlg->result(), QDialog::Accepted);
    }
    EXPECT_EQ(m_opened, (std::vector<std::string>{m_older, m_older}));
    EXPECT_EQ(app.Doc().Image(), RadioMemory());
    EXPECT_FALSE(app.Doc().IsModified());
    EXPECT_TRUE(app.Doc().GetPathName().empty()); // a save asks for a file of its own

    // The menu reaches the dialog.
    std::string opened;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = modal->metaObject()->className();
            modal->close();
        }
    });
    Frame().Action(cmd::FileBackups)->trigger();
    EXPECT_EQ(opened, "CBackupsDlg");
}

TEST_F(BackupsDlgTest, Screenshots)
{
    StoreBackups();
    app.Doc().Image() = RadioMemory();
    const QString dir = QStringLiteral("/work/screens/i19-backup");
    if (!QDir(dir).exists())
        GTEST_SKIP() << "no screenshot folder";
    for (const char* language : {"english", "chinese"}) {
        UseShippedLanguage(language);
        const auto dlg = Dialog();
        dlg->show();
        auto* list = FindControl<QTreeWidget>(dlg.get(), "List");
        list->setCurrentItem(list->topLevelItem(0));
        Click(dlg.get(), "Compare");
        EXPECT_TRUE(
            dlg->grab().save(dir + QStringLiteral("/backups-%1.png").arg(QLatin1StringView(language))));
    }
}

} // namespace

namespace {

// The same program and simulated radio, for what a read means to the edit history.
using ReadFromRadioTest = BackupsTest;

TEST_F(ReadFromRadioTest, IsOneUndoStepThatLeavesTheModifiedFlagAlone)
{
    CVantorDoc& doc = app.Doc();
    const RadioImage before = doc.Image();
    ASSERT_TRUE(RunTransfer(cmd::ReadFromRadio));
    const RadioImage read = doc.Image();
    ASSERT_NE(read, before);
    EXPECT_FALSE(doc.IsModified());

    QAction* undo = Frame().Action(cmd::EditUndo);
    ASSERT_TRUE(undo->isEnabled());
    EXPECT_TRUE(undo->text().contains(QString::fromStdString(LoadLangString("IDS_EDIT_READ"))))
        << undo->text().toStdString();
    undo->trigger();
    EXPECT_EQ(doc.Image(), before);
    EXPECT_FALSE(undo->isEnabled());
    Frame().Action(cmd::EditRedo)->trigger();
    EXPECT_EQ(doc.Image(), read);
}

} // namespace
