#include "bitmap_font.h"

std::optional<TextureSet> GlyphSet;
uint32_t GlyphList = 0;

bool glPrint_Init() { return true; }

int glPrint(std::string, float, float, float) { return 1; }

void glPrint_Release() {
  GlyphSet.reset();
  GlyphList = 0;
}
