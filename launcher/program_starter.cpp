#include "program_starter.h"

#include <QDir>
#include <QProcess>

QProcessEnvironment BenchmarkEnvironment(const QProcessEnvironment& inherited) {
  QProcessEnvironment environment = inherited;
  for (const char* name : {"vblank_mode", "__GL_SYNC_TO_VBLANK"}) {
    const QString key = QString::fromLatin1(name);
    if (!environment.contains(key)) environment.insert(key, QStringLiteral("0"));
  }
  return environment;
}

bool StartTestProgramDetached(const QString& folder, const QString& program) {
  QProcess process;
  process.setProgram(QDir(folder).filePath(program));
  process.setArguments({});
  process.setWorkingDirectory(folder);
  process.setProcessEnvironment(BenchmarkEnvironment(QProcessEnvironment::systemEnvironment()));
  return process.startDetached();
}
