// zq708-cli as a user runs it, against the simulated radio. Each test runs a copy of the program
// in a directory of its own, so that it reads a setting.ini of the test's making.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <signal.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "radio/ChannelEditor.h"
#include "radio/DataFile.h"
#include "radio/ToneList.h"
#include "tests/support/Eventually.h"
#include "tests/support/LinkTestEnv.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

class CliTest : public CLinkTestEnv
{
protected:
    void SetUp() override
    {
        CLinkTestEnv::SetUp();
        fs::copy_file(ZQ708_BIN_DIR "/zq708-cli", m_dir / "zq708-cli");
        fs::copy_file(ZQ708_SOURCE_DIR "/lang/setting.ini", m_dir / "setting.ini",
                      fs::copy_options::overwrite_existing);
        Setting("setup", "searchcom", "0");
    }

    // `runAs` goes before the program: a command that runs it as another user.
    RunResult Cli(const std::string& args, const std::string& runAs = {}) const
    {
        return RunCommand(runAs + "'" + (m_dir / "zq708-cli").string() + "' " + args, ErrorOutput::Joined);
    }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    void StoreDataFile(const std::string& name, const RadioImage& image) const
    {
        FileHeader header{};
        DataFile::StampSignature(header);
        FileError error;
        ASSERT_TRUE(DataFile::Store(Path(name), header, image, error)) << std::strerror(error.number);
    }

    RadioImage LoadDataFile(const std::string& name) const
    {
        FileHeader header{};
        RadioImage image{};
        FileError error;
        EXPECT_EQ(DataFile::Load(Path(name), header, image, error), DataFile::LoadStatus::Loaded);
        return image;
    }
};

RadioImage Prepared(RadioImage image)
{
    PrepareImageForTransfer(image);
    return image;
}

TEST_F(CliTest, ReadMakesADataFileAndWriteSendsOne)
{
    CSimRadio& radio = NewRadio(PatternImage(1));
    const std::string device = AttachRadio(radio, 1).DevicePath();
    const RunResult read = Cli("read --device " + device + " -o " + Path("out.pgm"));
    ASSERT_EQ(read.code, 0) << read.out;
    EXPECT_EQ(fs::file_size(Path("out.pgm")), DataFile::kFileSize);
    EXPECT_EQ(ReadFileBytes(Path("out.pgm")).substr(0, 30), DataFile::kSignature);
    EXPECT_EQ(LoadDataFile("out.pgm"), radio.Memory());

    CSimRadio& target = NewRadio(PatternImage(50));
    const std::string targetDevice = AttachRadio(target, 2).DevicePath();
    const RunResult write = Cli("write --device " + targetDevice + " " + Path("out.pgm"));
    ASSERT_EQ(write.code, 0) << write.out;
    const RadioImage sent = Prepared(radio.Memory());
    const RadioImage memory = target.Memory();
    EXPECT_TRUE(std::equal(memory.begin(), memory.begin() + 0xFE0, sent.begin()));
    EXPECT_TRUE(std::equal(memory.begin() + 0xFE0, memory.end(), PatternImage(50).begin() + 0xFE0));
}

TEST_F(CliTest, PortComesFromTheSettingsBesideTheProgramAndASearchStoresTheFoundPort)
{
    CSimRadio& radio = NewRadio(PatternImage(1));
    AttachRadio(radio, 1);
    Setting("setup", "com", "1");
    EXPECT_EQ(Cli("read -o " + Path("a.pgm")).code, 0);
    EXPECT_EQ(Cli("read --port 1 -o " + Path("b.pgm")).code, 0);
    EXPECT_EQ(Cli("read --port 3 -o " + Path("c.pgm")).code, 1); // nothing at COM3, search off

    // Search on: COM3 does not answer, COM1 does and is remembered.
    SimFaults deaf;
    deaf.wakeUpAtAttempt = 1000;
    CSimRadio& silent = NewRadio(PatternImage(1), deaf);
    AttachRadio(silent, 3);
    Setting("setup", "com", "3");
    Setting("setup", "searchcom", "1");
    const RunResult found = Cli("read -o " + Path("d.pgm"));
    EXPECT_EQ(found.code, 0) << found.out;
    EXPECT_EQ(ReadProfileInt(g_strSettingFile, "setup", "com", 0), 1);
    EXPECT_EQ(Cli("read --port 3 --no-search -o " + Path("e.pgm")).code, 1);
}

