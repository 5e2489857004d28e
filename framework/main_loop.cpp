#include "framework/main_loop.h"

#include <unistd.h>

#include <cerrno>

#include "framework/graphics.h"
#include "framework/regular_file.h"
#include "framework/run_figures.h"
#include "framework/scene.h"
#include "framework/settings_file.h"

int32_t FrameCount = 0;
int32_t TickCount = 0;
bool RunDone = false;

using kovrin::framework::FrameClock;
using kovrin::framework::FrameTimesOf;
using kovrin::framework::OpenRegularFileForWriting;
using kovrin::framework::ResultText;
using kovrin::framework::RunEnd;
using kovrin::framework::RunFigureLines;
using kovrin::framework::RunFigures;

namespace {
constexpr uintptr_t kRunTimerId = 0;
constexpr uint32_t kRunTimerPeriodMs = 1000;
constexpr int32_t kRunTicks = 8;
// Frames a run can time: 131,072 a second for eight seconds.
constexpr std::size_t kTimedFrames = std::size_t{1} << 20;

// The figures are always taken, so a run costs the same whether they are
// printed or not; only the printing waits for the loop to end.
void ReportRunFigures(FrameClock& clock, uint64_t endUs, bool closed) {
  RunFigures figures;
  figures.frames = FrameCount;
  figures.runMicroseconds = clock.Since(endUs);
  figures.frameTimes = FrameTimesOf(clock.TakeDurations());
  figures.end = closed ? RunEnd::Closed : RunEnd::Ticks;
  figures.ticks = TickCount;
  if (!kovrin::platform::DiagEnabled()) return;
  for (const auto& [key, value] : RunFigureLines(figures)) kovrin::platform::Diag(key, value);
}
}  // namespace

int CountFrame() { return ++FrameCount; }

namespace kovrin::framework {
std::string ResultText(int32_t frameCount) { return std::to_string(frameCount / kRunTicks); }
}  // namespace kovrin::framework

void WriteTextFile(std::string text, std::string fileName) {
  const int fd = OpenRegularFileForWriting(fileName);
  if (fd < 0) return;  // the write is lost without a word, as for a read-only folder
  // Written as the desktop's text files are: the line ends in CR LF.
  const std::string bytes = text + "\r\n";
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
}

void WriteResults() { WriteTextFile(ResultText(FrameCount), "results.fps"); }

void TimerProc(kovrin::platform::HWND, uint32_t, uintptr_t, uint32_t) {
  TickCount += 1;
  if (TickCount >= kRunTicks) RunDone = true;
}

intptr_t WndProc(kovrin::platform::HWND window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case kovrin::platform::WM_CLOSE:
      kovrin::platform::PostQuitMessage(0);
      return 0;
    case kovrin::platform::WM_SYSCOMMAND:
      // Nothing may blank the screen in the middle of a measurement.
      if (wParam == kovrin::platform::SC_SCREENSAVE || wParam == kovrin::platform::SC_MONITORPOWER) return 0;
      break;
    default:
      break;
  }
  return kovrin::platform::DefWindowProc(window, message, wParam, lParam);
}

int WinMain(void*, void*, char*, int) {
  kovrin::framework::ResetSettings(kovrin::framework::kProgram);
  LoadSettings();
  Graphics_Init();

  FrameClock frameClock(kTimedFrames);
  TickCount = 0;
  // Read before the timer's own start, so no tick can fall due before the
  // run's eighth second.
  frameClock.Start(kovrin::platform::TickUs());
  kovrin::platform::SetTimer(hWnd, kRunTimerId, kRunTimerPeriodMs, TimerProc);

  // What is measured is the rate of this loop: one message or one frame per
  // pass, never a wait.
  kovrin::platform::MSG msg{};
  while (!RunDone) {
    if (kovrin::platform::PeekMessage(msg)) {
      if (msg.message == kovrin::platform::WM_QUIT) {
        RunDone = true;
      } else {
        kovrin::platform::TranslateMessage(msg);
        kovrin::platform::DispatchMessage(msg);
      }
    } else {
      DrawScene();
      kovrin::platform::SwapBuffers(hDC);
      frameClock.Frame(kovrin::platform::TickUs());
    }
  }
  ReportRunFigures(frameClock, kovrin::platform::TickUs(), msg.message == kovrin::platform::WM_QUIT);

  Graphics_Shutdown();
  // A run ended by a signal measured nothing a launcher may take: the display
  // is back, but no result is written.
  if (const int signal = kovrin::platform::EndingSignal(); signal != 0) return 128 + signal;
  WriteResults();
  return static_cast<int>(msg.wParam);
}
