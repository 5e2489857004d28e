#include "launcher/frmDetails.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <string>

#include "launcher/frmMain.h"
#include "launcher/submit/detail_lines.h"
#include "ui_frmDetails.h"

using kovrin::gui::SecondaryWindow;

frmDetails::frmDetails(frmMain* mainWindow) : SecondaryWindow(mainWindow), ui(std::make_unique<Ui::frmDetails>()) {
  ui->setupUi(this);
  connect(ui->cmdAbbrechen, &QPushButton::clicked, this, &frmDetails::cmdAbbrechen_Click);
}

frmDetails::~frmDetails() = default;

void frmDetails::Form_Load() {
  const frmMain* main = MainWindow<frmMain>();
  if (main == nullptr) return;
  const std::string score = main->lblResult()->text().toStdString();
  for (const std::string& line : kovrin::submit::DetailLines(main->optFullBench()->isChecked(), score, *main)) {
    ui->details->addItem(QString::fromStdString(line));
  }
}

void frmDetails::cmdAbbrechen_Click() { close(); }

frmDetails* ShowDetails(frmMain* mainWindow) { return SecondaryWindow::Open<frmDetails>(mainWindow); }
