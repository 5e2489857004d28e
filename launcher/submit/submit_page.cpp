#include "launcher/submit/submit_page.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "kovrin_version.h"
#include "launcher/submit/latin1_text.h"

namespace kovrin::submit {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void ThrowFileError(int error, const std::string& what) {
  throw std::system_error(error != 0 ? error : EIO, std::generic_category(), what);
}

// A fresh folder that only this user can enter (mkdtemp makes it 0700).
// Whatever lies in the launcher's folder under the page's name (a link to
// someone else's file, a pipe nobody writes to) is never opened.
fs::path MakePrivateFolder(const fs::path& folder) {
  std::string pattern = (folder / "submit-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) ThrowFileError(errno, "cannot create a folder in " + folder.string());
  return pattern;
}

void WriteAll(int fd, std::string_view bytes, const fs::path& file) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) ThrowFileError(written < 0 ? errno : EIO, "cannot write " + file.string());
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

// Creates `file`, which must not exist, and writes `bytes` into it.
void WriteNewFile(const fs::path& file, std::string_view bytes) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) ThrowFileError(errno, "cannot create " + file.string());
  try {
    WriteAll(fd, bytes, file);
  } catch (...) {
    ::close(fd);
    throw;
  }
  if (::close(fd) != 0) ThrowFileError(errno, "cannot write " + file.string());
}

}  // namespace

std::string VersionText(int major, int minor, int revision) {
  return std::to_string(major) + "_" + std::to_string(minor) + "_" + std::to_string(revision);
}

std::string VersionText() { return VersionText(kKovrinVersionMajor, kKovrinVersionMinor, kKovrinVersionPatch); }

std::string ResultText(std::string_view scoreCaption) { return DropLastCharacters(scoreCaption, 4); }

std::string SubmitPageText(const SubmitPageValues& values) {
  std::string page;
  page += "<html><head><title>Submit</title></head><body>";
  page +=
      "<p><font face=Verdana size=2>You can submit some information about you and your system with the "
      "results.</font></p>";
  page += "<form action=" + values.site.formMailUrl + " method=POST>";
  page += "<input type=hidden name=redirect value=" + values.site.redirectUrl + ">";
  page += "<input type=hidden name=to_email value=" + values.site.recipient + ">";
  page += "<input type=hidden name=subject value=Kovrin_Submit>";
  page += "<input type=hidden name=kovrin_version value=" + values.versionText + ">";
  page += "<input type=hidden name=kovrin_result value=" + values.resultText + ">";
  page += "<input type=hidden name=checksum value=" + values.checksum + ">";
  page += "<p align=left><font face=Verdana size=2>Name:&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";
  page +=
      "<input type=text name=Name size=24><br>System:&nbsp;&nbsp;&nbsp;&nbsp; <textarea rows=4 name=System "
      "cols=25></textarea>";
  page +=
      "</font><p align=left><font face=Verdana size=2><input type=submit value=Submit "
      "name=B1>&nbsp;&nbsp;&nbsp;";
  page += "<input type=reset value=Reset name=B2></font></p></form></body></html>";
  return page;
}

std::string SubmitPageFileBytes(std::string_view pageText) { return ToLatin1(pageText) + "\r\n"; }

std::filesystem::path CreateHTML(const std::filesystem::path& folder, std::string_view scoreCaption,
                                 std::int32_t result, ChecksumGenerator& generator, const ResultsSite& site) {
  SubmitPageValues values;
  values.site = site;
  values.versionText = VersionText();
  values.resultText = ResultText(scoreCaption);
  values.checksum = randnums(generator, result);
  const std::string bytes = SubmitPageFileBytes(SubmitPageText(values));
  const fs::path file = MakePrivateFolder(folder) / kPageFileName;
  try {
    WriteNewFile(file, bytes);
  } catch (...) {
    DeleteSubmitPage(file);
    throw;
  }
  return file;
}

void DeleteSubmitPage(const std::filesystem::path& pageFile) noexcept {
  if (pageFile.empty()) return;
  std::error_code ignored;
  fs::remove(pageFile, ignored);
  fs::remove(pageFile.parent_path(), ignored);  // only when empty: a folder only we could fill
}

}  // namespace kovrin::submit
