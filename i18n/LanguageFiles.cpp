#include "i18n/LanguageFiles.h"

#include "app/AppPaths.h"
#include "i18n/Profile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace {

const std::string kExtension = ".lang";

unsigned char Lower(char c)
{
    return static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
}

bool LessIgnoringCase(const std::string& a, const std::string& b)
{
    const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                   [](char x, char y) { return Lower(x) < Lower(y); });
    const bool greater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                      [](char x, char y) { return Lower(x) < Lower(y); });
    return less || (!greater && a < b); // names equal but for case keep one fixed order
}

void SortByFileName(std::vector<LanguageFileEntry>& files)
{
    std::sort(files.begin(), files.end(), [](const LanguageFileEntry& a, const LanguageFileEntry& b) {
        return LessIgnoringCase(std::filesystem::path(a.path).filename().string(),
                                std::filesystem::path(b.path).filename().string());
    });
}

} // namespace

std::vector<LanguageFileEntry> ListLanguageFiles(const std::string& dir)
{
    std::vector<LanguageFileEntry> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        // The extension is matched without regard to case, as the start-up matches language names.
        if (name.size() <= kExtension.size() ||
            !SameLanguagePath(name.substr(name.size() - kExtension.size()), kExtension))
            continue;
        // A directory named like a language file is no language (it would make every text "Not Found").
        if (!entry.is_regular_file(ec))
            continue;
        files.push_back({entry.path().string(), name.substr(0, name.size() - kExtension.size())});
    }
    SortByFileName(files);
    return files;
}

std::vector<LanguageFileEntry> ListProgramLanguageFiles()
{
    std::vector<LanguageFileEntry> files;
    for (const std::string& dir : LanguageDirs()) {
        // Only a folder searched earlier hides a name: two files of one folder are two files.
        const std::size_t earlier = files.size();
        for (LanguageFileEntry& file : ListLanguageFiles(dir)) {
            const auto end = files.begin() + static_cast<std::ptrdiff_t>(earlier);
            const bool hidden = std::any_of(files.begin(), end, [&file](const LanguageFileEntry& f) {
                return SameLanguagePath(f.title, file.title);
            });
            if (!hidden)
                files.push_back(std::move(file));
        }
    }
    SortByFileName(files);
    return files;
}

std::string LanguageDisplayName(const std::string& path)
{
    return ReadProfileString(path, "Face", "disp", "-----", 100);
}

bool SameLanguagePath(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return Lower(x) == Lower(y); });
}

void MakeLanguageCurrent(const LanguageFileEntry& file)
{
    g_strLangFile = file.path;
    WriteProfileString(g_strSettingFile, "setup", "language", file.title);
}

void NextLanguage(const std::function<void()>& applyLanguage)
{
    const std::vector<LanguageFileEntry> files = ListProgramLanguageFiles();
    if (files.empty())
        return;
    const auto current = std::find_if(files.begin(), files.end(), [](const LanguageFileEntry& f) {
        return SameLanguagePath(f.path, g_strLangFile);
    });
    const auto next = (current == files.end() || current + 1 == files.end()) ? files.begin() : current + 1;
    MakeLanguageCurrent(*next);
    if (applyLanguage)
        applyLanguage();
}
