// The external link survey over pages served by a real HTTP server: the
// classification of each page, the mail addresses, resuming, Stop, and the
// rows walked one by one.
#include "crawler/link_survey.h"

#include <gtest/gtest.h>

#include <atomic>

#include "crawler/curl_http_client.h"
#include "support/http_server.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace trawlix {
namespace {

TEST(MailAddress, TheFormsALinkTakes) {
  EXPECT_EQ(mail_address("<a href=\"mailto:ann@x.org\">Ann</a>"), "ann@x.org");
  EXPECT_EQ(mail_address("<A HREF='MailTo:bob@y.org'>Bob</A>"), "bob@y.org");
  EXPECT_EQ(mail_address("write to MAILTO:name>text"), "name");
  EXPECT_EQ(mail_address("mailto:  carl@z.org and more"), "carl@z.org");
  // A quote right after the colon is dropped and the next one ends it.
  EXPECT_EQ(mail_address("mailto:\"dora@w.org\" here"), "dora@w.org");
  // Only the first MAILTO of a line counts.
  EXPECT_EQ(mail_address("mailto:e@v.org mailto:f@v.org"), "e@v.org");
  EXPECT_EQ(mail_address("no address here"), "");
  EXPECT_EQ(mail_address("MAILTO:"), "");
  EXPECT_EQ(mail_address("MAILTO"), "");
}

class LinkSurveyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ws.start_up(dir.path()));
    db = ws.db();
    state.settings.access_timeout = 10;
  }

  // Serves `body` at `path` with `status`, counting the requests.
  void serve(const std::string& path, std::string body, int status = 200) {
    server.server().Get(path, [this, body, status](const httplib::Request&, httplib::Response& r) {
      ++requests;
      r.status = status;
      r.set_content(body, "text/html");
    });
  }
  int64_t add_link(const std::string& url) {
    EXPECT_TRUE(db->exec("insert into URLexternos (URLExternal, URLDescription) values (?, ?)",
                         {url, std::string("http://home/index.htm")}));
    return db->last_insert_id();
  }
  SurveyReport survey() {
    return survey_external_links(ws, state, ui, http,
                                 [this](const SurveyedLink& link) { heard.push_back(link); });
  }
  // "search|frames|error|mailto1|mailto2" of a row; null as "null".
  std::string row(int64_t rowid) {
    auto rows = db->query_rows(
        "select urlSearch, urlFrames, urlError, URLmailto1, URLmailto2 from URLexternos where "
        "rowid = ?",
        {rowid});
    if (!rows || rows->size() != 1) return "(no row)";
    std::string out;
    for (const DbValue& v : (*rows)[0]) {
      if (!out.empty()) out += "|";
      if (const auto* i = std::get_if<int64_t>(&v)) out += std::to_string(*i);
      if (const auto* t = std::get_if<std::string>(&v)) out += *t;
      if (std::holds_alternative<std::monostate>(v)) out += "null";
    }
    return out;
  }

  testing::TempDir dir;
  testing::ScriptedUi ui;
  Workspace ws{ui};
  Database* db = nullptr;
  IndexerState state;
  CurlHttpClient http;
  testing::TestHttpServer server;
  std::atomic<int> requests{0};
  std::vector<SurveyedLink> heard;
};

std::string padded(std::string text, size_t size) {
  text.resize(size, ' ');
  return text;
}

TEST_F(LinkSurveyTest, ClassifiesEachPage) {
  const std::string says_404 = "<html><body>Error 404</body></html>";
  serve("/small", padded(says_404, 60));
  serve("/large", padded(says_404, 2000));
  serve("/research", "<p>We do research.</p>");
  serve("/start", "Search the site\r\n");
  serve("/blank", "<p>Site search</p>");
  serve("/angle", "<search>find</search>");
  serve("/both", "research and search");
  serve("/frames", "<html><FRAMESET cols=\"50%,50%\"></FRAMESET></html>");
  serve("/refresh", "<meta http-equiv=\"Refresh\" content=\"0; url=/x\">");
  serve("/mail",
        "<a href=\"mailto:ann@x.org\">Ann</a>\n<a href='mailto:bob@y.org'>Bob</a>\n"
        "write to MAILTO:carl>Carl\n");
  serve("/gone", padded("<html>Not here</html>", 2000), 404);

  std::map<std::string, int64_t> rows;
  for (const char* path : {"/small", "/large", "/research", "/start", "/blank", "/angle", "/both",
                           "/frames", "/refresh", "/mail", "/gone"}) {
    rows[path] = add_link(server.url(path));
  }
  int64_t refused = add_link("http://127.0.0.1:1/nothing.htm");

  SurveyReport report = survey();
  EXPECT_FALSE(report.failed);
  EXPECT_FALSE(report.stopped);
  EXPECT_EQ(report.surveyed, 12);
  EXPECT_EQ(report.skipped, 0);
  EXPECT_EQ(heard.size(), 12u);

  // search | frames | error | first address | last further address
  EXPECT_EQ(row(rows["/small"]), "0|0|-1|null|null");
  EXPECT_EQ(row(rows["/large"]), "0|0|0|null|null");
  EXPECT_EQ(row(rows["/research"]), "0|0|0|null|null");
  EXPECT_EQ(row(rows["/start"]), "-1|0|0|null|null");
  EXPECT_EQ(row(rows["/blank"]), "-1|0|0|null|null");
  EXPECT_EQ(row(rows["/angle"]), "-1|0|0|null|null");
  EXPECT_EQ(row(rows["/both"]), "-1|0|0|null|null");
  EXPECT_EQ(row(rows["/frames"]), "0|-1|0|null|null");
  EXPECT_EQ(row(rows["/refresh"]), "0|-1|0|null|null");
  EXPECT_EQ(row(rows["/mail"]), "0|0|0|ann@x.org|carl");
  EXPECT_EQ(row(rows["/gone"]), "0|0|-1|null|null");
  EXPECT_EQ(row(refused), "0|0|-1|null|null");

  // The page that could not be opened is reported.
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Could not get URL_Handle\rError opening URL...");
  EXPECT_EQ(ui.external_label, "12 http://127.0.0.1:1/nothing.htm");
  EXPECT_EQ(state.external_count, 12);
}

