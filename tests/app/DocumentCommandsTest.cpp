// New, Open, Save, Save As, dropped files, the recent-file list and closing the window, with
// every question they ask.
#include "ShellTestEnv.h"
#include "app/AppPaths.h"
#include "app/MainFrame.h"
#include "app/VantorApp.h"
#include "i18n/LangText.h"
#include "res/CommandIds.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace {

class DocumentCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        env.WriteFile("setting.ini", kSettings);
        ASSERT_TRUE(app.InitInstance(env.Dir(), {}));
        env.messages.Clear();
    }

    std::string AskedText(std::size_t i) const { return env.messages.Asked().at(i).text; }

    CShellTestEnv env;
    CVantorApp app;
    const std::size_t kChannel2 = 0x20; // record 2: empty in a new document
};

TEST_F(DocumentCommandsTest, NewAsksTheClearQuestionAndCancelKeepsTheDocument)
{
    app.Doc().Image()[kChannel2] = 0x12;
    env.messages.Queue(MsgResult::Cancel);
    app.MainFrame()->Action(cmd::FileNew)->trigger();
    ASSERT_EQ(env.messages.Asked().size(), 1u);
    EXPECT_EQ(AskedText(0), LoadLangString("IDS_WARN_CLEAR"));
    EXPECT_EQ(env.messages.Asked()[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(app.Doc().Image()[kChannel2], 0x12);

    env.messages.Queue(MsgResult::Ok);
    app.OnFileNew();
    EXPECT_EQ(app.Doc().Image()[kChannel2], 0xFF);
}

TEST_F(DocumentCommandsTest, NewOnAModifiedDocumentAsksToSaveFirst)
{
    app.Doc().SetModifiedFlag();
    env.messages.Queue(MsgResult::Cancel);
    app.OnFileNew();
    ASSERT_EQ(env.messages.Asked().size(), 1u);
    EXPECT_EQ(AskedText(0), LoadLangString("IDS_WARN_MODIFIED"));
    EXPECT_EQ(env.messages.Asked()[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_TRUE(app.Doc().IsModified());

    // No: discard, then the clear question.
    env.messages.Queue(MsgResult::No);
    env.messages.Queue(MsgResult::Ok);
    app.OnFileNew();
    ASSERT_EQ(env.messages.Asked().size(), 3u);
    EXPECT_EQ(AskedText(2), LoadLangString("IDS_WARN_CLEAR"));
    EXPECT_FALSE(app.Doc().IsModified());
    EXPECT_TRUE(env.FileDialogs().empty());
}

TEST_F(DocumentCommandsTest, SaveWithoutAPathAsksForANameAndAddsTheExtension)
{
    env.AnswerFileDialog(env.Path("mine"));
    app.MainFrame()->Action(cmd::FileSave)->trigger();
    EXPECT_TRUE(env.messages.Asked().empty());
    ASSERT_EQ(env.FileDialogs().size(), 1u);
    EXPECT_EQ(env.FileDialogs()[0].kind, FileDialogKind::SaveAs);
    EXPECT_EQ(env.FileDialogs()[0].proposed, QStringLiteral("Item.pgm"));
    const std::string saved = env.ReadFile("mine.pgm");
    ASSERT_EQ(saved.size(), 4144u);
    EXPECT_EQ(saved.substr(0, 30), "ZQ708 Radio Program data v1.06");
    EXPECT_EQ(app.Doc().GetPathName(), env.Path("mine.pgm"));
    EXPECT_EQ(app.RecentFiles(), QStringList{QString::fromStdString(env.Path("mine.pgm"))});
    EXPECT_EQ(app.MainFrame()->windowTitle(), QStringLiteral("ZQ708 Programming Software"));
}

TEST_F(DocumentCommandsTest, SaveOverAFileAsksWithThePathAndCancelWritesNothing)
{
    env.AnswerFileDialog(env.Path("mine.pgm"));
    app.OnFileSave();
    const std::string before = env.ReadFile("mine.pgm");
    app.Doc().Image()[kChannel2] = 0x12;
    app.Doc().SetModifiedFlag();

    env.messages.Queue(MsgResult::Cancel);
    app.OnFileSave();
    ASSERT_EQ(env.messages.Asked().size(), 1u);
    EXPECT_EQ(AskedText(0), LoadLangString("IDS_WARN_SAVE") + env.Path("mine.pgm"));
    EXPECT_EQ(env.ReadFile("mine.pgm"), before);
    EXPECT_TRUE(app.Doc().IsModified());

    app.OnFileSave(); // OK
    EXPECT_NE(env.ReadFile("mine.pgm"), before);
    EXPECT_EQ(env.FileDialogs().size(), 1u);
}

TEST_F(DocumentCommandsTest, SaveAsProposesTheCurrentPathWithoutAQuestion)
{
    env.AnswerFileDialog(env.Path("first.pgm"));
    app.OnFileSaveAs();
    env.AnswerFileDialog(env.Path("second.pgm"));
    app.MainFrame()->Action(cmd::FileSaveAs)->trigger();
    EXPECT_TRUE(env.messages.Asked().empty());
    ASSERT_EQ(env.FileDialogs().size(), 2u);
    EXPECT_EQ(env.FileDialogs()[1].proposed.toStdString(), env.Path("first.pgm"));
    EXPECT_EQ(env.ReadFile("second.pgm").size(), 4144u);
    EXPECT_EQ(app.RecentFiles().first().toStdString(), env.Path("second.pgm"));

    // Cancel in the dialog: nothing saved, nothing changed.
    env.AnswerFileDialog("");
    app.OnFileSaveAs();
    EXPECT_EQ(app.Doc().GetPathName(), env.Path("second.pgm"));
}

TEST_F(DocumentCommandsTest, OpenThroughTheFileDialog)
{
    const QString path = env.CopyGolden("full_radio.pgm", "full.pgm");
    env.AnswerFileDialog(path.toStdString());
    app.MainFrame()->Action(cmd::FileOpen)->trigger();
    ASSERT_EQ(env.FileDialogs().size(), 1u);
    EXPECT_EQ(env.FileDialogs()[0].kind, FileDialogKind::Open);
    EXPECT_TRUE(env.messages.Asked().empty());
    EXPECT_EQ(app.Doc().GetPathName(), path.toStdString());
    EXPECT_EQ(app.MainFrame()->windowTitle(), QStringLiteral("ZQ708 Programming Software"));

    // A cancelled dialog changes nothing.
    app.OnFileOpen();
    EXPECT_EQ(app.Doc().GetPathName(), path.toStdString());
}

TEST_F(DocumentCommandsTest, FileOfAnotherKindIsRejectedAndNotListed)
{
    const std::string path = env.WriteFile("notes.pgm", std::string(4144, 'x'));
    EXPECT_FALSE(app.OpenDocumentFile(QString::fromStdString(path)));
    ASSERT_EQ(env.messages.Asked().size(), 1u);
    EXPECT_EQ(AskedText(0), LoadLangString("IDS_WARN_LOAD"));
    EXPECT_TRUE(app.Doc().GetPathName().empty());
    EXPECT_TRUE(app.RecentFiles().isEmpty());
}

TEST_F(DocumentCommandsTest, OpeningAModifiedDocumentCancelledKeepsIt)
{
    const QString path = env.CopyGolden("full_radio.pgm", "full.pgm");
    app.Doc().Image()[kChannel2] = 0x12;
    app.Doc().SetModifiedFlag();
    env.messages.Queue(MsgResult::Cancel);
    EXPECT_FALSE(app.OpenDocumentFile(path));
    EXPECT_EQ(app.Doc().Image()[kChannel2], 0x12);
    EXPECT_TRUE(app.Doc().GetPathName().empty());
}

TEST_F(DocumentCommandsTest, DroppedFileOpens)
{
    const QString path = env.CopyGolden("full_radio.pgm", "dropped.pgm");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    CMainFrame& frame = *app.MainFrame();
    EXPECT_TRUE(frame.acceptDrops());
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &drop);
    EXPECT_EQ(app.Doc().GetPathName(), path.toStdString());
    EXPECT_TRUE(env.messages.Asked().empty());
}

TEST_F(DocumentCommandsTest, RecentFileListKeepsTheLastFourAcrossRuns)
{
    QStringList opened;
    for (int i = 0; i < 5; ++i) {
        opened.prepend(env.CopyGolden("full_radio.pgm", "r" + std::to_string(i) + ".pgm"));
        ASSERT_TRUE(app.OpenDocumentFile(opened.first()));
    }
    // Opening a listed file again moves it to the top without a duplicate.
    ASSERT_TRUE(app.OpenDocumentFile(opened[2]));
    const QStringList expected{opened[2], opened[0], opened[1], opened[3]};
    EXPECT_EQ(app.RecentFiles(), expected);

    CMainFrame& frame = *app.MainFrame();
    frame.UpdateRecentFileMenu();
    for (int i = 0; i < 4; ++i) {
        QAction* entry = frame.Action(cmd::FileMru1 + i);
        ASSERT_NE(entry, nullptr);
        EXPECT_TRUE(entry->text().startsWith(QStringLiteral("&%1 ").arg(i + 1)));
    }
    EXPECT_EQ(frame.Action(cmd::FileMru1 + 4), nullptr);

    // Choosing an entry opens it.
    frame.Action(cmd::FileMru1 + 3)->trigger();
    EXPECT_EQ(app.Doc().GetPathName(), opened[3].toStdString());

    // A later run lists the same files; an entry that no longer opens leaves the list.
    CVantorApp later;
    ASSERT_TRUE(later.InitInstance(env.Dir(), {}));
    EXPECT_EQ(later.RecentFiles().size(), 4);
    QFile::remove(opened[0]);
    EXPECT_FALSE(later.OpenDocumentFile(opened[0]));
    EXPECT_FALSE(later.RecentFiles().contains(opened[0]));
}

TEST_F(DocumentCommandsTest, ClosingAModifiedDocumentAsks)
{
    CMainFrame& frame = *app.MainFrame();
    app.Doc().SetModifiedFlag();
    env.messages.Queue(MsgResult::Cancel);
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.isVisible());
    ASSERT_EQ(env.messages.Asked().size(), 1u);
    EXPECT_EQ(AskedText(0), LoadLangString("IDS_WARN_MODIFIED"));

    // Yes saves first (here through Save As), then the window closes.
    env.messages.Queue(MsgResult::Yes);
    env.AnswerFileDialog(env.Path("kept.pgm"));
    EXPECT_TRUE(frame.close());
    EXPECT_EQ(env.ReadFile("kept.pgm").size(), 4144u);
}

} // namespace

TEST_F(DocumentCommandsTest, FailedFileCommandsSayWhyInTheUsersLanguage)
{
    app.MainFrame()->Action(cmd::NextLanguage)->trigger();
    ASSERT_EQ(g_strLangFile, env.Path("chinese.lang"));
    const std::string missing = env.Path("missing.pgm");
    const std::string noFolder = env.Path("no/folder/radio.pgm");
    const std::string noCsvFolder = env.Path("no/folder/channels.csv");
    env.AnswerFileDialog(missing);
    app.MainFrame()->Action(cmd::FileOpen)->trigger();
    env.AnswerFileDialog(noFolder);
    app.MainFrame()->Action(cmd::FileSaveAs)->trigger();
    env.AnswerFileDialog(noCsvFolder);
    app.MainFrame()->Action(cmd::FileExportCsv)->trigger();

    const std::string reason = std::strerror(ENOENT);
    ASSERT_EQ(env.messages.Asked().size(), 3u);
    EXPECT_EQ(AskedText(0), "无法打开文件：\n" + missing + "\n" + reason);
    EXPECT_EQ(AskedText(1), "无法保存文件：\n" + noFolder + "\n" + reason);
    EXPECT_EQ(AskedText(2), "无法保存文件：\n" + noCsvFolder + "\n" + reason);
    for (const MessageRequest& asked : env.messages.Asked()) {
        EXPECT_EQ(asked.caption, "错误");
        EXPECT_EQ(asked.icon, MsgIcon::Stop);
    }
}
