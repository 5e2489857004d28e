#include "tests/gltrace/gl_test_context.h"

#include <SDL.h>

#include <cstdlib>

namespace kovrin::test::gltrace {

std::unique_ptr<GlTestContext> GlTestContext::Create(int width, int height, std::string* error) {
  // Tests never open a window on somebody's screen.
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    if (error != nullptr) *error = std::string("SDL video: ") + SDL_GetError();
    return nullptr;
  }
  // SDL unloads the GL driver with its last window. One reference of our own
  // keeps it loaded for the process: loading it again for every test costs
  // time, and a driver unloaded before exit leaves the leak checker with
  // frames it can no longer name (nor suppress).
  static const bool driverKept = SDL_GL_LoadLibrary(nullptr) == 0;
  if (!driverKept) {
    if (error != nullptr) *error = std::string("GL library: ") + SDL_GetError();
    return nullptr;
  }
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_Window* window = SDL_CreateWindow("gltest", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (window == nullptr) {
    if (error != nullptr) *error = std::string("SDL window: ") + SDL_GetError();
    return nullptr;
  }
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (context == nullptr || SDL_GL_MakeCurrent(window, context) != 0) {
    if (error != nullptr) *error = std::string("GL context: ") + SDL_GetError();
    if (context != nullptr) SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    return nullptr;
  }
  return std::unique_ptr<GlTestContext>(new GlTestContext(window, context));
}

GlTestContext::~GlTestContext() {
  SDL_GL_MakeCurrent(static_cast<SDL_Window*>(window_), nullptr);
  SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context_));
  SDL_DestroyWindow(static_cast<SDL_Window*>(window_));
}

void GlTestContext::Swap() { SDL_GL_SwapWindow(static_cast<SDL_Window*>(window_)); }

}  // namespace kovrin::test::gltrace
