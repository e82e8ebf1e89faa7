#include "service/ServiceExchange.h"

#include "link/CloneSession.h"
#include "link/SerialLine.h"

#include <algorithm>

namespace {

// The test mode waits this long for the answer to a written block and to the adjust frame (the
// normal write gives a block kCloneWriteAckMs).
constexpr int kServiceAnswerMs = 50;

} // namespace

CServiceExchange::CServiceExchange(ISerialLine& port, RadioImage& image, std::string settingFile)
    : m_port(port), m_image(image), m_settingFile(std::move(settingFile))
{
}

ServiceResult CServiceExchange::Start()
{
    const ExchangeStartResult r = StartExchange(m_port, m_settingFile);
    if (r == ExchangeStartResult::Ok)
        return ServiceResult::Ok;
    m_port.Close();
    return r == ExchangeStartResult::TypeError ? ServiceResult::WrongType : ServiceResult::PortConn;
}

// One block into the image; the header bytes of the reply are not checked and there is no retry.
bool CServiceExchange::ReadBlock(int address)
{
    SendReadRequest(m_port, address);
    CloneFrame reply{};
    if (ReceiveBlock(m_port, reply, kCloneBlockReplyMs) < kCloneFrameSize)
        return false;
    std::copy(reply.begin() + 4, reply.end(), m_image.begin() + address);
    SendAcknowledge(m_port);
    return true;
}

ServiceResult CServiceExchange::ReadAll()
{
    m_blocksDone = 0;
    if (const ServiceResult r = Start(); r != ServiceResult::Ok)
        return r;
    for (int block = 0; block < kCloneImageBlocks; ++block) {
        if (!ReadBlock(block * kCloneBlockSize)) {
            m_port.Close();
            return ServiceResult::PortConn;
        }
        m_blocksDone = block + 1;
    }
    SendEndByte(m_port);
    m_port.Close();
    return ServiceResult::Ok;
}

ServiceResult CServiceExchange::WriteAll()
{
    m_blocksDone = 0;
    if (const ServiceResult r = Start(); r != ServiceResult::Ok)
        return r;
    for (int block = 0; block < kCloneImageBlocks; ++block) {
        const int address = block * kCloneBlockSize;
        const CloneFrame frame = MakeDataBlock(address, m_image.data() + address, kWriteAllLength);
        if (!SendDataBlock(m_port, frame, kServiceAnswerMs))
            return ServiceResult::WriteFailed;
        m_blocksDone = block + 1;
    }
    SendEndByte(m_port);
    m_port.Close();
    return ServiceResult::Ok;
}

ServiceResult CServiceExchange::EnterAdjustMode()
{
    if (const ServiceResult r = Start(); r != ServiceResult::Ok)
        return r;
    if (!ReadBlock(ImageMap::kCalibration)) {
        m_port.Close();
        return ServiceResult::PortConn;
    }
    return ServiceResult::Ok;
}

void CServiceExchange::SendAdjustFrame()
{
    const std::size_t at = ImageMap::kCalibration;
    CloneFrame frame{kAdjustCmd, static_cast<std::uint8_t>(at >> 8), static_cast<std::uint8_t>(at & 0xFF),
                     kCloneBlockLen};
    std::copy(m_image.begin() + at, m_image.begin() + at + kCloneBlockSize, frame.begin() + 4);
    m_port.Write(frame.data(), kCloneFrameSize, kCloneSendPauseMs);
    m_port.ReadByte(kServiceAnswerMs);
}

void CServiceExchange::EndProgrammingMode()
{
    SendEndByte(m_port);
}

void CServiceExchange::LeaveAdjustMode()
{
    EndProgrammingMode();
    m_port.Close();
}
