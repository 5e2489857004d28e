// The bitmap font: one texture per glyph, printed as textured squares.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "texture_set.h"

extern std::optional<TextureSet> GlyphSet;
extern uint32_t GlyphList;

bool glPrint_Init();
int glPrint(std::string text, float x, float y, float z);
void glPrint_Release();
