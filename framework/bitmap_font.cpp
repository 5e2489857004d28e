#include "framework/bitmap_font.h"

#include <GL/gl.h>

#include "framework/graphics.h"

std::optional<TextureSet> GlyphSet;
uint32_t GlyphList = 0;

namespace kovrin::framework {
namespace {

constexpr float kAdvance = 1.2f;
// The underscore is wider than a letter: a larger step before it, a small
// one after.
constexpr float kUnderscoreAdvance = 1.3f;
constexpr float kUnderscoreTrail = 0.1f;
// The text plane lies this far behind the position the caller names.
constexpr float kTextDepth = 200.0f;

constexpr CharGlyphs One(int glyph) { return CharGlyphs{1, {GlyphStep{kAdvance, glyph}, GlyphStep{}}}; }
constexpr CharGlyphs Two(int first, int second) {
  return CharGlyphs{2, {GlyphStep{kAdvance, first}, GlyphStep{kAdvance, second}}};
}

// Missing font, a short font or a glyph whose image failed: texture 0, so the
// square is drawn untextured and the text keeps its spacing.
GLuint GlyphTexture(int glyph) { return GlyphSet ? GlyphSet->Entry(static_cast<std::size_t>(glyph) + 1) : 0; }

void CompileGlyphSquare() {
  glNewList(GlyphList, GL_COMPILE);
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(-1.0f, -1.0f, 1.0f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(1.0f, -1.0f, 1.0f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(1.0f, 1.0f, 1.0f);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(-1.0f, 1.0f, 1.0f);
  glEnd();
  glEndList();
}

}  // namespace

CharGlyphs GlyphsForChar(unsigned char c) {
  if (c >= 'a' && c <= 'z') return One(LetterGlyph(static_cast<char>(c)));
  if (c >= 'A' && c <= 'Z') return One(LetterGlyph(static_cast<char>(c - 'A' + 'a')));
  if (c >= '0' && c <= '9') return One(DigitGlyph(static_cast<char>(c)));
  switch (c) {
    case '.':
      return One(kFullStopGlyph);
    case '?':
      return One(kQuestionMarkGlyph);
    case ',':
      return One(kCommaGlyph);
    case '%':
      return One(kPercentGlyph);
    case '-':
      return One(kHyphenGlyph);
    case '_':
      return CharGlyphs{2, {GlyphStep{kUnderscoreAdvance, kUnderscoreGlyph}, GlyphStep{kUnderscoreTrail, kNoGlyph}}};
    case ' ':
      return CharGlyphs{1, {GlyphStep{kAdvance, kNoGlyph}, GlyphStep{}}};
    // Windows-1252 umlauts and sharp s are spelt out: ae, oe, ue, ss.
    case 0xE4:
    case 0xC4:
      return Two(LetterGlyph('a'), LetterGlyph('e'));
    case 0xF6:
    case 0xD6:
      return Two(LetterGlyph('o'), LetterGlyph('e'));
    case 0xFC:
    case 0xDC:
      return Two(LetterGlyph('u'), LetterGlyph('e'));
    case 0xDF:
      return Two(LetterGlyph('s'), LetterGlyph('s'));
    default:
      return CharGlyphs{};
  }
}

}  // namespace kovrin::framework

using kovrin::framework::CharGlyphs;
using kovrin::framework::CompileGlyphSquare;
using kovrin::framework::GlyphsForChar;
using kovrin::framework::GlyphStep;
using kovrin::framework::GlyphTexture;
using kovrin::framework::kNoGlyph;
using kovrin::framework::kTextDepth;

bool glPrint_Init() {
  GlyphSet = LoadTextureSet("default.fnt", "");
  GlyphList = ListBase + 1;
  CompileGlyphSquare();
  return true;
}

// Runs in every timed frame: one bind and one list call per glyph, nothing
// allocated.
int glPrint(std::string_view text, float x, float y, float z) {
  glLoadIdentity();
  glTranslatef(x, y, z - kTextDepth);
  glEnable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glBlendFunc(GL_ONE, GL_ONE);
  for (const char c : text) {
    const CharGlyphs glyphs = GlyphsForChar(static_cast<unsigned char>(c));
    for (int i = 0; i < glyphs.count; ++i) {
      const GlyphStep& step = glyphs.steps[static_cast<std::size_t>(i)];
      glTranslatef(step.advance, 0.0f, 0.0f);
      if (step.glyph == kNoGlyph) continue;
      glBindTexture(GL_TEXTURE_2D, GlyphTexture(step.glyph));
      glCallList(GlyphList);
    }
  }
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  return 1;
}

void glPrint_Release() {
  GlyphSet.reset();
  GlyphList = 0;
}
