#include "frmCustomBench.h"

#include <QDialog>
#include <QPushButton>

#include "frmMain.h"
#include "secondary_window.h"
#include "ui_frmCustomBench.h"

namespace {

class frmCustomBench final : public QDialog {
 public:
  frmCustomBench() {
    ui.setupUi(this);
    connect(ui.cmdAbbrechen, &QPushButton::clicked, this, &QDialog::close);
  }

 private:
  Ui::frmCustomBench ui;
};

}  // namespace

void ShowCustomBench(frmMain* mainWindow) { ShowDisablingMainWindow(new frmCustomBench, mainWindow); }
