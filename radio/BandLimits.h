#pragma once
// The accepted frequency range of the radio variant, in units of 10 Hz.

#include <cstdint>

struct BandLimits
{
    std::int32_t low = 10000000;  // 100.00000 MHz until a variant is known
    std::int32_t high = 52000000; // 520.00000 MHz
    // Two-band variants only: the unsupported range between the bands. 0/0 means no gap.
    std::int32_t gapStart = 0;
    std::int32_t gapEnd = 0;
};
