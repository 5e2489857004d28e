// Writes pictures as Windows bitmap files in the layouts the programs'
// decoder accepts. Every file is bottom-up (positive height) and has the
// 14-byte "BM" file header.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assets/picture.h"

namespace kovrin::assets {

enum class TrueColorLayout {
  Info24,  // 40-byte information header, 24 bits per pixel
  Info32,  // 40-byte information header, 32 bits per pixel (BGRX)
  Core24,  // 12-byte core header, 24 bits per pixel
};

enum class IndexedLayout {
  Info8,     // 40-byte header, 8 bits per pixel; colours used = palette size (0 for 256)
  Info8Rle,  // the same, RLE8-compressed
  Core4,     // 12-byte header, 4 bits per pixel, 16-entry table of 3-byte colours
};

std::vector<uint8_t> EncodeBmp(const Picture& picture, TrueColorLayout layout);
// Fails (throws std::invalid_argument) when the picture's palette or
// indices do not fit the layout.
std::vector<uint8_t> EncodeBmp(const IndexedPicture& picture, IndexedLayout layout);

// The RLE8 stream for the rows (bottom row first, as stored). Index 0 is
// not written where it would only fill a row's end or a gap of at least
// kRleDeltaMin pixels: the end-of-line and delta escapes skip those pixels,
// which the decoder leaves black. Two or more blank rows below a lit one
// are crossed by one delta. Every row, the last included, still ends with
// an end-of-line escape before the end of bitmap: some widespread readers
// take a stream that stops short of the last row for a truncated file.
inline constexpr int kRleDeltaMin = 6;
std::vector<uint8_t> EncodeRle8(const IndexedPicture& picture);

}  // namespace kovrin::assets
