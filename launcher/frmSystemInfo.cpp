#include "launcher/frmSystemInfo.h"

#include <QApplication>
#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>

#include "launcher/core/launcher_text.h"
#include "launcher/sysinfo/platform_error.h"
#include "launcher/sysinfo/report_sink.h"
#include "launcher/sysinfo/sysinfo_provider.h"
#include "launcher/sysinfo/system_report.h"
#include "ui_frmSystemInfo.h"

namespace {

SystemInfoProviderFactory& ProviderFactory() {
  static SystemInfoProviderFactory factory;
  return factory;
}

// The report's lines go straight into the list, in the order they come.
class ListSink final : public kovrin::sysinfo::ReportSink {
 public:
  explicit ListSink(QListWidget* list) : list_(list) {}
  void AddItem(const std::string& line) override { list_->addItem(QString::fromStdString(line)); }

 private:
  QListWidget* list_;
};

QPointer<frmSystemInfo>& OpenWindow() {
  static QPointer<frmSystemInfo> window;
  return window;
}

}  // namespace

frmSystemInfo::frmSystemInfo() : ui(std::make_unique<Ui::frmSystemInfo>()) {
  ui->setupUi(this);
  setAttribute(Qt::WA_DeleteOnClose);
  connect(ui->cmdCancel, &QPushButton::clicked, this, &frmSystemInfo::cmdCancel_Click);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &frmSystemInfo::cmdCancel_Click);
}

frmSystemInfo::~frmSystemInfo() = default;

void frmSystemInfo::Form_Load() {
  show();
  // Let the window appear before the enumeration blocks the thread.
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  ui->OutList->clear();
  const SystemInfoProviderFactory& factory = ProviderFactory();
  provider_ = factory ? factory() : kovrin::sysinfo::MakeLinuxProvider();
  GetDisplayCards();
}

void frmSystemInfo::GetDisplayCards() {
  ListSink out(ui->OutList);
  try {
    kovrin::sysinfo::SystemReport(*provider_, out).GetDisplayCards();
  } catch (const kovrin::sysinfo::PlatformError& error) {
    // Not handled: passed on with its number for the launcher's error box.
    throw kovrin::launcher::UntrappedError(error.number(), error.what());
  }
}

void frmSystemInfo::cmdCancel_Click() { close(); }

void ShowSystemInfo(QWidget* /*mainWindow*/) {
  QPointer<frmSystemInfo>& window = OpenWindow();
  if (window) {
    window->showNormal();
    window->raise();
    window->activateWindow();
    return;
  }
  window = new frmSystemInfo;
  window->Form_Load();
}

void SetSystemInfoProviderFactory(SystemInfoProviderFactory factory) { ProviderFactory() = std::move(factory); }
