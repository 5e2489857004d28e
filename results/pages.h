// The service's HTML pages: rendered on the server, without script, every
// text that came from a user or a file escaped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "results/store.h"

namespace kovrin::results {

inline constexpr std::int64_t kRankingPageSize = 50;

// `text` with &, <, >, " and ' as character references.
std::string EscapeHtml(std::string_view text);

// The launcher's version as people write it: "1_0_54" shows as 1.0.54.
std::string ShownVersion(std::string_view version);

struct RankingView {
  RankingOrder order = RankingOrder::Best;
  std::int64_t page = 1;  // from 1
  std::int64_t total = 0;
  std::vector<StoredResult> rows;
};

std::string RankingPage(const RankingView& view);
std::string ResultPage(const StoredResult& result, std::int64_t place);
std::string ThanksPage(const StoredResult& result, std::int64_t place);
// After a post whose result is no longer there (or a visit without one).
std::string PlainThanksPage();
std::string RefusalPage(const std::vector<std::string>& problems);
// `table` is the comparison as the launcher prints it.
std::string ComparePage(const StoredResult& base, const StoredResult& next, std::string_view table);
std::string MessagePage(std::string_view title, std::string_view message);

}  // namespace kovrin::results
