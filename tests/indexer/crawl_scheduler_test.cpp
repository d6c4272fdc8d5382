// The crawl loop over a scripted site: levels, parents and statuses, pages
// that cannot be indexed, Stop, Resume and Start, and the single-URL
// commands.
#include "crawler/crawl_scheduler.h"

#include <gtest/gtest.h>

#include <array>

#include "crawler/start_urls.h"
#include "support/index_invariants.h"
#include "support/scripted_http.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"
#include "text/word_index.h"

namespace trawlix {
namespace {

using testing::ScriptedHttp;

class CrawlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ws.start_up(dir.path()));
    db = ws.db();
    page("http://h/dir/index.htm",
         "<html><title>Home</title><p>home words <a href=\"a.htm\">a</a> "
         "<a class=x href=\"b.htm\">b</a> <a href=\"sub/c.htm\">c</a> <a href=\"../up.htm\">up</a> "
         "<a href=\"http://other/x.htm\">x</a> <a href=\"pic.jpg\">p</a> "
         "<a href=\"missing.htm\">m</a></p>");
    page("http://h/dir/a.htm",
         "<p>alpha <a href=\"index.htm\">home</a> <a href=deep.htm>d</a></p>");
    page("http://h/dir/b.htm", "<p>beta beta</p>");
    page("http://h/dir/sub/c.htm", "<p>gamma <a href=\"d.htm\">d</a></p>");
    page("http://h/dir/deep.htm", "<p>deep</p>");
    page("http://h/dir/sub/d.htm", "<p>delta</p>");
    ScriptedHttp::Reply missing;
    missing.status = 404;
    missing.pieces = {"<p>not found here</p>"};
    http.answer("http://h/dir/missing.htm", missing);
  }

  void page(const std::string& url, const std::string& html) {
    ScriptedHttp::Reply r;
    r.pieces = {html};
    http.answer(url, r);
  }

  int32_t start(const std::string& url, int depth) {
    StartUrl s;
    s.url = url;
    s.max_depth = depth;
    int32_t id = 0;
    EXPECT_EQ(add_start_url(*db, ui, s, &id), AddResult::kAdded);
    return id;
  }

  struct DocRow {
    std::string url;
    int64_t level, parent, status, indexed;
    bool operator==(const DocRow&) const = default;
  };
  std::vector<DocRow> docs() {
    std::vector<DocRow> out;
    Statement st = db->prepare(
        "select URLDocument, URLLevel, URLParent, nStatus, bIndexed from Docs order by DocID");
    while (st.step()) {
      out.push_back({st.get_text(0), st.get_int(1), st.get_int(2), st.get_int(3), st.get_int(4)});
    }
    return out;
  }
  int requests_for(const std::string& url) {
    int n = 0;
    for (const HttpRequest& r : http.requests) n += r.url == url;
    return n;
  }
  int64_t in_doc(const std::string& word) {
    return db->query_int(
        "select sum(wordsdocs.Occurrences) from Words, WordsDocs where Words.WordID = "
        "WordsDocs.WordID and Word = ?",
        {word}, 0);
  }

  testing::TempDir dir;
  testing::ScriptedUi ui;
  ScriptedHttp http;
  Workspace ws{ui};
  Database* db = nullptr;
  IndexerState state;
};

TEST_F(CrawlTest, ExploresLevelByLevelWithinTheDepth) {
  start("h/dir/index.htm", 2);  // no scheme: stored as http://
  CrawlScheduler crawler(ws, state, ui, http);
  std::vector<std::array<int64_t, 3>> progress;  // processed, failed, waiting
  crawler.set_on_progress([&](const CrawlProgress& p) {
    progress.push_back({p.processed, p.failed, p.waiting});
    EXPECT_GE(p.pages_per_second(), 0);
  });
  ASSERT_TRUE(crawler.start_crawl());
  // The home page adds four; the error page fails and still waits.
  std::vector<std::array<int64_t, 3>> counts = {
      {1, 0, 4}, {2, 0, 3}, {3, 0, 2}, {4, 0, 1}, {5, 1, 1}};
  EXPECT_EQ(progress, counts);
  std::vector<DocRow> want = {
      {"http://h/dir/index.htm", 1, 0, 1, -1},  {"http://h/dir/a.htm", 2, 1, 1, -1},
      {"http://h/dir/b.htm", 2, 1, 1, -1},      {"http://h/dir/sub/c.htm", 2, 1, 1, -1},
      {"http://h/dir/missing.htm", 2, 1, 0, 0},  // an error page stays waiting
  };
  EXPECT_EQ(docs(), want);
  // Links on level-2 pages are not added; deep.htm and sub/d.htm never wait.
  EXPECT_EQ(requests_for("http://h/dir/deep.htm"), 0);
  // The error page was tried once in this crawl, not in every later pass.
  EXPECT_EQ(requests_for("http://h/dir/missing.htm"), 1);
  EXPECT_EQ(in_doc("BETA"), 2);
  EXPECT_EQ(in_doc("FOUND"), 0);
  bool told = false;
  for (const std::string& line : ui.lines) {
    told |= line == "not indexed: http://h/dir/missing.htm (the server answered HTTP 404)";
  }
  EXPECT_TRUE(told);
  EXPECT_FALSE(crawler.running());
}

