#include "framework/gl_setup.h"

#include <GL/gl.h>

#include "framework/program_profile.h"
#include "framework/scene.h"

// The initial state is part of what a test measures, so it is fixed here and
// every frame starts from it.
bool Graphics_Init_InitScene() {
  glEnable(GL_TEXTURE_2D);
  glShadeModel(GL_SMOOTH);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glDepthFunc(GL_LEQUAL);
  if (kovrin::framework::kProgram.additiveBlendFunc) glBlendFunc(GL_ONE, GL_ONE);
  glEnable(GL_POINT_SMOOTH);
  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_POLYGON_SMOOTH);
  glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
  glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  LoadSceneTextures();
  return true;
}
