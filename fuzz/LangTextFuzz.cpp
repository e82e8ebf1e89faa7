// The language lookups on arbitrary language files, keys and buffer sizes: values of any length
// and bytes. Nothing may crash, and a value is never longer than its buffer nor cut inside a
// UTF-8 character.

#include "app/AppPaths.h"
#include "fuzz/FuzzSupport.h"
#include "i18n/LangText.h"
#include "i18n/Profile.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

// `cut` is `whole` cut to its buffer: at most bufSize - 1 bytes, backed off by at most three bytes
// so as not to end before a continuation byte (unless the bytes there are no UTF-8 at all).
void CheckCut(const std::string& whole, const std::string& cut, std::size_t bufSize)
{
    FUZZ_CHECK(whole.compare(0, cut.size(), cut) == 0);
    if (bufSize == 0) {
        FUZZ_CHECK(cut.empty());
        return;
    }
    FUZZ_CHECK(cut.size() <= bufSize - 1);
    if (cut.size() < whole.size()) {
        FUZZ_CHECK(cut.size() + 3 >= bufSize - 1);
        const auto next = static_cast<unsigned char>(whole[cut.size()]);
        FUZZ_CHECK((next & 0xC0) != 0x80 || cut.size() == bufSize - 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(30);
    const std::string key = in.ConsumeRandomLengthString(30);
    const std::size_t bufSize = in.ConsumeIntegralInRange<std::size_t>(0, 2000);
    const int count = in.ConsumeIntegralInRange<int>(0, 40);
    const std::string content = in.ConsumeRemainingBytesAsString();

    static const std::string file = FuzzScratchPath("fuzz.lang");
    WriteFuzzFile(file, content.data(), content.size());
    g_strLangFile = file;

    const std::string text = LoadLangString(key);
    FUZZ_CHECK(text.size() <= 999);
    const std::string whole = ReadProfileString(file, section, key, "", content.size() + 2);
    CheckCut(whole, LoadLangValue(section, key, "", bufSize), bufSize);
    for (const std::string& option : LoadOptionList(section))
        FUZZ_CHECK(!option.empty() && option.size() <= 29);
    const std::vector<std::string> headers = LoadHeaderTexts(section, key, count);
    FUZZ_CHECK(headers.size() == static_cast<std::size_t>(count));
    for (const std::string& header : headers)
        FUZZ_CHECK(header.size() <= 29);
    return 0;
}
