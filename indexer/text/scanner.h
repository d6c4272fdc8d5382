// The HTML text scanner: turns a stored page into tokens (tag openers,
// comment brackets, words and single punctuation characters). There is no
// parser; everything is decided on the token stream with fixed tables.
//
// Each Scanner is its own state, so the query tokenizer and the page being
// indexed never disturb each other. The scan keeps a position in the
// current line instead of cutting its rest, so a page of any length scans
// in time proportional to its length.
#pragma once

#include <string>
#include <string_view>

#include "shell/user_interface.h"

namespace trawlix {

// The longest page the scanner reads: the fetcher cuts a page there too.
inline constexpr size_t kMaxPageBytes = 50u * 1024 * 1024;

class Scanner {
 public:
  Scanner() = default;

  // Opens a page file, clearing the token and both rests. On failure (a
  // file that cannot be read, a folder, a file longer than kMaxPageBytes)
  // shows "Error opening page: " with the reason and returns false.
  bool open_document(const std::string& path, UserInterface& ui);
  // Scans `page` (the bytes of a page file) instead of a file.
  void open_text(std::string_view page);
  void close();

  // Advances token and token_text to the next token. An empty token means
  // the input is exhausted; it stays empty on every further call.
  void next_token();

  // With token at an attribute name (HREF, SRC): reads its value into
  // link_text as a browser reads it. A quoted value ends at its own closing
  // quote (an apostrophe inside double quotes is part of it) or at the
  // tag's ">"; an unquoted one ends at a blank or ">". The blanks at both
  // ends are dropped and tabs and line breaks are dropped everywhere;
  // blanks inside the value are kept ("sp ace.htm").
  void read_link();

  // True when blanks or a line break stand between the previous token and
  // the current one.
  bool gap_before() const { return blanks_before_ > 0 || starts_line_; }

  // The current token, upper case and folded.
  const std::string& token() const { return token_; }
  // The current token as written in the page.
  const std::string& token_text() const { return token_text_; }
  const std::string& link_text() const { return link_text_; }

  // The rest of the current line (upper case, and folded where the scan
  // has passed) and the same rest as written.
  std::string_view line_rest() const { return std::string_view(line_rest_).substr(rest_at_); }
  std::string_view line_rest_text() const {
    return std::string_view(line_rest_text_).substr(rest_at_);
  }

 protected:
  // Loads the next non-blank line into the rests when they are empty.
  void take_line_when_empty();
  // Cuts the next token from the front of the rests. `comment_close`
  // decides whether "-->" is one token.
  void cut_token(bool comment_close);
  // Passes over `n` characters of the rests, then, with `trim`, over the
  // blanks that follow.
  void drop(size_t n, bool trim);
  // Sets both rests to `line` (as written) and its upper-case form.
  void set_rests(std::string line);

 private:
  bool read_line(std::string* line);

  std::string page_;
  size_t position_ = 0;
  // The current line (upper case, and as written); the rests begin at rest_at_.
  std::string line_rest_;
  std::string line_rest_text_;
  size_t rest_at_ = 0;
  // Blanks passed over on this line between the last token and the current
  // one, and after the current one.
  size_t blanks_before_ = 0;
  size_t blanks_after_ = 0;
  // The current token is the first of its line (or of a line read after it).
  bool starts_line_ = false;
  bool line_pending_ = false;
  std::string token_;
  std::string token_text_;
  std::string link_text_;
};

// The blanks (spaces only) at both ends of `text` removed.
std::string trim_blanks(std::string_view text);

}  // namespace trawlix
