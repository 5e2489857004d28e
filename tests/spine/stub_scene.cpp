// A scene that draws nothing, so the framework can be linked into tests.
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
