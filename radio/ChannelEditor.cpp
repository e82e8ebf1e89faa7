#include "radio/ChannelEditor.h"

#include "radio/FrequencyCodec.h"
#include "radio/VfoFrequency.h"

#include <algorithm>
#include <array>
#include <strings.h>

using namespace ImageMap;

namespace {

// Bytes +8..+12 of a deleted channel: no tones, no compander, high power, everything else off.
constexpr std::array<std::uint8_t, 5> kDeletedFlags = {0x00, 0x00, 0x00, 0x08, 0x00};

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

} // namespace

struct CChannelEditor::Snapshot
{
    std::array<std::uint8_t, kRecordSize> record{};
    NameBytes name{};
};

CChannelEditor::Snapshot CChannelEditor::Take(int channel) const
{
    Snapshot s;
    const auto rec = m_doc.Image().begin() + static_cast<std::ptrdiff_t>(RecordOffset(channel));
    std::copy_n(rec, kRecordSize, s.record.begin());
    s.name = m_doc.GetName(channel);
    return s;
}

bool CChannelEditor::Changed(int channel, const Snapshot& before) const
{
    const Snapshot after = Take(channel);
    return after.record != before.record || after.name != before.name;
}

std::string CChannelEditor::RxText(int channel) const
{
    return m_doc.FrequencyText(channel, FreqField::Rx);
}

std::string CChannelEditor::TxText(int channel) const
{
    // An empty channel has no transmit side, whatever offset bytes another tool or a radio left.
    if (m_doc.IsRecordEmpty(channel))
        return {};
    const std::string rx = m_doc.FrequencyText(channel, FreqField::Rx);
    const std::string offset = m_doc.FrequencyText(channel, FreqField::Offset);
    if (SameText(rx, offset))
        return {}; // no transmit side
    const std::int32_t r = ParseFrequency(rx);
    const std::int32_t o = ParseFrequency(offset);
    switch (m_doc.GetShiftDirection(channel)) {
    case 1:
        return FormatFrequency(std::max(0, r - o)); // odd data can hold an offset above RX
    case 2:
        return FormatFrequency(r + o);
    default:
        return rx;
    }
}

void CChannelEditor::StoreOffset(int channel, const std::string& rx, const std::string& tx)
{
    const TransmitShift shift = ShiftForTransmit(rx, tx);
    m_doc.SetShiftDirection(channel, shift.direction);
    m_doc.StoreFrequency(channel, FreqField::Offset, shift.offset);
}

bool CChannelEditor::StoreRx(int channel, const std::string& typed)
{
    const Snapshot before = Take(channel);
    const bool wasEmpty = m_doc.IsRecordEmpty(channel);
    const bool fresh = m_doc.IsOffsetEmpty(channel);
    const std::string oldTx = TxText(channel); // the transmit frequency stays where it was
    const std::string text = m_doc.ClampToBand(typed);
    m_doc.StoreFrequency(channel, FreqField::Rx, text);
    const std::string rx = RxText(channel);
    StoreOffset(channel, rx, rx.empty() ? std::string() : oldTx);

    if (text.empty()) {
        // Deleted: the offset is already empty; the settings and the name go back to blank.
        auto rec = m_doc.Image().begin() + static_cast<std::ptrdiff_t>(RecordOffset(channel));
        std::copy(kDeletedFlags.begin(), kDeletedFlags.end(), rec + kRecFlags);
        NameBytes empty;
        empty.fill(0xFF);
        m_doc.SetName(channel, empty);
    } else if (fresh) {
        // A newly filled channel transmits on its receive frequency.
        StoreOffset(channel, rx, rx);
    } else if (wasEmpty) {
        // Filled over leftover offset bytes: receive-only, so a hidden leftover TX tone goes too,
        // as when a TX frequency is cleared.
        m_doc.StoreToneIndex(channel, ToneDir::Tx, 0);
    }
    return Changed(channel, before);
}

bool CChannelEditor::StoreTx(int channel, const std::string& typed)
{
    const Snapshot before = Take(channel);
    const std::string text = m_doc.ClampToBand(typed);
    // Snap the transmit frequency exactly like a receive frequency by passing it through the RX
    // field, then put the RX bytes back as they were.
    std::array<std::uint8_t, 4> rxBytes{};
    auto rec = m_doc.Image().begin() + static_cast<std::ptrdiff_t>(RecordOffset(channel));
    std::copy_n(rec + kRecRxFreq, 4, rxBytes.begin());
    m_doc.StoreFrequency(channel, FreqField::Rx, text);
    const std::string tx = RxText(channel);
    std::copy(rxBytes.begin(), rxBytes.end(), rec + kRecRxFreq);

    StoreOffset(channel, RxText(channel), tx);
    if (text.empty())
        m_doc.StoreToneIndex(channel, ToneDir::Tx, 0);
    return Changed(channel, before);
}

bool CChannelEditor::StoreTone(int channel, ToneDir dir, int index)
{
    const Snapshot before = Take(channel);
    m_doc.StoreToneIndex(channel, dir, index);
    return Changed(channel, before);
}

bool CChannelEditor::StoreName(int channel, const std::string& text)
{
    const Snapshot before = Take(channel);
    m_doc.SetName(channel, CVantorDoc::EncodeName(text));
    return Changed(channel, before);
}

int CChannelEditor::GetChoice(int channel, ChannelChoice choice) const
{
    return m_doc.GetChoice(channel, choice);
}

bool CChannelEditor::StoreChoice(int channel, ChannelChoice choice, int value)
{
    const Snapshot before = Take(channel);
    m_doc.SetChoice(channel, choice, value);
    return Changed(channel, before);
}
