#include "radio/RadioImage.h"

#include <algorithm>

using namespace ImageMap;

bool IsRecordEmpty(const RadioImage& image, int r)
{
    return IsEmptyFrequencyByte(image[RecordOffset(r) + kRecRxFreq + 3]);
}

std::string HexBytes(const std::uint8_t* bytes, std::size_t count)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

void BlankImage(RadioImage& image)
{
    image.fill(0xFF);
}

int ReadWordBE(const RadioImage& image, std::size_t base, int k)
{
    const std::size_t at = base + 2 * static_cast<std::size_t>(k) - 2;
    return image[at] * 256 + image[at + 1];
}

void WriteWordBE(RadioImage& image, std::size_t base, int k, int value)
{
    const std::size_t at = base + 2 * static_cast<std::size_t>(k) - 2;
    image[at] = static_cast<std::uint8_t>((value / 256) & 0xFF);
    image[at + 1] = static_cast<std::uint8_t>(value % 256);
}

void PrepareImageForTransfer(RadioImage& image)
{
    std::copy_n(kModelTagText, kModelTagSize, image.begin() + kModelTag);

    bool foundInUse = false;
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        const bool empty = IsRecordEmpty(image, n);
        std::uint8_t& bits = image[kEmptyBitmap + static_cast<std::size_t>(n - 1) / 8];
        const auto mask = static_cast<std::uint8_t>(1u << ((n - 1) % 8));
        bits = empty ? static_cast<std::uint8_t>(bits | mask) : static_cast<std::uint8_t>(bits & ~mask);
        if (!foundInUse) {
            const auto first = static_cast<std::uint8_t>(empty ? 0 : n);
            image[kFirstChannelInUse] = first;
            image[kFirstChannelInUse2] = first;
            foundInUse = !empty;
        }
    }

    // With no valid preset the radio keeps the old index.
    for (int k = 1; k <= kFmPresetCount; ++k) {
        if (ReadWordBE(image, kFmPresets, k) <= kFmPresetMaxValid) {
            image[kFirstFmPreset] = static_cast<std::uint8_t>(k - 1);
            break;
        }
    }

    WriteWordBE(image, kFmFrequencyCopy, 1, ReadWordBE(image, kFmFrequency, 1));
}
