// Texture lists ({n}{name;name;...}) and the texture sets made from them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The result of scanning a list: n entries, each with its (maybe empty) name.
struct TextureList {
  std::vector<std::string> names;  // size n
};

// Scans a list text; nullopt when the count is missing, unterminated or not
// positive.
std::optional<TextureList> ParseTextureList(const std::string& text);

// One GL texture name per entry; 0 where the entry has no texture.
struct TextureSet {
  std::vector<uint32_t> names;
  // Entry by 1-based position as the scenes count; 0 outside the set.
  uint32_t Entry(std::size_t oneBased) const {
    return oneBased >= 1 && oneBased <= names.size() ? names[oneBased - 1] : 0;
  }
};

// Parses the list (read from listFile when listText is empty), decodes every
// named image from data/<name>.tex and uploads it. nullopt: no set.
std::optional<TextureSet> LoadTextureSet(std::string listFile, std::string listText);