TEST_F(CrawlTest, WithoutALimitTheWholeDirectoryIsCrawled) {
  start("http://h/dir/index.htm", 0);
  CrawlScheduler crawler(ws, state, ui, http);
  crawler.start_crawl();
  EXPECT_EQ(requests_for("http://h/dir/deep.htm"), 1);
  EXPECT_EQ(requests_for("http://h/dir/sub/d.htm"), 1);
  EXPECT_EQ(db->query_int("select URLLevel from Docs where URLDocument = 'http://h/dir/sub/d.htm'"),
            3);
  // Outside the start directory, another site, an image: never entered.
  EXPECT_EQ(db->query_int("select count(*) from Docs where URLDocument like '%up.htm' or "
                          "URLDocument like '%other%' or URLDocument like '%.jpg'"),
            0);
}

TEST_F(CrawlTest, ResumeWithNothingWaitingFetchesNothing) {
  start("http://h/dir/b.htm", 0);
  CrawlScheduler crawler(ws, state, ui, http);
  crawler.start_crawl();
  http.requests.clear();
  state.restart_all = false;
  crawler.start_crawl();
  EXPECT_TRUE(http.requests.empty());
}

TEST_F(CrawlTest, StartExplorationFetchesEverythingAgainWithoutDoubleCounts) {
  start("http://h/dir/index.htm", 2);
  CrawlScheduler crawler(ws, state, ui, http);
  crawler.start_crawl();
  std::vector<DocRow> first = docs();
  http.requests.clear();
  state.restart_all = true;
  state.settings.reindex_mode = 1;
  crawler.start_crawl();
  EXPECT_EQ(requests_for("http://h/dir/b.htm"), 1);
  EXPECT_EQ(docs(), first);
  EXPECT_EQ(in_doc("BETA"), 2);  // occurrences replaced, not added
  EXPECT_EQ(db->query_int("select Occurrences from Words where Word = 'BETA'"), 2);

  state.settings.reindex_mode = 0;
  crawler.start_crawl();
  EXPECT_EQ(in_doc("BETA"), 2);
  EXPECT_EQ(db->query_int("select Occurrences from Words where Word = 'BETA'"), 2);
  EXPECT_EQ(db->query_int("select count(*) from Docs where nStatus = 1"), 4);
  // Deleting a page takes its words off too; a word no page holds stays at 0.
  ASSERT_TRUE(delete_document(*db, ui, 3));
  EXPECT_EQ(db->query_int("select Occurrences from Words where Word = 'BETA'"), 0);
  testing::expect_consistent_index(*db);
}

TEST_F(CrawlTest, ALinkThatCannotBeRecordedFailsItsPageAndStopsTheCrawlOnce) {
  start("http://h/dir/index.htm", 2);
  ASSERT_TRUE(
      db->exec("create trigger full before insert on Docs begin "
               "select raise(abort, 'database or disk is full'); end"));
  CrawlScheduler crawler(ws, state, ui, http);
  ASSERT_TRUE(crawler.start_crawl());
  EXPECT_NE(crawler.failure().find("disk is full"), std::string::npos) << crawler.failure();
  // Nothing of the page is kept, and the crawl said why once.
  EXPECT_EQ(docs(), (std::vector<DocRow>{{"http://h/dir/index.htm", 1, 0, 0, 0}}));
  EXPECT_EQ(db->query_int("select count(*) from WordsDocs"), 0);
  EXPECT_EQ(std::count_if(ui.messages.begin(), ui.messages.end(),
                          [](auto& m) { return m.title == "Crawl stopped:"; }),
            1);
}

