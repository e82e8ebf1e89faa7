#include "i18n/Profile.h"

#include "tests/support/TempDir.h"

#include <chrono>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

std::string Read(const std::string& file, const std::string& section, const std::string& key,
                 std::size_t bufSize = 260)
{
    return ReadProfileString(file, section, key, "<def>", bufSize);
}

} // namespace

TEST(ProfileRead, NamesTrimmingQuotesAndFirstOccurrence)
{
    CTempDir dir;
    const std::string f = dir.Write("a.ini", "orphan=before any section\n"
                                             "[Setup]\n"
                                             "  Language  =  english  \n"
                                             "com=3\n"
                                             "COM=4\n"
                                             "quoted=\"  padded  \"\n"
                                             "half=\"open\n"
                                             "eq=a=b=c\n"
                                             "empty=\n"
                                             "; commented=yes\n"
                                             "no equals sign here\n"
                                             "[ other ]\n"
                                             "com=9\n"
                                             "[setup]\n"
                                             "com=5\n"
                                             "late=found in the repeated section\n");
    EXPECT_EQ(Read(f, "SETUP", "language"), "english");
    EXPECT_EQ(Read(f, "setup", "com"), "3"); // first occurrence, whatever the case
    EXPECT_EQ(Read(f, "setup", "quoted"), "  padded  ");
    EXPECT_EQ(Read(f, "setup", "half"), "\"open");
    EXPECT_EQ(Read(f, "setup", "eq"), "a=b=c");
    EXPECT_EQ(Read(f, "setup", "empty"), ""); // an empty value is not the default
    EXPECT_EQ(Read(f, "setup", "; commented"), "<def>");
    EXPECT_EQ(Read(f, "setup", "commented"), "<def>");
    EXPECT_EQ(Read(f, "setup", "no equals sign here"), "<def>");
    EXPECT_EQ(Read(f, "setup", "orphan"), "<def>");
    EXPECT_EQ(Read(f, "", "orphan"), "<def>");
    EXPECT_EQ(Read(f, "other", "com"), "9");
    EXPECT_EQ(Read(f, "setup", "late"), "found in the repeated section");
}

TEST(ProfileRead, LineEndsByteOrderMarkAndBinaryJunk)
{
    CTempDir dir;
    std::string junk("\x00\xff\xfe[\x01=\x02\r\r\n", 10);
    const std::string f =
        dir.Write("a.ini", "\xEF\xBB\xBF[s]\r\nk=v\r\n" + junk + "x = \xE4\xB8\xAD \r\n[t]\rk=w\n");
    EXPECT_EQ(Read(f, "s", "k"), "v");
    EXPECT_EQ(Read(f, "s", "x"), "\xE4\xB8\xAD");
    EXPECT_EQ(Read(f, "t", "k"), "<def>"); // a lone CR does not end a line
}

TEST(ProfileRead, UnusableFilesGiveDefaults)
{
    CTempDir dir;
    EXPECT_EQ(Read(dir.File("missing.ini"), "s", "k"), "<def>");
    EXPECT_EQ(Read(dir.Path().string(), "s", "k"), "<def>"); // a directory
    EXPECT_EQ(Read("", "s", "k"), "<def>");
    EXPECT_EQ(ReadProfileInt(dir.File("missing.ini"), "s", "k", 7), 7);
    EXPECT_TRUE(ReadProfileSection(dir.Path().string(), "s").empty());
}

