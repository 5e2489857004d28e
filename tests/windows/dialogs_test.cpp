// The details window and the custom benchmark dialog on the offscreen
// platform, opened from a real main window; and the rule all secondary
// windows share, on a window of that base alone.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>
#include <stdexcept>

#include "launcher/frmCustomBench.h"
#include "launcher/frmDetails.h"
#include "launcher/frmMain.h"
#include "launcher/secondary_window.h"
#include "tests/support/gui_controls.h"
#include "tests/support/qt_scratch_folder.h"
#include "tests/windows/window_test_support.h"

using kovrin::gui::SecondaryWindow;

using kovrin::test::Control;
using kovrin::test::windows::CloseRoute;

namespace {

// A secondary window with nothing of its own: it counts its loads and
// unloads, and can fail to load.
class CountingWindow final : public SecondaryWindow {
  Q_OBJECT

 public:
  explicit CountingWindow(QWidget* mainWindow) : SecondaryWindow(mainWindow) {}
  ~CountingWindow() override { Unload(); }

  static inline int loads = 0;
  static inline int unloads = 0;
  static inline bool failToLoad = false;
  static inline bool mainDisabledAtLoad = false;

 protected:
  void Form_Load() override {
    ++loads;
    const QWidget* main = MainWindow<QWidget>();
    mainDisabledAtLoad = main != nullptr && !main->isEnabled();
    if (failToLoad) throw std::runtime_error("load failed");
  }
  void Form_Unload() override {
    SecondaryWindow::Form_Unload();
    ++unloads;
  }
};

// Counts the main window's changes between enabled and disabled, so that a
// second enabling shows even where the end state is the same.
class EnabledChanges final : public QObject {
 public:
  int count = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::EnabledChange) ++count;
    return QObject::eventFilter(watched, event);
  }
};

enum class Ending { Reject, Accept, Close, CloseBox, EscapeKey, Delete, MainGoesFirst };

}  // namespace

Q_DECLARE_METATYPE(Ending)

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void secondaryWindowEnablesMainWindowOnce_data();
  void secondaryWindowEnablesMainWindowOnce();
  void secondaryWindowFailingToLoadLeavesNothing();

  void detailsCaptionAndButton();
  void detailsListsScoreAndTwelveResults();
  void detailsEmptyInCustomisedMode();
  void detailsBuiltOncePerOpening();
  void detailsOpenedByTheMainWindowsButton();

  void customCaptionsAndFrames();
  void customCheckBoxes_data();
  void customCheckBoxes();
  void customListsStartEmptyOfChoice();
  void customOkStoresTheDepth_data();
  void customOkStoresTheDepth();
  void customEnterIsOk();
  void customOkOverwrites();
  void customReopensFresh();
  void customOpenedByChange();

  void closeEnablesMainWindow_data();
  void closeEnablesMainWindow();

 private:
  void SetKnownResults();
  std::unique_ptr<kovrin::test::QtScratchFolder> dir;
  std::unique_ptr<frmMain> main;
};

void DialogsTest::init() {
  dir = std::make_unique<kovrin::test::QtScratchFolder>();
  QVERIFY(dir->isValid());
  main = kovrin::test::windows::MakeMainWindow(dir->path());
}

void DialogsTest::cleanup() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window != main.get() && (qobject_cast<frmDetails*>(window) || qobject_cast<frmCustomBench*>(window))) {
      delete window;
    }
  }
  main.reset();
  dir.reset();
}

void DialogsTest::SetKnownResults() {
  main->QuillfireFPS_1_1 = 611;
  main->QuillfireFPS_1_2 = 598;
  main->QuillfireFPS_2_1 = 240;
  main->QuillfireFPS_2_2 = 1234;
  main->QuillfireFPS_3_1 = 97;
  main->QuillfireFPS_3_2 = 0;
  main->LumavaneFPS_1_1 = 45000;
  main->LumavaneFPS_1_2 = 2147483647;
  main->LumavaneFPS_2_1 = 7;
  main->LumavaneFPS_2_2 = 10;
  main->LumavaneFPS_3_1 = 100000;
  main->LumavaneFPS_3_2 = 33;
  main->Result = 15636;
  main->lblResult()->setText(QStringLiteral("15636,3 fps"));
}

// --- the base of the secondary windows -------------------------------------

