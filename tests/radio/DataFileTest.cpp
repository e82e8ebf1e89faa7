// The data file: golden round trips, the signature and short-file rules, unreadable paths, atomic
// saves, the Save / Save As / save-changes rules and the modified flag.

#include "tests/support/RadioTestEnv.h"

#include "i18n/LangText.h"
#include "radio/VantorDoc.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ImageMap;
namespace fs = std::filesystem;

namespace {

std::string Golden(const std::string& name)
{
    return ZQ708_SOURCE_DIR "/tests/data/" + name;
}

class CDataFileTest : public CRadioTest
{
protected:
    void SetUp() override
    {
        CRadioTest::SetUp();
        m_doc.SetSavePathPrompt([this](const std::string& current) {
            m_promptedWith.push_back(current);
            return m_nextSavePath;
        });
        m_doc.SetUpdateAllViewsHandler([this] { ++m_updates; });
        ASSERT_TRUE(m_doc.OnNewDocument(false));
        m_updates = 0;
    }

    // A copy of a golden file in the test directory.
    std::string Copy(const std::string& golden, const std::string& name)
    {
        return m_dir.Write(name, ReadFileBytes(Golden(golden)));
    }

    bool OnlyFilesAre(std::vector<std::string> names) const
    {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(m_dir.Path()))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        std::sort(names.begin(), names.end());
        return found == names;
    }

    CVantorDoc m_doc;
    std::optional<std::string> m_nextSavePath;
    std::vector<std::string> m_promptedWith;
    int m_updates = 0;
};

} // namespace

TEST_F(CDataFileTest, GoldenFilesSurviveOpenAndSaveByteForByte)
{
    for (const char* name : {"new_document.pgm", "full_radio.pgm", "odd_bytes.pgm"}) {
        SCOPED_TRACE(name);
        const std::string original = ReadFileBytes(Golden(name));
        ASSERT_EQ(original.size(), DataFile::kFileSize);
        ASSERT_TRUE(m_doc.OnOpenDocument(Golden(name)));
        EXPECT_EQ(m_doc.GetPathName(), Golden(name));
        EXPECT_FALSE(m_doc.IsModified());

        m_nextSavePath = m_dir.File("save-as.pgm");
        ASSERT_TRUE(m_doc.SaveAs());
        EXPECT_EQ(ReadFileBytes(m_dir.File("save-as.pgm")), original);
        EXPECT_EQ(m_doc.GetPathName(), m_dir.File("save-as.pgm"));

        // Save recomputes the bookkeeping, which the golden files already hold.
        m_messages.Queue(MsgResult::Ok);
        ASSERT_TRUE(m_doc.Save());
        EXPECT_EQ(ReadFileBytes(m_dir.File("save-as.pgm")), original);
    }
    EXPECT_EQ(m_messages.Asked().size(), 3u);
    EXPECT_EQ(m_updates, 3);
}

