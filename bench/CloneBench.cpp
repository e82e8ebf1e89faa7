// Benchmark of the clone exchange as a user runs it: zq708-cli reads a whole memory and writes it
// back, each time as a new process against a fresh zq708-sim pacing the line at 9600 baud 8N1, the
// tool's start and exit included. Per run it reports, against the goals:
// - the wall time over the wire bound (the bytes that crossed the line at 9600 8N1 plus the
//   exchange's fixed pauses): at most 1.02;
// - the tool's CPU time (all its threads, user and system) over the wall time: at most 0.5 %;
// - the tool's wake-ups (voluntary context switches: every time one of its threads slept and woke)
//   per frame it sent: at most 3.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "app/AppPaths.h"
#include "link/CloneSession.h"
#include "link/SerialLine.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kByteSeconds = 10.0 / kCableBaud; // start bit, 8 data bits, stop bit
constexpr double kWallGoal = 1.02;
constexpr double kCpuPercentGoal = 0.5;
constexpr double kWakeUpsPerFrameGoal = 3.0;

double Seconds(const timeval& t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// Starts `program` with `args`; its standard output goes to `out` (-1: nowhere), its errors nowhere.
pid_t Spawn(const std::string& program, const std::vector<std::string>& args, int out)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    const int null = open("/dev/null", O_WRONLY);
    dup2(out >= 0 ? out : null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
}

// A paced zq708-sim child process; its stdout tells the device path, and on exit the bytes it
// received and sent.
class CSimProcess
{
public:
    bool Start(const std::string& program)
    {
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0)
            return false;
        m_pid = Spawn(program, {"zq708-sim", "--pace"}, out[1]);
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

bool Report(const char* what, double value, const char* unit, double goal)
{
    const bool met = value <= goal;
    std::printf("  %-22s %7.3f %-2s  goal %6.3f %-2s  ratio %5.2f  %s\n", what, value, unit, goal, unit,
                value / goal, met ? "ok" : "MISSED");
    return met;
}

// One zq708-cli read (into `file`) or write (of `file`, without the verifying read, which is a
// read of its own) against a fresh simulator; false when it failed or missed a goal.
bool RunOnce(const std::string& dir, CloneDirection direction, const std::string& file)
{
    CSimProcess sim;
    if (!sim.Start(dir + "/zq708-sim")) {
        std::fprintf(stderr, "cannot start %s/zq708-sim\n", dir.c_str());
        return false;
    }
    const bool read = direction == CloneDirection::Read;
    const std::vector<std::string> args =
        read ? std::vector<std::string>{"zq708-cli", "read", "--device", sim.Device(), "-o", file}
             : std::vector<std::string>{"zq708-cli", "write", "--device", sim.Device(), "--no-verify", file};

    const auto t0 = Clock::now();
    const pid_t tool = Spawn(dir + "/zq708-cli", args, -1);
    int status = 0;
    rusage usage{};
    const bool ran = tool > 0 && wait4(tool, &status, 0, &usage) == tool;
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    const long long bytes = sim.StopAndCountBytes();
    const bool ok = ran && WIFEXITED(status) && WEXITSTATUS(status) == 0;

    // Every transmission waits 1 ms first: wake-up, identify, acknowledge, then per block one
    // (write) or two (read: request and acknowledge), then the end byte.
    const int frames = 3 + (read ? 2 * kCloneImageBlocks : kCloneWriteBlocks) + 1;
    const double pauses =
        (kCloneOpenPauseMs + frames * kCloneSendPauseMs + (read ? 0 : kCloneWriteEndPauseMs)) / 1000.0;
    const double bound = static_cast<double>(bytes) * kByteSeconds + pauses;
    const double cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    std::printf(
        "%-5s  %-6s  bytes %5lld  frames %3d  bound %6.3f s  wall %6.3f s  cpu %6.3f s  wake-ups %5ld\n",
        read ? "read" : "write", ok ? "ok" : "FAILED", bytes, frames, bound, wall, cpu, usage.ru_nvcsw);
    bool met = Report("wall / wire bound", wall / bound, "", kWallGoal);
    met = Report("cpu / wall", 100.0 * cpu / wall, "%", kCpuPercentGoal) && met;
    met = Report("wake-ups per frame", static_cast<double>(usage.ru_nvcsw) / frames, "",
                 kWakeUpsPerFrameGoal) &&
          met;
    return ok && met;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 1;
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || (runs = std::atoi(argv[1])) < 1)) {
        std::printf(
            "Usage: zq708-bench-clone [RUNS]\nRuns zq708-cli read and write against a paced zq708-sim "
            "(both beside this program) RUNS times.\n");
        return argc > 1 && std::strcmp(argv[1], "--help") == 0 ? 0 : 64;
    }
    // The tool's files (the memory read, anything it keeps per user) go to a folder of our own.
    char scratch[] = "/tmp/zq708-bench-clone-XXXXXX";
    if (mkdtemp(scratch) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("XDG_DATA_HOME", scratch, 1);
    const std::string file = std::string(scratch) + "/radio.pgm";
    const std::string dir = ExecutableDir();
    bool ok = true;
    for (int i = 0; i < runs; ++i) {
        // The write sends back what the read brought.
        ok = RunOnce(dir, CloneDirection::Read, file) && ok;
        ok = RunOnce(dir, CloneDirection::Write, file) && ok;
    }
    std::filesystem::remove_all(scratch);
    return ok ? 0 : 1;
}