void DialogsTest::secondaryWindowEnablesMainWindowOnce_data() {
  QTest::addColumn<Ending>("ending");
  QTest::newRow("reject (Esc, Cancel)") << Ending::Reject;
  QTest::newRow("accept") << Ending::Accept;
  QTest::newRow("close") << Ending::Close;
  QTest::newRow("close box") << Ending::CloseBox;
  QTest::newRow("escape key") << Ending::EscapeKey;
  QTest::newRow("deleted") << Ending::Delete;
  QTest::newRow("main window goes first") << Ending::MainGoesFirst;
}

void DialogsTest::secondaryWindowEnablesMainWindowOnce() {
  QFETCH(Ending, ending);
  CountingWindow::loads = CountingWindow::unloads = 0;
  CountingWindow::failToLoad = false;
  auto owner = std::make_unique<QWidget>();
  owner->show();
  EnabledChanges changes;
  owner->installEventFilter(&changes);

  QPointer<CountingWindow> window = SecondaryWindow::Open<CountingWindow>(owner.get());
  QVERIFY2(CountingWindow::mainDisabledAtLoad, "the main window is disabled before the window loads");
  QVERIFY(window->isVisible());
  QCOMPARE(window->windowModality(), Qt::NonModal);
  QVERIFY2(window->parent() == nullptr, "a child of the main window would be disabled with it");
  QVERIFY(!owner->isEnabled());
  QCOMPARE(CountingWindow::loads, 1);
  QCOMPARE(CountingWindow::unloads, 0);
  QCOMPARE(changes.count, 1);

  switch (ending) {
    case Ending::Reject:
      window->reject();
      break;
    case Ending::Accept:
      window->accept();
      break;
    case Ending::Close:
      window->close();
      break;
    case Ending::CloseBox:
      window->windowHandle()->close();
      break;
    case Ending::EscapeKey:
      QTest::keyClick(window, Qt::Key_Escape);
      break;
    case Ending::Delete:
      delete window.data();
      break;
    case Ending::MainGoesFirst:
      owner.reset();
      QVERIFY2(window, "the window outlives the main window");
      QCOMPARE(CountingWindow::unloads, 0);
      window->close();
      break;
  }
  QCOMPARE(CountingWindow::unloads, 1);
  if (owner) {
    QVERIFY2(owner->isEnabled(), "the main window is usable again as soon as the window goes");
    QCOMPARE(changes.count, 2);
  }
  QTRY_VERIFY2(window.isNull(), "the closed window deletes itself");
  QCOMPARE(CountingWindow::unloads, 1);
  if (owner) {
    QVERIFY(owner->isEnabled());
    QCOMPARE(changes.count, 2);
    owner->removeEventFilter(&changes);
  }
}

// The window is gone and the main window usable: nothing is left disabled
// with no window open to enable it again.
void DialogsTest::secondaryWindowFailingToLoadLeavesNothing() {
  CountingWindow::loads = CountingWindow::unloads = 0;
  CountingWindow::failToLoad = true;
  QWidget owner;
  owner.show();
  bool thrown = false;
  try {
    SecondaryWindow::Open<CountingWindow>(&owner);
  } catch (const std::runtime_error&) {
    thrown = true;
  }
  CountingWindow::failToLoad = false;
  QVERIFY2(thrown, "the load error reaches the caller");
  QVERIFY(owner.isEnabled());
  QCOMPARE(CountingWindow::unloads, 1);
  QVERIFY(kovrin::test::windows::OpenWindows<CountingWindow>().isEmpty());
}

// --- details ---------------------------------------------------------------

void DialogsTest::detailsCaptionAndButton() {
  frmDetails* details = ShowDetails(main.get());
  QCOMPARE(details->windowTitle(), QStringLiteral("Details"));
  QCOMPARE(Control<QPushButton>(details, "cmdAbbrechen")->text(), QStringLiteral("&Cancel"));
  QVERIFY(Control<QListWidget>(details, "details")->isVisible());
  QVERIFY(!main->isEnabled());
}

