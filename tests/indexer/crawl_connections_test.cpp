// Crawls over a real HTTP server on several connections against the same
// crawl on one: a hostile site (a stall, a dropped connection, redirects,
// a redirect loop, an error page) ends in the same tables, the same rows
// reported and the same document list; robots.txt leaves the pages it
// refuses waiting.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>

#include "crawler/crawl_scheduler.h"
#include "crawler/curl_http_client.h"
#include "support/http_server.h"
#include "support/index_invariants.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace trawlix {
namespace {

using Rows = std::vector<std::vector<DbValue>>;

struct Crawled {
  Rows tables;
  std::vector<std::string> reported;  // fate, URL and reason of every row, in order
  std::vector<std::string> listed;
  std::vector<std::string> waiting;  // URLs of the rows left waiting
};

// Crawls `start` to depth 3 in a new WorkSpace with these settings.
Crawled crawl(HttpClient& http, const std::string& start, const CrawlSettings& settings) {
  testing::TempDir dir;
  testing::ScriptedUi ui;
  Workspace ws{ui};
  EXPECT_TRUE(ws.start_up(dir.path()));
  StartUrl s;
  s.url = start;
  s.max_depth = 3;
  EXPECT_EQ(add_start_url(*ws.db(), ui, s), AddResult::kAdded);
  IndexerState state;
  state.settings = settings;
  CrawlScheduler crawler(ws, state, ui, http);
  Crawled out;
  crawler.set_on_row([&](const ProcessedRow& row) {
    out.reported.push_back(std::to_string(static_cast<int>(row.fate)) + " " + row.url + " " +
                           row.reason);
  });
  EXPECT_TRUE(crawler.start_crawl());
  testing::expect_consistent_index(*ws.db());
  for (const char* sql :
       {"select * from Docs order by DocID", "select * from Words order by WordID",
        "select * from WordsDocs order by DocID, WordID", "select * from URLexternos order by 1"}) {
    Rows rows = *ws.db()->query_rows(sql);
    out.tables.insert(out.tables.end(), rows.begin(), rows.end());
  }
  out.listed = ui.lines;
  Statement st = ws.db()->prepare("select URLDocument from Docs where nStatus = 0 order by DocID");
  while (st.step()) out.waiting.push_back(st.get_text(0));
  return out;
}

TEST(CrawlConnections, AHostileSiteCrawledOnFourConnectionsEndsAsOnOne) {
  testing::TestHttpServer server;
  auto& s = server.server();
  s.Get(R"(/p(\d+)\.htm)", [](const httplib::Request& req, httplib::Response& res) {
    int n = std::stoi(req.matches[1]);
    std::string body = "<title>page " + std::to_string(n) + "</title><p>words of " +
                       std::string(n % 3 + 1, 'q') + " ";
    for (int k = 1; k <= 3; ++k) body += "<a href=p" + std::to_string((n * 3 + k) % 20) + ".htm> ";
    res.set_content(body, "text/html");
  });
  s.Get("/index.htm", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(
        "<a href=p1.htm> <a href=stall.htm> <a href=drop.htm> <a href=moved.htm> "
        "<a href=loop.htm> <a href=missing.htm> <a href=p2.htm> <a href=http://elsewhere/x.htm>",
        "text/html");
  });
  s.Get("/stall.htm", [](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("text/html", [](size_t offset, httplib::DataSink& sink) {
      if (offset == 0) return sink.write("<p>stalled page\n", 16);
      std::this_thread::sleep_for(std::chrono::seconds(3));  // beyond the timeout
      sink.done();
      return true;
    });
  });
  s.Get("/drop.htm", [](const httplib::Request&, httplib::Response& res) {
    res.set_content_provider(1000, "text/html", [](size_t offset, size_t, httplib::DataSink& sink) {
      return offset == 0 && sink.write("<p>dropped half", 15);
    });
  });
  s.Get("/moved.htm",
        [](const httplib::Request&, httplib::Response& res) { res.set_redirect("p7.htm"); });
  s.Get("/loop.htm",
        [](const httplib::Request&, httplib::Response& res) { res.set_redirect("loop.htm"); });
  s.Get("/missing.htm", [](const httplib::Request&, httplib::Response& res) {
    res.status = 404;
    res.set_content("<p>not here", "text/html");
  });

  CurlHttpClient http;
  CrawlSettings one, four;
  one.access_timeout = four.access_timeout = 1;
  one.connections = 1;
  four.connections = 4;
  Crawled alone = crawl(http, server.url("/index.htm"), one);
  Crawled ahead = crawl(http, server.url("/index.htm"), four);
  EXPECT_EQ(ahead.tables, alone.tables);
  EXPECT_EQ(ahead.reported, alone.reported);
  EXPECT_EQ(ahead.listed, alone.listed);
  // The site really was hostile: the stall, the drop and the 404 were not
  // indexed, the redirect loop not fetched, the rest (with the page the
  // redirect led to) indexed.
  std::map<char, int> fates;
  for (const std::string& row : alone.reported) ++fates[row[0]];
  EXPECT_EQ(fates, (std::map<char, int>{{'0', 11}, {'2', 1}, {'3', 3}}));
}

TEST(CrawlConnections, RobotsTxtLeavesTheRefusedPagesWaitingAndIsReadOncePerHost) {
  testing::TestHttpServer server;
  std::atomic<int> robots_reads{0};
  std::atomic<int> robots_status{200};
  server.server().Get("/robots.txt", [&](const httplib::Request&, httplib::Response& res) {
    ++robots_reads;
    res.status = robots_status;
    res.set_content("User-agent: *\nDisallow: /private/\nAllow: /private/open.htm$\n",
                    "text/plain");
  });
  server.server().Get(R"(/(.*)\.htm)", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content("<p>page " + std::string(req.matches[1]) +
                        " <a href=/private/open.htm> <a href=/private/shut.htm> <a href=/p.htm>",
                    "text/html");
  });
  CurlHttpClient http;
  CrawlSettings settings;
  settings.respect_robots = true;
  Crawled got = crawl(http, server.url("/index.htm"), settings);
  EXPECT_EQ(robots_reads, 1);
  const std::string shut = server.url("/private/shut.htm");
  EXPECT_EQ(got.reported, (std::vector<std::string>{
                              "0 " + server.url("/index.htm") + " ",
                              "0 " + server.url("/private/open.htm") + " ",
                              "2 " + shut + " robots.txt",
                              "0 " + server.url("/p.htm") + " ",
                          }));
  EXPECT_NE(
      std::find(got.listed.begin(), got.listed.end(), "not fetched: " + shut + " (robots.txt)"),
      got.listed.end());
  EXPECT_EQ(got.waiting, (std::vector<std::string>{shut}));

  // A robots.txt that cannot be read (a server error) refuses the whole host.
  robots_status = 503;
  got = crawl(http, server.url("/index.htm"), settings);
  EXPECT_EQ(got.reported,
            (std::vector<std::string>{"2 " + server.url("/index.htm") + " robots.txt"}));
  // One the server says is not there refuses nothing.
  robots_status = 404;
  got = crawl(http, server.url("/index.htm"), settings);
  EXPECT_EQ(got.reported.size(), 4u);
  EXPECT_TRUE(got.waiting.empty());
}

}  // namespace
}  // namespace trawlix
