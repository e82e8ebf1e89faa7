// zq708-cli: reads and writes the radio and summarises data files, on the same core code as the
// desktop program.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <future>
#include <map>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "app/AppPaths.h"
#include "app/BackupStore.h"
#include "i18n/Profile.h"
#include "link/CloneSession.h"
#include "link/FleetLog.h"
#include "link/PortResolver.h"
#include "link/SerialPort.h"
#include "link/WriteCheck.h"
#include "radio/ChannelCsv.h"
#include "radio/ImageDiff.h"
#include "radio/ImageParts.h"
#include "radio/VantorDoc.h"
#include "tools/cli/InfoReport.h"

namespace {

enum ExitCode
{
    kOk = 0,
    kPortError = 1,
    kTypeError = 2,
    kReadFailed = 5,
    kWriteFailed = 7,
    kVerifyDiffers = 8,
    kNotVerified = 9,
    kUsage = 64,
    kRejected = 65,
    kNoInput = 66,
    kCannotWrite = 73,
    kNoBackup = 74,
    kInterrupted = 130,
};

// What follows the commands in the usage text.
const char kOptionsText[] =
    "\n"
    "  --device PATH  the serial device (or a pseudo-terminal of zq708-sim); never searches\n"
    "  --port N       COMN as the program numbers ports: key COMN of section [ports] of\n"
    "                 setting.ini, else the N-th serial device (USB adapters first)\n"
    "  --no-search    do not search other ports when the radio does not answer\n"
    "  --no-backup    keep no backup of the memory read or about to be written (see backups)\n"
    "Without --device or --port the port is \"com\" of section [setup] of the setting.ini beside\n"
    "this program (an installed copy uses ~/.config/zq708-cps/setting.ini), and other ports are\n"
    "searched unless its \"searchcom\" is 0; a port found by the search is stored there as \"com\".\n"
    "\n"
    "Exit codes: 0 success; 1 port error (cannot open, no answer, no identification);\n"
    "2 not this type of radio; 5 read failed; 7 write failed; 8 written, but the verifying read\n"
    "found other values in the radio; 9 written, but the radio did not answer the verifying read;\n"
    "64 usage error; 65 data file rejected (not a ZQ708 data file, or a CSV file without a usable\n"
    "header); 66 input cannot be read; 73 output cannot be written; 74 the backup cannot be stored;\n"
    "130 interrupted. diff exits 1 when the files differ; write --repeat exits with the code of the\n"
    "last radio that did not succeed, 0 when every radio did.\n";

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int)
{
    g_interrupted = true;
}

struct Options
{
    std::string command;
    std::string device;
    int port = 0; // 0: from setting.ini
    bool noSearch = false;
    bool noBackup = false;
    bool json = false;
    bool verify = true;
    bool repeat = false;
    std::string base;
    std::string output;
    std::string file;  // the input of write and info
    std::string file2; // the CSV file of import-csv, the second data file of diff
};

// One command of the tool: its line in the usage text, what it takes and the function that runs it.
struct CliCommand
{
    enum class Output
    {
        None,
        Optional,
        Required
    };

    const char* name;
    const char* synopsis; // what follows the name on the command line
    const char* help;     // the paragraph of the usage text after the name
    int (*run)(const Options& options);
    bool transfer; // talks to the radio: --device, --port, --no-search
    int files;     // files named on the command line: 0, 1 or 2
    Output output; // -o
};

std::string UsageText();

int Usage(const std::string& problem)
{
    std::fprintf(stderr, "zq708-cli: %s\n\n%s", problem.c_str(), UsageText().c_str());
    return kUsage;
}

