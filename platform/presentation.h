// How a shown window reaches the screen, decided from what the window system
// reports; plain code, so every case can be tested without a display.
#pragma once

#include <string>
#include <string_view>

namespace kovrin::platform {

enum class Presentation {
  ModeChange,        // the display itself shows the drawable's size
  CompositorScaled,  // a buffer of the drawable's size, scaled to the screen by the compositor
  Windowed,          // a window on the desktop
  Offscreen,         // nothing is shown
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// A window after its first configure events were handled.
struct ShownWindow {
  bool offscreen = false;
  bool fullscreen = false;    // shown in full-screen state
  bool coversScreen = false;  // placed over the whole screen
  Size asked;                 // ResX x ResY
  Size drawable;              // the GL drawable's size
  Size displayMode;           // the mode the display is in now
};

// Full screen as the programs mean it: the window covers the screen and the
// program draws exactly the size it asked for. Anything less is refused like
// a mode the display cannot show.
bool FullScreenAsAsked(const ShownWindow& w);

Presentation PresentationOf(const ShownWindow& w);
// "mode-change", "compositor-scaled", "windowed" or "offscreen".
std::string_view PresentationName(Presentation p);

std::string SizeText(Size size);

// The display mode in plain words for the diagnostics, e.g. "1920x1080 24 bpp
// 60 Hz, drawn at 640x480 and scaled by the compositor". `mode` is the
// display's mode as "WxH B bpp R Hz", `desktop` the mode the desktop had.
std::string DisplayModeWords(const std::string& mode, Size desktop, const ShownWindow& w);

}  // namespace kovrin::platform
