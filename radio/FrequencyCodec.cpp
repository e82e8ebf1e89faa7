#include "radio/FrequencyCodec.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

constexpr std::int32_t kMaxFieldValue = 99999999; // eight decimal digits
constexpr std::int32_t kGapRuleEdge = 20000000;   // 200 MHz separates the two bands
constexpr std::int32_t kFineRaster = 625;         // 6.25 kHz
constexpr std::int32_t kCoarseRaster = 500;       // 5 kHz

} // namespace

std::string FormatFrequency(std::int32_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%03d.%05d", value / 100000, value % 100000);
    return text;
}

std::string FrequencyFieldText(ConstFrequencyField field)
{
    if (field[3] > 0x99)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%x%x.%x%02x%02x", field[3], field[2] >> 4, field[2] & 0x0F, field[1],
                  field[0]);
    return text;
}

std::int32_t ParseFrequency(const std::string& text)
{
    // Megahertz digits, then exactly five decimals (missing ones count as 0, further ones are dropped).
    std::size_t pos = 0;
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos])))
        ++pos;
    std::int64_t value = 0;
    for (; pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])); ++pos)
        value = std::min<std::int64_t>(value * 10 + (text[pos] - '0'), kMaxFieldValue + 1LL);
    int decimals = 0;
    if (pos < text.size() && text[pos] == '.') {
        for (++pos; decimals < 5 && pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]));
             ++pos, ++decimals)
            value = std::min<std::int64_t>(value * 10 + (text[pos] - '0'), kMaxFieldValue + 1LL);
    }
    for (; decimals < 5; ++decimals)
        value = std::min<std::int64_t>(value * 10, kMaxFieldValue + 1LL);
    return static_cast<std::int32_t>(std::min<std::int64_t>(value, kMaxFieldValue));
}

std::int32_t SnapFrequency(std::int32_t value, const BandLimits& limits)
{
    if (limits.low < kGapRuleEdge && limits.high >= kGapRuleEdge && value > limits.gapStart &&
        value < limits.gapEnd)
        value = limits.low;
    const std::int32_t fine = (value + 75) / kFineRaster * kFineRaster;
    if (fine / 100 == value / 100)
        return fine;
    const std::int32_t rest = value % kCoarseRaster;
    return rest <= kCoarseRaster / 2 ? value - rest : value - rest + kCoarseRaster;
}

void PackFrequency(FrequencyField field, std::int32_t value)
{
    value = std::clamp(value, 0, kMaxFieldValue);
    for (std::size_t i = 0; i < 4; ++i) {
        const int pair = value % 100;
        value /= 100;
        field[i] = static_cast<std::uint8_t>((pair / 10) << 4 | pair % 10);
    }
}

void StoreFrequencyText(FrequencyField field, const std::string& text, const BandLimits* limits)
{
    if (text.empty()) {
        std::fill(field.begin(), field.end(), std::uint8_t{0xFF});
        return;
    }
    const std::int32_t value = ParseFrequency(text);
    PackFrequency(field, limits ? SnapFrequency(value, *limits) : value);
}

int CheckBand(const std::string& text, const BandLimits& limits)
{
    if (text.empty())
        return 0;
    const std::int32_t value = ParseFrequency(text);
    if (value > limits.high)
        return 1;
    if (value < limits.low)
        return -1;
    return 0;
}
