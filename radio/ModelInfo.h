#pragma once
// The radio variants listed in section "ModelInfo" of setting.ini ("Freq%d" display names,
// "data%d" band descriptors). The settings file is read afresh on every call.
//
// A band descriptor is 4 bytes: lower and upper band edge, each a little-endian word of four BCD
// digits in 0.1 MHz (136.0 to 174.0 MHz is 60 13 40 17). A "data%d" value is the descriptor bytes
// in hex: 8 digits for one band, 16 for two bands (below and above 200 MHz).

#include "radio/BandLimits.h"
#include "radio/RadioImage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ModelEntry
{
    bool twoBand = false;
    std::array<std::uint8_t, 8> bytes{}; // descriptor 1, then descriptor 2 for two bands
    // Band edges in whole MHz (the 0.1 MHz digits are not used); lower2/upper2 for two bands only.
    int lower1 = 0;
    int upper1 = 0;
    int lower2 = 0;
    int upper2 = 0;

    // Image slot of a one-band descriptor: 0xF04 for a band reaching 200 MHz, else 0xF00.
    std::size_t Slot() const;
    bool Matches(const RadioImage& image) const;
    // Writes the descriptor(s); a one-band entry leaves the other slot alone.
    void WriteTo(RadioImage& image) const;
    // The limits this entry gives; only a two-band entry has a gap.
    BandLimits Limits() const;
};

// Decodes a "data%d" value; nothing when it is not 8 (or, for two bands, 16) hex digits.
std::optional<ModelEntry> ParseModelEntry(const std::string& text);

namespace ModelInfo {

inline constexpr int kMaxEntries = 16; // data0..data15
inline constexpr int kMaxNames = 10;   // Freq0..Freq9

// The text of "data<i>" (empty when missing), read with the given buffer size.
std::string EntryText(int i, std::size_t bufSize);

// The "Freq%d" display names, up to the first missing key.
std::vector<std::string> EntryNames();

// Index of the last entry whose descriptor(s) the image holds; 0 when none matches.
int FindEntry(const RadioImage& image);

// The limits of the entry FindEntry chooses; 100 to 520 MHz when it has no usable descriptor.
// A gap is only ever the one of a two-band entry: no gap of an earlier image outlives it.
BandLimits LimitsFor(const RadioImage& image);

} // namespace ModelInfo
