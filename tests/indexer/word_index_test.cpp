// Indexing stored pages: what the state machine records, links it hands
// on, the re-index decision, and deleting documents.
#include "text/word_index.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <set>

#include "shell/schema.h"
#include "shell/workspace.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace trawlix {
namespace {

class WordIndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ws.start_up(dir.path()));
    db = ws.db();
    indexer_ = std::make_unique<WordIndexer>(*db, state, ui);
    doc_id = add_doc("http://h/dir/page.htm", "");
  }

  int32_t add_doc(const std::string& url, const std::string& description) {
    EXPECT_TRUE(
        db->exec("insert into Docs (URLDocument, URLDescription, URLLevel, nMaxDepth, bCrawlAbove, "
                 "URLParent, nStatus, bIndexed) values (?, ?, 1, 0, 0, 0, 0, 0)",
                 {url, description}));
    return static_cast<int32_t>(db->last_insert_id());
  }

  // Indexes `page` as the document `id` at `url`; returns the links seen.
  std::vector<std::string> index(const std::string& page, int32_t id = 0,
                                 const std::string& url = "http://h/dir/page.htm",
                                 std::optional<ScannedAhead> ahead = std::nullopt) {
    std::ofstream(dir.file("page.txt"), std::ios::binary) << page;
    state.current.doc_id = id ? id : doc_id;
    state.current.url = url;
    std::vector<std::string> links;
    WordIndexer::Result r = indexer().index_document(
        dir.file("page.txt"), [&](const std::string& link) { links.push_back(link); },
        std::move(ahead));
    EXPECT_EQ(r, WordIndexer::Result::kIndexed) << db->last_error();
    return links;
  }

  // Occurrences of a word in a document, or -1 when there is no row.
  int64_t in_doc(const std::string& word, int32_t id = 0) {
    return db->query_int(
        "select wordsdocs.Occurrences from Words, WordsDocs where Words.WordID = "
        "WordsDocs.WordID and Word = ? and DocID = ?",
        {word, int64_t{id ? id : doc_id}}, -1);
  }
  int64_t total(const std::string& word) {
    return db->query_int("select Occurrences from Words where Word = ?", {word}, -1);
  }
  int64_t words() { return db->query_int("select count(*) from Words"); }

  testing::TempDir dir;
  testing::ScriptedUi ui;
  Workspace ws{ui};
  Database* db = nullptr;
  IndexerState state;
  std::unique_ptr<WordIndexer> indexer_;
  WordIndexer& indexer() { return *indexer_; }
  int32_t doc_id = 0;
};

TEST_F(WordIndexTest, RecordsTextWordsAndCountsOccurrences) {
  index("before tags <p>Alpha beta, ALPHA! x 7 42 <b>gamma</b>delta</p>");
  EXPECT_EQ(in_doc("BEFORE"), -1);  // text before the first tag
  EXPECT_EQ(in_doc("ALPHA"), 2);
  EXPECT_EQ(total("ALPHA"), 2);
  EXPECT_EQ(in_doc("BETA"), 1);
  EXPECT_EQ(in_doc("42"), 1);
  EXPECT_EQ(in_doc("X"), -1);  // one character
  EXPECT_EQ(in_doc("7"), -1);
  EXPECT_EQ(in_doc("GAMMA"), 1);
  // The token after a closing tag is its ">"; a word glued to it is text.
  EXPECT_EQ(in_doc("DELTA"), 1);
  EXPECT_EQ(db->query_int("select nStatus from Docs where DocID = ?", {int64_t{doc_id}}), 1);
  EXPECT_EQ(db->query_int("select bIndexed from Docs where DocID = ?", {int64_t{doc_id}}), -1);
  ASSERT_FALSE(ui.lines.empty());
  EXPECT_EQ(ui.lines.back(), "processing:http://h/dir/page.htm");
}

TEST_F(WordIndexTest, CountsAddUpAcrossDocumentsAndWordsAreCut) {
  int32_t second = add_doc("http://h/dir/two.htm", "");
  index("<p>shared shared abcdefghijklmnopqrstuvwxy</p>");
  index("<p>shared</p>", second, "http://h/dir/two.htm");
  EXPECT_EQ(total("SHARED"), 3);
  EXPECT_EQ(in_doc("SHARED"), 2);
  EXPECT_EQ(in_doc("SHARED", second), 1);
  EXPECT_EQ(in_doc("ABCDEFGHIJKLMNOPQRS"), 1);
  EXPECT_EQ(words(), 2);
  // Words get their identities in the order they first occur.
  EXPECT_EQ(db->query_int("select WordID from Words where Word = 'SHARED'"), 1);
}

