#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <pty.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <termios.h>
#include <thread>
#include <time.h>
#include <unistd.h>

#include "link/SerialPort.h"
#include "tests/support/LinkTestEnv.h"

namespace {

using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point t0)
{
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count());
}

// A bare pseudo-terminal: the test plays the radio on the master side.
struct Pty
{
    int master = -1;
    int slave = -1;
    std::string path;
    Pty()
    {
        char name[256] = {};
        EXPECT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
        termios tio{};
        tcgetattr(master, &tio);
        cfmakeraw(&tio);
        tcsetattr(master, TCSANOW, &tio);
        path = name;
    }
    ~Pty() { HangUp(); }
    void Send(const std::string& bytes) const
    {
        ASSERT_EQ(write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void HangUp()
    {
        if (master >= 0)
            close(master);
        if (slave >= 0)
            close(slave);
        master = slave = -1;
    }
};

using SerialPortTest = CLinkTestEnv;

TEST_F(SerialPortTest, ReadByteWithoutTimeoutPollsOnce)
{
    Pty pty;
    CSerialPort port;
    ASSERT_TRUE(port.OpenDevice(pty.path, 9600));
    auto t0 = Clock::now();
    EXPECT_EQ(port.ReadByte(0), -1);
    EXPECT_LT(MsSince(t0), 50);
    pty.Send("\x06\xFF");
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(port.ReadByte(0), 0x06);
    EXPECT_EQ(port.ReadByte(0), 0xFF);
    EXPECT_EQ(port.ReadByte(0), -1);
    // Nothing asked for: nothing to wait for either.
    std::uint8_t buffer[1] = {};
    t0 = Clock::now();
    EXPECT_EQ(port.Read(buffer, 0, 300), 0);
    EXPECT_LT(MsSince(t0), 150);
}

TEST_F(SerialPortTest, ReadCollectsLateBytesAndStopsAtTheTimeout)
{
    Pty pty;
    CSerialPort port;
    ASSERT_TRUE(port.OpenDevice(pty.path, 9600));

    // Twenty bytes in two parts, the second 30 ms later: all twenty within 200 ms.
    pty.Send(std::string(12, 'a'));
    std::thread late([&pty] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        pty.Send(std::string(8, 'b'));
    });
    std::uint8_t buffer[20] = {};
    auto t0 = Clock::now();
    EXPECT_EQ(port.Read(buffer, 20, 200), 20);
    EXPECT_LT(MsSince(t0), 190);
    late.join();
    EXPECT_EQ(buffer[11], 'a');
    EXPECT_EQ(buffer[12], 'b');

    // Five of eight: five, after the whole time-out and not much later.
    pty.Send("12345");
    t0 = Clock::now();
    EXPECT_EQ(port.Read(buffer, 8, 100), 5);
    EXPECT_GE(MsSince(t0), 100);
    EXPECT_LT(MsSince(t0), 300);
}

// Times the reading thread slept and woke since the last call (voluntary context switches).
long WakeUpsSince(long& before)
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    const long since = usage.ru_nvcsw - before;
    before = usage.ru_nvcsw;
    return since;
}

// One character at 9600 baud 8N1.
constexpr std::chrono::microseconds kByteAt9600{1042};

