#include "app/AppPaths.h"

#include "i18n/Profile.h"

#include <cstdlib>
#include <strings.h>

#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

std::string g_strAppDir;
std::string g_strSettingFile;
std::string g_strLangFile;

std::string ExecutableDir()
{
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    const std::string exe(path, static_cast<std::size_t>(n));
    const std::size_t slash = exe.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : exe.substr(0, slash);
}

void InitAppPaths(const std::string& appDir)
{
    std::string dir = appDir.empty() ? "." : appDir;
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    g_strAppDir = dir;
    g_strSettingFile = (dir == "/" ? "" : dir) + "/setting.ini";
}

bool SettingFileExists()
{
    struct stat st{};
    return ::stat(g_strSettingFile.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string SystemLocaleName()
{
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* value = std::getenv(var); value && *value)
            return value;
    return {};
}

bool IsChineseMainlandLocale(const std::string& locale)
{
    if (locale.size() < 5 || locale.compare(0, 5, "zh_CN") != 0)
        return false;
    return locale.size() == 5 || locale[5] == '.' || locale[5] == '@';
}

std::string DefaultLanguageName()
{
    const std::string name = ReadProfileString(g_strSettingFile, "setup", "language", "", 260);
    if (!name.empty())
        return name;
    return IsChineseMainlandLocale(SystemLocaleName()) ? "chinese" : "english";
}

void SetLanguage(const std::string& name)
{
    const std::string base = (g_strAppDir == "/" ? "" : g_strAppDir) + "/";
    const std::string fileName = name + ".lang";
    g_strLangFile = base + fileName;
    if (::access(g_strLangFile.c_str(), F_OK) == 0)
        return;
    if (DIR* dir = ::opendir(g_strAppDir.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            if (::strcasecmp(entry->d_name, fileName.c_str()) == 0) {
                g_strLangFile = base + entry->d_name;
                break;
            }
        }
        ::closedir(dir);
    }
}
