#include "web_browser.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QWebEngineSettings>

#include "webengine_environment.h"

// The environment has to be right before the engine starts, which is when
// the first view is built.
QWidget* WebBrowser::PreparedParent(QWidget* parent) {
  submit::PrepareWebEngineEnvironment();
  return parent;
}

WebBrowser::WebBrowser(QWidget* parent) : QWebEngineView(PreparedParent(parent)) {
  // The page is local content; its form posts to the results site.
  settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
  connect(this, &QWebEngineView::loadFinished, this, [this](bool) { emit DocumentComplete(url()); });
}

void WebBrowser::Navigate(const QString& target) {
  if (target.contains(QLatin1String("://"))) {
    load(QUrl(target));
    return;
  }
  const QUrl address = QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
  QFile file(target);
  if (!file.open(QIODevice::ReadOnly)) {
    load(address);
    return;
  }
  setContent(file.readAll(), QStringLiteral("text/html;charset=ISO-8859-1"), address);
}
