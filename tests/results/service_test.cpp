// The kovrin-results binary as a client meets it: the submission page's
// post taken, ranked and thanked for; every kind of bad post refused with
// nothing stored; the rate limit; 200 concurrent posts with SQLite and with
// PostgreSQL (two instances on one database); the JSON API, the comparison
// and the administration token.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <mutex>
#include <regex>
#include <set>
#include <thread>

#include "tests/results/service_process.h"
#include "tests/support/scratch_folder.h"

namespace {

using kovrin::test::results::PageBody;
using kovrin::test::results::PagePost;
using kovrin::test::results::Service;

constexpr char kFormPath[] = "/cgi-bin/ezformml.cgi";
constexpr char kFormType[] = "application/x-www-form-urlencoded";

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

httplib::Result PostForm(const Service& service, const std::string& body) {
  httplib::Client client(service.BaseUrl());
  client.set_read_timeout(10, 0);
  return client.Post(kFormPath, body, kFormType);
}

std::string Get(const Service& service, const std::string& path, int* status = nullptr) {
  httplib::Client client(service.BaseUrl());
  const httplib::Result answer = client.Get(path);
  if (status != nullptr) *status = answer ? answer->status : -1;
  return answer ? answer->body : "(no answer: " + httplib::to_string(answer.error()) + ")";
}

// How many results the ranking says it holds.
int Stored(const Service& service) {
  const std::string page = Get(service, "/");
  std::smatch match;
  if (!std::regex_search(page, match, std::regex(R"(\(([0-9]+) results\))"))) return -1;
  return std::stoi(match[1].str());
}

class ServiceTest : public ::testing::Test {
 protected:
  // A service on a new SQLite file with `args`; fails the test when it does not start.
  Service& Start(std::vector<std::string> args = {}) {
    args.insert(args.begin(), {"--db", (folder_.Path() / "results.sqlite").string()});
    service_.emplace(folder_.Path(), args);
    EXPECT_TRUE(service_->Started()) << service_->Log();
    return *service_;
  }
  PagePost Post() const { return kovrin::test::results::PostTo(service_->BaseUrl()); }
  // Every service ends cleanly on SIGTERM: no crash, no sanitizer report.
  void TearDown() override {
    if (service_ && service_->Started()) {
      EXPECT_EQ(service_->Stop(SIGTERM), 0) << service_->Log();
    }
  }

