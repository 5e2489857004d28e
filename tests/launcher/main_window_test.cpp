// The main window on the offscreen platform: its controls, its handlers and
// its timers, with the test program start and the launcher's end faked.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <signal.h>
#include <sys/stat.h>

#include <QElapsedTimer>
#include <QProcess>

#include <memory>
#include <string>

#include "kovrin_version.h"
#include "launcher/core/launcher_text.h"
#include "launcher/frmMain.h"
#include "launcher/frmSystemInfo.h"
#include "launcher/process/program_starter.h"
#include "launcher/process/user_locale.h"
#include "launcher/sysinfo/sysinfo_provider.h"
#include "tests/launcher/launcher_test_support.h"
#include "tests/launcher/stderr_capture.h"
#include "tests/support/gui_controls.h"
#include "tests/support/qt_scratch_folder.h"

using kovrin::process::BenchmarkEnvironment;
using kovrin::process::PrepareTestProgram;
using kovrin::process::UserDecimalSeparator;

using kovrin::test::launcher::Exists;

namespace {

// Texts as Qt Test prints them in a failure.
QString Text(const std::string& text) { return QString::fromStdString(text); }
QString Text(const std::optional<std::string>& text) {
  return text ? QString::fromStdString(*text) : QStringLiteral("<no file>");
}

}  // namespace

using kovrin::test::WriteFile;
using kovrin::test::launcher::ReadBytes;

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void captionIsBuiltFromTheVersion();
  void controls_data();
  void controls();
  void resultLabelFontIsSans24Bold();
  void tabOrder();
  void bannerIsDrawnAtTheTopLeft();
  void timersRunFromLoad();
  void startsIdleWithNoFileTouched();
  void checkTimerDisablesResultButtonsWithoutResult();
  void checkTimerEnablesResultButtonsWithResult();
  void checkTimerEnablesChangeOnlyWithCustomOption();
  void benchmarkStartsTheFirstRunAtTheNextTick();
  void benchmarkWithCustomOptionSetsCustomBench();
  void clearResults();
  void optionButtonsClear();
  void selectedOptionAgainChangesNothing_data();
  void selectedOptionAgainChangesNothing();
  void submitIgnoredWithoutScore();
  void exitEndsTheRunAndDeletesTheFiles();
  void endingDuringARunEndsTheProgramFirst_data();
  void endingDuringARunEndsTheProgramFirst();
  void benchmarkDuringARunEndsTheFirstProgramBeforeTheSecondStarts();
  void aFifoInPlaceOfTheResultIsNotThereYet();
  void closingDeletesTheFiles();
  void cleanupFailureShowsTheMessageAndEnds();
  void untrappedErrorIsShownWithItsNumberThenTheLauncherEnds();
  void benchmarkEnvironmentTurnsVsyncOffUnlessTheUserChose();
  void testProgramStartsInTheLauncherFolder();
  void scoreUsesTheUserDecimalSeparator();

 private:
  template <typename T>
  T* Control(const char* name) const {
    return kovrin::test::Control<T>(window.get(), name);
  }
  std::filesystem::path File(const char* name) const { return std::filesystem::path(dir->path().toStdString()) / name; }
  // realPrograms: the window starts the stand-in programs in the folder.
  std::unique_ptr<frmMain> MakeWindow(bool runTimers, bool realPrograms = false) {
    LauncherSetup setup;
    setup.folder = dir->path();
    if (!realPrograms) {
      setup.startProgram = [this](const kovrin::launcher::BenchRun& run) {
        started << QString::fromUtf8(kovrin::launcher::ProgramName(run.test).data());
        return true;
      };
    }
    setup.endLauncher = [this](int code) { endCodes << code; };
    setup.runTimers = runTimers;
    return std::make_unique<frmMain>(std::move(setup));
  }

  std::unique_ptr<kovrin::test::QtScratchFolder> dir;
  std::unique_ptr<frmMain> window;
  QStringList started;
  QList<int> endCodes;
};

