// The query tokenizer: the scanner's token rules over a typed query, with
// a state of its own so that a search never disturbs a page being indexed.
// "-->" is not a token here; a query has no lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/scanner.h"

namespace trawlix {

class QueryTokenizer : private Scanner {
 public:
  // Starts over on `query` (Windows-1252).
  void set_query(std::string_view query);
  bool done() const { return line_rest().empty(); }
  // Cuts the next token; token() is empty once the query is used up.
  void get_token();
  using Scanner::token;
};

// The tokens of the query, blanks around it trimmed first, punctuation and
// one-blank tokens included; at most `limit` of them, the rest of the
// query left unread.
std::vector<std::string> query_tokens(std::string_view query, size_t limit = SIZE_MAX);

}  // namespace trawlix
