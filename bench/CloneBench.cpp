// Benchmark of the clone exchange against zq708-sim pacing the line at 9600 baud 8N1: a full read
// and a full write, each against a fresh simulator process. Reports the wall time against the
// wire-time bound (the bytes actually exchanged at 9600 8N1 plus the protocol's fixed pauses) and
// the CPU time this process spent. Goals: wall time within 5 % of the bound, CPU under 2 % of
// one core.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/AppPaths.h"
#include "link/CloneSession.h"
#include "link/SerialPort.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kByteSeconds = 10.0 / kCableBaud; // start bit, 8 data bits, stop bit

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A zq708-sim child process with pacing; its stdout tells the device path, and on exit the bytes
// it received and sent.
class CSimProcess
{
public:
    bool Start(const std::string& program)
    {
        int out[2];
        if (pipe(out) != 0)
            return false;
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            execl(program.c_str(), "zq708-sim", "--pace", nullptr);
            _exit(127);
        }
        close(out[1]);
        m_out = fdopen(out[0], "r");
        char line[256] = {};
        if (m_pid < 0 || fgets(line, sizeof line, m_out) == nullptr)
            return false;
        m_device = line;
        m_device.erase(m_device.find_last_not_of('\n') + 1);
        return true;
    }

    // Stops the simulator and returns the bytes that crossed the line.
    long long StopAndCountBytes()
    {
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
        unsigned long long received = 0;
        unsigned long long sent = 0;
        if (fscanf(m_out, "received %llu bytes, sent %llu bytes", &received, &sent) != 2)
            received = sent = 0;
        fclose(m_out);
        return static_cast<long long>(received + sent);
    }

    const std::string& Device() const { return m_device; }

private:
    pid_t m_pid = -1;
    FILE* m_out = nullptr;
    std::string m_device;
};

bool RunOnce(const std::string& simulator, CloneDirection direction)
{
    CSimProcess sim;
    if (!sim.Start(simulator)) {
        std::fprintf(stderr, "cannot start %s\n", simulator.c_str());
        return false;
    }
    CSerialPort port;
    if (!port.OpenDevice(sim.Device(), kCableBaud)) {
        std::fprintf(stderr, "cannot open %s\n", sim.Device().c_str());
        return false;
    }
    RadioImage buffer{};
    buffer.fill(0x5A);
    CloneStatusRecord record;
    record.Reset();
    CCloneSession session(port, record, buffer, std::string()); // no settings file: defaults, no search
    session.SetSearchAllowed(false);

    const double cpu0 = CpuSeconds();
    const auto t0 = Clock::now();
    session.Run(direction);
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    const double cpu = CpuSeconds() - cpu0;
    port.Close();
    const long long bytes = sim.StopAndCountBytes();

    const bool read = direction == CloneDirection::Read;
    const CloneStatus expected = read ? CloneStatus::ReadDone : CloneStatus::WriteDone;
    // Every transmission waits 1 ms: wake-up, identify, acknowledge, then per block one (write)
    // or two (read: request and acknowledge), then the end byte.
    const int sends = 3 + (read ? 2 * kCloneImageBlocks : kCloneWriteBlocks) + 1;
    const double pauses =
        (kCloneOpenPauseMs + sends * kCloneSendPauseMs + (read ? 0 : kCloneWriteEndPauseMs)) / 1000.0;
    const double bound = static_cast<double>(bytes) * kByteSeconds + pauses;
    std::printf("%-5s  %-9s  bytes %5lld  bound %6.3f s  wall %6.3f s  wall/bound %5.3f  cpu %6.3f s  "
                "cpu/wall %5.2f %%\n",
                read ? "read" : "write", record.m_status == expected ? "ok" : "FAILED", bytes, bound, wall,
                wall / bound, cpu, 100.0 * cpu / wall);
    return record.m_status == expected;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 1;
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || (runs = std::atoi(argv[1])) < 1)) {
        std::printf("Usage: zq708-bench-clone [RUNS]\nRuns a paced full read and write against zq708-sim "
                    "(beside this program) RUNS times.\n");
        return argc > 1 && std::strcmp(argv[1], "--help") == 0 ? 0 : 64;
    }
    const std::string simulator = ExecutableDir() + "/zq708-sim";
    bool ok = true;
    for (int i = 0; i < runs; ++i) {
        ok = RunOnce(simulator, CloneDirection::Read) && ok;
        ok = RunOnce(simulator, CloneDirection::Write) && ok;
    }
    return ok ? 0 : 1;
}
