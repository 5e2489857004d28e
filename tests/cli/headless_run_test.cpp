// The headless run in this process, against fake test programs: shell
// scripts in a scratch launcher folder that leave their result at once, or
// never, or leave one that is no number.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "launcher/cli/command_line.h"
#include "launcher/cli/compare.h"
#include "launcher/cli/headless_run.h"
#include "launcher/core/results_table.h"
#include "launcher/desktop/desktop_mode.h"
#include "launcher/submit/detail_lines.h"
#include "tests/support/scratch_folder.h"
#include "tests/sysinfo/fake_provider.h"

namespace {

namespace fs = std::filesystem;
using kovrin::test::ScratchFolder;
using kovrin::test::WriteFile;

// The score label takes the user's decimal separator: the test's is ".".
void EnsureApplication() {
  ::setenv("LC_ALL", "C.UTF-8", 1);
  static int argc = 1;
  static char name[] = "cli_headless_test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
}

// A fake that reports the mode from config.cfg as the real programs'
// diagnostics would, always with 24-bit colour, then its run's figures
// (the frame count names the setting: depth, then width), shows one
// unattended box and leaves `fps`.
std::string ReportingFake(int fps, const std::string& end = "ticks") {
  return "#!/bin/sh\n"
         "value() { sed -n \"s/^$1=\\([0-9]*\\);.*/\\1/p\" config.cfg; }\n"
         "echo \"[diag] window: $(value GL_RESX)x$(value GL_RESY)\" >&2\n"
         "echo \"[diag] fullscreen: yes\" >&2\n"
         "if [ \"$(value GL_RESX)\" = 1600 ]; then echo \"[diag] drawable: 1600x1080\" >&2; \n"
         "else echo \"[diag] drawable: $(value GL_RESX)x$(value GL_RESY)\" >&2; fi\n"
         "echo \"[diag] presentation: compositor-scaled\" >&2\n"
         "echo \"[diag] color_bits: 24 (R8 G8 B8 A0)\" >&2\n"
         "echo \"[diag] depth_bits: 24\" >&2\n"
         "echo \"[diag] renderer: Fake GL\" >&2\n"
         "echo \"[diag] swap_interval: 0\" >&2\n"
         "echo \"[diag] frames: $(value GL_BITDEPTH)$(value GL_RESX)\" >&2\n"
         "echo \"[diag] run_seconds: 8.000500\" >&2\n"
         "echo \"[diag] fps: " +
         std::to_string(fps) +
         ".25\" >&2\n"
         "echo \"[diag] frame_ms: p50 8.000 p90 9.000 p99 190.249 max 200.000\" >&2\n"
         "echo \"[diag] run_end: " +
         end +
         "\" >&2\n"
         "echo \"[diag] ticks: 3\" >&2\n"
         "echo \"[msgbox] caption: Fake | text: hello | buttons: OK | answer: OK\" >&2\n"
         "printf '" +
         std::to_string(fps) + "\\r\\n' > results.fps\n";
}

struct Outcome {
  int exitCode;
  std::string out;
  std::string err;
};

class HeadlessRunTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApplication(); }

  void Program(const char* name, const std::string& script) {
    WriteFile(folder() / name, script);
    fs::permissions(folder() / name, fs::perms::owner_all);
  }

  Outcome Run(int timeoutSeconds = 2, std::optional<std::string> json = std::nullopt,
              kovrin::desktop::ModeSource* screen = nullptr) {
    kovrin::cli::HeadlessSetup setup;
    setup.timeoutSeconds = timeoutSeconds;
    setup.jsonFile = std::move(json);
    setup.desktopModes = screen;
    return RunWith(setup);
  }

  // The system report comes from a fake: the machine's own would make the
  // tests depend on its devices.
  Outcome RunWith(kovrin::cli::HeadlessSetup setup) {
    setup.folder = folder();
    setup.systemProvider = [] {
      kovrin::sysinfo::testing::FakeAdapter adapter;
      adapter.identity = {"{1}", "Fake GL", "fake"};
      kovrin::sysinfo::DeviceDesc gl;
      gl.description = "Fake GL";
      gl.name = "OpenGL 4.6 Fake 1.2.3";
      adapter.devices = {gl};
      adapter.modes = {{1024, 768, 32, 60}};
      return std::make_unique<kovrin::sysinfo::testing::FakeProvider>(
          std::vector<kovrin::sysinfo::testing::FakeAdapter>{adapter});
    };
    std::ostringstream out, err;
    const int code = kovrin::cli::RunHeadless(setup, out, err);
    return {code, out.str(), err.str()};
  }

  const fs::path& folder() const { return temp.Path(); }

  ScratchFolder temp;
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A run gives up after the time-out, or as soon as its program has ended
// without a result, and says what it found.
TEST_F(HeadlessRunTest, ARunWithoutAResultFails) {
  struct Case {
    const char* quillfire;
    const char* message;
  } const cases[] = {
      {"exec sleep 30",
       "kovrin: Run 1/12 Quillfire 640x480x16: no result within 2 s; results.fps was not written; "
       "Quillfire was still running and has been stopped\n"},
      {"printf 'fast\\r\\n' > results.fps",
       "kovrin: Run 1/12 Quillfire 640x480x16: no result; results.fps cannot be read as a frame "
       "rate: \"fast\\r\\n\"; Quillfire ended with exit code 0\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.quillfire);
    Program("Quillfire", std::string("#!/bin/sh\n") + c.quillfire + "\n");
    Program("Lumavane", "#!/bin/sh\nexit 0\n");
    const Outcome outcome = Run(2);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(Contains(outcome.err, c.message)) << outcome.err;
  }
}

// A screen whose mode is the text of a file that the fake programs write, as
// a test program that switched the display and died would leave it.
class FileScreen final : public kovrin::desktop::ModeSource {
 public:
  explicit FileScreen(fs::path file) : file_(std::move(file)) {}
  std::optional<kovrin::desktop::ScreenMode> Current() override {
    std::ifstream in(file_);
    unsigned width = 0, height = 0;
    char x = 0;
    if (!(in >> width >> x >> height)) return std::nullopt;
    kovrin::desktop::ScreenMode mode;
    mode.width = 1600;
    mode.height = 1200;
    mode.crtcs = {kovrin::desktop::CrtcSetting{1, width * 10000 + height, 0, 0, 1, {2}, width, height}};
    return mode;
  }
  bool Restore(const kovrin::desktop::ScreenMode& wanted) override {
    WriteFile(file_, kovrin::desktop::Describe(wanted));
    ++restores;
    return true;
  }
  int restores = 0;

 private:
  fs::path file_;
};

// Each test program ends; the one that leaves the display switched is found
// at once, before the next run starts.
TEST_F(HeadlessRunTest, TheDesktopModeAProgramLeftIsPutBack) {
  const fs::path screenFile = folder() / "screen-mode";
  WriteFile(screenFile, "1600x1200");
  FileScreen screen(screenFile);
  // Run 3 (1024x768x16) switches the display and dies without a result.
  Program("Quillfire",
          "#!/bin/sh\n"
          "if grep -q '^GL_RESX=1024;' config.cfg; then echo 1024x768 > screen-mode; exit 1; fi\n"
          "printf '50\\r\\n' > results.fps\n");
  Program("Lumavane", "#!/bin/sh\nprintf '40\\r\\n' > results.fps\n");

  const Outcome outcome = Run(2, std::nullopt, &screen);
  EXPECT_EQ(outcome.exitCode, 1) << "run 3 leaves no result";
  EXPECT_TRUE(Contains(outcome.out,
                       "Run 3/12 Quillfire 1024x768x16: the test program left the desktop at 1024x768; "
                       "it was put back to 1600x1200\n"))
      << outcome.out;
  EXPECT_EQ(screen.restores, 1) << outcome.out;
  EXPECT_EQ(ReadText(screenFile), "1600x1200");
}

TEST_F(HeadlessRunTest, AMissingTestProgramStopsBeforeTheFirstRun) {
  Program("Quillfire", ReportingFake(100));
  const Outcome outcome = Run();
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_TRUE(Contains(outcome.err, (folder() / "Lumavane").string() + " is missing")) << outcome.err;
  EXPECT_EQ(outcome.out, "") << "a run started";
}

// The first run's lenient clear cannot delete the planted file, which is then
// taken as that run's result; the strict clean-up before the second run
// refuses to go on.
TEST_F(HeadlessRunTest, AStaleResultThatCannotBeDeletedStopsTheRun) {
  Program("Quillfire", "#!/bin/sh\nexit 0\n");
  Program("Lumavane", "#!/bin/sh\nexit 0\n");
  WriteFile(folder() / "results.fps", "500\r\n");
  fs::permissions(folder() / "results.fps", fs::perms::owner_write, fs::perm_options::remove);

  const Outcome outcome = Run();
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_TRUE(Contains(outcome.err,
                       "kovrin: Es ist ein bekannter Fehler aufgetreten!\n"
                       "Eine Datei konnte nicht gel\xC3\xB6scht werden\n"
                       "Um Cheat-Sicherheit zu gew\xC3\xA4hren wird abgebrochen.\n"))
      << outcome.err;
  EXPECT_FALSE(Contains(outcome.out, "Run 2/12")) << outcome.out;
  EXPECT_FALSE(fs::exists(folder() / "config.cfg")) << "config.cfg is deleted before the refusal";
  EXPECT_TRUE(fs::exists(folder() / "results.fps"));
}

TEST_F(HeadlessRunTest, AFullRunPrintsTheDetailsAndWritesTheJson) {
  Program("Quillfire", ReportingFake(120));
  Program("Lumavane", ReportingFake(61));
  const fs::path jsonFile = folder() / "result.json";

  const Outcome outcome = Run(30, jsonFile.string());
  ASSERT_EQ(outcome.exitCode, 0) << outcome.err;

  // The report: the details of the window's details list, then the score.
  kovrin::launcher::ResultsTable table;
  for (const kovrin::launcher::BenchRun& run : kovrin::launcher::kFullBenchmark) {
    table.*run.field = run.test == kovrin::launcher::TestProgram::Quillfire ? 120 : 61;
  }
  std::string report;
  for (const std::string& line : kovrin::submit::DetailLines(true, "90.5 fps", table)) report += line + "\n";
  report += "Score: 90.5 fps\n";
  report += "Exact mean: 90.75 fps\n";
  report +=
      "Flagged: 8 of 12 runs: size 4 (window or drawable not the size asked for), "
      "colour-bits 6 (colour bits other than the depth asked for)\n";
  ASSERT_GE(outcome.out.size(), report.size());
  EXPECT_EQ(outcome.out.substr(outcome.out.size() - report.size()), report) << outcome.out;
  // Each run's exact rate beside its result, its flags after it.
  EXPECT_TRUE(Contains(outcome.out,
                       "Run 12/12 Lumavane 1600x1200x32: 61 fps (61.25 exact, p99 frame 190.2 ms)\n"
                       "Run 12/12 Lumavane 1600x1200x32: flagged size: 1600x1200 asked for, "
                       "drawable 1600x1080\n\n"))
      << outcome.out;
  EXPECT_TRUE(Contains(outcome.out,
                       "Run 11/12 Lumavane 1600x1200x16: 61 fps (61.25 exact, p99 frame 190.2 ms)\n"
                       "Run 11/12 Lumavane 1600x1200x16: flagged size: 1600x1200 asked for, "
                       "drawable 1600x1080\n"
                       "Run 11/12 Lumavane 1600x1200x16: flagged colour-bits: 16 bits per pixel "
                       "asked for, drawn with 24-bit colour\n"))
      << outcome.out;
  // The programs' own lines pass through; the diagnostics asked for do not.
  EXPECT_TRUE(Contains(outcome.err, "[msgbox] caption: Fake | text: hello")) << outcome.err;
  EXPECT_FALSE(Contains(outcome.err, "[diag]")) << outcome.err;
  EXPECT_FALSE(fs::exists(folder() / "results.fps")) << "the hand-off files stay after the end";

  std::ifstream in(jsonFile, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  QJsonParseError parseError{};
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(bytes), &parseError);
  ASSERT_TRUE(document.isObject()) << parseError.errorString().toStdString() << "\n" << bytes;
  const QJsonObject root = document.object();
  EXPECT_EQ(root.value("format").toInt(), 3);
  EXPECT_EQ(root.value("version").toString().toStdString(), kovrin::cli::VersionNumber());
  const QDateTime date = QDateTime::fromString(root.value("date").toString(), Qt::ISODate);
  EXPECT_TRUE(date.isValid() && date.timeSpec() == Qt::UTC) << root.value("date").toString().toStdString();
  EXPECT_EQ(root.value("renderer").toString().toStdString(), "Fake GL");
  const QJsonObject score = root.value("score").toObject();
  EXPECT_TRUE(score.value("result").isDouble());
  EXPECT_EQ(score.value("result").toInt(), 90) << "90.5 rounds to the even 90";
  EXPECT_EQ(score.value("label").toString().toStdString(), "90.5 fps");

  const QJsonArray runs = root.value("runs").toArray();
  ASSERT_EQ(runs.size(), 12);
  for (qsizetype i = 0; i < runs.size(); ++i) {
    const kovrin::launcher::BenchRun& expected = kovrin::launcher::kFullBenchmark[static_cast<std::size_t>(i)];
    const int width = kovrin::launcher::ResolutionWidth(expected.resIndex);
    const int height = kovrin::launcher::ResolutionHeight(expected.resIndex);
    const int depth = kovrin::launcher::DepthBits(expected.depthIndex);
    SCOPED_TRACE("run " + std::to_string(i + 1));
    const QJsonObject run = runs.at(i).toObject();
    EXPECT_EQ(run.value("test").toString().toStdString(), kovrin::launcher::ProgramName(expected.test));
    EXPECT_EQ(run.value("width").toInt(), width);
    EXPECT_EQ(run.value("height").toInt(), height);
    EXPECT_EQ(run.value("depth").toInt(), depth);
    EXPECT_EQ(run.value("fps").toInt(), table.*expected.field);
    const QJsonObject mode = run.value("mode").toObject();
    EXPECT_EQ(mode.value("window").toString().toStdString(), std::to_string(width) + "x" + std::to_string(height));
    EXPECT_EQ(mode.value("color_bits").toInt(-1), 24);
    EXPECT_EQ(mode.value("fullscreen"), QJsonValue(true));
    // The size drawn is the program's word, not the size asked.
    EXPECT_EQ(mode.value("drawable").toString().toStdString(),
              width == 1600 ? "1600x1080" : std::to_string(width) + "x" + std::to_string(height));
    EXPECT_EQ(mode.value("presentation").toString().toStdString(), "compositor-scaled");
    EXPECT_EQ(mode.value("depth_bits").toInt(-1), 24);
    EXPECT_EQ(mode.value("swap_interval").toInt(-1), 0);
    EXPECT_EQ(mode.value("renderer").toString().toStdString(), "Fake GL");
    // Not reported by the fake: present, and null.
    EXPECT_TRUE(mode.contains("display_mode") && mode.value("display_mode").isNull());
    EXPECT_TRUE(mode.contains("video_driver") && mode.value("video_driver").isNull());

    const QJsonObject exact = run.value("exact").toObject();
    EXPECT_EQ(exact.value("frames").toInteger(-1), std::stoll(std::to_string(depth) + std::to_string(width)))
        << "another run's figures";
    EXPECT_EQ(exact.value("seconds").toDouble(), 8.0005);
    EXPECT_EQ(exact.value("fps").toDouble(), table.*expected.field + 0.25);
    const QJsonObject frameMs = exact.value("frame_ms").toObject();
    EXPECT_EQ(frameMs.value("p50").toDouble(), 8.0);
    EXPECT_EQ(frameMs.value("p90").toDouble(), 9.0);
    EXPECT_EQ(frameMs.value("p99").toDouble(), 190.249);
    EXPECT_EQ(frameMs.value("max").toDouble(), 200.0);
    EXPECT_EQ(exact.value("end").toString().toStdString(), "ticks");
    // The fake draws the 1600-wide runs short and every run in 24-bit colour.
    QJsonArray expectedFlags;
    if (width == 1600) expectedFlags.append(QStringLiteral("size"));
    if (depth == 16) expectedFlags.append(QStringLiteral("colour-bits"));
    EXPECT_TRUE(run.contains("flags"));
    EXPECT_EQ(run.value("flags").toArray(), expectedFlags);
  }
}

// A stand-in for a program whose window was closed before its eighth tick:
// reported, and flagged where it is reported.
TEST_F(HeadlessRunTest, ARunClosedEarlyIsFlaggedCutShort) {
  Program("Quillfire", ReportingFake(120, "closed"));
  Program("Lumavane", ReportingFake(61));
  const fs::path jsonFile = folder() / "result.json";
  const Outcome outcome = Run(30, jsonFile.string());
  ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_TRUE(Contains(outcome.out,
                       "Run 2/12 Quillfire 640x480x32: 120 fps (120.25 exact, p99 frame 190.2 ms)\n"
                       "Run 2/12 Quillfire 640x480x32: flagged cut-short: closed after 3 of 8 ticks\n"))
      << outcome.out;
  EXPECT_TRUE(Contains(outcome.out,
                       "\nFlagged: 10 of 12 runs: cut-short 6 (closed before the eighth tick), "
                       "size 4 (window or drawable not the size asked for), "
                       "colour-bits 6 (colour bits other than the depth asked for)\n"))
      << outcome.out;

  std::ifstream in(jsonFile, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const QJsonArray runs = QJsonDocument::fromJson(QByteArray::fromStdString(bytes)).object().value("runs").toArray();
  ASSERT_EQ(runs.size(), 12) << bytes;
  EXPECT_EQ(runs.at(0).toObject().value("flags").toArray(),
            (QJsonArray{QStringLiteral("cut-short"), QStringLiteral("colour-bits")}));
  EXPECT_EQ(runs.at(0).toObject().value("exact").toObject().value("end").toString(), QStringLiteral("closed"));
  EXPECT_EQ(runs.at(11).toObject().value("flags").toArray(), QJsonArray{QStringLiteral("size")});
}

// A program that prints no figures (an older build, or one that failed before
// its run): its run is reported as before, its JSON figures are null.
TEST_F(HeadlessRunTest, ARunWithoutFiguresKeepsItsLineAndHasNullFigures) {
  Program("Quillfire", "#!/bin/sh\nprintf '7\\r\\n' > results.fps\n");
  Program("Lumavane", "#!/bin/sh\nprintf '9\\r\\n' > results.fps\n");
  const fs::path jsonFile = folder() / "result.json";
  const Outcome outcome = Run(30, jsonFile.string());
  ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_TRUE(Contains(outcome.out, "Run 1/12 Quillfire 640x480x16: 7 fps\n")) << outcome.out;
  EXPECT_TRUE(Contains(outcome.out, "\nExact mean: not reported\nFlagged: none of 12 runs\n")) << outcome.out;

  std::ifstream in(jsonFile, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const QJsonObject run =
      QJsonDocument::fromJson(QByteArray::fromStdString(bytes)).object().value("runs")[0].toObject();
  const QJsonObject exact = run.value("exact").toObject();
  for (const char* key : {"frames", "seconds", "fps", "end"}) {
    EXPECT_TRUE(exact.contains(key) && exact.value(key).isNull()) << key << "\n" << bytes;
  }
  const QJsonObject frameMs = exact.value("frame_ms").toObject();
  for (const char* key : {"p50", "p90", "p99", "max"}) {
    EXPECT_TRUE(frameMs.contains(key) && frameMs.value(key).isNull()) << key << "\n" << bytes;
  }
  EXPECT_TRUE(run.value("flags").isArray() && run.value("flags").toArray().isEmpty());
}

// Two repeats of a matrix other than the default: four runs in the default
// order, each setting's median and range, the CSV and JSON read back, and the
// file compared with itself and with a copy of doubled rates.
TEST_F(HeadlessRunTest, RepeatedRunsOfAnotherMatrixAreSummarisedAndCompared) {
  Program("Quillfire", ReportingFake(30));
  Program("Lumavane", ReportingFake(61));
  kovrin::cli::HeadlessSetup setup;
  setup.timeoutSeconds = 30;
  setup.repeat = 2;
  setup.matrix = {{kovrin::launcher::TestProgram::Quillfire}, {{1920, 1080}, {640, 480}}, {16}};
  const fs::path json = folder() / "a.json", csv = folder() / "a.csv";
  setup.jsonFile = json.string();
  setup.csvFile = csv.string();
  const Outcome outcome = RunWith(setup);
  ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_TRUE(Contains(outcome.out, "Run 1/4 (1/2) Quillfire 640x480x16: started\n")) << outcome.out;
  EXPECT_TRUE(Contains(outcome.out, "Run 4/4 (2/2) Quillfire 1920x1080x16: started, about ")) << outcome.out;
  EXPECT_TRUE(Contains(outcome.out, "Quillfire 1920x1080x16: 30 fps, exact 30.25 (30.25 to 30.25, spread 0.0 %)\n"))
      << outcome.out;
  EXPECT_TRUE(Contains(outcome.out, "Score: 30 fps (not comparable with the default")) << outcome.out;

  const std::string rows = ReadText(csv);
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < rows.size();) {
    const std::size_t end = rows.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << rows;
    lines.push_back(rows.substr(at, end - at));
    at = end + 2;
  }
  ASSERT_EQ(lines.size(), 5u) << rows;
  EXPECT_TRUE(lines[0].starts_with("run,test,width,height,depth,repeat,fps,")) << lines[0];
  EXPECT_TRUE(lines[2].starts_with("2,Quillfire,640,480,16,2,30,true,640x480,")) << lines[2];
  EXPECT_TRUE(lines[4].ends_with(",ticks,colour-bits")) << lines[4];

  const QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(ReadText(json))).object();
  EXPECT_EQ(root.value("repeat").toInt(), 2);
  EXPECT_EQ(root.value("runs").toArray().size(), 4);
  const QJsonArray settings = root.value("settings").toArray();
  ASSERT_EQ(settings.size(), 2);
  EXPECT_EQ(settings.at(1).toObject().value("width").toInt(), 1920);
  EXPECT_EQ(settings.at(0).toObject().value("exact").toObject().value("median").toDouble(), 30.25);
  EXPECT_FALSE(root.value("score").toObject().value("comparable").toBool(true));
  const QJsonObject system = root.value("system").toObject();
  EXPECT_EQ(system.value("driver").toString().toStdString(), "4.6 Fake 1.2.3");
  EXPECT_EQ(system.value("adapters").toArray().at(0).toObject().value("modes").toArray().size(), 1);

  std::ostringstream out, err;
  EXPECT_EQ(kovrin::cli::RunCompare(json.string(), json.string(), std::nullopt, folder(), out, err), 0) << err.str();
  EXPECT_TRUE(Contains(out.str(), "Score: 30.0 fps (BASE), 30.0 fps (NEW), ratio 1.00\n")) << out.str();
  EXPECT_FALSE(Contains(out.str(), "faster") || Contains(out.str(), "slower")) << out.str();

  QJsonObject doubled = root;
  QJsonArray runs = doubled.value("runs").toArray();
  for (qsizetype i = 0; i < runs.size(); ++i) {
    QJsonObject run = runs.at(i).toObject();
    QJsonObject exact = run.value("exact").toObject();
    exact.insert("fps", exact.value("fps").toDouble() * 2);
    run.insert("exact", exact);
    runs.replace(i, run);
  }
  doubled.insert("runs", runs);
  WriteFile(folder() / "b.json", QJsonDocument(doubled).toJson().toStdString());
  std::ostringstream out2, err2;
  EXPECT_EQ(kovrin::cli::RunCompare(json.string(), (folder() / "b.json").string(), std::nullopt, folder(), out2, err2),
            0);
  EXPECT_TRUE(Contains(out2.str(), "2.00  faster\n")) << out2.str();
  EXPECT_TRUE(Contains(out2.str(), "Exact mean: 30.25 fps (BASE), 60.50 fps (NEW), ratio 2.00")) << out2.str();

  WriteFile(folder() / "notes.md", "# not a result\n");
  std::ostringstream out3, err3;
  EXPECT_EQ(
      kovrin::cli::RunCompare(json.string(), (folder() / "notes.md").string(), std::nullopt, folder(), out3, err3), 2);
  EXPECT_TRUE(Contains(err3.str(), (folder() / "notes.md").string() + " is not a kovrin result file")) << err3.str();
  WriteFile(folder() / "old.json", "{\"format\": 9, \"runs\": []}");
  std::ostringstream out4, err4;
  EXPECT_EQ(
      kovrin::cli::RunCompare((folder() / "old.json").string(), json.string(), std::nullopt, folder(), out4, err4), 2);
  EXPECT_TRUE(Contains(err4.str(), "has result format 9")) << err4.str();
}

}  // namespace
