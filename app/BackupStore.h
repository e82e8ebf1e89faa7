#pragma once
// The per-user folder of automatic backups: every memory read from the radio, and every memory about
// to be written to it, kept as a data file named by date, time and what happened
// ("2026-12-07_14-03-22_read.pgm"). The newest 200 are kept, and none younger than 30 days is removed.

#include "radio/RadioImage.h"

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

// $XDG_DATA_HOME/zq708-cps/backups when that is an absolute path, else
// ~/.local/share/zq708-cps/backups; empty when there is no home directory.
std::string BackupFolder();

// Key "backup" of section "setup": backups are made unless it is 0.
bool BackupsEnabled(const std::string& settingFile);

struct BackupEntry
{
    std::string path;
    std::string kind; // "read", "written", ...
    std::time_t time = 0;
};

class CBackupStore
{
public:
    static constexpr std::size_t kKeepCount = 200;
    static constexpr std::time_t kKeepSeconds = 30 * 24 * 60 * 60;

    explicit CBackupStore(std::string folder = BackupFolder());

    const std::string& Folder() const { return m_folder; }

    // Stores the image as <YYYY-MM-DD_HH-MM-SS>_<kind>.pgm (with "-2", "-3", ... before ".pgm" when
    // the name is taken; kind is lower-case letters), then prunes. False with the path and the
    // system's reason in `error` when it cannot be stored; nothing is then left behind.
    bool Store(const RadioImage& image, const std::string& kind, std::string& pathOut, std::string& error);
    bool Store(const RadioImage& image, const std::string& kind, std::time_t now, std::string& pathOut,
               std::string& error);

    // The backups of the folder, newest first; files not named as a backup are not listed.
    std::vector<BackupEntry> List() const;

    // Removes the backups beyond the newest kKeepCount that are older than kKeepSeconds at `now`.
    void Prune(std::time_t now) const;

private:
    std::string m_folder;
};