TEST_F(WordIndexTest, PlainTextDocumentsRecordEveryToken) {
  int32_t txt = add_doc("http://h/notes.TeXt", "");
  index("first <b>second</b> third", txt, "http://h/notes.TeXt");
  EXPECT_EQ(in_doc("FIRST", txt), 1);
  EXPECT_EQ(in_doc("SECOND", txt), 1);
  EXPECT_EQ(in_doc("THIRD", txt), 1);
}

TEST_F(WordIndexTest, CommentsScriptsAndStyleSheetsAreNotText) {
  index(
      "<p>one <!-- hidden --> two <script>var code = 1;</script> three "
      "<style>body { margin: 0 }</style> four</p>");
  EXPECT_EQ(in_doc("HIDDEN"), -1);
  EXPECT_EQ(in_doc("CODE"), -1);
  EXPECT_EQ(in_doc("MARGIN"), -1);
  EXPECT_EQ(in_doc("ONE"), 1);
  // The word right after a comment or a script is text.
  EXPECT_EQ(in_doc("TWO"), 1);
  EXPECT_EQ(in_doc("THREE"), 1);
  EXPECT_EQ(in_doc("FOUR"), 1);
  // Words that follow the next tag are text again.
  index("<p>a <!-- c --> <b>back</b></p>");
  EXPECT_EQ(in_doc("BACK"), 1);
}

TEST_F(WordIndexTest, UnclosedCommentOrScriptHidesTheRest) {
  index("<p>seen <!-- never closed\r\n<p>lost words");
  EXPECT_EQ(in_doc("SEEN"), 1);
  EXPECT_EQ(in_doc("LOST"), -1);
  index("<p>shown <script>var x\r\n<p>gone");
  EXPECT_EQ(in_doc("GONE"), -1);
}

TEST_F(WordIndexTest, TitleBecomesTheDescriptionWhenThereIsNone) {
  index("<html><title>My Page</title><p>body</p>");
  EXPECT_EQ(in_doc("MY"), 1);
  EXPECT_EQ(in_doc("PAGE"), 1);
  Statement st = db->prepare("select URLDescription from Docs where DocID = ?");
  EXPECT_TRUE(st.bind({int64_t{doc_id}}));
  ASSERT_TRUE(st.step());
  EXPECT_EQ(st.get_text(0), "My Page");
  EXPECT_TRUE(state.current.page_title.empty());

  int32_t described = add_doc("http://h/d.htm", "typed by the user");
  index("<title>Other</title>", described, "http://h/d.htm");
  EXPECT_EQ(db->query_int("select count(*) from Docs where URLDescription = 'typed by the user'"),
            1);

  int32_t long_title = add_doc("http://h/l.htm", "");
  index("<title>" + std::string(150, 'w') + "</title>", long_title, "http://h/l.htm");
  EXPECT_EQ(db->query_int("select length(URLDescription) from Docs where DocID = ?",
                          {int64_t{long_title}}),
            100);

  // Control characters of a title become blanks, collapsed like the others;
  // the words around them count.
  int32_t hostile = add_doc("http://h/x.htm", "");
  index(std::string("<title>Ti\0tle\x1b]0;x\x07\tend\x7f</title>", 31), hostile, "http://h/x.htm");
  Statement made = db->prepare("select URLDescription from Docs where DocID = ?");
  ASSERT_TRUE(made.bind({int64_t{hostile}}));
  ASSERT_TRUE(made.step());
  EXPECT_EQ(made.get_text(0), "Ti tle ]0;x end");
  EXPECT_EQ(in_doc("TLE", hostile), 1);
}

TEST_F(WordIndexTest, LinksWhereverTheAttributeStands) {
  std::vector<std::string> links = index(
      "<p><a href=\"a.htm\">A</a> <a class=\"nav\" name=x HREF=b.htm>B</a> "
      "<frame src=c.htm> <frame name=f SRC='d.htm'> <frame name=g> after <img src=e.gif>"
      "<a name=top>top</a></p>");
  EXPECT_EQ(links, (std::vector<std::string>{"a.htm", "b.htm", "c.htm", "d.htm"}));
  // A frame without SRC ends at its ">": the text after it is indexed.
  EXPECT_EQ(in_doc("AFTER"), 1);
  EXPECT_EQ(in_doc("TOP"), 1);
  // Attribute values of an anchor are not words.
  EXPECT_EQ(in_doc("NAV"), -1);
}

