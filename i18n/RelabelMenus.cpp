#include "i18n/RelabelMenus.h"

#include "i18n/LangText.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <array>
#include <utility>

namespace {

constexpr std::array<const char*, 4> kTopLevelKeys = {"Menu_File", "Menu_Program", "Menu_Setting", "Menu_Help"};

constexpr std::array<std::pair<int, const char*>, 16> kItemKeys = {{
    {57600, "Menu_File_New"},
    {57601, "Menu_File_Open"},
    {57603, "Menu_File_Save"},
    {57604, "Menu_File_Save_As"},
    {57607, "Menu_File_Print"},
    {57609, "Menu_File_Print_Preview"},
    {57606, "Menu_File_Print_Setup"},
    {57665, "Menu_App_Exit"},
    {32771, "Menu_Program_ReadData"},
    {32772, "Menu_Program_WriteData"},
    {32779, "Menu_Program_TestMode"},
    {32780, "Menu_Program_Radiogram"},
    {32773, "Menu_Setting_Port"},
    {32774, "Menu_Setting_Language"},
    {32775, "Menu_Help_Help"},
    {57664, "Menu_App_About"},
}};

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
        topLevel[i]->setText(QString::fromStdString(LoadLangString(kTopLevelKeys[static_cast<std::size_t>(i)])));
    // A "\t" in a value separates the item from its shortcut text, which QMenu shows in its own column.
    for (const auto& [command, key] : kItemKeys) {
        if (QAction* item = FindCommand(topLevel, command))
            item->setText(QString::fromStdString(LoadLangString(key)));
    }
    menuBar->update();
}
