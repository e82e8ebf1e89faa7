// zq708-cli: reads and writes the radio and summarises data files, on the same core code as the
// desktop program.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <future>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "app/AppPaths.h"
#include "i18n/Profile.h"
#include "link/CloneSession.h"
#include "link/PortResolver.h"
#include "link/SerialPort.h"
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
    kUsage = 64,
    kRejected = 65,
    kNoInput = 66,
    kCannotWrite = 73,
    kInterrupted = 130,
};

// What follows the commands in the usage text.
const char kOptionsText[] =
    "\n"
    "  --device PATH  the serial device (or a pseudo-terminal of zq708-sim); never searches\n"
    "  --port N       COMN as the program numbers ports: key COMN of section [ports] of\n"
    "                 setting.ini, else the N-th serial device (USB adapters first)\n"
    "  --no-search    do not search other ports when the radio does not answer\n"
    "Without --device or --port the port is \"com\" of section [setup] of the setting.ini beside\n"
    "this program (an installed copy uses ~/.config/zq708-cps/setting.ini), and other ports are\n"
    "searched unless its \"searchcom\" is 0; a port found by the search is stored there as \"com\".\n"
    "\n"
    "Exit codes: 0 success; 1 port error (cannot open, no answer, no identification);\n"
    "2 not this type of radio; 5 read failed; 7 write failed; 64 usage error; 65 data file\n"
    "rejected (not a ZQ708 data file, or a CSV file without a usable header); 66 input cannot\n"
    "be read; 73 output cannot be written; 130 interrupted. diff exits 1 when the files differ.\n";

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
    bool json = false;
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
        } else if (options.command == "read" && arg == "--base") {
            if (!value(options.base))
                return Usage("--base needs a file");
        } else if (command.output != CliCommand::Output::None && (arg == "-o" || arg == "--output")) {
            if (!value(options.output))
                return Usage("-o needs a file");
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

// Opens the port the options name and runs one clone exchange on `buffer`, showing progress.
// Returns kOk or the exit code after saying why.
int Transfer(const Options& options, CloneDirection direction, RadioImage& buffer)
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
    std::promise<void> finished;
    const std::future<void> done = finished.get_future();
    std::thread worker([&] {
        session.Run(direction);
        finished.set_value();
    });
    CProgressReport progress(direction == CloneDirection::Read ? "reading" : "writing");
    // Back at once when the exchange ends; meanwhile a few looks a second for Ctrl+C and progress.
    do {
        if (g_interrupted && !record.m_cancel) {
            record.m_cancel = true;
            port.Close(); // ends any wait at once
        }
        progress.Show(record);
    } while (done.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready);
    worker.join();
    progress.Show(record);
    progress.Finish();
    port.Close();

    if (g_interrupted) {
        std::fprintf(stderr, "zq708-cli: interrupted; nothing was written%s\n",
                     direction == CloneDirection::Write ? " beyond the blocks already sent" : "");
        return kInterrupted;
    }
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
    return kOk;
}

int Write(const Options& options)
{
    CVantorDoc doc;
    if (const int code = LoadDataFile(doc, options.file); code != kOk)
        return code;
    PrepareImageForTransfer(doc.Image());
    RadioImage buffer = doc.Image();
    if (const int code = Transfer(options, CloneDirection::Write, buffer); code != kOk)
        return code;
    std::fprintf(stderr, "wrote %s to the radio\n", options.file.c_str());
    return kOk;
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

constexpr CliCommand kCommands[] = {
    {"read", "(--device PATH | --port N) [--no-search] [--base FILE.pgm] -o OUT.pgm",
     "reads the radio's whole memory into a new data file. The memory starts as a new\n"
     "       document's (or as --base), so blocks the radio answers for another address keep\n"
     "       those bytes; a warning names the channels and settings they hold. A failed read leaves\n"
     "       no output file.",
     Read, true, 0, CliCommand::Output::Required},
    {"write", "(--device PATH | --port N) [--no-search] IN.pgm",
     "writes a data file to the radio (everything but the calibration area).", Write, true, 1,
     CliCommand::Output::None},
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
