// Shared helpers of the secondary windows' Qt tests: a main window with the
// program start and the launcher's end faked, and ways to close a window.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QList>
#include <QPushButton>
#include <QWidget>
#include <QWindow>
#include <QtTest>

#include <memory>

#include "launcher/frmMain.h"

namespace kovrin::test::windows {

// A main window over `folder` whose timers stand still; nothing is started
// and nothing ends the test program.
inline std::unique_ptr<frmMain> MakeMainWindow(const QString& folder) {
  LauncherSetup setup;
  setup.folder = folder;
  setup.runTimers = false;
  setup.startProgram = [](const kovrin::launcher::BenchRun&) { return true; };
  setup.endLauncher = [](int) {};
  auto window = std::make_unique<frmMain>(setup);
  window->show();
  return window;
}

// The visible top-level windows of one kind.
template <typename T>
QList<T*> OpenWindows() {
  QList<T*> found;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<T*>(widget); window != nullptr && window->isVisible()) found << window;
  }
  return found;
}

enum class CloseRoute { CancelButton, EscapeKey, CloseBox };

// Closes `window` the way a user does. The close box is the window system's
// close request, delivered as the platform delivers it.
inline void Close(QWidget* window, QPushButton* cancel, CloseRoute route) {
  switch (route) {
    case CloseRoute::CancelButton:
      QTest::mouseClick(cancel, Qt::LeftButton);
      break;
    case CloseRoute::EscapeKey:
      QTest::keyClick(window, Qt::Key_Escape);
      break;
    case CloseRoute::CloseBox:
      window->windowHandle()->close();
      break;
  }
}

}  // namespace kovrin::test::windows

Q_DECLARE_METATYPE(kovrin::test::windows::CloseRoute)
