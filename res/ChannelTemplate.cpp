// Template 150: the channel table page, model label and frequency range above the grid. The grid and
// the five in-place editors (hidden and disabled until a cell is edited) are made by the page.
#include "res/DialogTemplate.h"

using namespace idc::channel;

const DialogTemplate g_dlgChannel = {
    150,
    "",
    559,
    280,
    {
        {IDC(ModelLabel), ControlKind::Static, "机型", 3, 9, 25, 11},
        {IDC(Model), ControlKind::Static, "ZQ707", 36, 7, 47, 14},
        {IDC(RangeLabel), ControlKind::Static, "Frequency Range", 108, 9, 64, 11},
        {IDC(Range), ControlKind::ComboList, "", 177, 7, 102, 91},
        {IDC(Grid), ControlKind::Custom, "", 10, 29, 539, 245},
        {IDC(FreqEdit), ControlKind::Custom, "", 299, 8, 20, 14, CS_HIDDEN | CS_DISABLED},
        {IDC(RxTone), ControlKind::Custom, "", 333, 8, 24, 230, CS_HIDDEN | CS_DISABLED},
        {IDC(TxTone), ControlKind::Custom, "", 361, 9, 24, 230, CS_HIDDEN | CS_DISABLED},
        {IDC(Choice), ControlKind::Custom, "", 396, 7, 24, 209, CS_HIDDEN | CS_DISABLED},
        {IDC(NameEdit), ControlKind::Custom, "", 435, 9, 16, 14, CS_HIDDEN | CS_DISABLED},
    },
};