TEST_F(CDataFileTest, SavingANewDocumentAsksForAPathAndWritesTheDefaults)
{
    m_nextSavePath = m_dir.File("new.pgm");
    ASSERT_TRUE(m_doc.Save());
    EXPECT_TRUE(m_messages.Asked().empty()); // no path yet: nothing to overwrite
    EXPECT_EQ(m_promptedWith, std::vector<std::string>{""});
    EXPECT_EQ(ReadFileBytes(m_dir.File("new.pgm")), ReadFileBytes(Golden("new_document.pgm")));
    EXPECT_EQ(m_doc.GetPathName(), m_dir.File("new.pgm"));
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(CDataFileTest, SaveAsksBeforeOverwritingAndCancelChangesNothing)
{
    const std::string path = Copy("full_radio.pgm", "radio.pgm");
    ASSERT_TRUE(m_doc.OnOpenDocument(path));
    m_doc.Image()[kFirstChannelInUse] = 0x77; // stale bookkeeping
    m_doc.SetModifiedFlag();
    m_messages.Queue(MsgResult::Cancel);
    EXPECT_FALSE(m_doc.Save());
    ASSERT_EQ(m_messages.Asked().size(), 1u);
    EXPECT_EQ(m_messages.Asked()[0].text, LoadLangString("IDS_WARN_SAVE") + path);
    EXPECT_EQ(m_messages.Asked()[0].caption, LoadLangString("IDS_PROMPT"));
    EXPECT_EQ(m_messages.Asked()[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(m_doc.Image()[kFirstChannelInUse], 0x77);
    EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(Golden("full_radio.pgm")));
    EXPECT_TRUE(m_doc.IsModified());

    // Save As neither asks nor recomputes.
    m_nextSavePath = m_dir.File("copy.pgm");
    ASSERT_TRUE(m_doc.SaveAs());
    EXPECT_EQ(m_messages.Asked().size(), 1u);
    EXPECT_EQ(static_cast<std::uint8_t>(ReadFileBytes(m_dir.File("copy.pgm"))[48 + kFirstChannelInUse]),
              0x77);
    EXPECT_FALSE(m_doc.IsModified());

    // A cancelled file dialog saves nothing.
    m_nextSavePath.reset();
    EXPECT_FALSE(m_doc.SaveAs());
    EXPECT_EQ(m_doc.GetPathName(), m_dir.File("copy.pgm"));

    // Without a file dialog there is no name to save under.
    CVantorDoc promptless;
    EXPECT_FALSE(promptless.SaveAs());
    EXPECT_FALSE(promptless.Save());
}

TEST_F(CDataFileTest, OnlyTheFirst24BytesAreChecked)
{
    std::string bytes = ReadFileBytes(Golden("full_radio.pgm"));
    bytes.replace(24, 6, " v9.99");
    ASSERT_TRUE(m_doc.OnOpenDocument(m_dir.Write("other-version.pgm", bytes)));
    EXPECT_TRUE(m_messages.Asked().empty());
    EXPECT_EQ(m_doc.FrequencyText(3, FreqField::Rx), "146.52500");

    // Every open starts from the blank header: a file of the checked bytes alone gets this version.
    ASSERT_TRUE(
        m_doc.OnOpenDocument(m_dir.Write("checked-only.pgm", bytes.substr(0, DataFile::kCheckedSize))));
    EXPECT_TRUE(std::equal(m_doc.Header().begin(), m_doc.Header().begin() + DataFile::kSignatureSize,
                           DataFile::kSignature));
}

TEST_F(CDataFileTest, ForeignFileIsRejectedAndDoesNotBecomeThePath)
{
    std::string bytes = ReadFileBytes(Golden("full_radio.pgm"));
    bytes[5] = 'X';
    const std::string path = m_dir.Write("foreign.pgm", bytes);
    m_doc.SetPathName(m_dir.File("previous.pgm"));
    m_doc.SetModifiedFlag();
    EXPECT_FALSE(m_doc.OnOpenDocument(path));
    ASSERT_EQ(m_messages.Asked().size(), 1u);
    EXPECT_EQ(m_messages.Asked()[0].text, LoadLangString("IDS_WARN_LOAD"));
    EXPECT_EQ(m_messages.Asked()[0].caption, LoadLangString("IDS_ERROR"));
    EXPECT_EQ(m_messages.Asked()[0].icon, MsgIcon::Stop);
    EXPECT_EQ(m_messages.Asked()[0].buttons, MsgButtons::Ok);
    EXPECT_TRUE(std::all_of(m_doc.Image().begin(), m_doc.Image().end(), [](auto b) { return b == 0xFF; }));
    EXPECT_EQ(m_doc.GetPathName(), "");
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_updates, 1);
    // Limits of the blank image: no entry matches, entry 0 applies.
    EXPECT_EQ(m_doc.GetBandLimits().low, 13600000);

    // Save asks for a new name; the foreign file is untouched and the new one opens again.
    m_messages.Clear();
    m_nextSavePath = m_dir.File("mine.pgm");
    ASSERT_TRUE(m_doc.Save());
    EXPECT_TRUE(m_messages.Asked().empty());
    EXPECT_EQ(ReadFileBytes(path), bytes);
    EXPECT_TRUE(m_doc.OnOpenDocument(m_dir.File("mine.pgm")));
}

TEST_F(CDataFileTest, ShortAndLongFiles)
{
    const std::string full = ReadFileBytes(Golden("full_radio.pgm"));
    ASSERT_TRUE(m_doc.OnOpenDocument(m_dir.Write("short.pgm", full.substr(0, 100))));
    EXPECT_TRUE(m_messages.Asked().empty());
    EXPECT_TRUE(std::equal(m_doc.Image().begin(), m_doc.Image().begin() + 52, full.begin() + 48,
                           [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }));
    EXPECT_TRUE(
        std::all_of(m_doc.Image().begin() + 52, m_doc.Image().end(), [](auto b) { return b == 0xFF; }));

    ASSERT_TRUE(m_doc.OnOpenDocument(m_dir.Write("header-only.pgm", full.substr(0, 30))));
    EXPECT_TRUE(std::all_of(m_doc.Image().begin(), m_doc.Image().end(), [](auto b) { return b == 0xFF; }));

    ASSERT_TRUE(m_doc.OnOpenDocument(m_dir.Write("long.pgm", full + std::string(5000, '\x55'))));
    EXPECT_EQ(m_doc.FrequencyText(3, FreqField::Rx), "146.52500");

    for (const std::string& tiny : {std::string(), full.substr(0, 23)}) {
        m_messages.Clear();
        EXPECT_FALSE(m_doc.OnOpenDocument(m_dir.Write("tiny.pgm", tiny)));
        ASSERT_EQ(m_messages.Asked().size(), 1u);
        EXPECT_EQ(m_messages.Asked()[0].text, LoadLangString("IDS_WARN_LOAD"));
    }
}

TEST_F(CDataFileTest, LoadFillsExactlyTheBytesTheFileHas)
{
    std::string full = ReadFileBytes(Golden("full_radio.pgm"));
    for (std::size_t i = 30; i < DataFile::kHeaderSize; ++i)
        full[i] = static_cast<char>(0x30 + i); // header bytes after the signature are kept too
    struct Case
    {
        const char* what;
        std::size_t size;
        DataFile::LoadStatus status;
        bool closedStdin = false; // the file then opens as descriptor 0
        bool staleEintr = false;  // errno from an earlier call must not keep the reader looping
    };
    const Case cases[] = {
        {"whole file", DataFile::kFileSize, DataFile::LoadStatus::Loaded},
        {"signature only", DataFile::kCheckedSize, DataFile::LoadStatus::Loaded},
        {"one byte short of the signature", DataFile::kCheckedSize - 1, DataFile::LoadStatus::WrongSignature},
        {"header only", DataFile::kHeaderSize, DataFile::LoadStatus::Loaded},
        {"one image byte", DataFile::kHeaderSize + 1, DataFile::LoadStatus::Loaded},
        {"without standard input", 100, DataFile::LoadStatus::Loaded, true},
        {"after an interrupted call", 100, DataFile::LoadStatus::Loaded, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = m_dir.Write("cut.pgm", full.substr(0, c.size));
        FileHeader header;
        header.fill(0xEE);
        RadioImage image;
        image.fill(0xEE);
        FileError error;
        const int savedStdin = c.closedStdin ? ::dup(0) : -1;
        if (c.closedStdin)
            ::close(0);
        if (c.staleEintr)
            errno = EINTR;
        const DataFile::LoadStatus status = DataFile::Load(path, header, image, error);
        if (c.closedStdin) {
            ::dup2(savedStdin, 0);
            ::close(savedStdin);
        }
        ASSERT_EQ(status, c.status);
        const std::size_t filled = status == DataFile::LoadStatus::Loaded ? c.size : 0;
        for (std::size_t i = 0; i < DataFile::kFileSize; ++i) {
            const std::uint8_t got = i < header.size() ? header[i] : image[i - header.size()];
            EXPECT_EQ(got, i < filled ? static_cast<std::uint8_t>(full[i]) : 0xEE) << "byte " << i;
        }
    }
}

TEST_F(CDataFileTest, UnreadablePathsLeaveTheDocumentAlone)
{
    m_doc.StoreFrequency(9, FreqField::Rx, "145.5");
    m_doc.SetPathName(m_dir.File("current.pgm"));
    m_doc.SetModifiedFlag();
    const RadioImage before = m_doc.Image();
    fs::create_directory(m_dir.File("folder.pgm"));
    ASSERT_EQ(::mkfifo(m_dir.File("fifo.pgm").c_str(), 0600), 0); // must not hang
    for (const std::string& path : {m_dir.File("missing.pgm"), m_dir.File("folder.pgm"),
                                    m_dir.File("fifo.pgm"), std::string("/dev/null/x"), std::string()}) {
        SCOPED_TRACE(path);
        m_messages.Clear();
        EXPECT_FALSE(m_doc.OnOpenDocument(path));
        ASSERT_EQ(m_messages.Asked().size(), 1u);
        EXPECT_EQ(m_messages.Asked()[0].icon, MsgIcon::Stop);
        EXPECT_NE(m_messages.Asked()[0].text.find(path), std::string::npos);
        EXPECT_EQ(m_doc.Image(), before);
        EXPECT_EQ(m_doc.GetPathName(), m_dir.File("current.pgm"));
        EXPECT_TRUE(m_doc.IsModified());
    }
    EXPECT_EQ(m_updates, 0);
}

TEST_F(CDataFileTest, FailedSavesAreReportedAndKeepTheOldFile)
{
    const std::string path = Copy("full_radio.pgm", "radio.pgm");
    ASSERT_TRUE(m_doc.OnOpenDocument(path));
    m_doc.StoreFrequency(1, FreqField::Rx, "150");
    m_doc.SetModifiedFlag();

    // The disk fills up in the middle of the write.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit{};
    ::getrlimit(RLIMIT_FSIZE, &oldLimit);
    rlimit small = oldLimit;
    small.rlim_cur = 1000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    m_messages.Queue(MsgResult::Ok);
    const bool saved = m_doc.Save();
    ::setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    ASSERT_EQ(m_messages.Asked().size(), 2u);
    EXPECT_EQ(m_messages.Asked()[1].caption, LoadLangString("IDS_ERROR"));
    EXPECT_EQ(m_messages.Asked()[1].icon, MsgIcon::Stop);
    EXPECT_NE(m_messages.Asked()[1].text.find(path), std::string::npos);
    EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(Golden("full_radio.pgm")));
    EXPECT_TRUE(OnlyFilesAre({"radio.pgm", "setting.ini"}));
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_doc.GetPathName(), path);

    // No such directory, a directory in the way.
    fs::create_directory(m_dir.File("taken.pgm"));
    for (const std::string& target : {m_dir.File("no/such/dir.pgm"), m_dir.File("taken.pgm")}) {
        m_nextSavePath = target;
        EXPECT_FALSE(m_doc.SaveAs());
        EXPECT_EQ(m_doc.GetPathName(), path);
        EXPECT_TRUE(m_doc.IsModified());
    }

    FileError error;
    EXPECT_FALSE(m_doc.StoreFile(m_dir.File("taken.pgm"), error));
    EXPECT_EQ(error.number, EISDIR);
}

