#pragma once
// The ".pgm" data file: a 48-byte header starting with the signature, then the 4096-byte image.
// 4144 bytes, no padding, no trailer.

#include "app/FileSave.h"
#include "radio/RadioImage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

using FileHeader = std::array<std::uint8_t, 48>;

namespace DataFile {

inline constexpr char kSignature[] = "ZQ708 Radio Program data v1.06";
inline constexpr std::size_t kSignatureSize = 30; // without terminator
inline constexpr std::size_t kCheckedSize = 24;   // "ZQ708 Radio Program data"; the version is not checked
inline constexpr std::size_t kHeaderSize = 48;
inline constexpr std::size_t kFileSize = kHeaderSize + ImageMap::kImageSize;

// Writes the signature into header bytes 0-29; bytes 30-47 keep what they hold.
void StampSignature(FileHeader& header);

enum class LoadStatus
{
    Loaded,         // header and image filled with the bytes the file has (a short file fills fewer)
    WrongSignature, // readable, but not a data file of this radio; nothing filled
    Failed,         // not a readable regular file; nothing filled, `error` says why
};

// Reads at most 4144 bytes. On Loaded, only the bytes present in the file are copied, so a short
// file leaves the rest of `header` and `image` as they were.
LoadStatus Load(const std::string& path, FileHeader& header, RadioImage& image, FileError& error);

// Saves the file whole (FileSave::Replace), so a failure leaves any old file intact. Returns false
// with `error` set on failure.
bool Store(const std::string& path, const FileHeader& header, const RadioImage& image, FileError& error);

} // namespace DataFile
