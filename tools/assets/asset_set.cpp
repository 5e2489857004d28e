#include "tools/assets/asset_set.h"

#include "tools/assets/bmp_writer.h"
#include "tools/assets/glows.h"
#include "tools/assets/glyphs.h"
#include "tools/assets/materials.h"

namespace kovrin::assets {

namespace {

AssetFile Tex(std::string name, std::vector<uint8_t> bytes) { return {std::move(name) + ".tex", std::move(bytes)}; }

}  // namespace

// The layouts are spread over the files on purpose: every run of either
// program then decodes 24- and 32-bit pictures, the 12-byte core header,
// 4- and 8-bit colour tables and RLE8.
std::vector<AssetFile> BuildAssetSet(const std::string& fontPath) {
  using enum TrueColorLayout;
  std::vector<AssetFile> files;
  files.push_back(Tex("texture001", EncodeBmp(CopperTiles(), Info24)));
  files.push_back(Tex("texture002", EncodeBmp(CircuitBoard(), Info32)));
  files.push_back(Tex("texture003", EncodeBmp(TunnelPlating(), Core24)));
  files.push_back(Tex("colorview001", EncodeBmp(VioletPlasma(), Info24)));
  files.push_back(Tex("colorview002", EncodeBmp(OrangeRings(), Info24)));
  files.push_back(Tex("colorview003", EncodeBmp(CyanFlower(), Core24)));
  files.push_back(Tex("colorview004", EncodeBmp(GreenSpiral(), Info24)));
  files.push_back(Tex("colorview005", EncodeBmp(GoldStarburst(), IndexedLayout::Info8)));
  files.push_back(Tex("colorview006", EncodeBmp(MagentaBokeh(), Info32)));
  files.push_back(Tex("colorview007", EncodeBmp(BlueAurora(), Info24)));
  files.push_back(Tex("colorview008", EncodeBmp(RedNebula(), Info24)));

  const std::vector<GlyphCell> cells = RenderGlyphs(fontPath);
  for (size_t i = 0; i < kGlyphs.size(); ++i) {
    const GlyphStorage storage = kGlyphs[i].storage;
    const IndexedLayout layout = storage == GlyphStorage::Rle8     ? IndexedLayout::Info8Rle
                                 : storage == GlyphStorage::Plain8 ? IndexedLayout::Info8
                                                                   : IndexedLayout::Core4;
    files.push_back(Tex(std::string(kGlyphs[i].name), EncodeBmp(GlyphPicture(cells[i], storage), layout)));
  }
  const std::string list = FontListText();
  files.push_back({"default.fnt", std::vector<uint8_t>(list.begin(), list.end())});
  return files;
}

}  // namespace kovrin::assets
