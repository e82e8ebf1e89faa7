// The backup folder: where it is, how backups are named, which are pruned, and that a backup that
// cannot be stored says why and leaves nothing behind.

#include "app/BackupStore.h"
#include "radio/DataFile.h"
#include "tests/support/AppPathsGuard.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Sets (or with nullopt unsets) an environment variable for the scope.
class CEnvGuard final
{
public:
    CEnvGuard(const char* name, const std::optional<std::string>& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        Set(value);
    }
    ~CEnvGuard() { Set(m_old); }
    CEnvGuard(const CEnvGuard&) = delete;
    CEnvGuard& operator=(const CEnvGuard&) = delete;

private:
    void Set(const std::optional<std::string>& value)
    {
        if (value)
            ::setenv(m_name, value->c_str(), 1);
        else
            ::unsetenv(m_name);
    }
    const char* m_name;
    std::optional<std::string> m_old;
};

// Runs `body` in a child process and returns its exit code.
int RunChild(const std::function<int()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    int status = -1;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A local time as seconds since the epoch.
std::time_t LocalTime(int year, int month, int day, int hour = 12, int minute = 0, int second = 0)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

std::string FileName(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

RadioImage Pattern(std::uint8_t seed)
{
    RadioImage image{};
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + seed);
    return image;
}

TEST(BackupFolderTest, FollowsXdgDataHomeElseHome)
{
    struct Case
    {
        std::optional<std::string> xdg, home;
        std::string folder;
    } const cases[] = {
        {"/data", "/home/u", "/data/zq708-cps/backups"},
        {"/data/", "/home/u", "/data/zq708-cps/backups"},
        {"relative/data", "/home/u", "/home/u/.local/share/zq708-cps/backups"}, // invalid: ignored
        {"", "/home/u/", "/home/u/.local/share/zq708-cps/backups"},
        {std::nullopt, "/home/u", "/home/u/.local/share/zq708-cps/backups"},
    };
    for (const Case& c : cases) {
        const CEnvGuard xdg("XDG_DATA_HOME", c.xdg);
        const CEnvGuard home("HOME", c.home);
        EXPECT_EQ(BackupFolder(), c.folder) << c.xdg.value_or("(unset)");
        EXPECT_EQ(CBackupStore().Folder(), c.folder);
    }
}

TEST(BackupFolderTest, SettingTurnsBackupsOff)
{
    const CTempDir dir;
    struct Case
    {
        const char* content;
        bool enabled;
    } const cases[] = {
        {"[setup]\nlanguage=english\n", true}, {"[setup]\nbackup=1\n", true}, {"[setup]\nbackup=0\n", false},
        {"[setup]\nbackup=\n", true},          {"[other]\nbackup=0\n", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BackupsEnabled(dir.Write("setting.ini", c.content)), c.enabled) << c.content;
    EXPECT_TRUE(BackupsEnabled(dir.File("missing.ini")));
}

TEST(BackupStoreTest, StoresDataFilesNamedByTimeAndKind)
{
    const CTempDir dir;
    CBackupStore store((dir.Path() / "new" / "backups").string()); // made on first use
    const std::time_t when = LocalTime(2026, 12, 7, 14, 3, 22);
    std::string path, error;
    ASSERT_TRUE(store.Store(Pattern(1), "read", when, path, error)) << error;
    EXPECT_EQ(path, store.Folder() + "/2026-12-07_14-03-22_read.pgm");
    FileHeader header{};
    RadioImage image{};
    FileError fileError;
    ASSERT_EQ(DataFile::Load(path, header, image, fileError), DataFile::LoadStatus::Loaded);
    EXPECT_EQ(image, Pattern(1));
    EXPECT_EQ(std::filesystem::file_size(path), DataFile::kFileSize);

    // The same second again: a suffix, never a replaced backup.
    const char* const expected[] = {"2026-12-07_14-03-22_written.pgm", "2026-12-07_14-03-22_read-2.pgm",
                                    "2026-12-07_14-03-22_read-3.pgm"};
    ASSERT_TRUE(store.Store(Pattern(2), "written", when, path, error)) << error;
    EXPECT_EQ(FileName(path), expected[0]);
    ASSERT_TRUE(store.Store(Pattern(3), "read", when, path, error)) << error;
    EXPECT_EQ(FileName(path), expected[1]);
    ASSERT_TRUE(store.Store(Pattern(4), "read", when, path, error)) << error;
    EXPECT_EQ(FileName(path), expected[2]);
    ASSERT_TRUE(store.Store(Pattern(5), "read", when + 1, path, error)) << error;
    EXPECT_EQ(FileName(path), "2026-12-07_14-03-23_read.pgm");
    // A kind that is not a plain word cannot reach into another folder.
    ASSERT_TRUE(store.Store(Pattern(6), "../x", when - 1, path, error)) << error;
    EXPECT_EQ(path, store.Folder() + "/2026-12-07_14-03-21_backup.pgm");

    const std::vector<BackupEntry> list = store.List();
    ASSERT_EQ(list.size(), 6u);
    EXPECT_EQ(FileName(list[0].path), "2026-12-07_14-03-23_read.pgm");
    EXPECT_EQ(list[0].time, when + 1);
    EXPECT_EQ(FileName(list[1].path), expected[2]); // newest of one second: highest suffix first
    EXPECT_EQ(FileName(list[2].path), expected[1]);
    EXPECT_EQ(list[1].kind, "read");
    EXPECT_EQ(list[1].time, when);
    EXPECT_EQ(list[5].kind, "backup");
}

TEST(BackupStoreTest, ListsOnlyBackups)
{
    const CTempDir dir;
    for (const char* name :
         {"2026-01-02_03-04-05_read.pgm", "2026-01-02_03-04-05_read.pgm.tmp", "notes.pgm",
          "2026-01-02_03-04-05_.pgm", "2026-01-02_03-04-05_Read.pgm", "2026-01-02_03-04-05_read-x.pgm",
          "2026-01-02_03-04-05_read-.pgm", "2026-13-02_03-04-05-read.pgm",
          "2026-01-02_03-04-06_written-109.pgm", "2026-01-02_03-04-01_az.pgm"})
        dir.Write(name, "x");
    std::filesystem::create_directory(dir.Path() / "2026-01-02_03-04-07_read.pgm");
    const std::vector<BackupEntry> list = CBackupStore(dir.Path().string()).List();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].kind, "written");
    EXPECT_EQ(list[1].kind, "read");
    EXPECT_EQ(list[2].kind, "az");
    EXPECT_TRUE(CBackupStore(dir.File("missing")).List().empty());
}

