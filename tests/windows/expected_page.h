// The submission page as the tests expect it, typed out piece by piece.
#pragma once

#include <string>

#include "kovrin_version.h"

namespace kovrin::test::windows {

// The page (without line end) for a site at `base`, the recipient, and the
// version, result and checksum texts.
inline std::string ExpectedPage(const std::string& base, const std::string& recipient, const std::string& version,
                                const std::string& result, const std::string& checksum) {
  return "<html><head><title>Submit</title></head><body>"
         "<p><font face=Verdana size=2>You can submit some information about you and your system with the "
         "results.</font></p>"
         "<form action=" +
         base + "/cgi-bin/ezformml.cgi method=POST>" + "<input type=hidden name=redirect value=" + base +
         "/kovrin/redirect.htm>" + "<input type=hidden name=to_email value=" + recipient + ">" +
         "<input type=hidden name=subject value=Kovrin_Submit>" +
         "<input type=hidden name=kovrin_version value=" + version + ">" +
         "<input type=hidden name=kovrin_result value=" + result + ">" +
         "<input type=hidden name=checksum value=" + checksum + ">" +
         "<p align=left><font face=Verdana size=2>Name:&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;"
         "<input type=text name=Name size=24><br>System:&nbsp;&nbsp;&nbsp;&nbsp; <textarea rows=4 name=System "
         "cols=25></textarea>"
         "</font><p align=left><font face=Verdana size=2><input type=submit value=Submit "
         "name=B1>&nbsp;&nbsp;&nbsp;"
         "<input type=reset value=Reset name=B2></font></p></form></body></html>";
}

// The build's version text, from the project's version numbers.
inline std::string BuildVersionText() {
  return std::to_string(kKovrinVersionMajor) + "_" + std::to_string(kKovrinVersionMinor) + "_" +
         std::to_string(kKovrinVersionPatch);
}

}  // namespace kovrin::test::windows
