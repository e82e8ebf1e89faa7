#include "radio/ImageParts.h"

#include "i18n/LangText.h"
#include "radio/RadioImage.h"

#include <algorithm>
#include <cstdio>

using namespace ImageMap;

namespace {

// Where each named part lies; itemSize 0 for a part without numbers.
struct Area
{
    ImagePart part;
    std::size_t offset;
    std::size_t size;
    std::size_t itemSize;
};

constexpr std::size_t kFmPresetSize = 2;
constexpr std::size_t kFmFrequencySize = 2;

constexpr Area kAreas[] = {
    {ImagePart::VfoA, RecordOffset(kVfoA), kRecordSize, 0},
    {ImagePart::Channel, RecordOffset(kFirstChannel), (kRecordSize * kChannelCount), kRecordSize},
    {ImagePart::VfoB, RecordOffset(kVfoB), kRecordSize, 0},
    {ImagePart::FmPreset, kFmPresets, (kFmPresetSize * kFmPresetCount), kFmPresetSize},
    {ImagePart::ChannelName, NameOffset(kFirstChannel), (kNameSize * kChannelCount), kNameSize},
    {ImagePart::FunctionSettings, kSettings, kSettingsSize, 0},
    {ImagePart::FmFrequency, kFmFrequency, kFmFrequencySize, 0},
    {ImagePart::FunctionSettings, kPttIdCode, kPttIdCodeSize, 0}, // edited on the function settings page
    {ImagePart::FrequencyBand, kBandDescriptor1, 2 * kBandDescriptorSize, 0},
    // The calibration values and the selected item.
    {ImagePart::Calibration, kCalibration, kCalibrationItem + 1 - kCalibration, 0},
};

// Texts of a single part and of a run (%1 first, %2 last).
struct PartTexts
{
    ImagePart part;
    const char* key;
    const char* rangeKey;
    const char* english;
    const char* englishRange;
};

constexpr PartTexts kTexts[] = {
    {ImagePart::VfoA, "IDS_UNREAD_VFOA", "IDS_UNREAD_VFOA", "VFO A", "VFO A"},
    {ImagePart::Channel, "IDS_UNREAD_CHANNEL", "IDS_UNREAD_CHANNELS", "channel %1",
     "channels %1\xE2\x80\x93%2"},
    {ImagePart::VfoB, "IDS_UNREAD_VFOB", "IDS_UNREAD_VFOB", "VFO B", "VFO B"},
    {ImagePart::FmPreset, "IDS_UNREAD_FMPRESET", "IDS_UNREAD_FMPRESETS", "FM preset %1",
     "FM presets %1\xE2\x80\x93%2"},
    {ImagePart::ChannelName, "IDS_UNREAD_NAME", "IDS_UNREAD_NAMES", "name of channel %1",
     "names of channels %1\xE2\x80\x93%2"},
    {ImagePart::FunctionSettings, "IDS_UNREAD_SETTINGS", "IDS_UNREAD_SETTINGS", "function settings",
     "function settings"},
    {ImagePart::FmFrequency, "IDS_UNREAD_FMFREQ", "IDS_UNREAD_FMFREQ", "FM radio frequency in use",
     "FM radio frequency in use"},
    {ImagePart::FrequencyBand, "IDS_UNREAD_BAND", "IDS_UNREAD_BAND", "frequency band", "frequency band"},
    {ImagePart::Calibration, "IDS_UNREAD_CALIBRATION", "IDS_UNREAD_CALIBRATION", "calibration values",
     "calibration values"},
    {ImagePart::OtherData, "IDS_UNREAD_OTHER", "IDS_UNREAD_OTHER", "other data at %1\xE2\x80\x93%2",
     "other data at %1\xE2\x80\x93%2"},
};

// Adds a span, joining it to the last one of the same part when nothing lies between their numbers.
void Add(std::vector<ImagePartSpan>& spans, const ImagePartSpan& span)
{
    const auto same = std::find_if(spans.rbegin(), spans.rend(),
                                   [&](const ImagePartSpan& s) { return s.part == span.part; });
    if (same != spans.rend() && span.first <= same->last + 1)
        same->last = std::max(same->last, span.last);
    else
        spans.push_back(span);
}

std::string Hex(int address)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(address));
    return text;
}

std::string Format(const ImagePartSpan& span, bool fromLanguageFile)
{
    const PartTexts& texts = *std::find_if(std::begin(kTexts), std::end(kTexts),
                                           [&](const PartTexts& t) { return t.part == span.part; });
    const bool range = span.first != span.last;
    const std::string templ = fromLanguageFile ? LoadLangString(range ? texts.rangeKey : texts.key)
                                               : std::string(range ? texts.englishRange : texts.english);
    if (span.part == ImagePart::OtherData)
        return FormatLangText(templ, Hex(span.first), Hex(span.last));
    return FormatLangText(templ, std::to_string(span.first), std::to_string(span.last));
}

} // namespace

std::vector<ImagePartSpan> PartsOfBlocks(std::vector<int> blockAddresses)
{
    std::sort(blockAddresses.begin(), blockAddresses.end());
    std::vector<ImagePartSpan> spans;
    for (const int address : blockAddresses) {
        const std::size_t begin = static_cast<std::size_t>(address);
        const std::size_t end = begin + kRecordSize;
        bool named = false;
        for (const Area& area : kAreas) {
            if (begin >= area.offset + area.size || end <= area.offset)
                continue;
            named = true;
            if (area.itemSize == 0) {
                Add(spans, {area.part, 0, 0});
                continue;
            }
            const std::size_t from = std::max(begin, area.offset) - area.offset;
            const std::size_t to = std::min(end, area.offset + area.size) - 1 - area.offset;
            Add(spans, {area.part, static_cast<int>(from / area.itemSize) + 1,
                        static_cast<int>(to / area.itemSize) + 1});
        }
        if (!named)
            Add(spans, {ImagePart::OtherData, address, address + static_cast<int>(kRecordSize) - 1});
    }
    return spans;
}

std::string EnglishPartText(const ImagePartSpan& span)
{
    return Format(span, false);
}

std::string LangPartText(const ImagePartSpan& span)
{
    return Format(span, true);
}