// Reads the arguments after the command's name; returns kOk or the exit code of a usage error
// (already reported).
int ParseOptions(int argc, char** argv, const CliCommand& command, Options& options)
{
    options.command = command.name;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0')
                return false;
            into = argv[++i];
            return true;
        };
        if (command.transfer && arg == "--device") {
            if (!value(options.device))
                return Usage("--device needs a path");
        } else if (command.transfer && arg == "--port") {
            std::string text;
            char* end = nullptr;
            if (!value(text) ||
                (options.port = static_cast<int>(std::strtol(text.c_str(), &end, 10)), *end != '\0') ||
                options.port < 1 || options.port > 255)
                return Usage("--port needs a number from 1 to 255");
        } else if (command.transfer && arg == "--no-search") {
            options.noSearch = true;
        } else if (command.transfer && arg == "--no-backup") {
            options.noBackup = true;
        } else if (options.command == "read" && arg == "--base") {
            if (!value(options.base))
                return Usage("--base needs a file");
        } else if (command.output != CliCommand::Output::None && (arg == "-o" || arg == "--output")) {
            if (!value(options.output))
                return Usage("-o needs a file");
        } else if (options.command == "write" && (arg == "--verify" || arg == "--no-verify")) {
            options.verify = arg == "--verify";
        } else if (options.command == "write" && arg == "--repeat") {
            options.repeat = true;
        } else if (options.command == "info" && arg == "--json") {
            options.json = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option " + arg + " for " + options.command);
        } else if (command.files >= 1 && options.file.empty()) {
            options.file = arg;
        } else if (command.files >= 2 && options.file2.empty()) {
            options.file2 = arg;
        } else {
            return Usage("unexpected argument " + arg);
        }
    }
    if (!options.device.empty() && options.port != 0)
        return Usage("give either --device or --port, not both");
    const int files = options.file.empty() ? 0 : options.file2.empty() ? 1 : 2;
    if (files < command.files || (command.output == CliCommand::Output::Required && options.output.empty()))
        return Usage(options.command + " takes " + command.synopsis);
    return kOk;
}

const char* Reason(PortOpenError error)
{
    switch (error) {
    case PortOpenError::Missing:
        return "no such device";
    case PortOpenError::PermissionDenied:
        return "permission denied: add your user to the dialout group (sudo usermod -aG dialout $USER) "
               "and log in again";
    case PortOpenError::Busy:
        return "in use by another program";
    case PortOpenError::NotSerial:
        return "not a serial device";
    default:
        return "cannot be opened";
    }
}

// Loads a data file into the document; returns kOk or the exit code after saying why.
int LoadDataFile(CVantorDoc& doc, const std::string& path)
{
    FileError error;
    switch (doc.LoadFile(path, error)) {
    case DataFile::LoadStatus::Loaded:
        return kOk;
    case DataFile::LoadStatus::WrongSignature:
        std::fprintf(stderr, "zq708-cli: %s is not a ZQ708 data file\n", path.c_str());
        return kRejected;
    case DataFile::LoadStatus::Failed:
        break;
    }
    std::fprintf(stderr, "zq708-cli: cannot read %s: %s\n", path.c_str(), std::strerror(error.number));
    return kNoInput;
}

// Shows the progress on standard error: a bar on a terminal, a line per tenth otherwise.
class CProgressReport
{
public:
    explicit CProgressReport(const char* what) : m_what(what), m_terminal(isatty(STDERR_FILENO) == 1) {}

    void Show(const CloneStatusRecord& record)
    {
        const CloneStatus status = record.m_status;
        // The exchange reports done right after its last block, often before a poll has seen 100.
        const bool done = status == CloneStatus::ReadDone || status == CloneStatus::WriteDone;
        const int progress = done ? 100 : record.m_progress.load();
        if (status == CloneStatus::Searching && progress != m_lastPort) {
            m_lastPort = progress;
            Line("searching: trying COM" + std::to_string(progress));
        } else if ((status == CloneStatus::Reading || status == CloneStatus::Writing || done) &&
                   progress != m_lastPercent) {
            m_lastPercent = progress;
            if (m_terminal) {
                const int filled = progress * 40 / 100;
                std::fprintf(stderr, "\r%s [%s%s] %3d%%", m_what,
                             std::string(static_cast<std::size_t>(filled), '#').c_str(),
                             std::string(static_cast<std::size_t>(40 - filled), '.').c_str(), progress);
                m_open = true;
            } else if (progress / 10 != m_lastTenth) {
                m_lastTenth = progress / 10;
                std::fprintf(stderr, "%s %d%%\n", m_what, progress);
            }
        }
    }

