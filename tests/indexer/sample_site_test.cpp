// The bundled sample site (data/site) crawled end to end over a real HTTP
// server on 127.0.0.1: the documents the crawl finds, the words it records,
// and a crawl killed with SIGKILL that, resumed, ends with the tables of an
// uninterrupted one.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "crawler/crawl_scheduler.h"
#include "crawler/curl_http_client.h"
#include "crawler/start_urls.h"
#include "support/cli_process.h"
#include "support/http_server.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace trawlix {
namespace {

using testing::CliProcess;
using testing::ScriptedUi;
using testing::TempDir;
using testing::TestHttpServer;

constexpr int kDepth = 3;

// Serves data/site as the site's root.
class SampleSite : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.server().set_mount_point("/", TRAWLIX_DATA_DIR "/site"));
  }
  std::string url(const std::string& path) const { return server.url(path); }

  TestHttpServer server;
};

// One crawl of the site from its home page through the core, as the
// "Start exploration" command runs it.
class SampleSiteCrawl : public SampleSite {
 protected:
  void SetUp() override {
    SampleSite::SetUp();
    ASSERT_TRUE(ws.start_up(dir.path()));
    db = ws.db();
    StartUrl start;
    start.url = url("/index.htm");
    start.max_depth = kDepth;
    ASSERT_EQ(add_start_url(*db, ui, start), AddResult::kAdded);
    CrawlScheduler crawler(ws, state, ui, http);
    crawler.set_on_row([this](const ProcessedRow& row) { rows.push_back(row); });
    ASSERT_TRUE(crawler.start_crawl());
  }

  // The site path of a document (its URL without the server's part).
  std::string path_of(int64_t doc_id) {
    std::string u = text("select URLDocument from Docs where DocID = ?", doc_id);
    std::string site = url("");
    return u.starts_with(site) ? u.substr(site.size()) : u;
  }
  std::string text(const char* sql, int64_t id) {
    Statement st = db->prepare(sql);
    if (!st.bind({id}) || !st.step()) return "?";
    return st.get_text(0);
  }
  // Occurrences of a word by document path; empty when it was not recorded.
  std::map<std::string, int64_t> where(const std::string& word) {
    std::map<std::string, int64_t> out;
    Statement st = db->prepare(
        "select DocID, WordsDocs.Occurrences from Words join WordsDocs using (WordID) "
        "where Word = ?");
    EXPECT_TRUE(st.bind({word}));
    while (st.step()) out[path_of(st.get_int(0))] = st.get_int(1);
    return out;
  }
  int64_t total(const std::string& word) {
    return db->query_int("select Occurrences from Words where Word = ?", {word}, -1);
  }

  TempDir dir;
  ScriptedUi ui;
  Workspace ws{ui};
  Database* db = nullptr;
  IndexerState state;
  CurlHttpClient http;
  std::vector<ProcessedRow> rows;
};

struct DocRow {
  std::string path;
  int64_t level;
  std::string parent;  // path of the parent, "" for none
  int64_t status;
  int64_t indexed;
  bool operator==(const DocRow&) const = default;
};

void PrintTo(const DocRow& r, std::ostream* os) {
  *os << "{" << r.path << " level " << r.level << " parent '" << r.parent << "' status " << r.status
      << " indexed " << r.indexed << "}";
}

