#include "link/SerialPort.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include "link/PortResolver.h"

namespace {

using Clock = std::chrono::steady_clock;

// Without progress for this long a write gives up (nobody drains the line).
constexpr int kWriteStallMs = 2000;

struct LineSpeed
{
    int baud;
    speed_t speed;
};

// The speeds a port can be set to; any other rate falls back to the cable's.
LineSpeed SpeedOf(int baud)
{
    constexpr LineSpeed kSpeeds[] = {{1200, B1200},   {2400, B2400},   {4800, B4800},   {9600, B9600},
                                     {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};
    for (const LineSpeed& s : kSpeeds) {
        if (s.baud == baud)
            return s;
    }
    return {kCableBaud, B9600};
}

// One character on the wire at 8N1: start bit, eight data bits, stop bit.
Clock::duration ByteTime(const LineSpeed& s)
{
    return std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(10)) / s.baud;
}

// An exchange sleeps a thousand times or more; each sleep should end on time, not up to the
// default 50 us of timer slack late. Set once for every thread that uses a port.
void UsePreciseTimers()
{
    thread_local const bool precise = prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
    static_cast<void>(precise);
}

// poll() until the deadline, to the nanosecond: millisecond time-outs would oversleep every
// wait by up to a millisecond.
int PollUntil(pollfd* fds, nfds_t count, Clock::time_point deadline)
{
    const auto left = std::max(Clock::duration::zero(), deadline - Clock::now());
    const auto seconds = std::chrono::floor<std::chrono::seconds>(left);
    const timespec timeout{static_cast<time_t>(seconds.count()),
                           static_cast<long>(std::chrono::nanoseconds(left - seconds).count())};
    return ppoll(fds, count, &timeout, nullptr);
}

PortOpenError ErrorOf(int err)
{
    switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return PortOpenError::Missing;
    case EACCES:
    case EPERM:
    case EROFS:
        return PortOpenError::PermissionDenied;
    case EBUSY:
    case EWOULDBLOCK:
        return PortOpenError::Busy;
    case ENOTTY:
        return PortOpenError::NotSerial;
    default:
        return PortOpenError::Other;
    }
}

} // namespace

// Holds the descriptor for one operation: Close waits until every CUse has ended before it
// releases the descriptor, and wakes their waits through the self-pipe.
class CSerialPort::CUse
{
public:
    enum class Wait
    {
        Ready,
        Timeout,
        Closed,
        HungUp
    };

    explicit CUse(CSerialPort& port) : m_port(port)
    {
        UsePreciseTimers();
        std::lock_guard lock(port.m_mutex);
        if (port.m_fd >= 0 && !port.m_closing) {
            m_fd = port.m_fd;
            m_wake = port.m_wake[0];
            m_byteTime = port.m_byteTime;
            ++port.m_inFlight;
        }
    }
    ~CUse()
    {
        if (m_fd < 0)
            return;
        std::lock_guard lock(m_port.m_mutex);
        if (--m_port.m_inFlight == 0)
            m_port.m_idle.notify_all();
    }
    CUse(const CUse&) = delete;
    CUse& operator=(const CUse&) = delete;

    bool Valid() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }
    Clock::duration ByteTime() const { return m_byteTime; }

    // Waits until the descriptor is ready for `events`, the deadline passes or Close is called.
    Wait WaitFor(short events, Clock::time_point deadline) const
    {
        for (;;) {
            pollfd fds[2] = {{m_fd, events, 0}, {m_wake, POLLIN, 0}};
            const int n = PollUntil(fds, 2, deadline);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 || fds[1].revents != 0)
                return Wait::Closed;
            if (fds[0].revents & events)
                return Wait::Ready;
            if (fds[0].revents != 0)
                return Wait::HungUp;
            if (Clock::now() >= deadline)
                return Wait::Timeout;
        }
    }

    // Sleeps until the deadline unless Close is called first; false when closed.
    bool Pause(Clock::time_point deadline) const
    {
        for (;;) {
            pollfd wake{m_wake, POLLIN, 0};
            const int n = PollUntil(&wake, 1, deadline);
            if (n < 0 && errno == EINTR)
                continue;
            if (n != 0)
                return false;
            if (Clock::now() >= deadline)
                return true;
        }
    }

private:
    CSerialPort& m_port;
    int m_fd = -1;
    int m_wake = -1;
    Clock::duration m_byteTime{};
};

CSerialPort::CSerialPort() = default;

CSerialPort::~CSerialPort()
{
    Close();
}

bool CSerialPort::Open(int port, int baud)
{
    const std::string path = ResolvePortPath(port);
    if (path.empty()) {
        std::lock_guard lock(m_mutex);
        m_lastError = PortOpenError::Missing;
        return false;
    }
    return OpenDevice(path, baud);
}

bool CSerialPort::OpenDevice(const std::string& path, int baud)
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_closing; });
    if (m_fd >= 0)
        return false;

    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_lastError = ErrorOf(errno);
        return false;
    }
    // Exclusive use: TIOCEXCL keeps other programs out, the lock also other instances run as root.
    termios tio{};
    if (tcgetattr(fd, &tio) != 0 || ioctl(fd, TIOCEXCL) != 0) {
        m_lastError = PortOpenError::NotSerial;
        close(fd);
        return false;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_lastError = PortOpenError::Busy;
        ioctl(fd, TIOCNXCL);
        close(fd);
        return false;
    }
    int wake[2];
    if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_lastError = PortOpenError::Other;
        ioctl(fd, TIOCNXCL);
        close(fd);
        return false;
    }

    // 8N1 raw, no flow control of any kind. With VMIN 1 an empty line reads as EAGAIN (the
    // descriptor never blocks), so that a read of 0 bytes means the line is gone.
    cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(PARENB | CSTOPB | CSIZE | CRTSCTS);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    const LineSpeed speed = SpeedOf(baud);
    cfsetispeed(&tio, speed.speed);
    cfsetospeed(&tio, speed.speed);
    tcsetattr(fd, TCSANOW, &tio);
    // The cable powers its level converter from DTR and RTS; a pseudo-terminal refuses this.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(fd, TIOCMBIS, &lines);

    m_fd = fd;
    m_wake[0] = wake[0];
    m_wake[1] = wake[1];
    m_path = path;
    m_byteTime = ByteTime(speed);
    m_lastError = PortOpenError::None;
    return true;
}

