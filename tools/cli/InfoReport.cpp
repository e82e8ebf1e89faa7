#include "tools/cli/InfoReport.h"

#include <array>
#include <cstdio>
#include <utility>
#include <variant>
#include <vector>

#include "radio/ChannelChoices.h"
#include "radio/ChannelEditor.h"
#include "radio/FmPreset.h"
#include "radio/FrequencyCodec.h"
#include "radio/FunctionFields.h"
#include "radio/PttIdCode.h"
#include "radio/ToneList.h"
#include "radio/VantorDoc.h"
#include "radio/VfoFrequency.h"

namespace {

// One record as the channel table (or the VFO page) shows it.
struct RecordInfo
{
    std::string label; // "1".."128", "F1", "F2"
    std::string rx, tx, offset;
    int direction = 0;
    std::string rxTone, txTone;
    std::array<int, std::size(kChannelChoices)> choices{}; // in the table's order
    std::string name;                                      // a channel's name; a VFO's label
    int step = -1;                                         // VFOs only
};

using Value = std::variant<int, std::string>;
using Setting = std::pair<const char*, Value>;

struct Summary
{
    std::string modelTag;
    std::string descriptor1, descriptor2;
    BandLimits limits;
    std::vector<std::pair<int, RecordInfo>> channels;
    RecordInfo vfo[2];
    std::vector<int> fmPresets;
    int fmFrequency = 0;
    std::vector<Setting> settings;
};

void FillFlags(const CVantorDoc& doc, int r, RecordInfo& info)
{
    info.direction = doc.GetShiftDirection(r);
    info.rxTone = ToneList::ReportText(doc.ToneIndex(r, ToneDir::Rx));
    info.txTone = ToneList::ReportText(doc.ToneIndex(r, ToneDir::Tx));
    for (std::size_t i = 0; i < info.choices.size(); ++i)
        info.choices[i] = doc.GetChoice(r, kChannelChoices[i].choice);
}

Summary Collect(CVantorDoc& doc)
{
    const RadioImage& image = doc.Image();
    Summary s;
    for (std::size_t i = 0; i < ImageMap::kModelTagSize; ++i) {
        const std::uint8_t c = image[ImageMap::kModelTag + i];
        if (c == 0x00 || c == 0xFF)
            break;
        s.modelTag += static_cast<char>(c);
    }
    s.descriptor1 = HexBytes(image.data() + ImageMap::kBandDescriptor1, ImageMap::kBandDescriptorSize);
    s.descriptor2 = HexBytes(image.data() + ImageMap::kBandDescriptor2, ImageMap::kBandDescriptorSize);
    s.limits = doc.GetBandLimits();

    const CChannelEditor channels(doc);
    for (int n = ImageMap::kFirstChannel; n <= ImageMap::kLastChannel; ++n) {
        if (doc.IsRecordEmpty(n))
            continue;
        RecordInfo info;
        info.label = std::to_string(n);
        info.rx = channels.RxText(n);
        info.tx = channels.TxText(n);
        info.offset = doc.FrequencyText(n, FreqField::Offset);
        FillFlags(doc, n, info);
        info.name = CVantorDoc::DecodeName(doc.GetName(n));
        s.channels.emplace_back(n, std::move(info));
    }
    const int vfoRecords[2] = {ImageMap::kVfoA, ImageMap::kVfoB};
    for (int v = 0; v < 2; ++v) {
        const int r = vfoRecords[v];
        RecordInfo& info = s.vfo[v];
        info.label = v == 0 ? "F1" : "F2";
        info.name = info.label;
        info.rx = doc.FrequencyText(r, FreqField::Rx);
        info.tx = VfoTransmitText(doc, r);
        info.offset = doc.FrequencyText(r, FreqField::Offset);
        FillFlags(doc, r, info);
        info.step = doc.GetStepIndex(r);
    }
    for (int k = 1; k <= ImageMap::kFmPresetCount; ++k)
        s.fmPresets.push_back(doc.ReadWordBE(ImageMap::kFmPresets, k));
    s.fmFrequency = doc.ReadWordBE(ImageMap::kFmFrequency, 1);

    for (const FunctionField& field : FunctionSettings::kFields)
        s.settings.emplace_back(field.name, doc.GetSetting(field));
    s.settings.emplace_back("PttIdCode", PttIdCodeText(doc.GetPttIdCode()));
    return s;
}

std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += ch; // names are UTF-8 from the name code
        }
    }
    return out + "\"";
}

std::string Json(const Value& value)
{
    if (const int* number = std::get_if<int>(&value))
        return std::to_string(*number);
    return Quoted(std::get<std::string>(value));
}

std::string RecordJson(const RecordInfo& r, const std::string& first)
{
    std::string out = "{" + first;
    out += "\"rx\": " + Quoted(r.rx) + ", \"tx\": " + Quoted(r.tx) + ", \"offset\": " + Quoted(r.offset);
    out += ", \"direction\": " + std::to_string(r.direction);
    out += ", \"rx_tone\": " + Quoted(r.rxTone) + ", \"tx_tone\": " + Quoted(r.txTone);
    for (std::size_t i = 0; i < r.choices.size(); ++i)
        out += std::string(", \"") + kChannelChoices[i].key + "\": " + std::to_string(r.choices[i]);
    if (r.step >= 0)
        out += ", \"step\": " + std::to_string(r.step);
    return out + ", \"name\": " + Quoted(r.name) + "}";
}

