// The launcher's keeper of the desktop's mode, against a fake X screen.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "launcher/desktop/desktop_mode.h"

namespace {

using kovrin::desktop::CrtcSetting;
using kovrin::desktop::DesktopModeKeeper;
using kovrin::desktop::ScreenMode;

ScreenMode Mode(unsigned width, unsigned height, std::uint64_t modeId) {
  ScreenMode mode;
  mode.width = 1600;
  mode.height = 1200;
  mode.widthMm = 423;
  mode.heightMm = 317;
  mode.crtcs = {CrtcSetting{63, modeId, 0, 0, 1, {65}, width, height}, CrtcSetting{64, 0, 0, 0, 1, {}, 0, 0}};
  return mode;
}

const ScreenMode kDesktop = Mode(1600, 1200, 70);
const ScreenMode kSmall = Mode(640, 480, 73);

// The screen as a test program leaves it: what Current() reads before the
// start, then after the end; Restore() is answered as told and recorded.
class FakeScreen final : public kovrin::desktop::ModeSource {
 public:
  std::vector<std::optional<ScreenMode>> reads;
  bool restoreWorks = true;
  std::vector<ScreenMode> restored;

  std::optional<ScreenMode> Current() override {
    if (next_ >= reads.size()) return reads.empty() ? std::nullopt : reads.back();
    return reads[next_++];
  }
  bool Restore(const ScreenMode& wanted) override {
    restored.push_back(wanted);
    return restoreWorks;
  }

 private:
  std::size_t next_ = 0;
};

TEST(DesktopModeKeeper, PutsBackOnlyAModeThatChanged) {
  struct Case {
    const char* name;
    std::optional<ScreenMode> before;
    std::optional<ScreenMode> after;
    bool restoreWorks;
    std::optional<std::string> said;
    bool restores;
  } const cases[] = {
      {"unchanged", kDesktop, kDesktop, true, std::nullopt, false},
      {"left small", kDesktop, kSmall, true,
       "the test program left the desktop at 640x480; it was put back to 1600x1200", true},
      {"refused", kDesktop, kSmall, false,
       "the test program left the desktop at 640x480 and it could not be put back to 1600x1200", true},
      {"no X display", std::nullopt, std::nullopt, true, std::nullopt, false},
      {"display gone after the run", kDesktop, std::nullopt, true, std::nullopt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeScreen screen;
    screen.reads = {c.before, c.after};
    screen.restoreWorks = c.restoreWorks;
    DesktopModeKeeper keeper(screen);
    keeper.NoteBeforeStart();
    EXPECT_EQ(keeper.RestoreAfterEnd(), c.said);
    ASSERT_EQ(screen.restored.size(), c.restores ? 1u : 0u);
    if (c.restores) {
      EXPECT_EQ(screen.restored[0], kDesktop) << "not the mode noted before the start";
    }
  }
}

TEST(DesktopModeKeeper, ANoteServesOneEndOnly) {
  FakeScreen screen;
  screen.reads = {kDesktop, kSmall, kSmall};
  DesktopModeKeeper keeper(screen);
  EXPECT_EQ(keeper.RestoreAfterEnd(), std::nullopt) << "nothing was noted yet";
  keeper.NoteBeforeStart();
  EXPECT_TRUE(keeper.RestoreAfterEnd().has_value());
  EXPECT_EQ(keeper.RestoreAfterEnd(), std::nullopt) << "a second end has no note to go back to";
  EXPECT_EQ(screen.restored.size(), 1u);
}

TEST(DesktopModeKeeper, DescribesTheFirstLitOutput) {
  ScreenMode mode = kSmall;
  EXPECT_EQ(kovrin::desktop::Describe(mode), "640x480");
  for (CrtcSetting& crtc : mode.crtcs) crtc.mode = 0;
  EXPECT_EQ(kovrin::desktop::Describe(mode), "1600x1200") << "all outputs off: the screen's own size";
}

}  // namespace
