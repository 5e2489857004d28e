#include "headless_run.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTimer>

#include <array>
#include <chrono>
#include <memory>
#include <string_view>

#include "bench_labels.h"
#include "bench_sequence.h"
#include "desktop_mode.h"
#include "detail_lines.h"
#include "folder_lock.h"
#include "handoff_folder.h"
#include "launcher_text.h"
#include "line_reader.h"
#include "program_starter.h"
#include "result_json.h"
#include "results_table.h"
#include "run_report.h"
#include "run_mode.h"
#include "termination_signals.h"
#include "user_locale.h"

namespace cli {
namespace {

constexpr std::size_t kRunCount = launcher::kFullBenchmark.size();

bool IsSet(const QProcessEnvironment& environment, const char* name) {
  return !environment.value(QString::fromLatin1(name)).isEmpty();
}

std::size_t RunIndex(const launcher::BenchRun& run) {
  for (std::size_t i = 0; i < kRunCount; ++i) {
    if (launcher::kFullBenchmark[i].field == run.field) return i;
  }
  return 0;
}

// "Run 3/12 Quillfire 1024x768x16"
std::string RunName(std::size_t index) {
  const launcher::BenchRun& run = launcher::kFullBenchmark[index];
  return "Run " + std::to_string(index + 1) + "/" + std::to_string(kRunCount) + " " +
         std::string(launcher::ProgramName(run.test)) + " " + std::to_string(launcher::ResolutionWidth(run.resIndex)) +
         "x" + std::to_string(launcher::ResolutionHeight(run.resIndex)) + "x" +
         std::to_string(launcher::DepthBits(run.depthIndex));
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

class HeadlessRun final : private launcher::LauncherEffects {
 public:
  HeadlessRun(const HeadlessSetup& setup, std::ostream& out, std::ostream& err)
      : setup_(setup),
        out_(out),
        err_(err),
        disk_(setup.folder),
        sequence_(disk_, *this, table_, UserDecimalSeparator()),
        environment_(HeadlessEnvironment(setup.environment)),
        forwardDiag_(setup.environment.value(QStringLiteral("KOVRIN_DIAG")) == QLatin1String("1")),
        ownModes_(setup.desktopModes ? nullptr : desktop::XrandrModeSource()),
        desktopMode_(setup.desktopModes ? *setup.desktopModes : *ownModes_) {}

  int Run();

 private:
  // LauncherEffects
  std::string ResultLabel() const override { return label_; }
  void SetResultLabel(const std::string& text) override { label_ = text; }
  bool StartProgram(const launcher::BenchRun& run) override;
  void ShowCriticalMessage(const std::string& text) override;
  void EndLauncher(int exitCode) override;
  void RunCollected(const launcher::BenchRun& run, int32_t fps) override;

  void Tick();
  bool ChildRunning() const { return child_ && child_->state() != QProcess::NotRunning; }
  bool ChildEnded() const { return child_ && !ChildRunning(); }
  std::string ProgramPath(launcher::TestProgram test) const;
  std::string NoResultMessage(std::size_t run, bool timedOut);
  std::string ChildFate();
  void EndChild();
  void Interrupted(int signal);
  void ReadChildOutput(bool ended);
  void PutDesktopBack();
  void TakeChildLine(std::string_view line);
  void Succeed();
  bool WriteJson();
  void Fail(const std::string& message);
  void Finish(int exitCode);

  const HeadlessSetup& setup_;
  std::ostream& out_;
  std::ostream& err_;
  launcher::DiskFolder disk_;
  launcher::ResultsTable table_;
  launcher::BenchSequence sequence_;
  std::string label_;
  QProcessEnvironment environment_;
  bool forwardDiag_;
  std::unique_ptr<desktop::ModeSource> ownModes_;
  desktop::DesktopModeKeeper desktopMode_;

  std::unique_ptr<QProcess> child_;
  std::size_t childRun_ = 0;
  LineReader childOutput_;
  RunModes modes_;
  QDeadlineTimer deadline_;
  std::optional<std::string> startFailure_;

  QTimer timer_;
  QEventLoop loop_;
  bool done_ = false;
  int exitCode_ = 0;
};

int HeadlessRun::Run() {
  // Before anything in the folder is touched, the missing-program check included.
  const launcher::FolderLock lock(setup_.folder);
  if (!lock.Held()) {
    err_ << "kovrin: " << lock.Problem() << std::endl;
    return 1;
  }
  for (const auto test : {launcher::TestProgram::Quillfire, launcher::TestProgram::Lumavane}) {
    const QFileInfo program(QString::fromStdString(ProgramPath(test)));
    if (!program.isFile() || !program.isExecutable()) {
      err_ << "kovrin: the test program " << program.filePath().toStdString() << " is missing or not executable\n";
      return 1;
    }
  }
  const TerminationSignals watch([this](int signal) { Interrupted(signal); });
  sequence_.RequestRun(true);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
  timer_.start(setup_.tickMs);
  loop_.exec();
  return exitCode_;
}

std::string HeadlessRun::ProgramPath(launcher::TestProgram test) const {
  return (setup_.folder / launcher::ProgramName(test)).string();
}

void HeadlessRun::Tick() {
  if (done_) return;
  const std::optional<std::size_t> waiting = sequence_.WaitingRun();
  if (waiting && deadline_.hasExpired()) return Fail(NoResultMessage(*waiting, true));
  // A program that has ended writes nothing more: the collect below is the
  // last look for its result. Its end was seen before the look, so a result
  // written just before the end is not missed.
  const bool endedBeforeCollect = waiting && ChildEnded();
  if (!waiting && ChildRunning()) {
    // The result is in; the next step waits until its program has ended.
    if (deadline_.hasExpired()) {
      return Fail(RunName(childRun_) + ": the test program left its result but did not end within " +
                  std::to_string(setup_.timeoutSeconds) + " s; " + ChildFate());
    }
    return;
  }
  const launcher::TickTarget target = launcher::DispatchTarget(sequence_.BenchState());
  const bool startTick =
      !waiting && (target == launcher::TickTarget::QuillfireRunner || target == launcher::TickTarget::LumavaneRunner);
  sequence_.StatusTick();
  if (done_) return;
  if (startFailure_) return Fail(*startFailure_);
  if (endedBeforeCollect && sequence_.WaitingRun() == waiting) return Fail(NoResultMessage(*waiting, false));
  if (target == launcher::TickTarget::Finish) return Succeed();
  // The window would sit idle, or retry the start for ever; here the user learns why.
  if (startTick && !sequence_.WaitingRun()) {
    return Fail("cannot write " + (setup_.folder / launcher::kConfigFile).string());
  }
}

bool HeadlessRun::StartProgram(const launcher::BenchRun& run) {
  childRun_ = RunIndex(run);
  deadline_ = QDeadlineTimer(std::chrono::seconds(setup_.timeoutSeconds));
  out_ << RunName(childRun_) << ": started" << std::endl;

  child_ = std::make_unique<QProcess>();
  childOutput_ = LineReader();
  PrepareTestProgram(*child_, QString::fromStdString(setup_.folder.string()),
                     QString::fromUtf8(launcher::ProgramName(run.test).data()), environment_);
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
    startFailure_ = RunName(childRun_) + ": cannot start " + child->program().toStdString() + ": " +
                    child->errorString().toStdString();
    return false;
  }
  return true;
}

void HeadlessRun::RunCollected(const launcher::BenchRun& run, int32_t fps) {
  const std::size_t index = RunIndex(run);
  // The program prints its figures before it writes its result; whatever of
  // them still sits in the pipe is taken first.
  if (ChildRunning() && index == childRun_) child_->waitForReadyRead(0);
  const RunMode& mode = modes_[index];
  out_ << RunName(index) << ": " << fps << " fps" << ExactSuffix(mode.exact) << std::endl;
  for (const RunFlag& flag : RunFlags(RequestOf(run), mode)) {
    out_ << RunName(index) << ": flagged " << flag.name << ": " << flag.detail << std::endl;
  }
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
  std::string message = RunName(run) + ": no result" +
                        (timedOut ? " within " + std::to_string(setup_.timeoutSeconds) + " s" : "") + "; ";
  std::error_code ignored;
  if (const std::optional<std::string> content = disk_.Read(launcher::kResultFile)) {
    message += "results.fps cannot be read as a frame rate: \"" + Shown(*content) + "\"; ";
  } else if (std::filesystem::exists(std::filesystem::symlink_status(setup_.folder / launcher::kResultFile, ignored))) {
    message += "results.fps is not a regular file of its own (a FIFO, a link, a folder); ";
  } else {
    message += "results.fps was not written; ";
  }
  return message + ChildFate();
}

// What became of the current test program; one still running is stopped.
std::string HeadlessRun::ChildFate() {
  const std::string name(launcher::ProgramName(launcher::kFullBenchmark[childRun_].test));
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
  if (TakeDiagLine(line, modes_[childRun_]) && !forwardDiag_) return;
  // Mesa notes every run that vblank_mode comes from the environment, which
  // is the launcher's own doing; twelve such lines would bury the progress.
  if (line.starts_with("ATTENTION: default value of option vblank_mode overridden by environment")) return;
  err_ << line << std::endl;
}

void HeadlessRun::Succeed() {
  out_ << "\n";
  for (const std::string& line : submit::DetailLines(true, label_, table_)) out_ << line << "\n";
  out_ << "Score: " << label_ << std::endl;
  std::vector<ExactFigures> exact;
  std::vector<std::vector<RunFlag>> flags;
  for (std::size_t i = 0; i < kRunCount; ++i) {
    exact.push_back(modes_[i].exact);
    flags.push_back(RunFlags(RequestOf(launcher::kFullBenchmark[i]), modes_[i]));
  }
  out_ << ExactMeanLine(exact) << "\n" << FlagSummaryLine(flags) << std::endl;
  const bool written = WriteJson();
  sequence_.UnloadCleanup();
  Finish(written ? 0 : 1);
}

bool HeadlessRun::WriteJson() {
  if (!setup_.jsonFile) return true;
  QSaveFile file(QString::fromStdString(*setup_.jsonFile));
  const QByteArray json = ResultJson(table_, label_, modes_, QDateTime::currentDateTimeUtc());
  if (file.open(QIODevice::WriteOnly) && file.write(json) == json.size() && file.commit()) return true;
  err_ << "kovrin: cannot write " << *setup_.jsonFile << ": " << file.errorString().toStdString() << std::endl;
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
  if (!IsSet(inherited, "KOVRIN_MSGBOX")) environment.insert(QStringLiteral("KOVRIN_MSGBOX"), QStringLiteral("default"));
  environment.insert(QStringLiteral("KOVRIN_DIAG"), QStringLiteral("1"));
  return environment;
}

int RunHeadless(const HeadlessSetup& setup, std::ostream& out, std::ostream& err) {
  HeadlessRun run(setup, out, err);
  return run.Run();
}

}  // namespace cli
