// The settings-file reader and writer on arbitrary file contents, names and values: nothing may
// crash, a value written reads back as written, and a write touches no other key.

#include "fuzz/FuzzSupport.h"
#include "i18n/Profile.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

bool SameName(const std::string& a, const std::string& b)
{
    const auto trim = [](const std::string& s) {
        const std::size_t first = s.find_first_not_of(" \t\r\v\f");
        return first == std::string::npos ? std::string()
                                          : s.substr(first, s.find_last_not_of(" \t\r\v\f") - first + 1);
    };
    std::string x = trim(a);
    std::string y = trim(b);
    if (x.size() != y.size())
        return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(x[i]) != lower(y[i]))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(40);
    const std::string key = in.ConsumeRandomLengthString(40);
    const std::string value = in.ConsumeRandomLengthString(300);
    const std::string otherSection = in.ConsumeRandomLengthString(40);
    const std::string otherKey = in.ConsumeRandomLengthString(40);
    const std::size_t bufSize = in.ConsumeIntegralInRange<std::size_t>(0, 400);
    const std::string content = in.ConsumeRemainingBytesAsString();

    static const std::string file = FuzzScratchPath("setting.ini");
    WriteFuzzFile(file, content.data(), content.size());

    const std::string read = ReadProfileString(file, section, key, value, bufSize);
    FUZZ_CHECK(bufSize == 0 ? read.empty() : read.size() < bufSize);
    ReadProfileInt(file, section, key, -1);
    const ProfileEntries entries = ReadProfileSection(file, section);
    for (const auto& [name, entryValue] : entries)
        FUZZ_CHECK(FindProfileEntry(entries, name) != nullptr);

    const std::string otherBefore = ReadProfileString(file, otherSection, otherKey, "\x01missing", 1000);
    if (!WriteProfileString(file, section, key, value))
        return 0;
    FUZZ_CHECK(ReadProfileString(file, section, key, "\x01missing", value.size() + 1) == value);
    if (!(SameName(section, otherSection) && SameName(key, otherKey)))
        FUZZ_CHECK(ReadProfileString(file, otherSection, otherKey, "\x01missing", 1000) == otherBefore);
    return 0;
}
