// What makes one test program differ from the other outside its scene: the
// defaults, the title texts and one GL state call. Each program defines
// kProgram next to its scene.
#pragma once

#include <cstdint>

namespace kovrin::framework {

struct ProgramProfile {
  const char* initialTitle;  // title and caption before the settings are applied
  const char* titlePrefix;   // replaces the title at each GL_RESX entry
  const char* afterResX;     // appended after the GL_RESX value
  const char* beforeResY;    // appended before the GL_RESY value
  int32_t defaultResX;
  int32_t defaultResY;
  int32_t defaultBitDepth;
  bool additiveBlendFunc;  // the blending test sets (GL_ONE, GL_ONE) at start-up
};

extern const ProgramProfile kProgram;

}  // namespace kovrin::framework
