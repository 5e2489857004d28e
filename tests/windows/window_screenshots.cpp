// Pictures of the three secondary windows for the documentation, taken on the
// offscreen platform: window_screenshots <folder> writes details.png,
// custom.png and submit.png there.
#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <memory>

#include "launcher/frmCustomBench.h"
#include "launcher/frmDetails.h"
#include "launcher/frmMain.h"
#include "launcher/frmSubmit.h"
#include "launcher/webview/web_browser.h"
#include "tests/support/qt_scratch_folder.h"
#include "tests/windows/window_test_support.h"

namespace {

void FillResults(frmMain& main) {
  const int32_t values[12] = {1480, 1122, 655, 512, 301, 233, 2210, 1704, 988, 760, 450, 352};
  int i = 0;
  for (const kovrin::launcher::BenchRun& run : kovrin::launcher::kFullBenchmark) main.*run.field = values[i++];
  main.Result = 897;
  main.lblResult()->setText(QStringLiteral("897.2 fps"));
}

bool Save(QWidget* window, const QString& file) {
  if (!window->grab().save(file)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return false;
  }
  std::printf("%s\n", qPrintable(file));
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_screenshots <folder>\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  kovrin::test::QtScratchFolder launcherFolder;
  std::unique_ptr<frmMain> main = kovrin::test::windows::MakeMainWindow(launcherFolder.path());
  FillResults(*main);
  bool ok = true;

  frmDetails* details = ShowDetails(main.get());
  ok &= Save(details, folder + "/details.png");
  delete details;

  frmCustomBench* custom = ShowCustomBench(main.get());
  ok &= Save(custom, folder + "/custom.png");
  delete custom;

  frmSubmit* submitWindow = ShowSubmit(main.get());
  QSignalSpy complete(submitWindow->Browser(), &WebBrowser::DocumentComplete);
  if (!QTest::qWaitFor([&] { return complete.count() >= 1; }, 120000)) {
    std::fprintf(stderr, "the submission page never finished loading\n");
    return 1;
  }
  QTest::qWait(1500);  // let the page's first frame reach the view
  ok &= Save(submitWindow, folder + "/submit.png");
  delete submitWindow;
  return ok ? 0 : 1;
}
