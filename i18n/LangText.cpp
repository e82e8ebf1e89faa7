#include "i18n/LangText.h"

#include "app/AppPaths.h"
#include "i18n/Profile.h"

namespace {

constexpr std::size_t kStringBuffer = 1000;
constexpr std::size_t kListBuffer = 30;

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

} // namespace

std::string LoadLangString(const std::string& key)
{
    std::string text = ReadProfileString(g_strLangFile, "String", key, "Not Found", kStringBuffer);
    ReplaceAll(text, "\\n", "\n");
    ReplaceAll(text, "\\t", "\t");
    return text;
}

std::string LoadLangValue(const std::string& section, const std::string& key, const std::string& def,
                          std::size_t bufSize)
{
    return ReadProfileString(g_strLangFile, section, key, def, bufSize);
}

std::vector<std::string> LoadOptionList(const std::string& section)
{
    const ProfileEntries entries = ReadProfileSection(g_strLangFile, section);
    std::vector<std::string> list;
    for (;;) {
        const std::string* value = FindProfileEntry(entries, std::to_string(list.size()));
        if (!value || value->empty())
            break;
        list.push_back(CutToBuffer(*value, kListBuffer));
    }
    return list;
}

std::vector<std::string> LoadHeaderTexts(const std::string& section, const std::string& prefix, int count)
{
    const ProfileEntries entries = ReadProfileSection(g_strLangFile, section);
    std::vector<std::string> headers;
    std::string previous;
    for (int i = 0; i < count; ++i) {
        if (const std::string* value = FindProfileEntry(entries, prefix + std::to_string(i)))
            previous = CutToBuffer(*value, kListBuffer);
        headers.push_back(previous);
    }
    return headers;
}

std::string FillPlaceholders(const std::string& templ, const std::string& a1, const std::string& a2)
{
    std::string out;
    for (std::size_t i = 0; i < templ.size(); ++i) {
        if (templ[i] == '%' && i + 1 < templ.size() && (templ[i + 1] == '1' || templ[i + 1] == '2')) {
            out += templ[i + 1] == '1' ? a1 : a2;
            ++i;
        } else {
            out += templ[i];
        }
    }
    return out;
}
