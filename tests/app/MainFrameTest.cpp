// The main window: toolbar and tooltips, shortcuts inside the pages, tabs across documents and
// languages, help file, About box.
#include "app/MainFrame.h"

#include "ShellTestEnv.h"
#include "app/AboutDlg.h"
#include "app/AppPaths.h"
#include "app/PageTabCtrl.h"
#include "app/VantorApp.h"
#include "app/VantorView.h"
#include "i18n/LangText.h"
#include "res/CommandIds.h"
#include "tests/support/FindControl.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

class MainFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        env.WriteFile("setting.ini", kSettings);
        ASSERT_TRUE(app.InitInstance(env.Dir(), {}));
        env.messages.Clear();
    }

    CMainFrame& Frame() { return *app.MainFrame(); }
    CPageTabCtrl& Tabs() { return *Frame().View()->TabCtrl(); }

    // Runs `action` and returns the class of the modal dialog it opened (closed again at once).
    std::string ModalOpenedBy(const std::function<void()>& action)
    {
        std::string name;
        QTimer::singleShot(0, [&name] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                name = modal->metaObject()->className();
                modal->close();
            }
        });
        action();
        return name;
    }

    CShellTestEnv env;
    CVantorApp app;
};

TEST_F(MainFrameTest, ToolbarButtonsInOrderEachWithItsPicture)
{
    std::vector<int> commands;
    for (QAction* a : Frame().ToolBar()->actions()) {
        commands.push_back(a->isSeparator() ? 0 : a->data().toInt());
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().isNull()) << a->data().toInt();
        }
    }
    EXPECT_EQ(commands, (std::vector<int>{cmd::FileNew, cmd::FileOpen, cmd::FileSave, 0, cmd::EditUndo,
                                          cmd::EditRedo, 0, cmd::ReadFromRadio, cmd::WriteToRadio, 0,
                                          cmd::FilePrint, 0, cmd::NextLanguage, cmd::HelpContents}));
    EXPECT_FALSE(QApplication::windowIcon().isNull());
}

TEST_F(MainFrameTest, TooltipsComeFromTheLanguageFileCutTo19Characters)
{
    env.WriteFile("tips.lang",
                  "[String]\nIDS_TIP_57600=Create a new empty radio memory\n"
                  "IDS_TIP_57601=从电台读取全部信道和功能设置数据到电脑中\nIDS_TIP_32771=Read\n");
    g_strLangFile = env.Path("tips.lang");
    EXPECT_EQ(CMainFrame::ToolTipText(cmd::FileNew), QStringLiteral("Create a new empty "));
    EXPECT_EQ(CMainFrame::ToolTipText(cmd::FileOpen),
              QStringLiteral("从电台读取全部信道和功能设置数据到电脑"));
    EXPECT_EQ(CMainFrame::ToolTipText(cmd::ReadFromRadio), QStringLiteral("Read"));
    EXPECT_EQ(CMainFrame::ToolTipText(cmd::HelpContents), QStringLiteral("Not Found"));
    EXPECT_EQ(CMainFrame::ToolTipText(0), QString());

    // The toolbar asks each time a tooltip shows.
    auto* button =
        qobject_cast<QToolButton*>(Frame().ToolBar()->widgetForAction(Frame().Action(cmd::ReadFromRadio)));
    ASSERT_NE(button, nullptr);
    QHelpEvent help(QEvent::ToolTip, QPoint(4, 4), button->mapToGlobal(QPoint(4, 4)));
    QCoreApplication::sendEvent(button, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Read"));
    QToolTip::hideText();
}

TEST_F(MainFrameTest, ShortcutsWorkInsideThePagesAndCtrlCOpensThePortDialog)
{
    // An edit field inside the channel table page has the focus.
    auto* edit = new QLineEdit(Tabs().widget(0));
    edit->show();
    Frame().activateWindow();
    edit->setFocus();

    env.messages.Queue(MsgResult::Cancel);
    QTest::keyClick(edit, Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(env.messages.Asked().size(), 1u);
    EXPECT_EQ(env.messages.Asked()[0].text, LoadLangString("IDS_WARN_CLEAR"));

    edit->setText(QStringLiteral("abc"));
    edit->selectAll();
    const std::string opened =
        ModalOpenedBy([edit] { QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier); });
    EXPECT_EQ(opened, "CPortDlg");

    // Paste has no command of its own, so it still pastes into the field.
    QApplication::clipboard()->setText(QStringLiteral("xyz"));
    edit->clear();
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("xyz"));
}

