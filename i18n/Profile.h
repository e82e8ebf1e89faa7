#pragma once
// INI profile access with the semantics the program's settings and language files rely on:
// every call sees the file as it is now (a parsed copy is reused only while the file is provably
// unchanged: same inode, size and nanosecond time stamps); section and key names match without regard to
// case; the first occurrence wins; blanks around names and values are trimmed and enclosing quotes removed;
// values are cut to the buffer size less one byte (never inside a UTF-8 character);
// ';' starts a comment line; CRLF or LF. A write adds a missing file, section or key and
// saves the file whole (FileSave::Replace).
//
// A missing, unreadable or non-regular file reads as empty: every key gives its default.
// Lines before the first section belong to no section and are never found; lines without '='
// are ignored; a value is everything after the first '=' (it may contain further '=').

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& def, std::size_t bufSize);

// The leading decimal number of the value (with an optional sign, clamped to the int range);
// `def` when the key is missing or empty, 0 when the value does not start with a number.
int ReadProfileInt(const std::string& file, const std::string& section, const std::string& key, int def);

// Returns false when the file could not be written, or when a name or the value holds a line break
// (which would forge further lines); the old file is then left as it was.
bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);

// Adds to `file` every key of `from` (with its section) that `file` lacks, written as `from` has it
// and in its order; keys `file` holds keep their values. One atomic write, none when nothing is
// missing. False when `file` could not be read or written (it is then left as it was).
bool AddMissingProfileEntries(const std::string& file, const std::string& from);

// Every key of a section in file order, first occurrence only, values uncut: one read of the file
// for callers that look up many keys of one section.
using ProfileEntries = std::vector<std::pair<std::string, std::string>>;
ProfileEntries ReadProfileSection(const std::string& file, const std::string& section);

// The value of `key` in `entries` (names without regard to case), or nullptr.
const std::string* FindProfileEntry(const ProfileEntries& entries, const std::string& key);

// `text` cut to at most bufSize - 1 bytes, backing off so no UTF-8 character is split.
std::string CutToBuffer(const std::string& text, std::size_t bufSize);