void MainWindowTest::initTestCase() { qputenv("KOVRIN_MSGBOX", "default"); }

void MainWindowTest::init() {
  dir = std::make_unique<kovrin::test::QtScratchFolder>();
  QVERIFY(dir->isValid());
  started.clear();
  endCodes.clear();
  window = MakeWindow(false);
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void MainWindowTest::cleanup() {
  window.reset();
  dir.reset();
}

void MainWindowTest::captionIsBuiltFromTheVersion() {
  QCOMPARE(window->windowTitle(), QStringLiteral("Kovrin 2002 - %1.%2.%3")
                                      .arg(kKovrinVersionMajor)
                                      .arg(kKovrinVersionMinor)
                                      .arg(kKovrinVersionPatch));
  QCOMPARE(window->size(), QSize(473, 399));
}

void MainWindowTest::controls_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("container");
  QTest::addColumn<QRect>("twips");
  QTest::addColumn<bool>("enabled");
  QTest::addColumn<int>("checked");  // -1: not a check control

  auto row = [](const char* name, const char* kind, const char* caption, const char* container, QRect twips,
                bool enabled, int checked) {
    QTest::newRow(name) << name << kind << QString::fromUtf8(caption) << container << twips << enabled << checked;
  };
  row("frTests", "QGroupBox", "Tests", "frmMain", {120, 1560, 3255, 1575}, true, -1);
  row("optFullBench", "QRadioButton", "&Default Benchmark", "frTests", {120, 360, 2895, 255}, true, 1);
  row("optCustomBench", "QRadioButton", "&Customized Benchmark", "frTests", {120, 720, 2895, 255}, false, 0);
  row("cmdCustomize", "QPushButton", "Ch&ange", "frTests", {1680, 1080, 1335, 375}, true, -1);
  row("frSystem", "QGroupBox", "System", "frmMain", {3600, 1560, 3375, 1575}, true, -1);
  row("lblSystem", "QLabel", "", "frSystem", {240, 240, 3015, 735}, true, -1);
  row("cmdSystemInfo", "QPushButton", "System Info", "frSystem", {1800, 1080, 1335, 375}, true, -1);
  row("frRun", "QGroupBox", "", "frmMain", {120, 3240, 6855, 2175}, true, -1);
  row("optLoop", "QRadioButton", "Benchmark Loop", "frRun", {240, 360, 2295, 255}, false, 0);
  row("frResult", "QGroupBox", "Result", "frRun", {3720, 360, 2895, 975}, true, -1);
  row("lblResult", "QLabel", "", "frResult", {120, 240, 2655, 615}, true, -1);
  row("cmdDetails", "QPushButton", "&Details...", "frRun", {1680, 840, 1215, 375}, true, -1);
  row("cmdClear", "QPushButton", "&Clear Results", "frRun", {240, 1440, 1215, 375}, true, -1);
  row("cmdSubmit", "QPushButton", "&Submit Results", "frRun", {1680, 1440, 1215, 375}, true, -1);
  row("cmdRun", "QPushButton", "&Benchmark", "frRun", {3720, 1440, 2895, 375}, true, -1);
  row("cmdExit", "QPushButton", "&Exit", "frmMain", {5040, 5520, 1935, 375}, true, -1);
}

