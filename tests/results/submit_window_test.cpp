// The launcher's Submit Results window against the real results service:
// the page the window shows posts to kovrin-results (a scratch SQLite file,
// reached through the KOVRIN_RESULTS_SITE override), the service's thank-you
// page appears inside the window, and the ranking lists the name.
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QtTest>

#include <httplib.h>

#include <memory>
#include <optional>
#include <string>

#include "launcher/frmMain.h"
#include "launcher/frmSubmit.h"
#include "launcher/submit/results_site.h"
#include "launcher/webview/web_browser.h"
#include "tests/results/service_process.h"
#include "tests/support/qt_scratch_folder.h"
#include "tests/windows/page_script.h"
#include "tests/windows/window_test_support.h"

namespace {

constexpr int kTimeoutMs = kovrin::test::windows::kPageTimeoutMs;
using kovrin::test::windows::RunScript;

QString PageText(WebBrowser* browser) {
  std::optional<QString> text;
  browser->page()->toPlainText([&](const QString& plain) { text = plain; });
  if (!QTest::qWaitFor([&] { return text.has_value(); }, kTimeoutMs)) return QStringLiteral("(no text)");
  return *text;
}

}  // namespace

class SubmitToServiceTest : public QObject {
  Q_OBJECT

 private slots:
  void theThanksPageAppearsInTheWindowAndTheRankingListsTheName();
};

void SubmitToServiceTest::theThanksPageAppearsInTheWindowAndTheRankingListsTheName() {
  kovrin::test::ScratchFolder scratch;
  kovrin::test::results::Service service(scratch.Path(), {"--db", (scratch.Path() / "results.sqlite").string()});
  QVERIFY2(service.Started(), service.Log().c_str());
  const QString base = QString::fromStdString(service.BaseUrl());
  qputenv(kovrin::submit::kSiteVariable, base.toUtf8());

  kovrin::test::QtScratchFolder dir;
  std::unique_ptr<frmMain> main = kovrin::test::windows::MakeMainWindow(dir.path());
  main->lblResult()->setText(QStringLiteral("123,4 fps"));
  main->Result = 123;
  main->cmdSubmit_Click();
  const QList<frmSubmit*> open = kovrin::test::windows::OpenWindows<frmSubmit>();
  QCOMPARE(open.size(), 1);
  QPointer<frmSubmit> window = open.front();

  WebBrowser* browser = window->Browser();
  QSignalSpy complete(browser, &WebBrowser::DocumentComplete);
  QVERIFY2(QTest::qWaitFor([&] { return complete.count() >= 1; }, kTimeoutMs), "the page never finished loading");
  QCOMPARE(browser->title(), QStringLiteral("Submit"));

  // The text box and the text area, filled in as a user would; the page
  // itself runs no script.
  QVERIFY(RunScript(browser, QStringLiteral("document.getElementsByName('Name')[0].value = 'Ada <script>';"
                                            "document.getElementsByName('System')[0].value = 'Mesa llvmpipe, 8 GB';"
                                            "document.getElementsByName('B1')[0].click();")));
  QVERIFY2(QTest::qWaitFor([&] { return complete.count() >= 2; }, kTimeoutMs),
           "the browser never finished the document after the post");

  const QUrl thanks(base + QStringLiteral("/kovrin/redirect.htm?id=1"));
  QTRY_COMPARE_WITH_TIMEOUT(browser->url(), thanks, kTimeoutMs);
  QTRY_COMPARE_WITH_TIMEOUT(browser->title(), QStringLiteral("Thank you"), kTimeoutMs);
  const QString text = PageText(browser);
  QVERIFY2(text.contains(QStringLiteral("Your result of 123,4 fps is number 1 in the ranking.")), qPrintable(text));

  httplib::Client client(service.BaseUrl());
  const httplib::Result ranking = client.Get("/");
  QVERIFY(ranking);
  QCOMPARE(ranking->status, 200);
  QVERIFY2(ranking->body.find("<td>Ada &lt;script&gt;</td>") != std::string::npos, ranking->body.c_str());
  QVERIFY2(ranking->body.find("Mesa llvmpipe, 8 GB") != std::string::npos, ranking->body.c_str());
  QVERIFY2(ranking->body.find("123,4 fps") != std::string::npos, ranking->body.c_str());

  QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
  QTRY_VERIFY(window.isNull());
  QCOMPARE(service.Stop(SIGTERM), 0);
}

QTEST_MAIN(SubmitToServiceTest)
#include "submit_window_test.moc"