TEST(ProfileRead, CutToBufferNeverSplitsACharacter)
{
    CTempDir dir;
    const std::string longValue(1200, 'x');
    // "中文" is two three-byte characters.
    const std::string f = dir.Write("a.ini", "[s]\nlong=" + longValue + "\nzh=\xE4\xB8\xAD\xE6\x96\x87\n");
    EXPECT_EQ(Read(f, "s", "long", 1000), std::string(999, 'x'));
    EXPECT_EQ(Read(f, "s", "zh", 7), "\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_EQ(Read(f, "s", "zh", 6), "\xE4\xB8\xAD");
    EXPECT_EQ(Read(f, "s", "zh", 4), "\xE4\xB8\xAD");
    EXPECT_EQ(Read(f, "s", "zh", 3), "");
    EXPECT_EQ(Read(f, "s", "zh", 0), "");
    EXPECT_EQ(ReadProfileString(f, "s", "missing", "defaults are cut too", 9), "defaults");
    // Bytes that are no UTF-8 at all are cut where the buffer ends.
    EXPECT_EQ(CutToBuffer(std::string(10, '\x80'), 5), std::string(4, '\x80'));
}

TEST(ProfileRead, VeryLongLines)
{
    CTempDir dir;
    const std::string huge(1 << 20, 'y');
    const std::string f = dir.Write("a.ini", "[s]\njunk" + huge + "\nk=" + huge + "\nafter=1\n");
    EXPECT_EQ(Read(f, "s", "k", huge.size() + 1), huge);
    EXPECT_EQ(ReadProfileInt(f, "s", "after", 0), 1);
}

TEST(ProfileRead, Integers)
{
    CTempDir dir;
    const std::string f =
        dir.Write("a.ini", "[s]\nplain= 42 \nneg=-5\nplus=+7\nmixed=12abc\ntext=abc\nempty=\n"
                           "big=99999999999999999999\nsmall=-99999999999999999999\n");
    EXPECT_EQ(ReadProfileInt(f, "s", "plain", 1), 42);
    EXPECT_EQ(ReadProfileInt(f, "s", "neg", 1), -5);
    EXPECT_EQ(ReadProfileInt(f, "s", "plus", 1), 7);
    EXPECT_EQ(ReadProfileInt(f, "s", "mixed", 1), 12);
    EXPECT_EQ(ReadProfileInt(f, "s", "text", 1), 0);
    EXPECT_EQ(ReadProfileInt(f, "s", "empty", 1), 1);
    EXPECT_EQ(ReadProfileInt(f, "s", "missing", 1), 1);
    EXPECT_EQ(ReadProfileInt(f, "s", "big", 1), INT_MAX);
    EXPECT_EQ(ReadProfileInt(f, "s", "small", 1), INT_MIN);
}

TEST(ProfileWrite, CreatesFileSectionAndKey)
{
    CTempDir dir;
    const std::string f = dir.File("setting.ini");
    ASSERT_TRUE(WriteProfileString(f, "setup", "com", "3"));
    ASSERT_TRUE(WriteProfileString(f, "setup", "language", "english"));
    ASSERT_TRUE(WriteProfileString(f, "ports", "COM1", "/dev/ttyUSB0"));
    EXPECT_EQ(ReadFileBytes(f), "[setup]\ncom=3\nlanguage=english\n\n[ports]\nCOM1=/dev/ttyUSB0\n");
    struct stat st
    {
    };
    ASSERT_EQ(::stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u); // readable by its owner even when that is not root
}

TEST(ProfileWrite, ReplacesFirstOccurrenceAndKeepsEverythingElse)
{
    CTempDir dir;
    const std::string before = "; my settings\n"
                               "stray line\n"
                               "[Setup]\n"
                               "Com = 1\n"
                               "com=2\n"
                               "\n"
                               "; ports\n"
                               "[other]\n"
                               "x=y\n";
    const std::string f = dir.Write("a.ini", before);
    ASSERT_TRUE(WriteProfileString(f, "setup", "COM", "7"));
    ASSERT_TRUE(WriteProfileString(f, "SETUP", "searchcom", "0"));
    EXPECT_EQ(ReadFileBytes(f), "; my settings\n"
                                "stray line\n"
                                "[Setup]\n"
                                "Com=7\n"
                                "com=2\n"
                                "searchcom=0\n"
                                "\n"
                                "; ports\n"
                                "[other]\n"
                                "x=y\n");
    EXPECT_EQ(ReadProfileInt(f, "setup", "com", 1), 7);
}

TEST(ProfileWrite, KeepsCrlfAndRoundTripsAwkwardValues)
{
    CTempDir dir;
    const std::string f = dir.Write("a.ini", "[s]\r\nk=v\r\n");
    ASSERT_TRUE(WriteProfileString(f, "s", "k", "a=b"));
    ASSERT_TRUE(WriteProfileString(f, "s", "blank", "  padded "));
    ASSERT_TRUE(WriteProfileString(f, "s", "quoted", "\"q\""));
    ASSERT_TRUE(WriteProfileString(f, "s", "empty", ""));
    ASSERT_TRUE(WriteProfileString(f, "s", "quotes", "\"\""));
    EXPECT_EQ(Read(f, "s", "k"), "a=b");
    EXPECT_EQ(Read(f, "s", "blank"), "  padded ");
    EXPECT_EQ(Read(f, "s", "quoted"), "\"q\"");
    EXPECT_EQ(Read(f, "s", "empty"), "");
    EXPECT_EQ(Read(f, "s", "quotes"), "\"\"");
    const std::string bytes = ReadFileBytes(f);
    for (std::size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1))
        EXPECT_EQ(bytes[at - 1], '\r');
}