// Positions are checked in twips, the unit the layout was drawn in.
void MainWindowTest::controls() {
  QFETCH(QString, name);
  QFETCH(QString, kind);
  QFETCH(QString, caption);
  QFETCH(QString, container);
  QFETCH(QRect, twips);
  QFETCH(bool, enabled);
  QFETCH(int, checked);

  QWidget* control = window->findChild<QWidget*>(name);
  QVERIFY2(control != nullptr, qPrintable(name + " missing"));
  QCOMPARE(QString::fromLatin1(control->metaObject()->className()), kind);
  QCOMPARE(control->parentWidget()->objectName(), container);
  const QRect g = control->geometry();
  QCOMPARE(QRect(g.x() * 15, g.y() * 15, g.width() * 15, g.height() * 15), twips);
  QCOMPARE(control->isEnabled(), enabled);
  if (auto* box = qobject_cast<QGroupBox*>(control)) QCOMPARE(box->title(), caption);
  if (auto* button = qobject_cast<QAbstractButton*>(control)) QCOMPARE(button->text(), caption);
  if (auto* label = qobject_cast<QLabel*>(control)) QCOMPARE(label->text(), caption);
  if (checked >= 0) QCOMPARE(qobject_cast<QAbstractButton*>(control)->isChecked(), checked == 1);
}

void MainWindowTest::resultLabelFontIsSans24Bold() {
  const QFont font = Control<QLabel>("lblResult")->font();
  QCOMPARE(font.pointSize(), 24);
  QVERIFY(font.bold());
  const QFontInfo used(font);
  QVERIFY2(used.family().contains(QLatin1String("Sans")), qPrintable("a sans face expected, got " + used.family()));
}

void MainWindowTest::tabOrder() {
  const QStringList expected = {"optFullBench", "optCustomBench", "cmdCustomize", "cmdRun",     "optLoop",
                                "cmdClear",     "cmdSubmit",      "cmdExit",      "cmdDetails", "cmdSystemInfo"};
  QStringList chain;
  QWidget* first = Control<QWidget>("optFullBench");
  QWidget* widget = first;
  do {
    if (expected.contains(widget->objectName())) chain << widget->objectName();
    widget = widget->nextInFocusChain();
  } while (widget != first && chain.size() <= expected.size());
  QCOMPARE(chain, expected);
}

void MainWindowTest::bannerIsDrawnAtTheTopLeft() {
  const QImage banner(QStringLiteral(":/launcher/banner.png"));
  QCOMPARE(banner.size(), QSize(500, 100));
  QCOMPARE(banner.depth(), 32);  // decoded RGB888 becomes RGB32
  const QImage shown = window->grab().toImage();
  for (const QPoint at : {QPoint(0, 0), QPoint(30, 40), QPoint(200, 70), QPoint(472, 99)}) {
    QCOMPARE(QColor(shown.pixel(at)).name(), QColor(banner.pixel(at)).name());
  }
}

void MainWindowTest::timersRunFromLoad() {
  auto timed = MakeWindow(true);
  QVERIFY(timed->CheckTimer.isActive());
  QCOMPARE(timed->CheckTimer.interval(), 100);
  QVERIFY(timed->StatusTimer.isActive());
  QCOMPARE(timed->StatusTimer.interval(), 1200);
}

void MainWindowTest::startsIdleWithNoFileTouched() {
  WriteFile(File("results.fps"), "5\r\n");
  auto fresh = MakeWindow(false);
  QCOMPARE(Text(fresh->Sequence().BenchState()), QString());
  QCOMPARE(fresh->lblResult()->text(), QString());
  QCOMPARE(fresh->QuillfireFPS_1_1, 0);
  QCOMPARE(fresh->LumavaneFPS_3_2, 0);
  QCOMPARE(fresh->Result, 0);
  QVERIFY(Exists(File("results.fps")));
}

void MainWindowTest::checkTimerDisablesResultButtonsWithoutResult() {
  window->CheckTimer_Timer();
  for (const char* name : {"cmdDetails", "cmdClear", "cmdSubmit", "cmdCustomize"}) {
    QVERIFY2(!Control<QWidget>(name)->isEnabled(), name);
  }
  for (const char* name : {"cmdRun", "cmdExit", "cmdSystemInfo", "optFullBench"}) {
    QVERIFY2(Control<QWidget>(name)->isEnabled(), name);
  }
}

