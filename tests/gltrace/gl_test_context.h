// A small OpenGL context for tests: an SDL window with a compatibility
// context, made current on the calling thread. Without a display it runs on
// SDL's offscreen driver (Mesa through EGL).
#pragma once

#include <memory>
#include <string>

namespace kovrin::test::gltrace {

class GlTestContext {
 public:
  // nullptr when no context can be had; *error then says why.
  static std::unique_ptr<GlTestContext> Create(int width, int height, std::string* error);
  ~GlTestContext();
  GlTestContext(const GlTestContext&) = delete;
  GlTestContext& operator=(const GlTestContext&) = delete;

  // Ends a frame the way the programs do (SDL_GL_SwapWindow).
  void Swap();

 private:
  GlTestContext(void* window, void* context) : window_(window), context_(context) {}
  void* window_;
  void* context_;
};

}  // namespace kovrin::test::gltrace
