#include "res/DialogTemplate.h"

// Read/write progress: the status line (two lines for the longer failure texts), the bar, OK
// (start) and Cancel.
const DialogTemplate g_dlgProgress = {
    132, "Read data", 240, 72,
    {
        {1010, ControlKind::Static, "", 10, 7, 220, 18},
        {1009, ControlKind::Progress, "", 10, 29, 220, 11},
        {1, ControlKind::DefPushButton, "OK", 54, 50, 50, 14},
        {2, ControlKind::PushButton, "Cancel", 136, 50, 50, 14},
    },
};
