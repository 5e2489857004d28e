// Texture lists ({n}{name;name;...}) and the texture sets made from them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin::framework {

// The most entries a list may declare. The count comes from a file, so a
// typing slip like {999999999} must not turn into a gigabyte of empty names;
// lists beyond this are treated like a list without a count (no set). The
// largest list the programs use declares 360.
inline constexpr int32_t kMaxTextureListEntries = 65536;

// The result of scanning a list: n entries, each with its (maybe empty) name.
struct TextureList {
  std::vector<std::string> names;  // size n
};

// Scans a list text; nullopt when the count is missing, unterminated, not
// positive or above kMaxTextureListEntries. Names beyond the declared count
// are dropped.
std::optional<TextureList> ParseTextureList(const std::string& text);

}  // namespace kovrin::framework

// One GL texture name per entry; 0 where the entry has no texture.
struct TextureSet {
  std::vector<uint32_t> names;
  // Entry by 1-based position as the scenes count; 0 outside the set.
  uint32_t Entry(std::size_t oneBased) const {
    return oneBased >= 1 && oneBased <= names.size() ? names[oneBased - 1] : 0;
  }
};

namespace kovrin::framework {

// The image file of an entry: data/<name>.tex, relative to the current folder.
std::string TextureFilePath(std::string_view name);

}  // namespace kovrin::framework

// Parses the list (read from listFile when listText is empty), decodes every
// named image from data/<name>.tex and uploads it. nullopt: no set. An entry
// whose image cannot be decoded keeps texture name 0 and gets no texture
// object, exactly like an entry without a name.
std::optional<TextureSet> LoadTextureSet(std::string listFile, std::string listText);
