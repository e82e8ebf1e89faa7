#include "res/DialogTemplate.h"

// Language dialog: a label, the list of display names, OK and Cancel.
const DialogTemplate g_dlgLanguage = {
    131, "Language", 174, 61,
    {
        {1013, ControlKind::Static, "Language", 9, 14, 52, 10},
        {1014, ControlKind::ComboList, "", 64, 13, 98, 100},
        {1, ControlKind::DefPushButton, "OK", 21, 38, 50, 14},
        {2, ControlKind::PushButton, "Cancel", 98, 38, 50, 14},
    },
};
