#include "res/DialogTemplate.h"

using namespace idc;
using namespace idc::backups;

// Backups dialog: the folder, the list of backups (a table made by the dialog), the differences of
// the selected one in words, and its buttons.
const DialogTemplate g_dlgBackups = {
    170,
    "Backups",
    400,
    252,
    {
        {IDC(Folder), ControlKind::Static, "Backups in %1", 7, 6, 386, 10},
        {IDC(List), ControlKind::Custom, "", 7, 19, 386, 120},
        {IDC(Differences), ControlKind::Custom, "", 7, 144, 386, 82},
        {IDC(Open), ControlKind::PushButton, "Open", 7, 232, 60, 14},
        {IDC(Compare), ControlKind::PushButton, "Differences", 72, 232, 60, 14},
        {IDC(Close), ControlKind::DefPushButton, "Close", 333, 232, 60, 14},
    },
};
