#include "tools/sim/SimRadio.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "link/CloneSession.h"

namespace {

constexpr std::uint8_t kNak = 0x15;
constexpr std::uint8_t kAdjustCmd = 0x67; // 'g': live calibration values of the test mode
constexpr std::uint8_t kJunk = 0xA5;
constexpr int kShortReplyLength = 12;
constexpr std::uint8_t kCorruptBits = 0x01; // keeps a BCD digit a digit, so the change reads as a value
constexpr std::uint8_t kIdentification[kCloneIdentLen] = {'Z', 'Q', '7', '0', '8', 0x01, 0x00, 0x00};

bool ParseInt(const std::string& text, int& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 0);
    if (*end != '\0' || v < -1 || v > 0xFFFF)
        return false;
    value = static_cast<int>(v);
    return true;
}

} // namespace

bool ParseFaultBlock(const std::string& text, std::map<int, int>& faults)
{
    const std::size_t colon = text.find(':');
    int address = 0;
    int times = -1;
    if (!ParseInt(text.substr(0, colon), address) || address < 0)
        return false;
    if (colon != std::string::npos && (!ParseInt(text.substr(colon + 1), times) || times < 1))
        return false;
    faults[address] = times;
    return true;
}

CSimRadio::CSimRadio(const RadioImage& memory, SimFaults faults)
    : m_memory(memory), m_faults(std::move(faults))
{
}

std::vector<std::uint8_t> CSimRadio::StartupBytes() const
{
    std::lock_guard lock(m_mutex);
    return std::vector<std::uint8_t>(static_cast<std::size_t>(std::max(0, m_faults.junkBytes)), kJunk);
}

std::vector<std::uint8_t> CSimRadio::Receive(const std::uint8_t* bytes, std::size_t count)
{
    std::lock_guard lock(m_mutex);
    std::vector<std::uint8_t> answer;
    if (m_hungUp)
        return answer;
    m_pending.insert(m_pending.end(), bytes, bytes + count);
    while (!m_hungUp && HandleFront(answer)) {
    }
    return answer;
}

bool CSimRadio::HandleFront(std::vector<std::uint8_t>& answer)
{
    if (m_pending.empty())
        return false;
    const std::uint8_t first = m_pending[0];
    auto consume = [this](std::size_t n) {
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<long>(n));
    };

    // A wake-up is recognised in any state: a tool that gave up without the end byte starts over.
    if (first == kCloneWakeUp[0]) {
        const std::size_t n = std::min<std::size_t>(m_pending.size(), kCloneWakeUpLen);
        if (std::memcmp(m_pending.data(), kCloneWakeUp, n) != 0) {
            consume(1);
            return true;
        }
        if (n < kCloneWakeUpLen)
            return false;
        consume(kCloneWakeUpLen);
        ++m_wakeUps;
        if (m_silentWakeUps > 0) {
            --m_silentWakeUps;
            m_state = State::Idle;
        } else if (++m_attempt >= m_faults.wakeUpAtAttempt) {
            answer.push_back(kCloneAck);
            m_state = State::Woken;
        } else {
            answer.insert(answer.end(), static_cast<std::size_t>(std::max(0, m_faults.junkBytes)), kJunk);
            m_state = State::Idle;
        }
        return true;
    }

    if (m_state == State::Ready) {
        const std::size_t need = (first == kCloneReadCmd)                           ? 4
                                 : (first == kCloneWriteCmd || first == kAdjustCmd) ? kCloneFrameSize
                                                                                    : 1;
        if (m_pending.size() < need)
            return false;
        const int address = (m_pending.size() >= 3) ? (m_pending[1] << 8 | m_pending[2]) : 0;
        switch (first) {
        case kCloneReadCmd:
            AnswerRead(address, answer);
            break;
        case kCloneWriteCmd:
            m_writeLengths.push_back(m_pending[3]);
            AnswerWrite(address, m_pending.data() + 4, answer);
            break;
        case kAdjustCmd:
            std::copy_n(m_pending.begin() + 4, kCloneBlockSize, m_memory.begin() + ImageMap::kCalibration);
            m_adjusts.emplace_back(m_pending.begin() + 4, m_pending.begin() + kCloneFrameSize);
            answer.push_back(kCloneAck);
            break;
        case kCloneEnd:
            ++m_endBytes;
            m_silentWakeUps = std::max(0, m_faults.silentAfterEnd);
            m_state = State::Idle;
            m_attempt = 0;
            break;
        case kCloneAck:
            answer.push_back(kCloneAck);
            break;
        default:
            break; // the radio ignores what it does not understand
        }
        consume(need);
        return true;
    }

    if (m_state == State::Woken && first == kCloneIdentify) {
        const int length = std::clamp(m_faults.identLength, 0, kCloneIdentLen);
        answer.insert(answer.end(), kIdentification, kIdentification + length);
        m_state = State::Identified;
    } else if (m_state == State::Identified && first == kCloneAck) {
        answer.push_back(kCloneAck);
        m_state = State::Ready;
    }
    consume(1);
    return true;
}

