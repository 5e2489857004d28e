#include "frmDetails.h"

#include <QDialog>
#include <QPushButton>

#include "frmMain.h"
#include "secondary_window.h"
#include "ui_frmDetails.h"

namespace {

class frmDetails final : public QDialog {
 public:
  frmDetails() {
    ui.setupUi(this);
    connect(ui.cmdAbbrechen, &QPushButton::clicked, this, &QDialog::close);
  }

 private:
  Ui::frmDetails ui;
};

}  // namespace

void ShowDetails(frmMain* mainWindow) { ShowDisablingMainWindow(new frmDetails, mainWindow); }
