// tokens: the scanner's view of a page file, for a user who wonders why a
// word was or was not indexed.
#include <ostream>

#include "cli/cli.h"
#include "text/scanner.h"

namespace trawlix::cli {
namespace {

// One token on one line: tabs, line feeds and backslashes escaped.
std::string printable(const std::string& text) {
  std::string out;
  for (char c : terminal_text(text)) {
    if (c == '\t') {
      out += "\\t";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

int cmd_tokens(Context& ctx, const Arguments& args) {
  Scanner scanner;
  if (!scanner.open_document(args.positional[0], ctx.ui)) return kExitFailure;
  for (scanner.next_token(); !scanner.token().empty(); scanner.next_token()) {
    ctx.out << printable(scanner.token()) << "\t" << printable(scanner.token_text()) << "\n";
  }
  return kExitOk;
}

}  // namespace trawlix::cli
