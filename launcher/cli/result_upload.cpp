#include "launcher/cli/result_upload.h"

#include <httplib.h>

#include <QJsonDocument>
#include <QJsonObject>

namespace kovrin::cli {
namespace {

constexpr int kTimeoutSeconds = 30;

struct SplitUrl {
  std::string schemeHostPort;  // "http://host:8080"
  std::string path;            // "" or "/prefix", without trailing slash
};

std::optional<SplitUrl> Split(const std::string& url) {
  const std::size_t scheme = url.find("://");
  if (scheme == std::string::npos) return std::nullopt;
  const std::string name = url.substr(0, scheme);
  if (name != "http" && name != "https") return std::nullopt;
  const std::size_t slash = url.find('/', scheme + 3);
  SplitUrl split{url.substr(0, slash), slash == std::string::npos ? std::string() : url.substr(slash)};
  if (split.schemeHostPort.size() == scheme + 3) return std::nullopt;
  while (!split.path.empty() && split.path.back() == '/') split.path.pop_back();
  return split;
}

// What the service said, short: its JSON "error", else the status alone.
std::string Refusal(const httplib::Result& answer) {
  const QJsonObject body = QJsonDocument::fromJson(QByteArray::fromStdString(answer->body)).object();
  const QString error = body.value(QStringLiteral("error")).toString();
  std::string text = "the service answered " + std::to_string(answer->status);
  if (!error.isEmpty()) text += ": " + error.toStdString();
  return text;
}

}  // namespace

bool UploadResult(const std::string& base, std::string_view json, std::ostream& out, std::ostream& err) {
  const std::string prefix = "kovrin: cannot submit the result to " + base + ": ";
  const std::optional<SplitUrl> url = Split(base);
  if (!url) {
    err << prefix << "not an http or https URL" << std::endl;
    return false;
  }
  httplib::Client client(url->schemeHostPort);
  if (!client.is_valid()) {
    err << prefix << "not a usable URL" << std::endl;
    return false;
  }
  client.set_connection_timeout(kTimeoutSeconds, 0);
  client.set_read_timeout(kTimeoutSeconds, 0);
  client.set_write_timeout(kTimeoutSeconds, 0);
  const std::string path = url->path + std::string(kResultsApiPath);
  const httplib::Result answer = client.Post(path, json.data(), json.size(), "application/json");
  if (!answer) {
    err << prefix << httplib::to_string(answer.error()) << std::endl;
    return false;
  }
  if (answer->status != 201) {
    err << prefix << Refusal(answer) << std::endl;
    return false;
  }
  const QJsonObject body = QJsonDocument::fromJson(QByteArray::fromStdString(answer->body)).object();
  out << "Submitted as " << url->schemeHostPort
      << body.value(QStringLiteral("url")).toString(QString::fromStdString(path)).toStdString() << std::endl;
  return true;
}

}  // namespace kovrin::cli