TEST_F(CrawlTest, ARedirectToAnotherHostIsIndexedButItsLinksLeadOffTheSite) {
  const std::pair<const char*, const char*> cases[] = {
      {"http://h/d/i.htm", "http://elsewhere/d/i.htm"},  // off the site
      {"http://h/d/i.htm", "http://h.evil/d/i.htm"},
      {"http://h/d/i.htm", "http://h:8080/d/i.htm"},
      {"http://h/d/i.htm", "https://h/d/i.htm"},  // the common moves of a site
      {"http://h/d/i.htm", "http://www.h/d/i.htm"},
      {"http://www.h/d/i.htm", "http://H/d/i.htm"},
      {"http://h/d", "http://h/d/"},
  };
  for (size_t k = 0; k < std::size(cases); ++k) {
    auto [from, served] = cases[k];
    SCOPED_TRACE(served);
    ASSERT_TRUE(db->exec("delete from Docs"));
    ScriptedHttp::Reply moved = ScriptedHttp::page({"<p>moved <a href=a.htm>a</a></p>"});
    moved.redirected_to = served;
    http.answer(from, moved);
    start(from, 0);
    CrawlScheduler(ws, state, ui, http).start_crawl();
    std::vector<DocRow> want{{from, 1, 0, 1, -1}};
    std::string dir = served;
    if (k >= 3)
      want.push_back({dir.substr(0, dir.rfind('/')) + "/a.htm", 2,
                      db->query_int("select min(DocID) from Docs"), 0, 0});
    EXPECT_EQ(docs(), want);
  }
}

TEST_F(CrawlTest, AStartThatCannotPutTheDocumentsBackCrawlsNothing) {
  start("http://h/dir/index.htm", 2);
  CrawlScheduler crawler(ws, state, ui, http);
  ASSERT_TRUE(crawler.start_crawl());
  ASSERT_TRUE(db->exec("update Docs set nStatus = 0 where URLDocument like '%/b.htm'"));
  ASSERT_TRUE(
      db->exec("create trigger refuse before update of nStatus on Docs when new.nStatus = 0 "
               "begin select raise(abort, 'refused'); end"));
  http.requests.clear();
  ui.messages.clear();
  state.restart_all = true;
  EXPECT_FALSE(crawler.start_crawl());
  // Not a resume of the one row that happened to wait.
  EXPECT_TRUE(http.requests.empty());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Database error:");
  EXPECT_EQ(ui.messages[0].text.rfind("Error: restarting the exploration: \r", 0), 0u);
  EXPECT_EQ(ui.messages[0].icon, Icon::kCritical);
}

TEST_F(CrawlTest, StopTakesEffectAfterTheCurrentDocument) {
  start("http://h/dir/index.htm", 2);
  CrawlScheduler crawler(ws, state, ui, http);
  bool second_refused = false;
  ui.on_events = [&] {
    if (!ui.lines.empty() && crawler.running()) {
      second_refused |= !crawler.start_crawl();  // no crawl inside a crawl
      crawler.stop();
    }
  };
  crawler.start_crawl();
  EXPECT_TRUE(second_refused);
  EXPECT_EQ(db->query_int("select count(*) from Docs where nStatus = 1"), 1);
  EXPECT_EQ(db->query_int("select count(*) from Docs where nStatus = 0"), 4);
  EXPECT_EQ(http.requests.size(), 1u);
}

TEST_F(CrawlTest, CrawlingContinuouslyIdlesUntilStop) {
  start("http://h/dir/b.htm", 0);
  state.settings.keep_cycling = true;
  CrawlScheduler crawler(ws, state, ui, http);
  crawler.set_idle_pause(1);
  int events = 0;
  ui.on_events = [&] {
    if (++events == 200) crawler.stop();
  };
  crawler.start_crawl();
  EXPECT_EQ(requests_for("http://h/dir/b.htm"), 1);
  EXPECT_GE(events, 200);
}

TEST_F(CrawlTest, LinksResolveAgainstThePageReallyServed) {
  ScriptedHttp::Reply moved;
  moved.pieces = {"<p>moved <a href=\"a.htm\">a</a></p>"};
  moved.redirected_to = "http://h/dir/";
  http.answer("http://h/dir", moved);
  start("http://h/dir", 0);
  CrawlScheduler crawler(ws, state, ui, http);
  crawler.start_crawl();
  EXPECT_EQ(db->query_int("select count(*) from Docs where URLDocument = 'http://h/dir/a.htm'"), 1);
}

