#pragma once
// Process-wide paths, set once at start-up and read everywhere.

#include <string>

extern std::string g_strAppDir;      // directory of the running executable, no trailing '/'
extern std::string g_strSettingFile; // g_strAppDir + "/setting.ini"
extern std::string g_strLangFile;    // g_strAppDir + "/" + language name + ".lang"

// The directory of the running executable ("." when the system cannot tell).
std::string ExecutableDir();

// Sets g_strAppDir and g_strSettingFile (g_strLangFile is set by SetLanguage).
void InitAppPaths(const std::string& appDir);

// Whether g_strSettingFile exists as a regular file (the windowed start-up refuses to run without it).
bool SettingFileExists();

// The locale the system reports for messages: the first non-empty of LC_ALL, LC_MESSAGES, LANG.
std::string SystemLocaleName();

// Whether a POSIX locale name means Chinese as used in the People's Republic of China
// ("zh_CN", optionally followed by ".codeset" and/or "@modifier").
bool IsChineseMainlandLocale(const std::string& locale);

// The "language" key of section "setup"; when empty, "chinese" on a zh_CN system, else "english".
// Nothing is written back.
std::string DefaultLanguageName();

// Sets g_strLangFile to g_strAppDir + "/" + name + ".lang". When no file of exactly that name exists
// but one differs only in case (the names are case-blind where the files come from), that one is used.
void SetLanguage(const std::string& name);
