// The main window: the user's view of the benchmark sequence.
//
// The window holds the results table (as public fields, for the other
// windows), the result label and the two timers; every step of the run is the
// BenchSequence's, which reaches the window only through LauncherEffects.
// Control positions come from a layout drawn in twips at 15 twips per pixel.
#pragma once

#include <QPixmap>
#include <QProcess>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "launcher/core/bench_sequence.h"
#include "launcher/core/handoff_folder.h"
#include "launcher/core/results_table.h"
#include "launcher/desktop/desktop_mode.h"

class QLabel;
class QRadioButton;
namespace Ui {
class frmMain;
}

// What the window takes from outside; every member has a working default.
struct LauncherSetup {
  // The launcher's folder: the hand-off files live there and the test
  // programs start from it. Empty: the folder of the launcher's executable.
  QString folder;
  // Starts a run's test program. Empty: the program file from `folder`,
  // kept by the window (never waited for) so that it can be ended.
  std::function<bool(const kovrin::launcher::BenchRun&)> startProgram;
  // Ends the launcher. Empty: leave the application's event loops.
  std::function<void(int exitCode)> endLauncher;
  // Whether CheckTimer and StatusTimer run; tests that tick by hand turn
  // them off.
  bool runTimers = true;
};

class frmMain : public QWidget, public kovrin::launcher::ResultsTable, private kovrin::launcher::LauncherEffects {
  Q_OBJECT

 public:
  explicit frmMain(LauncherSetup setup = {}, QWidget* parent = nullptr);
  ~frmMain() override;

  // The custom benchmark choice (the custom dialog writes the depth; nothing
  // sets the resolution, nothing in the sequence reads any of them).
  QString CustomBitdepth;
  int32_t CustomResX = 0;
  int32_t CustomResY = 0;

  // Controls the other windows read.
  QLabel* lblResult() const;
  QRadioButton* optFullBench() const;

  QString LauncherFolder() const { return folder_; }
  kovrin::launcher::BenchSequence& Sequence() { return sequence_; }

  // The event handlers.
  void Form_Load();
  void cmdRun_Click();
  void cmdClear_Click();
  void optFullBench_Click();
  void optCustomBench_Click();
  void cmdCustomize_Click();
  void cmdDetails_Click();
  void cmdSubmit_Click();
  void cmdSystemInfo_Click();
  void cmdExit_Click();
  void Form_Unload();
  void CheckTimer_Timer();
  void StatusTimer_Timer();
  // SIGINT or SIGTERM to the launcher: as closing the window, with the
  // shell's exit code for the signal.
  void EndBySignal(int exitCode);

  // The test program the window started, while it runs.
  bool ProgramRunning() const;

  QTimer CheckTimer;
  QTimer StatusTimer;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // LauncherEffects
  std::string ResultLabel() const override;
  void SetResultLabel(const std::string& text) override;
  bool StartProgram(const kovrin::launcher::BenchRun& run) override;
  void ShowCriticalMessage(const std::string& text) override;
  void EndLauncher(int exitCode) override;

  void ConnectHandlers();
  // Ends the running test program and removes the hand-off files.
  void EndRunAndClean();
  // Puts the desktop's mode back once the started test program has ended.
  void KeepDesktopMode();
  // Runs a handler that has no error handling of its own: an error escaping
  // it is shown with its number and text, then the launcher ends.
  template <typename Handler>
  void Untrapped(Handler&& handler);

  std::unique_ptr<Ui::frmMain> ui;
  LauncherSetup setup_;
  QString folder_;
  kovrin::launcher::DiskFolder disk_;
  kovrin::launcher::BenchSequence sequence_;
  std::unique_ptr<QProcess> program_;
  QPixmap banner_;
  bool ending_ = false;
  std::unique_ptr<kovrin::desktop::ModeSource> desktopModes_;
  kovrin::desktop::DesktopModeKeeper desktopMode_;
};
