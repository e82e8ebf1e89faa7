#include "i18n/RelabelMenus.h"

#include "i18n/LangText.h"
#include "res/CommandIds.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <array>
#include <utility>

namespace {

constexpr std::array<const char*, 5> kTopLevelKeys = {"Menu_File", "Menu_Edit", "Menu_Program",
                                                      "Menu_Setting", "Menu_Help"};

// Undo and Redo are named after their actions by the main window.
constexpr std::pair<int, const char*> kItemKeys[] = {
    {cmd::FileNew, "Menu_File_New"},
    {cmd::FileOpen, "Menu_File_Open"},
    {cmd::FileSave, "Menu_File_Save"},
    {cmd::FileSaveAs, "Menu_File_Save_As"},
    {cmd::FileImportCsv, "Menu_File_Import_Csv"},
    {cmd::FileExportCsv, "Menu_File_Export_Csv"},
    {cmd::FileBackups, "Menu_File_Backups"},
    {cmd::FilePrint, "Menu_File_Print"},
    {cmd::FilePrintPreview, "Menu_File_Print_Preview"},
    {cmd::FilePrintSetup, "Menu_File_Print_Setup"},
    {cmd::AppExit, "Menu_App_Exit"},
    {cmd::ReadFromRadio, "Menu_Program_ReadData"},
    {cmd::WriteToRadio, "Menu_Program_WriteData"},
    {cmd::TestMode, "Menu_Program_TestMode"},
    {cmd::RadioPresets, "Menu_Program_Radiogram"},
    {cmd::WriteSeveral, "Menu_Program_WriteSeveral"},
    {cmd::CommPort, "Menu_Setting_Port"},
    {cmd::Language, "Menu_Setting_Language"},
    {cmd::HelpContents, "Menu_Help_Help"},
    {cmd::AppAbout, "Menu_App_About"},
    {cmd::EditCut, "Menu_Edit_Cut"},
    {cmd::EditCopy, "Menu_Edit_Copy"},
    {cmd::EditPaste, "Menu_Edit_Paste"},
    {cmd::EditInsertChannel, "Menu_Edit_Insert"},
    {cmd::EditDeleteChannels, "Menu_Edit_Delete"},
    {cmd::EditMoveUp, "Menu_Edit_MoveUp"},
    {cmd::EditMoveDown, "Menu_Edit_MoveDown"},
    {cmd::EditSelectAll, "Menu_Edit_SelectAll"},
};

// The first item carrying `command`, searched depth first in menu order.
QAction* FindCommand(const QList<QAction*>& actions, int command)
{
    for (QAction* action : actions) {
        if (QMenu* sub = action->menu()) {
            if (QAction* found = FindCommand(sub->actions(), command))
                return found;
        } else if (action->data().isValid() && action->data().toInt() == command) {
            return action;
        }
    }
    return nullptr;
}

} // namespace

void RelabelMenus(QMenuBar* menuBar)
{
    if (!menuBar)
        return;
    // Top-level titles by position; their drop-down menus stay attached to the same actions.
    const QList<QAction*> topLevel = menuBar->actions();
    for (int i = 0; i < static_cast<int>(kTopLevelKeys.size()) && i < topLevel.size(); ++i)
        topLevel[i]->setText(
            QString::fromStdString(LoadLangString(kTopLevelKeys[static_cast<std::size_t>(i)])));
    // A "\t" in a value separates the item from its shortcut text, which QMenu shows in its own column.
    for (const auto& [command, key] : kItemKeys) {
        if (QAction* item = FindCommand(topLevel, command))
            item->setText(QString::fromStdString(LoadLangString(key)));
    }
    menuBar->update();
}
