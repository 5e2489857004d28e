#include "launcher/process/program_starter.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>

#include <QDir>
#include <QTimer>

namespace kovrin::process {

QProcessEnvironment BenchmarkEnvironment(const QProcessEnvironment& inherited) {
  QProcessEnvironment environment = inherited;
  for (const char* name : {"vblank_mode", "__GL_SYNC_TO_VBLANK"}) {
    const QString key = QString::fromLatin1(name);
    if (!environment.contains(key)) environment.insert(key, QStringLiteral("0"));
  }
  return environment;
}

void PrepareTestProgram(QProcess& process, const QString& folder, const QString& program,
                        const QProcessEnvironment& environment) {
  process.setProgram(QDir(folder).filePath(program));
  process.setArguments({});
  process.setWorkingDirectory(folder);
  process.setProcessEnvironment(environment);
  process.setStandardInputFile(QProcess::nullDevice());
  // Runs in the child between fork and exec. A launcher killed outright
  // cannot end its program; the kernel then does it on the launcher's behalf.
  const pid_t launcher = ::getpid();
  process.setChildProcessModifier([launcher] {
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != launcher) ::_exit(127);
  });
}

void AskProgramToEnd(QProcess& process) {
  if (process.state() == QProcess::NotRunning) return;
  process.terminate();
  QTimer::singleShot(kProgramStopGraceMs, &process, [&process] {
    if (process.state() != QProcess::NotRunning) process.kill();
  });
}

void EndProgram(QProcess& process) {
  if (process.state() == QProcess::NotRunning) return;
  process.terminate();
  if (process.waitForFinished(kProgramStopGraceMs)) return;
  process.kill();
  process.waitForFinished(kProgramStopGraceMs);
}

}  // namespace kovrin::process