TEST_F(CDataFileTest, FailuresNameThePathAndTheSystemsReasonInTheUsersLanguage)
{
    fs::create_directory(m_dir.File("folder.pgm"));
    struct Case
    {
        std::string path;
        bool save;
        const char* english;
        const char* chinese;
        int err;
    };
    const Case cases[] = {
        {m_dir.File("missing.pgm"), false, "Cannot open the file:\n", "无法打开文件：\n", ENOENT},
        {m_dir.File("folder.pgm"), false, "Cannot open the file:\n", "无法打开文件：\n", EISDIR},
        {"/proc/self/mem", false, "Cannot read the file:\n", "无法读取文件：\n", EIO}, // unmapped address 0
        {m_dir.File("no/dir.pgm"), true, "Cannot save the file:\n", "无法保存文件：\n", ENOENT},
        {m_dir.File("folder.pgm"), true, "Cannot save the file:\n", "无法保存文件：\n", EISDIR},
    };
    for (const bool chinese : {false, true}) {
        UseShippedLanguage(chinese ? "chinese" : "english");
        for (const Case& c : cases) {
            SCOPED_TRACE(c.path);
            m_messages.Clear();
            m_nextSavePath = c.path;
            EXPECT_FALSE(c.save ? m_doc.SaveAs() : m_doc.OnOpenDocument(c.path));
            ASSERT_EQ(m_messages.Asked().size(), 1u);
            EXPECT_EQ(m_messages.Asked()[0].text,
                      (chinese ? c.chinese : c.english) + c.path + "\n" + std::strerror(c.err));
            EXPECT_EQ(m_messages.Asked()[0].caption, chinese ? "错误" : "Error");
        }
    }
}

