// The scan of one stored page: a small state machine over its tokens that
// knows comments, scripts and style sheets, the title, anchors, frames,
// META and ALT text. It reads nothing but the tokens and writes nothing:
// the page's words, links and title come out as values, for the word index
// to store.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "text/scanner.h"

namespace trawlix {

// Words are cut to this many characters.
inline constexpr size_t kWordWidth = 19;

struct ScanOptions {
  // Every token of a plain-text page is text: it has no tags.
  bool plain_text = false;
  // False when the page's words are not recorded (mail robot mode, or a
  // page indexed before that is not indexed again): only links and title
  // are read.
  bool count_words = true;
  // A title the document already has; the page's own title is then read
  // as text.
  std::string title;

  bool operator==(const ScanOptions&) const = default;
};

struct WordCount {
  std::string word;  // upper case, folded, at most kWordWidth characters
  int64_t count = 0;

  bool operator==(const WordCount&) const = default;
};

struct PageScan {
  // The page's words in the order they first occur. Words of one
  // character and tokens that do not begin with a word character are left
  // out.
  std::vector<WordCount> words;
  // Every HREF of an anchor and SRC of a frame, as the page writes it, in
  // page order.
  std::vector<std::string> links;
  // ScanOptions::title, or else the text of the page's first title as the
  // page writes it, runs of blanks collapsed to one and none at either
  // end; empty when there is none.
  std::string title;

  bool operator==(const PageScan&) const = default;
};

// A page scanned before it is indexed (on a fetch thread), with the options
// the scan was made with.
struct ScannedAhead {
  ScanOptions options;
  PageScan page;
};

// `text` with every run of blanks, tabs and line breaks made one blank and
// none left at either end.
std::string collapse_blanks(std::string_view text);

// Scans the page `scanner` was opened on, to its end. `each_step`, when
// set, runs once for every step of the state machine (the desktop program
// lets pending events run there).
PageScan scan_page(Scanner& scanner, const ScanOptions& options,
                   const std::function<void()>& each_step = {});

}  // namespace trawlix
