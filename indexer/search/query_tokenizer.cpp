// Tokenizing a search query.
#include "search/query_tokenizer.h"

namespace trawlix {

void QueryTokenizer::set_query(std::string_view query) {
  close();
  set_rests(std::string(query));
}

void QueryTokenizer::get_token() {
  cut_token(false);
}

std::vector<std::string> query_tokens(std::string_view query, size_t limit) {
  QueryTokenizer tokenizer;
  tokenizer.set_query(trim_blanks(query));
  std::vector<std::string> tokens;
  while (!tokenizer.done() && tokens.size() < limit) {
    tokenizer.get_token();
    tokens.push_back(tokenizer.token());
  }
  return tokens;
}

}  // namespace trawlix
