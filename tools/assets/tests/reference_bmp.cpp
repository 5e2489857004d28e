#include "tools/assets/tests/reference_bmp.h"

namespace kovrin::assets {
namespace {

class Reader {
 public:
  explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  bool Has(size_t at, size_t n) const { return at <= bytes_.size() && n <= bytes_.size() - at; }
  uint32_t U16(size_t at) const { return bytes_[at] | bytes_[at + 1] << 8; }
  uint32_t U32(size_t at) const { return U16(at) | U16(at + 2) << 16; }
  uint8_t U8(size_t at) const { return bytes_[at]; }

 private:
  const std::vector<uint8_t>& bytes_;
};

bool ReadHeaders(const Reader& in, ReferenceBmp& bmp, std::string& error) {
  if (!in.Has(0, 26) || in.U16(0) != ('B' | 'M' << 8)) {
    error = "no BM file header";
    return false;
  }
  bmp.fileSizeField = in.U32(2);
  bmp.pixelOffset = in.U32(10);
  bmp.headerSize = in.U32(14);
  if (bmp.headerSize == 12) {
    bmp.width = static_cast<int32_t>(in.U16(18));
    bmp.height = static_cast<int32_t>(in.U16(20));
    bmp.bitsPerPixel = static_cast<int>(in.U16(24));
  } else if (bmp.headerSize == 40 && in.Has(0, 54)) {
    bmp.width = static_cast<int32_t>(in.U32(18));
    bmp.height = static_cast<int32_t>(in.U32(22));
    bmp.bitsPerPixel = static_cast<int>(in.U16(28));
    bmp.compression = in.U32(30);
    bmp.imageSize = in.U32(34);
    bmp.colorsUsed = in.U32(46);
  } else {
    error = "header size " + std::to_string(bmp.headerSize);
    return false;
  }
  if (bmp.width <= 0 || bmp.height <= 0 || bmp.width > 4096 || bmp.height > 4096) {
    error = "unexpected size";
    return false;
  }
  size_t entries = 0;
  if (bmp.bitsPerPixel <= 8) {
    entries = (bmp.headerSize == 40 && bmp.colorsUsed != 0) ? bmp.colorsUsed : (size_t{1} << bmp.bitsPerPixel);
  }
  const size_t entrySize = bmp.headerSize == 12 ? 3 : 4;
  const size_t tableAt = 14 + bmp.headerSize;
  if (!in.Has(tableAt, entries * entrySize)) {
    error = "colour table cut short";
    return false;
  }
  for (size_t i = 0; i < entries; ++i) {
    const size_t at = tableAt + i * entrySize;
    bmp.table.push_back({in.U8(at + 2), in.U8(at + 1), in.U8(at)});
  }
  return true;
}

bool ReadRle8(const Reader& in, ReferenceBmp& bmp, std::vector<int>& index, std::string& error) {
  size_t at = bmp.pixelOffset;
  int x = 0, row = 0;  // row 0 is the bottom row
  while (true) {
    if (!in.Has(at, 2)) {
      error = "RLE8 stream cut short";
      return false;
    }
    const uint8_t count = in.U8(at), value = in.U8(at + 1);
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i, ++x) {
        if (x >= bmp.width || row >= bmp.height) {
          error = "RLE8 run leaves the image";
          return false;
        }
        index[static_cast<size_t>((bmp.height - 1 - row) * bmp.width + x)] = value;
      }
    } else if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      bmp.rleEndRow = row;
      return true;
    } else if (value == 2) {
      if (!in.Has(at, 2)) {
        error = "RLE8 delta cut short";
        return false;
      }
      x += in.U8(at);
      row += in.U8(at + 1);
      at += 2;
    } else {
      if (!in.Has(at, value) || x + value > bmp.width || row >= bmp.height) {
        error = "RLE8 absolute span leaves the image or the file";
        return false;
      }
      for (int i = 0; i < value; ++i, ++x) {
        index[static_cast<size_t>((bmp.height - 1 - row) * bmp.width + x)] = in.U8(at + static_cast<size_t>(i));
      }
      at += value + (value % 2);
    }
  }
}

bool ReadRows(const Reader& in, ReferenceBmp& bmp, std::vector<int>& index, std::string& error) {
  const size_t stride = (static_cast<size_t>(bmp.width) * static_cast<size_t>(bmp.bitsPerPixel) + 31) / 32 * 4;
  if (!in.Has(bmp.pixelOffset, stride * static_cast<size_t>(bmp.height))) {
    error = "pixel rows cut short";
    return false;
  }
  for (int row = 0; row < bmp.height; ++row) {
    const size_t rowAt = bmp.pixelOffset + stride * static_cast<size_t>(row);
    for (int x = 0; x < bmp.width; ++x) {
      const size_t out = static_cast<size_t>((bmp.height - 1 - row) * bmp.width + x);
      const size_t ux = static_cast<size_t>(x);
      switch (bmp.bitsPerPixel) {
        case 4:
          index[out] = (in.U8(rowAt + ux / 2) >> (ux % 2 == 0 ? 4 : 0)) & 0x0F;
          break;
        case 8:
          index[out] = in.U8(rowAt + ux);
          break;
        default: {
          const size_t at = rowAt + ux * static_cast<size_t>(bmp.bitsPerPixel / 8);
          bmp.pixels[out] = {in.U8(at + 2), in.U8(at + 1), in.U8(at)};
        }
      }
    }
  }
  return true;
}

}  // namespace

ReferenceBmp ReadReferenceBmp(const std::vector<uint8_t>& file, std::string& error) {
  Reader in(file);
  ReferenceBmp bmp;
  if (!ReadHeaders(in, bmp, error)) {
    return {};
  }
  const size_t count = static_cast<size_t>(bmp.width) * static_cast<size_t>(bmp.height);
  bmp.pixels.assign(count, Rgb{});
  std::vector<int> index(count, -1);  // -1: never set, which reads as black
  const bool ok = bmp.compression == 1 ? ReadRle8(in, bmp, index, error) : ReadRows(in, bmp, index, error);
  if (!ok) {
    return {};
  }
  if (bmp.bitsPerPixel <= 8) {
    bmp.indices.assign(count, 0);
    for (size_t i = 0; i < count; ++i) {
      if (index[i] >= static_cast<int>(bmp.table.size())) {
        error = "index beyond the colour table";
        return {};
      }
      bmp.indices[i] = static_cast<uint8_t>(index[i] < 0 ? 0 : index[i]);
      bmp.pixels[i] = index[i] < 0 ? Rgb{} : bmp.table[static_cast<size_t>(index[i])];
    }
  }
  return bmp;
}

}  // namespace kovrin::assets
