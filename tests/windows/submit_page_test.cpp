// The submission page and its file: the exact bytes, the result text, the
// version text and the file's life in its private folder, whatever lies in
// the launcher's folder under its name.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "launcher/submit/checksum.h"
#include "launcher/submit/submit_page.h"
#include "tests/support/scratch_folder.h"
#include "tests/windows/expected_page.h"

namespace {

namespace fs = std::filesystem;

using kovrin::test::ScratchFolder;

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const kovrin::submit::ResultsSite kSite = kovrin::submit::SiteAt("http://results.test:8080", "mail@results.test");

std::string ExpectedPage(const std::string& version, const std::string& result, const std::string& checksum) {
  return kovrin::test::windows::ExpectedPage("http://results.test:8080", "mail@results.test", version, result,
                                             checksum);
}

std::string BuildVersion() { return kovrin::test::windows::BuildVersionText(); }

TEST(SubmitPage, PiecesInOrderWithTheGivenValues) {
  const kovrin::submit::SubmitPageValues values{kSite, "3_1_7", "99.9", "0123456789"};
  EXPECT_EQ(kovrin::submit::SubmitPageText(values), ExpectedPage("3_1_7", "99.9", "0123456789"));
}

TEST(SubmitPage, FileIsOneLatin1LineEndingInCrLf) {
  const std::string text = kovrin::submit::SubmitPageText({kSite, "1_2_3", "12\xC3\xA9", "42"});
  const std::string bytes = kovrin::submit::SubmitPageFileBytes(text);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  EXPECT_EQ(bytes.find_first_of("\r\n"), bytes.size() - 2) << "the page must be a single line";
  EXPECT_NE(bytes.find("value=12\xE9>"), std::string::npos) << "e acute as the single byte E9: " << bytes;
}

TEST(SubmitPage, AttributeValuesCarryNoQuotationMarks) {
  const std::string bytes =
      kovrin::submit::SubmitPageFileBytes(kovrin::submit::SubmitPageText({kSite, "1_0_0", "5", "7"}));
  EXPECT_EQ(bytes.find('"'), std::string::npos) << bytes;
  EXPECT_EQ(bytes.find('\''), std::string::npos) << bytes;
}

TEST(SubmitPage, VersionTextJoinsTheNumbersWithUnderscores) {
  EXPECT_EQ(kovrin::submit::VersionText(1, 0, 54), "1_0_54");
  EXPECT_EQ(kovrin::submit::VersionText(12, 3, 0), "12_3_0");
  EXPECT_EQ(kovrin::submit::VersionText(), BuildVersion()) << "the build's version, from the project's version numbers";
}

struct CaptionCase {
  const char* caption;
  const char* result;
};

class ResultTextOfCaption : public testing::TestWithParam<CaptionCase> {};

TEST_P(ResultTextOfCaption, DropsTheLastFourCharacters) {
  EXPECT_EQ(kovrin::submit::ResultText(GetParam().caption), GetParam().result)
      << "caption \"" << GetParam().caption << "\"";
}

INSTANTIATE_TEST_SUITE_P(Captions, ResultTextOfCaption,
                         testing::Values(CaptionCase{"123.4 fps", "123.4"}, CaptionCase{"123,4 fps", "123,4"},
                                         CaptionCase{"3000 fps", "3000"}, CaptionCase{"0 fps", "0"},
                                         // A separator of two bytes is still one character.
                                         CaptionCase{"12\xD9\xAB"
                                                     "5 fps",
                                                     "12\xD9\xAB"
                                                     "5"},
                                         CaptionCase{"fps", ""}, CaptionCase{" fps", ""}, CaptionCase{"", ""}));

TEST(CreateHTML, WritesThePageFileIntoAPrivateFolder) {
  ScratchFolder folder;
  kovrin::submit::ChecksumGenerator generator;
  kovrin::submit::ChecksumGenerator sameStart;
  const fs::path file = kovrin::submit::CreateHTML(folder.Path(), "1234 fps", 1234, generator, kSite);
  EXPECT_EQ(file.filename(), "submit");
  EXPECT_EQ(file.parent_path().parent_path(), folder.Path());
  EXPECT_EQ(file.parent_path().filename().string().rfind("submit-", 0), 0u) << file;
  const std::string expected = ExpectedPage(BuildVersion(), "1234", kovrin::submit::randnums(sameStart, 1234)) + "\r\n";
  EXPECT_EQ(ReadBytes(file), expected);
  EXPECT_EQ(fs::status(file.parent_path()).permissions(), fs::perms::owner_all) << "only the user may enter";
  EXPECT_EQ(fs::status(file).permissions() & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
  kovrin::submit::DeleteSubmitPage(file);
}

// The fixed start state, written out: the page of the first opening after a
// launcher start for a score of 1234.
TEST(CreateHTML, FirstPageAfterStartHasTheFixedChecksum) {
  ScratchFolder folder;
  kovrin::submit::ChecksumGenerator generator;
  const fs::path file = kovrin::submit::CreateHTML(folder.Path(), "1234 fps", 1234, generator, kSite);
  const std::string bytes = ReadBytes(file);
  EXPECT_NE(bytes.find("<input type=hidden name=checksum value=8118199223052159999917999137821041967895>"),
            std::string::npos)
      << bytes;
}

TEST(CreateHTML, DecimalCommaOfTheLabelGoesIntoTheResultValue) {
  ScratchFolder folder;
  kovrin::submit::ChecksumGenerator generator;
  const fs::path file = kovrin::submit::CreateHTML(folder.Path(), "123,4 fps", 123, generator, kSite);
  const std::string bytes = ReadBytes(file);
  EXPECT_NE(bytes.find("<input type=hidden name=kovrin_result value=123,4>"), std::string::npos) << bytes;
}

TEST(CreateHTML, TwoPagesNeverShareAFile) {
  ScratchFolder folder;
  kovrin::submit::ChecksumGenerator generator;
  const fs::path first = kovrin::submit::CreateHTML(folder.Path(), "7 fps", 7, generator, kSite);
  const fs::path second = kovrin::submit::CreateHTML(folder.Path(), "8 fps", 8, generator, kSite);
  EXPECT_NE(first, second);
  EXPECT_NE(ReadBytes(first).find("value=7>"), std::string::npos);
  EXPECT_NE(ReadBytes(second).find("value=8>"), std::string::npos);
}

// What someone else may have left in the launcher's folder under the page's
// name. None of it is opened, changed or removed: the page goes elsewhere.
enum class Hostile { EarlierFile, LinkToOutside, DanglingLink, Pipe, Folder };

struct HostileCase {
  const char* what;
  Hostile kind;
};

class HostileSubmitEntry : public testing::TestWithParam<HostileCase> {};

TEST_P(HostileSubmitEntry, IsLeftAsItIs) {
  ScratchFolder folder;
  ScratchFolder outside;
  const fs::path entry = folder.Path() / "submit";
  const fs::path victim = outside.Path() / "precious";
  const std::string victimBytes(5000, '#');
  std::ofstream(victim, std::ios::binary) << victimBytes;
  switch (GetParam().kind) {
    case Hostile::EarlierFile:
      std::ofstream(entry, std::ios::binary) << victimBytes;
      break;
    case Hostile::LinkToOutside:
      fs::create_symlink(victim, entry);
      break;
    case Hostile::DanglingLink:
      fs::create_symlink(outside.Path() / "not yet", entry);
      break;
    case Hostile::Pipe:
      ASSERT_EQ(::mkfifo(entry.c_str(), 0600), 0) << std::strerror(errno);
      break;
    case Hostile::Folder:
      fs::create_directory(entry);
      break;
  }
  const fs::file_status before = fs::symlink_status(entry);

  kovrin::submit::ChecksumGenerator generator;
  const fs::path file = kovrin::submit::CreateHTML(folder.Path(), "7 fps", 7, generator, kSite);
  EXPECT_NE(file, entry);
  EXPECT_NE(ReadBytes(file).find("value=7>"), std::string::npos);
  kovrin::submit::DeleteSubmitPage(file);

  EXPECT_EQ(fs::symlink_status(entry).type(), before.type()) << GetParam().what;
  if (fs::is_symlink(before)) {
    EXPECT_EQ(fs::read_symlink(entry).parent_path(), outside.Path()) << GetParam().what;
  }
  EXPECT_EQ(ReadBytes(victim), victimBytes) << GetParam().what;
  EXPECT_FALSE(fs::exists(fs::symlink_status(outside.Path() / "not yet"))) << GetParam().what;
  std::vector<fs::path> left;
  for (const fs::directory_entry& item : fs::directory_iterator(folder.Path())) left.push_back(item.path());
  EXPECT_EQ(left, std::vector<fs::path>{entry}) << GetParam().what << ": the page and its folder are gone";
}

INSTANTIATE_TEST_SUITE_P(Entries, HostileSubmitEntry,
                         testing::Values(HostileCase{"an earlier file", Hostile::EarlierFile},
                                         HostileCase{"a link to a file outside", Hostile::LinkToOutside},
                                         HostileCase{"a link to a name outside", Hostile::DanglingLink},
                                         HostileCase{"a named pipe", Hostile::Pipe},
                                         HostileCase{"a folder", Hostile::Folder}));

TEST(CreateHTML, FolderThatCannotBeWrittenIsAnError) {
  ScratchFolder folder;
  kovrin::submit::ChecksumGenerator generator;
  const fs::path missing = folder.Path() / "gone";
  try {
    kovrin::submit::CreateHTML(missing, "7 fps", 7, generator, kSite);
    FAIL() << "expected std::system_error for a folder that does not exist";
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code().value(), ENOENT) << error.what();
  }
  EXPECT_TRUE(fs::is_empty(folder.Path()));
}

TEST(DeleteSubmitPage, RemovesThePageAndItsFolderAndIgnoresAMissingOne) {
  ScratchFolder folder;
  kovrin::submit::ChecksumGenerator generator;
  const fs::path file = kovrin::submit::CreateHTML(folder.Path(), "7 fps", 7, generator, kSite);
  kovrin::submit::DeleteSubmitPage(file);
  EXPECT_FALSE(fs::exists(file));
  EXPECT_TRUE(fs::is_empty(folder.Path())) << "the page's own folder goes with it";
  kovrin::submit::DeleteSubmitPage(file);  // already gone: nothing happens
  kovrin::submit::DeleteSubmitPage(fs::path());
  kovrin::submit::DeleteSubmitPage(folder.Path() / "no such folder" / "submit");
  EXPECT_TRUE(fs::exists(folder.Path())) << "only the page and its own folder are deleted";
}

}  // namespace
