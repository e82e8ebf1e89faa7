#pragma once
// The radio's 4096-byte memory and the map of what lives where in it. Offsets are the radio's
// own memory format (hexadecimal); bytes 0xFF mean that nothing is stored there.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

using RadioImage = std::array<std::uint8_t, 4096>;

namespace ImageMap {

inline constexpr std::size_t kImageSize = 0x1000;

// Records in the channel layout: record r lies at 16 x r.
inline constexpr std::size_t kRecordSize = 0x10;
inline constexpr int kVfoA = 0;         // "F1"
inline constexpr int kFirstChannel = 1; // channel n is record n
inline constexpr int kLastChannel = 128;
inline constexpr int kChannelCount = 128;
inline constexpr int kVfoB = 130; // "F2"; record 129 (0x810) is not interpreted
inline constexpr int kLastRecord = 130;

// Bytes inside a 16-byte record.
inline constexpr std::size_t kRecRxFreq = 0; // 4 BCD bytes, least significant pair first
inline constexpr std::size_t kRecOffset = 4; // same encoding
inline constexpr std::size_t kRecFlags = 8;  // bit 3 compander, 4 RX inverted DCS, 5 TX inverted DCS
inline constexpr std::size_t kRecRxTone = 9;
inline constexpr std::size_t kRecTxTone = 10;
inline constexpr std::size_t kRecMode =
    11; // bits 0-1 shift, 2 inversion, 3 power, 4 BCL, 5 narrow, 6 scan, 7 PTT ID
inline constexpr std::size_t kRecStep = 12;

// FM broadcast presets: 16 big-endian words; 0..430 are valid, 431 marks an empty preset.
inline constexpr std::size_t kFmPresets = 0x9A0;
inline constexpr int kFmPresetCount = 16;
inline constexpr int kFmPresetMaxValid = 430;
inline constexpr int kFmPresetEmpty = 431;

// Channel names: 5 bytes each; channel n (1..128) at kNameBase + 5 x n, channel 1 at 0xA00.
inline constexpr std::size_t kNameBase = 0x9FB;
inline constexpr std::size_t kNameSize = 5;

// Function settings and the bookkeeping bytes recomputed before every transfer and save.
inline constexpr std::size_t kSettings = 0xD00; // 0xD00..0xD06
inline constexpr std::size_t kSettingsSize = 7;
inline constexpr std::size_t kFirstFmPreset = 0xD07;      // 0-based index of the first valid preset
inline constexpr std::size_t kFirstChannelInUse = 0xD08;  // 1..128, 0 when none is in use
inline constexpr std::size_t kFmFrequencyCopy = 0xD09;    // big-endian copy of kFmFrequency
inline constexpr std::size_t kFmFrequency = 0xD0B;        // big-endian FM broadcast frequency in use
inline constexpr std::size_t kFirstChannelInUse2 = 0xD0D; // same value as kFirstChannelInUse
inline constexpr std::size_t kPttIdCode = 0xD20;
inline constexpr std::size_t kPttIdCodeSize = 6;
inline constexpr std::size_t kEmptyBitmap = 0xD30; // bit (n-1)%8 of byte (n-1)/8 set: channel n empty
inline constexpr std::size_t kEmptyBitmapSize = 0x10;
inline constexpr std::size_t kModelTag = 0xD40; // "HZQ708"
inline constexpr char kModelTagText[] = "HZQ708";
inline constexpr std::size_t kModelTagSize = 6;

// Band descriptors: slot 1 for the band below 200 MHz, slot 2 for the band at or above.
inline constexpr std::size_t kBandDescriptor1 = 0xF00;
inline constexpr std::size_t kBandDescriptor2 = 0xF04;
inline constexpr std::size_t kBandDescriptorSize = 4;

// The last 32 bytes are read from the radio but never sent by the normal write.
inline constexpr std::size_t kUnsentTail = 0xFE0;

// Service-mode calibration values: item i at kCalibration + i; the selected item at kCalibrationItem.
inline constexpr std::size_t kCalibration = 0xFF0;
inline constexpr int kCalibrationMaxItems = 12;
inline constexpr std::size_t kCalibrationItem = 0xFFC;

} // namespace ImageMap

constexpr std::size_t RecordOffset(int r)
{
    return ImageMap::kRecordSize * static_cast<std::size_t>(r);
}

constexpr std::size_t NameOffset(int channel)
{
    return ImageMap::kNameBase + ImageMap::kNameSize * static_cast<std::size_t>(channel);
}

// A frequency field holds no frequency when its most significant byte is no BCD pair.
constexpr bool IsEmptyFrequencyByte(std::uint8_t b)
{
    return b > 0x99;
}

// Whether record r (or channel r) holds no receive frequency, i.e. is not in use.
bool IsRecordEmpty(const RadioImage& image, int r);

// "0A FF 00": `count` bytes in upper-case hex, one blank between them.
std::string HexBytes(const std::uint8_t* bytes, std::size_t count);

// Sets all 4096 bytes to 0xFF.
void BlankImage(RadioImage& image);

// 16-bit big-endian word number k (from 1) of the table at `base`: offset base + 2k - 2.
int ReadWordBE(const RadioImage& image, std::size_t base, int k);
void WriteWordBE(RadioImage& image, std::size_t base, int k, int value);

// Recomputes the bookkeeping bytes (model tag, empty-channel bitmap, first channel in use,
// first valid FM preset, FM frequency copy). Run before every read, write and Save.
void PrepareImageForTransfer(RadioImage& image);
