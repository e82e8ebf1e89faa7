#pragma once
// The clone exchange with the radio: wake it into programming mode ("PROGRAM", acknowledged by
// 06), identify it (02, eight bytes back), then read the whole image or write it in 16-byte
// blocks, and end with 'b'. The exchange start and the single frames are separate operations
// because the test mode runs its own exchanges with them.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "link/CloneStatus.h"
#include "radio/RadioImage.h"

class ISerialLine;

// Bytes and sizes of the wire protocol. Addresses go most significant byte first.
inline constexpr std::uint8_t kCloneAck = 0x06;
inline constexpr std::uint8_t kCloneIdentify = 0x02;
inline constexpr std::uint8_t kCloneReadCmd = 0x52;  // 'R'
inline constexpr std::uint8_t kCloneWriteCmd = 0x57; // 'W'
inline constexpr std::uint8_t kCloneEnd = 0x62;      // 'b'
inline constexpr std::uint8_t kCloneBlockLen = 0x10;
inline constexpr char kCloneWakeUp[] = "PROGRAM"; // sent without its terminator
inline constexpr int kCloneWakeUpLen = 7;
inline constexpr int kCloneIdentLen = 8;
inline constexpr int kCloneBlockSize = 16;
inline constexpr int kCloneFrameSize = 20;    // command, address high, address low, length, 16 bytes
inline constexpr int kCloneImageBlocks = 256; // 0x0000 to 0x0FF0: the whole image
inline constexpr int kCloneWriteBlocks = 254; // 0x0000 to 0x0FD0: never the calibration area
inline constexpr int kCloneAttempts = 3;
inline constexpr int kCloneWakeUpAttempts = 10;
inline constexpr int kCloneLastSearchPort = 255;

// Time-outs and pauses in milliseconds.
inline constexpr int kCloneSendPauseMs = 1;   // before every transmission
inline constexpr int kCloneOpenPauseMs = 100; // after opening a port
inline constexpr int kCloneWakeUpReplyMs = 50;
inline constexpr int kCloneIdentReplyMs = 500;
inline constexpr int kCloneAckReplyMs = 50; // the byte the radio sends after our 06
inline constexpr int kCloneBlockReplyMs = 200;
inline constexpr int kCloneWriteAckMs = 100;
inline constexpr int kCloneWriteEndPauseMs = 1000; // after the end byte of a write
inline constexpr int kCloneQuietLineMs = 100;      // silence awaited before a block is retried

using CloneFrame = std::array<std::uint8_t, kCloneFrameSize>;
using CloneIdent = std::array<std::uint8_t, kCloneIdentLen>;

// --- single frames ---

// Discards every byte waiting, sends "PROGRAM" and waits for one byte: true when it is 06.
bool SendWakeUp(ISerialLine& port);
// Sends 02 and waits for the eight identification bytes; returns how many came (0 to 8).
int RequestIdentification(ISerialLine& port, CloneIdent* ident = nullptr);
// Sends 06 and waits for one byte, which is ignored.
void SendAcknowledge(ISerialLine& port);
// Discards every byte waiting, then sends the read request 'R', address high, address low, 10.
void SendReadRequest(ISerialLine& port, int address);
// Waits up to timeoutMs for a 20-byte data block; returns how many bytes came.
int ReceiveBlock(ISerialLine& port, CloneFrame& reply, int timeoutMs);
// Builds the data block 'W', address high, address low, lengthByte, then 16 bytes.
CloneFrame MakeDataBlock(int address, const std::uint8_t* data16, std::uint8_t lengthByte = kCloneBlockLen);
// Discards every byte waiting, sends a data block and waits up to ackTimeoutMs for one byte: true
// when it is 06.
bool SendDataBlock(ISerialLine& port, const CloneFrame& block, int ackTimeoutMs);
// Sends the end byte 'b'.
void SendEndByte(ISerialLine& port);

// --- the exchange start ---

enum class ExchangeStartResult
{
    Ok,
    PortError,
    TypeError,
    Cancelled
};

// The port the exchange starts on: "com" of section "setup" (default 1).
int ConfiguredPort(const std::string& settingFile);
// Whether the exchange searches other ports when the radio does not answer: unless "searchcom" of
// section "setup" starts with 0.
bool PortSearchEnabled(const std::string& settingFile);

// Opens the configured port ("com" of section "setup", default 1) if the port is closed, wakes
// the radio (ten attempts, then the port search over COM1 to COM255 unless "searchcom" starts
// with 0), identifies it and acknowledges. A port found by the search is stored as "com".
// With a status record, the search reports status Searching with the port number as progress,
// and the cancel flag ends the search; without one (the test mode) nothing is reported.
// allowSearch false keeps to the open or configured port whatever "searchcom" says (the
// command-line tool's --device and --no-search).
// `ident` gets the identification bytes.
ExchangeStartResult StartExchange(ISerialLine& port, const std::string& settingFile,
                                  CloneStatusRecord* status = nullptr, bool allowSearch = true,
                                  CloneIdent* ident = nullptr);

// --- one whole read or write ---

// One run of the clone exchange on a worker thread. It touches only the port, the buffer and
// the status record it is given; the outcome is the record's final status. The port is left
// open (apart from the switching of the search); the caller closes it.
class CCloneSession final
{
public:
    // settingFile: the settings file the exchange reads "com"/"searchcom" from (g_strSettingFile).
    CCloneSession(ISerialLine& port, CloneStatusRecord& status, RadioImage& buffer, std::string settingFile);

    void Run(CloneDirection direction);
    // Whether the exchange start may search other ports when "searchcom" allows it (default yes).
    void SetSearchAllowed(bool allowed) { m_searchAllowed = allowed; }

    // Addresses of the blocks the last read skipped (three complete replies for another address).
    const std::vector<int>& SkippedBlocks() const { return m_skippedBlocks; }
    // The identification bytes the radio sent (all zero before it sent them).
    const CloneIdent& Identification() const { return m_ident; }

private:
    void ReadTransfer();
    void WriteTransfer();

    ISerialLine& m_port;
    CloneStatusRecord& m_record;
    RadioImage& m_buffer;
    std::string m_settingFile;
    std::vector<int> m_skippedBlocks;
    CloneIdent m_ident{};
    bool m_searchAllowed = true;
};