TEST_F(LinkSurveyTest, ListsEachPageAndMarksItsRowBeforeTheFetch) {
  serve("/a", "first line\nsecond line\n");
  int64_t a = add_link(server.url("/a"));
  std::string during;
  ui.on_events = [&] {
    if (during.empty()) during = row(a);
  };
  survey();
  // Seen while the page had just been fetched: a row cut off here counts
  // as surveyed, with an error.
  EXPECT_EQ(during, "0|0|-1|null|null");
  EXPECT_EQ(row(a), "0|0|0|null|null");
  EXPECT_EQ(ui.lines, (std::vector<std::string>{"first line", "second line"}));
}

TEST_F(LinkSurveyTest, ResumesAfterTheRowsSurveyedBefore) {
  serve("/a", "<p>a</p>");
  serve("/b", "<p>search b</p>");
  int64_t a = add_link(server.url("/a"));
  int64_t done = add_link(server.url("/done"));
  int64_t b = add_link(server.url("/b"));
  ASSERT_TRUE(
      db->exec("update URLexternos set urlSearch = 0, urlFrames = 0, urlError = -1 where rowid = ?",
               {done}));
  SurveyReport first = survey();
  EXPECT_EQ(first.skipped, 1);
  EXPECT_EQ(first.surveyed, 2);
  EXPECT_EQ(requests, 2);
  EXPECT_EQ(row(done), "0|0|-1|null|null");
  EXPECT_EQ(row(b), "-1|0|0|null|null");
  EXPECT_EQ(state.external_count, 3);

  // Nothing new: nothing is fetched, and the label shows the rows counted.
  heard.clear();
  SurveyReport second = survey();
  EXPECT_EQ(second.skipped, 3);
  EXPECT_EQ(second.surveyed, 0);
  EXPECT_EQ(requests, 2);
  EXPECT_TRUE(heard.empty());
  EXPECT_EQ(ui.external_label, "3");
  EXPECT_EQ(row(a), "0|0|0|null|null");
}

TEST_F(LinkSurveyTest, EqualRowsAreSurveyedOneByOne) {
  serve("/same", "<a href=\"mailto:sam@x.org\">Sam</a>");
  int64_t one = add_link(server.url("/same"));
  int64_t two = add_link(server.url("/same"));
  survey();
  EXPECT_EQ(requests, 2);
  EXPECT_EQ(row(one), "0|0|0|sam@x.org|null");
  EXPECT_EQ(row(two), "0|0|0|sam@x.org|null");
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0].row, one);
  EXPECT_EQ(heard[1].row, two);
}

TEST_F(LinkSurveyTest, StopEndsItBetweenRowsAndTheNextSurveyGoesOn) {
  serve("/a", "<p>a</p>");
  serve("/b", "<p>b</p>");
  int64_t a = add_link(server.url("/a"));
  int64_t b = add_link(server.url("/b"));
  ui.on_events = [this] { state.keep_running = false; };
  SurveyReport stopped = survey();
  EXPECT_TRUE(stopped.stopped);
  EXPECT_EQ(stopped.surveyed, 1);
  EXPECT_EQ(requests, 1);
  EXPECT_EQ(row(a), "0|0|0|null|null");
  EXPECT_EQ(row(b), "null|null|null|null|null");

  ui.on_events = nullptr;
  SurveyReport rest = survey();
  EXPECT_FALSE(rest.stopped);
  EXPECT_EQ(rest.skipped, 1);
  EXPECT_EQ(rest.surveyed, 1);
  EXPECT_EQ(row(b), "0|0|0|null|null");
}

TEST_F(LinkSurveyTest, AnEmptyTableFetchesNothing) {
  SurveyReport report = survey();
  EXPECT_EQ(report.surveyed, 0);
  EXPECT_FALSE(report.failed);
  EXPECT_EQ(ui.external_label, "0");
  EXPECT_EQ(requests, 0);
}

TEST_F(LinkSurveyTest, ADatabaseErrorIsReportedAndEndsTheSurvey) {
  serve("/a", "<p>a</p>");
  int64_t a = add_link(server.url("/a"));
  ASSERT_TRUE(
      db->exec("create trigger refuse before update of urlSearch on URLexternos begin "
               "select raise(abort, 'read only'); end"));
  SurveyReport report = survey();
  EXPECT_TRUE(report.failed);
  EXPECT_EQ(requests, 0);
  EXPECT_EQ(row(a), "null|null|null|null|null");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Database error:");
}

}  // namespace
}  // namespace trawlix
