#include "res/DialogTemplate.h"

using namespace idc::serviceProgress;

// Read all / write all of the test mode: the status line and the bar, no buttons; the owner sets
// the caption and the dialog closes itself when the exchange ends.
const DialogTemplate g_dlgServiceProgress = {
    0,
    "",
    240,
    50,
    {
        {IDC(Prompt), ControlKind::Static, "", 10, 7, 220, 18},
        {IDC(Bar), ControlKind::Progress, "", 10, 29, 220, 11},
    },
};