  kovrin::test::ScratchFolder folder_;
  std::optional<Service> service_;
};

TEST_F(ServiceTest, TakesThePagesPostRedirectsToItsThanksAndRanksIt) {
  Service& service = Start();
  PagePost post = Post();
  post.name = "<script>alert(1)</script> J\xc3\xbcrgen";  // ü, posted as the Latin-1 byte FC
  const httplib::Result answer = PostForm(service, PageBody(post));
  ASSERT_TRUE(answer) << httplib::to_string(answer.error());
  ASSERT_EQ(answer->status, 303) << answer->body;
  const std::string location = answer->get_header_value("Location");
  EXPECT_EQ(location, service.BaseUrl() + "/kovrin/redirect.htm?id=1");

  const std::string thanks = Get(service, location.substr(service.BaseUrl().size()));
  EXPECT_TRUE(Contains(thanks, "<title>Thank you</title>")) << thanks;
  EXPECT_TRUE(Contains(thanks, "123,4 fps is number 1 in the ranking")) << thanks;
  EXPECT_TRUE(Contains(thanks, "href=\"/result/1\"")) << thanks;

  const std::string ranking = Get(service, "/");
  EXPECT_TRUE(Contains(ranking, "&lt;script&gt;alert(1)&lt;/script&gt; J\xc3\xbcrgen")) << ranking;
  EXPECT_FALSE(Contains(ranking, "<script>")) << ranking;
  EXPECT_TRUE(Contains(ranking, "123,4 fps")) << ranking;
  EXPECT_TRUE(Contains(ranking, "Mesa llvmpipe")) << ranking;
  EXPECT_EQ(Stored(service), 1);
  const std::string page = Get(service, "/result/1");
  EXPECT_TRUE(Contains(page, "J\xc3\xbcrgen")) << page;
}

TEST_F(ServiceTest, RefusesBadPostsAndStoresNothingOfThem) {
  Service& service = Start({"--rate-limit", "0"});
  struct Case {
    const char* what;
    PagePost post;
    std::string expected;  // on the refusal page
  };
  const auto with = [this](auto change) {
    PagePost post = Post();
    change(post);
    return post;
  };
  const Case cases[] = {
      {"a checksum of another score", with([](PagePost& p) { p.result = 571; }),
       "the checksum does not match the result 123,4"},
      {"a checksum one digit short", with([](PagePost& p) { p.checksum = std::string(38, '1'); }),
       "the checksum does not match"},
      {"an unknown version", with([](PagePost& p) { p.version = "9_9_99"; }), "the launcher version &#39;9_9_99&#39;"},
      {"no score", with([](PagePost& p) { p.resultText = "fast"; }), "is not a score the launcher shows"},
      {"a name of 65 characters", with([](PagePost& p) { p.name = std::string(65, 'n'); }),
       "the name is longer than 64 characters"},
      {"a system of 2001 characters", with([](PagePost& p) { p.system = std::string(2001, 's'); }),
       "the system description is longer than 2000 characters"},
  };
  for (const Case& c : cases) {
    const httplib::Result answer = PostForm(service, PageBody(c.post));
    ASSERT_TRUE(answer) << c.what;
    EXPECT_EQ(answer->status, 400) << c.what;
    EXPECT_TRUE(Contains(answer->body, c.expected)) << c.what << ": " << answer->body;
  }
  const std::pair<const char*, std::string> raw[] = {
      {"a post of 1 MiB", PageBody(Post()) + "&x=" + std::string(1 << 20, 'x')},
      {"a post of 17 KiB", PageBody(with([](PagePost& p) { p.system = std::string(17 * 1024, 's'); }))},
      {"a missing field", PageBody(Post()).substr(0, PageBody(Post()).find("&B1="))},
      {"a field twice", PageBody(Post()) + "&Name=again"},
      {"a broken escape", PageBody(Post()) + "%4"},
  };
  for (const auto& [what, body] : raw) {
    const httplib::Result answer = PostForm(service, body);
    // A body far over the limit may be cut off before the answer is read;
    // refused it is either way.
    if (answer) {
      EXPECT_EQ(answer->status, 400) << what << ": " << answer->body;
    }
  }
  EXPECT_EQ(Stored(service), 0);
  EXPECT_TRUE(Contains(Get(service, "/"), "(0 results)"));
}

TEST_F(ServiceTest, SendsARedirectToAnotherHostToItsOwnThanks) {
  Service& service = Start();
  const std::string redirects[] = {"http://evil.example/kovrin/redirect.htm", "http://127.0.0.1:1/kovrin/redirect.htm",
                                   service.BaseUrl() + "/elsewhere"};
  for (const std::string& redirect : redirects) {
    PagePost post = Post();
    post.redirect = redirect;
    const httplib::Result answer = PostForm(service, PageBody(post));
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 303) << redirect;
    EXPECT_TRUE(answer->get_header_value("Location").starts_with("/kovrin/redirect.htm?id=")) << redirect;
  }
  EXPECT_EQ(Stored(service), 3);
}

TEST_F(ServiceTest, TheEleventhPostOfAMinuteGets429) {
  Service& service = Start();
  for (int i = 1; i <= 10; ++i) {
    const httplib::Result answer = PostForm(service, PageBody(Post()));
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->status, 303) << "post " << i;
  }
  const httplib::Result eleventh = PostForm(service, PageBody(Post()));
  ASSERT_TRUE(eleventh);
  EXPECT_EQ(eleventh->status, 429);
  EXPECT_EQ(Stored(service), 10);  // reading is not limited
}

