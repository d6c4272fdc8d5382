// The token rules of the scanner.
#include "text/scanner.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

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

namespace {

// Reads a whole page file of at most kMaxPageBytes. Returns the reason it
// could not, or empty.
std::string read_page_file(const std::string& path, std::string* bytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  std::string error;
  struct stat st {};
  bool known = ::fstat(fd, &st) == 0;
  if (known && S_ISDIR(st.st_mode)) {
    error = std::strerror(EISDIR);
  } else if (known && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) > kMaxPageBytes) {
    error = "the file is longer than " + std::to_string(kMaxPageBytes) + " bytes";
  } else if (known && S_ISREG(st.st_mode)) {
    bytes->reserve(static_cast<size_t>(st.st_size));
  }
  char buffer[65536];
  while (error.empty()) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = std::strerror(errno);
    } else if (n == 0) {
      break;
    } else if (bytes->size() + static_cast<size_t>(n) > kMaxPageBytes) {
      // A device or a pipe that goes on for ever stops here too.
      error = "the file is longer than " + std::to_string(kMaxPageBytes) + " bytes";
    } else {
      bytes->append(buffer, static_cast<size_t>(n));
    }
  }
  ::close(fd);
  if (!error.empty()) bytes->clear();
  return error;
}

}  // namespace

bool Scanner::open_document(const std::string& path, UserInterface& ui) {
  close();
  std::string bytes;
  std::string error = read_page_file(path, &bytes);
  if (!error.empty()) {
    ui.show_message("Critical error:", "Error opening page: \r" + error, Icon::kExclamation);
    return false;
  }
  open_text(bytes);
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
  rest_at_ = 0;
  blanks_before_ = blanks_after_ = 0;
  starts_line_ = line_pending_ = false;
  token_.clear();
  token_text_.clear();
}

// A line ends at a carriage return, a carriage return and line feed, or a
// line feed alone: the fetcher stores every one of them as a carriage
// return, so a page file with line feeds reads as the crawler reads it.
bool Scanner::read_line(std::string* line) {
  if (position_ >= page_.size()) return false;
  size_t end = page_.find_first_of("\r\n", position_);
  if (end == std::string::npos) {
    *line = page_.substr(position_);
    position_ = page_.size();
    return true;
  }
  *line = page_.substr(position_, end - position_);
  position_ = end + 1;
  if (page_[end] == '\r' && position_ < page_.size() && page_[position_] == '\n') ++position_;
  return true;
}

void Scanner::set_rests(std::string line) {
  line_rest_text_ = std::move(line);
  line_rest_ = upper_cp1252(line_rest_text_);
  rest_at_ = 0;
  blanks_after_ = 0;
}

void Scanner::take_line_when_empty() {
  std::string line;
  while (line_rest().empty() && read_line(&line)) {
    if (!line.empty() && line.find('&') != std::string::npos) {
      line = decode_references(replace_entities(std::move(line)));
    }
    set_rests(trim_blanks(line));
    line_pending_ = true;
  }
}

void Scanner::drop(size_t n, bool trim) {
  rest_at_ = std::min(rest_at_ + n, line_rest_.size());
  if (!trim) return;
  // The line was trimmed when it was read, so only leading blanks remain to pass.
  while (rest_at_ < line_rest_.size() && line_rest_[rest_at_] == ' ') {
    ++rest_at_;
    ++blanks_after_;
  }
}

void Scanner::cut_token(bool comment_close) {
  blanks_before_ = blanks_after_;
  blanks_after_ = 0;
  starts_line_ = line_pending_;
  line_pending_ = false;
  std::string_view rest = line_rest();
  std::string_view rest_text = line_rest_text();
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
    token_.assign(rest.substr(0, 1));
    token_text_.assign(rest_text.substr(0, 1));
    drop(1, false);
    return;
  }
  // A word or a tag opener. p counts characters from 1, as the rule does;
  // folding writes into the line itself, where the scan has passed.
  std::string_view folded = scanner_tables().folded_chars;
  char* line = line_rest_.data() + rest_at_;
  size_t p = 0;
  if (rest[0] == '<') p = 1;
  if (rest.starts_with("<CF") || rest.starts_with("<%") || rest.starts_with("</")) p = 2;
  bool in_word = true;
  while (p < rest.size() && in_word) {
    ++p;
    int position = word_char_position(rest[p - 1]);
    in_word = position != 0;
    if (position >= 63) line[p - 1] = folded[static_cast<size_t>(position - 1)];
  }
  if (in_word) {
    token_.assign(rest);
    token_text_.assign(rest_text);
    drop(rest.size(), false);
    return;
  }
  token_ = trim_blanks(rest.substr(0, p - 1));
  token_text_ = trim_blanks(rest_text.substr(0, p - 1));
  drop(p - 1, true);
}

void Scanner::next_token() {
  take_line_when_empty();
  cut_token(true);
}

namespace {

bool is_blank_token(const std::string& text) {
  return !text.empty() && text.find_first_not_of(" \t") == std::string::npos;
}

}  // namespace

void Scanner::read_link() {
  next_token();  // the "="
  next_token();
  while (is_blank_token(token_text_)) next_token();
  std::string quote;
  if (token_ == "\"" || token_ == "'") {
    quote = token_;
    next_token();
  }
  std::string value;
  for (bool first = true; !token_.empty() && token_ != ">"; first = false) {
    if (quote.empty() ? !first && (gap_before() || is_blank_token(token_text_)) : token_ == quote) {
      break;
    }
    // A line break inside the value is dropped; blanks inside it are kept.
    if (!first && !starts_line_) value.append(blanks_before_, ' ');
    value += token_text_;
    next_token();
  }
  std::erase(value, '\t');
  link_text_ = trim_blanks(value);
}

}  // namespace trawlix
