#include "launcher/frmMain.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <cstdio>
#include <utility>

#include "launcher/core/launcher_text.h"
#include "launcher/frmCustomBench.h"
#include "launcher/frmDetails.h"
#include "launcher/frmSubmit.h"
#include "launcher/frmSystemInfo.h"
#include "launcher/message_box.h"
#include "launcher/process/program_starter.h"
#include "launcher/process/user_locale.h"
#include "ui_frmMain.h"

using kovrin::gui::ShowMessageBox;

using kovrin::process::AskProgramToEnd;
using kovrin::process::BenchmarkEnvironment;
using kovrin::process::EndProgram;
using kovrin::process::PrepareTestProgram;
using kovrin::process::UserDecimalSeparator;

namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString FolderOrDefault(const QString& folder) {
  return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

}  // namespace

frmMain::frmMain(LauncherSetup setup, QWidget* parent)
    : QWidget(parent),
      ui(std::make_unique<Ui::frmMain>()),
      setup_(std::move(setup)),
      folder_(FolderOrDefault(setup_.folder)),
      disk_(folder_.toStdString()),
      sequence_(disk_, *this, *this, UserDecimalSeparator()),
      banner_(QStringLiteral(":/launcher/banner.png")),
      desktopModes_(kovrin::desktop::XrandrModeSource()),
      desktopMode_(*desktopModes_) {
  ui->setupUi(this);
  CheckTimer.setInterval(100);
  StatusTimer.setInterval(1200);
  ConnectHandlers();
  Form_Load();
  if (setup_.runTimers) {
    CheckTimer.start();
    StatusTimer.start();
  }
}

frmMain::~frmMain() = default;

QLabel* frmMain::lblResult() const { return ui->lblResult; }
QRadioButton* frmMain::optFullBench() const { return ui->optFullBench; }

void frmMain::ConnectHandlers() {
  connect(ui->cmdRun, &QPushButton::clicked, this, &frmMain::cmdRun_Click);
  connect(ui->cmdClear, &QPushButton::clicked, this, &frmMain::cmdClear_Click);
  // An option's click handler runs when the option becomes selected, not on
  // every click: a click on the option already selected (or its Alt key)
  // must neither end a run nor wipe a score.
  connect(ui->optFullBench, &QRadioButton::toggled, this, [this](bool selected) {
    if (selected) optFullBench_Click();
  });
  connect(ui->optCustomBench, &QRadioButton::toggled, this, [this](bool selected) {
    if (selected) optCustomBench_Click();
  });
  connect(ui->cmdCustomize, &QPushButton::clicked, this, &frmMain::cmdCustomize_Click);
  connect(ui->cmdDetails, &QPushButton::clicked, this, &frmMain::cmdDetails_Click);
  connect(ui->cmdSubmit, &QPushButton::clicked, this, &frmMain::cmdSubmit_Click);
  connect(ui->cmdSystemInfo, &QPushButton::clicked, this, &frmMain::cmdSystemInfo_Click);
  connect(ui->cmdExit, &QPushButton::clicked, this, &frmMain::cmdExit_Click);
  connect(&CheckTimer, &QTimer::timeout, this, &frmMain::CheckTimer_Timer);
  connect(&StatusTimer, &QTimer::timeout, this, &frmMain::StatusTimer_Timer);
}

template <typename Handler>
void frmMain::Untrapped(Handler&& handler) {
  try {
    handler();
  } catch (...) {
    const kovrin::launcher::ErrorDescription error = kovrin::launcher::DescribeError(std::current_exception());
    ShowMessageBox(nullptr, FromUtf8(kovrin::launcher::kApplicationTitle),
                   QString::fromStdString(kovrin::launcher::UntrappedErrorText(error)), QMessageBox::Critical,
                   kovrin::unattended::Buttons::Ok, kovrin::unattended::Answer::Ok);
    EndLauncher(kovrin::launcher::kUntrappedErrorExitCode);
  }
}

void frmMain::Form_Load() {
  Untrapped([this] { setWindowTitle(QString::fromStdString(kovrin::launcher::LauncherCaption())); });
}

// A program still drawing would share the machine with the next run; it is
// asked to end now, and the status tick waits until it has.
void frmMain::cmdRun_Click() {
  Untrapped([this] {
    sequence_.RequestRun(ui->optFullBench->isChecked());
    if (program_) AskProgramToEnd(*program_);
  });
}

// Files that may already be gone are deleted with every failure ignored.
void frmMain::cmdClear_Click() {
  try {
    sequence_.ClearRunFiles();
  } catch (...) {
  }
}

void frmMain::optFullBench_Click() { cmdClear_Click(); }
void frmMain::optCustomBench_Click() { cmdClear_Click(); }