    void Finish()
    {
        if (m_open)
            std::fputc('\n', stderr);
        m_open = false;
    }

private:
    void Line(const std::string& text)
    {
        Finish();
        std::fprintf(stderr, "%s\n", text.c_str());
    }

    const char* m_what;
    bool m_terminal;
    bool m_open = false;
    int m_lastPort = -1;
    int m_lastPercent = -1;
    int m_lastTenth = -1;
};

// Names the blocks a read skipped and the parts of the memory they hold.
void WarnOfSkippedBlocks(const std::vector<int>& addresses)
{
    std::string blocks;
    for (const int address : addresses) {
        char text[8];
        std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(address));
        blocks += (blocks.empty() ? "" : ", ") + std::string(text);
    }
    std::string parts;
    for (const ImagePartSpan& span : PartsOfBlocks(addresses))
        parts += (parts.empty() ? "" : ", ") + EnglishPartText(span);
    std::fprintf(stderr,
                 "zq708-cli: warning: the radio answered block%s %s for another address three times; "
                 "these parts keep the starting image's values: %s\n",
                 addresses.size() == 1 ? "" : "s", blocks.c_str(), parts.c_str());
}

// What a write came to beyond its exit code.
struct WriteDetails
{
    bool verify = false; // go on with the verifying read after a successful write
    CWriteCheck check;
    CWriteCheck::Outcome outcome = CWriteCheck::Outcome::NotVerified;
    std::string port; // as the user knows it
    CloneIdent ident{};
};

// Opens the port the options name and runs one clone exchange on `buffer`, showing progress. With
// `details` and its verify flag, a write that succeeds goes on with the verifying read.
// Returns kOk or the exit code after saying why.
int Transfer(const Options& options, CloneDirection direction, RadioImage& buffer,
             WriteDetails* details = nullptr)
{
    CSerialPort port;
    bool allowSearch = !options.noSearch && options.device.empty();
    std::string name;
    if (!options.device.empty()) {
        name = options.device;
        port.OpenDevice(options.device, kCableBaud);
    } else {
        const int n = options.port != 0 ? options.port : ConfiguredPort(g_strSettingFile);
        name = "COM" + std::to_string(n);
        const std::string path = ResolvePortPath(n);
        if (!path.empty())
            name += " (" + path + ")";
        port.Open(n, kCableBaud);
    }
    if (details)
        details->port = name;
    if (!port.IsOpen()) {
        const bool searches = allowSearch && PortSearchEnabled(g_strSettingFile);
        std::fprintf(stderr, "zq708-cli: %s: %s%s\n", name.c_str(), Reason(port.LastOpenError()),
                     searches ? "; searching other ports" : "");
        if (!searches)
            return kPortError;
    }

    CloneStatusRecord record;
    record.Reset();
    CCloneSession session(port, record, buffer, g_strSettingFile);
    session.SetSearchAllowed(allowSearch);
    std::atomic<bool> checking{false};
    std::promise<void> finished;
    const std::future<void> done = finished.get_future();
    std::thread worker([&] {
        session.Run(direction);
        if (details && details->verify && record.m_status == CloneStatus::WriteDone && !record.m_cancel) {
            checking = true;
            details->outcome = details->check.Run(port, record, buffer, g_strSettingFile);
        }
        finished.set_value();
    });
    CProgressReport progress(direction == CloneDirection::Read ? "reading" : "writing");
    CProgressReport verifying("verifying");
    // Back at once when the exchange ends; meanwhile a few looks a second for Ctrl+C and progress.
    do {
        if (g_interrupted && !record.m_cancel) {
            record.m_cancel = true;
            port.Close(); // ends any wait at once
        }
        (checking ? verifying : progress).Show(record);
    } while (done.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready);
    worker.join();
    if (details)
        details->ident = session.Identification();
    (checking ? verifying : progress).Show(record);
    progress.Finish();
    verifying.Finish();
    port.Close();

    if (g_interrupted) {
        std::fprintf(stderr, "zq708-cli: interrupted; nothing was written%s\n",
                     direction == CloneDirection::Write ? " beyond the blocks already sent" : "");
        return kInterrupted;
    }
    if (checking)
        return kOk; // written; the check's outcome says the rest
    if (!session.SkippedBlocks().empty())
        WarnOfSkippedBlocks(session.SkippedBlocks());
    switch (record.m_status.load()) {
    case CloneStatus::ReadDone:
    case CloneStatus::WriteDone:
        return kOk;
    case CloneStatus::TypeError:
        std::fprintf(stderr, "zq708-cli: the radio's identification is too short: not a ZQ708?\n");
        return kTypeError;
    case CloneStatus::ReadFailed:
        std::fprintf(stderr, "zq708-cli: read failed: a block came back short three times\n");
        return kReadFailed;
    case CloneStatus::WriteFailed:
        std::fprintf(stderr, "zq708-cli: write failed: a block was not acknowledged three times\n");
        return kWriteFailed;
    default:
        std::fprintf(stderr,
                     "zq708-cli: no answer from the radio (check the cable and that the radio is on)\n");
        return kPortError;
    }
}

