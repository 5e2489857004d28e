// The submission from end to end, headless: the real submission window of a
// real main window writes its page into a private folder in the launcher's
// folder, the browser shows it and the file goes; the form, filled in and
// submitted from the test (the page itself runs no script), posts to a
// results site on the loopback interface, which redirects the browser to its
// thank-you page.
//
// Nothing of the browser engine's environment is set for this test except
// the offscreen platform: the launcher itself must make the engine run there
// (and as root).
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QtTest>

#include <memory>
#include <string>

#include "launcher/frmMain.h"
#include "launcher/frmSubmit.h"
#include "launcher/submit/checksum.h"
#include "launcher/submit/results_site.h"
#include "launcher/webview/web_browser.h"
#include "tests/support/qt_scratch_folder.h"
#include "tests/windows/expected_page.h"
#include "tests/windows/page_script.h"
#include "tests/windows/results_site_stub.h"
#include "tests/windows/window_test_support.h"

namespace {

constexpr int kTimeoutMs = kovrin::test::windows::kPageTimeoutMs;
using kovrin::test::windows::RunScript;

QString Describe(const QList<QPair<QString, QString>>& fields) {
  QStringList parts;
  for (const auto& [name, value] : fields) parts << name + "=" + value;
  return parts.join(QStringLiteral(" & "));
}

}  // namespace

class SubmitEndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void postsTheFormToTheResultsSite();
};

void SubmitEndToEndTest::postsTheFormToTheResultsSite() {
  ResultsSiteStub site;
  QVERIFY(site.Listen());
  qputenv(kovrin::submit::kSiteVariable, site.BaseUrl().toUtf8());

  kovrin::test::QtScratchFolder dir;
  QVERIFY(dir.isValid());
  std::unique_ptr<frmMain> main = kovrin::test::windows::MakeMainWindow(dir.path());
  main->lblResult()->setText(QStringLiteral("123,4 fps"));
  main->Result = 123;
  kovrin::submit::ChecksumGenerator expected = kovrin::submit::LauncherChecksumGenerator();
  const QString checksum = QString::fromStdString(kovrin::submit::randnums(expected, 123));

  main->cmdSubmit_Click();
  const QList<frmSubmit*> open = kovrin::test::windows::OpenWindows<frmSubmit>();
  QCOMPARE(open.size(), 1);
  QPointer<frmSubmit> window = open.front();
  QVERIFY(!main->isEnabled());
  const QString pagePath = window->PagePath();
  QVERIFY2(QFile::exists(pagePath), "the page is written");
  QVERIFY2(pagePath.startsWith(dir.filePath(QStringLiteral("submit-"))), qPrintable(pagePath));

  WebBrowser* browser = window->Browser();
  QSignalSpy complete(browser, &WebBrowser::DocumentComplete);
  QVERIFY2(QTest::qWaitFor([&] { return complete.count() >= 1; }, kTimeoutMs), "the page never finished loading");
  QCOMPARE(browser->url().scheme(), QStringLiteral("data"));  // no file address, no origin
  QCOMPARE(browser->title(), QStringLiteral("Submit"));
  QVERIFY2(!QFile::exists(pagePath), "the page file is gone once the page has loaded");

  QVERIFY(RunScript(browser, QStringLiteral("document.getElementsByName('Name')[0].value = 'Ada Tester';"
                                            "document.getElementsByName('System')[0].value = 'Mesa llvmpipe & 8 GB';"
                                            "document.getElementsByName('B1')[0].click();")));
  QVERIFY2(QTest::qWaitFor([&] { return complete.count() >= 2; }, kTimeoutMs),
           "the browser never finished the document after the post");

  const QString redirect = site.BaseUrl() + QStringLiteral("/kovrin/redirect.htm");
  QList<HttpRequest> posts;
  for (const HttpRequest& request : site.Requests()) {
    if (request.method == "POST") posts << request;
  }
  QCOMPARE(posts.size(), 1);
  QCOMPARE(posts.front().path, QByteArray("/cgi-bin/ezformml.cgi"));
  QCOMPARE(posts.front().contentType, QByteArray("application/x-www-form-urlencoded"));
  const QList<QPair<QString, QString>> fields = FormFields(posts.front().body);
  const QList<QPair<QString, QString>> expectedFields = {
      {"redirect", redirect},
      {"to_email",
       QString::fromUtf8(kovrin::submit::BuildRecipient().data(), qsizetype(kovrin::submit::BuildRecipient().size()))},
      {"subject", "Kovrin_Submit"},
      {"kovrin_version", QString::fromStdString(kovrin::test::windows::BuildVersionText())},
      {"kovrin_result", "123,4"},
      {"checksum", checksum},
      {"Name", "Ada Tester"},
      {"System", "Mesa llvmpipe & 8 GB"},
      {"B1", "Submit"},
  };
  QVERIFY2(fields == expectedFields,
           qPrintable("expected " + Describe(expectedFields) + "\n     got " + Describe(fields)));

  // The form-mail endpoint sent the browser on; it followed.
  bool redirectFetched = false;
  for (const HttpRequest& request : site.Requests()) {
    redirectFetched |= request.method == "GET" && request.path == "/kovrin/redirect.htm";
  }
  QVERIFY2(redirectFetched, "the browser did not follow the redirect");
  QTRY_COMPARE_WITH_TIMEOUT(browser->url(), QUrl(redirect), kTimeoutMs);
  QCOMPARE(complete.last().first().toUrl(), QUrl(redirect));
  QTRY_COMPARE_WITH_TIMEOUT(browser->title(), QString::fromLatin1(ResultsSiteStub::kThanksTitle), kTimeoutMs);

  QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
  QVERIFY(main->isEnabled());
  QTRY_VERIFY(window.isNull());
  QVERIFY(!QFile::exists(pagePath));
  QVERIFY2(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
           "the page's folder is gone from the launcher's folder");
}

QTEST_MAIN(SubmitEndToEndTest)
#include "submit_e2e_test.moc"