TEST_F(CDataFileTest, ProtectedFilesAndDirectoriesForOrdinaryUsers)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads and writes every file";
    const std::string path = Copy("full_radio.pgm", "radio.pgm");
    ::chmod(path.c_str(), 0);
    EXPECT_FALSE(m_doc.OnOpenDocument(path));
    EXPECT_EQ(m_doc.GetPathName(), "");
    ::chmod(path.c_str(), 0444);
    FileError error;
    EXPECT_FALSE(m_doc.StoreFile(path, error));
    EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(Golden("full_radio.pgm")));
    ::chmod(m_dir.Path().c_str(), 0555);
    EXPECT_FALSE(m_doc.StoreFile(m_dir.File("new.pgm"), error));
    ::chmod(m_dir.Path().c_str(), 0755);
}

TEST_F(CDataFileTest, SavingThroughALinkKeepsTheLink)
{
    const std::string target = Copy("full_radio.pgm", "target.pgm");
    fs::create_symlink(target, m_dir.File("link.pgm"));
    ASSERT_TRUE(m_doc.OnOpenDocument(m_dir.File("link.pgm")));
    m_doc.SetSetting(FunctionSettings::Field("SquelchLevel"), 7);
    FileError error;
    ASSERT_TRUE(m_doc.StoreFile(m_dir.File("link.pgm"), error)) << std::strerror(error.number);
    EXPECT_TRUE(fs::is_symlink(m_dir.File("link.pgm")));
    EXPECT_EQ(ReadFileBytes(target)[48 + kSettings], 7);
}

