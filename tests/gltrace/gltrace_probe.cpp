// A tiny GL program for the recorder's own tests: a start-up, then frames that
// each say their number through one glTranslatef, ended by SDL_GL_SwapWindow.
// Usage: gltrace_probe <frames>
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/gltrace/gl_test_context.h"

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::atoi(argv[1]) : 5;
  std::string error;
  auto context = kovrin::test::gltrace::GlTestContext::Create(32, 32, &error);
  if (!context) {
    std::fprintf(stderr, "gltrace_probe: %s\n", error.c_str());
    return 2;
  }
  glEnable(GL_TEXTURE_2D);
  glClearColor(0.0f, 0.25f, 0.5f, 1.0f);
  GLuint textures[2] = {0, 0};
  glGenTextures(2, textures);
  const GLuint list = glGenLists(1);
  for (int frame = 1; frame <= frames; ++frame) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(static_cast<float>(frame), 0.1f, -3.1f);
    glBindTexture(GL_TEXTURE_2D, textures[frame % 2]);
    glCallList(list);
    context->Swap();
  }
  return 0;
}
