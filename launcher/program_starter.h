// Starting a test program for one benchmark run.
#pragma once

#include <QProcessEnvironment>
#include <QString>

// The environment a test program gets: the launcher's own, with the driver's
// swap-interval default turned off (Mesa's vblank_mode, NVIDIA's
// __GL_SYNC_TO_VBLANK) so that a run measures drawing, not the display's
// refresh. A value the user has set stands.
QProcessEnvironment BenchmarkEnvironment(const QProcessEnvironment& inherited);

// Starts `program` from `folder` with no arguments and `folder` as its working
// directory: the test programs read and write the hand-off files by bare name,
// so they must run where the launcher keeps them. The process is left alone:
// no handle is kept, it is never waited for. False when it could not start.
bool StartTestProgramDetached(const QString& folder, const QString& program);
