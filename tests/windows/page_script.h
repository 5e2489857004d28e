// Driving the submission page inside the launcher's browser as a user's
// typing would, for the tests that post it to a site.
#pragma once

#include <QString>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QtTest>

#include "launcher/webview/web_browser.h"

namespace kovrin::test::windows {

inline constexpr int kPageTimeoutMs = 120000;  // the first page starts the browser engine

// Runs `script` in the page's isolated world and waits until it has run.
inline bool RunScript(WebBrowser* browser, const QString& script) {
  bool done = false;
  browser->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant&) { done = true; });
  return QTest::qWaitFor([&] { return done; }, kPageTimeoutMs);
}

}  // namespace kovrin::test::windows
