// The store on SQLite (the ranking, places, paging, deletion, reopening),
// the pages' escaping and the rate limit's minute.
#include <gtest/gtest.h>

#include "results/pages.h"
#include "results/rate_limiter.h"
#include "results/store.h"
#include "tests/support/scratch_folder.h"

namespace {

using namespace kovrin::results;

StoredResult Result(const std::string& name, double score) {
  StoredResult result;
  result.kind = "form";
  result.received = "2026-01-01T00:00:00Z";
  result.client = "127.0.0.1";
  result.name = name;
  result.system = "sys";
  result.version = "1_0_54";
  result.resultText = std::to_string(score);
  result.score = score;
  result.checksum = "c";
  result.toEmail = "t@e";
  return result;
}

std::vector<std::string> Names(const std::vector<StoredResult>& results) {
  std::vector<std::string> names;
  for (const StoredResult& result : results) names.push_back(result.name);
  return names;
}

class StoreTest : public ::testing::Test {
 protected:
  std::unique_ptr<Store> Open() { return std::make_unique<Store>(OpenSqlite((folder_.Path() / "r.sqlite").string())); }
  kovrin::test::ScratchFolder folder_;
};

TEST_F(StoreTest, RanksBestFirstWithTheEarlierOfEqualScoresAhead) {
  std::unique_ptr<Store> store = Open();
  const std::int64_t a = store->Add(Result("a", 50));
  const std::int64_t b = store->Add(Result("b", 80.5));
  const std::int64_t c = store->Add(Result("c", 50));
  const std::int64_t d = store->Add(Result("d", 9));
  EXPECT_EQ(Names(store->List(RankingOrder::Best, 0, 10)), (std::vector<std::string>{"b", "a", "c", "d"}));
  EXPECT_EQ(Names(store->List(RankingOrder::Newest, 0, 10)), (std::vector<std::string>{"d", "c", "b", "a"}));
  EXPECT_EQ(Names(store->List(RankingOrder::Best, 1, 2)), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(store->Place(b), 1);
  EXPECT_EQ(store->Place(a), 2);
  EXPECT_EQ(store->Place(c), 3);
  EXPECT_EQ(store->Place(d), 4);
  EXPECT_EQ(store->Place(999), 0);
  EXPECT_EQ(store->Count(), 4);
}

TEST_F(StoreTest, KeepsEveryFieldAndTheDocumentAcrossAReopen) {
  StoredResult result = Result("J\xc3\xbcrgen'; DROP TABLE results; --", 12.5);
  result.system = std::string("line\nbreak\0zero", 15);
  result.document = "{\"format\": 3}";
  std::int64_t id = 0;
  {
    std::unique_ptr<Store> store = Open();
    id = store->Add(result);
  }
  std::unique_ptr<Store> store = Open();  // migrations run again: nothing changes
  EXPECT_EQ(store->SchemaVersion(), 2);
  const std::optional<StoredResult> back = store->Get(id);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->name, result.name);
  EXPECT_EQ(back->system, result.system);
  EXPECT_EQ(back->document, result.document);
  EXPECT_DOUBLE_EQ(back->score, 12.5);
  EXPECT_EQ(back->received, result.received);
  EXPECT_EQ(store->Count(), 1);
}

TEST_F(StoreTest, RemovesOnlyWhatIsThere) {
  std::unique_ptr<Store> store = Open();
  const std::int64_t id = store->Add(Result("a", 1));
  EXPECT_FALSE(store->Remove(id + 1));
  EXPECT_TRUE(store->Remove(id));
  EXPECT_FALSE(store->Get(id));
  EXPECT_FALSE(store->Remove(id));
  EXPECT_EQ(store->Count(), 0);
}

TEST(Pages, EscapeEveryUserText) {
  EXPECT_EQ(EscapeHtml("<script>alert('x')</script> & \"q\""),
            "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;q&quot;");
  StoredResult hostile = Result("<script>name</script>", 1);
  hostile.system = "<img src=x onerror=alert(1)>";
  hostile.version = "<b>";
  hostile.resultText = "<i>";
  hostile.received = "\"><script>";
  hostile.id = 7;
  const std::string pages[] = {RankingPage({RankingOrder::Best, 1, 1, {hostile}}),
                               ResultPage(hostile, 1),
                               ThanksPage(hostile, 1),
                               RefusalPage({"<script>problem"}),
                               ComparePage(hostile, hostile, "<script>table"),
                               MessagePage("<script>", "<script>")};
  for (const std::string& page : pages) {
    EXPECT_EQ(page.find("<script"), std::string::npos) << page;
    EXPECT_EQ(page.find("<img"), std::string::npos) << page;
    EXPECT_EQ(page.find("<b>"), std::string::npos) << page;
    EXPECT_EQ(page.find("<i>"), std::string::npos) << page;
  }
  EXPECT_NE(pages[0].find("&lt;script&gt;name&lt;/script&gt;"), std::string::npos) << pages[0];
}

TEST(Pages, RankingPagesLinkTheirNeighbours) {
  const std::string first = RankingPage({RankingOrder::Newest, 1, 120, {}});
  EXPECT_NE(first.find("page 1 of 3 (120 results)"), std::string::npos) << first;
  EXPECT_NE(first.find("href=\"/?order=newest&amp;page=2\""), std::string::npos) << first;
  EXPECT_EQ(first.find("previous"), std::string::npos);
  const std::string last = RankingPage({RankingOrder::Best, 3, 120, {}});
  EXPECT_NE(last.find("href=\"/?order=best&amp;page=2\""), std::string::npos) << last;
  EXPECT_EQ(last.find(">next<"), std::string::npos) << last;
}

TEST(RateLimiter, AllowsTheLimitInAnyMinutePerAddress) {
  using namespace std::chrono_literals;
  RateLimiter limiter(3);
  const RateLimiter::Clock::time_point t0{};
  EXPECT_TRUE(limiter.Allow("a", t0));
  EXPECT_TRUE(limiter.Allow("a", t0 + 10s));
  EXPECT_TRUE(limiter.Allow("a", t0 + 20s));
  EXPECT_FALSE(limiter.Allow("a", t0 + 30s));
  EXPECT_TRUE(limiter.Allow("b", t0 + 30s)) << "another address has its own minute";
  EXPECT_FALSE(limiter.Allow("a", t0 + 59s));
  EXPECT_TRUE(limiter.Allow("a", t0 + 60s)) << "the first post has left the minute";
  EXPECT_FALSE(limiter.Allow("a", t0 + 61s));
  EXPECT_TRUE(limiter.Allow("a", t0 + 70s));

  RateLimiter off(0);
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(off.Allow("a", t0));
}

TEST(RateLimiter, ForgetsAddressesThatWentQuiet) {
  using namespace std::chrono_literals;
  RateLimiter limiter(5);
  const RateLimiter::Clock::time_point t0{};
  for (int i = 0; i < 2000; ++i) limiter.Allow("10.0.0." + std::to_string(i), t0);
  EXPECT_GE(limiter.Tracked(), 1000u);
  for (int i = 0; i < 1100; ++i) limiter.Allow("192.168.0.1", t0 + 120s);
  EXPECT_LT(limiter.Tracked(), 10u);
}

}  // namespace
