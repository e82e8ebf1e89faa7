#pragma once
// Process-wide paths, set once at start-up and read everywhere.

#include <string>
#include <vector>

extern std::string g_strAppDir;      // directory of the running executable, no trailing '/'
extern std::string g_strSettingFile; // the setting.ini in use: beside the program, or per user (below)
extern std::string g_strLangFile;    // the current language file: language name + ".lang"
extern std::string g_strUserDir;     // the per-user folder holding setting.ini; empty when it is g_strAppDir

// The directory of the running executable ("." when the system cannot tell).
std::string ExecutableDir();

// A per-user base folder: $<xdgVariable> when that is an absolute path, else ~/<homeRelative>; empty
// when there is no home directory.
std::string UserBaseDir(const char* xdgVariable, const std::string& homeRelative);

// The per-user settings folder: $XDG_CONFIG_HOME/zq708-cps when that is an absolute path, else
// ~/.config/zq708-cps; empty when there is no home directory.
std::string UserSettingsDir();

// Sets g_strAppDir, g_strSettingFile and g_strUserDir (g_strLangFile is set by SetLanguage).
// setting.ini stays beside the program when that directory can be written (a portable copy, the
// build's bin/); an installed copy uses UserSettingsDir() instead, as the next overload does.
void InitAppPaths(const std::string& appDir);

// As above with the per-user folder given; empty keeps setting.ini beside the program. A per-user
// folder without setting.ini gets a copy of the program's on first start; on every later start its
// copy gets the sections and keys the program's has and it lacks, never changing a value it holds.
// When it cannot be made or seeded, the program's own setting.ini is used as it stands (reads
// work, writes fail).
void InitAppPaths(const std::string& appDir, const std::string& userDir);

// Whether g_strSettingFile exists as a regular file (the windowed start-up refuses to run without it).
bool SettingFileExists();

// The folders that hold language files, in lookup order: g_strUserDir (when in use), then g_strAppDir.
std::vector<std::string> LanguageDirs();

// The locale the system reports for messages: the first non-empty of LC_ALL, LC_MESSAGES, LANG.
std::string SystemLocaleName();

// Whether a POSIX locale name means Chinese as used in the People's Republic of China
// ("zh_CN", optionally followed by ".codeset" and/or "@modifier").
bool IsChineseMainlandLocale(const std::string& locale);

// The "language" key of section "setup"; when empty, "chinese" on a zh_CN system, else "english".
// Nothing is written back.
std::string DefaultLanguageName();

// Sets g_strLangFile to name + ".lang" in the first of LanguageDirs() that has it, looking for the
// exact name first and then for one that differs only in case (the names are case-blind where the
// files come from). When no folder has it, the path beside the program is taken all the same.
void SetLanguage(const std::string& name);