void MainWindowTest::checkTimerEnablesResultButtonsWithResult() {
  window->CheckTimer_Timer();
  window->lblResult()->setText(QStringLiteral("100 fps"));
  window->CheckTimer_Timer();
  for (const char* name : {"cmdDetails", "cmdClear", "cmdSubmit"}) QVERIFY2(Control<QWidget>(name)->isEnabled(), name);
  QVERIFY(!Control<QWidget>("cmdCustomize")->isEnabled());
}

void MainWindowTest::checkTimerEnablesChangeOnlyWithCustomOption() {
  Control<QRadioButton>("optCustomBench")->setChecked(true);
  window->CheckTimer_Timer();
  QVERIFY(Control<QWidget>("cmdCustomize")->isEnabled());
  Control<QRadioButton>("optFullBench")->setChecked(true);
  window->CheckTimer_Timer();
  QVERIFY(!Control<QWidget>("cmdCustomize")->isEnabled());
}

void MainWindowTest::benchmarkStartsTheFirstRunAtTheNextTick() {
  QTest::mouseClick(Control<QPushButton>("cmdRun"), Qt::LeftButton);
  QCOMPARE(Text(window->Sequence().BenchState()), QStringLiteral("FullBenchStart"));
  QVERIFY(started.isEmpty());
  QVERIFY(!Exists(File("config.cfg")));

  window->StatusTimer_Timer();
  QCOMPARE(started, QStringList{"Quillfire"});
  QCOMPARE(Text(ReadBytes(File("config.cfg"))), QStringLiteral("GL_RESX=640;\r\nGL_RESY=480;\r\nGL_BITDEPTH=16;\r\n"));
  QCOMPARE(Text(window->Sequence().BenchState()), QStringLiteral("Quillfire_1_1"));

  WriteFile(File("results.fps"), "321\r\n");
  window->StatusTimer_Timer();
  QCOMPARE(window->QuillfireFPS_1_1, 321);
  QCOMPARE(Text(window->Sequence().BenchState()), QStringLiteral("Quillfire_1_2_Start"));
}

void MainWindowTest::benchmarkWithCustomOptionSetsCustomBench() {
  Control<QRadioButton>("optCustomBench")->setChecked(true);
  QTest::mouseClick(Control<QPushButton>("cmdRun"), Qt::LeftButton);
  QCOMPARE(Text(window->Sequence().BenchState()), QStringLiteral("CustomBench"));
}

void MainWindowTest::clearResults() {
  WriteFile(File("config.cfg"), "c");
  WriteFile(File("results.fps"), "1\r\n");
  window->QuillfireFPS_2_2 = 77;
  window->Result = 88;
  window->lblResult()->setText(QStringLiteral("88 fps"));
  window->Sequence().SetBenchState("Lumavane_1_1");
  window->CheckTimer_Timer();

  QTest::mouseClick(Control<QPushButton>("cmdClear"), Qt::LeftButton);

  QVERIFY(!Exists(File("config.cfg")));
  QVERIFY(!Exists(File("results.fps")));
  QCOMPARE(window->lblResult()->text(), QString());
  QCOMPARE(Text(window->Sequence().BenchState()), QString());
  QCOMPARE(window->QuillfireFPS_2_2, 77);
  QCOMPARE(window->Result, 88);
  window->CheckTimer_Timer();
  QVERIFY(!Control<QWidget>("cmdClear")->isEnabled());
}

// Selecting the other option clears; coming back to the default one by a
// click clears again.
void MainWindowTest::optionButtonsClear() {
  WriteFile(File("config.cfg"), "c");
  window->lblResult()->setText(QStringLiteral("88 fps"));
  // The customised option is disabled, so it is selected as Change selects it.
  Control<QRadioButton>("optCustomBench")->setChecked(true);
  QVERIFY(!Exists(File("config.cfg")));
  QCOMPARE(window->lblResult()->text(), QString());

  WriteFile(File("results.fps"), "1\r\n");
  window->lblResult()->setText(QStringLiteral("88 fps"));
  QTest::mouseClick(Control<QRadioButton>("optFullBench"), Qt::LeftButton);
  QVERIFY(Control<QRadioButton>("optFullBench")->isChecked());
  QVERIFY(!Exists(File("results.fps")));
  QCOMPARE(window->lblResult()->text(), QString());
}

