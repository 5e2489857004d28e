#include "framework/graphics.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>
#include <string>

#include "framework/bitmap_font.h"
#include "framework/gl_setup.h"
#include "framework/main_loop.h"
#include "framework/settings_file.h"

uint32_t ListBase = 0;
kovrin::platform::HWND hWnd = nullptr;
kovrin::platform::HDC hDC = nullptr;
kovrin::platform::HGLRC hRC = nullptr;

namespace {

void Fail(const char* text) { kovrin::platform::MessageBox(text, WindowTitle, kovrin::platform::MB_ICONEXCLAMATION); }

// A failure after the window exists releases what stands, then tells.
bool FailAfterShutdown(const char* text) {
  Graphics_Shutdown();
  Fail(text);
  return false;
}

constexpr uint32_t kWindowedExStyle = kovrin::platform::WS_EX_APPWINDOW | kovrin::platform::WS_EX_WINDOWEDGE;
constexpr uint32_t kWindowedStyle =
    kovrin::platform::WS_OVERLAPPEDWINDOW | kovrin::platform::WS_CLIPSIBLINGS | kovrin::platform::WS_CLIPCHILDREN;

// The question for a full screen the display cannot give. False (after the
// closing message) when the user declines the window.
bool AcceptWindowedMode() {
  const int answer =
      kovrin::platform::MessageBox("Vollbildmodus wird nicht unterstützt!\nIm Fenstermodus starten?", WindowTitle,
                                   kovrin::platform::MB_YESNO | kovrin::platform::MB_ICONEXCLAMATION);
  if (answer == kovrin::platform::IDYES) return true;
  kovrin::platform::MessageBox("Programm wird auf Grund mehrer Fehler beendet!", WindowTitle,
                               kovrin::platform::MB_ICONERROR);
  return false;
}

kovrin::platform::PixelFormatDescriptor RequestedFormat() {
  kovrin::platform::PixelFormatDescriptor pfd;
  pfd.flags =
      kovrin::platform::PFD_DRAW_TO_WINDOW | kovrin::platform::PFD_SUPPORT_OPENGL | kovrin::platform::PFD_DOUBLEBUFFER;
  pfd.pixelType = kovrin::platform::PFD_TYPE_RGBA;
  // The colour depth also sizes the depth buffer: 16 asks for 16, 32 for 32.
  pfd.colorBits = static_cast<uint8_t>(Settings.BitDepth & 0xFF);
  pfd.depthBits = static_cast<uint8_t>(Settings.BitDepth & 0xFF);
  return pfd;
}

}  // namespace

bool Graphics_Init_CreateWindow() {
  const kovrin::platform::WindowClass wc{
      kovrin::platform::CS_HREDRAW | kovrin::platform::CS_VREDRAW | kovrin::platform::CS_OWNDC, WndProc, "OpenGL"};
  if (!kovrin::platform::RegisterClass(wc)) {
    Fail("Register WinClass failed!");
    return false;
  }

  if (Settings.Fullscreen) {
    const kovrin::platform::DisplayMode mode{Settings.ResX, Settings.ResY, Settings.BitDepth};
    if (kovrin::platform::ChangeDisplaySettings(&mode) != kovrin::platform::DISP_CHANGE_SUCCESSFUL) {
      if (!AcceptWindowedMode()) return false;
      Settings.Fullscreen = false;
    }
  }

  uint32_t exStyle = kWindowedExStyle;
  uint32_t style = kWindowedStyle;
  if (Settings.Fullscreen) {
    exStyle = kovrin::platform::WS_EX_TOPMOST;
    style = kovrin::platform::WS_POPUP | kovrin::platform::WS_CLIPSIBLINGS | kovrin::platform::WS_CLIPCHILDREN;
    kovrin::platform::ShowCursor(true);
  }

  hWnd = kovrin::platform::CreateWindowEx(exStyle, "OpenGL", WindowTitle, style, 0, 0, Settings.ResX, Settings.ResY);
  if (hWnd == nullptr) return FailAfterShutdown("Fehler beim Erstellen des OpenGL-Fensters!");

  hDC = kovrin::platform::GetDC(hWnd);
  if (hDC == nullptr) return FailAfterShutdown("Fehler beim Erstellen des GL Device Contexts!");

  const kovrin::platform::PixelFormatDescriptor pfd = RequestedFormat();
  const int format = kovrin::platform::ChoosePixelFormat(hDC, pfd);
  if (format == 0) return FailAfterShutdown("Pixel Format wird nicht unterstützt!");
  if (!kovrin::platform::SetPixelFormat(hDC, format, pfd))
    return FailAfterShutdown("Fehler beim Laden des Pixel Formats!");

  hRC = kovrin::platform::CreateContext(hDC);
  if (hRC == nullptr) return FailAfterShutdown("Fehler beim Erstellen des GL Rendering Contexts!");
  if (!kovrin::platform::MakeCurrent(hDC, hRC))
    return FailAfterShutdown("Fehler beim Aktivieren des GL Rendering Contexts!");

  kovrin::platform::ShowWindow(hWnd);
  kovrin::platform::SetForegroundWindow(hWnd);
  kovrin::platform::SetFocus(hWnd);
  // A full screen that does not draw exactly the size asked (a compositor
  // that stretched the window to its own size) is no full screen at all.
  if (Settings.Fullscreen && !kovrin::platform::FullScreenShown(hWnd)) {
    // Back to the desktop first: the question must not hide behind the window.
    kovrin::platform::ChangeDisplaySettings(nullptr);
    if (!AcceptWindowedMode()) {
      Graphics_Shutdown();
      return false;
    }
    Settings.Fullscreen = false;
    kovrin::platform::ShowCursor(false);  // the full screen's extra count goes with it
    if (!kovrin::platform::SetWindowStyle(hWnd, kWindowedExStyle, kWindowedStyle)) {
      return FailAfterShutdown("Fehler beim Erstellen des OpenGL-Fensters!");
    }
    kovrin::platform::ShowWindow(hWnd);
    kovrin::platform::SetForegroundWindow(hWnd);
    kovrin::platform::SetFocus(hWnd);
  }
  Graphics_Resize(Settings.ResX, Settings.ResY);
  return true;
}