TEST_F(MainFrameTest, TheVfoPageKeepsItsKeys)
{
    Tabs().setCurrentIndex(2);
    Frame().show();
    QApplication::setActiveWindow(&Frame());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    auto* rx = FindControl<QLineEdit>(Tabs().widget(2), "RxFreqF1");
    rx->setFocus();
    rx->setText(QStringLiteral("145.50000"));
    rx->selectAll();
    QApplication::clipboard()->clear();
    const std::string opened = ModalOpenedBy([rx] { QTest::keyClick(rx, Qt::Key_C, Qt::ControlModifier); });
    QApplication::processEvents(); // the check for a dialog runs now, finding none
    EXPECT_EQ(opened, "");
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("145.50000")); // copied, as in any field
    QTest::keyClick(rx, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(env.messages.Asked().empty()); // no New either
}

TEST_F(MainFrameTest, CommandsOpenTheirDialogs)
{
    EXPECT_EQ(ModalOpenedBy([this] { Frame().Action(cmd::Language)->trigger(); }), "CLanguageDlg");
    EXPECT_EQ(ModalOpenedBy([this] { Frame().Action(cmd::AppAbout)->trigger(); }), "CAboutDlg");
    EXPECT_EQ(ModalOpenedBy([this] { Frame().Action(cmd::ReadFromRadio)->trigger(); }), "CCloneProgressDlg");
    EXPECT_EQ(ModalOpenedBy([this] { Frame().Action(cmd::TestMode)->trigger(); }), "CPasswordDlg");
    EXPECT_EQ(ModalOpenedBy([this] { Frame().Action(cmd::RadioPresets)->trigger(); }), "CRadiogramDlg");
}

TEST_F(MainFrameTest, SelectedTabSurvivesNewDocumentsAndLanguageChanges)
{
    Tabs().setCurrentIndex(2);
    env.messages.Queue(MsgResult::Ok);
    app.OnFileNew();
    EXPECT_EQ(Tabs().currentIndex(), 2);
    EXPECT_TRUE(Tabs().widget(2)->isVisible());
    EXPECT_FALSE(Tabs().widget(0)->isVisible());

    SetLanguage("chinese");
    app.ApplyLanguage();
    EXPECT_EQ(Tabs().currentIndex(), 2);
    EXPECT_EQ(Tabs().tabText(2).toStdString(), "     " + LoadLangString("IDS_VFOFREQ") + "     ");
    EXPECT_EQ(Frame().menuBar()->actions()[2]->text().toStdString(), LoadLangString("Menu_Program"));
    EXPECT_EQ(Frame().Action(cmd::FileOpen)->text().toStdString(), LoadLangString("Menu_File_Open"));
    EXPECT_EQ(Frame().windowTitle().toStdString(), LoadLangString("IDS_WINDOWNAME"));
}

TEST_F(MainFrameTest, NextLanguageGoesToTheFollowingFile)
{
    // Listed by name (chinese, english): after the last comes the first.
    Frame().Action(cmd::NextLanguage)->trigger();
    EXPECT_EQ(g_strLangFile, env.Path("chinese.lang"));
    EXPECT_EQ(Tabs().tabText(0).trimmed().toStdString(), LoadLangString("IDS_CHANNEL"));
}

// Each shipped language file, so that a file added later is checked too.
std::vector<std::string> ShippedLanguageFiles()
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(ZQ708_SOURCE_DIR "/lang"))
        if (entry.path().extension() == ".lang")
            files.push_back(entry.path().string());
    return files;
}

// The items of a menu (or the titles of the menu bar) that share an access key with an earlier one.
std::string SharedAccessKeys(const QList<QAction*>& actions)
{
    QStringList shared;
    QMap<QKeySequence, QString> seen;
    for (const QAction* a : actions) {
        const QKeySequence key = QKeySequence::mnemonic(a->text());
        if (a->isSeparator() || key.isEmpty())
            continue;
        if (seen.contains(key))
            shared << seen[key] + QStringLiteral(" / ") + a->text();
        seen.insert(key, a->text());
    }
    return shared.join(QStringLiteral("; ")).toStdString();
}

TEST_F(MainFrameTest, EveryMenuOfEveryLanguageHasDistinctAccessKeys)
{
    const std::vector<std::string> files = ShippedLanguageFiles();
    ASSERT_GE(files.size(), 2u);
    ASSERT_TRUE(app.OpenDocumentFile(env.CopyGolden("full_radio.pgm", "a.pgm"))); // a recent file too
    for (const std::string& file : files) {
        g_strLangFile = file;
        app.ApplyLanguage();
        const QList<QAction*> titles = Frame().menuBar()->actions();
        EXPECT_EQ(SharedAccessKeys(titles), "") << file;
        for (QAction* title : titles) {
            emit title->menu()->aboutToShow(); // the File menu adds its recent files
            EXPECT_EQ(SharedAccessKeys(title->menu()->actions()), "") << file;
        }
    }
}

