#include "radio/VfoFrequency.h"

#include "radio/FrequencyCodec.h"
#include "radio/VantorDoc.h"

#include <cstdio>
#include <strings.h>

namespace {

constexpr std::int32_t kFineRaster = 625;   // 6.25 kHz
constexpr std::int32_t kCoarseRaster = 500; // 5 kHz
constexpr std::int32_t kFineTolerance = 75; // 0.75 kHz

bool UsesFineRaster(int stepIndex)
{
    return stepIndex == 1 || stepIndex == 3;
}

// "%.5f" of a whole number of 10 Hz units: at least one digit before the point.
std::string FormatSigned(std::int64_t value)
{
    const std::int64_t magnitude = value < 0 ? -value : value;
    char text[40];
    std::snprintf(text, sizeof text, "%s%lld.%05lld", value < 0 ? "-" : "",
                  static_cast<long long>(magnitude / 100000), static_cast<long long>(magnitude % 100000));
    return text;
}

} // namespace

std::int32_t SnapToVfoStep(std::int32_t value, int stepIndex)
{
    const std::int32_t fine = (value + kFineTolerance) / kFineRaster * kFineRaster;
    const std::int32_t down = value / kCoarseRaster * kCoarseRaster;
    const std::int32_t up = down + kCoarseRaster;
    const bool upIsNearer = value - down > up - value;
    if (UsesFineRaster(stepIndex)) {
        if (value / 100 == fine / 100)
            return fine;
        return upIsNearer ? up : fine;
    }
    return upIsNearer ? up : down;
}

std::string SnapTextToVfoStep(const std::string& text, int stepIndex)
{
    return FormatFrequency(SnapToVfoStep(text.empty() ? 0 : ParseFrequency(text), stepIndex));
}

TransmitShift ShiftForTransmit(const std::string& rxText, const std::string& txText)
{
    if (rxText.empty() && txText.empty())
        return {};
    const std::int32_t rx = ParseFrequency(rxText);
    const std::int32_t tx = ParseFrequency(txText);
    if (tx < rx)
        return {1, FormatFrequency(rx - tx)};
    if (tx > rx)
        return {2, FormatFrequency(tx - rx)};
    return {0, "000.00000"};
}

std::string VfoTransmitText(const CVantorDoc& doc, int r)
{
    const std::string rx = doc.FrequencyText(r, FreqField::Rx);
    const std::string offset = doc.FrequencyText(r, FreqField::Offset);
    if (strcasecmp(rx.c_str(), offset.c_str()) == 0)
        return {};
    const std::int64_t rxValue = ParseFrequency(rx);
    const std::int64_t offsetValue = ParseFrequency(offset);
    switch (doc.GetShiftDirection(r)) {
    case 1:
        return FormatSigned(rxValue - offsetValue);
    case 2:
        return FormatSigned(rxValue + offsetValue);
    default:
        return rx;
    }
}

void CommitVfoFrequencies(CVantorDoc& doc, int r, const std::string& rxText, const std::string& txText)
{
    const std::string rxTyped = doc.ClampToBand(rxText);
    const std::string txTyped = doc.ClampToBand(txText);
    const int step = doc.GetStepIndex(r);

    // The receive field snaps what is stored in it; the transmit text borrows it for that.
    doc.StoreFrequency(r, FreqField::Rx, txTyped);
    const std::string tx = SnapTextToVfoStep(doc.FrequencyText(r, FreqField::Rx), step);
    doc.StoreFrequency(r, FreqField::Rx, rxTyped);
    doc.StoreFrequency(r, FreqField::Rx, SnapTextToVfoStep(doc.FrequencyText(r, FreqField::Rx), step));
    const std::string rx = doc.FrequencyText(r, FreqField::Rx);

    const TransmitShift shift = ShiftForTransmit(rx, tx);
    doc.SetShiftDirection(r, shift.direction);
    doc.StoreFrequency(r, FreqField::Offset, shift.offset);
}
