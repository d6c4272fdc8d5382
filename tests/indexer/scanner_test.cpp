// The scanner's token rules and tables; random lines against the rules read
// plainly, a 10 MB one-line page, files with line feeds against what the
// fetcher stores.
#include "text/scanner.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "crawler/page_fetcher.h"
#include "search/query_tokenizer.h"
#include "support/scanned_tokens.h"
#include "support/scripted_http.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"
#include "text/scanner_tables.h"

namespace trawlix {
namespace {

using testing::tokens_of;

using V = std::vector<std::string>;

TEST(ScannerTables, HaveTheirSizesAndParallelFolding) {
  const ScannerTables& t = scanner_tables();
  ASSERT_EQ(t.word_chars.size(), 125u);
  ASSERT_EQ(t.folded_chars.size(), 125u);
  EXPECT_EQ(t.word_chars.substr(0, 62), t.folded_chars.substr(0, 62));
  EXPECT_EQ(t.word_chars[62], '\xC7');  // Ç at position 63
  EXPECT_EQ(t.folded_chars[62], 'C');
  EXPECT_EQ(t.word_chars[80], '\xD1');  // Ñ stays Ñ
  EXPECT_EQ(t.folded_chars[80], '\xD1');
  EXPECT_EQ(t.word_chars[123], '\xFF');  // ÿ folds to y
  EXPECT_EQ(t.folded_chars[123], 'y');
  EXPECT_EQ(t.word_chars[124], '_');
  EXPECT_EQ(t.tag_names.size(), 91u);
  EXPECT_EQ(t.entity_chars.size(), 38u);
  for (size_t k = 1; k < t.tag_names.size(); ++k) EXPECT_LT(t.tag_names[k - 1], t.tag_names[k]);
}

TEST(Scanner, WordsAreUpperCasedAndFoldedWithTheirPageForm) {
  EXPECT_EQ(tokens_of("&Eacute;cole"), V{"ECOLE"});
  EXPECT_EQ(tokens_of("&Eacute;cole", true), V{"\xC9"
                                               "cole"});
  // Ñ and ß are kept; ÿ upper-cases to a non-word character and splits.
  EXPECT_EQ(tokens_of("ni\xF1o stra\xDF"
                      "e"),
            (V{"NI\xD1O",
               "STRA\xDF"
               "E"}));
  EXPECT_EQ(tokens_of("a\xFF"
                      "b"),
            (V{"A", "\x9F", "B"}));
  // A word of 25 characters is one token; the indexer cuts it later.
  EXPECT_EQ(tokens_of("abcdefghijklmnopqrstuvwxy"), V{"ABCDEFGHIJKLMNOPQRSTUVWXY"});
}

TEST(Scanner, TagsCommentsAndPunctuation) {
  EXPECT_EQ(tokens_of("<TITLE>Hello</TITLE>"), (V{"<TITLE", ">", "HELLO", "</TITLE", ">"}));
  EXPECT_EQ(tokens_of("<!-- note --> text"), (V{"<!--", "NOTE", "-->", "TEXT"}));
  EXPECT_EQ(tokens_of("<!-- a -->"), (V{"<!--", "A", "-->"}));
  EXPECT_EQ(tokens_of("don't"), (V{"DON", "'", "T"}));
  EXPECT_EQ(tokens_of("a, b"), (V{"A", ",", " ", "B"}));
  EXPECT_EQ(tokens_of("<!DOCTYPE html>"), (V{"<", "!", "DOCTYPE", "HTML", ">"}));
  EXPECT_EQ(tokens_of("<cfoutput>x"), (V{"<CFOUTPUT", ">", "X"}));
  EXPECT_EQ(tokens_of("<% x %>"), (V{"<%", "X", "%", ">"}));
  EXPECT_EQ(tokens_of("<a href=\"x\">"), (V{"<A", "HREF", "=", "\"", "X", "\"", ">"}));
}

TEST(Scanner, LinesEndAtCarriageReturns) {
  // CR LF, CR and a lone LF end lines, as the fetcher stores them; words
  // never span lines; a blank line is skipped.
  EXPECT_EQ(tokens_of("ab\r\ncd\ref"), (V{"AB", "CD", "EF"}));
  EXPECT_EQ(tokens_of("ab\ncd\n\rx"), (V{"AB", "CD", "X"}));
  EXPECT_EQ(tokens_of("one\r\n     \r\n\r\ntwo\r\n"), (V{"ONE", "TWO"}));
  // Tabs are not trimmed: a line of tabs gives a token per tab.
  EXPECT_EQ(tokens_of("\t\t\r\nx"), (V{"\t", "\t", "X"}));
}

TEST(Scanner, ExhaustedInputStaysExhausted) {
  Scanner s;
  s.open_text("");
  for (int k = 0; k < 3; ++k) {
    s.next_token();
    EXPECT_TRUE(s.token().empty());
    EXPECT_TRUE(s.token_text().empty());
  }
  s.open_text("word");
  s.next_token();
  EXPECT_EQ(s.token(), "WORD");
  s.next_token();
  s.next_token();
  EXPECT_TRUE(s.token().empty());
}

TEST(Scanner, KnownTags) {
  EXPECT_TRUE(is_known_tag("<VAR"));
  EXPECT_TRUE(is_known_tag("<A"));
  EXPECT_TRUE(is_known_tag("<CFANYTHING"));
  EXPECT_TRUE(is_known_tag("<%"));
  EXPECT_FALSE(is_known_tag("<XYZ"));
  EXPECT_FALSE(is_known_tag("<"));
  EXPECT_FALSE(is_known_tag("</TITLE"));
}

TEST(Scanner, AcceptedExtensions) {
  EXPECT_TRUE(accept_extension("htm"));
  EXPECT_TRUE(accept_extension("Php"));
  EXPECT_TRUE(accept_extension("/"));
  EXPECT_FALSE(accept_extension("jpg"));
  EXPECT_FALSE(accept_extension("xyz"));
  EXPECT_FALSE(accept_extension(""));
}

std::string link_after_href(std::string_view page) {
  Scanner s;
  s.open_text(page);
  for (s.next_token(); !s.token().empty(); s.next_token()) {
    if (s.token() == "HREF" || s.token() == "SRC") {
      s.read_link();
      return s.link_text();
    }
  }
  return "<none>";
}

TEST(Scanner, ReadLinkTakesTheValueAsWritten) {
  EXPECT_EQ(link_after_href("<a href=\"dir/Page.htm\">"), "dir/Page.htm");
  EXPECT_EQ(link_after_href("<a href=a.htm>"), "a.htm");
  EXPECT_EQ(link_after_href("<a href='x/y.htm'>"), "x/y.htm");
  // Blanks inside the value are kept, blanks around it are not.
  EXPECT_EQ(link_after_href("<a href=\"my page.htm\">"), "my page.htm");
  EXPECT_EQ(link_after_href("<a href=\"sp   ace.htm  \">"), "sp   ace.htm");
  EXPECT_EQ(link_after_href("<img src=\"a. b.gif\">"), "a. b.gif");
  // A value that runs to the end of the page just ends.
  EXPECT_EQ(link_after_href("<a href=\"never"), "never");
  // Character references are decoded before the value is read.
  EXPECT_EQ(link_after_href("<a href=\"a.cgi?x=1&amp;y=2\">"), "a.cgi?x=1&y=2");
}

TEST(Scanner, OpenDocumentReportsAMissingFile) {
  testing::ScriptedUi ui;
  Scanner s;
  EXPECT_FALSE(s.open_document("/nonexistent/dir/page.htm", ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Critical error:");
  EXPECT_EQ(ui.messages[0].text.rfind("Error opening page: \r", 0), 0u);
  EXPECT_EQ(ui.messages[0].icon, Icon::kExclamation);
}

TEST(Scanner, OpenDocumentReadsTheFile) {
  testing::TempDir dir;
  std::ofstream(dir.file("p.htm"), std::ios::binary) << "<P>caf&eacute; cr\xE8me\r\n";
  testing::ScriptedUi ui;
  Scanner s;
  ASSERT_TRUE(s.open_document(dir.file("p.htm"), ui));
  std::vector<std::string> got;
  for (s.next_token(); !s.token().empty(); s.next_token()) got.push_back(s.token());
  EXPECT_EQ(got, (V{"<P", ">", "CAFE", "CREME"}));
  EXPECT_TRUE(ui.messages.empty());
}

// The rules over one ASCII line without references.
std::vector<std::string> model_tokens(const std::string& line) {
  std::string rest = trim_blanks(line);
  for (char& c : rest) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::vector<std::string> out;
  while (!rest.empty()) {
    size_t n = 1;
    bool trim = true;
    if (rest.starts_with("<!--") || rest.starts_with("-->")) {
      n = rest[0] == '<' ? 4 : 3;
    } else if (rest[0] != '<' && word_char_position(rest[0]) == 0) {
      trim = false;
    } else {  // a word, or a tag opener and its name: up to the first other character
      n = rest.starts_with("<CF") || rest.starts_with("<%") || rest.starts_with("</") ? 2
          : rest[0] == '<'                                                            ? 1
                                                                                      : 0;
      while (n < rest.size() && word_char_position(rest[n]) != 0) ++n;
    }
    out.push_back(trim ? trim_blanks(rest.substr(0, n)) : rest.substr(0, n));
    rest.erase(0, n);
    if (trim) rest = trim_blanks(rest);
  }
  return out;
}

TEST(ScannerScale, RandomLinesGiveTheTokensOfTheRules) {
  const std::string alphabet = "ab Z9_<>!-%/\"'=;.,C F\t";
  std::mt19937 random(15);
  for (int round = 0; round < 3000; ++round) {
    std::string line;
    for (size_t k = random() % 40; k > 0; --k) line += alphabet[random() % alphabet.size()];
    ASSERT_EQ(tokens_of(line), model_tokens(line)) << "[" << line << "]";
    if (line.find("-->") == std::string::npos) {
      ASSERT_EQ(query_tokens(line), model_tokens(line)) << "[" << line << "]";
    }
  }
}

TEST(ScannerScale, ATenMegabyteLineScansToItsTokens) {
  const std::string unit = "<b>word&eacute;s</b>, &amp;&#233;t&&; ";
  std::string page;
  while (page.size() < (10u << 20)) page += unit;
  Scanner s;
  s.open_text(page);
  std::vector<std::string> tokens;
  size_t count = 0;
  for (s.next_token(); !s.token().empty(); s.next_token(), ++count) {
    if (tokens.size() < 14) tokens.push_back(s.token());
  }
  EXPECT_EQ(tokens, (std::vector<std::string>{"<B", ">", "WORDES", "</B", ">", ",", " ", "&", "ET",
                                              "&", "&", ";", " ", "<B"}));
  EXPECT_EQ(count, page.size() / unit.size() * 13 - 1);  // the line's last blank is trimmed
}

TEST(ScannerScale, AFileWithLineFeedsReadsAsTheFetcherStoresIt) {
  std::mt19937 random(3);
  for (int round = 0; round < 200; ++round) {
    std::string page;
    for (size_t k = random() % 30; k > 0; --k) page += "ab \r\n\n<p>"[random() % 9];
    testing::TempDir dir;
    testing::ScriptedUi ui;
    testing::ScriptedHttp http;
    size_t cut = page.empty() ? 0 : random() % page.size();
    http.answer("http://h/p", testing::ScriptedHttp::page({page.substr(0, cut), page.substr(cut)}));
    IndexerState state;
    state.current.url = "http://h/p";
    PageFetcher(http, ui).fetch_page(dir.path(), state, false);
    Scanner stored;
    ASSERT_TRUE(stored.open_document(dir.file("j_URL_t.txt"), ui));
    std::vector<std::string> want;
    for (stored.next_token(); !stored.token().empty(); stored.next_token()) {
      want.push_back(stored.token_text());
    }
    ASSERT_EQ(tokens_of(page, true), want) << "[" << page << "]";
  }
}

}  // namespace
}  // namespace trawlix
