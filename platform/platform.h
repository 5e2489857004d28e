// The small window-system layer the test programs run on.
//
// The test programs are written against a handful of services: a window with a
// message loop and window timers, a display-mode change, a pixel format and an
// OpenGL context, buffer swaps, the cursor's display count and message boxes.
// This header offers exactly those services, with the meaning the programs rely
// on, implemented over SDL2. Only platform/ includes SDL headers.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin::platform {

// ---- Handles ---------------------------------------------------------------
struct Window;
struct DeviceContext;
struct RenderContext;
using HWND = Window*;
using HDC = DeviceContext*;
using HGLRC = RenderContext*;

// ---- Messages --------------------------------------------------------------
inline constexpr uint32_t WM_NULL = 0x0000;
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_QUIT = 0x0012;
inline constexpr uint32_t WM_SYSCOMMAND = 0x0112;
inline constexpr uint32_t WM_TIMER = 0x0113;

inline constexpr uintptr_t SC_CLOSE = 0xF060;
inline constexpr uintptr_t SC_SCREENSAVE = 0xF140;
inline constexpr uintptr_t SC_MONITORPOWER = 0xF170;

struct MSG {
  HWND hwnd = nullptr;
  uint32_t message = WM_NULL;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
  uint64_t time = 0;  // milliseconds since the layer started
};

using WNDPROC = intptr_t (*)(HWND, uint32_t, uintptr_t, intptr_t);
using TIMERPROC = void (*)(HWND, uint32_t, uintptr_t, uint32_t);

// ---- Window class and window -----------------------------------------------
inline constexpr uint32_t CS_VREDRAW = 0x0001;
inline constexpr uint32_t CS_HREDRAW = 0x0002;
inline constexpr uint32_t CS_OWNDC = 0x0020;

struct WindowClass {
  uint32_t style = 0;
  WNDPROC wndProc = nullptr;
  std::string className;
};

inline constexpr uint32_t WS_POPUP = 0x80000000u;
inline constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000u;
inline constexpr uint32_t WS_CLIPCHILDREN = 0x02000000u;
inline constexpr uint32_t WS_OVERLAPPEDWINDOW = 0x00CF0000u;
inline constexpr uint32_t WS_EX_TOPMOST = 0x00000008u;
inline constexpr uint32_t WS_EX_WINDOWEDGE = 0x00000100u;
inline constexpr uint32_t WS_EX_APPWINDOW = 0x00040000u;

// Brings up the window system (once) and records the class. False when the
// window system cannot be reached at all.
bool RegisterClass(const WindowClass& wc);

// A window of outer size width x height at (x, y); a side of 0 is taken as 1. A WS_POPUP window is shown
// full screen in the display mode set by ChangeDisplaySettings.
HWND CreateWindowEx(uint32_t exStyle, const std::string& className, const std::string& title, uint32_t style, int x,
                    int y, int width, int height);
bool DestroyWindow(HWND window);
// Shows the window and waits (briefly) until the window manager has placed
// and sized it. A windowed window's drawable is width x height.
void ShowWindow(HWND window);
// After ShowWindow: true when a full-screen window covers the screen and its
// drawable is exactly its width x height (by a real mode change, or a buffer
// of that size that the compositor scales to the screen). False for any
// other outcome, such as a compositor that sized the window to its output.
bool FullScreenShown(HWND window);
// Gives the window other styles; a window that leaves WS_POPUP becomes a
// framed window of its width x height. It is shown again with ShowWindow.
bool SetWindowStyle(HWND window, uint32_t exStyle, uint32_t style);
void SetForegroundWindow(HWND window);
void SetFocus(HWND window);

// ---- Display mode ----------------------------------------------------------
struct DisplayMode {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPel = 0;
};
inline constexpr int DISP_CHANGE_SUCCESSFUL = 0;
inline constexpr int DISP_CHANGE_FAILED = -1;
inline constexpr int DISP_CHANGE_BADMODE = -2;

// Switches the display to exactly mode->width x mode->height, or with nullptr
// back to the mode the desktop had. Any other size counts as a failure. The
// desktop's mode is also restored when the process ends after a change.
int ChangeDisplaySettings(const DisplayMode* mode);

// ---- Pixel format and rendering context ------------------------------------
inline constexpr uint32_t PFD_DOUBLEBUFFER = 0x00000001u;
inline constexpr uint32_t PFD_DRAW_TO_WINDOW = 0x00000004u;
inline constexpr uint32_t PFD_SUPPORT_OPENGL = 0x00000020u;
inline constexpr uint8_t PFD_TYPE_RGBA = 0;

struct PixelFormatDescriptor {
  uint32_t flags = 0;
  uint8_t pixelType = PFD_TYPE_RGBA;
  uint8_t colorBits = 0;
  uint8_t depthBits = 0;
};

HDC GetDC(HWND window);
bool ReleaseDC(HWND window, HDC dc);
// The closest format the driver offers for the descriptor, as a number > 0;
// 0 only when no format at all can be had.
int ChoosePixelFormat(HDC dc, const PixelFormatDescriptor& pfd);
bool SetPixelFormat(HDC dc, int format, const PixelFormatDescriptor& pfd);
HGLRC CreateContext(HDC dc);
// MakeCurrent(nullptr, nullptr) releases the current context.
bool MakeCurrent(HDC dc, HGLRC rc);
bool DeleteContext(HGLRC rc);
// Presents the back buffer. On a surface that presents nothing (the offscreen
// driver) the frame is finished before returning, as a display's swap would.
bool SwapBuffers(HDC dc);

