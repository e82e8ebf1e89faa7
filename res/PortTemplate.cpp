#include "res/DialogTemplate.h"

// Communication port dialog: COM1 to COM8 in two columns inside a group box; the port-search check
// box exists but is never shown.
const DialogTemplate g_dlgPort = {
    130, "Communication Port", 164, 112,
    {
        {1011, ControlKind::GroupBox, "Port", 9, 6, 146, 70},
        {1001, ControlKind::RadioButton, "COM1", 24, 19, 50, 10},
        {1002, ControlKind::RadioButton, "COM2", 24, 32, 50, 10},
        {1003, ControlKind::RadioButton, "COM3", 24, 45, 50, 10},
        {1004, ControlKind::RadioButton, "COM4", 24, 58, 50, 10},
        {1005, ControlKind::RadioButton, "COM5", 92, 19, 50, 10},
        {1006, ControlKind::RadioButton, "COM6", 92, 32, 50, 10},
        {1007, ControlKind::RadioButton, "COM7", 92, 45, 50, 10},
        {1008, ControlKind::RadioButton, "COM8", 92, 58, 50, 10},
        {1012, ControlKind::CheckBox, "Search for the port", 9, 80, 146, 10, CS_HIDDEN},
        {1, ControlKind::DefPushButton, "OK", 21, 90, 50, 14},
        {2, ControlKind::PushButton, "Cancel", 93, 90, 50, 14},
    },
};
