#include "radio/NameCode.h"

#include <string_view>

namespace {

constexpr std::string_view kCharacters = "0123456789- ABCDEFGHIJKLMNOPQRSTUVWXYZ_+*";

int CodeOf(char c)
{
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    const std::size_t at = kCharacters.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

} // namespace

std::string DecodeName(std::span<const std::uint8_t, 5> bytes)
{
    std::string text;
    for (std::uint8_t b : bytes) {
        if (b >= kCharacters.size())
            break;
        text += kCharacters[b];
    }
    return text;
}

NameBytes EncodeName(const std::string& text)
{
    NameBytes bytes;
    bytes.fill(0xFF);
    for (std::size_t i = 0; i < bytes.size() && i < text.size(); ++i) {
        const int code = CodeOf(text[i]);
        if (code < 0)
            break;
        bytes[i] = static_cast<std::uint8_t>(code);
    }
    return bytes;
}
