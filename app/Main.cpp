// zq708-cps: the desktop programming software.
#include "app/AppPaths.h"
#include "app/QtMessageBox.h"
#include "app/VantorApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    InstallQtMessageBox();
    CVantorApp app;
    if (!app.InitInstance(ExecutableDir(), QApplication::arguments().mid(1)))
        return 1;
    return QApplication::exec();
}
