#include "link/CloneSession.h"

#include <algorithm>

#include "i18n/Profile.h"
#include "link/SerialLine.h"

namespace {

// A line that never stops delivering bytes must not keep the wake-up from being sent.
constexpr int kMaxDiscard = 65536;

bool Cancelled(const CloneStatusRecord* status)
{
    return status != nullptr && status->m_cancel;
}

// A radio that answers after our time-out leaves its answer on the line: it must not be taken
// for the answer to the next frame (a late 06 would let a refused block count as written).
void DiscardWaitingBytes(ISerialLine& port)
{
    for (int i = 0; i < kMaxDiscard && port.ReadByte(0) >= 0; ++i) {
    }
}

// After a frame went unanswered or came back wrong, the radio may still be sending: a late reply
// joined to the next one could pass for a whole block. Retry only once the line has gone quiet.
void WaitForQuietLine(ISerialLine& port)
{
    for (int i = 0; i < kMaxDiscard && port.ReadByte(kCloneQuietLineMs) >= 0; ++i) {
    }
}

} // namespace

bool SendWakeUp(ISerialLine& port)
{
    DiscardWaitingBytes(port);
    port.Write(reinterpret_cast<const std::uint8_t*>(kCloneWakeUp), kCloneWakeUpLen, kCloneSendPauseMs);
    return port.ReadByte(kCloneWakeUpReplyMs) == kCloneAck;
}

int RequestIdentification(ISerialLine& port, CloneIdent* ident)
{
    port.WriteByte(kCloneIdentify, kCloneSendPauseMs);
    CloneIdent bytes{};
    const int count = port.Read(bytes.data(), kCloneIdentLen, kCloneIdentReplyMs);
    if (ident)
        *ident = bytes;
    return count;
}

void SendAcknowledge(ISerialLine& port)
{
    port.WriteByte(kCloneAck, kCloneSendPauseMs);
    port.ReadByte(kCloneAckReplyMs);
}

void SendReadRequest(ISerialLine& port, int address)
{
    const std::uint8_t request[4] = {kCloneReadCmd, static_cast<std::uint8_t>(address >> 8),
                                     static_cast<std::uint8_t>(address & 0xFF), kCloneBlockLen};
    DiscardWaitingBytes(port);
    port.Write(request, 4, kCloneSendPauseMs);
}

int ReceiveBlock(ISerialLine& port, CloneFrame& reply, int timeoutMs)
{
    return port.Read(reply.data(), kCloneFrameSize, timeoutMs);
}

CloneFrame MakeDataBlock(int address, const std::uint8_t* data16, std::uint8_t lengthByte)
{
    CloneFrame block{kCloneWriteCmd, static_cast<std::uint8_t>(address >> 8),
                     static_cast<std::uint8_t>(address & 0xFF), lengthByte};
    std::copy_n(data16, kCloneBlockSize, block.begin() + 4);
    return block;
}

bool SendDataBlock(ISerialLine& port, const CloneFrame& block, int ackTimeoutMs)
{
    DiscardWaitingBytes(port);
    port.Write(block.data(), kCloneFrameSize, kCloneSendPauseMs);
    return port.ReadByte(ackTimeoutMs) == kCloneAck;
}

void SendEndByte(ISerialLine& port)
{
    port.WriteByte(kCloneEnd, kCloneSendPauseMs);
}

int ConfiguredPort(const std::string& settingFile)
{
    return ReadProfileInt(settingFile, "setup", "com", 1);
}

bool PortSearchEnabled(const std::string& settingFile)
{
    return ReadProfileString(settingFile, "setup", "searchcom", "1", 8).substr(0, 1) != "0";
}

