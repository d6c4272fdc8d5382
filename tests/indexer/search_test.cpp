// Local search over an index built by the indexer itself.
#include <gtest/gtest.h>

#include <fstream>

#include "search/local_search.h"
#include "search/query_tokenizer.h"
#include "shell/workspace.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"
#include "text/scanner.h"
#include "text/word_index.h"

namespace trawlix {
namespace {

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ws.start_up(dir.path()));
    db = ws.db();
    add("http://h/1.htm", "Web pages", "<p>web index of the site</p>");
    add("http://h/2.htm", "", "<p>the indexer reads every web page</p>");
    add("http://h/3.htm", "<script>alert('x')</script> & more",
        "<p>\xC9"
        "cole foo_bar</p>");
    add("http://h/4.htm", "Long", "<p>internationalization fooxbar it's</p>");
    ui.messages.clear();
  }

  void add(const std::string& url, const std::string& description, const std::string& page) {
    EXPECT_TRUE(
        db->exec("insert into Docs (URLDocument, URLDescription, URLLevel, nMaxDepth, bCrawlAbove, "
                 "URLParent, nStatus, bIndexed) values (?, ?, 1, 0, 0, 0, 0, 0)",
                 {url, description}));
    IndexerState state;
    state.current.doc_id = static_cast<int32_t>(db->last_insert_id());
    state.current.url = url;
    std::ofstream(dir.file("page.htm"), std::ios::binary) << page;
    WordIndexer indexer(*db, state, ui);
    ASSERT_EQ(indexer.index_document(dir.file("page.htm"), nullptr), WordIndexer::Result::kIndexed);
  }

  std::vector<int32_t> ids(const std::string& query, SearchType type = SearchType::kAllWords,
                           bool partial = false) {
    SearchResult r = run_search(*db, ui, {query, type, partial}, dir.file("results.html"));
    std::vector<int32_t> out;
    for (const SearchHit& h : r.hits) out.push_back(h.doc_id);
    return out;
  }

  testing::TempDir dir;
  testing::ScriptedUi ui;
  Workspace ws{ui};
  Database* db = nullptr;
};

using Ids = std::vector<int32_t>;

TEST_F(SearchTest, AllWordsAndAnyWord) {
  EXPECT_EQ(ids("web index"), Ids{1});
  EXPECT_EQ(ids("web index", SearchType::kAnyWord), (Ids{1, 2}));
  EXPECT_EQ(ids("WEB"), (Ids{1, 2}));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SearchTest, PartialMatchesArePrefixesWithoutWildcards) {
  EXPECT_EQ(ids("index", SearchType::kAllWords, true), (Ids{1, 2}));
  EXPECT_EQ(ids("index"), Ids{1});
  EXPECT_EQ(ids("foo_", SearchType::kAllWords, true), Ids{3});  // not fooxbar
  ui.messages.clear();
  EXPECT_TRUE(ids("fo%", SearchType::kAllWords, true).empty());
  EXPECT_TRUE(ids("f_o", SearchType::kAllWords, true).empty());
}

TEST_F(SearchTest, QueryWordsFoldAndCutLikeIndexedWords) {
  EXPECT_EQ(ids("\xE9"
                "cole"),
            Ids{3});
  EXPECT_EQ(ids("  ecole  "), Ids{3});  // blanks around the query do not count
  // 20 letters: indexed as its first 19, found the same way.
  EXPECT_EQ(ids("internationalization"), Ids{4});
  EXPECT_EQ(ids("internationalizationxyz"), Ids{4});
}

TEST_F(SearchTest, PunctuationTokensCount) {
  EXPECT_EQ(query_tokens("web, index"), (std::vector<std::string>{"WEB", ",", " ", "INDEX"}));
  EXPECT_TRUE(ids("web, index").empty());
  EXPECT_EQ(ids("web, index", SearchType::kAnyWord), (Ids{1, 2}));
  // "-->" is no token of its own in a query; "<!--" is.
  EXPECT_EQ(query_tokens("a-->"), (std::vector<std::string>{"A", "-", "-", ">"}));
  // An apostrophe is a token, and the statement still runs.
  EXPECT_EQ(ids("it's", SearchType::kAnyWord), Ids{4});
}

