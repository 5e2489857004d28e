#include "tests/windows/results_site_stub.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QUrl>

namespace {

constexpr char kBuffer[] = "buffer";

// The request in `data` when it is complete (headers and the body that
// Content-Length announces), else false.
bool ParseRequest(const QByteArray& data, HttpRequest& request) {
  const qsizetype headerEnd = data.indexOf("\r\n\r\n");
  if (headerEnd < 0) return false;
  const QList<QByteArray> lines = data.left(headerEnd).split('\n');
  const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
  request.method = requestLine.value(0);
  request.path = requestLine.value(1);
  qsizetype length = 0;
  for (const QByteArray& line : lines.mid(1)) {
    const qsizetype colon = line.indexOf(':');
    if (colon < 0) continue;
    const QByteArray name = line.left(colon).trimmed().toLower();
    const QByteArray value = line.mid(colon + 1).trimmed();
    if (name == "content-length") length = value.toLongLong();
    if (name == "content-type") request.contentType = value;
  }
  const qsizetype bodyStart = headerEnd + 4;
  if (data.size() - bodyStart < length) return false;
  request.body = data.mid(bodyStart, length);
  return true;
}

QByteArray Response(const QByteArray& status, const QByteArray& extraHeaders, const QByteArray& body) {
  return "HTTP/1.1 " + status + "\r\n" + extraHeaders +
         "Content-Type: text/html\r\nContent-Length: " + QByteArray::number(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

}  // namespace

ResultsSiteStub::ResultsSiteStub() { connect(&server_, &QTcpServer::newConnection, this, &ResultsSiteStub::Accept); }

bool ResultsSiteStub::Listen() { return server_.listen(QHostAddress::LocalHost, 0); }

QString ResultsSiteStub::BaseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }

void ResultsSiteStub::Accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  }
}

void ResultsSiteStub::Read(QTcpSocket* socket) {
  QByteArray data = socket->property(kBuffer).toByteArray() + socket->readAll();
  HttpRequest request;
  if (!ParseRequest(data, request)) {
    socket->setProperty(kBuffer, data);
    return;
  }
  socket->setProperty(kBuffer, QByteArray());
  requests_ << request;
  Answer(socket, request);
}

void ResultsSiteStub::Answer(QTcpSocket* socket, const HttpRequest& request) {
  QByteArray response;
  if (request.method == "POST" && request.path == "/cgi-bin/ezformml.cgi") {
    QByteArray redirect;
    for (const auto& [name, value] : FormFields(request.body)) {
      if (name == QLatin1String("redirect")) redirect = value.toUtf8();
    }
    response = Response("302 Found", "Location: " + redirect + "\r\n", QByteArray());
  } else if (request.method == "GET" && request.path == "/kovrin/redirect.htm") {
    response = Response("200 OK", QByteArray(),
                        QByteArray("<html><head><title>") + kThanksTitle + "</title></head><body>Thanks</body></html>");
  } else {
    response = Response("404 Not Found", QByteArray(), "<html><body>not here</body></html>");
  }
  socket->write(response);
  socket->disconnectFromHost();
}

QList<QPair<QString, QString>> FormFields(const QByteArray& body) {
  QList<QPair<QString, QString>> fields;
  for (const QByteArray& pair : body.split('&')) {
    if (pair.isEmpty()) continue;
    const qsizetype equals = pair.indexOf('=');
    QByteArray name = pair.left(equals < 0 ? pair.size() : equals);
    QByteArray value = equals < 0 ? QByteArray() : pair.mid(equals + 1);
    name.replace('+', ' ');
    value.replace('+', ' ');
    fields.append({QUrl::fromPercentEncoding(name), QUrl::fromPercentEncoding(value)});
  }
  return fields;
}