// ---- Cursor ----------------------------------------------------------------
// Raises or lowers the display count; the cursor shows while it is >= 0.
int ShowCursor(bool show);

// ---- Message loop and timers -----------------------------------------------
// Starts (or restarts) a window timer; it falls due at its start + k * period.
// A WM_TIMER is produced only when no other message waits and a due time has
// passed; at most one is ever pending, so a long frame delays ticks instead of
// bunching them, and the next falls due on time again.
bool SetTimer(HWND window, uintptr_t id, uint32_t periodMs, TIMERPROC proc);
// Never blocks; removes and returns at most one message.
bool PeekMessage(MSG& msg);
void TranslateMessage(const MSG& msg);
intptr_t DispatchMessage(const MSG& msg);
void PostQuitMessage(int exitCode);
// The signal (SIGINT or SIGTERM) that asked the program to end, 0 while none
// has. From then on PeekMessage returns WM_QUIT with 128 + signal.
int EndingSignal();
intptr_t DefWindowProc(HWND window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// ---- Message boxes ---------------------------------------------------------
inline constexpr uint32_t MB_OK = 0x0000;
inline constexpr uint32_t MB_YESNO = 0x0004;
inline constexpr uint32_t MB_ICONERROR = 0x0010;
inline constexpr uint32_t MB_ICONEXCLAMATION = 0x0030;
inline constexpr uint32_t MB_ICONINFORMATION = 0x0040;
inline constexpr uint32_t MB_DEFBUTTON2 = 0x0100;
inline constexpr int IDOK = 1;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// A modal box without owner window. With KOVRIN_MSGBOX set (default, yes, no)
// nothing is shown: the box becomes one line on stderr and is answered at once.
int MessageBox(const std::string& text, const std::string& caption, uint32_t flags);

// ---- Diagnostics and test seams --------------------------------------------
// With KOVRIN_DIAG=1: writes "[diag] key: value" on stderr.
bool DiagEnabled();
void Diag(std::string_view key, std::string_view value);

// The start-up and shutdown steps a test can make fail, so that every failure
// path is reachable. KOVRIN_FAULT carries a comma-separated list of their
// names.
enum class FaultStep {
  RegisterClass,
  ChangeDisplay,
  CreateWindow,
  DestroyWindow,
  FullscreenCheck,
  GetDc,
  ReleaseDc,
  ChooseFormat,
  SetFormat,
  CreateContext,
  ReleaseCurrent,
  MakeCurrent,
  DeleteContext,
  GenLists,
};

struct FaultStepName {
  FaultStep step;
  std::string_view name;
};

// The one spelling of each step: tests and scripts put these names into
// KOVRIN_FAULT.
inline constexpr FaultStepName kFaultSteps[] = {
    {FaultStep::RegisterClass, "register_class"},
    {FaultStep::ChangeDisplay, "change_display"},
    {FaultStep::CreateWindow, "create_window"},
    {FaultStep::DestroyWindow, "destroy_window"},
    {FaultStep::FullscreenCheck, "fullscreen_check"},
    {FaultStep::GetDc, "get_dc"},
    {FaultStep::ReleaseDc, "release_dc"},
    {FaultStep::ChooseFormat, "choose_format"},
    {FaultStep::SetFormat, "set_format"},
    {FaultStep::CreateContext, "create_context"},
    {FaultStep::ReleaseCurrent, "release_current"},
    {FaultStep::MakeCurrent, "make_current"},
    {FaultStep::DeleteContext, "delete_context"},
    {FaultStep::GenLists, "gen_lists"},
};
inline constexpr std::size_t kFaultStepCount = std::size(kFaultSteps);

// Indexing the table by step needs its rows in the enumeration's order, and a
// name that two steps shared would fail both at once.
consteval bool FaultTableIsWellFormed() {
  for (std::size_t i = 0; i < kFaultStepCount; ++i) {
    if (kFaultSteps[i].step != static_cast<FaultStep>(i) || kFaultSteps[i].name.empty()) return false;
    for (std::size_t j = 0; j < i; ++j) {
      if (kFaultSteps[j].name == kFaultSteps[i].name) return false;
    }
  }
  return true;
}
static_assert(FaultTableIsWellFormed(), "one row per fault step, in order, each with a name of its own");
static_assert(static_cast<std::size_t>(FaultStep::GenLists) + 1 == kFaultStepCount, "every fault step has a row");

constexpr std::string_view FaultStepNameOf(FaultStep step) { return kFaultSteps[static_cast<std::size_t>(step)].name; }

constexpr std::optional<FaultStep> FaultStepNamed(std::string_view name) {
  for (const FaultStepName& row : kFaultSteps) {
    if (row.name == name) return row.step;
  }
  return std::nullopt;
}

// What a KOVRIN_FAULT value asks for: the steps it names, and the names in it
// that are no step (empty items between commas are not names).
struct FaultList {
  std::bitset<kFaultStepCount> steps;
  std::vector<std::string> unknown;
};
FaultList ParseFaultList(std::string_view value);

// True when KOVRIN_FAULT names the step. The first call reads the variable;
// a name in it that is no step is reported on stderr once, so a misspelt
// fault cannot pass for a step that did not fail.
bool FaultInjected(FaultStep step);

// Milliseconds and microseconds since the layer started, from one monotonic
// clock.
uint64_t TickMs();
uint64_t TickUs();

}  // namespace kovrin::platform

// The program's entry, defined by the program and called by the layer's main.
// The arguments mirror the classic entry; the command line is ignored.
int WinMain(void* instance, void* prevInstance, char* cmdLine, int showCmd);
