#include "secondary_window.h"

#include <QDialog>
#include <QPointer>

void ShowDisablingMainWindow(QDialog* window, QWidget* mainWindow) {
  window->setAttribute(Qt::WA_DeleteOnClose);
  if (mainWindow != nullptr) {
    mainWindow->setEnabled(false);
    QObject::connect(window, &QObject::destroyed, mainWindow,
                     [main = QPointer<QWidget>(mainWindow)] {
                       if (main) main->setEnabled(true);
                     });
  }
  window->show();
}
