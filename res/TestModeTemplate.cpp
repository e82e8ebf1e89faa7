// Template 156: the test mode, the calibration items with the value of the selected one.
#include "res/DialogTemplate.h"

const DialogTemplate g_dlgTestMode = {
    156,
    "测试模式",
    367,
    217,
    {
        {1150, ControlKind::ListBox, "", 8, 10, 119, 183, CS_BORDER},
        {1152, ControlKind::ScrollBarH, "", 138, 60, 224, 15},
        {1151, ControlKind::Edit, "", 233, 89, 40, 14, CS_READONLY | CS_BORDER},
        {1153, ControlKind::PushButton, "全部读取", 134, 135, 70, 14},
        {1139, ControlKind::PushButton, "全部写入", 212, 135, 70, 14},
        {1138, ControlKind::PushButton, "启动调测模式", 290, 135, 70, 14},
        {1154, ControlKind::PushButton, "打开数据", 134, 163, 70, 14},
        {1155, ControlKind::PushButton, "保存数据", 211, 163, 70, 14},
        {2, ControlKind::PushButton, "取消", 290, 163, 70, 14},
    },
};
