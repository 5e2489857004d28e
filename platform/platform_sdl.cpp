// The window-system services of platform.h over SDL2.
#include <SDL.h>
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "message_queue.h"
#include "pixel_formats.h"
#include "platform.h"

namespace plat {

struct Window {
  SDL_Window* sdl = nullptr;
  std::string title;
  uint32_t style = 0;
  int width = 0;
  int height = 0;
  bool fullscreen = false;
  WNDPROC wndProc = nullptr;
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
  DisplayMode requestedMode;
  SDL_DisplayMode sdlMode{};
  std::vector<FormatCandidate> formats;
  Window* fullscreenWindow = nullptr;
};

LayerState& State() {
  static LayerState state;
  return state;
}

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

std::string ModeText(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }

void WriteDiagnostics(const Window& w) {
  if (!DiagEnabled()) return;
  LayerState& s = State();
  Diag("video_driver", SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "none");
  Diag("title", w.title);
  Diag("window", ModeText(w.width, w.height));
  Diag("fullscreen", w.fullscreen ? "yes" : "no");
  SDL_DisplayMode current{};
  const int display = SDL_GetWindowDisplayIndex(w.sdl);
  if (s.offscreen) {
    Diag("display_mode", w.fullscreen
                             ? ModeText(s.requestedMode.width, s.requestedMode.height) +
                                   " (offscreen display: any mode is accepted, nothing is shown)"
                             : "none (offscreen display)");
  } else if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &current) == 0) {
    std::string text = ModeText(current.w, current.h) + " " +
                       std::to_string(SDL_BITSPERPIXEL(current.format)) + " bpp " +
                       std::to_string(current.refresh_rate) + " Hz";
    if (w.fullscreen && (current.w != s.requestedMode.width || current.h != s.requestedMode.height)) {
      text += " (requested " + ModeText(s.requestedMode.width, s.requestedMode.height) + " not reached)";
    }
    Diag("display_mode", text);
  }
  GLint r = 0, g = 0, b = 0, a = 0, depth = 0;
  glGetIntegerv(GL_RED_BITS, &r);
  glGetIntegerv(GL_GREEN_BITS, &g);
  glGetIntegerv(GL_BLUE_BITS, &b);
  glGetIntegerv(GL_ALPHA_BITS, &a);
  glGetIntegerv(GL_DEPTH_BITS, &depth);
  Diag("color_bits", std::to_string(r + g + b + a) + " (R" + std::to_string(r) + " G" +
                         std::to_string(g) + " B" + std::to_string(b) + " A" + std::to_string(a) + ")");
  Diag("depth_bits", std::to_string(depth));
  const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  Diag("renderer", renderer ? renderer : "unknown");
  Diag("swap_interval", std::to_string(SDL_GL_GetSwapInterval()));
}

// A windowed run asks for an outer size; SDL sizes the client area, so the
// frame's share is taken off once the window manager has told its size.
void FitOuterSize(Window& w) {
  int top = 0, left = 0, bottom = 0, right = 0;
  if (SDL_GetWindowBordersSize(w.sdl, &top, &left, &bottom, &right) != 0) return;
  const int clientW = w.width - left - right;
  const int clientH = w.height - top - bottom;
  if (clientW > 0 && clientH > 0 && (left + right + top + bottom) > 0) {
    SDL_SetWindowSize(w.sdl, clientW, clientH);
  }
}

bool WindowSystemReachable() {
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (driver != nullptr && *driver != '\0') return true;
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x != nullptr && *x != '\0') || (wayland != nullptr && *wayland != '\0');
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
  std::fprintf(stderr, "[diag] %.*s: %.*s\n", static_cast<int>(key.size()), key.data(),
               static_cast<int>(value.size()), value.data());
  std::fflush(stderr);
}

