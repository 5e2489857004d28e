#include "launcher/desktop/desktop_mode.h"

#include <utility>

namespace kovrin::desktop {

std::string Describe(const ScreenMode& mode) {
  for (const CrtcSetting& crtc : mode.crtcs) {
    if (crtc.mode != 0) return std::to_string(crtc.width) + "x" + std::to_string(crtc.height);
  }
  return std::to_string(mode.width) + "x" + std::to_string(mode.height);
}

void DesktopModeKeeper::NoteBeforeStart() { noted_ = source_.Current(); }

std::optional<std::string> DesktopModeKeeper::RestoreAfterEnd() {
  const std::optional<ScreenMode> noted = std::exchange(noted_, std::nullopt);
  if (!noted) return std::nullopt;
  const std::optional<ScreenMode> now = source_.Current();
  if (!now || *now == *noted) return std::nullopt;
  const std::string left = "the test program left the desktop at " + Describe(*now);
  if (!source_.Restore(*noted)) return left + " and it could not be put back to " + Describe(*noted);
  return left + "; it was put back to " + Describe(*noted);
}

}  // namespace kovrin::desktop
