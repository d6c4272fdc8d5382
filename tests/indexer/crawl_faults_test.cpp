// The crawl against faults of its own WorkSpace and against pages that lead
// elsewhere: word totals through re-indexing and deletion, a database that
// fails, a run that holds the WorkSpace, redirects to other hosts.
#include <gtest/gtest.h>

#include "crawler/crawl_scheduler.h"
#include "crawler/start_urls.h"
#include "shell/run_lock.h"
#include "support/index_invariants.h"
#include "support/scripted_http.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"
#include "text/word_index.h"

namespace trawlix {
namespace {

using testing::ScriptedHttp;

class CrawlFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ws.start_up(dir.path()));
    db = ws.db();
    page("http://h/d/index.htm",
         "<title>Home</title><p>home words <a href=a.htm>a</a> <a href=b.htm>b</a> "
         "<a href=c.htm>c</a></p>");
    page("http://h/d/a.htm", "<p>alpha words words</p>");
    page("http://h/d/b.htm", "<p>beta words <a href=index.htm>home</a></p>");
    page("http://h/d/c.htm", "<p>gamma alpha</p>");
  }

  void page(const std::string& url, const std::string& html, const std::string& final_url = "") {
    ScriptedHttp::Reply r;
    r.pieces = {html};
    r.redirected_to = final_url;
    http.answer(url, r);
  }

  void start(const std::string& url) {
    StartUrl s;
    s.url = url;
    ASSERT_EQ(add_start_url(*db, ui, s), AddResult::kAdded);
  }

  std::vector<std::string> urls() {
    std::vector<std::string> out;
    Statement st = db->prepare("select URLDocument from Docs order by DocID");
    while (st.step()) out.push_back(st.get_text(0));
    return out;
  }

  testing::TempDir dir;
  testing::ScriptedUi ui;
  Workspace ws{ui};
  Database* db = nullptr;
  IndexerState state;
  ScriptedHttp http;
};

TEST_F(CrawlFaults, WordTotalsStayTheSumOfTheOccurrencesThroughReindexAndDelete) {
  start("http://h/d/index.htm");
  CrawlScheduler crawler(ws, state, ui, http);
  ASSERT_TRUE(crawler.start_crawl());
  ASSERT_EQ(db->query_int("select count(*) from Docs where bIndexed = -1"), 4);
  testing::expect_consistent_index(*db);

  // Start exploration over the indexed WorkSpace, with a page that changed.
  page("http://h/d/a.htm", "<p>alpha omega</p>");
  state.restart_all = true;
  ASSERT_TRUE(crawler.start_crawl());
  testing::expect_consistent_index(*db);
  EXPECT_EQ(db->query_int("select Occurrences from Words where Word = 'WORDS'"), 2);

  int64_t beta = db->query_int("select WordID from Words where Word = 'BETA'");
  ASSERT_TRUE(delete_document(*db, ui, 3));  // b.htm, the only page with "beta"
  testing::expect_consistent_index(*db);
  // A word no document holds any more keeps its row and WordID at 0.
  EXPECT_EQ(db->query_int("select WordID from Words where Occurrences = 0 and Word = 'BETA'"),
            beta);
}

TEST_F(CrawlFaults, ALinkThatCannotBeRecordedFailsItsPageAndStopsTheCrawlOnce) {
  start("http://h/d/index.htm");
  // The first insert of a link fails as a full disk makes it fail.
  ASSERT_TRUE(db->exec(
      "create trigger full before insert on Docs begin select raise(abort, 'disk is full'); end"));
  CrawlScheduler crawler(ws, state, ui, http);
  int rows = 0;
  crawler.set_on_row([&](const ProcessedRow& row) {
    ++rows;
    EXPECT_EQ(row.fate, ProcessedRow::Fate::kDatabaseError);
  });
  ASSERT_TRUE(crawler.start_crawl());
  EXPECT_EQ(rows, 1);
  EXPECT_NE(crawler.failure().find("disk is full"), std::string::npos) << crawler.failure();
  // Nothing of the page was kept: no words, no status, no description.
  EXPECT_EQ(db->query_int("select count(*) from WordsDocs"), 0);
  EXPECT_EQ(db->query_int("select nStatus from Docs"), 0);
  EXPECT_EQ(db->query_int("select count(*) from Docs where URLDescription <> ''"), 0);
  int stopped = 0;
  for (const auto& m : ui.messages) stopped += m.title == "Crawl stopped:";
  EXPECT_EQ(stopped, 1);
  testing::expect_consistent_index(*db);

  // Once the fault is gone the same crawl goes on as if nothing happened.
  ASSERT_TRUE(db->exec("drop trigger full"));
  crawler.set_on_row(nullptr);
  ASSERT_TRUE(crawler.start_crawl());
  EXPECT_TRUE(crawler.failure().empty());
  EXPECT_EQ(db->query_int("select count(*) from Docs where nStatus = 1"), 4);
  testing::expect_consistent_index(*db);
}

