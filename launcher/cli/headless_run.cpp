#include "launcher/cli/headless_run.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTimer>

#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string_view>

#include "launcher/cli/bench_result.h"
#include "launcher/cli/line_reader.h"
#include "launcher/cli/result_csv.h"
#include "launcher/cli/result_json.h"
#include "launcher/cli/result_upload.h"
#include "launcher/cli/results_folder.h"
#include "launcher/cli/run_mode.h"
#include "launcher/cli/run_report.h"
#include "launcher/cli/termination_signals.h"
#include "launcher/core/bench_sequence.h"
#include "launcher/core/config_file.h"
#include "launcher/core/folder_lock.h"
#include "launcher/core/handoff_folder.h"
#include "launcher/core/launcher_text.h"
#include "launcher/core/result_rule.h"
#include "launcher/core/results_table.h"
#include "launcher/desktop/desktop_mode.h"
#include "launcher/process/program_starter.h"
#include "launcher/process/user_locale.h"
#include "launcher/submit/detail_lines.h"
#include "launcher/sysinfo/sysinfo_provider.h"

using kovrin::process::BenchmarkEnvironment;
using kovrin::process::EndProgram;
using kovrin::process::PrepareTestProgram;
using kovrin::process::UserDecimalSeparator;

namespace kovrin::cli {
namespace {

bool IsSet(const QProcessEnvironment& environment, const char* name) {
  return !environment.value(QString::fromLatin1(name)).isEmpty();
}

// A result file's first bytes as they can be shown on one line.
std::string Shown(const std::string& bytes) {
  constexpr std::size_t kShown = 40;
  std::string shown;
  for (const char c : bytes.substr(0, kShown)) {
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      shown += '?';
    } else {
      shown += c;
    }
  }
  return bytes.size() > kShown ? shown + "..." : shown;
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// "Quillfire 640x480x16: 16 fps, exact 16.25 (16.20 to 16.30, spread 0.6 %)"
std::string SettingLine(const Setting& setting, const SettingSummary& summary) {
  std::string line = SettingName(setting) + ": " + std::to_string(summary.fps) + " fps";
  if (!summary.exact) return line + ", exact rate not reported";
  const RateRange& exact = *summary.exact;
  line += ", exact " + Fixed(exact.median, 2) + " (" + Fixed(exact.min, 2) + " to " + Fixed(exact.max, 2) +
          ", spread " + Fixed(exact.spread * 100, 1) + " %)";
  return exact.unstable ? line + " unstable" : line;
}

class HeadlessRun final : private kovrin::launcher::LauncherEffects {
 public:
  HeadlessRun(const HeadlessSetup& setup, std::ostream& out, std::ostream& err)
      : setup_(setup),
        out_(out),
        err_(err),
        disk_(setup.folder),
        decimalSeparator_(UserDecimalSeparator()),
        sequence_(disk_, *this, table_, decimalSeparator_),
        environment_(HeadlessEnvironment(setup.environment)),
        forwardDiag_(setup.environment.value(QStringLiteral("KOVRIN_DIAG")) == QLatin1String("1")),
        ownModes_(setup.desktopModes ? nullptr : kovrin::desktop::XrandrModeSource()),
        desktopMode_(setup.desktopModes ? *setup.desktopModes : *ownModes_) {
    result_.matrix = Ordered(setup.matrix);
    result_.repeat = setup.repeat;
    result_.settings = Settings(result_.matrix);
    order_ = RunOrder(result_.settings.size(), setup.repeat);
  }

  int Run();

 private:
  // LauncherEffects: the sequence is asked only for its clean-ups; the runs
  // of the plan are started here, so it never starts a program itself.
  std::string ResultLabel() const override { return label_; }
  void SetResultLabel(const std::string& text) override { label_ = text; }
  bool StartProgram(const kovrin::launcher::BenchRun&) override { return false; }
  void ShowCriticalMessage(const std::string& text) override;
  void EndLauncher(int exitCode) override;

