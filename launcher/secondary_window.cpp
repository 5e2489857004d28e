#include "launcher/secondary_window.h"

namespace kovrin::gui {

SecondaryWindow::SecondaryWindow(QWidget* mainWindow) : main_(mainWindow) {}

SecondaryWindow::~SecondaryWindow() { Unload(); }

void SecondaryWindow::Load() {
  setAttribute(Qt::WA_DeleteOnClose);
  if (main_) main_->setEnabled(false);
  Form_Load();
  show();
}

void SecondaryWindow::done(int result) {
  Unload();
  QDialog::done(result);
}

void SecondaryWindow::Form_Unload() {
  if (main_) main_->setEnabled(true);
}

void SecondaryWindow::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  Form_Unload();
}

}  // namespace kovrin::gui
