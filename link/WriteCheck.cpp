#include "link/WriteCheck.h"

#include <algorithm>

#include "app/BackupStore.h"
#include "link/CloneSession.h"
#include "radio/ImageDiff.h"
#include "radio/VantorDoc.h"

namespace {

constexpr std::size_t kWrittenBytes = std::size_t{kCloneWriteBlocks} * kCloneBlockSize;

} // namespace

CWriteCheck::Outcome CWriteCheck::Run(ISerialLine& port, CloneStatusRecord& status, const RadioImage& written,
                                      const std::string& settingFile)
{
    // The write's outcome must not pass for the read's: the read reports from its first block on.
    status.m_status = CloneStatus::Idle;
    CCloneSession session(port, status, m_read, settingFile);
    session.SetSearchAllowed(false); // the radio is on the port just written
    session.Run(CloneDirection::Read);
    if (status.m_cancel)
        return Outcome::Cancelled;
    // A skipped block keeps the written bytes in the buffer: it proves nothing.
    const bool skippedWritten =
        std::any_of(session.SkippedBlocks().begin(), session.SkippedBlocks().end(),
                    [](int address) { return address < static_cast<int>(kWrittenBytes); });
    if (status.m_status != CloneStatus::ReadDone || skippedWritten)
        return Outcome::NotVerified;
    return Compare(written, m_read);
}

CWriteCheck::Outcome CWriteCheck::Compare(const RadioImage& written, const RadioImage& read)
{
    m_written = written;
    m_read = read;
    m_blocks.clear();
    for (std::size_t a = 0; a < kWrittenBytes; a += kCloneBlockSize) {
        if (!std::equal(written.begin() + static_cast<std::ptrdiff_t>(a),
                        written.begin() + static_cast<std::ptrdiff_t>(a + kCloneBlockSize),
                        read.begin() + static_cast<std::ptrdiff_t>(a)))
            m_blocks.push_back(static_cast<int>(a));
    }
    return m_blocks.empty() ? Outcome::Verified : Outcome::Differs;
}

std::vector<std::string> CWriteCheck::Lines() const
{
    CVantorDoc written;
    CVantorDoc held;
    written.Image() = m_written;
    // The blocks that are never written do not count, whatever the radio holds there.
    held.Image() = m_written;
    std::copy_n(m_read.begin(), kWrittenBytes, held.Image().begin());
    return CImageDiff::Compare(written, held);
}

bool CWriteCheck::KeepReadBack(std::string& pathOut, std::string& error) const
{
    return CBackupStore().Store(m_read, "verify", pathOut, error);
}