TEST(ProfileWrite, KeepsAByteOrderMark)
{
    CTempDir dir;
    const std::string f = dir.Write("a.ini", "\xEF\xBB\xBF[s]\nk=v\n");
    ASSERT_TRUE(WriteProfileString(f, "s", "k", "w"));
    EXPECT_EQ(ReadFileBytes(f), "\xEF\xBB\xBF[s]\nk=w\n");
}

TEST(ProfileWrite, RefusalsAndFailuresLeaveTheFileAlone)
{
    CTempDir dir;
    const std::string before = "[s]\nk=v\n";
    const std::string f = dir.Write("a.ini", before);
    EXPECT_FALSE(WriteProfileString(f, "s", "k", "line\n[evil]\nk=x"));
    EXPECT_FALSE(WriteProfileString(f, "s", "a=b", "v"));
    EXPECT_FALSE(WriteProfileString(f, "s", " ", "v"));
    EXPECT_FALSE(WriteProfileString(f, "s]", "k", "v"));
    EXPECT_FALSE(WriteProfileString(f, "", "k", "v"));
    EXPECT_EQ(ReadFileBytes(f), before);

    EXPECT_FALSE(WriteProfileString(dir.Path().string(), "s", "k", "v")); // a directory
    EXPECT_FALSE(WriteProfileString(dir.File("no/such/dir.ini"), "s", "k", "v"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path()));

    // An existing file whose directory cannot take the temporary file is left as it was.
    const std::string unwritable = "/proc/version";
    const std::string original = ReadFileBytes(unwritable);
    EXPECT_FALSE(WriteProfileString(unwritable, "s", "k", "v"));
    EXPECT_EQ(ReadFileBytes(unwritable), original);
}

TEST(ProfileWrite, ReadOnlyDirectoryWritesTheFileInPlace)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop the superuser (radio_atomic_save_test drops them)";
    CTempDir dir;
    const std::string f = dir.Write("a.ini", "[s]\nk=v\n");
    ::chmod(dir.Path().c_str(), 0555);
    EXPECT_TRUE(WriteProfileString(f, "s", "k", "new"));
    ::chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ(ReadFileBytes(f), "[s]\nk=new\n");
}

