// The submission window on the offscreen platform with the real browser:
// the page file it writes, its checksum across openings, the browser showing
// the page and the page file's removal, and the main window's state.
//
// The results site is a loopback address nobody listens on: nothing is
// posted here (the end-to-end test posts).
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QtTest>

#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <system_error>

#include "launcher/frmMain.h"
#include "launcher/frmSubmit.h"
#include "launcher/submit/checksum.h"
#include "launcher/submit/results_site.h"
#include "launcher/webview/web_browser.h"
#include "tests/support/qt_scratch_folder.h"
#include "tests/windows/expected_page.h"
#include "tests/windows/window_test_support.h"

using kovrin::test::windows::CloseRoute;

namespace {

constexpr char kSite[] = "http://127.0.0.1:9";
constexpr int kLoadTimeoutMs = 120000;  // the first page starts the browser engine

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray("<no file>");
  return file.readAll();
}

// The value of the page's field `name`, read by the browser from the page.
// The page itself runs no script; the test's own runs beside it.
QString FieldValue(WebBrowser* browser, const QString& name) {
  QVariant value;
  bool done = false;
  browser->page()->runJavaScript(QStringLiteral("document.getElementsByName('%1')[0].value").arg(name),
                                 QWebEngineScript::ApplicationWorld, [&](const QVariant& result) {
                                   value = result;
                                   done = true;
                                 });
  if (!QTest::qWaitFor([&] { return done; }, kLoadTimeoutMs)) return QStringLiteral("<no answer>");
  return value.toString();
}

}  // namespace

class SubmitWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void captionAndControls();
  void pageFileHasTheExactBytes();
  void secondOpeningContinuesTheChecksum();
  void decimalCommaGoesIntoTheResultValue();
  void pageIsShownAsHtmlFromItsPlainPath();
  void closingWhenThePageIsGoneIsQuiet();
  void closeEnablesMainWindow_data();
  void closeEnablesMainWindow();
  void escapeDoesNotClose();
  void notOpenedWithoutScore_data();
  void notOpenedWithoutScore();
  void unwritableFolderLeavesTheMainWindowUsable();
  void hostileSubmitEntryIsLeftAlone_data();
  void hostileSubmitEntryIsLeftAlone();
  void pageReadsNoLocalFile();
  void pageScriptsDoNotRun();

 private:
  // The page file of the window opened last.
  QString PagePath() const { return pageFile; }
  // The launcher's folder holds nothing of the page: neither it nor its folder.
  bool FolderIsEmpty() const {
    return QDir(dir->path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
  }
  // Opens the window for `caption` and `result` and returns it with the
  // checksum its page must carry.
  frmSubmit* Open(const QString& caption, int32_t result, std::string* checksum = nullptr) {
    main->lblResult()->setText(caption);
    main->Result = result;
    kovrin::submit::ChecksumGenerator expected = kovrin::submit::LauncherChecksumGenerator();
    frmSubmit* window = ShowSubmit(main.get());
    pageFile = window->PagePath();
    if (checksum != nullptr) *checksum = kovrin::submit::randnums(expected, result);
    return window;
  }
  // Whether the browser has finished `count` documents (waits for them).
  static bool Finished(QSignalSpy& spy, int count) {
    return QTest::qWaitFor([&] { return spy.count() >= count; }, kLoadTimeoutMs);
  }

  std::unique_ptr<kovrin::test::QtScratchFolder> dir;
  std::unique_ptr<frmMain> main;
  QString pageFile;
};

void SubmitWindowTest::initTestCase() { qputenv(kovrin::submit::kSiteVariable, kSite); }

void SubmitWindowTest::init() {
  pageFile.clear();
  dir = std::make_unique<kovrin::test::QtScratchFolder>();
  QVERIFY(dir->isValid());
  main = kovrin::test::windows::MakeMainWindow(dir->path());
}

void SubmitWindowTest::cleanup() {
  for (frmSubmit* window : kovrin::test::windows::OpenWindows<frmSubmit>()) delete window;
  main.reset();
  dir.reset();
}

