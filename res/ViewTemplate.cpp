// Template 101: the editor view's form, holding only the tab control of the three pages.
#include "res/DialogTemplate.h"

using namespace idc::view;

const DialogTemplate g_dlgView = {
    101,
    "",
    599,
    329,
    {
        {IDC(Tabs), ControlKind::Custom, "", 8, 9, 577, 308},
    },
};