TEST_F(CliTest, AFailedReadLeavesNoFileAndKeepsAnOldOne)
{
    SimFaults faults;
    faults.shortReply[0x300] = -1;
    CSimRadio& radio = NewRadio(PatternImage(1), faults);
    const std::string device = AttachRadio(radio, 1).DevicePath();
    EXPECT_EQ(Cli("read --device " + device + " -o " + Path("new.pgm")).code, 5);
    EXPECT_FALSE(fs::exists(Path("new.pgm")));

    std::ofstream(Path("old.pgm")) << "keep me";
    EXPECT_EQ(Cli("read --device " + device + " -o " + Path("old.pgm")).code, 5);
    EXPECT_EQ(ReadFileBytes(Path("old.pgm")), "keep me");
    for (const auto& entry : fs::directory_iterator(m_dir))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(CliTest, ReadIntoAWritableFileInAFolderTheUserMayNotWrite)
{
    CSimRadio& radio = NewRadio(PatternImage(1));
    const std::string device = AttachRadio(radio, 1).DevicePath();
    std::string runAs; // root, whom permissions do not stop, runs the program as "nobody"
    if (::geteuid() == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        if (!nobody || ::access("/usr/bin/setpriv", X_OK) != 0)
            GTEST_SKIP() << "the tests run as root, without a user \"nobody\" or setpriv to drop to";
        runAs = "setpriv --reuid=" + std::to_string(nobody->pw_uid) +
                " --regid=" + std::to_string(nobody->pw_gid) + " --clear-groups ";
        ::chmod(device.c_str(), 0666);
    }
    const std::string locked = Path("locked");
    fs::create_directory(locked);
    std::ofstream(locked + "/radio.pgm") << "old";
    ::chmod((locked + "/radio.pgm").c_str(), 0666);
    ::chmod(locked.c_str(), 0555);
    ::chmod(m_dir.c_str(), 0755);
    // The other user has no backup folder of the build's to write into.
    const RunResult read = Cli("read --no-backup --device " + device + " -o " + locked + "/radio.pgm", runAs);
    const RunResult refused = Cli("read --device " + device + " -o " + locked + "/new.pgm", runAs);
    ::chmod(locked.c_str(), 0755);
    ASSERT_EQ(read.code, 0) << read.out;
    EXPECT_EQ(LoadDataFile("locked/radio.pgm"), radio.Memory());
    EXPECT_EQ(refused.code, 73) << refused.out; // before the radio is woken
    EXPECT_EQ(radio.WakeUpsSeen(), 1);
}

TEST_F(CliTest, PortAndRadioFailuresHaveTheirOwnExitCodes)
{
    SimFaults faults;
    faults.identLength = 7;
    CSimRadio& wrongType = NewRadio(PatternImage(1), faults);
    EXPECT_EQ(Cli("read --device " + AttachRadio(wrongType, 1).DevicePath() + " -o " + Path("x.pgm")).code,
              2);

    const RunResult missing = Cli("read --device " + Path("dev/ttyUSB9") + " -o " + Path("x.pgm"));
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.out.find("no such device"), std::string::npos) << missing.out;

    StoreDataFile("in.pgm", PatternImage(3));
    SimFaults nak;
    nak.nakWrite[0x200] = -1;
    CSimRadio& refusing = NewRadio(PatternImage(1), nak);
    EXPECT_EQ(Cli("write --device " + AttachRadio(refusing, 2).DevicePath() + " " + Path("in.pgm")).code, 7);
    EXPECT_FALSE(fs::exists(Path("x.pgm")));
}

