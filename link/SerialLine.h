#pragma once
// What the clone exchange needs of a serial line. CSerialPort is the real one; tests and the
// fuzzing of the exchange hand it a scripted radio on a simulated clock instead.

#include <chrono>
#include <cstdint>
#include <thread>

// The programming cable's one line speed (8N1).
inline constexpr int kCableBaud = 9600;

class ISerialLine
{
public:
    virtual ~ISerialLine() = default;

    virtual bool Open(int port, int baud) = 0;
    virtual int Write(const std::uint8_t* bytes, int count, int pauseMs, bool byteByByte = false) = 0;
    virtual int WriteByte(std::uint8_t value, int pauseMs) = 0;
    virtual int Read(std::uint8_t* buffer, int count, int timeoutMs) = 0;
    virtual int ReadByte(int timeoutMs) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // The exchange's fixed pauses (after opening a port, after the end byte of a write). A real
    // line sleeps whatever happens to the port meanwhile.
    virtual void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};
