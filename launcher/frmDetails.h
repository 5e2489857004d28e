// The result details: the score and the twelve single results, one a line.
//
// The list is built once, when the window loads, from the main window's
// values at that moment; a run that stores new values meanwhile does not
// change it (the main window is disabled for input, not for its timers).
#pragma once

#include <memory>

#include "launcher/secondary_window.h"

class frmMain;
namespace Ui {
class frmDetails;
}

class frmDetails final : public kovrin::gui::SecondaryWindow {
  Q_OBJECT

 public:
  explicit frmDetails(frmMain* mainWindow);
  ~frmDetails() override;

  // The event handlers; Form_Unload is the base's.
  void cmdAbbrechen_Click();

 protected:
  void Form_Load() override;

 private:
  std::unique_ptr<Ui::frmDetails> ui;
};

// Opens the result details without modality and returns the window, which
// deletes itself when closed. The main window is disabled while it is open.
frmDetails* ShowDetails(frmMain* mainWindow);
