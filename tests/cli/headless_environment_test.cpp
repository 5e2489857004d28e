#include <gtest/gtest.h>

#include <QProcessEnvironment>

#include <string>
#include <utility>
#include <vector>

#include "launcher/cli/headless_run.h"

namespace {

using Variables = std::vector<std::pair<QString, QString>>;

struct Case {
  const char* what;
  Variables inherited;
  QString videoDriver;  // expected; empty: not set
  QString msgbox;
};

TEST(HeadlessEnvironment, DisplayMessageBoxesAndDiagnostics) {
  const Case cases[] = {
      {"no display", {}, "offscreen", "default"},
      {"an empty DISPLAY", {{"DISPLAY", ""}}, "offscreen", "default"},
      {"an X display", {{"DISPLAY", ":0"}}, "", "default"},
      {"a Wayland display", {{"WAYLAND_DISPLAY", "wayland-0"}}, "", "default"},
      {"the user's driver", {{"SDL_VIDEODRIVER", "kmsdrm"}}, "kmsdrm", "default"},
      {"the user's box answers", {{"KOVRIN_MSGBOX", "no"}}, "offscreen", "no"},
      {"diagnostics turned off", {{"KOVRIN_DIAG", "0"}}, "offscreen", "default"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QProcessEnvironment inherited;
    for (const auto& [name, value] : c.inherited) inherited.insert(name, value);
    const QProcessEnvironment environment = kovrin::cli::HeadlessEnvironment(inherited);
    EXPECT_EQ(environment.value(QStringLiteral("SDL_VIDEODRIVER")).toStdString(), c.videoDriver.toStdString());
    EXPECT_EQ(environment.value(QStringLiteral("KOVRIN_MSGBOX")).toStdString(), c.msgbox.toStdString());
    EXPECT_EQ(environment.value(QStringLiteral("KOVRIN_DIAG")).toStdString(), "1");
    EXPECT_EQ(environment.value(QStringLiteral("vblank_mode")).toStdString(), "0");
  }
}

}  // namespace