// Keeps the memory as a backup unless --no-backup or [setup] backup=0 say not to. Returns kOk or
// kNoBackup after saying why.
int BackUp(const Options& options, const RadioImage& image, const char* kind)
{
    if (options.noBackup || !BackupsEnabled(g_strSettingFile))
        return kOk;
    std::string path;
    std::string error;
    if (CBackupStore().Store(image, kind, path, error))
        return kOk;
    std::fprintf(stderr, "zq708-cli: cannot store the backup: %s; give --no-backup to go on without one\n",
                 error.c_str());
    return kNoBackup;
}

int Read(const Options& options)
{
    CVantorDoc doc;
    if (!options.base.empty()) {
        if (const int code = LoadDataFile(doc, options.base); code != kOk)
            return code;
    } else {
        doc.OnNewDocument(false);
    }
    // Say so before the radio is busy for half a minute, not after: a file there must be writable,
    // a new one needs a folder that takes it.
    const std::filesystem::path out = std::filesystem::absolute(options.output);
    std::error_code ec;
    const bool exists = std::filesystem::exists(out, ec);
    if (std::filesystem::is_directory(out, ec) || !std::filesystem::is_directory(out.parent_path(), ec) ||
        access((exists ? out : out.parent_path()).c_str(), W_OK) != 0) {
        std::fprintf(stderr, "zq708-cli: cannot write %s\n", options.output.c_str());
        return kCannotWrite;
    }

    PrepareImageForTransfer(doc.Image());
    RadioImage buffer = doc.Image();
    if (const int code = Transfer(options, CloneDirection::Read, buffer); code != kOk)
        return code;
    doc.Image() = buffer;
    FileError error;
    if (!doc.StoreFile(options.output, error)) {
        std::fprintf(stderr, "zq708-cli: cannot write %s: %s\n", options.output.c_str(),
                     std::strerror(error.number));
        return kCannotWrite;
    }
    std::fprintf(stderr, "read the radio into %s\n", options.output.c_str());
    return BackUp(options, buffer, "read");
}

// Keeps what a radio holds after a write that differs, and says where.
void KeepReadBack(const CWriteCheck& check)
{
    std::string path;
    std::string error;
    if (check.KeepReadBack(path, error))
        std::fprintf(stderr, "zq708-cli: what the radio holds was kept as %s\n", path.c_str());
    else
        std::fprintf(stderr, "zq708-cli: what the radio holds could not be kept as a backup: %s\n",
                     error.c_str());
}

// Appends the radios written to the fleet log, or says why it could not.
void AppendFleetLog(const std::vector<FleetEntry>& entries)
{
    std::string error;
    if (!entries.empty() && !CFleetLog::Append(CFleetLog::Path(), entries, error))
        std::fprintf(stderr, "zq708-cli: the list could not be added to the fleet log: %s\n", error.c_str());
}