TEST_F(CliTest, BadInputIsRefusedBeforeTheRadioIsWoken)
{
    CSimRadio& radio = NewRadio(PatternImage(1));
    const std::string device = AttachRadio(radio, 1).DevicePath();
    std::ofstream(Path("foreign.pgm")) << std::string(4144, 'x');

    EXPECT_EQ(Cli("write --device " + device + " " + Path("foreign.pgm")).code, 65);
    EXPECT_EQ(Cli("read --device " + device + " --base " + Path("foreign.pgm") + " -o " + Path("o.pgm")).code,
              65);
    EXPECT_EQ(Cli("write --device " + device + " " + Path("absent.pgm")).code, 66);
    EXPECT_EQ(Cli("info " + Path("absent.pgm")).code, 66);
    EXPECT_EQ(Cli("read --device " + device + " -o " + Path("no/such/dir/o.pgm")).code, 73);
    EXPECT_EQ(Cli("read --device " + device + " -o " + m_dir.string()).code, 73);

    EXPECT_EQ(Cli("").code, 64);
    EXPECT_EQ(Cli("erase --device " + device).code, 64);
    EXPECT_EQ(Cli("read --device " + device).code, 64);
    EXPECT_EQ(Cli("read --device " + device + " --port 1 -o " + Path("o.pgm")).code, 64);
    EXPECT_EQ(Cli("read --port 0 -o " + Path("o.pgm")).code, 64);
    EXPECT_EQ(Cli("write --device " + device + " --bogus " + Path("in.pgm")).code, 64);
    EXPECT_EQ(Cli("info").code, 64);
    const RunResult help = Cli("--help");
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("Exit codes"), std::string::npos);

    EXPECT_EQ(radio.WakeUpsSeen(), 0);
}

TEST_F(CliTest, ABaseFileFillsTheBlocksTheRadioSkipped)
{
    SimFaults faults;
    faults.wrongAddress[0x120] = -1;
    CSimRadio& radio = NewRadio(PatternImage(1), faults);
    StoreDataFile("base.pgm", PatternImage(9));
    const RunResult read = Cli("read --device " + AttachRadio(radio, 1).DevicePath() + " --base " +
                               Path("base.pgm") + " -o " + Path("out.pgm"));
    ASSERT_EQ(read.code, 0) << read.out;
    EXPECT_NE(read.out.find("the radio answered block 0x0120 for another address three times"),
              std::string::npos)
        << read.out;
    EXPECT_NE(read.out.find("these parts keep the starting image's values: channel 18\n"), std::string::npos)
        << read.out;
    const RadioImage out = LoadDataFile("out.pgm");
    const RadioImage base = Prepared(PatternImage(9));
    EXPECT_TRUE(std::equal(out.begin() + 0x120, out.begin() + 0x130, base.begin() + 0x120));
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 0x120, radio.Memory().begin()));
}

// The percentages of the lines "<what> N%", in order.
std::vector<int> ProgressLines(const std::string& output, const std::string& what)
{
    std::vector<int> percents;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(what + " ") && line.ends_with("%"))
            percents.push_back(std::stoi(line.substr(what.size() + 1)));
    }
    return percents;
}

// Standard error is a pipe here, so progress comes as one line per tenth, up to 100 %, even when
// the exchange ends right after its last block or skipped that block.
TEST_F(CliTest, ProgressLinesGoUpATenthAtATimeToOneHundredPercent)
{
    SimFaults faults;
    faults.wrongAddress[0xFF0] = -1;
    CSimRadio& radio = NewRadio(PatternImage(1), faults);
    const std::string device = AttachRadio(radio, 1).DevicePath();
    const RunResult read = Cli("read --device " + device + " -o " + Path("out.pgm"));
    ASSERT_EQ(read.code, 0) << read.out;
    EXPECT_NE(read.out.find("these parts keep the starting image's values: calibration values\n"),
              std::string::npos)
        << read.out;
    const RunResult write = Cli("write --device " + device + " " + Path("out.pgm"));
    ASSERT_EQ(write.code, 0) << write.out;

    for (const auto& [what, output] : {std::pair{"reading", read.out}, std::pair{"writing", write.out},
                                       std::pair{"verifying", write.out}}) {
        const std::vector<int> percents = ProgressLines(output, what);
        ASSERT_GE(percents.size(), 3u) << output;
        EXPECT_EQ(percents.back(), 100) << output;
        for (std::size_t i = 1; i < percents.size(); ++i)
            EXPECT_LT(percents[i - 1] / 10, percents[i] / 10) << output;
    }
}

