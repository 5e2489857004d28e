// How a shown window reaches the screen and how the diagnostics word it.
#include <gtest/gtest.h>

#include <string>

#include "platform/presentation.h"

namespace {

using kovrin::platform::Presentation;
using kovrin::platform::ShownWindow;
using kovrin::platform::Size;

ShownWindow Window(bool fullscreen, bool covers, Size drawable, Size display, Size asked = {640, 480}) {
  ShownWindow w;
  w.fullscreen = fullscreen;
  w.coversScreen = covers;
  w.asked = asked;
  w.drawable = drawable;
  w.displayMode = display;
  return w;
}

TEST(Presentation, DecidesFromWhatTheWindowSystemDid) {
  struct Case {
    const char* name;
    ShownWindow window;
    bool asAsked;
    Presentation presentation;
    std::string words;
  } const cases[] = {
      {"real mode change", Window(true, true, {640, 480}, {640, 480}), true, Presentation::ModeChange,
       "640x480 24 bpp 60 Hz, switched from the desktop's 1600x1200"},
      {"wayland mode emulation", Window(true, true, {640, 480}, {1920, 1080}), true, Presentation::CompositorScaled,
       "1920x1080 24 bpp 60 Hz, drawn at 640x480 and scaled by the compositor"},
      // XWayland: the mode was "changed", the compositor sized the window to its output.
      {"stretched by the compositor", Window(true, true, {1920, 1080}, {640, 480}), false,
       Presentation::CompositorScaled, "640x480 24 bpp 60 Hz, drawn at 1920x1080 and scaled by the compositor"},
      {"full screen not covering", Window(true, false, {640, 480}, {640, 480}), false, Presentation::ModeChange,
       "640x480 24 bpp 60 Hz, switched from the desktop's 1600x1200"},
      {"window", Window(false, false, {640, 480}, {1920, 1080}), false, Presentation::Windowed,
       "1920x1080 24 bpp 60 Hz, drawn in a window of 640x480"},
      {"window shrunk", Window(false, false, {1600, 1053}, {1920, 1080}, {1600, 1200}), false, Presentation::Windowed,
       "1920x1080 24 bpp 60 Hz, drawn in a window of 1600x1053 (1600x1200 asked; the window manager made it "
       "smaller)"},
  };
  const std::string modes[] = {"640x480 24 bpp 60 Hz", "1920x1080 24 bpp 60 Hz"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(kovrin::platform::FullScreenAsAsked(c.window), c.asAsked);
    EXPECT_EQ(kovrin::platform::PresentationOf(c.window), c.presentation);
    const std::string& mode = c.window.displayMode.width == 640 ? modes[0] : modes[1];
    EXPECT_EQ(kovrin::platform::DisplayModeWords(mode, {1600, 1200}, c.window), c.words);
    EXPECT_EQ(kovrin::platform::DisplayModeWords(mode, {1600, 1200}, c.window).find("not reached"), std::string::npos);
  }
}

TEST(Presentation, TheDesktopsOwnSizeIsNoSwitch) {
  const ShownWindow w = Window(true, true, {1600, 1200}, {1600, 1200}, {1600, 1200});
  EXPECT_EQ(kovrin::platform::DisplayModeWords("1600x1200 24 bpp 60 Hz", {1600, 1200}, w),
            "1600x1200 24 bpp 60 Hz, the desktop's own mode");
}

TEST(Presentation, OffscreenAcceptsAnyModeAndShowsNothing) {
  ShownWindow w = Window(true, true, {640, 480}, {640, 480});
  w.offscreen = true;
  EXPECT_TRUE(kovrin::platform::FullScreenAsAsked(w));
  EXPECT_EQ(kovrin::platform::PresentationName(kovrin::platform::PresentationOf(w)), "offscreen");
  EXPECT_EQ(kovrin::platform::DisplayModeWords("", {}, w),
            "640x480 (offscreen display: any mode is accepted, nothing is shown)");
  w.fullscreen = false;
  EXPECT_EQ(kovrin::platform::DisplayModeWords("", {}, w), "none (offscreen display)");
}

}  // namespace
