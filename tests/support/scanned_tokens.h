// The tokens a scanner gives for a page, for tests of the token rules.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/scanner.h"

namespace trawlix::testing {

// Every token of `page`, upper case and folded, or as the page writes it
// with `text_form`. Stops after 10,000 tokens, so a scanner that never
// ends fails the test instead of hanging it.
inline std::vector<std::string> tokens_of(std::string_view page, bool text_form = false) {
  Scanner s;
  s.open_text(page);
  std::vector<std::string> out;
  for (s.next_token(); !s.token().empty() && out.size() <= 10000; s.next_token()) {
    out.push_back(text_form ? s.token_text() : s.token());
  }
  return out;
}

}  // namespace trawlix::testing