const char* const kDirections[] = {"", "-", "+"};

const char* ChoiceWord(const RecordInfo& r, ChannelChoice choice)
{
    const auto i = static_cast<std::size_t>(choice);
    return kChannelChoices[i].words[r.choices[i] != 0];
}

std::string RecordLine(const RecordInfo& r)
{
    char line[256];
    std::snprintf(line, sizeof line,
                  "  %-4s %-10s %-10s %-10s %-3s %-6s %-6s %-4s %-3s %-6s %-4s %-3s %-3s %-4s %s\n",
                  r.label.c_str(), r.rx.c_str(), r.tx.c_str(), r.offset.c_str(),
                  kDirections[r.direction >= 0 && r.direction <= 2 ? r.direction : 0], r.rxTone.c_str(),
                  r.txTone.c_str(), ChoiceWord(r, ChannelChoice::Power), ChoiceWord(r, ChannelChoice::Bcl),
                  ChoiceWord(r, ChannelChoice::Bandwidth), ChoiceWord(r, ChannelChoice::ScanAdd),
                  ChoiceWord(r, ChannelChoice::Reverse), ChoiceWord(r, ChannelChoice::PttId),
                  ChoiceWord(r, ChannelChoice::Compander),
                  r.step >= 0 ? ("step " + std::to_string(r.step)).c_str() : r.name.c_str());
    return line;
}

const char kRecordHeader[] =
    "  No   RX         TX         Offset     Dir RX tone TX tone Pwr BCL BW     Scan Rev PTT Comp Name\n";

} // namespace

std::string InfoText(CVantorDoc& doc)
{
    const Summary s = Collect(doc);
    std::string out = "Model tag: " + s.modelTag + "\n";
    out += "Band: " + FormatFrequency(s.limits.low) + " to " + FormatFrequency(s.limits.high) + " MHz";
    if (s.limits.gapStart != s.limits.gapEnd)
        out +=
            " (not " + FormatFrequency(s.limits.gapStart) + " to " + FormatFrequency(s.limits.gapEnd) + ")";
    out += "\nBand descriptors: " + s.descriptor1 + " / " + s.descriptor2 + "\n\n";

    out += "Channels in use: " + std::to_string(s.channels.size()) + "\n";
    if (!s.channels.empty())
        out += kRecordHeader;
    for (const auto& channel : s.channels)
        out += RecordLine(channel.second);

    out += "\nVFOs:\n";
    out += kRecordHeader;
    out += RecordLine(s.vfo[0]) + RecordLine(s.vfo[1]);

    out += "\nFM presets:";
    for (std::size_t k = 0; k < s.fmPresets.size(); ++k) {
        const std::string text = FmPreset::Text(s.fmPresets[k]);
        out += (k % 8 == 0 ? "\n  " : "  ") + std::to_string(k + 1) + ": " + (text.empty() ? "?" : text);
    }
    out += "\nFM frequency: " + std::to_string(s.fmFrequency) + " (" + FmPreset::Text(s.fmFrequency) + ")\n";

    out += "\nFunction settings:\n";
    for (const auto& [key, value] : s.settings) {
        out += std::string("  ") + key + " = ";
        out += std::holds_alternative<int>(value) ? std::to_string(std::get<int>(value))
                                                  : std::get<std::string>(value);
        out += "\n";
    }
    return out;
}

std::string InfoJson(CVantorDoc& doc)
{
    const Summary s = Collect(doc);
    std::string out = "{\n  \"model_tag\": " + Quoted(s.modelTag) + ",\n";
    out += "  \"band\": {\"low\": " + std::to_string(s.limits.low) +
           ", \"high\": " + std::to_string(s.limits.high) + "},\n";
    out += "  \"channels\": [";
    for (std::size_t i = 0; i < s.channels.size(); ++i) {
        out += i == 0 ? "\n    " : ",\n    ";
        out += RecordJson(s.channels[i].second, "\"number\": " + std::to_string(s.channels[i].first) + ", ");
    }
    out += s.channels.empty() ? "],\n" : "\n  ],\n";
    out +=
        "  \"vfo\": [\n    " + RecordJson(s.vfo[0], "") + ",\n    " + RecordJson(s.vfo[1], "") + "\n  ],\n";
    out += "  \"fm_presets\": [";
    for (std::size_t k = 0; k < s.fmPresets.size(); ++k)
        out += (k == 0 ? "" : ", ") + std::to_string(s.fmPresets[k]);
    out += "],\n  \"fm_frequency\": " + std::to_string(s.fmFrequency) + ",\n";
    out += "  \"settings\": {";
    for (std::size_t i = 0; i < s.settings.size(); ++i)
        out += std::string(i == 0 ? "\n    " : ",\n    ") + Quoted(s.settings[i].first) + ": " +
               Json(s.settings[i].second);
    out += "\n  }\n}\n";
    return out;
}
