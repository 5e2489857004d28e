// The launcher binary's own options: answered without a window or display.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "launcher/cli/command_line.h"
#include "tests/support/qt_scratch_folder.h"

namespace {

struct Case {
  QStringList args;
  int exitCode;
  std::string outStart;  // what standard output begins with
  std::string errPart;   // part of standard error
};

struct Output {
  int exitCode = -1;
  std::string out, err;
};

// The launcher with no display, so nothing but the command line can answer.
Output RunKovrin(const QStringList& args, const QString& dataHome = {}) {
  QProcess kovrin;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("DISPLAY"));
  environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
  if (!dataHome.isEmpty()) environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
  kovrin.setProcessEnvironment(environment);
  kovrin.start(QStringLiteral(KOVRIN_RUN_DIR "/kovrin"), args);
  Output output;
  if (!kovrin.waitForFinished(30000)) {
    output.err = "did not finish: " + kovrin.errorString().toStdString();
    return output;
  }
  output.exitCode = kovrin.exitCode();
  output.out = kovrin.readAllStandardOutput().toStdString();
  output.err = kovrin.readAllStandardError().toStdString();
  return output;
}

TEST(LauncherBinary, HelpVersionAndUnusableArguments) {
  const Case cases[] = {
      {{"--version"}, 0, kovrin::cli::VersionText(), ""},
      {{"--help"}, 0, "Usage: kovrin [--headless] [--json FILE] [--timeout SECONDS]\n", ""},
      {{"--timeout", "soon"}, 2, "", "kovrin: --timeout needs a whole number of seconds"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const Output run = RunKovrin(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_EQ(run.out.substr(0, c.outStart.size()), c.outStart);
    EXPECT_NE(run.err.find(c.errPart), std::string::npos) << run.err;
  }
}

// A result file of one Quillfire setting with two repeats at these exact rates.
std::string ResultJson(double first, double second) {
  const auto run = [](double exact) {
    return R"({"test": "Quillfire", "width": 640, "height": 480, "depth": 16, "fps": )" +
           std::to_string(static_cast<int>(exact)) + R"(, "exact": {"fps": )" + std::to_string(exact) +
           R"(}, "flags": []})";
  };
  return R"({"format": 3, "renderer": "llvmpipe", "system": {"driver": "Mesa 22.3.6", "kernel": "6.1.0"},)"
         R"( "runs": [)" +
         run(first) + ", " + run(second) + "]}";
}

// Through the binary as a user types it: the two newest saved results by
// name, the table on standard output, the comparison as JSON, and a file
// that is no result refused with its name and exit status 2.
TEST(LauncherBinary, CompareSavedResultsByNameAndAsJson) {
  const kovrin::test::QtScratchFolder home;
  ASSERT_TRUE(home.isValid());
  const std::filesystem::path root = home.Path();
  const std::filesystem::path results = root / "kovrin" / "results";
  std::filesystem::create_directories(results);
  kovrin::test::WriteFile(results / "older.json", ResultJson(20.0, 20.4));
  kovrin::test::WriteFile(results / "newer.json", ResultJson(40.0, 40.8));
  // "previous" and "last" go by the time a file was written, not its name.
  const auto now = std::filesystem::file_time_type::clock::now();
  std::filesystem::last_write_time(results / "older.json", now - std::chrono::hours(2));
  std::filesystem::last_write_time(results / "newer.json", now - std::chrono::hours(1));

  const std::filesystem::path json = root / "comparison.json";
  const Output compared =
      RunKovrin({"--compare", "previous", "last", "--json", QString::fromStdString(json.string())}, home.path());
  ASSERT_EQ(compared.exitCode, 0) << compared.err;
  EXPECT_NE(compared.out.find("older.json"), std::string::npos) << compared.out;
  EXPECT_NE(compared.out.find("faster"), std::string::npos) << compared.out;
  EXPECT_NE(compared.out.find("ratio 2.00"), std::string::npos) << compared.out;

  std::ifstream in(json, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const QJsonObject document = QJsonDocument::fromJson(QByteArray::fromStdString(bytes)).object();
  EXPECT_EQ(document.value("comparison").toInt(), 1) << bytes;
  EXPECT_DOUBLE_EQ(document.value("score_ratio").toDouble(), 2.0) << bytes;
  const QJsonArray settings = document.value("settings").toArray();
  ASSERT_EQ(settings.size(), 1) << bytes;
  const QJsonObject row = settings.at(0).toObject();
  EXPECT_EQ(row.value("verdict").toString().toStdString(), "faster") << bytes;
  EXPECT_DOUBLE_EQ(row.value("base").toObject().value("median").toDouble(), 20.2) << bytes;
  EXPECT_DOUBLE_EQ(row.value("new").toObject().value("median").toDouble(), 40.4) << bytes;
  EXPECT_EQ(row.value("new").toObject().value("runs").toInt(), 2) << bytes;

  kovrin::test::WriteFile(root / "notes.md", "# not a result\n");
  const Output refused =
      RunKovrin({"--compare", "last", QString::fromStdString((root / "notes.md").string())}, home.path());
  EXPECT_EQ(refused.exitCode, 2) << refused.out;
  EXPECT_NE(refused.err.find("notes.md"), std::string::npos) << refused.err;
  EXPECT_EQ(refused.out, "") << "nothing is compared when one side is unusable";
}

}  // namespace
