#include "i18n/Profile.h"

#include "app/FileSave.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {

// Larger files are not settings or language files; refusing them keeps memory bounded.
constexpr off_t kMaxFileSize = 64 * 1024 * 1024;

enum class FileState
{
    Read,
    Missing,
    Failed
};

FileState ReadWholeFile(const std::string& path, std::string& out, struct stat* info = nullptr)
{
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return (errno == ENOENT) ? FileState::Missing : FileState::Failed;
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxFileSize) {
        ::close(fd);
        return FileState::Failed;
    }
    if (info)
        *info = st;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            out.clear();
            return FileState::Failed;
        }
        if (n == 0)
            break;
        out.append(chunk, static_cast<std::size_t>(n));
        if (out.size() > static_cast<std::size_t>(kMaxFileSize)) {
            ::close(fd);
            out.clear();
            return FileState::Failed;
        }
    }
    ::close(fd);
    return FileState::Read;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// ASCII-only folding: names are plain identifiers, and bytes of UTF-8 texts must stay untouched.
bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

std::string_view Unquote(std::string_view v)
{
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        return v.substr(1, v.size() - 2);
    return v;
}

struct IniLine
{
    enum class Kind
    {
        Other,
        Section,
        Key
    };
    std::string_view text; // without the line end
    Kind kind = Kind::Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // trimmed, quotes still on
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

IniLine ClassifyLine(std::string_view text)
{
    IniLine line;
    line.text = text;
    const std::string_view t = Trim(text);
    if (t.starts_with('[')) {
        line.kind = IniLine::Kind::Section;
        line.name = Trim(t.substr(1, t.find(']') - 1));
    } else if (!t.starts_with(';')) {
        const std::size_t eq = t.find('=');
        if (eq != std::string_view::npos && !Trim(t.substr(0, eq)).empty()) {
            line.kind = IniLine::Kind::Key;
            line.name = Trim(t.substr(0, eq));
            line.value = Trim(t.substr(eq + 1));
        }
    }
    return line;
}

std::vector<IniLine> SplitLines(std::string_view content)
{
    if (content.starts_with(kByteOrderMark)) // editors like to start UTF-8 files with a byte-order mark
        content.remove_prefix(kByteOrderMark.size());
    std::vector<IniLine> lines;
    while (!content.empty()) {
        const std::size_t eol = content.find('\n');
        std::string_view text = content.substr(0, eol);
        content.remove_prefix(eol == std::string_view::npos ? content.size() : eol + 1);
        if (text.ends_with('\r'))
            text.remove_suffix(1);
        lines.push_back(ClassifyLine(text));
    }
    return lines;
}

// Index of the first line of `key` in any section named `section`, or -1. A section that appears
// twice is searched in file order, so the first occurrence of the key wins.
long FindKeyLine(const std::vector<IniLine>& lines, std::string_view section, std::string_view key)
{
    // Names are trimmed in the file, so they are trimmed here too: what a write stored under
    // " key" reads back under the same name.
    section = Trim(section);
    key = Trim(key);
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const IniLine& line = lines[i];
        if (line.kind == IniLine::Kind::Section)
            inSection = EqualNoCase(line.name, section);
        else if (inSection && line.kind == IniLine::Kind::Key && EqualNoCase(line.name, key))
            return static_cast<long>(i);
    }
    return -1;
}

// Names are looked up trimmed (as they are in the file) and folded, so one hash lookup finds a
// key whatever its case.
std::string Folded(std::string_view name)
{
    std::string folded(Trim(name));
    for (char& c : folded)
        c = FoldAscii(c);
    return folded;
}

// A file parsed once: each section (all occurrences of one name merged in file order) with its
// keys, first occurrence only, values unquoted and uncut.
struct ProfileSection
{
    ProfileEntries entries;
    std::unordered_map<std::string, std::size_t> index; // folded key name -> entry
};
using ParsedProfile = std::unordered_map<std::string, ProfileSection>; // folded section name -> section

std::shared_ptr<const ParsedProfile> Parse(std::string_view content)
{
    auto parsed = std::make_shared<ParsedProfile>();
    ProfileSection* section = nullptr; // lines before the first section belong to none
    for (const IniLine& line : SplitLines(content)) {
        if (line.kind == IniLine::Kind::Section) {
            section = &(*parsed)[Folded(line.name)];
        } else if (section && line.kind == IniLine::Kind::Key &&
                   section->index.emplace(Folded(line.name), section->entries.size()).second) {
            section->entries.emplace_back(line.name, Unquote(line.value));
        }
    }
    return parsed;
}

// Every lookup reads the file again, as far as anybody can tell: a parsed file is reused only while
// the file is provably the one that was parsed. Its identity is device, inode, size, and the
// modification and change times in nanoseconds; the change time cannot be set back by any tool.
// Time stamps are only as fine as the file system's clock tick (a few milliseconds, whole seconds
// on some file systems), so a file changed within kSettleSeconds before it was read is never kept:
// a second change within the same tick could not be told from the first.
constexpr int kSettleSeconds = 2;
constexpr std::size_t kMaxCachedFiles = 8;    // the settings file and a language file or two
constexpr off_t kMaxCachedSize = 1024 * 1024; // larger files are read every time, never kept

