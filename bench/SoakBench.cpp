// Fault soak of reading and writing the radio: hundreds of runs of the real progress dialog and its
// worker against a simulated radio on a pseudo-terminal that misbehaves at random (late wake-ups,
// junk, short identification, short and wrong replies, NAKs, silence, hang-ups) while the user
// cancels at random blocks or starts again after a failure. Message boxes are answered by script.
// After every run it checks that
//   - the document changed only when a read succeeded (and then holds the radio's bytes),
//   - a successful write put the document into the radio,
//   - the port is closed,
//   - no thread is left (the threads of /proc/self/task),
//   - only the messages a failed start explains were shown,
// and over the whole soak that the resident memory (/proc/self/statm) does not grow.
//
//   zq708-bench-soak [RUNS [SEED]]     default 300 runs, seed from the clock

#include "app/AppPaths.h"
#include "app/ScriptedMessages.h"
#include "i18n/LangText.h"
#include "i18n/Profile.h"
#include "link/CloneProgressDlg.h"
#include "link/CloneSession.h"
#include "link/PortResolver.h"
#include "link/SerialPort.h"
#include "radio/VantorDoc.h"
#include "res/DialogBuilder.h"
#include "tools/sim/SimLine.h"
#include "tools/sim/SimRadio.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Resident memory may grow this much from the end of the warm-up to the end of the soak.
constexpr double kMaxGrowthMb = 2.0;
constexpr int kRunTimeoutMs = 60000;

// The names of this process's threads other than the main one. Threads of our own (the dialog's
// worker, the simulated radio's line) carry the program's name; Qt names its own ("Thread (pooled)").
std::vector<std::string> OtherThreadNames()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
        if (entry.path().filename() == std::to_string(getpid()))
            continue;
        std::string name;
        std::getline(std::ifstream(entry.path() / "comm"), name);
        names.push_back(name);
    }
    return names;
}

std::string MainThreadName()
{
    std::string name;
    std::getline(std::ifstream("/proc/self/comm"), name);
    return name;
}

