// The launcher binary's own options: answered without a window or display.
#include <gtest/gtest.h>

#include <QProcess>

#include <string>

#include "launcher/cli/command_line.h"

namespace {

struct Case {
  QStringList args;
  int exitCode;
  std::string outStart;  // what standard output begins with
  std::string errPart;   // part of standard error
};

TEST(LauncherBinary, HelpVersionAndUnusableArguments) {
  const Case cases[] = {
      {{"--version"}, 0, kovrin::cli::VersionText(), ""},
      {{"--help"}, 0, "Usage: kovrin [--headless] [--json FILE] [--timeout SECONDS]\n", ""},
      {{"--timeout", "soon"}, 2, "", "kovrin: --timeout needs a whole number of seconds"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    QProcess kovrin;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    kovrin.setProcessEnvironment(environment);
    kovrin.start(QStringLiteral(KOVRIN_RUN_DIR "/kovrin"), c.args);
    ASSERT_TRUE(kovrin.waitForFinished(30000)) << kovrin.errorString().toStdString();
    const std::string out = kovrin.readAllStandardOutput().toStdString();
    const std::string err = kovrin.readAllStandardError().toStdString();
    EXPECT_EQ(kovrin.exitCode(), c.exitCode) << err;
    EXPECT_EQ(out.substr(0, c.outStart.size()), c.outStart);
    EXPECT_NE(err.find(c.errPart), std::string::npos) << err;
  }
}

}  // namespace
