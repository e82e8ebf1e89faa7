#include "res/DialogTemplate.h"

using namespace idc;
using namespace idc::fleet;

// Writing one memory to several radios: what to do next, the progress of the radio in hand, the
// list of radios written, and Write (the next radio), Retry radio (the one that failed) and Close.
const DialogTemplate g_dlgFleet = {
    165,
    "Write to Several Radios",
    300,
    186,
    {
        {IDC(Prompt), ControlKind::Static, "", 10, 7, 280, 18},
        {IDC(Bar), ControlKind::Progress, "", 10, 28, 280, 9},
        {IDC(Radios), ControlKind::ListBox, "", 10, 44, 280, 112},
        {IDC(Write), ControlKind::DefPushButton, "&Write", 10, 164, 70, 14},
        {IDC(Retry), ControlKind::PushButton, "&Retry radio", 86, 164, 70, 14, CS_DISABLED},
        {IDC(Close), ControlKind::PushButton, "&Close", 220, 164, 70, 14},
    },
};
