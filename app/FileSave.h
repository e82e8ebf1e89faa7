#pragma once
// Saving a whole file so that no failure leaves it half-written. The new bytes go to a temporary
// file beside it that is then renamed over it. Where no file can be made beside it (a folder the
// user may not write, a name too long for the temporary name), the file is rewritten in place: its
// old bytes are kept until the new ones are on disk, and put back when the write fails.

#include <string>
#include <string_view>

enum class FileAction
{
    Open,
    Read,
    Save
};

// A file operation that failed, and the system's error number (errno) that stopped it.
struct FileError
{
    FileAction action = FileAction::Save;
    int number = 0;
};

namespace FileSave {

// The file a save to `path` writes: the target of a symbolic link, so that the link survives.
std::string Target(const std::string& path);

// Replaces the content of the file at `path` (made when missing) with `bytes`. A file the user may
// not write stays as it is. Returns 0, or the errno of the failure; the old file is then unchanged.
int Replace(const std::string& path, std::string_view bytes);

} // namespace FileSave
