// The embedded web browser of the submission window: a Qt WebEngine view with
// the two operations the window uses, Navigate and DocumentComplete.
#pragma once

#include <QUrl>
#include <QWebEngineView>

class QString;

class WebBrowser : public QWebEngineView {
  Q_OBJECT

 public:
  explicit WebBrowser(QWidget* parent = nullptr);

  // Shows the document at `target`: a URL with a scheme, or a plain file path.
  //
  // A plain path is read here and handed to the engine as HTML in ISO-8859-1
  // (the code page our page file is written in), as a document without an
  // origin: its address is a data: URL, not the file's, so it may read no
  // local file. Chromium types a local file by its extension and shows a
  // file without one as plain text, and the submission page file has none.
  // Only a regular file is read here (never through a final link, never
  // waiting on a pipe); anything else is loaded by URL, so the engine shows
  // its own page for it, as for any other document it cannot show.
  void Navigate(const QString& target);

 signals:
  // A document has finished loading: the navigated one, or one the page went
  // on to (a posted form's answer, a redirect), successfully or not.
  void DocumentComplete(const QUrl& url);

 private:
  static QWidget* PreparedParent(QWidget* parent);
};
