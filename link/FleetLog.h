#pragma once
// The list of radios written one after another with the same memory: one entry per radio (number,
// time, port, identification bytes, result), appended to fleet-log.csv in the backup folder so a
// workshop keeps a record of every radio it programmed.

#include <ctime>
#include <string>
#include <vector>

#include "link/CloneSession.h"
#include "link/WriteCheck.h"

enum class FleetResult
{
    Verified,    // written, read again and found equal
    Written,     // written without verifying
    Differs,     // written, but the radio holds other values
    NotVerified, // written, but the radio did not answer the verifying read
    Failed,      // not written
};

struct FleetEntry
{
    int number = 0;
    std::time_t time = 0;
    std::string port;
    CloneIdent ident{};
    FleetResult result = FleetResult::Failed;
};

class CFleetLog final
{
public:
    static constexpr const char* kFileName = "fleet-log.csv";
    static constexpr const char* kHeader = "radio,time,port,identification,result\n";

    // fleet-log.csv in the backup folder; empty without a home folder.
    static std::string Path();
    // The result of a radio that was written and then checked.
    static FleetResult ResultOf(CWriteCheck::Outcome outcome);
    // "verified", "written", "differs", "not verified", "failed": the result column of the file.
    static const char* ResultWord(FleetResult result);
    // Local time as "2026-12-07 14:03:22".
    static std::string TimeText(std::time_t time);
    // The entry as a line of the file (with its line end).
    static std::string CsvLine(const FleetEntry& entry);
    // Appends the entries to `path`, writing the header first into a new file. False with the
    // system's reason in `error` when the file cannot take them.
    static bool Append(const std::string& path, const std::vector<FleetEntry>& entries, std::string& error);
};