TEST_F(SerialPortTest, AReplyIsAwaitedInAFewWakeUpsAndReturnedWhenCompleteOrAtTheDeadline)
{
    struct Case
    {
        const char* name;
        int sent;     // of the 20 bytes asked for
        bool trickle; // one byte per character time as from a UART, or all at once
        int timeoutMs;
        long maxWakeUps; // the old way woke once per byte
        long minMs;      // when Read returns
        long maxMs;
    };
    // Two wake-ups take a reply that trickles in (its first byte, then the time the rest needs); a
    // radio thread that falls behind on a busy machine may cost more, never one per byte.
    const Case cases[] = {
        {"whole reply at once", 20, false, 1000, 2, 0, 900},
        {"whole reply byte by byte", 20, true, 1000, 5, 20, 900},
        {"part of it byte by byte", 8, true, 100, 5, 100, 400},
        {"nothing", 0, false, 100, 2, 100, 400},
    };
    for (const Case& c : cases) {
        Pty pty;
        CSerialPort port;
        ASSERT_TRUE(port.OpenDevice(pty.path, 9600));
        std::thread radio([&pty, &c] {
            auto next = Clock::now() + std::chrono::milliseconds(5);
            for (int i = 0; i < c.sent; i += c.trickle ? 1 : c.sent) {
                std::this_thread::sleep_until(next += kByteAt9600);
                pty.Send(std::string(c.trickle ? 1 : c.sent, static_cast<char>('a' + i)));
            }
        });
        std::uint8_t buffer[20] = {};
        long wakeUps = 0;
        WakeUpsSince(wakeUps);
        const auto t0 = Clock::now();
        EXPECT_EQ(port.Read(buffer, 20, c.timeoutMs), c.sent) << c.name;
        const long ms = MsSince(t0);
        EXPECT_LE(WakeUpsSince(wakeUps), c.maxWakeUps) << c.name;
        EXPECT_GE(ms, c.minMs) << c.name;
        EXPECT_LT(ms, c.maxMs) << c.name;
        radio.join();
        if (c.trickle && c.sent > 0) {
            EXPECT_EQ(buffer[c.sent - 1], 'a' + c.sent - 1) << c.name;
        }
    }
}

TEST_F(SerialPortTest, TheRestOfAReplyIsAwaitedAtThePortsBaudRateWithinTheDeadlineAndCloseEndsIt)
{
    // Five of a hundred bytes are in; at 1200 baud the other 95 need 792 ms on the wire, so the
    // read sleeps that long (a pseudo-terminal delivers them sooner) unless the deadline is nearer.
    struct Case
    {
        const char* name;
        int timeoutMs;
        long restAfterMs;  // when the other 95 come; 0: never
        long lastAfterMs;  // when the last 50 of them come (a radio fallen behind); 0: with the rest
        long closeAfterMs; // 0: nobody closes
        int received;
        long minMs;
        long maxMs;
    };
    const Case cases[] = {
        {"the rest comes", 2000, 20, 0, 0, 100, 780, 1500},
        {"the rest comes, the deadline sooner", 60, 20, 0, 0, 100, 60, 600},
        // Woken at 900 ms by the last part, not after another sleep for the 50 bytes (417 ms).
        {"the radio falls behind", 3000, 20, 900, 0, 100, 880, 1200},
        {"the rest never comes, the deadline sooner", 60, 0, 0, 0, 5, 60, 600},
        {"the rest never comes", 900, 0, 0, 0, 5, 900, 1400},
        {"closed meanwhile", 5000, 0, 0, 30, 5, 30, 600},
    };
    for (const Case& c : cases) {
        Pty pty;
        CSerialPort port;
        ASSERT_TRUE(port.OpenDevice(pty.path, 9600));
        port.SetBaudRate(1200);
        pty.Send("12345");
        std::thread other([&port, &pty, &c] {
            const auto start = Clock::now();
            if (c.restAfterMs > 0) {
                std::this_thread::sleep_until(start + std::chrono::milliseconds(c.restAfterMs));
                pty.Send(std::string(c.lastAfterMs > 0 ? 45 : 95, 'r'));
            }
            if (c.lastAfterMs > 0) {
                std::this_thread::sleep_until(start + std::chrono::milliseconds(c.lastAfterMs));
                pty.Send(std::string(50, 'l'));
            }
            if (c.closeAfterMs > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(c.closeAfterMs));
                port.Close();
            }
        });
        std::uint8_t buffer[100] = {};
        long wakeUps = 0;
        WakeUpsSince(wakeUps);
        const auto t0 = Clock::now();
        EXPECT_EQ(port.Read(buffer, 100, c.timeoutMs), c.received) << c.name;
        const long ms = MsSince(t0);
        EXPECT_GE(ms, c.minMs) << c.name;
        EXPECT_LT(ms, c.maxMs) << c.name;
        EXPECT_LE(WakeUpsSince(wakeUps), 3) << c.name;
        other.join();
        if (c.closeAfterMs > 0) { // nothing after Close, and no waiting either
            const auto t1 = Clock::now();
            EXPECT_EQ(port.Read(buffer, 20, 1000), 0) << c.name;
            EXPECT_LT(MsSince(t1), 50) << c.name;
        }
    }
}

