#include "radio/DataFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <utility>
#include <sys/stat.h>
#include <unistd.h>

namespace DataFile {

namespace {

// Closes a descriptor when it goes out of scope.
class CFileDescriptor final
{
public:
    explicit CFileDescriptor(int fd) : m_fd(fd) {}
    ~CFileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    int Get() const { return m_fd; }
    // Closes now and reports whether the close succeeded (a late write error shows up here).
    bool Close()
    {
        const int fd = std::exchange(m_fd, -1);
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::string SystemError(const std::string& what, const std::string& path, int err)
{
    return what + " \"" + path + "\": " + std::strerror(err);
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Directory part (without trailing '/', "." when none) and file name of a path.
std::pair<std::string, std::string> SplitPath(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

} // namespace

void StampSignature(FileHeader& header)
{
    std::copy_n(kSignature, kSignatureSize, header.begin());
}

LoadStatus Load(const std::string& path, FileHeader& header, RadioImage& image, std::string& error)
{
    // Non-blocking so that a FIFO given as the path cannot hang the program; it is refused below.
    CFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0) {
        error = SystemError("Cannot open", path, errno);
        return LoadStatus::Failed;
    }
    struct stat info{};
    if (::fstat(file.Get(), &info) != 0) {
        error = SystemError("Cannot open", path, errno);
        return LoadStatus::Failed;
    }
    if (!S_ISREG(info.st_mode)) {
        error = SystemError("Cannot open", path, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
        return LoadStatus::Failed;
    }

    std::array<std::uint8_t, kFileSize> buffer{};
    std::size_t got = 0;
    while (got < buffer.size()) {
        const ssize_t n = ::read(file.Get(), buffer.data() + got, buffer.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = SystemError("Cannot read", path, errno);
            return LoadStatus::Failed;
        }
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

bool Store(const std::string& path, const FileHeader& header, const RadioImage& image, std::string& error)
{
    // Write beside the file a symbolic link points to, so the link survives the rename.
    std::string target = path;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
    }
    struct stat info{};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) {
        error = SystemError("Cannot save", path, EISDIR);
        return false;
    }
    // A write-protected file stays protected, although the rename could replace it.
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        error = SystemError("Cannot save", path, errno);
        return false;
    }

    static std::atomic<unsigned> counter{0};
    const auto [dir, base] = SplitPath(target);
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = (dir == "/" ? "" : dir) + "/." + base + "." + std::to_string(::getpid()) + "." +
               std::to_string(counter++) + ".tmp";
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        error = SystemError("Cannot save", path, errno);
        return false;
    }
    CFileDescriptor file(fd);
    const auto fail = [&](int err) {
        error = SystemError("Cannot save", path, err);
        ::unlink(temp.c_str());
        return false;
    };
    if (exists && ::fchmod(fd, info.st_mode & 07777) != 0)
        return fail(errno);
    if (!WriteAll(fd, header.data(), header.size()) || !WriteAll(fd, image.data(), image.size()) ||
        ::fsync(fd) != 0)
        return fail(errno);
    if (!file.Close())
        return fail(errno);
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return fail(errno);

    // Make the rename itself durable; a failure here no longer endangers the file's content.
    CFileDescriptor directory(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.Get() >= 0)
        ::fsync(directory.Get());
    return true;
}

} // namespace DataFile
