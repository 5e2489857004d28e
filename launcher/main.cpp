// The launcher: the main window, from which the user runs the benchmark, or
// the same benchmark without a window from the command line.
#include <QApplication>
#include <QCoreApplication>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "launcher/cli/command_line.h"
#include "launcher/cli/compare.h"
#include "launcher/cli/headless_run.h"
#include "launcher/cli/results_folder.h"
#include "launcher/cli/termination_signals.h"
#include "launcher/cli/work_folder.h"
#include "launcher/core/folder_lock.h"
#include "launcher/core/launcher_text.h"
#include "launcher/frmMain.h"
#include "launcher/message_box.h"

using kovrin::gui::ShowMessageBox;

namespace {

// The folder the hand-off files live in. A user at a terminal is told where a
// per-user folder is, since that is where config.cfg and results.fps turn up;
// started from a menu, the line would only fill the journal.
std::optional<kovrin::cli::WorkFolder> PrepareWorkFolder() {
  // Not Qt's applicationDirPath(): it decodes the name and would hand on a
  // folder name that is not UTF-8 as a different, missing one.
  const std::filesystem::path launcherFolder = kovrin::cli::ExecutableFolder();
  kovrin::cli::WorkFolder folder = kovrin::cli::ChooseWorkFolder(launcherFolder);
  if (!folder.error.empty()) {
    std::cerr << "kovrin: " << folder.error << std::endl;
    return std::nullopt;
  }
  const char* home = std::getenv("HOME");
  const std::string notice = kovrin::cli::WorkingNotice(folder, home ? home : "");
  if (!notice.empty() && ::isatty(STDERR_FILENO)) std::cerr << notice << std::endl;
  return folder;
}

int RunWindow(int argc, char* argv[]) {
  // Qt ends the process when it finds no display; the user learns the way out first.
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    std::cerr << "kovrin: no display (DISPLAY and WAYLAND_DISPLAY are not set); 'kovrin --headless' runs the "
                 "benchmark without a window"
              << std::endl;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(
      kovrin::launcher::kApplicationTitle.data(), static_cast<qsizetype>(kovrin::launcher::kApplicationTitle.size())));
  const std::optional<kovrin::cli::WorkFolder> folder = PrepareWorkFolder();
  if (!folder) return 1;
  // Taken at start rather than at "Benchmark": closing the window, Clear
  // Results and the option buttons delete the hand-off files too, so a second
  // window would disturb the first one's run without ever starting its own.
  const kovrin::launcher::FolderLock lock(folder->path);
  if (!lock.Held()) {
    ShowMessageBox(nullptr, QApplication::applicationName(), QString::fromStdString(lock.Problem()),
                   QMessageBox::Critical, kovrin::unattended::Buttons::Ok, kovrin::unattended::Answer::Ok);
    return 1;
  }
  LauncherSetup setup;
  setup.folder = QString::fromStdString(folder->path.string());
  frmMain window(std::move(setup));
  const kovrin::cli::TerminationSignals watch(
      [&window](int signal) { window.EndBySignal(kovrin::cli::SignalExitCode(signal)); });
  window.show();
  return QApplication::exec();
}

int RunHeadless(int argc, char* argv[], const kovrin::cli::CommandLine& line) {
  QCoreApplication app(argc, argv);
  const std::optional<kovrin::cli::WorkFolder> folder = PrepareWorkFolder();
  if (!folder) return 1;
  kovrin::cli::HeadlessSetup setup;
  setup.folder = folder->path;
  setup.timeoutSeconds = line.timeoutSeconds;
  setup.jsonFile = line.jsonFile;
  setup.csvFile = line.csvFile;
  setup.submitUrl = line.submitUrl;
  setup.repeat = line.repeat;
  setup.matrix = line.matrix;
  if (line.save) setup.saveFolder = kovrin::cli::ResultsFolder();
  return kovrin::cli::RunHeadless(setup, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char* argv[]) {
  const kovrin::cli::CommandLine line = kovrin::cli::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  switch (line.action) {
    case kovrin::cli::CommandLine::Action::Help:
      std::cout << kovrin::cli::HelpText();
      return 0;
    case kovrin::cli::CommandLine::Action::Version:
      std::cout << kovrin::cli::VersionText();
      return 0;
    case kovrin::cli::CommandLine::Action::Error:
      std::cerr << "kovrin: " << line.error << "\nTry 'kovrin --help'.\n";
      return kovrin::cli::kUsageExitCode;
    case kovrin::cli::CommandLine::Action::Headless:
      return RunHeadless(argc, argv, line);
    case kovrin::cli::CommandLine::Action::Compare: {
      QCoreApplication app(argc, argv);
      return kovrin::cli::RunCompare(line.compareBase, line.compareNew, line.jsonFile, kovrin::cli::ResultsFolder(),
                                     std::cout, std::cerr);
    }
    case kovrin::cli::CommandLine::Action::Window:
      break;
  }
  return RunWindow(argc, argv);
}