TEST(ProfileWrite, ReplacesAtomicallyAndKeepsModeAndLinks)
{
    CTempDir dir;
    const std::string f = dir.Write("real.ini", "[s]\nk=v\n");
    ::chmod(f.c_str(), 0640);
    const std::string link = dir.File("link.ini");
    std::filesystem::create_symlink(f, link);

    ASSERT_TRUE(WriteProfileString(link, "s", "k", "w"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Read(f, "s", "k"), "w");
    struct stat st
    {
    };
    ASSERT_EQ(::stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // Readers keep what they opened: the old file is replaced, never rewritten in place.
    const ino_t oldInode = st.st_ino;
    ASSERT_TRUE(WriteProfileString(f, "s", "k", "x"));
    ASSERT_EQ(::stat(f.c_str(), &st), 0);
    EXPECT_NE(st.st_ino, oldInode);

    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 2); // no temporary files left behind
}

TEST(ProfileAddMissing, AddsWhatIsMissingAndKeepsEveryValueThere)
{
    CTempDir dir;
    const std::string shipped = dir.Write("shipped.ini", "orphan=never read\n"
                                                         "[setup]\n"
                                                         "; a comment stays behind\n"
                                                         "language=english\n"
                                                         "com=1\n"
                                                         "searchcom=1\n"
                                                         "newkey = \"  padded \"\n"
                                                         "COM=2\n"
                                                         "[ModelInfo]\n"
                                                         "Freq0=136-174 MHz\n"
                                                         "data0=60134017\n"
                                                         "Freq1=400-480 MHz\n"
                                                         "data1=00400048\n"
                                                         "[Empty]\n"
                                                         "[setup]\n"
                                                         "late=1\n");
    // The user's copy from an earlier version: own values (one empty), other case, its own extras.
    const std::string user = dir.Write("user.ini", "; mine\n"
                                                   "stray=before any section\n"
                                                   "[SETUP]\n"
                                                   "Language=\n"
                                                   "com=5\n"
                                                   "\n"
                                                   "[ports]\n"
                                                   "COM5=/dev/ttyUSB3\n"
                                                   "[modelinfo]\n"
                                                   "freq0=Mine\n"
                                                   "data0=60134016\n");
    ASSERT_TRUE(AddMissingProfileEntries(user, shipped));
    EXPECT_EQ(ReadFileBytes(user), "; mine\n"
                                   "stray=before any section\n"
                                   "[SETUP]\n"
                                   "Language=\n"
                                   "com=5\n"
                                   "searchcom=1\n"
                                   "newkey=\"  padded \"\n"
                                   "late=1\n"
                                   "\n"
                                   "[ports]\n"
                                   "COM5=/dev/ttyUSB3\n"
                                   "[modelinfo]\n"
                                   "freq0=Mine\n"
                                   "data0=60134016\n"
                                   "Freq1=400-480 MHz\n"
                                   "data1=00400048\n");
    EXPECT_EQ(Read(user, "setup", "newkey"), "  padded ");
    EXPECT_EQ(Read(user, "setup", "language"), "");
    EXPECT_EQ(ReadProfileInt(user, "setup", "com", 0), 5);

    // Nothing missing: no write at all.
    struct stat before
    {
    };
    ASSERT_EQ(::stat(user.c_str(), &before), 0);
    ASSERT_TRUE(AddMissingProfileEntries(user, shipped));
    struct stat after
    {
    };
    ASSERT_EQ(::stat(user.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
}

TEST(ProfileAddMissing, NewSectionsLineEndsByteOrderMarkModeAndLinks)
{
    CTempDir dir;
    const std::string shipped =
        dir.Write("shipped.ini", "[setup]\ncom=1\n[ModelInfo]\nFreq0=VHF\ndata0=60134017\n");
    const std::string real = dir.Write("real.ini", "\xEF\xBB\xBF[setup]\r\ncom=3\r\n");
    ::chmod(real.c_str(), 0600);
    const std::string link = dir.File("link.ini");
    std::filesystem::create_symlink(real, link);
    ASSERT_TRUE(AddMissingProfileEntries(link, shipped));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(real),
              "\xEF\xBB\xBF[setup]\r\ncom=3\r\n\r\n[ModelInfo]\r\nFreq0=VHF\r\ndata0=60134017\r\n");
    struct stat st
    {
    };
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A missing or unreadable shipped file adds nothing; a user file that cannot be read is left alone.
    const std::string kept = ReadFileBytes(real);
    EXPECT_TRUE(AddMissingProfileEntries(real, dir.File("none.ini")));
    EXPECT_TRUE(AddMissingProfileEntries(real, dir.Path().string()));
    EXPECT_EQ(ReadFileBytes(real), kept);
    EXPECT_FALSE(AddMissingProfileEntries(dir.Path().string(), shipped));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path()));
}

