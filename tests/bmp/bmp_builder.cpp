#include "tests/bmp/bmp_builder.h"

#include <algorithm>

namespace kovrin::test::bmp {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFFu);
  Put16(out, v >> 16);
}

// Bytes the information header takes in the built file: at least the 40-byte
// fields, zero-filled up to a few hundred bytes for larger sizes.
std::size_t WrittenHeaderSize(const BmpShape& shape) {
  if (shape.headerSize == 12) return 12;
  return std::max<std::size_t>(40, std::min<uint32_t>(shape.headerSize, 512));
}

std::size_t HeadersSize(const BmpShape& shape) {
  const std::size_t entry = shape.headerSize == 12 ? 3 : 4;
  return (shape.fileHeader ? 14 : 0) + WrittenHeaderSize(shape) + 4 * shape.masks.size() + entry * shape.palette.size();
}

void PutInfoHeader(std::vector<uint8_t>& out, const BmpShape& shape) {
  const std::size_t start = out.size();
  Put32(out, shape.headerSize);
  if (shape.headerSize == 12) {
    Put16(out, static_cast<uint32_t>(shape.width) & 0xFFFFu);
    Put16(out, static_cast<uint32_t>(shape.height) & 0xFFFFu);
    Put16(out, shape.planes);
    Put16(out, shape.bitsPerPixel);
    return;
  }
  Put32(out, static_cast<uint32_t>(shape.width));
  Put32(out, static_cast<uint32_t>(shape.height));
  Put16(out, shape.planes);
  Put16(out, shape.bitsPerPixel);
  Put32(out, shape.compression);
  Put32(out, shape.imageSize);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, shape.colorsUsed);
  Put32(out, 0);
  while (out.size() - start < WrittenHeaderSize(shape)) out.push_back(0);
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
  return out << "(" << int{c.r} << "," << int{c.g} << "," << int{c.b} << ")";
}

std::size_t PixelStart(const BmpShape& shape) { return HeadersSize(shape) + shape.gap.size(); }

std::vector<uint8_t> BuildBmp(const BmpShape& shape) {
  std::vector<uint8_t> out;
  const std::size_t pixelStart = PixelStart(shape);
  if (shape.fileHeader) {
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<uint32_t>(pixelStart + shape.pixels.size()));
    Put32(out, 0);
    Put32(out, shape.pixelOffset.value_or(static_cast<uint32_t>(pixelStart)));
  }
  PutInfoHeader(out, shape);
  for (const uint32_t mask : shape.masks) Put32(out, mask);
  for (const Rgb& c : shape.palette) {
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    if (shape.headerSize != 12) out.push_back(0);
  }
  out.insert(out.end(), shape.gap.begin(), shape.gap.end());
  out.insert(out.end(), shape.pixels.begin(), shape.pixels.end());
  return out;
}

std::vector<uint8_t> PackRows(int bitsPerPixel, const std::vector<std::vector<uint32_t>>& rows) {
  std::vector<uint8_t> out;
  for (const auto& row : rows) {
    const std::size_t start = out.size();
    if (bitsPerPixel < 8) {
      const std::size_t perByte = 8 / static_cast<std::size_t>(bitsPerPixel);
      for (std::size_t x = 0; x < row.size(); ++x) {
        if (x % perByte == 0) out.push_back(0);
        const auto shift = static_cast<unsigned>(8 - bitsPerPixel * static_cast<int>(x % perByte + 1));
        out.back() = static_cast<uint8_t>(out.back() | row[x] << shift);
      }
    } else {
      for (const uint32_t v : row) {
        switch (bitsPerPixel) {
          case 8:
            out.push_back(static_cast<uint8_t>(v));
            break;
          case 16:
            Put16(out, v);
            break;
          case 24:  // stored blue, green, red
            out.push_back(static_cast<uint8_t>(v));
            out.push_back(static_cast<uint8_t>(v >> 8));
            out.push_back(static_cast<uint8_t>(v >> 16));
            break;
          default:
            Put32(out, v);
            break;
        }
      }
    }
    // Padding filled with a pattern that would show if it were ever decoded.
    while ((out.size() - start) % 4 != 0) out.push_back(0xA5);
  }
  return out;
}

std::vector<Rgb> TestPalette(std::size_t n) {
  std::vector<Rgb> palette;
  for (std::size_t i = 0; i < n; ++i) {
    palette.push_back(
        {static_cast<uint8_t>(i * 7 + 3), static_cast<uint8_t>(250 - i * 5 % 250), static_cast<uint8_t>(i * 13 + 100)});
  }
  return palette;
}

}  // namespace kovrin::test::bmp
