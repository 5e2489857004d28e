// The bitmap font: one texture per glyph, printed as textured squares.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "framework/texture_set.h"

extern std::optional<TextureSet> GlyphSet;
extern uint32_t GlyphList;

namespace kovrin::framework {

// Glyph indices of the font, in the order default.fnt names them: the
// letters a to z, ". ?", the digits 0 to 9, ", % - _". The font has one case;
// both cases of a letter print its one glyph.
inline constexpr int kFirstLetterGlyph = 0;
inline constexpr int kFullStopGlyph = 26;
inline constexpr int kQuestionMarkGlyph = 27;
inline constexpr int kFirstDigitGlyph = 28;
inline constexpr int kCommaGlyph = 38;
inline constexpr int kPercentGlyph = 39;
inline constexpr int kHyphenGlyph = 40;
inline constexpr int kUnderscoreGlyph = 41;
inline constexpr int kGlyphCount = 42;
inline constexpr int kNoGlyph = -1;

constexpr int LetterGlyph(char lowercase) { return kFirstLetterGlyph + (lowercase - 'a'); }
constexpr int DigitGlyph(char digit) { return kFirstDigitGlyph + (digit - '0'); }

static_assert(LetterGlyph('z') + 1 == kFullStopGlyph && DigitGlyph('9') + 1 == kCommaGlyph &&
                  kUnderscoreGlyph + 1 == kGlyphCount,
              "the glyph names must follow the font file's order");

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

}  // namespace kovrin::framework

bool glPrint_Init();
// The text is only read, so a view spares every frame a copy of the title.
int glPrint(std::string_view text, float x, float y, float z);
void glPrint_Release();
