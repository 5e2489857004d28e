#include "frmCustomBench.h"

#include <QComboBox>
#include <QPushButton>

#include "frmMain.h"
#include "secondary_window.h"
#include "ui_frmCustomBench.h"

frmCustomBench::frmCustomBench(frmMain* mainWindow)
    : ui(std::make_unique<Ui::frmCustomBench>()), main_(mainWindow) {
  ui->setupUi(this);
  connect(ui->cmdOk, &QPushButton::clicked, this, &frmCustomBench::cmdOk_Click);
  connect(ui->cmdAbbrechen, &QPushButton::clicked, this, &frmCustomBench::cmdAbbrechen_Click);
}

frmCustomBench::~frmCustomBench() { Form_Unload(); }

// The lists are filled here, on every opening, and nothing is preselected.
void frmCustomBench::Form_Load() {
  if (main_) main_->setEnabled(false);
  ui->cmbBitdepth->addItems({QStringLiteral("16 Bit"), QStringLiteral("32 Bit")});
  ui->cmbRes->addItems({QStringLiteral("640 x 480"), QStringLiteral("800 x 600"), QStringLiteral("1024 x 768"),
                        QStringLiteral("1280 x 960"), QStringLiteral("1600 x 1200")});
  ui->cmbBitdepth->setCurrentIndex(-1);
  ui->cmbRes->setCurrentIndex(-1);
}

// "16", "32", or empty while no depth is chosen. The dialog stays open.
void frmCustomBench::cmdOk_Click() {
  if (main_) main_->CustomBitdepth = ui->cmbBitdepth->currentText().left(2);
}

void frmCustomBench::cmdAbbrechen_Click() { close(); }

void frmCustomBench::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  if (main_) main_->setEnabled(true);
}

void frmCustomBench::done(int result) {
  Form_Unload();
  QDialog::done(result);
}

frmCustomBench* ShowCustomBench(frmMain* mainWindow) {
  auto* dialog = new frmCustomBench(mainWindow);
  dialog->Form_Load();
  ShowDisablingMainWindow(dialog, mainWindow);
  return dialog;
}