TEST_F(WordIndexTest, AltTextIsIndexedAndAnUnclosedOneEndsAtThePageEnd) {
  index("<p><img src=x.gif alt=\"Sample logo\"> text</p>");
  EXPECT_EQ(in_doc("SAMPLE"), 1);
  EXPECT_EQ(in_doc("LOGO"), 1);
  EXPECT_EQ(in_doc("TEXT"), 1);
  index("<p><img alt=\"never closed and more");
  EXPECT_EQ(in_doc("CLOSED"), 1);
}

TEST_F(WordIndexTest, ReindexModesDecideWhetherWordsAreRecordedAgain) {
  index("<p>word</p>");
  state.current.already_indexed = true;

  state.settings.reindex_mode = 0;
  indexer().check_reindex();
  EXPECT_FALSE(indexer().record_words());
  EXPECT_TRUE(db->exec("update Docs set nStatus = 0"));
  std::vector<std::string> links = index("<p>word new <a href=l.htm>l</a></p>");
  EXPECT_EQ(links, std::vector<std::string>{"l.htm"});  // still scanned for links
  EXPECT_EQ(in_doc("WORD"), 1);
  EXPECT_EQ(in_doc("NEW"), -1);
  EXPECT_EQ(db->query_int("select nStatus from Docs"), 1);

  state.settings.reindex_mode = 1;
  indexer().check_reindex();
  index("<p>word word new</p>");
  EXPECT_EQ(in_doc("WORD"), 2);  // old occurrences replaced, not added to
  EXPECT_EQ(total("WORD"), 2);   // the total follows: the old occurrence taken off
  EXPECT_EQ(in_doc("NEW"), 1);

  state.settings.reindex_mode = 2;
  ui.script({Answer::kNo});
  indexer().check_reindex();
  EXPECT_FALSE(indexer().record_words());
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages.back().title, "Confirm if document is to be reindexed:");
  EXPECT_EQ(ui.messages.back().text,
            "WARNING: is already indexed...\rDo you want to reindex it again?");
  EXPECT_EQ(ui.messages.back().icon, Icon::kExclamation);
  ui.script({Answer::kYes});
  indexer().check_reindex();
  EXPECT_TRUE(indexer().record_words());

  state.current.already_indexed = false;
  state.settings.reindex_mode = 0;
  indexer().check_reindex();
  EXPECT_TRUE(indexer().record_words());
}

TEST_F(WordIndexTest, MailRobotModeRecordsNoWords) {
  state.settings.mail_robot_mode = 3;
  std::vector<std::string> links = index("<p>nothing recorded <a href=x.htm>x</a></p>");
  EXPECT_EQ(words(), 0);
  EXPECT_EQ(links.size(), 1u);
}

TEST_F(WordIndexTest, LargeDocumentIdentitiesAreIndexed) {
  EXPECT_TRUE(db->exec(
      "insert into Docs (DocID, URLDocument, nStatus, bIndexed) values (40000, 'http://h/big', 0, "
      "0)"));
  index("<p>big</p>", 40000, "http://h/big");
  EXPECT_EQ(in_doc("BIG", 40000), 1);
  EXPECT_EQ(db->query_int("select nStatus from Docs where DocID = 40000"), 1);
}

TEST_F(WordIndexTest, ADatabaseFailureKeepsNothingOfThePage) {
  index("<p>kept</p>");
  EXPECT_TRUE(db->exec("update Docs set nStatus = 0"));
  state.current.already_indexed = true;
  state.settings.reindex_mode = 1;
  indexer().check_reindex();
  // A word that breaks the Words table's check makes the page fail.
  EXPECT_TRUE(
      db->exec("create trigger refuse before insert on Words when new.Word = 'BOOM' "
               "begin select raise(abort, 'refused'); end"));
  std::ofstream(dir.file("page.txt")) << "<p>kept boom</p>";
  state.current.doc_id = doc_id;
  EXPECT_EQ(indexer().index_document(dir.file("page.txt"), nullptr),
            WordIndexer::Result::kDatabaseError);
  EXPECT_EQ(in_doc("KEPT"), 1);  // the old occurrences were not deleted
  EXPECT_EQ(total("KEPT"), 1);
  EXPECT_EQ(db->query_int("select nStatus from Docs"), 0);
}

