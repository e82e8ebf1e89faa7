#include "app/FileSave.h"

#include "app/FileDescriptor.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileSave {

namespace {

// 0 when the call succeeded, else its errno.
int ErrorOf(bool ok)
{
    return ok ? 0 : errno;
}

// Writes `bytes` from the start of the file; `done` counts the bytes written, also on failure.
int WriteFromStart(int fd, std::string_view bytes, std::size_t& done)
{
    done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// Reads the whole file from its start into `out`, sized to the file beforehand.
int ReadFromStart(int fd, std::string& out)
{
    std::size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = ::pread(fd, out.data() + got, out.size() - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    out.resize(got);
    return 0;
}

// Directory part of a path (without trailing '/', "." when none).
std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates a new, hidden temporary file beside `target`; -1 with errno set when none can be made.
int CreateTemporary(const std::string& target, std::string& temp)
{
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = target.rfind('/');
    const std::string prefix = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = target.substr(prefix.size());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp =
            prefix + "." + base + "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Fills the temporary file and renames it over the target.
int WriteAndRename(int fd, const std::string& temp, const std::string& target, std::string_view bytes,
                   const struct stat* old)
{
    CFileDescriptor file(fd);
    std::size_t done = 0;
    int err = old ? ErrorOf(::fchmod(file.Get(), old->st_mode & 07777) == 0) : 0;
    if (err == 0)
        err = WriteFromStart(file.Get(), bytes, done);
    if (err == 0)
        err = ErrorOf(::fsync(file.Get()) == 0);
    if (err == 0)
        err = ErrorOf(file.Close());
    if (err == 0)
        err = ErrorOf(::rename(temp.c_str(), target.c_str()) == 0);
    if (err != 0) {
        ::unlink(temp.c_str());
        return err;
    }
    // Make the rename itself durable; a failure here no longer endangers the file's content.
    const CFileDescriptor directory(::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.Get() >= 0)
        ::fsync(directory.Get());
    return 0;
}

// Rewrites the file where it is. Its old bytes stay in memory until the new ones are synced and go
// back when anything fails; a file made here is removed again.
int WriteInPlace(const std::string& target, std::string_view bytes)
{
    int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    const bool created = fd < 0 && errno == ENOENT;
    if (created)
        fd = ::open(target.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    const CFileDescriptor file(fd);
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0)
        return errno;
    if (!S_ISREG(info.st_mode))
        return EINVAL;
    std::string old(static_cast<std::size_t>(info.st_size), '\0');
    if (const int err = ReadFromStart(fd, old); err != 0)
        return err;

    // The old tail beyond the new bytes is cut only once they are on disk.
    std::size_t done = 0;
    bool cut = false;
    int err = WriteFromStart(fd, bytes, done);
    if (err == 0)
        err = ErrorOf(::fsync(fd) == 0);
    if (err == 0 && bytes.size() < old.size()) {
        err = ErrorOf(::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0);
        cut = err == 0;
        if (err == 0)
            err = ErrorOf(::fsync(fd) == 0);
    }
    if (err == 0)
        return 0;

    if (created) {
        ::unlink(target.c_str());
        return err;
    }
    std::size_t restored = 0;
    WriteFromStart(fd, std::string_view(old).substr(0, cut ? old.size() : std::min(done, old.size())),
                   restored);
    if (::ftruncate(fd, static_cast<off_t>(old.size())) == 0)
        ::fsync(fd);
    return err;
}

} // namespace

std::string Target(const std::string& path)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string target = resolved;
    std::free(resolved);
    return target;
}

int Replace(const std::string& path, std::string_view bytes)
{
    const std::string target = Target(path);
    struct stat info
    {
    };
    const bool exists = ::stat(target.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode))
        return EISDIR;
    // A write-protected file stays protected, although the rename could replace it.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return errno;

    std::string temp;
    const int fd = CreateTemporary(target, temp);
    // A folder the user may not write, or a name with no room for the temporary name's additions.
    if (fd < 0)
        return WriteInPlace(target, bytes);
    return WriteAndRename(fd, temp, target, bytes, exists ? &info : nullptr);
}

} // namespace FileSave