bool FaultInjected(std::string_view step) {
  static const std::string faults = [] {
    const char* v = std::getenv("KOVRIN_FAULT");
    return v ? "," + std::string(v) + "," : std::string();
  }();
  return !faults.empty() && faults.find("," + std::string(step) + ",") != std::string::npos;
}

bool RegisterClass(const WindowClass& wc) {
  LayerState& s = State();
  if (FaultInjected("register_class")) return false;
  if (!s.videoUp) {
    // Without any display the programs still run, on SDL's offscreen driver.
    if (!WindowSystemReachable()) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    std::atexit(SDL_Quit);  // leaves any changed display mode behind us
    SDL_DisableScreenSaver();
    s.videoUp = true;
    const char* driver = SDL_GetCurrentVideoDriver();
    s.offscreen = driver != nullptr && std::strcmp(driver, "offscreen") == 0;
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
  if (!s.videoUp || FaultInjected("change_display")) return DISP_CHANGE_FAILED;
  s.requestedMode = *mode;
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

HWND CreateWindowEx(uint32_t /*exStyle*/, const std::string& className, const std::string& title,
                    uint32_t style, int /*x*/, int /*y*/, int width, int height) {
  LayerState& s = State();
  if (!s.videoUp || className != s.windowClass.className || FaultInjected("create_window")) {
    return nullptr;
  }
  if (width <= 0 || height <= 0) return nullptr;
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
  if (window == nullptr || FaultInjected("destroy_window")) return false;
  State().queue.KillTimers(window);
  if (State().fullscreenWindow == window) State().fullscreenWindow = nullptr;
  if (window->sdl != nullptr) SDL_DestroyWindow(window->sdl);
  delete window;
  return true;
}

void ShowWindow(HWND window) {
  if (window == nullptr) return;
  SDL_ShowWindow(window->sdl);
  if (!window->fullscreen) FitOuterSize(*window);
  WriteDiagnostics(*window);
}

void SetForegroundWindow(HWND window) {
  if (window != nullptr) SDL_RaiseWindow(window->sdl);
}

void SetFocus(HWND window) {
  if (window != nullptr) SDL_SetWindowInputFocus(window->sdl);
}

HDC GetDC(HWND window) {
  if (window == nullptr || FaultInjected("get_dc")) return nullptr;
  auto* dc = new DeviceContext;
  dc->window = window;
  return dc;
}

bool ReleaseDC(HWND window, HDC dc) {
  if (dc == nullptr || dc->window != window || FaultInjected("release_dc")) return false;
  delete dc;
  return true;
}

int ChoosePixelFormat(HDC dc, const PixelFormatDescriptor& pfd) {
  LayerState& s = State();
  if (dc == nullptr || FaultInjected("choose_format")) return 0;
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
      FaultInjected("set_format")) {
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
  if (dc == nullptr || dc->format == 0 || FaultInjected("create_context")) return nullptr;
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
    if (FaultInjected("release_current")) return false;
    return SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr) == 0;
  }
  if (dc == nullptr || rc == nullptr || FaultInjected("make_current")) return false;
  return SDL_GL_MakeCurrent(dc->window->sdl, rc->gl) == 0;
}

bool DeleteContext(HGLRC rc) {
  if (rc == nullptr || FaultInjected("delete_context")) return false;
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

// Turns what the window system reports into the messages the program knows;
// everything else is consumed here, as the default handling would.
void PumpEvents() {
  LayerState& s = State();
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    if (e.type == SDL_QUIT) {
      // A quit request (the last window closed, or SIGINT/SIGTERM) closes the
      // window, so the run ends through WM_CLOSE with its result written.
      s.queue.Post(MSG{nullptr, WM_CLOSE, 0, 0, TickMs()});
    } else if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE) {
      s.queue.Post(MSG{WindowOf(e.window.windowID), WM_CLOSE, 0, 0, TickMs()});
    }
  }
}

}  // namespace

bool PeekMessage(MSG& msg) {
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

}  // namespace plat
