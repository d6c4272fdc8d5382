// Scanner benchmark: times the token scan of one-line pages of 1, 10 and
// 50 MB (the longest page the fetcher keeps), a page of 10 MB of "&", and
// the tokens of queries of a megabyte of commas and of words; prints the
// time and the rate of each. The scan is linear: a 10 MB line takes about
// a second at most.
#include <chrono>
#include <cstdio>
#include <string>

#include "search/query_tokenizer.h"
#include "text/scanner.h"

namespace {

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void scan(const char* what, const std::string& page) {
  auto start = std::chrono::steady_clock::now();
  trawlix::Scanner s;
  s.open_text(page);
  size_t tokens = 0;
  for (s.next_token(); !s.token().empty(); s.next_token()) ++tokens;
  double t = seconds_since(start);
  std::printf("%-28s %10zu tokens %8.3f s %8.1f MB/s\n", what, tokens, t,
              static_cast<double>(page.size()) / 1e6 / t);
}

std::string repeated(const std::string& unit, size_t bytes) {
  std::string out;
  while (out.size() < bytes) out += unit;
  return out;
}

}  // namespace

int main() {
  const std::string unit = "<p class=x>Word&eacute;s and &amp; more, <a href=\"a.htm\">a</a> ";
  for (size_t mb : {1, 10, 50}) {
    std::string name = "one line of " + std::to_string(mb) + " MB";
    scan(name.c_str(), repeated(unit, mb << 20));
  }
  scan("10 MB of \"&\"", std::string(10 << 20, '&'));
  for (const char* kind : {",", "word "}) {
    std::string query = repeated(kind, 1 << 20);
    auto start = std::chrono::steady_clock::now();
    size_t n = trawlix::query_tokens(query, 21).size();
    std::printf("query of 1 MB of \"%s\"      %10zu tokens %8.6f s\n", kind, n,
                seconds_since(start));
  }
  return 0;
}