void DialogsTest::detailsListsScoreAndTwelveResults() {
  SetKnownResults();
  const QStringList expected = {
      "Kovrin Results: 15636,3 fps",
      "Overdraw Stress Test (OpenGL) 640x480x16: 611 fps",
      "Overdraw Stress Test (OpenGL) 640x480x32: 598 fps",
      "Overdraw Stress Test (OpenGL) 1024x768x16: 240 fps",
      "Overdraw Stress Test (OpenGL) 1024x768x32: 1234 fps",
      "Overdraw Stress Test (OpenGL) 1600x1200x16: 97 fps",
      "Overdraw Stress Test (OpenGL) 1600x1200x32: 0 fps",
      "Alpha Blending Performance (OpenGL) 640x480x16: 45000 fps",
      "Alpha Blending Performance (OpenGL) 640x480x32: 2147483647 fps",
      "Alpha Blending Performance (OpenGL) 1024x768x16: 7 fps",
      "Alpha Blending Performance (OpenGL) 1024x768x32: 10 fps",
      "Alpha Blending Performance (OpenGL) 1600x1200x16: 100000 fps",
      "Alpha Blending Performance (OpenGL) 1600x1200x32: 33 fps",
  };
  frmDetails* details = ShowDetails(main.get());
  auto* list = Control<QListWidget>(details, "details");
  QCOMPARE(list->count(), expected.size());
  for (int i = 0; i < expected.size(); ++i) {
    QVERIFY2(
        list->item(i)->text() == expected[i],
        qPrintable(
            QStringLiteral("line %1: expected \"%2\", got \"%3\"").arg(i + 1).arg(expected[i], list->item(i)->text())));
  }
}

void DialogsTest::detailsEmptyInCustomisedMode() {
  SetKnownResults();
  Control<QRadioButton>(main.get(), "optCustomBench")->setChecked(true);
  QVERIFY(!main->optFullBench()->isChecked());
  frmDetails* details = ShowDetails(main.get());
  QCOMPARE(Control<QListWidget>(details, "details")->count(), 0);
  QVERIFY(!main->isEnabled());
}

void DialogsTest::detailsBuiltOncePerOpening() {
  SetKnownResults();
  QPointer<frmDetails> details = ShowDetails(main.get());
  main->QuillfireFPS_1_1 = 999;  // a run storing its value while the window is open
  QCOMPARE(Control<QListWidget>(details, "details")->item(1)->text(),
           QStringLiteral("Overdraw Stress Test (OpenGL) 640x480x16: 611 fps"));
  details->close();
  QTRY_VERIFY(details.isNull());

  frmDetails* again = ShowDetails(main.get());
  auto* list = Control<QListWidget>(again, "details");
  QCOMPARE(list->count(), 13);
  QCOMPARE(list->item(1)->text(), QStringLiteral("Overdraw Stress Test (OpenGL) 640x480x16: 999 fps"));
}

void DialogsTest::detailsOpenedByTheMainWindowsButton() {
  SetKnownResults();
  main->cmdDetails_Click();
  const QList<frmDetails*> open = kovrin::test::windows::OpenWindows<frmDetails>();
  QCOMPARE(open.size(), 1);
  QCOMPARE(Control<QListWidget>(open.front(), "details")->count(), 13);
  QVERIFY(!main->isEnabled());
}

// --- custom benchmark ------------------------------------------------------

void DialogsTest::customCaptionsAndFrames() {
  frmCustomBench* dialog = ShowCustomBench(main.get());
  QCOMPARE(dialog->windowTitle(), QStringLiteral("Customize Benchmark"));
  auto* resBit = Control<QGroupBox>(dialog, "frRes_Bit");
  QCOMPARE(resBit->title(), QStringLiteral("Resolution and Bitdepth"));
  QCOMPARE(Control<QComboBox>(dialog, "cmbRes")->parentWidget(), resBit);
  QCOMPARE(Control<QComboBox>(dialog, "cmbBitdepth")->parentWidget(), resBit);
  QCOMPARE(Control<QGroupBox>(dialog, "frTests")->title(), QStringLiteral("Custom Tests"));
  auto* ok = Control<QPushButton>(dialog, "cmdOk");
  QCOMPARE(ok->text(), QStringLiteral("&OK"));
  QVERIFY2(ok->isDefault(), "OK is the default button (Enter)");
  QCOMPARE(Control<QPushButton>(dialog, "cmdAbbrechen")->text(), QStringLiteral("&Cancel"));
}

