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

#include "command_line.h"
#include "compare.h"
#include "folder_lock.h"
#include "frmMain.h"
#include "headless_run.h"
#include "launcher_text.h"
#include "message_box.h"
#include "results_folder.h"
#include "termination_signals.h"
#include "work_folder.h"

namespace {

// The folder the hand-off files live in. A user at a terminal is told where a
// per-user folder is, since that is where config.cfg and results.fps turn up;
// started from a menu, the line would only fill the journal.
std::optional<cli::WorkFolder> PrepareWorkFolder() {
  // Not Qt's applicationDirPath(): it decodes the name and would hand on a
  // folder name that is not UTF-8 as a different, missing one.
  const std::filesystem::path launcherFolder = cli::ExecutableFolder();
  cli::WorkFolder folder = cli::ChooseWorkFolder(launcherFolder);
  if (!folder.error.empty()) {
    std::cerr << "kovrin: " << folder.error << std::endl;
    return std::nullopt;
  }
  const char* home = std::getenv("HOME");
  const std::string notice = cli::WorkingNotice(folder, home ? home : "");
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
  QApplication::setApplicationName(QString::fromUtf8(launcher::kApplicationTitle.data(),
                                                     static_cast<qsizetype>(launcher::kApplicationTitle.size())));
  const std::optional<cli::WorkFolder> folder = PrepareWorkFolder();
  if (!folder) return 1;
  // Taken at start rather than at "Benchmark": closing the window, Clear
  // Results and the option buttons delete the hand-off files too, so a second
  // window would disturb the first one's run without ever starting its own.
  const launcher::FolderLock lock(folder->path);
  if (!lock.Held()) {
    ShowMessageBox(nullptr, QApplication::applicationName(), QString::fromStdString(lock.Problem()),
                   QMessageBox::Critical, unattended::Buttons::Ok, unattended::Answer::Ok);
    return 1;
  }
  LauncherSetup setup;
  setup.folder = QString::fromStdString(folder->path.string());
  frmMain window(std::move(setup));
  const cli::TerminationSignals watch(
      [&window](int signal) { window.EndBySignal(cli::SignalExitCode(signal)); });
  window.show();
  return QApplication::exec();
}

int RunHeadless(int argc, char* argv[], const cli::CommandLine& line) {
  QCoreApplication app(argc, argv);
  const std::optional<cli::WorkFolder> folder = PrepareWorkFolder();
  if (!folder) return 1;
  cli::HeadlessSetup setup;
  setup.folder = folder->path;
  setup.timeoutSeconds = line.timeoutSeconds;
  setup.jsonFile = line.jsonFile;
  setup.csvFile = line.csvFile;
  setup.submitUrl = line.submitUrl;
  setup.repeat = line.repeat;
  setup.matrix = line.matrix;
  if (line.save) setup.saveFolder = cli::ResultsFolder();
  return cli::RunHeadless(setup, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char* argv[]) {
  const cli::CommandLine line = cli::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  switch (line.action) {
    case cli::CommandLine::Action::Help: std::cout << cli::HelpText(); return 0;
    case cli::CommandLine::Action::Version: std::cout << cli::VersionText(); return 0;
    case cli::CommandLine::Action::Error:
      std::cerr << "kovrin: " << line.error << "\nTry 'kovrin --help'.\n";
      return cli::kUsageExitCode;
    case cli::CommandLine::Action::Headless: return RunHeadless(argc, argv, line);
    case cli::CommandLine::Action::Compare: {
      QCoreApplication app(argc, argv);
      return cli::RunCompare(line.compareBase, line.compareNew, line.jsonFile, cli::ResultsFolder(), std::cout,
                             std::cerr);
    }
    case cli::CommandLine::Action::Window: break;
  }
  return RunWindow(argc, argv);
}