TEST_F(SampleSiteCrawl, FindsTheDocumentsLevelByLevel) {
  // Level 2 is what the home page links to, in the order it links to it;
  // level 3 what those pages link to. Links of level-3 pages are beyond the
  // depth: beds/north.htm, beds/south.htm, beds/seedlings/tomatoes.htm and
  // news/archive/2025.htm stay unknown. So do the refused extensions (.jpg,
  // .pdf, .zip, .gif), mail and script links, other hosts, the links out of
  // a page's own folder (garden/index.htm to ../index.htm and
  // /kitchen/index.htm, kitchen/index.htm to ../garden/herbs.htm), the
  // frameset's <noframes> link to a frame already known, and fragments of
  // known pages. "baker's-corner.htm" is read up to its apostrophe, as every
  // quoted link value is, so /people/baker waits, not found; the escaped
  // form of the same name reaches the file.
  std::vector<DocRow> expected = {
      {"/index.htm", 1, "", 1, -1},
      {"/about.htm", 2, "/index.htm", 1, -1},
      {"/garden/index.htm", 2, "/index.htm", 1, -1},
      {"/kitchen/index.htm", 2, "/index.htm", 1, -1},
      {"/news/index.htm", 2, "/index.htm", 1, -1},
      {"/people/index.htm", 2, "/index.htm", 1, -1},
      {"/frames.htm", 2, "/index.htm", 1, -1},
      {"/notes.txt", 2, "/index.htm", 1, -1},
      {"/contact.htm", 2, "/index.htm", 1, -1},
      {"/history.htm", 3, "/about.htm", 1, -1},
      {"/garden/vegetables.htm", 3, "/garden/index.htm", 1, -1},
      {"/garden/herbs.htm", 3, "/garden/index.htm", 1, -1},
      {"/garden/compost.htm", 3, "/garden/index.htm", 1, -1},
      {"/garden/beds/index.htm", 3, "/garden/index.htm", 1, -1},
      {"/kitchen/soup.htm", 3, "/kitchen/index.htm", 1, -1},
      {"/kitchen/bread.htm", 3, "/kitchen/index.htm", 1, -1},
      {"/kitchen/dessert.htm", 3, "/kitchen/index.htm", 1, -1},
      {"/kitchen/market.htm", 3, "/kitchen/index.htm", 1, -1},
      {"/news/spring.htm", 3, "/news/index.htm", 1, -1},
      {"/news/summer.htm", 3, "/news/index.htm", 1, -1},
      {"/news/archive/index.htm", 3, "/news/index.htm", 1, -1},
      {"/people/volunteers.htm", 3, "/people/index.htm", 1, -1},
      {"/people/baker's-corner.htm", 3, "/people/index.htm", 1, -1},
      {"/people/baker%27s-corner.htm", 3, "/people/index.htm", 1, -1},
      {"/frames/left.htm", 3, "/frames.htm", 1, -1},
      {"/frames/main.htm", 3, "/frames.htm", 1, -1},
  };
  std::vector<DocRow> got;
  Statement st = db->prepare(
      "select DocID, URLLevel, URLParent, nStatus, bIndexed, nMaxDepth, bCrawlAbove from Docs "
      "order by DocID");
  while (st.step()) {
    got.push_back({path_of(st.get_int(0)), st.get_int(1),
                   st.get_int(2) ? path_of(st.get_int(2)) : "", st.get_int(3), st.get_int(4)});
    EXPECT_EQ(st.get_int(5), kDepth);
    EXPECT_EQ(st.get_int(6), 0);
  }
  EXPECT_EQ(got, expected);

  // Every row was taken once; only the missing page was not indexed.
  ASSERT_EQ(rows.size(), expected.size());
  for (const ProcessedRow& row : rows) {
    EXPECT_EQ(row.fate, ProcessedRow::Fate::kIndexed) << row.url << ": " << row.reason;
  }
  EXPECT_EQ(db->query_int("select count(*) from URLexternos"), 0);
  // A link with an apostrophe inside its quotes reaches its page; nothing
  // interrupted the crawl.
  EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().title << " " << ui.messages.front().text;
}