void DialogsTest::customCheckBoxes_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<bool>("ticked");
  QTest::addColumn<bool>("enabled");
  QTest::addColumn<int>("order");
  QTest::newRow("chkQuillfire") << "chkQuillfire"
                                << "Overdraw Stress Test (OpenGL)" << true << true << 0;
  QTest::newRow("chkDXOverdraw") << "chkDXOverdraw"
                                 << "Overdraw Stress Test (Direct3D)" << false << false << 1;
  QTest::newRow("chkGLAlphaBlend") << "chkGLAlphaBlend"
                                   << "Alpha Blending Performance (OpenGL)" << false << false << 2;
  QTest::newRow("chkDXAlphaBlend") << "chkDXAlphaBlend"
                                   << "Alpha Blending Performance (Direct3D)" << false << false << 3;
  QTest::newRow("chkGLPolygonCount") << "chkGLPolygonCount"
                                     << "High Polygon Count (OpenGL)" << true << true << 4;
  QTest::newRow("chkDXPolygonCount") << "chkDXPolygonCount"
                                     << "High Polygon Count (Direct3D)" << false << false << 5;
}

void DialogsTest::customCheckBoxes() {
  QFETCH(QString, name);
  QFETCH(QString, caption);
  QFETCH(bool, ticked);
  QFETCH(bool, enabled);
  QFETCH(int, order);
  frmCustomBench* dialog = ShowCustomBench(main.get());
  auto* box = Control<QCheckBox>(dialog, name.toLatin1().constData());
  QCOMPARE(box->text(), caption);
  QCOMPARE(box->isChecked(), ticked);
  QCOMPARE(box->isEnabled(), enabled);
  QCOMPARE(box->parentWidget(), Control<QGroupBox>(dialog, "frTests"));
  // Stacked top to bottom in table order.
  const QList<QCheckBox*> boxes = Control<QGroupBox>(dialog, "frTests")->findChildren<QCheckBox*>();
  int above = 0;
  for (QCheckBox* other : boxes) above += other->y() < box->y() ? 1 : 0;
  QCOMPARE(above, order);
}

void DialogsTest::customListsStartEmptyOfChoice() {
  frmCustomBench* dialog = ShowCustomBench(main.get());
  auto* res = Control<QComboBox>(dialog, "cmbRes");
  auto* depth = Control<QComboBox>(dialog, "cmbBitdepth");
  const QStringList resolutions = {"640 x 480", "800 x 600", "1024 x 768", "1280 x 960", "1600 x 1200"};
  const QStringList depths = {"16 Bit", "32 Bit"};
  QCOMPARE(res->count(), resolutions.size());
  for (int i = 0; i < resolutions.size(); ++i) QCOMPARE(res->itemText(i), resolutions[i]);
  QCOMPARE(depth->count(), depths.size());
  for (int i = 0; i < depths.size(); ++i) QCOMPARE(depth->itemText(i), depths[i]);
  QCOMPARE(res->currentIndex(), -1);
  QCOMPARE(depth->currentIndex(), -1);
  QVERIFY2(!res->isEditable() && !depth->isEditable(), "choice from the list only, no typing");
  QVERIFY(!main->isEnabled());
}

void DialogsTest::customOkStoresTheDepth_data() {
  QTest::addColumn<int>("index");
  QTest::addColumn<QString>("stored");
  QTest::newRow("nothing chosen") << -1 << "";
  QTest::newRow("16 Bit") << 0 << "16";
  QTest::newRow("32 Bit") << 1 << "32";
}

void DialogsTest::customOkStoresTheDepth() {
  QFETCH(int, index);
  QFETCH(QString, stored);
  main->CustomBitdepth = QStringLiteral("xx");
  frmCustomBench* dialog = ShowCustomBench(main.get());
  Control<QComboBox>(dialog, "cmbBitdepth")->setCurrentIndex(index);
  QTest::mouseClick(Control<QPushButton>(dialog, "cmdOk"), Qt::LeftButton);
  QCOMPARE(main->CustomBitdepth, stored);
  QVERIFY2(dialog->isVisible(), "OK keeps the dialog open");
  QVERIFY(!main->isEnabled());
}

void DialogsTest::customEnterIsOk() {
  frmCustomBench* dialog = ShowCustomBench(main.get());
  Control<QComboBox>(dialog, "cmbBitdepth")->setCurrentIndex(1);
  QTest::keyClick(dialog, Qt::Key_Return);
  QCOMPARE(main->CustomBitdepth, QStringLiteral("32"));
  QVERIFY(dialog->isVisible());
}