// The threads of our own still running besides the main one. A joined thread may still be listed
// for a moment: join returns when the kernel has cleared the thread's id, a little before it
// removes the thread from /proc. A thread really left behind is still there after a second.
long OwnThreadsLeft()
{
    const std::string ours = MainThreadName();
    const auto deadline = Clock::now() + std::chrono::seconds(1);
    for (;;) {
        const std::vector<std::string> threads = OtherThreadNames();
        const long own = std::count(threads.begin(), threads.end(), ours);
        if (own == 0 || Clock::now() > deadline)
            return own;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

double ResidentMb()
{
    long pages = 0;
    long resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

RadioImage RandomImage(std::mt19937& rng)
{
    RadioImage image{};
    for (auto& b : image)
        b = static_cast<std::uint8_t>(rng());
    PrepareImageForTransfer(image);
    return image;
}

// One run's plan: the radio's faults and what the user does.
struct RunPlan
{
    CloneDirection direction = CloneDirection::Read;
    SimFaults faults;
    std::string description;
    int cancelAtBlock = -1;         // Cancel once the radio has answered this many blocks; -1: never
    bool retryAfterFailure = false; // OK once more after a failure shown in the dialog
};

RunPlan MakePlan(std::mt19937& rng)
{
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const auto chance = [&](int percent) { return pick(1, 100) <= percent; };
    // A fault for 1 to 3 requests (a retry recovers from fewer than three), or for every one.
    const auto times = [&] { return chance(30) ? -1 : pick(1, 3); };
    const auto block = [&](int blocks) { return pick(0, blocks - 1) * kCloneBlockSize; };

    RunPlan plan;
    plan.direction = chance(50) ? CloneDirection::Read : CloneDirection::Write;
    const bool reading = plan.direction == CloneDirection::Read;
    const int blocks = reading ? kCloneImageBlocks : kCloneWriteBlocks;
    SimFaults& f = plan.faults;
    const int faults = chance(30) ? 0 : pick(1, 2);
    for (int i = 0; i < faults; ++i) {
        switch (pick(0, 6)) {
        case 0:
            f.wakeUpAtAttempt = pick(2, 12); // beyond 10: never answered
            plan.description += " late-wake-up:" + std::to_string(f.wakeUpAtAttempt);
            break;
        case 1:
            f.junkBytes = pick(1, 40);
            f.wakeUpAtAttempt = std::max(f.wakeUpAtAttempt, pick(1, 4));
            plan.description += " junk:" + std::to_string(f.junkBytes);
            break;
        case 2:
            f.identLength = pick(0, 7);
            plan.description += " ident:" + std::to_string(f.identLength);
            break;
        case 3: {
            const int at = block(blocks);
            const int n = times();
            if (reading)
                f.shortReply[at] = n;
            else
                f.nakWrite[at] = n;
            plan.description +=
                (reading ? " short@" : " nak@") + std::to_string(at) + "x" + std::to_string(n);
            break;
        }
        case 4: {
            const int at = block(blocks);
            const int n = times();
            if (reading)
                f.wrongAddress[at] = n;
            else
                f.silentWrite[at] = n;
            plan.description +=
                (reading ? " wrong@" : " silent@") + std::to_string(at) + "x" + std::to_string(n);
            break;
        }
        case 5:
            f.hangUpAfterBlocks = pick(0, blocks);
            plan.description += " hang-up@" + std::to_string(f.hangUpAfterBlocks);
            break;
        default:
            plan.cancelAtBlock = pick(0, blocks);
            plan.description += " cancel@" + std::to_string(plan.cancelAtBlock);
            break;
        }
    }
    plan.retryAfterFailure = chance(50);
    if (plan.description.empty())
        plan.description = " clean";
    return plan;
}

class CSoak
{
public:
    explicit CSoak(const std::string& dir) : m_dir(dir)
    {
        std::filesystem::create_directories(m_dir + "/dev");
        std::filesystem::create_directories(m_dir + "/sys");
        // Never a real serial port: no search, and no devices to find.
        SetSerialDeviceDirs(m_dir + "/dev", m_dir + "/sys");
        g_strSettingFile = m_dir + "/setting.ini";
        g_strLangFile = ExecutableDir() + "/english.lang";
        WriteProfileString(g_strSettingFile, "setup", "searchcom", "0");
        WriteProfileString(g_strSettingFile, "setup", "com", "1");
    }

    // One run; false (with a line on stderr) when a check failed.
    bool Run(int number, const RunPlan& plan, std::mt19937& rng)
    {
        const bool reading = plan.direction == CloneDirection::Read;
        CVantorDoc doc;
        doc.Image() = RandomImage(rng);
        const RadioImage before = doc.Image();
        CSimRadio radio(RandomImage(rng), plan.faults);
        const RadioImage radioBefore = radio.Memory();
        auto line = std::make_unique<CSimLine>(radio, false);
        if (!line->Start())
            return Fail(number, plan, "no pseudo-terminal");
        // COM1 is a link to the terminal that goes when the radio hangs up, as the device of a pulled
        // cable does: the number of a closed terminal is soon another process's, and a retry must
        // never reach somebody else's radio.
        const std::string device = m_dir + "/radio";
        std::filesystem::remove(device);
        std::filesystem::create_symlink(line->DevicePath(), device);
        WriteProfileString(g_strSettingFile, "ports", "COM1", device);

        CSerialPort port;
        CScriptedMessages messages;
        int applied = 0;
        int result = -1;
        bool retried = false;
        bool cancelled = false;
        {
            CCloneProgressDlg dlg(doc, port, plan.direction, [&applied] { ++applied; }, {});
            QObject::connect(&dlg, &QDialog::finished, [&result](int r) { result = r; });
            dlg.show();
            auto* label = GetDlgItemAs<QLabel>(&dlg, idc::progress::Prompt);
            auto* ok = GetDlgItemAs<QPushButton>(&dlg, idc::Ok);
            auto* cancel = GetDlgItemAs<QPushButton>(&dlg, idc::Cancel);
            const QString failed = QString::fromStdString(
                LoadLangString(reading ? "IDS_PROMPT_READFAIL" : "IDS_PROMPT_WRITEFAIL"));
            ok->click();
            const auto start = Clock::now();
            while (result < 0) {
                if (Clock::now() - start > std::chrono::milliseconds(kRunTimeoutMs))
                    return Fail(number, plan, "the dialog never ended");
                QCoreApplication::processEvents();
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                const int answered = static_cast<int>(reading ? radio.ReadAddresses().size()
                                                              : radio.WrittenAddresses().size());
                if (plan.cancelAtBlock >= 0 && answered >= plan.cancelAtBlock && !cancelled) {
                    cancelled = true;
                    cancel->click();
                } else if (ok->isEnabled() && label->text() == failed) {
                    if (port.IsOpen())
                        return Fail(number, plan, "the port is open after a failure");
                    if (plan.retryAfterFailure && !retried) {
                        retried = true;
                        if (line->Finished())
                            std::filesystem::remove(device);
                        ok->click();
                    } else {
                        cancel->click();
                    }
                }
            }
        }
        line.reset();
        std::filesystem::remove(device);

        // Outcome and messages.
        const bool done = result == CCloneProgressDlg::kResultDone;
        const bool explained = messages.Asked().size() == 1;
        for (const MessageRequest& m : messages.Asked())
            if (m.text != LoadLangString("IDS_ERROR_PORTCONN") && m.text != LoadLangString("IDS_ERROR_TYPE"))
                return Fail(number, plan, "unexpected message: " + m.text);
        if (messages.Asked().size() > 1)
            return Fail(number, plan, "more than one message");
        if (!done && !messages.Asked().empty())
            return Fail(number, plan, "a message without the dialog ending");
        const bool succeeded = done && !explained;
        ++m_outcomes[succeeded ? (reading ? 0 : 1) : (done ? 2 : 3)];

        // The document.
        if (reading && succeeded) {
            if (applied != 1)
                return Fail(number, plan, "a successful read did not refresh the program once");
            const RadioImage memory = radio.Memory();
            for (std::size_t at = 0; at < memory.size(); at += kCloneBlockSize) {
                const bool fromRadio = std::equal(memory.begin() + at, memory.begin() + at + kCloneBlockSize,
                                                  doc.Image().begin() + at);
                const bool kept = std::equal(before.begin() + at, before.begin() + at + kCloneBlockSize,
                                             doc.Image().begin() + at);
                // Only a block the radio kept answering for another address keeps the document's bytes.
                if (!fromRadio && !(kept && plan.faults.wrongAddress.contains(static_cast<int>(at))))
                    return Fail(number, plan,
                                "a successful read left block " + std::to_string(at) +
                                    (kept ? " with the document's old bytes" : " with bytes from nowhere") +
                                    " (" + std::to_string(radio.ReadAddresses().size()) + " read requests)");
            }
        } else {
            if (applied != 0)
                return Fail(number, plan, "the program was refreshed without a successful read");
            if (doc.Image() != before)
                return Fail(number, plan, "the document changed without a successful read");
        }
        if (!reading && succeeded) {
            const RadioImage memory = radio.Memory();
            for (std::size_t at = 0; at < memory.size(); at += kCloneBlockSize) {
                const RadioImage& expected = at < kCloneWriteBlocks * kCloneBlockSize ? before : radioBefore;
                if (!std::equal(memory.begin() + at, memory.begin() + at + kCloneBlockSize,
                                expected.begin() + at))
                    return Fail(number, plan,
                                "a successful write left block " + std::to_string(at) +
                                    " of the radio wrong (" +
                                    std::to_string(radio.WrittenAddresses().size()) + " blocks sent)");
            }
        }
        if (reading && radio.WrittenAddresses().size() != 0)
            return Fail(number, plan, "a read wrote to the radio");

        // Resources.
        if (port.IsOpen())
            return Fail(number, plan, "the port is still open");
        const std::vector<std::string> threads = OtherThreadNames();
        m_maxThreads = std::max(m_maxThreads, static_cast<int>(threads.size()) + 1);
        if (const long own = OwnThreadsLeft(); own > 0)
            return Fail(number, plan, std::to_string(own) + " thread(s) of ours left");
        return true;
    }

    void PrintOutcomes() const
    {
        std::printf(
            "outcomes: %d reads done, %d writes done, %d ended with a message, %d cancelled or given up\n",
            m_outcomes[0], m_outcomes[1], m_outcomes[2], m_outcomes[3]);
    }
    int MaxThreads() const { return m_maxThreads; }

private:
    static bool Fail(int number, const RunPlan& plan, const std::string& what)
    {
        std::fprintf(stderr, "run %d (%s%s): %s\n", number,
                     plan.direction == CloneDirection::Read ? "read" : "write", plan.description.c_str(),
                     what.c_str());
        return false;
    }

    std::string m_dir;
    int m_maxThreads = 0;
    int m_outcomes[4] = {};
};

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int runs = 300;
    unsigned seed = static_cast<unsigned>(Clock::now().time_since_epoch().count());
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || (runs = std::atoi(argv[1])) < 1)) {
        std::printf("Usage: zq708-bench-soak [RUNS [SEED]]\n");
        return std::strcmp(argv[1], "--help") == 0 ? 0 : 64;
    }
    if (argc > 2)
        seed = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10));
    QApplication app(argc, argv);

    char pattern[] = "/tmp/zq708-soak-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    std::mt19937 rng(seed);
    CSoak soak(pattern);
    const std::size_t threadsBefore = OtherThreadNames().size() + 1;
    std::printf("fault soak: %d runs, seed %u\n", runs, seed);
    std::fflush(stdout);

    const int warmUp = std::min(20, runs / 4);
    double baseline = 0.0;
    double peak = 0.0;
    int failures = 0;
    const auto t0 = Clock::now();
    for (int i = 1; i <= runs; ++i) {
        if (!soak.Run(i, MakePlan(rng), rng))
            ++failures;
        const double rss = ResidentMb();
        if (i == warmUp)
            baseline = rss;
        if (i >= warmUp)
            peak = std::max(peak, rss);
        if (i % 50 == 0) {
            std::printf("  %4d runs, %d failed, resident %.1f MB, %zu threads\n", i, failures, rss,
                        OtherThreadNames().size() + 1);
            std::fflush(stdout);
        }
    }
    const double end = ResidentMb();
    const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    std::filesystem::remove_all(pattern);

    soak.PrintOutcomes();
    std::string names;
    for (const std::string& name : OtherThreadNames())
        names += (names.empty() ? "" : ", ") + name;
    std::printf("threads: %zu before the soak, at most %d after a run, besides the main thread now: %s\n",
                threadsBefore, soak.MaxThreads(), names.empty() ? "none" : names.c_str());
    std::printf("resident memory: %.1f MB after %d runs, %.1f MB at the end, peak %.1f MB, growth %.2f MB "
                "(limit %.1f)\n",
                baseline, warmUp, end, peak, end - baseline, kMaxGrowthMb);
    const bool grew = end - baseline > kMaxGrowthMb;
    std::printf("fault soak %s: %d runs in %.0f s, %d failed%s (seed %u)\n",
                failures == 0 && !grew ? "PASSED" : "FAILED", runs, seconds, failures,
                grew ? ", memory grew" : "", seed);
    return failures == 0 && !grew ? 0 : 1;
}
