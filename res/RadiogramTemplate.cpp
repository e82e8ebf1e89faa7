// Template 155: the FM broadcast presets dialog.
#include "res/DialogTemplate.h"

const DialogTemplate g_dlgRadiogram = {
    155,
    "收音机频率",
    121,
    270,
    {
        {1090, ControlKind::Static, "收音机频率", 5, 8, 58, 8},
        {1091, ControlKind::ComboList, "", 66, 6, 48, 176},
        // The grid and its in-place list are made by the dialog's factory. The grid is tall enough
        // for its header and all sixteen presets (28 + 16 x 21 pixels) with the program's font.
        {1079, ControlKind::Custom, "", 6, 32, 108, 212, CS_BORDER},
        {1078, ControlKind::Custom, "", 1, 30, 48, 176, CS_HIDDEN | CS_DISABLED},
        {1, ControlKind::DefPushButton, "确定", 13, 250, 31, 14},
        {2, ControlKind::PushButton, "取消", 83, 250, 31, 14},
    },
};