TEST(BackupStoreTest, PrunesBeyondTheNewest200OnlyWhenOlderThan30Days)
{
    const std::time_t now = LocalTime(2026, 6, 30);
    const std::time_t day = 24 * 60 * 60;
    struct Case
    {
        const char* what;
        int count;          // backups, one per hour going back from `newest`
        std::time_t newest; // age of the newest
        int kept;
    } const cases[] = {
        {"200 old ones stay", 200, 40 * day, 200},
        {"beyond 200, old ones go", 203, 40 * day, 200},
        {"beyond 200, young ones stay", 230, 0, 230},
        // Hourly from 21 days back: the 217th is 30 days old, those after it go.
        {"beyond 200, only the old ones go", 240, 21 * day, 217},
        {"exactly 30 days old stays", 201, 30 * day - 200 * 60 * 60, 201},
        {"a second more goes", 201, 30 * day - 200 * 60 * 60 + 1, 200},
    };
    for (const Case& c : cases) {
        const CTempDir dir;
        const CBackupStore store(dir.Path().string());
        char name[64];
        for (int i = 0; i < c.count; ++i) {
            const std::time_t when = now - c.newest - i * 60 * 60;
            std::tm tm{};
            ::localtime_r(&when, &tm);
            std::strftime(name, sizeof name, "%Y-%m-%d_%H-%M-%S_read.pgm", &tm);
            dir.Write(name, "x");
        }
        dir.Write("keep-me.pgm", "x");
        store.Prune(now);
        const std::vector<BackupEntry> list = store.List();
        EXPECT_EQ(static_cast<int>(list.size()), c.kept) << c.what;
        ASSERT_FALSE(list.empty());
        EXPECT_EQ(list.front().time, now - c.newest) << c.what; // the newest always stays
        EXPECT_TRUE(std::filesystem::exists(dir.File("keep-me.pgm"))) << c.what;
    }
}

