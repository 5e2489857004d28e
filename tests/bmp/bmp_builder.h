// Builds small Windows bitmap files byte by byte, so that the decoder tests
// can state every header field they care about.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

namespace kovrin::test::bmp {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Rgb& c);

inline constexpr uint32_t kBiRgb = 0;
inline constexpr uint32_t kBiRle8 = 1;
inline constexpr uint32_t kBiRle4 = 2;
inline constexpr uint32_t kBiBitFields = 3;

struct BmpShape {
  bool fileHeader = true;
  // 12 writes a core header, 40 the information header; any other size the
  // information header's fields zero-filled up to that size.
  uint32_t headerSize = 40;
  int32_t width = 1;
  int32_t height = 1;  // a core header keeps only the low 16 bits
  uint16_t planes = 1;
  uint16_t bitsPerPixel = 24;
  uint32_t compression = kBiRgb;
  uint32_t imageSize = 0;
  uint32_t colorsUsed = 0;
  std::vector<uint32_t> masks;          // written right behind the header
  std::vector<Rgb> palette;             // 4-byte entries, 3-byte ones for a core header
  std::vector<uint8_t> gap;             // unused bytes between the table and the pixels
  std::vector<uint8_t> pixels;          // the encoded pixel data
  std::optional<uint32_t> pixelOffset;  // replaces the true offset in the file header
};

// Where the pixel data of a built file begins.
std::size_t PixelStart(const BmpShape& shape);
std::vector<uint8_t> BuildBmp(const BmpShape& shape);

// Rows of pixel values (palette indices, 16-bit words, 0xRRGGBB for 24 bits,
// 32-bit words) packed and padded to 4 bytes each, in the order given.
std::vector<uint8_t> PackRows(int bitsPerPixel, const std::vector<std::vector<uint32_t>>& rows);

// A palette of n distinct colours.
std::vector<Rgb> TestPalette(std::size_t n);

}  // namespace kovrin::test::bmp
