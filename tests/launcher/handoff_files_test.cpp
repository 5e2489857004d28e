// The settings file's bytes and the folder the hand-off files live in.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "launcher/core/bench_sequence.h"
#include "launcher/core/config_file.h"
#include "launcher/core/handoff_folder.h"
#include "tests/launcher/fake_effects.h"
#include "tests/launcher/launcher_test_support.h"

namespace {

using kovrin::test::ScratchFolder;
using kovrin::test::WriteFile;
using kovrin::test::launcher::Exists;
using kovrin::test::launcher::ReadBytes;

struct ConfigCase {
  int resIndex;
  int depthIndex;
  const char* bytes;
  std::size_t size;
};

void PrintTo(const ConfigCase& c, std::ostream* os) { *os << c.resIndex << ", " << c.depthIndex; }

class CreateCfgBytes : public ::testing::TestWithParam<ConfigCase> {};

TEST_P(CreateCfgBytes, WritesExactlyTheThreeLines) {
  const ConfigCase& c = GetParam();
  ScratchFolder folder;
  kovrin::launcher::DiskFolder disk(folder.Path());
  kovrin::test::launcher::FakeEffects effects;
  kovrin::launcher::ResultsTable table;
  kovrin::launcher::BenchSequence sequence(disk, effects, table, ".");
  // An existing longer file is replaced, not overwritten in part.
  WriteFile(folder / "config.cfg", std::string(200, 'x'));

  ASSERT_TRUE(sequence.CreateCfg(c.resIndex, c.depthIndex));

  const auto written = ReadBytes(folder / "config.cfg");
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(*written, c.bytes) << "indices " << c.resIndex << ", " << c.depthIndex;
  EXPECT_EQ(written->size(), c.size);
  EXPECT_EQ(kovrin::launcher::ConfigFileText(c.resIndex, c.depthIndex), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Indices, CreateCfgBytes,
    ::testing::Values(ConfigCase{1, 1, "GL_RESX=640;\r\nGL_RESY=480;\r\nGL_BITDEPTH=16;\r\n", 45},
                      ConfigCase{1, 2, "GL_RESX=640;\r\nGL_RESY=480;\r\nGL_BITDEPTH=32;\r\n", 45},
                      ConfigCase{2, 1, "GL_RESX=1024;\r\nGL_RESY=768;\r\nGL_BITDEPTH=16;\r\n", 46},
                      ConfigCase{2, 2, "GL_RESX=1024;\r\nGL_RESY=768;\r\nGL_BITDEPTH=32;\r\n", 46},
                      ConfigCase{3, 1, "GL_RESX=1600;\r\nGL_RESY=1200;\r\nGL_BITDEPTH=16;\r\n", 47},
                      ConfigCase{3, 2, "GL_RESX=1600;\r\nGL_RESY=1200;\r\nGL_BITDEPTH=32;\r\n", 47},
                      ConfigCase{0, 0, "GL_RESX=1600;\r\nGL_RESY=1200;\r\nGL_BITDEPTH=32;\r\n", 47},
                      ConfigCase{7, 1, "GL_RESX=1600;\r\nGL_RESY=1200;\r\nGL_BITDEPTH=16;\r\n", 47},
                      ConfigCase{-1, 5, "GL_RESX=1600;\r\nGL_RESY=1200;\r\nGL_BITDEPTH=32;\r\n", 47}));

TEST(CreateCfg, FailureIsReportedToTheCaller) {
  ScratchFolder folder;
  kovrin::launcher::DiskFolder disk(folder.Path() / "missing");
  kovrin::test::launcher::FakeEffects effects;
  kovrin::launcher::ResultsTable table;
  kovrin::launcher::BenchSequence sequence(disk, effects, table, ".");
  EXPECT_FALSE(sequence.CreateCfg(1, 1));
}

class DiskFolderTest : public ::testing::Test {
 protected:
  ScratchFolder folder;
  kovrin::launcher::DiskFolder disk{folder.Path()};
};

TEST_F(DiskFolderTest, RemovesAWritableFile) {
  WriteFile(folder / "results.fps", "1\r\n");
  EXPECT_TRUE(disk.Remove("results.fps"));
  EXPECT_FALSE(Exists(folder / "results.fps"));
}

TEST_F(DiskFolderTest, MissingFileCannotBeRemoved) { EXPECT_FALSE(disk.Remove("config.cfg")); }

// Root may unlink anything in a writable folder; the rule must hold anyway.
TEST_F(DiskFolderTest, ReadOnlyFileIsNotRemovedEvenThoughTheFolderIsWritable) {
  WriteFile(folder / "results.fps", "1\r\n");
  kovrin::test::launcher::MakeReadOnly(folder / "results.fps");
  EXPECT_FALSE(disk.Remove("results.fps"));
  EXPECT_TRUE(Exists(folder / "results.fps"));
}

TEST_F(DiskFolderTest, FolderInPlaceOfTheFileIsNotRemoved) {
  std::filesystem::create_directory(folder / "config.cfg");
  EXPECT_FALSE(disk.Remove("config.cfg"));
  EXPECT_TRUE(Exists(folder / "config.cfg"));
}

TEST_F(DiskFolderTest, ReadGivesTheBytesAndNothingForAMissingFile) {
  EXPECT_EQ(disk.Read("results.fps"), std::nullopt);
  WriteFile(folder / "results.fps", "601\r\n");
  EXPECT_EQ(disk.Read("results.fps"), "601\r\n");
}

TEST_F(DiskFolderTest, ReadStopsAtTheLimit) {
  WriteFile(folder / "results.fps", std::string(kovrin::launcher::DiskFolder::kReadLimit * 3, '7'));
  const auto bytes = disk.Read("results.fps");
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(bytes->size(), kovrin::launcher::DiskFolder::kReadLimit);
}

TEST_F(DiskFolderTest, WriteCreatesAndTruncates) {
  ASSERT_TRUE(disk.Write("config.cfg", "long long content"));
  ASSERT_TRUE(disk.Write("config.cfg", "short"));
  EXPECT_EQ(ReadBytes(folder / "config.cfg"), "short");
}

// Names taken by something other than a regular file of the folder's own: a
// reader must not block on them, a writer must not reach through them.
struct HostileName {
  const char* name;
  std::function<void(const ScratchFolder&, const std::filesystem::path& outside)> plant;
};

void PrintTo(const HostileName& c, std::ostream* os) { *os << c.name; }

class HostileHandoffName : public ::testing::TestWithParam<HostileName> {};

TEST_P(HostileHandoffName, IsNotThereYetAndIsNeverWrittenThrough) {
  ScratchFolder folder;
  ScratchFolder elsewhere;
  const std::filesystem::path outside = elsewhere / "precious";
  WriteFile(outside, "601\r\n");
  GetParam().plant(folder, outside);
  kovrin::launcher::DiskFolder disk(folder.Path());

  for (const char* name : {"results.fps", "config.cfg"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(disk.Read(name), std::nullopt) << "read as a result";
    EXPECT_FALSE(disk.Write(name, "GL_RESX=640;\r\n")) << "written";
  }
  EXPECT_EQ(ReadBytes(outside), "601\r\n") << "a file outside the folder changed";
}

void PlantBoth(const ScratchFolder& folder, const std::function<void(const std::filesystem::path&)>& plant) {
  plant(folder / "results.fps");
  plant(folder / "config.cfg");
}

INSTANTIATE_TEST_SUITE_P(
    Planted, HostileHandoffName,
    ::testing::Values(
        HostileName{"fifo",
                    [](const ScratchFolder& f, const std::filesystem::path&) {
                      PlantBoth(f, [](const std::filesystem::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); });
                    }},
        HostileName{"symlink_to_a_file_elsewhere",
                    [](const ScratchFolder& f, const std::filesystem::path& outside) {
                      PlantBoth(f,
                                [&](const std::filesystem::path& p) { std::filesystem::create_symlink(outside, p); });
                    }},
        HostileName{"symlink_to_dev_zero",
                    [](const ScratchFolder& f, const std::filesystem::path&) {
                      PlantBoth(
                          f, [](const std::filesystem::path& p) { std::filesystem::create_symlink("/dev/zero", p); });
                    }},
        HostileName{"hard_link_to_a_file_elsewhere",
                    [](const ScratchFolder& f, const std::filesystem::path& outside) {
                      std::filesystem::create_hard_link(outside, f / "config.cfg");
                      std::filesystem::create_hard_link(outside, f / "results.fps");
                    }},
        HostileName{"folder",
                    [](const ScratchFolder& f, const std::filesystem::path&) {
                      PlantBoth(f, [](const std::filesystem::path& p) { std::filesystem::create_directory(p); });
                    }}),
    [](const ::testing::TestParamInfo<HostileName>& p) { return std::string(p.param.name); });

}  // namespace
