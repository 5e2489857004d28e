// The results service's routes on an HTTP server: the submission page's
// form-mail endpoint and redirect page, the ranking, single results, the
// JSON API for result files and the comparison of two of them.
#pragma once

#include <string>
#include <vector>

#include "results/rate_limiter.h"
#include "results/store.h"

namespace httplib {
class Server;
}

namespace kovrin::results {

inline constexpr int kDefaultRateLimit = 10;
// A result file with a full system report stays far below this.
inline constexpr std::size_t kMaxUploadBytes = 512 * 1024;

struct ServiceOptions {
  int rateLimit = kDefaultRateLimit;       // posts a minute per client; 0: no limit
  std::string adminToken;                  // empty: no deletion at all
  std::vector<std::string> knownVersions;  // the launcher versions posts may come from ("1_0_54")
};

class ResultsService {
 public:
  ResultsService(Store& store, ServiceOptions options);
  // Adds the routes, the size and time limits and the error pages to `server`.
  void Install(httplib::Server& server);

 private:
  Store& store_;
  ServiceOptions options_;
  RateLimiter limiter_;
};

}  // namespace kovrin::results
