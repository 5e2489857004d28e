// kovrin --headless --submit against the real service: a copy of the
// launcher in a scratch folder, beside stand-in test programs that leave
// their result and report an exact rate, posts its result file; the service
// keeps the twelve runs, hands them back as JSON and compares two uploads.
// A service that cannot be reached costs the exit status, not the result.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "launcher/cli/result_upload.h"
#include "tests/results/service_process.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using kovrin::test::ReadFile;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A stand-in for a test program: its exact rate, then `fps` in results.fps.
std::string StandIn(int fps) {
  return "#!/bin/sh\n"
         "echo \"[diag] renderer: Stand-in GL\" >&2\n"
         "echo \"[diag] frames: " +
         std::to_string(fps * 8) +
         "\" >&2\n"
         "echo \"[diag] run_seconds: 8.000000\" >&2\n"
         "echo \"[diag] fps: " +
         std::to_string(fps) +
         ".00\" >&2\n"
         "echo \"[diag] run_end: ticks\" >&2\n"
         "printf '" +
         std::to_string(fps) + "\\r\\n' > results.fps\n";
}

struct Outcome {
  int exitCode = -1;
  std::string out;
};

class SubmitCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("HOME", (folder_.Path() / "home").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (folder_.Path() / "home" / "data").c_str(), 1);
    ::setenv("KOVRIN_MSGBOX", "default", 1);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    fs::create_directories(folder_.Path() / "home");
  }

  // The launcher in a folder of its own with stand-ins of these rates.
  Outcome Benchmark(const std::string& name, int quillfire, int lumavane, const std::string& url) {
    const fs::path launcher = folder_.Path() / name;
    fs::create_directories(launcher);
    fs::copy_file(fs::path(KOVRIN_RUN_DIR) / "kovrin", launcher / "kovrin");
    for (const auto& [program, fps] : {std::pair{"Quillfire", quillfire}, std::pair{"Lumavane", lumavane}}) {
      kovrin::test::WriteFile(launcher / program, StandIn(fps));
      fs::permissions(launcher / program, fs::perms::owner_all);
    }
    const fs::path log = folder_.Path() / (name + ".log");
    kovrin::test::results::ChildProcess child(
        {(launcher / "kovrin").string(), "--headless", "--json", (launcher / "result.json").string(), "--submit", url},
        log, log.string() + ".err");
    Outcome run;
    run.exitCode = child.Stop(0);
    run.out = ReadFile(log) + ReadFile(log.string() + ".err");
    return run;
  }

  kovrin::test::ScratchFolder folder_;
};

