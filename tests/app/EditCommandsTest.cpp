// The Edit menu on the real main window: row commands through the row headers, the shortcuts, the
// right-click menu and the clipboard, each compared byte for byte before, after and after its undo;
// Undo and Redo named after their action; the keys staying with an open cell editor.
#include "ShellTestEnv.h"
#include "app/MainFrame.h"
#include "app/PageTabCtrl.h"
#include "app/VantorApp.h"
#include "app/VantorView.h"
#include "grid/GridCtrl.h"
#include "i18n/LangText.h"
#include "pages/ChannelTablePage.h"
#include "pages/NameEdit.h"
#include "radio/ChannelEditor.h"
#include "res/CommandIds.h"
#include "tests/support/FindControl.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

class EditCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        env.WriteFile("setting.ini", kSettings);
        ASSERT_TRUE(app.InitInstance(env.Dir(), {}));
        ASSERT_TRUE(app.OpenDocumentFile(env.CopyGolden("full_radio.pgm", "a.pgm")));
        env.messages.Clear();
        Frame().show();
        QApplication::setActiveWindow(&Frame());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        Grid().setFocus();
    }

    CMainFrame& Frame() { return *app.MainFrame(); }
    CChannelTablePage& Page() { return *Frame().View()->ChannelPage(); }
    CGridCtrl& Grid() { return Page().Grid(); }
    RadioImage& Image() { return app.Doc().Image(); }

    void ClickHeader(int row, Qt::KeyboardModifiers modifiers = {})
    {
        Grid().EnsureVisible(row, 1);
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, modifiers, Grid().CellRect(row, 0).center());
    }
    // The key goes where the focus is (the grid when a closed dialog has left no focus behind).
    void Press(QKeyCombination keys)
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &Grid(), keys.key(), keys.keyboardModifiers());
    }
    std::string UndoText() { return Frame().Action(cmd::EditUndo)->text().toStdString(); }

    CShellTestEnv env;
    CVantorApp app;
};

// The bytes of channel n: record and name.
std::vector<std::uint8_t> ChannelBytes(const RadioImage& image, int n)
{
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < ImageMap::kRecordSize; ++i)
        bytes.push_back(image[RecordOffset(n) + i]);
    for (std::size_t i = 0; i < ImageMap::kNameSize; ++i)
        bytes.push_back(image[NameOffset(n) + i]);
    return bytes;
}

// A row command given through a shortcut on rows picked with the row headers, and what the memory
// must look like after it (given the memory before).
struct RowCommandCase
{
    const char* name;
    std::vector<int> headerClicks; // the first plain, the others with Ctrl
    QKeyCombination keys;
    const char* undoKey;
    std::function<void(const RadioImage& before, const RadioImage& after)> check;
    std::vector<int> selectedAfter; // the selection travels with moved channels
};

} // namespace

