// The window-system services of platform.h over SDL2.
#include <GL/gl.h>
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <unistd.h>
#include <wayland-client-core.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/end_signal.h"
#include "platform/message_queue.h"
#include "platform/pixel_formats.h"
#include "platform/platform.h"
#include "platform/presentation.h"

namespace kovrin::platform {

struct Window {
  SDL_Window* sdl = nullptr;
  std::string title;
  uint32_t style = 0;
  int width = 0;
  int height = 0;
  bool fullscreen = false;
  WNDPROC wndProc = nullptr;
  // What the window system did with the window once shown.
  bool exposed = false;
  uint64_t lastChangeMs = 0;
};

struct DeviceContext {
  Window* window = nullptr;
  int format = 0;
};

struct RenderContext {
  SDL_GLContext gl = nullptr;
};

namespace {

struct LayerState {
  bool videoUp = false;
  bool offscreen = false;
  WindowClass windowClass;
  MessageQueue queue;
  int cursorCount = 0;
  bool modeChanged = false;
  SDL_DisplayMode sdlMode{};
  std::vector<FormatCandidate> formats;
  Window* fullscreenWindow = nullptr;
  bool wayland = false;
  bool fullScreenHolds = false;
};

LayerState& State() {
  static LayerState state;
  return state;
}

// The exit code of a test program whose display went away mid-run.
constexpr int kLostDisplayExitCode = 1;

void PumpEvents();
void SettleAfterShow(Window& w);

void SetGlAttributes(const FormatCandidate& f) {
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, f.red);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, f.green);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, f.blue);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, f.depth);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

SDL_Window* CreateSdlWindow(Window& w) {
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
  if (w.fullscreen) flags |= SDL_WINDOW_FULLSCREEN;
  SDL_Window* sdl = SDL_CreateWindow(w.title.c_str(), 0, 0, w.width, w.height, flags);
  if (sdl == nullptr) return nullptr;
  SDL_SetWindowData(sdl, "plat", &w);
  if (w.fullscreen && !State().offscreen) SDL_SetWindowDisplayMode(sdl, &State().sdlMode);
  return sdl;
}

std::string DisplayModeText(const SDL_DisplayMode& m) {
  return SizeText({m.w, m.h}) + " " + std::to_string(SDL_BITSPERPIXEL(m.format)) + " bpp " +
         std::to_string(m.refresh_rate) + " Hz";
}

int DisplayOf(const Window& w) {
  const int display = SDL_GetWindowDisplayIndex(w.sdl);
  return display < 0 ? 0 : display;
}

// On Wayland the compositor places a full-screen surface over its output
// and scales it; SDL's window position and size there are the buffer's.
bool CoversScreen(const Window& w) {
  if ((SDL_GetWindowFlags(w.sdl) & SDL_WINDOW_FULLSCREEN) == 0) return false;
  if (State().wayland) return true;
  SDL_Rect bounds{};
  if (SDL_GetDisplayBounds(DisplayOf(w), &bounds) != 0) return false;
  int x = 0, y = 0, width = 0, height = 0;
  SDL_GetWindowPosition(w.sdl, &x, &y);
  SDL_GetWindowSize(w.sdl, &width, &height);
  return x <= bounds.x && y <= bounds.y && x + width >= bounds.x + bounds.w && y + height >= bounds.y + bounds.h;
}

ShownWindow Shown(const Window& w) {
  ShownWindow shown;
  shown.offscreen = State().offscreen;
  shown.fullscreen = w.fullscreen;
  shown.asked = {w.width, w.height};
  if (shown.offscreen) {
    shown.coversScreen = w.fullscreen;
    shown.drawable = shown.asked;
    shown.displayMode = shown.asked;
    return shown;
  }
  shown.coversScreen = CoversScreen(w);
  SDL_GL_GetDrawableSize(w.sdl, &shown.drawable.width, &shown.drawable.height);
  SDL_DisplayMode current{};
  if (SDL_GetCurrentDisplayMode(DisplayOf(w), &current) == 0) shown.displayMode = {current.w, current.h};
  return shown;
}