void MainWindowTest::selectedOptionAgainChangesNothing_data() {
  QTest::addColumn<QString>("benchState");
  QTest::addColumn<QString>("score");
  QTest::addColumn<bool>("byKey");
  QTest::newRow("click during a run") << "Quillfire_2_1" << QString() << false;
  QTest::newRow("Alt+D during a run") << "Lumavane_1_2_Start" << QString() << true;
  // After a run Alt+D is also "&Details...", so it only moves the focus.
  QTest::newRow("click after a run") << QString() << "123.4 fps" << false;
}

// The default option is selected already: its click or its Alt key must not
// end the run (its hand-off files deleted, its state emptied) nor wipe the
// score.
void MainWindowTest::selectedOptionAgainChangesNothing() {
  QFETCH(QString, benchState);
  QFETCH(QString, score);
  QFETCH(bool, byKey);
  window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window.get()));
  WriteFile(File("config.cfg"), "GL_RESX=1024;\r\n");
  WriteFile(File("results.fps"), "55\r\n");
  window->Sequence().SetBenchState(benchState.toStdString());
  window->lblResult()->setText(score);
  window->CheckTimer_Timer();
  auto* option = Control<QRadioButton>("optFullBench");
  QVERIFY(option->isChecked());

  QSignalSpy clicked(option, &QRadioButton::clicked);
  if (byKey) {
    QTest::keyClick(window.get(), Qt::Key_D, Qt::AltModifier);
  } else {
    QTest::mouseClick(option, Qt::LeftButton);
  }
  // A mnemonic presses the button and releases it a moment later.
  QTRY_COMPARE(clicked.count(), 1);

  QVERIFY(option->isChecked());
  QCOMPARE(Text(ReadBytes(File("config.cfg"))), QStringLiteral("GL_RESX=1024;\r\n"));
  QCOMPARE(Text(ReadBytes(File("results.fps"))), QStringLiteral("55\r\n"));
  QCOMPARE(Text(window->Sequence().BenchState()), benchState);
  QCOMPARE(window->lblResult()->text(), score);
}

void MainWindowTest::submitIgnoredWithoutScore() {
  const qsizetype windowsBefore = QApplication::topLevelWidgets().size();
  window->lblResult()->setText(QStringLiteral("n.a."));
  window->cmdSubmit_Click();
  window->lblResult()->setText(QString());
  window->cmdSubmit_Click();
  QCOMPARE(QApplication::topLevelWidgets().size(), windowsBefore);
  QVERIFY(window->isEnabled());
}

// Exit no longer leaves the hand-off files behind: it ends like closing the
// window, so that nothing of a cut-short run stays for the next launcher.
void MainWindowTest::exitEndsTheRunAndDeletesTheFiles() {
  WriteFile(File("config.cfg"), "c");
  WriteFile(File("results.fps"), "1\r\n");
  QTest::mouseClick(Control<QPushButton>("cmdExit"), Qt::LeftButton);
  QCOMPARE(endCodes, QList<int>{0});
  QVERIFY(!Exists(File("config.cfg")));
  QVERIFY(!Exists(File("results.fps")));
  WriteFile(File("config.cfg"), "c");
  window->close();  // the launcher has ended: no second clean-up follows
  QVERIFY(Exists(File("config.cfg")));
  QCOMPARE(endCodes, QList<int>{0});
}

