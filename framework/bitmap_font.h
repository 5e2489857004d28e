// The bitmap font: one texture per glyph, printed as textured squares.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "texture_set.h"

extern std::optional<TextureSet> GlyphSet;
extern uint32_t GlyphList;

// Glyph indices of the font, in the order default.fnt names them.
inline constexpr int kGlyphCount = 42;
inline constexpr int kNoGlyph = -1;

// One step of printing a character: move right by `advance`, then draw glyph
// `glyph` unless it is kNoGlyph.
struct GlyphStep {
  float advance = 0.0f;
  int glyph = kNoGlyph;
};

// What one byte of Windows-1252 text prints: up to two steps, none for a
// character the font skips.
struct CharGlyphs {
  int count = 0;
  std::array<GlyphStep, 2> steps{};
};

CharGlyphs GlyphsForChar(unsigned char c);

bool glPrint_Init();
// The text is only read, so a view spares every frame a copy of the title.
int glPrint(std::string_view text, float x, float y, float z);
void glPrint_Release();
