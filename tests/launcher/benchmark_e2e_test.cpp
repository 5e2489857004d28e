// The whole default benchmark: the main window in this process, driven by its
// own timers, starting the real test programs from the run folder.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <memory>

#include "launcher/core/score.h"
#include "launcher/frmMain.h"
#include "launcher/process/user_locale.h"

using kovrin::process::UserDecimalSeparator;

class BenchmarkEndToEnd : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void fullDefaultBenchmark();
  void cleanupTestCase();

 private:
  void RemoveHandoffFiles();

  QDir runFolder{QStringLiteral(KOVRIN_RUN_DIR)};
};

void BenchmarkEndToEnd::initTestCase() {
  for (const char* program : {"Quillfire", "Lumavane"}) {
    const QFileInfo file(runFolder.filePath(QLatin1String(program)));
    QVERIFY2(file.isExecutable(), qPrintable(file.filePath() + " is not built"));
  }
  // Whatever a crashed earlier run left must not pass for a result.
  RemoveHandoffFiles();
}

void BenchmarkEndToEnd::fullDefaultBenchmark() {
  QList<int> endCodes;
  LauncherSetup setup;
  setup.folder = runFolder.path();
  setup.endLauncher = [&endCodes](int code) { endCodes << code; };
  frmMain window(std::move(setup));
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));

  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdRun")), Qt::LeftButton);

  // Twelve runs of about eight seconds each plus the ticks between them; the
  // limit only stops a stalled run from hanging the suite.
  QTRY_VERIFY_WITH_TIMEOUT(!window.lblResult()->text().isEmpty() || !endCodes.isEmpty(), 15 * 60 * 1000);
  QVERIFY2(endCodes.isEmpty(), "the launcher ended during the benchmark");
  QVERIFY(window.Sequence().BenchState().empty());

  for (const auto& run : kovrin::launcher::kFullBenchmark) {
    const int32_t fps = window.*run.field;
    QVERIFY2(fps > 0, qPrintable(QStringLiteral("%1 at %2 x %3, %4 bit: %5 fps")
                                     .arg(QString::fromUtf8(kovrin::launcher::ProgramName(run.test).data()))
                                     .arg(kovrin::launcher::ResolutionWidth(run.resIndex))
                                     .arg(kovrin::launcher::ResolutionHeight(run.resIndex))
                                     .arg(kovrin::launcher::DepthBits(run.depthIndex))
                                     .arg(fps)));
  }
  const kovrin::launcher::Score score = kovrin::launcher::ComputeScore(window, UserDecimalSeparator());
  QCOMPARE(window.lblResult()->text(), QString::fromStdString(score.label));
  QCOMPARE(window.Result, score.result);

  window.CheckTimer_Timer();
  if (const QByteArray shots = qgetenv("KOVRIN_SCREENSHOT_DIR"); !shots.isEmpty()) {
    const QString path = QDir(QString::fromLocal8Bit(shots)).filePath(QStringLiteral("launcher-main.png"));
    QVERIFY2(window.grab().save(path), qPrintable("cannot write " + path));
  }

  // Closing the window is the unload: it takes both hand-off files away.
  window.close();
  QCOMPARE(endCodes, QList<int>{0});
  QVERIFY(!QFileInfo::exists(runFolder.filePath(QStringLiteral("config.cfg"))));
  QVERIFY(!QFileInfo::exists(runFolder.filePath(QStringLiteral("results.fps"))));
}

void BenchmarkEndToEnd::cleanupTestCase() { RemoveHandoffFiles(); }

void BenchmarkEndToEnd::RemoveHandoffFiles() {
  runFolder.remove(QStringLiteral("config.cfg"));
  runFolder.remove(QStringLiteral("results.fps"));
}

QTEST_MAIN(BenchmarkEndToEnd)
#include "benchmark_e2e_test.moc"