  void Tick();
  void StartNext();
  bool StartChild(std::size_t index);
  bool Collect(std::size_t index);
  bool ChildRunning() const { return child_ && child_->state() != QProcess::NotRunning; }
  bool ChildEnded() const { return child_ && !ChildRunning(); }
  const Setting& SettingOf(std::size_t index) const { return result_.settings[order_[index].setting]; }
  std::string RunName(std::size_t index) const;
  std::string ProgramPath(kovrin::launcher::TestProgram test) const;
  std::string NoResultMessage(std::size_t run, bool timedOut);
  std::string ChildFate();
  void EndChild();
  void Interrupted(int signal);
  void ReadChildOutput(bool ended);
  void PutDesktopBack();
  void TakeChildLine(std::string_view line);
  void Succeed();
  void PrintReport();
  bool WriteFiles();
  bool WriteFile(const std::string& name, const QByteArray& bytes);
  void Fail(const std::string& message);
  void Finish(int exitCode);

  const HeadlessSetup& setup_;
  std::ostream& out_;
  std::ostream& err_;
  kovrin::launcher::DiskFolder disk_;
  kovrin::launcher::ResultsTable table_;
  std::string decimalSeparator_;
  kovrin::launcher::BenchSequence sequence_;
  std::string label_;
  QProcessEnvironment environment_;
  bool forwardDiag_;
  std::unique_ptr<kovrin::desktop::ModeSource> ownModes_;
  kovrin::desktop::DesktopModeKeeper desktopMode_;

  BenchResult result_;
  std::vector<PlannedRun> order_;
  // The next run of the plan to start, and the one whose result is awaited.
  std::size_t next_ = 0;
  std::optional<std::size_t> waiting_;
  QElapsedTimer runClock_;
  std::vector<double> runSeconds_;

  std::unique_ptr<QProcess> child_;
  std::size_t childRun_ = 0;
  RunMode childMode_;
  LineReader childOutput_;
  QDeadlineTimer deadline_;
  std::optional<std::string> startFailure_;

