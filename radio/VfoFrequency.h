#pragma once
// Frequency rules of the two VFO records (0 "F1", 130 "F2"): the step raster, the transmit text
// shown for a record, and how the typed receive and transmit texts become receive frequency,
// offset and shift direction.

#include <cstdint>
#include <string>

class CVantorDoc;

// Snaps a frequency (10 Hz units) to the raster of a VFO step index. Steps 1 and 3 use the
// 6.25 kHz raster (with 0.75 kHz tolerance, else the upper 5 kHz point past half way); every other
// step the nearest 5 kHz point, exactly half way going down.
std::int32_t SnapToVfoStep(std::int32_t value, int stepIndex);

// The same for a text; an empty text counts as 0. The result is "%03d.%05d".
std::string SnapTextToVfoStep(const std::string& text, int stepIndex);

// Shift direction and offset text that make a record transmit on `txText` while receiving on
// `rxText`: 1 below, 2 above, 0 with "000.00000" when equal; both texts empty give 0 and "".
struct TransmitShift
{
    int direction = 0;
    std::string offset;
};
TransmitShift ShiftForTransmit(const std::string& rxText, const std::string& txText);

// The transmit frequency record r shows: empty when the offset equals the receive frequency,
// otherwise receive -/+ offset by the shift direction, or the receive text itself for direction 0.
std::string VfoTransmitText(const CVantorDoc& doc, int r);

// Stores the two texts typed for record r: out-of-band texts become the nearer band edge, both are
// snapped (receive raster, then the record's step), and the transmit side becomes offset and
// direction. An empty transmit text makes the record receive-only; an empty receive text stores 0 Hz.
// The caller sets the modified flag.
void CommitVfoFrequencies(CVantorDoc& doc, int r, const std::string& rxText, const std::string& txText);