TEST_F(CliTest, InfoSummarisesAFileAsTextAndJson)
{
    // A new document (channel 1 at the low band edge) with tones, a name and a receive-only channel 2.
    CVantorDoc doc;
    ASSERT_TRUE(doc.OnNewDocument(false));
    CChannelEditor editor(doc);
    doc.StoreToneIndex(1, ToneDir::Rx, 1);
    doc.StoreToneIndex(1, ToneDir::Tx, ToneList::kFirstDcsNormal);
    editor.StoreName(1, "AB1");
    editor.StoreRx(2, "145.50000");
    editor.StoreTx(2, "");
    PrepareImageForTransfer(doc.Image());
    FileError error;
    ASSERT_TRUE(doc.StoreFile(Path("info.pgm"), error)) << std::strerror(error.number);

    const RunResult json = Cli("info --json " + Path("info.pgm"));
    ASSERT_EQ(json.code, 0) << json.out;
    for (const char* expected :
         {"\"model_tag\": \"HZQ708\"", "\"band\": {\"low\": 13600000, \"high\":",
          "\"number\": 1, \"rx\": \"136.00000\"", "\"tx\": \"136.00000\"", "\"rx_tone\": \"67.0\"",
          "\"tx_tone\": \"D023N\"", "\"power\": 1", "\"scan_add\": 0", "\"ptt_id\": 0", "\"name\": \"AB1\"",
          "\"number\": 2, \"rx\": \"145.50000\", \"tx\": \"\"", "\"step\": ", "\"fm_presets\": [",
          "\"SquelchLevel\": ", "\"PttIdCode\": \"\""})
        EXPECT_NE(json.out.find(expected), std::string::npos) << expected << "\n" << json.out;
    EXPECT_EQ(json.out.find("\"number\": 3,"), std::string::npos);
    EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '{'),
              std::count(json.out.begin(), json.out.end(), '}'));

    const RunResult text = Cli("info " + Path("info.pgm"));
    ASSERT_EQ(text.code, 0);
    EXPECT_NE(text.out.find("Channels in use: 2"), std::string::npos) << text.out;
}

// The simulator as a program: device path on the first line, memory saved on exit.
TEST_F(CliTest, SimulatorProgramSavesWhatWasWritten)
{
    StoreDataFile("in.pgm", PatternImage(4));
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const pid_t sim = fork();
    if (sim == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        execl(ZQ708_BIN_DIR "/zq708-sim", "zq708-sim", "--once", "--save", Path("saved.pgm").c_str(),
              nullptr);
        _exit(127);
    }
    close(out[1]);
    FILE* simOut = fdopen(out[0], "r");
    char line[256] = {};
    ASSERT_NE(fgets(line, sizeof line, simOut), nullptr);
    std::string device(line);
    device.erase(device.find_last_not_of('\n') + 1);
    EXPECT_EQ(device.rfind("/dev/", 0), 0u);

    // --once: the simulator is gone before a verifying read could start.
    const RunResult write = Cli("write --no-verify --device " + device + " " + Path("in.pgm"));
    EXPECT_EQ(write.code, 0) << write.out;
    int status = 0;
    if (!Eventually([&] { return waitpid(sim, &status, WNOHANG) != 0; }, std::chrono::seconds(5))) {
        kill(sim, SIGTERM);
        waitpid(sim, &status, 0);
        ADD_FAILURE() << "the simulator did not end after the end byte";
    }
    fclose(simOut);
    const RadioImage saved = LoadDataFile("saved.pgm");
    const RadioImage sent = Prepared(PatternImage(4));
    EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 0xFE0, sent.begin()));
}

} // namespace