// Writes `image` to one radio and verifies it unless --no-verify; says how it went and returns its
// exit code. `entry` gets the port, identification and result for the fleet list.
int WriteRadio(const Options& options, const RadioImage& image, FleetEntry& entry)
{
    RadioImage buffer = image;
    WriteDetails details;
    details.verify = options.verify;
    const int code = Transfer(options, CloneDirection::Write, buffer, &details);
    entry.time = std::time(nullptr);
    entry.port = details.port;
    entry.ident = details.ident;
    entry.result = FleetResult::Failed;
    if (code != kOk)
        return code;
    if (!options.verify) {
        entry.result = FleetResult::Written;
        return kOk;
    }
    entry.result = CFleetLog::ResultOf(details.outcome);
    switch (entry.result) {
    case FleetResult::Verified:
    case FleetResult::Written:
        return kOk;
    case FleetResult::Differs:
        std::fprintf(stderr, "zq708-cli: written, but the radio holds other values:\n");
        for (const std::string& line : details.check.Lines())
            std::fprintf(stderr, "  %s\n", line.c_str());
        KeepReadBack(details.check);
        return kVerifyDiffers;
    case FleetResult::NotVerified:
        std::fprintf(stderr, "zq708-cli: written; could not be verified -- switch the radio off, on in "
                             "programming mode, and read it to check\n");
        return kNotVerified;
    case FleetResult::Failed:
        break;
    }
    return kInterrupted; // only a cancelled check leaves a written radio without a result
}

// One radio after another: Enter writes the next (or retries a failed one), q or the end of input
// stops. One line per radio on standard output; the list goes to the fleet log at the end.
int WriteRepeatedly(const Options& options, const RadioImage& image)
{
    bool retry = false;
    std::vector<FleetEntry> entries;
    std::map<int, int> lastCodes; // per radio, the exit code of its last attempt
    for (int n = 1; !g_interrupted;) {
        std::fprintf(
            stderr,
            retry ? "Connect radio %d again and switch it on in programming mode; Enter retries it, "
                    "s skips to the next, q stops: "
                  : "Connect radio %d and switch it on in programming mode; Enter writes it, q stops: ",
            n);
        char answer[64];
        if (!std::fgets(answer, sizeof answer, stdin) || answer[0] == 'q' || answer[0] == 'Q')
            break;
        if (retry && (answer[0] == 's' || answer[0] == 'S')) {
            retry = false;
            ++n;
            continue;
        }
        FleetEntry entry;
        entry.number = n;
        const int code = WriteRadio(options, image, entry);
        if (code == kInterrupted)
            break;
        entries.push_back(entry);
        std::printf("radio %d  %s  %s  %s  %s\n", n, CFleetLog::TimeText(entry.time).c_str(),
                    entry.port.c_str(), HexBytes(entry.ident.data(), entry.ident.size()).c_str(),
                    CFleetLog::ResultWord(entry.result));
        std::fflush(stdout);
        // A radio that differs was written: the next one is due, the list keeps what it holds.
        lastCodes[n] = code;
        retry = entry.result == FleetResult::Failed;
        if (!retry)
            ++n;
    }
    AppendFleetLog(entries);
    if (g_interrupted)
        return kInterrupted;
    int exitCode = kOk;
    for (const auto& [number, code] : lastCodes)
        exitCode = code != kOk ? code : exitCode;
    return exitCode;
}

int Write(const Options& options)
{
    CVantorDoc doc;
    if (const int code = LoadDataFile(doc, options.file); code != kOk)
        return code;
    PrepareImageForTransfer(doc.Image());
    if (const int code = BackUp(options, doc.Image(), "written"); code != kOk)
        return code;
    if (options.repeat)
        return WriteRepeatedly(options, doc.Image());
    FleetEntry entry;
    const int code = WriteRadio(options, doc.Image(), entry);
    if (code == kOk)
        std::fprintf(stderr, "wrote %s to the radio%s\n", options.file.c_str(),
                     options.verify ? " and verified it" : "");
    return code;
}

