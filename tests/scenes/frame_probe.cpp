// A test-only companion preloaded into a real test program (LD_PRELOAD). It
// stands in front of SDL_GL_SwapWindow, the one call that ends every frame of
// the programs, and changes nothing about what they draw.
//
//   KOVRIN_FRAMEGRAB=<file>        just before swap number KOVRIN_FRAMEGRAB_FRAME
//   KOVRIN_FRAMEGRAB_FRAME=<n>     (default 1) the finished back buffer is read
//                                  and written as a binary PPM, top row first
//   KOVRIN_QUIT_AFTER_FRAMES=<n>   after swap number n a quit request is queued,
//                                  as closing the window would: the run ends
//                                  through its normal shutdown and result file
//
// It links neither libGL nor SDL: it uses what the program has loaded. It can
// be preloaded together with the GL call recorder (either order).
#include <GL/gl.h>
#include <SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

template <typename Fn>
Fn Lookup(void* handle, const char* name) {
  void* symbol = dlsym(handle, name);
  if (symbol == nullptr) {
    std::fprintf(stderr, "[frame_probe] %s not found\n", name);
    std::abort();
  }
  Fn fn = nullptr;
  static_assert(sizeof fn == sizeof symbol);
  std::memcpy(&fn, &symbol, sizeof fn);
  return fn;
}

long EnvNumber(const char* name, long fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return fallback;
  return std::strtol(text, nullptr, 10);
}

void WritePpm(const char* path, int width, int height, const std::vector<unsigned char>& rgba) {
  FILE* file = std::fopen(path, "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "[frame_probe] cannot write %s\n", path);
    return;
  }
  std::fprintf(file, "P6\n%d %d\n255\n", width, height);
  // GL rows run bottom to top; a PPM starts at the top.
  for (int y = height - 1; y >= 0; --y) {
    const unsigned char* row = rgba.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4;
    for (int x = 0; x < width; ++x) std::fwrite(row + static_cast<std::size_t>(x) * 4, 1, 3, file);
  }
  std::fclose(file);
}

void GrabFrame(SDL_Window* window, const char* path) {
  static const auto getDrawableSize = Lookup<decltype(&SDL_GL_GetDrawableSize)>(RTLD_DEFAULT, "SDL_GL_GetDrawableSize");
  static const auto readPixels = Lookup<decltype(&glReadPixels)>(RTLD_DEFAULT, "glReadPixels");
  int width = 0;
  int height = 0;
  getDrawableSize(window, &width, &height);
  if (width <= 0 || height <= 0) return;
  // RGBA rows are a multiple of four bytes, so the program's pack alignment,
  // whatever it is, needs no change.
  std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  readPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  WritePpm(path, width, height, rgba);
}

void RequestQuit() {
  static const auto pushEvent = Lookup<decltype(&SDL_PushEvent)>(RTLD_DEFAULT, "SDL_PushEvent");
  SDL_Event event{};
  event.type = SDL_QUIT;
  pushEvent(&event);
}

}  // namespace

extern "C" void SDL_GL_SwapWindow(SDL_Window* window) {
  static const auto real = Lookup<decltype(&SDL_GL_SwapWindow)>(RTLD_NEXT, "SDL_GL_SwapWindow");
  static const char* grabPath = std::getenv("KOVRIN_FRAMEGRAB");
  static const long grabFrame = EnvNumber("KOVRIN_FRAMEGRAB_FRAME", 1);
  static const long quitAfter = EnvNumber("KOVRIN_QUIT_AFTER_FRAMES", 0);
  static long swaps = 0;

  ++swaps;
  if (grabPath != nullptr && *grabPath != '\0' && swaps == grabFrame) GrabFrame(window, grabPath);
  real(window);
  if (quitAfter > 0 && swaps == quitAfter) RequestQuit();
}
