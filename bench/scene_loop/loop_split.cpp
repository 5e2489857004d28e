// Splits the passes of a test program's main loop into their parts, from the
// outside: preloaded (LD_PRELOAD), it stands in front of the calls that mark
// the parts and reads a monotonic clock there. The program's loop is left as
// it is.
//
//   SDL_PollEvent ...          message poll (one call per pass when no event
//                              waits; its time is the poll's own)
//   glClear ... SDL_GL_SwapWindow    DrawScene (glClear is its first call)
//   SDL_GL_SwapWindow ... glFinish   swap (on the offscreen driver the swap
//                              is followed by a glFinish that ends the frame)
//   everything else between two frames: the framework's other work (queue,
//   timer messages, the loop itself)
//
// KOVRIN_LOOP_SPLIT=<file>: at exit one line of key=value pairs is written
// there (times in seconds, from the first frame's glClear to the end of the
// last frame). Without it nothing is measured.
#include <SDL.h>
#include <dlfcn.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

using GLbitfield = unsigned int;

namespace {

template <typename Fn>
Fn Next(const char* name) {
  void* symbol = dlsym(RTLD_NEXT, name);
  if (symbol == nullptr) {
    std::fprintf(stderr, "[loop_split] no %s behind the preload\n", name);
    std::abort();
  }
  Fn fn = nullptr;
  static_assert(sizeof fn == sizeof symbol);
  std::memcpy(&fn, &symbol, sizeof fn);
  return fn;
}

double Now() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Split {
  const char* file = std::getenv("KOVRIN_LOOP_SPLIT");
  long frames = 0;
  long polls = 0;
  double firstFrameStart = 0;
  double lastFrameEnd = 0;
  double drawStart = 0;
  double draw = 0;
  double swap = 0;
  double poll = 0;
  // Polls after a frame count once the next frame starts: the ones that end
  // the run lie outside the measured loop.
  double pendingPoll = 0;
  long pendingPolls = 0;
  bool finishEndsSwap = false;

  bool On() const { return file != nullptr && *file != '\0'; }
};

Split& State() {
  static Split split;
  return split;
}

__attribute__((destructor)) void WriteSplit() {
  const Split& s = State();
  if (!s.On()) return;
  FILE* out = std::fopen(s.file, "w");
  if (out == nullptr) return;
  const double loop = s.frames > 0 ? s.lastFrameEnd - s.firstFrameStart : 0.0;
  std::fprintf(out, "frames=%ld polls=%ld loop=%.6f draw=%.6f swap=%.6f poll=%.6f\n", s.frames, s.polls, loop, s.draw,
               s.swap, s.poll);
  std::fclose(out);
}

}  // namespace

extern "C" int SDL_PollEvent(SDL_Event* event) {
  static const auto real = Next<int (*)(SDL_Event*)>("SDL_PollEvent");
  Split& s = State();
  if (!s.On() || s.frames == 0) return real(event);
  const double t0 = Now();
  const int result = real(event);
  s.pendingPoll += Now() - t0;
  if (result == 0) ++s.pendingPolls;
  return result;
}

extern "C" void glClear(GLbitfield mask) {
  static const auto real = Next<void (*)(GLbitfield)>("glClear");
  Split& s = State();
  if (s.On()) {
    s.finishEndsSwap = false;
    s.poll += s.pendingPoll;
    s.polls += s.pendingPolls;
    s.pendingPoll = 0;
    s.pendingPolls = 0;
    s.drawStart = Now();
    if (s.frames == 0) s.firstFrameStart = s.drawStart;
  }
  real(mask);
}

extern "C" void SDL_GL_SwapWindow(SDL_Window* window) {
  static const auto real = Next<void (*)(SDL_Window*)>("SDL_GL_SwapWindow");
  Split& s = State();
  if (!s.On()) return real(window);
  const double t0 = Now();
  if (s.drawStart > 0) s.draw += t0 - s.drawStart;
  s.drawStart = 0;
  real(window);
  s.lastFrameEnd = Now();
  s.swap += s.lastFrameEnd - t0;
  ++s.frames;
  s.finishEndsSwap = true;
}

extern "C" void glFinish() {
  static const auto real = Next<void (*)()>("glFinish");
  Split& s = State();
  real();
  if (!s.On() || !s.finishEndsSwap) return;
  const double t = Now();
  s.swap += t - s.lastFrameEnd;
  s.lastFrameEnd = t;
  s.finishEndsSwap = false;
}
