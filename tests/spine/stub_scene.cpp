// A scene that draws nothing, so the framework can be linked into tests.
#include "main_loop.h"
#include "program_profile.h"
#include "scene.h"

const ProgramProfile kProgram{
    "Overdraw Stress Test 0.01c", "OpenGL: Overdraw Stress Test  ", "", "x", 1024, 768, 32, false};

bool LoadSceneTextures() { return true; }

int DrawScene() {
  CountFrame();
  return 1;
}
