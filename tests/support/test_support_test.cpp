// The shared test helpers themselves: a scratch folder goes whole whatever a
// test left in it and touches nothing outside it; the shared data is found
// where the environment says, and its absence is reported as a skip.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "tests/support/scoped_variable.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/shared_data.h"

namespace kovrin::test {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ScratchFolder, IsAFreshFolderUnderTheTemporaryFolder) {
  const ScratchFolder a;
  const ScratchFolder b;
  EXPECT_TRUE(fs::is_directory(a.Path()));
  EXPECT_EQ(a.Path().parent_path(), fs::temp_directory_path());
  EXPECT_EQ(a.Path().filename().string().rfind("kovrin-test-", 0), 0u) << a.Path();
  EXPECT_NE(a.Path(), b.Path());
  EXPECT_TRUE(fs::is_empty(a.Path()));
  EXPECT_EQ(a / "x", a.Path() / "x");
  EXPECT_EQ(a.String(), a.Path().string());
}

// What tests leave behind: read-only files, folders without write or
// execute permission, a link to a file outside that must survive.
TEST(ScratchFolder, GoesWholeWithReadOnlyContentsAndKeepsWhatLinksPointTo) {
  const ScratchFolder outside;
  const fs::path kept = outside / "kept";
  WriteFile(kept, "keep");
  ::chmod(kept.c_str(), 0400);
  fs::path path;
  {
    const ScratchFolder folder;
    path = folder.Path();
    fs::create_directories(folder / "a" / "b");
    WriteFile(folder / "a" / "b" / "file", "x");
    ::chmod((folder / "a" / "b" / "file").c_str(), 0400);
    ::chmod((folder / "a" / "b").c_str(), 0500);
    fs::create_directory(folder / "closed");
    WriteFile(folder / "closed" / "inside", "y");
    ::chmod((folder / "closed").c_str(), 0);
    fs::create_symlink(kept, folder / "link");
    ::chmod(folder.Path().c_str(), 0500);
  }
  EXPECT_FALSE(fs::exists(fs::symlink_status(path))) << path << " was left behind";
  EXPECT_EQ(Read(kept), "keep");
  EXPECT_EQ(fs::status(kept).permissions() & fs::perms::all, fs::perms::owner_read)
      << "the link's target was made writable";
}

TEST(ScratchFolder, MovesAndRemovesOnce) {
  std::optional<ScratchFolder> first(std::in_place);
  const fs::path path = first->Path();
  ScratchFolder second(std::move(*first));
  EXPECT_TRUE(first->Path().empty());
  first.reset();
  EXPECT_TRUE(fs::is_directory(path)) << "the moved-from object removed the folder";
  EXPECT_EQ(second.Path(), path);

  ScratchFolder third;
  const fs::path replaced = third.Path();
  third = std::move(second);
  EXPECT_FALSE(fs::exists(replaced)) << "the folder an assignment replaced was left behind";
  EXPECT_EQ(third.Path(), path);
  third.Remove();
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(third.Path().empty());
}

TEST(WriteFile, WritesTheBytesAsTheyAreAndReplaces) {
  const ScratchFolder folder;
  const std::string bytes("a\0b\r\n", 5);
  WriteFile(folder / "f", "something longer than the next");
  WriteFile(folder / "f", bytes);
  EXPECT_EQ(Read(folder / "f"), bytes);
}

TEST(SharedDir, IsBesideTheProjectRootUnlessTheEnvironmentSaysOtherwise) {
  {
    const ScopedVariable unset("KOVRIN_SHARED_DIR", nullptr);
    EXPECT_EQ(SharedDir(), fs::path(KOVRIN_SOURCE_DIR).lexically_normal().parent_path() / "shared");
  }
  {
    const ScopedVariable empty("KOVRIN_SHARED_DIR", "");
    EXPECT_EQ(SharedDir(), fs::path(KOVRIN_SOURCE_DIR).lexically_normal().parent_path() / "shared");
  }
  const ScopedVariable set("KOVRIN_SHARED_DIR", "/somewhere/else");
  EXPECT_EQ(SharedDir(), fs::path("/somewhere/else"));
  EXPECT_EQ(SharedPath("x11/xorg-dummy.conf"), fs::path("/somewhere/else/x11/xorg-dummy.conf"));
}

TEST(MissingShared, IsEmptyForPresentDataAndSaysSkippedForAbsentData) {
  const ScratchFolder folder;
  fs::create_directory(folder / "bmpsuite");
  const ScopedVariable set("KOVRIN_SHARED_DIR", folder.String().c_str());
  testing::internal::CaptureStdout();
  EXPECT_EQ(MissingShared("bmpsuite"), "");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

  testing::internal::CaptureStdout();
  const std::string reason = MissingShared("x11/xorg-dummy.conf");
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_NE(reason.find((folder / "x11" / "xorg-dummy.conf").string()), std::string::npos) << reason;
  EXPECT_EQ(printed, "SKIPPED: " + reason + "\n");
}

}  // namespace
}  // namespace kovrin::test
