// Starting, and ending, a test program for one benchmark run.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

namespace kovrin::process {

// The environment a test program gets: the launcher's own, with the driver's
// swap-interval default turned off (Mesa's vblank_mode, NVIDIA's
// __GL_SYNC_TO_VBLANK) so that a run measures drawing, not the display's
// refresh. A value the user has set stands.
QProcessEnvironment BenchmarkEnvironment(const QProcessEnvironment& inherited);

// Sets `process` up to run `program` from `folder` with no arguments and
// `folder` as its working directory: the test programs read and write the
// hand-off files by bare name, so they must run where the launcher keeps
// them. Its input is empty, and it is sent SIGTERM should the launcher die
// without ending it. The caller starts it and chooses its output channels.
void PrepareTestProgram(QProcess& process, const QString& folder, const QString& program,
                        const QProcessEnvironment& environment);

// How long a test program asked to end may take before it is killed.
inline constexpr int kProgramStopGraceMs = 3000;

// Asks a running program to end (SIGTERM) and kills it (SIGKILL) if it is
// still there after the grace time. Returns at once.
void AskProgramToEnd(QProcess& process);

// The same, but returns only once the program is gone: for the launcher's own
// end, which must not leave a program drawing behind it.
void EndProgram(QProcess& process);

}  // namespace kovrin::process
