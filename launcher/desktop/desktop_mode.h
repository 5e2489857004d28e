// The desktop's display mode, kept across a test program's run.
//
// A test program that switches the display and then dies (killed, crashed)
// never switches it back. The launcher notes the X screen's mode before each
// start and, once the program has ended, puts back what changed. No Qt here:
// the window and the command line share it, and tests drive it with a fake.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kovrin::desktop {

// One CRTC (a scan-out engine) as RandR describes it; mode 0 is off.
struct CrtcSetting {
  std::uint64_t crtc = 0;
  std::uint64_t mode = 0;
  int x = 0;
  int y = 0;
  unsigned rotation = 1;
  std::vector<std::uint64_t> outputs;
  unsigned width = 0;  // the mode's size, for the words only
  unsigned height = 0;
  friend bool operator==(const CrtcSetting&, const CrtcSetting&) = default;
};

struct ScreenMode {
  int width = 0;  // the X screen's size
  int height = 0;
  int widthMm = 0;
  int heightMm = 0;
  std::vector<CrtcSetting> crtcs;
  friend bool operator==(const ScreenMode&, const ScreenMode&) = default;
};

// The size the user sees: the first lit CRTC's mode, else the screen's, "1600x1200".
std::string Describe(const ScreenMode& mode);

class ModeSource {
 public:
  virtual ~ModeSource() = default;
  // The screen's mode now; nullopt without an X display or RandR 1.2.
  virtual std::optional<ScreenMode> Current() = 0;
  // Sets the screen back to `wanted`; false when the server refused.
  virtual bool Restore(const ScreenMode& wanted) = 0;
};

// The X screen of $DISPLAY through XRandR; each call opens its own connection.
std::unique_ptr<ModeSource> XrandrModeSource();

class DesktopModeKeeper {
 public:
  explicit DesktopModeKeeper(ModeSource& source) : source_(source) {}

  // Before a test program starts.
  void NoteBeforeStart();
  // After it has ended: when the mode differs from the noted one it is put
  // back, and the sentence says so (or that it could not be). Nothing to say
  // when the mode is as it was, or was never noted.
  std::optional<std::string> RestoreAfterEnd();

 private:
  ModeSource& source_;
  std::optional<ScreenMode> noted_;
};

}  // namespace kovrin::desktop
