// Windows bitmap (DIB) decoding into tightly packed RGB rows, bottom row first.
//
// Accepted: a file with the 14-byte "BM" file header or a bare packed DIB; the
// 40-byte information header and the 12-byte core header; 1, 4 and 8 bits per
// pixel through the colour table, RLE8 and RLE4, 16 (5-5-5), 24 and 32 bits
// per pixel, and bit-field masks for 16 and 32 bits. Channels narrower than
// 8 bits are scaled to the full range (31 of 31 becomes 255).
//
// Decisions for the odd cases:
// - Top-down images (negative height) come out like any other: rows bottom
//   first and a positive height, so width * height * 3 is always the buffer.
// - Pixels that an RLE stream skips or never reaches stay black; a run or a
//   delta that leaves the image, or a stream that ends early, only loses what
//   lies outside. RLE with a negative height is not a valid DIB and is
//   rejected as a conversion error.
// - Colour indices beyond the table are black.
// - A width or height of 0 (or a negative width) is a conversion error; a
//   picture larger than kBmpMaxImageBytes is "Out of memory.".
// - Every read is bounded by the real padded row stride and the file's end;
//   the header's image-size field is never trusted. A file too short for the
//   rows its header declares fails before the picture is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

struct ImageRecord {
  int32_t width = 0;
  int32_t height = 0;
  std::unique_ptr<uint8_t[]> pixels;  // width * height * 3 bytes, R G B
};

namespace kovrin::framework {

enum class BmpError {
  None,
  OpenFailed,       // "Failed to open DIB file %s.\n"
  UnknownFormat,    // "Unknown DIB file format."
  OutOfMemory,      // "Out of memory."
  ConversionError,  // "Image file conversion error."
};

struct BmpResult {
  std::unique_ptr<ImageRecord> image;  // null on failure
  BmpError error = BmpError::None;
};

// The largest decoded picture (width * height * 3 bytes) a decode will
// allocate. Far above any texture the programs use; it keeps a few hostile
// header bytes from claiming gigabytes.
inline constexpr uint64_t kBmpMaxImageBytes = uint64_t{1} << 28;

// Decodes a whole file's bytes; never reads outside them and shows nothing.
BmpResult DecodeBmp(std::span<const uint8_t> file);
// The same with a smaller allocation limit (the fuzz target uses it to stay
// fast); pictures above maxImageBytes fail with OutOfMemory.
BmpResult DecodeBmp(std::span<const uint8_t> file, uint64_t maxImageBytes);

// The message text the user sees for a failure (the path is used only for an
// open failure; the text is cut to fit 255 characters).
std::string BmpErrorMessage(BmpError error, const std::string& path);

}  // namespace kovrin::framework

// Reads and decodes one file; on failure shows one message box (caption
// "Error", OK) and returns null.
std::unique_ptr<ImageRecord> LoadBmpImage(const char* path);
