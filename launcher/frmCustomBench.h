// The custom benchmark dialog: a resolution, a colour depth and a set of
// tests. Only the depth reaches the main window, as CustomBitdepth; the
// other choices are shown and not read.
#pragma once

#include <memory>

#include "launcher/secondary_window.h"

class frmMain;
namespace Ui {
class frmCustomBench;
}

class frmCustomBench final : public kovrin::gui::SecondaryWindow {
  Q_OBJECT

 public:
  explicit frmCustomBench(frmMain* mainWindow);
  ~frmCustomBench() override;

  // The event handlers; Form_Unload is the base's.
  void cmdOk_Click();
  void cmdAbbrechen_Click();

 protected:
  void Form_Load() override;

 private:
  std::unique_ptr<Ui::frmCustomBench> ui;
};

// Opens the custom benchmark dialog without modality and returns it; it
// deletes itself when closed. The main window is disabled while it is open.
frmCustomBench* ShowCustomBench(frmMain* mainWindow);
