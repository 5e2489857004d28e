// Windows bitmap decoding. On Windows a DIB becomes 24-bit RGB through one
// general conversion (SetDIBits into a 24-bit section); Linux has no such
// service, so this file performs that conversion itself for every accepted
// format: colour tables, RLE8/RLE4, 16/24/32 bits and bit-field masks.
#include "framework/bmp_decoder.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <new>
#include <utility>

#include "framework/regular_file.h"
#include "platform/platform.h"

namespace kovrin::framework {
namespace {

constexpr uint64_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint64_t kMaskBytes = 12;  // red, green and blue mask behind the header

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

// Little-endian fields of the file. Callers check Has() before they read.
class Bytes {
 public:
  explicit Bytes(std::span<const uint8_t> data) : data_(data) {}
  bool Has(uint64_t pos, uint64_t count) const { return pos <= data_.size() && count <= data_.size() - pos; }
  uint8_t U8(uint64_t pos) const { return data_[pos]; }
  uint16_t U16(uint64_t pos) const { return static_cast<uint16_t>(U8(pos) | U8(pos + 1) << 8); }
  uint32_t U32(uint64_t pos) const { return uint32_t{U16(pos)} | uint32_t{U16(pos + 2)} << 16; }
  const uint8_t* At(uint64_t pos) const { return data_.data() + pos; }

 private:
  std::span<const uint8_t> data_;
};

// What the headers say, with every position already checked against the file
// except the pixel data's.
struct Dib {
  uint32_t headerSize = 0;
  int64_t width = 0;
  int64_t height = 0;  // negative: the rows are stored top row first
  uint16_t planes = 0;
  uint16_t bitsPerPixel = 0;
  uint32_t compression = kRgb;
  uint32_t masks[3] = {};  // red, green, blue; only with bit fields
  uint64_t tableStart = 0;
  uint64_t tableEntries = 0;
  uint64_t entrySize = 4;  // 3 in a core header's table
  uint64_t pixelOffset = 0;