TEST_F(SampleSiteCrawl, DescribesDocumentsByTheirTitles) {
  std::map<std::string, std::string> titles;
  Statement st = db->prepare("select DocID, URLDescription from Docs");
  while (st.step()) titles[path_of(st.get_int(0))] = st.get_text(1);
  // A title reads as the page writes it, runs of blanks collapsed.
  EXPECT_EQ(titles["/about.htm"], "About the garden");
  EXPECT_EQ(titles["/kitchen/dessert.htm"],
            "Cr\xE8me br\xFBl\xE9"
            "e");                                           // Windows-1252 page
  EXPECT_EQ(titles["/kitchen/soup.htm"], "Soupe du jour");  // UTF-8 with a byte-order mark
  EXPECT_EQ(titles["/index.htm"], "Millbrook Community Garden \x96 home");  // &ndash;
  EXPECT_EQ(titles["/people/baker%27s-corner.htm"], "Baker's corner");
  EXPECT_EQ(titles["/people/baker's-corner.htm"], "Baker's corner");
  EXPECT_EQ(titles["/notes.txt"], "");  // plain text has no title
}

// The counts below were worked out by hand from the pages, following the
// indexer's rules (words of text, titles and ALT values; not comments,
// scripts, style sheets, attribute values of known tags, text before the
// first tag, or the first word after a comment; META attributes and the
// attributes of unknown tags are text; a .txt page is all words), then
// compared once with `trawlix-cli tokens` on each page and with a crawl.
TEST_F(SampleSiteCrawl, RecordsTheWordsOfThePages) {
  using Counts = std::map<std::string, int64_t>;
  const std::map<std::string, Counts> expected = {
      // "marigold": home page text (the one in its script is not text),
      // about.htm, twice in garden/index.htm, herbs.htm.
      {"MARIGOLD",
       {{"/index.htm", 1}, {"/about.htm", 1}, {"/garden/index.htm", 2}, {"/garden/herbs.htm", 1}}},
      // café written raw (Windows-1252 and UTF-8), as &eacute; and as &#xE9;.
      {"CAFE",
       {{"/index.htm", 1},
        {"/about.htm", 2},
        {"/kitchen/bread.htm", 1},
        {"/kitchen/dessert.htm", 1}}},
      // crème: raw in both encodings, as &egrave;, in a link text and in a
      // title and a heading (dessert.htm).
      {"CREME",
       {{"/index.htm", 1},
        {"/kitchen/index.htm", 1},
        {"/kitchen/soup.htm", 1},
        {"/kitchen/bread.htm", 1},
        {"/kitchen/dessert.htm", 2}}},
      {"ECOLE", {{"/about.htm", 1}}},  // &#233;cole
      // Ñ and ß are kept: jalapeño in a Windows-1252 and a UTF-8 page.
      {"JALAPE\xD1O", {{"/kitchen/index.htm", 1}, {"/kitchen/market.htm", 1}}},
      {"STRA\xDF"
       "E",
       {{"/kitchen/market.htm", 1}}},
      {"ZOE", {{"/kitchen/bread.htm", 1}}},
      // "Miłowo": ł has no Windows-1252 form and splits the word.
      {"MI", {{"/kitchen/bread.htm", 1}}},
      {"OWO", {{"/kitchen/bread.htm", 1}}},
      {"PUMPKIN", {{"/kitchen/soup.htm", 1}, {"/kitchen/market.htm", 1}, {"/news/spring.htm", 1}}},
      {"PUMPKINS", {{"/garden/vegetables.htm", 1}}},
      // ALT texts: "Green watering can" on the home page, "Mint in a clay
      // pot" beside twice "mint" in herbs.htm.
      {"WATERING", {{"/index.htm", 1}, {"/news/summer.htm", 1}}},
      {"CLAY", {{"/garden/herbs.htm", 1}}},
      {"MINT", {{"/garden/herbs.htm", 3}, {"/kitchen/dessert.htm", 1}}},
      // <nav class="topmenu">: an unknown tag, its attributes are text.
      {"TOPMENU", {{"/garden/index.htm", 1}}},
      {"CLASS", {{"/garden/index.htm", 1}}},
      // META attributes; <!DOCTYPE html> is "<", "!" and two words of text.
      {"CHARSET",
       {{"/index.htm", 1},
        {"/kitchen/index.htm", 1},
        {"/kitchen/bread.htm", 1},
        {"/kitchen/market.htm", 1}}},
      {"DOCTYPE",
       {{"/index.htm", 1},
        {"/garden/index.htm", 1},
        {"/news/index.htm", 1},
        {"/kitchen/bread.htm", 1}}},
      {"ALLOTMENT", {{"/index.htm", 1}, {"/contact.htm", 2}}},
      // notes.txt: every token, mark-up included, before any tag.
      {"ELEVEN", {{"/notes.txt", 1}, {"/history.htm", 1}}},
      {"MARK", {{"/notes.txt", 1}}},
      // The <noframes> text of the frameset, and the home page.
      {"FRAMES", {{"/index.htm", 1}, {"/frames.htm", 1}}},
      {"BAKER",
       {{"/people/baker%27s-corner.htm", 1},
        {"/people/baker's-corner.htm", 1},
        {"/people/index.htm", 2}}},
      {"CARAWAY", {{"/people/baker%27s-corner.htm", 1}, {"/people/baker's-corner.htm", 1}}},
      {"SUNFLOWERS", {{"/garden/index.htm", 1}}},  // the first word after a comment
      {"CHILDREN", {{"/kitchen/market.htm", 1}}},  // children’s
  };
  for (const auto& [word, counts] : expected) {
    EXPECT_EQ(where(word), counts) << word;
    int64_t sum = 0;
    for (const auto& [path, n] : counts) sum += n;
    EXPECT_EQ(total(word), sum) << word;
  }

  // Words the pages hold that are not to be recorded.
  for (const char* word : {
           "UNPUBLISHED",      // a comment (home page)
           "VISITORGREETING",  // a script (home page)
           "HELLO",            // a string in that script
           "LAVENDERBLUSH",    // a style sheet (home page)
           "DARKOLIVEGREEN",   // a style sheet (news/index.htm)
           "UPDATED",          // a script hidden in a comment (news/index.htm)
           "COMPOSTTURNS",     // a script (garden/compost.htm)
           "PRINTED",          // text before the first tag (news/summer.htm)
           "SIDEBAR",          // an attribute value of a known tag
           "NOTICE",           // likewise
           "RHUBARB",          // beds/north.htm, beyond the depth
           "STRAWBERRIES",     // beds/south.htm, beyond the depth
           "WINDOWSILL",       // beds/seedlings/tomatoes.htm, beyond the depth
           "HAILSTORM",        // news/archive/2025.htm, beyond the depth
           "NAV",              // a tag name
       }) {
    EXPECT_EQ(total(word), -1) << word;
  }

  // One crawl: every word's running count is the sum over its documents.
  EXPECT_EQ(db->query_int("select count(*) from Words where Occurrences <> (select "
                          "sum(Occurrences) from WordsDocs where WordsDocs.WordID = Words.WordID)"),
            0);
  EXPECT_EQ(db->query_int("select count(*) from WordsDocs where DocID not in (select DocID from "
                          "Docs where bIndexed <> 0)"),
            0);
}

