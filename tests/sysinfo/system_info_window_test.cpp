// The system information window on the offscreen platform, its report coming
// from a fake provider: modeless, the main window left usable, one window
// that a second opening brings forward without building again.
#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "launcher/core/launcher_text.h"
#include "launcher/frmMain.h"
#include "launcher/frmSystemInfo.h"
#include "tests/support/qt_scratch_folder.h"
#include "tests/sysinfo/fake_provider.h"

namespace {

using kovrin::sysinfo::testing::FakeAdapter;
using kovrin::sysinfo::testing::FakeProvider;

FakeAdapter OneAdapter() {
  FakeAdapter adapter;
  adapter.identity = {"{0000000A-0000-0000-0000-000000000001}", "Test Card", "testdrv"};
  adapter.caps.vidMemTotal = 32ull * 1024 * 1024;
  kovrin::sysinfo::DeviceDesc device;
  device.guid = "{0000000D-0000-0000-0000-000000000001}";
  device.description = "Test Device";
  device.name = "Test";
  device.maxTextureWidth = device.maxTextureHeight = 4096;
  device.zBufferBitDepth = kovrin::sysinfo::kDepth16;
  adapter.devices = {device};
  kovrin::sysinfo::DisplayMode mode;
  mode.width = 640;
  mode.height = 480;
  mode.bitsPerPixel = 32;
  adapter.modes = {mode};
  return adapter;
}

QWidget* OpenSystemInfoWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == QLatin1String("frmSystemInfo") && widget->isVisible()) return widget;
  }
  return nullptr;
}