void DialogsTest::customOkOverwrites() {
  frmCustomBench* dialog = ShowCustomBench(main.get());
  auto* depth = Control<QComboBox>(dialog, "cmbBitdepth");
  auto* ok = Control<QPushButton>(dialog, "cmdOk");
  depth->setCurrentIndex(0);
  QTest::mouseClick(ok, Qt::LeftButton);
  QCOMPARE(main->CustomBitdepth, QStringLiteral("16"));
  depth->setCurrentIndex(1);
  QTest::mouseClick(ok, Qt::LeftButton);
  QCOMPARE(main->CustomBitdepth, QStringLiteral("32"));
}

void DialogsTest::customReopensFresh() {
  QPointer<frmCustomBench> first = ShowCustomBench(main.get());
  Control<QComboBox>(first, "cmbRes")->setCurrentIndex(2);
  Control<QComboBox>(first, "cmbBitdepth")->setCurrentIndex(1);
  Control<QCheckBox>(first, "chkQuillfire")->setChecked(false);
  Control<QCheckBox>(first, "chkGLPolygonCount")->setChecked(false);
  QTest::mouseClick(Control<QPushButton>(first, "cmdOk"), Qt::LeftButton);
  first->close();
  QTRY_VERIFY(first.isNull());
  QCOMPARE(main->CustomBitdepth, QStringLiteral("32"));  // stays after the dialog has gone

  frmCustomBench* second = ShowCustomBench(main.get());
  auto* res = Control<QComboBox>(second, "cmbRes");
  auto* depth = Control<QComboBox>(second, "cmbBitdepth");
  QCOMPARE(res->count(), 5);
  QCOMPARE(depth->count(), 2);
  QCOMPARE(res->currentIndex(), -1);
  QCOMPARE(depth->currentIndex(), -1);
  QVERIFY(Control<QCheckBox>(second, "chkQuillfire")->isChecked());
  QVERIFY(Control<QCheckBox>(second, "chkGLPolygonCount")->isChecked());
  QCOMPARE(main->CustomBitdepth, QStringLiteral("32"));
}

// Change selects the customised option, which clears as a change of
// selection does; with that option selected already, it clears nothing.
void DialogsTest::customOpenedByChange() {
  const QString config = dir->filePath(QStringLiteral("config.cfg"));
  QVERIFY(QFile(config).open(QIODevice::WriteOnly));
  main->lblResult()->setText(QStringLiteral("88 fps"));
  main->cmdCustomize_Click();
  QVERIFY2(!main->optFullBench()->isChecked(), "Change selects the customised benchmark first");
  QVERIFY(Control<QRadioButton>(main.get(), "optCustomBench")->isChecked());
  QCOMPARE(kovrin::test::windows::OpenWindows<frmCustomBench>().size(), 1);
  QVERIFY(!main->isEnabled());
  QVERIFY2(!QFile::exists(config), "selecting the customised option clears");
  QCOMPARE(main->lblResult()->text(), QString());

  delete kovrin::test::windows::OpenWindows<frmCustomBench>().front();
  QVERIFY(QFile(config).open(QIODevice::WriteOnly));
  main->lblResult()->setText(QStringLiteral("88 fps"));
  main->cmdCustomize_Click();
  QVERIFY2(QFile::exists(config), "the option was selected already: nothing is cleared");
  QCOMPARE(main->lblResult()->text(), QStringLiteral("88 fps"));
}

// --- both ------------------------------------------------------------------

void DialogsTest::closeEnablesMainWindow_data() {
  QTest::addColumn<bool>("details");  // else the custom benchmark dialog
  QTest::addColumn<CloseRoute>("route");
  for (const bool details : {true, false}) {
    const char* window = details ? "details" : "custom";
    QTest::addRow("%s, cancel button", window) << details << CloseRoute::CancelButton;
    QTest::addRow("%s, escape key", window) << details << CloseRoute::EscapeKey;
    QTest::addRow("%s, close box", window) << details << CloseRoute::CloseBox;
  }
}

void DialogsTest::closeEnablesMainWindow() {
  QFETCH(bool, details);
  QFETCH(CloseRoute, route);
  QPointer<QDialog> window;
  if (details) {
    window = ShowDetails(main.get());
  } else {
    window = ShowCustomBench(main.get());
  }
  QVERIFY(!main->isEnabled());
  kovrin::test::windows::Close(window, Control<QPushButton>(window, "cmdAbbrechen"), route);
  QVERIFY2(main->isEnabled(), "the main window must be usable again once the window has closed");
  QTRY_VERIFY2(window.isNull(), "the closed window is unloaded");
  QVERIFY(main->isEnabled());
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
