// The submission page and its file: the exact bytes, the result text, the
// version text and the file's life in the launcher's folder.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>

#include "checksum.h"
#include "expected_page.h"
#include "submit_page.h"

namespace {

namespace fs = std::filesystem;

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "kovrin-submit-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const submit::ResultsSite kSite = submit::SiteAt("http://results.test:8080", "mail@results.test");

std::string ExpectedPage(const std::string& version, const std::string& result, const std::string& checksum) {
  return window_test::ExpectedPage("http://results.test:8080", "mail@results.test", version, result, checksum);
}

std::string BuildVersion() { return window_test::BuildVersionText(); }

TEST(SubmitPage, PiecesInOrderWithTheGivenValues) {
  const submit::SubmitPageValues values{kSite, "3_1_7", "99.9", "0123456789"};
  EXPECT_EQ(submit::SubmitPageText(values), ExpectedPage("3_1_7", "99.9", "0123456789"));
}

TEST(SubmitPage, FileIsOneLatin1LineEndingInCrLf) {
  const std::string text = submit::SubmitPageText({kSite, "1_2_3", "12\xC3\xA9", "42"});
  const std::string bytes = submit::SubmitPageFileBytes(text);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  EXPECT_EQ(bytes.find_first_of("\r\n"), bytes.size() - 2) << "the page must be a single line";
  EXPECT_NE(bytes.find("value=12\xE9>"), std::string::npos) << "e acute as the single byte E9: " << bytes;
}

TEST(SubmitPage, AttributeValuesCarryNoQuotationMarks) {
  const std::string bytes = submit::SubmitPageFileBytes(submit::SubmitPageText({kSite, "1_0_0", "5", "7"}));
  EXPECT_EQ(bytes.find('"'), std::string::npos) << bytes;
  EXPECT_EQ(bytes.find('\''), std::string::npos) << bytes;
}

TEST(SubmitPage, VersionTextJoinsTheNumbersWithUnderscores) {
  EXPECT_EQ(submit::VersionText(1, 0, 54), "1_0_54");
  EXPECT_EQ(submit::VersionText(12, 3, 0), "12_3_0");
  EXPECT_EQ(submit::VersionText(), BuildVersion()) << "the build's version, from the project's version numbers";
}

struct CaptionCase {
  const char* caption;
  const char* result;
};

class ResultTextOfCaption : public testing::TestWithParam<CaptionCase> {};

TEST_P(ResultTextOfCaption, DropsTheLastFourCharacters) {
  EXPECT_EQ(submit::ResultText(GetParam().caption), GetParam().result) << "caption \"" << GetParam().caption << "\"";
}

INSTANTIATE_TEST_SUITE_P(Captions, ResultTextOfCaption,
                         testing::Values(CaptionCase{"123.4 fps", "123.4"}, CaptionCase{"123,4 fps", "123,4"},
                                         CaptionCase{"3000 fps", "3000"}, CaptionCase{"0 fps", "0"},
                                         // A separator of two bytes is still one character.
                                         CaptionCase{"12\xD9\xAB" "5 fps", "12\xD9\xAB" "5"},
                                         CaptionCase{"fps", ""}, CaptionCase{" fps", ""}, CaptionCase{"", ""}));

TEST(CreateHTML, WritesThePageFileIntoTheFolder) {
  ScratchFolder folder;
  submit::ChecksumGenerator generator;
  submit::ChecksumGenerator sameStart;
  const fs::path file = submit::CreateHTML(folder.Path(), "1234 fps", 1234, generator, kSite);
  EXPECT_EQ(file, folder.Path() / "submit");
  const std::string expected = ExpectedPage(BuildVersion(), "1234", submit::randnums(sameStart, 1234)) + "\r\n";
  EXPECT_EQ(ReadBytes(file), expected);
}

// The fixed start state, written out: the page of the first opening after a
// launcher start for a score of 1234.
TEST(CreateHTML, FirstPageAfterStartHasTheFixedChecksum) {
  ScratchFolder folder;
  submit::ChecksumGenerator generator;
  submit::CreateHTML(folder.Path(), "1234 fps", 1234, generator, kSite);
  const std::string bytes = ReadBytes(folder.Path() / "submit");
  EXPECT_NE(bytes.find("<input type=hidden name=checksum value=8118199223052159999917999137821041967895>"),
            std::string::npos)
      << bytes;
}

TEST(CreateHTML, DecimalCommaOfTheLabelGoesIntoTheResultValue) {
  ScratchFolder folder;
  submit::ChecksumGenerator generator;
  submit::CreateHTML(folder.Path(), "123,4 fps", 123, generator, kSite);
  const std::string bytes = ReadBytes(folder.Path() / "submit");
  EXPECT_NE(bytes.find("<input type=hidden name=kovrin_result value=123,4>"), std::string::npos) << bytes;
}

TEST(CreateHTML, ReplacesALongerEarlierFile) {
  ScratchFolder folder;
  std::ofstream(folder.Path() / "submit", std::ios::binary) << std::string(5000, '#');
  submit::ChecksumGenerator generator;
  submit::CreateHTML(folder.Path(), "7 fps", 7, generator, kSite);
  const std::string bytes = ReadBytes(folder.Path() / "submit");
  EXPECT_EQ(bytes.find('#'), std::string::npos) << "left-overs of the earlier file";
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

TEST(CreateHTML, FolderThatCannotBeWrittenIsAnError) {
  ScratchFolder folder;
  submit::ChecksumGenerator generator;
  const fs::path missing = folder.Path() / "gone";
  try {
    submit::CreateHTML(missing, "7 fps", 7, generator, kSite);
    FAIL() << "expected std::system_error for a folder that does not exist";
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code().value(), ENOENT) << error.what();
  }
}

TEST(DeleteSubmitPage, RemovesThePageAndIgnoresAMissingOne) {
  ScratchFolder folder;
  std::ofstream(folder.Path() / "submit") << "page";
  submit::DeleteSubmitPage(folder.Path());
  EXPECT_FALSE(fs::exists(folder.Path() / "submit"));
  submit::DeleteSubmitPage(folder.Path());  // already gone: nothing happens
  submit::DeleteSubmitPage(folder.Path() / "no such folder");
  EXPECT_TRUE(fs::exists(folder.Path())) << "only the page file is deleted";
}

}  // namespace
