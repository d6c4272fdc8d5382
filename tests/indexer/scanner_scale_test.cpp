// The scanner at scale and against models: the tokens of random lines as
// the rules cut them from the front of the rest (the plain reading of the
// rules, quadratic but obviously right), a 10 MB one-line page, files with
// line feeds read as the fetcher stores them, and one-pass entities.
#include <gtest/gtest.h>

#include <random>

#include "crawler/page_fetcher.h"
#include "search/query_tokenizer.h"
#include "support/scanned_tokens.h"
#include "support/scripted_http.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"
#include "text/scanner.h"
#include "text/scanner_tables.h"

namespace trawlix {
namespace {

using testing::tokens_of;

// The token rules over one trimmed line, each token erased from the front
// of both rests, which are trimmed again after the rules that say so.
std::vector<std::string> model_tokens(const std::string& line) {
  init_tables();
  std::string rest_text = trim_blanks(line);
  std::string rest;
  for (char c : rest_text) rest += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::vector<std::string> out;
  auto drop = [&](size_t n, bool trim) {
    rest.erase(0, n);
    rest_text.erase(0, n);
    if (trim) {
      rest = trim_blanks(rest);
      rest_text = trim_blanks(rest_text);
    }
  };
  while (!rest.empty()) {
    if (rest.starts_with("<!--") || rest.starts_with("-->")) {
      size_t n = rest[0] == '<' ? 4 : 3;
      out.push_back(rest.substr(0, n));
      drop(n, true);
    } else if (rest[0] != '<' && word_char_position(rest[0]) == 0) {
      out.push_back(rest.substr(0, 1));
      drop(1, false);
    } else {
      size_t p = rest[0] == '<' ? 1 : 0;
      if (rest.starts_with("<CF") || rest.starts_with("<%") || rest.starts_with("</")) p = 2;
      bool in_word = true;
      while (p < rest.size() && in_word) in_word = word_char_position(rest[p++]) != 0;
      if (in_word) {
        out.push_back(rest);
        break;
      }
      out.push_back(trim_blanks(rest.substr(0, p - 1)));
      drop(p - 1, true);
    }
  }
  return out;
}

TEST(ScannerScale, RandomLinesGiveTheTokensOfTheRulesModel) {
  // ASCII only, so that upper-casing needs no table and folding changes nothing.
  const std::string alphabet = "ab Z9_<>!-%/\"'=&;.,C F\t";
  std::mt19937 random(15);
  for (int round = 0; round < 3000; ++round) {
    std::string line;
    size_t length = random() % 40;
    for (size_t k = 0; k < length; ++k) line += alphabet[random() % alphabet.size()];
    if (line.find('&') != std::string::npos) continue;  // references are decoded first
    SCOPED_TRACE("line: [" + line + "]");
    ASSERT_EQ(tokens_of(line), model_tokens(line));
    // The query tokenizer cuts the same tokens, "-->" apart.
    if (line.find("-->") == std::string::npos) {
      ASSERT_EQ(query_tokens(line), model_tokens(line));
    }
  }
}

TEST(ScannerScale, ATenMegabyteLineScansToItsTokens) {
  std::string page;
  const std::string unit = "<b>word&eacute;s</b>, &amp; more &#233;t&&; ";
  while (page.size() < 10u * 1024 * 1024) page += unit;
  size_t units = page.size() / unit.size();
  Scanner s;
  s.open_text(page);
  std::vector<std::string> first;
  size_t count = 0, words = 0;
  for (s.next_token(); !s.token().empty(); s.next_token()) {
    if (first.size() < 16) first.push_back(s.token());
    ++count;
    words += s.token() == "WORDES";
  }
  // A blank after punctuation is a token; the line's last blank was trimmed.
  EXPECT_EQ(first, (std::vector<std::string>{"<B", ">", "WORDES", "</B", ">", ",", " ", "&", " ",
                                             "MORE", "ET", "&", "&", ";", " ", "<B"}));
  EXPECT_EQ(words, units);
  EXPECT_EQ(count, units * 15 - 1);
  // A query of a megabyte of commas is cut after the tokens it may hold.
  EXPECT_EQ(query_tokens(std::string(1 << 20, ','), 21), std::vector<std::string>(21, ","));
}

// What the fetcher stores for a page that arrives in the given pieces.
std::string stored_by_fetcher(const std::vector<std::string>& pieces) {
  testing::TempDir dir;
  testing::ScriptedUi ui;
  testing::ScriptedHttp http;
  http.answer("http://h/p.htm", testing::ScriptedHttp::page(pieces));
  IndexerState state;
  state.current.url = "http://h/p.htm";
  PageFetcher fetcher(http, ui);
  EXPECT_EQ(fetcher.fetch_page(dir.path(), state, false).end, FetchOutcome::End::kComplete);
  Scanner s;
  EXPECT_TRUE(s.open_document(dir.file("j_URL_t.txt"), ui));
  std::string tokens;
  for (s.next_token(); !s.token().empty(); s.next_token()) tokens += s.token_text() + "|";
  return tokens;
}

TEST(ScannerScale, AFileWithLineFeedsReadsAsTheFetcherStoresIt) {
  const std::string alphabet = "ab \r\n\n<p>";
  std::mt19937 random(3);
  for (int round = 0; round < 300; ++round) {
    std::string page;
    size_t length = random() % 30;
    for (size_t k = 0; k < length; ++k) page += alphabet[random() % alphabet.size()];
    size_t cut = page.empty() ? 0 : random() % page.size();
    std::string scanned;
    for (const std::string& t : tokens_of(page, true)) scanned += t + "|";
    SCOPED_TRACE("page: [" + page + "]");
    ASSERT_EQ(scanned, stored_by_fetcher({page.substr(0, cut), page.substr(cut)}));
  }
}

// Each entity in table order, every search from the line's start.
std::string entities_model(std::string line) {
  const ScannerTables& t = scanner_tables();
  for (size_t k = 0; k < t.entity_names.size(); ++k) {
    for (size_t at = line.find(t.entity_names[k]); at != std::string::npos;
         at = line.find(t.entity_names[k])) {
      line.replace(at, t.entity_names[k].size(), 1, t.entity_chars[k]);
    }
  }
  return line;
}

TEST(ScannerScale, EntitiesAreReplacedInOnePassAsInTableOrder) {
  init_tables();
  const std::vector<std::string> pieces = {"&eacute;", "&Eacute;", "&ntilde;", "&acirc;", "&",
                                           "eacute;",  "&eacute",  ";",        "x",       "&amp;"};
  std::mt19937 random(8);
  for (int round = 0; round < 2000; ++round) {
    std::string line;
    for (size_t k = random() % 8; k > 0; --k) line += pieces[random() % pieces.size()];
    ASSERT_EQ(replace_entities(line), entities_model(line)) << line;
  }
}

}  // namespace
}  // namespace trawlix