// 200 posts from 16 threads, each post with a name of its own; meanwhile
// the ranking is read again and again. Every post must be stored once.
void PostConcurrently(const std::vector<const Service*>& services) {
  constexpr int kPosts = 200;
  constexpr int kThreads = 16;
  std::atomic<int> next{0};
  std::atomic<bool> loading{true};
  std::mutex mutex;
  std::vector<std::string> failures;
  std::set<std::string> locations;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = next++; i < kPosts; i = next++) {
        const Service& service = *services[i % services.size()];
        PagePost post = kovrin::test::results::PostTo(service.BaseUrl());
        post.name = "load-" + std::to_string(i);
        const httplib::Result answer = PostForm(service, PageBody(post));
        const std::lock_guard lock(mutex);
        if (!answer || answer->status != 303) {
          failures.push_back(post.name + ": " +
                             (answer ? std::to_string(answer->status) : httplib::to_string(answer.error())));
        } else {
          locations.insert(answer->get_header_value("Location"));
        }
      }
    });
  }
  double slowest = 0;
  int reads = 0;
  std::thread reader([&] {
    while (loading) {
      const auto start = std::chrono::steady_clock::now();
      int status = 0;
      Get(*services.front(), "/", &status);
      const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
      const std::lock_guard lock(mutex);
      if (status != 200) failures.push_back("GET / during the load: " + std::to_string(status));
      slowest = std::max(slowest, took.count());
      ++reads;
    }
  });
  for (std::thread& thread : threads) thread.join();
  loading = false;
  reader.join();

  ASSERT_TRUE(failures.empty()) << failures.size() << " failed, the first: " << failures.front();
  EXPECT_EQ(locations.size(), static_cast<std::size_t>(kPosts)) << "every post has an id of its own";
  EXPECT_GT(reads, 0);
  // A functional bound, not a measurement: the ranking stays reachable.
  EXPECT_LT(slowest, 1.0) << "GET / took " << slowest << " s during the load";
  for (const Service* service : services) {
    EXPECT_EQ(Stored(*service), kPosts);
    std::multiset<std::string> names;
    for (int page = 1; page <= 4; ++page) {
      const std::string text = Get(*service, "/?order=newest&page=" + std::to_string(page));
      const std::regex name("<td>(load-[0-9]+)</td>");
      for (auto it = std::sregex_iterator(text.begin(), text.end(), name); it != std::sregex_iterator(); ++it) {
        names.insert((*it)[1].str());
      }
    }
    EXPECT_EQ(names.size(), static_cast<std::size_t>(kPosts));
    for (int i = 0; i < kPosts; ++i) {
      EXPECT_EQ(names.count("load-" + std::to_string(i)), 1u) << "load-" << i;
    }
  }
}

TEST_F(ServiceTest, TwoHundredConcurrentPostsAreAllStoredOnceWithSqlite) {
  Service& service = Start({"--rate-limit", "0"});
  PostConcurrently({&service});
}

TEST_F(ServiceTest, TwoInstancesOnOnePostgresDatabaseStoreEveryPostOnce) {
  const kovrin::test::results::PostgresServer postgres(folder_.Path() / "pg");
  if (!postgres.Skip().empty()) GTEST_SKIP() << postgres.Skip();
  const std::filesystem::path one = folder_.Path() / "one", two = folder_.Path() / "two";
  std::filesystem::create_directories(one);
  std::filesystem::create_directories(two);
  // Started at the same moment on the empty database: both migrate.
  std::optional<Service> first, second;
  std::thread starting([&] {
    first.emplace(one, std::vector<std::string>{"--db", postgres.Url(), "--rate-limit", "0"});
  });
  second.emplace(two, std::vector<std::string>{"--db", postgres.Url(), "--rate-limit", "0"});
  starting.join();
  ASSERT_TRUE(first->Started()) << first->Log();
  ASSERT_TRUE(second->Started()) << second->Log();
  PostConcurrently({&*first, &*second});
  EXPECT_EQ(first->Stop(SIGTERM), 0) << first->Log();
  EXPECT_EQ(second->Stop(SIGTERM), 0) << second->Log();
}