int Info(const Options& options)
{
    CVantorDoc doc;
    if (const int code = LoadDataFile(doc, options.file); code != kOk)
        return code;
    const std::string text = options.json ? InfoJson(doc) : InfoText(doc);
    std::fputs(text.c_str(), stdout);
    return kOk;
}

int ExportCsv(const Options& options)
{
    CVantorDoc doc;
    if (const int code = LoadDataFile(doc, options.file); code != kOk)
        return code;
    const std::string text = CChannelCsv(doc).Export();
    if (options.output.empty()) {
        std::fputs(text.c_str(), stdout);
        return kOk;
    }
    if (const int err = FileSave::Replace(options.output, text); err != 0) {
        std::fprintf(stderr, "zq708-cli: cannot write %s: %s\n", options.output.c_str(), std::strerror(err));
        return kCannotWrite;
    }
    return kOk;
}

int ImportCsv(const Options& options)
{
    CVantorDoc doc;
    if (const int code = LoadDataFile(doc, options.file); code != kOk)
        return code;
    std::string text;
    if (!CChannelCsv::ReadFile(options.file2, text)) {
        std::fprintf(stderr, "zq708-cli: cannot read %s\n", options.file2.c_str());
        return kNoInput;
    }
    CChannelCsv csv(doc);
    const CsvImportReport report = csv.Import(text);
    if (!report.headerFound) {
        std::fprintf(stderr, "zq708-cli: %s: %s\n", options.file2.c_str(), CChannelCsv::NoHeaderText());
        return kRejected;
    }
    for (const CsvRowNote& note : report.rejected)
        std::fprintf(stderr, "zq708-cli: %s: not imported: %s\n", options.file2.c_str(),
                     CChannelCsv::NoteText(note).c_str());
    for (const CsvRowNote& note : report.adjusted)
        std::fprintf(stderr, "zq708-cli: %s: warning: %s\n", options.file2.c_str(),
                     CChannelCsv::NoteText(note).c_str());
    PrepareImageForTransfer(doc.Image()); // as Save does
    FileError error;
    if (!doc.StoreFile(options.output, error)) {
        std::fprintf(stderr, "zq708-cli: cannot write %s: %s\n", options.output.c_str(),
                     std::strerror(error.number));
        return kCannotWrite;
    }
    std::fprintf(stderr, "imported %d channel%s into %s; %zu row%s not imported\n", report.imported,
                 report.imported == 1 ? "" : "s", options.output.c_str(), report.rejected.size(),
                 report.rejected.size() == 1 ? "" : "s");
    return kOk;
}

int Diff(const Options& options)
{
    CVantorDoc a;
    CVantorDoc b;
    if (const int code = LoadDataFile(a, options.file); code != kOk)
        return code;
    if (const int code = LoadDataFile(b, options.file2); code != kOk)
        return code;
    const std::vector<std::string> lines = CImageDiff::Compare(a, b);
    for (const std::string& line : lines)
        std::printf("%s\n", line.c_str());
    return lines.empty() ? kOk : 1; // 1: the files differ
}

int Backups(const Options&)
{
    const CBackupStore store;
    for (const BackupEntry& entry : store.List()) {
        std::tm local{};
        ::localtime_r(&entry.time, &local);
        char date[32];
        std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local);
        const BackupSummary summary = SummarizeBackup(entry.path);
        std::string names;
        for (const std::string& name : summary.names)
            names += (names.empty() ? "" : ", ") + name;
        std::printf("%s  %-8s %-24s %3d channel%s%s%s  %s\n", date, entry.kind.c_str(),
                    summary.loaded ? summary.band.c_str() : "(unreadable)", summary.channels,
                    summary.channels == 1 ? " " : "s", names.empty() ? "" : "  ", names.c_str(),
                    entry.path.c_str());
    }
    return kOk;
}

