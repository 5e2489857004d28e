// The font's glyph images: 42 square cells rendered from a TrueType face,
// light on black because the programs add the text onto the frame.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "tools/assets/picture.h"

namespace kovrin::assets {

// A printed glyph spans a 2 x 2 square but advances only 1.2, so a cell of
// kGlyphCell pixels holds a character of at most kGlyphMaxInk pixels width
// to keep a gap to its neighbours.
inline constexpr int kGlyphCell = 32;
inline constexpr int kGlyphMaxInk = 17;
// Baseline, in pixels from the cell's bottom edge: capitals and digits sit
// near the middle, with room below for the comma and the underscore.
inline constexpr int kGlyphBaseline = 9;
// Em size in pixels; capitals are 0.73 em tall in the faces we use.
inline constexpr int kGlyphEm = 21;

enum class GlyphStorage {
  Rle8,    // 256 grey levels, RLE8
  Plain8,  // 64 grey levels, uncompressed 8 bits
  Core4,   // 16 grey levels, 4 bits, core header
};

struct GlyphEntry {
  char32_t code;          // character drawn (capitals: both cases share a glyph)
  std::string_view name;  // texture name in default.fnt
  GlyphStorage storage;
};

// In the font file's order: glyph index i is kGlyphs[i].
extern const std::array<GlyphEntry, 42> kGlyphs;

// A rendered cell: coverage 0..255, kGlyphCell rows top row first.
struct GlyphCell {
  std::vector<uint8_t> coverage;
};

// Renders all glyphs of kGlyphs from the font file; throws
// std::runtime_error naming the glyph when the face lacks one or a glyph
// does not fit its cell.
std::vector<GlyphCell> RenderGlyphs(const std::string& fontPath);

// The cell as a palettised picture of the grey levels its storage keeps.
IndexedPicture GlyphPicture(const GlyphCell& cell, GlyphStorage storage);

// default.fnt: the texture list naming the glyph images in order.
std::string FontListText();

}  // namespace kovrin::assets