  QTimer timer_;
  QEventLoop loop_;
  bool done_ = false;
  int exitCode_ = 0;
};

int HeadlessRun::Run() {
  // Before anything in the folder is touched, the missing-program check included.
  const kovrin::launcher::FolderLock lock(setup_.folder);
  if (!lock.Held()) {
    err_ << "kovrin: " << lock.Problem() << std::endl;
    return 1;
  }
  for (const kovrin::launcher::TestProgram test : result_.matrix.tests) {
    const QFileInfo program(QString::fromStdString(ProgramPath(test)));
    if (!program.isFile() || !program.isExecutable()) {
      err_ << "kovrin: the test program " << program.filePath().toStdString() << " is missing or not executable\n";
      return 1;
    }
  }
  const TerminationSignals watch([this](int signal) { Interrupted(signal); });
  QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
  timer_.start(setup_.tickMs);
  loop_.exec();
  return exitCode_;
}

// "Run 3/12 Quillfire 1024x768x16", with "(2/3)" after the numbers when each
// setting is repeated.
std::string HeadlessRun::RunName(std::size_t index) const {
  std::string name = "Run " + std::to_string(index + 1) + "/" + std::to_string(order_.size()) + " ";
  if (setup_.repeat > 1) {
    name += "(" + std::to_string(order_[index].repeat) + "/" + std::to_string(setup_.repeat) + ") ";
  }
  return name + SettingName(SettingOf(index));
}

std::string HeadlessRun::ProgramPath(kovrin::launcher::TestProgram test) const {
  return (setup_.folder / kovrin::launcher::ProgramName(test)).string();
}

void HeadlessRun::Tick() {
  if (done_) return;
  if (waiting_ && deadline_.hasExpired()) return Fail(NoResultMessage(*waiting_, true));
  // A program that has ended writes nothing more: the collect below is the
  // last look for its result. Its end was seen before the look, so a result
  // written just before the end is not missed.
  const bool endedBeforeCollect = waiting_ && ChildEnded();
  if (!waiting_ && ChildRunning()) {
    // The result is in; the next run waits until its program has ended.
    if (deadline_.hasExpired()) {
      return Fail(RunName(childRun_) + ": the test program left its result but did not end within " +
                  std::to_string(setup_.timeoutSeconds) + " s; " + ChildFate());
    }
    return;
  }
  if (waiting_) {
    if (!Collect(*waiting_) && endedBeforeCollect) Fail(NoResultMessage(*waiting_, false));
    return;
  }
  if (next_ == order_.size()) return Succeed();
  StartNext();
}

void HeadlessRun::StartNext() {
  const std::size_t index = next_;
  if (index == 0) {
    // Before the first run the files may rightly be absent.
    sequence_.ClearRunFiles();
  } else if (!sequence_.PurgeRunFiles()) {
    return;  // refused, and the launcher has been ended
  }
  const Setting& setting = SettingOf(index);
  if (!disk_.Write(kovrin::launcher::kConfigFile,
                   kovrin::launcher::ConfigFileTextForMode(setting.width, setting.height, setting.depth))) {
    return Fail("cannot write " + (setup_.folder / kovrin::launcher::kConfigFile).string());
  }
  ++next_;
  waiting_ = index;
  if (!StartChild(index)) Fail(*startFailure_);
}

bool HeadlessRun::StartChild(std::size_t index) {
  childRun_ = index;
  childMode_ = RunMode();
  deadline_ = QDeadlineTimer(std::chrono::seconds(setup_.timeoutSeconds));
  const std::optional<double> left = EstimateSecondsLeft(runSeconds_, order_.size() - index);
  out_ << RunName(index) << ": started" << (left ? ", " + TimeLeftText(*left) : std::string()) << std::endl;
  runClock_.start();

  const kovrin::launcher::TestProgram test = SettingOf(index).test;
  child_ = std::make_unique<QProcess>();
  childOutput_ = LineReader();
  PrepareTestProgram(*child_, QString::fromStdString(setup_.folder.string()),
                     QString::fromUtf8(kovrin::launcher::ProgramName(test).data()), environment_);
  child_->setProcessChannelMode(QProcess::MergedChannels);
  QProcess* child = child_.get();
  QObject::connect(child, &QProcess::readyReadStandardOutput, [this] { ReadChildOutput(false); });
  QObject::connect(child, &QProcess::finished, [this] {
    ReadChildOutput(true);
    PutDesktopBack();
  });
  desktopMode_.NoteBeforeStart();
  child->start(QIODevice::ReadOnly);
  if (!child->waitForStarted()) {
    startFailure_ =
        RunName(index) + ": cannot start " + child->program().toStdString() + ": " + child->errorString().toStdString();
    return false;
  }
  return true;
}

// The window's rule for results.fps decides whether the result is there.
bool HeadlessRun::Collect(std::size_t index) {
  const std::optional<std::string> content = disk_.Read(kovrin::launcher::kResultFile);
  if (!content) return false;
  const std::optional<int32_t> fps = kovrin::launcher::ResultFromFile(*content, decimalSeparator_);
  if (!fps) return false;
  // The program prints its figures before it writes its result; whatever of
  // them still sits in the pipe is taken first.
  if (ChildRunning()) {
    child_->waitForReadyRead(0);
    ReadChildOutput(false);
  }
  runSeconds_.push_back(static_cast<double>(runClock_.elapsed()) / 1000);
  const Setting& setting = SettingOf(index);
  RunRecord record{order_[index].setting, order_[index].repeat, *fps, childMode_,
                   RunFlags(RunRequest{setting.width, setting.height, setting.depth, true}, childMode_)};
  out_ << RunName(index) << ": " << *fps << " fps" << ExactSuffix(record.mode.exact) << std::endl;
  for (const RunFlag& flag : record.flags) {
    out_ << RunName(index) << ": flagged " << flag.name << ": " << flag.detail << std::endl;
  }
  result_.runs.push_back(std::move(record));
  waiting_.reset();
  return true;
}

void HeadlessRun::ShowCriticalMessage(const std::string& text) {
  std::string shown = text;
  for (std::size_t at = shown.find("\r\n"); at != std::string::npos; at = shown.find("\r\n", at)) {
    shown.replace(at, 2, "\n");
  }
  err_ << "kovrin: " << shown << "\n"
       << "kovrin: config.cfg or results.fps in " << setup_.folder.string()
       << " could not be deleted before the next run" << std::endl;
}

// The clean-up refused to go on: the launcher ends at once, its files stay.
void HeadlessRun::EndLauncher(int exitCode) {
  EndChild();
  Finish(exitCode);
}

// Timed out: the program may still run. Otherwise it has ended without a result.
std::string HeadlessRun::NoResultMessage(std::size_t run, bool timedOut) {
  std::string message =
      RunName(run) + ": no result" + (timedOut ? " within " + std::to_string(setup_.timeoutSeconds) + " s" : "") + "; ";
  std::error_code ignored;
  if (const std::optional<std::string> content = disk_.Read(kovrin::launcher::kResultFile)) {
    message += "results.fps cannot be read as a frame rate: \"" + Shown(*content) + "\"; ";
  } else if (std::filesystem::exists(
                 std::filesystem::symlink_status(setup_.folder / kovrin::launcher::kResultFile, ignored))) {
    message += "results.fps is not a regular file of its own (a FIFO, a link, a folder); ";
  } else {
    message += "results.fps was not written; ";
  }
  return message + ChildFate();
}

// What became of the current test program; one still running is stopped.
std::string HeadlessRun::ChildFate() {
  const std::string name(kovrin::launcher::ProgramName(SettingOf(childRun_).test));
  if (ChildRunning()) {
    EndChild();
    return name + " was still running and has been stopped";
  }
  // Qt gives the signal's number as the exit code of a program a signal ended.
  if (child_ && child_->exitStatus() == QProcess::CrashExit) {
    return name + " was ended by " + SignalName(child_->exitCode());
  }
  if (child_) return name + " ended with exit code " + std::to_string(child_->exitCode());
  return name + " did not run";
}

// Taken as it comes, so that no more than one read's worth is ever held.
void HeadlessRun::ReadChildOutput(bool ended) {
  if (!child_) return;
  const LineReader::Sink take = [this](std::string_view line) { TakeChildLine(line); };
  const QByteArray bytes = child_->readAllStandardOutput();
  childOutput_.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), take);
  if (ended) childOutput_.Finish(take);
}

