// kovrin_make_assets <output folder> [--font <TrueType file>]
//
// Writes the programs' data set (texture*.tex, colorview*.tex, the glyph
// images and default.fnt) into the folder. The output depends on nothing
// but the font file, so the committed data/ folder can be checked against
// a fresh run byte for byte.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/assets/asset_set.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: kovrin_make_assets <output folder> [--font <TrueType file>]\n");
  return 2;
}

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  std::string font = KOVRIN_ASSET_FONT;
  std::filesystem::path folder;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--font" && i + 1 < argc) {
      font = argv[++i];
    } else if (folder.empty() && !arg.starts_with("-")) {
      folder = arg;
    } else {
      return Usage();
    }
  }
  if (folder.empty()) {
    return Usage();
  }
  try {
    const auto files = kovrin::assets::BuildAssetSet(font);
    std::filesystem::create_directories(folder);
    for (const auto& file : files) {
      if (!WriteFile(folder / file.name, file.bytes)) {
        std::fprintf(stderr, "kovrin_make_assets: cannot write %s\n", (folder / file.name).c_str());
        return 1;
      }
    }
    std::printf("kovrin_make_assets: wrote %zu files to %s\n", files.size(), folder.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kovrin_make_assets: %s\n", e.what());
    return 1;
  }
  return 0;
}