TEST_F(ServiceTest, DeletesOnlyWithTheAdministrationToken) {
  Service& service = Start({"--admin-token", "s3cret"});
  ASSERT_EQ(PostForm(service, PageBody(Post()))->status, 303);
  httplib::Client client(service.BaseUrl());
  EXPECT_EQ(client.Delete("/api/v1/results/1")->status, 403);
  EXPECT_EQ(client.Delete("/api/v1/results/1", {{"Authorization", "Bearer wrong!"}}, "", "")->status, 403);
  EXPECT_EQ(Stored(service), 1);
  EXPECT_EQ(client.Delete("/api/v1/results/1", {{"Authorization", "Bearer s3cret"}}, "", "")->status, 204);
  EXPECT_EQ(client.Delete("/api/v1/results/1", {{"Authorization", "Bearer s3cret"}}, "", "")->status, 404);
  EXPECT_EQ(Stored(service), 0);
}

TEST_F(ServiceTest, HasNoAdministrationWithoutAToken) {
  Service& service = Start();
  ASSERT_EQ(PostForm(service, PageBody(Post()))->status, 303);
  httplib::Client client(service.BaseUrl());
  EXPECT_EQ(client.Delete("/api/v1/results/1", {{"Authorization", "Bearer "}}, "", "")->status, 404);
  EXPECT_EQ(Stored(service), 1);
}

TEST_F(ServiceTest, RefusesAnUploadThatIsNoResultFile) {
  Service& service = Start();
  httplib::Client client(service.BaseUrl());
  for (const std::string body : {"", "{}", "[1,2]", "{\"format\": 99, \"runs\": []}", "not json"}) {
    const httplib::Result answer = client.Post("/api/v1/results", body, "application/json");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 400) << body;
    EXPECT_TRUE(Contains(answer->body, "not a result file")) << answer->body;
  }
  const httplib::Result longName =
      client.Post("/api/v1/results?name=" + std::string(65, 'n'), "{}", "application/json");
  ASSERT_TRUE(longName);
  EXPECT_EQ(longName->status, 400);
  EXPECT_TRUE(Contains(longName->body, "the name is longer than 64 characters")) << longName->body;
  EXPECT_EQ(Stored(service), 0);
}

TEST_F(ServiceTest, StartsNotOnADatabaseItCannotOpen) {
  const Service service(folder_.Path(), {"--db", (folder_.Path() / "missing" / "results.sqlite").string()});
  EXPECT_FALSE(service.Started());
  EXPECT_TRUE(Contains(service.Log(), "cannot open the SQLite database")) << service.Log();
}

TEST_F(ServiceTest, RefusesOptionsItCannotUse) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"--listen", "8080"}, "--listen needs HOST:PORT, not '8080'"},
      {{"--listen", "127.0.0.1:65536"}, "--listen needs HOST:PORT, not '127.0.0.1:65536'"},
      {{"--rate-limit", "-1"}, "--rate-limit needs a whole number from 0, not '-1'"},
      {{"--rate-limit", "ten"}, "--rate-limit needs a whole number from 0, not 'ten'"},
      {{"--admin-token", ""}, "--admin-token must not be empty"},
      {{"--db"}, "--db needs a value"},
      {{"--verbose"}, "unknown argument '--verbose'"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> argv = {std::string(KOVRIN_RUN_DIR) + "/kovrin-results"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const std::filesystem::path out = folder_.Path() / "out", err = folder_.Path() / "err";
    kovrin::test::results::ChildProcess child(argv, out, err);
    EXPECT_EQ(child.Stop(0), 2) << c.message;
    std::ifstream in(err);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(Contains(text, "kovrin-results: " + std::string(c.message))) << text;
  }
}

}  // namespace