TEST_F(CrawlTest, ExploreIndividualUrlGivesTheUrlItsOwnRow) {
  int32_t home = start("http://h/dir/b.htm", 0);
  StartUrl s;
  s.url = "http://h/dir/sub/c.htm";
  s.level = 4;
  s.parent = home;
  s.description = "Typed";
  CrawlScheduler crawler(ws, state, ui, http);
  ProcessedRow row = crawler.explore_url(s);
  EXPECT_EQ(row.fate, ProcessedRow::Fate::kIndexed);
  std::vector<DocRow> want = {
      {"http://h/dir/b.htm", 1, 0, 0, 0},
      {"http://h/dir/sub/c.htm", 5, home, 1, -1},
      {"http://h/dir/sub/d.htm", 6, row.doc_id, 0, 0},
  };
  EXPECT_EQ(docs(), want);
  EXPECT_EQ(db->query_int("select count(*) from Docs where URLDescription = 'Typed'"), 1);
  EXPECT_EQ(in_doc("GAMMA"), 1);
  // The page is listed as it arrived.
  bool listed = false;
  for (const std::string& line : ui.lines) listed |= line.find("gamma") != std::string::npos;
  EXPECT_TRUE(listed);
  // Exploring it again works on the same row, without a message.
  ui.messages.clear();
  EXPECT_EQ(crawler.explore_url(s).doc_id, row.doc_id);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CrawlTest, TroubledPagesDoNotStopTheCrawl) {
  page("http://t/index.htm",
       "<p>start <a href=dropped.htm>1</a> <a href=loop.htm>2</a> <a href=plain.htm>3</a> "
       "<a href=comment.htm>4</a> <a href=fine.htm>5</a></p>");
  ScriptedHttp::Reply dropped;
  dropped.pieces = {"<p>half of a pa"};
  dropped.end = HttpResponse::End::kCutOff;
  http.answer("http://t/dropped.htm", dropped);
  ScriptedHttp::Reply loop;  // too many redirects: nothing opened
  loop.end = HttpResponse::End::kNotOpened;
  http.answer("http://t/loop.htm", loop);
  page("http://t/plain.htm", "no tags at all on this page");
  page("http://t/comment.htm", "<p>open <!-- never closed");
  page("http://t/fine.htm", "<p>fine words</p>");
  start("http://t/index.htm", 0);
  CrawlScheduler crawler(ws, state, ui, http);
  crawler.start_crawl();
  auto status = [&](const char* url) {
    return db->query_int("select nStatus from Docs where URLDocument = ?", {std::string(url)}, -1);
  };
  EXPECT_EQ(status("http://t/dropped.htm"), 0);  // cut off: not indexed, still waiting
  EXPECT_EQ(status("http://t/loop.htm"), 0);
  EXPECT_EQ(status("http://t/plain.htm"), 1);
  EXPECT_EQ(status("http://t/comment.htm"), 1);
  EXPECT_EQ(status("http://t/fine.htm"), 1);
  EXPECT_EQ(in_doc("FINE"), 1);
  EXPECT_EQ(in_doc("HALF"), 0);
  EXPECT_EQ(in_doc("START"), 1);
  // Each troubled page was tried once, and the crawl ended by itself.
  EXPECT_EQ(requests_for("http://t/dropped.htm"), 1);
  EXPECT_EQ(requests_for("http://t/loop.htm"), 1);
}

TEST_F(CrawlTest, StartUrlsAreCompletedAndKeptUnique) {
  start("http://h/dir/index.htm", 0);
  StartUrl s;
  s.url = "  HTTP://H/DIR/INDEX.HTM ";
  EXPECT_EQ(add_start_url(*db, ui, s), AddResult::kAlreadyLoaded);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Please note:");
  EXPECT_EQ(ui.messages[0].text, "That URL is already loaded into the system");
  s.url = "   ";
  EXPECT_EQ(add_start_url(*db, ui, s), AddResult::kEmptyUrl);
  EXPECT_EQ(ui.messages.back().title, "Information not provided:");
  EXPECT_EQ(ui.messages.back().text, "Please type an URL to load/index");
  s.url = "https://secure/it's.htm";
  s.level = 0;
  s.max_depth = 3;
  s.crawl_above = true;
  EXPECT_EQ(add_start_url(*db, ui, s), AddResult::kAdded);
  EXPECT_EQ(db->query_int("select count(*) from Docs where URLDocument = ? and URLLevel = 1 and "
                          "nMaxDepth = 3 and bCrawlAbove = -1 and nStatus = 0 and bIndexed = 0",
                          {std::string("https://secure/it's.htm")}),
            1);
  std::vector<ParentChoice> parents = parent_choices(*db);
  ASSERT_EQ(parents.size(), 3u);
  EXPECT_EQ(parents[0].caption, "(HOME PAGE)");
  EXPECT_EQ(parents[0].doc_id, 0);
  EXPECT_EQ(parents[1].caption, "h/dir/index.htm");
  EXPECT_EQ(typed_number("12abc"), 12);
  EXPECT_EQ(typed_number("x"), 0);
}

}  // namespace
}  // namespace trawlix
