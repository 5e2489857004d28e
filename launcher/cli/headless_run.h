// The default benchmark without a window, driven from the command line.
//
// The run is the main window's: the same BenchSequence, ticked by a timer of
// its own, with the same hand-off files, clean-ups and score. What differs is
// how it meets the user: progress lines instead of a label, the strict
// clean-up's refusal on stderr instead of a box, a time-out instead of an
// endless wait, and the test programs kept as child processes so that their
// diagnostics can be read and a stuck one can be stopped.
//
// Ticks come every 100 ms rather than the window's 1200 ms: a run's result is
// taken as soon as it is there, and instead of a fixed pause the next run
// starts once the previous test program has ended, so two programs never
// draw at the same time and no run waits idle for a tick.
#pragma once

#include <QProcessEnvironment>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace desktop {
class ModeSource;
}

namespace cli {

struct HeadlessSetup {
  // Holds the test programs, default.fnt, data/ and the hand-off files.
  std::filesystem::path folder;
  // How long one run may take, from the start of its test program until it
  // has left its result and ended.
  int timeoutSeconds = 60;
  std::optional<std::string> jsonFile;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  int tickMs = 100;
  // Where the desktop's mode is read and put back after each test program;
  // nullptr: the X screen of $DISPLAY.
  desktop::ModeSource* desktopModes = nullptr;
};

// What a test program gets in a headless run: the launcher's benchmark
// environment, SDL's offscreen driver when there is no display (neither
// DISPLAY nor WAYLAND_DISPLAY) and the user chose no driver, message boxes
// answered with their default button unless KOVRIN_MSGBOX is set, and the
// diagnostics on.
QProcessEnvironment HeadlessEnvironment(const QProcessEnvironment& inherited);

// Runs the default benchmark and reports on `out` (progress, the details, the
// score) and `err` (failures, the test programs' own output). Returns the
// process exit code: 0 when the benchmark finished and every report was
// written, 1 when it failed. Needs a QCoreApplication.
int RunHeadless(const HeadlessSetup& setup, std::ostream& out, std::ostream& err);

}  // namespace cli
