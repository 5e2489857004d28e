#include "frmDetails.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <string>

#include "detail_lines.h"
#include "frmMain.h"
#include "secondary_window.h"
#include "ui_frmDetails.h"

frmDetails::frmDetails(frmMain* mainWindow) : ui(std::make_unique<Ui::frmDetails>()), main_(mainWindow) {
  ui->setupUi(this);
  connect(ui->cmdAbbrechen, &QPushButton::clicked, this, &frmDetails::cmdAbbrechen_Click);
}

frmDetails::~frmDetails() { Form_Unload(); }

void frmDetails::Form_Load() {
  if (!main_) return;
  main_->setEnabled(false);
  const std::string score = main_->lblResult()->text().toStdString();
  for (const std::string& line : submit::DetailLines(main_->optFullBench()->isChecked(), score, *main_)) {
    ui->details->addItem(QString::fromStdString(line));
  }
}

void frmDetails::cmdAbbrechen_Click() { close(); }

void frmDetails::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  if (main_) main_->setEnabled(true);
}

void frmDetails::done(int result) {
  Form_Unload();
  QDialog::done(result);
}

frmDetails* ShowDetails(frmMain* mainWindow) {
  auto* window = new frmDetails(mainWindow);
  window->Form_Load();
  ShowDisablingMainWindow(window, mainWindow);
  return window;
}
