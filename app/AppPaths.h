#pragma once
// Process-wide paths, set once at start-up and read everywhere.

#include <string>

extern std::string g_strAppDir;      // directory of the running executable, no trailing '/'
extern std::string g_strSettingFile; // g_strAppDir + "/setting.ini"
extern std::string g_strLangFile;    // g_strAppDir + "/" + language name + ".lang"

// The directory of the running executable.
std::string ExecutableDir();

// Sets g_strAppDir and g_strSettingFile (g_strLangFile is set by ChooseLanguage).
void InitAppPaths(const std::string& appDir);

// Whether g_strSettingFile exists (the windowed start-up refuses to run without it).
bool SettingFileExists();

// The "language" key of section "setup"; when empty, "chinese" on a zh_CN system, else "english".
// Nothing is written back.
std::string DefaultLanguageName();

// Sets g_strLangFile for a language name.
void SetLanguage(const std::string& name);
