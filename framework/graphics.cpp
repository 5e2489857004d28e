#include "graphics.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>
#include <string>

#include "bitmap_font.h"
#include "gl_setup.h"
#include "main_loop.h"
#include "settings_file.h"

uint32_t ListBase = 0;
plat::HWND hWnd = nullptr;
plat::HDC hDC = nullptr;
plat::HGLRC hRC = nullptr;

namespace {

void Fail(const char* text) {
  plat::MessageBox(text, WindowTitle, plat::MB_ICONEXCLAMATION);
}

// A failure after the window exists releases what stands, then tells.
bool FailAfterShutdown(const char* text) {
  Graphics_Shutdown();
  Fail(text);
  return false;
}

constexpr uint32_t kWindowedExStyle = plat::WS_EX_APPWINDOW | plat::WS_EX_WINDOWEDGE;
constexpr uint32_t kWindowedStyle = plat::WS_OVERLAPPEDWINDOW | plat::WS_CLIPSIBLINGS | plat::WS_CLIPCHILDREN;

// The question for a full screen the display cannot give. False (after the
// closing message) when the user declines the window.
bool AcceptWindowedMode() {
  const int answer = plat::MessageBox("Vollbildmodus wird nicht unterstützt!\nIm Fenstermodus starten?", WindowTitle,
                                      plat::MB_YESNO | plat::MB_ICONEXCLAMATION);
  if (answer == plat::IDYES) return true;
  plat::MessageBox("Programm wird auf Grund mehrer Fehler beendet!", WindowTitle, plat::MB_ICONERROR);
  return false;
}

plat::PixelFormatDescriptor RequestedFormat() {
  plat::PixelFormatDescriptor pfd;
  pfd.flags = plat::PFD_DRAW_TO_WINDOW | plat::PFD_SUPPORT_OPENGL | plat::PFD_DOUBLEBUFFER;
  pfd.pixelType = plat::PFD_TYPE_RGBA;
  // The colour depth also sizes the depth buffer: 16 asks for 16, 32 for 32.
  pfd.colorBits = static_cast<uint8_t>(Settings.BitDepth & 0xFF);
  pfd.depthBits = static_cast<uint8_t>(Settings.BitDepth & 0xFF);
  return pfd;
}

}  // namespace

bool Graphics_Init_CreateWindow() {
  const plat::WindowClass wc{plat::CS_HREDRAW | plat::CS_VREDRAW | plat::CS_OWNDC, WndProc, "OpenGL"};
  if (!plat::RegisterClass(wc)) {
    Fail("Register WinClass failed!");
    return false;
  }

  if (Settings.Fullscreen) {
    const plat::DisplayMode mode{Settings.ResX, Settings.ResY, Settings.BitDepth};
    if (plat::ChangeDisplaySettings(&mode) != plat::DISP_CHANGE_SUCCESSFUL) {
      if (!AcceptWindowedMode()) return false;
      Settings.Fullscreen = false;
    }
  }

  uint32_t exStyle = kWindowedExStyle;
  uint32_t style = kWindowedStyle;
  if (Settings.Fullscreen) {
    exStyle = plat::WS_EX_TOPMOST;
    style = plat::WS_POPUP | plat::WS_CLIPSIBLINGS | plat::WS_CLIPCHILDREN;
    plat::ShowCursor(true);
  }

  hWnd = plat::CreateWindowEx(exStyle, "OpenGL", WindowTitle, style, 0, 0, Settings.ResX, Settings.ResY);
  if (hWnd == nullptr) return FailAfterShutdown("Fehler beim Erstellen des OpenGL-Fensters!");

  hDC = plat::GetDC(hWnd);
  if (hDC == nullptr) return FailAfterShutdown("Fehler beim Erstellen des GL Device Contexts!");

  const plat::PixelFormatDescriptor pfd = RequestedFormat();
  const int format = plat::ChoosePixelFormat(hDC, pfd);
  if (format == 0) return FailAfterShutdown("Pixel Format wird nicht unterstützt!");
  if (!plat::SetPixelFormat(hDC, format, pfd)) return FailAfterShutdown("Fehler beim Laden des Pixel Formats!");

  hRC = plat::CreateContext(hDC);
  if (hRC == nullptr) return FailAfterShutdown("Fehler beim Erstellen des GL Rendering Contexts!");
  if (!plat::MakeCurrent(hDC, hRC)) return FailAfterShutdown("Fehler beim Aktivieren des GL Rendering Contexts!");

  plat::ShowWindow(hWnd);
  plat::SetForegroundWindow(hWnd);
  plat::SetFocus(hWnd);
  // A full screen that does not draw exactly the size asked (a compositor
  // that stretched the window to its own size) is no full screen at all.
  if (Settings.Fullscreen && !plat::FullScreenShown(hWnd)) {
    // Back to the desktop first: the question must not hide behind the window.
    plat::ChangeDisplaySettings(nullptr);
    if (!AcceptWindowedMode()) {
      Graphics_Shutdown();
      return false;
    }
    Settings.Fullscreen = false;
    plat::ShowCursor(false);  // the full screen's extra count goes with it
    if (!plat::SetWindowStyle(hWnd, kWindowedExStyle, kWindowedStyle)) {
      return FailAfterShutdown("Fehler beim Erstellen des OpenGL-Fensters!");
    }
    plat::ShowWindow(hWnd);
    plat::SetForegroundWindow(hWnd);
    plat::SetFocus(hWnd);
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
    plat::MessageBox("Fehler in Graphics_Init_CreateWindow", WindowTitle, plat::MB_ICONERROR);
    std::exit(0);
  }
  Graphics_Init_InitScene();
  ListBase = plat::FaultInjected(plat::FaultStep::GenLists) ? 0 : glGenLists(2);
  if (ListBase == 0) {
    plat::MessageBox("Fehler beim Erstellen der Display-Lists!", WindowTitle, plat::MB_ICONERROR);
    std::exit(0);
  }
  glPrint_Init();
  plat::ShowCursor(false);
  return 1;
}

void Graphics_Shutdown() {
  glPrint_Release();
  if (Settings.Fullscreen) {
    plat::ChangeDisplaySettings(nullptr);
    plat::ShowCursor(true);
  }
  if (hRC != nullptr) {
    if (!plat::MakeCurrent(nullptr, nullptr)) {
      plat::MessageBox("Unloading DC And RC Context Failes!", WindowTitle, plat::MB_ICONINFORMATION);
    }
    if (!plat::DeleteContext(hRC)) {
      plat::MessageBox("Rendering Context Unload Failed!", "SHUTDOWN ERROR", plat::MB_ICONINFORMATION);
    }
    hRC = nullptr;
  }
  if (hDC != nullptr) {
    if (!plat::ReleaseDC(hWnd, hDC)) {
      plat::MessageBox("Device Context Unload Failes!", "SHUTDOWN ERROR", plat::MB_ICONINFORMATION);
    }
    hDC = nullptr;
  }
  if (hWnd != nullptr) {
    if (!plat::DestroyWindow(hWnd)) {
      plat::MessageBox("Could not unload hWnd!", "SHUTDOWN ERROR", plat::MB_ICONINFORMATION);
    }
    hWnd = nullptr;
  }
  plat::ShowCursor(true);
  RunDone = true;
}
