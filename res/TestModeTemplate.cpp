// Template 156: the test mode, the calibration items with the value of the selected one.
#include "res/DialogTemplate.h"

using namespace idc;
using namespace idc::testMode;

const DialogTemplate g_dlgTestMode = {
    156,
    "测试模式",
    367,
    217,
    {
        {IDC(ItemList), ControlKind::ListBox, "", 8, 10, 119, 183, CS_BORDER},
        {IDC(ValueScroll), ControlKind::ScrollBarH, "", 138, 60, 224, 15},
        {IDC(Value), ControlKind::Edit, "", 233, 89, 40, 14, CS_READONLY | CS_BORDER},
        {IDC(ReadAll), ControlKind::PushButton, "全部读取", 134, 135, 70, 14},
        {IDC(WriteAll), ControlKind::PushButton, "全部写入", 212, 135, 70, 14},
        {IDC(StartAdjust), ControlKind::PushButton, "启动调测模式", 290, 135, 70, 14},
        {IDC(OpenData), ControlKind::PushButton, "打开数据", 134, 163, 70, 14},
        {IDC(SaveData), ControlKind::PushButton, "保存数据", 211, 163, 70, 14},
        {IDC(Cancel), ControlKind::PushButton, "取消", 290, 163, 70, 14},
    },
};
