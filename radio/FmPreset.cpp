#include "radio/FmPreset.h"

namespace FmPreset {

std::string Text(int index)
{
    if (index < 0 || index > kOff)
        return {};
    if (index == kOff)
        return "OFF";
    // 65.0 MHz + index x 0.1 MHz: whole megahertz, "M", the tenth.
    return std::to_string(65 + index / 10) + "M" + std::to_string(index % 10);
}

} // namespace FmPreset