void SubmitWindowTest::captionAndControls() {
  frmSubmit* window = Open(QStringLiteral("99.9 fps"), 100);
  QCOMPARE(window->windowTitle(), QStringLiteral("Submit Results"));
  auto* cancel = window->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
  QVERIFY(cancel != nullptr);
  QCOMPARE(cancel->text(), QStringLiteral("&Cancel"));
  auto* browser = window->findChild<WebBrowser*>(QStringLiteral("Browser"));
  QVERIFY2(browser != nullptr, "the browser control is named Browser");
  QVERIFY(qobject_cast<QWebEngineView*>(browser) != nullptr);
  QVERIFY(!main->isEnabled());
}

void SubmitWindowTest::pageFileHasTheExactBytes() {
  std::string checksum;
  Open(QStringLiteral("1234 fps"), 1234, &checksum);
  const std::string expected =
      kovrin::test::windows::ExpectedPage(kSite, std::string(kovrin::submit::BuildRecipient()),
                                          kovrin::test::windows::BuildVersionText(), "1234", checksum) +
      "\r\n";
  const QByteArray bytes = ReadFile(PagePath());
  QCOMPARE(bytes, QByteArray::fromStdString(expected));
  QVERIFY2(!bytes.contains('"') && !bytes.contains('\''), "attribute values without quotation marks");
  QVERIFY(bytes.endsWith("\r\n"));
  QCOMPARE(bytes.count('\n'), 1);
  QCOMPARE(checksum.size(), std::size_t{40});
}

void SubmitWindowTest::secondOpeningContinuesTheChecksum() {
  std::string first;
  QPointer<frmSubmit> window = Open(QStringLiteral("42 fps"), 42, &first);
  const QByteArray firstPage = ReadFile(PagePath());
  window->close();
  QTRY_VERIFY(window.isNull());

  std::string second;
  Open(QStringLiteral("42 fps"), 42, &second);
  const QByteArray secondPage = ReadFile(PagePath());
  QVERIFY2(first != second, "the second opening draws the next 40 numbers");
  QVERIFY2(firstPage.contains(QByteArray("name=checksum value=") + QByteArray::fromStdString(first) + ">"),
           firstPage.constData());
  QVERIFY2(secondPage.contains(QByteArray("name=checksum value=") + QByteArray::fromStdString(second) + ">"),
           secondPage.constData());
  QCOMPARE(second.size(), std::size_t{39});
}

void SubmitWindowTest::decimalCommaGoesIntoTheResultValue() {
  Open(QStringLiteral("123,4 fps"), 123);
  const QByteArray page = ReadFile(PagePath());
  QVERIFY2(page.contains("<input type=hidden name=kovrin_result value=123,4>"), page.constData());
}

void SubmitWindowTest::pageIsShownAsHtmlFromItsPlainPath() {
  std::string checksum;
  frmSubmit* window = Open(QStringLiteral("123,4 fps"), 123, &checksum);
  QSignalSpy complete(window->Browser(), &WebBrowser::DocumentComplete);
  QVERIFY(QFile::exists(PagePath()));
  QVERIFY2(Finished(complete, 1), "the page never finished loading");
  QVERIFY2(!QFile::exists(PagePath()), "the page file is deleted once the page has loaded");
  QVERIFY2(FolderIsEmpty(), "the page's own folder goes with it");
  QVERIFY2(QFileInfo(PagePath()).absolutePath().startsWith(dir->path() + QStringLiteral("/submit-")),
           qPrintable(PagePath()));
  // Shown as a document of no origin, not as a local file.
  QCOMPARE(complete.first().first().toUrl().scheme(), QStringLiteral("data"));
  QCOMPARE(window->Browser()->url().scheme(), QStringLiteral("data"));
  QCOMPARE(window->Browser()->title(), QStringLiteral("Submit"));  // HTML, not the file shown as text
  QCOMPARE(FieldValue(window->Browser(), QStringLiteral("kovrin_result")), QStringLiteral("123,4"));
  QCOMPARE(FieldValue(window->Browser(), QStringLiteral("checksum")), QString::fromStdString(checksum));
  QCOMPARE(FieldValue(window->Browser(), QStringLiteral("redirect")),
           QStringLiteral("%1/kovrin/redirect.htm").arg(QLatin1String(kSite)));
}

