#include "tools/assets/bmp_writer.h"

#include <stdexcept>

namespace kovrin::assets {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr int32_t kPixelsPerMetre = 2835;  // 72 dots per inch

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFFu));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFFu));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFFu);
  Put16(out, v >> 16);
}

uint32_t RowStride(int width, int bitsPerPixel) {
  const uint32_t bits = static_cast<uint32_t>(width) * static_cast<uint32_t>(bitsPerPixel);
  return (bits + 31u) / 32u * 4u;
}

struct HeaderFields {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  uint32_t compression = kBiRgb;
  uint32_t imageSize = 0;
  uint32_t colorsUsed = 0;
};

// File header, then either information header or core header; the caller
// appends the colour table and pixels, whose sizes it passes in.
std::vector<uint8_t> Headers(const HeaderFields& f, bool core, uint32_t tableBytes) {
  const uint32_t infoSize = core ? kCoreHeaderSize : kInfoHeaderSize;
  const uint32_t offset = kFileHeaderSize + infoSize + tableBytes;
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + f.imageSize);
  Put32(out, 0);  // two reserved words
  Put32(out, offset);
  Put32(out, infoSize);
  if (core) {
    Put16(out, static_cast<uint32_t>(f.width));
    Put16(out, static_cast<uint32_t>(f.height));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(f.bitsPerPixel));
    return out;
  }
  Put32(out, static_cast<uint32_t>(f.width));
  Put32(out, static_cast<uint32_t>(f.height));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(f.bitsPerPixel));
  Put32(out, f.compression);
  Put32(out, f.imageSize);
  Put32(out, static_cast<uint32_t>(kPixelsPerMetre));
  Put32(out, static_cast<uint32_t>(kPixelsPerMetre));
  Put32(out, f.colorsUsed);
  Put32(out, 0);  // all colours important
  return out;
}

void PutPalette(std::vector<uint8_t>& out, const std::vector<Rgb>& palette, size_t entries, bool core) {
  for (size_t i = 0; i < entries; ++i) {
    const Rgb c = i < palette.size() ? palette[i] : Rgb{};
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    if (!core) {
      out.push_back(0);
    }
  }
}

void CheckIndices(const IndexedPicture& picture, size_t limit) {
  if (picture.palette.empty() || picture.palette.size() > limit) {
    throw std::invalid_argument("palette size does not fit the layout");
  }
  for (uint8_t index : picture.indices) {
    if (index >= picture.palette.size()) {
      throw std::invalid_argument("colour index beyond the palette");
    }
  }
}