namespace {

TEST_F(CliTest, ReadAndWriteKeepBackupsThatBackupsLists)
{
    CSimRadio& radio = NewRadio(PatternImage(1));
    const std::string device = AttachRadio(radio, 1).DevicePath();
    const std::string home = "XDG_DATA_HOME='" + Path("data") + "' ";
    const std::string folder = Path("data/zq708-cps/backups");
    const auto backups = [&] {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };

    const RunResult read = Cli("read --device " + device + " -o " + Path("out.pgm"), home);
    ASSERT_EQ(read.code, 0) << read.out;
    ASSERT_EQ(backups().size(), 1u);
    EXPECT_EQ(backups()[0].substr(19), "_read.pgm");
    EXPECT_EQ(LoadDataFile("data/zq708-cps/backups/" + backups()[0]), radio.Memory());

    StoreDataFile("in.pgm", PatternImage(9));
    const RunResult write = Cli("write --device " + device + " " + Path("in.pgm"), home);
    ASSERT_EQ(write.code, 0) << write.out;
    ASSERT_EQ(backups().size(), 2u);
    const std::string written =
        backups()[0].find("_written") != std::string::npos ? backups()[0] : backups()[1];
    EXPECT_EQ(LoadDataFile("data/zq708-cps/backups/" + written), Prepared(PatternImage(9)));

    const RunResult list = Cli("backups", home);
    ASSERT_EQ(list.code, 0) << list.out;
    std::istringstream lines(list.out);
    std::string first, second, third;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_FALSE(std::getline(lines, third));
    EXPECT_NE(first.find(" written "), std::string::npos) << list.out; // newest first
    EXPECT_NE(second.find(" read "), std::string::npos) << list.out;
    EXPECT_NE(second.find(folder), std::string::npos) << list.out;
    EXPECT_EQ(first.substr(0, 10), written.substr(0, 10)) << list.out; // the date

    // --no-backup and backup=0 keep none.
    ASSERT_EQ(Cli("read --no-backup --device " + device + " -o " + Path("out.pgm"), home).code, 0);
    Setting("setup", "backup", "0");
    ASSERT_EQ(Cli("write --device " + device + " " + Path("in.pgm"), home).code, 0);
    EXPECT_EQ(backups().size(), 2u);
}

TEST_F(CliTest, ABackupThatCannotBeStoredStopsAWriteBeforeItStarts)
{
    CSimRadio& radio = NewRadio(PatternImage(1));
    CSimLine& line = AttachRadio(radio, 1);
    std::ofstream(Path("data")) << "a file where the backup folder should be";
    const std::string home = "XDG_DATA_HOME='" + Path("data") + "' ";
    StoreDataFile("in.pgm", PatternImage(9));

    const RunResult write = Cli("write --device " + line.DevicePath() + " " + Path("in.pgm"), home);
    EXPECT_EQ(write.code, 74) << write.out;
    EXPECT_NE(write.out.find("cannot store the backup: " + Path("data")), std::string::npos) << write.out;
    EXPECT_NE(write.out.find("--no-backup"), std::string::npos) << write.out;
    EXPECT_EQ(line.BytesReceived(), 0u);
    EXPECT_EQ(radio.Memory(), PatternImage(1));

    const RunResult anyway =
        Cli("write --no-backup --device " + line.DevicePath() + " " + Path("in.pgm"), home);
    EXPECT_EQ(anyway.code, 0) << anyway.out;
    EXPECT_NE(radio.Memory(), PatternImage(1));

    // A read has read: the file is there, the exit code says the backup is not.
    const RunResult read = Cli("read --device " + line.DevicePath() + " -o " + Path("out.pgm"), home);
    EXPECT_EQ(read.code, 74) << read.out;
    EXPECT_EQ(LoadDataFile("out.pgm"), radio.Memory());
}

} // namespace
// A write is read back and compared unless --no-verify; the exit code says what the check found.
TEST_F(CliTest, WriteVerifiesByDefault)
{
    StoreDataFile("in.pgm", Prepared(PatternImage(4)));
    struct Case
    {
        const char* name;
        SimFaults faults;
        const char* options;
        int code;
        std::size_t reads; // blocks the verifying read asked for
        const char* says;
    };
    SimFaults lost;
    lost.dropWrite[0x050] = -1;
    SimFaults leaves;
    leaves.silentAfterEnd = 1000;
    const Case cases[] = {
        {"equal", {}, "", 0, 256, "and verified it"},
        {"--verify", {}, "--verify ", 0, 256, "and verified it"},
        {"--no-verify", lost, "--no-verify ", 0, 0, "wrote "},
        {"channel 5 lost", lost, "", 8, 256, "\n  channel 5 "},
        {"radio leaves programming mode", leaves, "", 9, 0,
         "written; could not be verified -- switch the radio off, on in programming mode, and read it to "
         "check"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSimRadio& radio = NewRadio(PatternImage(1), c.faults);
        const std::string device = AttachRadio(radio, 1).DevicePath();
        const RunResult write =
            Cli(std::string("write ") + c.options + "--device " + device + " " + Path("in.pgm"));
        EXPECT_EQ(write.code, c.code) << write.out;
        EXPECT_EQ(radio.ReadAddresses().size(), c.reads);
        EXPECT_NE(write.out.find(c.says), std::string::npos) << write.out;
        EXPECT_EQ(write.out.find("write failed"), std::string::npos) << write.out;
        // What a radio that differs holds is kept, and the message says where.
        const std::size_t kept = write.out.find("what the radio holds was kept as ");
        EXPECT_EQ(kept != std::string::npos, c.code == 8) << write.out;
        if (kept != std::string::npos) {
            const std::string path = write.out.substr(kept + 33, write.out.find('\n', kept) - kept - 33);
            EXPECT_EQ(LoadDataFile(fs::relative(path, m_dir).string()), radio.Memory());
        }
    }
}

// Three radios on one cable, the first refusing a block until it is tried again.
TEST_F(CliTest, WriteRepeatGoesFromRadioToRadioAndRetriesAFailedOne)
{
    StoreDataFile("in.pgm", Prepared(PatternImage(4)));
    SimFaults faults;
    faults.nakWrite[0x300] = 3; // one whole failed write
    CSimRadio& radio = NewRadio(PatternImage(1), faults);
    const std::string device = AttachRadio(radio, 1).DevicePath();
    const std::string data = (m_dir / "data").string();
    // radio 1 (fails), radio 1 again, radio 2, radio 3, stop
    const RunResult run =
        RunCommand("printf '\\n\\n\\n\\nq\\n' | XDG_DATA_HOME='" + data + "' '" + Path("zq708-cli") +
                   "' write --repeat --device " + device + " " + Path("in.pgm"));
    EXPECT_EQ(run.code, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    std::vector<std::string> results;
    while (std::getline(lines, line)) {
        EXPECT_NE(line.find(device + "  5A 51 37 30 38 01 00 00  "), std::string::npos) << line;
        results.push_back(line.substr(0, line.find(' ', 6)) + " " + line.substr(line.rfind("  ") + 2));
    }
    EXPECT_EQ(results, (std::vector<std::string>{"radio 1 failed", "radio 1 verified", "radio 2 verified",
                                                 "radio 3 verified"}))
        << run.out;
    EXPECT_NE(run.err.find("Connect radio 1 again"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Connect radio 4 and"), std::string::npos) << run.err;
    const std::string log = ReadFileBytes(data + "/zq708-cps/backups/fleet-log.csv");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 5) << log; // the header and four radios
}
