#include "res/DialogTemplate.h"

using namespace idc;
using namespace idc::port;

// Communication port dialog: COM1 to COM8 in two columns inside a group box; the port-search check
// box exists but is never shown.
const DialogTemplate g_dlgPort = {
    130,
    "Communication Port",
    164,
    112,
    {
        {IDC(PortGroup), ControlKind::GroupBox, "Port", 9, 6, 146, 70},
        {IDC(Com1), ControlKind::RadioButton, "COM1", 24, 19, 50, 10},
        {IDC(Com2), ControlKind::RadioButton, "COM2", 24, 32, 50, 10},
        {IDC(Com3), ControlKind::RadioButton, "COM3", 24, 45, 50, 10},
        {IDC(Com4), ControlKind::RadioButton, "COM4", 24, 58, 50, 10},
        {IDC(Com5), ControlKind::RadioButton, "COM5", 92, 19, 50, 10},
        {IDC(Com6), ControlKind::RadioButton, "COM6", 92, 32, 50, 10},
        {IDC(Com7), ControlKind::RadioButton, "COM7", 92, 45, 50, 10},
        {IDC(Com8), ControlKind::RadioButton, "COM8", 92, 58, 50, 10},
        {IDC(SearchPort), ControlKind::CheckBox, "Search for the port", 9, 80, 146, 10, CS_HIDDEN},
        {IDC(Ok), ControlKind::DefPushButton, "OK", 21, 90, 50, 14},
        {IDC(Cancel), ControlKind::PushButton, "Cancel", 93, 90, 50, 14},
    },
};
