#include "launcher/frmSubmit.h"

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include <filesystem>
#include <string>

#include "launcher/frmMain.h"
#include "launcher/submit/checksum.h"
#include "launcher/submit/results_site.h"
#include "launcher/submit/submit_page.h"
#include "launcher/webview/web_browser.h"
#include "ui_frmSubmit.h"

using kovrin::gui::SecondaryWindow;

namespace {

std::filesystem::path LocalPath(const QString& folder) { return QFile::encodeName(folder).toStdString(); }

}  // namespace

frmSubmit::frmSubmit(frmMain* mainWindow)
    : SecondaryWindow(mainWindow),
      ui(std::make_unique<Ui::frmSubmit>()),
      folder_(mainWindow != nullptr ? mainWindow->LauncherFolder() : QString()) {
  ui->setupUi(this);
  connect(ui->Browser, &WebBrowser::DocumentComplete, this, &frmSubmit::Browser_DocumentComplete);
  connect(ui->cmdCancel, &QPushButton::clicked, this, &frmSubmit::cmdCancel_Click);
}

// The base's destructor could no longer reach the page file.
frmSubmit::~frmSubmit() { Unload(); }

WebBrowser* frmSubmit::Browser() const { return ui->Browser; }

QString frmSubmit::PagePath() const { return QFile::decodeName(page_.c_str()); }

void frmSubmit::Form_Load() {
  CreateHTML();
  ui->Browser->Navigate(PagePath());
}

void frmSubmit::CreateHTML() {
  const frmMain* main = MainWindow<frmMain>();
  if (main == nullptr) return;
  kovrin::submit::DeleteSubmitPage(page_);
  page_.clear();
  page_ =
      kovrin::submit::CreateHTML(LocalPath(folder_), main->lblResult()->text().toStdString(), main->Result,
                                 kovrin::submit::LauncherChecksumGenerator(), kovrin::submit::LauncherResultsSite());
}

// Every finished document, the page itself or one the page went on to, is
// a chance to remove the page file; a file already gone is no error.
void frmSubmit::Browser_DocumentComplete(const QUrl&) { kovrin::submit::DeleteSubmitPage(page_); }

void frmSubmit::cmdCancel_Click() { close(); }

void frmSubmit::Form_Unload() {
  SecondaryWindow::Form_Unload();
  kovrin::submit::DeleteSubmitPage(page_);
}

void frmSubmit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Cancel)) {
    event->accept();
    return;
  }
  SecondaryWindow::keyPressEvent(event);
}

frmSubmit* ShowSubmit(frmMain* mainWindow) { return SecondaryWindow::Open<frmSubmit>(mainWindow); }
