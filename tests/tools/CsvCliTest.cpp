// zq708-cli export-csv, import-csv and diff as a user runs them: files, messages and exit codes.

#include "app/AppPaths.h"
#include "radio/ChannelEditor.h"
#include "radio/VantorDoc.h"
#include "tests/support/AppPathsGuard.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

class CsvCliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::copy_file(ZQ708_BIN_DIR "/zq708-cli", m_dir.File("zq708-cli"));
        fs::copy_file(ZQ708_SOURCE_DIR "/lang/setting.ini", m_dir.File("setting.ini"));
        g_strSettingFile = m_dir.File("setting.ini"); // the documents the test makes use the same bands
    }

    RunResult Cli(const std::string& args) const
    {
        return RunCommand("'" + m_dir.File("zq708-cli") + "' " + args);
    }

    std::string Path(const std::string& name) const { return m_dir.File(name); }

    CAppPathsGuard m_paths;
    CTempDir m_dir;
};

constexpr char kFullRadio[] = ZQ708_SOURCE_DIR "/tests/data/full_radio.pgm";

} // namespace

TEST_F(CsvCliTest, ExportAndImportCarryTheChannelsBetweenDataFiles)
{
    const RunResult toStdout = Cli(std::string("export-csv ") + kFullRadio);
    ASSERT_EQ(toStdout.code, 0) << toStdout.err;
    EXPECT_TRUE(toStdout.out.starts_with("Location,Name,Frequency,Duplex,Offset,Tone,"));
    ASSERT_EQ(Cli(std::string("export-csv ") + kFullRadio + " -o " + Path("full.csv")).code, 0);
    EXPECT_EQ(ReadFileBytes(Path("full.csv")), toStdout.out);

    // Into the radio's own file: the channels come back as they were, apart from the few above the
    // band's upper edge, which are named on standard error.
    const RunResult import =
        Cli(std::string("import-csv ") + kFullRadio + " " + Path("full.csv") + " -o " + Path("back.pgm"));
    ASSERT_EQ(import.code, 0) << import.err;
    EXPECT_NE(import.err.find("warning: line 28: receive frequency 524.781250 is outside the band"),
              std::string::npos)
        << import.err;
    EXPECT_NE(import.err.find("imported 95 channels into"), std::string::npos) << import.err;
    EXPECT_NE(import.err.find("0 rows not imported"), std::string::npos);

    CVantorDoc before;
    CVantorDoc after;
    FileError error;
    ASSERT_EQ(before.LoadFile(kFullRadio, error), DataFile::LoadStatus::Loaded);
    ASSERT_EQ(after.LoadFile(Path("back.pgm"), error), DataFile::LoadStatus::Loaded);
    const CChannelEditor a(before);
    const CChannelEditor b(after);
    EXPECT_EQ(b.RxText(5), a.RxText(5));
    EXPECT_EQ(b.TxText(5), a.TxText(5));
    EXPECT_EQ(after.GetName(9), before.GetName(9));
    EXPECT_EQ(b.RxText(28), "519.99500");
}

