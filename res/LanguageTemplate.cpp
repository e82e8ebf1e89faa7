#include "res/DialogTemplate.h"

using namespace idc;
using namespace idc::language;

// Language dialog: a label, the list of display names, OK and Cancel.
const DialogTemplate g_dlgLanguage = {
    131,
    "Language",
    174,
    61,
    {
        {IDC(LanguageLabel), ControlKind::Static, "Language", 9, 14, 52, 10},
        {IDC(Language), ControlKind::ComboList, "", 64, 13, 98, 100},
        {IDC(Ok), ControlKind::DefPushButton, "OK", 21, 38, 50, 14},
        {IDC(Cancel), ControlKind::PushButton, "Cancel", 98, 38, 50, 14},
    },
};
