// The system information window: a report of the machine's display adapters.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>

namespace kovrin::sysinfo {
class Provider;
}
namespace Ui {
class frmSystemInfo;
}

// Not a SecondaryWindow: it leaves the main window usable, and it has no
// parent so that it stays usable while another window disables the main
// window. One at a time; ShowSystemInfo finds the open one.
class frmSystemInfo final : public QWidget {
  Q_OBJECT

 public:
  frmSystemInfo();
  ~frmSystemInfo() override;

  // The event handlers.
  void Form_Load();
  void cmdCancel_Click();

 private:
  void GetDisplayCards();

  std::unique_ptr<Ui::frmSystemInfo> ui;
  // Created on first use, kept for the window's lifetime.
  std::unique_ptr<kovrin::sysinfo::Provider> provider_;
};

// Opens the system information window without modality and builds its report,
// or brings the open one to the front without building again. The main window
// stays usable. A platform failure while building is not handled here: it
// leaves the lines so far in the window and reaches the caller as
// kovrin::launcher::UntrappedError with the platform's error number.
void ShowSystemInfo(QWidget* mainWindow);

// Where each new window gets its report from: the machine's own graphics
// interfaces unless a test puts something else in (an empty function restores
// them).
using SystemInfoProviderFactory = std::function<std::unique_ptr<kovrin::sysinfo::Provider>()>;
void SetSystemInfoProviderFactory(SystemInfoProviderFactory factory);
