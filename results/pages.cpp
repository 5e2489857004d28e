#include "results/pages.h"

#include <algorithm>

namespace kovrin::results {
namespace {

std::string Document(std::string_view title, std::string_view body) {
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + EscapeHtml(title) +
         "</title></head>\n<body>\n" + std::string(body) + "</body></html>\n";
}

std::string Link(std::string_view href, std::string_view text) {
  return "<a href=\"" + EscapeHtml(href) + "\">" + EscapeHtml(text) + "</a>";
}

std::string ResultLink(const StoredResult& result) { return "/result/" + std::to_string(result.id); }

std::string Name(const StoredResult& result) {
  if (!result.name.empty()) return result.name;
  return result.kind == "api" ? "(uploaded result file)" : "(no name)";
}

std::string ResultTable(const StoredResult& result, std::int64_t place) {
  std::string body = "<table>\n";
  const auto row = [&body](std::string_view key, std::string_view value) {
    body += "<tr><th>" + EscapeHtml(key) + "</th><td>" + EscapeHtml(value) + "</td></tr>\n";
  };
  row("Score", result.resultText + " fps");
  row("Place", std::to_string(place));
  row("Name", Name(result));
  row("System", result.system);
  row("Version", ShownVersion(result.version));
  row("Received", result.received);
  body += "</table>\n";
  return body;
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string ShownVersion(std::string_view version) {
  std::string shown(version);
  std::replace(shown.begin(), shown.end(), '_', '.');
  return shown;
}

std::string RankingPage(const RankingView& view) {
  const bool best = view.order == RankingOrder::Best;
  const std::string order = best ? "best" : "newest";
  std::string body = "<h1>Kovrin results</h1>\n<p>";
  body += best ? "Best first | " + Link("/?order=newest", "newest first")
               : Link("/?order=best", "best first") + " | Newest first";
  body +=
      "</p>\n<table>\n<tr><th>Place</th><th>Score</th><th>Name</th><th>System</th><th>Version</th><th>Date</th></tr>\n";
  std::int64_t place = (view.page - 1) * kRankingPageSize;
  for (const StoredResult& result : view.rows) {
    ++place;
    body += "<tr><td>" + (best ? std::to_string(place) : std::string()) + "</td><td>" +
            Link(ResultLink(result), result.resultText + " fps") + "</td><td>" + EscapeHtml(Name(result)) +
            "</td><td>" + EscapeHtml(result.system) + "</td><td>" + EscapeHtml(ShownVersion(result.version)) +
            "</td><td>" + EscapeHtml(result.received) + "</td></tr>\n";
  }
  body += "</table>\n<p>";
  const std::int64_t pages = std::max<std::int64_t>(1, (view.total + kRankingPageSize - 1) / kRankingPageSize);
  if (view.page > 1) body += Link("/?order=" + order + "&page=" + std::to_string(view.page - 1), "previous") + " ";
  body += "page " + std::to_string(view.page) + " of " + std::to_string(pages) + " (" + std::to_string(view.total) +
          " results)";
  if (view.page < pages) body += " " + Link("/?order=" + order + "&page=" + std::to_string(view.page + 1), "next");
  body += "</p>\n";
  return Document("Kovrin results", body);
}

std::string ResultPage(const StoredResult& result, std::int64_t place) {
  std::string body = "<h1>Result " + std::to_string(result.id) + "</h1>\n" + ResultTable(result, place);
  if (result.document) {
    body += "<p>" + Link("/api/v1/results/" + std::to_string(result.id), "the result file as JSON") + "</p>\n";
  }
  body += "<p>" + Link("/", "the ranking") + "</p>\n";
  return Document("Kovrin result " + std::to_string(result.id), body);
}

std::string ThanksPage(const StoredResult& result, std::int64_t place) {
  std::string body = "<h1>Thank you</h1>\n<p>Your result of " + EscapeHtml(result.resultText) + " fps is number " +
                     std::to_string(place) + " in the ranking.</p>\n";
  body += "<p>" + Link(ResultLink(result), "Your result") + " | " + Link("/", "the ranking") + "</p>\n";
  return Document("Thank you", body);
}

std::string PlainThanksPage() {
  return Document("Thank you", "<h1>Thank you</h1>\n<p>" + Link("/", "The ranking") + "</p>\n");
}

std::string RefusalPage(const std::vector<std::string>& problems) {
  std::string body = "<h1>Result not accepted</h1>\n<ul>\n";
  for (const std::string& problem : problems) body += "<li>" + EscapeHtml(problem) + "</li>\n";
  body += "</ul>\n";
  return Document("Result not accepted", body);
}

std::string ComparePage(const StoredResult& base, const StoredResult& next, std::string_view table) {
  std::string body = "<h1>" + Link(ResultLink(base), "Result " + std::to_string(base.id)) + " and " +
                     Link(ResultLink(next), "result " + std::to_string(next.id)) + "</h1>\n<pre>" + EscapeHtml(table) +
                     "</pre>\n";
  return Document("Kovrin comparison", body);
}

std::string MessagePage(std::string_view title, std::string_view message) {
  return Document(title, "<h1>" + EscapeHtml(title) + "</h1>\n<p>" + EscapeHtml(message) + "</p>\n");
}

}  // namespace kovrin::results