void CSimRadio::AnswerRead(int address, std::vector<std::uint8_t>& answer)
{
    m_reads.push_back(address);
    std::uint8_t frame[kCloneFrameSize] = {kCloneWriteCmd, static_cast<std::uint8_t>(address >> 8),
                                           static_cast<std::uint8_t>(address & 0xFF), kCloneBlockLen};
    for (int i = 0; i < kCloneBlockSize; ++i) {
        const int at = address + i;
        frame[4 + i] = at < static_cast<int>(m_memory.size()) ? m_memory[static_cast<std::size_t>(at)] : 0xFF;
    }
    int length = kCloneFrameSize;
    if (TakeFault(m_faults.shortReply, address)) {
        length = kShortReplyLength;
    } else if (TakeFault(m_faults.wrongAddress, address)) {
        frame[1] ^= 0x01; // a block 0x100 away
    }
    answer.insert(answer.end(), frame, frame + length);
    BlockAnswered();
}

void CSimRadio::AnswerWrite(int address, const std::uint8_t* data, std::vector<std::uint8_t>& answer)
{
    m_writes.push_back(address);
    if (TakeFault(m_faults.silentWrite, address)) {
        // no answer at all
    } else if (TakeFault(m_faults.nakWrite, address)) {
        answer.push_back(kNak);
    } else {
        const bool stored = !TakeFault(m_faults.dropWrite, address);
        if (stored && address + kCloneBlockSize <= static_cast<int>(m_memory.size())) {
            std::copy_n(data, kCloneBlockSize, m_memory.begin() + address);
            if (TakeFault(m_faults.corruptWrite, address))
                m_memory[static_cast<std::size_t>(address)] ^= kCorruptBits;
        }
        answer.push_back(kCloneAck);
    }
    BlockAnswered();
}

void CSimRadio::BlockAnswered()
{
    ++m_blocksAnswered;
    if (m_faults.hangUpAfterBlocks >= 0 && m_blocksAnswered >= m_faults.hangUpAfterBlocks)
        m_hungUp = true;
}

bool CSimRadio::TakeFault(std::map<int, int>& faults, int address)
{
    const auto it = faults.find(address);
    if (it == faults.end() || it->second == 0)
        return false;
    if (it->second > 0)
        --it->second;
    return true;
}

bool CSimRadio::HungUp() const
{
    std::lock_guard lock(m_mutex);
    return m_hungUp;
}

RadioImage CSimRadio::Memory() const
{
    std::lock_guard lock(m_mutex);
    return m_memory;
}

int CSimRadio::WakeUpsSeen() const
{
    std::lock_guard lock(m_mutex);
    return m_wakeUps;
}

int CSimRadio::EndBytesSeen() const
{
    std::lock_guard lock(m_mutex);
    return m_endBytes;
}

std::vector<int> CSimRadio::ReadAddresses() const
{
    std::lock_guard lock(m_mutex);
    return m_reads;
}

std::vector<int> CSimRadio::WrittenAddresses() const
{
    std::lock_guard lock(m_mutex);
    return m_writes;
}

std::vector<int> CSimRadio::WrittenLengths() const
{
    std::lock_guard lock(m_mutex);
    return m_writeLengths;
}

std::vector<std::vector<std::uint8_t>> CSimRadio::AdjustFrames() const
{
    std::lock_guard lock(m_mutex);
    return m_adjusts;
}
