// The result submission window: the page with the score's form, shown in
// the embedded browser, from which the user posts the score to the results
// site. The launcher itself sends nothing; the browser posts the form.
//
// The page is written as the file `submit` into a private folder of its own
// in the launcher's folder when the window loads, navigated to by its plain
// path, and deleted with its folder as soon as any document has finished
// loading, and again when the window closes.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <filesystem>
#include <memory>

class QKeyEvent;
class QUrl;
class WebBrowser;
class frmMain;
namespace Ui {
class frmSubmit;
}

class frmSubmit final : public QDialog {
  Q_OBJECT

 public:
  explicit frmSubmit(frmMain* mainWindow);
  ~frmSubmit() override;

  // The event handlers.
  void Form_Load();
  void Browser_DocumentComplete(const QUrl& url);
  void cmdCancel_Click();
  void Form_Unload();

  // Writes the page file for the score the main window shows.
  void CreateHTML();
  // The page file CreateHTML wrote; empty before.
  QString PagePath() const;

  WebBrowser* Browser() const;

  // The close box and Cancel pass here.
  void done(int result) override;

 protected:
  // Esc is not bound to Cancel here: the user may be typing in the form.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::unique_ptr<Ui::frmSubmit> ui;
  QPointer<frmMain> main_;
  QString folder_;
  std::filesystem::path page_;
  bool unloaded_ = false;
};

// Opens the submission window without modality and returns it; it deletes
// itself when closed. The main window is disabled while it is open. An error
// writing the page escapes to the caller, the window gone and the main
// window enabled again.
frmSubmit* ShowSubmit(frmMain* mainWindow);