// Packs each row (bottom row first) at the given depth and pads it to
// whole 32-bit words.
std::vector<uint8_t> PackedRows(const IndexedPicture& picture, int bitsPerPixel) {
  const uint32_t stride = RowStride(picture.width, bitsPerPixel);
  std::vector<uint8_t> out;
  for (int y = picture.height - 1; y >= 0; --y) {
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < picture.width; ++x) {
      const uint8_t index = picture.At(x, y);
      if (bitsPerPixel == 8) {
        row[static_cast<size_t>(x)] = index;
      } else {
        const int shift = (x % 2 == 0) ? 4 : 0;  // left pixel in the high nibble
        row[static_cast<size_t>(x / 2)] |= static_cast<uint8_t>(index << shift);
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

// Appends runs for pixels [begin, end) of one row, none of which is skipped.
void PutRuns(std::vector<uint8_t>& out, const uint8_t* row, int begin, int end) {
  int i = begin;
  while (i < end) {
    int run = 1;
    while (i + run < end && run < 255 && row[i + run] == row[i]) {
      ++run;
    }
    if (run >= 3 || end - i < 3) {
      // Encoded run; short tails go out as runs of their own.
      out.push_back(static_cast<uint8_t>(run));
      out.push_back(row[i]);
      i += run;
      continue;
    }
    // Absolute span: up to where a run of three equal indices begins.
    int span = 0;
    while (i + span < end && span < 255) {
      const int j = i + span;
      if (j + 2 < end && row[j] == row[j + 1] && row[j] == row[j + 2]) {
        break;
      }
      ++span;
    }
    if (span < 3) {
      span = 3;  // absolute mode needs at least three indices
    }
    out.push_back(0);
    out.push_back(static_cast<uint8_t>(span));
    out.insert(out.end(), row + i, row + i + span);
    if (span % 2 != 0) {
      out.push_back(0);  // absolute spans end on a 16-bit boundary
    }
    i += span;
  }
}

bool RowIsBlank(const IndexedPicture& picture, int y) {
  for (int x = 0; x < picture.width; ++x) {
    if (picture.At(x, y) != 0) {
      return false;
    }
  }
  return true;
}

// Delta escapes that move dx pixels right and dy rows up without touching
// the pixels between; nothing when both are 0.
void PutDelta(std::vector<uint8_t>& out, int dx, int dy) {
  while (dx > 0 || dy > 0) {
    const int stepX = dx > 255 ? 255 : dx;
    const int stepY = dy > 255 ? 255 : dy;
    out.push_back(0);
    out.push_back(2);
    out.push_back(static_cast<uint8_t>(stepX));
    out.push_back(static_cast<uint8_t>(stepY));
    dx -= stepX;
    dy -= stepY;
  }
}

// One stored row (storage row `row` is picture row height-1-row), without
// its end-of-line escape. Ends where the last non-zero index ends.
void PutRow(std::vector<uint8_t>& out, const IndexedPicture& picture, int pictureRow) {
  const uint8_t* row = &picture.indices[static_cast<size_t>(pictureRow) * static_cast<size_t>(picture.width)];
  int last = picture.width;
  while (last > 0 && row[last - 1] == 0) {
    --last;
  }
  int x = 0;
  while (x < last) {
    int segmentEnd = x;
    int zeros = 0;
    // Find the next gap of zeros long enough to be skipped by a delta.
    while (segmentEnd < last) {
      zeros = 0;
      while (segmentEnd + zeros < last && row[segmentEnd + zeros] == 0) {
        ++zeros;
      }
      if (zeros >= kRleDeltaMin) {
        break;
      }
      segmentEnd += zeros > 0 ? zeros : 1;
      zeros = 0;
    }
    PutRuns(out, row, x, segmentEnd);
    PutDelta(out, zeros, 0);
    x = segmentEnd + zeros;
  }
}

}  // namespace

std::vector<uint8_t> EncodeRle8(const IndexedPicture& picture) {
  std::vector<uint8_t> out;
  int lastLit = -1;  // storage rows: row 0 is the picture's bottom row
  for (int row = 0; row < picture.height; ++row) {
    if (!RowIsBlank(picture, picture.height - 1 - row)) {
      lastLit = row;
    }
  }
  int pendingRows = 0;  // blank rows below the next lit one
  for (int row = 0; row < picture.height; ++row) {
    const int pictureRow = picture.height - 1 - row;
    if (row < lastLit && RowIsBlank(picture, pictureRow)) {
      ++pendingRows;
      continue;
    }
    if (pendingRows == 1) {
      out.push_back(0);  // a single blank row: an empty line
      out.push_back(0);
    } else {
      PutDelta(out, 0, pendingRows);
    }
    pendingRows = 0;
    PutRow(out, picture, pictureRow);
    out.push_back(0);  // end of line
    out.push_back(0);
  }
  out.push_back(0);  // end of bitmap
  out.push_back(1);
  return out;
}

std::vector<uint8_t> EncodeBmp(const Picture& picture, TrueColorLayout layout) {
  const bool core = layout == TrueColorLayout::Core24;
  const int bpp = layout == TrueColorLayout::Info32 ? 32 : 24;
  const uint32_t stride = RowStride(picture.width, bpp);
  HeaderFields fields;
  fields.width = picture.width;
  fields.height = picture.height;
  fields.bitsPerPixel = bpp;
  fields.imageSize = stride * static_cast<uint32_t>(picture.height);
  std::vector<uint8_t> out = Headers(fields, core, 0);
  for (int y = picture.height - 1; y >= 0; --y) {
    size_t written = 0;
    for (int x = 0; x < picture.width; ++x) {
      const Rgb c = picture.At(x, y);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
      written += 3;
      if (bpp == 32) {
        out.push_back(0);
        ++written;
      }
    }
    out.insert(out.end(), stride - written, uint8_t{0});
  }
  return out;
}

std::vector<uint8_t> EncodeBmp(const IndexedPicture& picture, IndexedLayout layout) {
  const bool core = layout == IndexedLayout::Core4;
  const int bpp = core ? 4 : 8;
  const size_t tableEntries = core ? 16 : picture.palette.size();
  CheckIndices(picture, core ? 16 : 256);

  const std::vector<uint8_t> pixels =
      layout == IndexedLayout::Info8Rle ? EncodeRle8(picture) : PackedRows(picture, bpp);
  HeaderFields fields;
  fields.width = picture.width;
  fields.height = picture.height;
  fields.bitsPerPixel = bpp;
  fields.compression = layout == IndexedLayout::Info8Rle ? kBiRle8 : kBiRgb;
  fields.imageSize = static_cast<uint32_t>(pixels.size());
  fields.colorsUsed = tableEntries == 256 ? 0 : static_cast<uint32_t>(tableEntries);
  const uint32_t tableBytes = static_cast<uint32_t>(tableEntries) * (core ? 3u : 4u);
  std::vector<uint8_t> out = Headers(fields, core, tableBytes);
  PutPalette(out, picture.palette, tableEntries, core);
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

}  // namespace kovrin::assets
