#pragma once
// The program's path globals as a test found them, put back when the guard goes out of scope: a
// test points them at files of its own without leaking them into the next test of the process.

#include "app/AppPaths.h"

#include <string>

class CAppPathsGuard final
{
public:
    CAppPathsGuard() = default;
    ~CAppPathsGuard()
    {
        g_strAppDir = m_appDir;
        g_strSettingFile = m_settingFile;
        g_strLangFile = m_langFile;
        g_strUserDir = m_userDir;
    }
    CAppPathsGuard(const CAppPathsGuard&) = delete;
    CAppPathsGuard& operator=(const CAppPathsGuard&) = delete;

private:
    std::string m_appDir = g_strAppDir;
    std::string m_settingFile = g_strSettingFile;
    std::string m_langFile = g_strLangFile;
    std::string m_userDir = g_strUserDir;
};

// Makes a shipped language file current: "english" or "chinese".
inline void UseShippedLanguage(const std::string& name)
{
    g_strLangFile = ZQ708_SOURCE_DIR "/lang/" + name + ".lang";
}
