// Template 100: the About box (program icon, product and version line, year line; no buttons).
#include "res/DialogTemplate.h"

using namespace idc::about;

const DialogTemplate g_dlgAbout = {
    100,
    "About",
    235,
    55,
    {
        {idc::Static, "", ControlKind::Icon, "", 11, 17, 21, 20},
        {IDC(Version), ControlKind::Static, "ZQ708 programming software, version 1.0", 40, 10, 188, 16},
        {idc::Static, "", ControlKind::Static, "Copyright (C) 2026", 40, 30, 188, 16},
    },
};
