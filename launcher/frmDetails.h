// The result details: the score and the twelve single results, one a line.
//
// The list is built once, when the window loads, from the main window's
// values at that moment; a run that stores new values meanwhile does not
// change it (the main window is disabled for input, not for its timers).
#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>

class frmMain;
namespace Ui {
class frmDetails;
}

class frmDetails final : public QDialog {
  Q_OBJECT

 public:
  explicit frmDetails(frmMain* mainWindow);
  ~frmDetails() override;

  // The event handlers.
  void Form_Load();
  void cmdAbbrechen_Click();
  void Form_Unload();

  // Every way the window goes (Cancel, Esc, the close box) passes here.
  void done(int result) override;

 private:
  std::unique_ptr<Ui::frmDetails> ui;
  QPointer<frmMain> main_;
  bool unloaded_ = false;
};

// Opens the result details without modality and returns the window, which
// deletes itself when closed. The main window is disabled while it is open.
frmDetails* ShowDetails(frmMain* mainWindow);