TEST_F(EditCommandsTest, RowCommandsByShortcutChangeTheMemoryAndUndoRedoRestoreEveryByte)
{
    // Hidden bits in channel 3 (reverse, PTT ID, compander) must travel with it.
    Image()[RecordOffset(3) + ImageMap::kRecFlags] |= 0x08;
    Image()[RecordOffset(3) + ImageMap::kRecMode] |= 0x84;
    app.Doc().RecordEdit({"IDS_EDIT_CELL", 3});
    const std::vector<RowCommandCase> cases = {
        {"delete",
         {2, 4},
         QKeyCombination(Qt::Key_Delete),
         "IDS_EDIT_DELETE",
         [](const RadioImage& before, const RadioImage& after) {
             for (int n = 1; n <= ImageMap::kLastChannel; ++n) {
                 if (n != 2 && n != 4) {
                     EXPECT_EQ(ChannelBytes(after, n), ChannelBytes(before, n)) << n;
                 }
             }
             EXPECT_TRUE(IsRecordEmpty(after, 2));
             EXPECT_TRUE(IsRecordEmpty(after, 4));
         },
         {}},
        {"move up",
         {3, 4},
         Qt::ALT | Qt::Key_Up,
         "IDS_EDIT_MOVEUP",
         [](const RadioImage& before, const RadioImage& after) {
             EXPECT_EQ(ChannelBytes(after, 2), ChannelBytes(before, 3));
             EXPECT_EQ(ChannelBytes(after, 3), ChannelBytes(before, 4));
             EXPECT_EQ(ChannelBytes(after, 4), ChannelBytes(before, 2));
         },
         {2, 3}},
        {"move down",
         {3},
         Qt::ALT | Qt::Key_Down,
         "IDS_EDIT_MOVEDOWN_ONE",
         [](const RadioImage& before, const RadioImage& after) {
             EXPECT_EQ(ChannelBytes(after, 4), ChannelBytes(before, 3));
             EXPECT_EQ(ChannelBytes(after, 3), ChannelBytes(before, 4));
         },
         {4}},
        {"cut",
         {5},
         Qt::SHIFT | Qt::Key_Delete,
         "IDS_EDIT_CUT_ONE",
         [](const RadioImage&, const RadioImage& after) {
             EXPECT_TRUE(IsRecordEmpty(after, 5));
             EXPECT_TRUE(
                 QApplication::clipboard()->text().contains(u"\n5\t")); // copied before it was emptied
         },
         {}},
    };
    for (const RowCommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        ClickHeader(c.headerClicks.front());
        for (std::size_t i = 1; i < c.headerClicks.size(); ++i)
            ClickHeader(c.headerClicks[i], Qt::ControlModifier);
        const RadioImage before = Image();
        Press(c.keys);
        const RadioImage after = Image();
        ASSERT_NE(after, before);
        c.check(before, after);
        if (!c.selectedAfter.empty()) {
            EXPECT_EQ(Grid().GetSelectedRows(), c.selectedAfter);
        }
        EXPECT_FALSE(app.Doc().History().CanRedo());
        EXPECT_EQ(app.Doc().History().UndoStep().key, c.undoKey);

        Press(Qt::CTRL | Qt::Key_Z);
        EXPECT_EQ(Image(), before);
        // The table shows the restored values.
        for (int n : {2, 3, 4, 5})
            EXPECT_EQ(Grid().GetItemText(n, CChannelTablePage::ColRx).toStdString(),
                      CChannelEditor(app.Doc()).RxText(n));
        Press(Qt::CTRL | Qt::Key_Y);
        EXPECT_EQ(Image(), after);
        Press(Qt::ALT | Qt::Key_Backspace);
        EXPECT_EQ(Image(), before);
        Press(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        EXPECT_EQ(Image(), after);
        Press(Qt::CTRL | Qt::Key_Z);
    }
}

TEST_F(EditCommandsTest, CopyAndPasteThroughTheClipboardAsTabSeparatedRows)
{
    ClickHeader(2);
    ClickHeader(4, Qt::ShiftModifier);
    Press(Qt::CTRL | Qt::Key_Insert);
    const QStringList lines = QApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Location\tName\tFrequency\tDuplex\t")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("2\t")));
    EXPECT_EQ(lines[1].count(u'\t'), lines[0].count(u'\t'));
    EXPECT_EQ(app.Doc().History().StepCount(), 0u); // copying changes nothing

    // Ctrl+C stays the port dialog's key: the clipboard keeps the copied rows.
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = QString::fromLatin1(modal->metaObject()->className());
            modal->close();
        }
    });
    const QString copied = QApplication::clipboard()->text();
    Press(Qt::CTRL | Qt::Key_C);
    EXPECT_EQ(opened, QStringLiteral("CPortDlg"));
    EXPECT_EQ(QApplication::clipboard()->text(), copied);

    // Pasted at channel 110 the rows show as channels 2..4 did.
    ClickHeader(110);
    const RadioImage before = Image();
    Press(Qt::SHIFT | Qt::Key_Insert);
    EXPECT_TRUE(env.messages.Asked().empty());
    // The columns the CSV carries (BCL, reverse, PTT ID and compander it does not).
    for (int i = 0; i < 3; ++i) {
        for (int col :
             {CChannelTablePage::ColRx, CChannelTablePage::ColRxTone, CChannelTablePage::ColTx,
              CChannelTablePage::ColTxTone, CChannelTablePage::ColPower, CChannelTablePage::ColBandwidth,
              CChannelTablePage::ColScanAdd, CChannelTablePage::ColName}) {
            EXPECT_EQ(Grid().GetItemText(110 + i, col), Grid().GetItemText(2 + i, col)) << i << "," << col;
        }
    }
    EXPECT_EQ(Grid().GetSelectedRows(), (std::vector<int>{110, 111, 112}));
    EXPECT_EQ(UndoText(), FormatLangText(LoadLangString("IDS_EDIT_UNDO"),
                                         FormatLangText(LoadLangString("IDS_EDIT_PASTE"), "3")));
    EXPECT_EQ(UndoText(), "&Undo Paste 3 Channels\tCtrl+Z");
    Press(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(Image(), before);
    EXPECT_FALSE(app.Doc().IsModified()); // back where the file was opened
    Press(Qt::CTRL | Qt::Key_Y);
    EXPECT_TRUE(app.Doc().IsModified());
}

