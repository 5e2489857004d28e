// kovrin --headless --submit URL: the finished benchmark's result file,
// posted to a results service (kovrin-results) as its JSON API takes it.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace kovrin::cli {

// The API's path under a service's base URL.
inline constexpr std::string_view kResultsApiPath = "/api/v1/results";

// Posts `json` to <base>/api/v1/results. True when the service stored it
// (the answer's address goes to `out`); false with the reason on `err`
// ("kovrin: cannot submit the result to ...") when the URL is no http(s)
// URL, the service cannot be reached in time or refuses the file.
bool UploadResult(const std::string& base, std::string_view json, std::ostream& out, std::ostream& err);

}  // namespace kovrin::cli
