// The recorder preloaded into a separate program: start-up and the first
// frames land in the file named by KOVRIN_GLTRACE, the rest runs unrecorded.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "tests/gltrace/gltrace_reader.h"
#include "tests/support/scratch_folder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct ProbeRun {
  int exitCode = -1;
  std::string stderrText;
};

// Runs the probe with the recorder preloaded and the given variables set
// (an empty value removes the variable).
ProbeRun RunProbe(int frames, const std::map<std::string, std::string>& vars, const fs::path& dir) {
  std::map<std::string, std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry(*e);
    const std::size_t eq = entry.find('=');
    if (eq != std::string::npos) env[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  env["LD_PRELOAD"] = KOVRIN_GLTRACE_LIB;
  env["SDL_VIDEODRIVER"] = "offscreen";
  env.erase("KOVRIN_GLTRACE");
  env.erase("KOVRIN_GLTRACE_FRAMES");
  for (const auto& [key, value] : vars) {
    if (value.empty()) {
      env.erase(key);
    } else {
      env[key] = value;
    }
  }
  std::vector<std::string> entries;
  for (const auto& [key, value] : env) entries.push_back(key + "=" + value);
  std::vector<char*> envp;
  for (std::string& entry : entries) envp.push_back(entry.data());
  envp.push_back(nullptr);

  const std::string framesArg = std::to_string(frames);
  const std::string errPath = (dir / "probe.stderr").string();
  const pid_t pid = fork();
  if (pid == 0) {
    if (std::freopen(errPath.c_str(), "w", stderr) == nullptr) _exit(126);
    char* argv[] = {const_cast<char*>(KOVRIN_GLTRACE_PROBE), const_cast<char*>(framesArg.c_str()), nullptr};
    execve(KOVRIN_GLTRACE_PROBE, argv, envp.data());
    _exit(127);
  }
  ProbeRun run;
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  std::ifstream err(errPath);
  run.stderrText.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
  return run;
}

class GltracePreload : public ::testing::Test {
 protected:
  void SetUp() override { tracePath_ = (dir_ / "trace.txt").string(); }

  kovrin::test::gltrace::Trace RecordProbe(int frames, const std::string& recordFrames) {
    const ProbeRun run =
        RunProbe(frames, {{"KOVRIN_GLTRACE", tracePath_}, {"KOVRIN_GLTRACE_FRAMES", recordFrames}}, dir_);
    EXPECT_EQ(run.exitCode, 0) << "probe failed: " << run.stderrText;
    std::ifstream file(tracePath_);
    std::string firstLine;
    std::getline(file, firstLine);
    EXPECT_EQ(firstLine, "# kovrin-gltrace 1") << "trace file " << tracePath_;
    std::optional<kovrin::test::gltrace::Trace> trace = kovrin::test::gltrace::ReadTraceFile(tracePath_);
    EXPECT_TRUE(trace.has_value()) << "no trace file " << tracePath_;
    return trace.value_or(kovrin::test::gltrace::Trace{});
  }

  kovrin::test::ScratchFolder scratch_;
  fs::path dir_ = scratch_.Path();
  std::string tracePath_;
};

TEST_F(GltracePreload, RecordsStartUpAndTheFirstFrames) {
  const kovrin::test::gltrace::Trace trace = RecordProbe(5, "2");
  ASSERT_EQ(trace.frames.size(), 2u) << "frames recorded with KOVRIN_GLTRACE_FRAMES=2";
  EXPECT_TRUE(trace.tail.empty()) << "calls after the last recorded frame: " << trace.tail.size();

  const std::vector<kovrin::test::gltrace::Call> startUp = trace.frames[0];
  ASSERT_GE(startUp.size(), 4u);
  EXPECT_EQ(startUp[0].Text(), "glEnable GL_TEXTURE_2D");
  EXPECT_EQ(startUp[1].Text(), "glClearColor 0 0.25 0.5 1");
  EXPECT_EQ(startUp[2].name, "glGenTextures");
  EXPECT_EQ(startUp[2].results.size(), 2u);
  EXPECT_EQ(startUp[3].name, "glGenLists");

  for (std::size_t f = 0; f < trace.frames.size(); ++f) {
    const std::vector<kovrin::test::gltrace::Call> frame = kovrin::test::gltrace::FromLast(trace.frames[f], "glClear");
    EXPECT_EQ(kovrin::test::gltrace::Names(frame),
              (std::vector<std::string>{"glClear", "glLoadIdentity", "glTranslatef", "glBindTexture", "glCallList"}))
        << "frame " << f + 1;
    ASSERT_GE(frame.size(), 3u);
    EXPECT_EQ(frame[0].Enum(0), 0x4100u);
    EXPECT_EQ(frame[2].Float(0), static_cast<float>(f + 1)) << "frame " << f + 1;
    EXPECT_EQ(frame[2].Float(2), -3.1f);
    EXPECT_EQ(frame[3].Int(1), static_cast<int64_t>(startUp[2].Result((f + 1) % 2))) << "frame " << f + 1;
  }
}

TEST_F(GltracePreload, RecordsThreeFramesByDefault) {
  const kovrin::test::gltrace::Trace trace = RecordProbe(6, "");
  EXPECT_EQ(trace.frames.size(), 3u);
  EXPECT_TRUE(trace.tail.empty());
}

TEST_F(GltracePreload, FrameCountsThatAreNoPositiveNumberMeanTheDefault) {
  for (const char* frames : {"0", "-2", "two", "3x"}) {
    const kovrin::test::gltrace::Trace trace = RecordProbe(5, frames);
    EXPECT_EQ(trace.frames.size(), 3u) << "KOVRIN_GLTRACE_FRAMES=" << frames;
    EXPECT_TRUE(trace.tail.empty()) << "KOVRIN_GLTRACE_FRAMES=" << frames;
  }
}

TEST_F(GltracePreload, FewerFramesThanAskedLeaveACompleteFile) {
  const kovrin::test::gltrace::Trace trace = RecordProbe(1, "3");
  EXPECT_EQ(trace.frames.size(), 1u);
  EXPECT_TRUE(trace.tail.empty());
}

TEST_F(GltracePreload, WithoutATraceFileTheProgramRunsAsUsual) {
  const ProbeRun run = RunProbe(3, {}, dir_);
  EXPECT_EQ(run.exitCode, 0) << run.stderrText;
  EXPECT_FALSE(fs::exists(tracePath_));
}

TEST_F(GltracePreload, AnUnwritableTraceFileIsReportedAndTheProgramRunsOn) {
  const ProbeRun run = RunProbe(2, {{"KOVRIN_GLTRACE", (dir_ / "missing" / "trace.txt").string()}}, dir_);
  EXPECT_EQ(run.exitCode, 0) << run.stderrText;
  EXPECT_NE(run.stderrText.find("[gltrace] cannot write"), std::string::npos) << run.stderrText;
}

}  // namespace
