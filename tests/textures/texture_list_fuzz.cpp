// The texture-list scan on arbitrary text: it must neither crash nor return a
// set that breaks its own promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/texture_set.h"

using kovrin::framework::kMaxTextureListEntries;
using kovrin::framework::ParseTextureList;
using kovrin::framework::TextureList;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::optional<TextureList> list = ParseTextureList(text);
  if (!list) return 0;
  if (list->names.empty() || list->names.size() > static_cast<std::size_t>(kMaxTextureListEntries)) std::abort();
  std::size_t nameBytes = 0;
  for (const std::string& name : list->names) {
    // Names hold none of the list's marks and no spaces.
    if (name.find_first_of("{}; ") != std::string::npos) std::abort();
    nameBytes += name.size();
  }
  // Every character of a name comes from the text.
  if (nameBytes > size) std::abort();
  return 0;
}
