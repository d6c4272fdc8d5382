// The scan of a page, without a database: the words with their counts, the
// links in order and the title that the state machine reads from tokens.
#include "text/page_scan.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string_view>

namespace trawlix {

void PrintTo(const WordCount& w, std::ostream* os) {
  *os << w.word << " x" << w.count;
}

namespace {

PageScan scan(std::string_view page, const ScanOptions& options) {
  Scanner scanner;
  scanner.open_text(page);
  return scan_page(scanner, options);
}

ScanOptions plain_text() {
  ScanOptions o;
  o.plain_text = true;
  return o;
}
ScanOptions without_words() {
  ScanOptions o;
  o.count_words = false;
  return o;
}
ScanOptions titled(std::string title) {
  ScanOptions o;
  o.title = std::move(title);
  return o;
}

TEST(PageScan, WordsLinksAndTitleOfAPage) {
  struct Case {
    const char* what;
    std::string_view page;
    ScanOptions options;
    std::vector<WordCount> words;
    std::vector<std::string> links;
    std::string title;
  };
  const Case cases[] = {
      {"counts in the order words first occur; text before the first tag is not read",
       "before <p>zeta Alpha, ZETA! x 7 42 <b>gamma</b>delta abcdefghijklmnopqrstuvwxyz",
       {},
       {{"ZETA", 2},
        {"ALPHA", 1},
        {"42", 1},
        {"GAMMA", 1},
        {"DELTA", 1},
        {"ABCDEFGHIJKLMNOPQRS", 1}},
       {},
       ""},
      {"a plain-text page has no tags: every token is text",
       "first <b>second</b> third",
       plain_text(),
       {{"FIRST", 1}, {"SECOND", 1}, {"THIRD", 1}},
       {},
       ""},
      {"the first title is the page's, its words are words",
       "<title>My Page</title><title>Second</title><p>body",
       {},
       {{"MY", 1}, {"PAGE", 1}, {"SECOND", 1}, {"BODY", 1}},
       {},
       "My Page"},
      {"a title reads as written: apostrophes and entities joined, blanks collapsed",
       "<title>\r\n  What\x92s  New In\tPython 3.10 &amp;\r\n Baker&#39;s corner </title>",
       without_words(),
       {},
       {},
       "What\x92s New In Python 3.10 & Baker's corner"},
      {"a title already known stays, the page's title is text",
       "<title>Own Words</title><p>body",
       titled("Typed"),
       {{"OWN", 1}, {"WORDS", 1}, {"BODY", 1}},
       {},
       "Typed"},
      {"without words, links and title are still read",
       "<title>Kept</title><p>not counted <a href=x.htm>x</a>",
       without_words(),
       {},
       {"x.htm"},
       "Kept"},
      {"links of anchors and frames in page order; other attributes are not words",
       "<p><a class=nav HREF=b.htm>B</a><frame name=f src='c.htm'><img src=e.gif>"
       "<frame name=g> after <a href=\"d.htm\">",
       {},
       {{"AFTER", 1}},
       {"b.htm", "c.htm", "d.htm"},
       ""},
      {"ALT text is indexed; META attributes are read as text",
       "<p><img src=x.gif alt=\"Sample logo\"> text <meta content=\"garden town\">",
       {},
       {{"SAMPLE", 1}, {"LOGO", 1}, {"TEXT", 1}, {"CONTENT", 1}, {"GARDEN", 1}, {"TOWN", 1}},
       {},
       ""},
      {"comments, scripts and style sheets are not text; the word after each is",
       "<p>one <!-- hidden -->two <SCRIPT>var code</SCRIPT>three <style>p {margin: 0}</style> "
       "four<!-- x --><a href=after.htm>",
       {},
       {{"ONE", 1}, {"TWO", 1}, {"THREE", 1}, {"FOUR", 1}},
       {"after.htm"},
       ""},
      {"a word at the start of the line after a comment or a script",
       "<p><!-- a\r\nb -->\r\nfirst\r\n<script>x</script>\r\nsecond",
       {},
       {{"FIRST", 1}, {"SECOND", 1}},
       {},
       ""},
      {"an unclosed comment hides the rest of the page",
       "<p>seen <!-- never closed\r\n<a href=lost.htm>lost</a>",
       {},
       {{"SEEN", 1}},
       {},
       ""},
      {"an empty page", "", {}, {}, {}, ""},
  };
  for (const Case& c : cases) {
    PageScan got = scan(c.page, c.options);
    EXPECT_EQ(got.words, c.words) << c.what;
    EXPECT_EQ(got.links, c.links) << c.what;
    EXPECT_EQ(got.title, c.title) << c.what;
  }
}

}  // namespace
}  // namespace trawlix