PortOpenError CSerialPort::Probe(int port)
{
    if (!Open(port, kCableBaud))
        return LastOpenError();
    Close();
    return PortOpenError::None;
}

void CSerialPort::SetBaudRate(int baud)
{
    CUse use(*this);
    if (!use.Valid())
        return;
    termios tio{};
    if (tcgetattr(use.Fd(), &tio) != 0)
        return;
    const LineSpeed speed = SpeedOf(baud);
    cfsetispeed(&tio, speed.speed);
    cfsetospeed(&tio, speed.speed);
    if (tcsetattr(use.Fd(), TCSANOW, &tio) == 0) {
        std::lock_guard lock(m_mutex);
        m_byteTime = ByteTime(speed);
    }
}

int CSerialPort::Write(const std::uint8_t* bytes, int count, int pauseMs, bool byteByByte)
{
    CUse use(*this);
    if (!use.Valid() || count <= 0)
        return 0;

    // Writes bytes [from, to) after the pause; returns how many went out.
    auto send = [&use, bytes, pauseMs](int from, int to) {
        if (pauseMs > 0 && !use.Pause(Clock::now() + std::chrono::milliseconds(pauseMs)))
            return 0;
        int done = 0;
        while (from + done < to) {
            const ssize_t n =
                write(use.Fd(), bytes + from + done, static_cast<std::size_t>(to - from - done));
            if (n > 0) {
                done += static_cast<int>(n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno != EAGAIN)
                break; // the device is gone
            const auto stall = Clock::now() + std::chrono::milliseconds(kWriteStallMs);
            if (use.WaitFor(POLLOUT, stall) != CUse::Wait::Ready)
                break;
        }
        return done;
    };

    if (!byteByByte)
        return send(0, count);
    int written = 0;
    while (written < count && send(written, written + 1) == 1)
        ++written;
    return written;
}

int CSerialPort::WriteByte(std::uint8_t value, int pauseMs)
{
    return Write(&value, 1, pauseMs);
}

int CSerialPort::Read(std::uint8_t* buffer, int count, int timeoutMs)
{
    CUse use(*this);
    if (!use.Valid() || count <= 0)
        return 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
    int received = 0;
    bool sleepForRest = true; // once after bytes have woken the read
    for (;;) {
        const ssize_t n = read(use.Fd(), buffer + received, static_cast<std::size_t>(count - received));
        if (n > 0) {
            received += static_cast<int>(n);
            if (received == count)
                return count;
            // The rest cannot be complete before it has crossed the wire: sleep that long instead of
            // waking for every byte, then read what came. Should the radio have fallen behind, the
            // next byte wakes the read again rather than another sleep that may overshoot it.
            if (sleepForRest) {
                if (!use.Pause(std::min(deadline, Clock::now() + use.ByteTime() * (count - received))))
                    return received;
                sleepForRest = false;
                continue;
            }
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n == 0 || errno != EAGAIN) {
            // A line that is gone (cable pulled, radio hung up) delivers nothing more: keep the
            // time-out without spinning on its end-of-file.
            use.Pause(deadline);
            return received;
        }
        if (Clock::now() >= deadline)
            return received;
        switch (use.WaitFor(POLLIN, deadline)) {
        case CUse::Wait::Ready:
        case CUse::Wait::Timeout:
            sleepForRest = true;
            break; // read once more, then the deadline decides
        case CUse::Wait::Closed:
            return received;
        case CUse::Wait::HungUp:
            use.Pause(deadline);
            return received;
        }
    }
}

int CSerialPort::ReadByte(int timeoutMs)
{
    std::uint8_t b = 0;
    return Read(&b, 1, timeoutMs) == 1 ? b : -1;
}

void CSerialPort::Close()
{
    std::unique_lock lock(m_mutex);
    if (m_fd < 0 || m_closing)
        return;
    m_closing = true;
    const int fd = m_fd;
    const int wake[2] = {m_wake[0], m_wake[1]};
    const std::uint8_t wakeByte = 1;
    [[maybe_unused]] const ssize_t n = write(wake[1], &wakeByte, 1);
    m_idle.wait(lock, [this] { return m_inFlight == 0; });
    // No operation uses the descriptor any more: now its number may be handed out again.
    ioctl(fd, TIOCNXCL);
    close(fd);
    close(wake[0]);
    close(wake[1]);
    m_fd = -1;
    m_wake[0] = m_wake[1] = -1;
    m_path.clear();
    m_closing = false;
    m_idle.notify_all();
}

bool CSerialPort::IsOpen() const
{
    std::lock_guard lock(m_mutex);
    return m_fd >= 0 && !m_closing;
}

std::string CSerialPort::DevicePath() const
{
    std::lock_guard lock(m_mutex);
    return m_path;
}

PortOpenError CSerialPort::LastOpenError() const
{
    std::lock_guard lock(m_mutex);
    return m_lastError;
}
