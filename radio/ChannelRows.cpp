#include "radio/ChannelRows.h"

#include "radio/ChannelEditor.h"
#include "radio/VantorDoc.h"

#include <algorithm>

using namespace ImageMap;

namespace {

bool IsChannel(int n)
{
    return n >= kFirstChannel && n <= kLastChannel;
}

void SwapBytes(RadioImage& image, std::size_t a, std::size_t b, std::size_t count)
{
    std::swap_ranges(image.begin() + static_cast<std::ptrdiff_t>(a),
                     image.begin() + static_cast<std::ptrdiff_t>(a + count),
                     image.begin() + static_cast<std::ptrdiff_t>(b));
}

void SwapEmptyBits(RadioImage& image, int a, int b)
{
    const auto bit = [&image](int n) -> std::pair<std::uint8_t&, std::uint8_t> {
        return {image[kEmptyBitmap + static_cast<std::size_t>(n - 1) / 8],
                static_cast<std::uint8_t>(1u << ((n - 1) % 8))};
    };
    auto [byteA, maskA] = bit(a);
    const bool setA = byteA & maskA;
    auto [byteB, maskB] = bit(b);
    const bool setB = byteB & maskB;
    byteA = static_cast<std::uint8_t>(setB ? byteA | maskA : byteA & ~maskA);
    byteB = static_cast<std::uint8_t>(setA ? byteB | maskB : byteB & ~maskB);
}

} // namespace

void CChannelRows::Swap(int a, int b)
{
    RadioImage& image = m_doc.Image();
    SwapBytes(image, RecordOffset(a), RecordOffset(b), kRecordSize);
    SwapBytes(image, NameOffset(a), NameOffset(b), kNameSize);
    SwapEmptyBits(image, a, b);
}

bool CChannelRows::InsertEmpty(int channel)
{
    if (!IsChannel(channel) || !m_doc.IsRecordEmpty(kLastChannel))
        return false;
    // The empty last channel bubbles up to the insertion point.
    for (int n = kLastChannel; n > channel; --n)
        Swap(n, n - 1);
    Empty({channel});
    return true;
}

void CChannelRows::Empty(const std::vector<int>& channels)
{
    CChannelEditor editor(m_doc);
    for (int n : channels)
        if (IsChannel(n))
            editor.StoreRx(n, {});
}

bool CChannelRows::Move(const std::vector<int>& channels, int delta)
{
    if (channels.empty() || std::any_of(channels.begin(), channels.end(),
                                        [delta](int n) { return !IsChannel(n) || !IsChannel(n + delta); }))
        return false;
    // Moving up, the topmost goes first; moving down, the lowest: a block shifts as one.
    if (delta < 0)
        for (int n : channels)
            Swap(n, n + delta);
    else
        for (auto it = channels.rbegin(); it != channels.rend(); ++it)
            Swap(*it, *it + delta);
    return true;
}
