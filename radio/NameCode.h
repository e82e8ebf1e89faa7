#pragma once
// Channel names: up to five characters in the radio's one-byte code (0-9 digits, 10 "-",
// 11 space, 12-37 "A"-"Z", 38 "_", 39 "+", 40 "*"); any other byte ends the name, 0xFF pads it.

#include <array>
#include <cstdint>
#include <span>
#include <string>

using NameBytes = std::array<std::uint8_t, 5>;

// The name's text, 0 to 5 characters, up to the first byte without a character.
std::string DecodeName(std::span<const std::uint8_t, 5> bytes);

// Five name bytes; lower-case letters become upper case, the first character without a code and
// everything after it become 0xFF.
NameBytes EncodeName(const std::string& text);
