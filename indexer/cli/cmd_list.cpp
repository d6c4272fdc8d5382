// The list command: the document listing on standard output, or printed
// to a PDF file.
#include <ostream>

#include "cli/cli.h"
#include "search/document_reports.h"
#include "search/text_pdf.h"

namespace trawlix::cli {

int cmd_list(Context& ctx, const Arguments& args) {
  auto ws = open_workspace(ctx);
  if (!ws) return kExitFailure;
  auto lines = document_listing(*ws->db(), ctx.ui);
  if (!lines) return kExitFailure;
  if (lines->empty()) return kExitNothingFound;
  if (auto pdf = args.option("--pdf")) {
    auto pages = listing_pages(*lines, kPdfColumns, kPdfRows);
    std::string error;
    if (!write_text_pdf(*pdf, pages, &error)) {
      ctx.err << "trawlix-cli list: cannot write " << *pdf << ": " << error << "\n";
      return kExitFailure;
    }
    ctx.err << "The document listing was printed to " << *pdf << " (" << pages.size()
            << (pages.size() == 1 ? " page).\n" : " pages).\n");
    return kExitOk;
  }
  for (const std::string& line : *lines) ctx.out << terminal_field(line) << "\n";
  return kExitOk;
}

}  // namespace trawlix::cli
