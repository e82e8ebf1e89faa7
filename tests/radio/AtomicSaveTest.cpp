// Saves are atomic: a process killed in the middle of saving, or stopped by a full disk, leaves
// the previous file complete and loadable. The data file and the settings file are both saved by
// writing beside the target and renaming; these tests prove it with real processes.

#include "i18n/Profile.h"
#include "radio/DataFile.h"
#include "radio/VantorDoc.h"
#include "tests/radio/RadioTestEnv.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Runs `body` in a child process and returns its exit code (-signal when killed). With
// killAfter, the child is killed with SIGKILL after that time whatever it is doing.
int RunChild(const std::function<int()>& body, std::optional<std::chrono::microseconds> killAfter = std::nullopt)
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
    int FileHolds()
    {
        CVantorDoc doc;
        std::string error;
        if (doc.LoadFile(m_path, error) != DataFile::LoadStatus::Loaded ||
            std::filesystem::file_size(m_path) != DataFile::kFileSize)
            return 0;
        return doc.Image() == m_first.Image() ? 1 : doc.Image() == m_second.Image() ? 2 : 0;
    }

    CVantorDoc m_first;
    CVantorDoc m_second;
    std::string m_path;
};

TEST_F(CAtomicSaveTest, ProcessKilledWhileSavingLeavesACompleteFile)
{
    std::string error;
    ASSERT_TRUE(m_first.StoreFile(m_path, error)) << error;
    std::mt19937 random(708);
    std::uniform_int_distribution<int> delayUs(0, 30000);
    bool seen[3] = {};
    for (int round = 0; round < 40; ++round) {
        const int code = RunChild(
            [this] {
                // Saves the two documents by turns until it is killed.
                std::string childError;
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
    std::string error;
    ASSERT_TRUE(m_first.StoreFile(m_path, error)) << error;
    const std::vector<std::string> before = FilesIn(m_dir.Path());

    // Room for the header and part of the image only.
    const int code = RunChild([this] {
        LimitFileSize(1000);
        std::string childError;
        return !m_second.StoreFile(m_path, childError) && !childError.empty() ? 0 : 1;
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

} // namespace