  uint64_t Width() const { return static_cast<uint64_t>(width); }
  uint64_t Rows() const { return static_cast<uint64_t>(height < 0 ? -height : height); }
  bool Rle() const { return compression == kRle8 || compression == kRle4; }
};

// Colours used counts by its low 16 bits only; 0 means the depth's full table.
uint64_t CountTableEntries(uint32_t colorsUsed, uint16_t bitsPerPixel) {
  if (colorsUsed != 0) return colorsUsed & 0xFFFFu;
  switch (bitsPerPixel) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

void ReadCoreHeader(const Bytes& file, uint64_t info, Dib& dib) {
  dib.width = file.U16(info + 4);
  dib.height = file.U16(info + 6);
  dib.planes = file.U16(info + 8);
  dib.bitsPerPixel = file.U16(info + 10);
  dib.tableEntries = CountTableEntries(0, dib.bitsPerPixel);
  dib.entrySize = 3;
}

void ReadInfoHeader(const Bytes& file, uint64_t info, Dib& dib) {
  dib.width = static_cast<int32_t>(file.U32(info + 4));
  dib.height = static_cast<int32_t>(file.U32(info + 8));
  dib.planes = file.U16(info + 12);
  dib.bitsPerPixel = file.U16(info + 14);
  dib.compression = file.U32(info + 16);
  dib.tableEntries = CountTableEntries(file.U32(info + 32), dib.bitsPerPixel);
  dib.entrySize = 4;
}

// Headers, masks and colour table; a file too short for them is not a DIB.
BmpError ReadHeaders(const Bytes& file, Dib& dib) {
  uint64_t info = 0;
  bool offsetGiven = false;
  if (file.Has(0, 2) && file.U8(0) == 'B' && file.U8(1) == 'M') {
    if (!file.Has(0, kFileHeaderSize)) return BmpError::UnknownFormat;
    dib.pixelOffset = file.U32(10);
    offsetGiven = true;
    info = kFileHeaderSize;
  }
  if (!file.Has(info, 4)) return BmpError::UnknownFormat;
  dib.headerSize = file.U32(info);
  if (dib.headerSize != kCoreHeaderSize && dib.headerSize != kInfoHeaderSize) {
    return BmpError::UnknownFormat;
  }
  if (!file.Has(info, dib.headerSize)) return BmpError::UnknownFormat;
  if (dib.headerSize == kCoreHeaderSize) {
    ReadCoreHeader(file, info, dib);
  } else {
    ReadInfoHeader(file, info, dib);
  }
  uint64_t table = info + dib.headerSize;
  if (dib.compression == kBitFields) {
    // The masks stand where the conversion expects its colour table; any
    // table the file has follows them.
    if (!file.Has(table, kMaskBytes)) return BmpError::UnknownFormat;
    for (uint64_t i = 0; i < 3; ++i) dib.masks[i] = file.U32(table + 4 * i);
    table += kMaskBytes;
  }
  const uint64_t tableBytes = dib.tableEntries * dib.entrySize;
  if (!file.Has(table, tableBytes)) return BmpError::UnknownFormat;
  dib.tableStart = table;
  if (!offsetGiven) dib.pixelOffset = table + tableBytes;
  return BmpError::None;
}

// One colour channel of a 16- or 32-bit pixel, scaled to 0..255.
class Channel {
 public:
  // False for a mask that is empty, has gaps or reaches beyond the pixel.
  bool Set(uint32_t mask, unsigned bitsPerPixel) {
    if (mask == 0 || (bitsPerPixel < 32 && (mask >> bitsPerPixel) != 0)) return false;
    mask_ = mask;
    shift_ = std::countr_zero(mask);
    max_ = mask >> shift_;
    return (uint64_t{max_} & (uint64_t{max_} + 1)) == 0;
  }
  uint8_t Value(uint32_t pixel) const {
    const uint64_t v = (pixel & mask_) >> shift_;
    // Rounded, so that the largest value of any width is 255, not 248 or 252.
    return static_cast<uint8_t>((v * 510 + max_) / (uint64_t{max_} * 2));
  }
  uint32_t mask() const { return mask_; }

 private:
  uint32_t mask_ = 0;
  int shift_ = 0;
  uint32_t max_ = 1;
};

struct Channels {
  Channel red, green, blue;
  Rgb Convert(uint32_t pixel) const { return {red.Value(pixel), green.Value(pixel), blue.Value(pixel)}; }
};

// The masks of a 16- or 32-bit layout: the file's own with bit fields,
// otherwise the fixed 5-5-5 and 8-8-8 layouts.
bool SetChannels(const Dib& dib, Channels& channels) {
  uint32_t masks[3] = {dib.masks[0], dib.masks[1], dib.masks[2]};
  if (dib.compression == kRgb) {
    const bool wide = dib.bitsPerPixel == 32;
    masks[0] = wide ? 0xFF0000u : 0x7C00u;
    masks[1] = wide ? 0x00FF00u : 0x03E0u;
    masks[2] = wide ? 0x0000FFu : 0x001Fu;
  }
  if (!channels.red.Set(masks[0], dib.bitsPerPixel) || !channels.green.Set(masks[1], dib.bitsPerPixel) ||
      !channels.blue.Set(masks[2], dib.bitsPerPixel)) {
    return false;
  }
  return (masks[0] & masks[1]) == 0 && (masks[0] & masks[2]) == 0 && (masks[1] & masks[2]) == 0;
}

bool SupportedLayout(const Dib& dib) {
  const uint16_t bpp = dib.bitsPerPixel;
  switch (dib.compression) {
    case kRgb:
      return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    // RLE rows are defined bottom-up only.
    case kRle8:
      return bpp == 8 && dib.height > 0;
    case kRle4:
      return bpp == 4 && dib.height > 0;
    case kBitFields:
      return bpp == 16 || bpp == 32;
    default:
      return false;  // JPEG, PNG and anything unknown
  }
}

bool CheckFormat(const Dib& dib, Channels& channels) {
  if (dib.width <= 0 || dib.height == 0 || dib.planes != 1) return false;
  if (!SupportedLayout(dib)) return false;
  if (dib.bitsPerPixel == 16 || dib.bitsPerPixel == 32) return SetChannels(dib, channels);
  return true;
}

// width < 2^31 and rows <= 2^31, so the product cannot overflow 64 bits.
uint64_t ImageBytes(const Dib& dib) { return dib.Width() * dib.Rows() * 3; }

// A zero-filled picture, so that whatever the source never sets stays black.
std::unique_ptr<ImageRecord> NewImage(const Dib& dib) {
  const uint64_t bytes = ImageBytes(dib);
  std::unique_ptr<ImageRecord> image(new (std::nothrow) ImageRecord);
  if (!image) return nullptr;
  image->pixels.reset(new (std::nothrow) uint8_t[static_cast<size_t>(bytes)]());
  if (!image->pixels) return nullptr;
  image->width = static_cast<int32_t>(dib.width);
  image->height = static_cast<int32_t>(dib.Rows());
  return image;
}

class Palette {
 public:
  Palette(const Bytes& file, const Dib& dib) : file_(file), dib_(dib) {}
  // Indices beyond the table are black.
  Rgb operator[](uint32_t index) const {
    if (index >= dib_.tableEntries) return {};
    const uint8_t* entry = file_.At(dib_.tableStart + index * dib_.entrySize);
    return {entry[2], entry[1], entry[0]};
  }

 private:
  const Bytes& file_;
  const Dib& dib_;
};

void Store(uint8_t* out, uint64_t x, Rgb c) {
  out[3 * x] = c.r;
  out[3 * x + 1] = c.g;
  out[3 * x + 2] = c.b;
}

// One row of an uncompressed source into one row of the picture.
void DecodeRow(const uint8_t* src, const Dib& dib, const Palette& palette, const Channels& channels, uint8_t* out) {
  const uint64_t width = dib.Width();
  const unsigned bpp = dib.bitsPerPixel;
  if (bpp <= 8) {
    const unsigned perByte = 8 / bpp;
    const unsigned mask = (1u << bpp) - 1;
    for (uint64_t x = 0; x < width; ++x) {
      const unsigned shift = 8 - bpp * static_cast<unsigned>(x % perByte + 1);
      Store(out, x, palette[(src[x / perByte] >> shift) & mask]);
    }
  } else if (bpp == 24) {
    for (uint64_t x = 0; x < width; ++x) {
      Store(out, x, {src[3 * x + 2], src[3 * x + 1], src[3 * x]});
    }
  } else if (bpp == 16) {
    for (uint64_t x = 0; x < width; ++x) {
      Store(out, x, channels.Convert(uint32_t{src[2 * x]} | uint32_t{src[2 * x + 1]} << 8));
    }
  } else {
    for (uint64_t x = 0; x < width; ++x) {
      const uint8_t* p = src + 4 * x;
      Store(out, x,
            channels.Convert(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24));
    }
  }
}

uint64_t RowStride(const Dib& dib) { return (dib.Width() * dib.bitsPerPixel + 31) / 32 * 4; }

// Whether the file holds every row the header declares. Only the last row's
// padding may be missing, as nothing is read from it. An RLE stream may end
// anywhere after its first byte; what it never reaches stays black.
bool PixelDataPresent(const Bytes& file, const Dib& dib) {
  if (dib.Rle()) return file.Has(dib.pixelOffset, 1);
  const uint64_t used = (dib.Width() * dib.bitsPerPixel + 7) / 8;
  return file.Has(dib.pixelOffset, RowStride(dib) * (dib.Rows() - 1) + used);
}

// Uncompressed rows, each padded to 4 bytes; PixelDataPresent has checked
// their extent.
void DecodeRows(const Bytes& file, const Dib& dib, const Palette& palette, const Channels& channels, uint8_t* pixels) {
  const uint64_t stride = RowStride(dib);
  const uint64_t rows = dib.Rows();
  const uint64_t outStride = dib.Width() * 3;
  for (uint64_t i = 0; i < rows; ++i) {
    const uint64_t target = dib.height > 0 ? i : rows - 1 - i;
    DecodeRow(file.At(dib.pixelOffset + i * stride), dib, palette, channels, pixels + target * outStride);
  }
}

// An RLE8 or RLE4 stream from the pixel offset up to the end of the file.
// Whatever would land outside the picture is dropped; a stream that ends
// without its end-of-bitmap mark leaves the rest black.
class RleDecoder {
 public:
  RleDecoder(const Bytes& file, const Dib& dib, const Palette& palette, uint8_t* pixels)
      : file_(file),
        palette_(palette),
        pixels_(pixels),
        width_(dib.Width()),
        rows_(dib.Rows()),
        nibbles_(dib.compression == kRle4),
        pos_(dib.pixelOffset) {}

  void Run() {
    while (y_ < rows_ && file_.Has(pos_, 2)) {
      const uint8_t count = file_.U8(pos_);
      const uint8_t value = file_.U8(pos_ + 1);
      pos_ += 2;
      if (count != 0) {
        Repeat(count, value);
      } else if (value == 0) {  // end of line
        x_ = 0;
        ++y_;
      } else if (value == 1) {  // end of bitmap
        return;
      } else if (value == 2) {  // delta: right and up
        if (!file_.Has(pos_, 2)) return;
        x_ += file_.U8(pos_);
        y_ += file_.U8(pos_ + 1);
        pos_ += 2;
      } else if (!Absolute(value)) {
        return;
      }
    }
  }

 private:
  uint32_t Index(uint8_t byte, unsigned i) const {
    if (!nibbles_) return byte;
    return i % 2 == 0 ? byte >> 4u : byte & 0x0Fu;
  }

  void Put(uint32_t index) {
    if (x_ < width_ && y_ < rows_) Store(pixels_ + y_ * width_ * 3, x_, palette_[index]);
    ++x_;
  }

  void Repeat(uint8_t count, uint8_t value) {
    for (unsigned i = 0; i < count; ++i) Put(Index(value, i));
  }

  // count literal pixels, padded to a 16-bit boundary; false when the file
  // ends inside them.
  bool Absolute(uint8_t count) {
    for (unsigned i = 0; i < count; ++i) {
      const uint64_t at = pos_ + (nibbles_ ? i / 2 : i);
      if (!file_.Has(at, 1)) return false;
      Put(Index(file_.U8(at), i));
    }
    const uint64_t bytes = nibbles_ ? (count + 1u) / 2 : count;
    pos_ += bytes + (bytes & 1);
    return true;
  }

  const Bytes& file_;
  const Palette& palette_;
  uint8_t* pixels_;
  uint64_t width_;
  uint64_t rows_;
  bool nibbles_;
  uint64_t pos_;
  uint64_t x_ = 0;
  uint64_t y_ = 0;  // row counted from the bottom
};

BmpResult Fail(BmpError error) { return {nullptr, error}; }

// The whole file as a read-only mapping; empty when it cannot be had.
class MappedFile {
 public:
  explicit MappedFile(const char* path) {
    if (path == nullptr) return;
    fd_ = OpenRegularFileForReading(path);
    if (fd_ < 0) return;
    struct stat info {};
    // An empty file cannot be mapped, so it counts as one that cannot be opened.
    if (::fstat(fd_, &info) != 0 || info.st_size <= 0) return;
    void* view = ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd_, 0);
    if (view == MAP_FAILED) return;
    view_ = view;
    size_ = static_cast<size_t>(info.st_size);
  }
  ~MappedFile() {
    if (view_ != nullptr) ::munmap(view_, size_);
    if (fd_ >= 0) ::close(fd_);
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  bool ok() const { return view_ != nullptr; }
  std::span<const uint8_t> bytes() const { return {static_cast<const uint8_t*>(view_), size_}; }

 private:
  int fd_ = -1;
  void* view_ = nullptr;
  size_t size_ = 0;
};

}  // namespace

BmpResult DecodeBmp(std::span<const uint8_t> data) { return DecodeBmp(data, kBmpMaxImageBytes); }

BmpResult DecodeBmp(std::span<const uint8_t> data, uint64_t maxImageBytes) {
  const Bytes file(data);
  Dib dib;
  if (const BmpError error = ReadHeaders(file, dib); error != BmpError::None) return Fail(error);
  Channels channels;
  if (!CheckFormat(dib, channels)) return Fail(BmpError::ConversionError);
  // The limit also keeps every row and stride product below far from overflow.
  const uint64_t maxBytes = std::min(maxImageBytes, kBmpMaxImageBytes);
  if (ImageBytes(dib) > maxBytes) return Fail(BmpError::OutOfMemory);
  // A file cut short is known by its length alone, before a picture of the
  // size its header claims is allocated and cleared.
  if (!PixelDataPresent(file, dib)) return Fail(BmpError::ConversionError);
  std::unique_ptr<ImageRecord> image = NewImage(dib);
  if (!image) return Fail(BmpError::OutOfMemory);
  const Palette palette(file, dib);
  if (dib.Rle()) {
    RleDecoder(file, dib, palette, image->pixels.get()).Run();
  } else {
    DecodeRows(file, dib, palette, channels, image->pixels.get());
  }
  return {std::move(image), BmpError::None};
}

std::string BmpErrorMessage(BmpError error, const std::string& path) {
  switch (error) {
    case BmpError::None:
      return {};
    case BmpError::OpenFailed: {
      char text[256];
      std::snprintf(text, sizeof text, "Failed to open DIB file %s.\n", path.c_str());
      return text;
    }
    case BmpError::UnknownFormat:
      return "Unknown DIB file format.";
    case BmpError::OutOfMemory:
      return "Out of memory.";
    case BmpError::ConversionError:
      return "Image file conversion error.";
  }
  return {};
}

}  // namespace kovrin::framework

using kovrin::framework::BmpError;
using kovrin::framework::BmpResult;

std::unique_ptr<ImageRecord> LoadBmpImage(const char* path) {
  BmpResult result;
  {
    const kovrin::framework::MappedFile file(path);
    result = file.ok() ? kovrin::framework::DecodeBmp(file.bytes()) : kovrin::framework::Fail(BmpError::OpenFailed);
  }  // the mapping is gone before the user sees any message
  if (result.image) return std::move(result.image);
  kovrin::platform::MessageBox(kovrin::framework::BmpErrorMessage(result.error, path != nullptr ? path : ""), "Error",
                               kovrin::platform::MB_OK);
  return nullptr;
}
