#include "launcher/frmCustomBench.h"

#include <QComboBox>
#include <QPushButton>

#include "launcher/frmMain.h"
#include "ui_frmCustomBench.h"

using kovrin::gui::SecondaryWindow;

frmCustomBench::frmCustomBench(frmMain* mainWindow)
    : SecondaryWindow(mainWindow), ui(std::make_unique<Ui::frmCustomBench>()) {
  ui->setupUi(this);
  connect(ui->cmdOk, &QPushButton::clicked, this, &frmCustomBench::cmdOk_Click);
  connect(ui->cmdAbbrechen, &QPushButton::clicked, this, &frmCustomBench::cmdAbbrechen_Click);
}

frmCustomBench::~frmCustomBench() = default;

// The lists are filled here, on every opening, and nothing is preselected.
void frmCustomBench::Form_Load() {
  ui->cmbBitdepth->addItems({QStringLiteral("16 Bit"), QStringLiteral("32 Bit")});
  ui->cmbRes->addItems({QStringLiteral("640 x 480"), QStringLiteral("800 x 600"), QStringLiteral("1024 x 768"),
                        QStringLiteral("1280 x 960"), QStringLiteral("1600 x 1200")});
  ui->cmbBitdepth->setCurrentIndex(-1);
  ui->cmbRes->setCurrentIndex(-1);
}

// "16", "32", or empty while no depth is chosen. The dialog stays open.
void frmCustomBench::cmdOk_Click() {
  if (frmMain* main = MainWindow<frmMain>()) main->CustomBitdepth = ui->cmbBitdepth->currentText().left(2);
}

void frmCustomBench::cmdAbbrechen_Click() { close(); }

frmCustomBench* ShowCustomBench(frmMain* mainWindow) { return SecondaryWindow::Open<frmCustomBench>(mainWindow); }