// SIGTERM first, so that a test program can restore the display mode.
void HeadlessRun::EndChild() {
  if (child_) EndProgram(*child_);
}

// Like a failure, but the user asked for it: the program ends, the hand-off
// files go, no report is written.
void HeadlessRun::Interrupted(int signal) {
  if (done_) return;
  err_ << "kovrin: stopped by " << SignalName(signal) << "; the benchmark did not finish" << std::endl;
  EndChild();
  sequence_.UnloadCleanup();
  Finish(SignalExitCode(signal));
}

// A program that was killed or crashed leaves the display in its mode.
void HeadlessRun::PutDesktopBack() {
  if (const std::optional<std::string> said = desktopMode_.RestoreAfterEnd()) {
    out_ << RunName(childRun_) << ": " << *said << std::endl;
  }
}

void HeadlessRun::TakeChildLine(std::string_view line) {
  if (TakeDiagLine(line, childMode_) && !forwardDiag_) return;
  // Mesa notes every run that vblank_mode comes from the environment, which
  // is the launcher's own doing; twelve such lines would bury the progress.
  if (line.starts_with("ATTENTION: default value of option vblank_mode overridden by environment")) return;
  err_ << line << std::endl;
}

void HeadlessRun::Succeed() {
  Summarise(result_, decimalSeparator_);
  label_ = result_.score.label;
  PrintReport();
  const bool written = WriteFiles();
  sequence_.UnloadCleanup();
  Finish(written ? 0 : 1);
}

// The window's details for the default matrix, the same lines per setting
// for any other; with repeats, each setting's median and range before them.
void HeadlessRun::PrintReport() {
  out_ << "\n";
  if (setup_.repeat > 1) {
    std::size_t unstable = 0;
    for (std::size_t i = 0; i < result_.settings.size(); ++i) {
      out_ << SettingLine(result_.settings[i], result_.summaries[i]) << "\n";
      const std::optional<RateRange>& exact = result_.summaries[i].exact;
      unstable += exact && exact->unstable ? 1 : 0;
    }
    out_ << "Unstable: " << (unstable == 0 ? "none" : std::to_string(unstable)) << " of " << result_.settings.size()
         << " settings (exact rates more than 5 % of the median apart)\n\n";
  }
  if (result_.comparable) {
    for (const kovrin::launcher::BenchRun& run : kovrin::launcher::kFullBenchmark) {
      const Setting setting{run.test, kovrin::launcher::ResolutionWidth(run.resIndex),
                            kovrin::launcher::ResolutionHeight(run.resIndex),
                            kovrin::launcher::DepthBits(run.depthIndex)};
      for (std::size_t i = 0; i < result_.settings.size(); ++i) {
        if (result_.settings[i] == setting) table_.*run.field = result_.summaries[i].fps;
      }
    }
    table_.Result = result_.score.result;
    for (const std::string& line : kovrin::submit::DetailLines(true, label_, table_)) out_ << line << "\n";
    out_ << "Score: " << label_ << "\n";
  } else {
    out_ << "Kovrin Results: " << label_ << "\n";
    for (std::size_t i = 0; i < result_.settings.size(); ++i) {
      out_ << SettingName(result_.settings[i]) << ": " << result_.summaries[i].fps << " fps\n";
    }
    out_ << "Score: " << label_ << " (" << kNotComparableNote << ")\n";
  }
  std::vector<ExactFigures> exact(result_.settings.size());
  for (std::size_t i = 0; i < exact.size(); ++i) {
    if (result_.summaries[i].exact) exact[i].fps = result_.summaries[i].exact->median;
  }
  std::vector<std::vector<RunFlag>> flags;
  for (const RunRecord& run : result_.runs) flags.push_back(run.flags);
  out_ << ExactMeanLine(exact) << "\n" << FlagSummaryLine(flags) << std::endl;
}

