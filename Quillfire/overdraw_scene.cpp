// The overdraw stress test.
#include <GL/gl.h>

#include "main_loop.h"
#include "program_profile.h"
#include "scene.h"

const ProgramProfile kProgram{
    "Overdraw Stress Test 0.01c", "OpenGL: Overdraw Stress Test  ", "", "x", 1024, 768, 32, false};

bool LoadSceneTextures() { return true; }

int DrawScene() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  CountFrame();
  return 1;
}