TEST_F(SerialPortTest, WriteSendsEveryByteUntouched)
{
    Pty pty;
    CSerialPort port;
    ASSERT_TRUE(port.OpenDevice(pty.path, 9600));
    // Bytes a cooked terminal would change: CR, XON, XOFF, ^C.
    const std::uint8_t bytes[] = {0x0D, 0x11, 0x13, 0x03, 0x0A, 0x00};
    EXPECT_EQ(port.Write(bytes, 6, 1), 6);
    EXPECT_EQ(port.Write(bytes, 6, 0, true), 6);
    EXPECT_EQ(port.WriteByte(0x62, 1), 1);
    std::uint8_t got[13] = {};
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(read(pty.master, got, 13), 13);
    EXPECT_EQ(std::memcmp(got, bytes, 6), 0);
    EXPECT_EQ(std::memcmp(got + 6, bytes, 6), 0);
    EXPECT_EQ(got[12], 0x62);

    // The pause comes once before the bytes, or before every one of them.
    auto t0 = Clock::now();
    EXPECT_EQ(port.Write(bytes, 6, 30), 6);
    EXPECT_GE(MsSince(t0), 30);
    EXPECT_LT(MsSince(t0), 120);
    t0 = Clock::now();
    EXPECT_EQ(port.Write(bytes, 6, 30, true), 6);
    EXPECT_GE(MsSince(t0), 180);
}

TEST_F(SerialPortTest, CloseIsHarmlessTwiceAndWhenClosed)
{
    Pty pty;
    CSerialPort port;
    EXPECT_FALSE(port.IsOpen());
    port.Close();
    ASSERT_TRUE(port.OpenDevice(pty.path, 9600));
    EXPECT_FALSE(port.OpenDevice(pty.path, 9600)); // must be closed first
    EXPECT_EQ(port.DevicePath(), pty.path);
    port.Close();
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.ReadByte(0), -1);
    EXPECT_EQ(port.WriteByte(1, 0), 0);
}

