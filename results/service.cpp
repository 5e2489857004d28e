#include "results/service.h"

#include <httplib.h>

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <charconv>
#include <cstdio>

#include "launcher/cli/compare.h"
#include "launcher/submit/results_site.h"
#include "results/form_decoder.h"
#include "results/pages.h"
#include "results/submission.h"

namespace kovrin::results {
namespace {

constexpr char kHtml[] = "text/html; charset=utf-8";
constexpr char kJson[] = "application/json";

std::optional<std::int64_t> ParseId(std::string_view text) {
  std::int64_t id = 0;
  const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), id);
  if (error != std::errc() || rest != text.data() + text.size() || id < 1) return std::nullopt;
  return id;
}

void Html(httplib::Response& response, int status, const std::string& page) {
  response.status = status;
  response.set_content(page, kHtml);
}

void JsonError(httplib::Response& response, int status, const std::string& message) {
  QJsonObject error;
  error.insert(QStringLiteral("error"), QString::fromStdString(message));
  response.status = status;
  response.set_content(QJsonDocument(error).toJson(QJsonDocument::Compact).toStdString(), kJson);
}

// Whether `redirect` is this service's own thank-you page, as the client
// reached the service (its Host header): only then is the browser sent there.
bool IsOwnRedirect(const std::string& redirect, const httplib::Request& request) {
  const std::string host = request.get_header_value("Host");
  if (host.empty()) return false;
  const std::string path = std::string(kovrin::submit::kRedirectPath);
  return redirect == "http://" + host + path || redirect == "https://" + host + path;
}

// Equal texts, in a time that does not tell how much of them matched.
bool SameSecret(const std::string& given, const std::string& expected) {
  unsigned char difference = given.size() == expected.size() ? 0 : 1;
  for (std::size_t i = 0; i < given.size(); ++i) {
    difference |= static_cast<unsigned char>(given[i] ^ expected[i % expected.size()]);
  }
  return difference == 0;
}

QJsonObject ResultJson(const StoredResult& result, std::int64_t place) {
  QJsonObject object;
  object.insert(QStringLiteral("id"), static_cast<qint64>(result.id));
  object.insert(QStringLiteral("kind"), QString::fromStdString(result.kind));
  object.insert(QStringLiteral("received"), QString::fromStdString(result.received));
  object.insert(QStringLiteral("name"), QString::fromStdString(result.name));
  object.insert(QStringLiteral("system"), QString::fromStdString(result.system));
  object.insert(QStringLiteral("version"), QString::fromStdString(result.version));
  object.insert(QStringLiteral("score_text"), QString::fromStdString(result.resultText));
  object.insert(QStringLiteral("score"), result.score);
  object.insert(QStringLiteral("place"), static_cast<qint64>(place));
  object.insert(QStringLiteral("result"),
                result.document
                    ? QJsonValue(QJsonDocument::fromJson(QByteArray::fromStdString(*result.document)).object())
                    : QJsonValue());
  return object;
}

}  // namespace

ResultsService::ResultsService(Store& store, ServiceOptions options)
    : store_(store), options_(std::move(options)), limiter_(options_.rateLimit) {}

