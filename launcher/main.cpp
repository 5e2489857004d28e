// The launcher: the main window, from which the user runs the benchmark.
#include <QApplication>

#include "frmMain.h"
#include "launcher_text.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(launcher::kApplicationTitle.data(),
                                                     static_cast<qsizetype>(launcher::kApplicationTitle.size())));
  frmMain window;
  window.show();
  return QApplication::exec();
}