struct FileIdentity
{
    dev_t dev;
    ino_t ino;
    off_t size;
    timespec mtim;
    timespec ctim;

    explicit FileIdentity(const struct stat& st)
        : dev(st.st_dev), ino(st.st_ino), size(st.st_size), mtim(st.st_mtim), ctim(st.st_ctim)
    {
    }
    bool operator==(const FileIdentity& o) const
    {
        return dev == o.dev && ino == o.ino && size == o.size && mtim.tv_sec == o.mtim.tv_sec &&
               mtim.tv_nsec == o.mtim.tv_nsec && ctim.tv_sec == o.ctim.tv_sec &&
               ctim.tv_nsec == o.ctim.tv_nsec;
    }
};

struct CachedProfile
{
    FileIdentity identity;
    std::shared_ptr<const ParsedProfile> parsed;
    unsigned long long lastUse;
};

// The worker thread of a radio exchange reads and writes the settings file while the pages read
// the language file.
std::mutex g_cacheMutex;
std::unordered_map<std::string, CachedProfile> g_cache;
unsigned long long g_cacheClock = 0;

bool SettledBefore(const timespec& stamp, const timespec& now)
{
    return now.tv_sec - stamp.tv_sec > kSettleSeconds ||
           (now.tv_sec - stamp.tv_sec == kSettleSeconds && now.tv_nsec >= stamp.tv_nsec);
}

void ForgetFile(const std::string& path)
{
    const std::lock_guard lock(g_cacheMutex);
    g_cache.erase(path);
}

// The parsed content of `path`; empty when it is missing, unreadable or no regular file.
std::shared_ptr<const ParsedProfile> LoadProfile(const std::string& path)
{
    static const auto empty = std::make_shared<const ParsedProfile>();
    struct stat st
    {
    };
    const bool exists = ::stat(path.c_str(), &st) == 0;
    {
        const std::lock_guard lock(g_cacheMutex);
        if (const auto it = g_cache.find(path); it != g_cache.end()) {
            if (exists && it->second.identity == FileIdentity(st)) {
                it->second.lastUse = ++g_cacheClock;
                return it->second.parsed;
            }
            g_cache.erase(it);
        }
    }
    std::string content;
    struct stat read
    {
    };
    if (!exists || ReadWholeFile(path, content, &read) != FileState::Read)
        return empty;
    std::shared_ptr<const ParsedProfile> parsed = Parse(content);

    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    if (read.st_size <= kMaxCachedSize && SettledBefore(read.st_mtim, now) &&
        SettledBefore(read.st_ctim, now)) {
        const std::lock_guard lock(g_cacheMutex);
        if (g_cache.size() >= kMaxCachedFiles && !g_cache.contains(path)) {
            const auto oldest =
                std::min_element(g_cache.begin(), g_cache.end(), [](const auto& a, const auto& b) {
                    return a.second.lastUse < b.second.lastUse;
                });
            g_cache.erase(oldest);
        }
        g_cache.insert_or_assign(path, CachedProfile{FileIdentity(read), parsed, ++g_cacheClock});
    }
    return parsed;
}

const ProfileSection* FindSection(const ParsedProfile& profile, std::string_view section)
{
    const auto it = profile.find(Folded(section));
    return it == profile.end() ? nullptr : &it->second;
}

bool HasLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// Adds `keyLine` to the first section named `section`: after its last key, or after its header.
// A section the file lacks is added at its end.
void InsertKeyLine(std::vector<std::string>& lines, std::string_view section, const std::string& keyLine)
{
    long insertAt = -1;
    bool inFirst = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const IniLine line = ClassifyLine(lines[i]);
        if (line.kind == IniLine::Kind::Section) {
            if (insertAt >= 0)
                break;
            inFirst = EqualNoCase(line.name, section);
            if (inFirst)
                insertAt = static_cast<long>(i);
        } else if (inFirst && line.kind == IniLine::Kind::Key) {
            insertAt = static_cast<long>(i);
        }
    }
    if (insertAt >= 0) {
        lines.insert(lines.begin() + insertAt + 1, keyLine);
        return;
    }
    if (!lines.empty() && !Trim(lines.back()).empty())
        lines.emplace_back();
    lines.push_back('[' + std::string(section) + ']');
    lines.push_back(keyLine);
}