// Runs a command to its end; returns its exit status and output lines.
int run_cli(const std::vector<std::string>& words, std::vector<std::string>* lines = nullptr) {
  CliProcess cli(words);
  if (!cli.started()) return -1;
  std::string line;
  while (cli.read_line(&line)) {
    if (lines) lines->push_back(line);
  }
  return cli.wait();
}

using Rows = std::vector<std::vector<DbValue>>;

Rows table(const std::string& workspace, const char* sql) {
  ScriptedUi ui;
  Workspace ws(ui);
  if (ws.open_existing(workspace) != Workspace::OpenResult::kOpened) return {};
  return ws.db()->query_rows(sql).value_or(Rows{});
}

std::string row_text(const std::vector<DbValue>& row) {
  std::string out;
  for (const DbValue& v : row) {
    if (!out.empty()) out += "|";
    if (const auto* i = std::get_if<int64_t>(&v)) out += std::to_string(*i);
    if (const auto* t = std::get_if<std::string>(&v)) out += *t;
  }
  return out;
}

// Compares two tables row by row; reports the first row that differs and
// how many do.
void expect_same_rows(const Rows& got, const Rows& expected, const char* name) {
  ASSERT_EQ(got.size(), expected.size()) << name;
  size_t differing = 0;
  for (size_t k = 0; k < got.size(); ++k) {
    if (got[k] == expected[k]) continue;
    if (differing++ == 0) {
      ADD_FAILURE() << name << ": row " << k << " is " << row_text(got[k]) << ", expected "
                    << row_text(expected[k]);
    }
  }
  EXPECT_EQ(differing, 0u) << name;
}

