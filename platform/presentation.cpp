#include "platform/presentation.h"

namespace kovrin::platform {

bool FullScreenAsAsked(const ShownWindow& w) {
  if (w.offscreen) return w.fullscreen;
  return w.fullscreen && w.coversScreen && w.drawable == w.asked;
}

Presentation PresentationOf(const ShownWindow& w) {
  if (w.offscreen) return Presentation::Offscreen;
  if (!w.fullscreen) return Presentation::Windowed;
  return w.displayMode == w.drawable ? Presentation::ModeChange : Presentation::CompositorScaled;
}

std::string_view PresentationName(Presentation p) {
  switch (p) {
    case Presentation::ModeChange:
      return "mode-change";
    case Presentation::CompositorScaled:
      return "compositor-scaled";
    case Presentation::Windowed:
      return "windowed";
    case Presentation::Offscreen:
      return "offscreen";
  }
  return "unknown";
}

std::string SizeText(Size size) { return std::to_string(size.width) + "x" + std::to_string(size.height); }

std::string DisplayModeWords(const std::string& mode, Size desktop, const ShownWindow& w) {
  switch (PresentationOf(w)) {
    case Presentation::Offscreen:
      return w.fullscreen ? SizeText(w.asked) + " (offscreen display: any mode is accepted, nothing is shown)"
                          : "none (offscreen display)";
    case Presentation::ModeChange:
      if (desktop == w.displayMode) return mode + ", the desktop's own mode";
      return mode + ", switched from the desktop's " + SizeText(desktop);
    case Presentation::CompositorScaled:
      return mode + ", drawn at " + SizeText(w.drawable) + " and scaled by the compositor";
    case Presentation::Windowed:
      break;
  }
  std::string words = mode + ", drawn in a window of " + SizeText(w.drawable);
  if (w.drawable == w.asked) return words;
  const bool smaller = w.drawable.width < w.asked.width || w.drawable.height < w.asked.height;
  return words + " (" + SizeText(w.asked) + " asked; the window manager made it " +
         (smaller ? "smaller)" : "another size)");
}

}  // namespace kovrin::platform