namespace {

// A stand-in test program: notes its process id, says whether another
// stand-in is still alive as it starts, then draws for a long time. With
// `ignoreTerm` only SIGKILL ends it.
void WriteStandIn(const QString& folder, const char* name, bool ignoreTerm) {
  const QString path = QDir(folder).filePath(QString::fromLatin1(name));
  WriteFile(path.toStdString(),
            std::string("#!/bin/sh\n") +
                "for p in $(cat pids 2>/dev/null); do kill -0 $p 2>/dev/null && echo $p >> overlap; done\n" +
                // The trap holds before the number is seen.
                (ignoreTerm ? "trap '' TERM\n" : "") + "echo $$ >> pids\n" + "exec sleep 60\n");
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QList<int> StandInPids(const QString& folder) {
  QList<int> pids;
  const std::optional<std::string> text = ReadBytes((QDir(folder).filePath(QStringLiteral("pids"))).toStdString());
  for (const QString& line : QString::fromStdString(text.value_or("")).split('\n', Qt::SkipEmptyParts)) {
    pids << line.toInt();
  }
  return pids;
}

bool Alive(int pid) { return ::kill(pid, 0) == 0; }

}  // namespace

void MainWindowTest::endingDuringARunEndsTheProgramFirst_data() {
  QTest::addColumn<QString>("how");
  QTest::addColumn<bool>("ignoreTerm");
  QTest::addColumn<int>("exitCode");
  QTest::newRow("exit") << "exit" << false << 0;
  QTest::newRow("close") << "close" << false << 0;
  QTest::newRow("sigterm") << "signal" << false << 143;
  QTest::newRow("exit, program ignores SIGTERM") << "exit" << true << 0;
}

void MainWindowTest::endingDuringARunEndsTheProgramFirst() {
  QFETCH(QString, how);
  QFETCH(bool, ignoreTerm);
  QFETCH(int, exitCode);
  WriteStandIn(dir->path(), "Quillfire", ignoreTerm);
  auto running = MakeWindow(false, true);
  running->cmdRun_Click();
  running->StatusTimer_Timer();
  QVERIFY(running->ProgramRunning());
  QTRY_COMPARE_WITH_TIMEOUT(StandInPids(dir->path()).size(), 1, 10000);
  const int pid = StandInPids(dir->path()).front();
  QVERIFY(Exists(File("config.cfg")));

  QElapsedTimer clock;
  clock.start();
  if (how == QLatin1String("exit")) running->cmdExit_Click();
  if (how == QLatin1String("close")) running->close();
  if (how == QLatin1String("signal")) running->EndBySignal(exitCode);

  QCOMPARE(endCodes, QList<int>{exitCode});
  QVERIFY2(!Alive(pid), "the test program outlived the launcher's end");
  QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed()) + " ms"));
  QVERIFY(!Exists(File("config.cfg")));
}

// The first program is asked to end at once; the status tick that would
// start the second waits until it has.
void MainWindowTest::benchmarkDuringARunEndsTheFirstProgramBeforeTheSecondStarts() {
  WriteStandIn(dir->path(), "Quillfire", true);  // ends only by SIGKILL, 3 s on
  auto running = MakeWindow(false, true);
  running->cmdRun_Click();
  running->StatusTimer_Timer();
  QTRY_COMPARE_WITH_TIMEOUT(StandInPids(dir->path()).size(), 1, 10000);

  running->cmdRun_Click();
  running->StatusTimer_Timer();
  QCOMPARE(StandInPids(dir->path()).size(), 1);
  QCOMPARE(Text(running->Sequence().BenchState()), QStringLiteral("FullBenchStart"));
  QTRY_VERIFY_WITH_TIMEOUT(!running->ProgramRunning(), 10000);
  running->StatusTimer_Timer();
  QTRY_COMPARE_WITH_TIMEOUT(StandInPids(dir->path()).size(), 2, 10000);
  QVERIFY2(!Exists(File("overlap")), "the second program started while the first still ran");
  QCOMPARE(Text(running->Sequence().BenchState()), QStringLiteral("Quillfire_1_1"));
  running->cmdExit_Click();
  for (const int pid : StandInPids(dir->path())) QVERIFY(!Alive(pid));
}

