// How long the user-interface thread goes without processing events while the program talks to a
// radio as slow as a real cable (the simulated radio, paced at 9600 baud 8N1): the test mode's
// Read all and Write all, and a read and a write through the read/write progress dialog. A window
// that processes no events does not paint, and desktops offer to force-quit it after a few
// seconds. Goal: no stall longer than 50 ms. Every figure is printed with its ratio to the goal
// (below 1.00 meets it), with the outcome and length of the exchange.
//
// Runs the whole program (main window and pages) from the program directory; settings, serial
// devices and the per-user store go to a temporary folder.
//
//   zq708-bench-responsive

#include "app/AppPaths.h"
#include "app/MainFrame.h"
#include "app/ScriptedMessages.h"
#include "app/VantorApp.h"
#include "i18n/LangText.h"
#include "i18n/Profile.h"
#include "link/CloneProgressDlg.h"
#include "link/PortResolver.h"
#include "radio/VantorDoc.h"
#include "res/DialogBuilder.h"
#include "service/TestModeDlg.h"
#include "tools/sim/SimLine.h"
#include "tools/sim/SimRadio.h"

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kGoalMs = 50.0;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// The longest gap between two ticks of a 1 ms timer, or between a tick and Mark(): the longest time
// the thread did not process events.
class CStallProbe final
{
public:
    CStallProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Mark(); });
        m_timer.start(1);
    }

    void Mark()
    {
        const Clock::time_point now = Clock::now();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
    }
    double LongestMs() const { return Ms(m_longest); }

private:
    QTimer m_timer;
    Clock::time_point m_last = Clock::now();
    Clock::duration m_longest{};
};

// Runs `exchange` from the event loop, as a click does, and reports the longest stall meanwhile.
// `succeeded` says afterwards whether the exchange did its work.
void Measure(const char* what, const std::function<void()>& exchange, const std::function<bool()>& succeeded)
{
    CStallProbe probe;
    QEventLoop loop;
    Clock::duration length{};
    QTimer::singleShot(0, &loop, [&] {
        const Clock::time_point start = Clock::now();
        probe.Mark();
        exchange();
        probe.Mark();
        length = Clock::now() - start;
        loop.quit();
    });
    loop.exec();
    const double stall = probe.LongestMs();
    std::printf("%-40s %9.1f ms  goal %4.0f ms  ratio %6.2f  %s  (%s, %.1f s)\n", what, stall, kGoalMs,
                stall / kGoalMs, stall < kGoalMs ? "ok" : "MISSED", succeeded() ? "done" : "FAILED",
                Ms(length) / 1000.0);
    std::fflush(stdout);
}

int Bench(const std::string& dir)
{
    CScriptedMessages messages;
    CVantorApp app;
    if (!app.InitInstance(ExecutableDir(), {})) {
        std::printf("cannot start the application in %s\n", ExecutableDir().c_str());
        return 1;
    }
    // Never a real serial port, and the program's own settings stay as they are.
    std::filesystem::create_directories(dir + "/dev");
    std::filesystem::create_directories(dir + "/sys");
    SetSerialDeviceDirs(dir + "/dev", dir + "/sys");
    std::filesystem::copy_file(g_strSettingFile, dir + "/setting.ini");
    g_strSettingFile = dir + "/setting.ini";
    WriteProfileString(g_strSettingFile, "setup", "searchcom", "0");
    WriteProfileString(g_strSettingFile, "setup", "com", "1");

    RadioImage memory{};
    for (std::size_t i = 0; i < memory.size(); ++i)
        memory[i] = static_cast<std::uint8_t>(i * 7 + 3);
    CSimRadio radio(memory);
    CSimLine line(radio, true);
    if (!line.Start()) {
        std::printf("no pseudo-terminal\n");
        return 1;
    }
    WriteProfileString(g_strSettingFile, "ports", "COM1", line.DevicePath());
    CVantorDoc& doc = app.Doc();
    CSerialPort& port = app.SerialPort();
    QCoreApplication::processEvents();

    const auto onlyMessage = [&messages](const char* key) {
        const bool ok = messages.Asked().size() == 1 && messages.Asked()[0].text == LoadLangString(key);
        messages.Clear();
        return ok;
    };
    {
        CTestModeDlg dlg(doc, port, app.MainFrame());
        dlg.show();
        const auto click = [&dlg](int id) {
            return [&dlg, id] { GetDlgItemAs<QPushButton>(&dlg, id)->click(); };
        };
        Measure("test mode, Read all", click(idc::testMode::ReadAll),
                [&] { return onlyMessage("IDS_PROMPT_READSUCC") && doc.Image() == memory; });
        doc.Image()[0x20] ^= 0xFF;
        Measure("test mode, Write all", click(idc::testMode::WriteAll),
                [&] { return onlyMessage("IDS_PROMPT_WRITESUCC") && radio.Memory() == doc.Image(); });
    }
    const auto transfer = [&](CloneDirection direction) {
        return [&app, &doc, &port, direction] {
            CCloneProgressDlg dlg(
                doc, port, direction, [&app] { app.ApplyLanguage(); }, {}, app.MainFrame());
            QTimer::singleShot(0, GetDlgItemAs<QPushButton>(&dlg, idc::Ok), &QPushButton::click);
            dlg.exec();
        };
    };
    doc.Image()[0x20] ^= 0xFF;
    Measure("read through the progress dialog", transfer(CloneDirection::Read),
            [&] { return messages.Asked().empty() && doc.Image() == radio.Memory(); });
    doc.Image()[0x20] ^= 0xFF;
    Measure("write through the progress dialog", transfer(CloneDirection::Write), [&] {
        const RadioImage radioNow = radio.Memory();
        return messages.Asked().empty() &&
               std::equal(radioNow.begin(), radioNow.begin() + 0xFE0, doc.Image().begin());
    });
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (argc > 1) {
        std::printf("Usage: zq708-bench-responsive\n");
        return 64;
    }
    char pattern[] = "/tmp/zq708-bench-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    setenv("XDG_CONFIG_HOME", pattern, 1);
    int result = 0;
    {
        QApplication qapp(argc, argv);
        result = Bench(pattern);
    }
    std::filesystem::remove_all(pattern);
    return result;
}