TEST_F(WordIndexTest, AMissingPageChangesNothing) {
  state.current.doc_id = doc_id;
  EXPECT_EQ(indexer().index_document(dir.file("none.htm"), nullptr),
            WordIndexer::Result::kNotOpened);
  EXPECT_EQ(db->query_int("select nStatus from Docs"), 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Critical error:");
}

TEST_F(WordIndexTest, AScanMadeAheadIsStoredOnlyWhenMadeWithThePagesOwnOptions) {
  const ScanOptions own = scan_options_for("http://h/dir/page.htm", "", true, state.settings);
  int n = 0;
  for (const ScanOptions& made_with :
       {ScanOptions{}, ScanOptions{true, true, ""}, ScanOptions{false, false, ""},
        ScanOptions{false, true, "Given"}}) {
    int32_t id = add_doc("http://h/dir/p" + std::to_string(++n) + ".htm", "");
    // A scan unlike the file's, to tell which one was stored.
    index("<p>file", id, "http://h/dir/page.htm",
          ScannedAhead{made_with, {{{"AHEAD", 2}}, {}, ""}});
    EXPECT_EQ(in_doc(made_with == own ? "AHEAD" : "FILE", id), made_with == own ? 2 : 1) << n;
  }
}

TEST_F(WordIndexTest, DeleteDocumentTakesItsOccurrencesOffTheWordTotals) {
  index("<p>gone gone</p>");
  int64_t word_id = db->query_int("select WordID from Words where Word = 'GONE'");
  ASSERT_TRUE(delete_document(*db, ui, doc_id));
  EXPECT_EQ(db->query_int("select count(*) from Docs"), 0);
  EXPECT_EQ(db->query_int("select count(*) from WordsDocs"), 0);
  EXPECT_EQ(total("GONE"), 0);  // the row and its WordID stay
  EXPECT_EQ(db->query_int("select WordID from Words where Word = 'GONE'"), word_id);
  EXPECT_TRUE(ui.messages.empty());
}

// The WordIDs kept from page to page change nothing but the time: over
// random pages, some rolled back and an index re-initialised on the way
// (which leaves kept WordIDs naming other words), the tables equal those of
// an indexer that looks every word up.
TEST(WordIdsKept, GiveTheTablesOfAnIndexerThatLooksEveryWordUp) {
  testing::TempDir kept_dir, plain_dir;
  testing::ScriptedUi ui;
  Workspace kept(ui), plain(ui);
  ASSERT_TRUE(kept.start_up(kept_dir.path()) && plain.start_up(plain_dir.path()));
  std::mt19937 rng(11);
  WordIds ids;
  for (int page = 1; page <= 120; ++page) {
    PageScan scan;
    std::set<std::string> seen;
    for (int n = 1 + static_cast<int>(rng() % 30); n > 0; --n) {
      std::string word = "W" + std::to_string(rng() % (20 + page * 2));
      if (seen.insert(word).second) scan.words.push_back({word, 1 + int64_t(rng() % 4)});
    }
    scan.links = {"x.htm"};
    const bool rolled_back = rng() % 7 == 0;
    for (Workspace* ws : {&kept, &plain}) {
      Database& db = *ws->db();
      if (page == 60) {
        ASSERT_TRUE(create_tables(db, ui, false));
      }
      ASSERT_TRUE(
          db.exec("insert or ignore into Docs (DocID, URLDocument, nStatus, bIndexed) "
                  "values (?, 'u', 0, 0)",
                  {int64_t{page}}));
      IndexerState state;
      WordIndexer indexer(db, state, ui);
      if (ws == &kept) indexer.share_word_ids(ids);
      bool stored = indexer.store_page(page, scan, [&](const std::string&) {
        if (rolled_back) indexer.fail_page();
      });
      EXPECT_EQ(stored, !rolled_back);
    }
  }
  for (const char* sql :
       {"select * from Words order by WordID", "select * from WordsDocs order by DocID, WordID"}) {
    EXPECT_EQ(kept.db()->query_rows(sql), plain.db()->query_rows(sql)) << sql;
  }
}

}  // namespace
}  // namespace trawlix
