#include "res/DialogTemplate.h"

using namespace idc;
using namespace idc::progress;

// Read/write progress: the status line (two lines for the longer failure texts), the bar, OK
// (start) and Cancel.
const DialogTemplate g_dlgProgress = {
    132,
    "Read data",
    240,
    72,
    {
        {IDC(Prompt), ControlKind::Static, "", 10, 7, 220, 18},
        {IDC(Bar), ControlKind::Progress, "", 10, 29, 220, 11},
        {IDC(Ok), ControlKind::DefPushButton, "OK", 54, 50, 50, 14},
        {IDC(Cancel), ControlKind::PushButton, "Cancel", 136, 50, 50, 14},
    },
};
