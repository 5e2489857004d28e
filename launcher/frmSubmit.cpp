#include "frmSubmit.h"

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include <filesystem>
#include <string>

#include "checksum.h"
#include "frmMain.h"
#include "results_site.h"
#include "secondary_window.h"
#include "submit_page.h"
#include "ui_frmSubmit.h"
#include "web_browser.h"

namespace {

std::filesystem::path LocalPath(const QString& folder) { return QFile::encodeName(folder).toStdString(); }

}  // namespace

frmSubmit::frmSubmit(frmMain* mainWindow)
    : ui(std::make_unique<Ui::frmSubmit>()),
      main_(mainWindow),
      folder_(mainWindow != nullptr ? mainWindow->LauncherFolder() : QString()) {
  ui->setupUi(this);
  connect(ui->Browser, &WebBrowser::DocumentComplete, this, &frmSubmit::Browser_DocumentComplete);
  connect(ui->cmdCancel, &QPushButton::clicked, this, &frmSubmit::cmdCancel_Click);
}

frmSubmit::~frmSubmit() { Form_Unload(); }

WebBrowser* frmSubmit::Browser() const { return ui->Browser; }

QString frmSubmit::PagePath() const { return QFile::decodeName(page_.c_str()); }

void frmSubmit::Form_Load() {
  if (main_) main_->setEnabled(false);
  CreateHTML();
  ui->Browser->Navigate(PagePath());
}

void frmSubmit::CreateHTML() {
  if (!main_) return;
  submit::DeleteSubmitPage(page_);
  page_.clear();
  page_ = submit::CreateHTML(LocalPath(folder_), main_->lblResult()->text().toStdString(), main_->Result,
                             submit::LauncherChecksumGenerator(), submit::LauncherResultsSite());
}

// Every finished document, the page itself or one the page went on to, is
// a chance to remove the page file; a file already gone is no error.
void frmSubmit::Browser_DocumentComplete(const QUrl&) { submit::DeleteSubmitPage(page_); }

void frmSubmit::cmdCancel_Click() { close(); }

void frmSubmit::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  if (main_) main_->setEnabled(true);
  submit::DeleteSubmitPage(page_);
}

void frmSubmit::done(int result) {
  Form_Unload();
  QDialog::done(result);
}

void frmSubmit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Cancel)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

frmSubmit* ShowSubmit(frmMain* mainWindow) {
  auto window = std::make_unique<frmSubmit>(mainWindow);
  window->Form_Load();
  ShowDisablingMainWindow(window.get(), mainWindow);
  return window.release();
}
