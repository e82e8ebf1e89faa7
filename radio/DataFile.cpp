#include "radio/DataFile.h"

#include "app/FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DataFile {

namespace {

// Sets `error` and returns Failed.
LoadStatus Fail(FileError& error, FileAction action, int number)
{
    error = {action, number};
    return LoadStatus::Failed;
}

} // namespace

void StampSignature(FileHeader& header)
{
    std::copy_n(kSignature, kSignatureSize, header.begin());
}

LoadStatus Load(const std::string& path, FileHeader& header, RadioImage& image, FileError& error)
{
    // Non-blocking so that a FIFO given as the path cannot hang the program; it is refused below.
    CFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0)
        return Fail(error, FileAction::Open, errno);
    struct stat info
    {
    };
    if (::fstat(file.Get(), &info) != 0)
        return Fail(error, FileAction::Open, errno);
    if (!S_ISREG(info.st_mode))
        return Fail(error, FileAction::Open, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);

    std::array<std::uint8_t, kFileSize> buffer{};
    std::size_t got = 0;
    while (got < buffer.size()) {
        const ssize_t n = ::read(file.Get(), buffer.data() + got, buffer.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Fail(error, FileAction::Read, errno);
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }

    if (got < kCheckedSize || !std::equal(buffer.begin(), buffer.begin() + kCheckedSize, kSignature))
        return LoadStatus::WrongSignature;
    const std::size_t headerBytes = std::min(got, kHeaderSize);
    std::copy_n(buffer.begin(), headerBytes, header.begin());
    if (got > kHeaderSize)
        std::copy_n(buffer.begin() + kHeaderSize, got - kHeaderSize, image.begin());
    return LoadStatus::Loaded;
}

bool Store(const std::string& path, const FileHeader& header, const RadioImage& image, FileError& error)
{
    std::string bytes(header.begin(), header.end());
    bytes.append(image.begin(), image.end());
    error = {FileAction::Save, FileSave::Replace(path, bytes)};
    return error.number == 0;
}

} // namespace DataFile