// Lets `edit` change the lines of `file` (of the target, when it is a link) and, when it reports a
// change, saves the file (see FileSave), keeping its mode, line ends and byte-order mark. False when
// the file could not be read or written; the old file is then left as it was.
using LineEdit = std::function<bool(std::string_view content, std::vector<std::string>& lines)>;
bool EditFile(const std::string& file, const LineEdit& edit)
{
    const std::string target = FileSave::Target(file);
    std::string content;
    if (ReadWholeFile(target, content) == FileState::Failed)
        return false;
    std::vector<std::string> lines;
    for (const IniLine& line : SplitLines(content))
        lines.emplace_back(line.text);
    if (!edit(content, lines))
        return true;

    const std::string eol = content.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    std::string result(content.starts_with(kByteOrderMark) ? kByteOrderMark : std::string_view());
    for (const std::string& line : lines)
        result += line + eol;
    const bool replaced = FileSave::Replace(target, result) == 0;
    ForgetFile(file);
    ForgetFile(target);
    return replaced;
}

} // namespace

std::string CutToBuffer(const std::string& text, std::size_t bufSize)
{
    if (bufSize == 0)
        return {};
    if (text.size() <= bufSize - 1)
        return text;
    std::size_t cut = bufSize - 1;
    // Back off over at most three continuation bytes: a UTF-8 character is at most four bytes.
    for (int i = 0; i < 3 && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++i)
        --cut;
    if ((static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        cut = bufSize - 1; // not UTF-8 at all: plain byte cut
    return text.substr(0, cut);
}

ProfileEntries ReadProfileSection(const std::string& file, const std::string& section)
{
    const std::shared_ptr<const ParsedProfile> profile = LoadProfile(file);
    const ProfileSection* found = FindSection(*profile, section);
    return found ? found->entries : ProfileEntries{};
}

const std::string* FindProfileEntry(const ProfileEntries& entries, const std::string& key)
{
    for (const auto& [name, value] : entries)
        if (EqualNoCase(name, Trim(key)))
            return &value;
    return nullptr;
}

std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& def, std::size_t bufSize)
{
    const std::shared_ptr<const ParsedProfile> profile = LoadProfile(file);
    if (const ProfileSection* found = FindSection(*profile, section)) {
        if (const auto it = found->index.find(Folded(key)); it != found->index.end())
            return CutToBuffer(found->entries[it->second].second, bufSize);
    }
    return CutToBuffer(def, bufSize);
}

int ReadProfileInt(const std::string& file, const std::string& section, const std::string& key, int def)
{
    const std::string text = ReadProfileString(file, section, key, "", 64);
    if (text.empty())
        return def;
    std::size_t i = 0;
    const bool negative = text[0] == '-';
    if (text[0] == '-' || text[0] == '+')
        ++i;
    long long number = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        number = number * 10 + (text[i] - '0');
        if (number > static_cast<long long>(INT_MAX) + 1)
            number = static_cast<long long>(INT_MAX) + 1; // keep clamping, never overflow
    }
    if (negative)
        number = -number;
    if (number > INT_MAX)
        return INT_MAX;
    if (number < INT_MIN)
        return INT_MIN;
    return static_cast<int>(number);
}

bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value)
{
    const std::string_view sec = Trim(section);
    const std::string_view name = Trim(key);
    // Names that the reader could not find again, and line breaks that would forge lines, are refused.
    if (sec.empty() || name.empty() || HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
        sec.find(']') != std::string_view::npos || name.find('=') != std::string_view::npos ||
        name.starts_with(';') || name.starts_with('['))
        return false;

    // Blanks around a value or enclosing quotes would be lost on reading; quoting keeps them.
    const bool quote = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                                          (value.size() >= 2 && value.front() == '"' && value.back() == '"'));
    const std::string written = quote ? '"' + value + '"' : value;
    return EditFile(file, [&](std::string_view content, std::vector<std::string>& lines) {
        const std::vector<IniLine> parsed = SplitLines(content);
        if (const long at = FindKeyLine(parsed, sec, name); at >= 0) { // the name keeps its spelling
            const auto i = static_cast<std::size_t>(at);
            lines[i] = std::string(parsed[i].name) + '=' + written;
        } else {
            InsertKeyLine(lines, sec, std::string(name) + '=' + written);
        }
        return true;
    });
}

bool AddMissingProfileEntries(const std::string& file, const std::string& from)
{
    std::string source;
    if (ReadWholeFile(from, source) != FileState::Read)
        return true; // nothing to add
    return EditFile(file, [&](std::string_view content, std::vector<std::string>& lines) {
        ParsedProfile have = *Parse(content); // the file as it reads with the keys added so far
        bool added = false;
        std::string_view section;
        bool inSection = false; // keys before the first section are never read: nothing to add
        for (const IniLine& line : SplitLines(source)) {
            if (line.kind == IniLine::Kind::Section) {
                section = line.name;
                inSection = true;
            } else if (inSection && line.kind == IniLine::Kind::Key) {
                ProfileSection& known = have[Folded(section)];
                if (known.index.emplace(Folded(line.name), known.entries.size()).second) {
                    known.entries.emplace_back(line.name, line.value);
                    InsertKeyLine(lines, section, std::string(line.name) + '=' + std::string(line.value));
                    added = true;
                }
            }
        }
        return added;
    });
}
