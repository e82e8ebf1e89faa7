#pragma once
// The program's own toolbar pictures and program icon, painted once at run time so that no image
// files have to travel with the program.

#include <QIcon>

class CIconPainter final
{
public:
    // The 16-pixel picture of a toolbar command (numbers of res/CommandIds.h); null for others.
    static QIcon ToolIcon(int command);
    // A handheld radio, at 16, 32 and 48 pixels.
    static QIcon ProgramIcon();
    // The program icon painted at any size in pixels (the desktop's icon theme wants 16 to 256).
    static QPixmap ProgramPixmap(int size);
};