void Graphics_Resize(int32_t width, int32_t height) {
  if (height == 0) height = 1;
  if (width == 0) width = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // The near plane at exactly 0 puts every fragment at depth 1.0: drawing
  // order alone decides what is seen, which is what the scenes measure.
  gluPerspective(45.0, static_cast<GLdouble>(width) / static_cast<GLdouble>(height), 0.0, 1000.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

int Graphics_Init() {
  if (!Graphics_Init_CreateWindow()) {
    kovrin::platform::MessageBox("Fehler in Graphics_Init_CreateWindow", WindowTitle, kovrin::platform::MB_ICONERROR);
    std::exit(0);
  }
  Graphics_Init_InitScene();
  ListBase = kovrin::platform::FaultInjected(kovrin::platform::FaultStep::GenLists) ? 0 : glGenLists(2);
  if (ListBase == 0) {
    kovrin::platform::MessageBox("Fehler beim Erstellen der Display-Lists!", WindowTitle,
                                 kovrin::platform::MB_ICONERROR);
    std::exit(0);
  }
  glPrint_Init();
  kovrin::platform::ShowCursor(false);
  return 1;
}

void Graphics_Shutdown() {
  glPrint_Release();
  if (Settings.Fullscreen) {
    kovrin::platform::ChangeDisplaySettings(nullptr);
    kovrin::platform::ShowCursor(true);
  }
  if (hRC != nullptr) {
    if (!kovrin::platform::MakeCurrent(nullptr, nullptr)) {
      kovrin::platform::MessageBox("Unloading DC And RC Context Failes!", WindowTitle,
                                   kovrin::platform::MB_ICONINFORMATION);
    }
    if (!kovrin::platform::DeleteContext(hRC)) {
      kovrin::platform::MessageBox("Rendering Context Unload Failed!", "SHUTDOWN ERROR",
                                   kovrin::platform::MB_ICONINFORMATION);
    }
    hRC = nullptr;
  }
  if (hDC != nullptr) {
    if (!kovrin::platform::ReleaseDC(hWnd, hDC)) {
      kovrin::platform::MessageBox("Device Context Unload Failes!", "SHUTDOWN ERROR",
                                   kovrin::platform::MB_ICONINFORMATION);
    }
    hDC = nullptr;
  }
  if (hWnd != nullptr) {
    if (!kovrin::platform::DestroyWindow(hWnd)) {
      kovrin::platform::MessageBox("Could not unload hWnd!", "SHUTDOWN ERROR", kovrin::platform::MB_ICONINFORMATION);
    }
    hWnd = nullptr;
  }
  kovrin::platform::ShowCursor(true);
  RunDone = true;
}