TEST_F(CDataFileTest, ASaveReplacesTheFileAndKeepsItsMode)
{
    const std::string path = Copy("full_radio.pgm", "radio.pgm");
    ::chmod(path.c_str(), 0640);
    struct stat before
    {
    };
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    FileError error;
    ASSERT_TRUE(m_doc.StoreFile(path, error)) << std::strerror(error.number);
    struct stat after
    {
    };
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino); // a reader of the old file keeps it whole
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_size, static_cast<off_t>(DataFile::kFileSize));
    EXPECT_TRUE(OnlyFilesAre({"radio.pgm", "setting.ini"}));
}

TEST_F(CDataFileTest, BandLimitsFollowEveryLoadAndStore)
{
    ASSERT_TRUE(m_doc.OnOpenDocument(Golden("full_radio.pgm")));
    EXPECT_EQ(m_doc.FindModelEntry(), 2);
    EXPECT_EQ(m_doc.GetBandLimits().high, 51999500);
    EXPECT_EQ(m_doc.GetBandLimits().gapEnd, 40000000);

    // A store recomputes them from the image as stored.
    std::copy_n("\x60\x13\x40\x17\xFF\xFF\xFF\xFF", 8, m_doc.Image().begin() + kBandDescriptor1);
    FileError error;
    ASSERT_TRUE(m_doc.StoreFile(m_dir.File("vhf.pgm"), error));
    EXPECT_EQ(m_doc.GetBandLimits().high, 17399500);
}

TEST_F(CDataFileTest, SaveChangesQuestion)
{
    int asked = 0;
    const auto answer = [&](MsgResult result) {
        return [&asked, result] {
            ++asked;
            return result;
        };
    };
    EXPECT_TRUE(m_doc.SaveModified(answer(MsgResult::Cancel)));
    EXPECT_EQ(asked, 0); // nothing to save

    m_doc.SetModifiedFlag();
    EXPECT_FALSE(m_doc.SaveModified(answer(MsgResult::Cancel)));
    EXPECT_TRUE(m_doc.SaveModified(answer(MsgResult::No)));
    EXPECT_FALSE(m_doc.SaveModified({})); // no way to ask: keep the document
    EXPECT_TRUE(m_doc.IsModified());

    // Yes saves without the overwrite question; a cancelled file dialog stops the caller.
    m_nextSavePath.reset();
    EXPECT_FALSE(m_doc.SaveModified(answer(MsgResult::Yes)));
    m_nextSavePath = m_dir.File("kept.pgm");
    EXPECT_TRUE(m_doc.SaveModified(answer(MsgResult::Yes)));
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_TRUE(fs::exists(m_dir.File("kept.pgm")));
    m_doc.SetModifiedFlag();
    EXPECT_TRUE(m_doc.SaveModified(answer(MsgResult::Yes)));
    EXPECT_TRUE(m_messages.Asked().empty());
    EXPECT_EQ(asked, 5);
}