void WriteDiagnostics(const Window& w, const ShownWindow& shown) {
  if (!DiagEnabled()) return;
  Diag("video_driver", SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "none");
  Diag("title", w.title);
  Diag("window", SizeText({w.width, w.height}));
  Diag("fullscreen", w.fullscreen ? "yes" : "no");
  SDL_DisplayMode current{};
  SDL_DisplayMode desktop{};
  const int display = DisplayOf(w);
  if (shown.offscreen) {
    Diag("display_mode", DisplayModeWords("", {}, shown));
  } else if (SDL_GetCurrentDisplayMode(display, &current) == 0) {
    SDL_GetDesktopDisplayMode(display, &desktop);
    Diag("display_mode", DisplayModeWords(DisplayModeText(current), {desktop.w, desktop.h}, shown));
  }
  Diag("drawable", SizeText(shown.drawable));
  Diag("presentation", PresentationName(PresentationOf(shown)));
  GLint r = 0, g = 0, b = 0, a = 0, depth = 0;
  glGetIntegerv(GL_RED_BITS, &r);
  glGetIntegerv(GL_GREEN_BITS, &g);
  glGetIntegerv(GL_BLUE_BITS, &b);
  glGetIntegerv(GL_ALPHA_BITS, &a);
  glGetIntegerv(GL_DEPTH_BITS, &depth);
  Diag("color_bits", std::to_string(r + g + b + a) + " (R" + std::to_string(r) + " G" + std::to_string(g) + " B" +
                         std::to_string(b) + " A" + std::to_string(a) + ")");
  Diag("depth_bits", std::to_string(depth));
  const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  Diag("renderer", renderer ? renderer : "unknown");
  Diag("swap_interval", std::to_string(SDL_GL_GetSwapInterval()));
}

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

bool WindowSystemReachable() { return IsSet("SDL_VIDEODRIVER") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY"); }

// SDL takes x11 whenever DISPLAY is set, and on a Wayland desktop that X
// server is XWayland, whose full screen is the compositor's size whatever
// mode was asked. SDL's own Wayland driver instead hands the compositor a
// buffer of exactly the mode's size to scale, so it is tried first.
bool InitVideo() {
  if (!IsSet("SDL_VIDEODRIVER") && IsSet("WAYLAND_DISPLAY")) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "wayland");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
  }
  return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

// Xlib's own handler for a lost connection calls exit(), whose handlers then
// talk to the dead server again and spin; nothing can be saved, so leave.
int LeaveOnLostDisplay(::Display*) {
  static const char kText[] = "the connection to the display was lost\n";
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, kText, sizeof kText - 1);
  ::_exit(kLostDisplayExitCode);
}

// SDL's Wayland driver turns a broken connection into a quit request, which
// would end the run as a close does, with a result; it is a lost display.
bool WaylandConnectionLost() {
  Window* w = State().fullscreenWindow;
  SDL_Window* sdl = w != nullptr ? w->sdl : SDL_GL_GetCurrentWindow();
  if (!State().wayland || sdl == nullptr) return false;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(sdl, &info) || info.subsystem != SDL_SYSWM_WAYLAND) return false;
  return info.info.wl.display != nullptr && wl_display_get_error(info.info.wl.display) != 0;
}

}  // namespace

bool DiagEnabled() {
  static const bool enabled = [] {
    const char* v = std::getenv("KOVRIN_DIAG");
    return v != nullptr && std::strcmp(v, "1") == 0;
  }();
  return enabled;
}

void Diag(std::string_view key, std::string_view value) {
  if (!DiagEnabled()) return;
  std::fprintf(stderr, "[diag] %.*s: %.*s\n", static_cast<int>(key.size()), key.data(), static_cast<int>(value.size()),
               value.data());
  std::fflush(stderr);
}

FaultList ParseFaultList(std::string_view value) {
  FaultList list;
  while (!value.empty()) {
    const std::size_t comma = value.find(',');
    const std::string_view item = value.substr(0, comma);
    if (const std::optional<FaultStep> step = FaultStepNamed(item)) {
      list.steps.set(static_cast<std::size_t>(*step));
    } else if (!item.empty()) {
      list.unknown.emplace_back(item);
    }
    if (comma == std::string_view::npos) break;
    value.remove_prefix(comma + 1);
  }
  return list;
}

bool FaultInjected(FaultStep step) {
  static const std::bitset<kFaultStepCount> faults = [] {
    const char* v = std::getenv("KOVRIN_FAULT");
    if (v == nullptr) return std::bitset<kFaultStepCount>();
    const FaultList list = ParseFaultList(v);
    for (const std::string& name : list.unknown) {
      std::fprintf(stderr, "KOVRIN_FAULT: \"%s\" is no fault step\n", name.c_str());
    }
    std::fflush(stderr);
    return list.steps;
  }();
  return faults.test(static_cast<std::size_t>(step));
}

