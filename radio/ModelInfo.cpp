#include "radio/ModelInfo.h"

#include "app/AppPaths.h"
#include "i18n/Profile.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr const char* kSection = "ModelInfo";
constexpr std::int32_t kUnitsPerMHz = 100000;
constexpr std::int32_t kHighLimitMargin = 500; // the highest usable frequency is 5 kHz below the edge
constexpr int kSecondBandMHz = 200;

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Whether characters 9 to 16 start with a non-zero decimal number: the two-band form.
bool IsTwoBandText(const std::string& text)
{
    if (text.size() <= 8)
        return false;
    const std::string tail = text.substr(8, 8);
    std::size_t pos = 0;
    while (pos < tail.size() && std::isspace(static_cast<unsigned char>(tail[pos])))
        ++pos;
    if (pos < tail.size() && (tail[pos] == '+' || tail[pos] == '-'))
        ++pos;
    for (; pos < tail.size() && std::isdigit(static_cast<unsigned char>(tail[pos])); ++pos)
        if (tail[pos] != '0')
            return true;
    return false;
}

// Lower and upper edge in MHz from the eight hex digits of one descriptor: hex digits 3, 4, 1 and
// 7, 8, 5 are the hundreds, tens and units (the words are little-endian).
void DecodeEdges(const char* digits, int& lower, int& upper)
{
    lower = HexValue(digits[2]) * 100 + HexValue(digits[3]) * 10 + HexValue(digits[0]);
    upper = HexValue(digits[6]) * 100 + HexValue(digits[7]) * 10 + HexValue(digits[4]);
}

} // namespace

std::optional<ModelEntry> ParseModelEntry(const std::string& text)
{
    ModelEntry entry;
    entry.twoBand = IsTwoBandText(text);
    const std::size_t digits = entry.twoBand ? 16 : 8;
    if (text.size() < digits)
        return std::nullopt;
    for (std::size_t i = 0; i < digits; i += 2) {
        const int high = HexValue(text[i]);
        const int low = HexValue(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        entry.bytes[i / 2] = static_cast<std::uint8_t>(high << 4 | low);
    }
    DecodeEdges(text.data(), entry.lower1, entry.upper1);
    if (entry.twoBand)
        DecodeEdges(text.data() + 8, entry.lower2, entry.upper2);
    return entry;
}

std::size_t ModelEntry::Slot() const
{
    return upper1 >= kSecondBandMHz ? ImageMap::kBandDescriptor2 : ImageMap::kBandDescriptor1;
}

bool ModelEntry::Matches(const RadioImage& image) const
{
    const std::size_t at = twoBand ? ImageMap::kBandDescriptor1 : Slot();
    const std::size_t size = twoBand ? 8 : 4;
    return std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size), image.begin() + at);
}

void ModelEntry::WriteTo(RadioImage& image) const
{
    const std::size_t at = twoBand ? ImageMap::kBandDescriptor1 : Slot();
    const std::size_t size = twoBand ? 8 : 4;
    std::copy_n(bytes.begin(), size, image.begin() + at);
}

BandLimits ModelEntry::Limits() const
{
    BandLimits limits;
    limits.low = lower1 * kUnitsPerMHz;
    if (twoBand) {
        limits.high = upper2 * kUnitsPerMHz - kHighLimitMargin;
        limits.gapStart = upper1 * kUnitsPerMHz;
        limits.gapEnd = lower2 * kUnitsPerMHz;
    } else {
        limits.high = upper1 * kUnitsPerMHz - kHighLimitMargin;
    }
    return limits;
}

namespace ModelInfo {

std::string EntryText(int i, std::size_t bufSize)
{
    return ReadProfileString(g_strSettingFile, kSection, "data" + std::to_string(i), "", bufSize);
}

std::vector<std::string> EntryNames()
{
    std::vector<std::string> names;
    for (int i = 0; i < kMaxNames; ++i) {
        // A key that is present but empty still names an entry; only a missing key ends the list.
        const std::string name =
            ReadProfileString(g_strSettingFile, kSection, "Freq" + std::to_string(i), "\x01", 30);
        if (name == "\x01")
            break;
        names.push_back(name);
    }
    return names;
}

int FindEntry(const RadioImage& image)
{
    int result = 0;
    for (int i = 0; i < kMaxEntries; ++i) {
        const std::string text = EntryText(i, 32);
        if (text.empty())
            break;
        const std::optional<ModelEntry> entry = ParseModelEntry(text);
        if (entry && entry->Matches(image))
            result = i; // the last matching entry wins
    }
    return result;
}

BandLimits LimitsFor(const RadioImage& image)
{
    const std::optional<ModelEntry> entry = ParseModelEntry(EntryText(FindEntry(image), 60));
    return entry ? entry->Limits() : BandLimits{};
}

} // namespace ModelInfo