void frmMain::cmdCustomize_Click() {
  Untrapped([this] {
    // Selecting the option raises its click, which clears; selecting it
    // again when it already is selected changes nothing.
    ui->optCustomBench->setChecked(true);
    ShowCustomBench(this);
  });
}

void frmMain::cmdDetails_Click() {
  Untrapped([this] { ShowDetails(this); });
}

void frmMain::cmdSubmit_Click() {
  Untrapped([this] {
    const QString score = ui->lblResult->text();
    if (score != QLatin1String("n.a.") && !score.isEmpty()) ShowSubmit(this);
  });
}

void frmMain::cmdSystemInfo_Click() {
  Untrapped([this] { ShowSystemInfo(this); });
}

// The program goes first: ended later, it would write its result into a
// folder that has just been cleaned.
void frmMain::EndRunAndClean() {
  if (program_) EndProgram(*program_);
  KeepDesktopMode();
  try {
    sequence_.UnloadCleanup();
  } catch (...) {
  }
}

void frmMain::cmdExit_Click() {
  if (ending_) return;
  EndRunAndClean();
  EndLauncher(0);
}

void frmMain::Form_Unload() {
  EndRunAndClean();
  EndLauncher(0);
}

void frmMain::EndBySignal(int exitCode) {
  if (ending_) return;
  EndRunAndClean();
  EndLauncher(exitCode);
}

bool frmMain::ProgramRunning() const { return program_ && program_->state() != QProcess::NotRunning; }

void frmMain::CheckTimer_Timer() {
  Untrapped([this] {
    const bool haveResult = !ui->lblResult->text().isEmpty();
    ui->cmdDetails->setEnabled(haveResult);
    ui->cmdClear->setEnabled(haveResult);
    ui->cmdSubmit->setEnabled(haveResult);
    ui->cmdCustomize->setEnabled(ui->optCustomBench->isChecked());
  });
}

// A run step that fails ends quietly; the next tick acts on the label as it
// then stands.
void frmMain::StatusTimer_Timer() {
  if (ending_) return;
  KeepDesktopMode();
  // Two test programs never run at once: the next run waits for the last
  // program to be gone, and only the wait for a result goes on beside it.
  if (ProgramRunning() && !sequence_.WaitingRun()) return;
  try {
    sequence_.StatusTick();
  } catch (...) {
  }
}

void frmMain::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  QPainter painter(this);
  painter.drawPixmap(0, 0, banner_);
}

void frmMain::closeEvent(QCloseEvent* event) {
  if (!ending_) Form_Unload();
  event->accept();
}

std::string frmMain::ResultLabel() const { return ui->lblResult->text().toStdString(); }

void frmMain::SetResultLabel(const std::string& text) { ui->lblResult->setText(QString::fromStdString(text)); }

bool frmMain::StartProgram(const kovrin::launcher::BenchRun& run) {
  if (setup_.startProgram) return setup_.startProgram(run);
  if (program_) EndProgram(*program_);
  KeepDesktopMode();
  program_ = std::make_unique<QProcess>();
  PrepareTestProgram(*program_, folder_, FromUtf8(kovrin::launcher::ProgramName(run.test)),
                     BenchmarkEnvironment(QProcessEnvironment::systemEnvironment()));
  // Its messages reach the terminal the launcher was started from, as a
  // program of its own would; nothing of it is held here.
  program_->setProcessChannelMode(QProcess::ForwardedChannels);
  desktopMode_.NoteBeforeStart();
  program_->start(QIODevice::ReadOnly);
  return program_->waitForStarted();
}

// Nothing modal in the middle of a benchmark: the note goes to the system
// frame's label and to stderr.
void frmMain::KeepDesktopMode() {
  if (ProgramRunning()) return;
  if (const std::optional<std::string> said = desktopMode_.RestoreAfterEnd()) {
    std::fprintf(stderr, "kovrin: %s\n", said->c_str());
    ui->lblSystem->setText(QString::fromStdString(*said));
  }
}

// The box has no owner: a secondary window may have disabled the main
// window, and the box must stay answerable.
void frmMain::ShowCriticalMessage(const std::string& text) {
  ShowMessageBox(nullptr, FromUtf8(kovrin::launcher::kApplicationTitle), QString::fromStdString(text),
                 QMessageBox::Critical, kovrin::unattended::Buttons::Ok, kovrin::unattended::Answer::Ok);
}

// The launcher ends at once: no further step, no unload clean-up; only the
// program it started does not outlive it.
void frmMain::EndLauncher(int exitCode) {
  if (ending_) return;
  ending_ = true;
  if (program_) EndProgram(*program_);
  CheckTimer.stop();
  StatusTimer.stop();
  if (setup_.endLauncher) {
    setup_.endLauncher(exitCode);
  } else {
    QCoreApplication::exit(exitCode);
  }
}
