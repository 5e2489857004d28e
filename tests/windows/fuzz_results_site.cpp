// The results site's base URL on arbitrary bytes (it may come from the
// environment): a value found usable must be safe to write unquoted into the
// page and must name a host, and the chosen base must be that value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "launcher/submit/results_site.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

bool EndsUnquotedValue(char c) {
  return c <= ' ' || c > '~' || std::string_view("\"'=<>`").find(c) != std::string_view::npos;
}

// The host of an http(s) URL: between the scheme and the first of "/?#",
// without user information and port.
std::string_view HostOf(std::string_view url) {
  url.remove_prefix(url.find("://") + 3);
  std::string_view authority = url.substr(0, url.find_first_of("/?#"));
  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
  return authority.substr(0, authority.find(':'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string value(reinterpret_cast<const char*>(data), size);
  const bool usable = kovrin::submit::IsUsableSiteBase(value);
  const std::string chosen = kovrin::submit::ChooseSiteBase(value.c_str(), "https://build.example");
  if (!usable || value.find('\0') != std::string::npos) {
    return 0;
  }
  Require(value.rfind("http://", 0) == 0 || value.rfind("https://", 0) == 0);
  for (char c : value) Require(!EndsUnquotedValue(c));
  Require(!HostOf(value).empty());
  Require(value.substr(0, chosen.size()) == chosen && !chosen.empty() && chosen.back() != '/');
  const kovrin::submit::ResultsSite site = kovrin::submit::SiteAt(chosen, "a@b.example");
  for (char c : site.formMailUrl + site.redirectUrl) Require(!EndsUnquotedValue(c));
  return 0;
}
