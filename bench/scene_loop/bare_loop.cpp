// A program's scene drawn by a bare loop: the program's own start-up, scene
// and buffer swap, but no message poll, no timer and no result file. What the
// real program reaches against this is the cost of its framework.
// Usage: quillfire_bare_loop [seconds]   (default 8), likewise
// lumavane_bare_loop, run in a folder with config.cfg, default.fnt and data/
// as the program itself needs.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "framework/graphics.h"
#include "framework/program_profile.h"
#include "framework/scene.h"
#include "framework/settings_file.h"
#include "platform/platform.h"

using kovrin::framework::kProgram;
using kovrin::framework::ResetSettings;

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 8.0;
  ResetSettings(kProgram);
  LoadSettings();
  Graphics_Init();

  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  Clock::time_point now = start;
  long frames = 0;
  while (std::chrono::duration<double>(now - start).count() < seconds) {
    DrawScene();
    kovrin::platform::SwapBuffers(hDC);
    ++frames;
    now = Clock::now();
  }
  const double elapsed = std::chrono::duration<double>(now - start).count();

  Graphics_Shutdown();
  std::printf("frames=%ld seconds=%.6f fps=%.3f\n", frames, elapsed, static_cast<double>(frames) / elapsed);
  return 0;
}
