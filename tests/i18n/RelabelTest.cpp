// Dialogs and the menu bar take their texts from the current language file by number.
#include "i18n/RelabelDialog.h"
#include "i18n/RelabelMenus.h"
#include "res/DialogBuilder.h"
#include "tests/support/DialogTestEnv.h"
#include "tests/support/FindControl.h"

#include <QAbstractButton>
#include <QDialog>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

QString ButtonText(const QWidget* dlg, const char* name)
{
    return FindControl<QAbstractButton>(dlg, name)->text();
}

} // namespace

TEST(RelabelDialog, TextsByIdAndBuiltInTextsWhereTheFileHasNone)
{
    CDialogTestEnv env;
    env.WriteFile("english.lang", "[Resource]\n130=Cable port\n1011=Ports\n1003=Third\n1002=\n1=Okay\n"
                                  "9999=not in this dialog\n");
    QDialog dlg;
    CDialogBuilder::Build(&dlg, g_dlgPort);
    RelabelDialog(&dlg, 130);

    EXPECT_EQ(dlg.windowTitle(), "Cable port");
    EXPECT_EQ(FindControl<QGroupBox>(&dlg, "PortGroup")->title(), "Ports");
    EXPECT_EQ(ButtonText(&dlg, "Com3"), "Third");
    EXPECT_EQ(ButtonText(&dlg, "Com2"), "COM2"); // empty value
    EXPECT_EQ(ButtonText(&dlg, "Com4"), "COM4"); // no key
    EXPECT_EQ(ButtonText(&dlg, "Ok"), "Okay");
    EXPECT_EQ(ButtonText(&dlg, "Cancel"), "Cancel");
}

TEST(RelabelDialog, KeyOneRelabelsEveryOkButtonAndAMissingSectionChangesNothing)
{
    CDialogTestEnv env;
    env.WriteFile("english.lang", "[Resource]\n1=Go\n");
    for (const DialogTemplate* tmpl : {&g_dlgPort, &g_dlgLanguage, &g_dlgProgress}) {
        QDialog dlg;
        CDialogBuilder::Build(&dlg, *tmpl);
        RelabelDialog(&dlg, tmpl->id);
        EXPECT_EQ(ButtonText(&dlg, "Ok"), "Go") << tmpl->id;
        EXPECT_EQ(dlg.windowTitle().toStdString(), tmpl->caption);
    }

    env.WriteFile("english.lang", "[String]\nIDS_ERROR=Error\n");
    QDialog dlg;
    CDialogBuilder::Build(&dlg, g_dlgPort);
    RelabelDialog(&dlg, 130);
    EXPECT_EQ(dlg.windowTitle(), "Communication Port");
    EXPECT_EQ(ButtonText(&dlg, "Ok"), "OK");
}

TEST(RelabelMenus, TitlesByPositionItemsByCommandNumber)
{
    CDialogTestEnv env;
    env.WriteFile("english.lang", "[String]\nMenu_File=&File\nMenu_Program=&Program\nMenu_Setting=&Settings\n"
                                  "Menu_File_Open=&Open...\\tCtrl+O\nMenu_Program_ReadData=&Read\n");
    QMenuBar bar;
    QMenu* file = bar.addMenu("F");
    bar.addMenu("E");
    QMenu* program = bar.addMenu("P");
    bar.addMenu("S");
    QMenu* help = bar.addMenu("H");
    QAction* open = file->addAction("o");
    open->setData(57601);
    file->addSeparator();
    QAction* recent = file->addAction("1 radio.pgm"); // recent files carry no relabelled number
    QMenu* nested = program->addMenu("nested");
    QAction* read = nested->addAction("r");
    read->setData(32771);
    QAction* about = help->addAction("a");
    about->setData(57664);

    RelabelMenus(&bar);

    EXPECT_EQ(bar.actions()[0]->text(), "&File");
    EXPECT_EQ(bar.actions()[0]->menu(), file); // the drop-down stays
    EXPECT_EQ(bar.actions()[4]->text(), "Not Found");
    EXPECT_EQ(open->text(), "&Open...\tCtrl+O");
    EXPECT_EQ(read->text(), "&Read"); // found at any depth
    EXPECT_EQ(about->text(), "Not Found");
    EXPECT_EQ(recent->text(), "1 radio.pgm");
    EXPECT_EQ(nested->title(), "nested");
}
