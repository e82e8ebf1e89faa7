// Saves are atomic: a process killed in the middle of saving, or stopped by a full disk, leaves
// the previous file complete and loadable. The data file and the settings file are both saved by
// writing beside the target and renaming; these tests prove it with real processes. Where nothing
// can be written beside the target, the file is rewritten in place and a failure puts it back.

#include "app/FileSave.h"
#include "i18n/Profile.h"
#include "radio/DataFile.h"
#include "radio/VantorDoc.h"
#include "tests/support/RadioTestEnv.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Runs `body` in a child process and returns its exit code (-signal when killed). With
// killAfter, the child is killed with SIGKILL after that time whatever it is doing.
int RunChild(const std::function<int()>& body,
             std::optional<std::chrono::microseconds> killAfter = std::nullopt)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    if (pid < 0)
        return -1000;
    if (killAfter) {
        std::this_thread::sleep_for(*killAfter);
        ::kill(pid, SIGKILL);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

struct UserIds
{
    uid_t uid;
    gid_t gid;
};

// The user whose rights the child of RunAsOrdinaryUser takes: "nobody" when the tests run as
// root, whom permissions do not stop; nothing when there is no such user.
std::optional<UserIds> OrdinaryUser()
{
    if (::geteuid() != 0)
        return UserIds{::geteuid(), ::getegid()};
    const passwd* nobody = ::getpwnam("nobody");
    return nobody ? std::optional<UserIds>({nobody->pw_uid, nobody->pw_gid}) : std::nullopt;
}

// RunChild as the ordinary user; 100 when the child cannot take that user's rights.
int RunAsOrdinaryUser(const std::function<int()>& body)
{
    const std::optional<UserIds> user = OrdinaryUser();
    return RunChild([&] {
        if (::geteuid() == 0 &&
            (!user || ::setgroups(0, nullptr) != 0 || ::setgid(user->gid) != 0 || ::setuid(user->uid) != 0))
            return 100;
        return body();
    });
}

// A file size limit the saves run into, as a full disk would stop them.
void LimitFileSize(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG instead of killing the process
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

std::vector<std::string> FilesIn(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class CAtomicSaveTest : public CRadioTest
{
protected:
    void SetUp() override
    {
        CRadioTest::SetUp();
        // Two documents that differ in every byte of the image.
        m_first.DeleteContents();
        m_second.DeleteContents();
        for (std::size_t i = 0; i < ImageMap::kImageSize; ++i) {
            m_first.Image()[i] = static_cast<std::uint8_t>(i * 13 + 1);
            m_second.Image()[i] = static_cast<std::uint8_t>(~m_first.Image()[i]);
        }
        m_path = m_dir.File("radio.pgm");
    }

    // Which of the two documents the file holds: 1 or 2, 0 when it is neither or not loadable.
    int FileHolds() { return FileHolds(m_path); }
    int FileHolds(const std::string& path)
    {
        CVantorDoc doc;
        FileError error;
        if (doc.LoadFile(path, error) != DataFile::LoadStatus::Loaded ||
            std::filesystem::file_size(path) != DataFile::kFileSize)
            return 0;
        return doc.Image() == m_first.Image() ? 1 : doc.Image() == m_second.Image() ? 2 : 0;
    }

    CVantorDoc m_first;
    CVantorDoc m_second;
    std::string m_path;
};

TEST_F(CAtomicSaveTest, ProcessKilledWhileSavingLeavesACompleteFile)
{
    FileError error;
    ASSERT_TRUE(m_first.StoreFile(m_path, error)) << std::strerror(error.number);
    std::mt19937 random(708);
    std::uniform_int_distribution<int> delayUs(0, 30000);
    bool seen[3] = {};
    for (int round = 0; round < 40; ++round) {
        const int code = RunChild(
            [this] {
                // Saves the two documents by turns until it is killed.
                FileError childError;
                for (;;)
                    if (!m_second.StoreFile(m_path, childError) || !m_first.StoreFile(m_path, childError))
                        return 1;
            },
            std::chrono::microseconds(2000 + delayUs(random)));
        ASSERT_EQ(code, -SIGKILL) << "the saving process ended by itself in round " << round;
        const int holds = FileHolds();
        ASSERT_NE(holds, 0) << "the file is damaged after the kill in round " << round;
        seen[holds] = true;
    }
    // The kills landed at different points of the save cycle, not always before the first rename.
    EXPECT_TRUE(seen[1] && seen[2]);
}

TEST_F(CAtomicSaveTest, FullDiskKeepsThePreviousFileAndLeavesNoTemporaryFile)
{
    FileError error;
    ASSERT_TRUE(m_first.StoreFile(m_path, error)) << std::strerror(error.number);
    const std::vector<std::string> before = FilesIn(m_dir.Path());

    // Room for the header and part of the image only.
    const int code = RunChild([this] {
        LimitFileSize(1000);
        FileError childError;
        return !m_second.StoreFile(m_path, childError) && childError.number == EFBIG ? 0 : 1;
    });
    EXPECT_EQ(code, 0) << "a save the disk could not hold was reported as done";
    EXPECT_EQ(FileHolds(), 1);
    EXPECT_EQ(FilesIn(m_dir.Path()), before);
}

TEST_F(CAtomicSaveTest, SettingsFileSurvivesKillsAndAFullDisk)
{
    // A settings file of some size, so that a write takes a while and cannot fit under the limit.
    std::string content = "[setup]\ncom=1\n[ModelInfo]\n";
    for (int i = 0; i < 300; ++i)
        content += "Freq" + std::to_string(i) + "=" + std::string(20, 'a' + static_cast<char>(i % 26)) + "\n";
    const std::string file = m_dir.Write("setting.ini", content);

    std::mt19937 random(7);
    std::uniform_int_distribution<int> delayUs(0, 20000);
    for (int round = 0; round < 30; ++round) {
        const int code = RunChild(
            [&file] {
                for (int i = 0;; ++i)
                    if (!WriteProfileString(file, "setup", "com", std::to_string(i % 2 ? 3 : 4)))
                        return 1;
            },
            std::chrono::microseconds(2000 + delayUs(random)));
        ASSERT_EQ(code, -SIGKILL);
        const std::string com = ReadProfileString(file, "setup", "com", "", 8);
        ASSERT_TRUE(com == "1" || com == "3" || com == "4") << "round " << round << ": \"" << com << "\"";
        ASSERT_EQ(ReadProfileString(file, "ModelInfo", "Freq299", "", 64), std::string(20, 'a' + 299 % 26));
    }

    const std::string saved = ReadFileBytes(file);
    const std::vector<std::string> before = FilesIn(m_dir.Path());
    const int code = RunChild([&file] {
        LimitFileSize(1024);
        return WriteProfileString(file, "setup", "com", "9") ? 1 : 0;
    });
    EXPECT_EQ(code, 0) << "a settings write the disk could not hold was reported as done";
    EXPECT_EQ(ReadFileBytes(file), saved);
    EXPECT_EQ(FilesIn(m_dir.Path()), before);
}

// Saves the atomic save cannot make, by a user whom permissions stop: a folder only the
// administrator may write, holding files the user may write, and a folder the user may write.
class CInPlaceSaveTest : public CAtomicSaveTest
{
protected:
    void SetUp() override
    {
        CAtomicSaveTest::SetUp();
        if (!OrdinaryUser())
            GTEST_SKIP() << "the tests run as root and there is no user \"nobody\" to drop to";
        ::chmod(m_dir.Path().c_str(), 0755); // the ordinary user may look in
        m_locked = m_dir.File("locked");
        m_open = m_dir.File("open");
        ::mkdir(m_locked.c_str(), 0755);
        ::mkdir(m_open.c_str(), 0777);
        ::chmod(m_open.c_str(), 0777);
        FileError error;
        ASSERT_TRUE(m_first.StoreFile(Locked("radio.pgm"), error));
        m_dir.Write("locked/setting.ini", kSettings);
        for (const char* name : {"radio.pgm", "setting.ini"})
            ::chmod(Locked(name).c_str(), 0666);
        ::chmod(m_locked.c_str(), 0555);
        m_lockedFiles = FilesIn(m_locked);
    }
    void TearDown() override
    {
        ::chmod(m_locked.c_str(), 0755); // an ordinary user running the tests may then remove it
        CAtomicSaveTest::TearDown();
    }

    std::string Locked(const std::string& name) const { return m_locked + "/" + name; }
    std::string Open(const std::string& name) const { return m_open + "/" + name; }
    static ino_t Inode(const std::string& path)
    {
        struct stat info
        {
        };
        ::stat(path.c_str(), &info);
        return info.st_ino;
    }

    static constexpr const char* kSettings = "[setup]\ncom=12345\nlanguage=english\n";
    std::string m_locked;
    std::string m_open;
    std::vector<std::string> m_lockedFiles;
};

TEST_F(CInPlaceSaveTest, WritableFilesInAFolderTheUserMayNotWrite)
{
    const ino_t inode = Inode(Locked("radio.pgm"));
    FileError stored;
    ASSERT_TRUE(m_second.StoreFile(Open("protected.pgm"), stored));
    ::chmod(Open("protected.pgm").c_str(), 0444);
    const int code = RunAsOrdinaryUser([this] {
        FileError error;
        if (!m_second.StoreFile(Locked("radio.pgm"), error))
            return 1;
        // Shorter, then longer.
        if (!WriteProfileString(Locked("setting.ini"), "setup", "com", "7") ||
            ReadFileBytes(Locked("setting.ini")) != "[setup]\ncom=7\nlanguage=english\n")
            return 2;
        if (!WriteProfileString(Locked("setting.ini"), "setup", "port", "/dev/ttyUSB0"))
            return 3;
        // A new file cannot be made there; a file the user may not write stays as it is, even
        // in a folder where the rename could replace it.
        if (m_first.StoreFile(Locked("new.pgm"), error) || error.number != EACCES)
            return 4;
        if (m_first.StoreFile(Open("protected.pgm"), error) || error.number != EACCES)
            return 5;
        return 0;
    });
    ASSERT_EQ(code, 0);
    EXPECT_EQ(FileHolds(Locked("radio.pgm")), 2);
    EXPECT_EQ(Inode(Locked("radio.pgm")), inode);
    EXPECT_EQ(ReadFileBytes(Locked("setting.ini")), "[setup]\ncom=7\nlanguage=english\nport=/dev/ttyUSB0\n");
    EXPECT_EQ(FilesIn(m_locked), m_lockedFiles);
    EXPECT_EQ(FileHolds(Open("protected.pgm")), 2);
}

TEST_F(CInPlaceSaveTest, AFailedWriteInPlacePutsTheOldBytesBack)
{
    const int code = RunAsOrdinaryUser([this] {
        LimitFileSize(1000);
        FileError error;
        if (m_second.StoreFile(Locked("radio.pgm"), error) || error.number != EFBIG)
            return 1;
        // A settings file that would grow past the limit.
        if (WriteProfileString(Locked("setting.ini"), "setup", "long", std::string(2000, 'x')))
            return 2;
        return 0;
    });
    ASSERT_EQ(code, 0) << "a save the disk could not hold was reported as done";
    EXPECT_EQ(FileHolds(Locked("radio.pgm")), 1);
    EXPECT_EQ(ReadFileBytes(Locked("setting.ini")), kSettings);
    EXPECT_EQ(FilesIn(m_locked), m_lockedFiles);
}

TEST_F(CInPlaceSaveTest, NamesOf250Bytes)
{
    const std::string data = Open(std::string(246, 'd') + ".pgm"); // names may have 255 bytes
    const std::string settings = Open(std::string(246, 's') + ".ini");
    const std::string csv = Open(std::string(246, 'c') + ".csv");
    const std::string full = Open(std::string(246, 'f') + ".pgm");
    const int code = RunAsOrdinaryUser([&] {
        FileError error;
        if (!m_first.StoreFile(data, error) || !m_second.StoreFile(data, error))
            return 1;
        if (!WriteProfileString(settings, "setup", "com", "3"))
            return 2;
        if (FileSave::Replace(csv, "Location\n") != 0 || FileSave::Replace(csv, "Location,Name\n") != 0)
            return 3;
        // A full disk: the old file stays, a new one disappears again.
        LimitFileSize(1000);
        if (m_first.StoreFile(data, error) || m_first.StoreFile(full, error) || error.number != EFBIG)
            return 4;
        return 0;
    });
    ASSERT_EQ(code, 0);
    EXPECT_EQ(FileHolds(data), 2);
    EXPECT_EQ(ReadFileBytes(settings), "[setup]\ncom=3\n");
    EXPECT_EQ(ReadFileBytes(csv), "Location,Name\n");
    EXPECT_EQ(FilesIn(m_open),
              (std::vector<std::string>{csv.substr(m_open.size() + 1), data.substr(m_open.size() + 1),
                                        settings.substr(m_open.size() + 1)}));
}

} // namespace
