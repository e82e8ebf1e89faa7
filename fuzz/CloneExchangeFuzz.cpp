// A whole read or write of the radio where every answer of the radio is fuzzer bytes (see
// CFuzzedLine). Input byte 0: bit 0 read (else write), bit 1 port search allowed, bits 2-7 times
// 16: the read after which the user cancels (0: never). The exchange must end in bounded time
// with a status of its direction, never send a block of the calibration area, send blocks in
// order, leave a write's buffer alone and report a transfer's progress within 0..100.

#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzedLine.h"
#include "link/CloneSession.h"

#include <algorithm>
#include <set>

namespace {

int AddressOf(const std::vector<std::uint8_t>& frame)
{
    return frame[1] << 8 | frame[2];
}

void CheckFrames(const CFuzzedLine& line, CloneDirection direction)
{
    int lastAddress = -kCloneBlockSize;
    for (const std::vector<std::uint8_t>& frame : line.Written()) {
        if (frame.size() == kCloneFrameSize) {
            FUZZ_CHECK(direction == CloneDirection::Write && frame[0] == kCloneWriteCmd);
            FUZZ_CHECK(frame[3] == kCloneBlockLen);
            const int address = AddressOf(frame);
            FUZZ_CHECK(address < kCloneWriteBlocks * kCloneBlockSize);
            FUZZ_CHECK(address == lastAddress || address == lastAddress + kCloneBlockSize);
            lastAddress = address;
        } else if (frame.size() == 4) {
            FUZZ_CHECK(direction == CloneDirection::Read && frame[0] == kCloneReadCmd &&
                       frame[3] == kCloneBlockLen);
            const int address = AddressOf(frame);
            FUZZ_CHECK(address < kCloneImageBlocks * kCloneBlockSize);
            FUZZ_CHECK(address == lastAddress || address == lastAddress + kCloneBlockSize);
            lastAddress = address;
        } else {
            FUZZ_CHECK(frame.size() == 1 || frame.size() == kCloneWakeUpLen);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto direction = (data[0] & 1) != 0 ? CloneDirection::Read : CloneDirection::Write;
    const bool search = (data[0] & 2) != 0;
    const int cancelAfter = (data[0] >> 2) * 16;

    static const std::string settings = FuzzScratchPath("setting.ini");
    WriteFuzzFile(settings, "[setup]\ncom=1\n", 14);

    CloneStatusRecord record;
    CFuzzedLine line(data + 1, size - 1, record, cancelAfter);
    RadioImage buffer;
    for (std::size_t i = 0; i < buffer.size(); ++i)
        buffer[i] = static_cast<std::uint8_t>(i * 7);
    const RadioImage before = buffer;

    CCloneSession session(line, record, buffer, settings);
    session.SetSearchAllowed(search);
    session.Run(direction);

    const CloneStatus status = record.m_status;
    static const std::set<CloneStatus> readEnds = {
        CloneStatus::Idle,    CloneStatus::PortError,  CloneStatus::TypeError, CloneStatus::Searching,
        CloneStatus::Reading, CloneStatus::ReadFailed, CloneStatus::ReadDone};
    static const std::set<CloneStatus> writeEnds = {
        CloneStatus::Idle,    CloneStatus::PortError,   CloneStatus::TypeError, CloneStatus::Searching,
        CloneStatus::Writing, CloneStatus::WriteFailed, CloneStatus::WriteDone};
    FUZZ_CHECK((direction == CloneDirection::Read ? readEnds : writeEnds).count(status) == 1);
    if (status == CloneStatus::Reading || status == CloneStatus::Writing || status == CloneStatus::Searching)
        FUZZ_CHECK(record.m_cancel);
    if (status == CloneStatus::ReadDone || status == CloneStatus::WriteDone)
        FUZZ_CHECK(line.Written().back() == std::vector<std::uint8_t>{kCloneEnd});
    // During a port search the progress is the port number; in a transfer a percentage.
    if (status == CloneStatus::Reading || status == CloneStatus::Writing)
        FUZZ_CHECK(record.m_progress >= 0 && record.m_progress <= 100);
    if (status == CloneStatus::ReadDone || status == CloneStatus::WriteDone)
        FUZZ_CHECK(record.m_progress == 100);
    if (direction == CloneDirection::Write)
        FUZZ_CHECK(buffer == before);
    CheckFrames(line, direction);
    // Three tries of every block and the port search at most: well under ten minutes.
    FUZZ_CHECK(line.ClockMs() < 10 * 60 * 1000);
    return 0;
}
