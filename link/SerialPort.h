#pragma once
// The program's one access to the programming cable: a serial device opened exclusively at
// 8N1 raw without flow control. Reads wait with poll() until a count of bytes has arrived or a
// time-out in milliseconds has passed; once part of a reply is in, a read sleeps for the time the
// rest needs on the wire at the port's baud rate instead of waking for every byte.
//
// Close may be called from another thread while a read, write or pause is waiting: the waiting
// call returns at once with what it has, later calls return nothing, and the descriptor is
// released only once no call is using it, so a number the system hands out again is never
// touched by mistake.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

#include "link/SerialLine.h"

// Why the last Open failed, so that callers can tell a missing port from one they may not use.
enum class PortOpenError
{
    None,
    Missing,
    PermissionDenied,
    Busy,
    NotSerial,
    Other
};

class CSerialPort final : public ISerialLine
{
public:
    CSerialPort();
    ~CSerialPort() override;
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens COMn (resolved to a device path by ResolvePortPath) at the baud rate. The port must
    // be closed before.
    bool Open(int port, int baud) override;
    // Opens a device path directly (a pseudo-terminal too).
    bool OpenDevice(const std::string& path, int baud);
    // Whether COMn can be opened now (None) or why not, leaving the port closed. The port must be
    // closed before.
    PortOpenError Probe(int port);
    // Changes the baud rate of an open port; without effect when closed.
    void SetBaudRate(int baud);

    // Waits pauseMs, then writes; byte by byte pauses before every byte and stops at the first
    // one not written. Returns the number of bytes written.
    int Write(const std::uint8_t* bytes, int count, int pauseMs, bool byteByByte = false) override;
    int WriteByte(std::uint8_t value, int pauseMs) override;
    // Returns the number of bytes received (0 to count) once all came or timeoutMs has passed.
    int Read(std::uint8_t* buffer, int count, int timeoutMs) override;
    // The next byte (0 to 255), or -1 when none came within timeoutMs (0: only what is queued).
    int ReadByte(int timeoutMs) override;

    void Close() override;
    bool IsOpen() const override;

    // The device path of the open port, empty when closed.
    std::string DevicePath() const;
    // Why the last Open or OpenDevice failed (None after a success).
    PortOpenError LastOpenError() const;

private:
    // One read, write or pause in flight; holds the descriptor until it ends.
    class CUse;

    mutable std::mutex m_mutex;
    std::condition_variable m_idle;
    int m_fd = -1;
    int m_wake[2] = {-1, -1}; // self-pipe: Close makes it readable to end every wait at once
    int m_inFlight = 0;
    bool m_closing = false; // Close is waiting for the operations in flight
    std::string m_path;
    std::chrono::steady_clock::duration m_byteTime{}; // one character at the baud rate, 8N1
    PortOpenError m_lastError = PortOpenError::None;
};