QStringList ListLines(QWidget* window) {
  QStringList lines;
  const auto* list = window->findChild<QListWidget*>(QStringLiteral("OutList"));
  for (int i = 0; list && i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

// Notes, when the report starts, whether the window is already on screen and
// its list empty.
class WatchingProvider : public FakeProvider {
 public:
  WatchingProvider(bool& shownFirst, bool& listEmpty)
      : FakeProvider({OneAdapter()}), shownFirst_(shownFirst), listEmpty_(listEmpty) {}
  std::vector<kovrin::sysinfo::AdapterIdentity> Adapters() override {
    QWidget* window = OpenSystemInfoWindow();
    shownFirst_ = window != nullptr;
    listEmpty_ = window != nullptr && ListLines(window) == QStringList{QStringLiteral("Display Cards")};
    return FakeProvider::Adapters();
  }

 private:
  bool& shownFirst_;
  bool& listEmpty_;
};

}  // namespace

class SystemInfoWindowTest : public QObject {
  Q_OBJECT

 private:
  int built_ = 0;   // providers handed out: one per report built
  QString failAt_;  // a provider call that fails on its first use
  QWidget* main_ = nullptr;

  void CloseWindow() {
    if (QWidget* window = OpenSystemInfoWindow()) {
      QPointer<QWidget> gone(window);
      window->close();
      QTRY_VERIFY2(gone.isNull(), "the closed window is deleted");
    }
  }

 private slots:
  void init() {
    built_ = 0;
    failAt_.clear();
    SetSystemInfoProviderFactory([this] {
      ++built_;
      auto provider = std::make_unique<FakeProvider>(std::vector<FakeAdapter>{OneAdapter()});
      if (!failAt_.isEmpty()) provider->FailAt(failAt_.toStdString(), 1);
      return provider;
    });
    main_ = new QWidget;
    main_->setWindowTitle(QStringLiteral("main"));
    main_->show();
  }

  void cleanup() {
    CloseWindow();
    delete main_;
    SetSystemInfoProviderFactory({});
  }

  void opensModelessWithItsReport() {
    ShowSystemInfo(main_);
    QWidget* window = OpenSystemInfoWindow();
    QVERIFY2(window != nullptr, "the window is shown");
    QCOMPARE(window->windowTitle(), QStringLiteral("System Info"));
    QCOMPARE(window->windowModality(), Qt::NonModal);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY2(main_->isEnabled(), "the main window stays usable");
    const QStringList lines = ListLines(window);
    QCOMPARE(lines.value(0), QStringLiteral("Display Cards"));
    QVERIFY2(lines.contains(QStringLiteral("  Width           640")), qPrintable(lines.join('\n')));
    QCOMPARE(lines.last(), QString());
    const auto* cancel = window->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
    QVERIFY(cancel != nullptr);
    QCOMPARE(cancel->text(), QStringLiteral("&Cancel"));
    QCOMPARE(built_, 1);
  }

  void theWindowIsShownBeforeTheReportIsBuilt() {
    bool shownFirst = false;
    bool listEmpty = false;
    SetSystemInfoProviderFactory([&] { return std::make_unique<WatchingProvider>(shownFirst, listEmpty); });
    ShowSystemInfo(main_);
    QVERIFY2(shownFirst, "the window is visible when the enumeration starts");
    QVERIFY2(listEmpty, "the list holds only the report's first line when the enumeration starts");
  }

  void secondOpenBringsTheSameWindowWithoutRebuilding() {
    ShowSystemInfo(main_);
    QWidget* first = OpenSystemInfoWindow();
    QVERIFY(first != nullptr);
    auto* list = first->findChild<QListWidget*>(QStringLiteral("OutList"));
    const int lineCount = list->count();
    list->addItem(QStringLiteral("marker"));  // a rebuild would clear it
    ShowSystemInfo(main_);
    QCOMPARE(OpenSystemInfoWindow(), first);
    QCOMPARE(built_, 1);
    QCOMPARE(list->count(), lineCount + 1);
    QCOMPARE(list->item(lineCount)->text(), QStringLiteral("marker"));
    int windows = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->objectName() == QLatin1String("frmSystemInfo")) ++windows;
    }
    QCOMPARE(windows, 1);
  }

  void cancelClosesAndTheNextOpeningBuildsAfresh() {
    ShowSystemInfo(main_);
    QPointer<QWidget> window = OpenSystemInfoWindow();
    QVERIFY(window);
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    QTRY_VERIFY2(window.isNull(), "Cancel unloads the window");
    ShowSystemInfo(main_);
    QVERIFY(OpenSystemInfoWindow() != nullptr);
    QCOMPARE(built_, 2);
  }

  void escapeCloses() {
    ShowSystemInfo(main_);
    QPointer<QWidget> window = OpenSystemInfoWindow();
    QVERIFY(window);
    window->activateWindow();
    QTest::keyClick(window->findChild<QListWidget*>(QStringLiteral("OutList")), Qt::Key_Escape);
    QTRY_VERIFY2(window.isNull(), "Esc unloads the window");
  }

  void staysUsableWhileAnotherWindowDisablesTheMainWindow() {
    ShowSystemInfo(main_);
    main_->setEnabled(false);  // as the details or custom window does
    QWidget* window = OpenSystemInfoWindow();
    QVERIFY(window != nullptr);
    QVERIFY2(window->isEnabled(), "not a child of the main window");
    main_->setEnabled(true);
  }

  void aPlatformFailureLeavesTheLinesSoFarAndReachesTheCaller() {
    failAt_ = QStringLiteral("Modes");
    bool thrown = false;
    try {
      ShowSystemInfo(main_);
    } catch (const kovrin::launcher::UntrappedError& error) {
      thrown = true;
      QCOMPARE(error.Number(), -4);
      QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Modes failed"));
    }
    QVERIFY2(thrown, "the failure is not handled by the window");
    QWidget* window = OpenSystemInfoWindow();
    QVERIFY2(window != nullptr, "the window stays open with what it had");
    const QStringList lines = ListLines(window);
    QVERIFY2(lines.contains(QStringLiteral("     Guid        {0000000D-0000-0000-0000-000000000001}")),
             qPrintable(lines.join('\n')));
    QVERIFY(!lines.contains(QStringLiteral(" Display Modes")));
  }

  // The main window's own button, and its general treatment of errors.
  void theMainWindowsButtonOpensOneReport() {
    kovrin::test::QtScratchFolder folder;
    QList<int> endCodes;
    frmMain launcherWindow(MainWindowSetup(folder, endCodes));
    launcherWindow.show();
    auto* button = launcherWindow.findChild<QPushButton*>(QStringLiteral("cmdSystemInfo"));
    QVERIFY(button != nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    QWidget* window = OpenSystemInfoWindow();
    QVERIFY2(window != nullptr, "System Info opens the window");
    QVERIFY2(launcherWindow.isEnabled(), "the main window stays usable");
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(OpenSystemInfoWindow(), window);
    QCOMPARE(built_, 1);
    QVERIFY(endCodes.isEmpty());
  }

  void aFailureEndsTheLauncherThroughItsErrorHandler() {
    failAt_ = QStringLiteral("Device");
    kovrin::test::QtScratchFolder folder;
    QList<int> endCodes;
    frmMain launcherWindow(MainWindowSetup(folder, endCodes));
    launcherWindow.show();
    QTest::mouseClick(launcherWindow.findChild<QPushButton*>(QStringLiteral("cmdSystemInfo")), Qt::LeftButton);
    QCOMPARE(endCodes, QList<int>{kovrin::launcher::kUntrappedErrorExitCode});
    QWidget* window = OpenSystemInfoWindow();
    QVERIFY(window != nullptr);
    QCOMPARE(ListLines(window).last(), QString());
    QVERIFY2(ListLines(window).contains(QStringLiteral("   D3D devices")), qPrintable(ListLines(window).join('\n')));
  }

 private:
  static LauncherSetup MainWindowSetup(const kovrin::test::QtScratchFolder& folder, QList<int>& endCodes) {
    LauncherSetup setup;
    setup.folder = folder.path();
    setup.startProgram = [](const kovrin::launcher::BenchRun&) { return true; };
    setup.endLauncher = [&endCodes](int code) { endCodes << code; };
    setup.runTimers = false;
    return setup;
  }
};

QTEST_MAIN(SystemInfoWindowTest)
#include "system_info_window_test.moc"