TEST_F(CsvCliTest, RefusedRowsAreListedAndAFileWithoutHeaderIsRefused)
{
    m_dir.Write("bad.csv", "Location;Frequency;Tone;rToneFreq\n1;145,5;Tone;69,4\n2;146,5;;\n");
    RunResult run =
        Cli(std::string("import-csv ") + kFullRadio + " " + Path("bad.csv") + " -o " + Path("out.pgm"));
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.err.find("not imported: line 2: CTCSS tone \"69,4\" is not in the radio's tone list"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("imported 1 channel into"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("1 row not imported"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::exists(Path("out.pgm")));

    // Files without a usable header are refused whole; an empty file is one of them.
    for (const auto& [name, text] : {std::pair{"none", "Channel,RX\n1,145.5\n"}, std::pair{"empty", ""}}) {
        const std::string csv = m_dir.Write(std::string(name) + ".csv", text);
        const std::string out = Path(std::string(name) + ".pgm");
        run = Cli(std::string("import-csv ") + kFullRadio + " " + csv + " -o " + out);
        EXPECT_EQ(run.code, 65) << name;
        EXPECT_NE(run.err.find("no header line naming the columns Location and Frequency"), std::string::npos)
            << run.err;
        EXPECT_FALSE(fs::exists(out));
    }
    fs::create_directory(Path("folder.csv"));
    for (const char* name : {"absent.csv", "folder.csv"}) {
        run = Cli(std::string("import-csv ") + kFullRadio + " " + Path(name) + " -o " + Path("x.pgm"));
        EXPECT_EQ(run.code, 66) << name;
        EXPECT_NE(run.err.find("cannot read " + Path(name)), std::string::npos) << run.err;
    }
    EXPECT_EQ(Cli(std::string("import-csv ") + kFullRadio + " " + Path("bad.csv")).code, 64); // no -o
    run = Cli(std::string("export-csv ") + kFullRadio + " -o " + Path("no/such/dir/x.csv"));
    EXPECT_EQ(run.code, 73);
    EXPECT_EQ(run.err,
              "zq708-cli: cannot write " + Path("no/such/dir/x.csv") + ": " + std::strerror(ENOENT) + "\n");
    EXPECT_EQ(Cli("export-csv " + Path("absent.pgm")).code, 66);
}

TEST_F(CsvCliTest, DiffPrintsTheChangesAndExitsOneWhenTheFilesDiffer)
{
    const RunResult same = Cli(std::string("diff ") + kFullRadio + " " + kFullRadio);
    EXPECT_EQ(same.code, 0);
    EXPECT_EQ(same.out, "");

    CVantorDoc doc;
    FileError error;
    ASSERT_EQ(doc.LoadFile(kFullRadio, error), DataFile::LoadStatus::Loaded);
    CChannelEditor(doc).StoreRx(12, "153.1");
    const FunctionField& squelch = FunctionSettings::Field("SquelchLevel");
    doc.SetSetting(squelch, doc.GetSetting(squelch) == 6 ? 7 : 6);
    ASSERT_TRUE(doc.StoreFile(Path("changed.pgm"), error)) << std::strerror(error.number);

    const RunResult changed = Cli(std::string("diff ") + kFullRadio + " " + Path("changed.pgm"));
    EXPECT_EQ(changed.code, 1);
    EXPECT_NE(changed.out.find("channel 12 receive 153.08750 \xE2\x86\x92 153.10000\n"), std::string::npos)
        << changed.out;
    EXPECT_NE(changed.out.find("squelch level "), std::string::npos) << changed.out;

    EXPECT_EQ(Cli(std::string("diff ") + kFullRadio).code, 64);
    EXPECT_EQ(Cli(std::string("diff ") + kFullRadio + " " + Path("absent.pgm")).code, 66);
}

TEST_F(CsvCliTest, EachCommandTakesItsOwnOptionsAndFiles)
{
    const std::string full = kFullRadio;
    const std::string out = Path("out.pgm");
    const struct
    {
        std::string args;
        int code;
    } cases[] = {
        {"info " + full, 0},
        {"info --json " + full, 0},
        {"info -o " + out + " " + full, 64},
        {"info --base " + full + " " + full, 64},
        {"info " + full + " " + full, 64},
        {"export-csv " + full + " -o " + Path("out.csv"), 0},
        {"export-csv --json " + full, 64},
        {"export-csv --device /dev/null " + full, 64},
        {"diff " + full + " " + full, 0},
        {"diff " + full + " " + full + " " + full, 64},
        {"diff -o " + out + " " + full + " " + full, 64},
        {"import-csv " + full + " -o " + out, 64}, // no CSV file
        {"write --device /dev/null", 64},          // nothing to write
        {"write --device /dev/null --json " + full, 64},
        {"write --device /dev/null -o " + out + " " + full, 64},
        {"read --device /dev/null " + full + " -o " + out, 64},
        {"read --device /dev/null --port 1 -o " + out, 64},
        {"erase " + full, 64},
    };
    for (const auto& c : cases) {
        const RunResult run = Cli(c.args);
        EXPECT_EQ(run.code, c.code) << c.args << "\n" << run.err;
        EXPECT_EQ(run.err.find("Usage:") != std::string::npos, c.code == 64) << c.args;
    }
    EXPECT_NE(Cli("erase " + full).err.find("unknown command \"erase\""), std::string::npos);
    EXPECT_NE(Cli("diff").err.find("zq708-cli: diff takes A.pgm B.pgm\n"), std::string::npos);
    // The usage text names every command the tool runs, then says what each does.
    const RunResult help = Cli("--help");
    for (const char* command : {"read", "write", "info", "export-csv", "import-csv", "diff"})
        EXPECT_NE(help.out.find(std::string("zq708-cli ") + command + " "), std::string::npos) << command;
    EXPECT_NE(help.out.find("  zq708-cli export-csv FILE.pgm [-o OUT.csv]\n"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("  zq708-cli diff  A.pgm B.pgm\n\nread   reads "), std::string::npos) << help.out;
}