void SubmitWindowTest::closingWhenThePageIsGoneIsQuiet() {
  QPointer<frmSubmit> window = Open(QStringLiteral("7 fps"), 7);
  QSignalSpy complete(window->Browser(), &WebBrowser::DocumentComplete);
  QVERIFY2(Finished(complete, 1), "the page never finished loading");
  QVERIFY(!QFile::exists(PagePath()));
  QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
  QVERIFY(main->isEnabled());
  QTRY_VERIFY(window.isNull());
  QVERIFY(!QFile::exists(PagePath()));
}

void SubmitWindowTest::closeEnablesMainWindow_data() {
  QTest::addColumn<CloseRoute>("route");
  QTest::newRow("cancel button") << CloseRoute::CancelButton;
  QTest::newRow("close box") << CloseRoute::CloseBox;
}

// Closed before the page has loaded: the page file goes with the window.
void SubmitWindowTest::closeEnablesMainWindow() {
  QFETCH(CloseRoute, route);
  QPointer<frmSubmit> window = Open(QStringLiteral("7 fps"), 7);
  QVERIFY(!main->isEnabled());
  QVERIFY(QFile::exists(PagePath()));
  kovrin::test::windows::Close(window, window->findChild<QPushButton*>(QStringLiteral("cmdCancel")), route);
  QVERIFY2(main->isEnabled(), "the main window must be usable again once the window has closed");
  QVERIFY2(!QFile::exists(PagePath()), "closing deletes the page file");
  QVERIFY(FolderIsEmpty());
  QTRY_VERIFY(window.isNull());
}

void SubmitWindowTest::escapeDoesNotClose() {
  frmSubmit* window = Open(QStringLiteral("7 fps"), 7);
  QTest::keyClick(window, Qt::Key_Escape);
  QVERIFY2(window->isVisible(), "Esc is not bound to Cancel in the submission window");
  QVERIFY(!main->isEnabled());
}

void SubmitWindowTest::notOpenedWithoutScore_data() {
  QTest::addColumn<QString>("caption");
  QTest::newRow("empty") << QString();
  QTest::newRow("n.a.") << QStringLiteral("n.a.");
}

void SubmitWindowTest::notOpenedWithoutScore() {
  QFETCH(QString, caption);
  main->lblResult()->setText(caption);
  main->cmdSubmit_Click();
  QVERIFY(kovrin::test::windows::OpenWindows<frmSubmit>().isEmpty());
  QVERIFY(FolderIsEmpty());
  QVERIFY(main->isEnabled());

  main->lblResult()->setText(QStringLiteral("5 fps"));
  main->cmdSubmit_Click();
  QCOMPARE(kovrin::test::windows::OpenWindows<frmSubmit>().size(), 1);
}

// An error writing the page is the caller's to report (the launcher's
// handling of untrapped errors); the window is gone and the main window
// usable, not left disabled with nothing open.
void SubmitWindowTest::unwritableFolderLeavesTheMainWindowUsable() {
  main = kovrin::test::windows::MakeMainWindow(dir->filePath(QStringLiteral("no such folder")));
  main->lblResult()->setText(QStringLiteral("7 fps"));
  bool thrown = false;
  try {
    ShowSubmit(main.get());
  } catch (const std::system_error&) {
    thrown = true;
  }
  QVERIFY2(thrown, "writing into a missing folder must fail");
  QVERIFY(main->isEnabled());
  QVERIFY(kovrin::test::windows::OpenWindows<frmSubmit>().isEmpty());
}

void SubmitWindowTest::hostileSubmitEntryIsLeftAlone_data() {
  QTest::addColumn<bool>("pipe");
  QTest::newRow("link to a file outside") << false;
  QTest::newRow("named pipe") << true;
}

