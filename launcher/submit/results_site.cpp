#include "launcher/submit/results_site.h"

#include <cstdio>
#include <cstdlib>

namespace kovrin::submit {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool IsUsableUrlCharacter(char c) {
  if (c <= ' ' || c > '~') return false;
  return std::string_view("\"'=<>`").find(c) == std::string_view::npos;
}

// Whether the part after the scheme names a host: "http:///x" or
// "http://user@:80" would make the browser post to a place of its guessing.
bool NamesAHost(std::string_view afterScheme) {
  std::string_view authority = afterScheme.substr(0, afterScheme.find_first_of("/?#"));
  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
  return !authority.substr(0, authority.find(':')).empty();
}

std::string_view WithoutTrailingSlash(std::string_view base) {
  while (!base.empty() && base.back() == '/') base.remove_suffix(1);
  return base;
}

}  // namespace

bool IsUsableSiteBase(std::string_view base) {
  std::string_view rest;
  if (StartsWith(base, "http://")) {
    rest = base.substr(7);
  } else if (StartsWith(base, "https://")) {
    rest = base.substr(8);
  } else {
    return false;
  }
  if (!NamesAHost(rest)) return false;
  for (char c : base) {
    if (!IsUsableUrlCharacter(c)) return false;
  }
  return true;
}

std::string ChooseSiteBase(const char* environmentValue, std::string_view buildBase) {
  if (environmentValue != nullptr && IsUsableSiteBase(environmentValue)) {
    return std::string(WithoutTrailingSlash(environmentValue));
  }
  return std::string(WithoutTrailingSlash(buildBase));
}

ResultsSite SiteAt(std::string_view base, std::string_view recipient) {
  const std::string root(base);
  return {root + std::string(kFormMailPath), root + std::string(kRedirectPath), std::string(recipient)};
}

std::string_view BuildSiteBase() { return KOVRIN_RESULTS_SITE_DEFAULT; }
std::string_view BuildRecipient() { return KOVRIN_RESULTS_EMAIL_DEFAULT; }

ResultsSite LauncherResultsSite() {
  const char* override = std::getenv(kSiteVariable);
  if (override != nullptr && *override != '\0' && !IsUsableSiteBase(override)) {
    std::fprintf(stderr, "kovrin: %s=%s is not a usable http(s) URL; using %s\n", kSiteVariable, override,
                 KOVRIN_RESULTS_SITE_DEFAULT);
  }
  return SiteAt(ChooseSiteBase(override, BuildSiteBase()), BuildRecipient());
}

}  // namespace kovrin::submit
