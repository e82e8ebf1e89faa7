// Template 134: the password asked before the test mode opens.
#include "res/DialogTemplate.h"

using namespace idc;
using namespace idc::password;

const DialogTemplate g_dlgPassword = {
    134,
    "测试模式",
    174,
    61,
    {
        {IDC(Ok), ControlKind::DefPushButton, "OK", 21, 36, 50, 14},
        {IDC(Cancel), ControlKind::PushButton, "Cancel", 98, 36, 50, 14},
        {IDC(PasswordLabel), ControlKind::Static, "请输入密码", 9, 14, 87, 8},
        {IDC(Password), ControlKind::Edit, "", 101, 11, 59, 14, CS_PASSWORD | CS_BORDER},
    },
};
