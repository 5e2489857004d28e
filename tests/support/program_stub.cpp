// What a test program supplies beside its scene: a profile and a scene that
// draws nothing but counts its frames, so that the framework links into tests.
#include "framework/main_loop.h"
#include "framework/program_profile.h"
#include "framework/scene.h"

const kovrin::framework::ProgramProfile kovrin::framework::kProgram{
    "Overdraw Stress Test 0.01c", "OpenGL: Overdraw Stress Test  ", "", "x", 1024, 768, 32, false};

bool LoadSceneTextures() { return true; }

int DrawScene() {
  CountFrame();
  return 1;
}