ExchangeStartResult StartExchange(ISerialLine& port, const std::string& settingFile,
                                  CloneStatusRecord* status, bool allowSearch, CloneIdent* ident)
{
    const bool search = allowSearch && PortSearchEnabled(settingFile);
    if (!port.IsOpen())
        port.Open(ConfiguredPort(settingFile), kCableBaud);
    port.Sleep(kCloneOpenPauseMs);

    // The configured port first, then COM1 to COM255 for as long as the search is allowed.
    int foundPort = -1;
    for (int next = 1;; ++next) {
        bool woke = false;
        for (int attempt = 0; attempt < kCloneWakeUpAttempts && !woke && port.IsOpen(); ++attempt)
            woke = SendWakeUp(port);
        if (woke)
            break;
        if (!search)
            return ExchangeStartResult::PortError;
        // Cancel ends the search too, so that whoever waits for the worker does not wait long.
        if (Cancelled(status))
            return ExchangeStartResult::Cancelled;
        port.Close();
        if (next > kCloneLastSearchPort)
            return ExchangeStartResult::PortError;
        if (port.Open(next, kCableBaud)) {
            port.Sleep(kCloneOpenPauseMs);
            foundPort = next;
            if (status != nullptr) {
                status->m_progress = next;
                status->m_status = CloneStatus::Searching;
            }
        }
    }

    const int identified = RequestIdentification(port, ident);
    if (identified == 0)
        return ExchangeStartResult::PortError;
    if (identified < kCloneIdentLen)
        return ExchangeStartResult::TypeError;
    SendAcknowledge(port);

    if (foundPort > 0) {
        WriteProfileString(settingFile, "setup", "com", std::to_string(foundPort));
        if (status != nullptr)
            status->m_foundPort = foundPort;
    }
    return ExchangeStartResult::Ok;
}

CCloneSession::CCloneSession(ISerialLine& port, CloneStatusRecord& status, RadioImage& buffer,
                             std::string settingFile)
    : m_port(port), m_record(status), m_buffer(buffer), m_settingFile(std::move(settingFile))
{
}

void CCloneSession::Run(CloneDirection direction)
{
    m_skippedBlocks.clear();
    m_ident = {};
    switch (StartExchange(m_port, m_settingFile, &m_record, m_searchAllowed, &m_ident)) {
    case ExchangeStartResult::Ok:
        break;
    case ExchangeStartResult::PortError:
        m_record.m_status = CloneStatus::PortError;
        return;
    case ExchangeStartResult::TypeError:
        m_record.m_status = CloneStatus::TypeError;
        return;
    case ExchangeStartResult::Cancelled:
        return;
    }
    if (direction == CloneDirection::Read)
        ReadTransfer();
    else
        WriteTransfer();
}

void CCloneSession::ReadTransfer()
{
    for (int block = 0; block < kCloneImageBlocks; ++block) {
        const int address = block * kCloneBlockSize;
        CloneFrame reply{};
        int received = 0;
        bool good = false;
        for (int attempt = 0; attempt < kCloneAttempts && !good; ++attempt) {
            SendReadRequest(m_port, address);
            received = ReceiveBlock(m_port, reply, kCloneBlockReplyMs);
            good = received == kCloneFrameSize && reply[0] == kCloneWriteCmd && reply[1] == (address >> 8) &&
                   reply[2] == (address & 0xFF);
            if (!good)
                WaitForQuietLine(m_port);
        }
        if (!good) {
            if (received < kCloneFrameSize) {
                m_record.m_status = CloneStatus::ReadFailed;
                return;
            }
            // Complete replies for another address: the buffer keeps its bytes there.
            m_skippedBlocks.push_back(address);
        } else {
            std::copy_n(reply.begin() + 4, kCloneBlockSize, m_buffer.begin() + address);
            SendAcknowledge(m_port);
            m_record.m_progress = (block + 1) * 1600 / 4096;
            m_record.m_status = CloneStatus::Reading;
        }
        if (m_record.m_cancel)
            return;
    }
    SendEndByte(m_port);
    m_record.m_status = CloneStatus::ReadDone;
}

void CCloneSession::WriteTransfer()
{
    for (int block = 0; block < kCloneWriteBlocks; ++block) {
        const int address = block * kCloneBlockSize;
        const CloneFrame frame = MakeDataBlock(address, m_buffer.data() + address);
        bool acknowledged = false;
        for (int attempt = 0; attempt < kCloneAttempts && !acknowledged; ++attempt) {
            acknowledged = SendDataBlock(m_port, frame, kCloneWriteAckMs);
            if (!acknowledged)
                WaitForQuietLine(m_port);
        }
        if (!acknowledged) {
            m_record.m_status = CloneStatus::WriteFailed;
            return;
        }
        m_record.m_progress = (block + 1) * 1600 / 4064;
        m_record.m_status = CloneStatus::Writing;
        if (m_record.m_cancel)
            return;
    }
    SendEndByte(m_port);
    m_port.Sleep(kCloneWriteEndPauseMs);
    m_record.m_status = CloneStatus::WriteDone;
}
