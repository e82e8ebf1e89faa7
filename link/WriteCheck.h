#pragma once
// Checks a write: reads the radio again and compares what it holds with what was written, over the
// blocks a write sends (the calibration blocks are never written, so never compared). The read is
// a whole clone exchange of its own, so the radio is asked nothing new.

#include <string>
#include <vector>

#include "link/CloneStatus.h"
#include "radio/RadioImage.h"

class ISerialLine;

class CWriteCheck final
{
public:
    enum class Outcome
    {
        Verified,    // the radio holds what was written
        Differs,     // it holds something else in the blocks DifferingBlocks() names
        NotVerified, // no complete read: the radio left programming mode, or the read failed
        Cancelled,
    };

    // Reads the radio on `port` (left open by the write) into a buffer of its own, without a port
    // search, reporting through `status` as a read does, and compares.
    Outcome Run(ISerialLine& port, CloneStatusRecord& status, const RadioImage& written,
                const std::string& settingFile);
    // Compares what was written with what was read.
    Outcome Compare(const RadioImage& written, const RadioImage& read);

    // What the radio held, when it answered the whole read.
    const RadioImage& ReadBack() const { return m_read; }
    // Addresses of the written blocks the radio holds otherwise.
    const std::vector<int>& DifferingBlocks() const { return m_blocks; }
    // The differences in words, from what was written to what the radio holds.
    std::vector<std::string> Lines() const;
    // Keeps what the radio held in the backup folder ("..._verify.pgm"); false with the reason in
    // `error` when it cannot be stored.
    bool KeepReadBack(std::string& pathOut, std::string& error) const;

private:
    RadioImage m_written{};
    RadioImage m_read{};
    std::vector<int> m_blocks;
};
