#include "tools/assets/glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <memory>
#include <stdexcept>

namespace kovrin::assets {

namespace {

using enum GlyphStorage;

}  // namespace

// Both cases of a letter print the same glyph; capitals are drawn because
// they stay legible at the few pixels the title gets at 640 x 480. Letters
// are the bulk of every title, so they carry the compressed format that the
// decoder must handle in every run; digits and the marks carry the other
// palettised layouts.
const std::array<GlyphEntry, 42> kGlyphs = {{
    {U'A', "glyph_a", Rle8},         {U'B', "glyph_b", Rle8},      {U'C', "glyph_c", Rle8},
    {U'D', "glyph_d", Rle8},         {U'E', "glyph_e", Rle8},      {U'F', "glyph_f", Rle8},
    {U'G', "glyph_g", Rle8},         {U'H', "glyph_h", Rle8},      {U'I', "glyph_i", Rle8},
    {U'J', "glyph_j", Rle8},         {U'K', "glyph_k", Rle8},      {U'L', "glyph_l", Rle8},
    {U'M', "glyph_m", Rle8},         {U'N', "glyph_n", Rle8},      {U'O', "glyph_o", Rle8},
    {U'P', "glyph_p", Rle8},         {U'Q', "glyph_q", Rle8},      {U'R', "glyph_r", Rle8},
    {U'S', "glyph_s", Rle8},         {U'T', "glyph_t", Rle8},      {U'U', "glyph_u", Rle8},
    {U'V', "glyph_v", Rle8},         {U'W', "glyph_w", Rle8},      {U'X', "glyph_x", Rle8},
    {U'Y', "glyph_y", Rle8},         {U'Z', "glyph_z", Rle8},      {U'.', "glyph_period", Core4},
    {U'?', "glyph_question", Core4}, {U'0', "glyph_0", Plain8},    {U'1', "glyph_1", Plain8},
    {U'2', "glyph_2", Plain8},       {U'3', "glyph_3", Plain8},    {U'4', "glyph_4", Plain8},
    {U'5', "glyph_5", Plain8},       {U'6', "glyph_6", Plain8},    {U'7', "glyph_7", Plain8},
    {U'8', "glyph_8", Plain8},       {U'9', "glyph_9", Plain8},    {U',', "glyph_comma", Core4},
    {U'%', "glyph_percent", Core4},  {U'-', "glyph_minus", Core4}, {U'_', "glyph_underscore", Core4},
}};

namespace {

struct LibraryDeleter {
  void operator()(FT_Library lib) const { FT_Done_FreeType(lib); }
};
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using LibraryPtr = std::unique_ptr<FT_LibraryRec_, LibraryDeleter>;
using FacePtr = std::unique_ptr<FT_FaceRec_, FaceDeleter>;

std::string GlyphError(const GlyphEntry& glyph, const char* what) { return std::string(glyph.name) + ": " + what; }

// Narrows glyphs wider than the ink limit (W, M, %) so that each keeps
// clear of its neighbours at the printer's fixed advance.
void Condense(FT_Outline& outline) {
  FT_BBox box;
  FT_Outline_Get_CBox(&outline, &box);
  const FT_Pos width = box.xMax - box.xMin;
  const FT_Pos limit = kGlyphMaxInk * 64;
  if (width <= limit) {
    return;
  }
  FT_Matrix narrow = {static_cast<FT_Fixed>(limit * 65536 / width), 0, 0, 0x10000};
  FT_Outline_Transform(&outline, &narrow);
}

// Moves the ink to the cell's horizontal centre (on whole pixels, which
// keeps the stems of the bold face crisp) and the baseline to its row.
void Place(FT_Outline& outline, const GlyphEntry& glyph) {
  FT_BBox box;
  FT_Outline_Get_CBox(&outline, &box);
  const FT_Pos inkCentre2 = box.xMin + box.xMax;  // twice the centre, 26.6
  const FT_Pos shift = (kGlyphCell * 64 - inkCentre2) / 2;
  const FT_Pos dx = (shift + 32) / 64 * 64;
  FT_Outline_Translate(&outline, dx, kGlyphBaseline * 64);
  FT_Outline_Get_CBox(&outline, &box);
  // The outermost pixel ring stays dark so that linear filtering never
  // pulls ink in from the cell's opposite edge.
  if (box.xMin < 64 || box.yMin < 64 || box.xMax > (kGlyphCell - 1) * 64 || box.yMax > (kGlyphCell - 1) * 64) {
    throw std::runtime_error(GlyphError(glyph, "glyph does not fit its cell"));
  }
}

GlyphCell Rasterise(FT_Library lib, FT_Outline& outline) {
  GlyphCell cell;
  cell.coverage.assign(static_cast<size_t>(kGlyphCell) * kGlyphCell, 0);
  FT_Bitmap target{};
  target.rows = kGlyphCell;
  target.width = kGlyphCell;
  target.pitch = kGlyphCell;  // positive: first row is the top row
  target.buffer = cell.coverage.data();
  target.num_grays = 256;
  target.pixel_mode = FT_PIXEL_MODE_GRAY;
  if (FT_Outline_Get_Bitmap(lib, &outline, &target) != 0) {
    throw std::runtime_error("FreeType could not rasterise an outline");
  }
  return cell;
}

}  // namespace

std::vector<GlyphCell> RenderGlyphs(const std::string& fontPath) {
  FT_Library rawLib = nullptr;
  if (FT_Init_FreeType(&rawLib) != 0) {
    throw std::runtime_error("FreeType could not start");
  }
  LibraryPtr lib(rawLib);
  FT_Face rawFace = nullptr;
  if (FT_New_Face(lib.get(), fontPath.c_str(), 0, &rawFace) != 0) {
    throw std::runtime_error("cannot open font " + fontPath);
  }
  FacePtr face(rawFace);
  if (FT_Set_Pixel_Sizes(face.get(), 0, kGlyphEm) != 0) {
    throw std::runtime_error("font " + fontPath + " has no scalable outlines");
  }
  std::vector<GlyphCell> cells;
  for (const GlyphEntry& glyph : kGlyphs) {
    const FT_UInt index = FT_Get_Char_Index(face.get(), glyph.code);
    // Unhinted outlines: hinting changes between FreeType releases, the
    // plain outline and the grey rasteriser do not.
    if (index == 0 || FT_Load_Glyph(face.get(), index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
      throw std::runtime_error(GlyphError(glyph, "missing from the font"));
    }
    FT_Outline& outline = face->glyph->outline;
    Condense(outline);
    Place(outline, glyph);
    cells.push_back(Rasterise(lib.get(), outline));
  }
  return cells;
}

namespace {

IndexedPicture GreyRamp(int levels) {
  IndexedPicture picture(kGlyphCell, kGlyphCell);
  for (int i = 0; i < levels; ++i) {
    const uint8_t v = static_cast<uint8_t>((i * 255 + (levels - 1) / 2) / (levels - 1));
    picture.palette.push_back({v, v, v});
  }
  return picture;
}

}  // namespace

IndexedPicture GlyphPicture(const GlyphCell& cell, GlyphStorage storage) {
  const int levels = storage == Rle8 ? 256 : (storage == Plain8 ? 64 : 16);
  IndexedPicture picture = GreyRamp(levels);
  for (size_t i = 0; i < cell.coverage.size(); ++i) {
    const int level = (cell.coverage[i] * (levels - 1) + 127) / 255;
    picture.indices[i] = static_cast<uint8_t>(level);
  }
  return picture;
}

std::string FontListText() {
  // One line: a reader that kept a carriage return would glue it to a name.
  std::string text = "{" + std::to_string(kGlyphs.size()) + "}{";
  for (const GlyphEntry& glyph : kGlyphs) {
    text += glyph.name;
    text += ';';
  }
  text += "}\n";
  return text;
}

}  // namespace kovrin::assets