class SampleSiteKilled : public SampleSite {
 protected:
  // A new WorkSpace in `dir` with the home page as its start URL.
  void prepare(const std::string& dir) {
    ASSERT_EQ(run_cli({"-w", dir, "init"}), 0);
    ASSERT_EQ(run_cli({"-w", dir, "add-url", url("/index.htm"), "--depth", "3"}), 0);
  }
};

TEST_F(SampleSiteKilled, ResumedCrawlEndsWithTheTablesOfAnUninterruptedOne) {
  TempDir whole, killed;
  prepare(whole.path());
  prepare(killed.path());

  // The uninterrupted crawl fetches one page at a time; the killed ones
  // fetch ahead on the default connections, and the same crawl on eight
  // reports the same documents in the same order.
  std::vector<std::string> lines, ahead;
  ASSERT_EQ(run_cli({"-w", whole.path(), "crawl", "--connections", "1"}, &lines), 0);
  ASSERT_EQ(lines.size(), 26u);  // one line per document, as the crawl above lists them
  TempDir eight;
  prepare(eight.path());
  ASSERT_EQ(run_cli({"-w", eight.path(), "crawl", "--connections", "8"}, &ahead), 0);
  EXPECT_EQ(ahead, lines);

  // Killed three times, each time while it works on the document after the
  // few it has reported, then resumed to the end.
  int64_t done_before = 0;
  for (int reported : {3, 6, 6}) {
    CliProcess cli({"-w", killed.path(), "crawl"});
    ASSERT_TRUE(cli.started());
    std::string line;
    for (int k = 0; k < reported; ++k) ASSERT_TRUE(cli.read_line(&line));
    cli.kill_now();
    EXPECT_EQ(cli.wait(), 128 + SIGKILL);
    // The crawl builds the WordsDocs indexes at its end: killed, it leaves
    // them missing, and the next open of the WorkSpace builds them.
    const char* indexes = "select name from sqlite_master where name like 'WordsDocs_%inx'";
    {
      auto raw =
          Database::open(killed.path() + "/lexmine.mdb", Database::Mode::kOpenExisting, nullptr);
      ASSERT_TRUE(raw);
      EXPECT_EQ(raw->query_rows(indexes).value_or(Rows{}).size(), 0u);
    }
    EXPECT_EQ(table(killed.path(), indexes).size(), 2u);
    Rows processed = table(killed.path(), "select count(*) from Docs where nStatus = 1");
    ASSERT_EQ(processed.size(), 1u);
    int64_t done = std::get<int64_t>(processed[0][0]);
    // What was reported is kept; the row of the missing page is tried
    // again by each new crawl and never counts.
    EXPECT_GE(done, done_before + reported - 1);
    EXPECT_LT(done, 25);  // the kill came before the end
    done_before = done;
  }
  ASSERT_EQ(run_cli({"-w", killed.path(), "crawl"}), 0);

  for (const char* sql :
       {"select * from Docs order by DocID", "select * from Words order by WordID",
        "select * from WordsDocs order by DocID, WordID",
        "select type, name, tbl_name, sql from sqlite_master order by name"}) {
    expect_same_rows(table(killed.path(), sql), table(whole.path(), sql), sql);
    expect_same_rows(table(eight.path(), sql), table(whole.path(), sql), sql);
  }
}

}  // namespace
}  // namespace trawlix
