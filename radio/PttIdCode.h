#pragma once
// The PTT ID code: up to six DTMF symbols, one byte each (0x00-0x09 "0"-"9", 0x0A-0x0D "A"-"D");
// any larger byte ends the code, 0xFF pads it.

#include <array>
#include <cstdint>
#include <string>

using PttIdCodeBytes = std::array<std::uint8_t, 6>;

// The code's text, up to the first byte without a symbol.
std::string PttIdCodeText(const PttIdCodeBytes& bytes);

// Six code bytes for a typed text; "a"-"d" count as "A"-"D"; any other character ("*", "#"
// included) ends the code.
PttIdCodeBytes PttIdCodeFromText(const std::string& text);
