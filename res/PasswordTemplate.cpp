// Template 134: the password asked before the test mode opens.
#include "res/DialogTemplate.h"

const DialogTemplate g_dlgPassword = {
    134,
    "测试模式",
    174,
    61,
    {
        {1, ControlKind::DefPushButton, "OK", 21, 36, 50, 14},
        {2, ControlKind::PushButton, "Cancel", 98, 36, 50, 14},
        {1062, ControlKind::Static, "请输入密码", 9, 14, 87, 8},
        {1063, ControlKind::Edit, "", 101, 11, 59, 14, CS_PASSWORD | CS_BORDER},
    },
};