// Someone has put a link or a pipe under the page's name in the launcher's
// folder: Submit Results neither writes through the link nor waits on the
// pipe, shows the page, and leaves the entry as it found it.
void SubmitWindowTest::hostileSubmitEntryIsLeftAlone() {
  QFETCH(bool, pipe);
  kovrin::test::QtScratchFolder outside;
  QVERIFY(outside.isValid());
  const QString entry = dir->filePath(QStringLiteral("submit"));
  const QString victim = outside.filePath(QStringLiteral("precious"));
  {
    QFile file(victim);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep me\n");
  }
  if (pipe) {
    QCOMPARE(::mkfifo(QFile::encodeName(entry).constData(), 0600), 0);
  } else {
    QVERIFY(QFile::link(victim, entry));
  }

  main->lblResult()->setText(QStringLiteral("42 fps"));
  main->cmdSubmit_Click();
  const QList<frmSubmit*> open = kovrin::test::windows::OpenWindows<frmSubmit>();
  QCOMPARE(open.size(), 1);
  QPointer<frmSubmit> window = open.front();
  QSignalSpy complete(window->Browser(), &WebBrowser::DocumentComplete);
  QVERIFY2(Finished(complete, 1), "the page never finished loading");
  QCOMPARE(window->Browser()->title(), QStringLiteral("Submit"));
  QCOMPARE(FieldValue(window->Browser(), QStringLiteral("kovrin_result")), QStringLiteral("42"));
  window->close();
  QTRY_VERIFY(window.isNull());

  const QFileInfo after(entry);
  if (pipe) {
    struct stat status {};
    QCOMPARE(::lstat(QFile::encodeName(entry).constData(), &status), 0);
    QVERIFY2(S_ISFIFO(status.st_mode), "the pipe is still a pipe");
  } else {
    QVERIFY2(after.isSymLink(), "the link is left where it was");
    QCOMPARE(after.symLinkTarget(), victim);
  }
  QCOMPARE(ReadFile(victim), QByteArray("keep me\n"));
  QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
           QStringList{QStringLiteral("submit")});
}

// The browser control runs no script of a page it shows: the submission page
// needs none.
// A page shown from its path can load no other local file: here a picture
// beside it, named by its absolute file URL.
void SubmitWindowTest::pageReadsNoLocalFile() {
  frmSubmit* window = Open(QStringLiteral("7 fps"), 7);
  QSignalSpy first(window->Browser(), &WebBrowser::DocumentComplete);
  QVERIFY2(Finished(first, 1), "the page never finished loading");

  const QString picture = dir->filePath(QStringLiteral("local.png"));
  QImage image(4, 3, QImage::Format_RGB32);
  image.fill(Qt::red);
  QVERIFY(image.save(picture));
  const QString page = dir->filePath(QStringLiteral("picture.html"));
  {
    QFile file(page);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html><head><title>Picture</title></head><body><img src=" + QUrl::fromLocalFile(picture).toEncoded() +
               "></body></html>");
  }
  QSignalSpy complete(window->Browser(), &WebBrowser::DocumentComplete);
  window->Browser()->Navigate(page);
  QVERIFY2(Finished(complete, 1), "the picture page never finished loading");
  QCOMPARE(window->Browser()->title(), QStringLiteral("Picture"));
  QVariant width;
  bool done = false;
  window->Browser()->page()->runJavaScript(QStringLiteral("document.images[0].naturalWidth"),
                                           QWebEngineScript::ApplicationWorld, [&](const QVariant& result) {
                                             width = result;
                                             done = true;
                                           });
  QVERIFY(QTest::qWaitFor([&] { return done; }, kLoadTimeoutMs));
  QCOMPARE(width.toInt(), 0);
  QFile::remove(page);
  QFile::remove(picture);
}

void SubmitWindowTest::pageScriptsDoNotRun() {
  frmSubmit* window = Open(QStringLiteral("7 fps"), 7);
  QSignalSpy first(window->Browser(), &WebBrowser::DocumentComplete);
  QVERIFY2(Finished(first, 1), "the page never finished loading");

  const QString scripted = dir->filePath(QStringLiteral("scripted.html"));
  {
    QFile file(scripted);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "<html><head><title>Quiet</title></head><body>"
        "<script>document.title = 'Script ran';</script></body></html>");
  }
  QSignalSpy complete(window->Browser(), &WebBrowser::DocumentComplete);
  window->Browser()->Navigate(scripted);
  QVERIFY2(Finished(complete, 1), "the scripted page never finished loading");
  QCOMPARE(window->Browser()->title(), QStringLiteral("Quiet"));
  QFile::remove(scripted);
}

QTEST_MAIN(SubmitWindowTest)
#include "submit_window_test.moc"
