#pragma once
// Frequencies: integers in units of 10 Hz (145.50000 MHz is 14550000). In the image four packed
// BCD bytes, least significant pair first (00 00 55 14); as text megahertz with five decimals.

#include "radio/BandLimits.h"

#include <cstdint>
#include <span>
#include <string>

using FrequencyField = std::span<std::uint8_t, 4>;
using ConstFrequencyField = std::span<const std::uint8_t, 4>;

// "%03d.%05d": 145.50000, 045.00000.
std::string FormatFrequency(std::int32_t value);

// The field as the radio's digits ("145.50000", "45.00000"), or the empty text for an empty field.
std::string FrequencyFieldText(ConstFrequencyField field);

// The value of a typed text in 10 Hz units: digits before the point are megahertz, decimals beyond
// the fifth are dropped (not rounded). Text without leading digits reads as 0; huge values saturate.
std::int32_t ParseFrequency(const std::string& text);

// Moves a receive frequency onto the radio's raster: out of the gap of a two-band variant, then the
// 6.25 kHz raster point when it lies within the same kHz, else the nearest 5 kHz point (250 Hz down).
std::int32_t SnapFrequency(std::int32_t value, const BandLimits& limits);

// Packs a value as the eight BCD digits of a field.
void PackFrequency(FrequencyField field, std::int32_t value);

// Writes a typed text into a field: empty text stores FF FF FF FF; with `limits` the value is
// snapped (receive frequencies), without it is stored as typed (offsets).
void StoreFrequencyText(FrequencyField field, const std::string& text, const BandLimits* limits);

// -1 below the band, +1 above, 0 inside (both limits inclusive) or for the empty text.
int CheckBand(const std::string& text, const BandLimits& limits);
