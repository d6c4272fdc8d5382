// The token rules of the scanner.
#include "text/scanner.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "base/cp1252.h"
#include "text/html_references.h"
#include "text/page_decoding.h"
#include "text/scanner_tables.h"

namespace trawlix {

std::string trim_blanks(std::string_view text) {
  size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return std::string();
  size_t end = text.find_last_not_of(' ');
  return std::string(text.substr(start, end - start + 1));
}

bool Scanner::open_document(const std::string& path, UserInterface& ui) {
  close();
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    ui.show_message("Critical error:", "Error opening page: \r" + std::string(std::strerror(errno)),
                    Icon::kExclamation);
    return false;
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  open_text(bytes.str());
  return true;
}

void Scanner::open_text(std::string_view page) {
  close();
  page_ = page_to_cp1252(page);
}

void Scanner::close() {
  page_.clear();
  position_ = 0;
  line_rest_.clear();
  line_rest_text_.clear();
  token_.clear();
  token_text_.clear();
}

bool Scanner::read_line(std::string* line) {
  if (position_ >= page_.size()) return false;
  size_t cr = page_.find('\r', position_);
  if (cr == std::string::npos) {
    *line = page_.substr(position_);
    position_ = page_.size();
    return true;
  }
  *line = page_.substr(position_, cr - position_);
  position_ = cr + 1;
  if (position_ < page_.size() && page_[position_] == '\n') ++position_;
  return true;
}

void Scanner::set_rests(std::string line) {
  line_rest_text_ = std::move(line);
  line_rest_ = upper_cp1252(line_rest_text_);
}

void Scanner::take_line_when_empty() {
  std::string line;
  while (line_rest_.empty() && read_line(&line)) {
    if (!line.empty() && line.find('&') != std::string::npos) {
      line = decode_references(replace_entities(std::move(line)));
    }
    set_rests(trim_blanks(line));
  }
}

void Scanner::cut_token(bool comment_close) {
  std::string& rest = line_rest_;
  std::string& rest_text = line_rest_text_;
  auto drop = [&](size_t n, bool trim) {
    rest.erase(0, n);
    rest_text.erase(0, n);
    if (trim) {
      rest = trim_blanks(rest);
      rest_text = trim_blanks(rest_text);
    }
  };
  if (rest.empty()) {
    token_.clear();
    token_text_.clear();
    return;
  }
  if (rest.starts_with("<!--")) {
    token_ = token_text_ = "<!--";
    drop(4, true);
    return;
  }
  if (comment_close && rest.starts_with("-->")) {
    token_ = token_text_ = "-->";
    drop(3, true);
    return;
  }
  if (rest[0] != '<' && word_char_position(rest[0]) == 0) {
    token_ = rest.substr(0, 1);
    token_text_ = rest_text.substr(0, 1);
    drop(1, false);
    return;
  }
  // A word or a tag opener. p counts characters from 1, as the rule does.
  std::string_view folded = scanner_tables().folded_chars;
  size_t p = 0;
  if (rest[0] == '<') p = 1;
  if (rest.starts_with("<CF") || rest.starts_with("<%") || rest.starts_with("</")) p = 2;
  bool in_word = true;
  while (p < rest.size() && in_word) {
    ++p;
    int position = word_char_position(rest[p - 1]);
    in_word = position != 0;
    if (position >= 63) rest[p - 1] = folded[static_cast<size_t>(position - 1)];
  }
  if (in_word) {
    token_ = std::move(rest);
    token_text_ = std::move(rest_text);
    rest.clear();
    rest_text.clear();
    return;
  }
  token_ = trim_blanks(std::string_view(rest).substr(0, p - 1));
  token_text_ = trim_blanks(std::string_view(rest_text).substr(0, p - 1));
  drop(p - 1, true);
}

void Scanner::next_token() {
  take_line_when_empty();
  cut_token(true);
}

void Scanner::read_link() {
  next_token();
  next_token();
  if (token_ == "\"" || token_ == "'") next_token();
  link_text_.clear();
  while (token_ != "\"" && token_ != ">" && token_ != "'" && !token_.empty()) {
    link_text_ += token_text_;
    next_token();
  }
}

}  // namespace trawlix