TEST_F(EditCommandsTest, PasteStoresWhatItCanAndListsRefusedAndLeftOutRowsInOneMessage)
{
    // Comma separated, columns in another order, a Location that is ignored.
    QApplication::clipboard()->setText(QStringLiteral("Name,Frequency,Location\n"
                                                      "ONE,145.5,1\n"
                                                      "TWO,abc,2\n"
                                                      "\n"
                                                      "THREE,146.0,3\n"
                                                      "FOUR,147.0,4\n"));
    ClickHeader(126);
    const RadioImage before = Image();
    Press(Qt::CTRL | Qt::Key_V);
    EXPECT_EQ(Grid().GetItemText(126, CChannelTablePage::ColName), QStringLiteral("ONE"));
    EXPECT_EQ(Grid().GetItemText(126, CChannelTablePage::ColRx), QStringLiteral("145.50000"));
    EXPECT_EQ(ChannelBytes(Image(), 127), ChannelBytes(before, 127)); // the refused row's channel
    EXPECT_EQ(Grid().GetItemText(128, CChannelTablePage::ColName), QStringLiteral("THREE"));
    ASSERT_EQ(env.messages.Asked().size(), 1u);
    const std::string text = env.messages.Asked()[0].text;
    EXPECT_NE(text.find(FormatLangText(LoadLangString("IDS_PASTE_PASTED"), "2")), std::string::npos);
    EXPECT_NE(text.find(FormatLangText(LoadLangString("IDS_CSV_LINE"), "3",
                                       FormatLangText(LoadLangString("IDS_CSV_BAD_FREQUENCY"), "abc"))),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(FormatLangText(LoadLangString("IDS_PASTE_LEFT_OUT"), "1")), std::string::npos)
        << text;
    EXPECT_EQ(app.Doc().History().StepCount(), 1u);
    Press(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(Image(), before);

    // Text without a header line pastes nothing.
    env.messages.Clear();
    QApplication::clipboard()->setText(QStringLiteral("145.5\t146"));
    Press(Qt::CTRL | Qt::Key_V);
    ASSERT_EQ(env.messages.Asked().size(), 1u);
    EXPECT_EQ(env.messages.Asked()[0].text, LoadLangString("IDS_PASTE_NOHEADER"));
    EXPECT_EQ(Image(), before);

    // A single row stored is a step of its own.
    QApplication::clipboard()->setText(QStringLiteral("Name,Frequency\nONE,145.5\n"));
    Press(Qt::CTRL | Qt::Key_V);
    EXPECT_EQ(Grid().GetItemText(126, CChannelTablePage::ColName), QStringLiteral("ONE"));
    ASSERT_TRUE(app.Doc().History().CanUndo());
    Press(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(Image(), before);
}

TEST_F(EditCommandsTest, InsertShiftsTheChannelsDownAndIsRefusedWhenChannel128IsInUse)
{
    ClickHeader(2);
    const RadioImage before = Image();
    Frame().Action(cmd::EditInsertChannel)->trigger();
    EXPECT_TRUE(IsRecordEmpty(Image(), 2));
    for (int n = 2; n < ImageMap::kLastChannel; ++n)
        ASSERT_EQ(ChannelBytes(Image(), n + 1), ChannelBytes(before, n)) << n;
    EXPECT_EQ(ChannelBytes(Image(), 1), ChannelBytes(before, 1));
    Press(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(Image(), before);

    Image()[RecordOffset(ImageMap::kLastChannel) + 3] = 0x01; // channel 128 in use
    app.Doc().RecordEdit({"IDS_EDIT_CELL", ImageMap::kLastChannel});
    const RadioImage full = Image();
    const std::size_t steps = app.Doc().History().StepCount();
    Frame().Action(cmd::EditInsertChannel)->trigger();
    ASSERT_EQ(env.messages.Asked().size(), 1u);
    EXPECT_EQ(env.messages.Asked()[0].text, LoadLangString("IDS_EDIT_INSERT_FULL"));
    EXPECT_EQ(Image(), full);
    EXPECT_EQ(app.Doc().History().StepCount(), steps);
}

// Move Up and Move Down are offered as the selection changes, only where every selected row can go.
TEST_F(EditCommandsTest, MoveIsOfferedOnlyWhereTheSelectedRowsCanGo)
{
    struct Step
    {
        const char* name;
        std::function<void()> select;
        bool up, down;
    };
    const Step steps[] = {
        {"channel 1", [this] { ClickHeader(1); }, false, true},
        {"channel 2", [this] { ClickHeader(2); }, true, true},
        {"channel 128", [this] { ClickHeader(128); }, true, false},
        {"channels 127 and 128", [this] { ClickHeader(127, Qt::ControlModifier); }, true, false},
        {"channel 127", [this] { ClickHeader(127); }, true, true},
        {"all", [this] { Press(Qt::CTRL | Qt::Key_A); }, false, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.select(); // no menu opened: the actions follow the selection
        EXPECT_EQ(Frame().Action(cmd::EditMoveUp)->isEnabled(), step.up);
        EXPECT_EQ(Frame().Action(cmd::EditMoveDown)->isEnabled(), step.down);
    }
}

// Channel 1 as the focus row, without a selection: Insert acts on it and selects it.
TEST_F(EditCommandsTest, InsertAtTheFocusRowOfChannel1)
{
    ClickHeader(2);
    Press(QKeyCombination(Qt::Key_Up)); // a plain move: focus on channel 1, no selection
    ASSERT_TRUE(Grid().GetSelectedRows().empty());
    const RadioImage before = Image();
    Frame().Action(cmd::EditInsertChannel)->trigger();
    EXPECT_TRUE(IsRecordEmpty(Image(), 1));
    EXPECT_EQ(ChannelBytes(Image(), 2), ChannelBytes(before, 1));
    EXPECT_EQ(Grid().GetSelectedRows(), std::vector<int>{1});
}

TEST_F(EditCommandsTest, TheRightClickMenuOffersTheRowCommands)
{
    Grid().EnsureVisible(6, 1);
    const QPoint at = Grid().CellRect(6, 0).center();
    // A right click on a row outside the selection makes it the row the menu acts on.
    QTest::mouseClick(Grid().viewport(), Qt::RightButton, {}, at);
    {
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, Grid().viewport()->mapToGlobal(at));
        QApplication::sendEvent(Grid().viewport(), &menuEvent);
    }
    QMenu* menu = Frame().RowMenu();
    ASSERT_TRUE(menu->isVisible());
    std::vector<int> commands;
    for (QAction* a : menu->actions())
        commands.push_back(a->isSeparator() ? 0 : a->data().toInt());
    EXPECT_EQ(commands, (std::vector<int>{cmd::EditCut, cmd::EditCopy, cmd::EditPaste, 0,
                                          cmd::EditInsertChannel, cmd::EditDeleteChannels, cmd::EditMoveUp,
                                          cmd::EditMoveDown, 0, cmd::EditSelectAll}));
    const RadioImage before = Image();
    QAction* down = Frame().Action(cmd::EditMoveDown);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(down).center());
    EXPECT_EQ(ChannelBytes(Image(), 7), ChannelBytes(before, 6));
    EXPECT_EQ(ChannelBytes(Image(), 6), ChannelBytes(before, 7));
    EXPECT_EQ(Grid().GetFocusCell().row, 7); // the focus travels with the channel
    Press(Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(Image(), before);
}

TEST_F(EditCommandsTest, EditKeysStayWithAnOpenCellEditor)
{
    ClickHeader(3);
    Press(QKeyCombination(Qt::Key_Delete));
    ASSERT_TRUE(IsRecordEmpty(Image(), 3));
    const RadioImage deleted = Image();

    // Open the name editor of channel 2 and use the keys there.
    Grid().EnsureVisible(2, CChannelTablePage::ColName);
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {},
                      Grid().CellRect(2, CChannelTablePage::ColName).center());
    auto* name = FindControl<CNameEdit>(&Page(), "NameEdit");
    ASSERT_TRUE(name->hasFocus());
    ASSERT_TRUE(Page().IsEditing());
    name->setText(QStringLiteral("AB"));
    name->end(false);
    for (QKeyCombination keys :
         {Qt::CTRL | Qt::Key_Z, QKeyCombination(Qt::Key_Delete), Qt::CTRL | Qt::Key_A, Qt::ALT | Qt::Key_Up})
        QTest::keyClick(name, keys.key(), keys.keyboardModifiers());
    EXPECT_EQ(Image(), deleted); // nothing undone, deleted or moved
    EXPECT_TRUE(IsRecordEmpty(Image(), 3));
    EXPECT_EQ(app.Doc().History().StepCount(), 1u);
}

TEST_F(EditCommandsTest, EditMenuSitsBetweenFileAndProgramAndNamesUndoInEachLanguage)
{
    const QList<QAction*> titles = Frame().menuBar()->actions();
    ASSERT_GE(titles.size(), 3);
    EXPECT_EQ(titles[1]->text().toStdString(), LoadLangString("Menu_Edit"));
    EXPECT_EQ(titles[2]->text().toStdString(), LoadLangString("Menu_Program"));
    QAction* undo = Frame().Action(cmd::EditUndo);
    QAction* redo = Frame().Action(cmd::EditRedo);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(UndoText(), LoadLangString("Menu_Edit_Undo"));

    ClickHeader(2);
    ClickHeader(3, Qt::ShiftModifier);
    Press(QKeyCombination(Qt::Key_Delete));
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(UndoText(), "&Undo Delete 2 Channels\tCtrl+Z");
    SetLanguage("chinese");
    app.ApplyLanguage();
    EXPECT_EQ(UndoText(), "撤销删除 2 个信道(&U)\tCtrl+Z");
    EXPECT_EQ(titles[1]->text(), QStringLiteral("编辑(&E)"));
    Press(Qt::CTRL | Qt::Key_Z);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(redo->text(), QStringLiteral("重做删除 2 个信道(&R)\tCtrl+Y"));

    // The row commands are off while another page is shown.
    EXPECT_TRUE(Frame().Action(cmd::EditPaste)->isEnabled());
    Frame().View()->TabCtrl()->setCurrentIndex(1);
    EXPECT_FALSE(Frame().Action(cmd::EditPaste)->isEnabled());
    EXPECT_FALSE(Frame().Action(cmd::EditDeleteChannels)->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
}

TEST_F(EditCommandsTest, EveryOtherActionIsOneStepThatUndoRestores)
{
    CVantorDoc& doc = app.Doc();
    auto* function = Frame().View()->TabCtrl()->widget(1);
    auto* vfo = Frame().View()->TabCtrl()->widget(2);
    const std::vector<std::pair<const char*, std::function<void()>>> actions = {
        {"IDS_EDIT_SETTING",
         [function] {
             auto* squelch = FindControl<QComboBox>(function, "Squelch");
             squelch->setCurrentIndex((squelch->currentIndex() + 1) % squelch->count());
         }},
        {"IDS_EDIT_VFO",
         [vfo] {
             auto* step = FindControl<QComboBox>(vfo, "StepF1");
             step->setCurrentIndex((step->currentIndex() + 1) % step->count());
         }},
        {"IDS_EDIT_FMPRESETS",
         [this] {
             // The dialog's frequency list changes, then the dialog is closed.
             QTimer::singleShot(0, [] {
                 QWidget* dlg = QApplication::activeModalWidget();
                 auto* frequency = FindControl<QComboBox>(dlg, "Frequency");
                 frequency->setCurrentIndex((frequency->currentIndex() + 1) % frequency->count());
                 dlg->close();
             });
             Frame().OnRadioPresets();
         }},
        {"IDS_EDIT_IMPORT",
         [this] {
             env.AnswerFileDialog(env.WriteFile("in.csv", "Location,Frequency\n9,145.125\n10,145.25\n"));
             Frame().Action(cmd::FileImportCsv)->trigger();
         }},
        {"IDS_EDIT_RANGE",
         [this] {
             env.WriteFile("setting.ini", std::string(kSettings) + "Freq1=400-520 MHz\ndata1=00400052\n");
             Page().ReloadFromImage(); // the range list offers the new entry
             env.messages.Queue(MsgResult::Ok);
             auto* range = FindControl<QComboBox>(&Page(), "Range");
             const int next = (range->currentIndex() + 1) % range->count();
             range->setCurrentIndex(next);
             emit range->activated(next);
         }},
    };
    for (const auto& [key, act] : actions) {
        SCOPED_TRACE(key);
        const RadioImage before = doc.Image();
        const bool modified = doc.IsModified();
        act();
        ASSERT_NE(doc.Image(), before);
        EXPECT_EQ(doc.History().UndoStep().key, key);
        const RadioImage after = doc.Image();
        ASSERT_TRUE(doc.Undo());
        EXPECT_EQ(doc.Image(), before);
        EXPECT_EQ(doc.IsModified(), modified);
        ASSERT_TRUE(doc.Redo());
        EXPECT_EQ(doc.Image(), after);
    }
    EXPECT_EQ(doc.History().StepCount(), actions.size());
}

TEST_F(EditCommandsTest, Screenshots)
{
    const QString dir = qEnvironmentVariable("ZQ708_SHOTS_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "set ZQ708_SHOTS_DIR to write the pictures";
    QDir().mkpath(dir);
    ClickHeader(3);
    ClickHeader(5, Qt::ShiftModifier);
    Press(Qt::ALT | Qt::Key_Down);
    for (const char* lang : {"en", "zh"}) {
        SetLanguage(lang == std::string("en") ? "english" : "chinese");
        app.ApplyLanguage();
        const QString prefix = dir + u'/' + QLatin1String(lang);
        Frame().grab().save(prefix + QStringLiteral("-selection.png"));
        for (QMenu* menu : {Frame().menuBar()->actions()[1]->menu(), Frame().RowMenu()}) {
            menu->popup(Frame().mapToGlobal(QPoint(60, 120)));
            menu->grab().save(prefix + (menu == Frame().RowMenu() ? QStringLiteral("-context-menu.png")
                                                                  : QStringLiteral("-edit-menu.png")));
            menu->close();
        }
    }
}
