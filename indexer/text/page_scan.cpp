// The indexer's state machine over the token stream of a page.
#include "text/page_scan.h"

#include <unordered_map>

#include "base/cp1252.h"
#include "text/scanner_tables.h"

namespace trawlix {
namespace {

enum Mode {
  kBeforeFirstTag,
  kTagOpener,
  kAnchor,
  kFrame,
  kKnownTag,
  kText,
  kTitle,
  kPlainText,
  kScript,
  kComment,
};

bool is_quote(const std::string& token) {
  return token == "\"" || token == "'";
}

// The page's words with their counts, in the order they first occur.
class WordCounter {
 public:
  explicit WordCounter(bool counting) : counting_(counting) {}

  void add(const std::string& token) {
    if (!counting_) return;
    std::string word = cut_text(token, kWordWidth);
    if (word.size() < 2 || word_char_position(word[0]) == 0) return;
    auto [it, inserted] = slot_.try_emplace(word, words_.size());
    if (inserted) {
      words_.push_back({std::move(word), 1});
    } else {
      ++words_[it->second].count;
    }
  }

  std::vector<WordCount> take() { return std::move(words_); }

 private:
  bool counting_;
  std::vector<WordCount> words_;
  std::unordered_map<std::string, size_t> slot_;
};

}  // namespace

std::string collapse_blanks(std::string_view text) {
  std::string out;
  for (char c : text) {
    bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
    if (!blank) {
      out += c;
    } else if (!out.empty() && out.back() != ' ') {
      out += ' ';
    }
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

PageScan scan_page(Scanner& scanner, const ScanOptions& options,
                   const std::function<void()>& each_step) {
  PageScan page;
  page.title = options.title;
  WordCounter words(options.count_words);
  auto take = [&scanner] { scanner.next_token(); };
  auto follow = [&] {
    scanner.read_link();
    page.links.push_back(scanner.link_text());
  };
  Mode mode = options.plain_text ? kPlainText : kBeforeFirstTag;
  std::string closer;  // the end tag of a script or style sheet
  take();
  while (!scanner.token().empty()) {
    const std::string& token = scanner.token();
    switch (mode) {
      case kBeforeFirstTag:
        if (token[0] == '<') {
          mode = kTagOpener;
        } else {
          take();
        }
        break;
      case kTagOpener:
        if (token == "<!--") {
          mode = kComment;
        } else if (token == "<META") {
          mode = kText;
        } else if (token == "<A") {
          mode = kAnchor;
        } else if (token == "<FRAME") {
          mode = kFrame;
        } else if (token == "<TITLE") {
          mode = kTitle;
        } else if (token == "<SCRIPT" || token == "<STYLE") {
          closer = "</" + token.substr(1);
          mode = kScript;
        } else {
          mode = is_known_tag(token) ? kKnownTag : kText;
        }
        take();
        break;
      case kAnchor:
      case kFrame:
        // The link attribute may stand anywhere in the tag.
        if (token == (mode == kAnchor ? "HREF" : "SRC")) {
          follow();
          mode = kKnownTag;
        } else if (token == ">") {
          mode = kText;
          take();
        } else {
          take();
        }
        break;
      case kKnownTag:
        if (token == ">") {
          mode = kText;
          take();
        } else if (token == "ALT") {
          take();
          take();
          for (take(); !scanner.token().empty() && !is_quote(scanner.token()); take()) {
            words.add(scanner.token());
          }
          take();
        } else {
          take();
        }
        break;
      case kText:
        if (token[0] != '<') {
          words.add(token);
          take();
        } else if (token.starts_with("</")) {
          take();
          take();
        } else {
          mode = kTagOpener;
        }
        break;
      case kTitle:
        if (!page.title.empty() || token != ">") {
          mode = kText;
        } else {
          take();
          std::string title;
          while (!scanner.token().empty() && !scanner.token().starts_with("</")) {
            if (scanner.gap_before()) title += ' ';
            title += scanner.token_text();
            words.add(scanner.token());
            take();
          }
          page.title = collapse_blanks(title);
        }
        break;
      case kPlainText:
        words.add(token);
        take();
        break;
      case kScript:
        while (!scanner.token().empty() && scanner.token() != closer) take();
        take();
        take();
        // What follows the end tag is read as what it is: a word or a tag.
        mode = kText;
        break;
      case kComment:
        while (!scanner.token().empty() && scanner.token() != "-->") take();
        take();
        mode = kText;
        break;
    }
    if (each_step) each_step();
  }
  page.words = words.take();
  return page;
}

}  // namespace trawlix
