#include "submit_page.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "latin1_text.h"

namespace submit {
namespace {

[[noreturn]] void ThrowFileError(int error, const std::string& what) {
  throw std::system_error(error != 0 ? error : EIO, std::generic_category(), what);
}

void WriteFile(const std::filesystem::path& file, std::string_view bytes) {
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) ThrowFileError(errno, "cannot create " + file.string());
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) {
    const int error = errno;
    std::fclose(out);
    ThrowFileError(error, "cannot write " + file.string());
  }
  if (std::fclose(out) != 0) ThrowFileError(errno, "cannot write " + file.string());
}

}  // namespace

std::string VersionText(int major, int minor, int revision) {
  return std::to_string(major) + "_" + std::to_string(minor) + "_" + std::to_string(revision);
}

std::string VersionText() { return VersionText(KOVRIN_VERSION_MAJOR, KOVRIN_VERSION_MINOR, KOVRIN_VERSION_PATCH); }

std::string ResultText(std::string_view scoreCaption) { return DropLastCharacters(scoreCaption, 4); }

std::string SubmitPageText(const SubmitPageValues& values) {
  std::string page;
  page += "<html><head><title>Submit</title></head><body>";
  page += "<p><font face=Verdana size=2>You can submit some information about you and your system with the "
          "results.</font></p>";
  page += "<form action=" + values.site.formMailUrl + " method=POST>";
  page += "<input type=hidden name=redirect value=" + values.site.redirectUrl + ">";
  page += "<input type=hidden name=to_email value=" + values.site.recipient + ">";
  page += "<input type=hidden name=subject value=Kovrin_Submit>";
  page += "<input type=hidden name=kovrin_version value=" + values.versionText + ">";
  page += "<input type=hidden name=kovrin_result value=" + values.resultText + ">";
  page += "<input type=hidden name=checksum value=" + values.checksum + ">";
  page += "<p align=left><font face=Verdana size=2>Name:&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";
  page += "<input type=text name=Name size=24><br>System:&nbsp;&nbsp;&nbsp;&nbsp; <textarea rows=4 name=System "
          "cols=25></textarea>";
  page += "</font><p align=left><font face=Verdana size=2><input type=submit value=Submit "
          "name=B1>&nbsp;&nbsp;&nbsp;";
  page += "<input type=reset value=Reset name=B2></font></p></form></body></html>";
  return page;
}

std::string SubmitPageFileBytes(std::string_view pageText) { return ToLatin1(pageText) + "\r\n"; }

std::filesystem::path SubmitPagePath(const std::filesystem::path& folder) { return folder / kPageFileName; }

std::filesystem::path CreateHTML(const std::filesystem::path& folder, std::string_view scoreCaption,
                                 std::int32_t result, ChecksumGenerator& generator, const ResultsSite& site) {
  SubmitPageValues values;
  values.site = site;
  values.versionText = VersionText();
  values.resultText = ResultText(scoreCaption);
  values.checksum = randnums(generator, result);
  const std::filesystem::path file = SubmitPagePath(folder);
  WriteFile(file, SubmitPageFileBytes(SubmitPageText(values)));
  return file;
}

void DeleteSubmitPage(const std::filesystem::path& folder) noexcept {
  std::error_code ignored;
  std::filesystem::remove(SubmitPagePath(folder), ignored);
}

}  // namespace submit
