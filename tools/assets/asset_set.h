// The whole shipped data set as named files: what the generator writes and
// what the committed data/ folder must equal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kovrin::assets {

struct AssetFile {
  std::string name;  // file name inside data/, e.g. "texture001.tex" or "default.fnt"
  std::vector<uint8_t> bytes;
};

// Paints and encodes every texture, renders the glyphs from the font file
// and adds default.fnt. Throws std::runtime_error when the font is unusable.
std::vector<AssetFile> BuildAssetSet(const std::string& fontPath);

}  // namespace kovrin::assets