bool RegisterClass(const WindowClass& wc) {
  LayerState& s = State();
  if (FaultInjected(FaultStep::RegisterClass)) return false;
  if (!s.videoUp) {
    // Without any display the programs still run, on SDL's offscreen driver.
    if (!WindowSystemReachable()) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    // SDL would turn SIGINT and SIGTERM into a quit event, which looks like a
    // closed window; a signal must not end the run as a valid one.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    CatchEndingSignals();
    if (!InitVideo()) return false;
    std::atexit(SDL_Quit);  // leaves any changed display mode behind us
    SDL_DisableScreenSaver();
    s.videoUp = true;
    const char* driver = SDL_GetCurrentVideoDriver();
    s.offscreen = driver != nullptr && std::strcmp(driver, "offscreen") == 0;
    s.wayland = driver != nullptr && std::strcmp(driver, "wayland") == 0;
    if (driver != nullptr && std::strcmp(driver, "x11") == 0) XSetIOErrorHandler(LeaveOnLostDisplay);
  }
  s.windowClass = wc;
  return true;
}

int ChangeDisplaySettings(const DisplayMode* mode) {
  LayerState& s = State();
  if (mode == nullptr) {
    if (s.fullscreenWindow != nullptr && s.fullscreenWindow->sdl != nullptr) {
      SDL_SetWindowFullscreen(s.fullscreenWindow->sdl, 0);  // SDL puts the desktop mode back
      s.fullscreenWindow->fullscreen = false;
    }
    s.fullscreenWindow = nullptr;
    s.modeChanged = false;
    return DISP_CHANGE_SUCCESSFUL;
  }
  if (!s.videoUp || FaultInjected(FaultStep::ChangeDisplay)) return DISP_CHANGE_FAILED;
  if (s.offscreen) {
    s.modeChanged = true;
    return DISP_CHANGE_SUCCESSFUL;
  }
  // Only a mode of exactly the requested size counts; a display that cannot
  // show it refuses, and the caller may fall back to a window.
  const int count = SDL_GetNumDisplayModes(0);
  bool found = false;
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode m{};
    if (SDL_GetDisplayMode(0, i, &m) != 0) continue;
    if (m.w != mode->width || m.h != mode->height) continue;
    const bool depthMatches = static_cast<int32_t>(SDL_BITSPERPIXEL(m.format)) == mode->bitsPerPel;
    if (!found || depthMatches) s.sdlMode = m;
    found = true;
    if (depthMatches) break;
  }
  if (!found) return DISP_CHANGE_BADMODE;
  s.modeChanged = true;
  return DISP_CHANGE_SUCCESSFUL;
}

HWND CreateWindowEx(uint32_t /*exStyle*/, const std::string& className, const std::string& title, uint32_t style,
                    int /*x*/, int /*y*/, int width, int height) {
  LayerState& s = State();
  if (!s.videoUp || className != s.windowClass.className || FaultInjected(FaultStep::CreateWindow)) {
    return nullptr;
  }
  if (width < 0 || height < 0) return nullptr;
  // The window system has no window without pixels; a side of 0 gets one,
  // as the viewport does (Graphics_Resize).
  if (width == 0) width = 1;
  if (height == 0) height = 1;
  auto w = std::make_unique<Window>();
  w->title = title;
  w->style = style;
  w->width = width;
  w->height = height;
  w->fullscreen = (style & WS_POPUP) != 0 && s.modeChanged;
  w->wndProc = s.windowClass.wndProc;
  SDL_GL_ResetAttributes();
  w->sdl = CreateSdlWindow(*w);
  if (w->sdl == nullptr) return nullptr;
  if (w->fullscreen) s.fullscreenWindow = w.get();
  return w.release();
}

bool DestroyWindow(HWND window) {
  if (window == nullptr || FaultInjected(FaultStep::DestroyWindow)) return false;
  State().queue.KillTimers(window);
  if (State().fullscreenWindow == window) State().fullscreenWindow = nullptr;
  if (window->sdl != nullptr) SDL_DestroyWindow(window->sdl);
  delete window;
  return true;
}

void ShowWindow(HWND window) {
  if (window == nullptr) return;
  LayerState& s = State();
  SDL_ShowWindow(window->sdl);
  SettleAfterShow(*window);
  const ShownWindow shown = Shown(*window);
  s.fullScreenHolds = window->fullscreen && FullScreenAsAsked(shown) && !FaultInjected(FaultStep::FullscreenCheck);
  if (window->fullscreen && !s.fullScreenHolds) {
    // The caller asks the user and shows the window again, windowed; the
    // diagnostics then describe the run that really happens.
    Diag("fullscreen_refused", "covers the screen: " + std::string(shown.coversScreen ? "yes" : "no") + ", drawable " +
                                   SizeText(shown.drawable) + ", display " + SizeText(shown.displayMode));
    return;
  }
  if (!window->fullscreen && !shown.offscreen && !(shown.drawable == shown.asked)) {
    std::fprintf(stderr, "%s: the window was made %s instead of %s by the window manager\n", window->title.c_str(),
                 SizeText(shown.drawable).c_str(), SizeText(shown.asked).c_str());
    std::fflush(stderr);
  }
  WriteDiagnostics(*window, shown);
}

