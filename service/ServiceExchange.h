#pragma once
// The test mode's exchanges with the radio: read and write the whole image (calibration block
// included), and the adjust mode in which the calibration block is sent after every change while
// the radio stays in programming mode. All of them start like the clone exchange.

#include "radio/RadioImage.h"

#include <atomic>
#include <cstdint>
#include <string>

class ISerialLine;

enum class ServiceResult
{
    Ok,
    PortConn,    // no answer to the wake-up, search exhausted, no identification, short block reply
    WrongType,   // one to seven identification bytes
    WriteFailed, // a written block was not acknowledged; the port is left open
};

class CServiceExchange final
{
public:
    // The image is the document's own: blocks are read into it and written from it directly.
    CServiceExchange(ISerialLine& port, RadioImage& image, std::string settingFile);

    // The 256 blocks into the image, then the end byte; the port is closed in every case.
    // On a short reply the blocks read so far stay in the image.
    ServiceResult ReadAll();
    // The 256 blocks from the image, each with the length byte 0x08, then the end byte and the
    // port closed. Without an acknowledge the write stops there and the port stays open.
    ServiceResult WriteAll();
    // Reads the calibration block into the image and leaves the radio in programming mode with
    // the port open. On failure the port is closed.
    ServiceResult EnterAdjustMode();
    // Sends the calibration block (values and selected item) and ignores the radio's answer.
    void SendAdjustFrame();
    // Ends programming mode with the end byte; the port stays open for the next exchange.
    void EndProgrammingMode();
    // Ends programming mode and closes the port (harmless when it is closed).
    void LeaveAdjustMode();

    // Blocks read or written so far by the last ReadAll or WriteAll; another thread may poll it.
    int BlocksDone() const { return m_blocksDone; }

    // The adjust frame: 'g', 0F F0, 10, then image bytes 0xFF0 to 0xFFF.
    static constexpr std::uint8_t kAdjustCmd = 0x67;
    // The length byte of the test mode's full write.
    static constexpr std::uint8_t kWriteAllLength = 0x08;

private:
    ServiceResult Start();
    bool ReadBlock(int address);

    ISerialLine& m_port;
    RadioImage& m_image;
    std::string m_settingFile;
    std::atomic<int> m_blocksDone{0};
};
