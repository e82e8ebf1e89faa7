#include "link/FleetLog.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/BackupStore.h"
#include "radio/RadioImage.h"

std::string CFleetLog::Path()
{
    const std::string folder = BackupFolder();
    return folder.empty() ? folder : folder + "/" + kFileName;
}

FleetResult CFleetLog::ResultOf(CWriteCheck::Outcome outcome)
{
    switch (outcome) {
    case CWriteCheck::Outcome::Verified:
        return FleetResult::Verified;
    case CWriteCheck::Outcome::Differs:
        return FleetResult::Differs;
    case CWriteCheck::Outcome::NotVerified:
        return FleetResult::NotVerified;
    case CWriteCheck::Outcome::Cancelled:
        break;
    }
    return FleetResult::Failed;
}

const char* CFleetLog::ResultWord(FleetResult result)
{
    switch (result) {
    case FleetResult::Verified:
        return "verified";
    case FleetResult::Written:
        return "written";
    case FleetResult::Differs:
        return "differs";
    case FleetResult::NotVerified:
        return "not verified";
    case FleetResult::Failed:
        break;
    }
    return "failed";
}

std::string CFleetLog::TimeText(std::time_t time)
{
    std::tm local{};
    localtime_r(&time, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::string CFleetLog::CsvLine(const FleetEntry& entry)
{
    // A port name never holds a quote, but may hold a comma: quote it.
    return std::to_string(entry.number) + "," + TimeText(entry.time) + ",\"" + entry.port + "\"," +
           HexBytes(entry.ident.data(), entry.ident.size()) + "," + ResultWord(entry.result) + "\n";
}

bool CFleetLog::Append(const std::string& path, const std::vector<FleetEntry>& entries, std::string& error)
{
    if (path.empty()) {
        error = "no home folder for the fleet log";
        return false;
    }
    std::ifstream existing(path, std::ios::binary | std::ios::ate);
    const bool fresh = !existing || existing.tellg() == 0;
    std::string text = fresh ? kHeader : "";
    for (const FleetEntry& entry : entries)
        text += CsvLine(entry);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (out)
        out << text;
    if (out.flush())
        return true;
    error = path + ": " + std::strerror(errno != 0 ? errno : EIO);
    return false;
}