TEST_F(SearchTest, MessagesForNothingToSearchOrFind) {
  EXPECT_EQ(run_search(*db, ui, {"   "}, dir.file("r.html")).status,
            SearchResult::Status::kNoWords);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "NO Words to search!!!");
  EXPECT_EQ(ui.messages[0].title, "");
  EXPECT_EQ(run_search(*db, ui, {"absent"}, dir.file("r.html")).status,
            SearchResult::Status::kNothingFound);
  EXPECT_EQ(ui.messages.back().title, "Local Search Results: ");
  EXPECT_EQ(ui.messages.back().text, "No documents found...");
  EXPECT_EQ(ui.messages.back().icon, Icon::kExclamation);
  EXPECT_FALSE(std::ifstream(dir.file("r.html")).good());
  EXPECT_TRUE(db->exec("delete from Docs"));
  EXPECT_EQ(run_search(*db, ui, {"web"}, dir.file("r.html")).status,
            SearchResult::Status::kNoDocuments);
  EXPECT_EQ(ui.messages.back().text, "NO documents to search!!!");
}

TEST_F(SearchTest, LongQueriesSearchTheFirstTwentyTokens) {
  std::string query = "web";
  for (int k = 0; k < 25; ++k) query += " absent";  // blanks after words are no tokens
  SearchResult r = run_search(*db, ui, {query, SearchType::kAnyWord}, dir.file("r.html"));
  EXPECT_TRUE(r.truncated);
  EXPECT_EQ(r.tokens.size(), 20u);
  EXPECT_EQ(r.hits.size(), 2u);
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages[0].title, "Please note:");

  // A megabyte of commas is read only as far as its 21st token.
  SearchResult cut = run_search(*db, ui, {std::string(1 << 20, ',')}, dir.file("r.html"));
  EXPECT_EQ(cut.tokens, std::vector<std::string>(20, ","));
  EXPECT_TRUE(cut.truncated);
}

TEST_F(SearchTest, CountsAboveSixteenBitsStillMatch) {
  EXPECT_TRUE(db->exec("insert into Words (Word, Occurrences) values ('HUGE', 40000)"));
  EXPECT_TRUE(db->exec("insert into WordsDocs values (2, last_insert_rowid(), 40000)"));
  EXPECT_EQ(ids("huge"), Ids{2});
  // 65536 occurrences would be 0 in a 16-bit counter.
  EXPECT_TRUE(
      db->exec("update WordsDocs set Occurrences = 65536 where DocID = 2 and Occurrences = 40000"));
  EXPECT_EQ(ids("huge"), Ids{2});
}

TEST_F(SearchTest, ResultsPageHasItsLinesWithEscapedText) {
  ASSERT_EQ(ids("web ecole", SearchType::kAnyWord), (Ids{1, 2, 3}));
  std::ifstream in(dir.file("results.html"), std::ios::binary);
  std::string page((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(page,
            "<HTML>\r\n"
            "<head><TITLE>Result Pages - Trawlix</title></head>\r\n"
            "<BODY>\r\n"
            "<h2>Result Pages - Trawlix</h2>\r\n"
            "<br><b>1. <a href='http://h/1.htm'>http://h/1.htm</b></a>\r\n"
            "<br><i>Web pages</i>\r\n"
            "<br>\r\n"
            "<br><b>2. <a href='http://h/2.htm'>http://h/2.htm</b></a>\r\n"
            "<br>\r\n"
            "<br><b>3. <a href='http://h/3.htm'>http://h/3.htm</b></a>\r\n"
            "<br><i>&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; more</i>\r\n"
            "<br>\r\n"
            "</BODY>\r\n"
            "</HTML>\r\n");
}

TEST_F(SearchTest, OpeningPagesAndDocuments) {
  open_results_page(ui, "/ws/results.html");
  EXPECT_EQ(ui.opened, std::vector<std::string>{"/ws/results.html"});
  EXPECT_TRUE(ui.messages.empty());
  ui.browser_available = false;
  open_results_page(ui, "/ws/results.html");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "URL Failed");
  EXPECT_NE(ui.messages[0].text.find("/ws/results.html"), std::string::npos);
  open_search_hit(ui, "http://h/1.htm");
  EXPECT_EQ(ui.messages.back().title, "Browser Not Found");
  EXPECT_EQ(ui.messages.back().text, "Could not find associated Browser");
}

TEST_F(SearchTest, ASearchLeavesAPageScanUndisturbed) {
  const std::string page = "<p>one two three four five</p>";
  std::vector<std::string> alone, interrupted;
  Scanner a;
  a.open_text(page);
  for (a.next_token(); !a.token().empty(); a.next_token()) alone.push_back(a.token());
  Scanner b;
  b.open_text(page);
  for (b.next_token(); !b.token().empty(); b.next_token()) {
    interrupted.push_back(b.token());
    ids("web index");  // as if the user searched while the page yields
  }
  EXPECT_EQ(alone, interrupted);
}

}  // namespace
}  // namespace trawlix
