#include "texture_set.h"

std::optional<TextureList> ParseTextureList(const std::string&) { return std::nullopt; }

std::optional<TextureSet> LoadTextureSet(std::string, std::string) { return std::nullopt; }