void MainWindowTest::closingDeletesTheFiles() {
  WriteFile(File("config.cfg"), "c");
  WriteFile(File("results.fps"), "1\r\n");
  window->Sequence().SetBenchState("Quillfire_2_1");
  window->close();
  QVERIFY(!Exists(File("config.cfg")));
  QVERIFY(!Exists(File("results.fps")));
  QCOMPARE(endCodes, QList<int>{0});
  QCOMPARE(started, QStringList());
}

void MainWindowTest::cleanupFailureShowsTheMessageAndEnds() {
  WriteFile(File("results.fps"), "1\r\n");  // config.cfg is missing
  window->Sequence().SetBenchState("Quillfire_1_2_Start");

  kovrin::test::launcher::StderrCapture capture;
  window->StatusTimer_Timer();
  const std::string printed = capture.Text();

  QCOMPARE(endCodes, QList<int>{kovrin::launcher::kCleanupFailureExitCode});
  const std::string expected =
      "[msgbox] caption: Kovrin | text: Es ist ein bekannter Fehler aufgetreten!\\n"
      "Eine Datei konnte nicht gel\xC3\xB6scht werden\\nUm Cheat-Sicherheit zu gew\xC3\xA4hren wird "
      "abgebrochen. | buttons: OK | answer: OK\n";
  QCOMPARE(Text(printed), Text(expected));
  QVERIFY(Exists(File("results.fps")));
  QVERIFY(started.isEmpty());

  window->StatusTimer_Timer();  // the launcher has ended: no further step
  window->close();
  QVERIFY(Exists(File("results.fps")));
  QCOMPARE(endCodes, QList<int>{kovrin::launcher::kCleanupFailureExitCode});
}

// The system report is the handler whose platform calls can fail outright.
void MainWindowTest::untrappedErrorIsShownWithItsNumberThenTheLauncherEnds() {
  SetSystemInfoProviderFactory([]() -> std::unique_ptr<kovrin::sysinfo::Provider> {
    throw kovrin::launcher::UntrappedError(13, "adapter cannot be opened");
  });
  const QWidgetList before = QApplication::topLevelWidgets();

  kovrin::test::launcher::StderrCapture capture;
  QTest::mouseClick(Control<QPushButton>("cmdSystemInfo"), Qt::LeftButton);
  const std::string printed = capture.Text();

  SetSystemInfoProviderFactory({});
  for (QWidget* opened : QApplication::topLevelWidgets()) {
    if (!before.contains(opened) && opened != window.get()) delete opened;
  }
  QCOMPARE(Text(printed), QStringLiteral("[msgbox] caption: Kovrin | text: Error 13: adapter cannot be opened | "
                                         "buttons: OK | answer: OK\n"));
  QCOMPARE(endCodes, QList<int>{kovrin::launcher::kUntrappedErrorExitCode});
}

void MainWindowTest::benchmarkEnvironmentTurnsVsyncOffUnlessTheUserChose() {
  QProcessEnvironment inherited;
  inherited.insert(QStringLiteral("KOVRIN_MSGBOX"), QStringLiteral("default"));
  const QProcessEnvironment plain = BenchmarkEnvironment(inherited);
  QCOMPARE(plain.value(QStringLiteral("vblank_mode")), QStringLiteral("0"));
  QCOMPARE(plain.value(QStringLiteral("__GL_SYNC_TO_VBLANK")), QStringLiteral("0"));
  QCOMPARE(plain.value(QStringLiteral("KOVRIN_MSGBOX")), QStringLiteral("default"));

  inherited.insert(QStringLiteral("vblank_mode"), QStringLiteral("3"));
  inherited.insert(QStringLiteral("__GL_SYNC_TO_VBLANK"), QStringLiteral("1"));
  const QProcessEnvironment chosen = BenchmarkEnvironment(inherited);
  QCOMPARE(chosen.value(QStringLiteral("vblank_mode")), QStringLiteral("3"));
  QCOMPARE(chosen.value(QStringLiteral("__GL_SYNC_TO_VBLANK")), QStringLiteral("1"));
}

