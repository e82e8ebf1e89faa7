#include "res/DialogTemplate.h"

using namespace idc;
using namespace idc::progress;

// Read/write progress: the status line (two lines for the longer failure texts), the bar, the
// check box that verifies a write (hidden when reading), OK (start) and Cancel.
const DialogTemplate g_dlgProgress = {
    132,
    "Read data",
    240,
    86,
    {
        {IDC(Prompt), ControlKind::Static, "", 10, 7, 220, 18},
        {IDC(Bar), ControlKind::Progress, "", 10, 29, 220, 11},
        {IDC(Verify), ControlKind::CheckBox, "Verify the radio after writing", 10, 46, 220, 10},
        {IDC(Ok), ControlKind::DefPushButton, "OK", 54, 64, 50, 14},
        {IDC(Cancel), ControlKind::PushButton, "Cancel", 136, 64, 50, 14},
    },
};
