// zq708-screenshots: paints the README's pictures of the program offscreen, in English, into a
// folder: the channel table with a full radio, the function settings and VFO pages, the port
// dialog and the read dialog. Run by `cmake --build <build> --target zq708_screenshots`.
#include "app/AppPaths.h"
#include "app/MainFrame.h"
#include "app/PageTabCtrl.h"
#include "app/QtMessageBox.h"
#include "app/VantorApp.h"
#include "app/VantorView.h"
#include "i18n/Profile.h"
#include "link/CloneProgressDlg.h"
#include "link/PortDlg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <pty.h>
#include <termios.h>

namespace {

bool Save(QWidget& widget, const QString& file)
{
    widget.show();
    QApplication::processEvents();
    if (widget.grab().save(file, "PNG"))
        return true;
    std::fprintf(stderr, "zq708-screenshots: cannot write %s\n", qPrintable(file));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: zq708-screenshots SOURCE_DIR OUT_DIR\n", stderr);
        return 64;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The recent-file list goes to a store of its own, not the user's.
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
    QApplication qapp(argc, argv);
    InstallQtMessageBox();
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);

    // A program directory of its own in English, with COM1 on a pseudo-terminal so the port
    // dialog shows a port that can be opened.
    for (const char* name : {"english.lang", "setting.ini"})
        QFile::copy(source + "/lang/" + name, dir.filePath(name));
    QFile::setPermissions(dir.filePath("setting.ini"), QFile::ReadOwner | QFile::WriteOwner);
    int master = -1;
    int slave = -1;
    char pts[64] = {};
    if (::openpty(&master, &slave, pts, nullptr, nullptr) != 0)
        return 1;
    const std::string settings = dir.filePath("setting.ini").toStdString();
    WriteProfileString(settings, "setup", "language", "english");
    WriteProfileString(settings, "ports", "COM1", pts);

    CVantorApp app;
    if (!app.InitInstance(dir.path().toStdString(), {source + "/tests/data/full_radio.pgm"}))
        return 1;
    CMainFrame& frame = *app.MainFrame();
    frame.resize(1000, 640);
    CPageTabCtrl& tabs = *frame.View()->TabCtrl();
    bool ok = true;
    const char* pages[] = {"channels.png", "function-settings.png", "vfo.png"};
    for (int i = 0; i < 3; ++i) {
        tabs.setCurrentIndex(i);
        ok = Save(frame, out + "/" + pages[i]) && ok;
    }
    CPortDlg port(
        app.SerialPort(), [](int) {}, &frame);
    ok = Save(port, out + "/port-dialog.png") && ok;
    CCloneProgressDlg read(
        app.Doc(), app.SerialPort(), CloneDirection::Read, [] {}, [](int) {}, &frame);
    ok = Save(read, out + "/read-dialog.png") && ok;
    ::close(master);
    ::close(slave);
    return ok ? 0 : 1;
}