TEST_F(CrawlFaults, AFullDatabaseStopsTheCrawlAtItsFirstFailure) {
  start("http://h/d/index.htm");
  CrawlScheduler crawler(ws, state, ui, http);
  ASSERT_TRUE(crawler.start_crawl());
  // No page more than the database now holds: a re-index needs new pages.
  int64_t pages = db->query_int("PRAGMA page_count");
  ASSERT_TRUE(db->exec("PRAGMA max_page_count = " + std::to_string(pages)));
  std::string big = "<p>";
  for (int k = 0; k < 3000; ++k) big += "w" + std::to_string(k) + " ";
  page("http://h/d/a.htm", big);
  page("http://h/d/b.htm", big);
  state.restart_all = true;
  int rows = 0;
  crawler.set_on_row([&](const ProcessedRow&) { ++rows; });
  ASSERT_TRUE(crawler.start_crawl());
  EXPECT_NE(crawler.failure().find("full"), std::string::npos) << crawler.failure();
  EXPECT_EQ(rows, 2);  // index.htm, then a.htm fails, and b.htm is never tried
  EXPECT_EQ(db->query_int("select count(*) from Words where Word = 'W1'"), 0);
  testing::expect_consistent_index(*db);
}

TEST_F(CrawlFaults, ARunHoldingTheWorkSpaceRefusesEveryOtherRun) {
  start("http://h/d/index.htm");
  RunLock::Result result;
  std::string holder;
  auto held = RunLock::take(ws.dir(), "a survey", &result, &holder);
  ASSERT_EQ(result, RunLock::Result::kTaken) << holder;
  CrawlScheduler crawler(ws, state, ui, http);
  EXPECT_FALSE(crawler.start_crawl());
  StartUrl other;
  other.url = "http://h/d/c.htm";
  EXPECT_EQ(crawler.explore_url(other).fate, ProcessedRow::Fate::kNotFetched);
  EXPECT_FALSE(crawler.open_url("http://h/d/a.htm").stored());
  EXPECT_TRUE(http.requests.empty());
  ASSERT_EQ(ui.messages.size(), 3u);
  for (const auto& m : ui.messages) {
    EXPECT_EQ(m.title, "WorkSpace busy:");
    EXPECT_EQ(m.text.rfind("The WorkSpace is busy: a survey (process ", 0), 0u) << m.text;
  }
  held.reset();
  EXPECT_TRUE(crawler.start_crawl());
  EXPECT_EQ(db->query_int("select count(*) from Docs where nStatus = 1"), 4);
}

TEST_F(CrawlFaults, ARedirectToAnotherHostIsIndexedButItsLinksLeadOffTheSite) {
  struct Case {
    const char* start;
    const char* served;
    bool followed;  // whether the page's own links become documents
  };
  const Case cases[] = {
      {"http://h/d/index.htm", "http://elsewhere/x/index.htm", false},
      {"http://h/d/index.htm", "http://h.evil/d/index.htm", false},
      {"http://h/d/index.htm", "http://h:8080/d/index.htm", false},
      {"http://h/d/index.htm", "https://h/d/index.htm", true},
      {"http://h/d/index.htm", "http://www.h/d/index.htm", true},
      {"http://www.h/d/index.htm", "http://H/d/index.htm", true},
      {"http://h/d", "http://h/d/", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.served);
    ASSERT_TRUE(db->exec("delete from Docs"));
    http = ScriptedHttp();
    page(c.start, "<title>T</title><p>moved <a href=a.htm>a</a> <a href=/d/b.htm>b</a></p>",
         c.served);
    start(c.start);
    CrawlScheduler crawler(ws, state, ui, http);
    ASSERT_TRUE(crawler.start_crawl());
    std::vector<std::string> docs = urls();
    ASSERT_FALSE(docs.empty());
    EXPECT_EQ(docs[0], c.start);
    EXPECT_EQ(
        db->query_int("select bIndexed from Docs where DocID = (select min(DocID) from Docs)"), -1);
    // The links resolve against the page really served.
    std::string served = c.served;
    std::string root = served.substr(0, served.find('/', served.find("://") + 3));
    std::vector<std::string> want{c.start};
    if (c.followed) {
      want.push_back(served.substr(0, served.rfind('/')) + "/a.htm");
      want.push_back(root + "/d/b.htm");
    }
    EXPECT_EQ(docs, want);
  }
}

}  // namespace
}  // namespace trawlix