TEST_F(MainFrameTest, AltFThenXExits)
{
    for (const char* language : {"english", "chinese"}) {
        SetLanguage(language);
        app.ApplyLanguage();
        QSignalSpy exits(Frame().Action(cmd::AppExit), &QAction::triggered);
        QSignalSpy exports(Frame().Action(cmd::FileExportCsv), &QAction::triggered);
        Frame().show();
        QApplication::setActiveWindow(&Frame());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        QTest::keyClick(&Frame(), Qt::Key_F, Qt::AltModifier);
        QMenu* file = Frame().menuBar()->actions()[0]->menu();
        ASSERT_TRUE(QTest::qWaitFor([file] { return file->isVisible(); })) << language;
        QTest::keyClick(file, Qt::Key_X);
        EXPECT_EQ(exits.size(), 1) << language;
        EXPECT_EQ(exports.size(), 0) << language;
        EXPECT_FALSE(Frame().isVisible()) << language;
    }
}

// Receives what the Help command asks the desktop to open.
class CUrlCatcher final : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened.append(url); }
};

TEST_F(MainFrameTest, HelpFileSitsBesideTheLanguageFile)
{
    CUrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    Frame().Action(cmd::HelpContents)->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_EQ(catcher.opened,
              QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(env.Path("english.chm")))});
    EXPECT_EQ(CMainFrame::HelpFilePath("/opt/zq/english.lang"), QStringLiteral("/opt/zq/english.chm"));
    EXPECT_EQ(CMainFrame::HelpFilePath("/opt/zq/my.test.lang"), QStringLiteral("/opt/zq/my.test.chm"));
}

TEST_F(MainFrameTest, PrintPreviewShowsThePrintout)
{
    for (int command : {cmd::FilePrint, cmd::FilePrintPreview, cmd::FilePrintSetup})
        EXPECT_TRUE(Frame().Action(command)->isEnabled()) << command;
    int pages = 0;
    QTimer::singleShot(0, [&pages] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        if (auto* preview = dialog->findChild<QPrintPreviewWidget*>())
            pages = preview->pageCount();
        dialog->close();
    });
    Frame().Action(cmd::FilePrintPreview)->trigger();
    EXPECT_GE(pages, 1);
}

TEST(MainFrameFitTest, ANarrowFontShrinksTheFrameToTheForm)
{
    CShellTestEnv env;
    env.WriteFile("setting.ini", kSettings);
    struct FontGuard
    {
        const QFont saved = QApplication::font();
        ~FontGuard() { QApplication::setFont(saved); }
    } guard;
    QFont narrow = guard.saved;
    narrow.setLetterSpacing(QFont::PercentageSpacing, 70);
    QApplication::setFont(narrow);
    CVantorApp app;
    ASSERT_TRUE(app.InitInstance(env.Dir(), {}));
    const CMainFrame& frame = *app.MainFrame();
    const QSize form = frame.View()->sizeHint();
    const QSize chrome = frame.size() - frame.centralWidget()->size();
    ASSERT_LT(form.width() + chrome.width(), CMainFrame::kMaxWidth) << "the font is not narrow enough";
    EXPECT_EQ(frame.centralWidget()->width(), form.width()); // no empty band right of the form
    EXPECT_LE(frame.width(), CMainFrame::kMaxWidth);
    EXPECT_LE(frame.height(), CMainFrame::kMaxHeight);
    EXPECT_EQ(frame.height(), std::min(CMainFrame::kMaxHeight, form.height() + chrome.height()));
}

TEST(AboutDlgTest, RelabelledWithTheProgramIcon)
{
    CShellTestEnv env;
    InitAppPaths(env.Dir());
    env.WriteFile("about.lang", "[Resource]\n100=About this program\n1015=Product line\n");
    g_strLangFile = env.Path("about.lang");
    CAboutDlg dlg(nullptr);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("About this program"));
    EXPECT_EQ(FindControl<QLabel>(&dlg, "Version")->text(), QStringLiteral("Product line"));
    int pictures = 0;
    for (QLabel* label : dlg.findChildren<QLabel*>())
        pictures += label->pixmap().isNull() ? 0 : 1;
    EXPECT_EQ(pictures, 1);
}

} // namespace

#include "MainFrameTest.moc"
