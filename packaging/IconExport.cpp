// zq708-icons: writes the program icon as PNG files into an icon theme tree,
// <dir>/<n>x<n>/apps/zq708-cps.png, for the sizes the desktop looks for.
#include "res/IconPainter.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: zq708-icons DIR\n", stderr);
        return 64;
    }
    // Painting needs no screen: the build runs this on machines without one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QString file = dir + QStringLiteral("/zq708-cps.png");
        if (!QDir().mkpath(dir) || !CIconPainter::ProgramPixmap(size).save(file, "PNG")) {
            std::fprintf(stderr, "zq708-icons: cannot write %s\n", qPrintable(file));
            return 73;
        }
    }
    return 0;
}
