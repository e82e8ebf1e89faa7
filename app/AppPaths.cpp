#include "app/AppPaths.h"

#include "i18n/Profile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <strings.h>

#include <dirent.h>
#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

std::string g_strAppDir;
std::string g_strSettingFile;
std::string g_strLangFile;
std::string g_strUserDir;

namespace {

const char kSettingName[] = "setting.ini";

std::string Child(const std::string& dir, const std::string& name)
{
    return (dir == "/" ? "" : dir) + "/" + name;
}

bool IsRegularFile(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Copies `from` to `to` unless `to` exists. The copy appears complete or not at all, so a second
// program starting at the same moment never reads half a file, and a file already there is kept.
bool SeedFile(const std::string& from, const std::string& to)
{
    std::ifstream in(from, std::ios::binary);
    if (!in)
        return false;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string temp = to + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, 0644) == 0;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        ok = n > 0;
        done += ok ? static_cast<std::size_t>(n) : 0;
    }
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::link(temp.c_str(), to.c_str()) == 0; // link, unlike rename, never replaces a file
    ::unlink(temp.c_str());
    return ok || IsRegularFile(to);
}

std::string TrimSlashes(std::string dir)
{
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}

} // namespace

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

std::string UserBaseDir(const char* xdgVariable, const std::string& homeRelative)
{
    // A relative XDG_..._HOME is invalid and ignored, as the base-directory rules say.
    if (const char* base = std::getenv(xdgVariable); base && base[0] == '/')
        return TrimSlashes(base);
    std::string home;
    if (const char* value = std::getenv("HOME"); value && *value)
        home = value;
    else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir)
        home = pw->pw_dir;
    if (home.empty())
        return {};
    return Child(TrimSlashes(home), homeRelative);
}

std::string UserSettingsDir()
{
    const std::string base = UserBaseDir("XDG_CONFIG_HOME", ".config");
    return base.empty() ? base : Child(base, "zq708-cps");
}

void InitAppPaths(const std::string& appDir)
{
    const std::string dir = TrimSlashes(appDir.empty() ? "." : appDir);
    // An installed copy's directory belongs to the system: its settings go to the user's folder.
    InitAppPaths(dir, ::access(dir.c_str(), W_OK) == 0 ? std::string() : UserSettingsDir());
}

void InitAppPaths(const std::string& appDir, const std::string& userDir)
{
    g_strAppDir = TrimSlashes(appDir.empty() ? "." : appDir);
    g_strSettingFile = Child(g_strAppDir, kSettingName);
    g_strUserDir.clear();
    if (userDir.empty())
        return;
    const std::string dir = TrimSlashes(userDir);
    const std::string userSetting = Child(dir, kSettingName);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!IsRegularFile(userSetting) && !SeedFile(g_strSettingFile, userSetting))
        return;
    // A copy seeded by an earlier version gets the keys this one ships (band variants, new settings).
    AddMissingProfileEntries(userSetting, g_strSettingFile);
    g_strUserDir = dir;
    g_strSettingFile = userSetting;
}

bool SettingFileExists()
{
    return IsRegularFile(g_strSettingFile);
}

std::vector<std::string> LanguageDirs()
{
    if (g_strUserDir.empty())
        return {g_strAppDir};
    return {g_strUserDir, g_strAppDir};
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
    const std::string fileName = name + ".lang";
    for (const std::string& dir : LanguageDirs()) {
        g_strLangFile = Child(dir, fileName);
        if (::access(g_strLangFile.c_str(), F_OK) == 0)
            return;
        if (DIR* listing = ::opendir(dir.c_str())) {
            std::string found;
            while (const dirent* entry = ::readdir(listing)) {
                if (::strcasecmp(entry->d_name, fileName.c_str()) == 0) {
                    found = Child(dir, entry->d_name);
                    break;
                }
            }
            ::closedir(listing);
            if (!found.empty()) {
                g_strLangFile = found;
                return;
            }
        }
    }
    g_strLangFile = Child(g_strAppDir, fileName);
}
