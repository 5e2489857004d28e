#include "frmSubmit.h"

#include <QDialog>
#include <QPushButton>

#include "frmMain.h"
#include "secondary_window.h"
#include "ui_frmSubmit.h"

namespace {

class frmSubmit final : public QDialog {
 public:
  frmSubmit() {
    ui.setupUi(this);
    connect(ui.cmdCancel, &QPushButton::clicked, this, &QDialog::close);
  }

 private:
  Ui::frmSubmit ui;
};

}  // namespace

void ShowSubmit(frmMain* mainWindow) { ShowDisablingMainWindow(new frmSubmit, mainWindow); }
