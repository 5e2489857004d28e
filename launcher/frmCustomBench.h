// The custom benchmark dialog: a resolution, a colour depth and a set of
// tests. Only the depth reaches the main window, as CustomBitdepth; the
// other choices are shown and not read.
#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>

class frmMain;
namespace Ui {
class frmCustomBench;
}

class frmCustomBench final : public QDialog {
  Q_OBJECT

 public:
  explicit frmCustomBench(frmMain* mainWindow);
  ~frmCustomBench() override;

  // The event handlers.
  void Form_Load();
  void cmdOk_Click();
  void cmdAbbrechen_Click();
  void Form_Unload();

  // Every way the dialog goes (Cancel, Esc, the close box) passes here.
  void done(int result) override;

 private:
  std::unique_ptr<Ui::frmCustomBench> ui;
  QPointer<frmMain> main_;
  bool unloaded_ = false;
};

// Opens the custom benchmark dialog without modality and returns it; it
// deletes itself when closed. The main window is disabled while it is open.
frmCustomBench* ShowCustomBench(frmMain* mainWindow);