TEST(ProfileSection, KeysInFileOrderFirstOccurrenceOnly)
{
    CTempDir dir;
    const std::string f =
        dir.Write("a.ini", "[List]\n0=zero\n1 = \"one\"\n0=again\n[x]\n2=no\n[LIST]\n2=two\n");
    const ProfileEntries entries = ReadProfileSection(f, "list");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], (std::pair<std::string, std::string>{"0", "zero"}));
    EXPECT_EQ(entries[1], (std::pair<std::string, std::string>{"1", "one"}));
    EXPECT_EQ(entries[2], (std::pair<std::string, std::string>{"2", "two"}));
    ASSERT_NE(FindProfileEntry(entries, "1"), nullptr);
    EXPECT_EQ(FindProfileEntry(entries, "3"), nullptr);
}

// Parsed files are reused between lookups; a change of any kind must still show at the next one.
// Rewrites keep the size and put the old modification time back, so that only the inode or the
// change time can tell the files apart, as when two writes fall within one tick of a coarse clock.
TEST(ProfileCache, EveryChangeShowsAtTheNextLookup)
{
    CTempDir dir;
    const auto rewriteInPlace = [](const std::string& path, const std::string& content) {
        struct stat old
        {
        };
        ASSERT_EQ(::stat(path.c_str(), &old), 0);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
        const timespec times[2] = {old.st_atim, old.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    };

    // A fresh file rewritten within the same second.
    const std::string fresh = dir.Write("fresh.ini", "[s]\nk=1111\n");
    EXPECT_EQ(Read(fresh, "s", "k"), "1111");
    rewriteInPlace(fresh, "[s]\nk=2222\n");
    EXPECT_EQ(Read(fresh, "s", "k"), "2222");

    // Files old enough to be kept between lookups.
    const std::string inPlace = dir.Write("inplace.ini", "[s]\nk=aaaa\n");
    const std::string renamed = dir.Write("renamed.ini", "[s]\nk=bbbb\n");
    const std::string deleted = dir.Write("deleted.ini", "[s]\nk=cccc\n");
    const std::string written = dir.Write("written.ini", "[s]\nk=dddd\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(2200));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Read(inPlace, "s", "k"), "aaaa");
        EXPECT_EQ(Read(renamed, "s", "k"), "bbbb");
        EXPECT_EQ(Read(deleted, "s", "k"), "cccc");
        EXPECT_EQ(ReadProfileSection(written, "s").at(0).second, "dddd");
    }

    rewriteInPlace(inPlace, "[s]\nk=AAAA\n");
    EXPECT_EQ(Read(inPlace, "s", "k"), "AAAA");

    // Replaced by rename, as editors and our own writes do.
    struct stat old
    {
    };
    ASSERT_EQ(::stat(renamed.c_str(), &old), 0);
    const std::string replacement = dir.Write("replacement.tmp", "[s]\nk=BBBB\n");
    const timespec times[2] = {old.st_atim, old.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, replacement.c_str(), times, 0), 0);
    ASSERT_EQ(::rename(replacement.c_str(), renamed.c_str()), 0);
    EXPECT_EQ(Read(renamed, "s", "k"), "BBBB");

    ASSERT_EQ(::unlink(deleted.c_str()), 0);
    EXPECT_EQ(Read(deleted, "s", "k"), "<def>");
    EXPECT_TRUE(ReadProfileSection(deleted, "s").empty());
    dir.Write("deleted.ini", "[s]\nk=CCCC\n");
    EXPECT_EQ(Read(deleted, "s", "k"), "CCCC");

    ASSERT_TRUE(WriteProfileString(written, "s", "k", "DDDD"));
    EXPECT_EQ(ReadProfileSection(written, "s").at(0).second, "DDDD");
    EXPECT_EQ(Read(written, "S", "K"), "DDDD");
}
