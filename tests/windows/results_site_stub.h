// A results site on the loopback interface for the end-to-end test: the
// form-mail endpoint answers a POST with a redirect to the address in the
// posted `redirect` field, as a form-to-mail script does, and the redirect
// page is served as a small HTML page. Every request is recorded.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

struct HttpRequest {
  QByteArray method;
  QByteArray path;
  QByteArray contentType;
  QByteArray body;
};

class ResultsSiteStub : public QObject {
  Q_OBJECT

 public:
  ResultsSiteStub();
  bool Listen();
  // "http://127.0.0.1:<port>"
  QString BaseUrl() const;
  const QList<HttpRequest>& Requests() const { return requests_; }

  static constexpr char kThanksTitle[] = "Thank you";

 private:
  void Accept();
  void Read(QTcpSocket* socket);
  void Answer(QTcpSocket* socket, const HttpRequest& request);

  QTcpServer server_;
  QList<HttpRequest> requests_;
};

// The fields of an application/x-www-form-urlencoded body, in order, decoded.
QList<QPair<QString, QString>> FormFields(const QByteArray& body);
