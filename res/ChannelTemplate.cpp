// Template 150: the channel table page, model label and frequency range above the grid. The grid and
// the five in-place editors (hidden and disabled until a cell is edited) are made by the page.
#include "res/DialogTemplate.h"

const DialogTemplate g_dlgChannel = {
    150,
    "",
    559,
    280,
    {
        {1018, ControlKind::Static, "机型", 3, 9, 25, 11},
        {1019, ControlKind::Static, "ZQ707", 36, 7, 47, 14},
        {1020, ControlKind::Static, "Frequency Range", 108, 9, 64, 11},
        {1021, ControlKind::ComboList, "", 177, 7, 102, 91},
        {1017, ControlKind::Custom, "", 10, 29, 539, 245},
        {1022, ControlKind::Custom, "", 299, 8, 20, 14, CS_HIDDEN | CS_DISABLED},
        {1076, ControlKind::Custom, "", 333, 8, 24, 230, CS_HIDDEN | CS_DISABLED},
        {1077, ControlKind::Custom, "", 361, 9, 24, 230, CS_HIDDEN | CS_DISABLED},
        {1023, ControlKind::Custom, "", 396, 7, 24, 209, CS_HIDDEN | CS_DISABLED},
        {1024, ControlKind::Custom, "", 435, 9, 16, 14, CS_HIDDEN | CS_DISABLED},
    },
};
