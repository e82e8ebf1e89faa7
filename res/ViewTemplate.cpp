// Template 101: the editor view's form, holding only the tab control of the three pages.
#include "res/DialogTemplate.h"

const DialogTemplate g_dlgView = {
    101,
    "",
    599,
    329,
    {
        {1016, ControlKind::Custom, "", 8, 9, 577, 308},
    },
};
