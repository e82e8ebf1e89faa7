#include "radio/PttIdCode.h"

#include <string_view>

namespace {

constexpr std::string_view kSymbols = "0123456789ABCD";

} // namespace

std::string PttIdCodeText(const PttIdCodeBytes& bytes)
{
    std::string text;
    for (std::uint8_t b : bytes) {
        if (b >= kSymbols.size())
            break;
        text += kSymbols[b];
    }
    return text;
}

PttIdCodeBytes PttIdCodeFromText(const std::string& text)
{
    PttIdCodeBytes bytes;
    bytes.fill(0xFF);
    for (std::size_t i = 0; i < bytes.size() && i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'd')
            c = static_cast<char>(c - 'a' + 'A');
        const std::size_t at = kSymbols.find(c);
        if (at == std::string_view::npos)
            break;
        bytes[i] = static_cast<std::uint8_t>(at);
    }
    return bytes;
}
