// Template 155: the FM broadcast presets dialog.
#include "res/DialogTemplate.h"

using namespace idc;
using namespace idc::radiogram;

const DialogTemplate g_dlgRadiogram = {
    155,
    "收音机频率",
    121,
    270,
    {
        {IDC(FrequencyLabel), ControlKind::Static, "收音机频率", 5, 8, 58, 8},
        {IDC(Frequency), ControlKind::ComboList, "", 66, 6, 48, 176},
        // The grid and its in-place list are made by the dialog's factory. The grid is tall enough
        // for its header and all sixteen presets (28 + 16 x 21 pixels) with the program's font.
        {IDC(Grid), ControlKind::Custom, "", 6, 32, 108, 212, CS_BORDER},
        {IDC(PresetList), ControlKind::Custom, "", 1, 30, 48, 176, CS_HIDDEN | CS_DISABLED},
        {IDC(Ok), ControlKind::DefPushButton, "确定", 13, 250, 31, 14},
        {IDC(Cancel), ControlKind::PushButton, "取消", 83, 250, 31, 14},
    },
};
