#pragma once
// FM broadcast channels as the radio stores them: an index on the 100 kHz raster from 65.0 MHz
// (0) to 108.0 MHz (430), 431 for a preset that is not used. Shown as "65M0" ... "108M0", "OFF".

#include <string>

namespace FmPreset {

inline constexpr int kMaxFrequency = 430; // 108.0 MHz
inline constexpr int kOff = 431;          // preset not used

// "87M5" for 225, "OFF" for 431, the empty text for anything above.
std::string Text(int index);

} // namespace FmPreset
