// The results site a submitted score goes to.
//
// The build fixes the site's base URL and recipient address (CMake cache
// variables KOVRIN_RESULTS_SITE and KOVRIN_RESULTS_EMAIL); the environment
// variable KOVRIN_RESULTS_SITE replaces the base URL at run time, so tests and
// people with a site of their own need no rebuild.
#pragma once

#include <string>
#include <string_view>

namespace kovrin::submit {

inline constexpr std::string_view kFormMailPath = "/cgi-bin/ezformml.cgi";
inline constexpr std::string_view kRedirectPath = "/kovrin/redirect.htm";
inline constexpr char kSiteVariable[] = "KOVRIN_RESULTS_SITE";

struct ResultsSite {
  std::string formMailUrl;  // where the form posts to
  std::string redirectUrl;  // where the form-mail script sends the browser on to
  std::string recipient;    // whom the script mails the fields to
};

// Whether `base` may stand in the page: an http or https URL that names a
// host, of printable ASCII without the characters that end an unquoted attribute value or a tag
// (quotation marks, apostrophe, =, <, >, grave accent).
bool IsUsableSiteBase(std::string_view base);

// The base URL to use: the environment's value when it is set and usable,
// else the build's. A trailing slash is dropped.
std::string ChooseSiteBase(const char* environmentValue, std::string_view buildBase);

// The site's URLs under `base` (without trailing slash) and its recipient.
ResultsSite SiteAt(std::string_view base, std::string_view recipient);

// What the build was configured with.
std::string_view BuildSiteBase();
std::string_view BuildRecipient();

// The site the launcher submits to now (environment read on every call). An
// unusable environment value is reported on stderr and ignored.
ResultsSite LauncherResultsSite();

}  // namespace kovrin::submit
