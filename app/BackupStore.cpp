#include "app/BackupStore.h"

#include "app/AppPaths.h"
#include "app/FileDescriptor.h"
#include "i18n/Profile.h"
#include "radio/DataFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

const char kSubFolder[] = "zq708-cps/backups";
const char kExtension[] = ".pgm";
constexpr std::size_t kStampSize = 19; // "YYYY-MM-DD_HH-MM-SS"

std::string Reason(const std::string& path, int number)
{
    return path + ": " + std::strerror(number);
}

bool IsKind(const std::string& kind)
{
    return !kind.empty() &&
           std::all_of(kind.begin(), kind.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// A backup's name split into its parts; false for any other file.
bool ParseName(const std::string& name, BackupEntry& entry, int& sequence)
{
    const std::size_t extension = std::strlen(kExtension);
    if (name.size() <= kStampSize + 1 + extension || name[kStampSize] != '_' ||
        name.compare(name.size() - extension, extension, kExtension) != 0)
        return false;
    std::tm tm{};
    char end = 0;
    if (std::sscanf(name.c_str(), "%4d-%2d-%2d_%2d-%2d-%2d%c", &tm.tm_year, &tm.tm_mon, &tm.tm_mday,
                    &tm.tm_hour, &tm.tm_min, &tm.tm_sec, &end) != 7 ||
        end != '_')
        return false;
    std::string rest = name.substr(kStampSize + 1, name.size() - kStampSize - 1 - extension);
    sequence = 1;
    if (const std::size_t dash = rest.find('-'); dash != std::string::npos) {
        const std::string number = rest.substr(dash + 1);
        if (number.empty() || number.size() > 6 ||
            !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        sequence = std::atoi(number.c_str());
        rest.resize(dash);
    }
    if (!IsKind(rest))
        return false;
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    tm.tm_isdst = -1;
    entry.kind = rest;
    entry.time = std::mktime(&tm);
    return true;
}

} // namespace

std::string BackupFolder()
{
    const std::string base = UserBaseDir("XDG_DATA_HOME", ".local/share");
    return base.empty() ? base : base + "/" + kSubFolder;
}

bool BackupsEnabled(const std::string& settingFile)
{
    return ReadProfileInt(settingFile, "setup", "backup", 1) != 0;
}

CBackupStore::CBackupStore(std::string folder) : m_folder(std::move(folder)) {}

bool CBackupStore::Store(const RadioImage& image, const std::string& kind, std::string& pathOut,
                         std::string& error)
{
    return Store(image, kind, std::time(nullptr), pathOut, error);
}

bool CBackupStore::Store(const RadioImage& image, const std::string& kind, std::time_t now,
                         std::string& pathOut, std::string& error)
{
    if (m_folder.empty()) {
        error = Reason(kSubFolder, ENOENT); // no home folder to keep it in
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(m_folder, ec);
    if (ec) {
        error = m_folder + ": " + ec.message();
        return false;
    }
    std::tm local{};
    ::localtime_r(&now, &local);
    char stamp[kStampSize + 1];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    const std::string base = m_folder + "/" + stamp + "_" + (IsKind(kind) ? kind : "backup");

    // The name is taken by creating the file, so that two programs never store into one backup.
    for (int sequence = 1;; ++sequence) {
        pathOut = base + (sequence > 1 ? "-" + std::to_string(sequence) : "") + kExtension;
        const CFileDescriptor reserved(
            ::open(pathOut.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (reserved.Get() >= 0)
            break;
        if (errno != EEXIST || sequence >= 1000) {
            error = Reason(pathOut, errno);
            pathOut.clear();
            return false;
        }
    }
    FileHeader header{};
    DataFile::StampSignature(header);
    FileError stored;
    if (!DataFile::Store(pathOut, header, image, stored)) {
        ::unlink(pathOut.c_str());
        error = Reason(pathOut, stored.number);
        pathOut.clear();
        return false;
    }
    Prune(now);
    return true;
}

std::vector<BackupEntry> CBackupStore::List() const
{
    struct Found
    {
        BackupEntry entry;
        int sequence;
    };
    std::vector<Found> found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        Found f;
        if (it->is_regular_file(ec) && ParseName(it->path().filename().string(), f.entry, f.sequence)) {
            f.entry.path = it->path().string();
            found.push_back(std::move(f));
        }
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.entry.time != b.entry.time)
            return a.entry.time > b.entry.time;
        if (a.sequence != b.sequence)
            return a.sequence > b.sequence;
        return a.entry.path > b.entry.path;
    });
    std::vector<BackupEntry> entries;
    entries.reserve(found.size());
    for (Found& f : found)
        entries.push_back(std::move(f.entry));
    return entries;
}

void CBackupStore::Prune(std::time_t now) const
{
    const std::vector<BackupEntry> entries = List();
    for (std::size_t i = kKeepCount; i < entries.size(); ++i)
        if (now - entries[i].time > kKeepSeconds)
            ::unlink(entries[i].path.c_str());
}