TEST_F(SubmitCliTest, StoresTheTwelveRunsAndComparesTwoUploads) {
  kovrin::test::results::Service service(folder_.Path(), {"--db", (folder_.Path() / "results.sqlite").string()});
  ASSERT_TRUE(service.Started()) << service.Log();

  const Outcome first = Benchmark("first", 100, 50, service.BaseUrl());
  ASSERT_EQ(first.exitCode, 0) << first.out;
  EXPECT_TRUE(Contains(first.out, "Submitted as " + service.BaseUrl() + "/api/v1/results/1")) << first.out;
  const Outcome second = Benchmark("second", 200, 50, service.BaseUrl() + "/");
  ASSERT_EQ(second.exitCode, 0) << second.out;

  httplib::Client client(service.BaseUrl());
  const httplib::Result answer = client.Get("/api/v1/results/1");
  ASSERT_TRUE(answer);
  ASSERT_EQ(answer->status, 200);
  const QJsonObject stored = QJsonDocument::fromJson(QByteArray::fromStdString(answer->body)).object();
  const QJsonObject result = stored.value("result").toObject();
  const QJsonArray runs = result.value("runs").toArray();
  ASSERT_EQ(runs.size(), 12) << answer->body;
  EXPECT_EQ(runs.at(0).toObject().value("test").toString(), "Quillfire");
  EXPECT_EQ(runs.at(0).toObject().value("fps").toInt(), 100);
  EXPECT_EQ(runs.at(11).toObject().value("test").toString(), "Lumavane");
  EXPECT_EQ(runs.at(11).toObject().value("exact").toObject().value("fps").toDouble(), 50.0);
  EXPECT_TRUE(runs.at(0).toObject().value("flags").isArray());
  EXPECT_TRUE(result.contains("system")) << "the system report is kept";
  // What the service keeps is the file the launcher wrote, key for key.
  const QJsonObject written =
      QJsonDocument::fromJson(QByteArray::fromStdString(ReadFile(folder_.Path() / "first" / "result.json"))).object();
  EXPECT_EQ(result, written);
  EXPECT_EQ(stored.value("score_text").toString(), "75");

  const httplib::Result compare = client.Get("/compare?a=1&b=2");
  ASSERT_TRUE(compare);
  ASSERT_EQ(compare->status, 200) << compare->body;
  EXPECT_TRUE(Contains(compare->body, "Quillfire 640x480x16")) << compare->body;
  EXPECT_TRUE(Contains(compare->body, "Lumavane 1600x1200x32")) << compare->body;
  EXPECT_TRUE(Contains(compare->body, "faster")) << compare->body;
  // The same file uploaded by hand, with a name.
  const httplib::Result named = client.Post("/api/v1/results?name=Ada%20%3Cb%3E",
                                            ReadFile(folder_.Path() / "first" / "result.json"), "application/json");
  ASSERT_TRUE(named);
  ASSERT_EQ(named->status, 201) << named->body;
  const QJsonObject third =
      QJsonDocument::fromJson(QByteArray::fromStdString(client.Get("/api/v1/results/3")->body)).object();
  EXPECT_EQ(third.value("name").toString(), "Ada <b>");
  EXPECT_EQ(third.value("result").toObject(), written);

  // A file the service refuses: its reason reaches the user.
  std::ostringstream out, err;
  EXPECT_FALSE(kovrin::cli::UploadResult(service.BaseUrl(), "{\"format\": 3}", out, err));
  EXPECT_TRUE(Contains(err.str(), "kovrin: cannot submit the result to " + service.BaseUrl() +
                                      ": the service answered 400: not a result file"))
      << err.str();

  const std::string ranking = client.Get("/")->body;
  EXPECT_TRUE(Contains(ranking, "(3 results)")) << ranking;
  EXPECT_TRUE(Contains(ranking, "<td>Ada &lt;b&gt;</td>")) << ranking;
  EXPECT_TRUE(Contains(ranking, "125 fps")) << ranking;  // the second: (6 x 200 + 6 x 50) / 12
  EXPECT_EQ(service.Stop(SIGTERM), 0);
}

TEST_F(SubmitCliTest, AServiceThatCannotBeReachedCostsTheStatusNotTheResult) {
  // A port that was free a moment ago: the service on it has ended.
  int port = 0;
  {
    kovrin::test::results::Service gone(folder_.Path(), {"--db", (folder_.Path() / "gone.sqlite").string()});
    ASSERT_TRUE(gone.Started()) << gone.Log();
    port = gone.Port();
    gone.Stop(SIGTERM);
  }
  const std::string url = "http://127.0.0.1:" + std::to_string(port);
  const Outcome run = Benchmark("unreachable", 100, 50, url);
  EXPECT_EQ(run.exitCode, 1) << run.out;
  EXPECT_TRUE(Contains(run.out, "kovrin: cannot submit the result to " + url + ": ")) << run.out;
  EXPECT_TRUE(Contains(run.out, "Score: 75 fps")) << run.out;
  const QJsonObject written =
      QJsonDocument::fromJson(QByteArray::fromStdString(ReadFile(folder_.Path() / "unreachable" / "result.json")))
          .object();
  EXPECT_EQ(written.value("runs").toArray().size(), 12) << "the result file is written all the same";
}

}  // namespace
