// The benchmark without a window, driven from the command line.
//
// The runs keep the main window's hand-off rules: the lenient clear before
// the first run, the strict clean-up with its refusal before every other
// one, config.cfg written afresh and results.fps taken by the same rule, the
// files removed at the end; those steps are the window's BenchSequence's own.
// What the command line adds is which runs are made (any matrix of tests,
// sizes and depths, each setting repeated), and how it meets the user:
// progress lines with the time left instead of a label, the strict clean-up's
// refusal on stderr instead of a box, a time-out instead of an endless wait,
// and the test programs kept as child processes so that their diagnostics can
// be read and a stuck one can be stopped. The default matrix with one repeat
// is exactly the window's twelve runs, scored alike.
//
// Ticks come every 100 ms rather than the window's 1200 ms: a run's result is
// taken as soon as it is there, and instead of a fixed pause the next run
// starts once the previous test program has ended, so two programs never
// draw at the same time and no run waits idle for a tick.
#pragma once

#include <QProcessEnvironment>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "launcher/cli/bench_plan.h"

namespace kovrin::desktop {
class ModeSource;
}

namespace kovrin::sysinfo {
class Provider;
}

namespace kovrin::cli {

struct HeadlessSetup {
  // Holds the test programs, default.fnt, data/ and the hand-off files.
  std::filesystem::path folder;
  // How long one run may take, from the start of its test program until it
  // has left its result and ended.
  int timeoutSeconds = 60;
  std::optional<std::string> jsonFile;
  std::optional<std::string> csvFile;
  // Where --save puts the result; empty: not saved.
  std::filesystem::path saveFolder;
  int repeat = 1;
  Matrix matrix = DefaultMatrix();
  // Where the system report of a result file comes from; empty: the machine's own.
  std::function<std::unique_ptr<kovrin::sysinfo::Provider>()> systemProvider;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  int tickMs = 100;
  // Where the desktop's mode is read and put back after each test program;
  // nullptr: the X screen of $DISPLAY.
  kovrin::desktop::ModeSource* desktopModes = nullptr;
};

// What a test program gets in a headless run: the launcher's benchmark
// environment, SDL's offscreen driver when there is no display (neither
// DISPLAY nor WAYLAND_DISPLAY) and the user chose no driver, message boxes
// answered with their default button unless KOVRIN_MSGBOX is set, and the
// diagnostics on.
QProcessEnvironment HeadlessEnvironment(const QProcessEnvironment& inherited);

// Runs the benchmark and reports on `out` (progress, the details, the score)
// and `err` (failures, the test programs' own output). Returns the process
// exit code: 0 when the benchmark finished and every report was written, 1
// when it failed. Needs a QCoreApplication.
int RunHeadless(const HeadlessSetup& setup, std::ostream& out, std::ostream& err);

}  // namespace kovrin::cli
