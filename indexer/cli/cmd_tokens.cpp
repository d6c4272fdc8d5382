// tokens: the scanner's view of a page file, for a user who wonders why a
// word was or was not indexed.
#include <ostream>

#include "cli/cli.h"
#include "text/scanner.h"

namespace trawlix::cli {
namespace {

// One token on one line: backslashes doubled, so that an escaped control
// character reads apart from the same text in the page.
std::string printable(const std::string& text) {
  std::string doubled;
  for (char c : text) {
    if (c == '\\') doubled += '\\';
    doubled += c;
  }
  return terminal_field(doubled);
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