void ResultsService::Install(httplib::Server& server) {
  server.set_payload_max_length(kMaxUploadBytes);

  // Every post counts against its address, taken or refused.
  server.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
    if (request.method != "POST" || limiter_.Allow(request.remote_addr, RateLimiter::Clock::now())) {
      return httplib::Server::HandlerResponse::Unhandled;
    }
    Html(response, 429, MessagePage("Too many posts", "Too many posts from your address; try again in a minute."));
    return httplib::Server::HandlerResponse::Handled;
  });

  server.Post(std::string(kovrin::submit::kFormMailPath),
              [this](const httplib::Request& request, httplib::Response& response) {
                if (request.body.size() > kMaxFormBytes) {
                  return Html(response, 400, RefusalPage({"the post is larger than 16 KiB"}));
                }
                std::string error;
                const std::optional<FormFields> fields = DecodeForm(request.body, error);
                if (!fields) return Html(response, 400, RefusalPage({error}));
                SubmissionCheck check = CheckSubmission(*fields, options_.knownVersions);
                if (!check.submission) return Html(response, 400, RefusalPage(check.problems));
                const Submission& s = *check.submission;
                StoredResult result;
                result.kind = "form";
                result.received = UtcNow();
                result.client = request.remote_addr;
                result.name = s.name;
                result.system = s.system;
                result.version = s.version;
                result.resultText = s.resultText;
                result.score = s.score;
                result.checksum = s.checksum;
                result.toEmail = s.toEmail;
                const std::int64_t id = store_.Add(result);
                const std::string target =
                    IsOwnRedirect(s.redirect, request) ? s.redirect : std::string(kovrin::submit::kRedirectPath);
                response.set_redirect(target + "?id=" + std::to_string(id), 303);
                Html(response, 303, MessagePage("Thank you", "Your result has been stored."));
              });

  server.Get(std::string(kovrin::submit::kRedirectPath),
             [this](const httplib::Request& request, httplib::Response& response) {
               const std::optional<std::int64_t> id = ParseId(request.get_param_value("id"));
               const std::optional<StoredResult> result = id ? store_.Get(*id) : std::nullopt;
               Html(response, 200, result ? ThanksPage(*result, store_.Place(result->id)) : PlainThanksPage());
             });

  server.Get("/", [this](const httplib::Request& request, httplib::Response& response) {
    RankingView view;
    view.order = request.get_param_value("order") == "newest" ? RankingOrder::Newest : RankingOrder::Best;
    view.page = ParseId(request.get_param_value("page")).value_or(1);
    view.total = store_.Count();
    if (view.page <= view.total / kRankingPageSize + 1) {
      view.rows = store_.List(view.order, (view.page - 1) * kRankingPageSize, kRankingPageSize);
    }
    Html(response, 200, RankingPage(view));
  });

  server.Get(R"(/result/(\d+))", [this](const httplib::Request& request, httplib::Response& response) {
    const std::optional<std::int64_t> id = ParseId(request.matches[1].str());
    const std::optional<StoredResult> result = id ? store_.Get(*id) : std::nullopt;
    if (!result) return Html(response, 404, MessagePage("Not found", "There is no such result."));
    Html(response, 200, ResultPage(*result, store_.Place(result->id)));
  });

  server.Post("/api/v1/results", [this](const httplib::Request& request, httplib::Response& response) {
    std::string name = request.get_param_value("name");
    if (CharacterCount(name) > kMaxNameCharacters) {
      return JsonError(response, 400, "the name is longer than " + std::to_string(kMaxNameCharacters) + " characters");
    }
    const QByteArray bytes = QByteArray::fromStdString(request.body);
    std::string error;
    const std::optional<kovrin::cli::ResultFile> file = kovrin::cli::ParseResultFile(bytes, error);
    if (!file) return JsonError(response, 400, "not a result file: " + error);
    const QJsonObject document = QJsonDocument::fromJson(bytes).object();
    const QJsonObject score = document.value(QStringLiteral("score")).toObject();
    QString label = score.value(QStringLiteral("label")).toString();
    if (label.endsWith(QStringLiteral(" fps"))) label.chop(4);
    StoredResult result;
    result.kind = "api";
    result.received = UtcNow();
    result.client = request.remote_addr;
    result.name = std::move(name);
    result.system = file->renderer;
    result.version = document.value(QStringLiteral("version")).toString().toStdString();
    result.resultText = label.toStdString();
    result.score = score.value(QStringLiteral("mean")).toDouble(score.value(QStringLiteral("result")).toDouble());
    result.document = request.body;
    const std::int64_t id = store_.Add(result);
    QJsonObject answer;
    answer.insert(QStringLiteral("id"), static_cast<qint64>(id));
    answer.insert(QStringLiteral("url"), QStringLiteral("/api/v1/results/%1").arg(id));
    response.status = 201;
    response.set_content(QJsonDocument(answer).toJson(QJsonDocument::Compact).toStdString(), kJson);
  });

  server.Get(R"(/api/v1/results/(\d+))", [this](const httplib::Request& request, httplib::Response& response) {
    const std::optional<std::int64_t> id = ParseId(request.matches[1].str());
    const std::optional<StoredResult> result = id ? store_.Get(*id) : std::nullopt;
    if (!result) return JsonError(response, 404, "no such result");
    const QJsonObject object = ResultJson(*result, store_.Place(result->id));
    response.set_content(QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString(), kJson);
  });

  server.Delete(R"(/api/v1/results/(\d+))", [this](const httplib::Request& request, httplib::Response& response) {
    if (options_.adminToken.empty()) return JsonError(response, 404, "this service has no administration");
    if (!SameSecret(request.get_header_value("Authorization"), "Bearer " + options_.adminToken)) {
      return JsonError(response, 403, "a wrong or missing administration token");
    }
    const std::optional<std::int64_t> id = ParseId(request.matches[1].str());
    if (!id || !store_.Remove(*id)) return JsonError(response, 404, "no such result");
    response.status = 204;
  });

  server.Get("/compare", [this](const httplib::Request& request, httplib::Response& response) {
    std::optional<StoredResult> sides[2];
    std::optional<kovrin::cli::ResultFile> files[2];
    const char* keys[2] = {"a", "b"};
    for (int i = 0; i < 2; ++i) {
      const std::optional<std::int64_t> id = ParseId(request.get_param_value(keys[i]));
      if (id) sides[i] = store_.Get(*id);
      if (!sides[i]) {
        return Html(response, 404, MessagePage("Not found", std::string("There is no result ") + keys[i] + "."));
      }
      std::string error;
      if (sides[i]->document)
        files[i] = kovrin::cli::ParseResultFile(QByteArray::fromStdString(*sides[i]->document), error);
      if (!files[i]) {
        return Html(response, 400,
                    MessagePage("Cannot compare", "Result " + std::to_string(sides[i]->id) +
                                                      " has no runs to compare (only result files "
                                                      "uploaded through the API have)."));
      }
      files[i]->name = "result " + std::to_string(sides[i]->id);
    }
    const kovrin::cli::Comparison comparison = kovrin::cli::CompareResults(*files[0], *files[1]);
    Html(response, 200,
         ComparePage(*sides[0], *sides[1], kovrin::cli::ComparisonText(comparison, *files[0], *files[1])));
  });

  server.set_error_handler(httplib::Server::Handler([](const httplib::Request& request, httplib::Response& response) {
    if (response.status == 413 && request.path == kovrin::submit::kFormMailPath) {
      return Html(response, 400, RefusalPage({"the post is larger than 16 KiB"}));
    }
    if (!response.body.empty()) return;
    const bool notFound = response.status == 404;
    Html(response, response.status,
         MessagePage(notFound ? "Not found" : "Error " + std::to_string(response.status),
                     notFound ? "There is no such page." : "The request could not be served."));
  }));

  server.set_exception_handler(
      [](const httplib::Request& request, httplib::Response& response, std::exception_ptr failure) {
        std::string what = "unknown error";
        try {
          std::rethrow_exception(failure);
        } catch (const std::exception& e) {
          what = e.what();
        } catch (...) {
        }
        std::fprintf(stderr, "kovrin-results: %s %s failed: %s\n", request.method.c_str(), request.path.c_str(),
                     what.c_str());
        Html(response, 500, MessagePage("Error", "The service could not answer; the failure has been logged."));
      });
}

}  // namespace kovrin::results
