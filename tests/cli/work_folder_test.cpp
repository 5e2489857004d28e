#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "launcher/cli/work_folder.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using kovrin::test::ScratchFolder;
using kovrin::test::WriteFile;

TEST(PerUserFolder, FromXdgDataHomeOrHome) {
  struct Case {
    const char* xdg;
    const char* home;
    fs::path expected;
  } const cases[] = {
      {"/xdg", "/home/u", "/xdg/kovrin/run"},
      {"relative/xdg", "/home/u", "/home/u/.local/share/kovrin/run"},
      {"", "/home/u", "/home/u/.local/share/kovrin/run"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(kovrin::cli::PerUserFolder(c.xdg, c.home), c.expected)
        << "XDG_DATA_HOME '" << c.xdg << "', HOME '" << c.home << "'";
  }
}

class WorkFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(launcherFolder);
    WriteFile(launcherFolder / "Quillfire", "");
  }
  void MarkShared() { WriteFile(launcherFolder / kovrin::cli::kSharedInstallMarker, ""); }

  ScratchFolder temp;
  fs::path launcherFolder = temp.Path() / "lib-kovrin";
  fs::path perUser = temp.Path() / "home" / "kovrin" / "run";
};

TEST_F(WorkFolderTest, AWritableFolderOfItsOwnIsUsedAsItIs) {
  const kovrin::cli::WorkFolder folder = kovrin::cli::ChooseWorkFolder(launcherFolder, perUser);
  EXPECT_EQ(folder.path, launcherFolder) << folder.error;
  EXPECT_FALSE(folder.perUser);
  EXPECT_FALSE(fs::exists(perUser)) << "the per-user folder was made though it is not needed";
}

TEST_F(WorkFolderTest, ASharedInstallationWorksInThePerUserFolderThroughLinks) {
  MarkShared();
  // A link left by an installation elsewhere is pointed here again.
  fs::create_directories(perUser);
  fs::create_symlink("/opt/old-kovrin/data", perUser / "data");

  const kovrin::cli::WorkFolder folder = kovrin::cli::ChooseWorkFolder(launcherFolder, perUser);
  ASSERT_EQ(folder.path, perUser) << folder.error;
  EXPECT_TRUE(folder.perUser);
  for (const std::string_view entry : kovrin::cli::kRunFolderEntries) {
    EXPECT_EQ(fs::read_symlink(perUser / entry), launcherFolder / entry) << entry;
  }
  EXPECT_TRUE(fs::is_regular_file(perUser / "Quillfire")) << "the link to the program does not lead to it";
}

TEST_F(WorkFolderTest, AFileInTheWayOfALinkIsAnErrorAndStays) {
  MarkShared();
  fs::create_directories(perUser);
  WriteFile(perUser / "default.fnt", "mine");

  const kovrin::cli::WorkFolder folder = kovrin::cli::ChooseWorkFolder(launcherFolder, perUser);
  EXPECT_TRUE(folder.path.empty());
  EXPECT_NE(folder.error.find((perUser / "default.fnt").string() + " is in the way"), std::string::npos)
      << folder.error;
  EXPECT_FALSE(fs::is_symlink(perUser / "default.fnt"));
}

// Folders the launcher cannot name, or would link to themselves: refused
// with a reason, and nothing made in the per-user folder.
TEST_F(WorkFolderTest, AFolderThatCannotBeNamedIsRefused) {
  struct Case {
    const char* name;
    fs::path launcher;
    fs::path perUser;
    const char* errorPart;
  } const cases[] = {
      {"empty", "", perUser, "cannot tell the launcher's folder"},
      {"relative", "Quillfire", perUser, "cannot tell the launcher's folder"},
      {"not UTF-8", temp.Path() / "kovrin-\xff", perUser, "kovrin-\\xFF\" is not valid UTF-8"},
      {"overlong UTF-8", temp.Path() / "kovrin-\xc0\xaf", perUser, "is not valid UTF-8"},
      {"per-user folder not UTF-8", launcherFolder, temp.Path() / "home-\xfe", "per-user working folder"},
      {"per-user folder is the launcher's", launcherFolder, launcherFolder, "to itself"},
  };
  MarkShared();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const kovrin::cli::WorkFolder folder = kovrin::cli::ChooseWorkFolder(c.launcher, c.perUser);
    EXPECT_TRUE(folder.path.empty()) << folder.path;
    EXPECT_NE(folder.error.find(c.errorPart), std::string::npos) << folder.error;
  }
  EXPECT_FALSE(fs::exists(perUser));
  EXPECT_FALSE(fs::exists(temp.Path() / "home-\xfe"));
  EXPECT_FALSE(fs::is_symlink(launcherFolder / "Quillfire"));
}

TEST_F(WorkFolderTest, AUtf8NameIsUsedAsItIs) {
  const fs::path named = temp.Path() / "K\xc3\xb6vrin \xe2\x82\xac";
  fs::create_directory(named);
  const kovrin::cli::WorkFolder folder = kovrin::cli::ChooseWorkFolder(named, perUser);
  EXPECT_EQ(folder.path, named) << folder.error;
}

TEST(WorkingNotice, ShowsThePerUserFolderWithTheHomeFolderAsTilde) {
  struct Case {
    fs::path path;
    bool perUser;
    const char* home;
    std::string expected;
  } const cases[] = {
      {"/home/u/.local/share/kovrin/run", true, "/home/u", "Working in ~/.local/share/kovrin/run"},
      {"/home/u/.local/share/kovrin/run", true, "/home/u/", "Working in ~/.local/share/kovrin/run"},
      // Only a whole folder name is the home folder.
      {"/home/user2/.local/share/kovrin/run", true, "/home/user", "Working in /home/user2/.local/share/kovrin/run"},
      {"/xdg/kovrin/run", true, "/home/u", "Working in /xdg/kovrin/run"},
      {"/xdg/kovrin/run", true, "", "Working in /xdg/kovrin/run"},
      {"/xdg/kovrin/run", true, "/", "Working in /xdg/kovrin/run"},
      // The launcher's own folder is where the user looks anyway.
      {"/home/u/kovrin", false, "/home/u", ""},
  };
  for (const Case& c : cases) {
    kovrin::cli::WorkFolder folder;
    folder.path = c.path;
    folder.perUser = c.perUser;
    EXPECT_EQ(kovrin::cli::WorkingNotice(folder, c.home), c.expected) << c.path << " with HOME '" << c.home << "'";
  }
}

}  // namespace
