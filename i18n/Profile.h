#pragma once
// INI profile access with the semantics the program's settings and language files rely on:
// every call reads the file again; section and key names match without regard to case; the
// first occurrence wins; blanks around names and values are trimmed and enclosing quotes
// removed; values are cut to the buffer size less one byte (never inside a UTF-8 character);
// ';' starts a comment line; CRLF or LF. A write adds a missing file, section or key and
// replaces the file atomically.

#include <cstddef>
#include <string>

std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& def, std::size_t bufSize);

// The leading decimal number of the value (with an optional sign); `def` when the key is missing.
int ReadProfileInt(const std::string& file, const std::string& section, const std::string& key, int def);

// Returns false when the file could not be written; the old file is then left as it was.
bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);
