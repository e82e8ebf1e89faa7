#include "res/DialogTemplate.h"

// Read/write progress: the status line, the bar, OK (start) and Cancel.
const DialogTemplate g_dlgProgress = {
    132, "Read data", 220, 70,
    {
        {1010, ControlKind::Static, "", 10, 9, 200, 10},
        {1009, ControlKind::Progress, "", 10, 24, 200, 12},
        {1, ControlKind::DefPushButton, "OK", 44, 47, 50, 14},
        {2, ControlKind::PushButton, "Cancel", 126, 47, 50, 14},
    },
};
