#include "radio/ImageDiff.h"

#include "radio/ChannelEditor.h"
#include "radio/FmPreset.h"
#include "radio/FrequencyCodec.h"
#include "radio/FunctionFields.h"
#include "radio/ToneList.h"
#include "radio/VantorDoc.h"
#include "radio/VfoFrequency.h"

#include <algorithm>
#include <array>
#include <cstdio>

using namespace ImageMap;

namespace {

std::string Offset(std::size_t offset)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%03zX", offset);
    return text;
}

std::string Change(const std::string& from, const std::string& to)
{
    return from + CImageDiff::kArrow + to;
}

std::string OnOff(int value)
{
    return value != 0 ? "on" : "off";
}

std::string OrNone(const std::string& text)
{
    return text.empty() ? std::string("none") : text;
}

// The two documents side by side, with the record of which image bytes a line has explained.
class CComparer
{
public:
    CComparer(CVantorDoc& a, CVantorDoc& b) : m_a(a), m_b(b) {}

    std::vector<std::string> Run()
    {
        CompareHeader();
        for (int n = kFirstChannel; n <= kLastChannel; ++n)
            CompareChannel(n);
        CompareVfo(kVfoA, "VFO A");
        CompareVfo(kVfoB, "VFO B");
        CompareFm();
        CompareSettings();
        ComparePttIdCode();
        CompareBookkeeping();
        CompareBands();
        CompareCalibration();
        CompareUninterpreted();
        return m_lines;
    }

private:
    const RadioImage& A() const { return m_a.Image(); }
    const RadioImage& B() const { return m_b.Image(); }

    bool Differs(std::size_t offset, std::size_t count) const
    {
        return !std::equal(A().begin() + static_cast<std::ptrdiff_t>(offset),
                           A().begin() + static_cast<std::ptrdiff_t>(offset + count),
                           B().begin() + static_cast<std::ptrdiff_t>(offset));
    }

    void Claim(std::size_t offset, std::size_t count)
    {
        std::fill_n(m_claimed.begin() + static_cast<std::ptrdiff_t>(offset), count, true);
    }

    void Add(const std::string& line) { m_lines.push_back(line); }

    // The bytes of a unit as hex when they differ but no line about the unit said so.
    void RawFallback(std::size_t linesBefore, const std::string& label, std::size_t offset, std::size_t count)
    {
        Claim(offset, count);
        if (m_lines.size() == linesBefore && Differs(offset, count))
            Add(label + " bytes at " + Offset(offset) + ": " +
                Change(HexBytes(A().data() + offset, count), HexBytes(B().data() + offset, count)));
    }

    void Field(const std::string& label, const std::string& from, const std::string& to)
    {
        if (from != to)
            Add(label + " " + Change(from, to));
    }

