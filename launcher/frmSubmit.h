// The result submission window: the page with the score's form, shown in
// the embedded browser, from which the user posts the score to the results
// site. The launcher itself sends nothing; the browser posts the form.
//
// The page is written as the file `submit` into a private folder of its own
// in the launcher's folder when the window loads, navigated to by its plain
// path, and deleted with its folder as soon as any document has finished
// loading, and again when the window closes.
#pragma once

#include <QString>

#include <filesystem>
#include <memory>

#include "launcher/secondary_window.h"

class QKeyEvent;
class QUrl;
class WebBrowser;
class frmMain;
namespace Ui {
class frmSubmit;
}

class frmSubmit final : public kovrin::gui::SecondaryWindow {
  Q_OBJECT

 public:
  explicit frmSubmit(frmMain* mainWindow);
  ~frmSubmit() override;

  // The event handlers.
  void Browser_DocumentComplete(const QUrl& url);
  void cmdCancel_Click();

  // Writes the page file for the score the main window shows.
  void CreateHTML();
  // The page file CreateHTML wrote; empty before.
  QString PagePath() const;

  WebBrowser* Browser() const;

 protected:
  void Form_Load() override;
  // Enables the main window and deletes the page file.
  void Form_Unload() override;

  // Esc is not bound to Cancel here: the user may be typing in the form.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::unique_ptr<Ui::frmSubmit> ui;
  QString folder_;
  std::filesystem::path page_;
};

// Opens the submission window without modality and returns it; it deletes
// itself when closed. The main window is disabled while it is open. An error
// writing the page escapes to the caller, the window gone and the main
// window enabled again.
frmSubmit* ShowSubmit(frmMain* mainWindow);
