// zq708-sim: a simulated radio on a pseudo-terminal. Prints the device path on its first line,
// then answers the clone protocol until interrupted, until it hangs up, or (--once) after the
// first exchange that ended with the end byte.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <thread>

#include "app/AppPaths.h"
#include "radio/VantorDoc.h"
#include "tools/sim/SimLine.h"
#include "tools/sim/SimRadio.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int)
{
    g_stop = 1;
}

void PrintUsage(std::FILE* out)
{
    std::fputs("Usage: zq708-sim [options]\n"
               "A simulated radio on a pseudo-terminal. The first line of output is the device path to\n"
               "open (zq708-cli --device PATH, or COMn=PATH in section [ports] of setting.ini).\n"
               "\n"
               "  --image FILE.pgm     start with this memory (default: a new document's image)\n"
               "  --save FILE.pgm      save the memory to this data file on exit\n"
               "  --pace               send and receive at the speed of 9600 baud 8N1\n"
               "  --once               exit after the first exchange that ends with the end byte\n"
               "Faults (ADDR is a block address such as 0x100; :TIMES limits how often, default always):\n"
               "  --wake-at N          answer the wake-up only at attempt N\n"
               "  --junk N             N junk bytes (up to 1024) waiting at start and after every\n"
               "                       unanswered wake-up\n"
               "  --ident-len N        send only N identification bytes (0..8)\n"
               "  --wrong-address ADDR[:TIMES]  reply to a read of ADDR with another address\n"
               "  --short-reply ADDR[:TIMES]    reply to a read of ADDR with 12 bytes only\n"
               "  --nak ADDR[:TIMES]            answer a written block at ADDR with NAK\n"
               "  --silent ADDR[:TIMES]         do not answer a written block at ADDR\n"
               "  --hang-up-after B    drop the line after answering B blocks\n"
               "  --drop-write ADDR[:TIMES]     acknowledge a written block at ADDR without storing it\n"
               "  --corrupt-write ADDR[:TIMES]  store a written block at ADDR with its first byte changed\n"
               "  --silent-after-end N leave the next N wake-ups after each end byte unanswered (a radio\n"
               "                       that leaves programming mode after an exchange)\n"
               "  --help               show this text\n",
               out);
}

bool ParseCount(const char* text, int& value, int low, int high)
{
    char* end = nullptr;
    const long v = std::strtol(text, &end, 0);
    if (*text == '\0' || *end != '\0' || v < low || v > high)
        return false;
    value = static_cast<int>(v);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    InitAppPaths(ExecutableDir());
    std::string imagePath;
    std::string savePath;
    bool paced = false;
    bool once = false;
    SimFaults faults;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto bad = [&arg]() {
            std::fprintf(stderr, "zq708-sim: bad or missing value for %s (see --help)\n", arg.c_str());
            return 64;
        };
        static const std::set<std::string> kWithValue = {
            "--image",           "--save", "--wake-at", "--junk",          "--ident-len",  "--wrong-address",
            "--short-reply",     "--nak",  "--silent",  "--hang-up-after", "--drop-write", "--corrupt-write",
            "--silent-after-end"};
        if (kWithValue.count(arg) != 0 && i + 1 >= argc)
            return bad();
        if (arg == "--help") {
            PrintUsage(stdout);
            return 0;
        } else if (arg == "--pace") {
            paced = true;
        } else if (arg == "--once") {
            once = true;
        } else if (arg == "--image") {
            imagePath = argv[++i];
        } else if (arg == "--save") {
            savePath = argv[++i];
        } else if (arg == "--wake-at") {
            if (!ParseCount(argv[++i], faults.wakeUpAtAttempt, 1, 1000))
                return bad();
        } else if (arg == "--junk") {
            if (!ParseCount(argv[++i], faults.junkBytes, 0, 1024))
                return bad();
        } else if (arg == "--ident-len") {
            if (!ParseCount(argv[++i], faults.identLength, 0, 8))
                return bad();
        } else if (arg == "--hang-up-after") {
            if (!ParseCount(argv[++i], faults.hangUpAfterBlocks, 0, 100000))
                return bad();
        } else if (arg == "--silent-after-end") {
            if (!ParseCount(argv[++i], faults.silentAfterEnd, 0, 100000))
                return bad();
        } else if (arg == "--wrong-address" || arg == "--short-reply" || arg == "--nak" ||
                   arg == "--silent" || arg == "--drop-write" || arg == "--corrupt-write") {
            std::map<int, int>& map = arg == "--wrong-address" ? faults.wrongAddress
                                      : arg == "--short-reply" ? faults.shortReply
                                      : arg == "--nak"         ? faults.nakWrite
                                      : arg == "--silent"      ? faults.silentWrite
                                      : arg == "--drop-write"  ? faults.dropWrite
                                                               : faults.corruptWrite;
            if (!ParseFaultBlock(argv[++i], map))
                return bad();
        } else {
            std::fprintf(stderr, "zq708-sim: unknown option %s (see --help)\n", arg.c_str());
            return 64;
        }
    }

    CVantorDoc doc;
    if (imagePath.empty()) {
        doc.OnNewDocument(false);
        PrepareImageForTransfer(doc.Image()); // a radio carries its model tag and bookkeeping bytes
    } else {
        FileError error;
        const DataFile::LoadStatus status = doc.LoadFile(imagePath, error);
        if (status != DataFile::LoadStatus::Loaded) {
            std::fprintf(stderr, "zq708-sim: cannot use %s: %s\n", imagePath.c_str(),
                         status == DataFile::LoadStatus::WrongSignature ? "not a ZQ708 data file"
                                                                        : std::strerror(error.number));
            return 66;
        }
    }

    CSimRadio radio(doc.Image(), faults);
    CSimLine line(radio, paced);
    if (!line.Start()) {
        std::fprintf(stderr, "zq708-sim: no pseudo-terminal available: %s\n", std::strerror(errno));
        return 71;
    }
    std::printf("%s\n", line.DevicePath().c_str());
    std::fflush(stdout);

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGHUP, OnSignal);
    while (!g_stop && !line.Finished() && !(once && radio.EndBytesSeen() > 0))
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    line.Stop();

    std::printf("received %llu bytes, sent %llu bytes\n",
                static_cast<unsigned long long>(line.BytesReceived()),
                static_cast<unsigned long long>(line.BytesSent()));
    if (!savePath.empty()) {
        doc.Image() = radio.Memory();
        FileError error;
        if (!doc.StoreFile(savePath, error)) {
            std::fprintf(stderr, "zq708-sim: cannot save %s: %s\n", savePath.c_str(),
                         std::strerror(error.number));
            return 73;
        }
    }
    return 0;
}
