// The alpha blending test.
#include <GL/gl.h>

#include "main_loop.h"
#include "program_profile.h"
#include "scene.h"

const ProgramProfile kProgram{
    "Alpha Blending 0.01", "OpenGL: Alpha Blending Performance  ", "x", "", 800, 600, 32, true};

bool LoadSceneTextures() { return true; }

int DrawScene() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  CountFrame();
  return 1;
}