TEST(BackupStoreTest, SummaryNamesBandChannelsAndFirstNames)
{
    const CAppPathsGuard paths;
    const CTempDir dir;
    const std::string radio = ZQ708_SOURCE_DIR "/tests/data/full_radio.pgm";
    struct Case
    {
        const char* settings;
        const char* band;
    } const cases[] = {
        {"[ModelInfo]\nFreq0=VHF\ndata0=60134017\nFreq1=Both\ndata1=6013401700400052\n", "Both"},
        {"[ModelInfo]\nFreq0=UHF\ndata0=00400048\n",
         "400.00000-479.99500 MHz"}, // none matches: the limits used
    };
    for (const Case& c : cases) {
        g_strSettingFile = dir.Write("setting.ini", c.settings);
        const BackupSummary summary = SummarizeBackup(radio, 2);
        EXPECT_TRUE(summary.loaded);
        EXPECT_EQ(summary.band, c.band);
        EXPECT_EQ(summary.channels, 95);
        EXPECT_EQ(summary.names, (std::vector<std::string>{"WX 1", "WX 1"}));
    }
    const BackupSummary none = SummarizeBackup(dir.File("setting.ini"));
    EXPECT_FALSE(none.loaded);
    EXPECT_EQ(none.channels, 0);
}

TEST(BackupStoreTest, StorePrunes)
{
    const CTempDir dir;
    CBackupStore store(dir.Path().string());
    const std::time_t now = LocalTime(2026, 6, 30);
    std::string path, error;
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(store.Store(Pattern(0), "read", now - 100 * 24 * 60 * 60 + i, path, error)) << error;
    const std::string oldest = store.List().back().path;
    ASSERT_TRUE(store.Store(Pattern(0), "written", now, path, error)) << error;
    EXPECT_EQ(store.List().size(), 200u);
    EXPECT_FALSE(std::filesystem::exists(oldest));
}

TEST(BackupStoreTest, FailureSaysWhyAndLeavesNothing)
{
    const CTempDir dir;
    std::string path = "stale", error;
    // A file where the folder should be.
    dir.Write("file", "x");
    EXPECT_FALSE(CBackupStore(dir.File("file")).Store(Pattern(0), "read", path, error));
    EXPECT_NE(error.find(dir.File("file")), std::string::npos) << error;
    EXPECT_TRUE(path.empty() || path == "stale");
    EXPECT_FALSE(CBackupStore(dir.File("file") + "/backups").Store(Pattern(0), "read", path, error));
    EXPECT_NE(error.find("backups"), std::string::npos) << error;

    // A folder the user may not write (as "nobody" when the tests run as root, whom permissions do
    // not stop).
    std::filesystem::create_directory(dir.File("locked"));
    ::chmod(dir.File("locked").c_str(), 0555);
    ::chmod(dir.Path().c_str(), 0755);
    const std::string locked = dir.File("locked");
    EXPECT_EQ(RunChild([&] {
                  const passwd* nobody = ::getpwnam("nobody");
                  if (::geteuid() == 0 &&
                      (!nobody || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0))
                      return 100;
                  std::string childPath, childError;
                  const bool stored = CBackupStore(locked).Store(Pattern(0), "read", childPath, childError);
                  return !stored && childPath.empty() &&
                                 childError.find(std::strerror(EACCES)) != std::string::npos
                             ? 0
                             : 1;
              }),
              0);
    EXPECT_TRUE(std::filesystem::is_empty(locked));

    // A disk that fills up while the backup is written (a file size limit stops the write as ENOSPC
    // would, through the same path): no backup, no partial file, and the reason.
    const std::string full = dir.File("full");
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string childPath, childError;
        CBackupStore store(full);
        const bool stored = store.Store(Pattern(0), "read", childPath, childError);
        ::_exit(!stored && childPath.empty() && childError.find(std::strerror(EFBIG)) != std::string::npos
                    ? 0
                    : 1);
    }
    int status = -1;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(std::filesystem::is_empty(full));
}

} // namespace
