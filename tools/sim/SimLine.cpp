#include "tools/sim/SimLine.h"

#include "link/SerialLine.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// One byte at the cable's speed, 8N1: start bit, eight data bits, stop bit.
constexpr std::chrono::nanoseconds kByteTime{10'000'000'000LL / kCableBaud};

void SleepUntil(Clock::time_point t)
{
    std::this_thread::sleep_until(t);
}

// Writes everything unless `stopFd` becomes readable first: a tool that stops reading must not
// keep the line thread from ending.
bool WriteAll(int fd, const std::uint8_t* bytes, std::size_t count, int stopFd)
{
    while (count > 0) {
        const ssize_t n = write(fd, bytes, count);
        if (n > 0) {
            bytes += n;
            count -= static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN)
            return false;
        pollfd fds[2] = {{fd, POLLOUT, 0}, {stopFd, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            return false;
        if (fds[1].revents != 0)
            return false;
    }
    return true;
}

} // namespace

CSimLine::CSimLine(CSimRadio& radio, bool paced) : m_radio(radio), m_paced(paced) {}

CSimLine::~CSimLine()
{
    Stop();
}

bool CSimLine::Start()
{
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
        return false;
    // Raw at once, before anything is written: otherwise the line discipline rewrites CR and
    // swallows XON/XOFF and 03 in the data.
    termios tio{};
    tcgetattr(m_master, &tio);
    cfmakeraw(&tio);
    tcsetattr(m_master, TCSANOW, &tio);
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    if (pipe2(m_stop, O_CLOEXEC) != 0) {
        CloseLine();
        return false;
    }
    m_path = name;
    const std::vector<std::uint8_t> junk = m_radio.StartupBytes();
    WriteAll(m_master, junk.data(), junk.size(), m_stop[0]);
    m_thread = std::thread(&CSimLine::Run, this);
    return true;
}

void CSimLine::Stop()
{
    if (m_thread.joinable()) {
        const std::uint8_t b = 1;
        [[maybe_unused]] const ssize_t n = write(m_stop[1], &b, 1);
        m_thread.join();
    }
    CloseLine();
    for (int& fd : m_stop) {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
}

void CSimLine::CloseLine()
{
    if (m_master >= 0)
        close(m_master);
    if (m_slave >= 0)
        close(m_slave);
    m_master = m_slave = -1;
}

bool CSimLine::Send(const std::vector<std::uint8_t>& answer, Clock::time_point start, Clock::time_point& end)
{
    // Paced, each byte arrives when its stop bit is through, as a UART delivers it; unpaced, all at once.
    const std::size_t step = m_paced ? 1 : answer.size();
    end = start;
    for (std::size_t at = 0; at < answer.size(); at += step) {
        if (m_paced) {
            end += kByteTime;
            SleepUntil(end);
        }
        if (!WriteAll(m_master, answer.data() + at, step, m_stop[0]))
            return false;
        m_sent += step;
    }
    return true;
}

void CSimLine::Run()
{
    // Paced bytes should leave on time, not up to the default 50 us of timer slack late.
    prctl(PR_SET_TIMERSLACK, 1UL);
    Clock::time_point inFree = Clock::now();  // when the tool's last byte has fully arrived
    Clock::time_point outFree = Clock::now(); // when our last byte has fully left
    std::uint8_t buffer[512];
    for (;;) {
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_stop[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[1].revents != 0)
            return;
        const ssize_t n = read(m_master, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            break;
        m_received += static_cast<std::uint64_t>(n);
        if (m_paced) {
            // The bytes reach the radio one byte time after another.
            inFree = std::max(inFree, Clock::now()) + kByteTime * n;
            SleepUntil(inFree);
        }
        // The radio starts answering once the request's last byte is in, not when this thread
        // happened to wake up.
        const std::vector<std::uint8_t> answer = m_radio.Receive(buffer, static_cast<std::size_t>(n));
        if (!answer.empty() && !Send(answer, std::max(outFree, inFree), outFree))
            break;
        if (m_radio.HungUp())
            break;
    }
    // Dropping both ends of the terminal is what the tool sees when a cable is pulled.
    CloseLine();
    m_finished = true;
}