bool HeadlessRun::WriteFiles() {
  const bool wantJson = setup_.jsonFile || !setup_.saveFolder.empty() || setup_.submitUrl;
  if (wantJson) {
    // Gathered after the last run, so that it cannot disturb one.
    std::unique_ptr<kovrin::sysinfo::Provider> provider =
        setup_.systemProvider ? setup_.systemProvider() : kovrin::sysinfo::MakeLinuxProvider();
    result_.system = GatherSystemFacts(*provider, result_.renderer);
  }
  const QDateTime finished = QDateTime::currentDateTimeUtc();
  const QByteArray json = wantJson ? ResultJson(result_, finished) : QByteArray();
  bool written = true;
  if (setup_.jsonFile) written = WriteFile(*setup_.jsonFile, json) && written;
  if (setup_.csvFile) written = WriteFile(*setup_.csvFile, QByteArray::fromStdString(ResultCsv(result_))) && written;
  if (!setup_.saveFolder.empty()) {
    std::string error;
    const std::string stamp = finished.toString(QStringLiteral("yyyy-MM-dd'T'HHmmss'Z'")).toStdString();
    const std::optional<std::filesystem::path> saved =
        SaveNewResult(setup_.saveFolder, ResultFileStem(stamp, result_.renderer),
                      std::string_view(json.constData(), static_cast<std::size_t>(json.size())), error);
    if (saved) {
      out_ << "Saved as " << saved->string() << std::endl;
    } else {
      err_ << "kovrin: " << error << std::endl;
      written = false;
    }
  }
  // Last, so that a service that cannot be reached costs none of the files.
  if (setup_.submitUrl) {
    written = UploadResult(*setup_.submitUrl, std::string_view(json.constData(), static_cast<std::size_t>(json.size())),
                           out_, err_) &&
              written;
  }
  return written;
}

bool HeadlessRun::WriteFile(const std::string& name, const QByteArray& bytes) {
  QSaveFile file(QString::fromStdString(name));
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return true;
  err_ << "kovrin: cannot write " << name << ": " << file.errorString().toStdString() << std::endl;
  return false;
}

// Like closing the window: the hand-off files go, whatever happens to them.
void HeadlessRun::Fail(const std::string& message) {
  err_ << "kovrin: " << message << std::endl;
  EndChild();
  sequence_.UnloadCleanup();
  Finish(1);
}

void HeadlessRun::Finish(int exitCode) {
  done_ = true;
  exitCode_ = exitCode;
  timer_.stop();
  loop_.exit(exitCode);
}

}  // namespace

QProcessEnvironment HeadlessEnvironment(const QProcessEnvironment& inherited) {
  QProcessEnvironment environment = BenchmarkEnvironment(inherited);
  const bool display = IsSet(inherited, "DISPLAY") || IsSet(inherited, "WAYLAND_DISPLAY");
  if (!display && !IsSet(inherited, "SDL_VIDEODRIVER")) {
    environment.insert(QStringLiteral("SDL_VIDEODRIVER"), QStringLiteral("offscreen"));
  }
  if (!IsSet(inherited, "KOVRIN_MSGBOX"))
    environment.insert(QStringLiteral("KOVRIN_MSGBOX"), QStringLiteral("default"));
  environment.insert(QStringLiteral("KOVRIN_DIAG"), QStringLiteral("1"));
  return environment;
}

int RunHeadless(const HeadlessSetup& setup, std::ostream& out, std::ostream& err) {
  HeadlessRun run(setup, out, err);
  return run.Run();
}

}  // namespace kovrin::cli