constexpr CliCommand kCommands[] = {
    {"read", "(--device PATH | --port N) [--no-search] [--no-backup] [--base FILE.pgm] -o OUT.pgm",
     "reads the radio's whole memory into a new data file. The memory starts as a new\n"
     "       document's (or as --base), so blocks the radio answers for another address keep\n"
     "       those bytes; a warning names the channels and settings they hold. A failed read leaves\n"
     "       no output file. The memory read is also kept as a backup (see backups).",
     Read, true, 0, CliCommand::Output::Required},
    {"write", "(--device PATH | --port N) [--no-search] [--no-backup] [--no-verify] [--repeat] IN.pgm",
     "writes a data file to the radio (everything but the calibration area), after keeping\n"
     "       the memory about to be written as a backup (when it cannot be kept, nothing is written),\n"
     "       then reads the radio again and compares (--verify, the default; --no-verify skips it) and\n"
     "       lists what differs. --repeat writes one radio after another: Enter for the next radio, q\n"
     "       to stop; a failed radio can be retried; one line per radio on standard output.",
     Write, true, 1, CliCommand::Output::None},
    {"info", "[--json] FILE.pgm",
     "prints a summary of a data file: model tag, band, channels in use, VFOs,\n"
     "       FM presets and function settings; --json prints one JSON object.",
     Info, false, 1, CliCommand::Output::None},
    {"export-csv", "FILE.pgm [-o OUT.csv]",
     "writes the channels in use as CSV (Location,Name,Frequency,Duplex,Offset,Tone,...),\n"
     "       to standard output without -o.",
     ExportCsv, false, 1, CliCommand::Output::Optional},
    {"import-csv", "FILE.pgm IN.csv -o OUT.pgm",
     "stores the rows of a CSV file (comma or semicolon separated, columns found by\n"
     "       their header) into the channels of FILE.pgm by the channel table's rules and saves\n"
     "       the result as OUT.pgm; channels the file does not name are kept. Rows that cannot\n"
     "       be stored, and values the radio had to change, are listed on standard error.",
     ImportCsv, false, 2, CliCommand::Output::Required},
    {"backups", "",
     "lists the backups, newest first: date, what happened (read, written), band, channels in\n"
     "       use, the first channel names and the file. Every read and every write keeps one in\n"
     "       $XDG_DATA_HOME/zq708-cps/backups (else ~/.local/share/zq708-cps/backups); the newest 200\n"
     "       are kept, and every one younger than 30 days. [setup] backup=0 in setting.ini turns\n"
     "       them off.",
     Backups, false, 0, CliCommand::Output::None},
    {"diff", "A.pgm B.pgm", "prints every difference between two data files; exit 0 when equal, 1 when not.",
     Diff, false, 2, CliCommand::Output::None},
};

// The usage text: a line per command, a paragraph per command, then the options and exit codes.
std::string UsageText()
{
    // Names padded to the width of "write", so that the short ones line up.
    const auto padded = [](const char* name) {
        const std::string text = name;
        return text + std::string(text.size() < 5 ? 5 - text.size() : 0, ' ');
    };
    std::string text = "Usage:\n";
    for (const CliCommand& command : kCommands)
        text += "  zq708-cli " + padded(command.name) + " " + command.synopsis + "\n";
    text += "\n";
    for (const CliCommand& command : kCommands)
        text += padded(command.name) + "  " + command.help + "\n";
    return text + kOptionsText;
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(UsageText().c_str(), stdout);
            return kOk;
        }
    }
    if (argc < 2)
        return Usage("no command given");
    const CliCommand* command =
        std::find_if(std::begin(kCommands), std::end(kCommands),
                     [argv](const CliCommand& c) { return std::strcmp(c.name, argv[1]) == 0; });
    if (command == std::end(kCommands))
        return Usage("unknown command \"" + std::string(argv[1]) + "\"");
    Options options;
    if (const int code = ParseOptions(argc, argv, *command, options); code != kOk)
        return code;
    InitAppPaths(ExecutableDir());
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);

    return command->run(options);
}
