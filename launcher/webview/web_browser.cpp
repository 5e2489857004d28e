#include "launcher/webview/web_browser.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QWebEngineSettings>

#include <optional>

#include "launcher/webview/webengine_environment.h"

// The environment has to be right before the engine starts, which is when
// the first view is built.
QWidget* WebBrowser::PreparedParent(QWidget* parent) {
  kovrin::webview::PrepareWebEngineEnvironment();
  return parent;
}

namespace {

// The page is about a kilobyte; anything far larger is not our page.
constexpr qint64 kMaxPageBytes = 1 << 20;

// The bytes of the regular file at `path`, or nothing. Neither a final link
// nor a pipe is followed or waited for: the view must never freeze on a name
// someone else put there.
std::optional<QByteArray> ReadPageFile(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  QFile file;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > kMaxPageBytes ||
      !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return std::nullopt;
  }
  return file.read(kMaxPageBytes);
}

}  // namespace

WebBrowser::WebBrowser(QWidget* parent) : QWebEngineView(PreparedParent(parent)) {
  // The page is a plain form: it needs no script, and no local file but its
  // own, which Navigate reads itself.
  QWebEngineSettings* const options = settings();
  options->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
  options->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  options->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  connect(this, &QWebEngineView::loadFinished, this, [this](bool) { emit DocumentComplete(url()); });
}

void WebBrowser::Navigate(const QString& target) {
  if (target.contains(QLatin1String("://"))) {
    load(QUrl(target));
    return;
  }
  const std::optional<QByteArray> page = ReadPageFile(target);
  if (!page) {
    load(QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath()));
    return;
  }
  // Without a base address the document has no origin (the engine gives it a
  // data: address): it is no local content that could read files, and it
  // still posts its form to the results site.
  setContent(*page, QStringLiteral("text/html;charset=ISO-8859-1"), QUrl());
}