bool FullScreenShown(HWND window) { return window != nullptr && window->fullscreen && State().fullScreenHolds; }

bool SetWindowStyle(HWND window, uint32_t /*exStyle*/, uint32_t style) {
  LayerState& s = State();
  if (window == nullptr) return false;
  window->style = style;
  const bool fullscreen = (style & WS_POPUP) != 0 && s.modeChanged;
  if (fullscreen == window->fullscreen) return true;
  // A window's full-screen state is settled by the window manager when it is
  // mapped; a new window of the same format is the dependable way out. The
  // context moves over to it.
  window->fullscreen = fullscreen;
  SDL_Window* replacement = CreateSdlWindow(*window);
  if (replacement == nullptr) return false;
  if (SDL_GL_GetCurrentWindow() == window->sdl && SDL_GL_GetCurrentContext() != nullptr) {
    SDL_GL_MakeCurrent(replacement, SDL_GL_GetCurrentContext());
  }
  SDL_DestroyWindow(window->sdl);
  window->sdl = replacement;
  if (s.fullscreenWindow == window && !fullscreen) s.fullscreenWindow = nullptr;
  if (fullscreen) s.fullscreenWindow = window;
  return true;
}

void SetForegroundWindow(HWND window) {
  if (window != nullptr) SDL_RaiseWindow(window->sdl);
}

void SetFocus(HWND window) {
  if (window != nullptr) SDL_SetWindowInputFocus(window->sdl);
}

HDC GetDC(HWND window) {
  if (window == nullptr || FaultInjected(FaultStep::GetDc)) return nullptr;
  auto* dc = new DeviceContext;
  dc->window = window;
  return dc;
}

bool ReleaseDC(HWND window, HDC dc) {
  if (dc == nullptr || dc->window != window || FaultInjected(FaultStep::ReleaseDc)) return false;
  delete dc;
  return true;
}