TEST_F(SerialPortTest, CloseFromAnotherThreadEndsAWaitingReadAndNeverTouchesAReusedDescriptor)
{
    Pty pty;
    CSerialPort port;
    ASSERT_TRUE(port.OpenDevice(pty.path, 9600));
    int result = -2;
    long waited = 0;
    std::thread worker([&] {
        std::uint8_t buffer[20];
        const auto t0 = Clock::now();
        result = port.Read(buffer, 20, 5000);
        waited = MsSince(t0);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    port.Close();
    worker.join();
    EXPECT_EQ(result, 0);
    EXPECT_LT(waited, 1000);

    // The same while the read awaits a reply to what was just written.
    ASSERT_TRUE(port.OpenDevice(pty.path, 9600));
    port.SetBaudRate(1200);
    const std::uint8_t request[4] = {0x52, 0, 0, 0x10};
    ASSERT_EQ(port.Write(request, 4, 0), 4);
    std::thread sleeper([&] {
        std::uint8_t buffer[100];
        const auto t0 = Clock::now();
        result = port.Read(buffer, 100, 5000);
        waited = MsSince(t0);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    port.Close();
    sleeper.join();
    EXPECT_EQ(result, 0);
    EXPECT_LT(waited, 600);

    // The descriptor numbers are free again; a file that gets them must stay untouched.
    int pipeFds[2];
    ASSERT_EQ(pipe2(pipeFds, O_NONBLOCK), 0);
    const std::uint8_t byte = 0x52;
    EXPECT_EQ(port.Write(&byte, 1, 0), 0);
    std::uint8_t got = 0;
    EXPECT_EQ(read(pipeFds[0], &got, 1), -1);
    EXPECT_EQ(write(pipeFds[1], &byte, 1), 1);
    EXPECT_EQ(port.ReadByte(20), -1);
    EXPECT_EQ(read(pipeFds[0], &got, 1), 1); // still there: the port did not read it
    close(pipeFds[0]);
    close(pipeFds[1]);
}

TEST_F(SerialPortTest, AHungUpLineTimesOutWithoutSpinning)
{
    Pty pty;
    CSerialPort port;
    ASSERT_TRUE(port.OpenDevice(pty.path, 9600));
    pty.HangUp();
    timespec cpu0{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu0);
    const auto t0 = Clock::now();
    std::uint8_t buffer[20];
    EXPECT_EQ(port.Read(buffer, 20, 100), 0);
    EXPECT_GE(MsSince(t0), 100);
    timespec cpu1{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu1);
    const long cpuMs = (cpu1.tv_sec - cpu0.tv_sec) * 1000 + (cpu1.tv_nsec - cpu0.tv_nsec) / 1000000;
    EXPECT_LT(cpuMs, 20);
    EXPECT_EQ(port.Write(buffer, 20, 0), 0);

    // A line that goes while the read waits keeps the time-out too.
    Pty other;
    CSerialPort waiting;
    ASSERT_TRUE(waiting.OpenDevice(other.path, 9600));
    std::thread pull([&other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        other.HangUp();
    });
    const auto t1 = Clock::now();
    EXPECT_EQ(waiting.Read(buffer, 20, 150), 0);
    EXPECT_GE(MsSince(t1), 150);
    pull.join();
}

TEST_F(SerialPortTest, OpenIsExclusiveAndTellsWhyItFailed)
{
    Pty pty;
    CSerialPort first;
    CSerialPort second;
    ASSERT_TRUE(first.OpenDevice(pty.path, 9600));
    EXPECT_FALSE(second.OpenDevice(pty.path, 9600));
    EXPECT_EQ(second.LastOpenError(), PortOpenError::Busy);
    first.Close();
    EXPECT_TRUE(second.OpenDevice(pty.path, 9600));
    EXPECT_EQ(second.LastOpenError(), PortOpenError::None);

    EXPECT_FALSE(first.OpenDevice((m_dir / "dev" / "ttyUSB7").string(), 9600));
    EXPECT_EQ(first.LastOpenError(), PortOpenError::Missing);
    EXPECT_FALSE(first.Open(4, 9600)); // nothing configured, no device present
    EXPECT_EQ(first.LastOpenError(), PortOpenError::Missing);
    EXPECT_FALSE(first.OpenDevice(g_strSettingFile, 9600));
    EXPECT_EQ(first.LastOpenError(), PortOpenError::NotSerial);

    if (geteuid() != 0) { // root may open anything
        const std::string locked = (m_dir / "locked").string();
        ASSERT_EQ(mknod(locked.c_str(), S_IFIFO | 0000, 0), 0);
        EXPECT_FALSE(first.OpenDevice(locked, 9600));
        EXPECT_EQ(first.LastOpenError(), PortOpenError::PermissionDenied);
    }
}

TEST_F(SerialPortTest, PortNumbersResolveThroughSettingsThenDevicesInOrder)
{
    for (const char* name : {"ttyS1", "ttyUSB10", "ttyACM0", "ttyS0", "ttyUSB2", "ttyS4", "console"})
        std::ofstream(m_dir / "dev" / name).put('\0');
    for (const auto& [name, type] : {std::pair{"ttyS0", "4"}, {"ttyS1", "0"}, {"ttyS4", "16"}}) {
        std::filesystem::create_directories(m_dir / "sys" / name);
        std::ofstream(m_dir / "sys" / name / "type") << type << "\n";
    }
    const std::string dev = (m_dir / "dev").string();
    const std::vector<std::string> expected = {dev + "/ttyUSB2", dev + "/ttyUSB10", dev + "/ttyACM0",
                                               dev + "/ttyS0", dev + "/ttyS4"};
    EXPECT_EQ(ListSerialDevices(), expected);
    EXPECT_EQ(ResolvePortPath(1), dev + "/ttyUSB2");
    EXPECT_EQ(ResolvePortPath(5), dev + "/ttyS4");
    EXPECT_EQ(ResolvePortPath(6), "");
    EXPECT_EQ(ResolvePortPath(0), "");

    Setting("ports", "COM2", "/dev/pts/77");
    EXPECT_EQ(ResolvePortPath(2), "/dev/pts/77");
    EXPECT_EQ(ResolvePortPath(3), dev + "/ttyACM0"); // the other numbers are unchanged

    Pty pty;
    Setting("ports", "COM12", pty.path);
    CSerialPort port;
    EXPECT_EQ(port.Probe(12), PortOpenError::None);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.Probe(13), PortOpenError::Missing);
}

} // namespace