// The tick returns at once and keeps waiting; the window stays usable and
// its end removes the FIFO like any result file.
void MainWindowTest::aFifoInPlaceOfTheResultIsNotThereYet() {
  QCOMPARE(::mkfifo(File("results.fps").c_str(), 0600), 0);
  WriteFile(File("config.cfg"), "c");
  window->Sequence().SetBenchState("Quillfire_1_1");
  QElapsedTimer clock;
  clock.start();
  for (int tick = 0; tick < 3; ++tick) window->StatusTimer_Timer();
  QVERIFY2(clock.elapsed() < 10000, "the status tick blocked on the FIFO");
  QCOMPARE(Text(window->Sequence().BenchState()), QStringLiteral("Quillfire_1_1"));
  window->cmdExit_Click();
  QCOMPARE(endCodes, QList<int>{0});
  QVERIFY(!std::filesystem::exists(std::filesystem::symlink_status(File("results.fps"))));
}

// A stand-in program reports where it ran, its arguments and its environment.
void MainWindowTest::testProgramStartsInTheLauncherFolder() {
  const QString probe = dir->filePath(QStringLiteral("Probe"));
  WriteFile(probe.toStdString(),
            "#!/bin/sh\n"
            "echo \"$(pwd)|$#|$vblank_mode|$KOVRIN_PROBE\" > probe.tmp && mv probe.tmp probe.txt\n");
  QFile::setPermissions(probe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("KOVRIN_PROBE", "passed");

  const kovrin::test::QtScratchFolder elsewhere;
  const QString before = QDir::currentPath();
  QDir::setCurrent(elsewhere.path());
  QProcess probeProcess;
  PrepareTestProgram(probeProcess, dir->path(), QStringLiteral("Probe"),
                     BenchmarkEnvironment(QProcessEnvironment::systemEnvironment()));
  probeProcess.start();
  const bool startedProbe = probeProcess.waitForStarted();
  QDir::setCurrent(before);
  qunsetenv("KOVRIN_PROBE");

  QVERIFY(startedProbe);
  QVERIFY(probeProcess.waitForFinished(30000));
  QVERIFY(Exists(File("probe.txt")));
  const QString expected = QDir(dir->path()).canonicalPath() + QStringLiteral("|0|0|passed\n");
  QCOMPARE(Text(ReadBytes(File("probe.txt"))), expected);
  QProcess missing;
  PrepareTestProgram(missing, dir->path(), QStringLiteral("Missing"), QProcessEnvironment::systemEnvironment());
  missing.start();
  QVERIFY(!missing.waitForStarted());
}

// Run once per locale by the test registration, which names the separator
// the user's locale must give.
void MainWindowTest::scoreUsesTheUserDecimalSeparator() {
  const QByteArray expected = qgetenv("KOVRIN_EXPECT_DECIMAL_SEPARATOR");
  if (expected.isEmpty()) QSKIP("run with LC_ALL and KOVRIN_EXPECT_DECIMAL_SEPARATOR set");
  QCOMPARE(Text(UserDecimalSeparator()), QString::fromLatin1(expected));

  for (const auto& run : kovrin::launcher::kFullBenchmark) (*window).*run.field = 100;
  window->QuillfireFPS_1_1 = 99;  // sum 1199
  window->Sequence().SetBenchState("FullBenchEnd");
  window->StatusTimer_Timer();
  QCOMPARE(window->lblResult()->text(), QStringLiteral("99%1 fps").arg(QString::fromLatin1(expected) + "9"));
  QCOMPARE(window->Result, 100);

  WriteFile(File("results.fps"), "245" + expected.toStdString() + "5\r\n");
  window->Sequence().SetBenchState("Lumavane_1_1");
  window->StatusTimer_Timer();
  QCOMPARE(window->LumavaneFPS_1_1, 246);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