    void CompareHeader()
    {
        const FileHeader& a = m_a.Header();
        const FileHeader& b = m_b.Header();
        for (std::size_t i = 0; i < a.size();) {
            if (a[i] == b[i]) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < a.size() && end - i < 16 && a[end] != b[end])
                ++end;
            Add("data file header at " + Offset(i) + ": " +
                Change(HexBytes(a.data() + i, end - i), HexBytes(b.data() + i, end - i)));
            i = end;
        }
    }

    // The settings a record shares between channels and VFOs.
    void CompareRecordFields(int r, const std::string& label)
    {
        Field(label + " RX tone", ToneList::ReportText(m_a.ToneIndex(r, ToneDir::Rx)),
              ToneList::ReportText(m_b.ToneIndex(r, ToneDir::Rx)));
        Field(label + " TX tone", ToneList::ReportText(m_a.ToneIndex(r, ToneDir::Tx)),
              ToneList::ReportText(m_b.ToneIndex(r, ToneDir::Tx)));
        for (const ChannelChoiceField& c : kChannelChoices)
            Field(label + " " + c.reportLabel, c.words[m_a.GetChoice(r, c.choice)],
                  c.words[m_b.GetChoice(r, c.choice)]);
    }

    // Byte 8 bits 0-2 and 6-7 and bytes 13-15 of a record carry nothing the program shows.
    void CompareRecordSpare(int r, const std::string& label)
    {
        const std::size_t at = RecordOffset(r);
        std::array<std::uint8_t, 4> a = {static_cast<std::uint8_t>(A()[at + kRecFlags] & 0xC7), A()[at + 13],
                                         A()[at + 14], A()[at + 15]};
        std::array<std::uint8_t, 4> b = {static_cast<std::uint8_t>(B()[at + kRecFlags] & 0xC7), B()[at + 13],
                                         B()[at + 14], B()[at + 15]};
        if (a != b)
            Add(label + " bits not interpreted (byte +8 masked C7, bytes +13..+15) " +
                Change(HexBytes(a.data(), a.size()), HexBytes(b.data(), b.size())));
    }

    static std::string ChannelSummary(CVantorDoc& doc, int n)
    {
        const CChannelEditor editor(doc);
        std::string text = "RX " + editor.RxText(n) + ", TX " + OrNone(editor.TxText(n));
        text += ", tones " + ToneList::ReportText(doc.ToneIndex(n, ToneDir::Rx)) + "/" +
                ToneList::ReportText(doc.ToneIndex(n, ToneDir::Tx));
        const std::string name = CVantorDoc::DecodeName(doc.GetName(n));
        if (!name.empty())
            text += ", name \"" + name + "\"";
        return text;
    }

    void CompareChannel(int n)
    {
        const std::size_t before = m_lines.size();
        const std::string label = "channel " + std::to_string(n);
        const bool emptyA = m_a.IsRecordEmpty(n);
        const bool emptyB = m_b.IsRecordEmpty(n);
        if (emptyA && !emptyB) {
            Add(label + " added: " + ChannelSummary(m_b, n));
        } else if (!emptyA && emptyB) {
            Add(label + " deleted (was " + ChannelSummary(m_a, n) + ")");
        } else if (!emptyA) {
            const CChannelEditor a(m_a);
            const CChannelEditor b(m_b);
            Field(label + " receive", a.RxText(n), b.RxText(n));
            Field(label + " transmit", OrNone(a.TxText(n)), OrNone(b.TxText(n)));
            CompareRecordFields(n, label);
            Field(label + " step index", std::to_string(m_a.GetStepIndex(n)),
                  std::to_string(m_b.GetStepIndex(n)));
            CompareRecordSpare(n, label);
        }
        const std::string rawLabel = emptyA && emptyB ? label + " (not in use)" : label;
        RawFallback(before, rawLabel + " record", RecordOffset(n), kRecordSize);
        // An added or deleted channel's line shows its name; otherwise the name gets its own line.
        const std::size_t nameBefore = emptyA == emptyB ? m_lines.size() : before;
        if (!emptyA && !emptyB)
            Field(label + " name", "\"" + CVantorDoc::DecodeName(m_a.GetName(n)) + "\"",
                  "\"" + CVantorDoc::DecodeName(m_b.GetName(n)) + "\"");
        RawFallback(nameBefore, rawLabel + " name", NameOffset(n), kNameSize);
    }

    void CompareVfo(int r, const std::string& label)
    {
        const std::size_t before = m_lines.size();
        Field(label + " receive", OrNone(m_a.FrequencyText(r, FreqField::Rx)),
              OrNone(m_b.FrequencyText(r, FreqField::Rx)));
        Field(label + " transmit", OrNone(VfoTransmitText(m_a, r)), OrNone(VfoTransmitText(m_b, r)));
        CompareRecordFields(r, label);
        Field(label + " step index", std::to_string(m_a.GetStepIndex(r)),
              std::to_string(m_b.GetStepIndex(r)));
        CompareRecordSpare(r, label);
        RawFallback(before, label + " record", RecordOffset(r), kRecordSize);
    }

    static std::string FmText(int value)
    {
        const std::string text = FmPreset::Text(value);
        return text.empty() ? "invalid value " + std::to_string(value) : text;
    }

    void CompareFm()
    {
        for (int k = 1; k <= kFmPresetCount; ++k) {
            const std::size_t before = m_lines.size();
            Field("FM preset " + std::to_string(k), FmText(m_a.ReadWordBE(kFmPresets, k)),
                  FmText(m_b.ReadWordBE(kFmPresets, k)));
            RawFallback(before, "FM preset " + std::to_string(k),
                        kFmPresets + 2 * static_cast<std::size_t>(k - 1), 2);
        }
        const std::size_t before = m_lines.size();
        Field("FM frequency in use", FmText(m_a.ReadWordBE(kFmFrequency, 1)),
              FmText(m_b.ReadWordBE(kFmFrequency, 1)));
        RawFallback(before, "FM frequency in use", kFmFrequency, 2);
    }

    static std::string SettingText(const FunctionField& field, int value)
    {
        if (value >= 0 && static_cast<std::size_t>(value) < field.reportWords.size())
            return field.reportWords.begin()[value];
        return field.IsCheck() ? OnOff(value) : std::to_string(value);
    }

    void CompareSettings()
    {
        const std::size_t before = m_lines.size();
        std::array<int, kSettingsSize> interpreted{};
        for (const FunctionField& f : FunctionSettings::kFields) {
            Field(f.reportLabel, SettingText(f, f.Shown(m_a.GetSetting(f))),
                  SettingText(f, f.Shown(m_b.GetSetting(f))));
            interpreted[f.offset - kSettings] |= f.Mask();
        }
        // A bit that no setting covers gets a line of its own.
        for (std::size_t i = 0; i < kSettingsSize; ++i) {
            const int a = A()[kSettings + i];
            const int b = B()[kSettings + i];
            for (int bit = 0; bit < 8; ++bit)
                if ((~interpreted[i] & (a ^ b)) >> bit & 1)
                    Add("bit not interpreted at " + Offset(kSettings + i) + " bit " + std::to_string(bit) +
                        " " + Change(OnOff(a >> bit & 1), OnOff(b >> bit & 1)));
        }
        RawFallback(before, "function settings", kSettings, kSettingsSize);
    }

    void ComparePttIdCode()
    {
        const std::size_t before = m_lines.size();
        Field("PTT ID code", "\"" + PttIdCodeText(m_a.GetPttIdCode()) + "\"",
              "\"" + PttIdCodeText(m_b.GetPttIdCode()) + "\"");
        RawFallback(before, "PTT ID code", kPttIdCode, kPttIdCodeSize);
    }

    // Bytes the program recomputes before every transfer and save.
    void CompareBookkeeping()
    {
        const struct
        {
            const char* label;
            std::size_t offset;
            std::size_t size;
        } items[] = {
            {"first valid FM preset (recomputed)", kFirstFmPreset, 1},
            {"first channel in use (recomputed)", kFirstChannelInUse, 1},
            {"copy of the FM frequency (recomputed)", kFmFrequencyCopy, 2},
            {"first channel in use, copy (recomputed)", kFirstChannelInUse2, 1},
            {"empty-channel bitmap (recomputed)", kEmptyBitmap, kEmptyBitmapSize},
            {"model tag", kModelTag, kModelTagSize},
        };
        for (const auto& item : items)
            RawFallback(m_lines.size(), item.label, item.offset, item.size);
    }

    void CompareBands()
    {
        RawFallback(m_lines.size(), "band descriptor 1", kBandDescriptor1, kBandDescriptorSize);
        RawFallback(m_lines.size(), "band descriptor 2", kBandDescriptor2, kBandDescriptorSize);
        const BandLimits& a = m_a.GetBandLimits();
        const BandLimits& b = m_b.GetBandLimits();
        const auto text = [](const BandLimits& l) {
            return FormatFrequency(l.low) + " to " + FormatFrequency(l.high) + " MHz";
        };
        Field("band", text(a), text(b));
    }

    void CompareCalibration()
    {
        for (int i = 0; i < kCalibrationMaxItems; ++i) {
            Field("calibration value " + std::to_string(i + 1), std::to_string(m_a.GetCalibration(i)),
                  std::to_string(m_b.GetCalibration(i)));
            Claim(kCalibration + static_cast<std::size_t>(i), 1);
        }
        Field("selected test item", std::to_string(m_a.GetCalibrationItem()),
              std::to_string(m_b.GetCalibrationItem()));
        Claim(kCalibrationItem, 1);
    }

    // Runs of differing bytes that no line has explained, at most 16 bytes a line.
    void CompareUninterpreted()
    {
        for (std::size_t i = 0; i < kImageSize;) {
            if (m_claimed[i] || A()[i] == B()[i]) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < kImageSize && end - i < 16 && !m_claimed[end] && A()[end] != B()[end])
                ++end;
            Add("not interpreted at " + Offset(i) + ": " +
                Change(HexBytes(A().data() + i, end - i), HexBytes(B().data() + i, end - i)));
            i = end;
        }
    }

    CVantorDoc& m_a;
    CVantorDoc& m_b;
    std::vector<std::string> m_lines;
    std::array<bool, kImageSize> m_claimed{};
};

} // namespace

std::vector<std::string> CImageDiff::Compare(CVantorDoc& a, CVantorDoc& b)
{
    return CComparer(a, b).Run();
}
