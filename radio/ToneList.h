#pragma once
// The 259-entry tone list the pages offer: 0 off, 1-50 CTCSS tones, 51-154 normal DCS codes,
// 155-258 the same codes inverted. In a record the radio keeps a tone byte (0 off, 1-50 CTCSS,
// 51-154 DCS) and a separate inverted-DCS flag.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ToneList {

inline constexpr int kCtcssCount = 50;
inline constexpr int kDcsCount = 104;
inline constexpr int kFirstCtcss = 1;
inline constexpr int kFirstDcsNormal = kFirstCtcss + kCtcssCount;     // 51
inline constexpr int kFirstDcsInverted = kFirstDcsNormal + kDcsCount; // 155
inline constexpr int kCount = kFirstDcsInverted + kDcsCount;          // 259

// The embedded lists, one text per fixed 8-byte slot: "67.0", "D023N", "D023I".
using Slot = std::array<char, 8>;
extern const std::array<Slot, kCtcssCount> g_ctcss;
extern const std::array<Slot, kDcsCount> g_dcsNormal;
extern const std::array<Slot, kDcsCount> g_dcsInverted;

struct ToneCode
{
    std::uint8_t byte = 0; // record byte 9 or 10
    bool inverted = false; // the direction's inverted-DCS flag in byte 8
};

// List index of a stored tone; bytes above 155 read as off.
int IndexFromCode(ToneCode code);

// Stored tone for a list index 0..258.
ToneCode CodeFromIndex(int index);

// Text of list entry `index`: "67.0", "D023N", "D023I"; index 0 is the language file's "IDS_OFF".
std::string Text(int index);

// Text of list entry `index` for the reports and comparisons, which are English whatever the
// language: "off" for index 0.
std::string ReportText(int index);

// All 259 texts in list order.
std::vector<std::string> Texts();

} // namespace ToneList