int ChoosePixelFormat(HDC dc, const PixelFormatDescriptor& pfd) {
  LayerState& s = State();
  if (dc == nullptr || FaultInjected(FaultStep::ChooseFormat)) return 0;
  s.formats = CandidateFormats(pfd.colorBits, pfd.depthBits);
  // The first candidate the driver can back with a window is the closest it
  // offers; a probe window is the only portable way to ask.
  for (std::size_t i = 0; i < s.formats.size(); ++i) {
    SetGlAttributes(s.formats[i]);
    SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (probe != nullptr) {
      SDL_DestroyWindow(probe);
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

bool SetPixelFormat(HDC dc, int format, const PixelFormatDescriptor& /*pfd*/) {
  LayerState& s = State();
  if (dc == nullptr || format < 1 || static_cast<std::size_t>(format) > s.formats.size() ||
      FaultInjected(FaultStep::SetFormat)) {
    return false;
  }
  // The visual of a window is fixed when it is made, so the window is made
  // again with the chosen format, hidden, before anything was drawn into it.
  Window& w = *dc->window;
  SetGlAttributes(s.formats[static_cast<std::size_t>(format) - 1]);
  SDL_Window* replacement = CreateSdlWindow(w);
  if (replacement == nullptr) return false;
  SDL_DestroyWindow(w.sdl);
  w.sdl = replacement;
  dc->format = format;
  return true;
}

HGLRC CreateContext(HDC dc) {
  if (dc == nullptr || dc->format == 0 || FaultInjected(FaultStep::CreateContext)) return nullptr;
  SDL_GLContext gl = SDL_GL_CreateContext(dc->window->sdl);
  if (gl == nullptr) return nullptr;
  // Creating makes the context current in SDL; making it current is a step
  // of its own for the caller.
  SDL_GL_MakeCurrent(dc->window->sdl, nullptr);
  auto* rc = new RenderContext;
  rc->gl = gl;
  return rc;
}

bool MakeCurrent(HDC dc, HGLRC rc) {
  if (dc == nullptr && rc == nullptr) {
    if (FaultInjected(FaultStep::ReleaseCurrent)) return false;
    return SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr) == 0;
  }
  if (dc == nullptr || rc == nullptr || FaultInjected(FaultStep::MakeCurrent)) return false;
  return SDL_GL_MakeCurrent(dc->window->sdl, rc->gl) == 0;
}

bool DeleteContext(HGLRC rc) {
  if (rc == nullptr || FaultInjected(FaultStep::DeleteContext)) return false;
  SDL_GL_DeleteContext(rc->gl);
  delete rc;
  return true;
}

bool SwapBuffers(HDC dc) {
  if (dc == nullptr) return false;
  SDL_GL_SwapWindow(dc->window->sdl);
  // An offscreen surface presents nothing, so the driver would happily queue
  // frame after frame unfinished; finishing here makes a frame cost what it
  // costs on a display.
  if (State().offscreen) glFinish();
  return true;
}

int ShowCursor(bool show) {
  LayerState& s = State();
  s.cursorCount += show ? 1 : -1;
  if (s.videoUp) SDL_ShowCursor(s.cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
  return s.cursorCount;
}

bool SetTimer(HWND window, uintptr_t id, uint32_t periodMs, TIMERPROC proc) {
  if (window == nullptr) return false;
  State().queue.SetTimer(window, id, periodMs, proc, TickUs());
  return true;
}

namespace {

HWND WindowOf(Uint32 sdlWindowId) {
  SDL_Window* sdl = SDL_GetWindowFromID(sdlWindowId);
  return sdl ? static_cast<HWND>(SDL_GetWindowData(sdl, "plat")) : nullptr;
}

void NoteWindowEvent(const SDL_WindowEvent& e) {
  HWND window = WindowOf(e.windowID);
  if (window == nullptr) return;
  switch (e.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
      window->exposed = true;
      window->lastChangeMs = TickMs();
      break;
    case SDL_WINDOWEVENT_MOVED:
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      window->lastChangeMs = TickMs();
      break;
    default:
      break;
  }
}

// Turns what the window system reports into the messages the program knows;
// everything else is consumed here, as the default handling would.
void PumpEvents() {
  LayerState& s = State();
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    if (e.type == SDL_QUIT) {
      if (WaylandConnectionLost()) LeaveOnLostDisplay(nullptr);
      // A quit request (the last window closed) closes the window, so the
      // run ends through WM_CLOSE with its result written.
      s.queue.Post(MSG{nullptr, WM_CLOSE, 0, 0, TickMs()});
    } else if (e.type == SDL_WINDOWEVENT) {
      NoteWindowEvent(e.window);
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
        s.queue.Post(MSG{WindowOf(e.window.windowID), WM_CLOSE, 0, 0, TickMs()});
      }
    }
  }
}

// The size a window really got is known only once the window manager has
// answered: shown, and no further move or resize for a moment.
void SettleAfterShow(Window& w) {
  if (State().offscreen) return;
  constexpr uint64_t kLimitMs = 2000;
  constexpr uint64_t kQuietMs = 250;
  const uint64_t start = TickMs();
  w.exposed = false;
  w.lastChangeMs = start;
  while (TickMs() - start < kLimitMs) {
    PumpEvents();
    if (w.exposed && TickMs() - w.lastChangeMs >= kQuietMs) return;
    SDL_Delay(5);
  }
}

}  // namespace

bool PeekMessage(MSG& msg) {
  if (const int signal = EndingSignal(); signal != 0) {
    msg = MSG{nullptr, WM_QUIT, static_cast<uintptr_t>(128 + signal), 0, TickMs()};
    return true;
  }
  LayerState& s = State();
  if (s.videoUp) PumpEvents();
  return s.queue.Peek(msg, TickUs());
}

void TranslateMessage(const MSG& /*msg*/) {}

intptr_t DispatchMessage(const MSG& msg) {
  if (msg.message == WM_TIMER && msg.lParam != 0) {
    auto proc = reinterpret_cast<TIMERPROC>(msg.lParam);
    proc(msg.hwnd, WM_TIMER, msg.wParam, static_cast<uint32_t>(msg.time));
    return 0;
  }
  WNDPROC proc = msg.hwnd ? msg.hwnd->wndProc : State().windowClass.wndProc;
  return proc ? proc(msg.hwnd, msg.message, msg.wParam, msg.lParam) : 0;
}

void PostQuitMessage(int exitCode) { State().queue.PostQuit(exitCode); }

intptr_t DefWindowProc(HWND window, uint32_t message, uintptr_t wParam, intptr_t /*lParam*/) {
  // The window menu's Close asks the window to close; it arrives as the
  // next message, handled between two frames like every other.
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0u) == SC_CLOSE) {
    State().queue.Post(MSG{window, WM_CLOSE, 0, 0, TickMs()});
  }
  return 0;
}

}  // namespace kovrin::platform
